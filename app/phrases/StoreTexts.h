#pragma once
// The words for BCD stores: their entries as bcdedit /enum lists them, the
// check's findings, what was done with a store, and what a rebuild dropped.
#include <string>
#include <vector>

#include "repair/run/RepairRun.h"

namespace orvanta {

// As bcdedit shows a device, partitions named by identity: "partition=GPT 分区 {…}",
// "partition=MBR 磁盘 1234ABCD 偏移 1048576", "ramdisk=[boot]\sources\boot.wim,{…}",
// "vhd=[locate]\TEST.VHD,locate=custom:12000002", "locate=custom:12000002", "boot".
std::string DeviceText(const BcdDevice& device);
// bcdedit's heading for an object type ("Windows 启动加载器").
std::string ObjectTypeName(std::uint32_t type);
// "“Windows 10”（Windows 启动加载器）"
std::string EntryName(const BcdObject& entry);
std::string StoreFaultText(StoreFault fault);
// "BIOS" or "UEFI".
std::string FirmwareName(StoreFirmware firmware);
// One finding of the check, as a sentence.
std::string FindingText(const StoreFinding& finding, StoreFirmware firmware);
// What was done with a store, after its path.
std::string StepText(const StoreEvent& event);

// A store's entries in blocks like bcdedit /enum's, each field on a line of
// its own, under `heading`; settings objects and device options are counted,
// not listed, and a key that names no object is said to be skipped. An entry
// on a partition no disk has is marked.
std::vector<std::string> StoreListingLines(const std::string& heading, const StoreListing& listing);

// The old store's entries the new one lacks, one line each, and what to do
// about Windows RE when it is among them.
std::vector<std::string> DroppedLines(const std::vector<DroppedEntry>& dropped);

} // namespace orvanta
