#!/usr/bin/env bash
# Lists the DLLs that a Windows executable imports (objdump -p) and fails on any
# DLL outside the system DLLs that every Windows and every WinPE image carries.
#   check_imports.sh <Orvanta.exe>
set -uo pipefail

# The allow-list, each with the reason the program needs it:
#   kernel32  files, drives, devices, processes, memory
#   user32    the window, its controls and message loop, message boxes
#   gdi32     fonts and the screen's dots per inch
#   comctl32  common controls version 6 (InitCommonControls, the tool tip)
#   shell32   the folder-browsing dialog
#   ole32     COM: the taskbar-list object, CoTaskMemFree
#   msvcrt    the C runtime that MinGW-w64 links against (part of Windows itself)
ALLOWED_DLLS="kernel32.dll user32.dll gdi32.dll comctl32.dll shell32.dll ole32.dll msvcrt.dll"

exe=${1:?usage: check_imports.sh <Orvanta.exe>}

# The first objdump that reads the file; the x86-64 MinGW one reads both PE formats.
find_objdump() {
  local candidate
  for candidate in ${OBJDUMP:-} x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump objdump; do
    if command -v "$candidate" >/dev/null && "$candidate" -f "$exe" >/dev/null 2>&1; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

if ! objdump_tool=$(find_objdump); then
  echo "FAIL $exe: imports: no objdump can read the file"
  exit 1
fi
dlls=$("$objdump_tool" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' |
       tr 'A-Z' 'a-z' | sort -u)
echo "     $exe imports: $(echo $dlls)"

problems=()
for dll in $dlls; do
  case " $ALLOWED_DLLS " in
    *" $dll "*) ;;
    *) problems+=("$dll is not a system DLL on the allow-list") ;;
  esac
done
# Every Windows program imports kernel32; its absence means the listing failed.
grep -qx 'kernel32.dll' <<<"$dlls" || problems+=("no kernel32.dll among the imports")

if [ ${#problems[@]} -eq 0 ]; then
  echo "PASS $exe: imports only system DLLs"
else
  echo "FAIL $exe: imports: $(IFS=';'; echo "${problems[*]}")"
  exit 1
fi
