# EDK2's verdict on each test image under Secure Boot with Debian's snakeoil
# db, one boot for all: the snakeoil-signed loader asks LoadImage for each.
# With a judge, the project's verdict against the db and dbx the firmware
# printed must be EDK2's.
scenario_secure_boot_verdicts() {
  local work=$FIRMWARE_BUILD/secure-boot-verdicts
  rm -rf "$work"
  "$HERE/make_images.sh" "$work/made" "$LOADER"
  local files=("$work/made/loader.efi=/EFI/BOOT/BOOTX64.EFI") image
  for image in "$work/made/images"/*.efi; do
    files+=("$image=/orvanta/images/$(basename "$image")")
  done
  make_esp_disk "$work/disk.img" "${files[@]}"
  boot_or_fail secure_boot_verdicts "$work/run" "$work/disk.img" "$OVMF_VARS_SECURE_BOOT" || return 0
  /usr/bin/python3 "$HERE/check_verdicts.py" "$work/run/serial.log" "$DISK_DESCRIPTION" \
    "$work/made/images" "$work/made/images.tsv" "$work/judged" "$JUDGE" || true
}
