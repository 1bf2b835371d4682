// CTerObsDist: measured distances between two points, horizontal (D
// records, Dim 2) or spatial (L records, Dim 3); one class, two instances.
//
// Distances in metres; deviations are given in millimetres and held in
// metres.  A deviation of 1e-5 mm or less ends the run ("DOLZINA").
#ifndef NIVEX_SRC_CTEROBSDIST_H
#define NIVEX_SRC_CTEROBSDIST_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsDist : public CTerObs {
public:
    CTerObsDist();
    ~CTerObsDist() override = default;

    using CTerObs::SetPar;
    // dim 2: horizontal distances, 3: spatial distances.
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
