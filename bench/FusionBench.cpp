// Fusion coefficients of the current theory from its cached S, and the S cache itself. The
// coefficient loops run after S has been filled, so they measure the Verlinde sums alone; the
// last benchmark pays for S and every coefficient together, from a cold orbit cache.
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

namespace {

SpectrumData* makeCurrent(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    return sd;
}

// A new theory whose S is not known anywhere: the block's own orbit cache is emptied as well.
void coldTheory(SpectrumData* sd) {
    SM_allocSBase(sd);
    CFTChanged();
}

void AllFusionCoefficients(benchmark::State& state, int type, int rank, int level) {
    SpectrumData* sd = makeCurrent(type, rank, level);
    initSMATRIX();
    const int N = sd->Nprimaries;
    for (auto _ : state) {
        long total = 0;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                for (int k = 0; k < N; k++)
                    total += fusion(i, j, k, 0);
        benchmark::DoNotOptimize(total);
    }
    state.counters["fields"] = N;
    state.counters["coefficients"] = benchmark::Counter(
        static_cast<double>(N) * N * N, benchmark::Counter::kIsIterationInvariantRate);
}

void FullS(benchmark::State& state, int type, int rank, int level) {
    SpectrumData* sd = makeCurrent(type, rank, level);
    for (auto _ : state) {
        coldTheory(sd);
        benchmark::DoNotOptimize(initSMATRIX());
    }
    state.counters["fields"] = sd->Nprimaries;
}

// S and every N_ij^k, each pair's S row product prepared once.
void SAndAllFusion(benchmark::State& state, int type, int rank, int level) {
    SpectrumData* sd = makeCurrent(type, rank, level);
    const int N = sd->Nprimaries;
    for (auto _ : state) {
        coldTheory(sd);
        initSMATRIX();
        long total = 0;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                getRijk(-1, i, j, 0);
                for (int k = 0; k < N; k++)
                    total += DoubleToInt(getRijk(k, i, j, 0));
            }
        benchmark::DoNotOptimize(total);
    }
    state.counters["fields"] = N;
}

} // namespace

BENCHMARK_CAPTURE(AllFusionCoefficients, A2_level10, 1, 2, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AllFusionCoefficients, E8_level4, 5, 8, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AllFusionCoefficients, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullS, A3_level10, 1, 3, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullS, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndAllFusion, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
