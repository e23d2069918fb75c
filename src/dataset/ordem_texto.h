#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

struct sqlite3;

// Text in the order a Brazilian reader expects: letter case and accents
// folded first ("arruela", "Ácido", "Zinco" sort as a, á, z), the exact text
// only breaking ties. Registered on every connection as the collation PTBR.
namespace OrdemTexto
{

inline constexpr char kNome[] = "PTBR";

// Registers PTBR on the connection; throws Erro when it cannot.
void registrar(sqlite3 *db);

// The SELECT with PTBR on every term of its own ORDER BY ("order by produto"
// becomes "order by produto COLLATE PTBR"); terms that already name a
// collation are left alone. Numbers still sort as numbers: a collation only
// compares texts.
QString aplicar(const QString &sql);

// The columns of the SELECT's own ORDER BY when every term is a plain column
// name in ascending order and nothing follows it; otherwise nothing.
std::optional<QStringList> colunasDaOrdem(const QString &sql);

// Two UTF-8 texts compared as PTBR compares them: negative, zero or positive.
int comparar(std::string_view a, std::string_view b);

} // namespace OrdemTexto
