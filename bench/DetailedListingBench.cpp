// The detailed open listing (gauge sector and every massless open state, per primary) of four
// stacks on the Gepner model (6,6,6,6) (9,632 fields) as "build cy 6666" makes it: should take
// under 1 s on one core. The theory, its orientifold and the annuli are built once, outside the
// timing.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/Tadpole.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

ChanPatonData* fourStacks() {
    static ChanPatonData* CPD = nullptr;
    if (CPD)
        return CPD;
    initializeAll();
    TerminalOutputOff();
    executeCommandLine("build cy 6666");
    executeCommandLine("set Super on");
    executeCommandLine("compute spectrum");
    initializeOpenString();
    const int B = TotalBoundaries();
    std::vector<int> labels, mults;
    for (int k = 0; k < 4; k++) {
        labels.push_back(k * (B / 4) + 1);
        mults.push_back(k + 1);
    }
    CPD = generateChanPatonData(4, getCurrentOrientifold(), labels.data(), mults.data());
    GenericSpectrumAnalysis(CPD, 3); // annuli filled once
    return CPD;
}

void DetailedListing(benchmark::State& state) {
    ChanPatonData* CPD = fourStacks();
    for (auto _ : state)
        GenericSpectrumAnalysis(CPD, 3);
    state.counters["fields"] = getTotalPrimaries();
}

} // namespace

BENCHMARK(DetailedListing)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
