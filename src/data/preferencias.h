#pragma once

// Choices of the person at this computer, kept in the user's settings
// rather than in the database: they follow the user, not the installation.

// Enter moves to the next box, as Tab does (on unless turned off).
bool EnterAvancaCaixa();
void DefinirEnterAvancaCaixa(bool avanca);
