# The window: size toggle, close guard during a slow tool, folder chooser.

# Maximize toggles compact/expanded and the state stays normal; expanded,
# minimised and restored stays expanded; the next maximize keeps it
# expanded, the one after makes it compact. Sizes in pixels at 96 dpi:
# outer width 5910 twips = 394, client height 2250 = 150, 4620 = 308.
scenario_size_toggle() {
  drive C fixed
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
size
maximize
size
maximize
size
maximize
size
minimize
size
restore
size
maximize
size
maximize
size
close
exited 10000
EOF_
  expect_ui <<'EOF_'
window Orvanta
size normal outer 384x175 client 378x150
size normal outer 394x333 client 388x308
size normal outer 394x175 client 388x150
size normal outer 394x333 client 388x308
glob size minimized outer * client *
size normal outer 394x333 client 388x308
size normal outer 394x333 client 388x308
size normal outer 394x175 client 388x150
exited 0
EOF_
}

# A slow tool: the program waits without using the processor, refuses both
# kinds of close request with the warning and the end of the session, and the
# size toggle still works.
scenario_slow_tool() {
  drive C fixed
  drive F fixed
  app F Kit
  echo 'bootsect delay 9000' | faults
  ui <<'EOF_'
window 20000
click repairButton
waitfile F:\Kit\Bin\standin.log 30000 bootsect
cpu 2000 200
close
message 10000
sysclose
message 10000
queryend
controls
maximize
size
maximize
size
message 30000
message 30000
waitcaption repairButton 10000 开始修复
queryend
exited 0
close
exited 10000
EOF_
  {
    printf '%s\n' 'window Orvanta' 'file has bootsect' 'cpu low'
    echo 'message 警告！ 正在修复系统引导，无法关闭！'
    echo 'message 警告！ 正在修复系统引导，无法关闭！'
    echo 'queryend refused'
    controls_expected running C: 0 'C:\Windows'
    echo 'size normal outer 394x333 client 388x308'
    echo 'size normal outer 394x175 client 388x150'
    echo "message $BIOS_OK"
    logged_message "$UEFI_OK"
    printf '%s\n' 'caption repairButton 开始修复' 'queryend allowed' 'running' 'exited 0'
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
}

# The folder chooser: a drive root, a folder two levels down, and cancel.
scenario_folder_chooser() {
  drive C fixed
  drive D fixed
  drive E fixed
  folder E one/two
  drive F fixed
  app F Kit
  ui <<'EOF_'
window 20000
click browseButton
browse 20000 D:\
waittext bootPartitionBox 10000 D:
click browseButton
browse 20000 E:\one\two
waittext bootPartitionBox 10000 E:
settext bootPartitionBox Q:
click browseButton
browse-cancel 20000
show bootPartitionBox
show browseButton
EOF_
  expect_ui <<'EOF_'
window Orvanta
browse dialog open
glob browse selected *(D:)*
browse dialog closed
text bootPartitionBox D:
browse dialog open
browse selected two
browse dialog closed
text bootPartitionBox E:
browse dialog open
browse dialog closed
text bootPartitionBox Q:
enabled bootPartitionBox 1
caption browseButton 选择...
enabled browseButton 1
EOF_
}

# The processor meter of the slow-tool scenario reads a busy process as busy.
scenario_cpu_meter() {
  drive C fixed
  drive F fixed
  app F Kit
  echo 'launch F:\Driver\probe.exe busy 4000' >"$S_DIR/script.txt"
  ui <<'EOF_'
cpu 2000 200
exited 10000
EOF_
  expect_ui <<'EOF_'
glob cpu high * ms in 2000
exited 0
EOF_
}

# Copies of DLLs that a program may load by name, planted beside the program
# and in Bin, with Wine told to prefer them to its own: the window opens, a
# repair runs, and not one of them is loaded into the program.
scenario_planted_dlls() {
  drive C fixed
  drive F fixed
  app F Kit
  planted_dlls uxtheme dwmapi propsys cryptbase profapi winmm comctl32 wintrust crypt32 msimg32 dbghelp oleacc
  { printf '%s\n' 'window 20000' 'controls'; repair_click 2; } | ui
  {
    echo 'window Orvanta'
    controls_expected idle C: 0 'C:\Windows'
    repair_click_expected "$BIOS_OK" "$UEFI_OK"
  } | expect_ui
  repair_runs C: 'C:\Windows' | expect_log
  expect_no_file c planted.log
}

# The test build that stands for a Windows without SetDefaultDllDirectories,
# where the program's folder stays first in the search for every DLL that a
# system DLL loads later: with DLLs beside it and in Bin it refuses to start,
# naming them, and touches nothing; without them it opens its window.
scenario_planted_dlls_without_search_limits() {
  drive C fixed
  store C bios
  drive F fixed
  app F Kit without-dll-directories
  planted_dlls msimg32 uxtheme
  local name
  {
    printf '%s\n' 'message 20000' 'exited 20000'
    for name in Kit/msimg32 Kit/uxtheme Kit/Bin/msimg32 Kit/Bin/uxtheme; do
      echo "rename F:\\${name//\//\\}.dll F:\\${name//\//\\}.off"
    done
    printf '%s\n' 'launch F:\Kit\Orvanta.exe' 'window 20000' 'close' 'exited 20000'
  } | ui
  {
    printf '%s' 'message 警告！ 这台电脑的 Windows 缺少限制 DLL 搜索位置的更新（KB2533623），'
    printf '%s' '本程序所在文件夹和 Bin 文件夹里的 DLL 文件会被载入本程序：\n'
    printf '%s' '  F:\Kit\msimg32.dll\n  F:\Kit\uxtheme.dll\n  F:\Kit\Bin\msimg32.dll\n  F:\Kit\Bin\uxtheme.dll\n'
    printf '%s' '请删除这些文件，或把本程序和 Bin 文件夹复制到一个没有 DLL 文件的文件夹后再运行。\n'
    printf '%s\n' '本程序没有运行，没有做任何更改。'
    echo 'exited 2'
    for name in Kit/msimg32 Kit/uxtheme Kit/Bin/msimg32 Kit/Bin/uxtheme; do echo "renamed F:\\${name//\//\\}.dll"; done
    printf '%s\n' 'window Orvanta' 'exited 0'
  } | expect_ui
  echo 'boot/bcd old' | expect_files C
  expect_no_file c planted.log
}
