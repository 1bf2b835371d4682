// CTerObsH: observed heights of points (H records).
//
// Heights in metres; deviations are given in millimetres and held in metres.
// A deviation of 1e-6 mm or less ends the run ("MERJEN H").
#ifndef NIVEX_SRC_CTEROBSH_H
#define NIVEX_SRC_CTEROBSH_H

#include "src/CTerObs.h"

class CTerObsH : public CTerObs {
public:
    CTerObsH();
    ~CTerObsH() override = default;

    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel);

    void ReadObsLine_PT(std::istream& in, long i) override;
    void ReadObsLine_OBS(std::istream& in, long i) override;
    void PrintObsLine_PT(std::ostream& out, long i) override;
    void PrintObsLine_OBS(std::ostream& out, long i) override;
    void PrintAllHead(std::ostream& out) override;
    void PrintAllEnd(std::ostream& out) override;

private:
    std::string Crta() const;
};

#endif
