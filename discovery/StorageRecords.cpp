#include "discovery/StorageRecords.h"

#include "discovery/LittleEndian.h"

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

} // namespace orvanta
