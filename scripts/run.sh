#!/usr/bin/env bash
# Builds Corvalin and starts it on its embedded database (pass --home DIR to choose the program home).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh corvalin
exec ./build/corvalin "$@"
