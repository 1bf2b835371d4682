// FGMMSol: the print helpers of the results report of one iteration - the
// table header, the bodies of adjusted heights (1D) and coordinates (2D, 3D)
// with their standard deviations and absolute error ellipses or ellipsoids,
// and the refraction coefficients.
//
// Facts a caller must know:
// - They only print what the results of the pass hold (CRezultati): the
//   a-priori values of the list (OBS, VELA, kRefEst), the corrections xunk
//   and the adjusted values; CGMMSol::SetResults moves the list to them
//   afterwards.
// - A point without unknowns prints zero corrections and standard
//   deviations and its a-priori values.
#ifndef NIVEX_SRC_FGMMSOL_H
#define NIVEX_SRC_FGMMSOL_H

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "matrika/matrika.h"
#include "src/CRezultati.h"

// Column header of the results table for Dim (1, 2, otherwise 3) and the
// velocity switch; returns the length of the last header line (61, 67, 99).
std::size_t GMMSolResHeadPrint(std::ostream& izhod, unsigned short Dim, unsigned short XVel);

// ix = iDeltaB(i); ixv = iDeltaBV(i) when XVel, else -1.
void GMMSolSetIndex(long i, const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                    unsigned short XVel, long& ix, long& ixv);

// Bodies for 1D (heights), 2D and 3D (coordinates), with the velocities when XVel.
void GMMSolResBodyPrint1(std::ostream& izhod, const CRezultati& rez, unsigned short XVel);
void GMMSolResBodyPrint2(std::ostream& izhod, const CRezultati& rez, unsigned short XVel);
void GMMSolResBodyPrint3(std::ostream& izhod, const CRezultati& rez, unsigned short XVel);

// Estimated refraction coefficients ("SINGLE": one for the network, "STAT":
// one per station): the adjusted coefficient and its deviation.
void GMMSolPrintRefKoeficient(std::ostream& izhod, const std::string& kRefType, const CRezultati& rez);

#endif
