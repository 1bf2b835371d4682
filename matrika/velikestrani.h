// velikestrani: large blocks of memory in pages of 2 MiB.
//
// A national network holds arrays of hundreds of megabytes (the factor, its
// inverse on the pattern, the observations and their results).  Touched
// page by page of 4 KiB, such an array costs a page fault per 4 KiB, which
// on a virtual machine is as slow as the arithmetic it serves.  Every
// allocation of the program from kVelikBlok on (operator new, and so every
// std::vector and matrix) is therefore aligned to 2 MiB and marked for huge
// pages where the system gives them (madvise); smaller ones are malloc's.
// Both are returned by free.  Builds with AddressSanitizer keep the
// sanitizer's own allocator.
#ifndef NIVEX_MATRIKA_VELIKESTRANI_H
#define NIVEX_MATRIKA_VELIKESTRANI_H

#include <cstddef>

#include "funkcije/numerika.h"

namespace velikestrani {
// From this size on (bytes) a block is taken in huge pages: a block rounded
// up to 2 MiB wastes at most a fifth of it.
constexpr std::size_t kVelikBlok = std::size_t{8} << 20;
// n bytes, aligned to 2 MiB and marked for huge pages; nullptr when the
// memory is not there.  Returned by std::free.
void* Dodeli(std::size_t n);
}  // namespace velikestrani

// n values that are written before they are read (nullptr when the memory is
// not there), returned by std::free: the whole inverse of a network.
real* VelikeStrani(std::size_t n);

#endif
