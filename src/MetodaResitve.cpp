#include "src/MetodaResitve.h"

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
    {"NS", "Resitev sistema normalnih enacb (Gaussova elim. z delnim pivotiranjem)", "NS", 'G', false, Brez},
    {"LU", "Razcep matrike sistema normalnih enacb z LU razcepom", "LU", 'L', false, LU},
    {"CH", "Razcep matrike sistema normalnih enacb z razcepom Choleskega", "CH", 'C', false, Cholesky},
    {"QR", "Razcep matrike koeficientov s QR razcepom (Housholdnerjeva zrcaljenja)", "QR*", 'C', false, QR},
    {"QRHOUS", "Razcep matrike koeficientov s QR razcepom (Housholdnerjeva zrcaljenja)", "QR*", 'C', false, QR},
    {"QRMGS", "Razcep matrike koeficientov s QR razcepom (modificiran Gramm-Schmidt)", "QR*", 'C', false, QR},
    {"QRGIV", "Razcep matrike koeficientov s QR razcepom (Givensove rotacije)", "QR*", 'C', false, QR},
    {"SVD", "Razcep matrike koeficientov s SVD razcepom (postopek NR3 (2007))", "SVD", 'C', true, SVD},
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
    return metoda.psevdoinverz ? "SVD razcep polne matrike koeficientov"
                               : "razcep L*D*L' redke matrike normalnih enacb (urejanje AMD)";
}
