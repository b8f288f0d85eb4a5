#!/bin/sh
# The Windows installer as a user runs it, silently (/S), under Wine in a
# throwaway prefix: the programs land in Program Files and kestrel.exe
# starts; the Start-menu shortcut starts Kestrel in Documents; the
# uninstaller removes the programs and leaves every phone.dat and backup.
# usage: check_windows_installer.sh BUILD_DIR WORK_DIR PACKAGE_NAME VERSION
set -eu
build=$1 work=$2 name=$3 version=$4
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

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
trap 'set +e; wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wine wineboot --init >/dev/null 2>&1 || fail "wineboot"
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wine "$installer" /S >/dev/null 2>&1 || fail "the installer failed"
wineserver -w

home="$WINEPREFIX/drive_c/Program Files/Kestrel"
for file in kestrel.exe kestrel-book.exe README.txt Uninstall.exe; do
  [ -f "$home/$file" ] || fail "$file is not installed: $(ls "$home" 2>&1)"
done
started=$(wine "C:\\Program Files\\Kestrel\\kestrel.exe" --version 2>&1 | tr -d '\r') ||
  fail "the installed kestrel.exe does not start: $started"
[ "$started" = "kestrel $version" ] || fail "kestrel.exe --version said \"$started\""

shortcut=$(find "$WINEPREFIX/drive_c" -name Kestrel.lnk | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
# The working folder is stored in the shortcut as UTF-16 text.
LC_ALL=C tr -d '\000' <"$shortcut" | grep -q 'Documents' ||
  fail "the shortcut does not start in Documents"

documents=$(dirname "$(find "$WINEPREFIX/drive_c/users" -maxdepth 2 -name Documents | head -n 1)/x")
for folder in "$documents" "$home"; do
  printf 'book' >"$folder/phone.dat"
  printf 'old book' >"$folder/phone.dat.bak"
done
wine "C:\\Program Files\\Kestrel\\Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
wineserver -w
[ ! -f "$home/kestrel.exe" ] || fail "the uninstaller left kestrel.exe"
for folder in "$documents" "$home"; do
  [ "$(cat "$folder/phone.dat")" = book ] || fail "the uninstaller removed $folder/phone.dat"
  [ "$(cat "$folder/phone.dat.bak")" = "old book" ] || fail "the uninstaller removed a backup"
done
echo "windows installer: ok"
exit 0
