// Which candidates can share a boundary set, the maximal groups of pairwise compatible ones, and
// the growth of boundary sets from the sign variants of a group's members: a set that takes a
// vector leaves a copy of itself without it behind, so the list ends with every consistent
// subset.
#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace crossbound_internal;

int SignedBoundaryCount = 0;

namespace {

int overlapK = 0;
std::vector<int> Overlaps; // K x K

// The combination table: C rows of at most L candidate numbers.
int tableWidth = 0; // L
std::vector<int> OverlapSets;
std::vector<int> overlap_length;
std::vector<int> isSubset;
int setcount = 0;

// The signed-boundary store: S slots of 2N doubles; the sets refer into it.
std::vector<double> SignedBoundaries;
int slots = 0;

std::vector<int> pairLoop;   // minima, maxima, loop vector of the compatibility loop
std::vector<int> growthLoop; // the same for the growth step
std::vector<double> candR;

int infoLevel() {
    return BoundarySearchInfo ? *BoundarySearchInfo : 0;
}

int capacity() {
    return BoundarySearchCapacity ? *BoundarySearchCapacity : 1;
}

int* row(int r) {
    return OverlapSets.data() + static_cast<std::size_t>(r) * tableWidth;
}

bool compatibleWithRow(int r, int k) {
    const int* members = row(r);
    for (int q = 0; q < overlap_length[static_cast<std::size_t>(r)]; q++)
        if (members[q] >= k || !candidatesCompatible(members[q], k))
            return false;
    return true;
}

void markSubsets(int K) {
    for (int r = 0; r < setcount; r++) {
        const std::size_t ur = static_cast<std::size_t>(r);
        const int length = overlap_length[ur];
        const int* members = row(r);
        isSubset[ur] = length == 0 ? 1 : 0;
        // A row that holds L members cannot take another one.
        for (int c = 0; c < K && !isSubset[ur] && length < tableWidth; c++) {
            if (std::find(members, members + length, c) != members + length)
                continue;
            bool all = true;
            for (int q = 0; q < length && all; q++)
                all = candidatesCompatible(members[q], c);
            if (all)
                isSubset[ur] = 1;
        }
    }
}

void reportCombinations() {
    const int v = infoLevel();
    if (v < 2)
        return;
    Print("\nCombinations of boundary candidates\n");
    if (v > 5)
        Print("[(*) denotes subsets]\n");
    char text[32];
    for (int r = 0; r < setcount; r++) {
        const bool marked = isSubset[static_cast<std::size_t>(r)] != 0;
        if (marked && v <= 5)
            continue;
        std::snprintf(text, sizeof text,
                      marked ? "Nr. %3d: (*) " : (v < 6 ? "Nr. %3d: " : "Nr. %3d:     "), r);
        PrintVec(overlap_length[static_cast<std::size_t>(r)], row(r), text);
    }
}

bool firstComponentNegative(int N, const double* v) {
    int first = 0;
    while (first < N && CZeroCheck(v[first], v[N + first]))
        first++;
    return first < N && !CposCheck(v[first], v[N + first]);
}

// The offer tests of one set: signs, orthogonality and integral non-negative annuli with every
// member, and room for the vector (with its conjugate) within the set's L members.
bool setTakes(const BoundarySet* set, int complex, const double* v) {
    const int N = set->Nfield;
    const int v8 = infoLevel() >= 8;
    if (set->Count + (complex ? 2 : 1) > set->Nbound)
        return false;
    for (int p = 0; p < N; p++)
        if (!CZeroCheck(v[p], v[N + p]) && !CposCheck(v[p], v[N + p]) &&
            set->signset[static_cast<std::size_t>(p)] != 1) {
            if (v8)
                Print("Rejected (negative on undetermined sign)\n");
            return false;
        }
    for (int k = 0; k < set->Count; k++) {
        const double* member = set->Bound[static_cast<std::size_t>(k)];
        if (!ComplexOrthogonalityCheck(N, member, member + N, v, v + N)) {
            if (v8)
                Print("Rejected (not orthogonal to %d)\n", k);
            return false;
        }
    }
    for (int k = 0; k < set->Count; k++)
        for (int p = 0; p < N; p++) {
            double re, im;
            int value;
            VectorVerlinde(p, N, &re, &im, compS, set->Bound[static_cast<std::size_t>(k)], v,
                           SBI.Szero);
            if (!ComplexToInteger(re, im, &value)) {
                if (v8)
                    Print("Rejected (non-integer off-diagonal annulus)\n");
                return false;
            }
            if (value < 0) {
                if (v8)
                    Print("Rejected (negative off-diagonal annulus)\n");
                return false;
            }
        }
    return true;
}

// The set grows by v (and its conjugate in the next slot) and leaves its copy without v behind;
// the set after which the offer goes on.
BoundarySet* grow(BoundarySet* set, int a, int complex, double* v) {
    const int N = set->Nfield;
    if (infoLevel() >= 7)
        Print("Added as nr. %d\n", set->Count + 1);
    set->Bound[static_cast<std::size_t>(set->Count)] = v;
    set->Labels[static_cast<std::size_t>(set->Count)] = a;
    set->Count++;
    set->isSubSet = 0;
    BoundarySet* resume = set;
    if (duplicateBoundarySet(set) == 0) {
        resume = set->next.get();
        if (infoLevel() >= 7)
            Print("New set %d (size %d, created from %d)\n", resume->sequence, resume->Count,
                  set->sequence);
    }
    if (complex) {
        set->Bound[static_cast<std::size_t>(set->Count)] = v + 2 * N;
        set->Labels[static_cast<std::size_t>(set->Count)] = a;
        set->Count++;
    }
    for (int p = 0; p < N; p++)
        if (!CZeroCheck(v[p], v[N + p]))
            set->signset[static_cast<std::size_t>(p)] = 1;
    return resume;
}

} // namespace

int candidatesCompatible(int i, int j) {
    return Overlaps[static_cast<std::size_t>(i) * overlapK + j];
}

int overlapSetCount() {
    return setcount;
}

const int* overlapSet(int r) {
    return row(r);
}

int overlapLength(int r) {
    return overlap_length[static_cast<std::size_t>(r)];
}

int overlapIsSubset(int r) {
    return isSubset[static_cast<std::size_t>(r)];
}

// ============================================================ Compatibility

void getBoundSignLoopInfo(int N, int* minima, int* maxima, const double* B1, const double* B2,
                          const double* C) {
    for (int m = 0; m < N; m++) {
        minima[m] = 0;
        const bool looped = !CZeroCheck(B1[m], B1[N + m]) &&
                            (!B2 || !CZeroCheck(B2[m], B2[N + m])) &&
                            (!orientifoldOn() || CZeroCheck(C[m], C[N + m]));
        maxima[m] = looped ? 1 : 0;
    }
}

int checkOrthogonality(int N, int* sign, void* data) {
    const int code = *static_cast<const int*>(data);
    const int i = code % overlapK, j = (code - i) / overlapK;
    const double* a = boundaryCandidate(i);
    const double* b = boundaryCandidate(j);
    for (int k = 0; k < 2 * N; k++)
        candR[static_cast<std::size_t>(k)] = (1 - 2 * sign[k % N]) * b[k];
    const double* r = candR.data();
    if (!ComplexOrthogonalityCheck(N, a, a + N, r, r + N))
        return 0;
    for (int p = 0; p < N; p++) {
        double re, im;
        int value;
        VectorVerlinde(p, N, &re, &im, compS, a, r, SBI.Szero);
        if (!ComplexToInteger(re, im, &value) || value < 0)
            return 0;
    }
    // One accepted sign choice settles the pair.
    return -1;
}

void computeBoundaryOverlaps(int N, int K) {
    overlapK = K;
    Overlaps.assign(static_cast<std::size_t>(K) * K, 0);
    pairLoop.resize(3 * static_cast<std::size_t>(N) + 10);
    candR.resize(2 * static_cast<std::size_t>(N) + 10);
    int *Min = pairLoop.data(), *Max = Min + N, *Loop = Min + 2 * N;
    for (int i = 0; i < K; i++) {
        Overlaps[static_cast<std::size_t>(i) * K + i] = 1;
        for (int j = i + 1; j < K; j++) {
            getBoundSignLoopInfo(N, Min, Max, boundaryCandidate(i), boundaryCandidate(j),
                                 SBI.Gamma);
            int code = j * K + i;
            const int count = NestedLoops(N, Min, Max, Loop, &code, nullptr, checkOrthogonality);
            Overlaps[static_cast<std::size_t>(i) * K + j] =
                Overlaps[static_cast<std::size_t>(j) * K + i] = count > 0 ? 1 : 0;
        }
    }
    getOverlappingSets();
}

void getOverlappingSets() {
    const int K = overlapK;
    const int C = std::max(200 * capacity(), 4 * K);
    tableWidth = IshibashiLabelCount;
    OverlapSets.assign(static_cast<std::size_t>(C) * tableWidth, 0);
    overlap_length.assign(static_cast<std::size_t>(C), 0);
    isSubset.assign(static_cast<std::size_t>(C), 0);
    setcount = 0;
    for (int c = 0; c < K && c < C - 1 && tableWidth > 0; c++) {
        row(c)[0] = c;
        overlap_length[static_cast<std::size_t>(c)] = 1;
        setcount++;
    }
    bool reported = false;
    for (int k = 0; k < K; k++) {
        const int rows = setcount;
        for (int r = 0; r < rows; r++) {
            const std::size_t ur = static_cast<std::size_t>(r);
            if (overlap_length[ur] >= tableWidth || !compatibleWithRow(r, k))
                continue;
            int target = setcount;
            if (setcount >= C - 1) {
                if (!reported)
                    Alert("getOverlappingSets", 0, 520218,
                          "Maximal number of boundary combinations reached");
                reported = true;
                Capacity_exceeded = 1;
                target = r;
            } else {
                std::copy(row(r), row(r) + overlap_length[ur], row(target));
                overlap_length[static_cast<std::size_t>(target)] = overlap_length[ur];
                setcount++;
            }
            const std::size_t ut = static_cast<std::size_t>(target);
            row(target)[overlap_length[ut]++] = k;
            isSubset[ut] = 0;
        }
    }
    markSubsets(K);
    reportCombinations();
}

// ============================================================ Growth of boundary sets

void addSignedBoundaries(int a) {
    const int N = getTotalPrimaries();
    growthLoop.resize(3 * static_cast<std::size_t>(N) + 10);
    int *Min = growthLoop.data(), *Max = Min + N, *Loop = Min + 2 * N;
    getBoundSignLoopInfo(N, Min, Max, boundaryCandidate(a), nullptr, SBI.Gamma);
    NestedLoops(N, Min, Max, Loop, &a, nullptr, addToBoundarySet);
}

int addToBoundarySet(int N, int* sign, void* data) {
    const std::size_t width = 2 * static_cast<std::size_t>(N);
    if (!sign) {
        SignedBoundaryCount = 0;
        slots = 200 * capacity();
        SignedBoundaries.assign(slots * width + 10, 0.0);
        return 0;
    }
    const int a = *static_cast<const int*>(data);
    const double* candidate = boundaryCandidate(a);
    const int passes = orientifoldOn() ? 2 : 1;
    for (int pass = 0; pass < passes; pass++) {
        const double overall = pass == 0 ? 1.0 : -1.0;
        double* v = SignedBoundaries.data() + SignedBoundaryCount * width;
        for (std::size_t k = 0; k < width; k++)
            v[k] = (1 - 2 * sign[k % static_cast<std::size_t>(N)]) * overall * candidate[k];
        const int complex = isComplexBoundary(N, v);
        if (complex) {
            bool known = false;
            for (int s = 0; s < SignedBoundaryCount && !known; s++)
                known = compareDoubleVec(2 * N, v, SignedBoundaries.data() + s * width);
            if (known)
                continue;
            for (int m = 0; m < N; m++) {
                v[width + m] = v[m];
                v[width + N + m] = -v[N + m] + 0.0; // no negative zeros
            }
        }
        if (infoLevel() >= 7) {
            Print("Signed boundary vector:\n");
            PrintComplexVec(N, v, v + N, "");
        }
        if (!addBoundarySolution(a, complex, v, &firstBS))
            continue;
        SignedBoundaryCount += complex ? 2 : 1;
        if (SignedBoundaryCount >= slots - 2) {
            Alert("addToBoundarySet", 0, 110110, "Signed boundary reallocation\n");
            const double* oldBase = SignedBoundaries.data();
            std::vector<double> grown(2 * slots * width + 10, 0.0);
            std::copy(SignedBoundaries.begin(), SignedBoundaries.end(), grown.begin());
            SignedBoundaries.swap(grown);
            slots *= 2;
            shiftPointers(firstBS.get(), SignedBoundaries.data(), oldBase);
        }
    }
    return 1;
}

int addBoundarySolution(int a, int complex, double* v, std::unique_ptr<BoundarySet>* link) {
    int took = 0;
    for (BoundarySet* set = link->get(); set; set = set->next.get()) {
        if (infoLevel() >= 7)
            Print("Trying to add this boundary to set %d of size %d\n", set->sequence, set->Count);
        // The first member of a set fixes the overall sign; the offer ends here.
        if (set->Count == 0 && firstComponentNegative(set->Nfield, v)) {
            if (infoLevel() >= 8)
                Print("Rejected (first coeff. of first boundary negative)\n");
            break;
        }
        if (setTakes(set, complex, v)) {
            took = 1;
            set = grow(set, a, complex, v);
        }
    }
    return took;
}
