// Whole S-matrices of WZW models through the dispatcher: the cost that every building block of
// the store pays once. The field lists come from the spectrum, outside the timed loop.
#include "base/Parameters.h"
#include "lie/Smatrix.h"
#include "lie/Tarvik.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

AllocCount BenchCounter = ALLOC_COUNTER("S-matrix bench");

struct Fields {
    int N = 0;
    int repSize = 0;
    std::vector<int> labels;
};

Fields fieldsOf(int type, int rank, int level) {
    if (!findInternalParameter("Maxrank")) {
        addInternalParameter("Maxrank", "20", 'i', 0);
        initializeTarvik();
    }
    Fields f;
    int norbits, adj, g, center, mult, denom, complex;
    double c;
    int *dynkin = nullptr, *orders = nullptr, *base = nullptr;
    spectrum_(type, rank, level, &f.N, &norbits, &adj, &f.repSize, &g, &center, &mult, &denom,
              &complex, &c, &dynkin, &orders, &base, &BenchCounter);
    f.labels.assign(dynkin, dynkin + f.N * f.repSize);
    freespace(base, sizeof(int) * (2 * mult + 4) * f.N, &BenchCounter, "Orbit data");
    freespace(dynkin, sizeof(int) * f.N * f.repSize, &BenchCounter, "Dynkin labels");
    if (orders)
        freespace(orders, sizeof(int) * (mult == 2 ? 2 : 1), &BenchCounter, "Center orders");
    return f;
}

void WholeS(benchmark::State& state, int type, int rank, int level) {
    const Fields f = fieldsOf(type, rank, level);
    std::vector<double> re(static_cast<std::size_t>(f.N) * f.N), im(re.size());
    for (auto _ : state) {
        for (int i = 0; i < f.N; i++)
            for (int j = 0; j < f.N; j++)
                SDirect(type, rank, level, &f.labels[i * f.repSize], &f.labels[j * f.repSize],
                        &re[i * f.N + j], &im[i * f.N + j]);
        benchmark::DoNotOptimize(re.data());
        benchmark::DoNotOptimize(im.data());
    }
    state.counters["fields"] = f.N;
    state.counters["elements/s"] = benchmark::Counter(
        static_cast<double>(f.N) * f.N, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK_CAPTURE(WholeS, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, B3_level5, 2, 3, 5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, G2_level10, 5, 2, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, F4_level4, 5, 4, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, E6_level3, 5, 6, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, E6_level4, 5, 6, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, E7_level3, 5, 7, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeS, E8_level6, 5, 8, 6)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
