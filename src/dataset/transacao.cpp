#include "transacao.h"

#include "conexao.h"

Transacao::Transacao(Conexao &conexao) : m_conexao(conexao)
{
    m_conexao.iniciarTransacao();
}

Transacao::~Transacao()
{
    if (!m_encerrada)
        m_conexao.desfazerTransacao();
}

void Transacao::confirmar()
{
    if (m_encerrada)
        return;
    m_conexao.confirmarTransacao();
    m_encerrada = true;
}
