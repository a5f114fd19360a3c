# Which drives are listed: fixed drives with a "Windows" entry, never X:.

# Fixed drives without Windows (Wine's own C: is a network drive here):
# nothing listed, and a click only says so.
scenario_no_installation() {
  drive C network
  drive D fixed
  drive E fixed
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
controls
click Command4
message 30000
controls
EOF_
  local idle
  idle=$(cat <<'EOF_'
caption Command4 开始修复
enabled Command4 1
caption Command1 选择...
enabled Command1 1
text Text1 C:
enabled Text1 1
combo RDriver count 0
combo RDriver selected none 
enabled RDriver 1
check Check1 主系统 1
enabled Check1 1
status 当前电脑硬盘里未发现操作系统！
EOF_
)
  printf 'window Orvanta\n%s\nmessage 提示： 当前电脑硬盘里未发现操作系统！无法进行此操作！\n%s\n' "$idle" "$idle" | expect_ui
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
show RDriver
show Status
click Command4
message 30000
message 30000
show Command4
EOF_
  expect_ui <<'EOF_'
message Error! 未发现任何磁盘或光驱
window Orvanta
combo RDriver count 0
combo RDriver selected none 
enabled RDriver 1
status 当前电脑硬盘里未发现操作系统！
message Error! 未发现任何磁盘或光驱
message 提示： 当前电脑硬盘里未发现操作系统！无法进行此操作！
caption Command4 开始修复
enabled Command4 1
EOF_
}

# Windows on X:, on a CD-ROM, a network and a removable drive: none is
# listed, and none gets a tool run.
scenario_x_and_cdrom() {
  drive C fixed
  drive D fixed windows
  drive E cdrom windows
  drive F fixed
  drive G network windows
  drive H removable windows
  drive X fixed windows
  app F Kit
  ui <<'EOF_'
window 20000
show RDriver
show Status
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
EOF_
  expect_ui <<'EOF_'
window Orvanta
combo RDriver count 2
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
status 当前电脑硬盘里共发现2个系统！
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
}

# Windows folders with the hidden or the system attribute are not found.
scenario_hidden_windows() {
  drive C fixed
  drive D fixed windows-hidden
  drive E fixed windows-system
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
show RDriver
show Status
EOF_
  expect_ui <<'EOF_'
window Orvanta
combo RDriver count 1
combo RDriver entry 0 C:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
status 当前电脑硬盘里共发现1个系统！
EOF_
}

# A plain file named Windows counts as found.
scenario_plain_file_windows() {
  drive C fixed
  drive D fixed windows-file
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
show RDriver
show Status
EOF_
  expect_ui <<'EOF_'
window Orvanta
combo RDriver count 2
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
status 当前电脑硬盘里共发现2个系统！
EOF_
}
