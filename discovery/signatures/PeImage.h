#pragma once
// A PE32 or PE32+ image (a boot manager, an EFI application) as far as its
// signatures need: the Authenticode hash, taken as Microsoft's "Windows
// Authenticode Portable Executable Signature Format" describes it (the headers
// without the CheckSum field and the Certificate Table's directory entry, the
// sections in the order of their place in the file, then what follows them
// but the certificate table), and the WIN_CERTIFICATE entries of that table,
// read as UEFI firmware reads them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/files/Crypto.h"

namespace orvanta {

// IMAGE_DOS_HEADER.e_lfanew; then "PE\0\0" and IMAGE_FILE_HEADER.
inline constexpr std::size_t DosNewHeaderOffset = 0x3C;
inline constexpr std::size_t PeSignatureSize = 4;
inline constexpr std::size_t FileHeaderSize = 20;
inline constexpr std::size_t FileHeaderSectionCountOffset = 2;
inline constexpr std::uint16_t I386Machine = 0x014C;
inline constexpr std::uint16_t Amd64Machine = 0x8664;
inline constexpr std::uint16_t Arm64Machine = 0xAA64;
inline constexpr std::size_t FileHeaderOptionalSizeOffset = 16;
// IMAGE_OPTIONAL_HEADER32 and 64, from their start.
inline constexpr std::uint16_t Pe32Magic = 0x10B;
inline constexpr std::uint16_t Pe32PlusMagic = 0x20B;
inline constexpr std::size_t OptionalHeadersSizeOffset = 60; // SizeOfHeaders
inline constexpr std::size_t OptionalCheckSumOffset = 64;
inline constexpr std::size_t Pe32DirectoryCountOffset = 92;
inline constexpr std::size_t Pe32PlusDirectoryCountOffset = 108;
inline constexpr std::size_t Pe32DirectoriesOffset = 96;
inline constexpr std::size_t Pe32PlusDirectoriesOffset = 112;
inline constexpr std::size_t DataDirectorySize = 8;
inline constexpr std::size_t SecurityDirectoryIndex = 4; // the Certificate Table: file offset and size
// IMAGE_SECTION_HEADER.
inline constexpr std::size_t SectionHeaderSize = 40;
inline constexpr std::size_t SectionRawSizeOffset = 16;
inline constexpr std::size_t SectionRawOffsetOffset = 20;
// WIN_CERTIFICATE: dwLength, wRevision, wCertificateType, then the content;
// entries start at 8-byte boundaries.
inline constexpr std::size_t WinCertificateHeaderSize = 8;
inline constexpr std::uint16_t PkcsSignedDataCertificateType = 0x0002;
// WIN_CERTIFICATE_UEFI_GUID: the header, CertType (a GUID), then the data.
inline constexpr std::uint16_t EfiGuidCertificateType = 0x0EF1;
inline constexpr std::size_t EfiGuidCertificateHeaderSize = WinCertificateHeaderSize + 16;

struct ByteRange {
    std::size_t offset = 0;
    std::size_t length = 0;

    bool operator==(const ByteRange&) const = default;
};

struct WinCertificate {
    std::uint16_t revision = 0;
    std::uint16_t type = 0;
    std::size_t offset = 0;            // of its header in the file
    std::vector<std::uint8_t> content; // for PKCS signed data: a ContentInfo
};

struct PeImage {
    std::uint16_t machine = 0; // IMAGE_FILE_HEADER.Machine
    bool pe32Plus = false;
    std::vector<ByteRange> hashedRanges; // what the hash covers, in order
    bool hasCertificateTable = false;     // its directory entry names a table of some size
    std::vector<WinCertificate> certificates;
    // Past the file, or its entries don't fill it exactly, each padded to 8
    // bytes: firmware refuses such an image whatever it is signed with.
    bool certificateTableDamaged = false;
};

// Nothing when the file is no PE image, or the parts the hash covers don't
// lie within it.
std::optional<PeImage> ReadPeImage(std::span<const std::uint8_t> file);

// The Authenticode hash of the file the image was read from; nothing when
// the system can't hash with that algorithm.
std::optional<Digest> AuthenticodeDigest(Crypto& crypto, HashAlgorithm algorithm, std::span<const std::uint8_t> file,
                                         const PeImage& image);

} // namespace orvanta
