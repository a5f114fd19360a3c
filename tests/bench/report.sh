# The results table. Sourced by run.sh; reads the figure files that the runs
# wrote (one value per run and line) and prints Markdown.

# "median min max" of a figure, or nothing when no run produced it.
figure_stats() {
  local file=$FIGURES/$1.$2
  [ -s "$file" ] || return 0
  xargs "$BENCH_OUT/host/benchcalc" stats <"$file"
}

median_of() { local s; s=$(figure_stats "$1" "$2"); echo "${s%% *}"; }

# "median (min–max) unit" with the given number of decimals.
spread() {
  local arch=$1 name=$2 decimals=$3 unit=$4 s
  s=$(figure_stats "$arch" "$name")
  [ -z "$s" ] && { echo "no data"; return; }
  awk -v s="$s" -v d="$decimals" -v u="$unit" 'BEGIN {
    split(s, v, " "); f = "%." d "f"
    printf f " (" f "–" f ")%s\n", v[1], v[2], v[3], u }'
}

calc() { awk "BEGIN { $1 }"; }

row() { printf '| %s | %s | %s | %s | %s | %s |\n' "$@"; }

runs_of() { local f=$FIGURES/$1.$2; [ -f "$f" ] && wc -l <"$f" || echo 0; }

cpu_rows() {
  local arch=$1 orv ref
  orv=$(median_of "$arch" orvanta_cpu); ref=$(median_of "$arch" reference_cpu)
  local ratio="–" met="no data"
  if [ -n "$orv" ] && [ -n "$ref" ]; then
    if calc "exit ($orv > 0)"; then
      # Not one clock tick (1/CLK_TCK s) in the whole interval: give the bound.
      local bound
      bound=$(calc "printf \"%.4f\", 100 / $(getconf CLK_TCK) / $(median_of "$arch" orvanta_wall)")
      ratio=$(calc "printf \"> %.0f× less (not one tick counted)\", $ref / $bound")
      met=$(calc "print ($bound < 1 && $ref / $bound >= 50) ? \"yes\" : \"NO\"")
    else
      ratio=$(calc "printf \"%.0f× less\", $ref / $orv")
      met=$(calc "print ($orv < 1 && $ref / $orv >= 50) ? \"yes\" : \"NO\"")
    fi
  fi
  row "Processor time while tools run, $arch ($(runs_of "$arch" orvanta_cpu) runs)" \
    "$(spread "$arch" orvanta_cpu 3 ' % of a core')" "$(spread "$arch" reference_cpu 1 ' %')" \
    "$ratio" "< 1 %, ≥ 50× less" "$met"
  row "… with the Wine server's share, $arch" "$(spread "$arch" orvanta_cpu_server 3 ' %')" \
    "$(spread "$arch" reference_cpu_server 1 ' %')" "–" "(information)" "–"
}

# The gap is judged against the blocking-wait program: what Wine itself
# charges for one process's end and the next one's start (30 ms and more on
# some machines) is no figure of Orvanta's.
gap_row() {
  local arch=$1 orv block ratio="–" met="no data"
  orv=$(median_of "$arch" orvanta_gap); block=$(median_of "$arch" blocking_gap)
  if [ -n "$orv" ] && [ -n "$block" ]; then
    ratio=$(calc "printf \"%.2f× (%+.1f ms)\", $orv / $block, $orv - $block")
    met=$(calc "print ($orv <= 1.1 * $block) ? \"yes\" : \"NO\"")
  fi
  row "Gap from one tool's end to the next one's start, median of 6, $arch ($(runs_of "$arch" orvanta_gap) runs)" \
    "$(spread "$arch" orvanta_gap 1 ' ms')" "blocking wait on the process handle: $(spread "$arch" blocking_gap 1 ' ms')" \
    "$ratio" "≤ 1.1× the blocking wait" "$met"
  local ref
  ref=$(median_of "$arch" reference_gap); ratio="–"
  [ -n "$orv" ] && [ -n "$ref" ] && ratio=$(calc "printf \"%.2f×\", $orv / $ref")
  row "… against the busy-polling program, $arch" \
    "$(spread "$arch" orvanta_gap 1 ' ms')" "$(spread "$arch" reference_gap 1 ' ms')" "$ratio" "(information)" "–"
}

startup_rows() {
  local arch=$1 drives orv floor ratio first last first_orv last_orv
  for drives in $DRIVE_COUNTS; do
    orv=$(median_of "$arch" "orvanta_start_$drives"); floor=$(median_of "$arch" "floor_start_$drives")
    themed_row "$arch" "$drives"
    ratio="–"
    [ -n "$orv" ] && [ -n "$floor" ] && ratio=$(calc "printf \"%.2f× (+%.0f ms)\", $orv / $floor, $orv - $floor")
    row "… against a minimal window program (no common controls, COM or fonts), $drives fixed drive(s), $arch" \
      "$(spread "$arch" "orvanta_start_$drives" 0 ' ms')" "$(spread "$arch" "floor_start_$drives" 0 ' ms')" \
      "$ratio" "(information)" "–"
    listed_row "$arch" "$drives"
  done
  first=${DRIVE_COUNTS%% *}; last=${DRIVE_COUNTS##* }
  [ "$first" = "$last" ] && return 0
  first_orv=$(median_of "$arch" "orvanta_listed_$first"); last_orv=$(median_of "$arch" "orvanta_listed_$last")
  local floor_first floor_last
  floor_first=$(median_of "$arch" "floor_start_$first"); floor_last=$(median_of "$arch" "floor_start_$last")
  [ -n "$first_orv" ] && [ -n "$last_orv" ] && [ -n "$floor_first" ] && [ -n "$floor_last" ] || return 0
  row "Growth of the time to the list per fixed drive ($first → $last drives), $arch" \
    "$(calc "printf \"%.2f ms\", ($last_orv - $first_orv) / ($last - $first)")" \
    "floor $(calc "printf \"%.2f ms\", ($floor_last - $floor_first) / ($last - $first)"); the scan's queries alone $(spread "$arch" "probe_per_drive_$last" 2 ' ms')" "–" \
    "linear" "$(linearity "$arch")"
}

# The window shows before the survey, which then fills the list, every drive
# and disk on a worker of its own. Information: set against the themed
# window's start-up, what the survey adds after it.
listed_row() {
  local arch=$1 drives=$2 listed themed ratio="–"
  listed=$(median_of "$arch" "orvanta_listed_$drives"); themed=$(median_of "$arch" "themed_start_$drives")
  [ -n "$listed" ] && [ -n "$themed" ] && ratio=$(calc "printf \"%.2f× (%+.0f ms)\", $listed / $themed, $listed - $themed")
  row "Start-up until the survey has filled the list, $drives fixed drive(s), $arch ($(runs_of "$arch" "orvanta_listed_$drives") runs)" \
    "$(spread "$arch" "orvanta_listed_$drives" 0 ' ms')" "themed window: $(spread "$arch" "themed_start_$drives" 0 ' ms')" \
    "$ratio" "(information)" "–"
}

# Start-up is judged against the themed window program (Common Controls 6
# with visual styles, COM and the taskbar list, the same fonts and controls,
# no scan): what is left over is Orvanta's own work rather than the
# platform's cost of such a window. The reference cell also sets the themed
# window against the minimal one.
themed_row() {
  local arch=$1 drives=$2 orv themed floor ratio="–" met="no data" reference
  orv=$(median_of "$arch" "orvanta_start_$drives"); themed=$(median_of "$arch" "themed_start_$drives")
  floor=$(median_of "$arch" "floor_start_$drives")
  reference="themed window: $(spread "$arch" "themed_start_$drives" 0 ' ms')"
  if [ -n "$orv" ] && [ -n "$themed" ]; then
    ratio=$(calc "printf \"%.2f× (%+.0f ms)\", $orv / $themed, $orv - $themed")
    met=$(calc "print ($orv <= 1.1 * $themed) ? \"yes\" : \"NO\"")
  fi
  [ -n "$themed" ] && [ -n "$floor" ] &&
    reference+=$(calc "printf \"; itself %.2f× (%+.0f ms) the minimal window\", $themed / $floor, $themed - $floor")
  row "Start-up until the window shows, $drives fixed drive(s), $arch ($(runs_of "$arch" "orvanta_start_$drives") runs)" \
    "$(spread "$arch" "orvanta_start_$drives" 0 ' ms')" "$reference" "$ratio" "≤ 1.1× the themed window" "$met"
}

# The growth is linear when every middle drive count's median lies on the
# straight line through the first and the last one, within half the spread
# (max - min) of that count's own runs: start-up under Wine varies by tens of
# milliseconds from run to run, far more than the scan's cost per drive.
linearity() {
  local arch=$1 counts=() d
  for d in $DRIVE_COUNTS; do counts+=("$d"); done
  [ ${#counts[@]} -lt 3 ] && { echo "yes (2 points)"; return; }
  local first=${counts[0]} last=${counts[${#counts[@]} - 1]} t_first t_last verdict=yes details="" stats result
  t_first=$(median_of "$arch" "orvanta_listed_$first"); t_last=$(median_of "$arch" "orvanta_listed_$last")
  for d in "${counts[@]:1:${#counts[@]}-2}"; do
    stats=$(figure_stats "$arch" "orvanta_listed_$d")
    [ -z "$stats" ] && continue
    result=$(calc "split(\"$stats\", v, \" \");
      off = v[1] - ($t_first + ($t_last - $t_first) * ($d - $first) / ($last - $first));
      noise = (v[3] - v[2]) / 2;
      printf \"%s %d drives: %+.0f ms off the line, noise ±%.0f ms\",
        (off <= noise && -off <= noise) ? \"yes\" : \"NO\", $d, off, noise")
    [ "${result%% *}" = NO ] && verdict=NO
    details+="${details:+; }${result#* }"
  done
  echo "$verdict ($details)"
}

size_row() {
  local arch=$1 orv floor
  orv=$(stat -c %s "$ROOT/dist/$arch/Orvanta.exe"); floor=$(stat -c %s "$BENCH_OUT/$arch/MinimalWindow.exe")
  row "Size of Orvanta.exe, $arch" "$(calc "printf \"%.1f KB\", $orv / 1024")" \
    "$(calc "printf \"%.1f KB\", $floor / 1024")" "$(calc "printf \"%.1f×\", $orv / $floor")" \
    "< 300 KB" "$(calc "print ($orv < 300 * 1024) ? \"yes\" : \"NO\"")"
}

# The peak working set is judged against the themed window program's peak
# once its window shows (read in the start-up runs with the first drive
# count): under Wine a bare window program already peaks near 19 MB, Wine's
# own libraries and server mappings, and a themed one more.
memory_rows() {
  local arch=$1 orv themed floor ratio="–" met="no data"
  orv=$(median_of "$arch" orvanta_peak); themed=$(median_of "$arch" themed_peak); floor=$(median_of "$arch" floor_peak)
  if [ -n "$orv" ] && [ -n "$themed" ]; then
    ratio=$(calc "printf \"%.2f× (%+.1f MB)\", $orv / $themed, ($orv - $themed) / 1024")
    met=$(calc "print ($orv - $themed <= 1024) ? \"yes\" : \"NO\"")
  fi
  row "Peak working set during a repair, $arch" "$(spread "$arch" orvanta_peak 0 ' KB')" \
    "themed window: $(spread "$arch" themed_peak 0 ' KB')" "$ratio" "≤ the themed window + 1 MB" "$met"
  ratio="–"
  [ -n "$orv" ] && [ -n "$floor" ] &&
    ratio=$(calc "printf \"%.2f× (%+.1f MB)\", $orv / $floor, ($orv - $floor) / 1024")
  row "… against the minimal window program, $arch" "$(spread "$arch" orvanta_peak 0 ' KB')" \
    "$(spread "$arch" floor_peak 0 ' KB')" "$ratio" "(information)" "–"
  row "… the same peak read by the sampler from /proc (VmHWM), $arch" \
    "$(spread "$arch" orvanta_peak_sampled 0 ' KB')" "–" "–" "(cross-check)" "–"
}

report() {
  echo
  echo "## Benchmark results"
  echo
  echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "- Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
       "$(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo), $(uname -sr), $(wine --version)"
  echo "- Settings: $START_RUNS start-up runs and $RUNS repair runs each; stand-in bcdboot ${TOOL_SECONDS} s in the processor runs," \
       "${GAP_TOOL_MS} ms per tool in the gap runs; figures are median (min–max)"
  echo "- Reproduce: \`./dev bench\` (quick: \`BENCH_QUICK=1 ./dev bench\`)"
  echo
  row "Figure" "Orvanta" "Reference" "Ratio" "Goal" "Met?"
  row "---" "---" "---" "---" "---" "---"
  local arch
  for arch in $BENCH_ARCHS; do
    if bench_part cpu; then cpu_rows "$arch"; fi
    if bench_part gap; then gap_row "$arch"; fi
    if bench_part startup; then startup_rows "$arch"; fi
    size_row "$arch"
    # The peak working set is read during a repair.
    if bench_part cpu || bench_part gap; then memory_rows "$arch"; fi
  done
  echo
  echo "Verdicts are ratios to floors measured in the same run; the absolute figures are information," \
       "as Wine decides much of them. Processor time against a program that waits for the same tools by" \
       "querying the exit code and dispatching pending messages in a loop with no pause; gaps against the" \
       "same program sleeping on the process handle; start-up and peak working set against a themed" \
       "window program from the same toolchain that loads what Orvanta's window needs (Common Controls 6" \
       "with visual styles, COM, the taskbar list, the same fonts and controls) and does none of" \
       "Orvanta's own work; for information, start-up, size and memory also against a minimal Win32" \
       "window program. The peak working set's floor comes from the start-up runs."
}
