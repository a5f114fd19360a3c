# The old BCD stores: moved aside before the first tool, removed after
# success, put back otherwise; hidden stores left alone.

watch_stores() {
  cat <<'EOF_'
watch C:\boot\bcd
watch C:\boot\bcd.orvanta-old
watch C:\EFI\Microsoft\Boot\bcd
watch C:\EFI\Microsoft\Boot\bcd.orvanta-old
EOF_
}

# Both old stores (and a backup left by an interrupted earlier run) exist:
# both are moved aside before the first tool, the backups are removed once
# the new stores are found.
scenario_old_stores_moved() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  printf 'old backup of an interrupted run\r\n' >"$(sandbox_folder "$S_PREFIX" C)/boot/bcd.orvanta-old"
  app F Kit
  watch_stores | faults
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
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
  C:\boot\bcd absent
  C:\boot\bcd.orvanta-old present
  C:\EFI\Microsoft\Boot\bcd absent
  C:\EFI\Microsoft\Boot\bcd.orvanta-old present
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
  C:\boot\bcd present
  C:\boot\bcd.orvanta-old present
  C:\EFI\Microsoft\Boot\bcd absent
  C:\EFI\Microsoft\Boot\bcd.orvanta-old present
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
  C:\boot\bcd present
  C:\boot\bcd.orvanta-old present
  C:\EFI\Microsoft\Boot\bcd present
  C:\EFI\Microsoft\Boot\bcd.orvanta-old present
EOF_
  expect_files C <<'EOF_'
boot/bcd new
efi/microsoft/boot/bcd new
EOF_
}

# The tools create no store: both old stores are put back, no message.
scenario_stores_put_back() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  app F Kit
  {
    watch_stores
    echo 'bcdboot store none'
  } | faults
  ui <<'EOF_'
window 20000
click Command4
waitfile F:\Kit\Bin\standin.log 30000 bootsect
waitcaption Command4 30000 开始修复
nomessage
controls
EOF_
  expect_ui <<'EOF_'
window Orvanta
file has bootsect
caption Command4 开始修复
nomessage
caption Command4 开始修复
enabled Command4 1
caption Command1 选择...
enabled Command1 1
text Text1 C:
enabled Text1 1
combo RDriver count 1
combo RDriver entry 0 C:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
check Check1 主系统 1
enabled Check1 1
status 当前电脑硬盘里共发现1个系统！
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
  C:\boot\bcd absent
  C:\boot\bcd.orvanta-old present
  C:\EFI\Microsoft\Boot\bcd absent
  C:\EFI\Microsoft\Boot\bcd.orvanta-old present
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
  C:\boot\bcd absent
  C:\boot\bcd.orvanta-old present
  C:\EFI\Microsoft\Boot\bcd absent
  C:\EFI\Microsoft\Boot\bcd.orvanta-old present
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
  C:\boot\bcd absent
  C:\boot\bcd.orvanta-old present
  C:\EFI\Microsoft\Boot\bcd absent
  C:\EFI\Microsoft\Boot\bcd.orvanta-old present
EOF_
  expect_files C <<'EOF_'
boot/bcd old
efi/microsoft/boot/bcd old
EOF_
}

# A hidden old store is not found: it is not moved, and since the BIOS
# tool writes no new one, no BIOS success is reported.
scenario_hidden_store() {
  drive C fixed
  drive F fixed
  store C bios hidden
  app F Kit
  {
    echo 'watch C:\boot\bcd'
    echo 'watch C:\boot\bcd.orvanta-old'
    echo 'bcdboot store none : /l zh-cn'
  } | faults
  ui <<'EOF_'
window 20000
click Command4
message 30000
waitcaption Command4 10000 开始修复
nomessage
EOF_
  expect_ui <<'EOF_'
window Orvanta
message 提示： UEFI引导修复成功！
caption Command4 开始修复
nomessage
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
  C:\boot\bcd present
  C:\boot\bcd.orvanta-old absent
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
  C:\boot\bcd present
  C:\boot\bcd.orvanta-old absent
F:\Kit\bin\bootsect.exe /nt60 C: /mbr
  C:\boot\bcd present
  C:\boot\bcd.orvanta-old absent
EOF_
  expect_files C <<'EOF_'
boot/bcd old hidden
efi/microsoft/boot/bcd new
EOF_
}

# Only the UEFI store is created: only the UEFI success is shown.
scenario_only_uefi() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  app F Kit
  echo 'bcdboot store none : /l zh-cn' | faults
  ui <<'EOF_'
window 20000
click Command4
message 30000
waitcaption Command4 10000 开始修复
nomessage
EOF_
  expect_ui <<'EOF_'
window Orvanta
message 提示： UEFI引导修复成功！
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
  expect_files C <<'EOF_'
efi/microsoft/boot/bcd new
EOF_
}

# bootsect.exe is there but is no program: after the four bcdboot runs its
# start fails. The error's number and description are shown, the old
# stores are put back, the window returns to idle and the program goes on.
scenario_unstartable_tool() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  store C uefi
  app F Kit bad-bootsect
  ui <<'EOF_'
window 20000
click Command4
message 30000
waitcaption Command4 10000 开始修复
nomessage
controls
exited 0
EOF_
  expect_ui <<'EOF_'
window Orvanta
glob message Error! 错误 193：*
caption Command4 开始修复
nomessage
caption Command4 开始修复
enabled Command4 1
caption Command1 选择...
enabled Command1 1
text Text1 C:
enabled Text1 1
combo RDriver count 2
combo RDriver entry 0 C:\Windows
combo RDriver entry 1 D:\Windows
combo RDriver selected 0 C:\Windows
enabled RDriver 1
check Check1 主系统 1
enabled Check1 1
status 当前电脑硬盘里共发现2个系统！
running
EOF_
  expect_log <<'EOF_'
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /l zh-cn
F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f uefi /l zh-cn
EOF_
  expect_files C <<'EOF_'
boot/bcd old
efi/microsoft/boot/bcd old
EOF_
}
