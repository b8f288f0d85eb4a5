#!/bin/sh
# Runs the program's read-only-medium test with the book on a real read-only
# file system: a tmpfs, mounted in a mount namespace of this test's own and
# made read-only once the book is on it. Skipped (77) where the system does
# not allow the namespace or the mount.
# usage: read_only_medium.sh KESTREL_APP_TESTS KESTREL_BOOK
set -eu
tests=$1 book_tool=$2
command -v unshare >/dev/null 2>&1 || { echo "SKIP: no unshare"; exit 77; }
unshare -m true 2>/dev/null || { echo "SKIP: no mount namespace allowed"; exit 77; }
exec unshare -m sh -eu -c '
  medium=$(mktemp -d)
  mount -t tmpfs -o size=1m kestrel-ro "$medium" 2>/dev/null || { echo "SKIP: cannot mount"; exit 77; }
  printf "S1\tAdams\tAnn\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n" | "$2" pack "$medium/phone.dat"
  mount -o remount,ro "$medium"
  status=0
  KESTREL_READ_ONLY_BOOK="$medium/phone.dat" "$1" \
    --gtest_filter=JournalRecoveryTest.ReadOnlyMediumToldOnceAndTheSessionGoesOn || status=$?
  umount "$medium" && rmdir "$medium"
  exit $status
' sh "$tests" "$book_tool"
