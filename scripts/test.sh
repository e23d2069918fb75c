#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/verificar_camadas.py
scripts/verificar_formato.sh
scripts/build.sh build
cd build
ctest --output-on-failure -j2 --timeout 300
