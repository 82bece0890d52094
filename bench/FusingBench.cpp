// Fusing matrices of the current block.
//
// - LargeBosonQuadruple: one matrix F[1 2 3 N-6] of a free boson of N fields, from a cold block;
//   the coupling count asks the facade for four fusion rows, so the time grows about linearly
//   with N (N = 5000 should answer at once, without an N^3 table of 500 GB).
// - OrbifoldBelowTwistFields: every matrix F[a b c d] of the c=1 orbifold of rank 16 with labels
//   below its twist fields (19^4 = 130,321 quadruples); should take under 1 s.
#include "fusing/Fusing.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

SpectrumData* makeCurrent(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    return sd;
}

void peakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void LargeBosonQuadruple(benchmark::State& state) {
    const int N = static_cast<int>(state.range(0));
    makeCurrent(0, N, 0);
    int n = 0;
    int* basis = nullptr;
    for (auto _ : state) {
        CFTChanged();
        benchmark::DoNotOptimize(getFusingMatrix(1, 2, 3, N - 6, &n, &basis));
    }
    if (n != 1)
        state.SkipWithError("expected one coupling");
    peakMemory(state);
}

void OrbifoldBelowTwistFields(benchmark::State& state) {
    const int N = static_cast<int>(state.range(0));
    makeCurrent(7, N, 0);
    int n = 0;
    int* basis = nullptr;
    long entries = 0;
    for (auto _ : state) {
        entries = 0;
        for (int a = 0; a < N + 3; a++)
            for (int b = 0; b < N + 3; b++)
                for (int c = 0; c < N + 3; c++)
                    for (int d = 0; d < N + 3; d++) {
                        benchmark::DoNotOptimize(getFusingMatrix(a, b, c, d, &n, &basis));
                        entries += static_cast<long>(n) * n;
                    }
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["quadruples"] = static_cast<double>(N + 3) * (N + 3) * (N + 3) * (N + 3);
    peakMemory(state);
}

} // namespace

BENCHMARK(OrbifoldBelowTwistFields)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(LargeBosonQuadruple)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
