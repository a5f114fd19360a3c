#include <gtest/gtest.h>

#include "discovery/firmware/SignatureList.h"
#include "discovery/firmware/UefiBootState.h"
#include "discovery/firmware/VariableNames.h"
#include "fakes/FakeMachine.h"
#include "fakes/FirmwareBytes.h"
#include "fakes/SigningFixtures.h"

namespace orvanta {
namespace {

const std::string Global(GlobalVariableVendor);
const std::string Security(ImageSecurityVendor);
const Guid GlobalVariableGuid = *ParseGuidText(GlobalVariableVendor);
constexpr Guid Sha1HashType{0x12, 0xa5, 0x6c, 0x82, 0x10, 0xcf, 0xc9, 0x4a, 0xb1, 0x87, 0xbe, 0x01, 0x49, 0x66, 0x31, 0xbd};

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

// Entries outside BootOrder: found by the names the system lists (only
// "Boot" and four upper-case hexadecimal digits, of the global vendor), or,
// where it lists none or a damaged list, by asking for Boot0000-Boot00FF;
// the lowest free number skips every entry and every number BootOrder names.
TEST(UefiBootState, EntriesOutsideBootOrderAreFoundByTheirNamesOrByAskingForEach) {
    const ByteVector entry = LoadOptionBytes(LoadOptionActive, u"E", {EndNode()});
    const ByteVector damaged = VariableNameRecords({{GlobalVariableGuid, u"Boot0002"}, {GlobalVariableGuid, u"Boot0003"}});
    const struct {
        const char* name;
        std::uint32_t namesError;
        ByteVector listing; // instead of the fake's own, when not empty
        std::vector<std::uint16_t> entries;
        BootEntrySearch search;
        std::uint32_t listError;
        std::size_t reads; // of Boot####
        std::optional<std::uint16_t> free;
    } cases[] = {
        {"listed", 0, {}, {0x0001, 0x0003, 0x0000, 0x0002, 0x0100}, BootEntrySearch::Listed, 0, 5, 0x0004},
        {"not listed", FunctionMissingError, {}, {0x0001, 0x0003, 0x0000, 0x0002}, BootEntrySearch::Probed,
         FunctionMissingError, 2 + 254, 0x0004},
        // Cut short inside its last name: the listing is not trusted.
        {"damaged", 0, ByteVector(damaged.begin(), damaged.end() - 4), {0x0001, 0x0003, 0x0000, 0x0002},
         BootEntrySearch::Probed, InvalidDataError, 2 + 254, 0x0004},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        m.firmware.setVariable("BootOrder", Global, {0x01, 0x00, 0x03, 0x00});
        for (const char* name : {"Boot0001", "Boot0000", "Boot0002", "Boot0100"}) m.firmware.setVariable(name, Global, entry);
        for (const char* name : {"Boot000a", "BootNext", "Boot00010"}) m.firmware.setVariable(name, Global, entry);
        m.firmware.setVariable("Boot0005", Security, entry); // not the global vendor's
        m.firmware.namesError = c.namesError;
        if (!c.listing.empty()) m.firmware.namesListing = c.listing;
        const UefiBootState state = ReadUefiBootState(m.firmware);
        std::vector<std::uint16_t> numbers;
        for (const BootEntry& read : state.entries) numbers.push_back(read.number);
        EXPECT_EQ(numbers, c.entries);
        EXPECT_EQ(state.entries[1].option.error, VariableNotFoundError); // Boot0003: BootOrder names it, no variable has it
        EXPECT_EQ(state.entrySearch, c.search);
        EXPECT_EQ(state.nameListError, c.listError);
        EXPECT_EQ(m.journal.count("firmware read Boot0"), c.reads);
        EXPECT_EQ(LowestFreeBootNumber(state), c.free);
    }
}

TEST(VariableNames, ARecordThatDoesntFitItsBytesEndsTheListAsDamaged) {
    const ByteVector good = VariableNameRecords({{GlobalVariableGuid, u"Boot0001"}, {GlobalVariableGuid, u"启动"}});
    const auto withNext = [&](std::uint32_t next) {
        ByteVector bytes = good;
        for (std::size_t index = 0; index < 4; ++index) bytes[index] = static_cast<std::uint8_t>(next >> (8U * index));
        return bytes;
    };
    const struct {
        ByteVector bytes;
        std::size_t names;
        bool damaged;
    } cases[] = {
        {good, 2, false},
        {Joined({good, ByteVector(3, 0xEE)}), 2, false}, // after the last name's zero: nothing more is read
        {{}, 0, false},
        {ByteVector(19), 0, true},                       // shorter than a header
        {withNext(21), 0, true},                         // no room for a name's zero
        {withNext(static_cast<std::uint32_t>(good.size()) + 4), 0, true},
        {ByteVector(good.begin(), good.end() - 2), 1, true}, // the last name without its zero
    };
    for (const auto& c : cases) {
        const VariableNameList list = ParseVariableNames(c.bytes);
        EXPECT_EQ(list.names.size(), c.names) << c.bytes.size();
        EXPECT_EQ(list.damaged, c.damaged) << c.bytes.size();
    }
    const VariableNameList list = ParseVariableNames(good);
    EXPECT_EQ(list.names[1], (VariableName{GlobalVariableGuid, "启动"}));
}

TEST(UefiBootState, NoNumberIsFreeWhenBootOrderOrAnEntryCanTBeToldApart) {
    FakeMachine m;
    m.firmware.failVariable("BootOrder", Global, PrivilegeNotHeldError);
    UefiBootState state = ReadUefiBootState(m.firmware);
    EXPECT_EQ(state.entrySearch, BootEntrySearch::None);
    EXPECT_EQ(m.journal.count("firmware names"), 0U);
    EXPECT_FALSE(LowestFreeBootNumber(state).has_value());

    // Every probed number taken, or more entries than are read.
    m.firmware.setVariable("BootOrder", Global, {});
    m.firmware.namesError = FunctionMissingError;
    for (unsigned number = 0; number <= LastProbedBootEntry; ++number) {
        m.firmware.setVariable(BootEntryName(static_cast<std::uint16_t>(number)), Global, {1, 0});
    }
    EXPECT_FALSE(LowestFreeBootNumber(ReadUefiBootState(m.firmware)).has_value());
    m.firmware.namesError = 0;
    m.firmware.setVariable("Boot0100", Global, {1, 0});
    state = ReadUefiBootState(m.firmware);
    EXPECT_TRUE(state.moreEntries);
    EXPECT_EQ(state.entries.size(), MostUnorderedEntriesRead);
    EXPECT_FALSE(LowestFreeBootNumber(state).has_value());
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
