# Building the Windows test tools and running a private X server. Sourced by
# run.sh and demo.sh.

# build_e2e_tools <e2e folder> <output folder>: the stand-in boot tool
# (tests/tools/StandInTool.cpp, shared with the benchmarks; built as
# standin.exe), the probe, and the UI driver and a DLL to plant (for both
# architectures, or only x64 where Wine runs no 32-bit program).
build_e2e_tools() {
  local here=$1 out=$2
  mkdir -p "$out"
  local flags=(-std=c++20 -O2 -Wall -Wextra -municode -static -s)
  local driver=("$here/tools/uidriver_main.cpp" "$here/tools/uidriver_find.cpp" "$here/tools/uidriver_tree.cpp")
  local triplet
  triplet=$(test_tool_triplet)
  "$triplet-g++" "${flags[@]}" -o "$out/standin.exe" "$here/../tools/StandInTool.cpp"
  "$triplet-g++" "${flags[@]}" -o "$out/probe.exe" "$here/tools/probe.cpp"
  x86_64-w64-mingw32-g++ "${flags[@]}" -o "$out/uidriver-x64.exe" "${driver[@]}" -lcomctl32
  x86_64-w64-mingw32-g++ -O2 -shared -static -s -o "$out/planted-x64.dll" "$here/tools/planted.cpp"
  [ "${WINE_RUNS_32BIT:-1}" = 1 ] || return 0
  i686-w64-mingw32-g++ "${flags[@]}" -o "$out/uidriver-x86.exe" "${driver[@]}" -lcomctl32
  i686-w64-mingw32-g++ -O2 -shared -static -s -o "$out/planted-x86.dll" "$here/tools/planted.cpp"
}

PRIVATE_XVFB_PID=
stop_private_display() { [ -n "$PRIVATE_XVFB_PID" ] && kill "$PRIVATE_XVFB_PID" 2>/dev/null || true; }

# start_private_display <work folder>: starts Xvfb on a free display and
# exports DISPLAY, unless E2E_DISPLAY names one to use.
start_private_display() {
  [ -n "${E2E_DISPLAY:-}" ] && { export DISPLAY=$E2E_DISPLAY; return; }
  local fd_file=$1/display
  mkdir -p "$1"
  rm -f "$fd_file"
  Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$fd_file" 2>/dev/null &
  PRIVATE_XVFB_PID=$!
  local tries=0
  while [ ! -s "$fd_file" ] && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  [ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(head -1 "$fd_file")
}
