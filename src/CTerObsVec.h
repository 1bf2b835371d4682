// CTerObsVec: coordinate-difference vectors between two points (V records),
// e.g. satellite baselines; Dim components with Dim standard deviations.
//
// Components in metres; deviations are given in millimetres and held in
// metres.  A deviation of 1e-5 mm or less ends the run ("VEKTOR").
#ifndef NIVEX_SRC_CTEROBSVEC_H
#define NIVEX_SRC_CTEROBSVEC_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsVec : public CTerObs {
public:
    CTerObsVec();
    ~CTerObsVec() override = default;

    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim);

    void ReadObsLine_PT(std::istream& in, long i) override;
    void ReadObsLine_OBS(std::istream& in, long i) override;
    void PrintObsLine_PT(std::ostream& out, long i) override;
    void PrintObsLine_OBS(std::ostream& out, long i) override;
    void PrintAllHead(std::ostream& out) override;
    void PrintAllEnd(std::ostream& out) override;

    unsigned short GetDim() const { return Dim; }

    std::uint16_t Dim = 2;

private:
    std::string Crta() const;
};

#endif
