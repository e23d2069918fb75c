#include "arquivo_transferencia.h"

#include "campos_esquema.h"
#include "erro.h"
#include "estado_pedido.h"
#include "regras_tipo_pedido.h"
#include "udm.h"
#include "ufunc.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

namespace
{

QString prefixo(TipoPedido tipo)
{
    return QString::fromUtf8(RegrasDoTipo(tipo).documentos.prefixoTransferencia);
}

QString cabecalho(const QString &nome)
{
    return DM->QyPedido.campo(nome).texto();
}

bool localizarCliente()
{
    return DM->QyCliente.localizar(Campos::Cliente::IdCliente, cabecalho(Campos::Pedido::idCliente));
}

// The characters the code page can write, each as one byte.
const QSet<char32_t> &caracteresWindows1252()
{
    static const QSet<char32_t> caracteres = [] {
        QByteArray todos;
        for (int b = 0; b < 256; ++b)
            todos += static_cast<char>(b);
        QSet<char32_t> conjunto;
        for (char32_t c : QString(QStringDecoder("windows-1252").decode(todos)).toUcs4())
            conjunto.insert(c);
        return conjunto;
    }();
    return caracteres;
}

// A text as the file can hold it, one character per byte: a line break or
// another control character becomes a space, so a line is never split; a
// character the code page lacks becomes "?" (the encoder's own substitute is
// Ctrl-Z, an end of file to many readers).
QString textoDoArquivo(const QString &texto)
{
    QString limpo;
    for (char32_t c : texto.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (QChar::category(c) == QChar::Other_Control)
            limpo += u' ';
        else if (!caracteresWindows1252().contains(c))
            limpo += u'?';
        else
            limpo += QChar(static_cast<char16_t>(c));
    }
    return limpo;
}

// The customer's CNPJ digits (a mask's "_" placeholders stay), or spaces
// when the order's customer is not on file.
QString campoCnpj()
{
    if (!localizarCliente())
        return {};
    QString cnpj = DM->QyCliente.campo(Campos::Cliente::cnpj).texto();
    for (QChar c : {u'.', u',', u'/', u'-'})
        cnpj = RemoverCaracter(c, cnpj);
    return CompletarTexto(textoDoArquivo(cnpj), QStringLiteral(" "), 14, QStringLiteral("E"));
}

// The amount in cents, digits only: 1.234,50 gives 123450.
QString centavos(const Dinheiro &valor)
{
    return RemoverCaracter(u'.', RemoverCaracter(u',', valor.exibicao()));
}

QString campoDoItem(const ConjuntoDados &itens, const QString &campo)
{
    return textoDoArquivo(itens.campo(campo).texto());
}

QString linhaDoItem(int sequencia, const ConjuntoDados &itens, const QString &dataPedido, const QString &representante,
                    const QString &cnpj)
{
    const QString codigo = itens.campo(Campos::Item::codigo).texto();
    QString linha = CompletarTexto(QString::number(sequencia), QStringLiteral("0"), 3, QStringLiteral("D"));
    linha += CompletarTexto(textoDoArquivo(codigo), QStringLiteral(" "), 20, QStringLiteral("E"));
    linha += CompletarTexto(campoDoItem(itens, Campos::Item::item_descricao).left(51), QStringLiteral(" "), 51,
                            QStringLiteral("E"));
    linha += dataPedido;
    linha +=
        CompletarTexto(itens.campo(Campos::Item::quantidade).texto(), QStringLiteral("0"), 8, QStringLiteral("D")) +
        QStringLiteral("00");
    linha += CompletarTexto(centavos(itens.campo(Campos::Item::valorTotal).dinheiro()), QStringLiteral("0"), 12,
                            QStringLiteral("D"));
    linha += representante;
    linha += CompletarTexto(cabecalho(Campos::Pedido::nr_pedido), QStringLiteral(" "), 6, QStringLiteral("E"));
    if (DM->QyProduto.localizar(Campos::Produto::CODIGO, codigo))
        linha += CompletarTexto(textoDoArquivo(DM->QyProduto.campo(Campos::Produto::UNID).texto()), QStringLiteral(" "),
                                2, QStringLiteral("E"));
    return linha + cnpj;
}

// A line break or another control character of the trade name becomes a
// space: a file name (and the mail's attachment name) never holds one.
QString nomeDoArquivo(TipoPedido tipo, const QDate &hoje)
{
    QString fantasia = localizarCliente() ? DM->QyCliente.campo(Campos::Cliente::fantasia).texto() : QString();
    for (QChar &c : fantasia)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return prefixo(tipo) + cabecalho(Campos::Pedido::nr_pedido) + QStringLiteral("cliente-") +
           cabecalho(Campos::Pedido::idCliente) + QLatin1Char('-') + fantasia + QStringLiteral("data-") +
           hoje.toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".txt");
}

QByteArray emWindows1252(const QStringList &linhas)
{
    QStringEncoder codificador("windows-1252");
    QByteArray bytes;
    for (const QString &linha : linhas)
        bytes += QByteArray(codificador.encode(linha)) + "\r\n";
    return bytes;
}

QString pastaRelatorios()
{
    return QDir(DM->PathSistema).filePath(QStringLiteral("relatórios"));
}

// A "/" in the trade name would lead the file into some other folder.
void gravar(const QString &nome, const QByteArray &conteudo)
{
    const QString caminho = QDir(pastaRelatorios()).filePath(nome);
    if (nome.contains(u'/'))
        throw Erro(QStringLiteral("Não foi possível gravar o arquivo de transferência \"%1\": o nome fantasia do "
                                  "cliente tem caracteres que um nome de arquivo não aceita.")
                       .arg(QDir::toNativeSeparators(caminho)));
    if (!QFileInfo(pastaRelatorios()).isDir())
        throw Erro(QStringLiteral("Não foi possível gravar o arquivo de transferência: a pasta \"%1\" não existe.")
                       .arg(QDir::toNativeSeparators(pastaRelatorios())));
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(conteudo) != conteudo.size() || !arquivo.commit())
        throw Erro(QStringLiteral("Não foi possível gravar o arquivo de transferência \"%1\": %2")
                       .arg(QDir::toNativeSeparators(caminho), arquivo.errorString()));
}

} // namespace

QStringList LinhasArquivoTransferencia(TipoPedido tipo, const QDateTime &agora)
{
    QStringList linhas{QStringLiteral("[ARQUIVO DE TRANSFERENCIA]") +
                       agora.toString(QStringLiteral("dd/MM/yyyy-HH:mm:ss"))};
    // An order without a date keeps the field's width in blanks.
    const Campo data = DM->QyPedido.campo(Campos::Pedido::dt_pedido);
    const QString dataPedido = data.nulo() ? QString(8, u' ') : data.dataHora().toString(QStringLiteral("ddMMyyyy"));
    const QString representante =
        CompletarTexto(DM->QyConfiguracoes.campo(Campos::Configuracoes::cod_funcionario).texto(), QStringLiteral("0"),
                       3, QStringLiteral("D"));
    const QString cnpj = campoCnpj();
    ConjuntoDados &itens = ItensDoPedido(tipo);
    int sequencia = 0;
    for (itens.primeiro(); !itens.fim(); itens.proximo())
        linhas << linhaDoItem(++sequencia, itens, dataPedido, representante, cnpj);
    linhas << QStringLiteral("[FIM DE ARQUIVO]");
    return linhas;
}

QString CaminhoArquivoTransferencia(TipoPedido tipo, const QDate &hoje)
{
    return QDir(pastaRelatorios()).filePath(nomeDoArquivo(tipo, hoje));
}

QString CaminhoArquivoTransferencia(TipoPedido tipo)
{
    return CaminhoArquivoTransferencia(tipo, QDate::currentDate());
}

void GerarArquivoTransferencia(TipoPedido tipo, const QDateTime &agora)
{
    const QStringList linhas = LinhasArquivoTransferencia(tipo, agora);
    gravar(nomeDoArquivo(tipo, agora.date()), emWindows1252(linhas));
}

void GerarArquivoTransferencia(TipoPedido tipo)
{
    GerarArquivoTransferencia(tipo, QDateTime::currentDateTime());
}
