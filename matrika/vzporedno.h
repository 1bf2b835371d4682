// vzporedno: a loop shared among the program's own threads for the sparse
// factorisation and its inverses.
#ifndef NIVEX_MATRIKA_VZPOREDNO_H
#define NIVEX_MATRIKA_VZPOREDNO_H

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

namespace vzporedno {
// Below this many multiplications a loop is not worth waking a helper
// (some microseconds each).
constexpr double kDeloZaNiti = 5e4;

// The cores the program may run on (taskset, a container's share).
int Jedra();

// The helpers of the program: started by the first loop that asks for them
// and kept for the next ones, asleep (on a condition variable, never
// spinning) between loops.
class Pomocniki {
public:
    // delaj() on the calling thread and on up to k helpers at once; returns
    // when every helper that took part has returned.  A helper that has not
    // woken by the time the caller's own delaj() returns does not take part.
    // From a helper itself (a loop within a loop), or while another thread's
    // loop holds the helpers, the caller alone does the work.  delaj must
    // not throw.
    static void Izvedi(int k, void (*delaj)(void*), void* podatki) noexcept;
};

// telo(i) for every i in [0, m), shared with the helpers when the whole
// loop holds enough work; telo must write only what belongs to its i.  The
// threads take the indices one by one, so that a thread held up by other
// work on the machine delays only its own index.  What telo throws on any
// thread is thrown here once every thread has stopped.
template <typename F>
inline void Vzporedno(long m, double delo, int niti, F&& telo)
{
    const long dodatne = std::min<long>(niti - 1, m - 1);
    if (dodatne < 1 || delo < kDeloZaNiti) {
        for (long i = 0; i < m; ++i) telo(i);
        return;
    }
    struct Zanka {
        F& telo;
        long m;
        std::atomic<long> naslednji{0};
        std::exception_ptr napaka{};
        std::mutex varuh{};
    } z{telo, m};
    auto delaj = [](void* p) {
        Zanka& z = *static_cast<Zanka*>(p);
        try {
            for (long i = z.naslednji++; i < z.m; i = z.naslednji++) z.telo(i);
        } catch (...) {
            // The first failure (no memory, say) ends the loop on every
            // thread and is passed on by the calling one.
            const std::lock_guard<std::mutex> zaklep(z.varuh);
            if (!z.napaka) z.napaka = std::current_exception();
            z.naslednji = z.m;
        }
    };
    Pomocniki::Izvedi(static_cast<int>(dodatne), delaj, &z);
    if (z.napaka) std::rethrow_exception(z.napaka);
}
}  // namespace vzporedno

#endif
