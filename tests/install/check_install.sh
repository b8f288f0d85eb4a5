#!/bin/sh
# Installs the build into a fresh prefix (with a space in its name) and checks
# what a desktop needs: every file in place, the desktop entry and metainfo
# valid, the icons of the right size, the launcher entering the documents folder.
# usage: check_install.sh SOURCE_DIR BUILD_DIR WORK_DIR APP_ID VERSION
set -eu
source_dir=$1 build=$2 work=$3 id=$4 version=$5
# The metainfo's component id: the desktop id in lower case.
cid=$(printf '%s' "$id" | tr 'A-Z' 'a-z')
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
prefix="$work/the prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
}

# Error paths follow: each missing or wrong file is named, then the test fails.
expected="bin/kestrel bin/kestrel-book libexec/kestrel/kestrel-in-documents
  share/applications/$id.desktop share/metainfo/$cid.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg share/man/man1/kestrel.1.gz
  share/man/man1/kestrel-book.1.gz share/doc/kestrel/changelog.Debian.gz share/doc/kestrel/copyright"
for size in 16 32 48 64 128 256; do
  expected="$expected share/icons/hicolor/${size}x$size/apps/$id.png"
done
for file in $expected; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for program in bin/kestrel bin/kestrel-book libexec/kestrel/kestrel-in-documents; do
  [ -x "$prefix/$program" ] || fail "not executable: $program"
done

"$prefix/bin/kestrel-book" --version | grep -qx "kestrel-book $version" ||
  fail "installed kestrel-book --version does not say $version"
"$prefix/bin/kestrel" --version | grep -qx "kestrel $version" ||
  fail "installed kestrel --version does not say $version"

# PNG: width and height are the big-endian words at offsets 16 and 20.
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
  [ -f "$png" ] || continue
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x$size" ] || fail "$size px icon is $dims"
done
svg="$prefix/share/icons/hicolor/scalable/apps/$id.svg"
grep -q '<svg ' "$svg" 2>/dev/null || fail "the SVG icon is no SVG"
# The drawing, not pixels traced into squares.
! grep -q -e '<rect[^>]* height="1"' -e crispEdges "$svg" 2>/dev/null || fail "the SVG icon is traced pixels"

desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$cid.metainfo.xml"
if command -v desktop-file-validate >/dev/null; then
  # Warnings count as failures too: the entry should be clean.
  report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
  [ -z "$report" ] || fail "desktop-file-validate: $report"
else
  fail "desktop-file-validate missing (Debian package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --pedantic --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/appstream.log")"
else
  fail "appstreamcli missing (Debian package appstream)"
fi
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
grep -q '^Categories=Office;ContactManagement;$' "$desktop" || fail "desktop entry categories"
grep -q "^Icon=$id\$" "$desktop" || fail "desktop entry icon"

# Exec holds the launcher as one quoted argument; undo the entry's escaping.
exec_path=$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$desktop" | sed 's/\\\\/\\/g; s/\\\(.\)/\1/g; s/%%/%/g')
[ "$exec_path" = "$prefix/libexec/kestrel/kestrel-in-documents" ] ||
  fail "desktop entry runs '$exec_path', not the installed launcher"

# The launcher, copied beside a stand-in kestrel that reports where it runs.
fake="$work/fake"
mkdir -p "$fake/libexec/kestrel" "$fake/bin" "$work/home/Papers" "$work/home/.config"
cp "$prefix/libexec/kestrel/kestrel-in-documents" "$fake/libexec/kestrel/"
printf '#!/bin/sh\necho "$(pwd) $*"\n' >"$fake/bin/kestrel"
chmod +x "$fake/bin/kestrel"
launch() { (cd / && HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  "$fake/libexec/kestrel/kestrel-in-documents" --version); }
# row: what the documents folder is set to | where kestrel should run
if command -v xdg-user-dir >/dev/null; then
  echo 'XDG_DOCUMENTS_DIR="$HOME/Papers"' >"$work/home/.config/user-dirs.dirs"
  [ "$(launch)" = "$work/home/Papers --version" ] || fail "launcher, documents set: runs in $(launch)"
  echo 'XDG_DOCUMENTS_DIR="$HOME/Gone"' >"$work/home/.config/user-dirs.dirs"
  [ "$(launch)" = "$work/home --version" ] || fail "launcher, documents removed: runs in $(launch)"
fi
rm -f "$work/home/.config/user-dirs.dirs"
mkdir -p "$work/home/Documents"
[ "$(launch)" = "$work/home/Documents --version" ] || fail "launcher, no setting: runs in $(launch)"

for page in "$prefix"/share/man/man1/*.gz; do
  gzip -t "$page" 2>/dev/null || { fail "$(basename "$page") is not gzipped"; continue; }
  zcat "$page" | grep -q "^\.TH .* \"Kestrel $version\"" || fail "$(basename "$page") does not name Kestrel $version"
  if command -v groff >/dev/null; then
    warnings=$(zcat "$page" | groff -man -Tutf8 -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  fi
done

[ "$failures" -eq 0 ] || exit 1
echo "install tree under $prefix: ok"
