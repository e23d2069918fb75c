#pragma once

#include <functional>

// The order screen's own header actions, handed to the document routines so
// that every save goes through the screen (which re-prices and re-totals).
struct AcoesCabecalho {
    std::function<void()> editar; // the header edit button's action
    std::function<void()> salvar; // the header save button's action
};
