#include "repair/StoreNames.h"

#include <algorithm>
#include <cctype>

#include "platform/CaseBlind.h"

namespace orvanta {
namespace {

constexpr const char* DatedMarker = ".orvanta-";
constexpr std::size_t KeptNewest = 2;

std::string Digits(int value, int width) {
    std::string text = std::to_string(value);
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), '0') + text;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// "20261207-153102" or "20261207-153102-2" as a key that orders copies by
// time, then attempt ("20261207-153102-002"); "" for any other name.
std::string OrderOf(const std::string& suffix) {
    if (suffix.size() < 15 || suffix[8] != '-' || !AllDigits(suffix.substr(0, 8)) || !AllDigits(suffix.substr(9, 6))) {
        return {};
    }
    const std::string attempt = suffix.size() == 15 ? "1" : suffix.substr(16);
    if ((suffix.size() > 15 && suffix[15] != '-') || !AllDigits(attempt) || attempt.size() > 3) return {};
    return suffix.substr(0, 15) + "-" + std::string(3 - attempt.size(), '0') + attempt;
}

} // namespace

std::string BackupPathOf(const std::string& storePath) {
    return storePath + ".orvanta-old";
}

std::string DatedCopyPathOf(const std::string& storePath, const LocalTime& time, int attempt) {
    return storePath + DatedMarker + Digits(time.year, 4) + Digits(time.month, 2) + Digits(time.day, 2) + "-" +
           Digits(time.hour, 2) + Digits(time.minute, 2) + Digits(time.second, 2) +
           (attempt > 1 ? "-" + std::to_string(attempt) : "");
}

std::vector<std::string> DatedCopiesToRemove(const std::vector<std::string>& folderNames,
                                             const std::string& storeName) {
    const std::string prefix = storeName + DatedMarker;
    std::vector<std::string> copies; // order key, then the name after a "|"
    for (const std::string& name : folderNames) {
        if (name.size() <= prefix.size() || !SameIgnoringCase(name.substr(0, prefix.size()), prefix)) continue;
        const std::string order = OrderOf(name.substr(prefix.size()));
        if (!order.empty()) copies.push_back(order + "|" + name);
    }
    std::sort(copies.begin(), copies.end());
    std::vector<std::string> removed;
    for (std::size_t index = 1; index + KeptNewest < copies.size(); ++index) {
        removed.push_back(copies[index].substr(copies[index].find('|') + 1));
    }
    return removed;
}

} // namespace orvanta
