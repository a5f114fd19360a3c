# A check of the stand-in boot tool's own rules that no scenario can see
# through the program: its output in GBK, UTF-16 and UTF-8 on standard output
# and standard error, a failure only for the copy in one folder, a home shared
# through STANDIN_HOME, the delay between its clock stamps. Sourced by
# tests/e2e/run.sh, which has sourced lib/sandbox.sh.

# check_standin_tool <standin.exe> <base prefix> <work folder>: runs two copies
# of the tool under Wine with their output redirected to files and writes
# "PASS <seconds>s" or "FAIL" and the differences to <work folder>/result.
check_standin_tool() {
  local tool=$1 base=$2 dir=$3 started=$SECONDS
  rm -rf "$dir"
  mkdir -p "$dir"
  local prefix=$dir/prefix c
  sandbox_new "$base" "$prefix"
  c=$prefix/drive_c
  mkdir -p "$c/Kit/Bin" "$c/Kit/Binaries" "$c/Home"
  cp "$tool" "$c/Kit/Bin/bcdboot.exe"
  cp "$tool" "$c/Kit/Binaries/bcdboot.exe"
  # C:\Kit\Binaries starts with the text C:\Kit\Bin but does not lie in it.
  cat >"$c/Home/standin.cfg" <<'EOF_'
stamps C:\Home\stamps.log
bcdboot print gbk:out | 无法复制引导文件。\r\n第二行 a|b\\n\n
bcdboot print utf16:err /f uefi | 错误：\t5\n
bcdboot print utf8:out /f uefi | 第三 行
bcdboot print utf16:err /f uefi | 再
bootsect print utf8:out | not for bcdboot
bcdboot delay 300 /f uefi
bcdboot exitfrom 5 c:\kit\bin
EOF_
  (
    export WINEPREFIX=$prefix WINEDEBUG=-all STANDIN_HOME='C:\Home'
    cd "$c" || exit 1
    # The first program of a Wine session starts Wine's own services and
    # desktop, which keep its standard error: start them here, in a session
    # that stays up, so nothing of theirs (a crash report, say) lands in the
    # tool's captured streams.
    wineserver -p
    wine cmd /c exit >"$dir/wine-session.log" 2>&1 || true
    local code=0
    wine 'C:\Kit\Bin\bcdboot.exe' 'C:\Windows' /s C: /f uefi >"$dir/out-1" 2>"$dir/err-1" || code=$?
    echo "exit $code" >"$dir/exit-1"
    code=0
    wine 'C:\Kit\Binaries\bcdboot.exe' 'C:\Windows' /s C: >"$dir/out-2" 2>"$dir/err-2" || code=$?
    echo "exit $code" >"$dir/exit-2"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  )
  {
    local gbk
    gbk=$(printf '无法复制引导文件。\r\n第二行 a|b\\n\n' | iconv -f UTF-8 -t GBK | od -An -tx1 | tr -d " \n")
    standin_expect_bytes "run 1 standard output (GBK, then UTF-8)" "$dir/out-1" \
      "$gbk$(printf '第三 行' | od -An -tx1 | tr -d " \n")"
    standin_expect_bytes "run 1 standard error (UTF-16LE with one byte-order mark)" "$dir/err-1" \
      "fffe$(printf '错误：\t5\n再' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -d " \n")"
    standin_expect_bytes "run 2 standard output (GBK)" "$dir/out-2" "$gbk"
    standin_expect_bytes "run 2 standard error" "$dir/err-2" ""
    standin_expect_text "exit codes" "$dir/exits" "exit 5" "exit 0" < <(cat "$dir/exit-1" "$dir/exit-2")
    standin_expect_text "log in C:\\Home" "$dir/log" \
      '"C:\Kit\Bin\bcdboot.exe" C:\Windows /s C: /f uefi' \
      '"C:\Kit\Binaries\bcdboot.exe" C:\Windows /s C:' < <({ tr -d '\r' <"$c/Home/standin.log"; } 2>/dev/null)
    standin_expect_text "stores on C: (the copy in C:\\Kit\\Bin makes none)" "$dir/stores" \
      "Boot/BCD" < <(cd "$c" && find Boot EFI -type f 2>/dev/null | sort)
    local f
    for f in "$c/Kit/Bin/standin.log" "$c/Kit/Binaries/standin.log"; do
      if [ -e "$f" ]; then echo "  a log beside the tool: ${f#"$c"/}"; fi
    done
    # Each stamps line is "bcdboot <start ns> <end ns>"; the first run's delay
    # of 300 ms lies between its stamps, the second run has none.
    awk 'NR == 1 && !($1 == "bcdboot" && $3 - $2 >= 300e6 && $3 - $2 < 5e9) { print "  stamps line 1: " $0 }
         NR == 2 && !($1 == "bcdboot" && $3 >= $2 && $3 - $2 < 300e6) { print "  stamps line 2: " $0 }
         END { if (NR != 2) print "  " NR " stamps lines instead of 2" }' "$c/Home/stamps.log" 2>&1 || true
  } >"$dir/checks.txt"
  local verdict=PASS
  if [ -s "$dir/checks.txt" ]; then verdict=FAIL; fi
  { echo "$verdict $((SECONDS - started))s"; cat "$dir/checks.txt"; } >"$dir/result"
}

# standin_expect_bytes <what> <file> <hex>: the file holds exactly these bytes.
standin_expect_bytes() {
  local actual
  actual=$(od -An -tx1 "$2" 2>/dev/null | tr -d " \n")
  [ "$actual" = "$3" ] && return 0
  echo "  $1 differs:"
  echo "    expected: $3"
  echo "    actual:   $actual"
}

# standin_expect_text <what> <file> <line>...: standard input holds these lines.
standin_expect_text() {
  local what=$1 file=$2
  shift 2
  cat >"$file"
  printf '%s\n' "$@" >"$file.expected"
  cmp -s "$file.expected" "$file" && return 0
  echo "  $what differ:"
  diff -u "$file.expected" "$file" | tail -n +3 | sed 's/^/    /' || true
}
