// FDolocenost: is the network determined by its observations and its datum,
// and if not, which points say so.
//
// Two moments of the run ask this question:
// - before the first solution (PreveriDolocenost, called by the driver once
//   the unknowns are numbered): what the observations alone decide is
//   refused with a framed message naming the points, which the caller
//   receives (the run is not ended here): a datum kind
//   without its points or records, points with unknowns that no observation
//   touches, in a levelling network groups of points that no height
//   difference ties to the datum, minimal constraints (datum D) that leave
//   a translation, rotation or the scale free (named so), and fewer
//   observations than the unknowns less what the datum supplies;
// - during the solution, when a decomposition meets a vanishing pivot or the
//   cofactors explode: NicelniDelez finds how much of every unknown the
//   observations leave free, and SporociloNedolocenih turns any set of
//   unknown indices (columns of the model) into the framed message that
//   names their points and coordinates.
// Every message lists at most kNajvecImen points and says how many more.
#ifndef NIVEX_SRC_FDOLOCENOST_H
#define NIVEX_SRC_FDOLOCENOST_H

#include <string>
#include <vector>

#include "matrika/matrika.h"

class CGMM;

// Points a message names before it says " ... in se N tock".
constexpr std::size_t kNajvecImen = 20;

// The checks before the solution, over the records that take part: the
// framed message of the first that refuses, empty when none does.  An
// observation that names a point not in the point list is left to the
// equations, which report it.
std::string PreveriDolocenost(const CGMM& GMM);

// " **** Mreza ni dolocena - opazovanja in datum ne dolocajo: 1001 (X, Y), 1002 (Y)      *** ":
// the unknowns (columns of the model, any order, repeats allowed) grouped by
// point in point-list order, coordinates as X, Y, Z (H in a levelling
// network), velocities as vX, vY, vZ (vH), refraction coefficients named as such.
std::string SporociloNedolocenih(const CGMM& GMM, const std::vector<long>& neznanke);

// Per unknown, its share in the null space of B (the diagonal of the
// projector onto it, u x 1, all 0 for full column rank), found by
// elimination with diagonal pivoting of the scaled normal matrix B'B, in
// which pivots below 1e-14 vanish.
matrika<real> NicelniDelez(const matrika<real>& B);

// The unknowns named by their null-space shares (NicelniDelez, or from the
// SVD): where the free network's datum is part of the null space or bends
// it (inner constraints), only the largest shares (half the largest and
// more) stand out; otherwise every share that is not round-off.
std::vector<long> NeznankeNicelnegaProstora(const matrika<real>& delez, bool datumskiDefekt);

#endif
