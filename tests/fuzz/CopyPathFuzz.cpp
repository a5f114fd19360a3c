// ReadCopyPath on any text. Rules, with the names read by a pattern of their
// own: a path is taken only when, after an optional drive letter and colon,
// it is \boot\ or \EFI\Microsoft\Boot\ (in any case) followed by the name of
// a kept copy of "bcd"; the drive it gives is that letter and colon, the
// store the one of that folder, the copy's name the rest of the text. A
// path refused as no kept copy lies directly in a store folder; any other
// refusal lies in neither.
#include <cstdint>
#include <regex>
#include <string>

#include "fuzz/FuzzRules.h"
#include "repair/restore/CopyPath.h"

namespace orvanta {
namespace {

const std::regex Lettered("^([A-Za-z]:)?([\\s\\S]*)$");
const std::regex InBios("^\\\\boot\\\\([^\\\\]*)$", std::regex::icase);
const std::regex InUefi("^\\\\EFI\\\\Microsoft\\\\Boot\\\\([^\\\\]*)$", std::regex::icase);
const std::regex KeptName("^bcd\\.orvanta-(\\d{1,10}-\\d{8}-\\d{6}(-ok)?|\\d{8}-\\d{6}(-\\d{1,3})?)$", std::regex::icase);

} // namespace
} // namespace orvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::string text(fuzz::AsBytes(data, size));
    const CopyPathReading reading = ReadCopyPath(text);
    std::smatch parts, inFolder;
    std::regex_match(text, parts, Lettered);
    const std::string below = parts[2].str();
    const bool bios = std::regex_match(below, inFolder, InBios);
    const bool uefi = !bios && std::regex_match(below, inFolder, InUefi);
    if (!reading.path) {
        fuzz::Require((reading.fault == CopyPathFault::NotAKeptCopy) == (bios || uefi));
        return 0;
    }
    fuzz::Require(reading.fault == CopyPathFault::None && (bios || uefi));
    const CopyPath& path = *reading.path;
    fuzz::Require(path.drive == parts[1].str());
    fuzz::Require(path.storePath == (bios ? BiosStorePath : UefiStorePath));
    fuzz::Require(path.copy.name == inFolder[1].str());
    // The parser may refuse more (a number too large to have a next one), never less.
    fuzz::Require(std::regex_match(path.copy.name, KeptName));
    return 0;
}
