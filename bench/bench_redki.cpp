// Time of the sparse factorisation as the adjustment uses it: ordering and
// analysis, numeric factorisation and the inverse on the factor's pattern, on
// generated networks of n unknowns.  Levelling: a line of points (one height
// difference to the next) or a square grid (to the right and down neighbour);
// plane: a square grid of points with two unknowns each, joined by distances
// to six neighbours (triangulated grid).  Every unknown is also held by a
// weak row so that the matrix is regular.  The counter nnzL is the number of
// off-diagonal entries of the factor.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <random>

#include "matrika/redkirazcep.h"

namespace {

// The normal matrix of the network's rows, upper triangle by columns.
redkaSimetricna Mreza(long n, int vrsta)
{
    std::mt19937 gen(4711);
    std::uniform_real_distribution<double> e(-0.2, 0.2);
    const int d = vrsta == 2 ? 2 : 1;
    const long tock = n / d, w = vrsta == 0 ? tock : std::lround(std::sqrt(static_cast<double>(tock)));
    const long h = tock / w;
    std::vector<std::map<long, long double>> stolpci(d * w * h);
    auto vrstica = [&](std::initializer_list<std::pair<long, long double>> v) {
        for (const auto& [a, x] : v)
            for (const auto& [b, y] : v)
                if (a <= b) stolpci[b][a] += x * y;
    };
    auto rob = [&](long p, long q) {
        if (d == 1) return vrstica({{p, 1.0L}, {q, -1.0L}});
        const long double dx = q % w - p % w + e(gen), dy = q / w - p / w + e(gen), s = std::hypot(dx, dy);
        vrstica({{2 * p, -dx / s}, {2 * p + 1, -dy / s}, {2 * q, dx / s}, {2 * q + 1, dy / s}});
    };
    for (long p = 0; p < w * h; ++p) {
        if (p % w + 1 < w) rob(p, p + 1);
        if (p / w + 1 < h) rob(p, p + w);
        if (d == 2 && p % w + 1 < w && p / w + 1 < h) rob(p, p + w + 1);
    }
    redkaSimetricna N{static_cast<long>(stolpci.size()), {0}, {}, {}};
    for (long j = 0; j < N.n; ++j) vrstica({{j, 1e-2L}});
    for (const auto& c : stolpci) {
        for (const auto& [i, x] : c) N.Ai.push_back(i), N.Ax.push_back(x);
        N.Ap.push_back(static_cast<long>(N.Ai.size()));
    }
    return N;
}

void Razcep(benchmark::State& st, int vrsta)
{
    const redkaSimetricna N = Mreza(st.range(0), vrsta);
    long nnz = 0;
    for (auto _ : st) {
        redkiRazcep r;
        r.analiza(N);
        r.razcep(N);
        r.izbraniInverz();
        nnz = r.nnzL();
        benchmark::DoNotOptimize(r.inverz(0, 0));
    }
    st.counters["n"] = static_cast<double>(N.n);
    st.counters["nnzL"] = static_cast<double>(nnz);
}

void Veriga(benchmark::State& st) { Razcep(st, 0); }
void Nivelman(benchmark::State& st) { Razcep(st, 1); }
void Ravninska(benchmark::State& st) { Razcep(st, 2); }

}  // namespace

BENCHMARK(Veriga)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Nivelman)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Ravninska)->Arg(1000)->Arg(10000)->Arg(40000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
