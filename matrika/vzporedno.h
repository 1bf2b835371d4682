// vzporedno: a loop shared among the program's own threads for the sparse
// factorisation and its inverses.
#ifndef NIVEX_MATRIKA_VZPOREDNO_H
#define NIVEX_MATRIKA_VZPOREDNO_H

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

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

// Waits on the core until pogoj() holds: a few thousand pauses, then a
// yield of the core between tests.  For waits of a few microseconds (the
// other thread finishing a step), which a sleep would lengthen many times.
template <typename P>
inline void CakajDo(P&& pogoj)
{
    for (int k = 0; !pogoj(); ++k) {
        if (k < 4096) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        } else {
            std::this_thread::yield();
        }
    }
}

// The steps k = 0 .. koliko.size() - 1 one after another: telo(k, i) for
// every i in [0, koliko[k]), shared among the threads, then zapri(k) on one
// of them once every i of step k is done and before any i of step k + 1.
// The threads join once for all the steps and wait for the next step on
// the core: for the columns of a dense block, whose steps are too short for
// a loop of their own (waking the helpers would cost more than they share).
// telo must write only what belongs to its (k, i); what telo or zapri
// throws ends the steps on every thread and is thrown here.
template <typename T, typename Z>
inline void Zaporedno(const std::vector<long>& koliko, double delo, int niti, T&& telo, Z&& zapri)
{
    const long K = static_cast<long>(koliko.size());
    std::vector<long> S(static_cast<std::size_t>(K) + 1, 0);   // first item of each step
    for (long k = 0; k < K; ++k) S[static_cast<std::size_t>(k) + 1] = S[static_cast<std::size_t>(k)] + koliko[static_cast<std::size_t>(k)];
    const long vseh = S[static_cast<std::size_t>(K)];
    if (niti < 2 || vseh < 2 || delo < kDeloZaNiti) {
        for (long k = 0; k < K; ++k) {
            for (long i = 0; i < koliko[static_cast<std::size_t>(k)]; ++i) telo(k, i);
            zapri(k);
        }
        return;
    }
    // Steps without items are closed with the step before them.
    auto zapriPrazne = [&](long k) {
        for (; k < K && koliko[static_cast<std::size_t>(k)] == 0; ++k) zapri(k);
        return k;
    };
    struct Zanka {
        T& telo;
        Z& zapri;
        const std::vector<long>& S;
        decltype(zapriPrazne)& prazne;
        long K;
        std::atomic<long> naslednji{0};   // the next item to take
        std::atomic<long> narejenih{0};   // items done
        std::atomic<long> odprt{0};       // the open step
        std::atomic<bool> konec{false};
        std::exception_ptr napaka{};
        std::mutex varuh{};
    } z{telo, zapri, S, zapriPrazne, K};
    z.odprt.store(zapriPrazne(0), std::memory_order_relaxed);
    if (z.odprt.load(std::memory_order_relaxed) >= K) return;
    auto delaj = [](void* p) {
        Zanka& z = *static_cast<Zanka*>(p);
        const long vseh = z.S[static_cast<std::size_t>(z.K)];
        try {
            long k = 0;
            for (long g = z.naslednji++; g < vseh; g = z.naslednji++) {
                while (z.S[static_cast<std::size_t>(k) + 1] <= g) ++k;
                CakajDo([&] { return z.odprt.load(std::memory_order_acquire) >= k || z.konec.load(std::memory_order_relaxed); });
                if (z.konec.load(std::memory_order_relaxed)) return;
                z.telo(k, g - z.S[static_cast<std::size_t>(k)]);
                // The last item of a step closes it and opens the next.
                if (z.narejenih.fetch_add(1, std::memory_order_acq_rel) + 1 == z.S[static_cast<std::size_t>(k) + 1]) {
                    z.zapri(k);
                    z.odprt.store(z.prazne(k + 1), std::memory_order_release);
                }
            }
        } catch (...) {
            const std::lock_guard<std::mutex> zaklep(z.varuh);
            if (!z.napaka) z.napaka = std::current_exception();
            z.naslednji = vseh;
            z.konec = true;
        }
    };
    Pomocniki::Izvedi(static_cast<int>(std::min<long>(niti - 1, vseh - 1)), delaj, &z);
    if (z.napaka) std::rethrow_exception(z.napaka);
}
}  // namespace vzporedno

#endif
