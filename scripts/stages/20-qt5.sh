#!/usr/bin/env bash
# Stage: Qt 5.15 build and tests
# Builds the whole program against Qt 5.15, the Qt line that still ships for
# 32-bit Windows, and runs every test there, window tests included.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" "${TEST_FONT_PACKAGES[@]}" qtbase5-dev

cmake --preset qt5 | grep 'Building the window against Qt'
cmake --build --preset qt5 -j "$(build_jobs)"
ctest --preset qt5 -j "$(build_jobs)"
