#include "guarda_conjuntos.h"

GuardaConjuntos::GuardaConjuntos(const std::vector<Item> &itens)
{
    m_salvos.reserve(itens.size());
    for (const Item &item : itens) {
        ConjuntoDados &c = item.conjunto;
        Salvo s{.conjunto = &c};
        // A set whose rows are still unread cannot be editing; asking would
        // read them.
        s.emEdicao = !c.linhasPendentes() && c.emEdicao();
        s.destino = item.filtro;
        s.filtro = c.filtro();
        s.filtrado = c.filtrado();
        s.chave = item.chave;
        s.valor = item.valor;
        if (s.valor.isEmpty() && !s.chave.isEmpty() && !c.vazio())
            s.valor = c.campo(s.chave).texto();
        m_salvos.push_back(std::move(s));
    }
}

GuardaConjuntos::GuardaConjuntos(ConjuntoDados &conjunto, Filtro filtro, const QString &chave)
    : GuardaConjuntos(std::vector<Item>{{.conjunto = conjunto, .filtro = filtro, .chave = chave}})
{
}

GuardaConjuntos GuardaConjuntos::rascunhos(const std::vector<ConjuntoDados *> &conjuntos)
{
    std::vector<Salvo> salvos;
    salvos.reserve(conjuntos.size());
    for (ConjuntoDados *c : conjuntos) {
        Salvo s{.conjunto = c, .rascunho = true};
        s.estado = c->estado();
        s.registro = c->numeroRegistro();
        if (c->emEdicao())
            for (int i = 0; i < c->quantidadeCampos(); ++i) {
                const DefCampo &def = c->defCampo(i);
                if (def.origem == Origem::Coluna && def.tipo != TipoCampo::AutoInc)
                    s.valores.emplace_back(i, c->campo(i).valor());
            }
        salvos.push_back(std::move(s));
    }
    return GuardaConjuntos(std::move(salvos));
}

GuardaConjuntos::~GuardaConjuntos()
{
    if (m_manter)
        return;
    for (const Salvo &s : m_salvos) {
        try {
            if (s.rascunho)
                restaurarRascunho(s);
            else
                restaurarVista(s);
        } catch (...) {
            // See the class comment: the next set is still put back.
        }
    }
}

void GuardaConjuntos::restaurarVista(const Salvo &s)
{
    ConjuntoDados &c = *s.conjunto;
    if (!s.emEdicao && !c.linhasPendentes() && c.emEdicao())
        c.cancelar();
    // Off first, so that the filter put back is applied again even when its
    // text did not change.
    c.setFiltro(QString());
    c.setFiltrado(false);
    if (s.destino == Filtro::Anterior) {
        c.setFiltro(s.filtro);
        c.setFiltrado(s.filtrado);
    }
    if (!s.valor.isEmpty())
        c.localizar(s.chave, s.valor);
}

void GuardaConjuntos::restaurarRascunho(const Salvo &s)
{
    ConjuntoDados &c = *s.conjunto;
    // A set the rollback left editing still holds the row as typed.
    if (!c.ativo() || (c.emEdicao() && c.estado() == s.estado))
        return;
    // A row left half-written by the failed work is not the user's.
    if (c.emEdicao())
        c.cancelar();
    if (s.estado == EstadoConjunto::Insercao) {
        c.inserir();
    } else {
        if (s.registro >= 1 && s.registro <= c.quantidade() && s.registro != c.numeroRegistro())
            c.irParaRegistro(s.registro);
        if (s.estado == EstadoConjunto::Edicao)
            c.editar();
    }
    for (const auto &[indice, valor] : s.valores) {
        Campo campo = c.campo(indice);
        if (campo.valor() != valor)
            campo.setValor(valor);
    }
}
