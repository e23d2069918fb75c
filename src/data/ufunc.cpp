#include "ufunc.h"

#include "erro.h"
#include "versao_build.h"

#include <QCoreApplication>

void MsgInformacao(const QString &mensagem, const QString &titulo)
{
    Dialogos::atual().mensagem(mensagem, titulo, Icone::Informacao);
}

void MsgErro(const QString &mensagem, const QString &titulo)
{
    Dialogos::atual().mensagem(mensagem, titulo, Icone::Erro);
}

Resposta MsgPergunta(const QString &mensagem, const QString &titulo, Resposta padrao)
{
    return Dialogos::atual().pergunta(mensagem, titulo, padrao);
}

void MsgErroPadrao(const QString &mensagem)
{
    Dialogos::atual().mensagem(mensagem, QCoreApplication::applicationName(), Icone::Erro);
}

void ExecutarProtegido(const std::function<void()> &acao)
{
    try {
        acao();
    } catch (const Erro &e) {
        MsgErroPadrao(e.mensagem());
    } catch (const std::exception &e) {
        MsgErroPadrao(QString::fromLocal8Bit(e.what()));
    }
}

QString RemoverCaracter(QChar caracter, const QString &texto)
{
    QString resultado = texto;
    return resultado.remove(caracter);
}

QString CompletarTexto(const QString &texto, const QString &preenchimento, int largura, const QString &lado)
{
    const int falta = largura - static_cast<int>(texto.size());
    if (falta <= 0)
        return texto;
    const QString enchimento = preenchimento.repeated(falta);
    if (lado == QLatin1String("E"))
        return texto + enchimento;
    if (lado == QLatin1String("D"))
        return enchimento + texto;
    return texto;
}

std::array<std::uint16_t, 4> VersaoArquivo()
{
    return {CORLANDO_VERSAO_MAIOR, CORLANDO_VERSAO_MENOR, CORLANDO_VERSAO_REVISAO, CORLANDO_VERSAO_BUILD};
}

QString VersaoSistema()
{
    const auto v = VersaoArquivo();
    return QStringLiteral("%1.%2.%3 (Build %4)").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]);
}
