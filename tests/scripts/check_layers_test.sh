#!/usr/bin/env bash
# scripts/check-layers on a copy of the source tree: the copy as it is
# passes, and each include planted against the rules fails it, naming the
# file and what it may not use.
#   check_layers_test.sh SOURCE_ROOT
set -u
root=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-layers-XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/tree
mkdir "$tree"
(cd "$root" && tar -cf - scripts text store search report tools app res bench) | tar -C "$tree" -xf -
failed=0

check() {
  bash "$tree/scripts/check-layers" "$tree" >"$work/out" 2>&1
}

if ! check; then
  echo "FAIL: the copy as it is breaks the rules:"
  cat "$work/out"
  failed=1
fi

# file | line planted at its end | what the breach must say
cases=(
  "text/cp1252.cpp|#include \"store/codec/codec_buffer.h\"|text/ may not use store/codec/"
  "store/platform/platform_common.cpp|#include \"store/codec/codec_buffer.h\"|store/platform/ may not use store/codec/"
  "store/codec/huffman_codec.cpp|#include \"store/record_store.h\"|store/codec/ may not use store/"
  "store/codec/bit_reader.cpp|#include \"store/platform/posix_files.h\"|store/codec/ may not use store/platform/"
  "store/record_store.cpp|#include \"search/find_matches.h\"|store/ may not use search/"
  "search/find_matches.cpp|#include \"report/layouts.h\"|search/ may not use report/"
  "report/layouts.h|#include \"tools/book_command.h\"|report/ may not use tools/"
  "tools/cmd_list.cpp|#include \"app/kestrel_app.h\"|tools/ may not use app/"
  "tools/cmd_list.cpp|#include \"res/resources.h\"|tools/ may not use app/"
  "app/kestrel_app.cpp|#include \"tools/book_command.h\"|app/ may not use tools/"
  "search/find_matches.cpp|#include <windows.h>|includes a Windows header"
  "store/record_store.cpp|#include <QString>|includes a Qt header"
  "report/layouts.h|#include \"app/toolkit/qt/dialog_font.h\"|which includes Qt"
)
for c in "${cases[@]}"; do
  IFS='|' read -r file planted says <<<"$c"
  cp "$tree/$file" "$work/kept"
  printf '%s\n' "$planted" >>"$tree/$file"
  if check; then
    echo "FAIL: $file with $planted passed"
    failed=1
  elif ! grep -qF "$file" "$work/out" || ! grep -qF "$says" "$work/out"; then
    echo "FAIL: $file with $planted: the breach is not told as \"$says\":"
    cat "$work/out"
    failed=1
  fi
  cp "$work/kept" "$tree/$file"
done

[ "$failed" -eq 0 ] && echo "check-layers catches ${#cases[@]} planted includes"
exit "$failed"
