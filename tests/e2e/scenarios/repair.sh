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
select RDriver 1
click Command4
waitmessage 30000
show Command4
show Command1
show Text1
show RDriver
dismiss
message 30000
waitcaption Command4 10000 开始修复
nomessage
controls
close
exited 10000
EOF_
  expect_ui <<'EOF_'
window Orvanta
caption Command4 开始修复
enabled Command4 1
caption Command1 选择...
enabled Command1 1
text Text1 C:
enabled Text1 1
combo RDriver count 3
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver entry 2 E:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
check Check1 主系统 1
enabled Check1 1
status 当前电脑硬盘里共发现3个系统！
message 提示： BIOS引导修复成功！
caption Command4 正在修复
enabled Command4 0
caption Command1 选择...
enabled Command1 0
text Text1 C:
enabled Text1 0
combo RDriver count 3
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver entry 2 E:\Windows
combo RDriver selected 1 D:\Windows
enabled RDriver 0
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
caption Command4 开始修复
enabled Command4 1
caption Command1 选择...
enabled Command1 1
text Text1 C:
enabled Text1 1
combo RDriver count 3
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver entry 2 E:\Windows
combo RDriver selected 1 D:\Windows
enabled RDriver 1
check Check1 主系统 1
enabled Check1 1
status 当前电脑硬盘里共发现3个系统！
exited 0
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe E:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe E:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
  expect_files C <<'EOF_'
boot/bcd new
efi/microsoft/boot/bcd new
EOF_
}

# The check box unchecked: entry 0 is the default whatever was selected.
scenario_check_unchecked() {
  drive C fixed
  drive D fixed windows
  drive E fixed windows
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
select RDriver 1
sendclick Check1
show Check1
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
nomessage
show RDriver
show Check1
EOF_
  expect_ui <<'EOF_'
window Orvanta
check Check1 主系统 0
enabled Check1 1
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
combo RDriver count 3
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver entry 2 E:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
check Check1 主系统 0
enabled Check1 1
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe E:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe E:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
  expect_files C <<'EOF_'
boot/bcd new
efi/microsoft/boot/bcd new
EOF_
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
  ui <<'EOF_'
window 20000
show RDriver
show Status
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
nomessage
EOF_
  expect_ui <<'EOF_'
window Orvanta
combo RDriver count 1
combo RDriver entry 0 C:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
status 当前电脑硬盘里共发现1个系统！
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
  expect_files C <<'EOF_'
boot/bcd new
efi/microsoft/boot/bcd new
EOF_
}

# Another boot partition typed into Text1 (in lower case, which is valid):
# the stores and every command line use it, C:'s old store stays untouched.
scenario_other_boot_partition() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  store D bios
  app F Kit
  ui <<'EOF_'
window 20000
settext Text1 d:
show Text1
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
nomessage
show Text1
EOF_
  expect_ui <<'EOF_'
window Orvanta
text Text1 d:
enabled Text1 1
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
text Text1 d:
enabled Text1 1
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe D:\Windows /s d: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s d: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s d: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s d: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 d: /mbr
EOF_
  expect_files C <<'EOF_'
boot/bcd old
EOF_
  expect_files D <<'EOF_'
boot/bcd new
efi/microsoft/boot/bcd new
EOF_
  expect_no_file c EFI
}

# A blank in the application folder: each program path is quoted, so the
# decoy F:\Repair.exe, named after the path's first word, never runs.
scenario_blank_in_path() {
  drive C fixed
  drive F fixed
  app F 'Repair Kit'
  cp "$E2E_TOOLS/standin.exe" "$(sandbox_folder "$S_PREFIX" F)/Repair.exe"
  ui <<'EOF_'
window 20000
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
nomessage
EOF_
  expect_ui <<'EOF_'
window Orvanta
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
EOF_
  expect_log <<'EOF_'
"F:\Repair Kit\Bin\bcdboot.exe" C:\Windows /s C: /l zh-cn
"F:\Repair Kit\Bin\bcdboot.exe" C:\Windows /s C: /f uefi /l zh-cn
"F:\Repair Kit\bin\bootsect.exe" /nt60 C: /mbr
EOF_
  expect_files C <<'EOF_'
boot/bcd new
efi/microsoft/boot/bcd new
EOF_
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
  ui <<'EOF_'
window 20000
show RDriver
show Status
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
nomessage
EOF_
  expect_ui <<'EOF_'
window Orvanta
combo RDriver count 4
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver entry 2 T:\Windows
combo RDriver entry 3 V:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
status 当前电脑硬盘里共发现4个系统！
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe V:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe V:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe T:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe T:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
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
  ui <<'EOF_'
window 20000
click Command4
message 30000
message 30000
message 30000
waitcaption Command4 10000 开始修复
nomessage
EOF_
  expect_ui <<'EOF_'
window Orvanta
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
message 警告！ 以下修复命令没有成功完成：\nF:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn\n退出代码：5（0x00000005）\nF:\Kit\bin\bootsect.exe /nt60 C: /mbr\n退出代码：259（0x00000103）\n引导可能没有完全修复，请检查后再试。
caption Command4 开始修复
nomessage
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
}

# The selected installation is gone at the rescan: entry 0 becomes the default.
scenario_installation_removed() {
  drive C fixed
  drive D fixed windows
  drive E fixed windows
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
select RDriver 1
rename D:\Windows D:\Windows.old
click Command4
message 30000
message 30000
waitcaption Command4 10000 开始修复
show RDriver
EOF_
  expect_ui <<'EOF_'
window Orvanta
renamed D:\Windows
message 提示： BIOS引导修复成功！
message 提示： UEFI引导修复成功！
caption Command4 开始修复
combo RDriver count 2
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 E:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe E:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe E:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
EOF_
}
