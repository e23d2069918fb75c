#include "motor_relatorio.h"

#include "erro.h"
#include "faixa_tabela.h"
#include "modelo_relatorio.h"
#include "pagina_relatorio.h"
#include "texto_celula.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <mustache.hpp>

namespace mus = kainjow::mustache;

namespace
{

QString lerModelo(const QString &arquivoModelo)
{
    if (!QFileInfo(arquivoModelo).isFile())
        throw Erro(
            QStringLiteral("Modelo de relatório não encontrado: %1").arg(QDir::toNativeSeparators(arquivoModelo)));
    QFile arquivo(arquivoModelo);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw Erro(QStringLiteral("Não foi possível ler o modelo de relatório: %1")
                       .arg(QDir::toNativeSeparators(arquivoModelo)));
    return QString::fromUtf8(arquivo.readAll());
}

// An empty text is left out, so that a section on it ({{#obs}}) stays hidden:
// to Mustache an empty string is a true value.
void definir(mus::data &obj, const QString &nome, const QString &valor)
{
    if (!valor.isEmpty())
        obj.set(nome.toStdString(), valor.toStdString());
}

mus::data objeto(const CamposRelatorio &campos)
{
    mus::data obj{mus::data::type::object};
    for (auto it = campos.cbegin(); it != campos.cend(); ++it)
        definir(obj, it.key(), it.value());
    return obj;
}

// The library's set and push_back copy what they are given, which for an
// order of thousands of items was most of the context's cost: a value is
// moved into the empty place made for it instead.
mus::data &colocar(mus::data &obj, const std::string &nome, mus::data &&valor)
{
    obj.set(nome, mus::data{});
    return const_cast<mus::data &>(*obj.get(nome)) = std::move(valor);
}

void acrescentar(mus::data &lista, mus::data &&valor)
{
    lista.push_back(mus::data{});
    const_cast<mus::data &>(lista.list_value().back()) = std::move(valor);
}

mus::data conexao(const FonteRelatorio &fonte)
{
    mus::data obj = objeto(fonte.registroAtual());
    mus::data &linhas = colocar(obj, "linhas", mus::data{mus::data::type::list});
    for (const CamposRelatorio &linha : fonte.linhas())
        acrescentar(linhas, objeto(linha));
    return obj;
}

mus::data contexto(const std::vector<const FonteRelatorio *> &fontes, const QMap<QString, QString> &parametros,
                   const QString &pastaModelo)
{
    mus::data ctx{mus::data::type::object};
    for (const FonteRelatorio *fonte : fontes)
        colocar(ctx, fonte->nome().toStdString(), conexao(*fonte));
    const QString logo = QDir(pastaModelo).filePath(QStringLiteral("logo.bmp"));
    if (QFileInfo(logo).isFile())
        ctx.set("logo", QUrl::fromLocalFile(logo).toString().toStdString());
    for (auto it = parametros.cbegin(); it != parametros.cend(); ++it)
        definir(ctx, it.key(), it.value());
    return ctx;
}

// HTML escaping that also keeps the line breaks of multi-line fields.
std::string escaparHtml(const std::string &texto)
{
    std::string saida = mus::html_escape(texto);
    std::string::size_type pos = 0;
    while ((pos = saida.find('\n', pos)) != std::string::npos) {
        saida.replace(pos, 1, "<br/>");
        pos += 5;
    }
    return saida;
}

// A piece of the template ready to render; throws for malformed tags.
class Trecho
{
  public:
    Trecho(const QString &fonte, const QString &arquivoModelo) : m_modelo(fonte.toStdString())
    {
        m_modelo.set_custom_escape(escaparHtml);
        if (!m_modelo.is_valid())
            invalido(arquivoModelo);
    }

    QString renderizar(mus::basic_context<std::string> &ctx, const QString &arquivoModelo)
    {
        const std::string html = m_modelo.render(ctx);
        if (!m_modelo.is_valid())
            invalido(arquivoModelo);
        return QString::fromStdString(html);
    }

    QString renderizar(const mus::data &dados, const QString &arquivoModelo)
    {
        mus::context<std::string> ctx(&dados);
        return renderizar(ctx, arquivoModelo);
    }

  private:
    [[noreturn]] void invalido(const QString &arquivoModelo) const
    {
        throw Erro(QStringLiteral("Modelo de relatório inválido: %1\n%2")
                       .arg(QDir::toNativeSeparators(arquivoModelo), QString::fromStdString(m_modelo.error_message())));
    }

    mus::mustache m_modelo;
};

bool paisagem(const QString &html)
{
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\s+name\s*=\s*"orientacao"\s+content\s*=\s*"paisagem")"),
        QRegularExpression::CaseInsensitiveOption);
    return meta.match(html).hasMatch();
}

// The running header a template declares for the pages after the first:
// <meta name="cabecalho" content="Pedido Nº 1234 - CLIENTE">.
QString cabecalhoCorrido(const QString &html)
{
    static const QRegularExpression meta(
        QStringLiteral(R"re(<meta\s+name\s*=\s*"cabecalho"\s+content\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = meta.match(html);
    return m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().simplified() : QString();
}

// Qt lays out and draws tables with collapsed borders at several times the
// cost of separate ones. Separate borders with no spacing, each inner edge
// drawn once by the cell above or to its left (the cell that wins a conflict
// between equal borders), look the same. Tables with a border of their own
// keep Qt's collapsing.
void separarBordas(QTextFrame *quadro)
{
    for (QTextFrame *filho : quadro->childFrames()) {
        separarBordas(filho);
        auto *tabela = qobject_cast<QTextTable *>(filho);
        if (!tabela)
            continue;
        QTextTableFormat formato = tabela->format();
        if (!formato.borderCollapse() || formato.border() != 0)
            continue;
        for (int linha = 0; linha < tabela->rows(); ++linha)
            for (int coluna = 0; coluna < tabela->columns(); ++coluna) {
                QTextTableCell celula = tabela->cellAt(linha, coluna);
                if (celula.row() != linha || celula.column() != coluna || (linha == 0 && coluna == 0))
                    continue;
                QTextTableCellFormat f = celula.format().toTableCellFormat();
                if (linha > 0)
                    f.setTopBorder(0);
                if (coluna > 0)
                    f.setLeftBorder(0);
                celula.setFormat(f);
            }
        formato.setBorderCollapse(false);
        formato.setCellSpacing(0);
        tabela->setFormat(formato);
    }
}

// Where the layout stands: the page (from 0) and the height used on it.
struct Posicao {
    int pagina = 0;
    qreal y = 0;
};

// A rich-text block laid out once over as many pages as it needs, its first
// page being `pagina`: the document's page i is drawn on page pagina + i.
struct BlocoTexto {
    std::unique_ptr<QTextDocument> doc;
    int pagina = 0;
};

// One row of a band on one page; a row taller than a page is drawn in
// slices, `corte` being how much of it earlier pages took.
struct LinhaColocada {
    int faixa;
    const LinhaFaixa *linha;
    int pagina;
    qreal y, altura, corte, visivel;
    bool topo;
};

class Paginacao
{
  public:
    Paginacao(QPdfWriter &writer, const QString &pastaModelo)
        : m_writer(writer), m_pasta(pastaModelo), m_corpo(PaginaRelatorio::Corpo(writer)),
          m_margem(QTextDocument().documentMargin() * writer.logicalDpiY() / 96.0)
    {
    }

    // A block of rich text (the template's head, with its style, and the
    // block's body), from where the layout stands.
    void texto(const QString &cabeca, const QString &corpo)
    {
        // Begun below the top of the page: an empty first paragraph, made
        // as tall as what the page already holds.
        const bool espaco = m_pos.y > 0;
        auto doc = std::make_unique<QTextDocument>();
        // Laid out against the PDF itself, so point sizes come out true.
        doc->documentLayout()->setPaintDevice(&m_writer);
        doc->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        doc->setBaseUrl(QUrl::fromLocalFile(m_pasta + QLatin1Char('/')));
        doc->setPageSize(m_corpo);
        doc->setHtml(cabeca + (espaco ? QStringLiteral("<p style=\"margin: 0\">&nbsp;</p>") : QString()) + corpo);
        QTextCursor edicao(doc.get());
        // The page size first, so the text is laid out once; the changes in
        // one edit, so the tables are laid out once more, not once per cell.
        edicao.beginEditBlock();
        separarBordas(doc->rootFrame());
        if (espaco) {
            const qreal topo = doc->documentLayout()->blockBoundingRect(doc->begin()).top();
            QTextBlockFormat altura = QTextCursor(doc->begin()).blockFormat();
            // In screen pixels, as the layout scales it to the PDF.
            const qreal escala = m_writer.logicalDpiY() / 96.0;
            altura.setLineHeight(std::max<qreal>(1, m_pos.y - topo) / escala, QTextBlockFormat::FixedHeight);
            QTextCursor(doc->begin()).setBlockFormat(altura);
        }
        edicao.endEditBlock();
        // An empty last paragraph is the one a table that follows would
        // stand on: it takes no room of its own.
        const QRectF ultimo = doc->documentLayout()->blockBoundingRect(doc->lastBlock());
        const qreal fim = doc->lastBlock().length() <= 1 ? ultimo.top() : ultimo.bottom();
        const int paginas = std::max(0, int(fim / m_corpo.height()));
        m_blocos.push_back({std::move(doc), m_pos.pagina});
        m_pos.pagina += paginas;
        m_pos.y = fim - paginas * m_corpo.height();
    }

    // A band: its header, the rows printed once and the repeated rows, page
    // after page, the header again at the top of each page it continues on.
    void faixa(std::unique_ptr<FaixaTabela> faixa)
    {
        const int indice = int(m_faixas.size());
        const FaixaTabela &f = *faixa;
        m_faixas.push_back(std::move(faixa));
        const qreal cabecalho = f.alturaCabecalho();
        m_pos.y += f.margemTopo();

        std::vector<const LinhaFaixa *> linhas;
        for (const auto *grupo : {&f.antes, &f.linhas, &f.depois})
            for (const LinhaFaixa &l : *grupo)
                linhas.push_back(&l);
        const bool semCabecalho = f.cabecalho.empty();
        // The header goes with the first row, never alone at a page's foot.
        const qreal primeira = linhas.empty() ? 0 : f.altura(*linhas.front(), semCabecalho);
        if (m_pos.y > m_margem && m_pos.y + cabecalho + primeira > limite())
            novaPagina();
        colocarCabecalho(indice, f);
        bool primeiraNaPagina = true;
        for (const LinhaFaixa *linha : linhas) {
            bool topo = semCabecalho && primeiraNaPagina;
            qreal altura = f.altura(*linha, topo);
            if (!primeiraNaPagina && m_pos.y + altura > limite()) {
                novaPagina();
                colocarCabecalho(indice, f);
                topo = semCabecalho;
                altura = f.altura(*linha, topo);
            }
            colocarLinha(indice, f, linha, altura, topo);
            primeiraNaPagina = false;
        }
        m_pos.y += f.margemBase();
    }

    int paginas() const { return m_pos.pagina + 1; }

    void desenhar(QPainter &p, int pagina) const
    {
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        for (const BlocoTexto &b : m_blocos) {
            const int i = pagina - b.pagina;
            if (i < 0 || i >= b.doc->pageCount())
                continue;
            const QRectF vista(QPointF(0, i * m_corpo.height()), m_corpo);
            p.save();
            p.translate(0, -vista.top());
            p.setClipRect(vista);
            ctx.clip = vista;
            b.doc->documentLayout()->draw(&p, ctx);
            p.restore();
        }
        for (auto it = std::lower_bound(m_linhas.begin(), m_linhas.end(), pagina,
                                        [](const LinhaColocada &l, int pg) { return l.pagina < pg; });
             it != m_linhas.end() && it->pagina == pagina; ++it) {
            const FaixaTabela &f = *m_faixas[it->faixa];
            const bool fatia = it->corte > 0 || it->visivel < it->altura;
            if (fatia) {
                p.save();
                p.setClipRect(QRectF(0, it->y, m_corpo.width(), it->visivel));
            }
            f.desenhar(p, *it->linha, it->y - it->corte, it->altura, it->topo, it->corte, it->corte + it->visivel);
            if (fatia)
                p.restore();
        }
    }

  private:
    void novaPagina()
    {
        ++m_pos.pagina;
        m_pos.y = m_margem;
    }

    qreal limite() const { return m_corpo.height() - m_margem; }

    void colocarCabecalho(int indice, const FaixaTabela &f)
    {
        for (size_t i = 0; i < f.cabecalho.size(); ++i)
            colocarLinha(indice, f, &f.cabecalho[i], f.altura(f.cabecalho[i], i == 0), i == 0);
    }

    // A row taller than what is left of a page goes on over the next pages,
    // each beginning with the band's header.
    void colocarLinha(int indice, const FaixaTabela &f, const LinhaFaixa *linha, qreal altura, bool topo)
    {
        const bool deCabecalho =
            std::any_of(f.cabecalho.begin(), f.cabecalho.end(), [linha](const LinhaFaixa &c) { return &c == linha; });
        qreal corte = 0;
        bool paginaNova = false;
        for (;;) {
            const qreal visivel = std::min(altura - corte, limite() - m_pos.y);
            if (visivel > 0) {
                m_linhas.push_back({indice, linha, m_pos.pagina, m_pos.y, altura, corte, visivel, topo});
                m_pos.y += visivel;
                corte += visivel;
            }
            // Done, or not even a fresh page has room below the header.
            if (corte >= altura || deCabecalho || (paginaNova && visivel <= 0))
                return;
            novaPagina();
            colocarCabecalho(indice, f);
            paginaNova = true;
        }
    }

    QPdfWriter &m_writer;
    QString m_pasta;
    QSizeF m_corpo;
    // The rich text keeps this margin at the top and foot of every page;
    // the bands keep it too.
    qreal m_margem;
    Posicao m_pos;
    std::vector<BlocoTexto> m_blocos;
    std::vector<std::unique_ptr<FaixaTabela>> m_faixas;
    std::vector<LinhaColocada> m_linhas;
};

// Nothing but white space and the closing tags of the page.
bool vazio(const QString &trecho)
{
    static const QRegularExpression resto(QStringLiteral(R"(^\s*(</body\s*>)?\s*(</html\s*>)?\s*$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    return resto.match(trecho).hasMatch();
}

const mus::data *linhasDe(const mus::data &dados, const QString &conexao)
{
    const mus::data *fonte = dados.get(conexao.toStdString());
    const mus::data *linhas = fonte && fonte->is_object() ? fonte->get("linhas") : nullptr;
    return linhas && linhas->is_list() ? linhas : nullptr;
}

// The band's rows, each cell rendered from its own piece of the template
// with the row on top of the whole context, as the rich-text path would.
void preencherLinhas(FaixaTabela &f, const FaixaModelo &modelo, const mus::data &linhas, const mus::data &dados,
                     const QString &arquivoModelo)
{
    std::vector<Trecho> celulas;
    for (const QString &celula : modelo.celulas)
        celulas.emplace_back(celula, arquivoModelo);
    mus::context<std::string> ctx(&dados);
    f.linhas.reserve(linhas.list_value().size());
    for (const mus::data &linha : linhas.list_value()) {
        ctx.push(&linha);
        LinhaFaixa l = f.modeloLinha;
        for (size_t i = 0; i < l.size(); ++i)
            l[i].conteudo = ConverterCelula(celulas[i].renderizar(ctx, arquivoModelo));
        ctx.pop();
        if (f.linhas.empty())
            for (size_t i = 0; i < l.size(); ++i)
                f.fonteBase(l[i], l[i].conteudo);
        f.linhas.push_back(std::move(l));
    }
}

// A band's table: a sample of it (header, one row, the rows printed once)
// goes through the rich-text engine for its columns and looks; the rows are
// then painted directly.
std::unique_ptr<FaixaTabela> lerFaixa(const QString &cabeca, const FaixaModelo &modelo, const mus::data &dados,
                                      const QString &arquivoModelo, QPdfWriter &writer)
{
    const mus::data *linhas = linhasDe(dados, modelo.conexao);
    const bool comLinhas = linhas && !linhas->list_value().empty();
    const QString antes = Trecho(modelo.antes, arquivoModelo).renderizar(dados, arquivoModelo);
    const QString depois = Trecho(modelo.depois, arquivoModelo).renderizar(dados, arquivoModelo);
    QString exemplo;
    if (comLinhas) {
        mus::context<std::string> ctx(&dados);
        ctx.push(&linhas->list_value().front());
        exemplo = Trecho(modelo.linha, arquivoModelo).renderizar(ctx, arquivoModelo);
    }
    QTextDocument prototipo;
    prototipo.documentLayout()->setPaintDevice(&writer);
    prototipo.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    prototipo.setTextWidth(PaginaRelatorio::Corpo(writer).width());
    prototipo.setHtml(cabeca + antes + exemplo + depois + QStringLiteral("</body></html>"));
    separarBordas(prototipo.rootFrame());
    auto invalido = [&](const QString &motivo) {
        return Erro(QStringLiteral("Modelo de relatório inválido: %1\n%2")
                        .arg(QDir::toNativeSeparators(arquivoModelo), motivo.arg(modelo.conexao)));
    };
    const QList<QTextFrame *> quadros = prototipo.rootFrame()->childFrames();
    const auto *tabela = quadros.isEmpty() ? nullptr : qobject_cast<const QTextTable *>(quadros.front());
    if (!tabela)
        throw invalido(QStringLiteral("a tabela banda=\"%1\" não pôde ser lida"));
    static const QRegularExpression linhaTabela(QStringLiteral(R"(<tr\b)"), QRegularExpression::CaseInsensitiveOption);
    auto f = std::make_unique<FaixaTabela>(prototipo, *tabela, int(antes.count(linhaTabela)), comLinhas, &writer);
    if (comLinhas && f->modeloLinha.size() != size_t(modelo.celulas.size()))
        throw invalido(QStringLiteral("a linha repetida da tabela banda=\"%1\" não pôde ser lida célula a célula"));
    if (comLinhas)
        preencherLinhas(*f, modelo, *linhas, dados, arquivoModelo);
    return f;
}

void gravarPdf(const ModeloDividido &modelo, const mus::data &dados, const QString &arquivoModelo,
               const QString &arquivoPdf)
{
    const QString erroGravar =
        QStringLiteral("Não foi possível gravar o arquivo: %1").arg(QDir::toNativeSeparators(arquivoPdf));
    const QString cabeca = Trecho(modelo.cabeca, arquivoModelo).renderizar(dados, arquivoModelo);
    // A truncated PDF must not pass for a finished one.
    struct Descarte {
        const QString &arquivo;
        bool pronto = false;
        ~Descarte()
        {
            if (!pronto)
                QFile::remove(arquivo);
        }
    } descarte{arquivoPdf};
    QPdfWriter writer(arquivoPdf);
    PaginaRelatorio::Configurar(writer, paisagem(cabeca), QFileInfo(arquivoPdf).completeBaseName());
    QPainter p;
    if (!p.begin(&writer))
        throw Erro(erroGravar);

    Paginacao paginacao(writer, QFileInfo(arquivoModelo).absolutePath());
    for (qsizetype i = 0; i < modelo.textos.size(); ++i) {
        if (i == 0 || !vazio(modelo.textos[i]))
            paginacao.texto(cabeca, Trecho(modelo.textos[i], arquivoModelo).renderizar(dados, arquivoModelo));
        if (i < modelo.faixas.size())
            paginacao.faixa(lerFaixa(cabeca, modelo.faixas[i], dados, arquivoModelo, writer));
    }
    const QString corrido = cabecalhoCorrido(cabeca);
    const int paginas = paginacao.paginas();
    bool impresso = true;
    for (int i = 0; i < paginas && impresso; ++i) {
        if (i > 0 && !writer.newPage()) {
            impresso = false;
            break;
        }
        paginacao.desenhar(p, i);
        PaginaRelatorio::DesenharMoldura(p, writer, corrido, i + 1, paginas);
    }
    if (!p.end() || !impresso)
        throw Erro(erroGravar);
    descarte.pronto = true;
}

} // namespace

void GerarRelatorio(const QString &arquivoModelo, const std::vector<const FonteRelatorio *> &fontes,
                    const QMap<QString, QString> &parametros, const QString &arquivoPdf)
{
    const QString modelo = lerModelo(arquivoModelo);
    const ModeloDividido dividido = DividirModelo(modelo, arquivoModelo);
    const mus::data dados = contexto(fontes, parametros, QFileInfo(arquivoModelo).absolutePath());
    gravarPdf(dividido, dados, arquivoModelo, arquivoPdf);
}
