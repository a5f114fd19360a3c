#!/usr/bin/env bash
# Checks the two Windows executables with pefile: imported DLLs, size, machine type,
# icon, manifest and version block; then shows that the checks fail on damaged copies.
#   tests/exe/check-executables.sh [dist folder]   (default: dist/ of the repository)
# Expects <dist>/x86/Orvanta.exe (32-bit) and <dist>/x64/Orvanta.exe (64-bit).
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=${1:-$here/../../dist}
# Debian's Python, into which python3-pefile installs (not one found first on PATH).
python=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1

if ! "$python" -c 'import pefile' 2>/dev/null; then
  echo "FAIL $python cannot import pefile: install python3-pefile (./dev test does)"
  exit 1
fi

failures=0
for arch in x86 x64; do
  exe=$dist/$arch/Orvanta.exe
  echo "== $arch: $exe"
  if [ ! -f "$exe" ]; then
    echo "FAIL $exe: missing (run ./dev build first)"
    failures=$((failures + 1))
    continue
  fi
  "$python" "$here/check_executable.py" "$exe" "$arch" || failures=$((failures + 1))
  "$python" "$here/test_check_executable.py" "$exe" "$arch" || failures=$((failures + 1))
done

echo
if [ "$failures" -eq 0 ]; then
  echo "PASS all executable checks"
else
  echo "FAIL $failures executable check group(s) failed"
  exit 1
fi
