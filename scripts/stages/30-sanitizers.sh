# Stage: AddressSanitizer and UBSan build, whole test suite
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (float-cast-overflow included, every finding fatal) and runs the whole test
# suite there, window tests included, then the report sweep. Leak checking is
# on; Qt needs no suppression.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(jobs)"
ctest --preset asan -j "$(jobs)"
build/asan/tools/report_sweep >/dev/null
