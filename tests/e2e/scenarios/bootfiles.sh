# The boot managers bcdboot copies, judged before a UEFI repair.

# flip_byte <source> <target> <offset>: a copy of the file with one byte changed.
flip_byte() {
  /usr/bin/python3 - "$1" "$2" "$3" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[int(sys.argv[3], 0)] ^= 0x01
open(sys.argv[2], "wb").write(bytes(data))
PY
}

# The installation's own boot manager, signed with an RSA test key and then
# one byte of its code changed: before anything changes the command line
# names it damaged, with the repair from install media, and goes on (nobody to
# ask); the stand-in bcdboot copies it to the boot partition as the real one
# would, the check after the run finds it damaged there too, and /repair
# exits 1. Wine has no firmware variables, so nothing is judged against db
# and dbx: the damage needs none.
scenario_damaged_boot_manager() {
  drive C fixed
  drive F fixed
  folder F Out
  winpe 2
  app F Kit
  local signing boot
  signing="$(sandbox_folder "$S_PREFIX" F)/Signing"
  boot="$(sandbox_folder "$S_PREFIX" C)/windows/Boot/EFI"
  "$E2E_LIB/../../signing/make-fixtures.sh" "$signing" >/dev/null
  mkdir -p "$boot"
  flip_byte "$signing/signed2023.efi" "$boot/bootmgfw.efi" 0x300
  printf 'bcdboot copy C:\\Windows\\Boot\\EFI\\bootmgfw.efi \\EFI\\Microsoft\\Boot\\bootmgfw.efi /f uefi\r\n' | faults
  printf '@echo off\r\nF:\\Kit\\Orvanta.exe /repair > F:\\Out\\repair.txt\r\necho repair %%ERRORLEVEL%%\r\n' \
    >"$(sandbox_folder "$S_PREFIX" F)/damaged.bat"
  printf '%s\n' 'launch C:\windows\system32\cmd.exe /c F:\damaged.bat' 'nowindow 120000' 'print F:\Out\repair.txt' >"$S_DIR/script.txt"
  {
    printf '%s\n' 'repair 1' 'no window' '警告！' \
      'C:\Windows\Boot\EFI\bootmgfw.efi 与它的签名不符，已损坏或被改动：bcdboot 会把它原样复制到引导盘，开启安全启动的电脑会拒绝启动它，没有开启的也可能启动失败。请先用 Windows 安装介质修复这个系统的文件（sfc 从同一个组件存储修复，修不好它）：' \
      '　DISM /Image:C:\ /Cleanup-Image /RestoreHealth /Source:wim:X:\sources\install.wim:1 /LimitAccess' \
      '（X: 是安装介质，索引选与这个系统相同的版本），再重新修复。' \
      '命令行不询问，继续修复；因为有这些警告，退出代码至少为 1。'
    local run
    for run in "$(bcdboot_run C: 'C:\Windows')" "$(bcdboot_run C: 'C:\Windows' uefi)" "$(bootsect_run C:)"; do
      printf '%s\n' "运行：$run" 'glob   用时 * 秒，退出代码 0（0x00000000）'
    done
    printf '%s\n' '提示：' 'BIOS引导修复成功！' '警告！' \
      'UEFI 引导文件已写入 C:，但 C: 是 NTFS 分区，UEFI 固件只能从 FAT32 格式的 EFI 系统分区启动，无法从 C: 启动。' \
      '没有找到 EFI 系统分区：请先确认硬盘上有 EFI 系统分区并给它分配盘符，再把它填为引导盘重新修复。' \
      'glob 修复日志：F:\\Kit\\Logs\\Orvanta-*.log'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  expect_repair_log beside <<'EOF_'
运行前检查 bcdboot 要复制的 UEFI 启动管理器：
  安全启动：没有开启或状态不明，没有按 db 和 dbx 判断，只核对文件与签名是否相符
  C:\Windows：
    C:\Windows\Boot\EFI\bootmgfw.efi：与它的签名不符（已损坏或被改动）
    C:\Windows\Boot\EFI_EX\bootmgfw_EX.efi：没有
UEFI 启动检查（引导盘 C:）：
  Windows 启动管理器 C:\EFI\Microsoft\Boot\bootmgfw.efi：
      校验：文件的 Authenticode 哈希（SHA-256）与签名里的不符（文件已损坏或被改动），messageDigest 相符，签名者的签名有效，证书链里各证书的签名有效
EOF_
}
