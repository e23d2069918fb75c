#include "gmime_apoio.h"

#include <mutex>

void iniciarGMime()
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { g_mime_init(); });
}
