#include "src/MetodaResitve.h"

#include "funkcije/Besedila.h"
#include "matrika/chr.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "matrika/svdr.h"

namespace {
using Razcep = std::unique_ptr<razcepMetoda<real>>;

Razcep Brez(const std::string&, real) { return nullptr; }
Razcep Cholesky(const std::string&, real) { return std::make_unique<chr<real>>(); }
Razcep LU(const std::string&, real) { return std::make_unique<lur<real>>(); }
Razcep QR(const std::string& ime, real) { return std::make_unique<qrr<real>>(ime); }
Razcep SVD(const std::string&, real prag) { return std::make_unique<svdr<real>>(prag); }

const MetodaResitve kMetode[] = {
    {"NS", Besedilo::MetodaNS, "NS", 'G', false, Brez},
    {"LU", Besedilo::MetodaLU, "LU", 'L', false, LU},
    {"CH", Besedilo::MetodaCH, "CH", 'C', false, Cholesky},
    {"QR", Besedilo::MetodaQRHouseholder, "QR*", 'C', false, QR},
    {"QRHOUS", Besedilo::MetodaQRHouseholder, "QR*", 'C', false, QR},
    {"QRMGS", Besedilo::MetodaQRGramSchmidt, "QR*", 'C', false, QR},
    {"QRGIV", Besedilo::MetodaQRGivens, "QR*", 'C', false, QR},
    {"SVD", Besedilo::MetodaSVD, "SVD", 'C', true, SVD},
};
}  // namespace

const MetodaResitve* NajdiMetodo(const std::string& ime)
{
    for (const MetodaResitve& m : kMetode)
        if (ime == m.ime) return &m;
    return nullptr;
}

const char* IzvedenaResitev(const MetodaResitve& metoda)
{
    return metoda.psevdoinverz ? B(Besedilo::IzvedenaSVD)
                               : B(Besedilo::IzvedenaRedkaLDL);
}
