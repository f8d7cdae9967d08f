#!/usr/bin/env bash
# Configures and builds Corvalin in ./build (pass targets to build only those).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
jobs=$(nproc 2>/dev/null || echo 2)
if [ $# -gt 0 ]; then
    cmake --build build --parallel "$jobs" --target "$@"
else
    cmake --build build --parallel "$jobs"
fi
