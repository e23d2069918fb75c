#pragma once

// The buttons of an order screen, header row first, then the item row. The
// record buttons follow the standard record actions' enabling rules; the
// others are always enabled.
enum class AcaoPedido {
    PesquisarPedido,
    Enviar,
    Imprimir,
    Novo,
    Editar,
    Salvar,
    Cancelar,
    Excluir,
    Anterior,
    Proximo,
    ImportarPendencia,
    NovoItem,
    EditarItem,
    SalvarItem,
    CancelarItem,
    ExcluirItem,
    AnteriorItem,
    ProximoItem,
};
