// The open spectrum of a configuration of four stacks on the Gepner model (6,6,6,6) (9,632
// fields, one boundary per field) as "build cy 6666" makes it, with the string reading on: the
// report of "browse brane-spectrum" should take under 1 s on one core once the annuli come from
// the orbit store. The theory, its bulk invariant and the orientifold are built once, outside the
// timing; so is the search context the command prepares first, which is kept per bulk invariant.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"
#include "numeric/Sorting.h"
#include "string/OpenSpectrum.h"
#include "string/Tadpole.h"

#include <benchmark/benchmark.h>

namespace {

void startGepner6666() {
    static bool started = false;
    if (started)
        return;
    started = true;
    initializeAll();
    TerminalOutputOff();
    executeCommandLine("build cy 6666");
    initializeOpenString();
}

// Four stacks spread over the boundary labels.
ChanPatonData* fourStacks() {
    const int B = TotalBoundaries();
    const int labels[] = {1, B / 4 + 1, B / 2 + 1, 3 * B / 4 + 1};
    const int mults[] = {1, 2, 3, 4};
    ChanPatonData* CPD = generateChanPatonData(4, getCurrentOrientifold(), labels, mults);
    CPD->mode = 1;
    return CPD;
}

void BrowseFourStacks(benchmark::State& state) {
    startGepner6666();
    GeneralOpenSectorAnalysis(fourStacks()); // annuli and orbit store filled once
    for (auto _ : state)
        GeneralOpenSectorAnalysis(fourStacks());
    state.counters["matter rows"] = getOpenStringRepresentations(fourStacks(), 1)->Nfill;
    state.counters["fields"] = getTotalPrimaries();
    state.counters["boundaries"] = TotalBoundaries();
}

} // namespace

BENCHMARK(BrowseFourStacks)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
