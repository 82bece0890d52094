// Kernel vectors of the bounded integer solver: integer directions with one or two tag variables
// at -1 that let the search skip whole families of solutions, found by patterns and by loops.
#include "numeric/Equations.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "numeric/EquationsInternal.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

using namespace equations_internal;

namespace {

constexpr int MaxPrimaryRange = 100000000;
constexpr double DoubleTagTimeLimit = 120.0;
constexpr int DoubleTagRange = 1000000;

// Rows the kernel block has for vectors (and again for the work space).
int kernelRows(const KernelData* KD) {
    return KD->RowCapacity;
}

int* kernelRow(KernelData* KD, int r, int Ncol) {
    return KD->Kernel.X + static_cast<long long>(r) * Ncol;
}

bool isTag(const KernelData* KD, int v) {
    return KD->PrimUsed[v] == 1 || KD->SecUsed[v] == 1;
}

int homogeneousPoints = 0; // points tried by hom_eval since the last reset

// hom_eval_double's echelon matrix of the double-tag vectors found since the last reset.
GuardedArray<int> doubleWork("work");
int doubleWorkRows = 0;
int doubleWorkPoints = 0;

// The bound vectors of the two kernel loops: minima, maxima and loop vector.
GuardedArray<int> singleBounds("HomogeneBounds");
GuardedArray<int> doubleBounds("HomogeneBounds");

// Records the single-tag vector already written in row KernelSize.
void recordSingleTag(KernelData* KD, int Ncol, int tag, const char* routine, int verbosity) {
    const int* v = kernelRow(KD, KD->KernelSize, Ncol);
    KD->KernelLabels[KD->KernelSize] = tag;
    if (verbosity > 1)
        Print("Kernel vector %d added; Tags label %d\n", KD->KernelSize, tag);
    KD->KernelSize += 1;
    if (KD->KernelSize > KD->MaxKernelSize) {
        dumpHook();
        Alert(routine, 2, 220502, "Too many kernel vectors");
    }
    KD->SingleTag += 1;
    KD->PrimUsed[tag] = 1;
    for (int k = 0; k < Ncol - 1; k++)
        if (v[k] > 0)
            KD->PosUsed[k] = 1;
}

// Writes a pattern vector into row KernelSize; false when the block has no row left for it.
bool writePattern(KernelData* KD, int Ncol, const int* minusOne, int nMinus, const int* plusOne,
                  int nPlus) {
    if (KD->KernelSize >= kernelRows(KD))
        return false;
    int* r = kernelRow(KD, KD->KernelSize, Ncol);
    std::fill(r, r + Ncol, 0);
    for (int i = 0; i < nMinus; i++)
        r[minusOne[i]] = -1;
    for (int i = 0; i < nPlus; i++)
        r[plusOne[i]] = 1;
    return true;
}

// The shared two-pass walk of nextPositive and nextSecondaryTag: pass 0 the variables with
// `preferred`, after index; then pass 1 the others, after start (when the pass begins) or after
// index (while it runs); -1 with the pass back at 0 when both are done.
template <class Eligible, class Preferred>
int twoPassNext(int start, int index, int Nvar, int* pass, Eligible eligible, Preferred preferred) {
    if (*pass == 0) {
        for (int v = std::max(index + 1, 0); v < Nvar; v++)
            if (eligible(v) && preferred(v))
                return v;
        *pass = 1;
        index = start;
    }
    for (int v = std::max(index + 1, 0); v < Nvar; v++)
        if (eligible(v) && !preferred(v))
            return v;
    *pass = 0;
    return -1;
}

double columnSum(const double* r, const int* plus, int nPlus, const int* minus, int nMinus) {
    double s = 0.0;
    for (int i = 0; i < nPlus; i++)
        s += r[plus[i]];
    for (int i = 0; i < nMinus; i++)
        s -= r[minus[i]];
    return s;
}

// Every row of Eqn satisfies sum of the `plus` columns - sum of the `minus` columns = 0.
int checkColumns(const double* Eqn, int Neq, int Ncol, const int* plus, int nPlus, const int* minus,
                 int nMinus) {
    for (int b = 0; b < Neq; b++)
        if (!ZeroCheck(
                columnSum(Eqn + static_cast<long long>(b) * Ncol, plus, nPlus, minus, nMinus)))
            return 0;
    return 1;
}

// The first row of the independent equations sorted by value, so that the last positive entry
// of a pattern is looked up by the value it must have instead of tried on every variable.
struct FirstRowIndex {
    std::vector<std::pair<double, int>> byValue;

    explicit FirstRowIndex(EquationData* ED) {
        if (ED->IndEq < 1)
            return;
        const double* E = independentRow(ED, 0);
        for (int v = 0; v < ED->Ncol - 1; v++)
            byValue.emplace_back(E[v], v);
        std::sort(byValue.begin(), byValue.end());
    }
};

// The last positive entry of a pattern: the first variable, in the order in which nextPositive
// offers them, that passes the column test with the entries chosen before it; -1 when none
// does. Only variables whose first-row coefficient lies near the value that row needs can pass.
int completePattern(KernelData* KD, EquationData* ED, const FirstRowIndex& index, int p, int q,
                    int* chosen, int level) {
    const double* E = independentRow(ED, 0);
    double need = E[p];
    if (q >= 0)
        need += E[q];
    for (int i = 0; i < level; i++)
        need -= E[chosen[i]];
    // The test allows 1e-7; the window is wider by far more than the roundings of the sum.
    const double width = 2e-7 + 1e-12 * std::fabs(need);
    // nextPositive offers first the variables already positive in a kernel vector, then the
    // others, each in increasing order after the previous entry.
    const int after = level == 0 ? -1 : chosen[level - 1];
    const int afterOthers = level == 0 ? 0 : chosen[level - 1];
    std::vector<std::pair<int, int>> candidates; // (pass, variable)
    auto it = std::lower_bound(index.byValue.begin(), index.byValue.end(),
                               std::make_pair(need - width, -1));
    for (; it != index.byValue.end() && it->first <= need + width; ++it) {
        const int v = it->second;
        if (isTag(KD, v) || v == p || v == q)
            continue;
        const int pass = KD->PosUsed[v] == 1 ? 0 : 1;
        if (v > (pass == 0 ? after : afterOthers))
            candidates.emplace_back(pass, v);
    }
    std::sort(candidates.begin(), candidates.end());
    int tags[2] = {p, q};
    for (const auto& [pass, v] : candidates) {
        chosen[level] = v;
        if (checkColumns(E, ED->IndEq, ED->Ncol, tags, q >= 0 ? 2 : 1, chosen, level + 1))
            return v;
    }
    return -1;
}

// Searches, for one primary, combinations of `depth` positive unit entries s1 < s2 < ...
// that pass the column test; fills `chosen` and returns true on the first success.
bool findPositives(KernelData* KD, EquationData* ED, const FirstRowIndex& index, int p, int q,
                   int depth, int* chosen, int level) {
    if (level + 1 == depth && !index.byValue.empty())
        return completePattern(KD, ED, index, p, q, chosen, level) >= 0;
    const int Nvar = ED->Ncol - 1;
    int pass = 0;
    int exclude[1] = {q};
    const int start = level == 0 ? 0 : chosen[level - 1];
    int s = level == 0 ? -1 : chosen[level - 1];
    while ((s = nextPositive(KD, start, s, p, exclude, q >= 0 ? 1 : 0, Nvar, &pass)) >= 0) {
        chosen[level] = s;
        if (level + 1 < depth) {
            if (findPositives(KD, ED, index, p, q, depth, chosen, level + 1))
                return true;
            continue;
        }
        int tags[2] = {p, q};
        double* E = independentRow(ED, 0);
        if (checkColumns(E, ED->IndEq, ED->Ncol, tags, q >= 0 ? 2 : 1, chosen, depth))
            return true;
    }
    return false;
}

// The single-tag pattern search with `depth` positive entries.
int singleTagPatterns(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity,
                      int depth, const char* routine) {
    const int Ncol = ED->Ncol;
    int found = 0;
    int chosen[3];
    const FirstRowIndex index(ED);
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Ncol - 1); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Ncol - 1)) {
        if (!findPositives(KD, ED, index, p, -1, depth, chosen, 0))
            continue;
        if (!writePattern(KD, Ncol, &p, 1, chosen, depth))
            break;
        recordSingleTag(KD, Ncol, p, routine, verbosity);
        found++;
    }
    return found;
}

// Reduces `fresh` against the earlier rows by cross multiplication (as a new row of an echelon
// form with the given pivots); keeps entries small by their common divisor.
void crossReduce(int* fresh, const int* rows, const int* pivots, int Nrows, int size) {
    for (int b = 0; b < Nrows; b++) {
        const int* rb = rows + static_cast<long long>(b) * size;
        const int c = pivots[b];
        if (fresh[c] == 0)
            continue;
        const long long f1 = rb[c];
        const long long f2 = fresh[c];
        long long g = 0;
        std::vector<long long> wide(static_cast<std::size_t>(size));
        for (int k = 0; k < size; k++)
            wide[k] = f1 * fresh[k] - f2 * rb[k];
        // The divisor of the whole row, so that the row keeps its direction.
        for (int k = 0; k < size; k++)
            g = std::gcd(g, wide[k]);
        for (int k = 0; k < size; k++)
            fresh[k] = static_cast<int>(g > 1 ? wide[k] / g : wide[k]);
    }
}

int firstNonZero(const int* v, int size) {
    for (int k = 0; k < size; k++)
        if (v[k] != 0)
            return k;
    return -1;
}

// The bound set-up shared by the two loop searches: one propagation pass over all rows.
void propagateKernelBounds(EquationData* ED, int* Min, int* Max) {
    REASON_CODE = 0;
    for (int r = 0; r < ED->AllEq; r++) {
        int s = getVariableBounds(row(ED, r), ED->Ncol, Min, Max);
        if (s == -1) {
            REASON_CODE = 3;
            REASON_INFO1 = r;
        }
        if (s < 0)
            return;
    }
}

} // namespace

namespace equations_internal {

long long kernelBlockInts(long long vectors, int Ncol) {
    return (3 * vectors + 10) * Ncol + vectors + 30000;
}

int kernelVectorsFitting(int wanted, int Ncol, long long ints) {
    long long fit = std::max((ints - 30000) / Ncol / 3, 1LL);
    while (fit > 1 && kernelBlockInts(fit, Ncol) > ints)
        fit--;
    return static_cast<int>(std::min<long long>(wanted, fit));
}

} // namespace equations_internal

void initKernelData(KernelData* KD, EquationData* ED) {
    const int Ncol = ED->Ncol;
    int d = Ncol - ED->IndEq;
    int n = d - 1;
    if (n < 1) {
        n = 1;
        d = 2;
    }
    // A kernel of many dimensions over many columns would take more than the allocator grants (a
    // c = 9 product of 55,000 boundaries asks for 36 GB): the block then holds as many vectors as
    // fit, and the analyses stop storing vectors there.
    const int fitting =
        kernelVectorsFitting(n, Ncol, static_cast<long long>(AllocRefuseLimit / sizeof(int)) - 16);
    if (fitting < n) {
        Alert("initKernelData", 0, 100201,
              "Room for %d of the %d kernel vectors under the allocation limit", fitting, n);
        d = fitting + 1;
    }
    const int rows = d - 1;
    const long long need = static_cast<long long>(3 * rows + 10) * Ncol + rows;
    const long long room = std::max(kernelBlockInts(rows, Ncol), 300000LL);
    if (!KD->Kernel.reserved() || KD->Kernel.X_oldsize < need)
        KD->Kernel.reserve(static_cast<int>(room));
    int* X = KD->Kernel.X;
    // One label per vector row (d of them), so the spare row's label has a place too.
    const long long layout = 2LL * d * Ncol + d + 7LL * Ncol;
    std::fill(X, X + layout, 0);
    KD->WorkSpace = X + static_cast<long long>(d) * Ncol;
    KD->KernelLabels = X + 2LL * d * Ncol;
    KD->PrimUsed = KD->KernelLabels + d;
    KD->PosUsed = KD->PrimUsed + Ncol;
    KD->SecUsed = KD->PosUsed + Ncol;
    KD->Tag1 = KD->SecUsed + Ncol;
    KD->Tag2 = KD->Tag1 + Ncol;
    KD->Inhomogeneous = KD->Tag2 + Ncol;
    KD->Active = KD->Inhomogeneous + Ncol;
    KD->secCount = KD->tagCount = KD->DoubleTag = KD->SingleTag = KD->KernelSize = 0;
    KD->MaxKernelSize = n;
    KD->RowCapacity = d;
}

int nextPrimaryTag(KernelData* KD, int* Min, int* Max, int, int index, int Nvar) {
    const int boundR = index < 0 ? MaxPrimaryRange : Max[index] - Min[index];
    int best = -1;
    for (int v = 0; v < Nvar; v++) {
        if (isTag(KD, v) || v == index)
            continue;
        const int R = Max[v] - Min[v];
        if (R > boundR || (index >= 0 && R == boundR && v < index))
            continue;
        if (best < 0 || R > Max[best] - Min[best])
            best = v;
    }
    return best;
}

int nextPositive(KernelData* KD, int start, int index, int primary, int* secondaries, int Nsec,
                 int Nvar, int* pass) {
    auto eligible = [&](int v) {
        return !isTag(KD, v) && v != primary && Present(secondaries, Nsec, v) < 0;
    };
    auto preferred = [&](int v) { return KD->PosUsed[v] == 1; };
    return twoPassNext(start, index, Nvar, pass, eligible, preferred);
}

int nextSecondaryTag(KernelData* KD, int* Min, int* Max, int start, int index, int primary,
                     int Nvar, int* pass) {
    auto eligible = [&](int v) { return !isTag(KD, v) && KD->PosUsed[v] == 0 && v != primary; };
    auto startsAtZero = [&](int v) { return Min[v] == 0 && Max[v] != 0; };
    if (*pass == 0) {
        for (int v = std::max(index + 1, 0); v < Nvar; v++)
            if (eligible(v) && startsAtZero(v))
                return v;
        *pass = 1;
        index = start;
    }
    // The second pass takes every candidate again, without the range condition.
    for (int v = std::max(index + 1, 1); v < Nvar; v++)
        if (eligible(v))
            return v;
    *pass = 0;
    return -1;
}

int checkDoublet(double* Eqn, int Neq, int Ncol, int p, int s1) {
    int plus[1] = {p};
    int minus[1] = {s1};
    return checkColumns(Eqn, Neq, Ncol, plus, 1, minus, 1);
}

int checkTriplet(double* Eqn, int Neq, int Ncol, int p, int s1, int s2) {
    int plus[1] = {p};
    int minus[2] = {s1, s2};
    return checkColumns(Eqn, Neq, Ncol, plus, 1, minus, 2);
}

int checkQuadruplet(double* Eqn, int Neq, int Ncol, int p, int s1, int s2, int s3) {
    int plus[1] = {p};
    int minus[3] = {s1, s2, s3};
    return checkColumns(Eqn, Neq, Ncol, plus, 1, minus, 3);
}

int checkDoubleQuadruplet(double* Eqn, int Neq, int Ncol, int p, int q, int s1, int s2) {
    int plus[2] = {p, q};
    int minus[2] = {s1, s2};
    return checkColumns(Eqn, Neq, Ncol, plus, 2, minus, 2);
}

int KernelDoublets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    return singleTagPatterns(KD, ED, Min, Max, verbosity, 1, "KernelDoublets");
}

int KernelTriplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    return singleTagPatterns(KD, ED, Min, Max, verbosity, 2, "KernelTriplets");
}

int KernelQuadruplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    return singleTagPatterns(KD, ED, Min, Max, verbosity, 3, "KernelQuadruplets");
}

int KernelDoubleQuadruplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    const int Ncol = ED->Ncol;
    const int Nvar = Ncol - 1;
    int found = 0;
    const FirstRowIndex index(ED);
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Nvar); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Nvar)) {
        if (isTag(KD, p))
            continue;
        int pass = 0;
        for (int q = nextSecondaryTag(KD, Min, Max, 0, -1, p, Nvar, &pass); q >= 0;
             q = nextSecondaryTag(KD, Min, Max, 0, q, p, Nvar, &pass)) {
            int chosen[2];
            if (!findPositives(KD, ED, index, p, q, 2, chosen, 0))
                continue;
            int tags[2] = {p, q};
            if (!writePattern(KD, Ncol, tags, 2, chosen, 2))
                return found;
            addDoubleTagKernelVector(KD, kernelRow(KD, KD->KernelSize, Ncol), Ncol, p, q,
                                     verbosity);
            found++;
            break;
        }
    }
    return found;
}

void addDoubleTagKernelVector(KernelData* KD, int* newvec, int size, int lbl1, int lbl2,
                              int verbosity) {
    if (verbosity > 1)
        Print("Kernel vector %d added; Tags labels %d and %d\n", KD->KernelSize, lbl1, lbl2);
    KD->KernelLabels[KD->KernelSize] = lbl1;
    KD->KernelSize += 1;
    if (KD->KernelSize > KD->MaxKernelSize) {
        dumpHook();
        Alert("addDoubleTagKernelVector", 2, 220502, "Too many kernel vectors");
    }
    KD->DoubleTag += 1;
    KD->PrimUsed[lbl1] = 1;
    KD->SecUsed[lbl2] = 1;
    for (int k = 0; k < size - 1; k++)
        if (newvec[k] > 0)
            KD->PosUsed[k] = 1;
    // Each pair is entered in both orders; a variable is a tag at most once, so the lists
    // (of size entries each) never fill.
    if (KD->tagCount + 2 <= size) {
        KD->Tag1[KD->tagCount] = lbl1;
        KD->Tag2[KD->tagCount] = lbl2;
        KD->Tag1[KD->tagCount + 1] = lbl2;
        KD->Tag2[KD->tagCount + 1] = lbl1;
        KD->tagCount += 2;
    }
}

void sweepKernel(KernelData* KD, int Ncol) {
    for (int v = 1; v < KD->KernelSize; v++) {
        const int tag = KD->KernelLabels[v];
        const int* rv = kernelRow(KD, v, Ncol);
        for (int u = 0; u < v; u++) {
            int* ru = kernelRow(KD, u, Ncol);
            if (ru[tag] >= 1)
                for (int k = 0; k < Ncol; k++)
                    ru[k] += rv[k];
        }
    }
}

void resetPositiveUsed(KernelData* KD, int Ncol) {
    std::fill(KD->PosUsed, KD->PosUsed + Ncol, 0);
    for (int r = 0; r < KD->KernelSize; r++) {
        const int* v = kernelRow(KD, r, Ncol);
        for (int k = 0; k < Ncol - 1; k++)
            if (v[k] > 0)
                KD->PosUsed[k] = 1;
    }
}

void KernelBound(int Size, int index, int* Loop, int* Min, int* Max, int* lo, int* hi, void* Data) {
    auto* HLD = static_cast<HomogeneousLoopData*>(Data);
    *lo = Min[index];
    *hi = Max[index];
    if (index == Size - 1)
        return;
    const double* e = row(HLD->ED, 0);
    // The cut holds for a positive coefficient only; a zero or negative one leaves Max.
    if (e[index] <= 1e-7)
        return;
    double s = 0.0;
    for (int k = 0; k < Size; k++)
        if (k != index)
            s += Loop[k] * e[k];
    if (s > EdgeTolerance) {
        *hi = 0;
        return;
    }
    *hi = std::min(Max[index], static_cast<int>(EdgeTolerance - s / e[index]));
}

int hom_eval(int Size, int* Loop, void* Data) {
    if (!Data) {
        homogeneousPoints = 0;
        return 0;
    }
    auto* HLD = static_cast<HomogeneousLoopData*>(Data);
    KernelData* KD = HLD->KD;
    if (++homogeneousPoints > HLD->maxloop)
        return -3;
    if (!satisfiesIndependent(HLD->ED, Loop))
        return 0;
    const int tag = Present(Loop, Size, -1);
    if (tag < 0 || KD->KernelSize >= kernelRows(KD))
        return 0;
    std::copy(Loop, Loop + Size, kernelRow(KD, KD->KernelSize, Size));
    recordSingleTag(KD, Size, tag, "hom_eval", HLD->verbosity);
    return -1;
}

int hom_eval_double(int Size, int* Loop, void* Data) {
    if (!Data) {
        doubleWorkRows = 0;
        doubleWorkPoints = 0;
        return 0;
    }
    auto* HLD = static_cast<HomogeneousLoopData*>(Data);
    KernelData* KD = HLD->KD;
    // The point budget bounds a single loop search; without it one search over a wide box
    // could run for hours between two checks of the clock.
    if (++doubleWorkPoints > HLD->maxloop)
        return -3;
    if (!satisfiesIndependent(HLD->ED, Loop))
        return 0;
    const int maxRows = 2 * Size;
    int* W = holdAtLeast(doubleWork, std::max(2 * Size * Size + maxRows, 200000));
    int* pivots = W + static_cast<long long>(maxRows) * Size;
    if (KD->KernelSize >= kernelRows(KD) || doubleWorkRows >= maxRows)
        return 0;
    int* fresh = W + static_cast<long long>(doubleWorkRows) * Size;
    std::copy(Loop, Loop + Size, fresh);
    crossReduce(fresh, W, pivots, doubleWorkRows, Size);
    const int pivot = firstNonZero(fresh, Size);
    if (pivot < 0)
        return 0;
    pivots[doubleWorkRows++] = pivot;
    std::copy(Loop, Loop + Size, kernelRow(KD, KD->KernelSize, Size));
    return -1;
}

int SolveHomogeneous(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity,
                     int maxloop) {
    const int Ncol = ED->Ncol;
    int* B = holdAtLeast(singleBounds, 3 * Ncol);
    int* hmin = B;
    int* hmax = B + Ncol;
    int* loop = B + 2 * Ncol;
    HomogeneousLoopData HLD{ED, KD, maxloop, verbosity};
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Ncol - 1); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Ncol - 1)) {
        if (verbosity > 2)
            Print("  Starting Kernel analysis for variable %d\n", p);
        for (int k = 0; k < Ncol; k++) {
            hmin[k] = 0;
            hmax[k] = KD->PrimUsed[k] == 1 || k == Ncol - 1 ? 0 : 3;
        }
        hmin[p] = hmax[p] = -1;
        propagateKernelBounds(ED, hmin, hmax);
        if (verbosity > 2)
            Print("  Starting loops; total length %8.0f\n", LoopLength(Ncol, hmin, hmax));
        int r = NestedLoops(Ncol, hmin, hmax, loop, &HLD, KernelBound, hom_eval);
        if (r == -3 && verbosity >= 3)
            Print("  Kernel vector search for label %d stopped\n", p);
        if (r == 0 && verbosity > 2)
            Print("  No kernel vector for label %d\n", p);
    }
    sweepKernel(KD, Ncol);
    resetPositiveUsed(KD, Ncol);
    return KD->SingleTag;
}

namespace {

bool skipForDoubleTag(const KernelData* KD, const int* Min, const int* Max, int v) {
    return KD->PrimUsed[v] || KD->SecUsed[v] || KD->PosUsed[v] || Min[v] == Max[v];
}

// The loop search for a double-tag vector with tags i and j; true when one was recorded.
bool doubleTagLoop(KernelData* KD, EquationData* ED, int i, int j, HomogeneousLoopData* HLD) {
    const int Ncol = ED->Ncol;
    int* B = holdAtLeast(doubleBounds, 3 * Ncol);
    int* hmin = B;
    int* hmax = B + Ncol;
    int* loop = B + 2 * Ncol;
    if (HLD->verbosity > 2)
        Print("  Starting two-label kernel analysis for variables %d,%d\n", i, j);
    for (int k = 0; k < Ncol; k++) {
        hmin[k] = 0;
        hmax[k] = isTag(KD, k) || k == Ncol - 1 ? 0 : DoubleTagRange;
    }
    hmin[i] = hmax[i] = hmin[j] = hmax[j] = -1;
    propagateKernelBounds(ED, hmin, hmax);
    if (HLD->verbosity > 2)
        Print("  Starting loops; total length %8.0f\n", LoopLength(Ncol, hmin, hmax));
    doubleWorkPoints = 0;
    int r = NestedLoops(Ncol, hmin, hmax, loop, HLD, KernelBound, hom_eval_double);
    if (r > 0) {
        addDoubleTagKernelVector(KD, kernelRow(KD, KD->KernelSize, Ncol), Ncol, i, j,
                                 HLD->verbosity);
        return true;
    }
    if (HLD->verbosity > 2)
        Print("  No kernel vector for labels %d and %d\n", i, j);
    return false;
}

} // namespace

int DoubleTagKernelLoops(KernelData* KD, EquationData* ED, int maxloop, int verbosity, int* Min,
                         int* Max) {
    const double start = CPUTime();
    const int Nvar = ED->Ncol - 1;
    if (Nvar < 1)
        return 1;
    HomogeneousLoopData HLD{ED, KD, maxloop, verbosity};
    for (int i = 0; i < Nvar; i++) {
        if (CPUTime() - start > DoubleTagTimeLimit) {
            Alert("DoubleTagKernelLoops", 0, 100201,
                  "This takes too long; stopping at i=%d (out of %d)\n", i, Nvar);
            return 1;
        }
        if (skipForDoubleTag(KD, Min, Max, i))
            continue;
        for (int j = i + 1; j < Nvar; j++) {
            if (skipForDoubleTag(KD, Min, Max, j))
                continue;
            if (doubleTagLoop(KD, ED, i, j, &HLD))
                break;
        }
    }
    return 1;
}

void FixBoundsUsingKernel(KernelData* KD, int* Min, int* Max) {
    for (int r = 0; r < KD->SingleTag; r++) {
        const int t = KD->KernelLabels[r];
        Max[t] = Min[t];
    }
}

int checkIndependence(int* vectors, int size, int Nvec, int* sweepcols) {
    int* fresh = vectors + static_cast<long long>(Nvec) * size;
    crossReduce(fresh, vectors, sweepcols, Nvec, size);
    const int pivot = firstNonZero(fresh, size);
    if (pivot < 0)
        return 0;
    sweepcols[Nvec] = pivot;
    return 1;
}

int checkIntegerIndependence(int* vectors, int size, int Nvec, int* sweepcols) {
    int* fresh = vectors + static_cast<long long>(Nvec) * size;
    for (int b = 0; b < Nvec; b++) {
        const int* rb = vectors + static_cast<long long>(b) * size;
        const int p = sweepcols[b];
        if (fresh[p] == 0)
            continue;
        const int reduced = rb[p] / GCD(rb[p], fresh[p]);
        if (reduced != 1 && reduced != -1)
            return 2;
        const int f = fresh[p] / rb[p];
        for (int k = 0; k < size; k++)
            fresh[k] -= f * rb[k];
    }
    int g = 0;
    for (int k = 0; k < size; k++)
        g = GCD(g, fresh[k]);
    if (g == 0)
        return 0;
    for (int k = 0; k < size; k++)
        fresh[k] /= g;
    int pivot = Present(fresh, size, 1);
    if (pivot < 0) {
        pivot = Present(fresh, size, -1);
        if (pivot >= 0)
            signFlip(size, fresh);
        else
            pivot = firstNonZero(fresh, size);
    }
    sweepcols[Nvec] = pivot;
    return 1;
}

void printKernel(KernelData* KD, int Ncol, int min, int max) {
    for (int r = min; r < max; r++)
        printKernelVector(Ncol, kernelRow(KD, r, Ncol), formstr("Nr. %2d: ", r));
}

void printKernelVector(int Size, int* vector, const char* string) {
    Print("%s ", string);
    printNonZeroEntries(Size, vector);
}
