#!/bin/sh
# The Windows installer as an ordinary user runs it, silently (/S), under
# Wine in a throwaway prefix whose HOME, and so whose Documents, are inside
# the work folder: the programs land in the user's
# %LOCALAPPDATA%\Programs\Kestrel and kestrel.exe starts; the shortcut is in
# the user's own Start menu and starts Kestrel in the user's own Documents;
# the uninstall entry is the user's (HKCU); nothing goes to Public or All
# Users; the uninstaller removes the programs and leaves every phone.dat,
# backup and journal.
# usage: check_windows_installer.sh BUILD_DIR WORK_DIR PACKAGE_NAME VERSION
set -eu
build=$1 work=$2 name=$3 version=$4
here=$(dirname "$0")
rm -rf "$work"
mkdir -p "$work"
fail() {
  echo "FAIL: $*"
  exit 1
}

(cd "$build" && cpack -G NSIS -B "$work/cpack") >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G NSIS"; }
installer="$work/cpack/$name.exe"
[ -f "$installer" ] || fail "no installer $installer"
# No administrator prompt: Windows reads the level from the installer's manifest.
grep -aq 'requestedExecutionLevel level="asInvoker"' "$installer" ||
  fail "the installer asks for more than the user's own rights"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$HOME/Documents" "$XDG_CONFIG_HOME"
echo 'XDG_DOCUMENTS_DIR="$HOME/Documents"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
unset DISPLAY
trap 'set +e; wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wine wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; fail "wineboot"; }
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wine "$installer" /S >/dev/null 2>&1 || fail "the installer failed"
wineserver -w

# A folder of the user, as Windows names it and as this machine finds it.
windows_folder() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix_folder() { wine winepath -u "$1" 2>/dev/null | tr -d '\r' | sed 's:/$::'; }
local_programs="$(windows_folder LOCALAPPDATA)\\Programs\\Kestrel"
programs=$(unix_folder "$local_programs")
for file in kestrel.exe kestrel-book.exe README.txt Uninstall.exe; do
  [ -f "$programs/$file" ] || fail "$file is not in $local_programs: $(ls "$programs" 2>&1)"
done
started=$(wine "$local_programs\\kestrel.exe" --version 2>&1 | tr -d '\r') ||
  fail "the installed kestrel.exe does not start: $started"
[ "$started" = "kestrel $version" ] || fail "kestrel.exe --version said \"$started\""

start_menu="$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Kestrel"
shortcut="$(unix_folder "$start_menu")/Kestrel.lnk"
[ -f "$shortcut" ] || fail "no shortcut in the user's Start menu $start_menu"
[ -f "$(dirname "$shortcut")/Uninstall.lnk" ] || fail "no uninstaller shortcut in $start_menu"
stray=$(find "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX/drive_c/users/Public" \
  "$WINEPREFIX/drive_c/Program Files" -iname '*kestrel*' 2>/dev/null)
[ -z "$stray" ] || fail "installed for all users: $stray"
documents="$(windows_folder USERPROFILE)\\Documents"
working=$(python3 "$here/shortcut_working_folder.py" "$shortcut") || fail "cannot read $shortcut"
[ "$working" = "$documents" ] || fail "the shortcut starts in \"$working\", not \"$documents\""
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrel' /v UninstallString \
  >/dev/null 2>&1 || fail "no uninstall entry in HKCU"
! wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrel' >/dev/null 2>&1 ||
  fail "an uninstall entry in HKLM"

books=$(unix_folder "$documents")
case "$books" in "$work"/*) ;; *) fail "the prefix's Documents $books is outside $work" ;; esac
for folder in "$books" "$programs"; do
  printf 'book' >"$folder/phone.dat"
  printf 'old book' >"$folder/phone.dat.bak"
  printf 'changes' >"$folder/phone.dat.journal"
done
wine "$local_programs\\Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
wineserver -w
[ ! -f "$programs/kestrel.exe" ] || fail "the uninstaller left kestrel.exe"
[ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
! wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrel' >/dev/null 2>&1 ||
  fail "the uninstaller left the uninstall entry"
for folder in "$books" "$programs"; do
  [ "$(cat "$folder/phone.dat")" = book ] || fail "the uninstaller removed $folder/phone.dat"
  [ "$(cat "$folder/phone.dat.bak")" = "old book" ] || fail "the uninstaller removed a backup"
  [ "$(cat "$folder/phone.dat.journal")" = changes ] || fail "the uninstaller removed a journal"
done
echo "windows installer: ok"
exit 0
