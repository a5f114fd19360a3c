#include <gtest/gtest.h>

#include "discovery/SignatureList.h"
#include "discovery/UefiBootState.h"
#include "fakes/FakeMachine.h"
#include "fakes/FirmwareBytes.h"
#include "fakes/SigningFixtures.h"

namespace orvanta {
namespace {

const std::string Global(GlobalVariableVendor);
const std::string Security(ImageSecurityVendor);

TEST(UefiBootState, EveryVariableIsReadOrItsErrorKept) {
    FakeMachine m;
    m.firmware.setVariable("SecureBoot", Global, {1});
    m.firmware.setVariable("BootOrder", Global, {0x03, 0x00, 0x0A, 0x00, 0x03, 0x00, 0x01, 0x00});
    m.firmware.setVariable("BootCurrent", Global, {0x03, 0x00});
    m.firmware.setVariable("Boot0003", Global,
                           LoadOptionBytes(LoadOptionActive, u"Windows Boot Manager",
                                           {FilePathNode(u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi"), EndNode()}));
    m.firmware.setVariable("Boot000A", Global, {1, 0});
    m.firmware.failVariable("Boot0001", Global, PrivilegeNotHeldError);
    // dbx: 600 SHA-256 file hashes (tens of KB, read with growing room) and two SHA-1 ones.
    std::vector<ByteVector> hashes(600, ByteVector(32, 0xAB));
    m.firmware.setVariable("dbx", Security, Joined({SignatureListBytes(Sha256HashType, hashes),
                                                    SignatureListBytes(Sha1HashType, {ByteVector(20), ByteVector(20)})}));

    const UefiBootState state = ReadUefiBootState(m.firmware);
    EXPECT_EQ(state.secureBoot.value, true);
    EXPECT_EQ(state.setupMode.error, VariableNotFoundError);
    EXPECT_EQ(state.bootOrder.value, (std::vector<std::uint16_t>{3, 10, 3, 1}));
    EXPECT_EQ(state.bootCurrent.value, 3);
    ASSERT_EQ(state.entries.size(), 3U); // each number once
    EXPECT_EQ(state.entries[0].option.value.description, "Windows Boot Manager");
    EXPECT_EQ(state.entries[1].number, 0x0A);
    EXPECT_EQ(state.entries[1].option.error, 0U);
    EXPECT_EQ(state.entries[1].option.value.fault, LoadOptionFault::Truncated);
    EXPECT_EQ(state.entries[2].option.error, PrivilegeNotHeldError);
    EXPECT_EQ(state.db.error, VariableNotFoundError);
    EXPECT_EQ(state.dbx.value.fileHashes.size(), 602U);
    EXPECT_EQ(state.dbx.value.fileHashes.back(), (HashEntry{HashAlgorithm::Sha1, ByteVector(20)}));
    EXPECT_EQ(m.journal.only({"firmware read"}),
              (std::vector<std::string>{"firmware read SecureBoot 4096", "firmware read SetupMode 4096",
                                        "firmware read BootOrder 4096", "firmware read BootCurrent 4096",
                                        "firmware read Boot0003 4096", "firmware read Boot000A 4096",
                                        "firmware read Boot0001 4096", "firmware read db 4096",
                                        "firmware read dbx 4096", "firmware read dbx 8192",
                                        "firmware read dbx 16384", "firmware read dbx 32768"}));
}

TEST(UefiBootState, AVariableLargerThanTheMostIsNotRead) {
    FakeMachine m;
    m.firmware.setVariable("dbx", Security, ByteVector(MostVariableCapacity + 1));
    EXPECT_EQ(ReadFirmwareVariable(m.firmware, "dbx", Security).error, InsufficientBufferError);
    EXPECT_EQ(m.journal.lines().back(), "firmware read dbx " + std::to_string(MostVariableCapacity));
    m.firmware.setVariable("SecureBoot", Global, {2}); // neither on nor off
    EXPECT_FALSE(ReadUefiBootState(m.firmware).secureBoot.value.has_value());
}

TEST(SignedSecureBootDatabase, CertificatesHashesAndEntriesThatDontRead) {
    const ByteVector ca = SigningFixture("ca2023.der"), pca = SigningFixture("pca2011.der");
    ByteVector broken = ca;
    broken[1] ^= 0x01; // the certificate's outer length no longer fits the entry
    const SecureBootDatabase db = ReadSecureBootDatabase(Joined({
        SignatureListBytes(X509CertificateType, {ca}), SignatureListBytes(X509CertificateType, {pca}),
        SignatureListBytes(X509CertificateType, {broken}), SignatureListBytes(Sha256HashType, {ByteVector(31)}),
        SignatureListBytes(X509Sha256HashType, {ByteVector(48, 7)})}));
    ASSERT_EQ(db.certificates.size(), 2U);
    EXPECT_EQ(db.certificates[0].subject.text, "CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US");
    EXPECT_EQ(db.certificates[1].der, pca);
    EXPECT_EQ(db.unreadableEntries, 2U);
    ASSERT_EQ(db.certificateHashes.size(), 1U);
    EXPECT_EQ(db.certificateHashes[0], (HashEntry{HashAlgorithm::Sha256, ByteVector(32, 7)}));
    EXPECT_FALSE(db.damaged);
}

} // namespace
} // namespace orvanta
