# One measured run of each kind. Sourced by run.sh; every function prints its
# figures on one line, or nothing when the run went wrong (the reason goes to
# stderr and to the run's files under $BENCH_OUT/runs/).

TOOL_LOG_WINDOWS='C:\bench\tools.log'

# The key's value in a driver output file.
driver_value() { awk -F'\t' -v key="$2" '$1 == key { print $2; exit }' "$1"; }

# The command lines that Orvanta builds for the installations given (default
# last, which the caller orders), in the order it runs them.
repair_command_lines() {
  local arch=$1; shift
  local folder="C:\\$arch" installation
  for installation in "$@"; do
    echo "$folder\\Bin\\bcdboot.exe $installation /s C: /f bios /l zh-cn"
    echo "$folder\\Bin\\bcdboot.exe $installation /s C: /f uefi /l zh-cn"
  done
  echo "$folder\\bin\\bootsect.exe /nt60 C: /mbr"
}

# The program judges a repair by the stores the tools leave, so the stand-in
# bcdboot must leave real ones: for each expected run the store the real tool
# would write, prepared once per sandbox (tests/e2e/lib/standin_stores.py).
# prepare_stores PREFIX INSTALLATION...
prepare_stores() {
  local prefix=$1 arch; shift
  for arch in $BENCH_ARCHS; do
    repair_command_lines "$arch" "$@" >"$prefix/drive_c/bench/$arch/runs"
    mkdir -p "$prefix/drive_c/bench/$arch/hives"
    /usr/bin/python3 "$ROOT/tests/e2e/lib/standin_stores.py" "$prefix/drive_c/bench/$arch/runs" \
      "$prefix/drive_c/bench/$arch/hives" "C:\\bench\\$arch\\hives" "$prefix/drive_c/$arch/Bin/standin-stores.cfg"
  done
}

fresh_run_dir() {
  local dir=$BENCH_OUT/runs/$1
  rm -rf "$dir" && mkdir -p "$dir"
  echo "$dir"
}

# The stand-in tools' rules for a run (standin.cfg beside each architecture's
# copies): each run appends its clock stamps to the tool log, bcdboot takes
# TOOL_MS and bootsect BOOTSECT_MS. Their own log of command lines is emptied.
# standin_rules PREFIX TOOL_MS BOOTSECT_MS
standin_rules() {
  local prefix=$1 tool_ms=$2 bootsect_ms=$3 arch
  for arch in $BENCH_ARCHS; do
    printf 'stamps %s\r\nbcdboot delay %s\r\nbootsect delay %s\r\n' "$TOOL_LOG_WINDOWS" "$tool_ms" "$bootsect_ms" \
      >"$prefix/drive_c/$arch/Bin/standin.cfg"
    rm -f "$prefix/drive_c/$arch/Bin/standin.log"
  done
}

# Drives the program through the driver while the sampler watches it.
# sampled_run PREFIX DIR EXE_NAME TOOL_MS BOOTSECT_MS DRIVER_ARGS...
sampled_run() {
  local prefix=$1 dir=$2 exe=$3 tool_ms=$4 bootsect_ms=$5; shift 5
  # The stores of the last run (the stand-in writes C:\Boot\BCD and C:\EFI\...).
  rm -rf "$prefix/drive_c/bench/tools.log" "$prefix/drive_c/"{boot,Boot,efi,EFI}
  standin_rules "$prefix" "$tool_ms" "$bootsect_ms"
  "$BENCH_OUT/host/procsample" "$exe" "$prefix" "$dir/samples" 10 60 &
  local sampler=$!
  WINEPREFIX=$prefix wine "$@" >"$dir/driver" 2>"$dir/wine-stderr" || true
  wait "$sampler" || true
  cp "$prefix/drive_c/bench/tools.log" "$dir/tools.log" 2>/dev/null || touch "$dir/tools.log"
  cat "$prefix/drive_c/"*/Bin/standin.log >"$dir/command-lines" 2>/dev/null || true
}

# The run did what a repair does: every tool ran, and for Orvanta both
# success messages were shown.
check_run() {
  local dir=$1 tools=$2 expect_boxes=$3
  local ran
  ran=$(wc -l <"$dir/tools.log")
  if [ "$ran" -ne "$tools" ]; then
    echo "   run $(basename "$dir"): $ran of $tools tool runs recorded" >&2; return 1
  fi
  if grep -q '^error' "$dir/driver"; then
    echo "   run $(basename "$dir"): $(grep '^error' "$dir/driver" | head -1)" >&2; return 1
  fi
  if [ "$expect_boxes" = yes ] &&
     ! { grep -q 'BIOS引导修复成功！' "$dir/driver" && grep -q 'UEFI引导修复成功！' "$dir/driver"; }; then
    echo "   run $(basename "$dir"): the success messages were not shown" >&2; return 1
  fi
}

# orvanta_repair PREFIX ARCH TAG TOOL_MS BOOTSECT_MS TOOLS
# Prints "cpu_s wall_s tools_s server_cpu_s sampled_peak_kb driver_peak_kb median_gap_ms".
orvanta_repair() {
  local prefix=$1 arch=$2 tag=$3 tool_ms=$4 bootsect_ms=$5 tools=$6
  local dir
  dir=$(fresh_run_dir "$tag")
  sampled_run "$prefix" "$dir" Orvanta.exe "$tool_ms" "$bootsect_ms" \
    "C:\\bench\\$arch\\BenchDriver.exe" repair "C:\\$arch\\Orvanta.exe"
  check_run "$dir" "$tools" yes || return 0
  run_figures "$dir" "$(driver_value "$dir/driver" peak_ws_kb)"
}

# reference_repair PREFIX ARCH TAG TOOL_MS BOOTSECT_MS MODE INSTALLATION...
# The same tool runs, waited for by the reference program: MODE spin polls
# in a loop with no pause, MODE block sleeps on the process handle.
reference_repair() {
  local prefix=$1 arch=$2 tag=$3 tool_ms=$4 bootsect_ms=$5 mode=$6; shift 6
  local dir lines=() option=()
  dir=$(fresh_run_dir "$tag")
  mapfile -t lines < <(repair_command_lines "$arch" "$@")
  [ "$mode" = block ] && option=(--block)
  sampled_run "$prefix" "$dir" SpinWait.exe "$tool_ms" "$bootsect_ms" \
    "C:\\bench\\$arch\\BenchDriver.exe" exec "C:\\bench\\$arch\\SpinWait.exe" "${option[@]}" "${lines[@]}"
  check_run "$dir" "${#lines[@]}" no || return 0
  run_figures "$dir" 0
}

run_figures() {
  local dir=$1 driver_peak=${2:-0}
  local cpu gaps
  # The gaps come from the tools' own stamps and stand even when sampling failed.
  cpu=$("$BENCH_OUT/host/benchcalc" cpu "$dir/samples" "$dir/tools.log") || cpu="- - - - -"
  "$BENCH_OUT/host/benchcalc" gaps "$dir/tools.log" >"$dir/gaps" || true
  gaps=$(xargs "$BENCH_OUT/host/benchcalc" stats <"$dir/gaps" | cut -d' ' -f1)
  echo "$cpu ${driver_peak:-0} ${gaps:-0}"
}

# startup_run PREFIX ARCH TAG TITLE EXE_WINDOWS_PATH
# Prints "startup_ms peak_kb"; for Orvanta (title Orvanta) "startup_ms peak_kb
# listed_ms", the last when its survey has filled the list.
startup_run() {
  local prefix=$1 arch=$2 tag=$3 title=$4 exe=$5
  local dir mode=(start "$title")
  [ "$title" = Orvanta ] && mode=(survey)
  dir=$(fresh_run_dir "$tag")
  WINEPREFIX=$prefix wine "C:\\bench\\$arch\\BenchDriver.exe" "${mode[@]}" "$exe" \
    >"$dir/driver" 2>"$dir/wine-stderr" || true
  if grep -q '^error' "$dir/driver" || [ -z "$(driver_value "$dir/driver" startup_ms)" ]; then
    echo "   start-up run $tag failed: $(head -1 "$dir/driver")" >&2
    return 0
  fi
  local figures
  figures="$(driver_value "$dir/driver" startup_ms) $(driver_value "$dir/driver" peak_ws_kb)"
  [ "$title" = Orvanta ] && figures+=" $(driver_value "$dir/driver" listed_ms)"
  echo "$figures"
}

# probe_run PREFIX ARCH: Wine's own time for one drive's scan queries, in ms.
probe_run() {
  WINEPREFIX=$1 wine "C:\\bench\\$2\\DriveProbe.exe" 2>/dev/null | awk -F'\t' '$1 == "per_drive_ms" { print $2 }'
}
