#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the demo
# installation (any working folder would do: the program finds its files in
# its own folder).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
cd build/programa
exec ./corlando
