#!/usr/bin/env bash
# Builds the Debian package from the build tree, checks it with lintian,
# desktop-file-validate and appstreamcli, extracts it into a temporary root
# and works there as a user who just installed it: the program's own empty
# start (--preparar vazia), then the first start with the demo data, an order
# entered, priced and printed (teste_pacote_instalado). Nothing may be
# written under the extracted root.
# Usage: teste_pacote.sh <build-dir> <test-program>
set -euo pipefail
build=$1
programa_teste=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

(cd "$build" && cpack -G DEB -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/corlando_*_amd64.deb)
echo "pacote: $(basename "$deb")"

lintian --fail-on error --tag-display-limit 0 "$deb"
raiz="$tmp/raiz"
dpkg-deb -x "$deb" "$raiz"
desktop-file-validate "$raiz"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$raiz"/usr/share/metainfo/*.metainfo.xml

for f in usr/bin/corlando usr/share/corlando/Mirvale.ini usr/share/corlando/corlando.db \
         usr/share/corlando/pedido.rav usr/share/corlando/logo.bmp usr/share/man/man1/corlando.1.gz \
         usr/share/icons/hicolor/scalable/apps/br.com.corlando.Corlando.svg; do
  [ -e "$raiz/$f" ] || { echo "falta no pacote: $f"; exit 1; }
done
dpkg-deb -f "$deb" Depends | tee "$tmp/depends"
for d in libqt6widgets6 libsqlite3 libcurl libgmime-3.0 libpq5 qt6-qpa-plugins fonts-dejavu-core; do
  grep -q "$d" "$tmp/depends" || { echo "dependência não declarada: $d"; exit 1; }
done

retrato() { (cd "$raiz" && find . -printf '%p %s %m %T@\n' | sort); }
retrato >"$tmp/antes"

usuario() { # a fresh user: HOME and XDG folders of its own
  mkdir -p "$tmp/$1"
  env -i PATH="$PATH" HOME="$tmp/$1" XDG_DATA_HOME="$tmp/$1/.local/share" XDG_CONFIG_HOME="$tmp/$1/.config" \
    XDG_CACHE_HOME="$tmp/$1/.cache" XDG_RUNTIME_DIR="$tmp/$1/run" QT_QPA_PLATFORM=offscreen "${@:2}"
}
mkdir -p "$tmp/vazio/run" "$tmp/demo/run"
chmod 700 "$tmp/vazio/run" "$tmp/demo/run"

# The extracted executable itself: an empty installation, no question asked.
pasta=$(usuario vazio "$raiz/usr/bin/corlando" --preparar vazia)
[ "$pasta" = "$tmp/vazio/.local/share/Corlando/" ] || { echo "pasta inesperada: $pasta"; exit 1; }
for f in Mirvale.ini local.udl central.udl corlando.db relatórios; do
  [ -e "$pasta/$f" ] || { echo "falta na pasta do usuário: $f"; exit 1; }
done
# Asked again it leaves the user's folder alone.
echo "; do usuário" >>"$pasta/Mirvale.ini"
usuario vazio "$raiz/usr/bin/corlando" --preparar demonstracao >/dev/null
grep -q "do usuário" "$pasta/Mirvale.ini"
cmp -s "$pasta/corlando.db" "$raiz/usr/share/corlando/corlando.db" && { echo "banco vazio trocado"; exit 1; }

usuario demo env CORLANDO_RAIZ="$raiz" "$programa_teste"

retrato >"$tmp/depois"
diff "$tmp/antes" "$tmp/depois" || { echo "o programa gravou dentro da raiz extraída"; exit 1; }
echo "ok"
