#include "src/CGMMSolRedka.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <unistd.h>

#include "matrika/bdmatrika.h"
#include "matrika/chr.h"
#include "matrika/inv.h"
#include "matrika/skalarna.h"
#include "matrika/velikestrani.h"
#include "matrika/vzporedno.h"
#include "src/CGMM.h"
#include "src/FDolgeVerige.h"
#include "src/FGMMSolMat.h"
#include "src/FWeighRobust.h"

namespace {
// Pairs of columns of the rows that the pattern of the normal matrix may
// take: each pair holds two entries (its row in a column and its place), and
// the lists grow by doubling.  Rows that fill, such as those of a long chain
// of correlated angles, would otherwise ask for more than the machine has,
// and the system would end the run without a word.
std::size_t NajvecParov()
{
    const long strani = sysconf(_SC_PHYS_PAGES), velikost = sysconf(_SC_PAGE_SIZE);
    if (strani <= 0 || velikost <= 0) return SIZE_MAX;
    return static_cast<std::size_t>(strani) / (4 * sizeof(long)) * static_cast<std::size_t>(velikost);
}

// Unknowns that fix the datum defect spanned by the rows of H: the columns of
// H chosen one by one by largest norm after removing what the chosen ones
// span (pivoted Gram-Schmidt), so that they fix it as well as any could.
std::vector<long> Sidra(const matrika<real>& H)
{
    const unsigned long d = H.nrow(), u = H.ncol();
    matrika<real> V = H;
    std::vector<long> izbrani;
    std::vector<char> izbran(u, 0);
    real prva = -1.0L;
    for (unsigned long t = 0; t < d; ++t) {
        real najvecja = 0.0L;
        unsigned long p = u;
        for (unsigned long c = 0; c < u; ++c) {
            if (izbran[c]) continue;
            real s = 0.0L;
            for (unsigned long a = 0; a < d; ++a) s += V(a, c) * V(a, c);
            if (s > najvecja) najvecja = s, p = c;
        }
        if (prva < 0.0L) prva = najvecja;
        if (p == u || !(najvecja > 1e-24L * prva)) break;
        izbran[p] = 1;
        izbrani.push_back(static_cast<long>(p));
        const real dolzina = std::sqrt(najvecja);
        std::vector<real> q(d);
        for (unsigned long a = 0; a < d; ++a) q[a] = V(a, p) / dolzina;
        for (unsigned long c = 0; c < u; ++c) {
            real proj = 0.0L;
            for (unsigned long a = 0; a < d; ++a) proj += q[a] * V(a, c);
            for (unsigned long a = 0; a < d; ++a) V(a, c) -= proj * q[a];
        }
    }
    return izbrani;
}

}  // namespace

void CGMMSolRedka::Beli(const CGMM& GMM)
{
    const redkaMatrika& B = GMM.Bmat;
    const unsigned long n = B.nrow();
    Bp = B;
    fp = GMM.fvec;
    Bo.resize(0, B.ncol());
    fo.clear();
    if (GMM.Qlldiag) {
        // One weight per row: the row times the square root of its weight
        // (taken in double precision, as the dense factor takes it).
        chr<real> ch;
        ch.razcep(GMM.Pll, 1);
        for (unsigned long i = 0; i < n; ++i) {
            const real l = ch.L(static_cast<long>(i));
            for (auto& e : Bp.vrstica(i)) e.vrednost = l * e.vrednost;
            fp(static_cast<long>(i)) = l * fp(static_cast<long>(i));
        }
        return;
    }
    // Correlated angles: the cofactors of a station's chain are a tridiagonal
    // band Q = U U', U upper bidiagonal, taken from the last row upwards; then
    // P = Q^-1 = L L' with L = U^-T, which is the Cholesky factor of P, and
    // the whitened rows L'B = U^-1 B follow from the last row of the chain
    // upwards: row i = (B_i - U(i,i+1) row i+1) / U(i,i).  Time and storage
    // stay linear in the directions of the station (the weight block itself
    // is never factored).
    const real* q = GMM.Qll.data();
    std::vector<real> akum(B.ncol(), 0.0L);
    std::vector<char> zaseden(B.ncol(), 0);
    std::vector<unsigned long> stolpci;
    std::vector<redkaMatrika::Element> vrstica;
    const bdmatrika& P = GMM.PllB;
    BeliVerige(GMM);
    for (unsigned long blk = 0; blk < P.nblok(); ++blk) {
        const unsigned long z = P.zacetek(blk), m = P.velikost(blk);
        if (!GMM.kovBloki.empty() && GMM.kovBlokVrstice[z] >= 0) continue;
        if (P.trak(blk)) continue;
        real uNasl = 0.0L;   // U(i+1, i+1)
        for (unsigned long i = z + m; i-- > z;) {
            const real uDesno = i + 1 < z + m ? q[i * 3 + 2] / uNasl : 0.0L;   // U(i, i+1)
            const real uii = std::sqrt(q[i * 3 + 1] - uDesno * uDesno);
            stolpci.clear();
            auto dodaj = [&](unsigned long c, real v) {
                if (!zaseden[c]) {
                    zaseden[c] = 1;
                    stolpci.push_back(c);
                }
                akum[c] += v;
            };
            for (const auto& e : B.vrstica(i)) dodaj(e.stolpec, e.vrednost);
            if (uDesno != 0.0L)
                for (const auto& e : Bp.vrstica(i + 1)) dodaj(e.stolpec, -uDesno * e.vrednost);
            std::sort(stolpci.begin(), stolpci.end());
            vrstica.clear();
            for (unsigned long c : stolpci) {
                vrstica.push_back({c, akum[c] / uii});
                akum[c] = 0.0L;
                zaseden[c] = 0;
            }
            Bp.zamenjajVrstico(i, vrstica);
            const real fi = GMM.fvec(static_cast<long>(i));
            fp(static_cast<long>(i)) = (uDesno != 0.0L ? fi - uDesno * fp(static_cast<long>(i) + 1) : fi) / uii;
            uNasl = uii;
        }
    }
    BeliKovBloke(GMM, nullptr, Bp, fp);
}

void CGMMSolRedka::BeliVerige(const CGMM& GMM)
{
    // Long chains: their angle rows stay in Bp as a pattern of zeros; their
    // directions, each with -1 in the chain's orientation column, times the
    // square root of their weights, form Bo.
    const bdmatrika& P = GMM.PllB;
    const unsigned long u = GMM.Bmat.ncol();
    std::vector<SmeriVerige> verige;
    unsigned long smeri = 0;
    for (unsigned long blk = 0; blk < P.nblok(); ++blk)
        if (P.trak(blk)) {
            verige.push_back(SmeriDolgeVerige(GMM, blk));
            smeri += verige.back().kotov + 1;
        }
    Bo.resize(smeri, u + verige.size());
    fo.assign(smeri, 0.0L);
    unsigned long r = 0;
    std::vector<redkaMatrika::Element> vrstica;
    for (std::size_t c = 0; c < verige.size(); ++c) {
        const SmeriVerige& v = verige[c];
        for (unsigned long a = 0; a < v.kotov; ++a) {
            vrstica.assign(GMM.Bmat.vrstica(v.zacetek + a).begin(), GMM.Bmat.vrstica(v.zacetek + a).end());
            for (auto& e : vrstica) e.vrednost = 0.0L;
            Bp.zamenjajVrstico(v.zacetek + a, vrstica);
            fp(static_cast<long>(v.zacetek + a)) = 0.0L;
        }
        for (unsigned long k = 0; k <= v.kotov; ++k, ++r) {
            const real l = std::sqrt(v.w[k]);
            vrstica.clear();
            for (const auto& e : v.vrstice[k]) vrstica.push_back({e.stolpec, l * e.vrednost});
            vrstica.push_back({u + c, -l});
            Bo.zamenjajVrstico(r, vrstica);
            fo[r] = l * v.f[k];
        }
    }
}

std::span<const redkaMatrika::Element> CGMMSolRedka::VrsticaVzorca(unsigned long nA, unsigned long r) const
{
    return r < nA ? Bp.vrstica(r) : Bo.vrstica(r - nA);
}

bool CGMMSolRedka::VzorecEnak(unsigned long nA) const
{
    const unsigned long nVrst = nA + Bo.nrow();
    const long u = static_cast<long>(nFaktor());
    bool enak = analizirana && nA == nA_ && A.n == u;
    std::size_t p = 0;
    for (unsigned long r = 0; r < nVrst && enak; ++r) {
        for (const auto& e : VrsticaVzorca(nA, r)) enak = enak && p < vzorecVrstic.size() && vzorecVrstic[p++] == e.stolpec;
        enak = enak && p < vzorecVrstic.size() && vzorecVrstic[p++] == nFaktor();
    }
    return enak && p == vzorecVrstic.size();
}

std::vector<long> CGMMSolRedka::PariPoStolpcih(unsigned long nA, std::vector<long>& zacetek) const
{
    const unsigned long nVrst = nA + Bo.nrow();
    const long u = static_cast<long>(nFaktor());
    zacetek.assign(static_cast<std::size_t>(u) + 1, 0);
    for (long j = 0; j < u; ++j) zacetek[static_cast<std::size_t>(j) + 1] = 1;   // the diagonal always
    for (unsigned long r = 0; r < nVrst; ++r) {
        const auto v = VrsticaVzorca(nA, r);
        for (std::size_t b = 0; b < v.size(); ++b) zacetek[v[b].stolpec + 1] += static_cast<long>(b) + 1;
    }
    for (long j = 0; j < u; ++j) zacetek[static_cast<std::size_t>(j) + 1] += zacetek[static_cast<std::size_t>(j)];
    std::vector<long> vsi(static_cast<std::size_t>(zacetek[static_cast<std::size_t>(u)]));
    std::vector<long> nasl(zacetek.begin(), zacetek.end() - 1);
    for (long j = 0; j < u; ++j) vsi[static_cast<std::size_t>(nasl[static_cast<std::size_t>(j)]++)] = j;
    for (unsigned long r = 0; r < nVrst; ++r) {
        const auto v = VrsticaVzorca(nA, r);
        for (std::size_t b = 0; b < v.size(); ++b)
            for (std::size_t a = 0; a <= b; ++a) vsi[static_cast<std::size_t>(nasl[v[b].stolpec]++)] = static_cast<long>(v[a].stolpec);
    }
    return vsi;
}

void CGMMSolRedka::StolpciA(const std::vector<long>& zacetek, std::vector<long>& vsi, double delo, int niti)
{
    const long u = static_cast<long>(nFaktor());
    constexpr long kStolpcev = 1024;   // columns of one task
    std::vector<long> dolzina(static_cast<std::size_t>(u));
    vzporedno::Vzporedno((u + kStolpcev - 1) / kStolpcev, delo, niti, [&](long t) {
        for (long j = t * kStolpcev; j < std::min(u, (t + 1) * kStolpcev); ++j) {
            const auto z = vsi.begin() + zacetek[static_cast<std::size_t>(j)];
            const auto k = vsi.begin() + zacetek[static_cast<std::size_t>(j) + 1];
            std::sort(z, k);
            dolzina[static_cast<std::size_t>(j)] = std::unique(z, k) - z;
        }
    });
    A.n = u;
    A.Ap.assign(static_cast<std::size_t>(u) + 1, 0);
    for (long j = 0; j < u; ++j) A.Ap[static_cast<std::size_t>(j) + 1] = A.Ap[static_cast<std::size_t>(j)] + dolzina[static_cast<std::size_t>(j)];
    A.Ai.resize(static_cast<std::size_t>(A.Ap[static_cast<std::size_t>(u)]));
    for (long j = 0; j < u; ++j)
        std::copy_n(vsi.begin() + zacetek[static_cast<std::size_t>(j)], dolzina[static_cast<std::size_t>(j)],
                    A.Ai.begin() + A.Ap[static_cast<std::size_t>(j)]);
}

void CGMMSolRedka::MestaProduktov(unsigned long nA, double delo, int niti)
{
    const unsigned long nVrst = nA + Bo.nrow();
    std::vector<std::size_t> odmik(nVrst + 1, 0);   // first place of each row's products in mesta
    for (unsigned long r = 0; r < nVrst; ++r) {
        const std::size_t k = VrsticaVzorca(nA, r).size();
        odmik[r + 1] = odmik[r] + k * (k + 1) / 2;
    }
    mesta.resize(odmik[nVrst]);
    constexpr long kVrstic = 4096;   // rows of one task
    vzporedno::Vzporedno((static_cast<long>(nVrst) + kVrstic - 1) / kVrstic, delo, niti, [&](long t) {
        const unsigned long r1 = std::min<unsigned long>(nVrst, static_cast<unsigned long>((t + 1) * kVrstic));
        for (unsigned long r = static_cast<unsigned long>(t * kVrstic); r < r1; ++r) {
            const auto v = VrsticaVzorca(nA, r);
            std::size_t p = odmik[r];
            for (std::size_t b = 0; b < v.size(); ++b)
                for (std::size_t a = 0; a <= b; ++a) {
                    const auto zac = A.Ai.begin() + A.Ap[v[b].stolpec];
                    const auto kon = A.Ai.begin() + A.Ap[v[b].stolpec + 1];
                    mesta[p++] = static_cast<long>(std::lower_bound(zac, kon, static_cast<long>(v[a].stolpec)) - A.Ai.begin());
                }
        }
    });
}

void CGMMSolRedka::Vzorec(unsigned long nA)
{
    // The rows keep their pattern from one pass to the next: compared in
    // place, and written down again only when it has changed.
    if (VzorecEnak(nA)) return;
    const unsigned long nVrst = nA + Bo.nrow();
    nA_ = nA;
    vzorecVrstic.clear();
    for (unsigned long r = 0; r < nVrst; ++r) {
        for (const auto& e : VrsticaVzorca(nA, r)) vzorecVrstic.push_back(e.stolpec);
        vzorecVrstic.push_back(nFaktor());   // row end
    }

    std::size_t parov = 0;
    for (unsigned long r = 0; r < nVrst; ++r) {
        const std::size_t k = VrsticaVzorca(nA, r).size();
        parov += k * (k + 1) / 2;
    }
    if (parov > NajvecParov()) throw std::bad_alloc();

    // Upper triangle by columns: row a <= column b for every pair of a row,
    // counted and placed by columns, then each column sorted and made
    // unique; the columns, and then the rows' places in A.Ax, shared among
    // the threads.
    const int niti = vzporedno::Jedra();
    std::vector<long> zacetek;
    std::vector<long> vsi = PariPoStolpcih(nA, zacetek);
    const double delo = 10.0 * static_cast<double>(vsi.size());
    StolpciA(zacetek, vsi, delo, niti);
    std::vector<long>().swap(vsi);
    A.Ax.assign(A.Ai.size(), 0.0L);
    MestaProduktov(nA, delo, niti);
    // The redundancy numbers of a long chain solve along the paths of its
    // directions in the elimination tree: nested dissection keeps them short.
    // Without one the ordering is chosen afresh, whatever an earlier
    // adjustment of the run (with records since set aside) took.
    razcep.nastaviUrejanje(Bo.nrow() > 0 ? redkiRazcep::Urejanje::metis : redkiRazcep::Urejanje::samodejno);
    razcep.analiza(A);
    analizirana = true;
}

CGMMSolRedka::Izid CGMMSolRedka::Resi(unsigned long nA, const matrika<real>& C,
                                      const matrika<real>& Hdat, matrika<real>& x)
{
    nedolocene.clear();
    imaCelotni = poskusCelotni = false;
    panelZacetek = -1;
    Vzorec(nA);
    Normalna(nA);
    const bool prosta = Bp.nrow() > nA;
    DrziSidra(Hdat, prosta);
    if (razcep.razcep(A) > 0) {
        IzberiNedolocene(Hdat, prosta);
        return Izid::nedolocena;
    }
    if (!NizkiRang()) return Izid::datumSingularna;
    razcep.izbraniInverz();
    ResitevX(x);
    return DatumskaKorekcija(C, Hdat) ? Izid::resena : Izid::datumSingularna;
}

void CGMMSolRedka::Normalna(unsigned long nA)
{
    // N over the rows upwards, every element summed in the order of the
    // dense product A'A; the rows after nA form the dense low-rank rows Cn.
    const unsigned long u = Bp.ncol(), n = Bp.nrow();
    std::fill(A.Ax.begin(), A.Ax.end(), 0.0L);
    std::size_t p = 0;
    for (unsigned long r = 0; r < nA + Bo.nrow(); ++r) {
        const auto v = r < nA ? Bp.vrstica(r) : Bo.vrstica(r - nA);
        for (std::size_t b = 0; b < v.size(); ++b)
            for (std::size_t a = 0; a <= b; ++a) A.Ax[static_cast<std::size_t>(mesta[p++])] += v[a].vrednost * v[b].vrednost;
    }
    diagN.assign(nFaktor(), 0.0L);
    for (unsigned long j = 0; j < nFaktor(); ++j) diagN[j] = A.Ax[static_cast<std::size_t>(A.Ap[j + 1] - 1)];
    Cn.resize(n - nA, u, 0.0L);
    for (unsigned long r = nA; r < n; ++r)
        for (const auto& e : Bp.vrstica(r)) {
            Cn(static_cast<long>(r - nA), static_cast<long>(e.stolpec)) = e.vrednost;
            diagN[e.stolpec] += e.vrednost * e.vrednost;
        }
}

void CGMMSolRedka::DrziSidra(const matrika<real>& Hdat, bool prosta)
{
    // A free network: A is singular by the datum defect.  Unknowns chosen
    // from Hdat are held by weights delta (A1 = A + sum delta_k e_k e_k'), and
    // the low-rank term takes those weights out again.
    sidra.clear();
    delta.clear();
    if (prosta) sidra = Sidra(Hdat);
    for (long k : sidra) {
        real& akk = A.Ax[static_cast<std::size_t>(A.Ap[static_cast<std::size_t>(k) + 1] - 1)];
        delta.push_back(akk > 0.0L ? akk : 1.0L);
        akk += delta.back();
    }
}

bool CGMMSolRedka::NizkiRang()
{
    // U = [sqrt(delta) e_k | C'], Z = A1^-1 U, T = (K + U'Z)^-1.
    const unsigned long u = Bp.ncol(), nf = nFaktor(), ns = sidra.size(), m = ns + Cn.nrow();
    Z.resize(nf, m, 0.0L);
    std::vector<real> stolpec(nf);
    for (unsigned long a = 0; a < m; ++a) {
        std::fill(stolpec.begin(), stolpec.end(), 0.0L);
        if (a < ns) stolpec[static_cast<std::size_t>(sidra[a])] = std::sqrt(delta[a]);
        else
            for (unsigned long j = 0; j < u; ++j) stolpec[j] = Cn(static_cast<long>(a - ns), static_cast<long>(j));
        razcep.resi(stolpec);
        for (unsigned long j = 0; j < nf; ++j) Z(static_cast<long>(j), static_cast<long>(a)) = stolpec[j];
    }
    UZ.resize(m, m, 0.0L);
    for (unsigned long a = 0; a < m; ++a)
        for (unsigned long b = 0; b < m; ++b) {
            real s = 0.0L;
            if (a < ns) s = std::sqrt(delta[a]) * Z(sidra[a], static_cast<long>(b));
            else
                for (unsigned long j = 0; j < u; ++j)
                    s += Cn(static_cast<long>(a - ns), static_cast<long>(j)) * Z(static_cast<long>(j), static_cast<long>(b));
            UZ(static_cast<long>(a), static_cast<long>(b)) = s;
        }
    if (m == 0) {
        T.resize(0, 0);
        ZT.resize(nf, 0);
        return true;
    }
    matrika<real> S = UZ;
    for (unsigned long a = 0; a < m; ++a) S(static_cast<long>(a), static_cast<long>(a)) += a < ns ? -1.0L : 1.0L;
    // A1 is regular, so a singular K + U'Z means the constraint rows do not
    // fix the defect.
    T = invRelativna(S);
    if (T.empty()) return false;
    ZT = Z * T;
    return true;
}

void CGMMSolRedka::ResitevX(matrika<real>& x) const
{
    // x = N^-1 Bp'fp = y - Z T U'y with y = A1^-1 Bp'fp.
    const unsigned long u = Bp.ncol(), n = Bp.nrow(), ns = sidra.size(), m = ns + Cn.nrow();
    std::vector<real> y(nFaktor(), 0.0L);
    for (unsigned long r = 0; r < n; ++r)
        for (const auto& e : Bp.vrstica(r)) y[e.stolpec] += e.vrednost * fp(static_cast<long>(r));
    for (unsigned long r = 0; r < Bo.nrow(); ++r)
        for (const auto& e : Bo.vrstica(r)) y[e.stolpec] += e.vrednost * fo[r];
    razcep.resi(y);
    x.resize(u, 1, 0.0L);
    std::vector<real> w(m, 0.0L);
    for (unsigned long a = 0; a < m; ++a) {
        if (a < ns) w[a] = std::sqrt(delta[a]) * y[static_cast<std::size_t>(sidra[a])];
        else
            for (unsigned long j = 0; j < u; ++j) w[a] += Cn(static_cast<long>(a - ns), static_cast<long>(j)) * y[j];
    }
    for (unsigned long j = 0; j < u; ++j) {
        real s = 0.0L;
        for (unsigned long a = 0; a < m; ++a) s += ZT(static_cast<long>(j), static_cast<long>(a)) * w[a];
        x(static_cast<long>(j)) = y[j] - s;
    }
}

bool CGMMSolRedka::DatumskaKorekcija(const matrika<real>& C, const matrika<real>& Hdat)
{
    // Q(i, j) -= Hd' G, applied entry by entry at every lookup.
    Hd.resize(0, 0);
    G.resize(0, 0);
    if (C.nrow() == 0 || Hdat.nrow() == 0) return true;
    if (!DatumskiG(Hdat, C, [](const matrika<real>& M) { return invRelativna(M); }, G)) return false;
    Hd = Hdat;
    return true;
}

CGMMSolRedka::Izid CGMMSolRedka::Resi(const DatumSistema& d, matrika<real>& x)
{
    const matrika<real> brez;
    const Izid izid = Resi(d.nA, d.C != nullptr ? *d.C : brez, *d.Hdat, x);
    if (izid != Izid::resena) return izid;
    nedolocene = Napihnjene();
    if (!nedolocene.empty()) return Izid::nedolocena;
    return Koncna(x) ? Izid::resena : Izid::nekoncna;
}

void CGMMSolRedka::RDiagVeriga(const SmeriVerige& v, const redkaMatrika& B, matrika<real>& R) const
{
    // Angle i = d_(i+1) - d_i of the chain: with B_a' (T D T')^-1 e_i =
    // sum_(k>i) w_k b_k - g W_i / c  (W_i = sum_(k>i) w_k, b_k the direction
    // rows), r_i = 1 - b_i' Q s_i.  Q = A1^-1 - ZT Z' - Hd' G, and
    // b' A1^-1 s = (L^-1 P b)' D^-1 (L^-1 P s): the s_i are built from the
    // last direction down as sums of L^-1 P b_k, each solved only along the
    // paths of its columns in the elimination tree.
    const unsigned long m = v.kotov + 1, nz = ZT.ncol(), nd = Hd.nrow();
    using Vektor = std::vector<std::pair<unsigned long, real>>;
    const auto vektor = [](const std::vector<redkaMatrika::Element>& r) {
        Vektor b;
        for (const auto& e : r) b.push_back({e.stolpec, e.vrednost});
        return b;
    };
    // The small right-hand factors: Z' b and G b.
    const auto desni = [&](const Vektor& b, std::vector<real>& z) {
        z.assign(nz + nd, 0.0L);
        for (const auto& [j, x] : b) {
            for (unsigned long a = 0; a < nz; ++a) z[a] += Z(static_cast<long>(j), static_cast<long>(a)) * x;
            for (unsigned long d = 0; d < nd; ++d) z[nz + d] += G(static_cast<long>(d), static_cast<long>(j)) * x;
        }
    };
    redkiRazcep::RedekStolpec y, p, yg;
    const Vektor g = vektor(v.g);
    razcep.naprejRedko(g, yg);
    std::vector<real> zg, zk, vsota(nz + nd, 0.0L);
    desni(g, zg);
    std::vector<real> S(static_cast<std::size_t>(razcep.n()), 0.0L);
    real W = 0.0L;
    for (unsigned long i = m - 1; i-- > 0;) {
        const real wk = v.w[i + 1];
        const Vektor bk = vektor(v.vrstice[i + 1]);
        razcep.naprejRedko(bk, y);
        for (long q : y.mesta) S[static_cast<std::size_t>(q)] += wk * y.x[static_cast<std::size_t>(q)];
        desni(bk, zk);
        for (unsigned long a = 0; a < nz + nd; ++a) vsota[a] += wk * zk[a];
        W += wk;
        const real f = W / v.c;
        const unsigned long r = v.zacetek + i;
        Vektor bi;
        for (const auto& e : B.vrstica(r)) bi.push_back({e.stolpec, e.vrednost});
        razcep.naprejRedko(bi, p);
        real t = 0.0L;
        for (long q : p.mesta) {
            const std::size_t qq = static_cast<std::size_t>(q);
            t += p.x[qq] * (S[qq] - f * yg.x[qq]) / razcep.pivot(q);
        }
        // The low-rank terms: (b_i' ZT) (Z' s_i) and (b_i' Hd') (G s_i).
        for (unsigned long a = 0; a < nz + nd; ++a) {
            real levi = 0.0L;
            for (const auto& [j, x] : bi)
                levi += x * (a < nz ? ZT(static_cast<long>(j), static_cast<long>(a)) : Hd(static_cast<long>(a - nz), static_cast<long>(j)));
            t -= levi * (vsota[a] - f * zg[a]);
        }
        R(static_cast<long>(r)) = 1.0L - t;
    }
}

void CGMMSolRedka::IzberiNedolocene(const matrika<real>& Hdat, bool prosta)
{
    // A vanished pivot k was raised by some delta, so A1^-1 e_k is, up to
    // scale, a null vector of the matrix held (A with the chosen unknowns):
    // the unknowns with a share in it that is not round-off are left free.
    // In a free network the datum motions are first taken out of it
    // (projected on the complement of the rows of Hdat); what is left still
    // spreads over every point, so only the unknowns with at least half of
    // the largest share are named.
    const unsigned long u = Bp.ncol(), d = prosta ? Hdat.nrow() : 0;
    matrika<real> HHi;
    if (d > 0) {
        matrika<real> HH(d, d, 0.0L);
        for (unsigned long a = 0; a < d; ++a)
            for (unsigned long b = 0; b < d; ++b)
                for (unsigned long j = 0; j < u; ++j) HH(a, b) += Hdat(a, j) * Hdat(b, j);
        HHi = invRelativna(HH);
    }
    std::vector<char> prost(u, 0);
    std::vector<real> v(nFaktor());
    for (long k : razcep.nicelniPivoti()) {
        std::fill(v.begin(), v.end(), 0.0L);
        v[static_cast<std::size_t>(k)] = 1.0L;
        razcep.resi(v);
        if (HHi.nrow() > 0) {
            std::vector<real> h(d, 0.0L), g(d, 0.0L);
            for (unsigned long a = 0; a < d; ++a)
                for (unsigned long j = 0; j < u; ++j) h[a] += Hdat(a, j) * v[j];
            for (unsigned long a = 0; a < d; ++a)
                for (unsigned long b = 0; b < d; ++b) g[a] += HHi(a, b) * h[b];
            for (unsigned long j = 0; j < u; ++j)
                for (unsigned long a = 0; a < d; ++a) v[j] -= Hdat(a, j) * g[a];
        }
        real najvecji = 0.0L;
        for (unsigned long j = 0; j < u; ++j) {
            v[j] = v[j] * v[j];
            najvecji = std::max(najvecji, v[j]);
        }
        const real meja = (d > 0 ? 0.5L : 1e-6L) * najvecji;
        for (unsigned long j = 0; j < u; ++j) prost[j] |= v[j] > meja;
    }
    for (unsigned long j = 0; j < u; ++j)
        if (prost[j]) nedolocene.push_back(static_cast<long>(j));
    if (nedolocene.empty())
        for (long k : razcep.nicelniPivoti())
            if (k < static_cast<long>(u)) nedolocene.push_back(k);
    if (nedolocene.empty()) nedolocene = razcep.nicelniPivoti();
}

real CGMMSolRedka::Ninv(long i, long j) const
{
    real q = razcep.inverz(i, j);
    const unsigned long m = ZT.ncol();
    for (unsigned long a = 0; a < m; ++a) q -= ZT(i, static_cast<long>(a)) * Z(j, static_cast<long>(a));
    return q;
}

std::vector<long> CGMMSolRedka::Napihnjene(real meja) const
{
    std::vector<long> k;
    for (unsigned long j = 0; j < nNeznank(); ++j) {
        const long jj = static_cast<long>(j);
        if (NedolocenaNeznanka(diagN[j], Ninv(jj, jj), meja)) k.push_back(jj);
    }
    return k;
}

real CGMMSolRedka::Q(long i, long j) const
{
    real q = Ninv(i, j);
    for (unsigned long a = 0; a < Hd.nrow(); ++a) q -= Hd(static_cast<long>(a), i) * G(static_cast<long>(a), j);
    return q;
}

void CGMMSolRedka::Sprosti::operator()(void* p) const { std::free(p); }

void CGMMSolRedka::StolpecQ(long j, std::vector<real>& q) const
{
    // The same terms as Q(i, j): N^-1 from the factor, the low-rank term,
    // the datum correction.
    const long u = static_cast<long>(nNeznank());
    const std::size_t nu = static_cast<std::size_t>(razcep.n());
    const real* stolpec = nullptr;
    long korak = 1;
    if (!poskusCelotni) {
        // Once per solution; memory that is not there leaves the panels.
        // The values are held as pairs where each has one (a network whose
        // cofactors fit the range of double), else in long doubles; a block
        // is taken anew for the other kind.
        poskusCelotni = true;
        if (nu * nu <= najvecCelotni / sizeof(real)) {
            auto pripravi = [&](bool pari) {
                if (celotni && celotniVelikost == nu * nu && celotniPari == pari) return;
                celotni.reset();
                celotni.reset(velikestrani::Dodeli(nu * nu * (pari ? sizeof(dvojna) : sizeof(real))));
                celotniVelikost = celotni ? nu * nu : 0;
                celotniPari = pari;
            };
            pripravi(true);
            if (celotni && !razcep.celotniInverz(static_cast<dvojna*>(celotni.get()))) {
                pripravi(false);
                if (celotni) razcep.celotniInverz(static_cast<real*>(celotni.get()));
            }
            imaCelotni = celotni != nullptr;
        }
    }
    if (imaCelotni && celotniPari) {
        const dvojna* st = static_cast<const dvojna*>(celotni.get()) + static_cast<std::size_t>(razcep.mesto(j)) * nu;
        for (long i = 0; i < u; ++i) q[static_cast<std::size_t>(i)] = vrednost(st[razcep.mesto(i)]);
    } else if (imaCelotni) {
        stolpec = static_cast<const real*>(celotni.get()) + static_cast<std::size_t>(razcep.mesto(j)) * nu;
    } else {
        const long k = std::min(kPanel, razcep.n());
        if (panelZacetek < 0 || j < panelZacetek || j >= panelZacetek + k) {
            panelZacetek = std::min(j, razcep.n() - k);
            std::array<long, kPanel> stolpci{};
            for (long t = 0; t < k; ++t) stolpci[t] = panelZacetek + t;
            razcep.stolpciInverza(stolpci.data(), k, panel);
        }
        stolpec = panel.data() + (j - panelZacetek);
        korak = k;
    }
    if (stolpec != nullptr)
        for (long i = 0; i < u; ++i) q[static_cast<std::size_t>(i)] = stolpec[razcep.mesto(i) * korak];
    const unsigned long m = ZT.ncol(), d = Hd.nrow();
    if (m > 0)
        for (long i = 0; i < u; ++i)
            for (unsigned long a = 0; a < m; ++a)
                q[static_cast<std::size_t>(i)] -= ZT(i, static_cast<long>(a)) * Z(j, static_cast<long>(a));
    if (d > 0)
        for (long i = 0; i < u; ++i)
            for (unsigned long a = 0; a < d; ++a)
                q[static_cast<std::size_t>(i)] -= Hd(static_cast<long>(a), i) * G(static_cast<long>(a), j);
}

bool CGMMSolRedka::StolpecQDvojno(long j, std::vector<double>& q) const
{
    if (!imaCelotni || !celotniPari || ZT.ncol() > 0 || Hd.nrow() > 0) return false;
    const std::size_t nu = static_cast<std::size_t>(razcep.n());
    const dvojna* st = static_cast<const dvojna*>(celotni.get()) + static_cast<std::size_t>(razcep.mesto(j)) * nu;
    const long u = static_cast<long>(nNeznank());
    for (long i = 0; i < u; ++i) q[static_cast<std::size_t>(i)] = st[razcep.mesto(i)].v;
    return true;
}

void CGMMSolRedka::QKrat(const std::vector<std::pair<unsigned long, real>>& s, std::vector<real>& q) const
{
    const unsigned long u = nNeznank(), m = ZT.ncol(), d = Hd.nrow();
    std::vector<real> y(nFaktor(), 0.0L), zs(m, 0.0L), gs(d, 0.0L);
    for (const auto& [j, x] : s) {
        y[j] += x;
        for (unsigned long a = 0; a < m; ++a) zs[a] += Z(static_cast<long>(j), static_cast<long>(a)) * x;
        for (unsigned long b = 0; b < d; ++b) gs[b] += G(static_cast<long>(b), static_cast<long>(j)) * x;
    }
    razcep.resi(y);
    q.assign(u, 0.0L);
    for (unsigned long i = 0; i < u; ++i) {
        real v = y[i];
        for (unsigned long a = 0; a < m; ++a) v -= ZT(static_cast<long>(i), static_cast<long>(a)) * zs[a];
        for (unsigned long b = 0; b < d; ++b) v -= Hd(static_cast<long>(b), static_cast<long>(i)) * gs[b];
        q[i] = v;
    }
}

real CGMMSolRedka::FormaNizkegaRanga(unsigned long a) const
{
    const unsigned long m = UZ.nrow(), la = sidra.size() + a;
    real q = UZ(la, la);
    for (unsigned long b = 0; b < m; ++b)
        for (unsigned long c = 0; c < m; ++c) q -= UZ(la, b) * T(b, c) * UZ(c, la);
    const unsigned long u = Cn.ncol();
    for (unsigned long d = 0; d < Hd.nrow(); ++d) {
        real hc = 0.0L, gc = 0.0L;
        for (unsigned long j = 0; j < u; ++j) {
            hc += Hd(d, j) * Cn(a, j);
            gc += G(d, j) * Cn(a, j);
        }
        q -= hc * gc;
    }
    return q;
}

real CGMMSolRedka::Par(const redkaMatrika& B, unsigned long r, unsigned long s) const
{
    if (r == s && r >= nA_ && r - nA_ < Cn.nrow()) return FormaNizkegaRanga(r - nA_);
    return ParIzKofaktorjev(B, r, s, [this](long i, long j) { return CGMMSolRedka::Q(i, j); });
}
