// Storing many distinct invariants of a large theory and finding each of them again: the store
// must not compare a new invariant with every stored one field by field. The theory is su(2) at
// level 999 (1000 fields); invariant k exchanges the partners of one pair of fields, a different
// pair for each k.
//
// Each stored copy of a 1000-field invariant holds about 24 kB, so 10,000 of them touch some
// 250 MB. Freed memory stays with the process here, as in a long search that stores as it goes;
// the "Cold" runs hand it back to the system before each pass, and "TouchSameMemory" measures
// what allocating and clearing that memory alone costs on the machine.
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int Level = 999;

std::vector<std::pair<int, int>> distinctPairs(int N, int count) {
    std::vector<std::pair<int, int>> pairs;
    for (int a = 1; a < N && static_cast<int>(pairs.size()) < count; a++)
        for (int b = a + 1; b < N && static_cast<int>(pairs.size()) < count; b++)
            pairs.emplace_back(a, b);
    return pairs;
}

// Stores (or finds) the invariant that exchanges the partners of a and b.
BulkInvariant* storeExchange(BulkInvariant* z, std::pair<int, int> p) {
    std::swap(z->orbits[p.first][0], z->orbits[p.second][0]);
    BulkInvariant* result = storeBulkInvariant(nullptr, z, 1, 0);
    std::swap(z->orbits[p.first][0], z->orbits[p.second][0]);
    return result;
}

void storeAndFindAgain(benchmark::State& state, bool cold) {
    SpectrumData* sd = SM_getData(1, 1, Level);
    setCosetMode(0);
    setCurrentSD(sd);
    const int count = static_cast<int>(state.range(0));
    const std::vector<std::pair<int, int>> pairs = distinctPairs(sd->Nprimaries, count);
    std::unique_ptr<BulkInvariant> z(allocNewBulkInvariant(nullptr));
    z->trivial = z->simpleCurrentInvariant = 0;
    if (!cold) // one untimed pass leaves the memory with the process
        for (const auto& p : pairs)
            storeExchange(z.get(), p);
    for (auto _ : state) {
        state.PauseTiming();
        resetInvariantStore();
        if (cold)
            malloc_trim(0);
        state.ResumeTiming();
        for (const auto& p : pairs)
            if (storeExchange(z.get(), p) != z.get())
                state.SkipWithError("a distinct invariant was found stored");
        for (const auto& p : pairs)
            if (storeExchange(z.get(), p) == z.get())
                state.SkipWithError("a stored invariant was stored again");
    }
    resetInvariantStore();
    state.counters["fields"] = sd->Nprimaries;
    state.counters["invariants"] = count;
}

void StoreAndFindAgain(benchmark::State& state) {
    storeAndFindAgain(state, false);
}

void StoreAndFindAgainCold(benchmark::State& state) {
    storeAndFindAgain(state, true);
}

// The memory of count stored 1000-field records, allocated and cleared.
void TouchSameMemory(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const std::size_t sizes[] = {4000 * sizeof(int), 1000 * sizeof(int*), 300 * sizeof(int)};
    std::vector<void*> blocks;
    for (auto _ : state) {
        state.PauseTiming();
        for (void* b : blocks)
            std::free(b);
        blocks.clear();
        malloc_trim(0);
        state.ResumeTiming();
        for (std::size_t k = 0; k < count; k++)
            for (std::size_t size : sizes) {
                blocks.push_back(std::malloc(size));
                std::memset(blocks.back(), 0, size);
            }
    }
    for (void* b : blocks)
        std::free(b);
}

} // namespace

BENCHMARK(StoreAndFindAgain)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreAndFindAgainCold)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(TouchSameMemory)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Freed blocks stay with the process, so that a pass reuses what the one before gave back.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
