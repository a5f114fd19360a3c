#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "app/phrases/StoreTexts.h"
#include "discovery/bcd/BcdStore.h"
#include "discovery/bytes/Guid.h"
#include "discovery/bytes/LittleEndian.h"

namespace orvanta {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

Bytes WindowsStore() {
    return FileBytes(std::string(ORVANTA_TEST_DATA) + "/bcd-windows10-uefi");
}

Bytes TestStore(const std::string& name) {
    return FileBytes(std::string(ORVANTA_TEST_STORES) + "/" + name);
}

PartitionIdentity Gpt(const char* guid) {
    return {PartitionStyle::Gpt, *ParseGuidText(guid), 0, 0};
}

BcdDevice OnPartition(const char* guid) {
    return {BcdDeviceKind::Partition, Gpt(guid), ""};
}

// The expected values come from hivex's dump of the file (hivexsh), not from
// the reader.
TEST(BcdStore, ReadsTheStoreWindowsWroteCompletely) {
    const BcdStoreReading reading = ReadBcdStore(WindowsStore());
    ASSERT_TRUE(reading.store) << static_cast<int>(reading.fault);
    const BcdStore& store = *reading.store;
    EXPECT_EQ(store.objects.size(), 17U);
    EXPECT_FALSE(store.dirty);
    const char* esp = "{36be3955-63bf-4068-a6ab-00195cca3a22}";
    const char* windows = "{8e0f2c38-e4ea-47ba-b7fc-9d8c74dccf0b}";

    const BcdObject* manager = store.bootManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(*manager, (BcdObject{.identifier = "{9dea862c-5cdd-4e70-acc1-f32b344d4795}",
                                   .type = BootManagerType,
                                   .description = "Windows Boot Manager",
                                   .device = OnPartition(esp),
                                   .path = "\\EFI\\Microsoft\\Boot\\bootmgfw.efi",
                                   .defaultEntry = "{733b62e5-f608-11eb-825c-c112f60133ab}",
                                   .displayOrder = {"{733b62e5-f608-11eb-825c-c112f60133ab}"},
                                   .timeout = 30}));
    EXPECT_EQ(WellKnownName(manager->identifier), "{bootmgr}");
    EXPECT_EQ(*store.find(manager->defaultEntry),
              (BcdObject{.identifier = "{733b62e5-f608-11eb-825c-c112f60133ab}",
                         .type = WindowsLoaderType,
                         .description = "Windows 10",
                         .device = OnPartition(windows),
                         .path = "\\Windows\\system32\\winload.efi",
                         .osDevice = OnPartition(windows),
                         .systemRoot = "\\Windows",
                         .recoverySequence = {"{733b62e6-f608-11eb-825c-c112f60133ab}"}}));
    // Windows RE boots a ramdisk made from Winre.wim, which lies on a partition
    // of its own; its options are the store's device options object.
    const BcdObject* recovery = store.find("{733b62e6-f608-11eb-825c-c112f60133ab}");
    ASSERT_NE(recovery, nullptr);
    EXPECT_EQ(recovery->description, "Windows Recovery Environment");
    const BcdDevice ramdisk{BcdDeviceKind::Ramdisk, Gpt("{6cdfcd69-de75-4490-8f99-5a84bf264917}"),
                            "\\Recovery\\WindowsRE\\Winre.wim", BcdDeviceKind::Partition,
                            "{733b62e7-f608-11eb-825c-c112f60133ab}"};
    EXPECT_EQ(store.find(ramdisk.options)->type, 0x30000000U);
    EXPECT_EQ(recovery->device, ramdisk);
    EXPECT_EQ(recovery->osDevice, ramdisk);
    EXPECT_EQ(store.find("{733b62e4-f608-11eb-825c-c112f60133ab}")->type, ResumeType);
    EXPECT_EQ(store.find("{733b62e4-f608-11eb-825c-c112f60133ab}")->osDevice, OnPartition(windows));
    const BcdObject* memory = store.find("{b2721d73-1db4-4c62-bf78-c548a880142d}");
    EXPECT_EQ(memory->type, MemoryTesterType);
    EXPECT_EQ(memory->path, "\\EFI\\Microsoft\\Boot\\memtest.efi");

    // The firmware's boot manager and its entries; settings objects and device options are no entries.
    const BcdObject* firmware = store.find("{a5a30fa2-3d06-4e9f-b5f4-a01df9d1fcba}");
    EXPECT_EQ(firmware->displayOrder.size(), 4U);
    EXPECT_TRUE(IsFirmwareObject(*firmware));
    std::vector<std::string> mirrored;
    for (const BcdObject& object : store.objects) {
        if (object.type == FirmwareEntryType) mirrored.push_back(object.description);
        EXPECT_EQ(IsApplication(object), object.type >> 28 == 1) << object.identifier;
    }
    EXPECT_EQ(mirrored, (std::vector<std::string>{"Linux Boot Manager", "UEFI OS", "Windows Boot Manager"}));
    EXPECT_FALSE(IsApplication(*store.find("{7ea2e1ac-2e61-4728-aaa3-896d9d0a9f0e}"))); // {globalsettings}
    EXPECT_FALSE(IsApplication(*store.find("{733b62e7-f608-11eb-825c-c112f60133ab}"))); // ramdisk options
    EXPECT_FALSE(IsFirmwareObject(*manager));
}

// Stores that other writers make: hivex's lists rewritten as "li" and as an
// "ri" over an "li" read the same; MBR partitions by signature and offset;
// values in segments; a hive whose last write wasn't finished.
TEST(BcdStore, ReadsStoresOfOtherWritersAndListKinds) {
    const BcdStoreReading plain = ReadBcdStore(TestStore("uefi-two"));
    ASSERT_TRUE(plain.store);
    EXPECT_EQ(plain.store->objects.size(), 7U);
    for (const char* variant : {"uefi-two-li", "uefi-two-ri"}) {
        const BcdStoreReading reading = ReadBcdStore(TestStore(variant));
        ASSERT_TRUE(reading.store) << variant;
        EXPECT_EQ(reading.store->objects, plain.store->objects) << variant;
    }
    const BcdObject* second = plain.store->find("{00000101-0000-4000-8000-00000000c0de}");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->osDevice, (BcdDevice{BcdDeviceKind::Partition, PartitionIdentity{PartitionStyle::Mbr, {}, 0x1234ABCD, 0x7E00000}, ""}));
    EXPECT_EQ(plain.store->bootManager()->defaultEntry, second->identifier);

    const BcdStoreReading big = ReadBcdStore(TestStore("big-dirty"));
    ASSERT_TRUE(big.store);
    EXPECT_TRUE(big.store->dirty);
    const HiveReading hive = ReadHive(TestStore("big-dirty"));
    const RegistryValue* segmented = hive.root->subkey("Objects")
                                         ->subkey("{9dea862c-5cdd-4e70-acc1-f32b344d4795}")
                                         ->subkey("Elements")
                                         ->subkey("27000030")
                                         ->value("Element");
    ASSERT_NE(segmented, nullptr);
    ASSERT_EQ(segmented->data.size(), 20000U);
    EXPECT_EQ(segmented->data[16383], 16383 % 256);
    EXPECT_EQ(segmented->data[19967], 19967 % 256);
}

// The devices install media, native VHD boot and sysprep leave, written by
// make_bcd.py from the layout in discovery/bcd/BcdDevice.h, shown as bcdedit
// shows them; a key under Objects that is no GUID is skipped and said.
TEST(BcdStore, ReadsEveryDeviceRealStoresCarryAndShowsThemAsBcdeditDoes) {
    const BcdStoreReading reading = ReadBcdStore(TestStore("real-devices"));
    ASSERT_TRUE(reading.store);
    const BcdStore& store = *reading.store;
    struct Case {
        const char* identifier;
        const char* device;
        const char* osDevice;
    };
    const Case cases[] = {
        {"{00000100-0000-4000-8000-00000000c0de}", "partition=GPT 分区 {8e0f2c38-e4ea-47ba-b7fc-9d8c74dccf0b}",
         "partition=GPT 分区 {8e0f2c38-e4ea-47ba-b7fc-9d8c74dccf0b}"},
        {"{00000500-0000-4000-8000-00000000c0de}", "vhd=[locate]\\TEST.VHD,locate=custom:12000002",
         "vhd=[locate]\\TEST.VHD,locate=custom:22000002"},
        {"{00000501-0000-4000-8000-00000000c0de}",
         "vhd=[MBR 磁盘 1234ABCD 偏移 132120576]\\VMs\\win10.vhdx,locate=custom:12000002",
         "vhd=[MBR 磁盘 1234ABCD 偏移 132120576]\\VMs\\win10.vhdx,locate=custom:22000002"},
        {"{00000600-0000-4000-8000-00000000c0de}", "ramdisk=[boot]\\sources\\boot.wim,{ramdiskoptions}",
         "ramdisk=[boot]\\sources\\boot.wim,{ramdiskoptions}"},
        {"{00000700-0000-4000-8000-00000000c0de}", "locate=custom:12000002", "locate=custom:22000002"},
    };
    for (const Case& c : cases) {
        const BcdObject* object = store.find(c.identifier);
        ASSERT_NE(object, nullptr) << c.identifier;
        ASSERT_TRUE(object->device && object->osDevice) << c.identifier;
        EXPECT_EQ(DeviceText(*object->device), c.device);
        EXPECT_EQ(DeviceText(*object->osDevice), c.osDevice);
    }
    const BcdDevice& inVhd = *store.find("{00000501-0000-4000-8000-00000000c0de}")->osDevice;
    EXPECT_EQ(inVhd.kind, BcdDeviceKind::Vhd);
    EXPECT_EQ(inVhd.partition, (PartitionIdentity{PartitionStyle::Mbr, {}, 0x1234ABCD, 0x7E00000}));
    EXPECT_EQ(store.skippedKeys, std::vector<std::string>{"{Default}"});
    const std::vector<std::string> lines = StoreListingLines("BCD 存储", {reading, {}});
    EXPECT_EQ(lines[1], "  已跳过 Objects 下的键“{Default}”：它的名称不是 GUID，不是启动项也不是设置对象");

    // Cut anywhere, each device element is of unknown kind: never read past its sizes.
    const HiveReading hive = ReadHive(TestStore("real-devices"));
    for (const Case& c : cases) {
        const RegistryValue* element =
            hive.root->subkey("Objects")->subkey(c.identifier)->subkey("Elements")->subkey("11000001")->value("Element");
        ASSERT_NE(element, nullptr);
        for (std::size_t size = 0; size < element->data.size(); ++size) {
            EXPECT_EQ(ParseBcdDevice(std::span(element->data).first(size)), BcdDevice{}) << c.identifier << " " << size;
        }
    }
}

// Offsets of the generated hive: the root key's cell and its subkey list.
constexpr std::size_t Bins = 4096;
std::size_t RootKey(const Bytes& hive) {
    return Bins + ReadLittleEndian32(hive, 36) + 4;
}
std::size_t RootSubkeyList(const Bytes& hive) {
    return Bins + ReadLittleEndian32(hive, RootKey(hive) + 28) + 4;
}

TEST(BcdStore, DamagedFilesCantBeReadAndNeverCrashTheReader) {
    const Bytes whole = WindowsStore();
    // Cut anywhere: the reading fails or holds no more objects than the whole.
    for (std::size_t size = 0; size < whole.size(); size += 256) {
        const BcdStoreReading cut = ReadBcdStore(std::span(whole).first(size));
        if (cut.store) {
            EXPECT_LE(cut.store->objects.size(), 17U) << size;
        }
        if (size < 4096) {
            EXPECT_EQ(cut.fault, StoreFault::NotAHive) << size;
        }
    }
    EXPECT_EQ(ReadBcdStore(std::span(whole).first(whole.size() / 2)).fault, StoreFault::Damaged);

    const Bytes generated = TestStore("uefi-two");
    const auto damaged = [&](const std::function<void(Bytes&)>& change) {
        Bytes hive = generated;
        change(hive);
        return ReadHive(hive);
    };
    EXPECT_EQ(damaged([](Bytes& h) { WriteLittleEndian32(h, 36, 0x7FFFFFF0); }).fault, HiveFault::BadCell);
    EXPECT_EQ(damaged([](Bytes& h) { WriteLittleEndian32(h, RootKey(h) - 4, 0x80000010); }).fault,
              HiveFault::BadCell); // a cell claiming 2 GB
    EXPECT_EQ(damaged([](Bytes& h) { h[RootSubkeyList(h) + 2] = 0xFF; }).fault, HiveFault::BadCell); // 255 entries
    // A list entry that leads back to the root key.
    EXPECT_EQ(damaged([](Bytes& h) { WriteLittleEndian32(h, RootSubkeyList(h) + 12, ReadLittleEndian32(h, 36)); }).fault,
              HiveFault::Loop);
    EXPECT_EQ(damaged([](Bytes& h) { h[0] = 'R'; }).fault, HiveFault::NotAHive);
    EXPECT_EQ(ReadBcdStore(Bytes(8192, 0)).fault, StoreFault::NotAHive);
}

} // namespace
} // namespace orvanta
