#include "matrika/seznamm.h"

#include <unordered_set>

matrika<std::string> seznam(const matrika<std::string>& A)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije("seznam()", Besedilo::MatNiDefinirana), "matrika/seznamm", __LINE__);
    // A hash set keeps this linear in the number of elements; the order is
    // that of first appearance, as a pairwise comparison would give.
    std::unordered_set<std::string> videno;
    std::vector<const std::string*> izbor;
    for (unsigned long k = 0; k < A.size(); ++k)
        if (videno.insert(A(k)).second) izbor.push_back(&A(k));
    matrika<std::string> S(izbor.size());
    for (std::size_t k = 0; k < izbor.size(); ++k) S(k) = *izbor[k];
    return S;
}

matrika<std::string> seznamVr(const matrika<std::string>& A)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije("seznamVr()", Besedilo::MatNiDefinirana), "matrika/seznamm", __LINE__);
    const unsigned long c = A.ncol();
    // Rows are keyed by their columns joined with a separator no name holds.
    std::unordered_set<std::string> videno;
    std::vector<unsigned long> izbor;
    for (unsigned long i = 0; i < A.nrow(); ++i) {
        std::string kljuc;
        for (unsigned long j = 0; j < c; ++j) { kljuc += A(i, j); kljuc += '\0'; }
        if (videno.insert(kljuc).second) izbor.push_back(i);
    }
    matrika<std::string> S(izbor.size(), c);
    for (std::size_t k = 0; k < izbor.size(); ++k)
        for (unsigned long j = 0; j < c; ++j) S(k, j) = A(izbor[k], j);
    return S;
}
