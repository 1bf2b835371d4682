// FKovariance: covariance blocks of the data file: finding their records,
// checking them, and their table in the input report (the blocks and their
// matrix work: FKovBloki).
//
// A `Q` line gives the full covariance of a group of records: the three
// components of a GNSS baseline (V), the coordinates of several C records or
// the heights of several H records, the observations of one station, or any
// mix of them.  It reads
//
//   Q n  kind points ... (n records)  q11 q12 ... q1N q22 ... qNN
//
// n records named by their kind letter and point names, then the upper
// triangle of the N x N covariance row by row, N the rows of the records
// (Dim for C and V, one for every other kind), in SI units: m^2 between
// lengths, rad^2 between angles, m rad between a length and an angle.  Like
// a record the line may continue over lines; after the last element only a
// remark that is not a number may follow.  A reference names the first
// record of that kind and those points (in file order) that no block holds
// yet.  The deviations of the records are replaced by the square roots of
// the diagonal.
//
// Directions enter the model as composed angles, angle = later - earlier
// direction: a block that holds a direction must hold every direction of its
// station's run, and the model carries the covariance to the angles by that
// difference (T Q T').
//
// The model takes a block over the records that take part (CTerObs::Aktiven):
// a record set aside takes its rows and columns of the covariance with it,
// and the rest of the block keeps its correlations.
//
// Refused with a framed message naming the line of the Q and exit status 1:
// a count or kind that is wrong, fewer or more elements than the triangle
// holds, an element that is not a number, a record that does not exist or is
// already in a block, directions of a station only partly in the block, a
// covariance that is not positive definite, and a deviation below the zero
// threshold of its kind.
#ifndef NIVEX_SRC_FKOVARIANCA_H
#define NIVEX_SRC_FKOVARIANCA_H

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "src/FKovBloki.h"

class CTerObsZbirka;

// Finds the records of every block, checks them and the covariances, and
// replaces the deviations of their records.
void PoveziKovBloke(CTerObsZbirka& TO, unsigned short dim);

// The blocks in the input report: line, records (with their lines), rows
// and the largest correlation.
void PrintKovBloke(std::ostream& izhod, const CTerObsZbirka& TO);

#endif
