// CTerObsHA: the point list of a levelling (one-dimensional) network, the
// approximate heights of the X records.
//
// A point's position in this list (from 0, file order) is its number in the
// whole model.  Velocity flag and a-priori velocity as in CTerObsCrdA, one
// value per point.  The solution (CGMMSol::SetResults) overwrites OBS (and VELA) with the
// adjusted heights in every iteration.
#ifndef NIVEX_SRC_CTEROBSHA_H
#define NIVEX_SRC_CTEROBSHA_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsHA : public CTerObs {
public:
    CTerObsHA();
    ~CTerObsHA() override = default;

    using CTerObs::SetPar;
    // Sizes the list for n points; *XV0 without *XVT is refused.
    void SetPar(unsigned long n, unsigned short xvel, unsigned short ifva);

    void ReadObsLine_PT(std::istream& in, long i) override;
    void ReadObsLine_OBS(std::istream& in, long i) override;
    void PrintObsLine_PT(std::ostream& out, long i) override;
    void PrintObsLine_OBS(std::ostream& out, long i) override;
    void PrintAllHead(std::ostream& out) override;
    void PrintAllEnd(std::ostream& out) override;

    unsigned short GetIfVel(long i) const { return ifVel(i); }
    long double GetVELA(long i, long j) const { return VELA(i, j); }
    unsigned short GetIfVA() const { return ifVA; }

    matrika<std::uint16_t> ifVel;
    matrika<long double> VELA;
    std::uint16_t ifVA = 0;

private:
    std::string Crta() const;
};

#endif
