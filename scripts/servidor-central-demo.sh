#!/usr/bin/env bash
# Starts a demo central server: PostgreSQL in a folder of its own, listening on
# 127.0.0.1 only, with the central schema (sql/central-postgresql.sql), the
# sample central data and a login for the demo representative. Prints the
# central.udl to use; Ctrl+C stops the server and removes its folder.
# PostgreSQL refuses to run as root: under root the server runs as the
# "postgres" user.
# Usage: scripts/servidor-central-demo.sh [build-dir] [port]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
porta=${2:-55432}
scripts/install-deps.sh
[ -x "$dir/tools/carga_central/carregar_central" ] || scripts/build.sh "$dir"

bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
pasta=$(mktemp -d /tmp/corlando-central.XXXXXX)
chmod 755 "$pasta"
mkdir "$pasta/dados"
como=()
if [ "$(id -u)" -eq 0 ]; then
  como=(runuser -u postgres --)
  chown postgres: "$pasta/dados"
fi
senha() { head -c 18 /dev/urandom | base64 | tr -dc 'A-Za-z0-9'; }
senha_adm=$(senha)
senha_rep=$(senha)
representante=12
printf '%s\n' "$senha_adm" >"$pasta/senha-adm"
[ ${#como[@]} -gt 0 ] && chown postgres: "$pasta/senha-adm"

"${como[@]}" "$bin/initdb" -D "$pasta/dados" -U postgres -A scram-sha-256 --pwfile="$pasta/senha-adm" \
  -E UTF8 --no-locale >/dev/null
rm -f "$pasta/senha-adm"
parar() {
  "${como[@]}" "$bin/pg_ctl" -D "$pasta/dados" -m fast stop >/dev/null 2>&1 || true
  rm -rf "$pasta"
}
trap parar EXIT
trap "exit 130" INT TERM
"${como[@]}" "$bin/pg_ctl" -D "$pasta/dados" -w -l "$pasta/dados/servidor.log" \
  -o "-h 127.0.0.1 -p $porta -c unix_socket_directories=''" start >/dev/null

# Password files, readable by their owner only.
printf '127.0.0.1:%s:*:postgres:%s\n' "$porta" "$senha_adm" >"$pasta/adm.pgpass"
printf '127.0.0.1:%s:central:rep_%s:%s\n' "$porta" "$representante" "$senha_rep" >"$pasta/central.pgpass"
chmod 600 "$pasta/adm.pgpass" "$pasta/central.pgpass"
psql_adm() { PGPASSFILE="$pasta/adm.pgpass" "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$porta" -U postgres "$@"; }
psql_adm -d postgres -c "CREATE DATABASE central" >/dev/null
psql_adm -d central -f sql/central-postgresql.sql >/dev/null
psql_adm -d central >/dev/null <<SQL
CREATE ROLE rep_$representante LOGIN PASSWORD '$senha_rep' IN ROLE representante;
INSERT INTO tbrepresentante_usuario VALUES ('rep_$representante', '$representante');
SQL

ligacao() { # data-link file for a login
  printf '[LINK]\nDRIVER=QPSQL\nHOST=127.0.0.1\nPORT=%s\nDATABASE=central\nUSER=%s\nPASSFILE=%s\nSSLMODE=disable\n' \
    "$porta" "$1" "$2"
}
ligacao postgres "$pasta/adm.pgpass" >"$pasta/adm.udl"
central=$(mktemp -u /tmp/corlando-central-XXXXXX.db)
QT_QPA_PLATFORM=offscreen "$dir/tools/gerar_demo" central "$central"
"$dir/tools/carga_central/carregar_central" "$central" "$pasta/adm.udl"
rm -f "$central"
ligacao "rep_$representante" "$pasta/central.pgpass" >"$pasta/central.udl"

echo "Servidor central da demonstração em 127.0.0.1:$porta (pasta $pasta)."
echo "Para usá-lo, grave este conteúdo em $dir/programa/central.udl (ou aponte PATH-BKP do Mirvale.ini para"
echo "$pasta/central.udl):"
echo
cat "$pasta/central.udl"
echo
echo "Ctrl+C encerra o servidor."
tail -f /dev/null &
wait $! || true
