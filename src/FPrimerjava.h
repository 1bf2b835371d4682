// FPrimerjava: the run that compares two epochs (nivex --compare EPOCH1.dat
// EPOCH2.dat [--max-moved N]).
//
// Each data file is adjusted as it stands, by a run of its own with its own
// context, and writes its report and export files as a run of it alone
// would; the comparison (CPrimerjava) then writes EPOCH2.primerjava.NVX,
// and .primerjava.json and .primerjava.html when the second file asks for
// JSON or the page, beside the second file.  The second file's *PSKLAD is
// the confidence level, its *LANG the language (unless --lang).
//
// Facts a caller must know:
// - Refusals (exit status 1): a wrong command, a file that does not adjust,
//   networks of different dimensions, no common points, too few for the
//   datum and a test.  Points that moved are a result: status 0.
// - The reference variance is the pooled a-posteriori variance factor of
//   both epochs (weighted by their degrees of freedom); when either epoch
//   says *S02 APRIORI, or neither has redundancy, the a-priori variance is
//   taken as known: s0^2 = 1 with infinite degrees of freedom.
#ifndef NIVEX_SRC_FPRIMERJAVA_H
#define NIVEX_SRC_FPRIMERJAVA_H

#include "src/CPrimerjava.h"
#include "src/NivexAux.h"

class CNivex;

// True when the command line asks for a comparison (--compare).
bool PrimerjavaZahtevana(const NivexUkaz& ukaz);
// The comparison run; returns the exit status.
int PrimerjavaMain(const NivexUkaz& ukaz);

// The comparison's input from two adjusted epochs: the common points in
// the order of the second epoch's list, their coordinates and a-priori
// covariances, the pooled variance, the datum parameters the epochs'
// networks leave free, *PSKLAD of the second.  Refuses (NivexError) the
// cases above.
VhodPrimerjave PrimerjavaVhod(const CNivex& e1, const CNivex& e2, long najvecPremaknjenih);

#endif
