"""A hand-made SMTP peer for the tests of waiting and of what reaches a server:
it answers slowly, or falls silent after a message, and writes down every
command it receives. It offers AUTH but never STARTTLS.

    /usr/bin/python3 servidor_smtp_lento.py --registro FILE [--atraso S] [--mudo-apos-dados]

--atraso S waits S seconds before each reply, the greeting included.
--mudo-apos-dados never answers the end of a message: the client waits.

Once it listens it prints its port on a line of its own. Each connection
adds the line "CONEXAO" to the register, each command line follows as
received (its bytes, the CRLF dropped), and a message taken in adds the line
"MENSAGEM <bytes>". The line is written before
the reply, so a client that got its reply finds its command there.
"""

import argparse
import socket
import threading
import time


class Sessao:
    def __init__(self, conexao, registro, trava, atraso, mudo):
        self.conexao = conexao
        self.arquivo = conexao.makefile("rb")
        self.registro = registro
        self.trava = trava
        self.atraso = atraso
        self.mudo = mudo

    def anotar(self, linha):
        with self.trava, open(self.registro, "ab") as f:
            f.write(linha + b"\n")

    def responder(self, texto):
        time.sleep(self.atraso)
        self.conexao.sendall(texto.encode("ascii") + b"\r\n")

    def linha(self):
        bruta = self.arquivo.readline()
        if not bruta:
            raise EOFError
        return bruta.rstrip(b"\r\n")

    def mensagem(self):
        tamanho = 0
        while True:
            linha = self.linha()
            if linha == b".":
                break
            tamanho += len(linha) + 2
        self.anotar(b"MENSAGEM %d" % tamanho)
        if self.mudo:
            while True:
                self.linha()
        self.responder("250 OK")

    def atender(self):
        self.anotar(b"CONEXAO")
        self.responder("220 localhost ESMTP")
        while True:
            linha = self.linha()
            self.anotar(linha)
            verbo = linha.split(b" ", 1)[0].upper()
            if verbo in (b"EHLO", b"HELO"):
                self.responder("250-localhost\r\n250-AUTH PLAIN LOGIN\r\n250 8BITMIME")
            elif verbo == b"AUTH":
#PLAIN : the credentials in one piece; LOGIN : user, then password.
                partes = linha.split()
                pedidos = (2 if partes[1:2] == [b"LOGIN"] else 1) - (len(partes) > 2)
                for _ in range(pedidos):
                    self.responder("334 ")
                    self.anotar(self.linha())
                self.responder("235 Authentication successful")
            elif verbo in (b"MAIL", b"RCPT", b"RSET", b"NOOP"):
                self.responder("250 OK")
            elif verbo == b"DATA":
                self.responder("354 End data with <CR><LF>.<CR><LF>")
                self.mensagem()
            elif verbo == b"QUIT":
                self.responder("221 Bye")
                return
            else:
                self.responder("500 Unknown command")


def atender(conexao, *args):
    with conexao:
        try:
            Sessao(conexao, *args).atender()
        except (EOFError, OSError):
            pass


def main():
    argumentos = argparse.ArgumentParser()
    argumentos.add_argument("--registro", required=True)
    argumentos.add_argument("--atraso", type=float, default=0)
    argumentos.add_argument("--mudo-apos-dados", action="store_true")
    a = argumentos.parse_args()

    escuta = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    escuta.bind(("127.0.0.1", 0))
    escuta.listen(8)
    print(escuta.getsockname()[1], flush=True)
    trava = threading.Lock()
    while True:
        conexao, _ = escuta.accept()
        threading.Thread(target=atender, args=(conexao, a.registro, trava, a.atraso, a.mudo_apos_dados),
                         daemon=True).start()


if __name__ == "__main__":
    main()
