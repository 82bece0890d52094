// P = T^1/2 S T^2 S T^1/2 of the current theory, the matrix of the crosscap and Moebius amplitudes.
// P is symmetric and unchanged when both labels are conjugated, so only one of the four pairs is
// ever computed. Small theories keep it packed; otherwise rows are kept per simple-current orbit,
// since (S T^2 S)(J s, b) = (S T^2 S)(s, J b): the row of an orbit's start serves the whole orbit.
// The order-two currents of the effective center shorten the sums and make many entries vanish.
#include "modular/Modular.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/ModularInternal.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

using namespace modular_internal;

namespace {

AllocCount PAlloc = ALLOC_COUNTER("SMatrix");

constexpr double NotComputed = -99999999.0;

// ---- Packed P ----
GuardedArray<double> PMATRIX("PMATRIX", &PAlloc);
int PMATRIXavailable = -1;
int PMATRIXsize = 0;

int packedIndex(int i, int j, int N) {
    return i * (2 * N - 1 - i) / 2 + j;
}

// ---- P rows on orbits ----
int OrbitPAvailable = -1;
// The smallest column a row needs; INT_MAX until the row is first asked for.
std::vector<int> PMatrixOrbitMinima;
std::vector<int> PMatrixOrbitSizes;
std::vector<double*> PMatrixOrbitPointers;
std::string Pdir;
// The rows go with the process as well.
struct RowRelease {
    ~RowRelease() { releaseOrbitP(); }
} rowRelease;

// ---- T of the current theory, once per theory ----
struct TFactors {
    int stamp = -1;
    std::vector<double> sqRe, sqIm;     // T squared
    std::vector<double> rootRe, rootIm; // T^1/2
    void make() {
        if (stamp == QueryCFT())
            return;
        const int N = totalPrimaries();
        sqRe.resize(N), sqIm.resize(N), rootRe.resize(N), rootIm.resize(N);
        for (int m = 0; m < N; m++) {
            double re, im;
            directT(m, &re, &im);
            sqRe[m] = re * re - im * im;
            sqIm[m] = 2.0 * re * im;
            directRootT(m, &rootRe[m], &rootIm[m]);
        }
        stamp = QueryCFT();
    }
};
TFactors Tf;

// ---- Orbits under the order-two currents of the effective center ----

// The current's order times its weight is an integer.
bool inEffectiveCenter(int J, int order) {
    rat h = *ratWeight(J);
    simplifyRat(&h);
    RatToFrac(&h);
    return (static_cast<long long>(order) * h.num) % h.den == 0;
}

std::vector<int> orderTwoCurrents() {
    int* map = nullptr;
    Discrete_Group* dg = getCenter(&map);
    std::vector<int> currents;
    for (int e = 1; e < dg->Order; e++)
        if (simpleCurrentOrder(map[e], 0) == 2 && inEffectiveCenter(map[e], 2))
            currents.push_back(map[e]);
    return currents;
}

struct OrderTwoOrbits {
    int stamp = -1;
    std::vector<int> currents;
    std::vector<int> reps;    // POrbits: the representatives
    std::vector<int> lengths; // fields in each representative's orbit
    std::vector<int> used;    // the representative that marked each field
    void make() {
        if (stamp == QueryCFT())
            return;
        const int N = totalPrimaries();
        currents = orderTwoCurrents();
        used.assign(N, -1);
        reps.clear();
        lengths.clear();
        for (int x = 0; x < N; x++) {
            if (used[x] != -1)
                continue;
            used[x] = x;
            int length = 1;
            for (int J : currents) {
                const int y = simpleFusion(J, x);
                if (used[y] == -1) {
                    used[y] = x;
                    length++;
                }
            }
            reps.push_back(x);
            lengths.push_back(length);
        }
        stamp = QueryCFT();
    }
};
OrderTwoOrbits POrbits;

bool orbitPValid() {
    return OrbitPAvailable == QueryCFT() && ModularOrbitsAvailable() == QueryCFT();
}

// Orbit S is valid when compS reads it: the orbit table and the choice of compute_s_base.
bool orbitSValid() {
    return OrbitSAvailable == QueryCFT() && orbitDataValid();
}

// S on the summation points for one label; the first is kept, since a row of P asks for the
// same label over and over.
struct Column {
    int label = -1;
    int stamp = -1;
    bool onOrbits = false;
    std::vector<double> values;
};
Column columnI, columnJ;

// S(m, i) for the points m, or S(i, m) with asRow; the two agree whenever S is symmetric.
void gatherColumn(int i, const std::vector<int>* points, int count, bool asRow, Column& c) {
    if (c.label == i && c.stamp == QueryCFT() && c.onOrbits == (points != nullptr))
        return;
    c.label = i;
    c.stamp = QueryCFT();
    c.onOrbits = points != nullptr;
    std::vector<double>& column = c.values;
    column.resize(2 * static_cast<std::size_t>(count));
    // One label in every request: the disk cache of orbit S brings in a row when one orbit is
    // named in consecutive requests.
    for (int p = 0; p < count; p++) {
        const int m = points ? (*points)[p] : p;
        if (asRow)
            compS(i, m, &column[p], &column[count + p]);
        else
            compS(m, i, &column[p], &column[count + p]);
    }
}

// exactly 0 when an order-two current separates the charges of i and j.
bool separatedByOrderTwoCurrent(int i, int j) {
    const int G = groupOrder();
    const int* qi = getOrbitInfo(i)->charge;
    const int* qj = getOrbitInfo(j)->charge;
    for (int J : POrbits.currents)
        if ((qi[J] - qj[J]) % G != 0)
            return true;
    return false;
}

// ---- Canonical pairs ----

// The least of (i, j), (j, i) and, when both have conjugates, (ci, cj) and (cj, ci).
void smallestPair(int i, int j, int ci, int cj, int* a, int* b) {
    int bestA = i, bestB = j;
    auto consider = [&](int x, int y) {
        if (x < bestA || (x == bestA && y < bestB))
            bestA = x, bestB = y;
    };
    consider(j, i);
    if (ci >= 0 && cj >= 0) {
        consider(ci, cj);
        consider(cj, ci);
    }
    *a = bestA;
    *b = bestB;
}

// The conjugate of every field, once per theory: the search for a row's least column asks for
// them over and over.
struct ConjugateTable {
    int stamp = -1;
    std::vector<int> of;
    void make() {
        if (stamp == QueryCFT())
            return;
        const int N = totalPrimaries();
        of.resize(N);
        for (int x = 0; x < N; x++)
            of[x] = getConjugate(x);
        stamp = QueryCFT();
    }
};
ConjugateTable Conjugates;

// ---- Orbit rows ----

// The least column J(a) b of a canonical pair (a, b) with a in orbit o. Found when the row is
// first needed, not for every orbit at every new theory: most theories never ask for P.
int orbitMinimum(int o) {
    const int N = totalPrimaries();
    const int G = groupOrder();
    const OrbitInfo* start = getOrbitInfo(orbitMap()[o]);
    Conjugates.make();
    int minimum = INT_MAX;
    for (int J = 0; J < G; J++) {
        const int a = start->orbit[J];
        if (getOrbitInfo(a)->current != J)
            continue; // a repeat of a field met under a smaller current
        // A column below a would make (b, a) the smaller pair.
        for (int b = a; b < N; b++) {
            int x, y;
            smallestPair(a, b, Conjugates.of[a], Conjugates.of[b], &x, &y);
            if (x == a && y == b)
                minimum = std::min(minimum, simpleFusion(J, b));
        }
    }
    return minimum;
}

// The row of orbit o, made and read from its file on first use; null when no canonical pair
// starts in the orbit.
double* orbitRow(int o) {
    if (PMatrixOrbitPointers[o])
        return PMatrixOrbitPointers[o];
    if (PMatrixOrbitMinima[o] == INT_MAX)
        PMatrixOrbitMinima[o] = orbitMinimum(o);
    if (PMatrixOrbitMinima[o] == INT_MAX)
        return nullptr;
    const int size = totalPrimaries() - PMatrixOrbitMinima[o];
    PMatrixOrbitSizes[o] = size;
    auto* row = static_cast<double*>(allocate(sizeof(double) * 2 * static_cast<std::size_t>(size),
                                              &PAlloc, "P matrix on orbits"));
    if (!getPBaseRow(row, o, size, Pdir.c_str()))
        std::fill(row, row + 2 * static_cast<std::size_t>(size), NotComputed);
    PMatrixOrbitPointers[o] = row;
    return row;
}

void multiply(double ar, double ai, double br, double bi, double* re, double* im) {
    *re = ar * br - ai * bi;
    *im = ar * bi + ai * br;
}

void divide(double ar, double ai, double br, double bi, double* re, double* im) {
    const double d = br * br + bi * bi;
    *re = (ar * br + ai * bi) / d;
    *im = (ai * br - ar * bi) / d;
}

} // namespace

namespace modular_internal {

void releaseOrbitP() {
    for (std::size_t o = 0; o < PMatrixOrbitPointers.size(); o++)
        if (PMatrixOrbitPointers[o]) {
            freespace(PMatrixOrbitPointers[o],
                      sizeof(double) * 2 * static_cast<std::size_t>(PMatrixOrbitSizes[o]), &PAlloc,
                      "P matrix on orbits");
            PMatrixOrbitPointers[o] = nullptr;
        }
}

void setUpOrbitP() {
    const int NOrbit = getNOrbit();
    PMatrixOrbitMinima.assign(NOrbit, INT_MAX);
    PMatrixOrbitSizes.assign(NOrbit, 0);
    PMatrixOrbitPointers.assign(NOrbit, nullptr);
    Pdir.clear();
    if (NOrbit >= rowFileThreshold())
        // A row holds the columns from its canonical least one on: on average half of them.
        Pdir = rowDirectory(".pdir", "P",
                            rowBytesPerNumber() * NOrbit * static_cast<double>(totalPrimaries()));
    OrbitPAvailable = QueryCFT();
    if (debugInit() == 1)
        ProgressPrint("##init: Orbit P matrix initialized\n");
}

} // namespace modular_internal

// ============================================================ Canonical pairs

void convertPLabels(int i, int j, int* a, int* b) {
    smallestPair(i, j, getConjugate(i), getConjugate(j), a, b);
}

// ============================================================ Direct computation

void computePmatrix(int i, int j, double* Re, double* Im) {
    *Re = *Im = 0.0;
    const int N = totalPrimaries();
    if (i < 0 || i >= N || j < 0 || j >= N) {
        if (orbitDataValid())
            Alert("getChargeVector", 0, 212404, "Label out of range: %d\n",
                  i < 0 || i >= N ? i : j);
        return;
    }
    Tf.make();
    const std::vector<int>* points = nullptr;
    const std::vector<int>* weights = nullptr;
    int count = N;
    if (orbitDataValid()) {
        POrbits.make();
        if (separatedByOrderTwoCurrent(i, j))
            return;
        points = &POrbits.reps;
        weights = &POrbits.lengths;
        count = static_cast<int>(POrbits.reps.size());
    }
    // P_ij sums S_im T_mm^2 S_mj.
    gatherColumn(i, points, count, S_Symmetric() != 1, columnI);
    gatherColumn(j, points, count, false, columnJ);
    const std::vector<double>& ci = columnI.values;
    const std::vector<double>& cj = columnJ.values;
    double sumR = 0.0, sumI = 0.0;
    for (int p = 0; p < count; p++) {
        const int m = points ? (*points)[p] : p;
        double r, s;
        // ((S_im T_mm) T_mm) S_mj, with T_mm^2 taken at once.
        multiply(ci[p], ci[count + p], Tf.sqRe[m], Tf.sqIm[m], &r, &s);
        multiply(r, s, cj[p], cj[count + p], &r, &s);
        const double w = weights ? (*weights)[p] : 1.0;
        sumR += w * r;
        sumI += w * s;
    }
    multiply(Tf.rootRe[i], Tf.rootIm[i], sumR, sumI, &sumR, &sumI);
    multiply(sumR, sumI, Tf.rootRe[j], Tf.rootIm[j], Re, Im);
}

// ============================================================ Orbit rows

void compPfromOrbits(int a, int b, double* Re, double* Im) {
    if (!orbitDataValid()) {
        Alert("FastSimpleFusion", 0, 220502, "Orbit data not available (FastSimpleFusion)");
        computePmatrix(a, b, Re, Im);
        return;
    }
    const OrbitInfo* info = getOrbitInfo(a);
    const int o = info->orbit_index, s = info->orbit_start, J = info->current;
    const int b2 = simpleFusion(J, b);
    double* row = orbitRow(o);
    const int d = row ? b2 - PMatrixOrbitMinima[o] : -1;
    if (d < 0) {
        // Only a pair that is not canonical can miss the row; it is computed on its own.
        Alert("compPfromOrbits", 0, 212404, "Invalid P-matrix address");
        computePmatrix(a, b, Re, Im);
        return;
    }
    const int size = PMatrixOrbitSizes[o];
    if (row[d] < -1.5)
        computePmatrix(s, b2, &row[d], &row[size + d]);
    Tf.make();
    double r = row[d], i = row[size + d];
    multiply(r, i, Tf.rootRe[a], Tf.rootIm[a], &r, &i);
    divide(r, i, Tf.rootRe[s], Tf.rootIm[s], &r, &i);
    multiply(r, i, Tf.rootRe[b], Tf.rootIm[b], &r, &i);
    divide(r, i, Tf.rootRe[b2], Tf.rootIm[b2], Re, Im);
}

void writePOrbits() {
    if (getNOrbit() < rowFileThreshold() || OrbitPAvailable != QueryCFT())
        return;
    for (std::size_t o = 0; o < PMatrixOrbitPointers.size(); o++)
        if (PMatrixOrbitPointers[o])
            writePBaseRow(PMatrixOrbitPointers[o], static_cast<int>(o), PMatrixOrbitSizes[o],
                          Pdir.c_str());
}

// ============================================================ P

double* initPMATRIX() {
    if (PMATRIXavailable == QueryCFT())
        return PMATRIX.X;
    const int N = totalPrimaries();
    if (N > smatrixMaxsize()) {
        PMATRIXavailable = -1;
        return nullptr;
    }
    const int entries = (N + 1) * N;
    PMATRIX.reserve(entries);
    std::fill(PMATRIX.X, PMATRIX.X + entries, NotComputed);
    PMATRIXsize = N;
    PMATRIXavailable = QueryCFT();
    if (debugInit() == 1)
        ProgressPrint("##init: P matrix pre-initialized\n");
    return PMATRIX.X;
}

namespace {

void computeCanonical(int a, int b, double* Re, double* Im) {
    if (orbitSValid() && orbitPValid())
        compPfromOrbits(a, b, Re, Im);
    else
        computePmatrix(a, b, Re, Im);
}

} // namespace

void compP(int i, int j, double* Re, double* Im) {
    initSMATRIX();
    int a, b;
    convertPLabels(i, j, &a, &b);
    if (PMATRIXavailable == QueryCFT()) {
        // The canonical pair has a <= b: a pair with b < a would have its mirror smaller.
        const int p = packedIndex(std::min(a, b), std::max(a, b), PMATRIXsize);
        const int half = PMATRIXsize * (PMATRIXsize + 1) / 2;
        if (PMATRIX[p] < -1.5)
            computeCanonical(a, b, &PMATRIX[p], &PMATRIX[half + p]);
        *Re = PMATRIX[p];
        *Im = PMATRIX[half + p];
        return;
    }
    computeCanonical(a, b, Re, Im);
}

char* displayP(char* txt, int i, int j) {
    txt = matrixLabel(txt, 'P', i, j);
    double re, im;
    compP(i, j, &re, &im);
    return printModMatElt(txt, re, im);
}
