# The old BCD stores: moved aside before the first tool, kept beside the new
# ones as numbered copies after success, put back otherwise; never deleted.

watch_stores() {
  cat <<'EOF_'
watch C:\boot\bcd
watch C:\boot\bcd.orvanta-old
watch C:\EFI\Microsoft\Boot\bcd
watch C:\EFI\Microsoft\Boot\bcd.orvanta-old
EOF_
}

# stores_seen <present|absent>...: the stand-in's log lines for the files
# watched by watch_stores, in its order, as each tool run saw them (as many
# as states are given).
stores_seen() {
  local -a paths=('C:\boot\bcd' 'C:\boot\bcd.orvanta-old' 'C:\EFI\Microsoft\Boot\bcd' 'C:\EFI\Microsoft\Boot\bcd.orvanta-old')
  local i=0 state
  for state in "$@"; do
    echo "  ${paths[i]} $state"
    i=$((i + 1))
  done
}

# Both old stores exist, and a backup left by an interrupted earlier run
# stands beside the BIOS store: that backup becomes a dated copy and the run
# goes on as usual; both stores are moved aside before the first tool and
# kept under a dated name once the new ones pass their check.
scenario_old_stores_moved() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  printf 'old backup of an interrupted run\r\n' >"$(sandbox_folder "$S_PREFIX" C)/boot/bcd.orvanta-old"
  app F Kit
  watch_stores | faults
  { echo 'window 20000'; repair_click 2; echo 'nomessage'; } | ui
  {
    printf '%s\n' 'window Orvanta' "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd#2' 'C:\EFI\Microsoft\Boot\bcd')"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
  } | expect_ui
  {
    bcdboot_run C: 'C:\Windows'
    stores_seen absent present absent present
    bcdboot_run C: 'C:\Windows' uefi
    stores_seen present present absent present
    bootsect_run C:
    stores_seen present present present present
  } | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'boot/bcd.orvanta-0002-<date> old' 'efi/microsoft/boot/bcd new' \
    'efi/microsoft/boot/bcd.orvanta-0001-<date> old' | expect_files C
}

# The tools create no store: both old stores are put back, no message; the
# status line says where the log is.
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
click repairButton
waitfile F:\Kit\Bin\standin.log 30000 bootsect
waitcaption repairButton 30000 开始修复
nomessage
controls
EOF_
  {
    printf '%s\n' 'window Orvanta' 'file has bootsect' 'caption repairButton 开始修复' 'nomessage'
    controls_expected idle C: 0 'C:\Windows' | head -n -1
    echo 'glob status 修复日志：Orvanta-*.log'
  } | expect_ui
  {
    bcdboot_run C: 'C:\Windows'
    stores_seen absent present absent present
    bcdboot_run C: 'C:\Windows' uefi
    stores_seen absent present absent present
    bootsect_run C:
    stores_seen absent present absent present
  } | expect_log
  printf '%s\n' 'boot/bcd old' 'efi/microsoft/boot/bcd old' | expect_files C
}

# The boot tool writes its stores hidden and system: such old stores are
# moved aside like any other, and the new ones are reported.
scenario_hidden_stores() {
  drive C fixed
  drive F fixed
  store C bios hidden-system
  store C uefi hidden-system
  app F Kit
  watch_stores | faults
  { echo 'window 20000'; repair_click 2; echo 'nomessage'; } | ui
  {
    printf '%s\n' 'window Orvanta' "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd' 'C:\EFI\Microsoft\Boot\bcd')"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
  } | expect_ui
  {
    bcdboot_run C: 'C:\Windows'
    stores_seen absent present absent present
    bcdboot_run C: 'C:\Windows' uefi
    stores_seen present present absent present
    bootsect_run C:
    stores_seen present present present present
  } | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old hidden system' 'efi/microsoft/boot/bcd new' \
    'efi/microsoft/boot/bcd.orvanta-0001-<date> old hidden system' | expect_files C
}

# The program is ended while a slow tool runs: the old stores lie beside the
# new ones. Run again, it keeps them as the first copies, and the stores the
# first run wrote as the next ones, marked: they pass the check.
scenario_killed_then_run_again() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  app F Kit
  echo 'bootsect delay 30000' | faults
  ui <<'EOF_'
window 20000
click repairButton
waitfile F:\Kit\Bin\standin.log 30000 bootsect
kill
exited 10000
rename F:\Kit\Bin\standin.cfg F:\Kit\Bin\standin.off
launch F:\Kit\Orvanta.exe
window 20000
EOF_
  repair_click 2 | ui
  {
    printf '%s\n' 'window Orvanta' 'file has bootsect' 'exited 1' 'renamed F:\Kit\Bin\standin.cfg' 'window Orvanta'
    echo "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd#2+ok' 'C:\EFI\Microsoft\Boot\bcd#2+ok')"
    echo 'caption repairButton 开始修复'
  } | expect_ui
  { repair_runs C: 'C:\Windows'; repair_runs C: 'C:\Windows'; } | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'boot/bcd.orvanta-0002-<date>-ok new' \
    'efi/microsoft/boot/bcd new' 'efi/microsoft/boot/bcd.orvanta-0001-<date> old' \
    'efi/microsoft/boot/bcd.orvanta-0002-<date>-ok new' | expect_files C
}

# Only the UEFI store is created: only the UEFI success is shown.
scenario_only_uefi() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  app F Kit
  echo 'bcdboot store none /f bios' | faults
  { echo 'window 20000'; repair_click 1; echo 'nomessage'; } | ui
  { echo 'window Orvanta'; repair_click_expected "$UEFI_OK"; echo 'nomessage'; } | expect_ui
  repair_runs C: 'D:\Windows' 'C:\Windows' | expect_log
  echo 'efi/microsoft/boot/bcd new' | expect_files C
}

# bootsect.exe is there but is no program: after the four bcdboot runs its
# start fails. The error names the program; the stores the default's runs
# wrote pass their check and stay, the old ones beside them under a dated
# name; the window returns to idle and the program goes on.
scenario_unstartable_tool() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  store C uefi
  app F Kit bad-bootsect
  { echo 'window 20000'; repair_click 3; printf '%s\n' 'nomessage' 'controls' 'exited 0'; } | ui
  {
    printf '%s\n' 'window Orvanta' 'message Error! 修复已中止：修复工具 bootsect.exe 无法启动（错误 193，Bad EXE format for F:\Kit\bin\bootsect.exe）。\nBIOS 的 BCD 存储 C:\boot\bcd：已重建。\nUEFI 的 BCD 存储 C:\EFI\Microsoft\Boot\bcd：已重建。\n错误 193 和 216 通常表示这个工具是为另一种 Windows 制作的（例如在 32 位 WinPE 中运行了 64 位的工具），或者文件已损坏：请换用与正在运行的 Windows 或 WinPE 位数相同的完好工具，再重新修复。' "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd' 'C:\EFI\Microsoft\Boot\bcd')"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
    controls_expected idle C: 0 'C:\Windows' 'D:\Windows'
    echo 'running'
  } | expect_ui
  bcdboot_runs C: 'D:\Windows' 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'efi/microsoft/boot/bcd new' \
    'efi/microsoft/boot/bcd.orvanta-0001-<date> old' | expect_files C
}

# The default's run (D:\Windows, selected and kept) leaves a BIOS store whose
# boot manager has no default and only C:'s loader: a warning naming D:\Windows
# stands where the BIOS success would; the old store stays beside it.
scenario_store_lacking_the_default() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  app F Kit
  make_hive F Hives/lacking.hiv --firmware bios --loader 'C:\Windows' --default none --mark new
  echo 'bcdboot hive F:\Hives\lacking.hiv D:\Windows /s C: /f bios' | faults
  { printf '%s\n' 'window 20000' 'select installationList 1'; repair_click 2; echo 'nomessage'; } | ui
  {
    echo 'window Orvanta'
    echo 'message 警告！ BIOS 的 BCD 存储 C:\boot\bcd 已写入，但检查发现它不能正常引导：\n　默认启动项不是 Windows 启动项，应为默认系统 D:\Windows。\n　只有 1 个 Windows 启动项，修复的系统有 2 个。\n引导没有完全修复，请检查后再试。'
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd')"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
  } | expect_ui
  repair_runs C: 'C:\Windows' 'D:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'efi/microsoft/boot/bcd new' | expect_files C
  printf '%s\n' '*BIOS 的 BCD 存储 C:\boot\bcd：已重建，但检查没有通过' \
    '  检查：默认启动项不是 Windows 启动项，应为默认系统 D:\Windows。' | expect_repair_log beside
}

# The old UEFI store holds more than a rebuild writes: a boot-sector entry
# "Ubuntu" and Windows RE. Both are named as dropped, with what to do about
# Windows RE, and the old store is still on the disk as the first copy,
# marked: it passed the check.
scenario_old_store_entries_dropped() {
  drive C fixed
  drive F fixed
  old_store C uefi --loader 'C:\Windows' --boot-sector Ubuntu --winre
  app F Kit
  { echo 'window 20000'; repair_click 2; echo 'nomessage'; } | ui
  {
    printf '%s\n' 'window Orvanta' "message $BIOS_OK"
    logged_message "$UEFI_OK\\n\\nUEFI 的 BCD 存储重建后，旧 BCD 存储里的这些启动项不再有：\\n  “Ubuntu”（实模式启动扇区）\\n  “Windows Recovery Environment”（Windows 启动加载器）\\nWindows 恢复环境：请在修复后的 Windows 里以管理员身份运行 reagentc /info，再运行 reagentc /disable 和 reagentc /enable。\\n它们仍在旧 BCD 存储里，可以用 bcdedit /store 查看并找回。" \
      "$(glob_literal '\n旧 BCD 存储保留在：C:\EFI\Microsoft\Boot\bcd.orvanta-0001-')????????-??????-ok$(go_back_note C:)"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' 'efi/microsoft/boot/bcd.orvanta-0001-<date>-ok old' | expect_files C
  expect_repair_log beside <<'EOF_'
旧 BCD 存储 C:\EFI\Microsoft\Boot\bcd：启动项 4 个，设置对象 1 个
  实模式启动扇区
  description             Ubuntu
UEFI 的 BCD 存储 C:\EFI\Microsoft\Boot\bcd：已重建，检查通过
  旧 BCD 存储里有、新 BCD 存储里没有的启动项：
    “Ubuntu”（实模式启动扇区）
EOF_
}

# Every bcdboot ends with 5 (each leaving a store): no store counts as
# repaired, both old stores go back in their place, and only the warning
# listing the failed command lines is shown.
scenario_every_bcdboot_failing() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  app F Kit
  echo 'bcdboot exit 5' | faults
  { echo 'window 20000'; repair_click 1; echo 'nomessage'; } | ui
  {
    echo 'window Orvanta'
    logged_message "警告！ 以下修复命令没有成功完成：\\n$(bcdboot_run C: 'C:\Windows')\\n退出代码：5（0x00000005）\\n$(bcdboot_run C: 'C:\Windows' uefi)\\n退出代码：5（0x00000005）\\n引导可能没有完全修复，请检查后再试。"
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd old' 'efi/microsoft/boot/bcd old' | expect_files C
}

# One repair at a time: while the window's repair waits in its first tool
# (held until the test lets it go), a second Orvanta.exe /repair from a batch
# file is refused with exit 2 and runs no tool of its own (the tool log holds
# the window's runs alone); /list still works beside it. Then the window's
# repair ends as usual.
scenario_second_instance_refused() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  folder F Out
  app F Kit
  echo 'bcdboot waitfor F:\Out\go /f bios' | faults
  echo 'the signal that lets the first tool go on' >"$(sandbox_folder "$S_PREFIX" F)/Out/go.txt"
  printf '@echo off\r\n%s\r\n%s\r\n%s\r\n%s\r\n' \
    'F:\Kit\Orvanta.exe /repair /log F:\Out\second.log > F:\Out\second.txt' '>F:\Out\exit.txt echo repair %ERRORLEVEL%' \
    'F:\Kit\Orvanta.exe /list > F:\Out\list.txt' '>>F:\Out\exit.txt echo list %ERRORLEVEL%' \
    >"$(sandbox_folder "$S_PREFIX" F)/second.bat"
  {
    printf '%s\n' 'window 20000' 'click repairButton' 'waitfile F:\Kit\Bin\standin.log 30000 bcdboot'
    printf '%s\n' 'runwait 60000 C:\windows\system32\cmd.exe /c F:\second.bat' 'print F:\Out\exit.txt' \
      'waitfile F:\Out\second.txt 5000 另一个 Orvanta 正在修复系统引导，请等它完成后再修复。' 'show repairButton' \
      'rename F:\Out\go.txt F:\Out\go' 'message 30000' 'message 30000' 'waitcaption repairButton 10000 开始修复'
  } | ui
  {
    printf '%s\n' 'window Orvanta' 'file has bcdboot' 'ran 0' 'repair 2' 'list 0' \
      'file has 另一个 Orvanta 正在修复系统引导，请等它完成后再修复。' 'caption repairButton 正在修复' 'enabled repairButton 0' \
      'renamed F:\Out\go.txt' "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd' 'C:\EFI\Microsoft\Boot\bcd')"
    echo 'caption repairButton 开始修复'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'efi/microsoft/boot/bcd new' \
    'efi/microsoft/boot/bcd.orvanta-0001-<date> old' | expect_files C
}
