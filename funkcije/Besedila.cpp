#include "funkcije/Besedila.h"

namespace {
struct Vnos {
    const char* ime;
    const char* sl;
};

constexpr Vnos kBesedila[] = {
#define NIVEX_BESEDILO(id, sl) {#id, sl},
#include "funkcije/Besedila.def"
#undef NIVEX_BESEDILO
};
static_assert(sizeof kBesedila / sizeof kBesedila[0] == static_cast<std::size_t>(Besedilo::kStevilo));
}  // namespace

const char* B(Besedilo id) { return kBesedila[static_cast<unsigned>(id)].sl; }

const char* BesediloIme(Besedilo id) { return kBesedila[static_cast<unsigned>(id)].ime; }
