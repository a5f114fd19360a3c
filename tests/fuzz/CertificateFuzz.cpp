// A certificate as db, dbx or a signature might carry it: what is read is the
// input's own bytes (the certificate a prefix of it, the TBSCertificate and
// both names inside that), and the names' texts are valid UTF-8.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzRules.h"
#include "discovery/signatures/Certificate.h"

namespace {

bool Holds(std::span<const std::uint8_t> outer, const std::vector<std::uint8_t>& inner) {
    return std::search(outer.begin(), outer.end(), inner.begin(), inner.end()) != outer.end();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::span<const std::uint8_t> input(data, size);
    const auto certificate = ParseCertificate(input);
    if (!certificate) return 0;
    const std::vector<std::uint8_t>& der = certificate->der;
    if (der.size() > size || !std::equal(der.begin(), der.end(), data)) __builtin_trap();
    if (certificate->tbsOffset > der.size() || certificate->tbsLength > der.size() - certificate->tbsOffset) __builtin_trap();
    const auto tbs = input.subspan(certificate->tbsOffset, certificate->tbsLength);
    if (!std::equal(tbs.begin(), tbs.end(), certificate->toBeSigned().begin(), certificate->toBeSigned().end())) __builtin_trap();
    if (!Holds(tbs, certificate->subject.der) || !Holds(tbs, certificate->issuer.der)) __builtin_trap();
    if (!Holds(tbs, certificate->serialNumber) || !Holds(tbs, certificate->subjectKeyId)) __builtin_trap();
    if (!fuzz::IsWellFormedUtf8(certificate->subject.text) || !fuzz::IsWellFormedUtf8(certificate->issuer.text)) __builtin_trap();
    return 0;
}
