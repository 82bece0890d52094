// The evaluation of a counted heterotic spectrum as a candidate standard model (charge quanta,
// anomalies, exotics, net family count), the canonical form of gauge-algebra patterns, and the
// result files ".heterotic", ".origin", ".algebra" and ".AlgebraList" with their reload.
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "modular/Invariants.h"
#include "modular/ModularFileNames.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "string/Heterotic.h"
#include "string/HeteroticInternal.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace heterotic_internal;

namespace {

int reportCounter = 0;
std::array<int, MaxNames> repCounts{};
GuardedArray<int> NewPattern{"NewPattern"};

int NF() {
    return setup.NF;
}

// Right label p of RepCount row r; a label beyond the NF right labels reads as 0.
int rightLabel(int r, int p) {
    return p < NF() ? rowOf(&RepCount, r)[NF() + p] : 0;
}

void setRightLabel(int r, int p, int value) {
    if (p < NF())
        rowOf(&RepCount, r)[NF() + p] = value;
}

// The first SM right labels of row r.
std::vector<int> particleLabels(int r) {
    std::vector<int> v(static_cast<std::size_t>(setup.SM));
    for (int p = 0; p < setup.SM; p++)
        v[static_cast<std::size_t>(p)] = rightLabel(r, p);
    return v;
}

int namedPosition(const char* name) {
    for (int i = 0; i < setup.R; i++)
        if (Names[static_cast<std::size_t>(i)] == name)
            return i;
    return -1;
}

int compareRows(int size, int* a, int* b) {
    return compareVec(size, a, b);
}

// Counts of the four anomaly families, in the order they are printed.
struct AnomalySums {
    int colour = 0, y3 = 0, z3 = 0;
    std::array<int, 6> mixed{};
    int ty = 0, tz = 0;
};

AnomalySums anomalySums() {
    AnomalySums s;
    for (int r = 0; r < rowCount(&RepCount); r++) {
        const int a = rightLabel(r, 0), b = rightLabel(r, 1);
        int y = rightLabel(r, 2), z = rightLabel(r, 3);
        if (y > 15)
            y -= 30;
        if (z > 10)
            z -= 20;
        int m = countOf(&RepCount, r);
        if (a == 1 || a == 2)
            m *= 3;
        if (b == 1)
            m *= 2;
        if (a == 1)
            s.colour += m / 3;
        if (a == 2)
            s.colour -= m / 3;
        s.y3 += m * y * y * y;
        s.z3 += m * z * z * z;
        if (a != 0) {
            s.mixed[0] += m * y / 3;
            s.mixed[1] += m * z / 3;
        }
        if (b != 0) {
            s.mixed[2] += m * y / 2;
            s.mixed[3] += m * z / 2;
        }
        s.mixed[4] += m * y * y * z;
        s.mixed[5] += m * y * z * z;
        s.ty += m * y;
        s.tz += m * z;
    }
    return s;
}

std::string outputName(const char* postfix) {
    return getCurrentOutputFileName(postfix);
}

// The integers of one line; false when some item is not an integer.
bool integersOf(const std::string& line, std::vector<int>& values) {
    values.clear();
    std::istringstream in(line);
    std::string item;
    while (in >> item) {
        char* end = nullptr;
        const long v = std::strtol(item.c_str(), &end, 10);
        if (*end != '\0')
            return false;
        values.push_back(static_cast<int>(v));
    }
    return true;
}

// Calls take(values) for every line of `length` integers; other lines are skipped with a warning.
template <class Take>
void readLines(const char* postfix, int position, std::size_t length, Take take) {
    const std::string fn = outputName(postfix);
    std::ifstream in(convertFileName(fn.c_str()));
    if (!in)
        return;
    std::string line;
    std::vector<int> values;
    int number = 0;
    while (std::getline(in, line)) {
        number++;
        if (!integersOf(line, values) || values.size() != length) {
            if (!values.empty() || !line.empty())
                Alert("readResultFiles", position, 100218,
                      "Line %d of \"%s\" skipped: %zu integers where %zu belong", number,
                      fn.c_str(), values.size(), length);
            continue;
        }
        take(values);
    }
}

void appendOrigin(int sequence) {
    FILE* f = Fopen(outputName(".origin").c_str(), "a");
    if (!f)
        return;
    std::fprintf(f, "%5d    ", sequence);
    const int NT = HeteroticFilterGenerators.id_size;
    for (int g = 0; g < rowCount(&HeteroticFilterGenerators); g++) {
        for (int k = 0; k < NT; k++)
            std::fprintf(f, "%3d ", rowOf(&HeteroticFilterGenerators, g)[k]);
        std::fprintf(f, "      ");
    }
    std::fprintf(f, "\n");
    Fclose(f);
}

void writeAlgebraList() {
    FILE* f = Fopen(outputName(".AlgebraList").c_str(), "w");
    if (!f)
        return;
    const int n = PatternAlgebra.id_size;
    for (int i = 0; i < rowCount(&PatternAlgebra); i++) {
        std::fprintf(f, "%5d ", i);
        for (int k = 0; k < n; k++)
            std::fprintf(f, "%2d ", rowOf(&PatternAlgebra, i)[k]);
        std::fprintf(f, "\n");
    }
    Fclose(f);
}

// The roots of a new algebra with their multiplicities, to the terminal and to ".algebra".
void recordNewAlgebra(const int* canon, int before, int D, int n) {
    Print("New algebra %d, dimension %d; nr.  %d\n", before, D, n);
    FILE* f = Fopen(outputName(".algebra").c_str(), "a");
    if (f)
        std::fprintf(f, "New algebra %d, dimension %d; nr. %d\n", before, D, n);
    for (int k = 0; k < rowCount(&PatternRoots); k++) {
        if (canon[k] == 0)
            continue;
        std::string line = "dim " + std::to_string(canon[k]) + "   (";
        const int* root = rowOf(&PatternRoots, k);
        for (int p = 0; p <= NF(); p++)
            line += std::to_string(root[p]) + (p < NF() ? "," : ")\n");
        std::fputs(line.c_str(), stdout);
        if (f)
            std::fputs(line.c_str(), f);
    }
    if (f)
        Fclose(f);
    writeAlgebraList();
}

// Chiral exotics at quantum 6: the counts are written first; a background run ends, an
// interactive one stops the command.
int stopForExotics() {
    writeHeteroticFile();
    if (getBackground()) {
        std::fflush(stdout);
        std::exit(1);
    }
    Alert("evaluateSpectrum", 0, 100302,
          "Exotics in a correctly quantized theory; \"compute filter\" stopped");
    return -5;
}

void enterExoticsRecord(int quantum) {
    std::vector<int> row(static_cast<std::size_t>(setup.R) + 7, 0);
    row[static_cast<std::size_t>(setup.R) + 2] = quantum;
    row[static_cast<std::size_t>(setup.R) + 6] = -1;
    enterCounted(&Spectra, row.data(), 1);
}

} // namespace

// ============================================================ Anomalies and exotics

int GSC_computeAnomalies(int output) {
    const AnomalySums s = anomalySums();
    if (output) {
        std::printf("Anomalies: %d %d %d\n", s.colour, s.y3, s.z3);
        std::printf("Mixed Anomalies: %d %d %d %d %d %d\n", s.mixed[0], s.mixed[1], s.mixed[2],
                    s.mixed[3], s.mixed[4], s.mixed[5]);
        std::printf("Traces: %d %d\n", s.ty, s.tz);
    }
    bool free = s.colour == 0 && s.y3 == 0 && s.z3 == 0 && s.ty == 0 && s.tz == 0;
    for (int m : s.mixed)
        free = free && m == 0;
    return free ? 1 : 0;
}

int computeChargeQuanta(int* quanta) {
    quanta[0] = quanta[1] = 30;
    int colour = 0;
    for (int r = 0; r < rowCount(&RepCount); r++) {
        const int a = rightLabel(r, 0), b = rightLabel(r, 1), y = rightLabel(r, 2);
        quanta[0] = GCD(quanta[0], std::abs(2 * a + y + 3 * b));
        quanta[1] = GCD(quanta[1], std::abs(3 * b - 2 * a + y));
        if (a != 0)
            colour = 1;
    }
    return colour;
}

int findExotics(TensorProduct* TP, int* TotExotics) {
    const int n = rowCount(&RepCount);
    std::vector<char> marked(static_cast<std::size_t>(n), 0);
    std::vector<int> conj(static_cast<std::size_t>(setup.SM));
    int chiral = 0, total = 0;
    bool unnamed = false;
    for (int r = 0; r < n; r++) {
        const std::vector<int> labels = particleLabels(r);
        if (namedRepresentation(labels.data()) >= 0)
            continue;
        unnamed = true;
        if (marked[static_cast<std::size_t>(r)])
            continue;
        conjugateLabels(TP, setup.SM, labels.data(), conj.data());
        int s1 = 0, s2 = 0;
        for (int t = 0; t < n; t++) {
            const std::vector<int> other = particleLabels(t);
            if (other == labels) {
                s1 += countOf(&RepCount, t);
                marked[static_cast<std::size_t>(t)] = 1;
            }
            if (std::equal(other.begin(), other.end(), conj.begin())) {
                s2 += countOf(&RepCount, t);
                marked[static_cast<std::size_t>(t)] = 1;
            }
        }
        chiral += std::abs(s1 - s2);
        total += std::abs(s1 + s2);
    }
    *TotExotics = total;
    return !unnamed && chiral == 0 ? -1 : chiral;
}

// ============================================================ Reports and files

void GSC_printSpectrum(SCData*, int Quantum, int Exotics, int TotExotics, int GUT, int TotDim) {
    reportCounter++;
    const int R = setup.R;
    std::fill(repCounts.begin(), repCounts.end(), 0);
    for (int r = 0; r < rowCount(&RepCount); r++) {
        const int i = namedRepresentation(particleLabels(r).data());
        if (i >= 0 && i < R)
            repCounts[static_cast<std::size_t>(i)] += countOf(&RepCount, r);
    }
    if (Exotics < 1) {
        const int q = namedPosition("Q"), qbar = namedPosition("Q*");
        const int net = (q >= 0 ? repCounts[static_cast<std::size_t>(q)] : 0) -
                        (qbar >= 0 ? repCounts[static_cast<std::size_t>(qbar)] : 0);
        Print("NET FAMILY COUNT: %d\n", net);
        std::vector<int> row(static_cast<std::size_t>(R) + 7);
        row[0] = std::abs(net);
        std::copy_n(repCounts.begin(), R, row.begin() + 1);
        const std::size_t at = static_cast<std::size_t>(R);
        row[at + 1] = TotExotics;
        row[at + 2] = Quantum;
        row[at + 3] = GUT;
        row[at + 4] = TotDim;
        row[at + 5] = rowCount(&HeteroticFilterGenerators);
        row[at + 6] = rowCount(&Spectra);
        bool isNew = false;
        const int r = enterCounted(&Spectra, row.data(), 1, &isNew);
        if (isNew || reportCounter % 100 == 0) {
            writeHeteroticFile();
            appendOrigin(rowOf(&Spectra, r)[at + 6]);
        }
    }
    std::printf("Charge quantum %d\n", Quantum);
}

void heterotic_internal::writeHeteroticFile() {
    const int values = setup.R + 7;
    int normal = 0, exotic = 0;
    for (int r = 0; r < rowCount(&Spectra); r++)
        (rowOf(&Spectra, r)[values - 1] == -1 ? exotic : normal) += countOf(&Spectra, r);
    FILE* f = Fopen(outputName(".heterotic").c_str(), "w");
    if (f) {
        const int* order = OrderVectorCollection(&Spectra, compareRows);
        for (int i = 0; i < rowCount(&Spectra); i++) {
            const int* row = rowOf(&Spectra, order[i]);
            for (int k = 0; k < values; k++)
                std::fprintf(f, "%5d ", row[k]);
            std::fprintf(f, "%10d \n", countOf(&Spectra, order[i]));
        }
        Fclose(f);
    }
    Print("File written; Models with non-chiral fractional charges: %d; With fractional charges: "
          "%d\n",
          normal, exotic);
}

void heterotic_internal::readResultFiles() {
    const std::size_t values = static_cast<std::size_t>(setup.R) + 7;
    readLines(".heterotic", 0, values + 1, [&](std::vector<int>& record) {
        printVec(static_cast<int>(record.size()), record.data(), "reading");
        enterCounted(&Spectra, record.data(), record[values]);
    });
    const std::size_t roots = static_cast<std::size_t>(PatternAlgebra.id_size);
    readLines(".AlgebraList", 1, roots + 1,
              [&](std::vector<int>& line) { enterCounted(&PatternAlgebra, line.data() + 1, 1); });
}

// ============================================================ Gauge algebras

int* optimizedPattern(TensorProduct* TP, int* pattern) {
    const int n = rowCount(&PatternRoots);
    int* best = NewPattern.reserve(std::max(n, 1));
    copyVec(n, best, pattern);
    std::vector<int> moved(static_cast<std::size_t>(n)), root(static_cast<std::size_t>(NF()) + 1);
    for (const std::vector<int>& flips : {std::vector<int>{2}, {3}, {2, 3}}) {
        bool identity = false;
        for (int f : flips)
            identity = identity || f >= NF();
        std::fill(moved.begin(), moved.end(), 0);
        for (int k = 0; k < n; k++) {
            if (pattern[k] == 0)
                continue;
            std::copy_n(rowOf(&PatternRoots, k), NF() + 1, root.begin());
            if (!identity)
                for (int f : flips)
                    root[static_cast<std::size_t>(f)] =
                        SM_getConjugate(TP->TensorFactors[f], root[static_cast<std::size_t>(f)]);
            const int to = findRow(&PatternRoots, root.data());
            moved[static_cast<std::size_t>(to >= 0 ? to : k)] = pattern[k];
        }
        if (compareVec(n, moved.data(), best) < 0)
            copyVec(n, best, moved.data());
    }
    return best;
}

int heterotic_internal::recordGaugeAlgebra(TensorProduct* TP, const int* pattern, int D) {
    const int n = rowCount(&PatternRoots);
    std::vector<int> canon(static_cast<std::size_t>(std::max(n, 1)), 0);
    std::vector<int> given(pattern, pattern + n);
    copyVec(n, canon.data(), optimizedPattern(TP, given.data()));
    canon[0] = 0;
    const int before = rowCount(&PatternAlgebra);
    bool isNew = false;
    const int number = enterCounted(&PatternAlgebra, canon.data(), 1, &isNew);
    if (isNew)
        recordNewAlgebra(canon.data(), before, D, number);
    return number;
}

// ============================================================ Evaluation

int heterotic_internal::evaluateSpectrum(SCData* MD, int algebra, int D) {
    std::array<int, 2> quanta{};
    const int colour = computeChargeQuanta(quanta.data());
    if (unificationFlag)
        for (int& q : quanta)
            if (q == 6)
                q = 0;
    TensorProduct* TP = static_cast<FilterContext*>(MD->DataPointer)->TP;
    int exotics = 0, totExotics = 0;
    for (int pass = 0; pass <= colour; pass++) {
        const int q = quanta[static_cast<std::size_t>(pass)];
        if (pass == 1)
            for (int r = 0; r < rowCount(&RepCount); r++)
                setRightLabel(r, 0, mod(-rightLabel(r, 0), 3));
        if (!GSC_computeAnomalies(0)) {
            Print("Anomalies!\n");
            GSC_printSpectrum(MD, q, exotics, totExotics, algebra, D);
        }
        const int chiral = findExotics(TP, &totExotics);
        exotics = std::max(chiral, 0);
        if (chiral > 0) {
            enterExoticsRecord(q);
            if (q != 6)
                continue;
            Print("Exotics in correctly quantized theory!\n");
            GSC_printSpectrum(MD, 6, 1, totExotics, algebra, D);
            return stopForExotics();
        }
        Print(pass == 0 ? "--- Spectrum --------------------\n"
                        : "--- Spectrum (color flipped) ----\n");
        GSC_printSpectrum(MD, q, 0, totExotics, algebra, D);
    }
    return 0;
}
