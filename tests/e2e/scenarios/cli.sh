# The command line, as a script in WinPE would use it: run through cmd with
# the output redirected, the exit codes in %ERRORLEVEL%, no window at all.

# cli_batch: the batch file the scenario runs, each command's output in
# F:\Out and its exit code echoed as "<name> <code>".
cli_batch() {
  local out=F:\\Out
  printf '@echo off\r\n'
  printf 'F:\\Kit\\Orvanta.exe %s > %s\\%s.txt\r\necho %s %%ERRORLEVEL%%\r\n' \
    '/?' "$out" usage usage \
    '-LIST' "$out" list list \
    '/repair /s C:\' "$out" bad-boot bad-boot \
    '/repair /x' "$out" unknown unknown \
    '/repair /s' "$out" no-value no-value \
    '/repair /default E:\Windows' "$out" no-such-default no-such-default
  printf 'ren F:\\Kit\\Bin\\bootsect.exe bootsect.off\r\n'
  printf 'F:\\Kit\\Orvanta.exe /repair > %s\\missing.txt\r\necho missing %%ERRORLEVEL%%\r\n' "$out"
  printf 'ren F:\\Kit\\Bin\\bootsect.off bootsect.exe\r\n'
  printf 'F:\\Kit\\Orvanta.exe /Repair -default d:\\windows > %s\\repair.txt\r\necho repair %%ERRORLEVEL%%\r\n' "$out"
  printf 'F:\\Kit\\Orvanta.exe /repair /s D: /log F:\\Out\\failed.log > %s\\failed.txt\r\necho failed %%ERRORLEVEL%%\r\n' "$out"
}

# The usage as /? prints it.
cli_usage() {
  cat <<'EOF_'
Orvanta 1.0：让硬盘上的 Windows 能从 BIOS 和 UEFI 固件重新启动

用法：
  Orvanta.exe                  打开窗口
  Orvanta.exe /?               显示本说明
  Orvanta.exe /list [/json 文件]
                               列出找到的系统、固件、EFI 系统分区、
                               各驱动器和 BCD 存储的启动项
  Orvanta.exe /repair [/s X:] [/default X:\Windows] [/nodefault] [/log 文件]
                      [/fwentry] [/plan] [/json 文件]
                               修复引导，与窗口里的“开始修复”相同
  Orvanta.exe /restore [/s X:] [/log 文件] [副本]
                               不给副本：列出修复时保留的旧 BCD 存储副本；
                               给出副本：把它换回原处，原来的 BCD 存储保留
                               为新的副本，再检查换回的 BCD 存储
    /s X:                      引导盘（默认：UEFI 电脑上为 EFI 系统分区，
                               否则为 C:）
    /default X:\Windows        设为默认系统（必须是 /list 列出的系统之一）
    /nodefault                 不指定：第一个找到的系统为默认系统
    /log 文件                  修复日志写到这个文件（默认：程序旁的 Logs
                               文件夹，不能写时为 %TEMP%）
    /fwentry                   UEFI 修复成功后，固件里没有 Windows 启动管理器
                               的启动项，或它不在启动顺序里时，写入它并排在
                               启动顺序的第一位（窗口里会询问）；安全启动会
                               拒绝启动管理器时不写入
    /plan                      只查看，不做任何更改：列出找到的系统、警告、
                               引导盘空间、安全启动的判断、BCD 存储和副本的
                               去向，以及修复会依次运行的命令
    /json 文件                 另把结果写成 JSON 文件，供脚本读取（也可用于
                               /list 和 /restore，字段见 README）；不能写时
                               不做任何更改
    副本                       /restore 列出的副本在引导盘上的路径（也可以
                               带上引导盘的盘符），例如：
      \EFI\Microsoft\Boot\bcd.orvanta-0003-20261208-153102-ok
参数不区分大小写，也可以用 - 代替 /。需要管理员权限。

退出代码：
  0  修复完成：每个 BCD 存储都已重建并通过检查；/restore 已列出副本，
     或已换回并通过检查
  1  没有完全修复：有修复工具失败，有 BCD 存储没有通过检查，UEFI 的
     BCD 存储写在固件无法从它启动的分区上，安全启动会拒绝启动管理器，
     /fwentry 没能写好固件启动项，或运行前确认了警告（修复日志里有详情）；
     /restore 已换回，但检查没有通过
  2  拒绝执行，没有做任何更改：参数或输入有误、缺少修复工具、没有找到
     系统、没有管理员权限、引导盘不能用、另一个 Orvanta 正在修复，或
     BCD 存储正被其他程序使用、无法另存；/restore 的副本不存在、不是
     本程序保留的或无法读取
  3  修复中止（修复工具无法启动、系统出错、注销或关机、控制台窗口被
     关闭）：修复可能只完成了一部分，修复日志里写明了做了什么；换回
     中止（副本无法移到原处、磁盘出错）：修复日志里写明了各 BCD 存储在哪里
使用 /plan 时：0 修复可以进行，没有警告；1 有警告（修复会照样进行，
  退出代码至少为 1）；2 修复会被拒绝

例如：
  Orvanta.exe /repair /s Z: /default D:\Windows
在命令提示符中直接输入时，请用 start /wait 运行，才会等修复结束并设置
%ERRORLEVEL%：
  start /wait Orvanta.exe /repair /s Z: /default D:\Windows
EOF_
}

scenario_command_line() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  folder F Out
  app F Kit
  echo 'bootsect exit 5 /nt60 D:' | faults
  cli_batch >"$(sandbox_folder "$S_PREFIX" F)/cli.bat"
  {
    echo 'launch C:\windows\system32\cmd.exe /c F:\cli.bat'
    echo 'nowindow 120000'
    printf 'print F:\\Out\\%s.txt\n' usage list bad-boot unknown no-value no-such-default missing repair failed
  } >"$S_DIR/script.txt"
  {
    printf '%s\n' 'usage 0' 'list 0' 'bad-boot 2' 'unknown 2' 'no-value 2' 'no-such-default 2' 'missing 2' \
      'repair 0' 'failed 1' 'no window'
    cli_usage
    printf '%s\n' '固件：BIOS' 'EFI 系统分区：BIOS 固件不从它启动，未查找' '磁盘：无' '驱动器：' 'glob   C: 固定磁盘，总线 *，有 Windows 文件夹' \
      'glob   D: 固定磁盘，总线 *，有 Windows 文件夹' 'glob   F: 固定磁盘*' '找到的系统：C:\Windows，D:\Windows' \
      'BCD 存储 C:\boot\bcd：无法读取（不是注册表配置单元文件）' 'BCD 存储 C:\EFI\Microsoft\Boot\bcd：不存在'
    printf '%s\n' '警告！' '引导盘“C:\”无效：请只填写盘符和冒号，例如 C:。' '修复未开始，没有做任何更改。'
    printf '%s\n' '无法识别的参数：/x' '输入 Orvanta.exe /? 查看用法。'
    printf '%s\n' '参数 /s 后面缺少盘符（例如 C:）。' '输入 Orvanta.exe /? 查看用法。'
    printf '%s\n' '警告！' '/default 指定的系统“E:\Windows”没有找到：它必须是 /list 列出的系统之一。' '修复未开始，没有做任何更改。'
    printf '%s\n' '警告！' '找不到修复工具 bootsect.exe，它应在：F:\Kit\bin\bootsect.exe' \
      '请把 bcdboot.exe 和 bootsect.exe 放进本程序所在文件夹的 Bin 文件夹。' \
      '这两个工具可以从同类的 Windows 取得（bcdboot.exe 在 Windows\System32 文件夹里，bootsect.exe 在 Windows 安装介质的 boot 文件夹里），也可以从 Windows ADK 取得。工具的位数必须与正在运行的 Windows 或 WinPE 相同（64 位 WinPE 用 64 位的工具）。' \
      '修复未开始，没有做任何更改。'
    local run
    for run in "$(bcdboot_run C: 'C:\Windows')" "$(bcdboot_run C: 'C:\Windows' uefi)" "$(bcdboot_run C: 'D:\Windows')" \
      "$(bcdboot_run C: 'D:\Windows' uefi)" "$(bootsect_run C:)"; do
      echo "运行：$run"
      echo 'glob   用时 * 秒，退出代码 0（0x00000000）'
    done
    printf '%s\n' '提示：' 'BIOS引导修复成功！' '提示：' 'UEFI引导修复成功！' '' 'glob 旧 BCD 存储保留在：C:\\boot\\bcd.orvanta-0001-????????-??????' \
      '要换回旧 BCD 存储，请在管理员命令提示符中运行 Orvanta.exe /restore，它会列出可以换回的副本。' \
      'glob 修复日志：F:\\Kit\\Logs\\Orvanta-*.log'
    for run in "$(bcdboot_run D: 'D:\Windows')" "$(bcdboot_run D: 'D:\Windows' uefi)" "$(bcdboot_run D: 'C:\Windows')" \
      "$(bcdboot_run D: 'C:\Windows' uefi)"; do
      echo "运行：$run"
      echo 'glob   用时 * 秒，退出代码 0（0x00000000）'
    done
    printf '%s\n' "运行：$(bootsect_run D:)" 'glob   用时 * 秒，退出代码 5（0x00000005）' '提示：' 'BIOS引导修复成功！' \
      '提示：' 'UEFI引导修复成功！' '警告！' '以下修复命令没有成功完成：' 'F:\Kit\bin\bootsect.exe /nt60 D: /mbr' \
      '退出代码：5（0x00000005）' '引导可能没有完全修复，请检查后再试。' '修复日志：F:\Out\failed.log'
  } | expect_ui
  { repair_runs C: 'C:\Windows' 'D:\Windows'; repair_runs D: 'D:\Windows' 'C:\Windows'; } | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' 'efi/microsoft/boot/bcd new' | expect_files C
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files D
}

# Started with arguments but with no console (from a shortcut): what it has
# to say is shown in a message box.
scenario_command_line_without_console() {
  drive C fixed
  drive F fixed
  app F Kit
  printf '%s\n' 'launch-detached F:\Kit\Orvanta.exe /list /s C:' 'message 20000' 'exited 20000' >"$S_DIR/script.txt"
  printf '%s\n' 'message Orvanta /s 和 /log 只能与 /repair 或 /restore 一起使用。\n输入 Orvanta.exe /? 查看用法。\n' \
    'exited 2' | expect_ui
}

# /fwentry in a pre-installation environment started from UEFI firmware,
# repairing onto NTFS: the switch is accepted, the reason nothing is written
# to the firmware is said, and the run exits 1 for the unbootable UEFI store.
# Wine has no firmware variables, so no entry could be written here anyway;
# the writing itself is proven against fakes and under EDK2.
scenario_command_line_fwentry() {
  drive C fixed
  drive F fixed
  winpe 2
  folder F Out
  app F Kit
  printf '@echo off\r\nF:\\Kit\\Orvanta.exe /repair /s C: /FWEntry > F:\\Out\\fwentry.txt\r\necho fwentry %%ERRORLEVEL%%\r\n' \
    >"$(sandbox_folder "$S_PREFIX" F)/cli.bat"
  printf '%s\n' 'launch C:\windows\system32\cmd.exe /c F:\cli.bat' 'nowindow 120000' 'print F:\Out\fwentry.txt' >"$S_DIR/script.txt"
  {
    printf '%s\n' 'fwentry 1' 'no window'
    local run
    for run in "$(bcdboot_run C: 'C:\Windows')" "$(bcdboot_run C: 'C:\Windows' uefi)" "$(bootsect_run C:)"; do
      echo "运行：$run"
      echo 'glob   用时 * 秒，退出代码 0（0x00000000）'
    done
    printf '%s\n' '提示：' 'BIOS引导修复成功！' '警告！' \
      'UEFI 引导文件已写入 C:，但 C: 是 NTFS 分区，UEFI 固件只能从 FAT32 格式的 EFI 系统分区启动，无法从 C: 启动。' \
      '没有找到 EFI 系统分区：请先确认硬盘上有 EFI 系统分区并给它分配盘符，再把它填为引导盘重新修复。' \
      '没有写入固件启动项（/fwentry）：UEFI 引导文件不在 UEFI 固件能启动的分区上。' 'glob 修复日志：F:\\Kit\\Logs\\Orvanta-*.log'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
}

# Ctrl+C in the console of the batch file that runs the repair, sent by a
# helper that shares the console while the stand-in bcdboot runs (the signal
# reaches the helper too, which notes whether it arrived): the tools have no
# console to be stopped through, the program ignores it while the repair runs,
# and the repair ends with the new stores and nothing left aside. Where Wine
# doesn't deliver the signal, the scenario is skipped and says so.
scenario_command_line_ctrl_c() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  store C bios
  store C uefi
  folder F Out
  app F Kit
  echo 'bcdboot delay 2000' | faults
  printf '@echo off\r\n%s\r\n%s\r\n%s\r\n' \
    'start /b F:\Driver\probe.exe ctrlc F:\Kit\Bin\standin.log bcdboot.exe F:\Out\ctrlc.txt' \
    'F:\Kit\Orvanta.exe /repair /log F:\Out\repair.log' \
    'echo repair %ERRORLEVEL% > F:\Out\exit.txt' >"$(sandbox_folder "$S_PREFIX" F)/ctrlc.bat"
  printf '%s\n' 'launch-console C:\windows\system32\cmd.exe /c F:\ctrlc.bat' 'waitfile F:\Out\repair.log 90000 === 修复结束' \
    'print F:\Out\ctrlc.txt' >"$S_DIR/script.txt"
  skip_unless F Out/ctrlc.txt 'ctrlc delivered' "Wine did not deliver Ctrl+C to the console's processes"
  printf '%s\n' 'file has === 修复结束' 'ctrlc delivered' | expect_ui
  repair_runs C: 'D:\Windows' 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'boot/bcd.orvanta-0001-<date> old' \
    'efi/microsoft/boot/bcd new' 'efi/microsoft/boot/bcd.orvanta-0001-<date> old' | expect_files C
}
