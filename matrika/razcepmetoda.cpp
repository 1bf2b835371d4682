#include "matrika/razcepmetoda.h"

#include "matrika/chr.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "matrika/svdr.h"

std::unique_ptr<razcepMetoda<long double>> razcepZaMetodo(const std::string& NumSolve, long double SVDthres)
{
    using T = long double;
    using Tvori = std::unique_ptr<razcepMetoda<T>> (*)(const std::string&, long double);
    struct Vnos {
        const char* ime;
        Tvori tvori;
    };
    static const Vnos tabela[] = {
        {"CH", [](const std::string&, long double) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<chr<T>>();
         }},
        {"LU", [](const std::string&, long double) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<lur<T>>();
         }},
        {"QR", [](const std::string& ime, long double) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"QRHOUS", [](const std::string& ime, long double) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"QRMGS", [](const std::string& ime, long double) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"QRGIV", [](const std::string& ime, long double) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<qrr<T>>(ime);
         }},
        {"SVD", [](const std::string&, long double prag) -> std::unique_ptr<razcepMetoda<T>> {
             return std::make_unique<svdr<T>>(prag);
         }},
    };
    for (const Vnos& v : tabela)
        if (NumSolve == v.ime) return v.tvori(NumSolve, SVDthres);
    return nullptr;
}
