#!/usr/bin/env bash
# Builds both Windows presets and runs the end-to-end benchmark (Benchmark.cpp) under
# wine64 on a virtual X display. Usage, from anywhere: tests/e2e/run-benchmark.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=${1:-20}
for preset in windows-x64 windows-x86; do
    cmake --preset "$preset" >/dev/null
done
cmake --build --preset windows-x64 --target korvel_e2e_benchmark >/dev/null
cmake --build --preset windows-x86 --target Korvel >/dev/null

xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    tests/wine/wine-run build/windows-x64/tests/e2e/korvel_e2e_benchmark.exe "$runs" \
    "x86_64=Z:$PWD/build/windows-x64/app/Korvel.exe" \
    "i686=Z:$PWD/build/windows-x86/app/Korvel.exe" 2>&1 |
    grep -v -e 'rundll32.exe' -e 'has been updated' || true
