// seznam, seznamVr: the distinct elements (or rows) of a text matrix in order
// of first appearance.
#ifndef NIVEX_MATRIKA_SEZNAMM_H
#define NIVEX_MATRIKA_SEZNAMM_H
#include <string>
#include "matrika/matrika.h"

// Distinct elements in storage order of first appearance, as a k x 1 column.
matrika<std::string> seznam(const matrika<std::string>& A);
// Distinct rows (equal when every column is equal) in order of first appearance.
matrika<std::string> seznamVr(const matrika<std::string>& A);
#endif
