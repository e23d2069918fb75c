#include "pasta_usuario.h"

#include "dialogos.h"
#include "erro.h"
#include "esquema.h"
#include "ufunc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

const QString kIni = QStringLiteral("Mirvale.ini");
const QString kBancoLocal = QStringLiteral("corlando.db");

QString comBarra(const QString &pasta)
{
    const QString limpa = QDir::cleanPath(QDir(pasta).absolutePath());
    return limpa.endsWith(QLatin1Char('/')) ? limpa : limpa + QLatin1Char('/');
}

bool pastaPropria(const QString &pasta)
{
    return QFileInfo::exists(pasta + kIni) && QFileInfo(pasta).isWritable();
}

void copiar(const PastasPrograma &pastas, const QString &nome)
{
    const QString destino = pastas.sistema + nome;
    if (QFileInfo::exists(destino))
        return;
    if (!QFile::copy(pastas.compartilhada + nome, destino))
        throw Erro(QStringLiteral("Não foi possível copiar \"%1\" para a pasta de dados \"%2\".")
                       .arg(pastas.compartilhada + nome, QDir::toNativeSeparators(pastas.sistema)));
    // The package's files are read-only; the user's copies are the user's.
    QFile::setPermissions(destino, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                       QFileDevice::ReadOther);
}

} // namespace

PastasPrograma EscolherPastas(const QString &pastaExecutavel)
{
    const QString programa = comBarra(pastaExecutavel);
    if (pastaPropria(programa))
        return {programa, QString(), false};
    PastasPrograma pastas;
    pastas.sistema = comBarra(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    pastas.compartilhada = comBarra(programa + QStringLiteral("../share/corlando"));
    pastas.primeiroInicio = !QFileInfo::exists(pastas.sistema + kIni);
    return pastas;
}

InicioUsuario PerguntarInicio(const QString &pastaUsuario)
{
    const Resposta r = Dialogos::atual().pergunta(
        QStringLiteral("Bem-vindo ao Corlando!\n\nSeus dados ficarão na pasta:\n%1\n\n"
                       "Deseja começar com os dados de demonstração?\n\n"
                       "Sim: clientes, produtos e pedidos de exemplo, para conhecer o programa.\n"
                       "Não: uma instalação vazia, a ser preenchida pelo botão \"Atualizar\".")
            .arg(QDir::toNativeSeparators(pastaUsuario)),
        QStringLiteral("Primeiro início"), Resposta::Sim);
    return r == Resposta::Sim ? InicioUsuario::Demonstracao : InicioUsuario::Vazio;
}

void PrepararPastaUsuario(const PastasPrograma &pastas, InicioUsuario inicio)
{
    QDir pasta(pastas.sistema);
    if (!pasta.mkpath(QStringLiteral("relatórios")))
        throw Erro(QStringLiteral("Não foi possível criar a pasta de dados \"%1\".")
                       .arg(QDir::toNativeSeparators(pastas.sistema)));
    copiar(pastas, QStringLiteral("local.udl"));
    copiar(pastas, QStringLiteral("central.udl"));
    if (!QFileInfo::exists(pastas.sistema + kBancoLocal)) {
        if (inicio == InicioUsuario::Demonstracao)
            copiar(pastas, kBancoLocal);
        else
            Esquema::criarBancoLocal(pastas.sistema + kBancoLocal);
    }
    // Last: a folder with Mirvale.ini is a finished one.
    copiar(pastas, kIni);
}

PastasPrograma IniciarPastas(const QString &pastaExecutavel)
{
    const PastasPrograma pastas = EscolherPastas(pastaExecutavel);
    if (pastas.primeiroInicio)
        ExecutarProtegido([&pastas] { PrepararPastaUsuario(pastas, PerguntarInicio(pastas.sistema)); });
    return pastas;
}
