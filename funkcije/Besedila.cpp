#include "funkcije/Besedila.h"

namespace {
struct Vnos {
    const char* ime;
    const char* sl;
    const char* en;
};

constexpr Vnos kBesedila[] = {
#define NIVEX_BESEDILO(id, sl, en) {#id, sl, en},
#include "funkcije/Besedila.def"
#undef NIVEX_BESEDILO
};
static_assert(sizeof kBesedila / sizeof kBesedila[0] == static_cast<std::size_t>(Besedilo::kStevilo));

Jezik jezikBesedil = Jezik::SL;
}  // namespace

void BesedilaJezik(Jezik jezik) { jezikBesedil = jezik; }
Jezik BesedilaJezik() { return jezikBesedil; }

const char* B(Besedilo id, Jezik jezik)
{
    const Vnos& v = kBesedila[static_cast<unsigned>(id)];
    // An entry without its English words (while the catalogue is being
    // translated) gives the Slovenian ones.
    return jezik == Jezik::EN && v.en[0] != '\0' ? v.en : v.sl;
}

const char* B(Besedilo id) { return B(id, jezikBesedil); }

const char* BesediloIme(Besedilo id) { return kBesedila[static_cast<unsigned>(id)].ime; }

const char* BesediloAngleski(Besedilo id) { return kBesedila[static_cast<unsigned>(id)].en; }
