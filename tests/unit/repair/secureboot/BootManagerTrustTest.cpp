#include <gtest/gtest.h>

#include <algorithm>

#include "crypto/OpensslCrypto.h"
#include "discovery/signatures/DerReader.h"
#include "discovery/signatures/PeImage.h"
#include "discovery/firmware/SignatureList.h"
#include "fakes/SigningFixtures.h"
#include "repair/secureboot/BootManagerTrust.h"

namespace orvanta {
namespace {

using Refusals = std::vector<TrustRefusal>;
using Names = std::vector<std::string>;
using enum TrustRefusal;

const std::string Ca2023 = "CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US";
const std::string Pca2011 = "CN=Microsoft Windows Production PCA 2011, O=Microsoft Corporation, L=Redmond, ST=Washington, C=US";

// What a case changes in the signed file before it is judged.
enum class Damage {
    None,
    SectionByte,    // a byte of the hashed code: the file no longer matches its signature
    SignatureByte,  // the last byte of the first entry's signer's encrypted digest
    IndirectByte,   // a byte of what the signer vouches for, outside the file's hash: messageDigest no longer matches
};

ByteVector Damaged(ByteVector file, Damage damage) {
    const PeImage image = *ReadPeImage(file);
    const std::size_t entry = image.certificates.empty() ? 0 : image.certificates.front().offset + WinCertificateHeaderSize;
    if (damage == Damage::SectionByte) file[0x300] ^= 0x01;
    if (damage == Damage::SignatureByte) file[entry + ReadDerElement(std::span(file).subspan(entry))->whole.size() - 1] ^= 0x01;
    if (damage == Damage::IndirectByte) {
        // SpcPeImageData's type, 1.3.6.1.4.1.311.2.1.15, made .14: still DER, no longer what was signed.
        const ByteVector id{0x2B, 0x06, 0x01, 0x04, 0x01, 0x82, 0x37, 0x02, 0x01, 0x0F};
        const auto found = std::search(file.begin() + static_cast<std::ptrdiff_t>(entry), file.end(), id.begin(), id.end());
        found[9] = 0x0E;
    }
    return file;
}

// The table's rows: a fixture image (maybe damaged), db and dbx, and the verdict.
struct Case {
    std::string name;
    std::string image;
    Damage damage;
    std::vector<std::string> db;
    std::vector<std::string> dbx;
    Refusals refusals;
};

class SignedTrustRules : public ::testing::Test {
protected:
    // Each entry a list: a test certificate by name, the image's own hash with
    // an algorithm ("sha1:", "sha256:"), or a certificate's SHA-256 hash ("tbs:<name>").
    SecureBootDatabase Database(const std::vector<std::string>& entries, const ByteVector& file) {
        std::vector<ByteVector> lists;
        const PeImage image = *ReadPeImage(file);
        for (const std::string& entry : entries) {
            if (entry.starts_with("sha1:") || entry.starts_with("sha256:")) {
                const bool sha1 = entry.starts_with("sha1:");
                lists.push_back(SignatureListBytes(sha1 ? Sha1HashType : Sha256HashType,
                                                   {*AuthenticodeDigest(crypto, sha1 ? HashAlgorithm::Sha1 : HashAlgorithm::Sha256, file, image)}));
            } else if (entry.starts_with("tbs:")) {
                ByteVector hash = SigningFixture(entry.substr(4) + ".tbs.sha256");
                hash.resize(48); // then the time of revocation
                lists.push_back(SignatureListBytes(X509Sha256HashType, {hash}));
            } else {
                lists.push_back(SigningFixture(entry + ".esl"));
            }
        }
        return ReadSecureBootDatabase(Joined(lists));
    }

    TrustVerdict Judge(const ByteVector& file, const std::vector<std::string>& db, const std::vector<std::string>& dbx) {
        return JudgeBootManagerTrust(CheckSignedImage(file, *ReadPeImage(file), crypto), Database(db, file), Database(dbx, file), crypto);
    }

    OpensslCrypto crypto;
};

TEST_F(SignedTrustRules, EveryEntryIsVisitedOnlyOuterSignaturesCountAndDbxWinsOverDb) {
    const std::vector<Case> cases{
        // two-entries.efi: an entry signed under the 2011 CA, then one under the 2023 CA.
        {"either entry allows", "two-entries", Damage::None, {"ca2023"}, {}, {}},
        {"the other entry allows", "two-entries", Damage::None, {"pca2011"}, {}, {}},
        {"a dbx certificate in one entry refuses", "two-entries", Damage::None, {"ca2023"}, {"pca2011"}, {CertificateInDbx}},
        {"a signer's hash in dbx refuses", "two-entries", Damage::None, {"ca2023"}, {"tbs:leaf2011"}, {CertificateInDbx}},
        {"the file's hash in dbx refuses", "two-entries", Damage::None, {"ca2023"}, {"sha256:"}, {FileHashInDbx}},
        {"the root, the CA or the signer itself in db", "signed2023", Damage::None, {"root"}, {}, {}},
        {"the CA in db", "signed2023", Damage::None, {"ca2023"}, {}, {}},
        {"the signer in db", "signed2023", Damage::None, {"leaf2023"}, {}, {}},
        {"another CA in db", "signed2023", Damage::None, {"pca2011"}, {}, {NotAllowedByDb}},
        {"a CA of the same name and another key", "signed2023", Damage::None, {"impostor2023"}, {}, {NotAllowedByDb}},
        {"the root in dbx forbids what it issued", "signed2023", Damage::None, {"ca2023"}, {"root"}, {CertificateInDbx}},
        {"a db anchor whose hash dbx holds allows nothing", "signed2023", Damage::None, {"ca2023"}, {"tbs:ca2023"}, {CertificateInDbx}},
        {"the file's hash in db allows it", "signed2023", Damage::None, {"sha256:"}, {}, {}},
        // signed-both.efi: signed under the 2023 CA, with a signature under the 2011 CA nested in it.
        {"a nested signature never allows", "signed-both", Damage::None, {"pca2011"}, {}, {NotAllowedByDb}},
        {"a nested signature never refuses", "signed-both", Damage::None, {"ca2023"}, {"pca2011"}, {}},
        {"a damaged table refuses whatever db holds", "malformed-table", Damage::None, {"ca2023", "sha256:"}, {}, {MalformedCertificateTable}},
        {"an unsigned file by its SHA-256 in db", "boot64", Damage::None, {"sha256:"}, {}, {}},
        {"an unsigned file not in db", "boot64", Damage::None, {"root"}, {}, {NotAllowedByDb}},
        {"an unsigned file in dbx", "boot64", Damage::None, {"sha256:"}, {"sha256:"}, {FileHashInDbx}},
        {"a changed byte of the file", "signed2023", Damage::SectionByte, {"ca2023"}, {}, {DigestMismatch}},
        {"a changed byte of what the signer vouches for", "signed2023", Damage::IndirectByte, {"ca2023"}, {}, {DigestMismatch}},
        {"a damaged signature blob", "signed2023", Damage::SignatureByte, {"ca2023"}, {}, {SignatureInvalid}},
        {"the good entry of two allows a damaged blob's file", "two-entries", Damage::SignatureByte, {"ca2023"}, {}, {}},
        {"a dbx certificate doesn't forbid a signature that doesn't verify", "signed2023", Damage::SignatureByte, {}, {"ca2023"}, {SignatureInvalid}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const ByteVector file = Damaged(SigningFixture(row.image + ".efi"), row.damage);
        EXPECT_EQ(Judge(file, row.db, row.dbx).refusals, row.refusals);
    }
}

TEST_F(SignedTrustRules, TheDigestIsTakenWithEachEntrysAlgorithmAndOnlyHashesOfItCount) {
    for (const std::string algorithm : {"sha1", "sha384", "sha512"}) {
        SCOPED_TRACE(algorithm);
        const ByteVector file = SigningFixture("signed-" + algorithm + ".efi");
        const SignedImage image = CheckSignedImage(file, *ReadPeImage(file), crypto);
        ASSERT_EQ(image.checks.size(), 1U);
        EXPECT_EQ(image.checks[0].digest, CryptoCheck::Valid);
        EXPECT_EQ(image.checks[0].messageDigest, CryptoCheck::Valid);
        EXPECT_EQ(image.signatures[0].fileDigest, image.digests.at(*image.checks[0].algorithm));
        EXPECT_EQ(Judge(file, {"ca2023"}, {}).refusals, Refusals{});
        EXPECT_EQ(Judge(Damaged(file, Damage::SectionByte), {"ca2023"}, {}).refusals, Refusals{DigestMismatch});
    }
    // A SHA-1 entry: db and dbx are searched for the file's SHA-1 hash, never its SHA-256.
    const ByteVector sha1 = SigningFixture("signed-sha1.efi");
    EXPECT_EQ(Judge(sha1, {"sha1:"}, {}).refusals, Refusals{});
    EXPECT_EQ(Judge(sha1, {"sha256:"}, {}).refusals, Refusals{NotAllowedByDb});
    EXPECT_EQ(Judge(sha1, {"ca2023"}, {"sha1:"}).refusals, Refusals{FileHashInDbx});
    EXPECT_EQ(Judge(sha1, {"ca2023"}, {"sha256:"}).refusals, Refusals{});
}

TEST_F(SignedTrustRules, TheVerdictNamesWhatAllowsAndForbidsEachSignature) {
    const TrustVerdict twoEntries = Judge(SigningFixture("two-entries.efi"), {"ca2023"}, {"pca2011"});
    ASSERT_EQ(twoEntries.signatures.size(), 2U);
    EXPECT_EQ(twoEntries.signatures[0].ca, Pca2011);
    EXPECT_EQ(twoEntries.signatures[0].forbiddenBy, Names{Pca2011});
    EXPECT_EQ(twoEntries.signatures[1].allowedBy, Names{Ca2023});
    EXPECT_EQ(twoEntries.allowedCas, Names{Ca2023});
    const TrustVerdict nested = Judge(SigningFixture("signed-both.efi"), {"pca2011"}, {});
    ASSERT_EQ(nested.signatures.size(), 2U);
    EXPECT_TRUE(nested.signatures[0].counted);
    EXPECT_FALSE(nested.signatures[1].counted);
    EXPECT_EQ(nested.signatures[1].allowedBy, Names{});
}

// The system can't check keys (a function missing from an old crypt32):
// nothing is refused for it, and the verdict says so.
class UncheckingCrypto : public OpensslCrypto {
public:
    CryptoCheck verifySigner(std::span<const std::uint8_t>, std::span<const std::uint8_t>) override { return CryptoCheck::CouldNotCheck; }
    CryptoCheck verifyCertificate(std::span<const std::uint8_t>, std::span<const std::uint8_t>) override { return CryptoCheck::CouldNotCheck; }
};

TEST_F(SignedTrustRules, KeysTheSystemCantCheckRefuseNothingButAreSaid) {
    UncheckingCrypto unchecking;
    const ByteVector file = SigningFixture("signed2023.efi");
    const SignedImage image = CheckSignedImage(file, *ReadPeImage(file), unchecking);
    EXPECT_EQ(IntegrityOf(image), FileIntegrity::Unchecked);
    const TrustVerdict verdict = JudgeBootManagerTrust(image, Database({"root"}, file), {}, unchecking);
    EXPECT_EQ(verdict.refusals, Refusals{});
    EXPECT_TRUE(verdict.unchecked);
    EXPECT_FALSE(Judge(file, {"root"}, {}).unchecked);
}

} // namespace
} // namespace orvanta
