# What the tools wrote, the repair log, and the installation's own bcdboot.

# On a Chinese system (code page 936) the tools write GBK, some UTF-16 or
# UTF-8: each failed command line shows the tool's last lines intact, and the
# log beside the program holds every command line, exit code, output and message.
scenario_tool_output_in_box_and_log() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  wine_locale zh_CN.UTF-8
  app F Kit
  faults <<'EOF_'
bcdboot exit 1 D:\Windows /s C: /f bios /l
bcdboot print gbk:err D:\Windows /s C: /f bios /l | Failure when attempting to copy boot files.\r\n无法复制引导文件。\r\n
bcdboot exit 2 D:\Windows /s C: /f uefi
bcdboot print utf16:out D:\Windows /s C: /f uefi | 无法映射驱动器分区。\r\n
bootsect exit 3
bootsect print utf8:err | 引导扇区更新失败。\r\n
EOF_
  { echo 'window 20000'; repair_click 3; } | ui
  {
    echo 'window Orvanta'
    repair_click_expected "$BIOS_OK" "$UEFI_OK" "警告！ 以下修复命令没有成功完成：\\n$(bcdboot_run C: 'D:\Windows')\\n退出代码：1（0x00000001）\\n　Failure when attempting to copy boot files.\\n　无法复制引导文件。\\n$(bcdboot_run C: 'D:\Windows' uefi)\\n退出代码：2（0x00000002）\\n　无法映射驱动器分区。\\n$(bootsect_run C:)\\n退出代码：3（0x00000003）\\n　引导扇区更新失败。\\n引导可能没有完全修复，请检查后再试。"
  } | expect_ui
  repair_runs C: 'D:\Windows' 'C:\Windows' | expect_log
  expect_repair_log beside <<'EOF_'
Orvanta 1.0（x*）修复日志
管理员权限：有
固件：BIOS
  C: 固定磁盘*有 Windows 文件夹
  D: 固定磁盘*有 Windows 文件夹
找到的系统：C:\Windows，D:\Windows
=== 修复开始 *
引导盘：C:（NTFS）
*] 运行：F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f bios /l zh-cn
  用时 * 秒，退出代码 1（0x00000001）
  标准错误：
    Failure when attempting to copy boot files.
    无法复制引导文件。
*] 运行：F:\Kit\Bin\bcdboot.exe D:\Windows /s C: /f uefi /l zh-cn
  用时 * 秒，退出代码 2（0x00000002）
  标准输出：
    无法映射驱动器分区。
*] 运行：F:\Kit\Bin\bcdboot.exe C:\Windows /s C: /f bios /l zh-cn
  用时 * 秒，退出代码 0（0x00000000）
*] 运行：F:\Kit\bin\bootsect.exe /nt60 C: /mbr
  用时 * 秒，退出代码 3（0x00000003）
  标准错误：
    引导扇区更新失败。
=== 修复结束 *
BIOS 的 BCD 存储 C:\boot\bcd：已重建，检查通过
  检查：系统没有告知各系统所在的分区，启动项只按 Windows 文件夹核对，无法核对分区
  新 BCD 存储：启动项 3 个，设置对象 0 个
    Windows 启动加载器
    identifier              {*}
    device                  partition=MBR 磁盘 44444444 偏移 1048576
    path                    \Windows\system32\winload.exe
    Windows 启动加载器（默认）
    description             Windows 10
    systemroot              \Windows
    Windows 启动管理器
    identifier              {bootmgr}
UEFI 的 BCD 存储 C:\EFI\Microsoft\Boot\bcd：已重建，检查通过
    path                    \Windows\system32\winload.efi
失败的命令：3 条
*] 消息框“提示：”：
  BIOS引导修复成功！
*] 消息框“警告！”：
  以下修复命令没有成功完成：
  修复日志：F:\Kit\Logs\Orvanta-*.log
EOF_
}

# The program's folder can't be written (a CD, a locked stick): the log goes
# to %TEMP%, the final message says so, and the repair completes.
scenario_log_in_temp_from_readonly_folder() {
  drive C fixed
  drive F fixed
  app F Kit
  readonly_app
  { echo 'window 20000'; repair_click 2; } | ui
  {
    printf '%s\n' 'window Orvanta' "message $BIOS_OK"
    printf 'glob message %s*%s*.log\n' "$(glob_literal "$UEFI_OK\\n\\n修复日志：C:\\users\\")" \
      "$(glob_literal '\Temp\Orvanta-')"
    echo 'caption repairButton 开始修复'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
  printf '%s\n' '=== 修复结束 *' 'BIOS 的 BCD 存储 C:\boot\bcd：已重建，检查通过' \
    'UEFI 的 BCD 存储 C:\EFI\Microsoft\Boot\bcd：已重建，检查通过' | expect_repair_log temp
}

# Our bcdboot fails for every installation: each installation's own one runs
# with the same arguments, and its success leaves no failure to report. The
# running system's own System32 is reached as Sysnative from the 32-bit build.
scenario_installation_bcdboot_after_ours_fails() {
  drive C fixed
  drive D fixed windows
  drive F fixed
  app F Kit
  shared_tool_home
  cp "$E2E_TOOLS/standin.exe" "$(sandbox_folder "$S_PREFIX" D)/Windows/System32/bcdboot.exe"
  cp "$E2E_TOOLS/standin.exe" "$(sandbox_folder "$S_PREFIX" C)/windows/system32/bcdboot.exe"
  echo 'bcdboot exitfrom 1 F:\Kit\Bin' | faults
  { echo 'window 20000'; repair_click 2; echo 'nomessage'; } | ui
  { echo 'window Orvanta'; repair_click_expected "$BIOS_OK" "$UEFI_OK"; echo 'nomessage'; } | expect_ui
  local system32=System32 options
  [ "$S_ARCH" = x86 ] && system32=Sysnative
  {
    for options in '/s C: /f bios /l zh-cn' '/s C: /f uefi /l zh-cn'; do
      echo "F:\\Kit\\Bin\\bcdboot.exe D:\\Windows $options"
      echo "D:\\Windows\\System32\\bcdboot.exe D:\\Windows $options"
    done
    for options in '/s C: /f bios /l zh-cn' '/s C: /f uefi /l zh-cn'; do
      echo "F:\\Kit\\Bin\\bcdboot.exe C:\\Windows $options"
      echo "C:\\Windows\\$system32\\bcdboot.exe C:\\Windows $options"
    done
    bootsect_run C:
  } | expect_log
  printf '%s\n' 'boot/bcd new' 'efi/microsoft/boot/bcd new' | expect_files C
}
