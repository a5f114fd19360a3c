#include <gtest/gtest.h>

#include "discovery/firmware/SignatureList.h"
#include "fakes/FirmwareBytes.h"

namespace orvanta {
namespace {

// EFI_CERT_SHA1_GUID {826ca512-cf10-4ac9-b187-be01496631bd}, a type this reader only names.

ByteVector Filled(std::size_t size, std::uint8_t value) {
    return ByteVector(size, value);
}

TEST(SignatureList, SeveralListsOfEachKindInOneVariable) {
    EXPECT_EQ(GuidText(X509CertificateType), "{a5c059a1-94e4-4aa7-87b5-ab155c2bf072}");
    EXPECT_EQ(GuidText(Sha256HashType), "{c1c41626-504c-4092-aca9-41f936934328}");
    EXPECT_EQ(GuidText(X509Sha256HashType), "{3bd2a492-96c0-4079-b420-fcf98ef103ed}");
    // A list with a 4-byte header of its own, written by hand.
    ByteVector withHeader = SignatureListBytes(Sha256HashType, {Filled(32, 0x33)});
    withHeader[16] = static_cast<std::uint8_t>(withHeader[16] + 4);
    withHeader[20] = 4;
    withHeader.insert(withHeader.begin() + 28, {0xEE, 0xEE, 0xEE, 0xEE});
    const ByteVector variable = Joined({SignatureListBytes(X509CertificateType, {Filled(700, 0x30)}),
                                        SignatureListBytes(Sha256HashType, {Filled(32, 1), Filled(32, 2)}),
                                        SignatureListBytes(X509Sha256HashType, {Filled(48, 3)}),
                                        SignatureListBytes(Sha1HashType, {Filled(20, 4), Filled(20, 5)}),
                                        withHeader});
    const SignatureLists read = ParseSignatureLists(variable);
    EXPECT_FALSE(read.damaged);
    ASSERT_EQ(read.lists.size(), 5U);
    std::vector<SignatureKind> kinds;
    std::vector<std::string> names;
    for (const SignatureList& list : read.lists) {
        kinds.push_back(list.kind);
        names.push_back(SignatureTypeName(list.type));
        for (const SignatureEntry& entry : list.entries) {
            ASSERT_LE(entry.offset + entry.data.size(), variable.size());
            EXPECT_TRUE(std::equal(entry.data.begin(), entry.data.end(), variable.begin() + static_cast<std::ptrdiff_t>(entry.offset)));
        }
    }
    EXPECT_EQ(kinds, (std::vector<SignatureKind>{SignatureKind::X509Certificate, SignatureKind::Sha256Hash,
                                                 SignatureKind::X509Sha256Hash, SignatureKind::Sha1Hash,
                                                 SignatureKind::Sha256Hash}));
    EXPECT_EQ(names, (std::vector<std::string>{"X.509", "SHA-256", "X.509 SHA-256", "SHA-1", "SHA-256"}));
    EXPECT_EQ(read.lists[0].entries[0].data, Filled(700, 0x30));
    EXPECT_EQ(read.lists[1].entries[1].data, Filled(32, 2));
    EXPECT_EQ(read.lists[3].entries.size(), 2U);
    EXPECT_EQ(read.lists[4].entries.at(0).data, Filled(32, 0x33)); // after the list's own header
    EXPECT_EQ(SignatureTypeName({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
              "{04030201-0605-0807-090a-0b0c0d0e0f10}");
}

TEST(SignatureList, AListWhoseSizesLieEndsTheReadingWithTheListsBeforeIt) {
    const ByteVector good = SignatureListBytes(Sha256HashType, {Filled(32, 1)});
    const auto withLie = [&](std::size_t field, std::uint32_t value) {
        ByteVector lying = SignatureListBytes(Sha256HashType, {Filled(32, 2), Filled(32, 3)});
        for (std::size_t index = 0; index < 4; ++index) lying[field + index] = static_cast<std::uint8_t>(value >> (8 * index));
        return Joined({good, lying, good});
    };
    for (const ByteVector& variable : {
             withLie(16, 28 + 4 * 48),           // whole entries, but past the variable
             withLie(16, 20),                    // smaller than a list's header
             withLie(16, 2 * 48 + 28 - 1),       // not a whole number of entries
             withLie(20, 0xFFFFFFF0),            // a header larger than the list
             withLie(24, 8),                     // entries too small for their owner's GUID
             withLie(24, 0),
             Joined({good, ByteVector(27, 0)}),  // a piece shorter than a list's header
         }) {
        const SignatureLists read = ParseSignatureLists(variable);
        EXPECT_TRUE(read.damaged);
        ASSERT_EQ(read.lists.size(), 1U);
        EXPECT_EQ(read.lists[0].entries.at(0).data, Filled(32, 1));
    }
    EXPECT_FALSE(ParseSignatureLists({}).damaged);
}

} // namespace
} // namespace orvanta
