#include "repair/run/BootEntryOffer.h"

#include <algorithm>

#include "platform/errors/SystemErrors.h"

namespace orvanta {
namespace {

using State = BootEntryOfferState;

BootEntryOffer NotOffered(State state) {
    BootEntryOffer offer;
    offer.state = state;
    return offer;
}

// A boot entry that couldn't be read may be the one for this partition, or
// hold the number a new one would get.
bool EveryEntryRead(const UefiBootState& state) {
    return state.entrySearch != BootEntrySearch::None &&
           std::all_of(state.entries.begin(), state.entries.end(), [](const BootEntry& entry) {
               return entry.option.error == 0 || entry.option.error == VariableNotFoundError;
           });
}

// What the run and the check after it allow, before the entries are looked at.
State StateAfterRun(const RepairReport& report, const RepairPlan& plan, const MachineSurvey& survey,
                    const std::optional<UefiStartCheck>& check) {
    if (survey.firmware != FirmwareMode::Uefi) return State::NotUefi;
    if (report.error || report.abandoned || report.uefi.outcome != StoreOutcome::Repaired) return State::StoreNotRepaired;
    if (!UefiCanStartFrom(plan.bootFileSystem)) return State::NotStartable;
    if (!check || !survey.uefi || !EveryEntryRead(*survey.uefi)) return State::VariablesUnreadable;
    if (check->damaged()) return State::BootManagerDamaged;
    if (check->refused()) return State::BootManagerRefused;
    if (!check->bootManager.isImage) return State::BootManagerMissing;
    if (!check->entry) return check->partitionKnown ? State::VariablesUnreadable : State::PartitionUnknown;
    return State::Offered;
}

} // namespace

BootEntryOffer OfferBootEntry(const RepairReport& report, const RepairPlan& plan, const MachineSurvey& survey,
                              const std::optional<UefiStartCheck>& check, const std::string& espLetter) {
    const State state = StateAfterRun(report, plan, survey, check);
    if (state != State::Offered) return NotOffered(state);
    const std::optional<EspIdentity> esp = EspIdentityOf(survey, plan.bootPartition, espLetter);
    if (!esp) return NotOffered(State::PartitionUnknown);
    const BootEntryFinding& finding = *check->entry;
    switch (finding.place) {
    case BootEntryPlace::First:
    case BootEntryPlace::BehindAnother: return NotOffered(State::EntryInPlace);
    case BootEntryPlace::Inactive: return NotOffered(State::EntryInactive);
    case BootEntryPlace::NotInBootOrder: return {State::Offered, BootEntryAction::MoveToFront, finding.entry, *esp};
    case BootEntryPlace::NoEntry: break;
    }
    if (!HardDriveNodeOf(*esp)) return NotOffered(State::PartitionUnknown);
    const std::optional<std::uint16_t> number = LowestFreeBootNumber(*survey.uefi);
    if (!number) return NotOffered(State::NoFreeNumber);
    return {State::Offered, BootEntryAction::Create, *number, *esp};
}

} // namespace orvanta
