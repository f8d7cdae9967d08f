#!/usr/bin/env bash
# Builds Corvalin and runs every test. The data-layer suites also run on PostgreSQL when
# CORVALIN_TEST_PG names a server ("host=127.0.0.1 port=5432 user=postgres dbname=corvalin_test").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
jobs=$(nproc 2>/dev/null || echo 2)
cd build
ctest --output-on-failure --parallel "$jobs" "$@"
