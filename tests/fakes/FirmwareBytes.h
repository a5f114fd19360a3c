#pragma once
// Firmware variables written byte for byte from the UEFI layouts: load options
// (Boot####) with their device-path nodes, and signature lists (db, dbx).
#include <cstdint>
#include <string_view>
#include <vector>

#include "discovery/bytes/Guid.h"

namespace orvanta {

using ByteVector = std::vector<std::uint8_t>;

// The parts one after another.
ByteVector Joined(const std::vector<ByteVector>& parts);

// Little-endian UTF-16 of a text, with its zero character.
ByteVector Utf16Terminated(std::u16string_view text);

ByteVector NodeBytes(std::uint8_t type, std::uint8_t subtype, const ByteVector& data);
// A GPT partition: format 2, signature type 2, the partition's GUID.
ByteVector GptHardDriveNode(std::uint32_t partition, std::uint64_t startLba, std::uint64_t sizeLba, const Guid& id);
// An MBR partition: format 1, signature type 1, the disk signature.
ByteVector MbrHardDriveNode(std::uint32_t partition, std::uint64_t startLba, std::uint64_t sizeLba,
                            std::uint32_t diskSignature);
ByteVector FilePathNode(std::u16string_view path);
ByteVector EndNode();

// Attributes, the device path's length, the description, the nodes, then the optional data.
ByteVector LoadOptionBytes(std::uint32_t attributes, std::u16string_view description,
                           const std::vector<ByteVector>& nodes, const ByteVector& optionalData = {});

// VARIABLE_NAME records as the system lists variables: each padded to four
// bytes, the last one's NextEntryOffset 0.
struct NamedVariable {
    Guid vendor;
    std::u16string name;
};
ByteVector VariableNameRecords(const std::vector<NamedVariable>& variables);

// One EFI_SIGNATURE_LIST of entries that all have the size of the first,
// each owned by the same agent, with an empty list header.
ByteVector SignatureListBytes(const Guid& type, const std::vector<ByteVector>& entries);

} // namespace orvanta
