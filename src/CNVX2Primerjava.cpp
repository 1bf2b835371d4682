#include "src/CNVX2Primerjava.h"

#include <cmath>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>

#include "funkcije/Besedila.h"
#include "src/NivexAux.h"
#include "src/TerObsVrste.h"

using json = nlohmann::ordered_json;

namespace {
// The symbols of the datum parameters, as the guide names them.
std::string Parametri(int dim, unsigned defekti)
{
    if (dim == 1) return "dH";
    std::string s;
    const auto dodaj = [&](unsigned bit, const char* ime) {
        if ((defekti & bit) == 0) return;
        if (!s.empty()) s += ' ';
        s += ime;
    };
    dodaj(kDefTx, "tx");
    dodaj(kDefTy, "ty");
    if (dim == 3) {
        dodaj(kDefTz, "tz");
        dodaj(kDefWx, "wx");
        dodaj(kDefWy, "wy");
    }
    dodaj(kDefWz, "wz");
    if ((defekti & (dim == 3 ? kDefM2 | kDefM3 : kDefM2)) != 0) s += " m";
    return s;
}

std::string Prostostne(real f)
{
    if (f <= 0) return "inf";
    std::ostringstream o;
    o << std::fixed << std::setprecision(0) << f;
    return o.str();
}

void Testi(const OpisPrimerjave& p, std::ostream& out)
{
    PodNaslov(out, B(Besedilo::PrimerjavaPodnaslovTest), 1);
    out << "\n" << std::setw(6) << B(Besedilo::PrimerjavaStolpecKorak) << std::setw(12)
        << B(Besedilo::PrimerjavaStolpecIzlocena) << std::setw(12) << "T" << std::setw(12)
        << B(Besedilo::PrimerjavaStolpecKvantil) << std::setw(6) << "h" << std::setw(8) << "f" << std::setw(10)
        << B(Besedilo::PrimerjavaStolpecSprejet) << "\n"
        << std::string(66, '-') << "\n";
    const std::string f = Prostostne(p.vhod.f);
    for (std::size_t k = 0; k < p.rez.testi.size(); ++k) {
        const TestSkladnosti& t = p.rez.testi[k];
        out << std::setw(6) << k << std::setw(12) << (t.izlocena.empty() ? "-" : t.izlocena) << std::setprecision(4)
            << std::setw(12) << t.T << std::setw(12) << t.kvantil << std::setw(6) << t.h << std::setw(8) << f
            << std::setw(10) << B(t.sprejet ? Besedilo::PrimerjavaDa : Besedilo::PrimerjavaNe) << "\n";
    }
    out << "\n" << B(Besedilo::PrimerjavaPremaknjene);
    for (const std::string& s : p.rez.premaknjene) out << " " << s;
    if (p.rez.premaknjene.empty()) out << B(Besedilo::PrimerjavaNobena);
    out << "\n";
    if (p.rez.konec == KonecIskanja::Skladna) out << B(Besedilo::PrimerjavaKonecSkladna) << "\n";
    else if (p.rez.konec == KonecIskanja::PremaloTock) out << B(Besedilo::PrimerjavaKonecPremalo) << "\n";
    else out << BesediloF(Besedilo::PrimerjavaKonecOmejitev, p.vhod.najvecPremaknjenih) << "\n";
    out << "\n\n";
}

// A column's word and its unit.
std::string Enota(Besedilo beseda, const char* enota)
{
    std::string s = B(beseda);
    s.append(enota);
    return s;
}

// The columns of the displacements by dimension, with their rule.
void GlavaPremikov(int dim, std::ostream& izhod)
{
    std::ostringstream out;
    out << std::setw(10) << B(Besedilo::PrimerjavaStolpecTocka);
    const char* osi[] = {"dx[mm]", "dy[mm]", "dz[mm]"};
    if (dim == 1) {
        out << std::setw(10) << "dH[mm]" << std::setw(10) << Enota(Besedilo::PrimerjavaStolpecInterval, "[mm]");
    } else {
        for (int a = 0; a < dim; ++a) out << std::setw(10) << osi[a];
        out << std::setw(10) << "d[mm]" << std::setw(9) << Enota(Besedilo::PrimerjavaStolpecSmer, "[o]");
        const char* os[] = {"a[mm]", "b[mm]", "c[mm]"};
        for (int a = 0; a < dim; ++a) out << std::setw(9) << os[a];
        if (dim == 2) out << std::setw(9) << "th[o]";
    }
    out << std::setw(10) << "T" << std::setw(10) << B(Besedilo::PrimerjavaStolpecKvantil) << "  "
        << B(Besedilo::PrimerjavaStolpecStanje);
    const std::string glava = out.str();
    izhod << glava << "\n" << std::string(glava.size() + 6, '-') << "\n";
}

void Premiki(const OpisPrimerjave& p, std::ostream& out)
{
    const int dim = p.vhod.dim;
    PodNaslov(out, B(Besedilo::PrimerjavaPodnaslovPremiki), 1);
    out << B(Besedilo::PrimerjavaOpisPremiki) << "\n\n";
    GlavaPremikov(dim, out);
    for (const PremikTocke& t : p.rez.tocke) {
        out << std::setw(10) << t.ime << std::setprecision(2);
        for (int a = 0; a < dim; ++a) out << std::setw(10) << t.d[a] * 1000;
        if (dim == 1) {
            out << std::setw(10) << t.os[0] * 1000;
        } else {
            out << std::setw(10) << t.dolzina * 1000 << std::setw(9) << t.smer;
            for (int a = 0; a < dim; ++a) out << std::setw(9) << t.os[a] * 1000;
            if (dim == 2) out << std::setw(9) << t.theta;
        }
        out << std::setprecision(3);
        if (t.r > 0) out << std::setw(10) << t.T << std::setw(10) << t.kvantil;
        else out << std::setw(10) << B(Besedilo::PrimerjavaBrezTesta) << std::setw(10) << B(Besedilo::PrimerjavaBrezTesta);
        out << "  " << B(t.premaknjena ? Besedilo::PrimerjavaPremaknjena : Besedilo::PrimerjavaStabilna) << "\n";
    }
    out << "\n\n";
}
}  // namespace

void PrimerjavaPorocilo(const OpisPrimerjave& p, std::ostream& out)
{
    const VhodPrimerjave& v = p.vhod;
    Naslov(out, B(Besedilo::NaslovAnalizaPremikov), 1);
    IzpisNastavitve(out, 4);
    out << BesediloF(Besedilo::PrimerjavaEpoha, 1, p.epoha1.c_str()) << "\n"
        << BesediloF(Besedilo::PrimerjavaEpoha, 2, p.epoha2.c_str()) << "\n"
        << BesediloF(Besedilo::PrimerjavaSkupnih, static_cast<long>(v.tocke.size())) << "\n"
        << B(Besedilo::PrimerjavaSkupne);
    for (std::size_t i = 0; i < v.tocke.size(); ++i) {
        if (i > 0 && i % 10 == 0) out << "\n" << std::setw(38) << "";
        out << " " << v.tocke[i];
    }
    out << "\n"
        << BesediloF(Besedilo::PrimerjavaParametri, p.rez.parametrov, Parametri(v.dim, v.defekti).c_str()) << "\n"
        << BesediloF(v.f > 0 ? Besedilo::PrimerjavaVarianca : Besedilo::PrimerjavaVariancaApriori, v.s02,
                     Prostostne(v.f).c_str())
        << "\n"
        << BesediloF(Besedilo::PrimerjavaVerjetnost, v.P) << "\n\n\n";
    Testi(p, out);
    Premiki(p, out);
}

json PrimerjavaJSON(const OpisPrimerjave& p, Kodiranje kodiranje)
{
    const auto num = [](real x) {
        const double d = static_cast<double>(x);
        return std::isfinite(d) ? json(d) : json(nullptr);
    };
    const auto ime = [&](const std::string& s) { return NVX2Utf8(s, kodiranje); };
    const int dim = p.vhod.dim;
    const json f = p.vhod.f > 0 ? num(p.vhod.f) : json(nullptr);
    json premaknjene = json::array(), testi = json::array(), tocke = json::array();
    for (const std::string& s : p.rez.premaknjene) premaknjene.push_back(ime(s));
    for (const TestSkladnosti& t : p.rez.testi)
        testi.push_back({{"removed", t.izlocena.empty() ? json(nullptr) : json(ime(t.izlocena))},
                         {"statistic", num(t.T)}, {"quantile", num(t.kvantil)},
                         {"degrees_of_freedom", json::array({t.h, f})}, {"accepted", t.sprejet}});
    for (const PremikTocke& t : p.rez.tocke) {
        json d = json::array(), os = json::array();
        for (int a = 0; a < dim; ++a) d.push_back(num(t.d[a]));
        for (int a = 0; a < dim; ++a) os.push_back(num(t.os[a]));
        json obmocje = {{"semi_axes", os}};
        if (dim == 2) obmocje["theta"] = num(t.theta * std::numbers::pi_v<real> / 180);
        json test = t.r > 0 ? json({{"statistic", num(t.T)}, {"quantile", num(t.kvantil)},
                                    {"degrees_of_freedom", json::array({t.r, f})}, {"accepted", t.T <= t.kvantil}})
                            : json(nullptr);
        tocke.push_back({{"name", ime(t.ime)}, {"displacement", d}, {"length", num(t.dolzina)},
                         {"confidence_region", obmocje}, {"test", test}, {"moved", t.premaknjena}});
    }
    return {{"epochs", json::array({ime(p.epoha1), ime(p.epoha2)})},
            {"confidence", num(p.vhod.P)},
            {"reference_variance", num(p.vhod.s02)},
            {"datum_parameters", p.rez.parametrov},
            {"moved", premaknjene},
            {"global_test", testi},
            {"points", tocke}};
}
