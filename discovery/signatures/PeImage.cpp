#include "discovery/signatures/PeImage.h"

#include <algorithm>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Where the parts of the headers lie, all within the file.
struct Headers {
    std::size_t checkSum = 0;
    std::optional<std::size_t> securityEntry; // nothing: the image has no such directory entry
    std::size_t headersSize = 0;
    std::size_t sectionTable = 0;
    std::size_t sectionCount = 0;
};

bool Fits(Bytes file, std::size_t offset, std::size_t length) {
    return offset <= file.size() && length <= file.size() - offset;
}

std::optional<Headers> ReadHeaders(Bytes file, PeImage& image) {
    if (!Fits(file, 0, DosNewHeaderOffset + 4) || file[0] != 'M' || file[1] != 'Z') return std::nullopt;
    const std::size_t signature = ReadLittleEndian32(file, DosNewHeaderOffset);
    if (!Fits(file, signature, PeSignatureSize + FileHeaderSize + 2)) return std::nullopt;
    if (!std::equal(file.begin() + static_cast<std::ptrdiff_t>(signature),
                    file.begin() + static_cast<std::ptrdiff_t>(signature + PeSignatureSize), "PE\0\0")) {
        return std::nullopt;
    }
    const std::size_t fileHeader = signature + PeSignatureSize;
    const std::size_t optional = fileHeader + FileHeaderSize;
    const std::size_t optionalSize = ReadLittleEndian16(file, fileHeader + FileHeaderOptionalSizeOffset);
    image.machine = ReadLittleEndian16(file, fileHeader);
    const std::uint16_t magic = ReadLittleEndian16(file, optional);
    image.pe32Plus = magic == Pe32PlusMagic;
    const std::size_t countOffset = image.pe32Plus ? Pe32PlusDirectoryCountOffset : Pe32DirectoryCountOffset;
    const std::size_t directories = image.pe32Plus ? Pe32PlusDirectoriesOffset : Pe32DirectoriesOffset;
    if ((magic != Pe32Magic && !image.pe32Plus) || optionalSize < directories || !Fits(file, optional, optionalSize)) {
        return std::nullopt;
    }
    Headers headers;
    headers.checkSum = optional + OptionalCheckSumOffset;
    headers.headersSize = ReadLittleEndian32(file, optional + OptionalHeadersSizeOffset);
    const std::size_t securityEntry = directories + SecurityDirectoryIndex * DataDirectorySize;
    if (ReadLittleEndian32(file, optional + countOffset) > SecurityDirectoryIndex && optionalSize >= securityEntry + DataDirectorySize) {
        headers.securityEntry = optional + securityEntry;
    }
    headers.sectionTable = optional + optionalSize;
    headers.sectionCount = ReadLittleEndian16(file, fileHeader + FileHeaderSectionCountOffset);
    const std::size_t skippedEnd = headers.securityEntry ? *headers.securityEntry + DataDirectorySize : headers.checkSum + 4;
    if (!Fits(file, 0, headers.headersSize) || headers.headersSize < skippedEnd ||
        !Fits(file, headers.sectionTable, headers.sectionCount * SectionHeaderSize)) {
        return std::nullopt;
    }
    return headers;
}

// The headers' ranges, then the sections' in file order; false when a section lies past the file.
bool CollectHashedRanges(Bytes file, const Headers& headers, std::size_t certificateTableSize, PeImage& image) {
    const std::size_t afterCheckSum = headers.checkSum + 4;
    image.hashedRanges.push_back({0, headers.checkSum});
    if (headers.securityEntry) {
        image.hashedRanges.push_back({afterCheckSum, *headers.securityEntry - afterCheckSum});
        const std::size_t afterEntry = *headers.securityEntry + DataDirectorySize;
        image.hashedRanges.push_back({afterEntry, headers.headersSize - afterEntry});
    } else {
        image.hashedRanges.push_back({afterCheckSum, headers.headersSize - afterCheckSum});
    }
    std::vector<ByteRange> sections;
    for (std::size_t index = 0; index < headers.sectionCount; ++index) {
        const std::size_t header = headers.sectionTable + index * SectionHeaderSize;
        const ByteRange raw{ReadLittleEndian32(file, header + SectionRawOffsetOffset), ReadLittleEndian32(file, header + SectionRawSizeOffset)};
        if (raw.length == 0) continue;
        if (!Fits(file, raw.offset, raw.length)) return false;
        sections.push_back(raw);
    }
    std::stable_sort(sections.begin(), sections.end(), [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
    std::uint64_t hashed = headers.headersSize;
    for (const ByteRange& section : sections) {
        image.hashedRanges.push_back(section);
        hashed += section.length;
    }
    // What follows: from the count of bytes hashed so far up to the file's end less the certificate table.
    if (file.size() <= hashed) return true;
    if (file.size() - hashed < certificateTableSize) return false;
    const auto rest = static_cast<std::size_t>(file.size() - hashed - certificateTableSize);
    if (rest != 0) image.hashedRanges.push_back({static_cast<std::size_t>(hashed), rest});
    return true;
}

std::size_t PaddedTo8(std::size_t length) {
    return length % 8 == 0 ? length : length + 8 - length % 8;
}

// As UEFI firmware walks it: entries one after another, each padded to 8
// bytes, until they fill the table exactly; an entry that runs past it, or
// one too short for its kind, ends the walk and the table counts as damaged.
void ReadCertificateTable(Bytes file, std::size_t offset, std::size_t size, PeImage& image) {
    image.hasCertificateTable = true;
    if (!Fits(file, offset, size)) {
        image.certificateTableDamaged = true;
        return;
    }
    const std::size_t end = offset + size;
    std::size_t at = offset;
    while (at < end) {
        const std::size_t left = end - at;
        if (left <= WinCertificateHeaderSize) break;
        const std::size_t length = ReadLittleEndian32(file, at);
        const std::uint16_t type = ReadLittleEndian16(file, at + 6);
        // Signed data must hold something; an entry of another kind may be a bare header.
        const std::size_t shortest = type == PkcsSignedDataCertificateType ? WinCertificateHeaderSize + 1
                                     : type == EfiGuidCertificateType    ? EfiGuidCertificateHeaderSize + 1
                                                                         : WinCertificateHeaderSize;
        if (length > left || PaddedTo8(length) > left || length < shortest) break;
        const Bytes content = file.subspan(at + WinCertificateHeaderSize, length - WinCertificateHeaderSize);
        image.certificates.push_back({ReadLittleEndian16(file, at + 4), type, at, {content.begin(), content.end()}});
        at += PaddedTo8(length);
    }
    image.certificateTableDamaged = at != end;
}

} // namespace

std::optional<PeImage> ReadPeImage(Bytes file) {
    PeImage image;
    const auto headers = ReadHeaders(file, image);
    if (!headers) return std::nullopt;
    std::size_t tableOffset = 0, tableSize = 0;
    if (headers->securityEntry) {
        tableOffset = ReadLittleEndian32(file, *headers->securityEntry);
        tableSize = ReadLittleEndian32(file, *headers->securityEntry + 4);
    }
    if (!CollectHashedRanges(file, *headers, tableSize, image)) return std::nullopt;
    if (tableSize != 0) ReadCertificateTable(file, tableOffset, tableSize, image);
    return image;
}

std::optional<Digest> AuthenticodeDigest(Crypto& crypto, HashAlgorithm algorithm, Bytes file, const PeImage& image) {
    std::vector<Bytes> pieces;
    for (const ByteRange& range : image.hashedRanges) pieces.push_back(file.subspan(range.offset, range.length));
    return crypto.hash(algorithm, pieces);
}

} // namespace orvanta
