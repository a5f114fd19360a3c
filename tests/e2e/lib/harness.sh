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

# store <letter> <bios|uefi> [hidden|hidden-system]: an old BCD store from an earlier repair
store() {
  local letter=$1 which=$2 root path
  root=$(sandbox_folder "$S_PREFIX" "$letter")
  if [ "$which" = bios ]; then path=boot/bcd; else path=EFI/Microsoft/Boot/bcd; fi
  mkdir -p "$root/$(dirname "$path")"
  printf 'old store\r\n' >"$root/$path"
  case "${3:-}" in
    hidden) echo "$letter:\\${path//\//\\} +h" >>"$S_DIR/attributes" ;;
    hidden-system) echo "$letter:\\${path//\//\\} +h +s" >>"$S_DIR/attributes" ;;
  esac
  return 0
}

# app <letter> <folder> [no-bcdboot] [no-bootsect] [bad-bootsect]
# [without-dll-directories]: the program's folder with Bin holding the
# stand-in tools, and the UI driver in <letter>:\Driver; the last option puts
# the test build that stands for a Windows without SetDefaultDllDirectories
# in place of the program.
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
      without-dll-directories)
        local test_build=ORVANTA_TEST_${S_ARCH^^}
        [ -f "${!test_build}" ] || { echo "missing ${!test_build} (run ./dev build)"; return 1; }
        cp "${!test_build}" "$APP_UNIX/Orvanta.exe" ;;
      *) echo "unknown app option $option" >&2; return 1 ;;
    esac
  done
  cp "$E2E_TOOLS/uidriver-$S_ARCH.exe" "$root/Driver/uidriver.exe"
  cp "$E2E_TOOLS/probe.exe" "$root/Driver/probe.exe"
  printf '%s\n' "$letter" >"$S_DIR/app-drive"
  printf '%s\n' "$APP_UNIX" >"$S_DIR/app-unix"
  APP_WINDOWS="$letter:\\${name//\//\\}"
  printf '%s\n' "$APP_WINDOWS" >"$S_DIR/app-windows"
  printf 'launch %s:\\%s\\Orvanta.exe\n' "$letter" "${name//\//\\}" >"$S_DIR/script.txt"
}

# winpe <firmware type>: the PC runs a pre-installation environment started
# from that firmware (1 BIOS, 2 UEFI), as its registry says
winpe() {
  printf '\n[System\\\\CurrentControlSet\\\\Control\\\\MiniNT] 1700000000\n'
  printf '\n[System\\\\CurrentControlSet\\\\Control] 1700000000\n"PEFirmwareType"=dword:%08x\n' "$1"
} >>"$S_PREFIX/system.reg"

# wine_locale <name>: the programs run in that locale; zh_CN.UTF-8 gives
# console programs code page 936 (GBK), as on a Chinese Windows
wine_locale() { echo "$1" >"$S_DIR/locale"; }

# shared_tool_home: every copy of the stand-in tool, wherever it lies, reads
# its rules from and logs to the Bin folder of the program
shared_tool_home() { : >"$S_DIR/shared-tool-home"; }

# planted_dlls <name>...: copies of a DLL that records its loading (in
# C:\planted.log) under these names, beside the program and in its Bin
# folder; Wine prefers such copies to its own for these names, as Windows'
# search order would for a DLL that isn't a known one
planted_dlls() {
  local name app
  app=$(cat "$S_DIR/app-unix")
  for name in "$@"; do
    cp "$E2E_TOOLS/planted-$S_ARCH.dll" "$app/$name.dll"
    cp "$E2E_TOOLS/planted-$S_ARCH.dll" "$app/Bin/$name.dll"
  done
  (IFS=,; echo "$*=n,b") >"$S_DIR/dll-overrides"
}

# readonly_app: the program's folder can't be written, as on a CD or a locked
# stick (its Bin folder stays writable for the stand-in tools' own log)
readonly_app() { : >"$S_DIR/readonly-app"; }

# small_drive <letter> <size> <marker letter> <marker path>: a fixed drive on a
# file system of its own with that little room (a tmpfs, "2m"; needs root),
# unmounted after the run; the marker file says "small drive mounted", or why
# not (for skip_unless)
small_drive() {
  local folder marker
  drive "$1" fixed
  folder=$(sandbox_folder "$S_PREFIX" "$1")
  marker=$(sandbox_folder "$S_PREFIX" "$3")/$4
  mkdir -p "$(dirname "$marker")"
  if [ "$(id -u)" -ne 0 ]; then echo 'not root: no tmpfs can be mounted' >"$marker"
  elif mount -t tmpfs -o "size=$2" tmpfs "$folder" 2>"$marker"; then echo 'small drive mounted' >"$marker"
  fi
  return 0
}

# slow_drive <letter> <content as for drive> <control letter> <control path> <program>:
# a fixed drive behind a FUSE file system (lib/slowfs.py) whose volume
# queries and directory listings made by <program> (say Orvanta.exe) block
# until <control letter>:\<control path>\hold is renamed to go; every other
# process gets its answers at once. The control folder gets ready (once
# mounted, or why not: skip_unless), events (blocked, released, answered)
# and trace. Released and unmounted after the run, or when the run is cut
# short. Without /dev/fuse the drive stays a plain folder; a mount that fails
# where /dev/fuse exists fails the scenario.
slow_drive() {
  local letter=$1 content=$2 folder backing control
  drive "$letter" fixed "$content"
  folder=$(sandbox_folder "$S_PREFIX" "$letter")
  control=$(sandbox_folder "$S_PREFIX" "$3")/$4
  backing=$S_DIR/slow-backing/${letter,,}
  mkdir -p "$control" "$backing"
  if [ ! -e /dev/fuse ]; then echo '/dev/fuse missing: no FUSE file system can be mounted' >"$control/ready"; return 0; fi
  cp -a "$folder/." "$backing/" && rm -rf "${folder:?}"/*
  setsid /usr/bin/python3 "$E2E_LIB/slowfs.py" "$backing" "$folder" "$control" "$5" >"$control/fs.out" 2>&1 &
  echo "$control $!" >>"$S_DIR/slow-drives"
  local tries=0
  while ! grep -qs ready "$control/ready" && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  grep -qs ready "$control/ready" || { echo "the slow drive $letter: was not mounted:"; cat "$control/fs.out"; return 1; }
}

# release_slow_drives: lets every blocked call of the scenario's slow drives
# go, unmounts them and waits for their file systems to end.
release_slow_drives() {
  [ -f "$S_DIR/slow-drives" ] || return 0
  local control pid tries
  while read -r control pid; do
    : >"$control/go"
  done <"$S_DIR/slow-drives"
  unmount_below "$S_DIR"
  while read -r control pid; do
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
    kill "$pid" 2>/dev/null || true
  done <"$S_DIR/slow-drives"
  rm -f "$S_DIR/slow-drives"
}

# skip_unless <letter> <path below the root, with /> <text> <reason>: after
# the run the scenario is skipped, not checked, with the reason and the file's
# first line, when that file doesn't hold the text: for what Wine may not show
skip_unless() { printf '%s\n' "${1,,}" "$2" "$3" "$4" >"$S_DIR/skip-unless"; }

# faults: the stand-in tools' rules (standin.cfg), from standard input
faults() { cat >"$(cat "$S_DIR/app-unix")/Bin/standin.cfg"; }

# signed_boot_manager <letter>: test certificates and images signed by
# osslsigncode (tests/signing/make-fixtures.sh) in <letter>:\Signing, and
# stand-in rules (appended: call it after faults) that make each UEFI bcdboot
# run leave signed-both.efi (signed under a test "Windows UEFI CA 2023", with
# a nested signature under a test "Microsoft Windows Production PCA 2011") as
# \EFI\Microsoft\Boot\bootmgfw.efi and \EFI\Boot\bootx64.efi
signed_boot_manager() {
  local target
  "$E2E_LIB/../../signing/make-fixtures.sh" "$(sandbox_folder "$S_PREFIX" "$1")/Signing" >/dev/null
  for target in '\EFI\Microsoft\Boot\bootmgfw.efi' '\EFI\Boot\bootx64.efi'; do
    printf 'bcdboot copy %s %s /f uefi\r\n' "$1:\\Signing\\signed-both.efi" "$target"
  done >>"$(cat "$S_DIR/app-unix")/Bin/standin.cfg"
}

# ui: the driver script after the launch line, from standard input
ui() { cat >>"$S_DIR/script.txt"; }

expect_ui() { cat >"$S_DIR/expect-ui"; }
# expect_text <letter> <path below the root, with />: the lines a text file
# of the sandbox holds afterwards (shell patterns with "glob ")
expect_text() { printf '%s\n' "${1,,} $2" >>"$S_DIR/expect-texts"; cat >"$S_DIR/expect-text-$(echo "${1,,} $2" | md5sum | cut -c1-8)"; }
# expect_repair_log <beside|temp>: the lines the program's log of this start
# holds, in order (shell patterns), in Logs beside the program or in %TEMP%
expect_repair_log() { echo "$1" >"$S_DIR/repair-log-place"; cat >"$S_DIR/expect-repair-log"; }
# expect_log: the stand-in tools' runs, in order. For each bcdboot run the
# stand-in then leaves the store the real tool would (see stand_in_stores).
expect_log() {
  cat >"$S_DIR/expect-log"
  stand_in_stores "$S_DIR/expect-log"
}

# stand_in_stores <runs file>: prepares, for each bcdboot run listed, the
# store the real tool would leave (a loader per installation run so far for
# that store, this run's the default) as a hive in <app drive>:\Hives, and
# the rules (Bin\standin-stores.cfg) that make the stand-in copy it.
stand_in_stores() {
  local drive
  drive=$(cat "$S_DIR/app-drive")
  /usr/bin/python3 "$E2E_LIB/standin_stores.py" "$1" "$(sandbox_folder "$S_PREFIX" "$drive")/Hives" "$drive:\\Hives" \
    "$(cat "$S_DIR/app-unix")/Bin/standin-stores.cfg"
}

# make_hive <letter> <path below the root, with /> <make_bcd.py options...>:
# a BCD store written with hivex (tests/tools/make_bcd.py)
make_hive() {
  local root
  root=$(sandbox_folder "$S_PREFIX" "$1")
  mkdir -p "$root/$(dirname "$2")"
  /usr/bin/python3 "$E2E_LIB/../../tools/make_bcd.py" "$root/$2" "${@:3}"
}

# old_store <letter> <bios|uefi> <make_bcd.py options...>: an old store that
# is a real BCD store, with the entries the options give
old_store() {
  local path=boot/bcd
  [ "$2" = uefi ] && path=EFI/Microsoft/Boot/bcd
  make_hive "$1" "$path" --firmware "$2" --mark old "${@:3}"
}
# expect_files <letter>: the boot store area of that drive afterwards
expect_files() { cat >"$S_DIR/expect-files-${1,,}"; }
# expect_no_file <letter> <path below the root>: e.g. a decoy that must not run
expect_no_file() { echo "${1,,} $2" >>"$S_DIR/expect-absent"; }
# expect_same <letter> <path> <path>: two files the scenario writes (below
# the drive's root) hold the same lines, e.g. snapshots before and after
expect_same() { echo "${1,,} $2 $3" >>"$S_DIR/expect-same-files"; }
# expect_jq <letter> <path below the root> <jq filter>: what jq -r prints
# for the JSON file, line by line, from standard input (glob lines allowed)
expect_jq() {
  local rule
  rule=$S_DIR/expect-jq-$(find "$S_DIR" -maxdepth 1 -name 'expect-jq-*.filter' | wc -l)
  printf '%s %s\n' "${1,,}" "$2" >"$rule.file"
  printf '%s\n' "$3" >"$rule.filter"
  cat >"$rule.expected"
}
# expect_same_bytes <letter> <path below the root, with /> <file>: that file
# afterwards holds exactly the bytes of <file> (kept by the scenario)
expect_same_bytes() { echo "${1,,} $2 $3" >>"$S_DIR/expect-same"; }

# --- pieces of driver scripts and expectations ---------------------------------
# Each helper prints full lines, exactly as the driver, the stand-in tools or
# the scenario write them; a scenario pipes a group of them (and literal
# lines) into ui or expect_*. Nothing here loosens a comparison.

# The texts of the two success messages.
# shellcheck disable=SC2034
BIOS_OK='提示： BIOS引导修复成功！'
# shellcheck disable=SC2034
UEFI_OK='提示： UEFI引导修复成功！'

# repair_click <n>: driver script that clicks the repair button, reads and
# dismisses <n> message boxes, and waits for the button's idle caption.
repair_click() {
  local i
  echo 'click repairButton'
  for ((i = 0; i < $1; i++)); do echo 'message 30000'; done
  echo 'waitcaption repairButton 10000 开始修复'
}

# repair_click_expected <message text>...: what repair_click prints, one
# "message" line per box, in order.
repair_click_expected() {
  local text last=$(($# - 1)) i=0
  for text in "$@"; do
    if [ $i -eq $last ]; then logged_message "$text"; else echo "message $text"; fi
    i=$((i + 1))
  done
  echo 'caption repairButton 开始修复'
}

# glob_literal <text>: a shell pattern that matches exactly the text
glob_literal() {
  local text=$1
  text=${text//\\/\\\\}
  text=${text//\*/\\*}
  text=${text//\?/\\?}
  text=${text//\[/\\[}
  printf '%s' "$text"
}

# logged_message <title and text> [<pattern>]: the last message of a repair,
# which ends with where the log of this start is (beside the program, named
# by the time); a pattern (kept_note) stands between the two
logged_message() {
  printf 'glob message %s%s%s*.log\n' "$(glob_literal "$1")" "${2:-}" \
    "$(glob_literal "\\n\\n修复日志：$APP_WINDOWS\\Logs\\Orvanta-")"
}

# kept_note <store path>[#<number>][+ok]...: the pattern of what the last
# message says of old stores kept beside their place as numbered copies, and
# how to put one back, for logged_message; the number is 1 unless given
# ("#2": "bcd.orvanta-0002-..."), "+ok" for a copy whose store passed its check
kept_note() {
  local path number ok
  printf '%s' "$(glob_literal '\n')"
  for path in "$@"; do
    ok=
    [[ $path == *+ok ]] && ok=-ok path=${path%+ok}
    number=1
    [[ $path == *#* ]] && number=${path##*#} path=${path%#*}
    printf '%s-????????-??????%s' "$(glob_literal "\n旧 BCD 存储保留在：$path.orvanta-$(printf '%04d' "$number")")" "$ok"
  done
  go_back_note "${1:0:2}"
}

# go_back_note <boot partition>: the line after the kept stores, how to put
# one back (/s when the partition isn't C:, the default without an ESP)
go_back_note() {
  local command='Orvanta.exe /restore'
  [ "${1^^}" != C: ] && command+=" /s $1"
  glob_literal "\n要换回旧 BCD 存储，请在管理员命令提示符中运行 $command，它会列出可以换回的副本。"
}

# button_expected <repairButton|browseButton> <caption> <enabled 0|1>: "show <button>"
button_expected() { printf 'caption %s %s\nenabled %s %s\n' "$1" "$2" "$1" "$3"; }

# box_expected <text> <enabled 0|1>: "show bootPartitionBox"
box_expected() { printf 'text bootPartitionBox %s\nenabled bootPartitionBox %s\n' "$1" "$2"; }

# list_expected <enabled 0|1> <selected index|none> <entry>...: "show installationList"
list_expected() {
  local enabled=$1 selected=$2 i
  shift 2
  local -a entries=("$@")
  echo "combo installationList count ${#entries[@]}"
  for ((i = 0; i < ${#entries[@]}; i++)); do echo "combo installationList entry $i ${entries[i]}"; done
  if [ "$selected" = none ]; then echo 'combo installationList selected none '
  else echo "combo installationList selected $selected ${entries[selected]}"; fi
  echo "enabled installationList $enabled"
}

# checkbox_expected <checked 0|1> <enabled 0|1>: "show makeDefaultCheckBox"
checkbox_expected() { printf 'check makeDefaultCheckBox 主系统 %s\nenabled makeDefaultCheckBox %s\n' "$1" "$2"; }

# status_expected <number of installations>: "show statusLine"
status_expected() {
  if [ "$1" -eq 0 ]; then echo 'status 当前电脑硬盘里未发现操作系统！'
  else echo "status 当前电脑硬盘里共发现$1个系统！"; fi
}

# controls_expected <idle|running> <boot-partition text> <selected index|none> <entry>...:
# "controls", every control in order, the make-default box checked. While a
# repair runs the buttons, the boot-partition box and the installation list
# are disabled and the repair button says so; the check box stays enabled.
controls_expected() {
  local state=$1 text=$2 selected=$3 caption enabled
  shift 3
  case "$state" in
    idle) caption=开始修复 enabled=1 ;;
    running) caption=正在修复 enabled=0 ;;
    *) echo "controls_expected: unknown state $state" >&2; return 1 ;;
  esac
  button_expected repairButton "$caption" "$enabled"
  button_expected browseButton 选择... "$enabled"
  box_expected "$text" "$enabled"
  list_expected "$enabled" "$selected" "$@"
  checkbox_expected 1 1
  status_expected $#
}

# The stand-in tools' log lines for the program in the folder made by app:
# its path, quoted when it holds a blank (bcdboot from "Bin", bootsect
# from "bin", as the program spells them).
tool_path() {
  local path="$APP_WINDOWS\\$1\\$2"
  [[ $path == *' '* ]] && path="\"$path\""
  echo "$path"
}

# bcdboot_run <boot partition> <installation> [uefi]: one bcdboot run, for
# the BIOS store unless told
bcdboot_run() {
  local options="/s $1 /f bios"
  [ "${3:-}" = uefi ] && options="/s $1 /f uefi"
  echo "$(tool_path Bin bcdboot.exe) $2 $options /l zh-cn"
}

# bootsect_run <boot partition>: the bootsect run
bootsect_run() { echo "$(tool_path bin bootsect.exe) /nt60 $1 /mbr"; }

# bcdboot_runs <boot partition> <installation>...: the BIOS and the UEFI run
# of bcdboot for each installation, in the order given
bcdboot_runs() {
  local boot=$1 installation
  shift
  for installation in "$@"; do
    bcdboot_run "$boot" "$installation"
    bcdboot_run "$boot" "$installation" uefi
  done
}

# repair_runs <boot partition> <installation>...: a whole repair, i.e.
# bcdboot_runs in the order given, then bootsect
repair_runs() {
  bcdboot_runs "$@"
  bootsect_run "$1"
}

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
  release_slow_drives
  unmount_below "$S_DIR"
  rm -rf "$S_DIR"
  mkdir -p "$S_DIR"
  # A slow drive is released and unmounted however the run ends.
  trap release_slow_drives EXIT
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
  [ -f "$S_DIR/readonly-app" ] && make_readonly "$(cat "$S_DIR/app-unix")"
  (
    export WINEPREFIX=$S_PREFIX WINEDEBUG=-all
    # A prefix's first start in another locale updates it, slowly: done
    # before the scenario, so that its program starts as in any other.
    if [ -f "$S_DIR/locale" ]; then in_locale wine cmd /c exit >/dev/null 2>&1; wineserver -w 2>/dev/null; fi
    if [ -f "$S_DIR/dll-overrides" ]; then export WINEDLLOVERRIDES; WINEDLLOVERRIDES=$(cat "$S_DIR/dll-overrides"); fi
    if [ -f "$S_DIR/shared-tool-home" ]; then export STANDIN_HOME; STANDIN_HOME=$(winpath_of_app)\\Bin; fi
    cd "$unix" || exit 1
    while read -r path change; do
      [ -n "$path" ] && in_locale wine "$letter:\\Driver\\probe.exe" setattr "$path" $change
    done <"$S_DIR/attributes" >"$S_DIR/attributes.out" 2>&1
    cp "$S_DIR/script.txt" "$unix/Driver/script.txt"
    in_locale timeout 180 wine "$letter:\\Driver\\uidriver.exe" "$letter:\\Driver\\script.txt" 2>"$S_DIR/driver.err" |
      tr -d '\r' >"$S_DIR/ui.txt"
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  ) || true
  [ -f "$S_DIR/readonly-app" ] && undo_readonly "$(cat "$S_DIR/app-unix")"
  release_slow_drives
  local skipped
  if skipped=$(skip_reason); then
    { echo "SKIP $((SECONDS - started))s"; echo "  $skipped"; } >"$S_DIR/result"
    unmount_below "$S_DIR"
    return
  fi
  check_scenario "$(cat "$S_DIR/app-unix")" >"$S_DIR/checks.txt"
  unmount_below "$S_DIR" # a small drive
  local verdict=PASS
  [ -s "$S_DIR/checks.txt" ] && verdict=FAIL
  { echo "$verdict $((SECONDS - started))s"; cat "$S_DIR/checks.txt"; } >"$S_DIR/result"
}

# The reason to skip the scenario just run, if its skip_unless rule says so.
skip_reason() {
  [ -f "$S_DIR/skip-unless" ] || return 1
  local -a rule
  mapfile -t rule <"$S_DIR/skip-unless"
  local file
  file=$(sandbox_folder "$S_PREFIX" "${rule[0]}")/${rule[1]}
  grep -qF "${rule[2]}" "$file" 2>/dev/null && return 1
  echo "${rule[3]} (${rule[1]}: $(tr -d '\r' <"$file" 2>/dev/null | head -1))"
}

check_scenario() {
  local app_unix=$1 file letter
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
  [ -f "$S_DIR/expect-repair-log" ] && check_repair_log "$app_unix"
  if [ -f "$S_DIR/expect-same" ]; then
    while read -r letter path file; do
      cmp -s "$(sandbox_folder "$S_PREFIX" "$letter")/$path" "$file" || echo "  ${letter^^}:/$path is not $file, byte for byte"
    done <"$S_DIR/expect-same"
  fi
  if [ -f "$S_DIR/expect-texts" ]; then
    while read -r letter path; do
      file=$S_DIR/expect-text-$(echo "$letter $path" | md5sum | cut -c1-8)
      tr -d '\r' <"$(sandbox_folder "$S_PREFIX" "$letter")/$path" >"$file.actual" 2>/dev/null || : >"$file.actual"
      compare_lines "${letter^^}:/$path" "$file" "$file.actual" || true
    done <"$S_DIR/expect-texts"
  fi
  check_same_and_json
  if [ -f "$S_DIR/expect-absent" ]; then
    while read -r letter path; do
      [ -e "$(sandbox_folder "$S_PREFIX" "$letter")/$path" ] && echo "  ${letter^^}:/$path exists"
    done <"$S_DIR/expect-absent"
  fi
  return 0
}

# The pairs of files that must hold the same, and the JSON files read back with jq.
check_same_and_json() {
  local letter first second rule path
  if [ -f "$S_DIR/expect-same-files" ]; then
    while read -r letter first second; do
      local root
      root=$(sandbox_folder "$S_PREFIX" "$letter")
      if [ ! -f "$root/$first" ] || [ ! -f "$root/$second" ]; then
        echo "  ${letter^^}:/$first or ${letter^^}:/$second is missing"
      elif ! cmp -s "$root/$first" "$root/$second"; then
        echo "  ${letter^^}:/$first and ${letter^^}:/$second differ:"
        diff "$root/$first" "$root/$second" | head -20 | sed 's/^/    /'
      fi
    done <"$S_DIR/expect-same-files"
  fi
  for rule in "$S_DIR"/expect-jq-*.filter; do
    [ -e "$rule" ] || continue
    rule=${rule%.filter}
    read -r letter path <"$rule.file"
    jq -r -f "$rule.filter" "$(sandbox_folder "$S_PREFIX" "$letter")/$path" >"$rule.actual" 2>&1 || true
    compare_lines "jq of ${letter^^}:/$path" "$rule.expected" "$rule.actual" || true
  done
}

# The log of the scenario's start, in the place it expects, checked against
# its expected lines; says so when it is missing or in another place.
check_repair_log() {
  local app_unix=$1 place logs
  place=$(cat "$S_DIR/repair-log-place")
  if [ "$place" = beside ]; then logs=("$app_unix"/Logs/Orvanta-*.log)
  else mapfile -t logs < <(find "$S_PREFIX/drive_c/users" -name 'Orvanta-*.log'); fi
  if [ ${#logs[@]} -ne 1 ] || [ ! -f "${logs[0]}" ]; then
    echo "  no single repair log $place the program: ${logs[*]}"
    return
  fi
  [ "$place" = temp ] && [ -e "$app_unix/Logs" ] && echo "  a Logs folder was made in the read-only folder"
  python3 "$E2E_LIB/checklog.py" "${logs[0]}" "$S_DIR/expect-repair-log"
}

# make_readonly <folder>: mounts the folder read-only over itself (root is
# not held back by permissions), its Bin folder writable over that; without
# the right to mount, takes the write permission away instead.
make_readonly() {
  local folder=$1
  if [ "$(id -u)" -ne 0 ]; then chmod a-w "$folder"; return; fi
  mv "$folder/Bin" "$S_DIR/bin-writable" && mkdir "$folder/Bin"
  mount --bind "$folder" "$folder" && mount -o remount,bind,ro "$folder" &&
    mount --bind "$S_DIR/bin-writable" "$folder/Bin"
}

# unmount_below <folder>: what an interrupted run left mounted there.
unmount_below() {
  local mounted
  mount 2>/dev/null | awk -v below="$1/" 'index($3, below) == 1 { print $3 }' | sort -r |
    while read -r mounted; do umount "$mounted"; done
}

undo_readonly() {
  local folder=$1
  if [ "$(id -u)" -ne 0 ]; then chmod u+w "$folder"; return; fi
  umount "$folder/Bin" 2>/dev/null; umount "$folder" 2>/dev/null
  rmdir "$folder/Bin" && mv "$S_DIR/bin-writable" "$folder/Bin"
}

# in_locale <command>...: runs the command in the scenario's locale, if it has one.
in_locale() {
  if [ -f "$S_DIR/locale" ]; then env LANG="$(cat "$S_DIR/locale")" LC_ALL="$(cat "$S_DIR/locale")" "$@"
  else "$@"; fi
}

# The program's folder as Windows names it (F:\Kit).
winpath_of_app() { cat "$S_DIR/app-windows"; }
