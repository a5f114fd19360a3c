# A boot entry written through the UEFI shell (Secure Boot off, so the shell
# runs): startup.nsh puts the entry's bytes into Boot0080 with setvar, makes
# it the whole BootOrder and resets; EDK2 must then start the file the entry
# names, \EFI\Microsoft\Boot\bootmgfw.efi (the loader again, which prints the
# entry that started it and powers off).
WRITTEN_OPTION=Boot0080
WRITTEN_DESCRIPTION="Windows Boot Manager"
WRITTEN_FILE='\EFI\Microsoft\Boot\bootmgfw.efi'

# The entry's EFI_LOAD_OPTION as hex: the project's bytes when run.sh was
# given its tool (--load-option-tool), else the ones assembled by hand.
written_entry_bytes() {
  if [ -n "$LOAD_OPTION_TOOL" ]; then
    "$LOAD_OPTION_TOOL" gpt "$ESP_NUMBER" "$ESP_START" "$ESP_SECTORS" "$ESP_GUID" | tr a-f A-F
  else
    hand_assembled_entry_bytes
  fi
}

hand_assembled_entry_bytes() {
  /usr/bin/python3 "$HERE/load_option.py" "$WRITTEN_DESCRIPTION" "$ESP_NUMBER" "$ESP_START" \
    "$ESP_SECTORS" "$ESP_GUID" "$WRITTEN_FILE"
}

# EDK2's text for the entry's device path: HD(number,GPT,GUID,start,size)/file.
written_entry_path_text() {
  printf 'HD(%s,GPT,%s,0x%X,0x%X)/%s' "$ESP_NUMBER" "$ESP_GUID" "$ESP_START" "$ESP_SECTORS" "$WRITTEN_FILE"
}

# The script stops the machine instead of writing again when the firmware
# comes back to the shell after the reset, so a refused entry fails at once.
written_entry_script() {
  local global=8BE4DF61-93CA-11D2-AA0D-00E098032B8C number=${WRITTEN_OPTION#Boot}
  cat <<NSH
@echo -off
if exist FS0:\\entry-written then
  echo "orvanta-entry: back in the shell after the reset"
  reset -s
endif
setvar $WRITTEN_OPTION -guid $global -nv -bs -rt =H$1
if %lasterror% ne 0 then
  echo "orvanta-entry: setvar $WRITTEN_OPTION failed"
  reset -s
endif
setvar BootOrder -guid $global -nv -bs -rt =H${number:2:2}${number:0:2}
if %lasterror% ne 0 then
  echo "orvanta-entry: setvar BootOrder failed"
  reset -s
endif
echo written > FS0:\\entry-written
echo "orvanta-entry: wrote $WRITTEN_OPTION"
reset
NSH
}

scenario_written_entry() {
  local work=$FIRMWARE_BUILD/written-entry bytes
  rm -rf "$work"
  mkdir -p "$work"
  bytes=$(written_entry_bytes)
  if [ -n "$LOAD_OPTION_TOOL" ]; then
    echo "     written entry: the bytes of $(basename "$LOAD_OPTION_TOOL")"
    [ "$bytes" = "$(hand_assembled_entry_bytes)" ] ||
      echo "     (they differ from load_option.py's: $(hand_assembled_entry_bytes))"
  else
    echo "     written entry: bytes assembled by load_option.py"
  fi
  written_entry_script "$bytes" | sed 's/$/\r/' > "$work/startup.nsh"
  make_esp_disk "$work/disk.img" "$LOADER=/EFI/Microsoft/Boot/bootmgfw.efi" \
    "$work/startup.nsh=/startup.nsh"
  boot_or_fail written_entry "$work/run" "$work/disk.img" "$OVMF_VARS_PLAIN" || return 0
  /usr/bin/python3 "$HERE/check_written_entry.py" "$work/run/serial.log" "$WRITTEN_OPTION" \
    "$WRITTEN_DESCRIPTION" "$(written_entry_path_text)" "$bytes" || true
}
