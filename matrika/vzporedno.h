// vzporedno: a loop shared among the program's own threads for the sparse
// factorisation and its inverses.
#ifndef NIVEX_MATRIKA_VZPOREDNO_H
#define NIVEX_MATRIKA_VZPOREDNO_H

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vzporedno {
// Below this many multiplications a loop is not worth starting a thread
// (some tens of microseconds each).
constexpr double kDeloZaNiti = 3e5;

// telo(i) for every i in [0, m), shared with other threads when the whole
// loop holds enough work; telo must write only what belongs to its i.  The
// threads take the indices one by one, so that a thread held up by other
// work on the machine delays only its own index; they exist only for the
// loop and never wait by spinning.  What telo throws on any thread is thrown
// here once every thread has stopped.
template <typename F>
inline void Vzporedno(long m, double delo, int niti, F&& telo)
{
    const long dodatne = std::min<long>(niti - 1, m - 1);
    if (dodatne < 1 || delo < kDeloZaNiti) {
        for (long i = 0; i < m; ++i) telo(i);
        return;
    }
    std::atomic<long> naslednji{0};
    std::exception_ptr napaka;
    std::mutex varuh;
    auto delaj = [&] {
        try {
            for (long i = naslednji++; i < m; i = naslednji++) telo(i);
        } catch (...) {
            // The first failure (no memory, say) ends the loop on every
            // thread and is passed on by the calling one.
            const std::lock_guard<std::mutex> zaklep(varuh);
            if (!napaka) napaka = std::current_exception();
            naslednji = m;
        }
    };
    std::vector<std::thread> pomocne;
    pomocne.reserve(static_cast<std::size_t>(dodatne));
    try {
        for (long t = 0; t < dodatne; ++t) pomocne.emplace_back(delaj);
    } catch (const std::system_error&) {
        // No thread to be had: the threads started (or this one alone) do it.
    }
    delaj();
    for (auto& t : pomocne) t.join();
    if (napaka) std::rethrow_exception(napaka);
}
}  // namespace vzporedno

#endif
