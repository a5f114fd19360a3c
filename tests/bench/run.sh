#!/usr/bin/env bash
# Benchmarks of the real executables under Wine on sandbox PCs: processor
# time while a boot tool runs, the gap between tools, start-up time, size and
# memory, each next to a reference measured in the same run. Prints a table
# and writes it to build/bench/results.md; exits 0 whatever the figures are.
#
# Settings (environment):
#   BENCH_QUICK=1          a quick development run (3 runs, 2 s tools, x64 only)
#   BENCH_RUNS=N           runs of every repair measurement (default 5)
#   BENCH_START_RUNS=N     runs of every start-up measurement (default 15;
#                          they are short, and Wine's process start is noisy)
#   BENCH_TOOL_SECONDS=S   how long the stand-in bcdboot takes in the processor
#                          time runs (default 10)
#   BENCH_GAP_TOOL_MS=MS   how long each tool takes in the gap runs (default 300)
#   BENCH_ARCHS="x86 x64"  which executables to measure
#   BENCH_DRIVES="1 8 24"  fixed-drive counts of the start-up runs
#   BENCH_NO_BUILD=1       use dist/*/Orvanta.exe as it is
#   BENCH_ONLY="startup"   run only these parts (any of: startup cpu gap;
#                          default all); the table shows only their rows
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BENCH_OUT=$ROOT/build/bench

if [ "${BENCH_QUICK:-0}" = 1 ]; then
  RUNS=${BENCH_RUNS:-3}; START_RUNS=${BENCH_START_RUNS:-5}; TOOL_SECONDS=${BENCH_TOOL_SECONDS:-2}; BENCH_ARCHS=${BENCH_ARCHS:-x64}
else
  RUNS=${BENCH_RUNS:-5}; START_RUNS=${BENCH_START_RUNS:-15}; TOOL_SECONDS=${BENCH_TOOL_SECONDS:-10}; BENCH_ARCHS=${BENCH_ARCHS:-"x86 x64"}
fi
GAP_TOOL_MS=${BENCH_GAP_TOOL_MS:-300}
DRIVE_COUNTS=${BENCH_DRIVES:-"1 8 24"}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# The stand-in tools read their rules from beside themselves (standin.cfg).
unset STANDIN_HOME
export BENCH_ARCHS ROOT BENCH_OUT

source "$HERE/build.sh"
source "$ROOT/tests/e2e/lib/wine.sh"
use_runnable_wine "$BENCH_OUT/wine-shim"
if [ "$WINE_RUNS_32BIT" = 0 ] && [[ " $BENCH_ARCHS " == *" x86 "* ]]; then
  echo "x86 left out: this machine's kernel runs no 32-bit program (ia32 emulation is off)" >&2
  BENCH_ARCHS=$(echo "$BENCH_ARCHS" | sed 's/x86//; s/^ *//')
fi
source "$HERE/sandbox.sh"
source "$HERE/measure.sh"
source "$HERE/report.sh"

# Whether the part (startup, cpu or gap) is to be run.
bench_part() { [[ " ${BENCH_ONLY:-startup cpu gap} " == *" $1 "* ]]; }

log() { printf '\n== %s\n' "$*" >&2; }

# Xvfb on a free display when there is no display, stopped on exit.
XVFB_PID=
start_display() {
  [ -n "${DISPLAY:-}" ] && [ "${BENCH_XVFB:-0}" != 1 ] && return 0
  local number=90
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$number"
  local tries=0
  until [ -e "/tmp/.X11-unix/X$number" ] || [ $tries -ge 50 ]; do sleep 0.1; tries=$((tries + 1)); done
}
OPEN_PREFIX=
cleanup() {
  [ -n "$OPEN_PREFIX" ] && close_sandbox "$OPEN_PREFIX"
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

# Appends one run's figures to the figure files of the architecture.
FIGURES=$BENCH_OUT/figures
record() { echo "$3" >>"$FIGURES/$1.$2"; }

measure_startup() {
  local drives=$1 prefix arch run line
  prefix=$(make_sandbox "d$drives" "$drives" 2)
  OPEN_PREFIX=$prefix; open_sandbox "$prefix"
  for run in $(seq "$START_RUNS"); do
    for arch in $BENCH_ARCHS; do
      line=$(startup_run "$prefix" "$arch" "start-$arch-floor-$drives-$run" MinimalWindow \
        "C:\\bench\\$arch\\MinimalWindow.exe")
      if [ -n "$line" ]; then
        record "$arch" "floor_start_$drives" "${line% *}"
        if [ "$drives" = "$FIRST_DRIVES" ]; then record "$arch" floor_peak "${line#* }"; fi
      fi
      line=$(startup_run "$prefix" "$arch" "start-$arch-themed-$drives-$run" ThemedWindow \
        "C:\\bench\\$arch\\ThemedWindow.exe")
      if [ -n "$line" ]; then
        record "$arch" "themed_start_$drives" "${line% *}"
        if [ "$drives" = "$FIRST_DRIVES" ]; then record "$arch" themed_peak "${line#* }"; fi
      fi
      line=$(startup_run "$prefix" "$arch" "start-$arch-orvanta-$drives-$run" Orvanta "C:\\$arch\\Orvanta.exe")
      if [ -n "$line" ]; then
        record "$arch" "orvanta_start_$drives" "${line%% *}"
        record "$arch" "orvanta_listed_$drives" "${line##* }"
      fi
      line=$(probe_run "$prefix" "$arch")
      if [ -n "$line" ]; then record "$arch" "probe_per_drive_$drives" "$line"; fi
    done
  done
  close_sandbox "$prefix"; OPEN_PREFIX=
}

# Figures of a repair run: cpu_s wall_s tools_s server_s sampled_peak driver_peak gap.
record_repair() {
  local arch=$1 who=$2 kind=$3 line=$4
  [ -z "$line" ] && return 0
  local cpu wall server sampled driver gap
  read -r cpu wall _ server sampled driver gap <<<"$line"
  if [ "$kind" = cpu ]; then
    [ "$cpu" = - ] && return 0
    record "$arch" "${who}_wall" "$wall"
    record "$arch" "${who}_cpu" "$(awk -v c="$cpu" -v w="$wall" 'BEGIN { printf "%.4f", 100 * c / w }')"
    record "$arch" "${who}_cpu_server" \
      "$(awk -v c="$cpu" -v s="$server" -v w="$wall" 'BEGIN { printf "%.4f", 100 * (c + s) / w }')"
  else
    record "$arch" "${who}_gap" "$gap"
  fi
  if [ "$who" = orvanta ]; then
    record "$arch" orvanta_peak "$driver"
    [ "$sampled" = - ] || record "$arch" orvanta_peak_sampled "$sampled"
  fi
}

measure_repairs() {
  local kind=$1 installs=$2 tool_ms=$3 bootsect_ms=$4 prefix arch run
  local installations=()
  # Orvanta's order: the last entry first, the default (entry 0, C:) last.
  mapfile -t installations < <(drive_letters "$installs" | tac | sed 's/.*/\U&\E:\\Windows/')
  prefix=$(make_sandbox "$kind" "$installs" 1)
  prepare_stores "$prefix" "${installations[@]}"
  OPEN_PREFIX=$prefix; open_sandbox "$prefix"
  for run in $(seq "$RUNS"); do
    for arch in $BENCH_ARCHS; do
      record_repair "$arch" orvanta "$kind" "$(orvanta_repair "$prefix" "$arch" \
        "$kind-$arch-orvanta-$run" "$tool_ms" "$bootsect_ms" $((2 * installs + 1)))"
      record_repair "$arch" reference "$kind" "$(reference_repair "$prefix" "$arch" \
        "$kind-$arch-reference-$run" "$tool_ms" "$bootsect_ms" spin "${installations[@]}")"
      if [ "$kind" = gap ]; then
        record_repair "$arch" blocking "$kind" "$(reference_repair "$prefix" "$arch" \
          "$kind-$arch-blocking-$run" "$tool_ms" "$bootsect_ms" block "${installations[@]}")"
      fi
    done
  done
  close_sandbox "$prefix"; OPEN_PREFIX=
}

main() {
  log "building"
  build_all
  start_display
  rm -rf "$FIGURES" && mkdir -p "$FIGURES"
  FIRST_DRIVES=${DRIVE_COUNTS%% *}
  local drives
  if bench_part startup; then
    for drives in $DRIVE_COUNTS; do
      log "start-up with $drives fixed drive(s), $START_RUNS runs"
      measure_startup "$drives"
    done
  fi
  if bench_part cpu; then
    log "processor time while tools run: 1 installation, bcdboot ${TOOL_SECONDS} s, $RUNS runs"
    measure_repairs cpu 1 $((TOOL_SECONDS * 1000)) 0
  fi
  if bench_part gap; then
    log "gaps between tools: 3 installations (7 tool runs of ${GAP_TOOL_MS} ms), $RUNS runs"
    measure_repairs gap 3 "$GAP_TOOL_MS" "$GAP_TOOL_MS"
  fi
  report | tee "$BENCH_OUT/results.md"
}

main "$@"
exit 0
