// A disk's storage-property answer with its texts, as much as the device
// wrote. Rules: the bus is the four bytes at offset 28 when they are there, 0
// otherwise; the model is at most 40 printable ASCII characters, with no
// blank at either end, and begins at the first non-blank byte at the product
// id's offset, which lies past the numbers and within the input.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "discovery/disks/StorageRecords.h"
#include "fuzz/FuzzRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const StorageDescriptor descriptor = ParseStorageDescriptor({data, size});
    fuzz::Require(descriptor.busType == (size >= 32 ? fuzz::LittleEndian32At(data, 28) : 0U));
    const std::string& model = descriptor.model;
    fuzz::Require(model.size() <= 40);
    fuzz::Require(std::all_of(model.begin(), model.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
    if (model.empty()) return 0;
    fuzz::Require(model.front() != ' ' && model.back() != ' ');
    fuzz::Require(size >= 20);
    const std::uint32_t offset = fuzz::LittleEndian32At(data, 16);
    fuzz::Require(offset >= 36 && offset < size);
    const std::string_view text = fuzz::AsBytes(data + offset, size - offset);
    fuzz::Require(text.substr(text.find_first_not_of(' '), model.size()) == model);
    return 0;
}
