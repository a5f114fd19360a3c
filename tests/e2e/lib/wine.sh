# Wine as this machine can run it. Some kernels run no 32-bit programs (ia32
# emulation switched off): there Debian's wine wrapper, which prefers the
# 32-bit loader, stops with "Exec format error". A shim on PATH then starts
# the 64-bit loader, and the 32-bit executable and tools are left out.
# Sourced by the e2e suite, the demo and the benchmarks.

# use_runnable_wine <shim folder>: exports WINE_RUNS_32BIT (1 or 0) and, when
# 32-bit programs can't run, puts a `wine` that starts the 64-bit loader first
# on PATH, under both names Debian's wine commands (wineboot...) start.
use_runnable_wine() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export WINE_RUNS_32BIT=1
    return
  fi
  export WINE_RUNS_32BIT=0
  mkdir -p "$1"
  local name
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$1/$name"
    chmod +x "$1/$name"
  done
  case ":$PATH:" in *":$1:"*) ;; *) export PATH="$1:$PATH" ;; esac
}

# The MinGW target of the test tools that run beside the program under test.
test_tool_triplet() {
  if [ "${WINE_RUNS_32BIT:-1}" = 1 ]; then echo i686-w64-mingw32; else echo x86_64-w64-mingw32; fi
}
