#include "src/CProcSet.h"

#include <cstring>

CProcSet::CProcSet()
    : RobSolve("MNK"), lpnorm(1.0), SVDthres(1e-12), IfUkrZ(false), IfkRef(false), IfEstkRef(false),
      R_Z(6371000.0), kRef(0.13), kRefType("NONE"), ifObsResiduals(false),
      ndir(0), nzen(0), ndist2(0), ndist3(0), ndh(0), ncrd(0), nvec(0), nh(0), ncrd0(0), nh0(0), nazi(0),
      npara(0), Dim(0), NumSolve("QRGIV"), IfVarApriori(0), XVel(0), T0(0.0), ifVA(0), gtestp(0.95),
      datasp(0.99), izaupp(0.95), hipelp(0.95), skladp(0.95), izrisGMT(0), izrisSTR(0), izrisOPT2(0),
      izpisSet(1), izpisPod(1), izpisEnPop(1), izpisRez(1), izpisCorrUnk(1), izpisLMer(1), AngUnit("DMS"),
      CorAng(1), ContPrint(0), ifIter(0), NIter(25), MatFull(1), IterThres(1e-5), vrsticaXCrd(0),
      vrsticaXH(0)
{
}

char* CProcSet::GetAngUnit(char* out) const
{
    const std::size_t n = AngUnit.size() < 3 ? AngUnit.size() : 3;
    std::memcpy(out, AngUnit.data(), n);
    out[n] = '\0';
    return out;
}

char* CProcSet::GetNumSolve(char* out) const
{
    const std::size_t n = NumSolve.size() < 9 ? NumSolve.size() : 9;
    std::memcpy(out, NumSolve.data(), n);
    out[n] = '\0';
    return out;
}

void CProcSet::ReadProcSet(const std::string&, std::ostream&) {}
void CProcSet::PrintProcSet(std::ostream&) {}
void CProcSet::ReadSettings(std::istream&, std::ostream&) {}
void CProcSet::CountRecords(std::istream&, std::ostream&) {}
void CProcSet::CheckSettings(std::ostream&) {}
void CProcSet::CheckCounts(std::ostream&) {}
void CProcSet::ResolveConflicts() {}
