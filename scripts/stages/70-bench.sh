#!/usr/bin/env bash
# Stage: Benchmarks build and brief run
# Builds the benchmarks in Release and runs each once, briefly, so they keep
# building and running. Times are printed, never judged: the stage fails only
# when a build fails or a benchmark crashes, hangs or reports a wrong result.
set -euo pipefail
cd "$(dirname "$0")/../.."
exec scripts/bench --quick
