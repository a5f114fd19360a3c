#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzz build, each for a while, on a copy of
# its checked-in seed corpus (the seeds themselves are never written).
#   tests/fuzz/run.sh <build folder> <seconds per target> [target...]
# Targets are named <Name>Fuzz or <Name> (from tests/fuzz/<Name>Fuzz.cpp;
# default: all that are built) and start from tests/fuzz/corpus/<Name>/.
# What a run finds goes below the build folder: the grown corpus to
# corpus/<Name>/ (begun afresh each run), an input that broke a rule or
# crashed to crashes/<Name>/, the output to logs/. One input again:
#   build/fuzz/tests/fuzz/<Name>Fuzz <file>
# Prints one PASS or FAIL line per target; exits 1 when any failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=$2
shift 2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for executable in "$build"/tests/fuzz/*Fuzz; do
    [ -x "$executable" ] && targets+=("$(basename "$executable")")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "FAIL no fuzz target built in $build/tests/fuzz"; exit 1; }

failures=0
for target in "${targets[@]}"; do
  name=${target%Fuzz}
  target=${name}Fuzz # "ToolOutput" names ToolOutputFuzz too
  executable=$build/tests/fuzz/$target
  seeds=$here/corpus/$name
  if [ ! -x "$executable" ] || [ ! -d "$seeds" ]; then
    echo "FAIL $target: needs $executable and seeds in $seeds"
    failures=$((failures + 1))
    continue
  fi
  corpus=$build/corpus/$name
  crashes=$build/crashes/$name
  log=$build/logs/$target.log
  rm -rf "$corpus"
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  cp -R "$seeds"/. "$corpus"/
  if "$executable" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$crashes"/ "$corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "PASS $target: ${runs:-?} inputs in ${seconds} s, corpus $(find "$corpus" -type f | wc -l) files"
  else
    echo "FAIL $target: see $log; the input is in $crashes/"
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -8
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
