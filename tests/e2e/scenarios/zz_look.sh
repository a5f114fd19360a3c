scenario_look_damaged_window() {
  drive C fixed
  drive F fixed
  winpe 2
  app F Kit
  local signing boot
  signing="$(sandbox_folder "$S_PREFIX" F)/Signing"
  boot="$(sandbox_folder "$S_PREFIX" C)/windows/Boot/EFI"
  "$E2E_LIB/../../signing/make-fixtures.sh" "$signing" >/dev/null
  mkdir -p "$boot"
  flip_byte "$signing/signed2023.efi" "$boot/bootmgfw.efi" 0x300
  printf '%s\n' 'window 20000' 'click repairButton' 'waitmessage 30000' 'waitfile C:\none.txt 15000 x' 'dismiss' >>"$S_DIR/script.txt"
  printf 'x\n' | expect_ui
}
