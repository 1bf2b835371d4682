#include "matrika/razcepmetoda.h"

#include "matrika/chr.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "matrika/svdr.h"

std::unique_ptr<razcepMetoda<real>> razcepZaMetodo(const std::string& NumSolve, real SVDthres)
{
    using T = real;
    using Tvori = std::unique_ptr<razcepMetoda<T>> (*)(const std::string&, real);
    struct Vnos {
        const char* ime;
        Tvori tvori;
    };
    static const Vnos tabela[] = {
        {"CH", [](const std::string&, real) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<chr<T>>();
         }},
        {"LU", [](const std::string&, real) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<lur<T>>();
         }},
        {"QR", [](const std::string& ime, real) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"QRHOUS", [](const std::string& ime, real) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"QRMGS", [](const std::string& ime, real) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"QRGIV", [](const std::string& ime, real) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"SVD", [](const std::string&, real prag) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<svdr<T>>(prag);
         }},
    };
    for (const Vnos& v : tabela)
        if (NumSolve == v.ime) return v.tvori(NumSolve, SVDthres);
    return nullptr;
}
