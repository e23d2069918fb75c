#pragma once

#include <QString>

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

} // namespace OrdemTexto
