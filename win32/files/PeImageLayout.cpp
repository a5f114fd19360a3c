// The image layouts the core reads from bytes (discovery/signatures/PeImage.h), checked
// against the SDK's structures: the headers, the section table and the
// certificate table's WIN_CERTIFICATE entries.
#include <windows.h>

#include <wintrust.h>

#include <cstddef>

#include "discovery/signatures/PeImage.h"

namespace orvanta::win32 {

static_assert(DosNewHeaderOffset == offsetof(IMAGE_DOS_HEADER, e_lfanew));
static_assert(PeSignatureSize == offsetof(IMAGE_NT_HEADERS32, FileHeader));
static_assert(FileHeaderSize == sizeof(IMAGE_FILE_HEADER));
static_assert(FileHeaderSectionCountOffset == offsetof(IMAGE_FILE_HEADER, NumberOfSections));
static_assert(FileHeaderOptionalSizeOffset == offsetof(IMAGE_FILE_HEADER, SizeOfOptionalHeader));
static_assert(I386Machine == IMAGE_FILE_MACHINE_I386);
static_assert(Amd64Machine == IMAGE_FILE_MACHINE_AMD64);
static_assert(Arm64Machine == IMAGE_FILE_MACHINE_ARM64);
static_assert(Pe32Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC);
static_assert(Pe32PlusMagic == IMAGE_NT_OPTIONAL_HDR64_MAGIC);
static_assert(OptionalHeadersSizeOffset == offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders));
static_assert(OptionalHeadersSizeOffset == offsetof(IMAGE_OPTIONAL_HEADER64, SizeOfHeaders));
static_assert(OptionalCheckSumOffset == offsetof(IMAGE_OPTIONAL_HEADER32, CheckSum));
static_assert(OptionalCheckSumOffset == offsetof(IMAGE_OPTIONAL_HEADER64, CheckSum));
static_assert(Pe32DirectoryCountOffset == offsetof(IMAGE_OPTIONAL_HEADER32, NumberOfRvaAndSizes));
static_assert(Pe32PlusDirectoryCountOffset == offsetof(IMAGE_OPTIONAL_HEADER64, NumberOfRvaAndSizes));
static_assert(Pe32DirectoriesOffset == offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory));
static_assert(Pe32PlusDirectoriesOffset == offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory));
static_assert(DataDirectorySize == sizeof(IMAGE_DATA_DIRECTORY));
static_assert(SecurityDirectoryIndex == IMAGE_DIRECTORY_ENTRY_SECURITY);
static_assert(SectionHeaderSize == sizeof(IMAGE_SECTION_HEADER));
static_assert(SectionRawSizeOffset == offsetof(IMAGE_SECTION_HEADER, SizeOfRawData));
static_assert(SectionRawOffsetOffset == offsetof(IMAGE_SECTION_HEADER, PointerToRawData));
static_assert(WinCertificateHeaderSize == offsetof(WIN_CERTIFICATE, bCertificate));
static_assert(PkcsSignedDataCertificateType == WIN_CERT_TYPE_PKCS_SIGNED_DATA);

} // namespace orvanta::win32
