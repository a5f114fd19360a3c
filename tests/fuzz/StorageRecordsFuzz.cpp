// The storage-property answer as a device leaves it: the input is what the
// device wrote over the empty answer, as much as fits. Rules: the bus type is
// the four bytes at offset 28 when the device wrote them, and the empty
// answer's (0, unknown) where it wrote nothing; the query is 12 zero bytes.
#include <algorithm>
#include <cstdint>

#include "discovery/disks/StorageRecords.h"
#include "fuzz/FuzzRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    AnswerRecord answer = MakeEmptyAnswer();
    fuzz::Require(fuzz::LittleEndian32At(answer.data(), 4) == 40);
    const std::size_t written = std::min(size, answer.size());
    std::copy_n(data, written, answer.begin());

    std::uint8_t expected[4] = {};
    for (std::size_t index = 0; index < 4; ++index) {
        if (28 + index < written) expected[index] = data[28 + index];
    }
    fuzz::Require(BusTypeOf(answer) == fuzz::LittleEndian32At(expected, 0));
    const QueryRecord query = MakeDeviceQuery();
    fuzz::Require(std::all_of(query.begin(), query.end(), [](std::uint8_t byte) { return byte == 0; }));
    return 0;
}
