#include "repair/stores/StoreNames.h"

#include <algorithm>
#include <set>

#include "platform/text/CaseBlind.h"

namespace orvanta {
namespace {

constexpr const char* CopyMarker = ".orvanta-";
constexpr const char* PassedMark = "ok";
constexpr std::size_t KeptNewest = 2;
constexpr std::size_t NumberWidth = 4;
constexpr std::size_t WidestNumber = 10;
// One below the largest std::uint32_t, so that the next number still fits.
constexpr unsigned long long HighestNumber = 4294967294ULL;

std::string Digits(int value, std::size_t width) {
    std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

bool AllDigits(const std::string& text, std::size_t least, std::size_t most) {
    return text.size() >= least && text.size() <= most &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> SplitAtDashes(const std::string& text) {
    std::vector<std::string> parts{""};
    for (char c : text) {
        if (c == '-') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool IsDateAndTime(const std::string& date, const std::string& time) {
    return AllDigits(date, 8, 8) && AllDigits(time, 6, 6);
}

// "20261208", "153102": digits checked by IsDateAndTime.
LocalTime TimeOf(const std::string& date, const std::string& time) {
    const auto number = [](const std::string& text, std::size_t at, std::size_t length) {
        return std::stoi(text.substr(at, length));
    };
    return {number(date, 0, 4), number(date, 4, 2), number(date, 6, 2), number(time, 0, 2), number(time, 2, 2),
            number(time, 4, 2), 0};
}

// "0003-20261208-153102[-ok]"
std::optional<KeptCopy> NumberedCopy(const std::vector<std::string>& parts) {
    if (parts.size() < 3 || parts.size() > 4 || !AllDigits(parts[0], 1, WidestNumber) ||
        !IsDateAndTime(parts[1], parts[2]) || (parts.size() == 4 && !SameIgnoringCase(parts[3], PassedMark))) {
        return std::nullopt;
    }
    const unsigned long long number = std::stoull(parts[0]);
    if (number > HighestNumber) return std::nullopt;
    return KeptCopy{.name = {}, .numbered = true, .number = static_cast<std::uint32_t>(number), .dated = {},
                    .passed = parts.size() == 4, .time = TimeOf(parts[1], parts[2])};
}

// "20261207-153102[-2]", the earlier form, with at most 999 copies a second.
std::optional<KeptCopy> DatedCopy(const std::vector<std::string>& parts) {
    if (parts.size() < 2 || parts.size() > 3 || !IsDateAndTime(parts[0], parts[1]) ||
        (parts.size() == 3 && !AllDigits(parts[2], 1, 3))) {
        return std::nullopt;
    }
    const std::string attempt = parts.size() == 3 ? parts[2] : "1";
    return KeptCopy{.name = {}, .dated = parts[0] + "-" + parts[1] + "-" + std::string(3 - attempt.size(), '0') + attempt,
                    .time = TimeOf(parts[0], parts[1])};
}

// Dated copies first, by date; then numbered ones, by number.
bool IsOlder(const KeptCopy& first, const KeptCopy& second) {
    if (first.numbered != second.numbered) return !first.numbered;
    if (first.numbered) return first.number < second.number || (first.number == second.number && first.name < second.name);
    return first.dated < second.dated || (first.dated == second.dated && first.name < second.name);
}

} // namespace

std::vector<KeptCopy> KeptCopiesIn(const std::vector<std::string>& folderNames, const std::string& storeName) {
    std::vector<KeptCopy> copies;
    for (const std::string& name : folderNames) {
        if (std::optional<KeptCopy> copy = ParseKeptCopy(name, storeName)) copies.push_back(std::move(*copy));
    }
    std::sort(copies.begin(), copies.end(), IsOlder);
    return copies;
}

std::string BackupPathOf(const std::string& storePath) {
    return storePath + ".orvanta-old";
}

std::string KeptCopyName(const std::string& storeName, std::uint32_t number, const LocalTime& time, bool passed) {
    return storeName + CopyMarker + Digits(static_cast<int>(number), NumberWidth) + "-" + Digits(time.year, 4) +
           Digits(time.month, 2) + Digits(time.day, 2) + "-" + Digits(time.hour, 2) + Digits(time.minute, 2) +
           Digits(time.second, 2) + (passed ? std::string("-") + PassedMark : "");
}

std::optional<KeptCopy> ParseKeptCopy(const std::string& fileName, const std::string& storeName) {
    const std::string prefix = storeName + CopyMarker;
    if (fileName.size() <= prefix.size() || !SameIgnoringCase(fileName.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    const std::vector<std::string> parts = SplitAtDashes(fileName.substr(prefix.size()));
    std::optional<KeptCopy> copy = DatedCopy(parts);
    if (!copy) copy = NumberedCopy(parts);
    if (copy) copy->name = fileName;
    return copy;
}

std::uint32_t NextCopyNumber(const std::vector<std::string>& folderNames, const std::string& storeName) {
    std::uint32_t highest = 0;
    for (const KeptCopy& copy : KeptCopiesIn(folderNames, storeName)) highest = std::max(highest, copy.number);
    return highest + 1;
}

std::vector<std::string> KeptCopiesToRemove(const std::vector<std::string>& folderNames, const std::string& storeName,
                                            bool storeInPlaceFailed) {
    const std::vector<KeptCopy> copies = KeptCopiesIn(folderNames, storeName);
    std::set<std::size_t> kept{0};
    for (std::size_t newest = 0; newest < KeptNewest && newest < copies.size(); ++newest) {
        kept.insert(copies.size() - 1 - newest);
    }
    if (storeInPlaceFailed) {
        const auto passed = std::find_if(copies.rbegin(), copies.rend(), [](const KeptCopy& copy) { return copy.passed; });
        if (passed != copies.rend()) kept.insert(static_cast<std::size_t>(copies.rend() - passed) - 1);
    }
    std::vector<std::string> removed;
    for (std::size_t index = 0; index < copies.size(); ++index) {
        if (kept.count(index) == 0) removed.push_back(copies[index].name);
    }
    return removed;
}

} // namespace orvanta
