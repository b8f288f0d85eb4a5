#!/bin/sh
# Builds the Debian package with cpack, unpacks it into a throwaway root with
# dpkg -x and runs the programs from there; checks the declared dependencies
# and that the package keeps to /usr and runs no scripts on install or removal.
# usage: check_package.sh BUILD_DIR WORK_DIR APP_ID VERSION
set -eu
build=$1 work=$2 id=$3 version=$4
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
}
deb=$(ls "$work"/out/*.deb)
echo "package: $deb"
dpkg-deb -x "$deb" "$work/root"

"$work/root/usr/bin/kestrel-book" --version | grep -qx "kestrel-book $version" ||
  fail "packaged kestrel-book --version does not say $version"
"$work/root/usr/bin/kestrel" --version | grep -qx "kestrel $version" ||
  fail "packaged kestrel --version does not say $version"

[ "$(dpkg-deb -f "$deb" Package)" = kestrel ] || fail "package name"
deb_version=$(dpkg-deb -f "$deb" Version)
case "$deb_version" in "$version"-*) ;; *) fail "package version $deb_version is not $version-<revision>" ;; esac
changelog="$work/root/usr/share/doc/kestrel/changelog.Debian.gz"
newest=$(zcat "$changelog" 2>/dev/null | sed -n '1s/^kestrel (\(.*\)).*/\1/p')
[ "$newest" = "$deb_version" ] || fail "the changelog's newest entry is '$newest', the package $deb_version"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6; do
  echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
[ -n "$(dpkg-deb -f "$deb" Section)" ] || fail "no section"

# Nothing outside /usr, and no maintainer scripts that could touch users' files.
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
mkdir -p "$work/control"
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$work/control/$script" ] || fail "package has a $script script"
done

grep -qx "Exec=\"/usr/libexec/kestrel/kestrel-in-documents\"" \
  "$work/root/usr/share/applications/$id.desktop" || fail "packaged desktop entry does not run /usr/libexec/kestrel/kestrel-in-documents"
[ -f "$work/root/usr/share/icons/hicolor/32x32/apps/$id.png" ] || fail "packaged icon"

[ "$failures" -eq 0 ] || exit 1
echo "package: ok"
