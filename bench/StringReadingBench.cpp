// Commands as a user types them, after the whole start-up, with standard output sent to
// /dev/null (the text is still formatted and written) and below a home folder of their own.
//
// String reading: "build cy CODE", "browse heterotic" and "browse type-II" of CY products, each
// in under 10 s on one core; 15411804 (the first row of the CY table, 28,539 fields and no simple
// current) is built in under 5 s. Listings: "s" and "fusion" of every pair of "build cy 33333"
// (4,000 fields) and "build cy 6666" (9,632 fields), bound by their text. Text output: the fusion
// listing of A2 at level 40 (861 fields), written and under "verify". "check modular" of
// "build cy 33333": (ST)^3 = S^2 and unitarity on every pair of 4,000 fields.
#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"

#include "Silenced.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace {

void startOnce() {
    static const bool started = [] {
        const std::string home =
            (std::filesystem::temp_directory_path() / "tarvik_bench_reading").string();
        std::filesystem::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        initializeAll();
        // As "tarvik -b": questions take their default answers.
        setBackground(1);
        return true;
    }();
    (void)started;
}

void run(std::initializer_list<std::string> lines) {
    Silenced quiet;
    for (const std::string& line : lines)
        executeCommandLine(line.c_str());
}

void StringReading(benchmark::State& state, const char* code) {
    startOnce();
    for (auto _ : state)
        run({std::string("build cy ") + code, "browse heterotic", "browse type-II"});
}

void BrowseHeterotic(benchmark::State& state, const char* code) {
    startOnce();
    run({std::string("build cy ") + code});
    for (auto _ : state)
        run({"browse heterotic"});
}

void BuildOnly(benchmark::State& state, const char* code) {
    startOnce();
    for (auto _ : state)
        run({std::string("build cy ") + code});
}

// The listing of every pair; the theory and its S are made once, outside the timing.
void Listing(benchmark::State& state, const char* build, const char* command) {
    startOnce();
    run({build, "s 0 0"});
    for (auto _ : state)
        run({command});
}

} // namespace

// First, while the start-up leaves the program in single algebra mode.
BENCHMARK_CAPTURE(Listing, fusion_A2_40, "algebra a 2 40", "fusion")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Listing, verify_fusion_A2_40, "algebra a 2 40", "verify fusion")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

BENCHMARK_CAPTURE(StringReading, 33333, "33333")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(StringReading, 1544481, "1544481")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(StringReading, 1549236, "1549236")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(StringReading, 1542922, "1542922")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(StringReading, 15411804, "15411804")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BrowseHeterotic, 158282, "158282")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BuildOnly, 15411804, "15411804")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Listing, s_33333, "build cy 33333", "s")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Listing, fusion_33333, "build cy 33333", "fusion")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Listing, check_modular_33333, "build cy 33333", "check modular")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Listing, s_6666, "build cy 6666", "s")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Listing, fusion_6666, "build cy 6666", "fusion")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
