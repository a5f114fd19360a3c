#!/usr/bin/env bash
# Prints the size of a Windows executable and fails when it reaches 300 KB.
#   check_size.sh <Orvanta.exe>
set -uo pipefail

LIMIT_BYTES=$((300 * 1024))

exe=${1:?usage: check_size.sh <Orvanta.exe>}
if ! size=$(stat -c %s "$exe" 2>/dev/null); then
  echo "FAIL $exe: size: cannot read the file"
  exit 1
fi
kib=$(awk -v bytes="$size" 'BEGIN { printf "%.1f", int(bytes * 10 / 1024) / 10 }')
if [ "$size" -lt "$LIMIT_BYTES" ]; then
  echo "PASS $exe: size $size bytes ($kib KB), below 300 KB"
else
  echo "FAIL $exe: size $size bytes ($kib KB), limit is below 300 KB"
  exit 1
fi
