#!/usr/bin/env python3
"""Fails when a file under src/ includes what its layer does not link.

Each folder under src/ is one library; its CMakeLists.txt names what it
links (`corlando_modulo(nome DEPENDE ...)`). A header of another layer may be
included only if that layer is reachable through those links, and a Qt header
only if its Qt module (Qt6::Gui, Qt6::Widgets, ...) is: so Widgets stays in
the screens and Gui above the logic, exactly as the link lines say.
"""
import glob
import os
import re
import sys

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(RAIZ, "src")


def dependencias_diretas():
    deps = {}
    for cmake in glob.glob(os.path.join(SRC, "*", "CMakeLists.txt")):
        texto = open(cmake, encoding="utf-8").read()
        m = re.search(r"corlando_modulo\(\s*(\w+)\s+DEPENDE\s+([^)]*)\)", texto)
        if m:
            deps[m.group(1)] = m.group(2).split()
    return deps


# What Qt's own modules bring with them.
QT_IMPLICA = {
    "Qt6::Widgets": ["Qt6::Gui"],
    "Qt6::Charts": ["Qt6::Widgets"],
    "Qt6::PrintSupport": ["Qt6::Widgets"],
    "Qt6::Svg": ["Qt6::Gui"],
}


def alcance(camada, deps, visto=None):
    visto = set() if visto is None else visto
    for d in deps.get(camada, []) + QT_IMPLICA.get(camada, []):
        if d not in visto:
            visto.add(d)
            alcance(d, deps, visto)
    return visto


def cabecalhos_do_projeto():
    dono = {}
    for caminho in glob.glob(os.path.join(SRC, "*", "*.h")) + glob.glob(os.path.join(SRC, "*", "*.h.in")):
        camada = os.path.basename(os.path.dirname(caminho))
        nome = os.path.basename(caminho)
        dono[nome[:-3] if nome.endswith(".in") else nome] = camada
    # Forms compiled by uic produce ui_<name>.h in the layer that holds the .ui.
    for caminho in glob.glob(os.path.join(SRC, "*", "*.ui")):
        camada = os.path.basename(os.path.dirname(caminho))
        dono["ui_" + os.path.basename(caminho)[:-3] + ".h"] = camada
    return dono


def modulos_qt():
    """Maps each Qt class header (QWidget, QtGui/QPainter...) to its CMake target."""
    pastas = glob.glob("/usr/include/*/qt6") + glob.glob("/usr/include/qt6")
    modulo = {}
    for pasta in pastas:
        for dir_modulo in glob.glob(os.path.join(pasta, "Qt*")):
            nome_modulo = os.path.basename(dir_modulo)
            alvo = "Qt6::" + nome_modulo[2:]
            for arquivo in os.listdir(dir_modulo):
                modulo.setdefault(arquivo, alvo)
                modulo.setdefault(nome_modulo + "/" + arquivo, alvo)
    if not modulo:
        sys.exit("verificar_camadas: Qt 6 headers not found")
    return modulo


def main():
    deps = dependencias_diretas()
    dono = cabecalhos_do_projeto()
    qt = modulos_qt()
    falhas = []
    for caminho in sorted(glob.glob(os.path.join(SRC, "*", "*.cpp")) + glob.glob(os.path.join(SRC, "*", "*.h"))):
        camada = os.path.basename(os.path.dirname(caminho))
        if camada not in deps:
            continue
        permitido = alcance(camada, deps) | {camada}
        for n, linha in enumerate(open(caminho, encoding="utf-8"), 1):
            m = re.match(r'\s*#\s*include\s*([<"])([^>"]+)[>"]', linha)
            if not m:
                continue
            incluido = m.group(2)
            if m.group(1) == '"':
                outra = dono.get(os.path.basename(incluido))
                if outra and outra not in permitido:
                    falhas.append(f"{os.path.relpath(caminho, RAIZ)}:{n}: {camada} includes {incluido} of {outra}")
            else:
                alvo = qt.get(incluido)
                if alvo and alvo != "Qt6::Core" and alvo not in permitido:
                    falhas.append(f"{os.path.relpath(caminho, RAIZ)}:{n}: {camada} includes {incluido} ({alvo})")
    for f in falhas:
        print(f)
    if falhas:
        print(f"{len(falhas)} include(s) break the layers; see docs/architecture.md")
        return 1
    print("layers: every include follows the link lines")
    return 0


if __name__ == "__main__":
    sys.exit(main())
