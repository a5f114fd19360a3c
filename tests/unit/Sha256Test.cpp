#include <gtest/gtest.h>

#include <string>

#include "discovery/Sha256.h"
#include "fakes/SigningFixtures.h"

namespace orvanta {
namespace {

std::string Hex(const Sha256Digest& digest) {
    constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : digest) text += {Digits[byte >> 4U], Digits[byte & 0x0FU]};
    return text;
}

Sha256Digest HashOf(std::string_view text) {
    return Sha256Of({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(Sha256, TheStandardsExamples) {
    EXPECT_EQ(Hex(HashOf("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Hex(HashOf("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex(HashOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // A million 'a', handed in as pieces that straddle the 64-byte blocks.
    const std::string piece(999, 'a');
    Sha256 hash;
    for (int index = 0; index < 1001; ++index) hash.update({reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()});
    hash.update({reinterpret_cast<const std::uint8_t*>(piece.data()), 1});
    EXPECT_EQ(Hex(hash.finish()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(SignedSha256, AgreesWithOpensslAroundTheBlockEndsAndOverWholeImages) {
    for (const int length : {0, 1, 54, 55, 56, 57, 63, 64, 65, 118, 119, 120, 121, 127, 128, 129, 200}) {
        const std::string name = "prefix-" + std::to_string(length);
        const Sha256Digest digest = Sha256Of(SigningFixture(name + ".bin"));
        EXPECT_EQ(ByteVector(digest.begin(), digest.end()), SigningFixture(name + ".sha256")) << length;
    }
    for (const std::string image : {"boot64", "signed-both"}) {
        const Sha256Digest digest = Sha256Of(SigningFixture(image + ".efi"));
        EXPECT_EQ(ByteVector(digest.begin(), digest.end()), SigningFixture(image + ".sha256")) << image;
    }
}

} // namespace
} // namespace orvanta
