# Scenario API and the run of one scenario against one executable.
# A scenario is a bash function scenario_<name> that describes the sandbox
# PC (drive, store, app, faults), the UI driver's script (ui) and what must
# come out (expect_ui, expect_log, expect_files). Sourced by run.sh, which
# sets E2E_BASE, E2E_TOOLS, E2E_WORK and DISPLAY.

# --- describing the sandbox --------------------------------------------------

# drive <letter> <fixed|cdrom|network|removable> [windows|windows-file|windows-hidden|windows-system]
drive() {
  local letter=$1 type=$2 content=${3:-} folder
  sandbox_drive "$S_PREFIX" "$letter" "$type"
  folder=$(sandbox_folder "$S_PREFIX" "$letter")
  case "$content" in
    "") ;;
    windows) mkdir -p "$folder/Windows/System32" ;;
    windows-file) printf 'not a folder\r\n' >"$folder/Windows" ;;
    windows-hidden) mkdir -p "$folder/Windows/System32" && echo "$letter:\\Windows +h" >>"$S_DIR/attributes" ;;
    windows-system) mkdir -p "$folder/Windows/System32" && echo "$letter:\\Windows +s" >>"$S_DIR/attributes" ;;
    *) echo "unknown drive content $content" >&2; return 1 ;;
  esac
}

# folder <letter> <path below the root, with />
folder() { mkdir -p "$(sandbox_folder "$S_PREFIX" "$1")/$2"; }

# store <letter> <bios|uefi> [hidden]: an old BCD store from an earlier repair
store() {
  local letter=$1 which=$2 root path
  root=$(sandbox_folder "$S_PREFIX" "$letter")
  if [ "$which" = bios ]; then path=boot/bcd; else path=EFI/Microsoft/Boot/bcd; fi
  mkdir -p "$root/$(dirname "$path")"
  printf 'old store\r\n' >"$root/$path"
  [ "${3:-}" = hidden ] && echo "$letter:\\${path//\//\\} +h" >>"$S_DIR/attributes"
  return 0
}

# app <letter> <folder> [no-bcdboot] [no-bootsect] [bad-bootsect]: the
# program's folder with Bin holding the stand-in tools, and the UI driver
# in <letter>:\Driver.
app() {
  local letter=${1^^} name=$2 root
  shift 2
  root=$(sandbox_folder "$S_PREFIX" "$letter")
  APP_UNIX=$root/$name
  mkdir -p "$APP_UNIX/Bin" "$root/Driver"
  cp "$S_EXE" "$APP_UNIX/Orvanta.exe"
  cp "$E2E_TOOLS/standin.exe" "$APP_UNIX/Bin/bcdboot.exe"
  cp "$E2E_TOOLS/standin.exe" "$APP_UNIX/Bin/bootsect.exe"
  local option
  for option in "$@"; do
    case "$option" in
      no-bcdboot) rm "$APP_UNIX/Bin/bcdboot.exe" ;;
      no-bootsect) rm "$APP_UNIX/Bin/bootsect.exe" ;;
      bad-bootsect) printf 'this is not a program\r\n' >"$APP_UNIX/Bin/bootsect.exe" ;;
      *) echo "unknown app option $option" >&2; return 1 ;;
    esac
  done
  cp "$E2E_TOOLS/uidriver-$S_ARCH.exe" "$root/Driver/uidriver.exe"
  cp "$E2E_TOOLS/probe.exe" "$root/Driver/probe.exe"
  printf '%s\n' "$letter" >"$S_DIR/app-drive"
  printf '%s\n' "$APP_UNIX" >"$S_DIR/app-unix"
  printf 'launch %s:\\%s\\Orvanta.exe\n' "$letter" "${name//\//\\}" >"$S_DIR/script.txt"
}

# faults: the stand-in tools' rules (standin.cfg), from standard input
faults() { cat >"$(cat "$S_DIR/app-unix")/Bin/standin.cfg"; }

# ui: the driver script after the launch line, from standard input
ui() { cat >>"$S_DIR/script.txt"; }

expect_ui() { cat >"$S_DIR/expect-ui"; }
expect_log() { cat >"$S_DIR/expect-log"; }
# expect_files <letter>: the boot store area of that drive afterwards
expect_files() { cat >"$S_DIR/expect-files-${1,,}"; }
# expect_no_file <letter> <path below the root>: e.g. a decoy that must not run
expect_no_file() { echo "${1,,} $2" >>"$S_DIR/expect-absent"; }

# --- running ------------------------------------------------------------------

# Compares expected and actual lines; an expected line "glob <pattern>"
# matches by shell pattern. Prints both sides on a mismatch.
compare_lines() {
  local what=$1 expected=$2 actual=$3
  local -a want got
  mapfile -t want <"$expected"
  mapfile -t got <"$actual"
  local ok=1 i
  [ ${#want[@]} -eq ${#got[@]} ] || ok=0
  for ((i = 0; ok && i < ${#want[@]}; i++)); do
    if [[ ${want[i]} == "glob "* ]]; then
      # shellcheck disable=SC2053
      [[ ${got[i]} == ${want[i]#glob } ]] || ok=0
    else
      [ "${want[i]}" = "${got[i]}" ] || ok=0
    fi
  done
  if [ $ok -eq 0 ]; then
    echo "  $what differs:"
    diff -u "$expected" "$actual" | tail -n +3 | sed 's/^/    /' | head -60
    return 1
  fi
}

# Runs scenario <name> against the executable of <arch> (x86 or x64) and
# writes PASS or FAIL with the differences into <work>/<arch>/<name>/result.
run_scenario() {
  local name=$1 arch=$2 exe=$3
  S_DIR=$E2E_WORK/$arch/$name
  S_PREFIX=$S_DIR/prefix
  S_ARCH=$arch
  S_EXE=$exe
  rm -rf "$S_DIR"
  mkdir -p "$S_DIR"
  : >"$S_DIR/attributes"
  : >"$S_DIR/expect-log"
  sandbox_new "$E2E_BASE" "$S_PREFIX"
  local started=$SECONDS
  if ! ("scenario_$name") >"$S_DIR/setup.txt" 2>&1; then
    { echo FAIL; echo "  setup failed:"; sed 's/^/    /' "$S_DIR/setup.txt"; } >"$S_DIR/result"
    return
  fi
  sandbox_seal "$S_PREFIX"
  local letter unix
  letter=$(cat "$S_DIR/app-drive")
  unix=$(sandbox_folder "$S_PREFIX" "$letter")
  (
    export WINEPREFIX=$S_PREFIX WINEDEBUG=-all
    cd "$unix" || exit 1
    while read -r path change; do
      [ -n "$path" ] && wine "$letter:\\Driver\\probe.exe" setattr "$path" $change
    done <"$S_DIR/attributes" >"$S_DIR/attributes.out" 2>&1
    cp "$S_DIR/script.txt" "$unix/Driver/script.txt"
    timeout 180 wine "$letter:\\Driver\\uidriver.exe" "$letter:\\Driver\\script.txt" 2>"$S_DIR/driver.err" |
      tr -d '\r' >"$S_DIR/ui.txt"
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  )
  check_scenario "$(cat "$S_DIR/app-unix")" >"$S_DIR/checks.txt"
  local verdict=PASS
  [ -s "$S_DIR/checks.txt" ] && verdict=FAIL
  { echo "$verdict $((SECONDS - started))s"; cat "$S_DIR/checks.txt"; } >"$S_DIR/result"
}

check_scenario() {
  local app_unix=$1 failures=0 file letter
  if [ -s "$S_DIR/attributes" ] && grep -qv '^attr ' "$S_DIR/attributes.out"; then
    echo "  the sandbox's attributes could not be set:"; sed 's/^/    /' "$S_DIR/attributes.out"
  fi
  compare_lines "UI driver output" "$S_DIR/expect-ui" "$S_DIR/ui.txt" || true
  if [ -f "$app_unix/Bin/standin.log" ]; then tr -d '\r' <"$app_unix/Bin/standin.log" >"$S_DIR/tools.txt"
  else : >"$S_DIR/tools.txt"; fi
  compare_lines "tool runs" "$S_DIR/expect-log" "$S_DIR/tools.txt" || true
  for file in "$S_DIR"/expect-files-*; do
    [ -e "$file" ] || continue
    letter=${file##*-}
    python3 "$E2E_LIB/listfiles.py" "$(sandbox_folder "$S_PREFIX" "$letter")" >"$S_DIR/files-$letter.txt"
    compare_lines "files on ${letter^^}:" "$file" "$S_DIR/files-$letter.txt" || true
  done
  if [ -f "$S_DIR/expect-absent" ]; then
    while read -r letter path; do
      [ -e "$(sandbox_folder "$S_PREFIX" "$letter")/$path" ] && echo "  ${letter^^}:/$path exists"
    done <"$S_DIR/expect-absent"
  fi
  return 0
}
