// Boundary sets of exceptional invariants: the candidate record, the numbered sets under
// construction, the store of complete sets in canonical order and the loading of a stored set.
#include "boundary/CrossBoundSets.h"

#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cstdio>

using namespace crossbound_internal;

SingleBoundaryInfo SBI;
std::unique_ptr<BoundarySet> firstBS;
std::unique_ptr<CompleteBoundarySet> completeBS;
int Sequence = 0;
int Capacity_exceeded = 0;
int SolutionCount = 0;

namespace {

int infoLevel() {
    return BoundarySearchInfo ? *BoundarySearchInfo : 0;
}

int capacity() {
    return BoundarySearchCapacity ? *BoundarySearchCapacity : 1;
}

// The sets of a list from the last to the first, as the reports and counts walk them.
template <class Set> std::vector<Set*> lastToFirst(Set* list) {
    std::vector<Set*> sets;
    for (Set* s = list; s; s = s->next.get())
        sets.push_back(s);
    std::reverse(sets.begin(), sets.end());
    return sets;
}

int nonZeroCount(int n, const double* R) {
    int count = 0;
    for (int m = 0; m < n; m++)
        if (!CZeroCheck(R[m], R[n + m]))
            count++;
    return count;
}

// The nearest integer of a Verlinde sum, reported when it is not one.
int roundedSum(int position, const char* what, double re, double im) {
    int value = 0;
    if (!ComplexToInteger(re, im, &value)) {
        value = DoubleToInt(re);
        Alert("printBoundarySet", position, 212302,
              "Non-integer %s\nvalue (%15.7f,%15.7f) (converted to %d)", what, re, im, value);
    }
    return value;
}

void printAmplitudeLines(const BoundarySet* set, int k) {
    const int N = set->Nfield;
    for (int j = 0; j < set->Count; j++) {
        Print("Annulus(i,%d,%d): ", k, j);
        for (int i = 0; i < N; i++) {
            double re, im;
            VectorVerlinde(i, N, &re, &im, compS, set->Bound[static_cast<std::size_t>(k)],
                           set->Bound[static_cast<std::size_t>(j)], SBI.Szero);
            Print("%2d", roundedSum(0, "annulus", re, im));
        }
        Print("\n");
    }
    if (!orientifoldOn())
        return;
    Print("Moebius(i,%d):   ", k);
    for (int i = 0; i < N; i++) {
        double re, im;
        VectorVerlinde(i, N, &re, &im, compP, set->Bound[static_cast<std::size_t>(k)], SBI.Gamma,
                       SBI.Szero);
        Print("%2d", roundedSum(1, "moebius", re, im));
    }
}

} // namespace

// ============================================================ Records

void allocSingleBoundaryInfo(SingleBoundaryInfo* sbi) {
    const int N = getTotalPrimaries();
    double* data = sbi->Data.reserve(5 * N + 10);
    int* annulus = sbi->Annulus.reserve(4 * N + 10);
    sbi->Szero = data;
    sbi->Bound = data + N;
    sbi->Gamma = data + 3 * N;
    sbi->Klein = annulus + N;
    sbi->Moebius = annulus + 2 * N;
    sbi->StandardKlein = annulus + 3 * N;
    std::fill(sbi->Klein, sbi->Klein + N, 0);
    sbi->KBC_required = 0;
    for (int m = 0; m < N; m++) {
        double im;
        compS(0, m, &sbi->Szero[m], &im);
    }
    debugLine("Single Boundary Info %p initiated\n", static_cast<void*>(sbi));
}

int allocBoundarySet(int Np, int Nb, std::unique_ptr<BoundarySet>* set, int seq) {
    int number = -1;
    if (seq == 1) {
        if (200 * capacity() < Sequence) {
            Sequence++;
            Alert("allocBoundarySet", 0, 520218, "Maximal number of boundary sets reached");
            Capacity_exceeded = 1;
            return 1;
        }
        number = Sequence++;
    }
    auto made = std::make_unique<BoundarySet>();
    made->Bound.assign(static_cast<std::size_t>(Nb), nullptr);
    made->Labels.assign(static_cast<std::size_t>(Nb), 0);
    made->signset.assign(static_cast<std::size_t>(Np), 0);
    for (int p = 0; p < Np && SBI.Gamma; p++)
        made->signset[static_cast<std::size_t>(p)] =
            orientifoldOn() && !CZeroCheck(SBI.Gamma[p], SBI.Gamma[Np + p]) ? 1 : 0;
    made->sequence = number;
    made->Nfield = Np;
    made->Nbound = Nb;
    *set = std::move(made);
    return 0;
}

int duplicateBoundarySet(BoundarySet* set) {
    std::unique_ptr<BoundarySet> copy;
    if (allocBoundarySet(set->Nfield, set->Nbound, &copy, 1) == 1)
        return 1;
    copy->Count = std::max(set->Count - 1, 0);
    std::copy(set->Bound.begin(), set->Bound.begin() + copy->Count, copy->Bound.begin());
    std::copy(set->Labels.begin(), set->Labels.begin() + copy->Count, copy->Labels.begin());
    copy->signset = set->signset;
    copy->isSubSet = 1;
    copy->next = std::move(set->next);
    set->next = std::move(copy);
    return 0;
}

// Iteratively, so that a long list does not recurse through its destructors.
void freeBoundarySet(std::unique_ptr<BoundarySet>* head) {
    while (*head)
        *head = std::move((*head)->next);
}

void allocCompleteBoundarySet(int Np, int Nb, std::unique_ptr<CompleteBoundarySet>* set) {
    auto made = std::make_unique<CompleteBoundarySet>();
    made->Bound.assign(static_cast<std::size_t>(Np) * Nb * 2, 0.0);
    made->Nfield = Np;
    made->Nbound = Nb;
    *set = std::move(made);
}

void freeCompleteBoundarySet(std::unique_ptr<CompleteBoundarySet>* head) {
    while (*head)
        *head = std::move((*head)->next);
}

// ============================================================ Canonical order and storing

int compareBoundaryVectors(int n, const double* R1, const double* R2) {
    const int z1 = nonZeroCount(n, R1), z2 = nonZeroCount(n, R2);
    if (z1 != z2)
        return z1 > z2 ? 1 : -1;
    for (int m = 0; m < n; m++) {
        const double a1 = absC(R1[m], R1[n + m]), a2 = absC(R2[m], R2[n + m]);
        if (a1 != a2)
            return a1 < a2 ? 1 : -1;
    }
    const bool real1 = !isComplexBoundary(n, R1), real2 = !isComplexBoundary(n, R2);
    if (real1 != real2)
        return real1 ? 1 : -1;
    for (int m = 0; m < n; m++) {
        const double dr = R1[m] - R2[m], di = R1[n + m] - R2[n + m];
        if (!CZeroCheck(dr, di))
            return CposCheck(dr, di) ? 1 : -1;
    }
    Alert("compareBoundaryVectors", 0, 212404, "Unexpected identical boundary vectors in set");
    return 0;
}

void orderBoundaries(const BoundarySet* set, int* order) {
    const int count = set->Count;
    int* placed = order + count;
    std::fill(placed, placed + count, 0);
    for (int pos = 0; pos < count; pos++) {
        int best = -1;
        for (int k = 0; k < count; k++) {
            if (placed[k])
                continue;
            if (best < 0 ||
                compareBoundaryVectors(set->Nfield, set->Bound[static_cast<std::size_t>(k)],
                                       set->Bound[static_cast<std::size_t>(best)]) == 1)
                best = k;
        }
        placed[best] = 1;
        order[pos] = best;
    }
}

int compareCompleteBoundarySets(const BoundarySet* set, const CompleteBoundarySet* stored) {
    const int width = 2 * set->Nfield;
    for (int k = 0; k < set->Count; k++) {
        bool found = false;
        for (int r = 0; r < set->Count && r < stored->Nbound && !found; r++)
            found = compareDoubleVec(width, set->Bound[static_cast<std::size_t>(k)],
                                     stored->Bound.data() + static_cast<std::size_t>(r) * width);
        if (!found)
            return 1;
    }
    return 0;
}

int storeBoundarySet(const BoundarySet* set) {
    int stored = 0;
    for (const CompleteBoundarySet* s = completeBS.get(); s; s = s->next.get(), stored++)
        if (compareCompleteBoundarySets(set, s) == 0)
            return 0;
    static GuardedArray<int> order{"order", &CrossBound_alloc};
    order.reserve(2 * set->Count + 10);
    orderBoundaries(set, order.X);
    std::unique_ptr<CompleteBoundarySet> record;
    allocCompleteBoundarySet(set->Nfield, set->Nbound, &record);
    const std::size_t width = 2 * static_cast<std::size_t>(set->Nfield);
    for (int r = 0; r < set->Count; r++) {
        const double* member = set->Bound[static_cast<std::size_t>(order[r])];
        std::copy(member, member + width, record->Bound.begin() + static_cast<long>(r * width));
    }
    record->Number = stored;
    Print("Complete boundary set nr. %d stored\n", stored);
    record->next = std::move(completeBS);
    completeBS = std::move(record);
    return 1;
}

void storeCompleteBoundary(const BoundarySet* set, ExceptBoundData*, int* count) {
    if (set->Count == IshibashiLabelCount && storeBoundarySet(set) == 1)
        (*count)++;
}

void storeCompleteBoundaries(const BoundarySet* list, ExceptBoundData* EDT, int* count) {
    for (const BoundarySet* s : lastToFirst(list))
        storeCompleteBoundary(s, EDT, count);
}

// ============================================================ Loading a stored set

int selectBoundary(int number, int quiet) {
    const CompleteBoundarySet* found = completeBS.get();
    while (found && found->Number != number)
        found = found->next.get();
    if (!found)
        return 0;
    const int N = found->Nfield, L = found->Nbound;
    ExceptBoundData* EDT = currentBulk()->EDT;
    if (EDT->Nprimaries != N || EDT->Nlabels < L || !EDT->Bound)
        allocExceptBound(EDT, N, L);
    std::copy(found->Bound.begin(), found->Bound.end(), EDT->Bound);
    EDT->BoundariesLoaded = 1;
    OrientifoldCounter++;
    if (CrosscapStatus == 1)
        std::copy(SBI.Gamma, SBI.Gamma + 2 * N, EDT->Gamma);
    if (CrosscapStatus == 1 || CrosscapStatus == -2)
        std::copy(SBI.Klein, SBI.Klein + N, EDT->Klein.X);
    EDT->CrosscapsLoaded = CrosscapStatus;
    if (quiet)
        return 1;
    Print("Boundary set %d loaded\n", number);
    if (infoLevel() < 2)
        return 1;
    Print("Diagonal annulus:\n");
    for (int a = 0; a < L; a++)
        for (int i = 0; i < N; i++)
            Print(i + 1 < N ? "%d," : "%d\n", getAnnulus(-i, a, a));
    return 1;
}

// ============================================================ Reports

void VectorVerlinde(int i, int n, double* R, double* I, void (*X)(int, int, double*, double*),
                    const double* Y, const double* Z, const double* S) {
    double re = 0.0, im = 0.0;
    for (int m = 0; m < n; m++) {
        double xr, xi, yzr, yzi;
        X(i, m, &xr, &xi);
        complexProduct(Y[m], Y[n + m], Z[m], Z[n + m], &yzr, &yzi);
        double pr, pi;
        complexProduct(xr, -xi, yzr, yzi, &pr, &pi);
        re += pr / S[m];
        im += pi / S[m];
    }
    *R = re;
    *I = im;
}

void printBoundarySet(const BoundarySet* set) {
    SolutionCount++;
    const int v = infoLevel();
    const bool complete = set->Count == IshibashiLabelCount;
    if (v < 2 || (v == 2 && !complete))
        return;
    if (set->Count > 0)
        Print("\nSolution %d: (from boundary set %d)\n", SolutionCount, set->sequence);
    PrintVec(set->Count, set->Labels.data(), "Labels: ");
    const int N = set->Nfield;
    for (int k = 0; k < set->Count; k++) {
        char text[32];
        std::snprintf(text, sizeof text, "Boundary %d ", k);
        const double* member = set->Bound[static_cast<std::size_t>(k)];
        PrintComplexVec(N, member, member + N, text);
        if (v >= 4 || (v == 3 && complete)) {
            printAmplitudeLines(set, k);
            Print("\n\n");
        }
    }
}

void printBoundarySets(int minSize, const BoundarySet* list) {
    for (const BoundarySet* s : lastToFirst(list))
        if (s->Count >= minSize)
            printBoundarySet(s);
}

int BoundarySetStatus(int size) {
    const int v = infoLevel();
    if (v == 0)
        return size;
    SolutionCount = 0;
    const int L = IshibashiLabelCount;
    if (size >= L && v > 1)
        Print("Complete boundary set(s):\n");
    else if (size < L && v > 2)
        Print("Largest boundary set(s):\n");
    if (firstBS) {
        printBoundarySets(size, firstBS->next.get());
        if (firstBS->Count >= size)
            printBoundarySet(firstBS.get());
    }
    const int printed = SolutionCount;
    if (printed >= 2 && size == L)
        Print("Total number of complete boundary sets: %d\n", printed);
    else if (printed >= 2)
        Print("Total number of boundary sets of size %d: %d\n", size, printed);
    else if (printed == 1 && size == L)
        Print("A complete boundary set was found for this combination.\n");
    else if (printed == 1)
        Print("One boundary set of (maximal) size %d\n", size);
    return size;
}

void printPresentBoundarySet(const BoundarySet* set) {
    char text[32];
    std::snprintf(text, sizeof text, "Nr %d: ", set->sequence);
    PrintVec(set->Count, set->Labels.data(), text);
}

void printPresentBoundarySets(const BoundarySet* list) {
    for (const BoundarySet* s : lastToFirst(list))
        printPresentBoundarySet(s);
}

// ============================================================ List helpers

int getLargestSetSize(int start, int* count, const BoundarySet* list) {
    int largest = start;
    for (const BoundarySet* s : lastToFirst(list)) {
        if (s->Count < largest)
            continue;
        if (s->Count == largest) {
            (*count)++;
        } else {
            *count = 1;
            largest = s->Count;
        }
    }
    return largest;
}

BoundarySet* getLargestSet(int size, BoundarySet* list, BoundarySet* fallback) {
    for (BoundarySet* s = list; s; s = s->next.get())
        if (s->Count > size)
            return s;
    return fallback;
}

int CompletionPossible(const BoundarySet* set) {
    for (int p = 0; p < set->Nfield; p++)
        if (isIshibashiLabel(p) && set->signset[static_cast<std::size_t>(p)] != 1)
            return 0;
    return 1;
}

int checkCompletionPossible(const BoundarySet* list) {
    for (const BoundarySet* s = list; s; s = s->next.get())
        if (CompletionPossible(s))
            return 1;
    return 0;
}

void shiftPointers(BoundarySet* list, double* newBase, const double* oldBase) {
    for (BoundarySet* s = list; s; s = s->next.get())
        for (double*& member : s->Bound)
            if (member)
                member = newBase + (member - oldBase);
}
