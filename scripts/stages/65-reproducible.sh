#!/usr/bin/env bash
# Stage: Reproducible release files
# Clones the checked-out commit into two folders of different names and
# depths, gives the second clone's files other times, makes the release files
# in each with scripts/release (one after the other, so at different times)
# and compares them: any differing byte fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" git dpkg-dev file g++-mingw-w64-i686 zip unzip
require_commands git cmp

commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  say "uncommitted changes are left out; building commit ${commit:0:12}"
fi

work=$PWD/build/reproducible
rm -rf "$work"
first=$work/one/vellamire
second=$work/second-build/in/a/deeper/folder
for dir in "$first" "$second"; do
  git clone --quiet --no-checkout "$PWD" "$dir"
  git -C "$dir" -c advice.detachedHead=false checkout --quiet "$commit"
done
find "$second" -path "$second/.git" -prune -o -exec touch -h -d '2001-02-03 04:05:06' {} +

for dir in "$first" "$second"; do
  "$dir/scripts/release" >"$dir.log" 2>&1 || { cat "$dir.log" >&2; fail "scripts/release failed in $dir"; }
done

a=$first/build/release-files
b=$second/build/release-files
# The names of the files in the folder, each followed by a blank.
file_names() { (cd "$1" && printf '%s ' *); }
[ "$(file_names "$a")" = "$(file_names "$b")" ] || fail "different files: $(file_names "$a")/ $(file_names "$b")"
differ=0
for path in "$a"/*; do
  file=${path##*/}
  if cmp -s "$a/$file" "$b/$file"; then
    echo "  $file: $(stat -c %s "$a/$file") bytes, identical"
  else
    differ=1
    echo "  $file: $(cmp -l "$a/$file" "$b/$file" 2>/dev/null | wc -l) bytes differ; the first (offset, octal bytes):" >&2
    cmp -l "$a/$file" "$b/$file" 2>/dev/null | head -n 10 | sed 's/^/    /' >&2
  fi
done
[ "$differ" -eq 0 ] || fail "the release files of commit ${commit:0:12} differ between $first and $second"
say "commit ${commit:0:12} gave byte-identical release files in both folders"
