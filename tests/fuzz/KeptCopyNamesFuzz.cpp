// KeptCopiesToRemove and NextCopyNumber on folder names split from the input
// at line feeds (the first byte's low bit: the store in place failed its
// check). Rules, with the names read by a pattern of their own: only names of
// the folder are removed, each at most as often as it is there; the next
// number is above every numbered copy's; of the numbered copies, the lowest
// (when no copy of the earlier, dated form is there), the two highest and,
// with the store in place failed, the highest marked "-ok" are never removed.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "fuzz/FuzzRules.h"
#include "repair/stores/StoreNames.h"

namespace orvanta {
namespace {

const std::regex Numbered("^bcd\\.orvanta-(\\d{1,10})-\\d{8}-\\d{6}(-ok)?$", std::regex::icase);
const std::regex Dated("^bcd\\.orvanta-\\d{8}-\\d{6}(-\\d{1,3})?$", std::regex::icase);

struct Copy {
    unsigned long long number;
    bool passed;
};

std::optional<Copy> NumberedCopy(const std::string& name) {
    std::smatch match;
    if (!std::regex_match(name, match, Numbered)) return std::nullopt;
    const unsigned long long number = std::stoull(match[1].str());
    if (number > 4294967294ULL) return std::nullopt;
    return Copy{number, match[2].matched};
}

std::vector<std::string> Lines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
        lines.emplace_back(bytes.substr(start, end - start));
    }
    lines.emplace_back(bytes.substr(start));
    return lines;
}

// The name of the numbered copy that `better` picks, when only one has its number.
std::optional<std::string> UniqueBest(const std::map<std::string, Copy>& copies, bool highest, bool passedOnly) {
    std::optional<std::pair<std::string, Copy>> best;
    int ties = 0;
    for (const auto& [name, copy] : copies) {
        if (passedOnly && !copy.passed) continue;
        if (best && copy.number == best->second.number) ++ties;
        if (!best || (highest ? copy.number > best->second.number : copy.number < best->second.number)) {
            best = {name, copy};
            ties = 0;
        }
    }
    if (!best || ties > 0) return std::nullopt;
    return best->first;
}

} // namespace
} // namespace orvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    if (size == 0) return 0;
    const bool failed = (data[0] & 1) != 0;
    // A folder holds each name once.
    std::vector<std::string> names = Lines(fuzz::AsBytes(data + 1, size - 1));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    const std::vector<std::string> removed = KeptCopiesToRemove(names, "bcd", failed);

    for (const std::string& name : removed) {
        const auto there = std::count(names.begin(), names.end(), name);
        fuzz::Require(there > 0 && std::count(removed.begin(), removed.end(), name) <= there);
    }
    std::map<std::string, Copy> numbered;
    bool anyDated = false;
    for (const std::string& name : names) {
        if (const auto copy = NumberedCopy(name)) numbered.insert({name, *copy});
        anyDated = anyDated || std::regex_match(name, Dated);
    }
    const std::uint32_t next = NextCopyNumber(names, "bcd");
    for (const auto& [name, copy] : numbered) fuzz::Require(next > copy.number);

    const auto isRemoved = [&](const std::optional<std::string>& name) {
        return name && std::find(removed.begin(), removed.end(), *name) != removed.end();
    };
    std::map<std::string, Copy> rest = numbered;
    const std::optional<std::string> newest = UniqueBest(rest, true, false);
    fuzz::Require(!isRemoved(newest));
    if (newest) rest.erase(*newest);
    fuzz::Require(!isRemoved(UniqueBest(rest, true, false)));
    if (!anyDated) fuzz::Require(!isRemoved(UniqueBest(numbered, false, false)));
    if (failed) fuzz::Require(!isRemoved(UniqueBest(numbered, true, true)));
    return 0;
}
