#include "lista_enderecos.h"

#include "caractere_controle.h"
#include "erro.h"

namespace
{

// The text cut at the "," and ";" that separate addresses: not inside
// quotes, <...> or (...), and not the commas of a group, whose ";" ends it.
QStringList pedacos(const QString &texto)
{
    QStringList partes;
    QString atual;
    bool aspas = false, grupo = false;
    int angulos = 0, parenteses = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (aspas) {
            if (c == u'\\' && i + 1 < texto.size())
                atual += texto.at(i++);
            else if (c == u'"')
                aspas = false;
        } else if (c == u'"') {
            aspas = true;
        } else if (c == u'(') {
            ++parenteses;
        } else if (c == u')' && parenteses > 0) {
            --parenteses;
        } else if (parenteses == 0 && c == u'<') {
            ++angulos;
        } else if (parenteses == 0 && c == u'>' && angulos > 0) {
            --angulos;
        } else if (parenteses == 0 && angulos == 0) {
            if (c == u':' && !grupo) {
                grupo = true;
            } else if (c == u';' && grupo) {
                grupo = false;
                atual += c;
                partes << atual;
                atual.clear();
                continue;
            } else if ((c == u',' && !grupo) || c == u';') {
                partes << atual;
                atual.clear();
                continue;
            }
        }
        atual += c;
    }
    partes << atual;
    return partes;
}

bool legivel(InternetAddressList *lista)
{
    const int total = internet_address_list_length(lista);
    for (int i = 0; i < total; ++i) {
        InternetAddress *endereco = internet_address_list_get_address(lista, i);
        if (INTERNET_ADDRESS_IS_GROUP(endereco)) {
            if (!legivel(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(endereco))))
                return false;
            continue;
        }
        const QString caixa = QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(endereco)));
        const qsizetype arroba = caixa.lastIndexOf(u'@');
        if (arroba <= 0 || arroba == caixa.size() - 1)
            return false;
    }
    return total > 0;
}

void acrescentarEnderecos(InternetAddressList *lista, QStringList &enderecos)
{
    const int total = internet_address_list_length(lista);
    for (int i = 0; i < total; ++i) {
        InternetAddress *endereco = internet_address_list_get_address(lista, i);
        if (INTERNET_ADDRESS_IS_GROUP(endereco)) {
            acrescentarEnderecos(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(endereco)), enderecos);
            continue;
        }
        const char *idn = internet_address_mailbox_get_idn_addr(INTERNET_ADDRESS_MAILBOX(endereco));
        const QString texto = QString::fromUtf8(idn).trimmed();
        if (!texto.isEmpty())
            enderecos.append(texto);
    }
}

} // namespace

ObjetoG<InternetAddressList> listaDeEnderecos(const QString &texto)
{
    // Never read around such a character: a parser that takes it for a line
    // break would make two addresses of one.
    if (TemCaractereDeControle(texto))
        throw Erro(QStringLiteral("Um endereço de e-mail contém uma quebra de linha ou outro caractere de controle e "
                                  "não foi lido."));
    iniciarGMime();
    ObjetoG<InternetAddressList> todos(internet_address_list_new());
    for (const QString &pedaco : pedacos(texto)) {
        if (pedaco.trimmed().isEmpty())
            continue;
        // Each piece alone: the parser skips what it cannot read.
        ObjetoG<InternetAddressList> lista(internet_address_list_parse(nullptr, pedaco.toUtf8().constData()));
        if (!lista || !legivel(lista.get()))
            throw Erro(QStringLiteral("O endereço de e-mail \"%1\" não pôde ser lido.").arg(pedaco.trimmed()));
        internet_address_list_append(todos.get(), lista.get());
    }
    return todos;
}

QStringList enderecosDaLista(const QString &texto)
{
    QStringList enderecos;
    acrescentarEnderecos(listaDeEnderecos(texto).get(), enderecos);
    return enderecos;
}
