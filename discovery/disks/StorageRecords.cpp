#include "discovery/disks/StorageRecords.h"

#include <algorithm>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {

QueryRecord MakeDeviceQuery() {
    return QueryRecord{}; // StorageDeviceProperty (0), PropertyStandardQuery (0)
}

AnswerRecord MakeEmptyAnswer() {
    AnswerRecord answer{};
    WriteLittleEndian32(answer, AnswerSizeOffset, AnswerRecordSize);
    return answer;
}

std::uint32_t BusTypeOf(const AnswerRecord& answer) {
    return ReadLittleEndian32(answer, AnswerBusTypeOffset);
}

namespace {

// The printable text from `offset` to its end, without blanks at either side.
std::string TextAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::string text;
    for (std::size_t at = offset; at < bytes.size() && bytes[at] >= 0x20 && bytes[at] < 0x7F; ++at) {
        text.push_back(static_cast<char>(bytes[at]));
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    text = text.substr(first, std::min(text.find_last_not_of(' ') - first + 1, LongestModel));
    while (text.back() == ' ') text.pop_back(); // a cut may end on a blank
    return text;
}

} // namespace

StorageDescriptor ParseStorageDescriptor(std::span<const std::uint8_t> answer) {
    StorageDescriptor descriptor;
    if (answer.size() >= AnswerBusTypeOffset + 4) descriptor.busType = ReadLittleEndian32(answer, AnswerBusTypeOffset);
    if (answer.size() < AnswerProductIdOffset + 4) return descriptor;
    // Offset 0 means no product id; one among the numbers is no text either.
    const std::uint32_t offset = ReadLittleEndian32(answer, AnswerProductIdOffset);
    if (offset >= AnswerTextsStart) descriptor.model = TextAt(answer, offset);
    return descriptor;
}

} // namespace orvanta
