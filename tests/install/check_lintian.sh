#!/bin/sh
# Runs lintian on the package that check_package.sh built. Fails on any error
# or warning, and on the informational tags of faults this package once had:
# programs without Debian's hardening, or with the compiler's notes left in.
# usage: check_lintian.sh PACKAGE_WORK_DIR
set -eu
deb=$(ls "$1"/out/*.deb)
report=$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 | grep '^[EWIPX]: ' || true)
echo "lintian $(lintian --print-version) on $(basename "$deb"):"
echo "${report:-(no tags)}"
bad=$(echo "$report" | grep -e '^[EW]: ' -e ' hardening-no-' -e ' binary-has-unneeded-section' || true)
if [ -n "$bad" ]; then
  echo "FAIL: lintian tags to mend:" >&2
  echo "$bad" >&2
  exit 1
fi
echo "lintian: ok"
