#!/usr/bin/env bash
# Checks the two Windows executables: imported DLLs, resources and size.
#   tests/exe/check-executables.sh [dist folder]   (default: dist/ of the repository)
# Expects <dist>/x86/Orvanta.exe (32-bit) and <dist>/x64/Orvanta.exe (64-bit).
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=${1:-$here/../../dist}
export PYTHONDONTWRITEBYTECODE=1

failures=0
run() {
  "$@" || failures=$((failures + 1))
}

if ! command -v python3 >/dev/null; then
  echo "FAIL python3 is needed to read the executables' resources"
  failures=$((failures + 1))
fi

for arch in x86 x64; do
  exe=$dist/$arch/Orvanta.exe
  echo "== $arch: $exe"
  if [ ! -f "$exe" ]; then
    echo "FAIL $exe: missing (run ./dev build first)"
    failures=$((failures + 1))
    continue
  fi
  run "$here/check_imports.sh" "$exe"
  command -v python3 >/dev/null && run python3 "$here/check_resources.py" "$exe" "$arch"
  run "$here/check_size.sh" "$exe"
done

if [ -f "$dist/x86/Orvanta.exe" ] && command -v python3 >/dev/null; then
  echo "== the resource checks catch damaged executables"
  run python3 "$here/test_check_resources.py" "$dist/x86/Orvanta.exe"
fi

echo
if [ "$failures" -eq 0 ]; then
  echo "PASS all executable checks"
else
  echo "FAIL $failures executable check group(s) failed"
  exit 1
fi
