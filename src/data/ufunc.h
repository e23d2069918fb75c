#pragma once

#include "dialogos.h"
#include "leitor_ini.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// Small routines used across the program.

void MsgInformacao(const QString &mensagem, const QString &titulo);
void MsgErro(const QString &mensagem, const QString &titulo);
// A question with Yes and No; No is the default button unless told otherwise.
Resposta MsgPergunta(const QString &mensagem, const QString &titulo, Resposta padrao = Resposta::Nao);

// The program's standard error box, for an error that reached the user
// interface: its own text, the program's name as caption.
void MsgErroPadrao(const QString &mensagem);
// Runs a user action; an error it raises is shown in the standard error box
// and the program carries on.
void ExecutarProtegido(const std::function<void()> &acao);

// The text without any occurrence of the character.
QString RemoverCaracter(QChar caracter, const QString &texto);

// Pads the text to the width with the fill: side "E" fills on the right (the
// text stays on the left), side "D" on the left. Never shortens.
QString CompletarTexto(const QString &texto, const QString &preenchimento, int largura, const QString &lado);

// Major, minor, release and build of the program.
std::array<std::uint16_t, 4> VersaoArquivo();
// "2.0.0 (Build 15)".
QString VersaoSistema();
