#!/usr/bin/env bash
# The release package: the same sources build to the same bytes, and the zip holds
# what it should. Runs ./dev package, keeps copies of both executables and the zip,
# removes build/x86, build/x64, dist/ and the zip, runs ./dev package again and
# compares each file with its copy (cmp). Then checks the zip's contents
# (check_package.py) and that those checks fail on damaged zips.
#   tests/package/check-package.sh
# Prints one PASS or FAIL line per check; exits 1 when any check fails.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
python=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1
cd "$root"

checks=build/package-check
rm -rf "$checks" && mkdir -p "$checks"

# ./dev package with its output in build/package-check/build-<n>.log.
build() {
  ./dev package >"$checks/build-$1.log" 2>&1 && return 0
  tail -n 20 "$checks/build-$1.log"
  echo "FAIL ./dev package (build $1; the whole output in $checks/build-$1.log)"
  exit 1
}

echo "== first build"
build 1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/x64/CMakeCache.txt)
files=(dist/x86/Orvanta.exe dist/x64/Orvanta.exe "build/Orvanta-$version.zip")
for file in "${files[@]}"; do
  mkdir -p "$checks/first/$(dirname "$file")" && cp "$file" "$checks/first/$file"
done

echo "== second build, from clean build folders"
rm -rf build/x86 build/x64 dist "build/Orvanta-$version.zip"
started=$SECONDS
build 2
echo "     took $((SECONDS - started)) s"

failures=0
for file in "${files[@]}"; do
  if difference=$(cmp "$checks/first/$file" "$file" 2>&1); then
    echo "PASS $file: the same bytes in both builds"
  else
    echo "FAIL $file differs between the builds: $difference" \
         "($(cmp -l "$checks/first/$file" "$file" 2>/dev/null | wc -l) bytes differ)"
    failures=$((failures + 1))
  fi
done

echo "== contents of build/Orvanta-$version.zip"
"$python" "$here/check_package.py" "build/Orvanta-$version.zip" dist "$root" ||
  failures=$((failures + 1))
echo "== the content checks fail on damaged zips"
(cd "$here" && "$python" test_check_package.py "$root/build/Orvanta-$version.zip" \
  "$root/dist" "$root") || failures=$((failures + 1))

echo
if [ "$failures" -eq 0 ]; then
  echo "PASS release package: reproducible, contents as expected"
else
  echo "FAIL $failures package check(s) failed"
  exit 1
fi
