#include "src/CResitev.h"

#include "src/FGMMSolMat.h"

bool CResitev::DatumskiG(const matrika<real>& Hdat, const matrika<real>& C,
                         const std::function<matrika<real>(const matrika<real>&)>& inverz, matrika<real>& G)
{
    matrika<real> K, M;
    ABtprod(Hdat, C, K);
    ABtprod(K, K, M);
    const matrika<real> Mi = inverz(M);
    if (Mi.empty()) return false;
    G = Mi * Hdat;
    return true;
}
