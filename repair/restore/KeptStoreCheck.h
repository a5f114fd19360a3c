#pragma once
// The check of a kept store that is put back, and which installation a
// loader starts. A kept store is the boot as it was when it was kept: it may
// come from before an installation was added, or from a hand-made boot menu,
// so it is not held to what a repair writes (a loader for every installation,
// the chosen default). It passes when it can start Windows here: it can be
// read, it has a Windows boot manager, its default is the loader of an
// installation found on this PC, and its loaders run a program the store's
// firmware can run. The check can't know whether a missing installation
// was meant to be left out, nor whether the boot manager's files on the
// partition still match the store; where the installations' partitions are
// unknown, loaders are matched by their Windows folder alone.
#include <string>
#include <vector>

#include "discovery/bcd/BcdStore.h"
#include "repair/stores/StoreCheck.h"

namespace orvanta {

// `found`: every installation found on this PC; none (nothing found) leaves
// the default's system unchecked.
StoreCheck CheckKeptStore(const BcdStoreReading& reading, StoreFirmware firmware,
                          const std::vector<CheckedInstallation>& found);

// The installation found that the loader starts, by its partition or virtual
// disk ("D:\Windows"); "" when none, or when no installation's place is known.
std::string InstallationStartedBy(const BcdObject& loader, const std::vector<CheckedInstallation>& found);

// The installations found that no loader of the store starts, in their order.
std::vector<std::string> InstallationsWithoutLoader(const BcdStore& store, const std::vector<CheckedInstallation>& found);

} // namespace orvanta
