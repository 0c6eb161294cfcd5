#!/usr/bin/env bash
# Stage: Benchmarks build and brief run
# Builds the benchmarks (preset bench) and runs each once, briefly, so they
# keep building and running. Neither the times nor the benchmarks' results
# are judged: the stage fails only when the build fails or a benchmark
# program ends with a failure status, as one that crashes does.
set -euo pipefail
cd "$(dirname "$0")/../.."
exec scripts/bench --quick
