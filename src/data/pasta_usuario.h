#pragma once

#include <QString>

// Where the program keeps its data. Started from a writable folder holding
// Mirvale.ini (the build's program folder, a copy on a USB stick) it works in
// that folder. Installed as a package, the executable's folder is neither:
// each user then has a folder of their own (QStandardPaths::AppDataLocation,
// e.g. ~/.local/share/Corlando), made on first start from the shared data the
// package installs beside the executable (../share/corlando), which also
// holds the templates and the logo the user's folder does not replace.
struct PastasPrograma {
    QString sistema;             // PathSistema, ending in "/"
    QString compartilhada;       // the package's shared data, ending in "/"; "" in a program folder
    bool primeiroInicio = false; // the user's folder has no Mirvale.ini yet
};

enum class InicioUsuario { Demonstracao, Vazio };

// The folders for an executable in `pastaExecutavel`.
PastasPrograma EscolherPastas(const QString &pastaExecutavel);

// The first-start question, through the dialog interface: the demo data, or
// an empty installation to be filled by "Atualizar".
InicioUsuario PerguntarInicio(const QString &pastaUsuario);

// Makes the user's folder from the shared data: the settings and data-link
// files, the local database (the demo's, or a new one with no rows) and the
// reports folder. Files already there are left alone: nothing a user has is
// ever replaced. Throws Erro naming what could not be written.
void PrepararPastaUsuario(const PastasPrograma &pastas, InicioUsuario inicio);

// What the program does at start: the folders chosen and, on a user's first
// start, the question asked and the folder made. A failure is shown in the
// standard error box; the data module then reports the missing settings.
PastasPrograma IniciarPastas(const QString &pastaExecutavel);
