// Fusion coefficients of the current theory from its cached S, and the S cache itself.
//
// - AllFusionCoefficients: every N_ij^k asked one at a time (the single-coefficient path), after
//   S has been filled.
// - SAndEveryCoefficient: S from a cold theory and then every N_ij^k through the whole products
//   that "fusion" and "benchmark fusion" use; over A2 from 21 to 861 fields and G2 from 36 to
//   676, so that the growth with the number of fields can be read off (time against fields on a
//   log scale).
// - VerlindeKernel against PlainMultiplyAdd: the dot products of a batch of prepared rows with a
//   run of S columns, against the plain vectorised loop y[m] += x[m] c[m] over the same rows and
//   columns, which does the same number of multiply-adds; both on tables of the size of A2
//   level 40 and G2 level 60.
#include "modular/Modular.h"
#include "modular/VerlindeKernel.h"
#include "numeric/MathUtility.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

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

// S and all N^3 coefficients, a pair and its mirror at once (N_ij^k = N_ji^k).
void SAndEveryCoefficient(benchmark::State& state, int type, int rank, int level) {
    SpectrumData* sd = makeCurrent(type, rank, level);
    const int N = sd->Nprimaries;
    std::vector<int> n(N);
    for (auto _ : state) {
        coldTheory(sd);
        initSMATRIX();
        long total = 0;
        for (int i = 0; i < N; i++)
            for (int j = i; j < N; j++) {
                fusionProduct(i, j, 0, n.data());
                for (int k = 0; k < N; k++)
                    total += (j == i ? 1 : 2) * n[k];
            }
        benchmark::DoNotOptimize(total);
    }
    state.counters["fields"] = N;
}

// A table of `fields` columns of `length` doubles, eight prepared rows, and a run of `run`
// columns of the table: the shape of one batch of rows of a whole product.
struct KernelData {
    static constexpr int Rows = 8;
    std::vector<double> table, x, out;
    std::vector<const double*> columns;
    int length;
    KernelData(int length, int fields, int run) : length(length) {
        std::mt19937_64 random(17);
        std::uniform_real_distribution<double> value(-1.0, 1.0);
        table.resize(static_cast<std::size_t>(fields) * length);
        for (double& v : table)
            v = value(random);
        x.resize(static_cast<std::size_t>(Rows) * length);
        for (double& v : x)
            v = value(random);
        // Spread over the table, as the fields of one charge class lie in it.
        for (int c = 0; c < run; c++)
            columns.push_back(&table[static_cast<std::size_t>(c * fields / run) * length]);
        out.resize(static_cast<std::size_t>(Rows) * run);
    }
    double multiplyAdds() const { return static_cast<double>(Rows) * columns.size() * length; }
};

void VerlindeKernel(benchmark::State& state, int length, int fields, int run) {
    KernelData d(length, fields, run);
    for (auto _ : state) {
        dotColumns(d.x.data(), KernelData::Rows, d.columns.data(), run, d.length, d.out.data());
        benchmark::DoNotOptimize(d.out.data());
        benchmark::ClobberMemory();
    }
    state.counters["multiply-adds"] =
        benchmark::Counter(d.multiplyAdds(), benchmark::Counter::kIsIterationInvariantRate);
}

// The reference line: a loop the compiler vectorises as it stands, over the same rows and columns.
void PlainMultiplyAdd(benchmark::State& state, int length, int fields, int run) {
    KernelData d(length, fields, run);
    std::vector<double> y(d.length);
    for (auto _ : state) {
        for (int r = 0; r < KernelData::Rows; r++) {
            const double* x = &d.x[static_cast<std::size_t>(r) * d.length];
            for (const double* c : d.columns)
                for (int m = 0; m < d.length; m++)
                    y[m] += x[m] * c[m];
        }
        benchmark::DoNotOptimize(y.data());
        benchmark::ClobberMemory();
    }
    state.counters["multiply-adds"] =
        benchmark::Counter(d.multiplyAdds(), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK_CAPTURE(AllFusionCoefficients, A2_level10, 1, 2, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AllFusionCoefficients, E8_level4, 5, 8, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AllFusionCoefficients, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullS, A3_level10, 1, 3, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullS, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndAllFusion, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);

// A2 level k has (k+1)(k+2)/2 fields, G2 level k about k^2/4; both cross the 400 fields of
// "S_matrix maxsize". At G2 level 60 the coefficients run into the thousands; rounded with a
// tolerance that grows with them, none is reported.
BENCHMARK_CAPTURE(SAndEveryCoefficient, A2_level5, 1, 2, 5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, A2_level10, 1, 2, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, A2_level30, 1, 2, 30)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, A2_level40, 1, 2, 40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, G2_level10, 5, 2, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, G2_level20, 5, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, G2_level30, 5, 2, 30)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, G2_level40, 5, 2, 40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, G2_level50, 5, 2, 50)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SAndEveryCoefficient, G2_level60, 5, 2, 60)->Unit(benchmark::kMillisecond);

// A2 level 40: 287 orbits (574 doubles a column, S being complex), 861 fields, 287 in a charge
// class; G2 level 60: 961 fields, S real.
BENCHMARK_CAPTURE(VerlindeKernel, A2_level40, 574, 861, 287);
BENCHMARK_CAPTURE(PlainMultiplyAdd, A2_level40, 574, 861, 287);
BENCHMARK_CAPTURE(VerlindeKernel, G2_level60, 961, 961, 961);
BENCHMARK_CAPTURE(PlainMultiplyAdd, G2_level60, 961, 961, 961);

BENCHMARK_MAIN();
