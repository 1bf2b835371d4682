// FTestiZapisov: the statistical test of each record of the model (the
// alternative that this one record carries a gross error) and the critical
// value it is compared with.
//
// The record test (Baarda's w of the alternative that this one record
// carries an error, c its columns in the model rows):
//   w = c'P v / (sigma0 sqrt(c'P Qvv P c)),  Qvv = Qll - B Q B',
// with the a-priori sigma0; a one-row record: the w of its row; a direction: c has -1 in the angle it
// begins and +1 in the angle it ends; a vector or an observed point (Dim
// rows): T = t' M^-1 t / sigma0^2 with t = C'P v, M = C'P Qvv P C, which is
// chi-square with Dim degrees of freedom, given as the normal w of the same
// two-sided probability.  T itself is kept (TestZapisa::T) for the
// studentised form of the snooping (FIskanje).
#ifndef NIVEX_SRC_FTESTIZAPISOV_H
#define NIVEX_SRC_FTESTIZAPISOV_H

#include <utility>
#include <vector>

#include "src/CIzravnalnik.h"
#include "src/CRezultati.h"

class CGMM;
class CGMMSol;
class CTerObsZbirka;

// The alternative of one record: its columns C over the model rows (row,
// coefficient), P C, t = C'P v, M = C'P Qvv P C and c'P c of its first
// column.  P C of a direction of a long chain (a band block of the weights)
// is not formed: PC stays empty.
struct AlternativaZapisa {
    using Stolpec = std::vector<std::pair<long, real>>;
    TerObsSet set = kTOSetov;
    long zapis = -1;
    std::vector<Stolpec> C, PC;
    real t[3] = {0, 0, 0}, M[3][3] = {}, cpc = 0;
    int komponent() const { return static_cast<int>(C.size()); }
};

// The alternatives of every record that has rows in the model of the last
// pass (of the set `samo` only, when given), in the order of the tests.
std::vector<AlternativaZapisa> AlternativeZapisov(const CTerObsZbirka& TO, const CGMM& GMM, const CGMMSol& GMMS,
                                                  TerObsSet samo = kTOSetov);

// The test of a record from its t and M, with sigma0^2 = s2.
TestZapisa TestIzAlternative(const AlternativaZapisa& a, real s2);

// The tests of every record that has rows in the model of the last pass
// (of the set `samo` only, when given).
std::vector<TestZapisa> TestiZapisov(const CTerObsZbirka& TO, const CGMM& GMM, const CGMMSol& GMMS,
                                     TerObsSet samo = kTOSetov);

// The critical value N of a two-sided test of the standard normal
// statistic at the confidence level `verjetnost` (*PDATAS).
real TestiKriticnaN(real verjetnost);

// The kind letter, the point names and the line of a record.
RezIzlocen TestiOpisZapisa(const CTerObsZbirka& TO, TerObsSet set, long zapis);

#endif
