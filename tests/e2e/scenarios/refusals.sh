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
