// ajudante_caixa_saida <program folder>
//
// Sends every regular order that has no mail in the outbox yet, through
// "Enviar" to the customer and Central 1, then sends what waits until
// nothing does. The outbox's kill test runs it again and again and kills it
// at random moments.
#include "caixa_saida.h"
#include "correio_programa.h"
#include "dialogos.h"
#include "envio_pedido.h"
#include "instrucao_sql.h"
#include "totais.h"
#include "udm.h"

#include <QGuiApplication>

#include <cstdio>

namespace
{

// No screen: messages go to stderr, questions take their default, choices
// keep their marks.
class DialogosSemTela : public Dialogos
{
  public:
    void mensagem(const QString &texto, const QString &, Icone) override
    {
        std::fprintf(stderr, "%s\n", texto.toUtf8().constData());
    }
    Resposta pergunta(const QString &, const QString &, Resposta padrao) override { return padrao; }
    RespostaTexto caixaTexto(const QString &, const QString &, const QString &, bool) override { return {}; }
    void pesquisar(LogicaPesquisa &) override {}
    QString caixaEntrada(const QString &, const QString &, const QString &padrao) override { return padrao; }
    void abrirArquivo(const QString &) override {}
    void iniciarPrograma(const QString &) override {}
    void processarEventos() override {}
    void tabela(const TabelaDialogo &) override {}
};

QList<QString> pedidosSemCorreio(TDM &dm)
{
    CaixaSaidaBanco::criarTabela(dm.ADOConexao);
    InstrucaoSql q(dm.ADOConexao, QStringLiteral("SELECT nr_pedido FROM tbpedido WHERE CAST(nr_pedido AS TEXT) NOT IN"
                                                 " (SELECT nr_pedido FROM tbcaixa_saida) ORDER BY nr_pedido"));
    QList<QString> pedidos;
    while (q.proxima())
        pedidos << q.valor(0).toString();
    return pedidos;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    DialogosSemTela dialogos;
    Dialogos::definir(&dialogos);
    TDM dm(QString::fromLocal8Bit(argv[1]));
    const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
    const AcoesCabecalho acoes{[&dm] { dm.QyPedido.editar(); }, [] { RecalcularTotais(TipoPedido::Pedido); }};
    for (const QString &nr : pedidosSemCorreio(dm)) {
        if (!dm.QyPedido.localizar(QStringLiteral("nr_pedido"), nr))
            return 3;
        EnviarPedido(TipoPedido::Pedido, acoes);
    }
    while (CaixaSaidaBanco::quantidadeNaoEnviada(dm.ADOConexao) > 0) {
        remessa->enviarPendentes();
        remessa->aguardar();
    }
    return 0;
}
