# A kept store put back with /restore, as a script would: run through cmd
# with the output redirected, the exit codes in %ERRORLEVEL%.

# restore_batch: a repair, the listing of the kept copies, a name that is no
# kept copy, and the copy the repair kept of the old UEFI store put back
# (its name, which holds the time, found by the batch); each command's output
# in F:\Out and its exit code echoed as "<name> <code>".
restore_batch() {
  printf '@echo off\r\n'
  printf 'F:\\Kit\\Orvanta.exe /repair > F:\\Out\\repair.txt\r\necho repair %%ERRORLEVEL%%\r\n'
  printf 'F:\\Kit\\Orvanta.exe /restore /json F:\\Out\\list.json > F:\\Out\\list.txt\r\necho list %%ERRORLEVEL%%\r\n'
  printf 'F:\\Kit\\Orvanta.exe /restore \\EFI\\Microsoft\\Boot\\bcd.LOG1 /json F:\\Out\\refused.json > F:\\Out\\refused.txt\r\necho refused %%ERRORLEVEL%%\r\n'
  printf 'for %%%%f in (C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-*) do set copy=%%%%~nxf\r\n'
  printf 'F:\\Kit\\Orvanta.exe /restore \\EFI\\Microsoft\\Boot\\%%copy%% /json F:\\Out\\restore.json > F:\\Out\\restore.txt\r\necho restore %%ERRORLEVEL%%\r\n'
}

# The old UEFI store is a real one: the repair keeps it as the first copy,
# marked (it passed the check), and writes new stores. /restore lists that
# copy; put back, its bytes are in place again, the store the repair wrote
# is kept as the second copy, marked, and the check's result is printed;
# exit 0. The stand-in tools run for the repair alone. Each /restore's
# summary for scripts says the same.
scenario_restore_after_repair() {
  drive C fixed
  drive F fixed
  old_store C uefi --loader 'C:\Windows'
  cp "$(sandbox_folder "$S_PREFIX" C)/EFI/Microsoft/Boot/bcd" "$S_DIR/old-uefi-store"
  folder F Out
  app F Kit
  restore_batch >"$(sandbox_folder "$S_PREFIX" F)/restore.bat"
  {
    echo 'launch C:\windows\system32\cmd.exe /c F:\restore.bat'
    echo 'nowindow 120000'
    printf 'print F:\\Out\\%s.txt\n' list refused restore
  } >"$S_DIR/script.txt"
  {
    printf '%s\n' 'repair 0' 'list 0' 'refused 2' 'restore 0' 'no window'
    printf '%s\n' '引导盘 C: 上保留的旧 BCD 存储：' 'BCD 存储 \boot\bcd：没有旧副本' \
      'BCD 存储 \EFI\Microsoft\Boot\bcd：旧副本 1 个（从旧到新）' \
      'glob   \\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-????????-??????-ok' \
      'glob     第 1 个，保存于 ????-??-?? ??:??:??，当时通过了检查' \
      'glob     默认：“Windows 10”（partition=MBR 磁盘 * \\Windows）；Windows 启动项：“Windows 10”（partition=MBR 磁盘 * \\Windows）' \
      '换回其中一个（需要管理员权限），例如：' \
      'glob   Orvanta.exe /restore \\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-????????-??????-ok'
    printf '%s\n' '警告！' '“\EFI\Microsoft\Boot\bcd.LOG1”不是本程序保留的旧 BCD 存储（名称形如 bcd.orvanta-0003-20261208-153102-ok）：请用 Orvanta.exe /restore 列出的路径。' \
      '没有换回，没有做任何更改。'
    printf '%s\n' '提示：' \
      'glob 已换回 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：现在是旧副本 bcd.orvanta-0001-????????-??????-ok。' \
      'glob 换回前的 BCD 存储保留为 C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0002-????????-??????-ok。' \
      '检查通过：它能读取，默认启动项是这台电脑上的系统的 Windows 启动项。' \
      '（系统没有告知各系统所在的分区，启动项只按 Windows 文件夹核对。）' \
      'glob 修复日志：F:\\Kit\\Logs\\Orvanta-*.log'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd old' 'efi/microsoft/boot/bcd.orvanta-0002-<date>-ok new' | expect_files C
  expect_same_bytes C EFI/Microsoft/Boot/bcd "$S_DIR/old-uefi-store"
  printf '%s\n' restore 0 '\boot\bcd true 0' '\EFI\Microsoft\Boot\bcd true 1' '1 true true Windows 10' |
    expect_jq F Out/list.json \
      '.command, .exitCode, (.restore.copies[] | "\(.store) \(.listed) \(.copies | length)"),
       (.restore.copies[1].copies[0] | "\(.number) \(.passed) \(.readable) \(.defaultEntry.description)")'
  printf '%s\n' 2 notAKeptCopy notAKeptCopy false | expect_jq F Out/refused.json '.exitCode, .refusal.code, .restore.refusal, .restore.restored'
  printf '%s\n' restore true 0 null true true true 'glob C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0002-????????-??????-ok' |
    expect_jq F Out/restore.json \
      '.command, .completed, .exitCode, .refusal, .restore.restored, .restore.after.readable, .restore.check.passed,
       .restore.replacedKeptAt'
}
