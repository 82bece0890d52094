// Orientifold records and the current orientifold. A record is made empty, then sized for one
// bulk invariant, which resets its choice; the counter OrientifoldCounter moves whenever the
// current record or its choice changes, so that every cache of the unoriented string is rebuilt.
// The Klein bottle of an exceptional invariant takes the place of the record's choice.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"
#include "boundary/CrossBoundSets.h"

#include "base/Error.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <algorithm>
#include <memory>

namespace crossbound_internal {

int OrientifoldCounter = -1;
OrientifoldInfo* User = nullptr;
OrientifoldInfo* Trivial = nullptr;
OrientifoldInfo* Loop = nullptr;
OrientifoldInfo* CurrentOrientifold = nullptr;
GuardedArray<OrientifoldInfo*> Orientifolds{"Orientifolds", &CrossBound_alloc};
int N_Ori = 0;
GuardedArray<int> ExceptionalKlein{"ExceptionalKlein", &CrossBound_alloc};

OrientifoldInfo* userRecord() {
    if (!User)
        User = allocateOrientifoldInfo_stage1();
    return User;
}

OrientifoldInfo* currentRecord() {
    if (!CurrentOrientifold)
        CurrentOrientifold = userRecord();
    return CurrentOrientifold;
}

} // namespace crossbound_internal

using namespace crossbound_internal;

namespace {

// Records live as long as the process: the list, the current pointer and the callers keep them.
std::vector<std::unique_ptr<OrientifoldInfo>> records;

void counterMovedBySelection() {
    OrientifoldCounter++;
    debugLine("Orientifold sequence number increased\n");
}

// Order and number of cyclic factors of the bulk group; a trivial group when the invariant has
// none. The truncation mark of the data, when they exist.
void bulkGroupSizes(int* Order, int* Mult, int* truncated) {
    *Order = *Mult = 1;
    *truncated = 0;
    const SCData* MD = currentBulk()->MD;
    if (!MD) {
        Alert("allocateOrientifoldInfo_stage2", 0, 212404,
              "Simple current data not defined; assuming diagonal invariant");
        return;
    }
    if (!MD->dg) {
        Alert("allocateOrientifoldInfo_stage2", 1, 212404,
              "Discrete group not defined; assuming trivial group");
        return;
    }
    *Order = MD->dg->Order;
    *Mult = MD->dg->Mult;
    *truncated = MD->truncated;
}

// The leading ints of the sign block that a reset sets to +1: the crosscap and the correction
// signs, for the group stage 2 sized the record for.
int resetSignCount() {
    const SCData* MD = currentBulk()->MD;
    return MD && MD->dg ? MD->dg->Mult + MD->dg->Order : 2;
}

void resetChoice(OrientifoldInfo* OI, int size) {
    OI->KBC = 0;
    const int n = OI->CrosscapSigns.reserved() ? std::min(size, OI->CrosscapSigns.X_oldsize) : 0;
    for (int k = 0; k < n; k++)
        OI->CrosscapSigns[k] = 1;
    OI->OrientifoldNr++;
    OrientifoldCounter++;
}

} // namespace

// ============================================================ Records

OrientifoldInfo* allocateOrientifoldInfo_stage1() {
    records.push_back(std::make_unique<OrientifoldInfo>());
    OrientifoldInfo* OI = records.back().get();
    debugLine("Allocated orientifold %p\n", static_cast<void*>(OI));
    return OI;
}

void allocateOrientifoldInfo_stage2(OrientifoldInfo** OI) {
    if (!*OI)
        *OI = allocateOrientifoldInfo_stage1();
    OrientifoldInfo* oi = *OI;
    if (oi->ModInvNr == QueryBulkInvariant())
        return;
    debugLine("Stage 2 allocation for Orientifold %p\n", static_cast<void*>(oi));
    int Order = 1, Mult = 1, truncated = 0;
    bulkGroupSizes(&Order, &Mult, &truncated);
    int* signs = oi->CrosscapSigns.reserve(Mult + 3 * Order);
    oi->CorrectionSigns = signs + Mult;
    oi->CorrectionPhases = signs + Mult + Order;
    oi->PhaseDenoms = signs + Mult + 2 * Order;
    const int N = truncated ? 2 * getTotalPrimaries() : currentBulk()->IshibashiLabelCount;
    int* labels = oi->Conjugates.reserve(3 * N);
    oi->IshibashiMetric = labels + N;
    oi->GroupTypes = labels + 2 * N;
    oi->Crosscap.reserve(2 * N);
    resetChoice(oi, Mult + Order);
    oi->Chirality = nullptr;
    oi->SequenceNumber = -1;
    oi->CrosscapFlip = 1;
    oi->ModInvNr = QueryBulkInvariant();
    debugLine("Orientifold %p reset\n", static_cast<void*>(oi));
}

void resetOrientifoldCrosscapParameters(OrientifoldInfo* OI, int size) {
    debugLine("Resetting orientifold %p\n", static_cast<void*>(OI));
    resetChoice(OI, size);
}

void resetOrientifoldStorageInfo(OrientifoldInfo* OI) {
    OI->ConjugatesAvailable = OI->CrosscapsAvailable = OI->IshibashiMetricAvailable =
        OI->CorrectionPhasesAvailable = OI->GlobalAnomaliesAvailable = -2;
}

void OrientifoldChanged() {
    OrientifoldCounter++;
}

// ============================================================ The current record

OrientifoldInfo* getCurrentOrientifold() {
    return CurrentOrientifold;
}

OrientifoldInfo* setUserDefinedOrientifold() {
    CurrentOrientifold = userRecord();
    counterMovedBySelection();
    return CurrentOrientifold;
}

void setSelectedOrientifold(OrientifoldInfo* OI) {
    if (!OI || OI == CurrentOrientifold)
        return;
    CurrentOrientifold = OI;
    counterMovedBySelection();
}

OrientifoldInfo* setStoredOrientifold(int i) {
    OrientifoldInfo* OI = getOrientifoldByNumber(i);
    setSelectedOrientifold(OI);
    return OI;
}

OrientifoldInfo* setLoopOrientifold() {
    debugLine("Setting loop orientifold\n");
    allocateOrientifoldInfo_stage2(&Loop);
    resetOrientifoldCrosscapParameters(Loop, resetSignCount());
    CurrentOrientifold = Loop;
    counterMovedBySelection();
    return Loop;
}

// ============================================================ The list

void allocateOrientifolds(int size) {
    const int held = Orientifolds.reserved() ? Orientifolds.X_oldsize : 0;
    if (Orientifolds.reserved() && held >= size)
        return;
    Orientifolds.reserve(size);
    for (int i = held; i < size; i++)
        Orientifolds[i] = nullptr;
}

OrientifoldInfo* getOrientifoldByNumber(int i) {
    if (i < 0 || i >= N_Ori || !Orientifolds.reserved() || i >= Orientifolds.X_oldsize)
        return nullptr;
    return Orientifolds[i];
}

OrientifoldInfo** getOrientifolds(int* N) {
    *N = N_Ori;
    return Orientifolds.X;
}

// ============================================================ Resets

int crossbound::QueryOrientifold() {
    return OrientifoldCounter;
}

namespace {
bool keepKleinBottleRows = false;
} // namespace

int crossbound_internal::resetOrientifoldKeepingKleinBottles() {
    keepKleinBottleRows = true;
    const int done = crossbound::resetOrientifold();
    keepKleinBottleRows = false;
    return done;
}

int crossbound::resetOrientifold() {
    if (KleinBottleStorage && !keepKleinBottleRows)
        resetVectorCollection(KleinBottleStorage);
    if (currentBulk()->simpleCurrentInvariant) {
        CurrentOrientifold = userRecord();
        OrientifoldCounter++;
        allocateOrientifoldInfo_stage2(&CurrentOrientifold);
        debugLine("Current orientifold (%p) reset\n", static_cast<void*>(CurrentOrientifold));
        return 1;
    }
    OrientifoldCounter++;
    debugLine("Exceptional orientifold data reset\n");
    if (!orientifoldOn())
        return 0;
    const int N = getTotalPrimaries();
    const int held = ExceptionalKlein.reserved() ? ExceptionalKlein.X_oldsize : 0;
    int* K = ExceptionalKlein.reserve(N);
    // Without conjugation the standard value is not written; new entries then start at 0.
    for (int i = held; i < N; i++)
        K[i] = 0;
    resetExceptionalKleinBottle(K);
    KleinBottleModInvNr = QueryBulkInvariant();
    return 1;
}

void crossbound::resetBulk() {
    debugLine("Bulk invariant reset\n");
    freeCompleteBoundarySet(&completeBS);
    resetCurrentBulkToDiagonal();
}

void resetExceptionalKleinBottle(int* KL) {
    if (!ConjugatesAvailable())
        return;
    const BulkInvariant* bi = currentBulk();
    const int N = getTotalPrimaries();
    for (int i = 0; i < N; i++) {
        KL[i] = 0;
        if (i >= bi->Nprimaries)
            continue;
        const int c = getConjugate(i);
        for (int k = 0; k < bi->orbitlength[i]; k++)
            if (bi->orbits[i][k] == c)
                KL[i] += bi->multiplicity[i];
    }
}
