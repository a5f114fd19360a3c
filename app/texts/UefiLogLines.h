#pragma once
// The repair log's lines about UEFI firmware: Secure Boot's state, its
// databases and the boot entries as the survey read them, and after a UEFI
// repair what the check of the repaired partition found.
#include <cstdint>
#include <string>

#include "app/texts/LogLines.h"
#include "discovery/firmware/UefiBootState.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

// "错误 1314，没有读取固件变量的权限": a firmware variable's read error.
std::string VariableErrorText(std::uint32_t error);

// Secure Boot's state, db's and dbx's certificates and counts of hashes, and
// the boot entries in BootOrder's order (description, partition, path); one
// line when no variable could be read.
LogLines UefiStateLines(const UefiBootState& state);

// What the check after a UEFI repair found: the boot entry for the partition,
// the fallback file, each boot manager file's signatures with their chains,
// its Authenticode hash and, with Secure Boot on, whether the firmware will
// refuse it.
LogLines UefiStartLines(const UefiStartCheck& check);

// "没有发现固件会拒绝它的已知原因（…）" or "固件会拒绝它，因为…": a verdict against db and dbx.
std::string TrustText(const TrustVerdict& trust);
// Why the firmware refuses it, the reasons joined: "它的哈希在 dbx 里；…".
std::string RefusalReasonsText(const TrustVerdict& trust);

} // namespace orvanta
