# A drive that doesn't answer: a FUSE file system (lib/slowfs.py) holds the
# volume queries and directory listings of one program until the script
# releases them. The order of what the driver prints is the order of events:
# everything before "renamed F:\Slow\hold" happened while the calls waited.

# The probe: what the slow drive blocks stops only the thread that asked, not
# Wine. While a copy of the probe (stuck.exe) waits on D:, a second Wine
# process asks the same drive and gets its answer; the first gets its own
# once released.
scenario_slow_drive_probe() {
  drive C fixed
  drive F fixed
  app F Kit
  slow_drive D windows F Slow stuck.exe
  cp "$E2E_TOOLS/probe.exe" "$(sandbox_folder "$S_PREFIX" F)/Driver/stuck.exe"
  skip_unless f Slow/ready ready 'no FUSE here'
  cat >"$S_DIR/script.txt" <<'EOF_'
launch C:\windows\system32\cmd.exe /c F:\Driver\stuck.exe type D: >F:\Slow\stuck.txt
waitfile F:\Slow\events 20000 blocked
launch C:\windows\system32\cmd.exe /c F:\Driver\probe.exe type D: >F:\Slow\second.txt
exited 20000
print F:\Slow\second.txt
print F:\Slow\stuck.txt
rename F:\Slow\hold F:\Slow\go
waitfile F:\Slow\stuck.txt 20000 fixed
EOF_
  expect_ui <<'EOF_'
file has blocked
exited 0
type D: fixed
renamed F:\Slow\hold
file has fixed
EOF_
  expect_text F Slow/events <<'EOF_'
blocked statfs / stuck.exe
released
answered statfs /
EOF_
}

# The window while D: doesn't answer: it is shown at once and says it
# surveys, its size toggles, and at the deadline the status line names D:;
# the question before the run names it too, and C: is repaired. Once D:
# answers, the next click asks it again and repairs it as well.
scenario_slow_drive() {
  drive C fixed
  drive F fixed
  app F Kit
  slow_drive D windows F Slow Orvanta.exe
  skip_unless f Slow/ready ready 'no FUSE here'
  {
    printf '%s\n' 'shown 20000' 'waitfile F:\Slow\events 20000 blocked' 'show statusLine' 'show repairButton' \
      'show browseButton' 'maximize' 'size' 'window 30000' 'show statusLine' 'show installationList' \
      'show repairButton' 'click repairButton' 'message 30000' 'message 30000' 'message 30000' \
      'waitcaption repairButton 10000 开始修复' 'rename F:\Slow\hold F:\Slow\go' 'waitfile F:\Slow\events 10000 answered'
    repair_click 2
    printf '%s\n' 'close' 'exited 10000'
  } | ui
  {
    printf '%s\n' 'shown Orvanta' 'file has blocked' 'status 正在查找系统……'
    button_expected repairButton 开始修复 0
    button_expected browseButton 选择... 0
    printf '%s\n' 'size normal outer 394x333 client 388x308' 'window Orvanta'
    echo 'status 当前电脑硬盘里共发现1个系统！\n驱动器 D: 没有响应，已跳过'
    list_expected 1 0 'C:\Windows'
    button_expected repairButton 开始修复 1
    echo 'message 警告！ 驱动器 D: 10 秒没有响应，已跳过：它上面的系统不会被修复。\n选“否”则不做任何更改。是否继续修复？'
    echo "message $BIOS_OK"
    logged_message "$UEFI_OK"
    printf '%s\n' 'caption repairButton 开始修复' 'renamed F:\Slow\hold' 'file has answered'
    echo "message $BIOS_OK"
    logged_message "$UEFI_OK" "$(kept_note 'C:\boot\bcd+ok' 'C:\EFI\Microsoft\Boot\bcd+ok')"
    printf '%s\n' 'caption repairButton 开始修复' 'exited 0'
  } | expect_ui
  { repair_runs C: 'C:\Windows'; repair_runs C: 'D:\Windows' 'C:\Windows'; } | expect_log
  printf '%s\n' 'blocked statfs / Orvanta.exe' 'released' 'answered statfs /' | expect_text F Slow/events
}

# The command line against D: that doesn't answer: /list ends at the deadline
# and names it; /repair with D: as the boot partition is refused. Both end
# while D: still holds their calls.
scenario_slow_drive_command_line() {
  drive C fixed
  drive F fixed
  folder F Out
  app F Kit
  slow_drive D windows F Slow Orvanta.exe
  skip_unless f Slow/ready ready 'no FUSE here'
  printf '@echo off\r\nF:\\Kit\\Orvanta.exe /list > F:\\Out\\list.txt\r\necho list %%ERRORLEVEL%%\r\n%s\r\n%s\r\n' \
    'F:\Kit\Orvanta.exe /repair /s D: > F:\Out\refused.txt' 'echo refused %ERRORLEVEL%' \
    >"$(sandbox_folder "$S_PREFIX" F)/cli.bat"
  {
    echo 'launch C:\windows\system32\cmd.exe /c F:\cli.bat'
    printf '%s\n' 'nowindow 120000' 'print F:\Out\list.txt' 'print F:\Out\refused.txt' 'rename F:\Slow\hold F:\Slow\go'
  } >"$S_DIR/script.txt"
  {
    printf '%s\n' 'list 0' 'refused 2' 'no window'
    printf '%s\n' '固件：BIOS' 'EFI 系统分区：BIOS 固件不从它启动，未查找' '磁盘：无' '驱动器：' \
      'glob   C: 固定磁盘，总线 *，有 Windows 文件夹' '  D: 没有响应' 'glob   F: 固定磁盘*' '找到的系统：C:\Windows' \
      '驱动器 D: 10 秒没有响应，已跳过：它上面的系统不会被修复' 'BCD 存储 C:\boot\bcd：不存在' \
      'BCD 存储 C:\EFI\Microsoft\Boot\bcd：不存在'
    printf '%s\n' '警告！' '引导盘 D: 10 秒没有响应：引导文件写不到一个不响应的磁盘上。' \
      '请检查这个磁盘（数据线、电源，或换一个接口）后重新运行本程序，或改用别的分区作引导盘。' '修复未开始，没有做任何更改。'
    echo 'renamed F:\Slow\hold'
  } | expect_ui
  # Each program's own call: both ended before it was let go.
  printf '%s\n' 'blocked statfs / Orvanta.exe' 'blocked statfs / Orvanta.exe' 'released' 'answered statfs /' \
    'answered statfs /' | expect_text F Slow/events
}
