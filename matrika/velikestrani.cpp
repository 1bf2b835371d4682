#include "matrika/velikestrani.h"

#include <cstdlib>
#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace velikestrani {
void* Dodeli(std::size_t n)
{
    constexpr std::size_t kStran = std::size_t{2} << 20;
    if (n > static_cast<std::size_t>(-1) - kStran) return nullptr;
    const std::size_t bajtov = (n + kStran - 1) / kStran * kStran;
    void* p = std::aligned_alloc(kStran, bajtov);
    if (p == nullptr) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, bajtov, MADV_HUGEPAGE);
#endif
    return p;
}
}  // namespace velikestrani

real* VelikeStrani(std::size_t n)
{
    if (n > static_cast<std::size_t>(-1) / sizeof(real)) return nullptr;
    return static_cast<real*>(velikestrani::Dodeli(n * sizeof(real)));
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NIVEX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define NIVEX_ASAN 1
#endif

#ifndef NIVEX_ASAN
// The program's operator new: large blocks in huge pages, the rest from
// malloc; every block is returned by free.
namespace {
void* Novo(std::size_t n) noexcept
{
    if (n >= velikestrani::kVelikBlok)
        if (void* p = velikestrani::Dodeli(n)) return p;
    return std::malloc(n == 0 ? 1 : n);
}
void* NovoAliNapaka(std::size_t n)
{
    for (;;) {
        if (void* p = Novo(n)) return p;
        std::new_handler h = std::get_new_handler();
        if (h == nullptr) throw std::bad_alloc();
        h();
    }
}
}  // namespace

void* operator new(std::size_t n) { return NovoAliNapaka(n); }
void* operator new[](std::size_t n) { return NovoAliNapaka(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return NovoAliNapaka(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return NovoAliNapaka(n);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#endif
