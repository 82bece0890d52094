// The boundary search on the E8 invariant of su(2) at level 28 with its standard Klein bottle:
// the squeezed enumeration of the diagonal annulus vectors over the free columns, in the two
// passes A^0 = 1 and A^0 = 0, and the assembly of the candidates it finds.
#include "BoundaryBench.h"
#include "Silenced.h"

#include "base/Error.h"
#include "boundary/CrossBoundInternal.h"
#include "boundary/CrossBoundSearch.h"
#include "numeric/Loops.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

std::unique_ptr<BulkInvariant> E8;

void makeE8Current() {
    if (E8)
        return;
    boundarybench::startModule();
    TerminalOutputOff();
    boundarybench::makeCurrent(1, 1, 28);
    E8 = boundarybench::makeExceptionalCurrent(3);
    Silenced quiet;
    initializeOpenString();
}

long long points = 0;

int countedCandidate(int N, int* loop, void* data) {
    points++;
    return testCandidateBoundary(N, loop, data);
}

struct Passes {
    long long points[2] = {0, 0};
    double box = 1.0; // points of the unsqueezed loops of one pass
    int freeColumns = 0;
};

// The enumeration of "search boundaries" without a loop limit: every free column up to its
// absolute maximum, the vacuum entry fixed to 1, then to 0.
Passes enumerate() {
    const int N = getTotalPrimaries();
    initiateIshibashiOrthogonalSpace(nullptr);
    const int* absmax = getAbsMax();
    std::vector<int> loops(3 * static_cast<std::size_t>(N), 0);
    int *Min = loops.data(), *Max = Min + N, *Loop = Min + 2 * N;
    Passes p;
    for (int i = 0; i < N; i++)
        if (SBI.tagged[i] == -1) {
            Max[i] = absmax[i];
            if (i > 0) {
                p.box *= Max[i] + 1;
                p.freeColumns++;
            }
        }
    testCandidateBoundary(N, nullptr, &SBI);
    for (int pass = 0; pass < 2; pass++) {
        Min[0] = Max[0] = 1 - pass;
        NimSqueeze(N, -1, nullptr, nullptr, nullptr, nullptr, nullptr, &SBI);
        points = 0;
        NestedLoops(N, Min, Max, Loop, &SBI, NimSqueeze, countedCandidate);
        p.points[pass] = points;
    }
    return p;
}

void freshStore() {
    Silenced quiet;
    resetBoundaries();
    freeCompleteBoundarySet(&completeBS);
    initializeOpenString();
}

void SqueezedEnumerationE8(benchmark::State& state) {
    makeE8Current();
    Passes p;
    for (auto _ : state) {
        state.PauseTiming();
        freshStore();
        state.ResumeTiming();
        p = enumerate();
    }
    state.counters["free_columns"] = p.freeColumns;
    state.counters["points_pass1"] = static_cast<double>(p.points[0]);
    state.counters["points_pass2"] = static_cast<double>(p.points[1]);
    state.counters["box"] = p.box;
    state.counters["candidates"] = BoundCandCount;
}

void AssembleE8(benchmark::State& state) {
    makeE8Current();
    freshStore();
    enumerate();
    for (auto _ : state) {
        state.PauseTiming();
        freeCompleteBoundarySet(&completeBS);
        state.ResumeTiming();
        Silenced quiet;
        assembleBoundarySet(0);
    }
    state.counters["candidates"] = BoundCandCount;
    int stored = 0;
    for (const CompleteBoundarySet* s = completeBS.get(); s; s = s->next.get())
        stored++;
    state.counters["complete_sets"] = stored;
}

// The whole of "search boundaries 9" with capacity 2: both passes, the assembly of the 255
// combinations and the comparison, with the peak resident size of the process.
void SearchBoundariesE8(benchmark::State& state) {
    makeE8Current();
    if (crossbound_internal::BoundarySearchCapacity)
        *crossbound_internal::BoundarySearchCapacity = 2;
    for (auto _ : state) {
        Silenced quiet;
        attemptBoundaries(9);
    }
    int stored = 0;
    for (const CompleteBoundarySet* s = completeBS.get(); s; s = s->next.get())
        stored++;
    state.counters["candidates"] = BoundCandCount;
    state.counters["complete_sets"] = stored;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["capacity"] = crossbound_internal::BoundarySearchCapacity
                                     ? *crossbound_internal::BoundarySearchCapacity
                                     : 0;
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

BENCHMARK(SearchBoundariesE8)->Unit(benchmark::kMillisecond);
BENCHMARK(SqueezedEnumerationE8)->Unit(benchmark::kMillisecond);
BENCHMARK(AssembleE8)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
