#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "discovery/signatures/Certificate.h"
#include "crypto/OpensslCrypto.h"
#include "discovery/signatures/DerReader.h"
#include "fakes/SigningFixtures.h"

namespace orvanta {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : bytes) text += {Digits[byte >> 4U], Digits[byte & 0x0FU]};
    return text;
}

// What openssl printed for a certificate: "serial", and the two key
// identifiers under the names it gives their extensions.
std::map<std::string, std::string> OpensslFields(const std::string& name) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(SigningFixtureText(name + ".fields"));
    std::string line, heading;
    while (std::getline(lines, line)) {
        if (line.starts_with("serial=")) fields["serial"] = line.substr(7);
        if (line.starts_with("X509v3 ")) heading = line.find("Subject") != std::string::npos ? "ski" : "aki";
        if (!line.starts_with("    ")) continue;
        std::string value = line.substr(line.find_first_not_of(' '));
        if (value.starts_with("keyid:")) value = value.substr(6);
        std::erase(value, ':');
        fields[heading] = value;
    }
    return fields;
}

TEST(SignedCertificates, TheFieldsAgreeWithWhatOpensslShows) {
    OpensslCrypto crypto;
    for (const std::string name : {"root", "ca2023", "pca2011", "impostor2023", "leaf2023", "leaf2011", "names"}) {
        SCOPED_TRACE(name);
        const ByteVector der = SigningFixture(name + ".der");
        const std::optional<Certificate> certificate = ParseCertificate(der);
        ASSERT_TRUE(certificate.has_value());
        const auto fields = OpensslFields(name);
        EXPECT_EQ(Hex(certificate->serialNumber), fields.at("serial"));
        EXPECT_EQ(Hex(certificate->subjectKeyId), fields.at("ski"));
        EXPECT_EQ(Hex(certificate->authorityKeyId), fields.at("aki"));
        EXPECT_EQ(certificate->subject.text, SigningFixtureText(name + ".subject"));
        EXPECT_EQ(certificate->der, der);
        const ByteVector tbs = SigningFixture(name + ".tbs");
        ASSERT_EQ(certificate->tbsLength, tbs.size());
        EXPECT_TRUE(std::equal(tbs.begin(), tbs.end(), der.begin() + static_cast<std::ptrdiff_t>(certificate->tbsOffset)));
        EXPECT_EQ(HashOf(crypto, HashAlgorithm::Sha256, certificate->toBeSigned()), SigningFixture(name + ".tbs.sha256"));
    }
    // An issuer's name is its CA's subject, to the byte.
    const auto leaf = ParseCertificate(SigningFixture("leaf2023.der"));
    const auto ca = ParseCertificate(SigningFixture("ca2023.der"));
    EXPECT_EQ(leaf->issuer, ca->subject);
    EXPECT_EQ(ca->issuer.text, "CN=Orvanta Test Root");
    EXPECT_EQ(SigningFixtureText("names.subject"), "CN=测试根证书, O=某公司 + OU=引导, C=CN");
}

TEST(SignedCertificates, EncodingsThatBreakTheRulesAreRefused) {
    const ByteVector der = SigningFixture("leaf2023.der");
    ByteVector followed = der;
    followed.insert(followed.end(), {0x30, 0x00, 0xFF});
    EXPECT_EQ(ParseCertificate(followed)->der, der); // what follows a certificate isn't its

    ASSERT_EQ(der[1], 0x82); // a two-byte length: the outer SEQUENCE
    ByteVector indefinite = der;
    indefinite[1] = 0x80;
    indefinite.push_back(0);
    indefinite.push_back(0);
    EXPECT_FALSE(ParseCertificate(indefinite).has_value());
    ByteVector multiByteTag = der;
    multiByteTag[4] = 0x3F; // the TBSCertificate's tag turned into one with a second tag byte
    EXPECT_FALSE(ParseCertificate(multiByteTag).has_value());
    ByteVector innerTooLong = der;
    innerTooLong[7] = static_cast<std::uint8_t>(innerTooLong[7] + 1); // the TBSCertificate runs into the signature
    EXPECT_FALSE(ParseCertificate(innerTooLong).has_value());
    for (std::size_t size = 0; size < der.size(); ++size) {
        EXPECT_FALSE(ParseCertificate(std::span(der).first(size)).has_value()) << size;
    }
    // Found by fuzzing: a surrogate written as UTF-8 in a UTF8String name is no valid text.
    ByteVector surrogate = SigningFixture("root.der");
    const std::string_view root = "Orvanta";
    const auto found = std::search(surrogate.begin(), surrogate.end(), root.begin(), root.end());
    ASSERT_NE(found, surrogate.end());
    std::copy_n("\xED\xA0\x80", 3, found); // in the issuer, which comes first
    EXPECT_EQ(ParseCertificate(surrogate)->issuer.text, "CN=\uFFFD\uFFFD\uFFFDanta Test Root");

    EXPECT_EQ(ObjectIdText(std::vector<std::uint8_t>{0x55, 0x1D, 0x23}), "2.5.29.35");
    EXPECT_EQ(ObjectIdText(std::vector<std::uint8_t>{0x2B, 0x06, 0x01, 0x04, 0x01, 0x82, 0x37, 0x02, 0x04, 0x01}),
              "1.3.6.1.4.1.311.2.4.1");
    EXPECT_EQ(ObjectIdText(std::vector<std::uint8_t>{0x2B, 0x86}), ""); // ends inside an arc
}

} // namespace
} // namespace orvanta
