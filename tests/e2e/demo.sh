#!/usr/bin/env bash
# The sandbox demo: the real Orvanta.exe under Wine on a made-up PC with two
# Windows installations (C: and D:), a data disk (E:) and a USB stick (F:)
# that holds the program and stand-in boot tools. With a display the window
# opens for you to try; without one a repair is run through the UI driver
# under Xvfb, and its tool runs, messages and screenshots are shown.
#   tests/e2e/demo.sh [x86|x64] [--screenshots]
# With --screenshots it always runs headless and writes the README's pictures
# (docs/screenshot-compact.png, -expanded.png, -repair.png) from this build.
# DEMO_WINPE=2 makes the PC a pre-installation environment started from UEFI
# firmware (1: from BIOS).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
ARCH=${1:-x64}
MODE=${2:-demo}
export E2E_LIB=$HERE/lib
export E2E_BUILD=$ROOT/build/demo
export E2E_TOOLS=$E2E_BUILD/tools
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
if [ "$ARCH" = x86 ] && [ "$WINE_RUNS_32BIT" = 0 ]; then
  echo "This machine's kernel runs no 32-bit program (ia32 emulation is off): run the x64 demo instead." >&2
  exit 1
fi

banner() {
  cat <<'TEXT'
------------------------------------------------------------------------
 Orvanta sandbox demo
 The PC below is a Wine prefix in build/demo/: its drives are folders.
 bcdboot.exe and bootsect.exe are STAND-INS that only log their command
 line and write a placeholder store file. Nothing outside the sandbox is
 touched: no real disk, boot record or boot store of this machine.
 C: fixed, Windows   D: fixed, Windows   E: fixed, data   F: USB stick
 with F:\Orvanta\Orvanta.exe and F:\Orvanta\Bin\{bcdboot,bootsect}.exe
------------------------------------------------------------------------
TEXT
}

# The sandbox PC, described with the end-to-end suite's scenario API.
make_pc() {
  S_DIR=$E2E_BUILD/pc
  S_PREFIX=$S_DIR/prefix
  S_ARCH=$ARCH
  S_EXE=$ROOT/dist/$ARCH/Orvanta.exe
  rm -rf "$S_DIR"
  mkdir -p "$S_DIR"
  : >"$S_DIR/attributes"
  sandbox_new "$E2E_BUILD/base-prefix" "$S_PREFIX"
  drive C fixed
  drive D fixed windows
  drive E fixed
  folder E Data/Photos
  drive F removable
  [ -n "${DEMO_WINPE:-}" ] && winpe "$DEMO_WINPE"
  store C bios
  store C uefi
  app F Orvanta
  # A short pause in each tool, so that the running state can be seen.
  faults <<<'bcdboot delay 700'
  sandbox_virtual_desktop "$S_PREFIX"
  sandbox_seal "$S_PREFIX"
}

in_pc() {
  local unix
  unix=$(sandbox_folder "$S_PREFIX" F)
  (cd "$unix" && WINEPREFIX=$S_PREFIX "$@")
}

show_results() {
  local log=$APP_UNIX/Bin/standin.log
  echo
  echo "Command lines the stand-in tools received:"
  if [ -f "$log" ]; then tr -d '\r' <"$log" | sed 's/^/  /'; else echo "  (none)"; fi
  echo
  echo "Boot store files on C: afterwards (old = from before, new = written by the tools):"
  python3 "$E2E_LIB/listfiles.py" "$(sandbox_folder "$S_PREFIX" C)" | sed 's/^/  /'
}

# Takes a screenshot of the window's place whenever the driver prints
# "cue <name> <geometry>", then lets the driver go on.
screenshot_on_cue() {
  local go=$1 shots=$2 line count=0 name geometry
  while IFS= read -r line; do
    line=${line%$'\r'}
    echo "  $line"
    if [[ $line == "cue "* ]]; then
      read -r _ name geometry <<<"$line"
      count=$((count + 1))
      sleep 0.5 # the window repaints after the driver's last command
      import -window root -crop "$geometry" +repage "$shots/$name.png" 2>/dev/null || true
      echo "shot $count" >"$go"
    fi
  done
}

# The driver's script: the window, a repair with its running state and
# first message; with --screenshots also the expanded size.
driver_script() {
  echo 'window 20000'
  if [ "$MODE" = --screenshots ]; then
    printf '%s\n' 'cue compact' 'waitfile F:\Driver\go.txt 20000 shot 1' 'maximize' 'size' 'cue expanded' \
      'waitfile F:\Driver\go.txt 20000 shot 2' 'maximize' 'size' 'click repairButton' 'waitmessage 60000' \
      'cue repair' 'waitfile F:\Driver\go.txt 20000 shot 3'
  else
    printf '%s\n' 'controls' 'cue 1-window' 'waitfile F:\Driver\go.txt 20000 shot 1' 'click repairButton' \
      'waitcaption repairButton 10000 正在修复' 'cue 2-repairing' 'waitfile F:\Driver\go.txt 20000 shot 2' \
      'waitmessage 60000' 'cue 3-bios-message' 'waitfile F:\Driver\go.txt 20000 shot 3'
  fi
  printf '%s\n' 'dismiss' 'message 30000' 'waitcaption repairButton 10000 开始修复' 'controls' 'close' 'exited 10000'
}

headless_repair() {
  local shots=$E2E_BUILD/screenshots go
  rm -rf "$shots"
  mkdir -p "$shots"
  go=$(sandbox_folder "$S_PREFIX" F)/Driver/go.txt
  : >"$go"
  driver_script | ui
  cp "$S_DIR/script.txt" "$(sandbox_folder "$S_PREFIX" F)/Driver/script.txt"
  echo "Running a repair through the UI driver (what it sees):"
  in_pc timeout 180 wine 'F:\Driver\uidriver.exe' 'F:\Driver\script.txt' 2>/dev/null |
    screenshot_on_cue "$go" "$shots"
  WINEPREFIX=$S_PREFIX wineserver -k 2>/dev/null || true
  show_results
  echo
  echo "Screenshots: $shots/"
  ls "$shots" | sed 's/^/  /'
}

# Copies the three pictures of a --screenshots run into docs/.
publish_screenshots() {
  local name
  for name in compact expanded repair; do
    [ -s "$E2E_BUILD/screenshots/$name.png" ] || { echo "no $name screenshot was taken" >&2; exit 1; }
    cp "$E2E_BUILD/screenshots/$name.png" "$ROOT/docs/screenshot-$name.png"
  done
  echo "docs/screenshot-{compact,expanded,repair}.png now show this build."
}

interactive() {
  echo "Opening Orvanta. Try it: 开始修复 runs the stand-in tools; close the window to finish."
  in_pc wine 'F:\Orvanta\Orvanta.exe' 2>/dev/null || true
  WINEPREFIX=$S_PREFIX wineserver -w 2>/dev/null || true
  show_results
}

main() {
  banner
  build_e2e_tools "$HERE" "$E2E_TOOLS"
  local interactive_display=0
  if [ "$MODE" != --screenshots ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    interactive_display=1
  fi
  [ $interactive_display -eq 1 ] || start_private_display "$E2E_BUILD"
  trap stop_private_display EXIT
  echo "Preparing the sandbox PC (a fresh Wine prefix)..."
  sandbox_base "$E2E_BUILD/base-prefix"
  make_pc
  if [ $interactive_display -eq 1 ]; then interactive; else headless_repair; fi
  if [ "$MODE" = --screenshots ]; then publish_screenshots; fi
}

main
