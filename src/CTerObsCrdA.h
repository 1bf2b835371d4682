// CTerObsCrdA: the point list of a two- or three-dimensional network, the
// approximate (a-priori) coordinates of the X records.
//
// A point's position in this list (from 0, file order) is its number in the
// whole model.  With velocity estimation (*XVT) every point carries a
// velocity flag; with a-priori velocities (*XV0, only together with *XVT) it
// carries Dim velocity components.  The solution (CGMMSol::SetResults) overwrites OBS (and
// VELA) with the adjusted values in every iteration.
#ifndef NIVEX_SRC_CTEROBSCRDA_H
#define NIVEX_SRC_CTEROBSCRDA_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsCrdA : public CTerObs {
public:
    CTerObsCrdA();
    ~CTerObsCrdA() override = default;

    using CTerObs::SetPar;
    // Sizes the list for n points; *XV0 without *XVT is refused.
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim, unsigned short ifva);

    void ReadObsLine_PT(std::istream& in, long i) override;
    void ReadObsLine_OBS(std::istream& in, long i) override;
    void PrintObsLine_PT(std::ostream& out, long i) override;
    void PrintObsLine_OBS(std::ostream& out, long i) override;
    void PrintAllHead(std::ostream& out) override;
    void PrintAllEnd(std::ostream& out) override;

    unsigned short GetIfVel(long i) const { return ifVel(i); }
    long double GetVELA(long i, long j) const { return VELA(i, j); }
    unsigned short GetIfVA() const { return ifVA; }
    unsigned short GetDim() const { return Dim; }

    matrika<std::uint16_t> ifVel;
    matrika<long double> VELA;
    std::uint16_t Dim = 2;
    std::uint16_t ifVA = 0;

private:
    std::string Crta() const;
};

#endif
