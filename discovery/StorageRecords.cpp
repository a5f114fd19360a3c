#include "discovery/StorageRecords.h"

namespace orvanta {

QueryRecord MakeDeviceQuery() {
    return QueryRecord{}; // StorageDeviceProperty (0), PropertyStandardQuery (0)
}

AnswerRecord MakeEmptyAnswer() {
    AnswerRecord answer{};
    WriteLittleEndian32(answer.data() + AnswerSizeOffset, AnswerRecordSize);
    return answer;
}

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8U |
           static_cast<std::uint32_t>(bytes[2]) << 16U | static_cast<std::uint32_t>(bytes[3]) << 24U;
}

void WriteLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
    for (int index = 0; index < 4; ++index) {
        bytes[index] = static_cast<std::uint8_t>(value >> (8U * static_cast<unsigned>(index)));
    }
}

std::uint32_t BusTypeOf(const AnswerRecord& answer) {
    return ReadLittleEndian32(answer.data() + AnswerBusTypeOffset);
}

} // namespace orvanta
