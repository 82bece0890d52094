// The generic standard-model search from the command, as a user runs it:
//  - "search generic_sm" on the Gepner model 122224 with invariant 36 of the symmetric,
//    permutation-free collection (40 boundaries, 12 orientifolds). Target: under 2 s.
//  - the same on 6666 with invariant 1 (1,360 boundaries, 5 orientifolds), with the boundaries
//    tried by each link as counters. Target: under 1 us per d node.
// The theory, its invariants and its open-string data are built outside the timing; each search
// runs once, cold, into a fresh output directory (a second run would only find its marker).
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "numeric/Sorting.h"
#include "search/SearchSMGeneric.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

void searchOn(benchmark::State& state, const char* code, int invariant) {
    initializeAll();
    TerminalOutputOff();
    char dir[] = "/tmp/generic-sm-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no temporary directory");
        return;
    }
    executeCommandLine((std::string("set OutputDir ") + dir).c_str());
    executeCommandLine((std::string("build cy ") + code).c_str());
    executeCommandLine("set Selection symmetric on");
    executeCommandLine("set Reject permutations on");
    executeCommandLine("collect simple_current_invariants");
    executeCommandLine(("select invariant " + std::to_string(invariant)).c_str());
    initializeOpenString();
    std::fflush(stdout);
    for (auto _ : state)
        executeCommandLine("search generic_sm");
    const GenericSearchRun& run = genericSearchRun();
    state.counters["boundaries"] = TotalBoundaries();
    state.counters["a nodes"] = static_cast<double>(run.nodes[0]);
    state.counters["b nodes"] = static_cast<double>(run.nodes[1]);
    state.counters["c nodes"] = static_cast<double>(run.nodes[2]);
    state.counters["d nodes"] = static_cast<double>(run.nodes[3]);
    state.counters["candidates"] = run.PreModelCount;
    state.counters["records"] = rowCount(getGenericSMProfiles());
    // Bytes of 10,000 records as the collection stores them (rows with their tree links).
    state.counters["MB per 10000 records"] =
        10000.0 * getGenericSMProfiles()->rowsize * sizeof(int) / 1e6;
    std::system((std::string("rm -rf ") + dir).c_str());
}

void GenericSearch122224(benchmark::State& state) {
    searchOn(state, "122224", 36);
}

void GenericSearch6666(benchmark::State& state) {
    searchOn(state, "6666", 1);
}

} // namespace

BENCHMARK(GenericSearch122224)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(GenericSearch6666)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
