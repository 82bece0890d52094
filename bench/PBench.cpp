// P of the current theory and the row files of large theories.
//
// - EveryPElement: every P(i,j) of a freshly computed theory through compP, as "check pmat" asks
//   for them (the target: A2 level 20, 231 fields, under half a second).
// - SetUpAndOneS: a fresh theory, its S prepared and one element asked, as "algebra a 1 k; s 0 1"
//   does: A1 levels 9997 (4999 orbits, rows in memory), 9999 (5000 orbits, rows in files) and
//   19999, so that the growth with the number of fields can be read off. The block's own cache
//   of S on orbits (half the square of the orbit count in doubles) is made by the first
//   iteration only and is not part of the later ones.
// - FilePRow: one row of P of A1 level 9999 from orbit rows kept in files: cold (every S row
//   computed and written), then as a second process finds them (read back).
// - FileFusion: "fusion 0 1 1" of A1 level 9999 from orbit rows kept in files, cold; the counter
//   "row files" tells how many rows it brought in.
// - FileProduct: the listing of one product, "fusion 2 2" (Dynkin labels 1 x 1 = 0 + 2), of A1
//   level 9998 (5000 orbits, those of even labels the half that 1 x 1 may contain) from orbit rows
//   kept in files, cold, with the same counter.
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

SpectrumData* fresh(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    return sd;
}

// A scratch output directory for the row files, removed at the end.
struct Scratch {
    std::string path;
    Scratch() {
        char pattern[] = "/tmp/tarvik_pbench_XXXXXX";
        path = mkdtemp(pattern);
        addInternalParameter("OutputDir", path.c_str(), 's', 1);
        // Rows of A1 level 19999 take about 3 GB, and the benchmarks measure them on disk.
        addInternalParameter("S_matrix maxdisk", "100000", 'i', 0);
        for (const char* name : {"Use_orbits", "S_matrix maxsize", "Init_debug", "Fusion sumcheck",
                                 "High_precision", "Super"})
            if (!findInternalParameter(name))
                addInternalParameter(name, "0", 'i', 0);
        setIntPar("Use_orbits", 2);
        setIntPar("S_matrix maxsize", 400);
        initializeModular();
    }
    ~Scratch() { std::filesystem::remove_all(path); }
    void empty() const {
        for (const auto& entry : std::filesystem::directory_iterator(path))
            std::filesystem::remove_all(entry.path());
    }
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

void EveryPElement(benchmark::State& state, int type, int rank, int level) {
    SpectrumData* sd = fresh(type, rank, level);
    const int N = sd->Nprimaries;
    for (auto _ : state) {
        // A new theory whose S is not known anywhere: the block's own orbit cache goes too.
        SM_allocSBase(sd);
        CFTChanged();
        double sum = 0.0;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++) {
                double re, im;
                compP(i, j, &re, &im);
                sum += re;
            }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["fields"] = N;
}

void SetUpAndOneS(benchmark::State& state, int level) {
    scratch();
    SpectrumData* sd = fresh(1, 1, level);
    for (auto _ : state) {
        state.PauseTiming();
        scratch().empty();
        state.ResumeTiming();
        CFTChanged();
        initSMATRIX();
        double re, im;
        compS(0, 1, &re, &im);
        benchmark::DoNotOptimize(re);
    }
    state.counters["fields"] = sd->Nprimaries;
    state.counters["orbits"] = getNOrbit();
}

// Row of P of the vacuum's orbit: column b is P(0, b).
double pRow(int N) {
    double sum = 0.0;
    for (int b = 0; b < N; b++) {
        double re, im;
        compP(0, b, &re, &im);
        sum += re;
    }
    writePOrbits();
    return sum;
}

void FilePRow(benchmark::State& state, bool filesThere) {
    scratch();
    SpectrumData* sd = fresh(1, 1, 9999);
    for (auto _ : state) {
        state.PauseTiming();
        scratch().empty();
        if (filesThere) {
            CFTChanged();
            initSMATRIX();
            pRow(sd->Nprimaries);
        }
        // The block's own orbit cache goes as well: a new process starts without it.
        SM_allocSBase(sd);
        state.ResumeTiming();
        CFTChanged();
        initSMATRIX();
        benchmark::DoNotOptimize(pRow(sd->Nprimaries));
    }
    state.counters["fields"] = sd->Nprimaries;
    state.counters["orbits"] = getNOrbit();
}

double rowFiles() {
    long files = 0;
    for (const auto& dir : std::filesystem::directory_iterator(scratch().path))
        if (dir.path().extension() == ".sdir")
            for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
                files += entry.path().filename() != "identity";
    return static_cast<double>(files);
}

// A computation of A1 at level from orbit rows kept in files, each time cold: no row file, and not
// even the block's own orbit cache; the counter "row files" tells how many rows it brought in.
template <class F> void coldFromRowFiles(benchmark::State& state, int level, F&& compute) {
    scratch();
    SpectrumData* sd = fresh(1, 1, level);
    for (auto _ : state) {
        state.PauseTiming();
        scratch().empty();
        SM_allocSBase(sd);
        state.ResumeTiming();
        CFTChanged();
        compute();
    }
    state.counters["row files"] = rowFiles();
}

void FileFusion(benchmark::State& state) {
    int n = -1;
    coldFromRowFiles(state, 9999, [&] { n = fusion(0, 1, 1, 0); });
    if (n != 1)
        state.SkipWithError("N_01^1 of su(2) is 1");
}

void FileProduct(benchmark::State& state) {
    std::vector<char> text(1000);
    std::string product;
    coldFromRowFiles(state, 9998,
                     [&] { product.assign(text.data(), compF(text.data(), 2, 2, 0)); });
    if (product != "(2) x (2) =  (0)  + (4) \n\n")
        state.SkipWithError(("1 x 1 = 0 + 2 in su(2), not " + product).c_str());
}

} // namespace

BENCHMARK_CAPTURE(EveryPElement, A1_level100, 1, 1, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryPElement, A2_level10, 1, 2, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EveryPElement, A2_level20, 1, 2, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SetUpAndOneS, A1_level9997, 9997)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SetUpAndOneS, A1_level9999, 9999)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SetUpAndOneS, A1_level19999, 19999)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK_CAPTURE(FilePRow, A1_level9999_cold, false)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(FilePRow, A1_level9999_read, true)->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK(FileFusion)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(FileProduct)->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK_MAIN();
