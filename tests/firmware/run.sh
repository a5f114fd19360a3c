#!/usr/bin/env bash
# EDK2 as the reference: Debian's OVMF under QEMU (TCG, q35) boots test disks
# and says what it allows, and the project's judge must say the same.
#   tests/firmware/run.sh [--load-option-tool <tool>] <judge | --without-judge> [scenario...]
# <judge> is build/linux/tests/orvanta_judge (./dev firmware builds it);
# --without-judge checks EDK2 against its rules alone and marks each
# comparison SKIP. <tool> prints the project's boot entry bytes for the
# written entry ("<tool> gpt NUMBER START SIZE GUID"); without it they are
# assembled by hand (load_option.py). Scenarios are the functions
# scenario_<name> of scenarios/*.sh (all unless named). Everything goes to
# build/firmware/ (FIRMWARE_BUILD); FIRMWARE_BOOT_SECONDS bounds each boot
# (default 300). Prints PASS/FAIL/SKIP lines and ends with "N passed, M failed".
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
FIRMWARE_BUILD=${FIRMWARE_BUILD:-$ROOT/build/firmware}
BOOT_SECONDS=${FIRMWARE_BOOT_SECONDS:-300}

usage() { sed -n '2,13s/^# \{0,1\}//p' "$0" >&2; exit 2; }
LOAD_OPTION_TOOL=
if [ "${1:-}" = --load-option-tool ]; then
  [ -x "${2:-}" ] || usage
  LOAD_OPTION_TOOL=$(realpath "$2")
  shift 2
fi
[ $# -ge 1 ] || usage
JUDGE=$1
shift
if [ "$JUDGE" != --without-judge ]; then
  JUDGE=$(realpath "$JUDGE")
  [ -x "$JUDGE" ] || { echo "no judge at $JUDGE" >&2; exit 2; }
fi

# shellcheck source=lib/machine.sh
source "$HERE/lib/machine.sh"
for file in "$HERE"/scenarios/*.sh; do
  # shellcheck disable=SC1090
  source "$file"
done
DISK_DESCRIPTION="UEFI $DISK_MODEL $DISK_SERIAL"
LOADER=$FIRMWARE_BUILD/loader/loader.efi

# boot_or_fail <scenario> <run folder> <disk> <varstore template>
# Boots; on a hang or a crash prints a FAIL line with the console's last lines.
boot_or_fail() {
  local started=$SECONDS status=0
  boot_machine "$2" "$3" "$4" "$BOOT_SECONDS" || status=$?
  echo "     $1: booted in $((SECONDS - started)) s"
  [ "$status" -eq 0 ] && return 0
  if [ "$status" -eq 124 ]; then
    echo "FAIL $1: the machine was still running after $BOOT_SECONDS s (a hang); the console's last lines:"
  else
    echo "FAIL $1: QEMU ended with status $status ($(tail -n 3 "$2/qemu.log" | tr '\n' ' ')); the console's last lines:"
  fi
  tail -n 15 "$2/serial.log" 2>/dev/null | tr -d '\r' | sed 's/\x1b\[[0-9;=?]*[A-Za-z]//g; s/^/       /'
  return 1
}

main() {
  local started=$SECONDS
  mkdir -p "$FIRMWARE_BUILD"
  make --no-print-directory -s -C "$HERE/loader" OUT="$FIRMWARE_BUILD/loader"
  local -a names=("$@")
  [ ${#names[@]} -gt 0 ] || mapfile -t names < <(declare -F | sed -n 's/^declare -f scenario_//p' | sort)
  local results=$FIRMWARE_BUILD/results.txt name
  : > "$results"
  for name in "${names[@]}"; do
    declare -F "scenario_$name" >/dev/null || { echo "FAIL $name: no such scenario" | tee -a "$results"; continue; }
    echo "== $name"
    "scenario_$name" 2>&1 | tee -a "$results"
  done
  local passed failed skipped
  passed=$(grep -c '^PASS ' "$results" || true)
  failed=$(grep -c '^FAIL ' "$results" || true)
  skipped=$(grep -c '^SKIP ' "$results" || true)
  echo "firmware suite: $((SECONDS - started)) s"
  if [ "$skipped" -gt 0 ]; then echo "$passed passed, $failed failed, $skipped skipped"; else echo "$passed passed, $failed failed"; fi
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

main "$@"
