#include "fakes/FakeBcdStores.h"

#include <algorithm>
#include <cstdio>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {
namespace {

std::vector<std::uint8_t> Utf16(const std::string& ascii, bool list = false) {
    std::vector<std::uint8_t> bytes;
    for (const char c : ascii) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c == '|' ? 0 : c), 0});
    bytes.insert(bytes.end(), {0, 0});
    if (list) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

RegistryKey Element(const std::string& type, std::uint32_t valueType, std::vector<std::uint8_t> data) {
    return {type, {{"Element", valueType, std::move(data)}}, {}};
}

RegistryKey Object(const std::string& identifier, std::uint32_t type, std::vector<RegistryKey> elements) {
    std::vector<std::uint8_t> typeBytes(4);
    WriteLittleEndian32(typeBytes, 0, type);
    return {identifier, {}, {{"Description", {{"Type", RegistryNumberType, typeBytes}}, {}}, {"Elements", {}, std::move(elements)}}};
}

std::string LoaderId(std::size_t index) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08zx-0000-4000-8000-0000000fa4e0}", index + 1);
    return text;
}

class HiveWriter {
public:
    std::uint32_t key(const RegistryKey& key) {
        std::vector<std::uint32_t> children;
        for (const RegistryKey& subkey : key.subkeys) children.push_back(this->key(subkey));
        std::vector<std::uint32_t> values;
        for (const RegistryValue& value : key.values) values.push_back(this->value(value));
        std::vector<std::uint8_t> node(76 + key.name.size());
        node[0] = 'n', node[1] = 'k', node[2] = 0x20; // the name is ASCII
        WriteLittleEndian32(node, 20, static_cast<std::uint32_t>(children.size()));
        WriteLittleEndian32(node, 28, children.empty() ? 0xFFFFFFFF : list("li", children));
        WriteLittleEndian32(node, 36, static_cast<std::uint32_t>(values.size()));
        WriteLittleEndian32(node, 40, values.empty() ? 0xFFFFFFFF : cell(Offsets(values)));
        node[72] = static_cast<std::uint8_t>(key.name.size());
        std::copy(key.name.begin(), key.name.end(), node.begin() + 76);
        return cell(node);
    }

    std::string hive(std::uint32_t root) {
        bins_.resize((bins_.size() + 32 + 4095) / 4096 * 4096 - 32, 0);
        std::vector<std::uint8_t> bytes(4096 + 32, 0);
        std::copy_n("regf", 4, bytes.begin());
        WriteLittleEndian32(bytes, 4, 1), WriteLittleEndian32(bytes, 8, 1);
        WriteLittleEndian32(bytes, 36, root);
        WriteLittleEndian32(bytes, 40, static_cast<std::uint32_t>(bins_.size() + 32));
        std::copy_n("hbin", 4, bytes.begin() + 4096);
        WriteLittleEndian32(bytes, 4096 + 8, static_cast<std::uint32_t>(bins_.size() + 32));
        bytes.insert(bytes.end(), bins_.begin(), bins_.end());
        return {bytes.begin(), bytes.end()};
    }

private:
    static std::vector<std::uint8_t> Offsets(const std::vector<std::uint32_t>& offsets) {
        std::vector<std::uint8_t> bytes(4 * offsets.size());
        for (std::size_t index = 0; index < offsets.size(); ++index) WriteLittleEndian32(bytes, 4 * index, offsets[index]);
        return bytes;
    }

    std::uint32_t list(const char* kind, const std::vector<std::uint32_t>& offsets) {
        std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(kind[0]), static_cast<std::uint8_t>(kind[1]),
                                        static_cast<std::uint8_t>(offsets.size()), static_cast<std::uint8_t>(offsets.size() >> 8)};
        const std::vector<std::uint8_t> entries = Offsets(offsets);
        bytes.insert(bytes.end(), entries.begin(), entries.end());
        return cell(bytes);
    }

    std::uint32_t value(const RegistryValue& value) {
        std::vector<std::uint8_t> node(20 + value.name.size());
        node[0] = 'v', node[1] = 'k', node[2] = static_cast<std::uint8_t>(value.name.size()), node[16] = 1;
        WriteLittleEndian32(node, 4, static_cast<std::uint32_t>(value.data.size()));
        WriteLittleEndian32(node, 8, cell(value.data));
        WriteLittleEndian32(node, 12, value.type);
        std::copy(value.name.begin(), value.name.end(), node.begin() + 20);
        return cell(node);
    }

    // Appends a cell in use, 8-byte aligned; returns its offset from the first bin.
    std::uint32_t cell(const std::vector<std::uint8_t>& data) {
        const auto offset = static_cast<std::uint32_t>(bins_.size() + 32);
        const std::size_t size = (data.size() + 4 + 7) / 8 * 8;
        bins_.resize(bins_.size() + size, 0);
        WriteLittleEndian32(std::span(bins_).subspan(offset - 32), 0, static_cast<std::uint32_t>(-static_cast<std::int32_t>(size)));
        std::copy(data.begin(), data.end(), bins_.begin() + offset - 32 + 4);
        return offset;
    }

    std::vector<std::uint8_t> bins_;
};

} // namespace

std::vector<std::uint8_t> FakePartitionElement(const PartitionIdentity& partition) {
    std::vector<std::uint8_t> element(88, 0);
    WriteLittleEndian32(element, 16, 6), WriteLittleEndian32(element, 24, 0x48);
    if (partition.style == PartitionStyle::Gpt) {
        std::copy(partition.gptId.begin(), partition.gptId.end(), element.begin() + 32);
    } else {
        WriteLittleEndian32(element, 32, static_cast<std::uint32_t>(partition.mbrOffset));
        WriteLittleEndian32(element, 36, static_cast<std::uint32_t>(partition.mbrOffset >> 32));
        WriteLittleEndian32(element, 52, 1);
        WriteLittleEndian32(element, 56, partition.mbrSignature);
    }
    return element;
}

RegistryKey FakeBcdTree(bool uefi, const std::vector<FakeLoader>& loaders, int defaultIndex) {
    std::vector<RegistryKey> objects;
    std::string order;
    for (std::size_t index = 0; index < loaders.size(); ++index) {
        const FakeLoader& loader = loaders[index];
        const std::vector<std::uint8_t> device = FakePartitionElement(loader.partition);
        objects.push_back(Object(LoaderId(index), 0x10200003,
                                 {Element("11000001", RegistryBinaryType, device),
                                  Element("12000002", RegistryStringType,
                                          Utf16(std::string("\\Windows\\system32\\winload") + (uefi ? ".efi" : ".exe"))),
                                  Element("12000004", RegistryStringType, Utf16("Windows 10")),
                                  Element("21000001", RegistryBinaryType, device),
                                  Element("22000002", RegistryStringType, Utf16(loader.installation.substr(2)))}));
        order += (order.empty() ? "" : "|") + LoaderId(index);
    }
    std::vector<RegistryKey> manager{Element("12000004", RegistryStringType, Utf16("Windows Boot Manager")),
                                     Element("24000001", RegistryStringListType, Utf16(order, true))};
    if (defaultIndex >= 0) {
        manager.push_back(Element("23000003", RegistryStringType, Utf16(LoaderId(static_cast<std::size_t>(defaultIndex)))));
    }
    objects.push_back(Object("{9dea862c-5cdd-4e70-acc1-f32b344d4795}", 0x10100002, std::move(manager)));
    return {"NewStoreRoot", {}, {{"Objects", {}, std::move(objects)}}};
}

std::string FakeHiveBytes(const RegistryKey& root) {
    HiveWriter writer;
    const std::uint32_t offset = writer.key(root);
    return writer.hive(offset);
}

} // namespace orvanta
