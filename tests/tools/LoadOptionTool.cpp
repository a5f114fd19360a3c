// orvanta_load_option gpt PARTITION_NUMBER START_LBA SIZE_LBA PARTITION_GUID
//
// Prints the bytes of the firmware boot entry the program writes for Windows
// Boot Manager on that GPT partition, as lower-case hexadecimal on one line,
// so that the firmware tests can put the program's own bytes into a Boot####
// variable. Numbers are decimal or 0x-prefixed hexadecimal; the GUID is
// written with or without braces. Exit 0; exit 2 with a message on standard
// error for anything else.
#include <charconv>
#include <cstdint>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "discovery/bytes/Guid.h"
#include "platform/text/TextEncodings.h"
#include "repair/uefi/BootManagerLoadOption.h"

namespace {

constexpr int BadInputExitCode = 2;
constexpr const char* Usage = "usage: orvanta_load_option gpt PARTITION_NUMBER START_LBA SIZE_LBA PARTITION_GUID";

std::optional<std::uint64_t> NumberOf(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<orvanta::Guid> GuidOf(std::string text) {
    if (!text.starts_with('{')) text = "{" + text + "}";
    return orvanta::ParseGuidText(text);
}

int Refuse(const std::string& why) {
    std::cerr << "orvanta_load_option: " << why << "\n" << Usage << "\n";
    return BadInputExitCode;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) return Refuse("expected 5 arguments, got " + std::to_string(argc - 1));
    if (std::string_view(argv[1]) != "gpt") return Refuse("only gpt partitions are supported, not \"" + std::string(argv[1]) + "\"");
    const auto number = NumberOf(argv[2]);
    const auto start = NumberOf(argv[3]);
    const auto size = NumberOf(argv[4]);
    const auto guid = GuidOf(argv[5]);
    if (!number || *number == 0 || *number > std::numeric_limits<std::uint32_t>::max()) {
        return Refuse("bad partition number: " + std::string(argv[2]));
    }
    if (!start) return Refuse("bad start LBA: " + std::string(argv[3]));
    if (!size || *size == 0) return Refuse("bad size in LBAs: " + std::string(argv[4]));
    if (!guid) return Refuse("bad partition GUID: " + std::string(argv[5]));
    const orvanta::HardDriveNode drive =
        orvanta::GptPartitionNode(static_cast<std::uint32_t>(*number), *start, *size, *guid);
    std::cout << orvanta::HexText(orvanta::WindowsBootManagerLoadOption(drive)) << "\n";
    return 0;
}
