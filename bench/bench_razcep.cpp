// Time per decomposition (with the solve and the cofactor matrix that the
// adjustment asks of it) at network sizes: normal matrices of n unknowns for
// Cholesky, LU and the Gauss-Jordan inverse; design matrices of 3n x n for the
// three QR methods and the SVD.  One run takes about a quarter of an hour on
// two cores (the SVD and QR of 1000 unknowns dominate); select with
// --benchmark_filter.
#include <benchmark/benchmark.h>

#include <random>

#include "matrika/chr.h"
#include "matrika/inv.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "matrika/svdr.h"

namespace {
using M = matrika<long double>;

// A design matrix like a network's: a few non-zeros per row plus a little
// everywhere, so that it has full rank and a moderate condition.
M Nacrt(unsigned long m, unsigned long n)
{
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    M A(m, n, 0.0L);
    for (unsigned long i = 0; i < m; ++i) {
        for (unsigned long j = 0; j < n; ++j) A(i, j) = 1e-3 * u(gen);
        A(i, i % n) += 1.0L;
        A(i, (i * 7 + 3) % n) += u(gen);
        A(i, (i * 13 + 5) % n) += u(gen);
    }
    return A;
}

// A symmetric positive-definite matrix of the size of a normal matrix
// (diagonally dominant, so forming it costs nothing next to the timing).
M Normalna(unsigned long n)
{
    std::mt19937 gen(54321);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    M N(n, n, 0.0L);
    for (unsigned long i = 0; i < n; ++i) {
        N(i, i) = 2.0L * n;
        for (unsigned long j = 0; j < i; ++j) N(i, j) = N(j, i) = u(gen);
    }
    return N;
}

M Desna(unsigned long m) { return M(m, 1, 1.0L); }

void Cholesky(benchmark::State& st)
{
    const unsigned long n = st.range(0);
    const M N = Normalna(n);
    const M b = Desna(n);
    for (auto _ : st) {
        chr<long double> c;
        c.razcep(N);
        benchmark::DoNotOptimize(c.resiv(b));
        benchmark::DoNotOptimize(c.inv());
    }
}

void CholeskyRazcepOnly(benchmark::State& st)
{
    const unsigned long n = st.range(0);
    const M N = Normalna(n);
    for (auto _ : st) {
        chr<long double> c;
        c.razcep(N);
        benchmark::DoNotOptimize(c.L.data());
    }
}

void LU(benchmark::State& st)
{
    const unsigned long n = st.range(0);
    const M N = Normalna(n);
    const M b = Desna(n);
    for (auto _ : st) {
        lur<long double> l;
        l.razcep(N);
        benchmark::DoNotOptimize(l.resiv(b));
        benchmark::DoNotOptimize(l.inv());
    }
}

void GaussJordan(benchmark::State& st)
{
    const unsigned long n = st.range(0);
    const M N = Normalna(n);
    for (auto _ : st) benchmark::DoNotOptimize(inv(N));
}

void QR(benchmark::State& st, const char* metoda)
{
    const unsigned long n = st.range(0);
    const M A = Nacrt(3 * n, n);
    const M f = Desna(3 * n);
    for (auto _ : st) {
        qrr<long double> q;
        benchmark::DoNotOptimize(q.razcep(A, f, metoda));
        benchmark::DoNotOptimize(q.inv());
    }
}

void SVD(benchmark::State& st)
{
    const unsigned long n = st.range(0);
    const M A = Nacrt(3 * n, n);
    const M f = Desna(3 * n);
    for (auto _ : st) {
        svdr<long double> s;
        s.razcep(A);
        benchmark::DoNotOptimize(s.resi(f, 1e-12L));
        benchmark::DoNotOptimize(s.pinvAtA(1e-12L));
    }
}
}  // namespace

BENCHMARK(CholeskyRazcepOnly)->Arg(100)->Arg(300)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(Cholesky)->Arg(100)->Arg(300)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(LU)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(GaussJordan)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QR, QRHOUS, "QRHOUS")->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QR, QRMGS, "QRMGS")->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QR, QRGIV, "QRGIV")->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(SVD)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
