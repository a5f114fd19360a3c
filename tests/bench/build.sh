# Builds what the benchmarks need. Sourced by run.sh.
# The measuring programs are built with the same MinGW-w64 toolchain and the
# same size options as Orvanta (optimised for size, static runtime, unused
# sections dropped, symbols stripped), so that the reference programs are a
# fair comparison.

bench_packages() {
  local missing=() package
  for package in wine wine32:i386 wine64 xvfb xauth fonts-wqy-microhei mingw-w64 g++ python3-hivex; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "   installing ${missing[*]}" >&2
  local sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The stand-in boot tool, shared with the end-to-end suite, and its text header.
STANDIN_SOURCE=$ROOT/tests/tools/StandInTool.cpp
STANDIN_HEADER=$ROOT/tests/e2e/tools/Utf.h

# compile OUTPUT COMPILER FLAGS... : only when a source is newer than OUTPUT.
compile() {
  local output=$1; shift
  local newest
  newest=$(ls -t "$HERE"/win/*.cpp "$HERE"/win/*.h "$HERE"/win/*.rc "$HERE"/win/*.in "$HERE"/host/*.cpp \
    "$STANDIN_SOURCE" "$STANDIN_HEADER" "$HERE/build.sh" | head -1)
  [ -f "$output" ] && [ "$output" -nt "$newest" ] && return 0
  mkdir -p "$(dirname "$output")"
  "$@" -o "$output"
}

build_windows_tools() {
  local arch=$1 triplet
  case $arch in x86) triplet=i686-w64-mingw32 ;; x64) triplet=x86_64-w64-mingw32 ;; esac
  local cxx="$triplet-g++ -std=c++20 -Os -Wall -Wextra -ffunction-sections -fdata-sections"
  local link="-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s -municode"
  local out=$BENCH_OUT/$arch src=$HERE/win
  compile "$out/MinimalWindow.exe" $cxx "$src/MinimalWindow.cpp" $link -mwindows
  build_themed_window "$arch" "$triplet" "$cxx" "$link"
  compile "$out/SpinWait.exe" $cxx "$src/SpinWait.cpp" $link -mwindows -lshell32
  compile "$out/StandInTool.exe" $cxx "$STANDIN_SOURCE" $link
  compile "$out/DriveProbe.exe" $cxx "$src/DriveProbe.cpp" $link
  compile "$out/BenchDriver.exe" $cxx "$src/BenchDriver.cpp" $link -lshell32 -lpsapi -luser32
}

# The themed reference window: its Common Controls 6 manifest names the
# process's architecture (a 64-bit process must name amd64, or the loader finds
# no matching assembly), so it is written per architecture before the
# resource compiler embeds it.
build_themed_window() {
  local arch=$1 triplet=$2 cxx=$3 link=$4 manifest_arch
  local out=$BENCH_OUT/$arch src=$HERE/win
  case $arch in x86) manifest_arch=X86 ;; x64) manifest_arch=amd64 ;; esac
  mkdir -p "$out/themed"
  sed "s/@ARCH@/$manifest_arch/g" "$src/ThemedWindow.manifest.in" >"$out/themed/ThemedWindow.manifest.new"
  cmp -s "$out/themed/ThemedWindow.manifest.new" "$out/themed/ThemedWindow.manifest" ||
    mv "$out/themed/ThemedWindow.manifest.new" "$out/themed/ThemedWindow.manifest"
  rm -f "$out/themed/ThemedWindow.manifest.new"
  compile "$out/themed/ThemedWindow.res.o" "$triplet-windres" -I "$out/themed" "$src/ThemedWindow.rc"
  compile "$out/ThemedWindow.exe" $cxx -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 "$src/ThemedWindow.cpp" \
    "$out/themed/ThemedWindow.res.o" $link -mwindows -lcomctl32 -lole32 -lshell32 -luuid
}

build_all() {
  bench_packages
  if [ "${BENCH_NO_BUILD:-0}" != 1 ]; then
    "$ROOT/dev" build >&2
  fi
  local arch
  for arch in $BENCH_ARCHS; do
    [ -f "$ROOT/dist/$arch/Orvanta.exe" ] || { echo "dist/$arch/Orvanta.exe is missing" >&2; exit 1; }
    build_windows_tools "$arch"
  done
  compile "$BENCH_OUT/host/procsample" g++ -std=c++20 -O2 -Wall -Wextra "$HERE/host/ProcSample.cpp"
  compile "$BENCH_OUT/host/benchcalc" g++ -std=c++20 -O2 -Wall -Wextra "$HERE/host/BenchCalc.cpp"
}
