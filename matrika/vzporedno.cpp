#include "matrika/vzporedno.h"

#include <algorithm>
#include <condition_variable>
#include <system_error>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sched.h>
#endif

namespace vzporedno {
int Jedra()
{
#ifdef __linux__
    cpu_set_t jedra;
    if (sched_getaffinity(0, sizeof jedra, &jedra) == 0) return std::max(1, CPU_COUNT(&jedra));
#endif
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

namespace {
// True on a helper, and on a caller while its loop runs.
thread_local bool vZanki = false;

class Bazen {
public:
    void Izvedi(int k, void (*delaj)(void*), void* podatki)
    {
        if (vZanki) return delaj(podatki);
        std::unique_lock<std::mutex> zanka(klicatelj_, std::try_to_lock);
        if (!zanka.owns_lock()) return delaj(podatki);
        vZanki = true;
        {
            std::lock_guard<std::mutex> z(m_);
            Zazeni(k);
            delaj_ = delaj;
            podatki_ = podatki;
            prostih_ = std::min<int>(k, static_cast<int>(niti_.size()));
            ++rod_;
        }
        zbudi_.notify_all();
        delaj(podatki);
        std::unique_lock<std::mutex> z(m_);
        prostih_ = 0;   // a helper still asleep stays out of this loop
        konec_.wait(z, [this] { return dela_ == 0; });
        vZanki = false;
    }

private:
    // At least k helpers, as far as the system gives threads.
    void Zazeni(int k)
    {
        while (static_cast<int>(niti_.size()) < k) {
            try {
                niti_.emplace_back([this] { Zanka(); });
                niti_.back().detach();
            } catch (const std::system_error&) {
                return;
            }
        }
    }
    void Zanka()
    {
        vZanki = true;
        std::unique_lock<std::mutex> z(m_);
        long videl = rod_;
        for (;;) {
            zbudi_.wait(z, [&] { return rod_ != videl && prostih_ > 0; });
            videl = rod_;
            --prostih_;
            ++dela_;
            void (*delaj)(void*) = delaj_;
            void* podatki = podatki_;
            z.unlock();
            delaj(podatki);
            z.lock();
            if (--dela_ == 0) konec_.notify_all();
        }
    }

    std::mutex klicatelj_;   // one loop at a time holds the helpers
    std::mutex m_;
    std::condition_variable zbudi_, konec_;
    std::vector<std::thread> niti_;
    void (*delaj_)(void*) = nullptr;
    void* podatki_ = nullptr;
    long rod_ = 0;      // the loops handed out so far
    int prostih_ = 0;   // places left in the current loop
    int dela_ = 0;      // helpers in the current loop
};
}  // namespace

void Pomocniki::Izvedi(int k, void (*delaj)(void*), void* podatki) noexcept
{
    // Never destroyed: the helpers sleep until the program ends.
    static Bazen* const bazen = new Bazen;
    bazen->Izvedi(k, delaj, podatki);
}
}  // namespace vzporedno
