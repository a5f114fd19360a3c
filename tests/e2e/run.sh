#!/usr/bin/env bash
# End-to-end suite: the real Orvanta.exe (x86 and x64) under Wine on a
# sandbox PC, with stand-in boot tools, driven from outside by a UI driver.
#   tests/e2e/run.sh [scenario...]
# Environment: ORVANTA_X86 / ORVANTA_X64 select the executables (default
# dist/x86/Orvanta.exe and dist/x64/Orvanta.exe; set one to "skip" to leave
# it out), E2E_JOBS the number of scenarios run at once (default 2);
# ORVANTA_TEST_X86 / ORVANTA_TEST_X64 the test builds that stand for a Windows
# without SetDefaultDllDirectories (default
# build/<arch>/win32/OrvantaTestWithoutDllDirectories.exe, made by ./dev build).
# Prints PASS/FAIL (or SKIP, with why) per scenario and executable and ends
# with "N passed, M failed" (", K skipped" when any was).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
export E2E_LIB=$HERE/lib
export E2E_BUILD=${E2E_BUILD:-$ROOT/build/e2e}
export E2E_TOOLS=$E2E_BUILD/tools
export ORVANTA_TEST_X86=${ORVANTA_TEST_X86:-$ROOT/build/x86/win32/OrvantaTestWithoutDllDirectories.exe}
export ORVANTA_TEST_X64=${ORVANTA_TEST_X64:-$ROOT/build/x64/win32/OrvantaTestWithoutDllDirectories.exe}
export WINEDEBUG=-all
# The stand-in tools keep their rules and log beside themselves.
unset STANDIN_HOME

# shellcheck source=lib/sandbox.sh
source "$E2E_LIB/sandbox.sh"
# shellcheck source=lib/harness.sh
source "$E2E_LIB/harness.sh"
# shellcheck source=lib/tools.sh
source "$E2E_LIB/tools.sh"
# shellcheck source=lib/wine.sh
source "$E2E_LIB/wine.sh"
use_runnable_wine "$E2E_BUILD/wine-shim"
# shellcheck source=../tools/standin-check.sh
source "$HERE/../tools/standin-check.sh"
for file in "$HERE"/scenarios/*.sh; do
  # shellcheck disable=SC1090
  source "$file"
done

# One scenario against one executable, in a job of its own.
if [ "${1:-}" = --one ]; then
  run_scenario "$2" "$3" "$4"
  exit 0
fi

main() {
  local started=$SECONDS
  local -a executables=()
  local x86=${ORVANTA_X86:-$ROOT/dist/x86/Orvanta.exe} x64=${ORVANTA_X64:-$ROOT/dist/x64/Orvanta.exe}
  if [ "$x86" != skip ] && [ "$WINE_RUNS_32BIT" = 0 ]; then
    echo "SKIP x86: this machine's kernel runs no 32-bit program (ia32 emulation is off); only x64 is tested"
    x86=skip
  fi
  [ "$x86" != skip ] && executables+=("x86=$x86")
  [ "$x64" != skip ] && executables+=("x64=$x64")
  local entry
  for entry in "${executables[@]}"; do
    [ -f "${entry#*=}" ] || { echo "missing ${entry#*=} (run ./dev build)" >&2; exit 1; }
  done

  echo "building the stand-in tools, the probe and the UI driver"
  build_e2e_tools "$HERE" "$E2E_TOOLS"
  trap stop_private_display EXIT
  start_private_display "$E2E_BUILD"
  export E2E_BASE=$E2E_BUILD/base-prefix E2E_WORK=$E2E_BUILD/runs
  echo "making the base Wine prefix"
  sandbox_base "$E2E_BASE"
  rm -rf "$E2E_WORK"
  echo "checking the stand-in tool's own rules"
  check_standin_tool "$E2E_TOOLS/standin.exe" "$E2E_BASE" "$E2E_WORK/standin-check"

  local -a names=("$@")
  if [ ${#names[@]} -eq 0 ]; then
    mapfile -t names < <(declare -F | sed -n 's/^declare -f scenario_//p' | sort)
  fi
  local jobs=${E2E_JOBS:-2} name
  for name in "${names[@]}"; do
    for entry in "${executables[@]}"; do
      printf '%s\0%s\0%s\0' "$name" "${entry%%=*}" "${entry#*=}"
    done
  done | xargs -0 -n 3 -P "$jobs" bash "$0" --one

  local passed=0 failed=0 skipped=0 result=$E2E_WORK/standin-check/result
  if head -1 "$result" | grep -q '^PASS'; then
    passed=$((passed + 1))
    echo "PASS stand-in tool check ($(head -1 "$result" | cut -d' ' -f2))"
  else
    failed=$((failed + 1))
    echo "FAIL stand-in tool check"
    tail -n +2 "$result"
  fi
  for name in "${names[@]}"; do
    for entry in "${executables[@]}"; do
      result=$E2E_WORK/${entry%%=*}/$name/result
      if [ -f "$result" ] && head -1 "$result" | grep -q '^PASS'; then
        passed=$((passed + 1))
        echo "PASS ${entry%%=*} $name ($(head -1 "$result" | cut -d' ' -f2))"
      elif [ -f "$result" ] && head -1 "$result" | grep -q '^SKIP'; then
        skipped=$((skipped + 1))
        echo "SKIP ${entry%%=*} $name: $(tail -n +2 "$result" | sed 's/^ *//')"
      else
        failed=$((failed + 1))
        echo "FAIL ${entry%%=*} $name"
        [ -f "$result" ] && tail -n +2 "$result"
      fi
    done
  done
  echo "suite time $((SECONDS - started))s"
  if [ "$skipped" -eq 0 ]; then echo "$passed passed, $failed failed"
  else echo "$passed passed, $failed failed, $skipped skipped"; fi
  [ "$failed" -eq 0 ]
}

main "$@"
