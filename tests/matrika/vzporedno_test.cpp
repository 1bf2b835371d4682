// The program's own threads: a loop shared among them (Vzporedno) and the
// steps of a loop one after another (Zaporedno), each against the same
// work done by plain loops.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "matrika/vzporedno.h"

namespace {
// Some microseconds of integer work on (k, i) and on a value p, the same on
// any thread.
std::uint64_t Delo(long k, long i, std::uint64_t p)
{
    std::uint64_t h = p ^ (static_cast<std::uint64_t>(k) << 32) ^ static_cast<std::uint64_t>(i);
    for (int t = 0; t < 2000; ++t) h = h * 6364136223846793005ULL + 1442695040888963407ULL;
    return h;
}

// The threads that took part in a loop.
struct Niti {
    std::mutex varuh;
    std::set<std::thread::id> id;
    void Dodaj()
    {
        const std::lock_guard<std::mutex> z(varuh);
        id.insert(std::this_thread::get_id());
    }
};
}  // namespace

// Every index once, each result that of a plain loop, on one thread and
// more, with more indices than threads; the helpers take part.  A loop
// within a loop runs whole on the thread that asked for it.
TEST(Vzporedno, EveryIndexOnceAsInAPlainLoop)
{
    for (long m : {0L, 1L, 2L, 7L, 1000L}) {
        std::vector<std::uint64_t> ref(static_cast<std::size_t>(m));
        for (long i = 0; i < m; ++i) ref[static_cast<std::size_t>(i)] = Delo(0, i, 7);
        for (int niti : {1, 2, 3}) {
            SCOPED_TRACE(std::to_string(m) + " indices, threads " + std::to_string(niti));
            for (int ponovi = 0; ponovi < 3; ++ponovi) {
                std::vector<std::uint64_t> y(ref.size());
                std::vector<std::atomic<int>> obiski(ref.size());
                std::atomic<long> tuje{0};
                Niti niti_v_zanki;
                vzporedno::Vzporedno(m, 1e9, niti, [&](long i) {
                    ++obiski[static_cast<std::size_t>(i)];
                    y[static_cast<std::size_t>(i)] = Delo(0, i, 7);
                    niti_v_zanki.Dodaj();
                    if (m < 2) return;   // no loop of the threads around these
                    const auto jaz = std::this_thread::get_id();
                    vzporedno::Vzporedno(5, 1e9, niti, [&](long) { tuje += std::this_thread::get_id() != jaz; });
                    vzporedno::Zaporedno({2, 3}, 1e9, niti, [&](long, long) { tuje += std::this_thread::get_id() != jaz; },
                                         [&](long) { tuje += std::this_thread::get_id() != jaz; });
                });
                for (const auto& o : obiski) ASSERT_EQ(o.load(), 1);
                ASSERT_EQ(y, ref);
                EXPECT_EQ(tuje.load(), 0);
                EXPECT_LE(niti_v_zanki.id.size(), static_cast<std::size_t>(niti));
                if (niti == 1) {
                    EXPECT_EQ(niti_v_zanki.id.size(), m > 0 ? 1U : 0U);
                }
            }
        }
    }
    // A loop of too little work stays on the caller.
    Niti sam;
    vzporedno::Vzporedno(100, vzporedno::kDeloZaNiti / 2, 2, [&](long) { sam.Dodaj(); });
    EXPECT_EQ(sam.id, std::set<std::thread::id>{std::this_thread::get_id()});
}

// The steps of Zaporedno as a recurrence: item i of step k works on the
// value that closing the step before left, and closing step k sums its
// items.  Every item runs once, after every earlier step is closed and
// before its own is; every step is closed once and in order (steps without
// items too, first and last among them); the values are those of plain
// loops, on one thread and more, with steps of one item and of many.
TEST(Vzporedno, StepsOneAfterAnother)
{
    std::vector<long> dolgi(200);
    for (std::size_t k = 0; k < dolgi.size(); ++k) dolgi[k] = static_cast<long>(k % 7);
    for (const std::vector<long>& koliko : {std::vector<long>{0, 0, 3, 1, 0, 0, 5, 40, 0, 2, 0}, dolgi, std::vector<long>{1000}}) {
        const long K = static_cast<long>(koliko.size());
        std::vector<std::uint64_t> ref(static_cast<std::size_t>(K));
        for (long k = 0; k < K; ++k) {
            std::uint64_t vsota = k == 0 ? 1 : ref[static_cast<std::size_t>(k) - 1];
            for (long i = 0; i < koliko[static_cast<std::size_t>(k)]; ++i)
                vsota += static_cast<std::uint64_t>(i + 1) * Delo(k, i, k == 0 ? 1 : ref[static_cast<std::size_t>(k) - 1]);
            ref[static_cast<std::size_t>(k)] = vsota;
        }
        for (int niti : {1, 2, 3}) {
            SCOPED_TRACE(std::to_string(K) + " steps, threads " + std::to_string(niti));
            std::size_t najvec = 0;
            for (int ponovi = 0; ponovi < 3; ++ponovi) {
                std::vector<std::vector<std::uint64_t>> x(static_cast<std::size_t>(K));
                std::vector<std::vector<std::atomic<int>>> obiski(static_cast<std::size_t>(K));
                for (long k = 0; k < K; ++k) {
                    x[static_cast<std::size_t>(k)].resize(static_cast<std::size_t>(koliko[static_cast<std::size_t>(k)]));
                    obiski[static_cast<std::size_t>(k)] = std::vector<std::atomic<int>>(x[static_cast<std::size_t>(k)].size());
                }
                std::vector<std::uint64_t> a(static_cast<std::size_t>(K));
                std::atomic<long> zaprtih{0}, napak{0};
                Niti niti_v_zanki;
                vzporedno::Zaporedno(
                    koliko, 1e9, niti,
                    [&](long k, long i) {
                        napak += zaprtih.load() != k;
                        ++obiski[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)];
                        x[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] = Delo(k, i, k == 0 ? 1 : a[static_cast<std::size_t>(k) - 1]);
                        niti_v_zanki.Dodaj();
                        if (niti > 1) std::this_thread::sleep_for(std::chrono::microseconds(10));   // time for a helper to join
                    },
                    [&](long k) {
                        napak += zaprtih.load() != k;
                        std::uint64_t vsota = k == 0 ? 1 : a[static_cast<std::size_t>(k) - 1];
                        for (std::size_t i = 0; i < x[static_cast<std::size_t>(k)].size(); ++i) {
                            napak += obiski[static_cast<std::size_t>(k)][i].load() != 1;
                            vsota += (i + 1) * x[static_cast<std::size_t>(k)][i];
                        }
                        a[static_cast<std::size_t>(k)] = vsota;
                        ++zaprtih;
                    });
                EXPECT_EQ(napak.load(), 0);
                EXPECT_EQ(zaprtih.load(), K);
                for (const auto& step : obiski)
                    for (const auto& o : step) ASSERT_EQ(o.load(), 1);
                ASSERT_EQ(a, ref);
                EXPECT_LE(niti_v_zanki.id.size(), static_cast<std::size_t>(niti));
                najvec = std::max(najvec, niti_v_zanki.id.size());
            }
            if (niti == 1) {
                EXPECT_EQ(najvec, 1U);
            } else if (K != 11) {
                EXPECT_GE(najvec, 2U);
            }
        }
    }
}

// A failure on any thread (no memory, a broken structure) reaches the caller
// as the exception it is, once every thread has stopped; the loop ends
// early, no step after a failed one runs, and the failed step is not
// closed.  The helpers serve the next loop.
TEST(Vzporedno, FailureReachesTheCaller)
{
    for (long kje : {0L, 1L, 57L, 99L}) {
        std::atomic<long> narejeno{0};
        EXPECT_THROW(vzporedno::Vzporedno(100, 1e9, 2,
                                          [&](long i) {
                                              if (i == kje) throw std::length_error("premalo pomnilnika");
                                              ++narejeno;
                                          }),
                     std::length_error);
        EXPECT_LT(narejeno.load(), 100);
    }
    const std::vector<long> koliko(20, 10);
    for (int niti : {1, 2}) {
        for (bool vZapiranju : {false, true}) {
            std::atomic<long> zaprt{-1}, kasneje{0};
            EXPECT_THROW(vzporedno::Zaporedno(
                             koliko, 1e9, niti,
                             [&](long k, long i) {
                                 kasneje += k > 7;
                                 if (!vZapiranju && k == 7 && i == 3) throw std::length_error("premalo pomnilnika");
                             },
                             [&](long k) {
                                 if (vZapiranju && k == 7) throw std::length_error("premalo pomnilnika");
                                 zaprt = k;
                             }),
                         std::length_error);
            EXPECT_EQ(zaprt.load(), 6);
            EXPECT_EQ(kasneje.load(), 0);
        }
    }
    std::vector<std::atomic<int>> obiski(300);
    vzporedno::Vzporedno(300, 1e9, 2, [&](long i) { ++obiski[static_cast<std::size_t>(i)]; });
    for (const auto& o : obiski) EXPECT_EQ(o.load(), 1);
}

// The helpers are kept from one loop to the next: loops one after another,
// a loop within a loop and loops of two threads at once each visit every
// index exactly once, and the helpers take part.
TEST(Vzporedno, HelpersServeLoopAfterLoop)
{
    auto zanka = [](long m, int niti) {
        std::vector<std::atomic<int>> obiski(static_cast<std::size_t>(m));
        Niti niti_v_zanki;
        vzporedno::Vzporedno(m, 1e9, niti, [&](long i) {
            ++obiski[static_cast<std::size_t>(i)];
            std::vector<std::atomic<int>> notranji(7);
            vzporedno::Vzporedno(7, 1e9, niti, [&](long j) { ++notranji[static_cast<std::size_t>(j)]; });
            for (const auto& o : notranji) EXPECT_EQ(o.load(), 1);
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            niti_v_zanki.Dodaj();
        });
        for (const auto& o : obiski) EXPECT_EQ(o.load(), 1);
        return niti_v_zanki.id.size();
    };
    std::size_t najvec = 0;
    for (int k = 0; k < 20; ++k) najvec = std::max(najvec, zanka(200, 2));
    EXPECT_EQ(najvec, 2U);
    std::thread druga([&] {
        for (int k = 0; k < 20; ++k) zanka(100, 3);
    });
    for (int k = 0; k < 20; ++k) zanka(100, 3);
    druga.join();
}
