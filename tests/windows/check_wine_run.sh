#!/bin/sh
# wine-run with stand-in Wine programs: a prefix that fails once is made on
# the second try and Wine's words are shown; one that always fails ends in a
# clear message; the programs run with a HOME and Documents of the prefix's
# own, never the caller's; a working folder Wine cannot enter is an error.
# usage: check_wine_run.sh WINE_RUN WORK_DIR
set -eu
wine_run=$1 work=$2
rm -rf "$work"
mkdir -p "$work/bin"
fail() {
  echo "FAIL: $*"
  exit 1
}

# The stand-in wine: fails "wineboot" as long as $work/failures holds a
# count above zero, and notes the HOME every program ran with.
cat >"$work/bin/wine" <<'WINE'
#!/bin/sh
echo "$HOME" >>"$STAND_IN/homes"
if [ "$1" = wineboot ]; then
  left=$(cat "$STAND_IN/failures")
  if [ "$left" -gt 0 ]; then
    echo $((left - 1)) >"$STAND_IN/failures"
    echo "err:wineboot: the stand-in broke on purpose" >&2
    exit 1
  fi
  mkdir -p "$WINEPREFIX/drive_c"
fi
exit 0
WINE
printf '#!/bin/sh\nexit 0\n' >"$work/bin/wineserver"
chmod +x "$work/bin/wine" "$work/bin/wineserver"
export STAND_IN="$work" KESTREL_WINE="$work/bin/wine" KESTREL_WINESERVER="$work/bin/wineserver"
HOME="$work/caller-home"

# failures  exit  what stderr must say (-: nothing)
while read -r failures want_rc want_said; do
  export KESTREL_WINEPREFIX="$work/prefix-$failures"
  echo "$failures" >"$work/failures"
  : >"$work/homes"
  rc=0
  "$wine_run" --prepare 2>"$work/said" || rc=$?
  [ "$rc" = "$want_rc" ] || fail "$failures failures: exit $rc, not $want_rc: $(cat "$work/said")"
  if [ "$want_said" = - ]; then
    [ ! -s "$work/said" ] || fail "$failures failures: wine-run said: $(cat "$work/said")"
  else
    grep -q "$want_said" "$work/said" || fail "$failures failures: no \"$want_said\" in: $(cat "$work/said")"
  fi
  if [ "$failures" -gt 0 ]; then
    grep -q 'the stand-in broke on purpose' "$work/said" || fail "Wine's own words are not shown"
  fi
  [ "$(sort -u "$work/homes")" = "$KESTREL_WINEPREFIX-home" ] ||
    fail "Wine ran with HOME $(sort -u "$work/homes" | tr '\n' ' ')"
  if [ "$rc" = 0 ]; then
    [ -d "$KESTREL_WINEPREFIX-home/Documents" ] || fail "the prefix has no Documents of its own"
  fi
done <<'CASES'
0 0 -
1 0 attempt 1 of 2
2 1 cannot make the Wine prefix .* after 2 attempts
CASES

# A working folder Wine cannot enter is an error, not a start in C:\windows.
long="$work/$(printf '%0120d' 0)/$(printf '%0140d' 0)"
mkdir -p "$long"
export KESTREL_WINEPREFIX="$work/prefix-0"  # made above
: >"$work/homes"
rc=0
(cd "$long" && "$wine_run" kestrel-book.exe import x.csv) 2>"$work/said" || rc=$?
[ "$rc" != 0 ] || fail "wine-run started a program in a folder Wine cannot enter"
grep -q 'cannot start a program in' "$work/said" || fail "no reason given: $(cat "$work/said")"
[ ! -s "$work/homes" ] || fail "Wine was started in a folder it cannot enter"
[ ! -e "$work/caller-home" ] || fail "wine-run wrote into the caller's home"
echo "wine-run: ok"
