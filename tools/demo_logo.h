#pragma once

#include <QString>

namespace Demo
{

// Draws the demo company's logo, 600 x 200, and saves it as a BMP file.
// Throws Erro when the file cannot be written.
void desenharLogo(const QString &arquivo);

} // namespace Demo
