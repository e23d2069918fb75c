#pragma once

#include <QString>

// What the main window does, apart from its widgets.
namespace LogicaPrincipal
{

inline constexpr const char *kTitulo = "Corlando - Tela Principal";
inline constexpr const char *kArquivoLogo = "logo.bmp";

// The representative line: "999 - Supervisor geral" when the settings row's
// code is "999", otherwise "Representante: " + code + " - " + name of the
// employee row.
QString textoRepresentante();
// The caption once shown: the title followed by " - Versão: " and the version.
QString tituloComVersao();
// The exit question; true when the user answered Yes.
bool confirmarSaida();
// Starts "remoto.exe" from the program's folder, or says it is missing.
void acessoRemoto();
// The status bar's note of the data folder in use.
QString textoPastaDados();
// A fresh installation has no employee row: the configuration editor runs.
// (After a failed start-up the error was shown already and it does not.)
bool precisaConfigurar();

} // namespace LogicaPrincipal
