#!/bin/sh
# kestrel-book.exe in a console, under Wine, which turns a terminal into a
# Windows console: accented names show as themselves ("François", not
# "Fran├ºois" as UTF-8 bytes read in code page 437 would), and a pipe gets
# the UTF-8 bytes unchanged.
# usage: check_console_names.sh WINE_RUN KESTREL_BOOK_EXE SAMPLE_BOOK WORK_DIR
set -eu
wine_run=$1 book_tool=$2 sample=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
cp "$sample" "$work/phone.dat"
cd "$work"
fail() {
  echo "FAIL: $*"
  exit 1
}
export LC_ALL=C.UTF-8  # the terminal's own encoding, which Wine writes the console in
timeout 120 script -qec "'$wine_run' '$book_tool' list" /dev/null </dev/null >console.raw ||
  fail "kestrel-book list in a console: $(cat console.raw)"
# The terminal's cursor and erase sequences out, line ends as in a file.
sed 's/\x1b\[[0-9?;]*[a-zA-Z]//g' console.raw | tr -d '\r' >console.txt
grep -q 'François, Mark' console.txt || fail "the console shows: $(grep -a 'Fran' console.txt | head -n 1)"
"$wine_run" "$book_tool" list >pipe.txt || fail "kestrel-book list into a pipe"
grep -q 'François, Mark' pipe.txt || fail "the pipe got: $(grep -a 'Fran' pipe.txt | head -n 1)"
echo "console names: ok"
