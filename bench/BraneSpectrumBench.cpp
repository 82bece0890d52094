// The open spectrum of a configuration of four stacks on the Gepner model (6,6,6,6) (9,632
// fields, one boundary per field) as "build cy 6666" makes it, with the string reading on: the
// command "browse brane-spectrum" and the detailed listing (mode 3) should each take under 1 s on
// one core once the annuli come from the orbit store. The theory, its bulk invariant and the
// orientifold are built once, outside the timing; so is the search context the command prepares
// first, which is kept per bulk invariant.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"
#include "numeric/Sorting.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/Tadpole.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

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
constexpr int stackMultiplicities[] = {1, 2, 3, 4};

std::vector<int> stackLabels() {
    const int B = TotalBoundaries();
    return {1, B / 4 + 1, B / 2 + 1, 3 * B / 4 + 1};
}

ChanPatonData* fourStacks() {
    ChanPatonData* CPD = generateChanPatonData(4, getCurrentOrientifold(), stackLabels().data(),
                                               stackMultiplicities);
    CPD->mode = 1;
    return CPD;
}

void BrowseFourStacks(benchmark::State& state) {
    startGepner6666();
    std::ostringstream line;
    line << "browse brane-spectrum";
    const std::vector<int> labels = stackLabels();
    for (std::size_t i = 0; i < labels.size(); i++)
        line << ' ' << labels[i] << ':' << stackMultiplicities[i];
    const std::string command = line.str();
    executeCommandLine(command.c_str()); // annuli and orbit store filled once
    for (auto _ : state)
        executeCommandLine(command.c_str());
    state.counters["matter rows"] = getOpenStringRepresentations(fourStacks(), 1)->Nfill;
    state.counters["fields"] = getTotalPrimaries();
    state.counters["boundaries"] = TotalBoundaries();
}

void DetailedListingFourStacks(benchmark::State& state) {
    startGepner6666();
    GenericSpectrumAnalysis(fourStacks(), 3);
    for (auto _ : state)
        GenericSpectrumAnalysis(fourStacks(), 3);
}

} // namespace

BENCHMARK(BrowseFourStacks)->Unit(benchmark::kMillisecond);
BENCHMARK(DetailedListingFourStacks)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
