#!/usr/bin/env bash
# Stage: Style: shellcheck and clang-format
# Checks the project's style. Every shell script the repository holds (named
# *.sh, or starting with a shell's #! line) goes through Debian's shellcheck
# at every severity, style included, following the files it sources: any
# remark fails the stage. Every C++ source and header goes through Debian's
# clang-format against .clang-format: any line it would change fails the
# stage. Each check is a function of its own, run in turn.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages git shellcheck clang-format
require_commands git shellcheck clang-format

check_shell_scripts() {
  local scripts=() file
  while IFS= read -r -d '' file; do
    [ -f "$file" ] && is_shell_script "$file" && scripts+=("$file")
  done < <(git ls-files -z)
  [ ${#scripts[@]} -gt 0 ] || fail "git lists no shell scripts: is this a clone of the project?"
  shellcheck --severity=style --external-sources "${scripts[@]}" ||
    fail "shellcheck has remarks on the shell scripts (above)"
  say "$(shellcheck --version | sed -n 's/^version: /shellcheck /p'): no remarks on ${#scripts[@]} shell scripts"
}

check_cpp_format() {
  local sources=()
  mapfile -t sources < <(git ls-files '*.cpp' '*.h')
  [ ${#sources[@]} -gt 0 ] || fail "git lists no C++ sources: is this a clone of the project?"
  clang-format --dry-run -Werror "${sources[@]}" ||
    fail "clang-format would change the lines above: run clang-format -i on those files"
  say "$(clang-format --version | sed 's/ *(.*//'): ${#sources[@]} C++ files formatted as .clang-format says"
}

check_shell_scripts
check_cpp_format
