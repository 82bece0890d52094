// One row of P of "build cy 33333" (4,000 fields), as a new theory meets it: every cache of the
// current theory made again first. The vacuum's row, that of field 1, and that of the last field,
// whose pairs with every smaller label are kept in the rows of the other fields. Target: under
// 1 s.
#include "base/Error.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Row files, if any, go below a scratch output directory, removed at the end.
struct Gepner {
    std::string dir;
    Gepner() {
        char pattern[] = "/tmp/tarvik_gepnerp_XXXXXX";
        dir = mkdtemp(pattern);
        initializeAll();
        TerminalOutputOff();
        executeCommandLine(("set OutputDir " + dir).c_str());
        executeCommandLine("build cy 33333");
    }
    ~Gepner() { std::filesystem::remove_all(dir); }
};

// A negative row counts from the end.
void PRow(benchmark::State& state, int row) {
    static Gepner model;
    const int N = getTotalPrimaries();
    if (row < 0)
        row += N;
    for (auto _ : state) {
        CFTChanged();
        double sum = 0.0;
        for (int b = 0; b < N; b++) {
            double re, im;
            compP(row, b, &re, &im);
            sum += re;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["fields"] = N;
}

} // namespace

BENCHMARK_CAPTURE(PRow, cy33333_row0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PRow, cy33333_row1, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PRow, cy33333_lastRow, -1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
