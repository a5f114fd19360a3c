# The test PC: a GPT disk with one EFI system partition, and a boot of it
# under QEMU with Debian's OVMF. Sourced by tests/firmware/run.sh.

OVMF_CODE=/usr/share/OVMF/OVMF_CODE_4M.fd
OVMF_VARS_SECURE_BOOT=/usr/share/OVMF/OVMF_VARS_4M.snakeoil.fd
OVMF_VARS_PLAIN=/usr/share/OVMF/OVMF_VARS_4M.fd

# The disk's identity, fixed so that a load option can name its partition.
DISK_GUID=6B0F2E6A-3C1D-4E7A-9E2B-0A4F5C6D7E80
ESP_GUID=0F2E6A6B-1D3C-7A4E-9E2B-0A4F5C6D7E81
ESP_NUMBER=1
ESP_START=2048
ESP_SECTORS=131072
# What the drive tells the firmware; BdsDxe names its own entry for the disk
# "UEFI <model> <serial>", which is how the runs find that entry's lines.
DISK_MODEL="ORVANTA TEST DISK"
DISK_SERIAL=ORV0001

# make_esp_disk <image> <host file>=<path on the partition>...
# Writes a 72 MiB disk image: GPT, one FAT32 EFI system partition, the files.
make_esp_disk() {
  local image=$1
  shift
  rm -f "$image"
  truncate -s 72M "$image"
  printf 'label: gpt\nlabel-id: %s\nstart=%s, size=%s, type=C12A7328-F81F-11D2-BA4B-00A0C93EC93B, uuid=%s, name="EFI system partition"\n' \
    "$DISK_GUID" "$ESP_START" "$ESP_SECTORS" "$ESP_GUID" | sfdisk --quiet "$image"
  local partition="$image@@$((ESP_START * 512))"
  mformat -i "$partition" -F -N 4F52564E -v ORVANTA ::
  local file folder
  # Every folder the files need, each parent before its children.
  for folder in $(for file in "$@"; do
    folder=$(dirname "${file#*=}")
    while [ "$folder" != / ]; do echo "$folder"; folder=$(dirname "$folder"); done
  done | sort -u); do
    mmd -i "$partition" "::$folder"
  done
  for file in "$@"; do
    mcopy -i "$partition" "${file%%=*}" "::${file#*=}"
  done
}

# boot_machine <run folder> <disk image> <varstore template> <seconds>
# Boots the disk with a fresh copy of the varstore and the serial console in
# <run folder>/serial.log. Returns 0 when the machine powered itself off,
# 124 when it was still running after <seconds> (a hang fails, never waits).
boot_machine() {
  local run=$1 disk=$2 vars=$3 seconds=$4
  mkdir -p "$run"
  cp "$vars" "$run/vars.fd"
  rm -f "$run/serial.log"
  local status=0
  timeout --kill-after=10 "$seconds" qemu-system-x86_64 \
    -accel tcg -machine q35 -m 256 -nic none -display none -monitor none \
    -serial "file:$run/serial.log" \
    -drive "if=pflash,format=raw,unit=0,readonly=on,file=$OVMF_CODE" \
    -drive "if=pflash,format=raw,unit=1,file=$run/vars.fd" \
    -drive "if=none,id=disk,format=raw,file=$disk" \
    -device "ide-hd,drive=disk,bus=ide.0,model=$DISK_MODEL,serial=$DISK_SERIAL" \
    > "$run/qemu.log" 2>&1 || status=$?
  return "$status"
}
