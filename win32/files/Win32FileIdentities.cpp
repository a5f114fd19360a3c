#include "win32/files/Win32FileIdentities.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>
#include <mscat.h>

#include <string>
#include <vector>

#include "win32/base/DllSearchPath.h"
#include "win32/base/RuntimeFunction.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {
namespace {

std::string FileVersion(const std::wstring& path) {
    const HMODULE version = LoadSystemLibrary(L"version.dll");
    const auto size = ExportedFunction<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>(version, "GetFileVersionInfoSizeW");
    const auto read = ExportedFunction<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>(version, "GetFileVersionInfoW");
    const auto query = ExportedFunction<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>(version, "VerQueryValueW");
    if (size == nullptr || read == nullptr || query == nullptr) return {};
    DWORD ignored = 0;
    std::vector<std::uint8_t> block(size(path.c_str(), &ignored));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || read(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) == FALSE ||
        query(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) == FALSE || fixed == nullptr) {
        return {};
    }
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

// The functions of wintrust.dll and crypt32.dll the check needs.
// imagehlp.dll, which wintrust loads later by name to read a file's
// certificate, comes from System32 first, and with it what it loads in turn
// (Wine looks for a later load of a system DLL beside the program too).
struct TrustApi {
    TrustApi()
        : imagehlp(LoadSystemLibrary(L"imagehlp.dll")), wintrust(LoadSystemLibrary(L"wintrust.dll")),
          crypt32(LoadSystemLibrary(L"crypt32.dll")) {}
    bool usable() const { return verify != nullptr && provider != nullptr && signer != nullptr && name != nullptr; }

    HMODULE imagehlp;
    HMODULE wintrust;
    HMODULE crypt32;
    decltype(&WinVerifyTrust) verify = ExportedFunction<decltype(&WinVerifyTrust)>(wintrust, "WinVerifyTrust");
    decltype(&WTHelperProvDataFromStateData) provider =
        ExportedFunction<decltype(&WTHelperProvDataFromStateData)>(wintrust, "WTHelperProvDataFromStateData");
    decltype(&WTHelperGetProvSignerFromChain) signer =
        ExportedFunction<decltype(&WTHelperGetProvSignerFromChain)>(wintrust, "WTHelperGetProvSignerFromChain");
    decltype(&CryptCATAdminAcquireContext) acquire =
        ExportedFunction<decltype(&CryptCATAdminAcquireContext)>(wintrust, "CryptCATAdminAcquireContext");
    decltype(&CryptCATAdminCalcHashFromFileHandle) hash =
        ExportedFunction<decltype(&CryptCATAdminCalcHashFromFileHandle)>(wintrust, "CryptCATAdminCalcHashFromFileHandle");
    decltype(&CryptCATAdminEnumCatalogFromHash) findCatalog =
        ExportedFunction<decltype(&CryptCATAdminEnumCatalogFromHash)>(wintrust, "CryptCATAdminEnumCatalogFromHash");
    decltype(&CryptCATCatalogInfoFromContext) catalogInfo =
        ExportedFunction<decltype(&CryptCATCatalogInfoFromContext)>(wintrust, "CryptCATCatalogInfoFromContext");
    decltype(&CryptCATAdminReleaseCatalogContext) releaseCatalog =
        ExportedFunction<decltype(&CryptCATAdminReleaseCatalogContext)>(wintrust, "CryptCATAdminReleaseCatalogContext");
    decltype(&CryptCATAdminReleaseContext) release =
        ExportedFunction<decltype(&CryptCATAdminReleaseContext)>(wintrust, "CryptCATAdminReleaseContext");
    decltype(&CertGetNameStringW) name = ExportedFunction<decltype(&CertGetNameStringW)>(crypt32, "CertGetNameStringW");
};

std::string SignerName(const TrustApi& api, HANDLE state) {
    CRYPT_PROVIDER_DATA* data = api.provider(state);
    CRYPT_PROVIDER_SGNR* signer = data != nullptr ? api.signer(data, 0, FALSE, 0) : nullptr;
    if (signer == nullptr || signer->csCertChain == 0 || signer->pasCertChain == nullptr) return {};
    wchar_t name[256] = {};
    api.name(signer->pasCertChain[0].pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, 256);
    return Narrow(std::wstring(name));
}

// Checks one subject (the file itself, or its entry in a catalog) without any
// user interface or network: a repair PC is often offline.
FileIdentity Verify(const TrustApi& api, WINTRUST_DATA& data) {
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    const LONG status = api.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    FileIdentity identity;
    identity.signer = SignerName(api, data.hWVTStateData);
    identity.signature = status == ERROR_SUCCESS                ? SignatureState::Valid
                         : status == TRUST_E_NOSIGNATURE ||
                                   status == TRUST_E_SUBJECT_FORM_UNKNOWN ||
                                   status == TRUST_E_PROVIDER_UNKNOWN
                             ? SignatureState::NotSigned
                             : SignatureState::NotTrusted;
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    api.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return identity;
}

FileIdentity EmbeddedSignature(const TrustApi& api, const std::wstring& path) {
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof(file);
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    return Verify(api, data);
}

// Most of Windows' own programs are signed in a catalog, by their hash; a
// copy elsewhere has the same hash and is found there too.
FileIdentity CatalogSignature(const TrustApi& api, const std::wstring& path) {
    FileIdentity notSigned{"", SignatureState::NotSigned, ""};
    if (api.acquire == nullptr || api.hash == nullptr || api.findCatalog == nullptr || api.catalogInfo == nullptr) {
        return notSigned;
    }
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    HCATADMIN admin = nullptr;
    if (!file.valid() || api.acquire(&admin, nullptr, 0) == FALSE) return notSigned;
    DWORD size = 0;
    api.hash(file.get(), &size, nullptr, 0);
    std::vector<BYTE> hash(size);
    HCATINFO catalog = nullptr;
    if (size > 0 && api.hash(file.get(), &size, hash.data(), 0) != FALSE) {
        catalog = api.findCatalog(admin, hash.data(), size, 0, nullptr);
    }
    FileIdentity identity = notSigned;
    CATALOG_INFO info{};
    info.cbStruct = sizeof(info);
    if (catalog != nullptr && api.catalogInfo(catalog, &info, 0) != FALSE) {
        std::wstring tag;
        for (const BYTE byte : hash) {
            static constexpr wchar_t Digits[] = L"0123456789ABCDEF";
            tag += Digits[byte >> 4];
            tag += Digits[byte & 0xF];
        }
        WINTRUST_CATALOG_INFO member{};
        member.cbStruct = sizeof(member);
        member.pcwszCatalogFilePath = info.wszCatalogFile;
        member.pcwszMemberFilePath = path.c_str();
        member.pcwszMemberTag = tag.c_str();
        member.pbCalculatedFileHash = hash.data();
        member.cbCalculatedFileHash = size;
        WINTRUST_DATA data{};
        data.dwUnionChoice = WTD_CHOICE_CATALOG;
        data.pCatalog = &member;
        identity = Verify(api, data);
    }
    if (catalog != nullptr && api.releaseCatalog != nullptr) api.releaseCatalog(admin, catalog, 0);
    if (api.release != nullptr) api.release(admin, 0);
    return identity;
}

} // namespace

FileIdentity Win32FileIdentities::identify(const std::string& path) {
    const std::wstring file = Widen(path);
    const TrustApi api;
    FileIdentity identity{"", SignatureState::Unknown, ""};
    if (api.usable()) {
        identity = EmbeddedSignature(api, file);
        if (identity.signature == SignatureState::NotSigned) identity = CatalogSignature(api, file);
    }
    identity.version = FileVersion(file);
    return identity;
}

} // namespace orvanta::win32
