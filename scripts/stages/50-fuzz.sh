#!/usr/bin/env bash
# Stage: Fuzzing the Compute path for a minute
# A bounded libFuzzer run (clang, ASan, UBSan) over the Compute path, from the
# committed seeds. `scripts/fuzz SECONDS` runs it for longer.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/fuzz 60
