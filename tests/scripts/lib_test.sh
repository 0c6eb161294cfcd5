#!/usr/bin/env bash
# Tests of scripts/lib.sh. Each case runs in a bash of its own that sourced the
# library, as a script does, under the script name the case gives. Prints
# every failed check and ends with status 1 when there was one.
set -euo pipefail
lib=$(cd "$(dirname "$0")/../../scripts" && pwd)/lib.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
checks=0
failures=0

# Runs the code in a bash named after the script path (its $0) that sourced
# the library; sets out, err and status from what it printed and returned.
run() {  # script path, code
  status=0
  bash -c 'source "$1" && eval "$2"' "$1" "$lib" "$2" >"$scratch/out" 2>"$scratch/err" || status=$?
  out=$(<"$scratch/out")
  err=$(<"$scratch/err")
}

check() {  # what, expected, actual
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    printf 'FAILED %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3" >&2
    failures=$((failures + 1))
  fi
}

test_say_and_fail_start_with_the_script_name() {
  local cases=(
    # script path             name in its messages
    "tests/fixtures/service.sh  service"
    "/srv/ci/scripts/release    release"
    "program_runs.sh            program_runs"
    "./scripts/fuzz             fuzz"
  ) row path name
  for row in "${cases[@]}"; do
    read -r path name <<<"$row"
    run "$path" 'say "built"; fail "no version"; echo "after fail"'
    check "say from $path" "$name: built" "$out"
    check "fail from $path" "$name: no version" "$err"
    check "status after fail from $path" 1 "$status"
  done
}

test_manifest_packages_by_part_and_32_bit_answer() {
  printf '%s\n' '# a comment: not a part' 'build: cmake g++' 'tests: fonts-a' 'tests: fonts-b weston' \
    'windows: wine64 32bit:wine32:i386' 'i386: g++-multilib no32bit:qemu-user-static' \
    >"$scratch/packages.txt"
  local cases=(
    # answer | parts | packages
    "yes|build|cmake g++"
    "yes|tests|fonts-a fonts-b weston"
    "yes|windows i386|wine64 wine32:i386 g++-multilib"
    "no|windows i386|wine64 g++-multilib qemu-user-static"
    "unknown|windows i386|wine64 g++-multilib"
    "yes|comment nothing|"
  ) row answer parts expected
  for row in "${cases[@]}"; do
    IFS='|' read -r answer parts expected <<<"$row"
    run scripts/test "manifest_packages '$scratch/packages.txt' $answer $parts | tr '\n' ' '"
    check "packages of $parts where the answer is $answer" "$expected" "${out% }"
  done
}

test_is_shell_script_by_name_or_first_line() {
  local cases=(
    # file name | first line | a shell script?
    "lib.sh|# shellcheck shell=bash|yes"
    "run|#!/usr/bin/env bash|yes"
    "hook|#!/bin/sh|yes"
    "setup|#! /bin/bash -e|yes"
    "install|#!/usr/bin/dash|yes"
    "generate.py|#!/usr/bin/env python3|no"
    "tool|#!/usr/bin/env bashdb|no"
    "prompt|#!/usr/bin/fish|no"
    "notes.txt|bash scripts/test|no"
    "empty||no"
  ) row name first expected actual
  mkdir -p "$scratch/files"
  for row in "${cases[@]}"; do
    IFS='|' read -r name first expected <<<"$row"
    if [ -n "$first" ]; then printf '%s\necho hello\n' "$first" >"$scratch/files/$name"; else : >"$scratch/files/$name"; fi
    actual=no
    run scripts/style "is_shell_script '$scratch/files/$name'" && [ "$status" -eq 0 ] && actual=yes
    check "is_shell_script $name ($first)" "$expected" "$actual"
  done
  # A binary file, an image with NUL bytes in its first line.
  printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0' >"$scratch/files/icon.png"
  run scripts/style "is_shell_script '$scratch/files/icon.png'"
  check "is_shell_script icon.png: status" 1 "$status"
  check "is_shell_script icon.png: no message" "" "$err"
}

test_install_missing_as_an_ordinary_user() {
  # A missing package: named, with the command to install it, and the script stops.
  run scripts/run 'id() { echo 1000; }; install_missing bash vellamire-no-such-package; echo reached'
  check "output with a package missing" "" "$out"
  check "message with a package missing" $'Missing Debian packages: vellamire-no-such-package\nInstall them with: sudo apt-get install --no-install-recommends vellamire-no-such-package' "$err"
  check "status with a package missing" 1 "$status"
  # Every package installed: silent, and the script goes on.
  run scripts/run 'id() { echo 1000; }; install_missing bash coreutils; echo reached'
  check "output with every package installed" "reached" "$out$err"
}

test_say_and_fail_start_with_the_script_name
test_manifest_packages_by_part_and_32_bit_answer
test_is_shell_script_by_name_or_first_line
test_install_missing_as_an_ordinary_user

echo "lib_test: $checks checks, $failures failed"
[ "$failures" -eq 0 ]
