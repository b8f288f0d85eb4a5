#!/bin/sh
# The committed sample book is what make_sample_book writes today, and sound.
# When the generator changes on purpose, `make sample` writes it again.
# usage: check_sample.sh MAKE_SAMPLE_BOOK KESTREL_BOOK SAMPLE WORK_DIR
# KESTREL_RUN, when set, is the launcher of both programs (wine-run for the
# Windows build, whose sample must be the same bytes).
set -eu
make_sample=$1 kestrel_book=$2 sample=$3 work=$4
run=${KESTREL_RUN:-}
rm -rf "$work"
mkdir -p "$work"
$run "$make_sample" "$work/phone.dat" >/dev/null
cmp "$sample" "$work/phone.dat" || {
  echo "FAIL: $sample differs from what make_sample_book writes; run make sample" >&2
  exit 1
}
$run "$kestrel_book" check "$sample" >"$work/check.txt"
grep -qx "status: sound" "$work/check.txt" || { cat "$work/check.txt"; exit 1; }
grep -qx "records: 60" "$work/check.txt" || { cat "$work/check.txt"; exit 1; }
echo "sample book: ok"
