#include "lista_enderecos.h"

#include "gmime_apoio.h"

namespace
{

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

QStringList enderecosDaLista(const QString &texto)
{
    iniciarGMime();
    QStringList enderecos;
    ObjetoG<InternetAddressList> lista(internet_address_list_parse(nullptr, texto.toUtf8().constData()));
    if (lista)
        acrescentarEnderecos(lista.get(), enderecos);
    return enderecos;
}
