#!/usr/bin/env bash
# Configures and builds the program, its tests, benchmarks and the program
# folder (build/programa). Usage: scripts/build.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir"
