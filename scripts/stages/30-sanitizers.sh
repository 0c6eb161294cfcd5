#!/usr/bin/env bash
# Stage: AddressSanitizer and UBSan build, whole test suite
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (float-cast-overflow included, every finding fatal) and runs the whole test
# suite there, window tests and the report sweep included. Leak checking is
# on; Qt needs no suppression.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" "${TEST_FONT_PACKAGES[@]}"

# The preset carries the sanitizers' options, so this is what a developer runs.
build_preset asan
ctest --preset asan -j "$(build_jobs)"
