"""SMTP server for tests: listens on 127.0.0.1, demands a login and stores every
message it accepts in a folder.

    /usr/bin/python3 servidor_smtp.py --pasta DIR --usuario U --senha S [--porta N] [--starttls]

With --starttls it offers STARTTLS with a self-signed certificate made at
start (openssl), as a company-internal server does.

With no port (or 0) it picks a free one. Once it accepts connections it prints
the port on a line of its own. Each message becomes NNNN.eml (the raw content,
CRLF line ends as received) and then NNNN.json (envelope sender and
recipients, and whether the session was encrypted); the .json appears last, so a reader waiting for it finds the .eml
complete. Both are written under a temporary name and renamed.
"""

import argparse
import json
import logging
import os
import signal
import socket
import ssl
import subprocess
import threading
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def porta_livre():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def gravar(caminho, dados):
    temporario = caminho + ".tmp"
    with open(temporario, "wb") as f:
        f.write(dados)
    os.replace(temporario, caminho)


class Guardar:
    def __init__(self, pasta):
        self.pasta = pasta
        self.contador = 0
        self.trava = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        # A file "recusar" holds the reply the server gives instead of
        # accepting (a 4xx or 5xx line), for as long as it exists.
        try:
            with open(os.path.join(self.pasta, "recusar"), encoding="utf-8") as f:
                return f.read().strip()
        except FileNotFoundError:
            pass
        with self.trava:
            self.contador += 1
            base = os.path.join(self.pasta, "%04d" % self.contador)
        gravar(base + ".eml", envelope.original_content)
        envelope_json = {
            "de": envelope.mail_from,
            "para": list(envelope.rcpt_tos),
            "tls": session.ssl is not None,
        }
        gravar(base + ".json", json.dumps(envelope_json, ensure_ascii=False).encode("utf-8"))
        return "250 OK"


class Autenticar:
    def __init__(self, usuario, senha):
        self.usuario = usuario.encode("utf-8")
        self.senha = senha.encode("utf-8")

    def __call__(self, server, session, envelope, mechanism, auth_data):
        valido = (
            isinstance(auth_data, LoginPassword)
            and auth_data.login == self.usuario
            and auth_data.password == self.senha
        )
        # handled=False: the server itself answers 535 to a refused login.
        return AuthResult(success=valido, handled=False, auth_data=auth_data)


def contexto_autoassinado(pasta):
    certificado = os.path.join(pasta, "certificado.pem")
    chave = os.path.join(pasta, "chave.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
         "-subj", "/CN=127.0.0.1", "-keyout", chave, "-out", certificado],
        check=True, capture_output=True)
    contexto = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    contexto.load_cert_chain(certificado, chave)
    return contexto


def main():
    argumentos = argparse.ArgumentParser()
    argumentos.add_argument("--pasta", required=True)
    argumentos.add_argument("--usuario", required=True)
    argumentos.add_argument("--senha", required=True)
    argumentos.add_argument("--porta", type=int, default=0)
    argumentos.add_argument("--starttls", action="store_true")
    a = argumentos.parse_args()

    # Login without TLS is what the tests want: the server runs on loopback.
    warnings.filterwarnings("ignore", "Requiring AUTH while not requiring TLS")
    warnings.filterwarnings("ignore", "Session.login_data is deprecated")
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    porta = a.porta or porta_livre()
    controlador = Controller(
        Guardar(a.pasta),
        hostname="127.0.0.1",
        port=porta,
        authenticator=Autenticar(a.usuario, a.senha),
        auth_require_tls=False,
        auth_required=True,
        tls_context=contexto_autoassinado(a.pasta) if a.starttls else None,
    )
    # start() returns once the server answers on the port.
    controlador.start()
    print(porta, flush=True)

    parar = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: parar.set())
    signal.signal(signal.SIGINT, lambda *_: parar.set())
    parar.wait()
    controlador.stop()


if __name__ == "__main__":
    main()
