# The sandbox PC: a Wine prefix whose drive letters map to fresh folders.
# Sourced by run.sh. Wine decides a mapped drive's type from the value
# HKLM\Software\Wine\Drives\"<x>:" ("hd", "cdrom", "network", "floppy"),
# which its mount manager reads when the prefix's wineserver starts; with no
# value a folder on a local disk is fixed. DOS attributes live in the
# user.DOSATTRIB extended attribute of the Linux file, which Wine writes
# when a Windows program calls SetFileAttributesW.

# Builds the base prefix once per suite run: wineboot, the font replacement
# for the window's Chinese font, and no Z: drive (the sandbox has only the
# drives that a scenario gives it).
sandbox_base() {
  local base=$1
  rm -rf "$base"
  mkdir -p "$base"
  WINEPREFIX=$base wineboot -i >/dev/null 2>&1
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"微软雅黑"="WenQuanYi Micro Hei"\r\n"Microsoft YaHei"="WenQuanYi Micro Hei"\r\n' |
    iconv -f UTF-8 -t UTF-16 >"$base/drive_c/fonts.reg"
  (cd "$base/drive_c" && WINEPREFIX=$base wine regedit /s 'C:\fonts.reg' >/dev/null 2>&1)
  sandbox_dialog_fonts "$base"
  WINEPREFIX=$base wineserver -w
  rm -f "$base/drive_c/fonts.reg" "$base/dosdevices/z:"
}

# Message boxes, tool tips and the folder dialog use Tahoma ("MS Shell Dlg"),
# which has no Chinese glyphs: link it to the Chinese font, in the registry
# views of both 32-bit and 64-bit programs. Marlett draws the title-bar buttons.
sandbox_dialog_fonts() {
  local base=$1 key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' name view
  for view in 32 64; do
    for name in Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
      WINEPREFIX=$base wine reg add "$key" /v "$name" /t REG_MULTI_SZ \
        /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f /reg:$view >/dev/null 2>&1
    done
  done
  cp /usr/share/wine/fonts/marlett.ttf "$base/drive_c/windows/Fonts/" 2>/dev/null || true
}

# Copies the base prefix for one scenario: hard links for Wine's own files,
# real copies of everything that Wine rewrites in place.
sandbox_new() {
  local base=$1 prefix=$2
  rm -rf "$prefix"
  cp -al "$base" "$prefix"
  local file
  for file in system.reg user.reg userdef.reg; do
    cp --remove-destination "$base/$file" "$prefix/$file"
  done
  find "$prefix/drive_c" -maxdepth 2 -name '*.ini' -type f -exec sh -c 'cp --remove-destination "$1" "$1.tmp" && mv "$1.tmp" "$1"' _ {} \;
  mkdir -p "$prefix/../drives"
  : >"$prefix/drive-types"
}

# Maps drive <letter> of the scenario's prefix to a fresh folder and records
# its type (fixed, cdrom, network, removable). C: stays Wine's own drive,
# with Wine's C:\windows in it: the sandbox PC's first installation.
sandbox_drive() {
  local prefix=$1 letter=${2,,} type=$3 folder
  if [ "$letter" = c ]; then
    folder=$prefix/drive_c
  else
    folder=$(dirname "$prefix")/drives/$letter
    mkdir -p "$folder"
    ln -sfn "$folder" "$prefix/dosdevices/$letter:"
  fi
  case "$type" in
    fixed) echo "\"$letter:\"=\"hd\"" ;;
    cdrom) echo "\"$letter:\"=\"cdrom\"" ;;
    network) echo "\"$letter:\"=\"network\"" ;;
    removable) echo "\"$letter:\"=\"floppy\"" ;;
    *) echo "unknown drive type $type" >&2; return 1 ;;
  esac >>"$prefix/drive-types"
}

# The Linux folder behind a drive letter.
sandbox_folder() {
  local prefix=$1 letter=${2,,}
  if [ "$letter" = c ]; then echo "$prefix/drive_c"; else echo "$(dirname "$prefix")/drives/$letter"; fi
}

# Writes the recorded drive types into the registry file before the
# scenario's wineserver first starts, so the mount manager sees them.
sandbox_seal() {
  local prefix=$1
  {
    printf '\n[Software\\\\Wine\\\\Drives] 1700000000\n'
    cat "$prefix/drive-types"
  } >>"$prefix/system.reg"
}

# Runs every program of the prefix inside one 1024x768 Wine desktop window,
# which draws the title bars that a bare X server has no window manager for.
sandbox_virtual_desktop() {
  local prefix=$1
  printf '\n[Software\\\\Wine\\\\Explorer] 1700000000\n"Desktop"="Default"\n' >>"$prefix/user.reg"
  printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] 1700000000\n"Default"="1024x768"\n' >>"$prefix/user.reg"
}
