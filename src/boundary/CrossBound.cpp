// Start-up of the boundary module and the lazy set-up chain: the oriented data (labels) follow
// the bulk-invariant generation, the unoriented data the orientifold counter, and each step runs
// again only when its stamp is stale.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"
#include "boundary/CrossBoundSearch.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

AllocCount CrossBound_alloc = ALLOC_COUNTER("CrossBound");

namespace crossbound_internal {

int* OrientifoldSwitch = nullptr;
int* UseOrbits = nullptr;
int* InitDebug = nullptr;
int* BoundarySearchInfo = nullptr;
int* BoundarySearchCapacity = nullptr;
int* BoundarySearchAllSets = nullptr;
int* RejectPermutations = nullptr;
int* RejectInfo = nullptr;
int* NIMrepMaxRow = nullptr;
int* MoebiusSecurity = nullptr;
int* OrientifoldInfoLevel = nullptr;
int* ZNXVersion = nullptr;

int KleinBottleModInvNr = -1;
int CrosscapStatus = 0;
VectorSpace* KleinBottleStorage = nullptr;
VectorSpace* MoebiusEquations = nullptr;
VectorSpace* KleinBottleEquations = nullptr;

namespace {
BulkInvariant** CurrentBulkPointer = nullptr;
} // namespace

int orientifoldOn() {
    return OrientifoldSwitch ? *OrientifoldSwitch : 1;
}

int useOrbits() {
    return UseOrbits ? *UseOrbits : 2;
}

void debugLine(const char* fmt, ...) {
    if (!InitDebug || *InitDebug != 1)
        return;
    char text[200];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    ProgressPrint("##init: %s", text);
}

BulkInvariant* currentBulk() {
    if (!CurrentBulkPointer)
        CurrentBulkPointer = getCurrentBulk();
    return *CurrentBulkPointer;
}

} // namespace crossbound_internal

using namespace crossbound_internal;

namespace {

// Stamps: the bulk generation of the labels, of the simple-current set-up, and the orientifold
// counter of the unoriented set-up.
int OrientedOpenStringInitialized = -2;
int OpenStringInitialized = -2;
int SimpleCurrentInitialized = -1;

int* parameter(const char* name) {
    return static_cast<int*>(getIntParPointer(name));
}

void bindParameters() {
    OrientifoldSwitch = parameter("Orientifold");
    UseOrbits = parameter("Use_orbits");
    InitDebug = parameter("Init_debug");
    BoundarySearchInfo = parameter("Boundary_search info_level");
    BoundarySearchCapacity = parameter("Boundary_search capacity");
    BoundarySearchAllSets = parameter("Boundary_search use_all_sets");
    RejectPermutations = parameter("Reject permutations");
    RejectInfo = parameter("Reject info");
    NIMrepMaxRow = parameter("NIMrep Max_row");
    MoebiusSecurity = parameter("Moebius security_level");
    OrientifoldInfoLevel = parameter("Orientifold info_level");
    ZNXVersion = parameter("ZNX_VERSION");
}

void createStores() {
    KleinBottleStorage = NewVectorSpace(1, 100, 100, &CrossBound_alloc, "Klein bottle storage");
    MoebiusEquations = NewVectorSpace(1, 100, 100, &CrossBound_alloc, "Moebius Equations");
    KleinBottleEquations = NewVectorSpace(1, 100, 100, &CrossBound_alloc, "Klein bottle Equations");
}

} // namespace

// ============================================================ Start-up

void initializeCrossBound() {
    static bool done = false;
    if (done)
        return;
    done = true;
    bindParameters();
    createStores();
    currentBulk();
    allocateOrientifolds(10);
    userRecord();
    setBoundaryHooks({crossbound::resetBulk, [] { crossbound::resetOrientifold(); },
                      crossbound::QueryOrientifold});
}

// ============================================================ The set-up chain

int initializeOrientedOpenString() {
    if (OrientedOpenStringInitialized == QueryBulkInvariant())
        return 0;
    if (!ConjugatesAvailable()) {
        Print("No conjugation defined for this algebra;\nOpen string functions not available.\n");
        return 1;
    }
    if (!MOD_isValidCFT())
        Alert("initializeOrientedOpenString", 0, 112301,
              "This is not a CFT; be prepared for nonsense\n");
    initSMATRIX();
    if (currentBulk()->simpleCurrentInvariant)
        initSimpleCurrentBCFT();
    else
        initExceptionalBCFT();
    OrientedOpenStringInitialized = QueryBulkInvariant();
    debugLine("Oriented open string data initialized\n");
    return 0;
}

int initSimpleCurrentBCFT() {
    if (SimpleCurrentInitialized == QueryBulkInvariant())
        return 1;
    initSMATRIX();
    BulkInvariant* bi = currentBulk();
    TotalOrder = bi->MD && bi->MD->dg ? bi->MD->dg->Order : 1;
    IshibashiLabelCount = bi->IshibashiLabelCount;
    if (IshibashiLabelCount != LabelCount(bi))
        Alert("initSimpleCurrentBCFT", 0, 212404, "Ishibashi label count error");
    allocateOrientifoldInfo_stage2(&Trivial);
    loadCorrectionPhases(bi->MD, Trivial);
    getIshibashiLabels();
    getBoundaryLabels();
    if (useOrbits() > 0)
        loadAllOrbits();
    debugLine("Simple current BCFT initiated\n");
    SimpleCurrentInitialized = QueryBulkInvariant();
    return 1;
}

int initializeOpenString() {
    if (OpenStringInitialized == crossbound::QueryOrientifold())
        return 0;
    if (initializeOrientedOpenString() == 1)
        return 1;
    BulkInvariant* bi = currentBulk();
    // Symmetry not known counts as not symmetric: the unoriented data need Z = Z^T.
    if (bi->symmetric != 1) {
        Alert("initializeOpenString", 0, 100302,
              "Non-symmetric invariant; no unoriented string functions available\n");
        return 1;
    }
    if (bi->simpleCurrentInvariant) {
        initSimpleCurrentBCFT();
        if (!CurrentOrientifold)
            CurrentOrientifold = userRecord();
        if (CurrentOrientifold->ModInvNr != QueryBulkInvariant()) {
            Alert("initializeOpenString", 1, 212404,
                  "Orientifold does not match bulk invariant; resetting\n");
            allocateOrientifoldInfo_stage2(&CurrentOrientifold);
        }
        loadIshibashiMetric(CurrentOrientifold);
    } else {
        initExceptionalBCFT();
    }
    OpenStringInitialized = crossbound::QueryOrientifold();
    debugLine("Open string data initialized\n");
    return 0;
}

void resetBoundaries() {
    SignedBoundaryCount = 0;
    BoundCandCount = 0;
    BoundCandUse = 0;
    OrientifoldCounter++;
    CrosscapStatus = 0;
    freeBoundarySet(&firstBS);
    Sequence = 0;
}

// ============================================================ Counts

int TotalBoundaries() {
    return initializeOrientedOpenString() == 1 ? 0 : BoundaryLabelCount;
}

int TotalIshibashi() {
    return initializeOrientedOpenString() == 1 ? 0 : IshibashiLabelCount;
}
