#include <gtest/gtest.h>

#include "discovery/PeImage.h"
#include "discovery/SignatureList.h"
#include "fakes/SigningFixtures.h"
#include "repair/BootManagerTrust.h"

namespace orvanta {
namespace {

const std::string Ca2023 = "CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US";
const std::string Pca2011 = "CN=Microsoft Windows Production PCA 2011, O=Microsoft Corporation, L=Redmond, ST=Washington, C=US";
const std::string Root = "CN=Orvanta Test Root";
using Refusals = std::vector<TrustRefusal>;
using Names = std::vector<std::string>;

// A database as the firmware holds it: one list per certificate, then the hashes.
SecureBootDatabase Database(const std::vector<std::string>& certificates, const std::vector<ByteVector>& fileHashes = {},
                            const std::vector<ByteVector>& certificateHashes = {}) {
    ByteVector variable;
    const auto append = [&](const ByteVector& list) { variable.insert(variable.end(), list.begin(), list.end()); };
    for (const std::string& name : certificates) append(SignatureListBytes(X509CertificateType, {SigningFixture(name + ".der")}));
    if (!fileHashes.empty()) append(SignatureListBytes(Sha256HashType, fileHashes));
    std::vector<ByteVector> revocations;
    for (ByteVector hash : certificateHashes) {
        hash.resize(48); // then the time of revocation
        revocations.push_back(hash);
    }
    if (!revocations.empty()) append(SignatureListBytes(X509Sha256HashType, revocations));
    return ReadSecureBootDatabase(variable);
}

struct SignedBootManagerTrust : ::testing::Test {
    // Signed under the 2023 CA, with a signature under the 2011 CA nested in it.
    PeImage both = *ReadPeImage(SigningFixture("signed-both.efi"));
    std::vector<Signature> bothSignatures = SignaturesOf(both);
    PeImage only2023 = *ReadPeImage(SigningFixture("signed2023.efi"));
    std::vector<Signature> only2023Signatures = SignaturesOf(only2023);
    ByteVector imageHash{both.authenticodeSha256.begin(), both.authenticodeSha256.end()};

    TrustVerdict judgeBoth(const SecureBootDatabase& db, const SecureBootDatabase& dbx) const {
        return JudgeBootManagerTrust(bothSignatures, both.authenticodeSha256, db, dbx);
    }
};

TEST_F(SignedBootManagerTrust, ACaOfTheChainInDbRevokedCaOfAnotherSignatureInDbx) {
    const TrustVerdict allowed = judgeBoth(Database({"ca2023"}), Database({}));
    EXPECT_EQ(allowed.refusals, Refusals{});
    EXPECT_EQ(allowed.allowedCas, Names{Ca2023});
    ASSERT_EQ(allowed.signatures.size(), 2U);
    EXPECT_EQ(allowed.signatures[0], (SignatureVerdict{"CN=Microsoft Windows, O=Microsoft Corporation, C=US", Ca2023, {Ca2023}, {}}));
    EXPECT_EQ(allowed.signatures[1].ca, Pca2011);
    EXPECT_EQ(allowed.signatures[1].allowedBy, Names{});

    // The nested signature's CA revoked, as a certificate or as the hash of its TBSCertificate.
    for (const SecureBootDatabase& dbx : {Database({"pca2011"}), Database({}, {}, {SigningFixture("pca2011.tbs.sha256")})}) {
        const TrustVerdict refused = judgeBoth(Database({"ca2023", "pca2011"}), dbx);
        EXPECT_EQ(refused.refusals, Refusals{TrustRefusal::CertificateInDbx});
        EXPECT_EQ(refused.signatures[0].forbiddenBy, Names{});
        EXPECT_EQ(refused.signatures[1].forbiddenBy, Names{Pca2011});
        EXPECT_EQ(refused.signatures[1].allowedBy, Names{Pca2011});
    }
    // A revoked signer certificate counts as much as its CA, and so does any other certificate a signature carries.
    EXPECT_EQ(judgeBoth(Database({"ca2023"}), Database({"leaf2011"})).refusals, Refusals{TrustRefusal::CertificateInDbx});
    bothSignatures[0].certificates.push_back(*ParseCertificate(SigningFixture("names.der")));
    EXPECT_EQ(judgeBoth(Database({"ca2023"}), Database({}, {}, {SigningFixture("names.tbs.sha256")})).refusals,
              Refusals{TrustRefusal::CertificateInDbx});
}

TEST_F(SignedBootManagerTrust, WhatDbMustHoldForTheSignatureToChainToIt) {
    // Only the 2011 CA allowed: the file signed under the 2023 CA alone is refused, and both CAs are named.
    const TrustVerdict refused = JudgeBootManagerTrust(only2023Signatures, only2023.authenticodeSha256, Database({"pca2011"}), Database({}));
    EXPECT_EQ(refused.refusals, Refusals{TrustRefusal::NotAllowedByDb});
    EXPECT_EQ(refused.signatures.at(0).ca, Ca2023);
    EXPECT_EQ(refused.allowedCas, Names{Pca2011});
    // The CA's own issuer in db counts: the chain's top certificate names it by key identifier.
    EXPECT_EQ(judgeBoth(Database({"root"}), Database({})).signatures[0].allowedBy, (Names{Root}));
    // A CA with the 2023 CA's name but another key doesn't.
    EXPECT_EQ(judgeBoth(Database({"impostor2023"}), Database({})).refusals, Refusals{TrustRefusal::NotAllowedByDb});
    // Without key identifiers the names decide.
    SecureBootDatabase rootWithoutKeyId = Database({"root"});
    rootWithoutKeyId.certificates[0].subjectKeyId.clear();
    EXPECT_EQ(judgeBoth(rootWithoutKeyId, Database({})).signatures[0].allowedBy, (Names{Root}));
    SecureBootDatabase impostorWithoutKeyId = Database({"impostor2023"});
    impostorWithoutKeyId.certificates[0].subjectKeyId.clear();
    EXPECT_EQ(judgeBoth(impostorWithoutKeyId, Database({})).refusals, Refusals{});
    // The signer's certificate missing from the signature: nothing to chain from.
    std::vector<Signature> unnamed = only2023Signatures;
    unnamed[0].signer.reset();
    const TrustVerdict noSigner = JudgeBootManagerTrust(unnamed, only2023.authenticodeSha256, Database({"ca2023"}), Database({}));
    EXPECT_EQ(noSigner.refusals, Refusals{TrustRefusal::NotAllowedByDb});
    EXPECT_EQ(noSigner.signatures[0].ca, "");
}

TEST_F(SignedBootManagerTrust, TheImagesOwnHashInDbOrDbx) {
    const TrustVerdict byHash = judgeBoth(Database({}, {imageHash}), Database({}));
    EXPECT_EQ(byHash.refusals, Refusals{});
    EXPECT_TRUE(byHash.fileHashInDb);
    const TrustVerdict revoked = judgeBoth(Database({"ca2023"}), Database({}, {ByteVector(32, 0), imageHash}));
    EXPECT_EQ(revoked.refusals, Refusals{TrustRefusal::FileHashInDbx});
    EXPECT_EQ(judgeBoth(Database({}), Database({"root"})).refusals,
              (Refusals{TrustRefusal::NotAllowedByDb, TrustRefusal::CertificateInDbx}));
}

} // namespace
} // namespace orvanta
