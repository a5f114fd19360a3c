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
# stands beside the BIOS store: that store stays where it is and the older
# backup is kept; the UEFI store is moved aside before the first tool, and its
# backup removed once the new store is found.
scenario_old_stores_moved() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  printf 'old backup of an interrupted run\r\n' >"$(sandbox_folder "$S_PREFIX" C)/boot/bcd.orvanta-old"
  app F Kit
  watch_stores | faults
  { echo 'window 20000'; repair_click 2; echo 'nomessage'; } | ui
  { echo 'window Orvanta'; repair_click_expected "$BIOS_OK" "$UEFI_OK"; echo 'nomessage'; } | expect_ui
  {
    bcdboot_run C: 'C:\Windows'
    stores_seen present present absent present
    bcdboot_run C: 'C:\Windows' uefi
    stores_seen present present absent present
    bootsect_run C:
    stores_seen present present present present
  } | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-old old' 'efi/microsoft/boot/bcd new' | expect_files C
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
  { echo 'window Orvanta'; repair_click_expected "$BIOS_OK" "$UEFI_OK"; echo 'nomessage'; } | expect_ui
  {
    bcdboot_run C: 'C:\Windows'
    stores_seen absent present absent present
    bcdboot_run C: 'C:\Windows' uefi
    stores_seen present present absent present
    bootsect_run C:
    stores_seen present present present present
  } | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
}

# The program is ended while a slow tool runs: the old stores lie beside the
# new ones. Run again, it keeps them: an existing backup is never replaced.
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
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
  } | expect_ui
  { repair_runs C: 'C:\Windows'; repair_runs C: 'C:\Windows'; } | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-old old' 'efi/microsoft/boot/bcd new' \
    'efi/microsoft/boot/bcd.orvanta-old old' | expect_files C
}

# Only the UEFI store is created: only the UEFI success is shown.
scenario_only_uefi() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  app F Kit
  echo 'bcdboot store none : /l zh-cn' | faults
  { echo 'window 20000'; repair_click 1; echo 'nomessage'; } | ui
  { echo 'window Orvanta'; repair_click_expected "$UEFI_OK"; echo 'nomessage'; } | expect_ui
  repair_runs C: 'D:\Windows' 'C:\Windows' | expect_log
  echo 'efi/microsoft/boot/bcd new' | expect_files C
}

# bootsect.exe is there but is no program: after the four bcdboot runs its
# start fails. The error names the program; the new stores the bcdboot runs
# wrote stay, the old ones beside them; the window returns to idle and the
# program goes on.
scenario_unstartable_tool() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  store C uefi
  app F Kit bad-bootsect
  { echo 'window 20000'; repair_click 1; printf '%s\n' 'nomessage' 'controls' 'exited 0'; } | ui
  {
    echo 'window Orvanta'
    logged_message 'Error! 错误 193：Bad EXE format for F:\Kit\bin\bootsect.exe.'
    printf '%s\n' 'caption repairButton 开始修复' 'nomessage'
    controls_expected idle C: 0 'C:\Windows' 'D:\Windows'
    echo 'running'
  } | expect_ui
  bcdboot_runs C: 'D:\Windows' 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-old old' 'efi/microsoft/boot/bcd new' \
    'efi/microsoft/boot/bcd.orvanta-old old' | expect_files C
}
