#!/usr/bin/env bash
# Builds the Debian package corlando_<version>_amd64.deb into build/pacote.
# Usage: scripts/pacote.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
scripts/install-deps.sh
scripts/build.sh "$dir"
(cd "$dir" && cpack -G DEB -B "$PWD/pacote" >/dev/null)
ls "$dir"/pacote/corlando_*_amd64.deb
