# Repair runs that go through: order of the tool runs, the stores, the messages.

# Three installations, D:\Windows selected and kept as the default: the
# other installations run from the last entry down, the default last.
scenario_worked_example() {
  drive C fixed
  drive D fixed windows
  drive E fixed windows
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
controls
select installationList 1
click repairButton
waitmessage 30000
show repairButton
show browseButton
show bootPartitionBox
show installationList
dismiss
message 30000
waitcaption repairButton 10000 开始修复
nomessage
controls
close
exited 10000
EOF_
  local -a found=('C:\Windows' 'D:\Windows' 'E:\Windows')
  {
    echo 'window Orvanta'
    controls_expected idle C: 0 "${found[@]}"
    echo "message $BIOS_OK"
    button_expected repairButton 正在修复 0
    button_expected browseButton 选择... 0
    box_expected C: 0
    list_expected 0 1 "${found[@]}"
    logged_message "$UEFI_OK"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
    controls_expected idle C: 1 "${found[@]}"
    echo 'exited 0'
  } | expect_ui
  repair_runs C: 'E:\Windows' 'C:\Windows' 'D:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
}

# The check box unchecked: entry 0 is the default whatever was selected.
scenario_check_unchecked() {
  drive C fixed
  drive D fixed windows
  drive E fixed windows
  drive F fixed
  app F Kit
  {
    printf '%s\n' 'window 20000' 'select installationList 1' 'sendclick makeDefaultCheckBox' 'show makeDefaultCheckBox'
    repair_click 2
    printf '%s\n' 'nomessage' 'show installationList' 'show makeDefaultCheckBox'
  } | ui
  {
    echo 'window Orvanta'
    checkbox_expected 0 1
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
    echo 'nomessage'
    list_expected 1 0 'C:\Windows' 'D:\Windows' 'E:\Windows'
    checkbox_expected 0 1
  } | expect_ui
  repair_runs C: 'E:\Windows' 'D:\Windows' 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
}

# One installation: no loop runs, only the three runs for the default. The
# UEFI stand-in insists on EFI\Microsoft\Boot, which the program makes first.
scenario_one_installation() {
  drive C fixed
  drive D fixed
  drive F fixed
  app F Kit
  faults <<'EOF_'
bcdboot needfolder 1 /f uefi
EOF_
  { printf '%s\n' 'window 20000' 'show installationList' 'show statusLine'; repair_click 2; echo 'nomessage'; } | ui
  {
    echo 'window Orvanta'
    list_expected 1 0 'C:\Windows'
    status_expected 1
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
    echo 'nomessage'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
}

# Another boot partition typed into bootPartitionBox (in lower case, which is valid):
# the stores and every command line use it, C:'s old store stays untouched.
scenario_other_boot_partition() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  store D bios
  app F Kit
  {
    printf '%s\n' 'window 20000' 'settext bootPartitionBox d:' 'show bootPartitionBox'
    repair_click 2
    printf '%s\n' 'nomessage' 'show bootPartitionBox'
  } | ui
  {
    echo 'window Orvanta'
    box_expected d: 1
    echo "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'd:\boot\bcd')"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
    box_expected d: 1
  } | expect_ui
  repair_runs d: 'D:\Windows' 'C:\Windows' | expect_log
  echo 'boot/bcd old' | expect_files C
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'efi/microsoft/boot/bcd new' | expect_files D
  expect_no_file c EFI
}

# A blank in the application folder: each program path is quoted, so the
# decoy F:\Repair.exe, named after the path's first word, never runs.
scenario_blank_in_path() {
  drive C fixed
  drive F fixed
  app F 'Repair Kit'
  cp "$E2E_TOOLS/standin.exe" "$(sandbox_folder "$S_PREFIX" F)/Repair.exe"
  { echo 'window 20000'; repair_click 2; echo 'nomessage'; } | ui
  { echo 'window Orvanta'; repair_click_expected "$BIOS_OK" "$UEFI_OK"; echo 'nomessage'; } | expect_ui
  expect_log <<'EOF_'
"F:\Repair Kit\Bin\bcdboot.exe" C:\Windows /s C: /f bios /l zh-cn
"F:\Repair Kit\Bin\bcdboot.exe" C:\Windows /s C: /f uefi /l zh-cn
"F:\Repair Kit\bin\bootsect.exe" /nt60 C: /mbr
EOF_
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
  expect_no_file f standin.log
}

# Twenty drive letters: the drive strings need more than 64 characters, and
# installations beyond the fifteenth drive are still found and repaired.
scenario_twenty_drives() {
  drive C fixed
  drive D fixed windows
  local letter
  for letter in E F G H I J K L M N O P Q R S; do drive "$letter" fixed; done
  drive T fixed windows
  drive U cdrom windows
  drive V fixed windows
  app F Kit
  { printf '%s\n' 'window 20000' 'show installationList' 'show statusLine'; repair_click 2; echo 'nomessage'; } | ui
  {
    echo 'window Orvanta'
    list_expected 1 0 'C:\Windows' 'D:\Windows' 'T:\Windows' 'V:\Windows'
    status_expected 4
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
    echo 'nomessage'
  } | expect_ui
  repair_runs C: 'V:\Windows' 'T:\Windows' 'D:\Windows' 'C:\Windows' | expect_log
}

# Tools that fail: one ends with 5, bootsect with 259 (the code that also
# means "still running"). The run goes on, both successes are shown, then
# one warning lists each failed command line with its code.
scenario_failing_tools() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  app F Kit
  faults <<'EOF_'
bcdboot exit 5 D:\Windows /s C: /f uefi
bootsect exit 259
EOF_
  { echo 'window 20000'; repair_click 3; echo 'nomessage'; } | ui
  {
    echo 'window Orvanta'
    repair_click_expected "$BIOS_OK" "$UEFI_OK" \
      '警告！ 以下修复命令没有成功完成：\nF:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn\n退出代码：5（0x00000005）\nF:\Kit\bin\bootsect.exe /nt60 C: /mbr\n退出代码：259（0x00000103）\n引导可能没有完全修复，请检查后再试。'
    echo 'nomessage'
  } | expect_ui
  repair_runs C: 'D:\Windows' 'C:\Windows' | expect_log
}

# The selected installation is gone at the rescan: entry 0 becomes the default.
scenario_installation_removed() {
  drive C fixed
  drive D fixed windows
  drive E fixed windows
  drive F fixed
  app F Kit
  {
    printf '%s\n' 'window 20000' 'select installationList 1' 'rename D:\Windows D:\Windows.old'
    repair_click 2
    echo 'show installationList'
  } | ui
  {
    printf '%s\n' 'window Orvanta' 'renamed D:\Windows'
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
    list_expected 1 0 'C:\Windows' 'E:\Windows'
  } | expect_ui
  repair_runs C: 'E:\Windows' 'C:\Windows' | expect_log
}

# A pre-installation environment started from UEFI firmware, repairing onto an
# NTFS boot partition: the UEFI files are written, but UEFI firmware can't
# start from there, so a warning stands where the UEFI success would. Wine
# has no firmware variables: the log says so, and still shows the signatures
# of the boot manager bcdboot left (signed by osslsigncode with an RSA test
# key), read by the program itself and verified through Wine's crypt32 (a
# crypt32 path that always failed would say the signature is invalid or
# can't be checked), and what the system says of its signature.
scenario_winpe_uefi_on_ntfs() {
  drive C fixed
  drive F fixed
  winpe 2
  app F Kit
  signed_boot_manager F
  { printf '%s\n' 'window 20000' 'show firmwareLine' 'show bootPartitionBox'; repair_click 2; echo 'nomessage'; } | ui
  {
    printf '%s\n' 'window Orvanta' 'frame firmwareLine 固件：UEFI，未找到 EFI 系统分区'
    box_expected C: 1
    repair_click_expected "$BIOS_OK" '警告！ UEFI 引导文件已写入 C:，但 C: 是 NTFS 分区，UEFI 固件只能从 FAT32 格式的 EFI 系统分区启动，无法从 C: 启动。\n没有找到 EFI 系统分区：请先确认硬盘上有 EFI 系统分区并给它分配盘符，再把它填为引导盘重新修复。'
    echo 'nomessage'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  expect_repair_log beside <<'EOF_'
固件：UEFI
固件变量：无法读取（错误 1，系统不提供固件变量），安全启动的状态、签名数据库和固件启动项都不知道
UEFI 启动检查（引导盘 C:）：
  安全启动：状态不明（错误 1，系统不提供固件变量），没有检查固件是否会拒绝启动管理器
  固件启动项：无法核对，不知道引导盘 C: 是哪个磁盘分区
  Windows 启动管理器 C:\EFI\Microsoft\Boot\bootmgfw.efi：
    版本：无，数字签名：*
    签名 1：签名者 CN=Microsoft Windows, O=Microsoft Corporation, C=US，证书颁发机构 CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US
      证书链：CN=Microsoft Windows, O=Microsoft Corporation, C=US → CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US → CN=Orvanta Test Root（根证书不在文件里）
      校验：文件的 Authenticode 哈希（SHA-256）与签名相符，messageDigest 相符，签名者的签名有效，证书链里各证书的签名有效
    签名 2（嵌套，固件只看外层的签名）：签名者 CN=Microsoft Windows, O=Microsoft Corporation, C=US，证书颁发机构 CN=Microsoft Windows Production PCA 2011, O=Microsoft Corporation, L=Redmond, ST=Washington, C=US
      证书链：CN=Microsoft Windows, O=Microsoft Corporation, C=US → CN=Microsoft Windows Production PCA 2011, O=Microsoft Corporation, L=Redmond, ST=Washington, C=US → CN=Orvanta Test Root（根证书不在文件里）
    Authenticode SHA-256：????????????????????????????????????????????????????????????????
  回退启动文件 C:\EFI\Boot\bootx64.efi：与 Windows 启动管理器相同（Authenticode SHA-256 相同）
EOF_
}
