// The open spectrum of a configuration of four stacks on the Gepner model (6,6,6,6) (9,632
// fields) as "build cy 6666" makes it, with the string reading on: "browse brane-spectrum" should
// take under 1 s on one core once the annuli come from the orbit store. The theory, its bulk
// invariant and the orientifold are built once, outside the timing.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void startGepner6666() {
    static bool started = false;
    if (started)
        return;
    started = true;
    initializeAll();
    TerminalOutputOff();
    executeCommandLine("build cy 6666");
    executeCommandLine("set Super on");
    executeCommandLine("compute spectrum");
    executeCommandLine("total boundaries");
}

// Four stacks spread over the boundary labels.
std::string fourStacks() {
    const int B = TotalBoundaries();
    std::string line = "browse brane-spectrum";
    for (int k = 0; k < 4; k++)
        line += " " + std::to_string(k * (B / 4) + 1) + ":" + std::to_string(k + 1);
    return line;
}

void BrowseFourStacks(benchmark::State& state) {
    startGepner6666();
    const std::string line = fourStacks();
    executeCommandLine(line.c_str()); // annuli and orbit store filled once
    for (auto _ : state)
        executeCommandLine(line.c_str());
    state.counters["fields"] = getTotalPrimaries();
    state.counters["boundaries"] = TotalBoundaries();
}

} // namespace

BENCHMARK(BrowseFourStacks)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
