#pragma once

#include <QString>

struct sqlite3;

// Copies the open database whole into the folder "backup" beside its file,
// named after it with the date and time ("corlando-20261210-101502-347.db"), and
// keeps only the newest `manter` copies there. Returns the copy's path.
// Must run outside a transaction. Throws Erro when the copy cannot be written
// (the database is left as it was).
QString CopiarBanco(sqlite3 *banco, int manter = 5);
