#!/usr/bin/env bash
# The built kestrel in a real X server, driven by key presses as a person
# would: first a new record typed and saved, then a search, a pick from the
# match list, an edit and a save; kills; then two desks on one book, the
# second read-only. Each run's "phone.dat" is checked with kestrel-book unpack.
#
#   kestrel_e2e.sh KESTREL KESTREL_BOOK SCREENSHOT_DIR [LAUNCHER]
#
# The same script drives the Windows build: LAUNCHER then runs kestrel.exe
# (wine-run of the Windows build folder), and KESTREL_BOOK is the Linux
# kestrel-book, which must read what the Windows program wrote.
# KESTREL_E2E_DISPLAY, when set, is the display number for Xvfb to take.
#
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool). Every wait has a
# time limit, and the X server and the program are ended on every way out.
set -u

kestrel=$1
book_tool=$2
shots=$3
launcher=${4:-}

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-e2e-XXXXXX")
xvfb_pid=""
app_pid=""
second_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$second_pid" ] && kill "$second_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null 2>&1; then
    timeout 10 import -window root "$shots/e2e-failure.png" 2>/dev/null &&
      echo "screen at the failure: $shots/e2e-failure.png"
  fi
  exit 1
}

# The X server picks a free display number itself and writes it to fd 3,
# so parallel runs never collide. -noreset: the server must not start over
# each time its last client (the program, ended or killed) goes, or the next
# start may find no display.
if [ -n "${KESTREL_E2E_DISPLAY:-}" ]; then
  Xvfb ":$KESTREL_E2E_DISPLAY" -nolisten tcp -noreset -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  echo "$KESTREL_E2E_DISPLAY" >"$work/display"
  sleep 1
else
  exec 3>"$work/display"
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
fi
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

# The visible window whose title is exactly $1 (xdotool matches loosely, and
# the message boxes' title "kestrel" differs from the form's only in case).
window_titled() {
  local id pattern
  pattern=$(printf '%s' "$1" | sed 's/[][().*^$+?{}|\\]/\\&/g')  # "(read-only)" is no group
  for id in $(xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits up to 20 s for the window titled $1, then gives it the keyboard if
# it has not taken it itself (Windows activates each new dialog; forcing the
# focus of a window that Wine manages confuses it).
focus_window() {
  local id=""
  for _ in $(seq 200); do
    id=$(window_titled "$1") && break
    kill -0 "$app_pid" 2>/dev/null || fail "kestrel ended while waiting for \"$1\": $(cat "$work/kestrel.log")"
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window \"$1\" within 20 s"
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ] && sleep 0.3 && return 0
  timeout 5 xdotool windowfocus --sync "$id" || fail "cannot focus \"$1\""
  sleep 0.2  # let the toolkit take the focus in
}

keys() { timeout 10 xdotool key --clearmodifiers --delay 40 "$@" || fail "xdotool key $*"; }
type_text() { timeout 20 xdotool type --clearmodifiers --delay 30 "$1" || fail "xdotool type $1"; }

start_kestrel() {
  (cd "$work" && exec timeout 90 $launcher "$kestrel") >"$work/kestrel.log" 2>&1 &
  app_pid=$!
}

# Waits up to 20 s for kestrel to end by itself and checks it ended well.
wait_for_exit() {
  for _ in $(seq 200); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "kestrel still running after $1"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "kestrel exited with $status after $1: $(cat "$work/kestrel.log")"
}

# A record's line: the 17 fields given as arguments (missing ones empty),
# each followed by a tab.
record_line() {
  local i line=""
  local fields=("$@")
  for i in $(seq 0 16); do line+="${fields[$i]:-}"$'\t'; done
  printf '%s\n' "$line"
}

expect_book() {
  local want=$1 got
  got=$(timeout 10 "$book_tool" unpack "$work/phone.dat") || fail "kestrel-book unpack failed after $2"
  if [ "$got" != "$want" ]; then
    echo "--- expected"; printf '%s\n' "$want" | cat -A
    echo "--- found"; printf '%s\n' "$got" | cat -A
    fail "the book after $2 is not as expected"
  fi
}

# --- run 1: a new record, typed, saved and exited with the keyboard --------
start_kestrel
focus_window "Kestrel"
keys alt+c                                  # &Create New Record
focus_window "New Record"
keys Tab Tab                                # from "&Save Changes" past "Start &Over"
type_text "S1001"; keys Tab                 # Student #
type_text "Ada"; keys Tab                   # First Name
type_text "Lovelace"; keys Tab Tab Tab Tab Tab  # Last Name, then past four fields
type_text "555-0100"                        # Phone
keys alt+s                                  # &Save Changes
keys alt+o                                  # Start &Over
focus_window "kestrel"                      # Save and exit?
keys alt+y
focus_window "Kestrel"
keys alt+x                                  # Save and E&xit
focus_window "kestrel"                      # Do you want to save changes (if any)?
keys alt+y
wait_for_exit "Save and Exit"
expect_book "$(record_line S1001 Lovelace Ada "" "" "" "" 555-0100)" "the first run"
[ ! -e "$work/phone.dat.lock" ] || fail "the lock file outlived Save and Exit"

# --- run 2: search, pick from the list, edit, save and exit ---------------
{
  timeout 10 "$book_tool" unpack "$work/phone.dat"
  record_line S1002 Lovelace Byron "" "" M "" 555-0200
  record_line S1003 Babbage Charles "" "" M "" 555-0300
} | timeout 10 "$book_tool" pack "$work/phone.dat" || fail "kestrel-book pack failed"

start_kestrel
focus_window "Kestrel"
keys Tab                                    # from First Name to Last Name
type_text "lovelace"
keys alt+s                                  # &Search Database
focus_window "Matching Records"
keys Down
if command -v import >/dev/null 2>&1; then
  timeout 10 import -window root "$shots/e2e-match-list.png" || fail "screenshot failed"
fi
keys Return                                 # &View Selected: Lovelace, Byron
focus_window "Matching Record 1 of 2"
# From "&Next Record" to the Phone edit: View, Save, Start Over, Delete, then
# Student #, First, Last, Middle 1, Middle 2, Gender, Birthday, Phone.
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
keys ctrl+a
type_text "555-0299"
keys alt+s                                  # &Save Changes
keys Escape                                 # back to the main form
focus_window "Kestrel"
keys alt+x
focus_window "kestrel"
keys alt+y
wait_for_exit "the second Save and Exit"
expect_book "$(record_line S1001 Lovelace Ada "" "" "" "" 555-0100
record_line S1002 Lovelace Byron "" "" M "" 555-0299
record_line S1003 Babbage Charles "" "" M "" 555-0300)" "the second run"

# --- run 2, printed: Ctrl+P in the match list, to a PDF file --------------
# Qt's print dialog offers the file that KESTREL_PRINT_FILE names; the print
# must hold the two matches in the list's order and nothing else. Linux only:
# a Windows print needs a printer.
if [ -z "$launcher" ] && command -v pdftotext >/dev/null 2>&1; then
  export KESTREL_PRINT_FILE="$work/printed.pdf"
  start_kestrel
  focus_window "Kestrel"
  keys Tab; type_text "lovelace"; keys alt+s
  focus_window "Matching Records"
  keys ctrl+p
  focus_window "Print"                      # Kestrel's: List is chosen
  ours=$(window_titled "Print")
  keys Return                               # &Print...
  for _ in $(seq 100); do                   # then Qt's, titled the same
    id=$(window_titled "Print") && [ "$id" != "$ours" ] && break
    sleep 0.1
  done
  focus_window "Print"
  keys Return                               # Print, to the file
  for _ in $(seq 100); do
    [ -s "$KESTREL_PRINT_FILE" ] && break
    sleep 0.1
  done
  focus_window "Matching Records"
  keys Escape
  focus_window "Kestrel"
  keys Escape                               # Discard and Exit
  wait_for_exit "printing the matches"
  unset KESTREL_PRINT_FILE
  printed=$(pdftotext -layout "$work/printed.pdf" - 2>/dev/null) || fail "no PDF printed"
  ada=$(printf '%s\n' "$printed" | grep -n "Lovelace, Ada" | cut -d: -f1)
  byron=$(printf '%s\n' "$printed" | grep -n "Lovelace, Byron" | cut -d: -f1)
  [ -n "$ada" ] && [ -n "$byron" ] && [ "$ada" -lt "$byron" ] ||
    fail "the print lacks the matches in the list's order: $printed"
  printf '%s\n' "$printed" | grep -q Babbage && fail "the print holds a record that did not match"
fi

# --- run 3: changes, then kill -9; run 4 restores them ---------------------
# The journal beside the book must hold every change made before the kill.
kill_kestrel() {
  local pid
  pid=$(ps -o pid= --ppid "$app_pid" | tr -d ' ')  # kestrel, below its timeout
  [ -n "$pid" ] || fail "no kestrel process to kill"
  kill "-$1" "$pid"
  wait "$app_pid" 2>/dev/null
  app_pid=""
}
book_before=$(timeout 10 "$book_tool" unpack "$work/phone.dat")
start_kestrel
focus_window "Kestrel"
keys alt+c                                  # a new record
focus_window "New Record"
keys Tab Tab
type_text "S1004"; keys Tab Tab
type_text "Hopper"
keys alt+s alt+o                            # &Save Changes, Start &Over
focus_window "kestrel"
keys alt+n                                  # Save and exit? No: saved already
focus_window "Kestrel"
keys Tab; type_text "babbage"; keys alt+s   # one match: the record dialog at once
focus_window "Matching Record 1 of 1"
keys alt+d                                  # &Delete Record
focus_window "kestrel"
keys alt+y
focus_window "Matching Record 1 of 1"       # the emptied record, shown again
keys Escape
focus_window "Kestrel"
kill_kestrel KILL
[ -f "$work/phone.dat.journal" ] || fail "no journal after kill -9"
[ -f "$work/phone.dat.lock" ] || fail "no lock file left by kill -9"  # stale: its lock is free
expect_book "$book_before" "kill -9"

start_kestrel
focus_window "kestrel"                      # 2 changes ... Restore them?
keys Return                                 # Yes is the default
focus_window "Kestrel"
keys alt+x
focus_window "kestrel"
keys alt+y
wait_for_exit "Save and Exit after restoring"
[ ! -e "$work/phone.dat.journal" ] || fail "the journal outlived Save and Exit"
[ ! -e "$work/phone.dat.lock" ] || fail "the stale lock file was not replaced, or outlived its session"
expect_book "$(record_line S1001 Lovelace Ada "" "" "" "" 555-0100
record_line S1002 Lovelace Byron "" "" M "" 555-0299
record_line S1004 Hopper)" "restoring after kill -9"

# --- run 5: SIGTERM keeps the journal; No keeps it aside; Discard ends it ---
book_before=$(timeout 10 "$book_tool" unpack "$work/phone.dat")
start_kestrel
focus_window "Kestrel"
keys alt+c
focus_window "New Record"
keys Tab Tab; type_text "S1005"; keys Tab Tab; type_text "Curie"
keys alt+s alt+o
focus_window "kestrel"
keys alt+n
focus_window "Kestrel"
kill_kestrel TERM
[ -f "$work/phone.dat.journal" ] || fail "no journal after SIGTERM"
start_kestrel
focus_window "kestrel"                      # 1 change ... Restore it?
keys alt+n
focus_window "Kestrel"
keys Escape                                 # discard
wait_for_exit "Escape after declining"
[ -f "$work/phone.dat.journal.1" ] || fail "the declined journal was not kept aside"
[ ! -e "$work/phone.dat.journal" ] || fail "the journal outlived Discard"
expect_book "$book_before" "declining to restore"

# --- run 6: two desks. The second opens the book read-only, searches, can
# neither create nor save, and finds what the first desk saved meanwhile ----
# Waits 2 s and fails if a window titled $1 shows: a disabled command did something.
expect_no_window() {
  sleep 2
  window_titled "$1" >/dev/null && fail "\"$1\" opened after $2"
  return 0
}
start_kestrel                               # the first desk
focus_window "Kestrel"
IFS=$'\t' read -r lock_user lock_computer lock_pid lock_since <"$work/phone.dat.lock" ||
  fail "no lock file while the first desk holds the book"
[ "$lock_user" = "$(id -un)" ] && [ -n "$lock_computer" ] && [ -n "$lock_pid" ] && [ -n "$lock_since" ] ||
  fail "the lock file does not name the holder: $(cat "$work/phone.dat.lock")"
first_pid=$app_pid
(cd "$work" && exec timeout 90 $launcher "$kestrel") >"$work/second.log" 2>&1 &
second_pid=$!
focus_window "kestrel"                      # ... is open in Kestrel on ... Open it read-only?
if command -v import >/dev/null 2>&1; then
  timeout 10 import -window root "$shots/e2e-read-only-question.png" || fail "screenshot failed"
fi
keys Return                                 # Yes is the default
focus_window "Kestrel (read-only)"
keys alt+c                                  # &Create New Record: disabled
expect_no_window "New Record" "Create New Record in the read-only session"
keys alt+x                                  # Save and E&xit: disabled
expect_no_window "kestrel" "Save and Exit in the read-only session"
keys Tab; type_text "hopper"; keys alt+s    # &Search Database
focus_window "Matching Record 1 of 1"
keys alt+d                                  # &Delete Record: disabled
expect_no_window "kestrel" "Delete Record in the read-only session"
keys Escape
focus_window "Kestrel (read-only)"

if [ -n "$launcher" ]; then
  # Wine gives the keyboard to the program it has in the foreground, which
  # xdotool cannot change between two programs: each desk ends in turn.
  app_pid=$second_pid
  second_pid=""
  keys Escape
  wait_for_exit "Escape in the read-only session"
  app_pid=$first_pid
  focus_window "Kestrel"
  keys Escape
  wait_for_exit "the first desk's Discard"
  for left in phone.dat.journal phone.dat.lock; do
    [ ! -e "$work/$left" ] || fail "$left left after both desks"
  done
  echo "PASS: 6 runs of kestrel under Xvfb, two of them killed, two at once"
  exit 0
fi

focus_window "Kestrel"                      # the first desk adds a record and saves
keys alt+c
focus_window "New Record"
keys Tab Tab; type_text "S1006"; keys Tab Tab; type_text "Turing"
keys alt+s alt+o
focus_window "kestrel"
keys alt+n
focus_window "Kestrel"
keys alt+x
focus_window "kestrel"
keys alt+y
wait_for_exit "the first desk's Save and Exit"
[ ! -e "$work/phone.dat.lock" ] || fail "the lock file outlived the first desk"

app_pid=$second_pid                         # the second desk searches again
second_pid=""
focus_window "Kestrel (read-only)"
keys Tab ctrl+a; type_text "turing"; keys alt+s
focus_window "Matching Record 1 of 1"       # saved by the first desk since
keys Escape
focus_window "Kestrel (read-only)"
keys Escape                                 # leaves without a question
wait_for_exit "Escape in the read-only session"
for left in phone.dat.journal phone.dat.journal.2 phone.dat.lock; do
  [ ! -e "$work/$left" ] || fail "$left left after the read-only session"
done
expect_book "$(record_line S1001 Lovelace Ada "" "" "" "" 555-0100
record_line S1002 Lovelace Byron "" "" M "" 555-0299
record_line S1004 Hopper
record_line S1006 Turing)" "two desks"

echo "PASS: 6 runs of kestrel under Xvfb, two of them killed, two at once"
