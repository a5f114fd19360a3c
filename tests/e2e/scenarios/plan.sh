# The plan and the summary for scripts, as a WinPE script would use them:
# /repair /plan first, then the repair itself and a refused one, each with
# /json, run through cmd with the output redirected.

# plan_batch: snapshots of the drives before and after the plan (through the
# probe, which sees what the program sees), the plan, the repair, and a
# repair refused for a /default nothing found has.
plan_batch() {
  local snapshot='F:\Driver\probe.exe snapshot C:\boot C:\EFI D:\ F:\Kit'
  printf '@echo off\r\n'
  printf '%s > F:\\Out\\before.txt\r\n' "$snapshot"
  printf 'F:\\Kit\\Orvanta.exe /repair /plan /json F:\\Out\\plan.json > F:\\Out\\plan.txt\r\necho plan %%ERRORLEVEL%%\r\n'
  printf '%s > F:\\Out\\after.txt\r\n' "$snapshot"
  printf 'F:\\Kit\\Orvanta.exe /repair /json F:\\Out\\repair.json > F:\\Out\\repair.txt\r\necho repair %%ERRORLEVEL%%\r\n'
  printf 'F:\\Kit\\Orvanta.exe /repair /default E:\\Windows /json F:\\Out\\refused.json > F:\\Out\\refused.txt\r\n'
  printf 'echo refused %%ERRORLEVEL%%\r\n'
}

# The plan prints the command lines the repair then runs (the stand-in
# tools log them), and changes no file on the drives; /json after the plan,
# the repair and the refusal, read back with jq.
scenario_command_line_plan_and_json() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  folder F Out
  app F Kit
  plan_batch >"$(sandbox_folder "$S_PREFIX" F)/plan.bat"
  printf '%s\n' 'launch C:\windows\system32\cmd.exe /c F:\plan.bat' 'nowindow 120000' 'print F:\Out\plan.txt' >"$S_DIR/script.txt"
  local runs
  runs=$(repair_runs C: 'D:\Windows' 'C:\Windows')
  {
    printf '%s\n' 'plan 0' 'repair 0' 'refused 2' 'no window'
    printf '%s\n' '固件：BIOS' 'EFI 系统分区：BIOS 固件不从它启动，未查找' '磁盘：无' '驱动器：' 'glob   C: 固定磁盘，总线 *，有 Windows 文件夹' \
      'glob   D: 固定磁盘，总线 *，有 Windows 文件夹' 'glob   F: 固定磁盘*' '找到的系统：C:\Windows，D:\Windows' '' \
      '修复计划（只查看，不做任何更改）：' 'glob 引导盘：C:（*）' 'glob 引导盘可用空间：* MB，引导文件需要约 * MB' \
      '修复顺序（最后一个为默认系统）：D:\Windows，C:\Windows' 'BCD 存储：' \
      '  C:\boot\bcd：修复时先移到 C:\boot\bcd.orvanta-old；工具成功后旧 BCD 存储保留在 C:\boot，名为 bcd.orvanta-<编号>-<日期>-<时间>（检查通过的再加 -ok），失败则放回原处' \
      '  C:\EFI\Microsoft\Boot\bcd：不存在，由 bcdboot 新建' '依次运行的命令：'
    sed 's/^/  /' <<<"$runs"
    printf '%s\n' 'Bin 文件夹里的 bcdboot 失败时，改用该系统自带的 bcdboot 以相同参数再运行一次。' \
      '结论：可以修复，没有警告（退出代码 0）。以上只是计划，没有做任何更改。'
  } | expect_ui
  expect_log <<<"$runs"
  expect_same F Out/before.txt Out/after.txt
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'efi/microsoft/boot/bcd new' | expect_files C
  {
    printf '%s\n' 1 plan true 0 null 'C:\boot\bcd moveAside' 'C:\EFI\Microsoft\Boot\bcd create'
    cat <<<"$runs"
  } | expect_jq F Out/plan.json \
    '.schemaVersion, .command, .completed, .exitCode, .refusal, (.plan.stores[] | .path + " " + .step), .plan.commandLines[]'
  {
    printf '%s\n' repair true 0 null 'C:\Windows default' 'D:\Windows' 'C:\boot\bcd repaired true' \
      'C:\EFI\Microsoft\Boot\bcd repaired true' 'glob C:\\boot\\bcd.orvanta-0001-????????-?????? keptAs' true
    sed 's/$/ 0/' <<<"$runs"
  } | expect_jq F Out/repair.json \
    '.command, .completed, .exitCode, .stopReason,
     (.installations[] | .folder + (if .default then " default" else "" end)),
     (.stores[] | "\(.path) \(.outcome) \(.check.passed)"), (.keptCopies[] | "\(.path) \(.how)"),
     ([.toolRuns[].commandLine] == .plan.commandLines), (.toolRuns[] | "\(.commandLine) \(.exitCode)")'
  printf '%s\n' repair true 2 unknownDefault 'glob */default 指定的系统“E:\\Windows”没有找到*' 0 null 2 |
    expect_jq F Out/refused.json \
      '.command, .completed, .exitCode, .refusal.code, (.refusal.message | split("\r\n") | .[0]), (.toolRuns | length), .plan, (.installations | length)'
}
