#include "discovery/bcd/RegistryHive.h"

#include <set>
#include <string>
#include <string_view>

#include "discovery/bytes/LittleEndian.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

constexpr std::size_t BaseBlockSize = 4096;
constexpr std::size_t PrimarySequenceOffset = 4;
constexpr std::size_t SecondarySequenceOffset = 8;
constexpr std::size_t RootCellOffset = 36;
constexpr std::size_t BinsSizeOffset = 40;
// Key node: counts and offsets of its lists, then its name.
constexpr std::size_t KeyFlagsOffset = 2;
constexpr std::size_t KeySubkeyCountOffset = 20;
constexpr std::size_t KeySubkeyListOffset = 28;
constexpr std::size_t KeyValueCountOffset = 36;
constexpr std::size_t KeyValueListOffset = 40;
constexpr std::size_t KeyNameLengthOffset = 72;
constexpr std::size_t KeyNameOffset = 76;
constexpr std::uint16_t KeyNameIsAscii = 0x0020;
// Value: name length, data size, data offset, type, flags, then the name.
constexpr std::size_t ValueDataSizeOffset = 4;
constexpr std::size_t ValueDataOffset = 8;
constexpr std::size_t ValueTypeOffset = 12;
constexpr std::size_t ValueFlagsOffset = 16;
constexpr std::size_t ValueNameOffset = 20;
constexpr std::uint16_t ValueNameIsAscii = 0x0001;
constexpr std::uint32_t DataIsInline = 0x80000000U;
// Data larger than this lies in segments of this size (a "db" record).
constexpr std::size_t LargestCellData = 16344;
constexpr std::size_t DeepestSubkeyIndex = 2; // an ri holds only leaf lists

using Bytes = std::span<const std::uint8_t>;

struct Fault {
    HiveFault kind;
};

std::uint16_t Read16(Bytes bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(ReadLittleEndian(bytes, offset, 2));
}

bool HasSignature(Bytes cell, std::string_view signature) {
    return cell.size() >= 2 && cell[0] == signature[0] && cell[1] == signature[1];
}

// Latin-1 names (the "compressed" form) or UTF-16LE ones, as UTF-8.
std::string NameOf(Bytes bytes, bool ascii) {
    if (!ascii) return Utf16ToUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, ByteOrder::LittleEndian);
    std::string name;
    for (const std::uint8_t byte : bytes) AppendUtf8(name, byte);
    return name;
}

class HiveReader {
public:
    explicit HiveReader(Bytes bins) : bins_(bins) {}

    RegistryKey key(std::uint32_t offset, std::size_t depth) {
        if (depth > DeepestHiveKey || ++keys_ > MostHiveKeys) throw Fault{HiveFault::TooLarge};
        if (!visited_.insert(offset).second) throw Fault{HiveFault::Loop};
        const Bytes node = cell(offset, KeyNameOffset, "nk");
        const std::size_t nameLength = Read16(node, KeyNameLengthOffset);
        RegistryKey key{NameOf(within(node, KeyNameOffset, nameLength), (Read16(node, KeyFlagsOffset) & KeyNameIsAscii) != 0),
                        {}, {}};
        const std::uint32_t valueCount = ReadLittleEndian32(node, KeyValueCountOffset);
        if (valueCount > 0) {
            const Bytes list = cell(ReadLittleEndian32(node, KeyValueListOffset), std::size_t{4} * valueCount, {});
            for (std::uint32_t index = 0; index < valueCount; ++index) {
                key.values.push_back(value(ReadLittleEndian32(list, std::size_t{4} * index)));
            }
        }
        if (ReadLittleEndian32(node, KeySubkeyCountOffset) > 0) {
            std::vector<std::uint32_t> children;
            subkeyOffsets(ReadLittleEndian32(node, KeySubkeyListOffset), 0, children);
            for (const std::uint32_t child : children) key.subkeys.push_back(this->key(child, depth + 1));
        }
        return key;
    }

private:
    // A cell's data, at least `least` bytes, with the signature when one is given.
    Bytes cell(std::uint32_t offset, std::size_t least, std::string_view signature) const {
        if (offset > bins_.size() || bins_.size() - offset < 4) throw Fault{HiveFault::BadCell};
        const auto size = static_cast<std::int32_t>(ReadLittleEndian32(bins_, offset));
        // A cell in use has a negative size; a free one a positive size.
        const auto length = static_cast<std::uint64_t>(size < 0 ? -static_cast<std::int64_t>(size) : size);
        if (length < 8 || length > bins_.size() - offset) throw Fault{HiveFault::BadCell};
        const Bytes data = bins_.subspan(offset + 4, static_cast<std::size_t>(length) - 4);
        if (data.size() < least || (!signature.empty() && !HasSignature(data, signature))) throw Fault{HiveFault::BadCell};
        return data;
    }

    static Bytes within(Bytes data, std::size_t offset, std::size_t length) {
        if (offset > data.size() || data.size() - offset < length) throw Fault{HiveFault::BadCell};
        return data.subspan(offset, length);
    }

    // The keys an index lists: leaves (lf, lh: offset and hint; li: offset)
    // directly, a root index (ri) through the leaves it lists.
    void subkeyOffsets(std::uint32_t offset, std::size_t depth, std::vector<std::uint32_t>& found) {
        if (depth >= DeepestSubkeyIndex) throw Fault{HiveFault::Loop};
        const Bytes list = cell(offset, 4, {});
        const std::size_t count = Read16(list, 2);
        const bool leafWithHints = HasSignature(list, "lf") || HasSignature(list, "lh");
        const std::size_t stride = leafWithHints ? 8 : 4;
        if (!leafWithHints && !HasSignature(list, "li") && !HasSignature(list, "ri")) throw Fault{HiveFault::BadCell};
        within(list, 4, stride * count);
        for (std::size_t index = 0; index < count; ++index) {
            const std::uint32_t entry = ReadLittleEndian32(list, 4 + stride * index);
            if (HasSignature(list, "ri")) {
                subkeyOffsets(entry, depth + 1, found);
            } else {
                found.push_back(entry);
            }
        }
    }

    RegistryValue value(std::uint32_t offset) {
        if (++values_ > MostHiveValues) throw Fault{HiveFault::TooLarge};
        const Bytes node = cell(offset, ValueNameOffset, "vk");
        const bool ascii = (Read16(node, ValueFlagsOffset) & ValueNameIsAscii) != 0;
        RegistryValue value{NameOf(within(node, ValueNameOffset, Read16(node, 2)), ascii),
                            ReadLittleEndian32(node, ValueTypeOffset), {}};
        const std::uint32_t size = ReadLittleEndian32(node, ValueDataSizeOffset);
        if ((size & DataIsInline) != 0) {
            const Bytes inline_ = within(node, ValueDataOffset, std::min<std::size_t>(size & ~DataIsInline, 4));
            value.data.assign(inline_.begin(), inline_.end());
            return value;
        }
        if (size == 0) return value;
        dataBytes_ += size;
        if (dataBytes_ > MostHiveDataBytes) throw Fault{HiveFault::TooLarge};
        const std::uint32_t dataOffset = ReadLittleEndian32(node, ValueDataOffset);
        const Bytes first = cell(dataOffset, 2, {});
        if (size > LargestCellData && HasSignature(first, "db")) {
            segments(first, size, value.data);
        } else {
            const Bytes data = within(first, 0, size);
            value.data.assign(data.begin(), data.end());
        }
        return value;
    }

    // A "db" record: the number of segments, then the offset of their list.
    void segments(Bytes record, std::size_t size, std::vector<std::uint8_t>& data) const {
        const std::size_t count = Read16(within(record, 0, 8), 2);
        if (count * LargestCellData < size) throw Fault{HiveFault::BadCell};
        const Bytes list = cell(ReadLittleEndian32(record, 4), 4 * count, {});
        for (std::size_t index = 0; index < count && data.size() < size; ++index) {
            const std::size_t take = std::min(LargestCellData, size - data.size());
            const Bytes segment = within(cell(ReadLittleEndian32(list, 4 * index), 0, {}), 0, take);
            data.insert(data.end(), segment.begin(), segment.end());
        }
    }

    Bytes bins_;
    std::set<std::uint32_t> visited_;
    std::size_t keys_ = 0;
    std::size_t values_ = 0;
    std::size_t dataBytes_ = 0;
};

} // namespace

HiveReading ReadHive(std::span<const std::uint8_t> bytes) {
    HiveReading reading;
    if (bytes.size() < BaseBlockSize || !HasSignature(bytes, "re") || bytes[2] != 'g' || bytes[3] != 'f') {
        reading.fault = HiveFault::NotAHive;
        return reading;
    }
    reading.dirty = ReadLittleEndian32(bytes, PrimarySequenceOffset) != ReadLittleEndian32(bytes, SecondarySequenceOffset);
    // A file cut short is read as far as it goes; cells beyond its end can't be.
    const std::size_t claimed = ReadLittleEndian32(bytes, BinsSizeOffset);
    const Bytes bins = bytes.subspan(BaseBlockSize, std::min(claimed, bytes.size() - BaseBlockSize));
    try {
        reading.root = HiveReader(bins).key(ReadLittleEndian32(bytes, RootCellOffset), 0);
    } catch (const Fault& fault) {
        reading.fault = fault.kind;
    }
    return reading;
}

} // namespace orvanta
