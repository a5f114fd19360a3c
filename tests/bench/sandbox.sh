# Sandbox PCs for the benchmarks: Wine prefixes whose drive letters are mapped
# to fresh folders typed as hard disks, with the program and the stand-in boot
# tools on C:. Sourced by run.sh; expects BENCH_OUT and the built tools.

# One fully booted prefix that every sandbox is copied from, so that Wine's
# first-start work is done once and never measured.
base_prefix() {
  local base=$BENCH_OUT/prefix-base
  if [ ! -f "$base/.ready" ]; then
    rm -rf "$base"
    echo "   creating the base Wine prefix (once)" >&2
    WINEPREFIX=$base wineboot -i >/dev/null 2>&1
    WINEPREFIX=$base wineserver -w
    touch "$base/.ready"
  fi
  echo "$base"
}

# The drive letters of a sandbox with COUNT fixed drives: C: onwards.
drive_letters() {
  local count=$1
  echo {c..z} | tr ' ' '\n' | head -n "$count"
}

# The registry entries of a sandbox: every mapped drive a hard disk, and the
# window font's name mapped to an installed Chinese font, as on a Chinese
# Windows that has it. Written as UTF-16 with a byte-order mark, the form
# that Wine's reg import reads non-ASCII text from.
sandbox_registry() {
  local file=$1; shift
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n'
    local letter
    for letter in "$@"; do printf '"%s:"="hd"\r\n' "$letter"; done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"微软雅黑"="WenQuanYi Micro Hei"\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$file"
}

# make_sandbox NAME DRIVES WINDOWS_EVERY
# A prefix with DRIVES fixed drives from C: on. C: keeps Wine's own windows
# folder; of the others, every WINDOWS_EVERY-th (counting C: as the first)
# gets a Windows folder, so 2 means C:, E:, G:, ... and 1 means all of them.
# Each architecture's Orvanta goes to C:\<arch>\ with its Bin folder of
# stand-in tools; the measuring programs go to C:\bench\<arch>\.
make_sandbox() {
  local name=$1 drives=$2 every=$3
  local prefix=$BENCH_OUT/sandbox-$name
  local folders=$BENCH_OUT/sandbox-$name-drives
  rm -rf "$prefix" "$folders"
  local base
  base=$(base_prefix)
  # Hard links keep a sandbox cheap (the base is over a gigabyte); the
  # registry files, which the server rewrites, are copied for real.
  cp -al "$base" "$prefix"
  rm -f "$prefix/.ready" "$prefix"/*.reg
  cp "$base"/*.reg "$prefix/"
  find "$prefix/dosdevices" -maxdepth 1 -name '?:' ! -name 'c:' -exec rm -f {} +
  local letters=() index=0 letter
  mapfile -t letters < <(drive_letters "$drives")
  for letter in "${letters[@]}"; do
    if [ "$letter" != c ]; then
      mkdir -p "$folders/$letter"
      ln -s "$folders/$letter" "$prefix/dosdevices/$letter:"
      [ $((index % every)) -eq 0 ] && mkdir -p "$folders/$letter/Windows/System32"
    fi
    index=$((index + 1))
  done
  local arch
  for arch in $BENCH_ARCHS; do
    mkdir -p "$prefix/drive_c/$arch/Bin" "$prefix/drive_c/bench/$arch"
    cp "$ROOT/dist/$arch/Orvanta.exe" "$prefix/drive_c/$arch/"
    cp "$BENCH_OUT/$arch/StandInTool.exe" "$prefix/drive_c/$arch/Bin/bcdboot.exe"
    cp "$BENCH_OUT/$arch/StandInTool.exe" "$prefix/drive_c/$arch/Bin/bootsect.exe"
    cp "$BENCH_OUT/$arch/"{BenchDriver,SpinWait,MinimalWindow,ThemedWindow,DriveProbe}.exe "$prefix/drive_c/bench/$arch/"
  done
  sandbox_registry "$prefix/drive_c/bench/drives.reg" "${letters[@]}"
  WINEPREFIX=$prefix wine reg import 'C:\bench\drives.reg' >/dev/null 2>&1
  # Wine's mount manager reads the drive types when it starts: stop the
  # prefix's server (it saves the registry) so the next start sees them.
  WINEPREFIX=$prefix wineserver -k
  WINEPREFIX=$prefix wineserver -w
  echo "$prefix"
}

# Starts the prefix's Wine server for good (no start-up cost inside the
# measurements) and warms the prefix up with one start of each program.
open_sandbox() {
  local prefix=$1
  WINEPREFIX=$prefix wineserver -p
  local arch
  for arch in $BENCH_ARCHS; do
    WINEPREFIX=$prefix wine "C:\\bench\\$arch\\BenchDriver.exe" start MinimalWindow \
      "C:\\bench\\$arch\\MinimalWindow.exe" >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wine "C:\\bench\\$arch\\BenchDriver.exe" start ThemedWindow \
      "C:\\bench\\$arch\\ThemedWindow.exe" >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wine "C:\\bench\\$arch\\BenchDriver.exe" start Orvanta \
      "C:\\$arch\\Orvanta.exe" >/dev/null 2>&1 || true
  done
}

close_sandbox() {
  WINEPREFIX=$1 wineserver -k 2>/dev/null || true
  WINEPREFIX=$1 wineserver -w 2>/dev/null || true
}
