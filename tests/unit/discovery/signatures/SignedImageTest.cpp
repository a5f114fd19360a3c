#include <gtest/gtest.h>

#include "crypto/OpensslCrypto.h"
#include "discovery/signatures/PeImage.h"
#include "discovery/signatures/SignedData.h"
#include "fakes/SigningFixtures.h"

namespace orvanta {
namespace {

constexpr std::size_t OptionalHeaderAt = 0x40 + 4 + 20; // where make_pe.py puts it

ByteVector Der(std::uint8_t tag, const ByteVector& content) {
    ByteVector element{tag};
    if (content.size() < 0x80) {
        element.push_back(static_cast<std::uint8_t>(content.size()));
    } else {
        element.insert(element.end(), {0x82, static_cast<std::uint8_t>(content.size() >> 8U), static_cast<std::uint8_t>(content.size())});
    }
    element.insert(element.end(), content.begin(), content.end());
    return element;
}

// A SignedData with no certificates whose one SignerInfo nests `inner`, as a ContentInfo.
ByteVector SignedDataNesting(const ByteVector& inner) {
    const ByteVector signedDataId{0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x07, 0x02};
    const ByteVector nestedId{0x2B, 0x06, 0x01, 0x04, 0x01, 0x82, 0x37, 0x02, 0x04, 0x01};
    ByteVector signerInfo = Joined({Der(0x02, {1}), Der(0x30, {}), Der(0x30, {}), Der(0x30, {}), Der(0x04, {})});
    if (!inner.empty()) signerInfo = Joined({signerInfo, Der(0xA1, Der(0x30, Joined({Der(0x06, nestedId), Der(0x31, inner)})))});
    const ByteVector signedData = Der(0x30, Joined({Der(0x02, {1}), Der(0x31, {}), Der(0x30, Der(0x06, {0x2B})),
                                                    Der(0x31, Der(0x30, signerInfo))}));
    return Der(0x30, Joined({Der(0x06, signedDataId), Der(0xA0, signedData)}));
}

ByteVector DerOf(const Signature& signature) {
    return signature.signer ? signature.certificates.at(*signature.signer).der : ByteVector{};
}

TEST(SignedImages, TheAuthenticodeHashIsTheOneEverySignatureVouchesFor) {
    OpensslCrypto crypto;
    const ByteVector unsignedFile = SigningFixture("boot64.efi");
    const auto unsigned64 = ReadPeImage(unsignedFile);
    ASSERT_TRUE(unsigned64.has_value());
    EXPECT_TRUE(unsigned64->pe32Plus);
    EXPECT_EQ(unsigned64->machine, 0x8664);
    EXPECT_TRUE(unsigned64->certificates.empty());
    EXPECT_FALSE(unsigned64->hasCertificateTable);
    const auto sha256 = [&](const ByteVector& file) { return AuthenticodeDigest(crypto, HashAlgorithm::Sha256, file, *ReadPeImage(file)); };
    for (const std::string name : {"signed2023.efi", "signed-both.efi", "signed32.efi", "two-entries.efi"}) {
        SCOPED_TRACE(name);
        const ByteVector file = SigningFixture(name);
        const auto image = ReadPeImage(file);
        ASSERT_TRUE(image.has_value());
        EXPECT_FALSE(image->certificateTableDamaged);
        const std::vector<Signature> signatures = SignaturesOf(*image);
        ASSERT_FALSE(signatures.empty());
        for (const Signature& signature : signatures) {
            EXPECT_EQ(signature.digestAlgorithm, Sha256AlgorithmId);
            EXPECT_EQ(signature.fileDigest, sha256(file));
            EXPECT_EQ(HashOf(crypto, HashAlgorithm::Sha256, signature.indirectContent), signature.messageDigest);
        }
        // Signing changed the checksum and the certificate table's entry and added the table: none of it is hashed.
        if (image->pe32Plus) {
            EXPECT_EQ(sha256(file), sha256(unsignedFile));
        }
        const ByteRange& last = image->hashedRanges.back();
        EXPECT_LE(last.offset + last.length, image->certificates.front().offset);
    }
    EXPECT_EQ(ReadPeImage(SigningFixture("signed32.efi"))->machine, 0x014C);
    const std::vector<Signature> entries = SignaturesOf(*ReadPeImage(SigningFixture("two-entries.efi")));
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[1].entry, 1U);
    EXPECT_EQ(entries[1].depth, 0U);

    // A byte of a section counts; the checksum doesn't.
    ByteVector changed = unsignedFile;
    changed[OptionalHeaderAt + OptionalCheckSumOffset] ^= 0xFF;
    EXPECT_EQ(sha256(changed), sha256(unsignedFile));
    changed[0x300] ^= 0xFF;
    EXPECT_NE(sha256(changed), sha256(unsignedFile));
}

TEST(SignedImages, EachSignatureNamesItsCertificatesAndItsSignerNestedOnesIncluded) {
    const std::vector<Signature> signatures = SignaturesOf(*ReadPeImage(SigningFixture("signed-both.efi")));
    ASSERT_EQ(signatures.size(), 2U);
    EXPECT_EQ(signatures[0].depth, 0U);
    EXPECT_EQ(signatures[1].depth, 1U);
    EXPECT_EQ(DerOf(signatures[0]), SigningFixture("leaf2023.der"));
    EXPECT_EQ(DerOf(signatures[1]), SigningFixture("leaf2011.der"));
    ASSERT_EQ(signatures[0].certificates.size(), 2U);
    ASSERT_EQ(signatures[1].certificates.size(), 2U);
    EXPECT_EQ(signatures[0].certificates[1 - *signatures[0].signer].der, SigningFixture("ca2023.der"));
    EXPECT_EQ(signatures[1].certificates[1 - *signatures[1].signer].der, SigningFixture("pca2011.der"));
}

TEST(SignedImages, DamagedImagesAndSignaturesGiveWhatLiesWithinThem) {
    const ByteVector file = SigningFixture("signed-both.efi");
    const auto whole = ReadPeImage(file);
    ASSERT_TRUE(whole.has_value());
    const std::size_t table = whole->certificates.front().offset;

    ByteVector lying = file;
    lying[table + 1] = 0x7F; // the entry's length runs past the table
    const auto lyingImage = ReadPeImage(lying);
    EXPECT_TRUE(lyingImage->certificateTableDamaged);
    EXPECT_TRUE(lyingImage->certificates.empty());
    EXPECT_EQ(lyingImage->hashedRanges, whole->hashedRanges);
    // The table's size counting bytes no entry fills: damaged, as firmware reads it; the entry before still reads.
    const auto padded = ReadPeImage(SigningFixture("malformed-table.efi"));
    EXPECT_TRUE(padded->certificateTableDamaged);
    EXPECT_EQ(padded->certificates.size(), 1U);

    // Cut short, within the table (shorter than the sections and the table it
    // claims) or within the sections: no hash.
    EXPECT_FALSE(ReadPeImage(std::span(file).first(table + 100)).has_value());
    EXPECT_FALSE(ReadPeImage(std::span(file).first(0x500)).has_value());
    ByteVector notPe = file;
    notPe[0x40] = 'X';
    EXPECT_FALSE(ReadPeImage(notPe).has_value());
    for (std::size_t size = 0; size < file.size(); size += 7) {
        const auto read = ReadPeImage(std::span(file).first(size));
        if (!read) continue;
        for (const ByteRange& range : read->hashedRanges) EXPECT_LE(range.offset + range.length, size);
    }

    // Signatures nested without end are read to a depth.
    ByteVector nested = SignedDataNesting({});
    for (int level = 0; level < 10; ++level) nested = SignedDataNesting(nested);
    const std::vector<Signature> deep = ReadSignatures(nested);
    ASSERT_EQ(deep.size(), MostSignatureDepth + 1);
    EXPECT_EQ(deep.back().depth, MostSignatureDepth);
    EXPECT_FALSE(deep.front().signer.has_value());
}

} // namespace
} // namespace orvanta
