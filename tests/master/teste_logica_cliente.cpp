#include "cadastros_teste.h"
#include "conferencia_cliente.h"
#include "logica_cliente.h"

class LogicaClienteTeste : public CadastrosTeste
{
  protected:
    void abrirTela()
    {
        abrirDados();
        logica = std::make_unique<LogicaCliente>(visao);
        logica->abrir();
    }
    // A new customer with the two required names typed.
    void novoCliente()
    {
        logica->clicar(AcaoCliente::Novo);
        visao.digitar(CaixaCliente::NomeResumido, QStringLiteral("ARMAZÉM"));
        visao.digitar(CaixaCliente::RazaoSocial, QStringLiteral("ARMAZÉM CENTRAL LTDA"));
    }
    QString noBanco(const QString &sql) const { return pasta.consultar(sql); }

    VisaoClienteRegistrada visao;
    std::unique_ptr<LogicaCliente> logica;
};

TEST_F(LogicaClienteTeste, ContadorSegueInclusoesEExclusoes)
{
    abrirDados();
    irParaCliente(5);
    logica = std::make_unique<LogicaCliente>(visao);
    logica->abrir();
    EXPECT_EQ(visao.contador, QStringLiteral("12 Cliente(s)"));
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("5")); // the current customer stays

    novoCliente();
    logica->clicar(AcaoCliente::Salvar);
    EXPECT_EQ(visao.contador, QStringLiteral("13 Cliente(s)"));
    irParaCliente(3);
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoCliente::Excluir);
    EXPECT_EQ(visao.contador, QStringLiteral("12 Cliente(s)"));
}

TEST_F(LogicaClienteTeste, InserirFocaONomeAntesENumeroVemDoBanco)
{
    abrirTela();
    logica->clicar(AcaoCliente::Novo);
    ASSERT_EQ(visao.focos, std::vector<CaixaCliente>{CaixaCliente::NomeResumido});
    EXPECT_EQ(dm->QyCliente.estado(), EstadoConjunto::Insercao);
    visao.digitar(CaixaCliente::NomeResumido, QStringLiteral("ARMAZÉM"));
    visao.digitar(CaixaCliente::RazaoSocial, QStringLiteral("ARMAZÉM CENTRAL LTDA"));
    visao.digitar(CaixaCliente::Cnpj, QStringLiteral("11.222.333/0001-81"));
    visao.digitar(CaixaCliente::Email, QStringLiteral("Compras <compras@armazem.com.br>, dono@armazem.com.br"));
    EXPECT_TRUE(dm->QyCliente.campo(QStringLiteral("IdCliente")).nulo());
    logica->clicar(AcaoCliente::Salvar);

    ASSERT_FALSE(dm->QyCliente.emEdicao()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("13"));
    EXPECT_EQ(noBanco(QStringLiteral("SELECT cnpj || '|' || Email FROM tbcliente WHERE IdCliente = 13")),
              QStringLiteral("11.222.333/0001-81|Compras <compras@armazem.com.br>, dono@armazem.com.br"));
    EXPECT_TRUE(dialogos.registros().empty());
}

// Each bad box: its message, the focus on it, the customer still being
// typed and nothing written; the other boxes keep what was typed.
TEST_F(LogicaClienteTeste, DigitacaoInvalidaAvisaENadaSePerde)
{
    const struct {
        CaixaCliente caixa;
        QString texto;
        QString mensagem;
    } casos[] = {
        {CaixaCliente::NomeResumido, "  ",
         "O campo \"Nome resumido\" é obrigatório. Preencha-o para salvar o cliente."},
        {CaixaCliente::RazaoSocial, QString(57, QLatin1Char('X')),
         "O campo \"Razão social completa\" aceita no máximo 56 caracteres e tem 57. Encurte o texto para salvar o "
         "cliente."},
        {CaixaCliente::Cnpj, "11.222.333/0001-82", "O CNPJ 11.222.333/0001-82 não é válido. Confira os 14 dígitos."},
        {CaixaCliente::Cnpj, "11.222.333/0001-", "O CNPJ 11.222.333/0001- não é válido. Confira os 14 dígitos."},
        {CaixaCliente::CobrancaCep, "74000-", "O campo \"CEP (Cobrança)\" deve ter os 8 dígitos do CEP (99999-999)."},
        {CaixaCliente::Nascimento, "31/02/1980", "A data de nascimento 31/02/1980 não é uma data válida (dd/mm/aaaa)."},
        {CaixaCliente::Nascimento, "31/12/1899", "A data de nascimento 31/12/1899 deve estar entre 01/01/1900 e hoje."},
        {CaixaCliente::Nascimento, QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy")), ""},
        {CaixaCliente::Cnpj, "00.000.000/0000-00", "O CNPJ 00.000.000/0000-00 não é válido. Confira os 14 dígitos."},
        {CaixaCliente::RazaoSocial, "ARMAZÉM\nCENTRAL",
         "O campo \"Razão social completa\" contém uma quebra de linha ou outro caractere de controle. Retire-o para "
         "salvar o cliente."},
        {CaixaCliente::Contato, "Maria\tJosé", ""},
        {CaixaCliente::Email, "compras@",
         "O e-mail \"compras@\" não é um endereço válido. Digite-o como "
         "nome@empresa.com.br; separe dois ou mais endereços com vírgula."},
        {CaixaCliente::Email, "a@x.com\r\nBcc: b@y.com", ""},
        {CaixaCliente::Email, "a@x.com lixo@", ""},
        {CaixaCliente::Email, QStringLiteral("%1@empresa.com.br").arg(QString(50, QLatin1Char('a'))),
         "O campo \"Email\" aceita no máximo 60 caracteres e tem 65. Encurte o texto para salvar o cliente."},
        {CaixaCliente::Status, QString(26, QLatin1Char('S')),
         "O campo \"Status\" aceita no máximo 25 caracteres e tem 26. Encurte o texto para salvar o cliente."},
    };
    abrirTela();
    for (const auto &c : casos) {
        SCOPED_TRACE(c.texto.toStdString());
        dialogos.limpar();
        visao.focos.clear();
        novoCliente();
        visao.digitar(CaixaCliente::Cidade, QStringLiteral("Palmas"));
        visao.digitar(c.caixa, c.texto);
        visao.focos.clear();
        logica->clicar(AcaoCliente::Salvar);

        ASSERT_EQ(dialogos.registros().size(), 1u);
        if (!c.mensagem.isEmpty()) {
            EXPECT_EQ(dialogos.registros()[0].texto, c.mensagem);
        }
        EXPECT_EQ(dialogos.registros()[0].titulo, QStringLiteral("Atenção"));
        EXPECT_EQ(visao.focos, std::vector<CaixaCliente>{c.caixa});
        EXPECT_EQ(dm->QyCliente.estado(), EstadoConjunto::Insercao);
        EXPECT_EQ(visao.digitado(CaixaCliente::Cidade), QStringLiteral("Palmas"));
        EXPECT_EQ(visao.digitado(c.caixa), c.texto);
        EXPECT_EQ(noBanco(QStringLiteral("SELECT COUNT(*) FROM tbcliente")), QStringLiteral("12"));
        logica->clicar(AcaoCliente::Cancelar);
        visao.digitados.clear();
    }
}

// Old data that would not pass a check does not block an edit of something
// else; a changed box is checked.
TEST_F(LogicaClienteTeste, EdicaoConfereSoOQueMudou)
{
    abrirTela();
    irParaCliente(3); // its stored CNPJ has wrong check digits
    logica->clicar(AcaoCliente::Editar);
    visao.digitar(CaixaCliente::Telefone, QStringLiteral("(63) 3215-0000"));
    logica->clicar(AcaoCliente::Salvar);
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_EQ(noBanco(QStringLiteral("SELECT Tel FROM tbcliente WHERE IdCliente = 3")),
              QStringLiteral("(63) 3215-0000"));

    logica->clicar(AcaoCliente::Editar);
    visao.digitar(CaixaCliente::Cnpj, QStringLiteral("11.111.111/1111-12"));
    logica->clicar(AcaoCliente::Salvar);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
    EXPECT_TRUE(dm->QyCliente.emEdicao());
}

// Typed text is never dropped by a move: it is stored with its checks, or
// the screen stays where it was.
TEST_F(LogicaClienteTeste, AnteriorEProximoGravamOQueFoiDigitado)
{
    abrirTela();
    irParaCliente(3);
    logica->clicar(AcaoCliente::Editar);
    visao.digitar(CaixaCliente::Telefone, QStringLiteral("(63) 3215-0000"));
    logica->clicar(AcaoCliente::Proximo);
    EXPECT_FALSE(dm->QyCliente.emEdicao());
    EXPECT_NE(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("3"));
    EXPECT_EQ(noBanco(QStringLiteral("SELECT Tel FROM tbcliente WHERE IdCliente = 3")),
              QStringLiteral("(63) 3215-0000"));

    logica->clicar(AcaoCliente::Anterior);
    logica->clicar(AcaoCliente::Editar);
    visao.digitar(CaixaCliente::Email, QStringLiteral("armazem"));
    logica->clicar(AcaoCliente::Anterior);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
    EXPECT_TRUE(dm->QyCliente.emEdicao());
    EXPECT_EQ(dm->QyCliente.campo(QStringLiteral("IdCliente")).texto(), QStringLiteral("3"));
    EXPECT_EQ(visao.digitado(CaixaCliente::Email), QStringLiteral("armazem"));
}

TEST_F(LogicaClienteTeste, ExclusaoPerguntaEExcluiSoEmNavegacao)
{
    abrirTela();
    irParaCliente(3);
    dialogos.responder(Resposta::Nao);
    logica->clicar(AcaoCliente::Excluir);
    ASSERT_EQ(dialogos.registros().size(), 1u);
    const DialogosRoteiro::Registro &r = dialogos.registros()[0];
    EXPECT_EQ(r.texto, QStringLiteral("Deseja realmente excluir o cliente: ( PADARIA ) ?"));
    EXPECT_EQ(r.titulo, QStringLiteral("Atenção"));
    EXPECT_EQ(r.icone, Icone::Pergunta);
    EXPECT_EQ(r.padrao, Resposta::Nao);
    EXPECT_EQ(noBanco(QStringLiteral("SELECT COUNT(*) FROM tbcliente WHERE IdCliente = 3")), QStringLiteral("1"));

    // Yes while the customer is being edited: the question, and nothing else.
    logica->clicar(AcaoCliente::Editar);
    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoCliente::Excluir);
    EXPECT_TRUE(dm->QyCliente.emEdicao());
    logica->clicar(AcaoCliente::Cancelar);

    dialogos.responder(Resposta::Sim);
    logica->clicar(AcaoCliente::Excluir);
    EXPECT_EQ(noBanco(QStringLiteral("SELECT COUNT(*) FROM tbcliente WHERE IdCliente = 3")), QStringLiteral("0"));
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("4")); // the next customer
}

TEST_F(LogicaClienteTeste, ClienteComPedidosOuPendenciasNaoEExcluido)
{
    abrirTela();
    const struct {
        int id;
        QString mensagem;
    } casos[] = {
        {1, "O cliente: ( MERCADO UM ) não pode ser excluído, pois há 2 pedido(s) em seu nome."},
        {2, "O cliente: ( LOJA DOIS ) não pode ser excluído, pois há 1 item(ns) pendente(s) em seu nome."},
    };
    for (const auto &c : casos) {
        dialogos.limpar();
        irParaCliente(c.id);
        logica->clicar(AcaoCliente::Excluir);
        EXPECT_EQ(dialogos.textos(), QStringList{c.mensagem});
        EXPECT_EQ(noBanco(QStringLiteral("SELECT COUNT(*) FROM tbcliente WHERE IdCliente = %1").arg(c.id)),
                  QStringLiteral("1"));
    }
}

TEST_F(LogicaClienteTeste, ProcurarSoEmNavegacao)
{
    abrirTela();
    logica->clicar(AcaoCliente::Editar);
    logica->clicar(AcaoCliente::Pesquisar); // no dialog: the script has nothing for it
    logica->clicar(AcaoCliente::Cancelar);

    dialogos.pesquisa([](LogicaPesquisa &p) {
        p.iniciar();
        p.setTexto(QStringLiteral("padaria"));
        p.pesquisar();
    });
    logica->clicar(AcaoCliente::Pesquisar);
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("3"));
    EXPECT_EQ(dm->QyPesquisa.sql(), QStringLiteral("SELECT nome, cnpj, idcliente FROM tbcliente order by idcliente"));

    dialogos.pesquisa([](LogicaPesquisa &) {}); // closed without a choice
    logica->clicar(AcaoCliente::Pesquisar);
    EXPECT_EQ(cliente("IdCliente"), QStringLiteral("3"));
    EXPECT_TRUE(dialogos.roteiroEsgotado());
}

TEST_F(LogicaClienteTeste, BotoesSeguemOEstadoEAPosicao)
{
    abrirTela();
    using A = AcaoCliente;
    const auto habilitados = [&] {
        std::vector<A> h;
        for (A a : {A::Pesquisar, A::Novo, A::Editar, A::Salvar, A::Cancelar, A::Excluir, A::Anterior, A::Proximo})
            if (logica->habilitado(a))
                h.push_back(a);
        return h;
    };
    dm->QyCliente.primeiro();
    EXPECT_EQ(habilitados(), (std::vector<A>{A::Pesquisar, A::Novo, A::Editar, A::Excluir, A::Proximo}));
    logica->clicar(A::Editar);
    EXPECT_EQ(habilitados(), (std::vector<A>{A::Pesquisar, A::Novo, A::Salvar, A::Cancelar, A::Excluir, A::Proximo}));
    logica->clicar(A::Cancelar);
    dm->QyCliente.ultimo();
    dm->QyCliente.proximo();
    EXPECT_EQ(habilitados(), (std::vector<A>{A::Pesquisar, A::Novo, A::Editar, A::Excluir, A::Anterior}));

    pasta.executar(QStringLiteral("DELETE FROM tbcliente"));
    dm->QyCliente.reabrir();
    EXPECT_EQ(habilitados(), (std::vector<A>{A::Pesquisar, A::Novo, A::Editar}));
}

TEST_F(LogicaClienteTeste, FecharComClienteEmDigitacaoPerguntaESalva)
{
    abrirTela();
    EXPECT_TRUE(logica->podeFechar());
    novoCliente();
    dialogos.responder(Resposta::Nao);
    EXPECT_FALSE(logica->podeFechar());
    EXPECT_EQ(dialogos.textos(), QStringList{"O cliente: ( ARMAZÉM ) está em uso, deseja salvar e sair?"});
    EXPECT_EQ(dialogos.registros()[0].padrao, Resposta::Sim);

    // A save that the checks refuse keeps the window open.
    visao.digitar(CaixaCliente::Email, QStringLiteral("armazem"));
    dialogos.responder(Resposta::Sim);
    EXPECT_FALSE(logica->podeFechar());
    visao.digitar(CaixaCliente::Email, QStringLiteral("armazem@armazem.com.br"));
    dialogos.responder(Resposta::Sim);
    EXPECT_TRUE(logica->podeFechar());
    EXPECT_EQ(noBanco(QStringLiteral("SELECT Email FROM tbcliente WHERE fantasia = 'ARMAZÉM'")),
              QStringLiteral("armazem@armazem.com.br"));
}

TEST_F(LogicaClienteTeste, EmailAbreOProgramaDeCorreio)
{
    abrirTela();
    irParaCliente(3);
    logica->enviarEmail();
    irParaCliente(4); // no address: a message without an addressee
    logica->enviarEmail();
    EXPECT_EQ(dialogos.textos(QStringLiteral("abrir")), QStringList({"mailto:compras@padaria.com.br", "mailto:"}));
}

TEST(ConferenciaCliente, CnpjCepDataEmail)
{
    EXPECT_TRUE(CnpjValido(QStringLiteral("11.222.333/0001-81")));
    EXPECT_TRUE(CnpjValido(QStringLiteral("11222333000181")));
    EXPECT_FALSE(CnpjValido(QStringLiteral("11.222.333/0001-18")));
    EXPECT_FALSE(CnpjValido(QStringLiteral("1.222.333/0001-81")));
    EXPECT_TRUE(CnpjValido(QStringLiteral("12.345.678/0001-95")));
    for (const char *repetido : {"00.000.000/0000-00", "11.111.111/1111-11", "99999999999999"})
        EXPECT_FALSE(CnpjValido(QString::fromUtf8(repetido))) << repetido;
    EXPECT_TRUE(CepCompleto(QStringLiteral("74000-100")));
    EXPECT_FALSE(CepCompleto(QStringLiteral("7400-100")));
    EXPECT_TRUE(DataValida(QStringLiteral("29/02/2024")));
    EXPECT_FALSE(DataValida(QStringLiteral("29/02/2023")));
    EXPECT_FALSE(DataValida(QStringLiteral("12/03/")));
    const QDate hoje(2026, 12, 10);
    EXPECT_TRUE(NascimentoPlausivel({1900, 1, 1}, hoje));
    EXPECT_TRUE(NascimentoPlausivel(hoje, hoje));
    EXPECT_FALSE(NascimentoPlausivel({1899, 12, 31}, hoje));
    EXPECT_FALSE(NascimentoPlausivel(hoje.addDays(1), hoje));
    EXPECT_TRUE(EmailValido(QStringLiteral("compras@lojaboa.com.br")));
    EXPECT_TRUE(EmailValido(QStringLiteral("José <jose@padaria.com.br>, b@y.com")));
    EXPECT_FALSE(EmailValido(QStringLiteral("compras@lojaboa")));
    EXPECT_FALSE(EmailValido(QStringLiteral("compras lojaboa.com.br")));
    EXPECT_FALSE(EmailValido(QStringLiteral("a@x.com\nb@y.com")));
    for (char16_t separador : {u'\u2028', u'\u2029', u'\u0085', u'\u200b'})
        EXPECT_FALSE(EmailValido(QStringLiteral("a@x.com") + QChar(separador) + QStringLiteral("b@y.com")))
            << static_cast<int>(separador);
}
