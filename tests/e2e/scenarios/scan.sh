# Which drives are listed: fixed drives with a "Windows" entry, X: too except
# as WinPE's own.

# Fixed drives without Windows (Wine's own C: is a network drive here):
# nothing listed, and a click only says so.
scenario_no_installation() {
  drive C network
  drive D fixed
  drive E fixed
  drive F fixed
  app F Kit
  printf '%s\n' 'window 20000' 'controls' 'click repairButton' 'message 30000' 'controls' | ui
  {
    echo 'window Orvanta'
    controls_expected idle C: none
    echo 'message 提示： 当前电脑硬盘里未发现操作系统！无法进行此操作！'
    controls_expected idle C: none
  } | expect_ui
  expect_no_file c EFI
  expect_no_file c boot
}

# No fixed drive at all: the scan's own message at start-up (before the
# window shows) and again, followed by the repair's, at a click.
scenario_no_fixed_drive() {
  drive C network
  drive E cdrom windows
  drive F removable
  drive G network windows
  app F Kit
  ui <<'EOF_'
message 20000
window 20000
show installationList
show statusLine
click repairButton
message 30000
message 30000
show repairButton
EOF_
  {
    printf '%s\n' 'message Error! 未发现任何磁盘或光驱' 'window Orvanta'
    list_expected 1 none
    status_expected 0
    echo 'message Error! 未发现任何磁盘或光驱'
    echo 'message 提示： 当前电脑硬盘里未发现操作系统！无法进行此操作！'
    button_expected repairButton 开始修复 1
  } | expect_ui
}

# Windows on a CD-ROM, a network and a removable drive: none is listed, and
# none gets a tool run. On a full Windows X: is a fixed drive like any other
# (only WinPE's own X:\Windows is left out): listed and repaired.
scenario_x_and_cdrom() {
  drive C fixed
  drive D fixed windows
  drive E cdrom windows
  drive F fixed
  drive G network windows
  drive H removable windows
  drive X fixed windows
  app F Kit
  { printf '%s\n' 'window 20000' 'show installationList' 'show statusLine'; repair_click 2; } | ui
  {
    echo 'window Orvanta'
    list_expected 1 0 'C:\Windows' 'D:\Windows' 'X:\Windows'
    status_expected 3
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
  } | expect_ui
  repair_runs C: 'X:\Windows' 'D:\Windows' 'C:\Windows' | expect_log
}

# Windows folders with the hidden or the system attribute are not found.
scenario_hidden_windows() {
  drive C fixed
  drive D fixed windows-hidden
  drive E fixed windows-system
  drive F fixed
  app F Kit
  printf '%s\n' 'window 20000' 'show installationList' 'show statusLine' | ui
  { echo 'window Orvanta'; list_expected 1 0 'C:\Windows'; status_expected 1; } | expect_ui
}

# A plain file named Windows counts as found.
scenario_plain_file_windows() {
  drive C fixed
  drive D fixed windows-file
  drive F fixed
  app F Kit
  printf '%s\n' 'window 20000' 'show installationList' 'show statusLine' | ui
  { echo 'window Orvanta'; list_expected 1 0 'C:\Windows' 'D:\Windows'; status_expected 2; } | expect_ui
}
