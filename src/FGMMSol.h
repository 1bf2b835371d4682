// FGMMSol: the print helpers of the results report of one iteration - the
// table header, the bodies of adjusted heights (1D) and coordinates (2D, 3D)
// with their standard deviations and absolute error ellipses or ellipsoids,
// and the refraction coefficients.
//
// Facts a caller must know:
// - They only read: the adjusted value printed is the a-priori value of the
//   list (OBS, VELA, kRefEst) plus xunk; CGMMSol::SetResults moves the list to
//   it afterwards.
// - A point without unknowns (iDeltaB < 0) prints zero corrections and
//   standard deviations and its a-priori values, and is left unchanged.
// - Standard deviations are sqrt(SoIIzracun * |Qdd(k,k)|) in metres (the
//   magnitude keeps a round-off negative cofactor from printing as "nan").
#ifndef NIVEX_SRC_FGMMSOL_H
#define NIVEX_SRC_FGMMSOL_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "matrika/matrika.h"

// Cofactor of the unknowns i and j, datum applied (the solution's accessor).
using Kofaktor = std::function<long double(long, long)>;

// Column header of the results table for Dim (1, 2, otherwise 3) and the
// velocity switch; returns the length of the last header line (61, 67, 99).
std::size_t GMMSolResHeadPrint(std::ostream& izhod, unsigned short Dim, unsigned short XVel);

// ix = iDeltaB(i); ixv = iDeltaBV(i) when XVel, else -1.
void GMMSolSetIndex(long i, const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                    unsigned short XVel, long& ix, long& ixv);

// Bodies for 1D (heights, OBS n x 1), 2D and 3D (coordinates, OBS n x Dim).
void GMMSolResBodyPrint1(std::ostream& izhod, const matrika<std::string>& PTS,
                         const matrika<long double>& OBS, const matrika<long double>& VELA,
                         const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                         unsigned short XVel, const matrika<long double>& xunk, const Kofaktor& Qdd,
                         long double SoIIzracun);
void GMMSolResBodyPrint2(std::ostream& izhod, const matrika<std::string>& PTS,
                         const matrika<long double>& OBS, const matrika<long double>& VELA,
                         const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                         unsigned short XVel, const matrika<long double>& xunk, const Kofaktor& Qdd,
                         long double SoIIzracun);
void GMMSolResBodyPrint3(std::ostream& izhod, const matrika<std::string>& PTS,
                         const matrika<long double>& OBS, const matrika<long double>& VELA,
                         const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                         unsigned short XVel, const matrika<long double>& xunk, const Kofaktor& Qdd,
                         long double SoIIzracun);

// Estimated refraction coefficients ("SINGLE": one for the network, "STAT":
// one per station of PTSk): kRefEst plus their corrections.
void GMMSolPrintRefKoeficient(std::ostream& izhod, std::int32_t nunkkref, const std::string& kRefType,
                              const matrika<long double>& xunk, const Kofaktor& Qdd,
                              const matrika<std::int32_t>& iDeltaBk, const matrika<long double>& kRefEst,
                              const matrika<std::string>& PTSk, long double SoIIzracun);

#endif
