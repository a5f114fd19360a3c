# Runs refused before anything is touched.

# Bad boot-partition texts: each gets the warning, nothing is locked or
# moved, no folder is made and no tool runs.
scenario_bad_boot_partition() {
  drive C fixed
  drive F fixed
  store C bios
  app F Kit
  local texts=('' 'C:\' '\\' '  ' '"C:"' 'C: /f' '1:' 'CC:' 'C' ':C')
  local text script='window 20000' expected='window Orvanta'
  for text in "${texts[@]}"; do
    script+=$'\n'"settext bootPartitionBox $text"$'\n''click repairButton'$'\n''message 30000'$'\n''show repairButton'
    if [[ $text == '' || $text == '  ' ]]; then
      expected+=$'\n'"message 警告！ 没有填写引导盘：请填写引导盘的盘符和冒号，例如 C:。\\n修复未开始，没有做任何更改。"
    else
      expected+=$'\n'"message 警告！ 引导盘“$text”无效：请只填写盘符和冒号，例如 C:。\\n修复未开始，没有做任何更改。"
    fi
    expected+=$'\n''caption repairButton 开始修复'$'\n''enabled repairButton 1'
  done
  printf '%s\nshow bootPartitionBox\n' "$script" | ui
  printf '%s\ntext bootPartitionBox :C\nenabled bootPartitionBox 1\n' "$expected" | expect_ui
  echo 'boot/bcd old' | expect_files C
  expect_no_file c EFI
}

# bootsect.exe missing from Bin: the warning names it and where it was
# expected; nothing is locked, moved or started.
scenario_missing_tool() {
  drive C fixed
  drive F fixed
  store C bios
  store C uefi
  app F Kit no-bootsect
  ui <<'EOF_'
window 20000
click repairButton
message 30000
controls
EOF_
  {
    echo 'window Orvanta'
    printf '%s\n' 'message 警告！ 找不到修复工具 bootsect.exe，它应在：F:\Kit\bin\bootsect.exe\n请把 bcdboot.exe 和 bootsect.exe 放进本程序所在文件夹的 Bin 文件夹。\n这两个工具可以从同类的 Windows 取得（bcdboot.exe 在 Windows\System32 文件夹里，bootsect.exe 在 Windows 安装介质的 boot 文件夹里），也可以从 Windows ADK 取得。工具的位数必须与正在运行的 Windows 或 WinPE 相同（64 位 WinPE 用 64 位的工具）。\n修复未开始，没有做任何更改。'
    controls_expected idle C: 0 'C:\Windows'
  } | expect_ui
  printf '%s\n' 'boot/bcd old' 'efi/microsoft/boot/bcd old' | expect_files C
}

# The boot partition S: is a file system of 2 MB (4 KB clusters); D:'s boot
# files (a 3 MB bootmgr, which bcdboot copies to the root) don't fit with the
# folders made and the room the two new stores need (0.4 MB). C: is a network drive: Wine's own Windows takes no part.
small_boot_partition() {
  drive C network
  drive D fixed windows
  mkdir -p "$(sandbox_folder "$S_PREFIX" D)/Windows/Boot/PCAT"
  head -c 3000000 /dev/zero >"$(sandbox_folder "$S_PREFIX" D)/Windows/Boot/PCAT/bootmgr"
  drive F fixed
  small_drive S 2m F Out/small.txt
  app F Kit
  skip_unless F Out/small.txt 'small drive mounted' 'a small file system could not be mounted for S:'
  expect_no_file s boot
  expect_no_file s bootmgr
  expect_no_file s EFI
}

NO_ROOM_ON_S='引导盘 S: 的可用空间不够：可用 2.0 MB，写入引导文件需要约 3.3 MB。'
NO_ROOM_ADVICE='请先在 S: 上腾出空间或扩大这个分区，再重新修复。'

# Too little room: refused with the numbers before anything is moved or run.
scenario_boot_partition_too_small() {
  small_boot_partition
  printf '%s\n' 'window 20000' 'settext bootPartitionBox S:' 'click repairButton' 'message 30000' 'show repairButton' | ui
  printf '%s\n' 'window Orvanta' "message 警告！ $NO_ROOM_ON_S\\n$NO_ROOM_ADVICE\\n修复未开始，没有做任何更改。" \
    'caption repairButton 开始修复' 'enabled repairButton 1' | expect_ui
}

# The same through the command line: the refusal printed, exit code 2.
scenario_boot_partition_too_small_command_line() {
  small_boot_partition
  printf '@echo off\r\nF:\\Kit\\Orvanta.exe /repair /s S: > F:\\Out\\room.txt\r\necho room %%ERRORLEVEL%%\r\n' \
    >"$(sandbox_folder "$S_PREFIX" F)/room.bat"
  printf '%s\n' 'launch C:\windows\system32\cmd.exe /c F:\room.bat' 'nowindow 60000' 'print F:\Out\room.txt' \
    >"$S_DIR/script.txt"
  printf '%s\n' 'room 2' 'no window' '警告！' "$NO_ROOM_ON_S" "$NO_ROOM_ADVICE" '修复未开始，没有做任何更改。' | expect_ui
}
