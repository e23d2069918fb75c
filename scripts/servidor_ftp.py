"""FTP server for the demo installation and the tests (pyftpdlib): serves a
folder on 127.0.0.1 to one user.

    /usr/bin/python3 servidor_ftp.py --pasta DIR --usuario U --senha S [--porta N]
                                     [--cair-apos BYTES]

With no port (or 0) it picks a free one. Once it accepts connections it prints
the port on a line of its own. --cair-apos makes the server process die
abruptly once it has sent that many bytes of file data: a server that goes
away in the middle of a transfer.
"""

import argparse
import os
import signal
import socket
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def porta_livre():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    argumentos = argparse.ArgumentParser()
    argumentos.add_argument("--pasta", required=True)
    argumentos.add_argument("--usuario", required=True)
    argumentos.add_argument("--senha", required=True)
    argumentos.add_argument("--porta", type=int, default=0)
    argumentos.add_argument("--cair-apos", type=int, default=0)
    a = argumentos.parse_args()

    autorizador = DummyAuthorizer()
    autorizador.add_user(a.usuario, a.senha, os.path.abspath(a.pasta), perm="elr")

    class Atendimento(FTPHandler):
        pass

    Atendimento.authorizer = autorizador
    Atendimento.passive_ports = None
    Atendimento.banner = "Servidor FTP de teste"

    if a.cair_apos:
        limite = a.cair_apos

        class DadosQueCaem(DTPHandler):
            enviados = 0

            def send(self, dados):
                resultado = DTPHandler.send(self, dados[: max(1, limite - DadosQueCaem.enviados)])
                DadosQueCaem.enviados += resultado
                if DadosQueCaem.enviados >= limite:
                    os._exit(3)
                return resultado

        # Plain send(), so every byte goes through the counter.
        Atendimento.use_sendfile = False
        Atendimento.dtp_handler = DadosQueCaem

    porta = a.porta or porta_livre()
    servidor = FTPServer(("127.0.0.1", porta), Atendimento)
    print(porta, flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    servidor.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
