// The S-commutator check of a candidate invariant, formed from its non-zero entries: the E8-type
// invariant of the N=2 block of level 28 (1,740 fields, 1,920 entries), S read from the caches.
// Also the permutation-invariant search on A1 at level 28 and on the product (3,3,3,3,3) of "build
// cy" (4000 fields), and the search that runs every generator in turn on A1 at level 28.
#include "CYProducts.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "commands/CommandsAlgebraInvariants.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void useBlock(int type, int rank, int level) {
    static bool started = false;
    if (!started) {
        for (const char* name :
             {"Selection automorphism", "Selection symmetric", "Selection extension",
              "Invariant statistics", "Autostore", "Reject info", "ZNX_VERSION"})
            addInternalParameter(name, "OFF", 't', 0);
        addInternalParameter("Reject permutations", "ON", 't', 0);
        for (const char* name : {"MIPF random", "Invariant info_level", "loop start"})
            addInternalParameter(name, "0", 'i', 0);
        addInternalParameter("Invariant max_display", "100", 'i', 0);
        addInternalParameter("loop end", "2000000000", 'i', 0);
        initializeInvariants();
        TerminalOutputOff();
        started = true;
    }
    setCosetMode(0);
    setCurrentSD(SM_getData(type, rank, level));
    CFTChanged();
    initSMATRIX();
}

void CheckE8OfN2Block(benchmark::State& state) {
    useBlock(27, 2, 28);
    const int N = getTotalPrimaries();
    std::vector<int> Z(static_cast<std::size_t>(N) * N);
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            Z[static_cast<std::size_t>(j) * N + i] = ExceptionalModularMatrix(i, j, 6);
    int ok = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ok = checkInvariant(Z.data(), 10));
    state.counters["fields"] = N;
    state.counters["invariant"] = ok;
}

void AutomorphismsA1Level28(benchmark::State& state) {
    useBlock(1, 1, 28);
    for (auto _ : state)
        searchAutomorphisms();
}

// S is read into the caches once; each run searches afresh. With "Autostore" on, as a user runs
// it, the first run stores the diagonal invariant, D and E8 and every run multiplies them.
void AllGeneratorsA1Level28(benchmark::State& state) {
    useBlock(1, 1, 28);
    int* autostore = static_cast<int*>(getIntParPointer("Autostore"));
    *autostore = 1;
    for (auto _ : state)
        COM_find_all_inv(nullptr, 0);
    *autostore = 0;
    state.counters["stored"] = TotalInvariants();
}

void AutomorphismsOfCY33333(benchmark::State& state) {
    useBlock(1, 1, 1);
    TensorProduct* TP = cyProduct(33333);
    setInputDataChanged(TP);
    computeTensorSpectrum(TP);
    makeCurrent(TP);
    initSMATRIX();
    for (auto _ : state)
        searchAutomorphisms();
    state.counters["fields"] = getTotalPrimaries();
}

} // namespace

BENCHMARK(CheckE8OfN2Block)->Unit(benchmark::kMillisecond);
BENCHMARK(AutomorphismsA1Level28)->Unit(benchmark::kMillisecond);
BENCHMARK(AllGeneratorsA1Level28)->Unit(benchmark::kMillisecond);
BENCHMARK(AutomorphismsOfCY33333)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
