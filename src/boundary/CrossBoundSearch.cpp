// The drivers of the boundary search: "search boundaries" enumerates every diagonal annulus
// vector up to a loop size and assembles, "try boundary" tests the diagonal annulus vectors of
// given ranges, "assemble" builds complete sets from the candidates collected so far.
#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace crossbound_internal;

int BoundCandUse = 0;
int BoundCandMIPF = -2;
int BoundCandOrientifold = -2;
int CompletionImpossible = 0;

namespace {

std::vector<int> tryLoop; // minima, maxima, loop vector

int infoLevel() {
    return BoundarySearchInfo ? *BoundarySearchInfo : 0;
}

int capacity() {
    return BoundarySearchCapacity ? *BoundarySearchCapacity : 1;
}

void refreshCandidateStore() {
    const int mode = orientifoldOn() ? 1 : 2;
    bool reset = false;
    if (QueryBulkInvariant() != BoundCandMIPF) {
        reset = true;
        BoundCandMIPF = QueryBulkInvariant();
    } else if (mode == 1) {
        reset = crossbound::QueryOrientifold() != BoundCandOrientifold || BoundCandUse != 1;
    } else {
        reset = BoundCandUse != 2;
    }
    if (!reset)
        return;
    resetBoundaries();
    BoundCandUse = mode;
    if (mode == 1)
        BoundCandOrientifold = crossbound::QueryOrientifold();
}

// The open-string data of an exceptional invariant with its crosscaps; false after a failure
// or a report.
bool exceptionalSetUp(const char* routine) {
    if (initializeOpenString() == 1)
        return false;
    if (currentBulk()->simpleCurrentInvariant) {
        Print("Simple current invariant; Boundaries already known.\n");
        Print("This invariant will be treated as exceptional.\n");
        makeBulkExceptional();
        if (initializeOpenString() == 1)
            return false;
    }
    if (CrosscapStatus == 0)
        initExceptionalBCFT();
    if (CrosscapStatus == -2) {
        Alert(routine, 1, 100302, "Crosscaps inconsistent; cannot compute boundaries");
        return false;
    }
    return true;
}

std::vector<int> searchLoop; // minima, maxima, loop vector

// Minima 0 and maxima min(maxloop, absolute maximum) on the free entries, 0 on the determined
// ones; true when no free entry was cut below its absolute maximum.
bool searchBounds(int N, int maxloop, int* Min, int* Max) {
    const int* absolute = getAbsMax();
    bool exhaustive = true;
    for (int i = 0; i < N; i++) {
        Min[i] = Max[i] = 0;
        if (SBI.tagged[i] != -1)
            continue;
        Max[i] = std::min(maxloop, absolute[i]);
        if (Max[i] != absolute[i])
            exhaustive = false;
        if (infoLevel() >= 2)
            Print("Absolute maximum for A^%d_(diag): %d (actual maximum %d)\n", i, absolute[i],
                  Max[i]);
    }
    Max[0] = 1;
    return exhaustive;
}

// One number of an entry; false after a report when it is not one.
bool readNumber(const char* text, int* value) {
    if (strnumChk(text, value) == 0)
        return true;
    Alert("getNextLimits", 0, 100302, "String %s cannot be converted to a number", text);
    return false;
}

// The minima and maxima of the N entries; false after a report.
bool parseLimits(char* limits, int N, int* Min, int* Max) {
    unblankString(limits);
    char* rest = limits;
    for (int i = 0; i < N; i++) {
        if (!rest) {
            Alert("tryBoundary", 2, 100302, "Too few entries");
            return false;
        }
        bool failed = false;
        rest = getNextLimits(rest, &Min[i], &Max[i], &failed);
        if (failed)
            return false;
    }
    if (rest) {
        Alert("tryBoundary", 3, 100302, "Too many entries");
        return false;
    }
    return true;
}

// The sets of one combination built from the sign variants of its members; largest and its
// count among the sets.
void growCombination(int N, int L, int r, int* largest, int* count) {
    freeBoundarySet(&firstBS);
    Sequence = 0;
    allocBoundarySet(N, L, &firstBS, 1);
    const int* members = overlapSet(r);
    for (int q = 0; q < overlapLength(r); q++)
        addSignedBoundaries(members[q]);
    *count = 0;
    *largest = getLargestSetSize(0, count, firstBS->next.get());
    if (firstBS->Count > *largest) {
        *largest = firstBS->Count;
        *count = 1;
    } else if (firstBS->Count == *largest) {
        (*count)++;
    }
}

void reportCombination(int r, int L, int largest, int count) {
    const int v = infoLevel();
    if (v < 1)
        return;
    if (v >= 7)
        Print("Statistics for combination %d\n", r);
    if (largest == L && count == 1)
        Print("Total number of sets: %d, one complete set found.\n", Sequence);
    else if (largest == L)
        Print("Total number of sets: %d, including %d complete ones.\n", Sequence, count);
    else
        Print("Total number of sets: %d, including %d of maximal size %d.\n", Sequence, count,
              largest);
    if (200 * capacity() < Sequence)
        Print("(Only %d sets were stored)\n", 200 * capacity());
}

void printVerdict(int total, int distinct) {
    if (total == 1 && distinct == 1)
        Print("Unique and complete set of boundaries found\n");
    else if (total > 1 && distinct == 1)
        Print("Unique and complete set of boundaries found\n(out of %d complete sets that were "
              "generated).\n",
              total);
    else if (distinct == 2 && total == 2)
        Print("Two distinct complete set of boundaries were found\n");
    else if (distinct == total)
        Print("In total %d distinct complete set of boundaries were found\n", distinct);
    else
        Print("In total %d distinct complete set of boundaries were found\n(out of %d complete "
              "sets that were generated).\n",
              distinct, total);
}

} // namespace

char* getNextLimits(char* text, int* minimum, int* maximum, bool* failed) {
    char* rest = std::strchr(text, ',');
    if (rest)
        *rest++ = '\0';
    char* colon = std::strchr(text, ':');
    if (colon)
        *colon = '\0';
    *failed = !readNumber(text, minimum) || (colon && !readNumber(colon + 1, maximum));
    if (!colon)
        *maximum = *minimum;
    return rest;
}

int tryBoundary(char* limits) {
    if (BoundCandUse == 3) {
        Alert("tryBoundary", 0, 112301,
              "This command is not available for NIMrep searches\nUse \"reset boundary_search\" "
              "to remove previous NIMrep results");
        return 0;
    }
    refreshCandidateStore();
    if (!exceptionalSetUp("tryBoundary"))
        return -1;
    const int N = getTotalPrimaries();
    tryLoop.assign(3 * static_cast<std::size_t>(N) + 10, 0);
    int *Min = tryLoop.data(), *Max = Min + N, *Loop = Min + 2 * N;
    if (!parseLimits(limits, N, Min, Max))
        return -1;
    if (infoLevel() >= 1) {
        Print("\nLoops started\n");
        PrintVec(N, Min, "Minima: ");
        PrintVec(N, Max, "Maxima: ");
        std::fflush(stdout);
        Print("\n");
    }
    testCandidateBoundaryInRange(N, nullptr, &SBI);
    start_CPU = last_CPU = CPUTime();
    const int before = BoundCandCount;
    NestedLoops(N, Min, Max, Loop, &SBI, nullptr, testCandidateBoundaryInRange);
    return BoundCandCount - before;
}

void attemptBoundaries(int maxloop) {
    CompletionImpossible = 0;
    resetBoundaries();
    freeCompleteBoundarySet(&completeBS);
    if (!exceptionalSetUp("attemptBoundaries"))
        return;
    // Stamped after the set-up: converting a simple-current invariant starts a new generation,
    // and the candidates belong to the converted one.
    BoundCandUse = orientifoldOn() ? 1 : 2;
    BoundCandMIPF = QueryBulkInvariant();
    BoundCandOrientifold = crossbound::QueryOrientifold();
    const int N = getTotalPrimaries();
    checkIshibashiOrthogonalSpace(initiateIshibashiOrthogonalSpace(nullptr));
    searchLoop.assign(3 * static_cast<std::size_t>(N) + 10, 0);
    int *Min = searchLoop.data(), *Max = Min + N, *Loop = Min + 2 * N;
    const bool exhaustive = searchBounds(N, maxloop, Min, Max);
    testCandidateBoundary(N, nullptr, &SBI);
    if (infoLevel() >= 1) {
        Print("\nLoops started\n");
        PrintVec(N, Max, "Maxima: ");
        std::fflush(stdout);
        Print("\n");
    }
    start_CPU = last_CPU = CPUTime();
    Capacity_exceeded = 0;
    // The boundaries with A^0 = 1 first, then those without the vacuum in their self-annulus.
    for (int vacuum = 1; vacuum >= 0; vacuum--) {
        Min[0] = Max[0] = vacuum;
        NimSqueeze(N, -1, nullptr, nullptr, nullptr, nullptr, nullptr, &SBI);
        if (NestedLoops(N, Min, Max, Loop, &SBI, NimSqueeze, testCandidateBoundary) < -2)
            return;
    }
    if (infoLevel() >= 1)
        Print("Starting assembly\n");
    assembleBoundarySet(0);
    if (exhaustive && Capacity_exceeded == 0 && CompletionImpossible == 0)
        Print("Complete solution\n");
    else
        Print("There may be additional solutions\n");
}

namespace {

// The candidates completion added, or 0; the completion runs below the threshold only.
int completeSets(int L, int largest) {
    const int threshold = BoundarySearchAllSets && *BoundarySearchAllSets ? 0 : largest;
    if (threshold >= L)
        return 0;
    const int before = BoundCandCount;
    attemptCompletion(threshold, L, firstBS->next.get());
    if (threshold <= firstBS->Count)
        attempt_completion(L, firstBS.get());
    return BoundCandCount - before;
}

// One pass over the combinations; true when completion found candidates and the assembly has to
// start again with all of them.
bool assembleOnce(int N, int L, int* distinct) {
    BulkInvariant* bi = currentBulk();
    const int v = infoLevel();
    if (v >= 1)
        Print("Total number of boundary candidates: %d\n", BoundCandCount);
    computeBoundaryOverlaps(N, BoundCandCount);
    int total = 0, largestSeen = 0;
    for (int r = 0; r < overlapSetCount(); r++) {
        addToBoundarySet(N, nullptr, nullptr);
        if (overlapIsSubset(r))
            continue;
        if (v >= 1) {
            Print("\n########### Combination number %d ############\n", r);
            PrintVec(overlapLength(r), overlapSet(r), "Consists of candidates Nrs. ");
        }
        int largest = 0, count = 0;
        growCombination(N, L, r, &largest, &count);
        reportCombination(r, L, largest, count);
        if (!checkCompletionPossible(firstBS->next.get()) && !CompletionPossible(firstBS.get())) {
            if (v >= 1)
                Print("There are no sets that can be completed\n");
        } else {
            if (const int added = completeSets(L, largest); added > 0) {
                if (v >= 1) {
                    if (added == 1)
                        Print("One new boundary was found during completion attempt.\n");
                    else
                        Print("%d new boundaries were found during completion attempt.\n", added);
                    Print("\nRestarting assembly\n");
                }
                return true;
            }
            if (largest == L) {
                total += count;
                storeCompleteBoundaries(firstBS->next.get(), bi->EDT, distinct);
                storeCompleteBoundary(firstBS.get(), bi->EDT, distinct);
            }
        }
        largestSeen = std::max(largestSeen, largest);
        BoundarySetStatus(largest);
    }
    if (v >= 1)
        Print("########### All combinations analysed ############\n");
    if (*distinct == 0) {
        Print("No complete set of boundaries was found\n");
        if (largestSeen >= 1)
            Print("Largest set has %d boundaries (out of %d)\n", largestSeen, L);
        return false;
    }
    printVerdict(total, *distinct);
    selectBoundary(0, 0);
    CompareAllBoundarySets();
    return false;
}

} // namespace

void assembleBoundarySet(int distinct) {
    BulkInvariant* bi = currentBulk();
    if (bi->simpleCurrentInvariant) {
        Alert("assembleBoundarySet", 0, 100302,
              "Simple current invariant; boundaries already known");
        return;
    }
    bi->EDT->BoundariesLoaded = 0;
    const int N = getTotalPrimaries();
    const int L = IshibashiLabelCount;
    // Candidates of a theory with another number of primaries cannot be read as vectors here.
    if (BoundCandCount == 0 || boundaryCandidateWidth() != N) {
        Print("There are no boundary candidates; assembly is impossible\n");
        return;
    }
    // Each productive completion starts the assembly again, carrying the sets already stored.
    while (assembleOnce(N, L, &distinct)) {
    }
}
