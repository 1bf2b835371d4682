#include "src/FNacrt.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iomanip>
#include <map>
#include <set>
#include <nlohmann/json.hpp>

#include "funkcije/Besedila.h"
#include "funkcije/KotnePretvorbe.h"
#include "matrika/vzporedno.h"
#include "src/CIzravnava.h"
#include "src/CProcSet.h"
#include "src/CRezultati.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/FIskanje.h"
#include "src/FPovzetek.h"
#include "src/FTestiZapisov.h"

namespace {
const real kDvaPi = 2.0L * static_cast<real>(kotne::PI);
const char* const kOs[3] = {"X", "Y", "Z"};

real VKrog(real x)
{
    x = std::fmod(x, kDvaPi);
    return x < 0.0L ? x + kDvaPi : x;
}

// The directions of each station setup from its composed angles, whose
// values the equations have just given: the first reads 0.
void NacrtSmeri(CTerObsZbirka& TO)
{
    CTerObsDir& smeri = TO.TODir;
    for (long j = 0; j < static_cast<long>(smeri.NObs()); ++j) {
        const long i = CTerObsAngl::PrejsnjaSmer(smeri, j);
        const long k = TO.TOAngl.NObs() == 0 ? -1 : TO.TOAngl.GetIndAng(j);
        smeri.OBS(j, 0) = i < 0 || k < 0 ? 0.0L : VKrog(smeri.OBS(i, 0) + TO.TOAngl.OBS(k, 0));
    }
}


std::string Enota(char vrsta, const std::string& kotnaEnota)
{
    return TerObsKotna(vrsta) ? (kotnaEnota == "GON" ? " mg" : " ''") : " mm";
}

NacrtOpazovanje Opis(const CTerObsZbirka& TO, const RezOpazovanje& o, real vrednost, long indeks)
{
    const RezIzlocen z = TestiOpisZapisa(TO, o.set, o.zapis);
    NacrtOpazovanje n;
    n.vrsta = o.vrsta;
    n.tocke = z.tocke + (TerObsKomponente(o.vrsta) ? std::string(" ") + kOs[o.komponenta] : std::string());
    n.vrstice = VrsticeOpazovanja(TO, o);
    n.vrednost = vrednost;
    n.o = &o;
    n.indeks = indeks;
    return n;
}

std::string Ime(const NacrtOpazovanje& n) { return std::string(1, n.vrsta) + "  " + n.tocke; }

// The largest semi-axis of a point: the height deviation in levelling, the
// ellipse in a plane, the larger of the ellipse and the ellipsoid in space.
real PolosTocke(const RezTocka& t, int dim)
{
    if (dim == 1) return t.koordinate.sig[0];
    real a = t.koordinate.a;
    if (dim == 3)
        for (real s : t.koordinate.S) a = std::max(a, s);
    return a;
}
}  // namespace

void NacrtVrednosti(CIzravnava& izravnava, CProcSet& procset, CTerObsZbirka& TO, std::ostream& report)
{
    // The equations at the approximate coordinates give f = computed -
    // observed (+ the refraction and curvature terms), so observed + f is
    // the value computed by the model itself.  "*OBSRES" leaves the computed
    // value out of f: not while the values are formed.
    const bool obsRes = procset.ifObsResiduals;
    procset.ifObsResiduals = false;
    std::ostream nic(nullptr);
    CGMM& GMM = izravnava.GMM;
    GMM.DataSum(nic);
    GMM.DataSet();
    izravnava.SetGMMEq(nic);
    procset.ifObsResiduals = obsRes;
    for (long r = 0; r < GMM.nobs; ++r) {
        const VrsticaModela& m = GMM.vrstice[static_cast<std::size_t>(r)];
        if (m.set == kTOSetov) continue;
        CTerObs& set = TO.Set(m.set);
        real& l = set.OBS(m.zapis, m.komponenta);
        l += GMM.fvec(r);
        if (TerObsKotna(set.Vrsta())) l = VKrog(l);
    }
    NacrtSmeri(TO);

    report << "\n" << B(Besedilo::NacrtVrednostiIzracunane) << "\n";
    const unsigned long podanih = procset.NacrtVrednosti() - procset.NacrtVprasajev();
    if (podanih > 0) {
        const std::string t = BesediloF(Besedilo::OpozoriloNacrtPrezrte, podanih);
        NivexWarning(t);
        NivexOpomba(t);
        report << "\n" << t << "\n";
    }
    report << "\n";
}

namespace {
// The composed angles that name the unchecked directions: the angle that
// ends at the direction, or, the first of its set, the one that begins there.
std::set<const RezOpazovanje*> KotiNepreverjenihSmeri(const CRezultati& rez, const CTerObsZbirka& TO)
{
    std::map<long, const RezOpazovanje*> konec, zacetek;
    if (rez.nepreverjeneSmeri.empty()) return {};
    for (const RezOpazovanje& o : rez.opazovanja)
        if (o.set == kTOAngl) {
            const std::array<long, 2> s = TO.TOAngl.Smeri(o.zapis);
            konec.emplace(s[1], &o);
            zacetek.emplace(s[0], &o);
        }
    std::set<const RezOpazovanje*> koti;
    for (const long d : rez.nepreverjeneSmeri)
        if (const auto k = konec.find(d); k != konec.end()) koti.insert(k->second);
        else if (const auto z = zacetek.find(d); z != zacetek.end()) koti.insert(z->second);
    return koti;
}
}  // namespace

namespace {
// The directions of one dense block of composed angles: their columns over
// the block's rows (-1 in the angle a direction begins, +1 in the one it
// ends), u = P c, M = u'Qvv u and c'P c; nothing checks a direction whose M
// is below kNacrtNepreverjeno of its c'P c.
void SmeriBloka(const std::vector<real>& qvv, const CGMM& GMM, const CTerObsZbirka& TO, unsigned long blk,
                std::vector<long>& izid)
{
    const bdmatrika& P = GMM.PllB;
    const unsigned long m = P.velikost(blk);
    if (qvv.size() != m * m) return;
    std::map<long, std::vector<std::pair<unsigned long, real>>> smeri;
    for (unsigned long kk = 0; kk < m; ++kk) {
        const VrsticaModela& v = GMM.vrstice.at(P.vrstica(blk, kk));
        if (v.set != kTOAngl) return;
        const std::array<long, 2> d = TO.TOAngl.Smeri(v.zapis);
        smeri[d[0]].emplace_back(kk, -1.0L);
        smeri[d[1]].emplace_back(kk, 1.0L);
    }
    const matrika<real>& Pb = P.blok(blk);
    std::vector<real> u(m);
    for (const auto& [smer, c] : smeri) {
        real cpc = 0.0L, M = 0.0L;
        for (unsigned long i = 0; i < m; ++i) {
            u[i] = 0.0L;
            for (const auto& [k, ck] : c) u[i] += Pb(static_cast<long>(i), static_cast<long>(k)) * ck;
        }
        for (const auto& [k, ck] : c) cpc += ck * u[k];
        for (unsigned long i = 0; i < m; ++i)
            for (unsigned long k = 0; k < m; ++k) M += u[i] * qvv[i * m + k] * u[k];
        if (!(M > kNacrtNepreverjeno * cpc)) izid.push_back(smer);
    }
}
}  // namespace

void NacrtSmeri(const CIzravnava& izravnava, const CTerObsZbirka& TO, CRezultati& rez)
{
    rez.nepreverjeneSmeri.clear();
    const CGMM& GMM = izravnava.GMM;
    const std::vector<std::vector<real>>& bloki = izravnava.GMMS.qvvBloki;
    // Correlated angles held as dense blocks, one per station setup: from
    // the block's residual cofactors, kept by the pass; otherwise
    // (uncorrelated angles, a long chain held as a band) by the record tests
    // of the directions.
    if (!GMM.Qlldiag && !GMM.PllB.imaTrakove() && bloki.size() == GMM.PllB.nblok()) {
        // The blocks shared among the threads, each writing its own list.
        const long n = static_cast<long>(GMM.PllB.nblok());
        std::vector<std::vector<long>> izidi(static_cast<std::size_t>(n));
        double delo = 0.0;
        for (long b = 0; b < n; ++b) delo += std::pow(static_cast<double>(GMM.PllB.velikost(static_cast<unsigned long>(b))), 3.0);
        vzporedno::Vzporedno(n, delo, vzporedno::Jedra(), [&](long b) {
            const std::size_t k = static_cast<std::size_t>(b);
            SmeriBloka(bloki[k], GMM, TO, static_cast<unsigned long>(b), izidi[k]);
        });
        for (const std::vector<long>& i : izidi) rez.nepreverjeneSmeri.insert(rez.nepreverjeneSmeri.end(), i.begin(), i.end());
        std::sort(rez.nepreverjeneSmeri.begin(), rez.nepreverjeneSmeri.end());
        return;
    }
    for (const TestZapisa& t : TestiZapisov(TO, GMM, izravnava.GMMS, kTODir))
        if (!t.preverjen || t.r < kNacrtNepreverjeno) rez.nepreverjeneSmeri.push_back(t.zapis);
}

NacrtOcena NacrtOceni(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO)
{
    const std::set<const RezOpazovanje*> smeri = KotiNepreverjenihSmeri(rez, TO);
    NacrtOcena n;
    for (const RezTocka& t : rez.tocke)
        if (const real a = PolosTocke(t, rez.dim); n.polosTocka.empty() || a > n.polos) {
            n.polos = a;
            n.polosTocka = t.ime;
        }
    for (const RezRelElipsa& e : rez.relativne)
        if (!n.imaRelativne || e.a > n.relativna) {
            n.imaRelativne = true;
            n.relativna = e.a;
            n.relativnaOd = e.od;
            n.relativnaDo = e.doTocke;
        }
    n.ciljPolos = procset.NacrtPolos();
    n.ciljR = procset.NacrtRedundanca();
    std::map<char, NacrtOpazovanje> nab;
    long i = 0;
    for (const RezOpazovanje& o : rez.opazovanja) {
        if (o.vrsta == 0) continue;
        if (!n.imaOpazovanja || o.r < n.najmanjsiR.vrednost) n.najmanjsiR = Opis(TO, o, o.r, i);
        if (!n.imaOpazovanja || o.lam > n.najvecjiLAM.vrednost) n.najvecjiLAM = Opis(TO, o, o.lam, i);
        n.imaOpazovanja = true;
        if (o.r < kNacrtNepreverjeno || smeri.count(&o) != 0) n.nepreverjena.push_back(Opis(TO, o, o.r, i));
        if (n.ciljR >= 0.0L && o.r < n.ciljR) n.sibka.push_back(Opis(TO, o, o.r, i));
        const auto k = nab.find(o.vrsta);
        if (k == nab.end() || o.nab > k->second.vrednost) nab[o.vrsta] = Opis(TO, o, o.nab, i);
        ++i;
    }
    // In the order of the model rows.
    for (const char* c = kVrstniRedVrstic; *c != '\0'; ++c)
        if (const auto k = nab.find(*c); k != nab.end()) n.najvecjiNAB.push_back(k->second);
    n.polosDosezena = n.ciljPolos < 0.0L || n.polos <= n.ciljPolos;
    n.rDosezen = n.ciljR < 0.0L || n.sibka.empty();
    return n;
}

namespace {
void PovzetekCiljev(const NacrtOcena& n, std::ostream& report)
{
    if (n.ciljPolos < 0.0L && n.ciljR < 0.0L) return;
    report << "\n" << B(Besedilo::NacrtCilji) << "\n";
    const auto ocena = [](bool da) { return B(da ? Besedilo::NacrtDosezen : Besedilo::NacrtNiDosezen); };
    if (n.ciljPolos >= 0.0L)
        report << BesediloF(Besedilo::NacrtCiljPolosOcena, static_cast<double>(n.ciljPolos), ocena(n.polosDosezena),
                            static_cast<double>(n.polos))
               << "\n";
    if (n.ciljR >= 0.0L) {
        report << BesediloF(Besedilo::NacrtCiljROcena, static_cast<double>(n.ciljR), ocena(n.rDosezen),
                            static_cast<double>(n.najmanjsiR.vrednost), static_cast<unsigned long>(n.sibka.size()))
               << "\n";
        for (std::size_t i = 0; i < n.sibka.size() && i < kPovzetekNajvec; ++i)
            report << BesediloF(Besedilo::NacrtSibko, Ime(n.sibka[i]).c_str(), n.sibka[i].vrstice.c_str(),
                                static_cast<double>(n.sibka[i].vrednost))
                   << "\n";
        if (n.sibka.size() > kPovzetekNajvec)
            report << "      " << B(Besedilo::PovzetekInSe) << n.sibka.size() - kPovzetekNajvec << "\n";
    }
}
}  // namespace

void NacrtPovzetek(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO,
                   const std::vector<NivexOpozorilo>& opozorila, std::ostream& report, std::ostream& konzola)
{
    const NacrtOcena n = NacrtOceni(rez, procset, TO);
    const std::string& enota = procset.GetAngUnit();
    Naslov(report, B(Besedilo::NaslovNacrtPovzetek), 1);
    if (!n.polosTocka.empty())
        report << B(rez.dim == 1   ? Besedilo::PovzetekOdklonVisine
                    : rez.dim == 2 ? Besedilo::PovzetekPolos
                                   : Besedilo::NacrtPolosElipsoidov)
               << PovzetekStevilo("%10.4f", n.polos) << B(Besedilo::PovzetekTocka) << n.polosTocka << ")\n";
    if (n.imaRelativne)
        report << BesediloF(Besedilo::NacrtRelativna, static_cast<double>(n.relativna), n.relativnaOd.c_str(),
                            n.relativnaDo.c_str())
               << "\n";
    if (n.imaOpazovanja) {
        report << BesediloF(Besedilo::NacrtNajmanjsiR, static_cast<double>(n.najmanjsiR.vrednost),
                            Ime(n.najmanjsiR).c_str(), n.najmanjsiR.vrstice.c_str())
               << "\n\n";
        report << BesediloF(Besedilo::NacrtNepreverjena, static_cast<unsigned long>(n.nepreverjena.size())) << "\n";
        for (const NacrtOpazovanje& o : n.nepreverjena)
            report << BesediloF(Besedilo::NacrtNepreverjeno, Ime(o).c_str(), o.vrstice.c_str()) << "\n";
        report << "\n" << B(Besedilo::NacrtNajvecjiNAB) << "\n";
        for (const NacrtOpazovanje& o : n.najvecjiNAB)
            report << BesediloF(Besedilo::NacrtNABVrsta, o.vrsta,
                                static_cast<double>(IskanjeMala(o.vrsta, enota, o.vrednost)),
                                Enota(o.vrsta, enota).c_str(), Ime(o).c_str(), o.vrstice.c_str())
                   << "\n";
        report << BesediloF(Besedilo::NacrtNajvecjiLAM, static_cast<double>(n.najvecjiLAM.vrednost),
                            Ime(n.najvecjiLAM).c_str(), n.najvecjiLAM.vrstice.c_str())
               << "\n";
    }
    PovzetekCiljev(n, report);
    report << "\n" << B(Besedilo::PovzetekOpozorila) << std::setw(8) << opozorila.size() << "\n";
    for (const NivexOpozorilo& t : opozorila) report << "   " << t.besedilo << "\n";
    report << "\n";

    konzola << "\n" << B(Besedilo::NaslovNacrtPovzetek) << "\n"
            << BesediloF(Besedilo::NacrtKonzola, static_cast<double>(n.polos),
                         static_cast<double>(n.najmanjsiR.vrednost), static_cast<unsigned long>(n.nepreverjena.size()))
            << "\n\n";
}

namespace {
using json = nlohmann::ordered_json;

json Num(real x)
{
    const double d = static_cast<double>(x);
    return std::isfinite(d) ? json(d) : json(nullptr);
}

json Indeksi(const std::vector<NacrtOpazovanje>& v)
{
    json a = json::array();
    for (const NacrtOpazovanje& o : v) a.push_back(o.indeks);
    return a;
}
}  // namespace

json NacrtDokument(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO)
{
    const NacrtOcena n = NacrtOceni(rez, procset, TO);
    const auto ime = [&TO](const std::string& t) { return NVX2Utf8(t, TO.kodiranje); };
    const auto opazovanje = [&n](const NacrtOpazovanje& o) {
        return n.imaOpazovanja ? json{{"value", Num(o.vrednost)}, {"observation", o.indeks}} : json(nullptr);
    };
    json nab = json::array();
    for (const NacrtOpazovanje& o : n.najvecjiNAB)
        nab.push_back({{"kind", std::string(1, o.vrsta)}, {"value", Num(o.vrednost)}, {"observation", o.indeks}});
    const auto cilj = [](real c) { return c >= 0.0L ? Num(c) : json(nullptr); };
    return {{"max_semi_axis", n.polosTocka.empty() ? json(nullptr)
                                                   : json{{"value", Num(n.polos)}, {"point", ime(n.polosTocka)}}},
            {"max_relative_semi_axis",
             n.imaRelativne ? json{{"value", Num(n.relativna)},
                                   {"points", json::array({ime(n.relativnaOd), ime(n.relativnaDo)})}}
                            : json(nullptr)},
            {"min_redundancy", opazovanje(n.najmanjsiR)},
            {"unchecked_below", Num(kNacrtNepreverjeno)},
            {"unchecked", Indeksi(n.nepreverjena)},
            {"max_mdb", std::move(nab)},
            {"max_external", opazovanje(n.najvecjiLAM)},
            {"targets", {{"max_semi_axis", cilj(n.ciljPolos)}, {"min_redundancy", cilj(n.ciljR)}}},
            {"verdicts",
             {{"max_semi_axis", n.ciljPolos >= 0.0L ? json(n.polosDosezena) : json(nullptr)},
              {"min_redundancy", n.ciljR >= 0.0L ? json(n.rDosezen) : json(nullptr)}}},
            {"weak", Indeksi(n.sibka)}};
}
