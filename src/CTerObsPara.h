// CTerObsPara: angles between two directions given by four points (P
// records): the first direction from point 1 to point 2, the second from
// point 3 to point 4.
//
// Angles and deviations are held in radians; the file gives them in the
// angle unit of the settings.  A zero deviation is accepted here.
#ifndef NIVEX_SRC_CTEROBSPARA_H
#define NIVEX_SRC_CTEROBSPARA_H

#include "src/CTerObs.h"

class CTerObsPara : public CTerObs {
public:
    CTerObsPara();
    ~CTerObsPara() override = default;

    using CTerObs::SetPar;
    // unit "DMS", "GON" or "DEG"; others are fatal.
    void SetPar(unsigned long n, unsigned short xvel, const std::string& unit);

    void ReadObsLine_PT(std::istream& in, long i) override;
    void ReadObsLine_OBS(std::istream& in, long i) override;
    void PrintObsLine_PT(std::ostream& out, long i) override;
    void PrintObsLine_OBS(std::ostream& out, long i) override;
    void PrintAllHead(std::ostream& out) override;
    void PrintAllEnd(std::ostream& out) override;

    const std::string& GetAngUnit() const { return AngUnit; }

    std::string AngUnit = "DMS";

private:
    std::string Crta() const;
};

#endif
