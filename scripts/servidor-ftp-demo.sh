#!/usr/bin/env bash
# Starts the FTP server the demo installation's "Atualizar" fetches from:
# 127.0.0.1:2121, user representante12, password demonstracao, serving a fresh
# sample central database as atualizacao/central.db. Runs until Ctrl+C.
# Usage: scripts/servidor-ftp-demo.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
scripts/install-deps.sh
[ -x "$dir/tools/gerar_demo" ] || scripts/build.sh "$dir"
servido="$dir/ftp-demo"
mkdir -p "$servido/atualizacao"
rm -f "$servido/atualizacao/central.db"
QT_QPA_PLATFORM=offscreen "$dir/tools/gerar_demo" central "$servido/atualizacao/central.db"
echo "Servidor FTP da demonstração em 127.0.0.1:2121 (Ctrl+C encerra)."
# Debian's interpreter: the python3 on PATH may lack pyftpdlib.
exec /usr/bin/python3 scripts/servidor_ftp.py --pasta "$servido" --usuario representante12 \
  --senha demonstracao --porta 2121
