#!/usr/bin/env bash
# Fails when a C++ source or header differs from .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h' |
  xargs -0 clang-format --dry-run --Werror
