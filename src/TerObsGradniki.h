// TerObsGradniki: what the table of record kinds (TerObsVrste) names in its
// columns and the modules above it provide: the equation builder of each
// kind of the model (defined with the builder, CGMMEq...) and the sizing of
// each kind's record set (defined with the record sets, CTerObsZbirka).
// Declarations only, so the table depends on no module above it.
#ifndef NIVEX_SRC_TEROBSGRADNIKI_H
#define NIVEX_SRC_TEROBSGRADNIKI_H

#include <memory>

class CGMM;
class CGMMEq;
class CProcSet;
class CTerObsZbirka;

// The equation builders, over the run's settings, record sets and model.
std::unique_ptr<CGMMEq> GradiH(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiHdif(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiCrd(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiVec(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiDist2(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiDist3(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiAngl(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiZen(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiAzi(CProcSet& p, CTerObsZbirka& TO, CGMM& G);
std::unique_ptr<CGMMEq> GradiPara(CProcSet& p, CTerObsZbirka& TO, CGMM& G);

// A kind's record set sized for n records by the settings.
void VelikostHA(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostCrdA(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostCrd(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostVec(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostDir(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostZen(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostAzi(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostPara(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostDist2(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostDist3(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostH(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);
void VelikostHdif(CTerObsZbirka& TO, const CProcSet& p, unsigned long n);

#endif
