#include "src/CTerObsEst.h"

#include <cmath>
#include <cstring>
#include <iomanip>
#include <iostream>

#include "funkcije/Besedila.h"
#include "funkcije/KotnePretvorbe.h"
#include "src/CGMM.h"
#include "src/CGMMSol.h"
#include "src/CProcSet.h"
#include "src/CTerObs.h"
#include "src/CTerObsZbirka.h"
#include "src/FTestiZapisov.h"
#include "src/NivexAux.h"

namespace {
// Below this a redundancy number, or a residual cofactor relative to the
// observation's own, is zero: what is left is round-off of a row that no
// other observation checks.
constexpr real kNic = numerika::kNicla;

const char* const kOs[3] = {"X", "Y", "Z"};

void Num(std::ostream& out, real v, int width, int decimals)
{
    out << std::fixed << std::setprecision(decimals) << std::setw(width) << v;
}
}  // namespace

CTerObsEst::CTerObsEst(CProcSet& procset_, CTerObsZbirka& TO_, CGMM& GMM_, CGMMSol& GMMS_)
    : procset(procset_), TO(TO_), GMM(GMM_), GMMS(GMMS_)
{
}

const TerObsVrsta& CTerObsEst::Vrsta() const
{
    static const TerObsVrsta prazna{};
    const TerObsVrsta* v = TerObsVrstaModela(obsTyp);
    return v != nullptr ? *v : prazna;
}

const CTerObs& CTerObsEst::Zbirka() const { return TO.Set(static_cast<TerObsSet>(TerObsIndeks(Vrsta()))); }

const std::string& CTerObsEst::KotnaEnota() const
{
    static const std::string linearna;
    return TerObsKotna(Vrsta()) ? Zbirka().AngUnit : linearna;
}

unsigned long CTerObsEst::Komponent() const { return Vrsta().poDim ? procset.GetDim() : 1UL; }

real CTerObsEst::Mala(real x) const
{
    const std::string& enota = KotnaEnota();
    if (enota.empty()) return 1000.0L * x;
    return enota == "GON" ? 1000.0L * rad2gon(x) : rad2sec(x);
}

void CTerObsEst::SetDimensions()
{
    const unsigned long n = static_cast<unsigned long>(GMM.nobs > 0 ? GMM.nobs : 0);
    if (procset.GetContPrint())
        std::cout << "C: CTerObsEst:" << "\n" << " F: SetDimensions() -> " << n << " #obs" << "\n";
    NAB.resize(n, 1, 0.0L);
    LAM.resize(n, 1, 0.0L);
    opazovanja.assign(n, RezOpazovanje{});
    N = TestiKriticnaN(procset.Getdatasp());
}

void CTerObsEst::SetPar(char tip)
{
    if (TerObsVrstaModela(tip) == nullptr)
        NivexError(BesediloF(Besedilo::NapakaTipOpazovanja, kVrstniRedVrstic));
    obsTyp = tip;
    for (int k = 0; k < 3; ++k) nabavg[k] = vavg[k] = sigv[k] = 0.0L;
    if (procset.GetContPrint()) std::cout << " F: SetPar(" << tip << ") -> CalcIndex()" << "\n";
    CalcIndex();
}

void CTerObsEst::CalcIndex()
{
    // The rows of a kind stand together, in the kind order of the model.
    const unsigned long n = opazovanja.size();
    start = end = 0;
    for (unsigned long i = 0; i < n && i < GMM.vrstice.size(); ++i) {
        const VrsticaModela& v = GMM.vrstice[i];
        if (v.set == kTOSetov || &kTerObsVrste[v.set] != &Vrsta()) continue;
        if (end == 0) start = i;
        end = i + 1;
    }
}

real CTerObsEst::Redundanca(unsigned long i) const
{
    const matrika<real>& R = GMMS.R;
    const real r = R.ncol() == 1 ? R(i) : R(i, i);
    return r >= kNic ? r : 0.0L;
}

void CTerObsEst::CalcReliab(real sig, unsigned long i, short k)
{
    const real r = Redundanca(i);
    const real nab = r > 0.0L ? sig * del0 / std::sqrt(r) : 0.0L;
    const real lam = r > 0.0L ? (1.0L / r - 1.0L) * del0 * del0 : 0.0L;
    NAB(i) = nab;
    LAM(i) = lam;
    nabavg[k] += nab;
    vavg[k] += GMMS.vvec(i);
}

void CTerObsEst::SetReliab()
{
    if (end == start) return;
    if (procset.GetContPrint()) std::cout << " F: SetReliab() -> SetReliab" << obsTyp << "()";
    const CTerObs& z = Zbirka();
    const unsigned long komp = Komponent(), n = (end - start) / komp;
    for (unsigned long i = start; i < end; ++i) {
        const VrsticaModela& m = GMM.vrstice[i];
        CalcReliab(z.GetSIG(m.zapis, m.komponenta), i, static_cast<short>(m.komponenta));
        const Vrstica x = GetVrstica(i);
        RezOpazovanje& o = opazovanja[i];
        o.vrsta = obsTyp;
        o.set = m.set;
        o.zapis = m.zapis;
        o.komponenta = m.komponenta;
        o.vrstica = static_cast<long>(i);
        o.opazovano = z.GetOBS(m.zapis, m.komponenta);
        o.v = x.v;
        o.sv = x.sv;
        o.izravnano = o.opazovano + x.v;
        o.sig = x.sig;
        o.r = x.r;
        o.w = x.w;
        o.nab = NAB(i);
        o.lam = LAM(i);
        o.napaka = x.napaka;
        o.ocena = x.ocena;
        o.groba = x.groba;
    }
    for (unsigned long k = 0; k < komp; ++k) {
        nabavg[k] /= n;
        vavg[k] /= n;
        real s = 0.0L;
        for (unsigned long p = 0; p < n; ++p) {
            const real d = GMMS.vvec(start + komp * p + k) - vavg[k];
            s += d * d;
        }
        sigv[k] = n < 2 ? 0.0L : s / (n - 1);
    }
}

CTerObsEst::Vrstica CTerObsEst::GetVrstica(unsigned long i) const
{
    Vrstica x;
    const real s2 = GMMS.SoIIzracun;
    const real qll = GMM.Qll(i, 1);
    const real qvv = GMMS.Qvv.ncol() == 1 ? GMMS.Qvv(i) : GMMS.Qvv(i, i);
    x.v = GMMS.vvec(i);
    x.r = Redundanca(i);
    // A residual that nothing checks is zero up to round-off, and so is its
    // deviation: their ratio would be 0/0.
    if (qvv > kNic * qll && s2 > 0.0L) {
        x.sv = std::sqrt(s2 * qvv);
        x.w = x.v / x.sv;
    }
    if (qll - qvv > 0.0L) x.sig = std::sqrt(s2 * (qll - qvv));
    x.napaka = std::fabs(x.w) > N;
    x.ocena = x.napaka && x.r > 0.0L;
    if (x.ocena) x.groba = -x.v / x.r;
    return x;
}

void CTerObsEst::PrintReliab(std::ostream& izhod)
{
    if (end == start) return;
    if (procset.GetContPrint())
        std::cout << " F: PrintReliab() -> PrintReliab" << obsTyp << "(ofstream & izhod)" << "\n\n";
    const TerObsZanesljivost& tab = Vrsta().zanesljivost;

    izhod << std::right;
    PodNaslov(izhod, B(tab.naslov), 1);
    izhod << B(Besedilo::ZanesljivostStatistikaN);
    Num(izhod, N, 15, 3);
    izhod << "\n\n";
    PodNaslov(izhod, B(tab.glava), 1);
    for (unsigned long i = start; i < end; ++i) PrintReliabVrstica(izhod, i);
    izhod << std::string(std::strlen(B(tab.glava)), '-') << "\n";
    PrintReliabPovprecja(izhod);
}

void CTerObsEst::PrintReliabVrstica(std::ostream& izhod, unsigned long i) const
{
    const TerObsVrsta& vr = Vrsta();
    const int nImen = static_cast<int>(vr.imen);
    const std::string& enota = KotnaEnota();
    const bool komponente = vr.poDim;
    auto vrednost = [&](real l) {
        if (enota.empty()) Num(izhod, l, 14, 6);
        else TerObsAngle(izhod, enota, l);
    };

    const RezOpazovanje& x = opazovanja[i];
    const long p = x.zapis;
    const int k = x.komponenta;
    if (k == 0) {
        if (komponente && i > start) izhod << "\n";
        izhod << std::setw(3) << p + 1;
        for (int j = 0; j < nImen; ++j) TerObsTxt(izhod, Zbirka().GetPTS(p, j), 6);
        if (komponente) izhod << std::setw(3) << kOs[k];
    } else {
        izhod << std::setw(6 * nImen + 6) << kOs[k];
    }
    vrednost(x.opazovano);
    Num(izhod, Mala(x.v), 8, 2);
    Num(izhod, Mala(x.sv), 8, 2);
    vrednost(x.izravnano);
    Num(izhod, Mala(x.sig), 8, 2);
    Num(izhod, x.r, 7, 3);
    // A design has no residual to standardise.
    if (procset.Nacrt()) izhod << std::setw(8) << "-";
    else Num(izhod, x.w, 8, 3);
    Num(izhod, Mala(x.nab), 8, 2);
    Num(izhod, x.lam, 8, 3);
    if (x.napaka) {
        izhod << "  *** ";
        if (x.ocena) Num(izhod, Mala(x.groba), 8, 2);
    }
    izhod << "\n";
}

void CTerObsEst::PrintReliabPovprecja(std::ostream& izhod) const
{
    const TerObsVrsta& vr = Vrsta();
    const TerObsZanesljivost& tab = vr.zanesljivost;
    const std::string& enota = KotnaEnota();
    const unsigned long komp = Komponent();
    const bool komponente = vr.poDim;
    // The two average lines name the kind in labels of one length; the
    // component kinds leave room before their first component.
    const std::string povpNAB = BesediloF(Besedilo::ZanesljivostPovprecnaNAB, B(tab.oznaka)) +
                                (komponente ? "   " : ""),
                      povpV = BesediloF(Besedilo::ZanesljivostPovprecnaV, B(tab.oznaka)) +
                              (komponente ? "   " : "");

    const char* mera = enota.empty() ? " mm" : (enota == "GON" ? " mg" : " ''");
    if (komponente) {
        izhod << povpNAB;
        for (unsigned long k = 0; k < komp; ++k) {
            izhod << kOs[k] << ": ";
            Num(izhod, Mala(nabavg[k]), 7, 2);
            izhod << " mm    ";
        }
        izhod << "\n" << povpV;
        for (unsigned long k = 0; k < komp; ++k) {
            izhod << kOs[k] << ": ";
            Num(izhod, Mala(vavg[k]), 7, 2);
            izhod << " mm    ";
        }
        izhod << "\n" << std::string(39, ' ');
        for (unsigned long k = 0; k < komp; ++k) {
            izhod << "+-";
            Num(izhod, Mala(std::sqrt(sigv[k])), 8, 2);
            izhod << " mm    ";
        }
        izhod << "\n\n\n";
        return;
    }
    izhod << povpNAB;
    Num(izhod, Mala(nabavg[0]), 10, 2);
    izhod << mera << "\n" << povpV;
    Num(izhod, Mala(vavg[0]), 10, 2);
    izhod << " +- ";
    Num(izhod, Mala(std::sqrt(sigv[0])), 7, 2);
    izhod << mera << "\n\n\n";
}
