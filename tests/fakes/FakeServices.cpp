#include "fakes/FakeServices.h"

#include <cstdio>

#include "discovery/bytes/Guid.h"
#include "discovery/bcd/RegistryHive.h"
#include "fakes/FirmwareBytes.h"

namespace orvanta {

ComPointer FakeComObjects::createInstance(const std::string& classId, const std::string& interfaceId) {
    journal_.add("create " + classId + " " + interfaceId);
    return instance;
}

// "call 0x5000 slot 10 (4660, 1)"
std::int32_t FakeComObjects::callSlot(ComPointer object, std::uint32_t slot,
                                      const std::vector<std::int32_t>& arguments) {
    char pointer[24];
    std::snprintf(pointer, sizeof pointer, "0x%llX", static_cast<unsigned long long>(object));
    std::string line = std::string("call ") + pointer + " slot " + std::to_string(slot) + " (";
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        line += (index == 0 ? "" : ", ") + std::to_string(arguments[index]);
    }
    journal_.add(line + ")");
    return slot == 3 ? hrInitResult : 0;
}

std::optional<RegistryKey> FakeRegistry::readTree(const std::string& key) {
    journal_.add("registry tree " + key);
    const auto hive = loadedHives.find(key);
    if (hive == loadedHives.end()) return std::nullopt;
    const std::string bytes = files_.contentOf(hive->second);
    return ReadHive(std::vector<std::uint8_t>(bytes.begin(), bytes.end())).root;
}

std::uint32_t FakeRegistry::saveKey(const std::string& key, const std::string& path) {
    const auto hive = loadedHives.find(key);
    const std::uint32_t error = saveError != 0                                      ? saveError
                                : hive == loadedHives.end() || files_.isFile(path) ? 183 // ERROR_ALREADY_EXISTS
                                                                                   : 0;
    journal_.add("registry save " + key + " -> " + path + (error == 0 ? "" : " refused"));
    const std::string content = hive == loadedHives.end() ? std::string() : files_.contentOf(hive->second);
    if (error == 0) files_.addFile(path, {}, content);
    if (saveError != 0) files_.addFile(path, {}, content.substr(0, content.size() / 2));
    return error;
}

std::uint32_t FakeRegistry::restoreKey(const std::string& key, const std::string& path) {
    const auto hive = loadedHives.find(key);
    const std::uint32_t error = restoreError != 0                                      ? restoreError
                                : hive == loadedHives.end() || !files_.isFile(path) ? 2 // ERROR_FILE_NOT_FOUND
                                                                                    : 0;
    journal_.add("registry restore " + key + " <- " + path + (error == 0 ? "" : " refused"));
    if (error == 0) files_.addFile(hive->second, files_.attributesOf(hive->second).value_or(FakeAttributes{}), files_.contentOf(path));
    return error;
}

} // namespace orvanta

namespace orvanta {

FirmwareVariable FakeFirmware::readVariable(const std::string& name, const std::string& vendor, std::size_t capacity) {
    journal_.add("firmware read " + name + " " + std::to_string(capacity));
    const auto found = variables.find(vendor + name);
    if (found == variables.end()) return {{}, VariableNotFoundError};
    if (found->second.bytes.size() > capacity) return {{}, InsufficientBufferError};
    return found->second;
}

FirmwareVariable FakeFirmware::variableNames() {
    journal_.add("firmware names");
    if (namesError != 0) return {{}, namesError};
    if (namesListing) return {*namesListing, 0};
    std::vector<NamedVariable> listed;
    constexpr std::size_t VendorLength = 38; // "{8be4df61-93ca-11d2-aa0d-00e098032b8c}"
    for (const auto& [key, variable] : variables) {
        const std::string name = key.substr(VendorLength);
        listed.push_back({*ParseGuidText(key.substr(0, VendorLength)), std::u16string(name.begin(), name.end())});
    }
    return {VariableNameRecords(listed), 0};
}

std::uint32_t FakeFirmware::writeVariable(const std::string& name, const std::string& vendor,
                                          std::span<const std::uint8_t> bytes) {
    journal_.add("firmware write " + name + " " + std::to_string(bytes.size()));
    if (const auto error = writeErrors.find(name); error != writeErrors.end()) return error->second;
    const auto instead = storesInstead.find(name);
    variables[vendor + name] = {instead != storesInstead.end() ? instead->second : std::vector<std::uint8_t>(bytes.begin(), bytes.end()), 0};
    return 0;
}

} // namespace orvanta
