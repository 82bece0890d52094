// Galois symmetry of the S-matrix: a scale l acts on the primaries by taking l (lambda + rho)
// back into the fundamental alcove at level k + g, with the sign of the Weyl element used.
// Also the algebra of signed maps and their printers.
#include "lie/Galois.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "lie/Solve.h"
#include "lie/Tarvik.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

AllocCount GaloisCount = ALLOC_COUNTER("Galois");

// The image, the working vector and a copy of the image, rank + 1 ints each.
GuardedArray<int> trep{"trep", &GaloisCount};
// The coroot-lattice multiples that WeylShift subtracts.
GuardedArray<int> shift{"shift", &GaloisCount};

// GaloisOrbits: the marks of the generated units, then the generator list.
constexpr int MaxGenerators = 32;
GuardedArray<int> Galois_Orbits{"Galois_Orbits", &GaloisCount};
int LastModulus = 0;
int GeneratorCount = 0;

// A folding that runs this long can only come from inconsistent Cartan data.
constexpr int MaxReflections = 10000000;

int imageOf(int entry) {
    return std::abs(entry) - 1;
}

char* put(char* at, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
char* put(char* at, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    const int n = std::vsprintf(at, fmt, ap);
    va_end(ap);
    return at + n;
}

// Reflects the extended vector v (rank + 1 labels, level K) into the fundamental alcove;
// the number of reflections, -1 when the folding does not end.
int foldIntoAlcove(int rank, int* v) {
    const int* CM = getCM();
    const int size = rank + 1;
    int reflections = 0;
    bool reflected = true;
    while (reflected) {
        reflected = false;
        for (int i = 0; i < size; i++) {
            if (v[i] >= 0)
                continue;
            const int c = v[i];
            for (int j = 0; j < size; j++)
                v[j] -= c * CM[j + i * size];
            reflected = true;
            if (++reflections > MaxReflections)
                return -1;
        }
    }
    return reflections;
}

bool sameWeight(const int* w_num, int w_den, int a, int b) {
    const int diff = w_num[a] - w_num[b];
    return w_den == 0 ? diff == 0 : diff % w_den == 0;
}

// Closes the generated set under the new generator s of length n and records, per element,
// its exponents in the generators.
void closeUnderGenerator(int modul, int* marks, int* exponents, int s, int n, int index) {
    std::vector<int> generated;
    for (int e = 0; e < modul; e++)
        if (marks[e])
            generated.push_back(e);
    for (int e : generated) {
        std::int64_t p = e;
        for (int j = 1; j < n; j++) {
            p = p * s % modul;
            marks[p] = 1;
            int* row = exponents + p * MaxGenerators;
            const int* from = exponents + static_cast<std::int64_t>(e) * MaxGenerators;
            std::copy(from, from + MaxGenerators, row);
            row[index] = j;
        }
    }
}

// Follows the cycle of start in a Galois permutation and writes it; false when the text of
// this start is erased (cycle written from a smaller start, or no image).
struct CycleText {
    bool closed = false;
    bool differs = false;
    bool negativePrinted = false;
};

CycleText writeGaloisCycle(char*& at, int Nprim, const int* w_num, int w_den, int start,
                           const int* Orbit) {
    CycleText c;
    char* begin = at;
    at = put(at, "(%d", start);
    int current = start;
    int sign = 1;
    for (int steps = 0; steps <= Nprim; steps++) {
        const int entry = Orbit[current];
        const int next = imageOf(entry);
        if (entry == 0 || next >= Nprim || next < start)
            break;
        sign *= sign_(entry);
        if (!sameWeight(w_num, w_den, next, start))
            c.differs = true;
        if (next == start) {
            at = put(at, "%s", c.differs ? ")" : ")***");
            at = put(at, "%s", sign > 0 ? " \n" : "  -> - \n");
            c.closed = true;
            return c;
        }
        if (sign > 0) {
            at = put(at, ",%d", next);
        } else {
            at = put(at, ",-%d", next);
            c.negativePrinted = true;
        }
        current = next;
    }
    at = begin;
    *at = '\0';
    return c;
}

// Writes the chain or cycle from start until it meets itself or a field without image.
char* writeScaleChain(char* at, int Nprim, int start, const int* map, std::vector<int>& chainOf,
                      std::vector<bool>& written) {
    written[start] = true;
    if (map[start] == 0)
        return at;
    at = put(at, "(%d", start);
    chainOf[start] = start;
    int current = start;
    int sign = 1;
    while (true) {
        const int entry = map[current];
        if (entry == 0 || imageOf(entry) >= Nprim)
            return put(at, ",X)\n");
        sign *= sign_(entry);
        const int next = imageOf(entry);
        if (chainOf[next] == start)
            return put(at, sign < 0 ? ",-%d)\n" : ",%d)\n", next);
        at = put(at, sign < 0 ? ",-%d" : ",%d", next);
        chainOf[next] = start;
        written[next] = true;
        current = next;
    }
}

} // namespace

int GaloisModulus(int type, int rank, int level) {
    const int r = rank, k = level;
    switch (type) {
    case 0:
    case 6:
        return 1;
    case 1:
        return (r + 1 + k) * (r + 1);
    case 2:
        return (r % 2 ? 4 : 2) * (k + 2 * r - 1);
    case 3:
        return 2 * (k + r + 1);
    case 4:
        return (r % 2 ? 4 : 2) * (k + 2 * r - 2);
    case 5:
        switch (rank) {
        case 2:
            return 3 * k + 12;
        case 4:
            return 2 * k + 18;
        case 6:
            return 3 * k + 36;
        case 7:
            return 2 * k + 36;
        case 8:
            return k + 30;
        default:
            return -1;
        }
    default:
        return -1;
    }
}

void WeylShift(int type, int rank, int level, int* srep) {
    if (rank < 1)
        return;
    InverseCartan(type, rank);
    const int* ICM = getICM();
    const int* GM = getGM();
    const double metricNorm = getMetricNorm();
    const int K = level + dualCoxeter(type, rank);
    int* n = shift.reserve(rank);
    for (int i = 0; i < rank; i++) {
        double sum = 0;
        for (int j = 0; j < rank; j++)
            sum += static_cast<double>(srep[j]) * ICM[i + j * rank];
        n[i] = static_cast<int>(std::lround(-sum / K / metricNorm));
    }
    for (int i = 0; i < rank; i++) {
        int add = 0;
        for (int j = 0; j < rank; j++)
            add += n[j] * GM[j + i * rank];
        srep[i] += add * K;
    }
}

int Galois(int type, int rank, int level, const int* rep, int** outrep, int** Doutrep, int scale) {
    const int size = rank + 1;
    int* area = trep.reserve(3 * std::max(size, 1));
    int* image = area;
    int* v = area + size;
    int* copy = area + 2 * size;
    *outrep = image;
    *Doutrep = copy;
    if (rank < 1) {
        image[0] = copy[0] = level;
        return 1;
    }
    const int K = level + dualCoxeter(type, rank);
    for (int i = 0; i < rank; i++)
        v[i] = (rep[i] + 1) * scale;
    WeylShift(type, rank, level, v);
    Cartan(type, rank);
    const int* comarks = getTheta();
    v[rank] = K;
    for (int i = 0; i < rank; i++)
        v[rank] -= comarks[i] * v[i];
    const int reflections = foldIntoAlcove(rank, v);
    if (reflections < 0)
        Alert("Galois", 0, 212404, "Unexpected logical flow");
    for (int i = 0; i < size; i++)
        image[i] = copy[i] = v[i] - 1;
    return reflections % 2 ? -1 : 1;
}

int GaloisOrder(int i, int modul, const int* used) {
    std::int64_t p = i;
    for (int j = 2;; j++) {
        if (j >= 1000000) {
            Alert("GaloisOrder", 0, 212404, "Unexpected logical flow");
            return -2;
        }
        p = p * i % modul;
        if (used[p])
            return j;
        if (p < i)
            return -1;
    }
}

int* GaloisOrbits(int modul, int* gen) {
    if (modul == LastModulus && Galois_Orbits.reserved()) {
        *gen = GeneratorCount;
        return Galois_Orbits.X + std::max(modul, 0);
    }
    const int m = std::max(modul, 0);
    int* marks = Galois_Orbits.reserve(m + MaxGenerators);
    int* generators = marks + m;
    std::fill(marks, marks + m + MaxGenerators, 0);
    int* exponents = getIntSpace("GaloisGroup", m * MaxGenerators);
    if (exponents)
        std::fill(exponents, exponents + static_cast<std::int64_t>(m) * MaxGenerators, 0);
    if (m > 1)
        marks[1] = 1;
    GeneratorCount = 0;
    while (exponents && GeneratorCount < MaxGenerators) {
        int best = -1, bestLength = 0;
        for (int s = 2; s < m; s++) {
            if (marks[s] || GCD(s, m) != 1)
                continue;
            const int length = GaloisOrder(s, m, marks);
            if (length > bestLength) {
                best = s;
                bestLength = length;
            }
        }
        if (best < 0)
            break;
        generators[GeneratorCount] = best;
        closeUnderGenerator(m, marks, exponents, best, bestLength, GeneratorCount);
        GeneratorCount++;
    }
    LastModulus = modul;
    *gen = GeneratorCount;
    return generators;
}

int GaloisExponent(int modul, int s, int j) {
    int gen = 0;
    GaloisOrbits(modul, &gen);
    const int* exponents = findExistingMemory("GaloisGroup").iSpace;
    if (!exponents || j < 0 || j >= gen || s < 0 || s >= modul)
        return 0;
    return exponents[static_cast<std::int64_t>(s) * MaxGenerators + j];
}

int InvertOrbit(int N, const int* Orbit1, int* Orbit2) {
    std::vector<int> inverse(std::max(N, 0), 0);
    for (int i = 0; i < N; i++)
        if (Orbit1[i] != 0 && imageOf(Orbit1[i]) < N)
            inverse[imageOf(Orbit1[i])] = sign_(Orbit1[i]) * (i + 1);
    std::copy(inverse.begin(), inverse.end(), Orbit2);
    bool same = true, opposite = true;
    for (int i = 0; i < N; i++) {
        same = same && Orbit2[i] == Orbit1[i];
        opposite = opposite && Orbit2[i] == -Orbit1[i];
    }
    if (same)
        return 1;
    if (opposite)
        return -1;
    if (N < 1 || Orbit2[0] == Orbit1[0] || (Orbit2[0] != -Orbit1[0] && Orbit2[0] > 0))
        return 2;
    for (int i = 0; i < N; i++)
        Orbit2[i] = -Orbit2[i];
    return -2;
}

void multiplyOrbits(int Nprim, const int* Orbit1, const int* Orbit2, int* Orbit3) {
    if (Nprim < 1)
        return;
    auto compose = [&](int i) {
        const int first = Orbit1[i];
        if (first == 0 || imageOf(first) >= Nprim)
            return 0;
        return sign_(first) * Orbit2[imageOf(first)];
    };
    // The overall sign makes the vacuum's image positive; a vacuum without image leaves the
    // signs as they are rather than wiping the whole map.
    int s = sign_(compose(0));
    if (s == 0)
        s = 1;
    std::vector<int> result(Nprim);
    for (int i = 0; i < Nprim; i++)
        result[i] = compose(i) * s;
    std::copy(result.begin(), result.end(), Orbit3);
}

char* printGaloisOrbit(char* txt, int Nprim, const int* w_num, int w_den, int Tpref, int SignPref,
                       int scale, const int* Orbit) {
    char* at = put(txt, "\nGalois dilation %d\n", scale);
    for (int i = 0; i < Nprim; i++) {
        const CycleText c = writeGaloisCycle(at, Nprim, w_num, w_den, i, Orbit);
        if (c.closed && ((c.differs && Tpref == 1) || (c.negativePrinted && SignPref == 1))) {
            txt[0] = '\0';
            return txt;
        }
    }
    return at;
}

void getStartingPoints(int Nprim, const int* map, int* start) {
    std::fill(start, start + std::max(Nprim, 0), 0);
    for (int i = 0; i < Nprim; i++)
        if (map[i] != 0 && imageOf(map[i]) < Nprim)
            start[imageOf(map[i])] = 1;
}

char* printScaleOrbit(char* txt, int Nprim, int scale, const int* map) {
    char* at = put(txt, "\nNon-galois Dilatation %d\n", scale);
    const int N = std::max(Nprim, 0);
    std::vector<int> isImage(N);
    getStartingPoints(N, map, isImage.data());
    std::vector<int> chainOf(N, -1);
    std::vector<bool> written(N, false);
    for (int s = 0; s < N; s++)
        if (!isImage[s])
            at = writeScaleChain(at, N, s, map, chainOf, written);
    for (int s = 0; s < N; s++)
        if (!written[s])
            at = writeScaleChain(at, N, s, map, chainOf, written);
    return at;
}

// ---------------------------------------------------------------------------------------------
// Galois-invariant search

namespace {

constexpr const char* SearchRoutine = "ComputeGaloisInvariants";
constexpr int SearchReport = 100216;

// The stand-in for the invariant store's acceptance step: it keeps each candidate.
int CandidateSize = 0;
struct RecordedCandidate {
    int Nprim;
    std::vector<int> matrix;
};
std::vector<RecordedCandidate> RecordedCandidates;

int recordCandidateInvariant(int* modmat, int, int, int, int) {
    const std::size_t n = static_cast<std::size_t>(CandidateSize) * CandidateSize;
    RecordedCandidates.push_back({CandidateSize, std::vector<int>(modmat, modmat + n)});
    return 1;
}

AcceptCandidateInvariant acceptCandidate = recordCandidateInvariant;

int mapEntry(const int* P, int i, int j) {
    return P[i] != 0 && imageOf(P[i]) == j ? sign_(P[i]) : 0;
}

// Entry (i, j) of the matrix that stored map m stands for.
int kindEntry(const int* Store, const int* invol, int m, int i, int j, int Nprim) {
    const int* P = Store + static_cast<std::int64_t>(m) * Nprim;
    switch (invol[m]) {
    case 0:
        return mapEntry(P, i, j) + mapEntry(P, j, i);
    case 1:
        return mapEntry(P, i, j);
    case 2: {
        if (m == 0)
            return 0;
        const int* Q = P - Nprim;
        int value = 0;
        if (Q[i] != 0 && Q[j] != 0 && imageOf(Q[i]) == imageOf(Q[j]))
            value += sign_(Q[i]) * sign_(Q[j]);
        if (i == j)
            for (int k = 0; k < Nprim; k++)
                value += Q[k] != 0 && imageOf(Q[k]) == i;
        return value;
    }
    default:
        return 0;
    }
}

// Enters the conditions of Z(i, j) for all i <= j into the stores and the bounds.
void collectConditions(const int* Store, const int* invol, const int* w_num, int w_den, int Nprim,
                       int OrbitCount, int* dfill) {
    const int N = OrbitCount + 1;
    int efill = 0;
    for (int i = 0; i < Nprim; i++) {
        if (i > 0 && i % 50 == 0)
            Alert(SearchRoutine, 1, SearchReport, "Analyzing row %d (out of %d)", i, Nprim);
        for (int j = i; j < Nprim; j++) {
            int* eqn = getIntSpace("GaloisEqn", N);
            if (!eqn || BuildEquation(Store, invol, eqn, i, j, Nprim, OrbitCount) == 0)
                continue;
            CollectEqn("GaloisDependence", N, eqn, dfill);
            const bool vacuum = i == 0 && j == 0;
            if (vacuum)
                eqn[OrbitCount] = -1; // Z(0,0) = 1
            if (vacuum || !sameWeight(w_num, w_den, i, j)) {
                if (CollectEqn("GaloisEquations", N, eqn, &efill))
                    AddBounds("GaloisEquations", N, efill);
                Bound(N, eqn);
                for (int k = 0; k < N; k++)
                    eqn[k] = -eqn[k];
                Bound(N, eqn);
            } else {
                Bound(N, eqn);
            }
        }
    }
}

double boxPoints(int n) {
    int *lo, *hi;
    getBounds(&lo, &hi);
    double points = 1;
    for (int v = 0; v < n; v++)
        points *= std::max(0.0, static_cast<double>(hi[v]) - lo[v] + 1);
    return points;
}

// Visits every point of the box and keeps those that satisfy the first maxChk inequalities in
// "GaloisSolutions"; returns the number kept.
int searchBox(int n, int maxChk) {
    int *lo, *hi;
    getBounds(&lo, &hi);
    std::vector<int> Min(lo, lo + n), Max(n), loop(std::max(n, 1));
    for (int v = 0; v < n; v++)
        Max[v] = hi[v] + 1; // the loop steppers take exclusive upper bounds
    const double total = boxPoints(n);
    startProgressInfo("Diophantine loops", total, 1);
    int found = 0;
    double visited = 0;
    bool displayStopped = false;
    for (int done = incrementInit(n, Min.data(), Max.data(), loop.data()); !done;
         done = increment(n, Min.data(), Max.data(), loop.data())) {
        visited++;
        if (!checkBounds(n, loop.data(), maxChk)) {
            int* solutions = getIntSpace("GaloisSolutions", (found + 1) * n);
            if (solutions)
                std::copy(loop.begin(), loop.begin() + n,
                          solutions + static_cast<std::int64_t>(found++) * n);
        }
        if (incrementProgressInfo()) {
            displayStopped = true;
            break;
        }
        if (stopSignal)
            break;
    }
    if (!displayStopped)
        stopProgressInfo("Diophantine loops");
    if (visited < total)
        Alert(SearchRoutine, 5, SearchReport,
              "Search stopped after %.0f of %.0f points; %d solutions found so far", visited, total,
              found);
    return found;
}

std::string solutionText(const int* loop, int OrbitCount) {
    std::string text = "\nSolution for galois commutant\n ";
    char term[64];
    for (int m = 0; m < OrbitCount; m++) {
        const int c = loop[m];
        if (c == 0)
            continue;
        const std::size_t lineStart = text.rfind('\n') + 1;
        if (text.size() - lineStart > 60) {
            const std::size_t plus = text.rfind('+');
            if (plus != std::string::npos)
                text.replace(plus, 1, "\n      +");
        }
        if (c < 0 && !text.empty() && text.back() == '+')
            text.pop_back();
        if (c == 1)
            std::snprintf(term, sizeof term, "[%d]+", m);
        else if (c == -1)
            std::snprintf(term, sizeof term, "-[%d]+", m);
        else
            std::snprintf(term, sizeof term, "%d*[%d]+", c, m);
        text += term;
    }
    text.pop_back(); // the final "+", or the blank after the heading
    return text + "\n\n";
}

// One group of the rows of a candidate that have the same list of partners.
struct ModularInvariantGroup {
    std::vector<int> list;
    int multiplicity;
    std::vector<int> members;
};

// Groups the rows by their lists of partners and reports what does not look like an
// invariant's orbit structure; false when some entry is negative.
bool checkOrbitStructure(const int* Z, int Nprim) {
    for (std::int64_t e = 0; e < static_cast<std::int64_t>(Nprim) * Nprim; e++)
        if (Z[e] < 0)
            return false;
    std::vector<ModularInvariantGroup> ModularInvariant;
    bool flagged = false;
    std::size_t L = 0;
    for (int i = 0; i < Nprim; i++) {
        const int* row = Z + static_cast<std::int64_t>(i) * Nprim;
        std::vector<int> list;
        int common = 0;
        bool constant = true;
        for (int j = 0; j < Nprim; j++) {
            if (row[j] <= 0)
                continue;
            if (common != 0 && row[j] != common)
                constant = false;
            common = row[j];
            list.insert(list.end(), row[j], j);
        }
        flagged = flagged || !constant;
        if (i == 0)
            L = list.size();
        if (list.empty())
            continue;
        if (list.size() < L)
            list.resize(L, -1);
        auto group = std::find_if(ModularInvariant.begin(), ModularInvariant.end(),
                                  [&](const ModularInvariantGroup& g) { return g.list == list; });
        if (group == ModularInvariant.end())
            group =
                ModularInvariant.insert(ModularInvariant.end(), {list, constant ? common : 1, {}});
        group->members.push_back(i);
        const std::size_t count = group->members.size();
        if (L > 0 && count > L && (count - 1) % L == 0)
            Alert("printSolution", 0, 212404, "Oversized orbit");
    }
    if (flagged)
        Alert("printSolution", 1, 212404, "Orbit multiplicities not constant");
    return true;
}

} // namespace

int BuildEquation(const int* Store, const int* invol, int* Eqn, int i, int j, int Nprim,
                  int OrbitCount) {
    int nonzero = 0;
    for (int m = 0; m < OrbitCount; m++) {
        Eqn[m] = kindEntry(Store, invol, m, i, j, Nprim);
        nonzero += Eqn[m] != 0;
    }
    Eqn[OrbitCount] = 0;
    return nonzero;
}

void PrintMat(const int* Store, const int* invol, int Nprim, int OrbitCount) {
    for (int m = 0; m < OrbitCount; m++) {
        std::printf("\nmatrix %d\n\n", m);
        for (int i = 0; i < Nprim; i++) {
            for (int j = 0; j < Nprim; j++)
                std::printf("%d", kindEntry(Store, invol, m, i, j, Nprim));
            std::printf("\n");
        }
    }
    std::fflush(stdout);
}

void ComputeGaloisInvariants(const int* Store, const int* invol, const int* w_num, int w_den,
                             int Nprim, int OrbitCount) {
    const int n = OrbitCount;
    const int N = n + 1;
    initBound(n);
    Alert(SearchRoutine, 0, SearchReport, "Starting analysis for %d orbits", n);
    int dfill = 0;
    collectConditions(Store, invol, w_num, w_den, Nprim, OrbitCount, &dfill);
    RemoveDependences("GaloisDependence", N, dfill);
    const int maxChk = getBFILL();
    Alert(SearchRoutine, 2, SearchReport, "Starting analysis of equations");
    ReBound(N);
    Alert(SearchRoutine, 3, SearchReport, "Starting iterative analysis");
    generateNewBounds(N);
    Alert(SearchRoutine, 4, SearchReport, "Starting loops, total length %d", LoopLen(N));
    const int found = searchBox(n, maxChk);
    std::vector<int> loop(std::max(n, 1));
    for (int s = 0; s < found; s++) {
        const int* solutions = getIntSpace("GaloisSolutions", found * n);
        std::copy(solutions + static_cast<std::int64_t>(s) * n,
                  solutions + static_cast<std::int64_t>(s + 1) * n, loop.begin());
        makeGaloisInvariant(loop.data(), Store, invol, Nprim, OrbitCount);
    }
}

void makeGaloisInvariant(const int* loop, const int* Store, const int* invol, int Nprim,
                         int OrbitCount) {
    const std::string text = solutionText(loop, OrbitCount);
    Print("\n---------------------------------------------------------------\n%s", text.c_str());
    CandidateSize = std::max(Nprim, 0);
    int* Z = getIntSpace("Orbits", CandidateSize * CandidateSize + CandidateSize + 1);
    if (!Z)
        return;
    if (Nprim >= 1) {
        std::vector<int> eqn(OrbitCount + 1);
        for (int i = 0; i < Nprim; i++)
            for (int j = 0; j < Nprim; j++) {
                BuildEquation(Store, invol, eqn.data(), i, j, Nprim, OrbitCount);
                std::int64_t sum = 0;
                for (int m = 0; m < OrbitCount; m++)
                    sum += static_cast<std::int64_t>(loop[m]) * eqn[m];
                Z[static_cast<std::int64_t>(i) * Nprim + j] = static_cast<int>(sum);
            }
        if (!checkOrbitStructure(Z, Nprim))
            return;
    }
    acceptCandidate(Z, 0, 1, 0, 1);
}

AcceptCandidateInvariant setAcceptCandidateInvariant(AcceptCandidateInvariant fn) {
    AcceptCandidateInvariant previous = acceptCandidate;
    acceptCandidate = fn ? fn : recordCandidateInvariant;
    return previous;
}

int offerCandidateInvariant(int* modmat, int check, int store, int select, int prnt) {
    return acceptCandidate(modmat, check, store, select, prnt);
}

int recordedCandidateCount() {
    return static_cast<int>(RecordedCandidates.size());
}

const int* recordedCandidate(int n, int* Nprim) {
    if (n < 0 || n >= recordedCandidateCount())
        return nullptr;
    *Nprim = RecordedCandidates[n].Nprim;
    return RecordedCandidates[n].matrix.data();
}

void clearRecordedCandidates() {
    RecordedCandidates.clear();
}
