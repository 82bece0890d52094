// The current-theory facade: the generation counters, the forwarders to the building block or the
// tensor product, the simple currents of the current theory and the printing of matrix elements.
#include "modular/Modular.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/ModularExtensions.h"
#include "modular/ModularInternal.h"
#include "numeric/Sorting.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

namespace modular_internal {

int CFTCounter = 0;
int OrbitDataAvailable = -1;
int OrbitSAvailable = -1;
int SMATRIXavailable = -1;
int FirstRowAvailable = -1;
int SMATRIXWasAborted = 0;
int IndicesComputed = 0;

int tensorMode() {
    return getCosetMode() != 0;
}

int totalPrimaries() {
    return tensorMode() || currentBlock() ? getTotalPrimaries() : 0;
}

void monodromyCharge(int J, int x, rat* Q) {
    if (SpectrumData* sd = currentBlock()) {
        SM_getRatCharge(sd, J, x, Q);
    } else if (tensorMode()) {
        TensorProduct* TP = getCurrentTensor();
        TensorRatCharge(TP, TensorField(TP, J), TensorField(TP, x), Q);
    } else {
        setzero(Q);
    }
}

} // namespace modular_internal

using namespace modular_internal;

namespace {

int BulkInvariantCounter = 0;
int TensorCount = 0;
double Accuracy = 0.0;
rat WeightResult{0, 1};
rat ChargeResult{0, 1};

// Parameter pointers; null until initializeModular, when the defaults below apply.
int* Smatrix_maxsize = nullptr;
int* Smatrix_maxdisk = nullptr;
int* checkDimSumRule = nullptr;
int* DoublePrecision = nullptr;
int* UseOrbits = nullptr;
int* DebugInit = nullptr;
int* super = nullptr;
int* ZNX = nullptr;

int valueOf(const int* p, int fallback) {
    return p ? *p : fallback;
}

void debugLine(const char* text) {
    if (debugInit() == 1)
        ProgressPrint("%s", text);
}

// The tensor product while it is the current theory, else null.
TensorProduct* currentProduct() {
    return tensorMode() ? getCurrentTensor() : nullptr;
}

// Weight of lbl: exact for blocks with exact weights, modulo 1 for a genuine coset.
void weightOf(int lbl, rat* w) {
    if (SpectrumData* sd = currentBlock())
        SM_getRatWeight(sd, lbl, w);
    else if (TensorProduct* TP = currentProduct())
        TensorRatWeight(TP, TensorField(TP, lbl), w);
    else
        setzero(w);
    simplifyRat(w);
}

void reduceToUnitInterval(rat* q) {
    simplifyRat(q);
    q->num = mod(q->num, q->den);
    simplifyRat(q);
}

bool isIdentity(const std::vector<int>& map) {
    for (std::size_t e = 0; e < map.size(); e++)
        if (map[e] != static_cast<int>(e))
            return false;
    return true;
}

} // namespace

namespace modular_internal {

void directS(int i, int j, double* re, double* im) {
    if (SpectrumData* sd = currentBlock())
        SM_getS(sd, i, j, re, im);
    else if (TensorProduct* TP = currentProduct())
        getCosetS(TP, i, j, re, im);
    else
        *re = *im = 0.0;
}

void directT(int i, double* re, double* im) {
    if (SpectrumData* sd = currentBlock())
        SM_getT(sd, i, i, re, im);
    else if (TensorProduct* TP = currentProduct())
        getCosetT(TP, i, i, re, im);
    else
        *re = *im = 0.0;
}

void directRootT(int i, double* re, double* im) {
    if (SpectrumData* sd = currentBlock())
        SM_getrootT(sd, i, i, re, im);
    else if (TensorProduct* TP = currentProduct())
        getCosetrootT(TP, i, i, re, im);
    else
        *re = *im = 0.0;
}

int directAction(int J, int x) {
    if (SpectrumData* sd = currentBlock())
        return SM_SimpleAction(sd, J, x);
    if (TensorProduct* TP = currentProduct())
        return simpleCurrentAction(J, x, TP);
    return x;
}

// The orbit table files its products under the group's element numbers and reads them back as
// fields, so a product's element i must be field i. A fresh identification need not number the
// currents as the spectrum did; then the product's own group, which does by construction.
Discrete_Group* centerOfTheory(std::vector<int>& map) {
    if (TensorProduct* TP = currentProduct()) {
        const int G = std::max(TP->TensorSimpleCurrentOrder, 1);
        map.assign(static_cast<std::size_t>(G) + 10, 0);
        std::vector<int> orders(static_cast<std::size_t>(G), 0);
        Discrete_Group* dg = DG_mapProduct(map.data(), orders.data(), G, nullptr, simpleProduct);
        map.resize(static_cast<std::size_t>(G));
        if (dg->Order == G && isIdentity(map))
            return dg;
        for (int e = 0; e < G; e++)
            map[static_cast<std::size_t>(e)] = e;
        return TP->SimpleCurrents ? TP->SimpleCurrents : DG_trivial();
    }
    SpectrumData* sd = currentBlock();
    Discrete_Group* dg = sd && sd->SimpleCurrents ? sd->SimpleCurrents : DG_trivial();
    map.resize(static_cast<std::size_t>(dg->Order));
    for (int e = 0; e < dg->Order; e++)
        map[static_cast<std::size_t>(e)] = e;
    return dg;
}

} // namespace modular_internal

namespace modular_internal {

int smatrixMaxsize() {
    return valueOf(Smatrix_maxsize, 400);
}
int smatrixMaxdisk() {
    return valueOf(Smatrix_maxdisk, 2000);
}
int useOrbits() {
    return valueOf(UseOrbits, 2);
}
int debugInit() {
    return valueOf(DebugInit, 0);
}
int highPrecision() {
    return valueOf(DoublePrecision, 0);
}
int fusionSumcheck() {
    return valueOf(checkDimSumRule, 0);
}

} // namespace modular_internal

// ============================================================ Counters

void initializeModular() {
    Smatrix_maxsize = static_cast<int*>(getIntParPointer("S_matrix maxsize"));
    // Without the parameter the default disk limit holds.
    if (findInternalParameter("S_matrix maxdisk"))
        Smatrix_maxdisk = static_cast<int*>(getIntParPointer("S_matrix maxdisk"));
    checkDimSumRule = static_cast<int*>(getIntParPointer("Fusion sumcheck"));
    DoublePrecision = static_cast<int*>(getIntParPointer("High_precision"));
    UseOrbits = static_cast<int*>(getIntParPointer("Use_orbits"));
    DebugInit = static_cast<int*>(getIntParPointer("Init_debug"));
    super = static_cast<int*>(getIntParPointer("Super"));
    // The tensor products own the switch; a start-up without them has none.
    if (findInternalParameter("ZNX_VERSION"))
        ZNX = static_cast<int*>(getIntParPointer("ZNX_VERSION"));
    // The exchange of identical factors completes its images of resolved fields by fusion.
    setTensorFusionProduct([](int i, int j, int* n) { return fusionProduct(i, j, 0, n); });
}

int QueryCFT() {
    return CFTCounter;
}

int QueryBulkInvariant() {
    return BulkInvariantCounter;
}

int QueryTensor() {
    return TensorCount;
}

int ModularOrbitsAvailable() {
    return OrbitDataAvailable;
}

void resetS() {
    setRequireExtension(nullptr);
    IndicesComputed = 0;
    indicesFromFusion(-1, -1);
    SMATRIXWasAborted = 0;
}

void CFTChanged() {
    CFTCounter++;
    resetS();
    resetBulk();
    debugLine("##init: CFT counter increased\n");
}

void bulkInvariantChanged() {
    BulkInvariantCounter++;
    debugLine("##init: Bulk Invariant counter increased\n");
    resetOrientifold();
}

void TensorChanged() {
    TensorCount++;
    theoryReplaced();
}

namespace modular_internal {

void theoryReplaced() {
    CFTCounter++;
    resetS();
}

} // namespace modular_internal

// ============================================================ Forwarders

int MOD_isValidCFT() {
    if (SpectrumData* sd = currentBlock())
        return sd->validCFT;
    if (TensorProduct* TP = currentProduct())
        for (int k = 0; k < TP->NTensor; k++)
            if (!getTensorFactor(TP, k)->validCFT)
                return 0;
    return 1;
}

int CenterOrder() {
    if (TensorProduct* TP = currentProduct())
        return TP->TensorSimpleCurrentOrder;
    SpectrumData* sd = currentBlock();
    if (!sd || !sd->SimpleCurrents)
        return 1;
    return sd->SimpleCurrents->Order;
}

// Only a current single block answers: in tensor mode the block last loaded is a factor, and
// callers that read it as the theory would build data of the wrong size.
int getCFTtype() {
    SpectrumData* sd = currentBlock();
    return sd ? sd->type : -1;
}

int getCFTrank() {
    SpectrumData* sd = currentBlock();
    return sd ? sd->rank : -1;
}

rat* ratWeight(int lbl) {
    weightOf(lbl, &WeightResult);
    return &WeightResult;
}

double MOD_realWeight(int lbl) {
    const rat* w = ratWeight(lbl);
    return static_cast<double>(w->num) / w->den;
}

int getConjugate(int lbl) {
    if (TensorProduct* TP = currentProduct())
        return CT_getConjugate(TP, lbl);
    SpectrumData* sd = currentBlock();
    return sd ? SM_getConjugate(sd, lbl) : -1;
}

int ConjugatesAvailable() {
    if (TensorProduct* TP = currentProduct())
        return CT_ConjugatesAvailable(TP);
    SpectrumData* sd = currentBlock();
    return sd ? SM_ConjugatesAvailable(sd) : 0;
}

int S_Symmetric() {
    if (TensorProduct* TP = currentProduct())
        return CT_S_Symmetry(TP);
    SpectrumData* sd = currentBlock();
    return sd ? sd->S_Symmetry : 0;
}

int simpleCurrentCheck(int c) {
    if (c < 0)
        return 0;
    if (TensorProduct* TP = currentProduct())
        return CT_currentCheck(TP, c);
    SpectrumData* sd = currentBlock();
    return sd ? SM_currentCheck(sd, c) : 0;
}

// A single block is never read as a superstring.
int isSuperCurrent(int lbl) {
    TensorProduct* TP = currentProduct();
    return TP && valueOf(super, 0) ? isTensorSuperCurrent(lbl, TP) : 0;
}

int SusySpectrum() {
    TensorProduct* TP = currentProduct();
    return TP && valueOf(super, 0) == 1 ? TP->Susy : 0;
}

int MOD_initContents() {
    if (TensorProduct* TP = currentProduct())
        return CT_initContents(TP) != 0 ? 1 : 0;
    SpectrumData* sd = currentBlock();
    return sd && SM_initContents(sd) != 0 ? 1 : 0;
}

// A current of weight neither integer nor half-integer cannot fix a field.
int MOD_fixedPointCurrent(int J) {
    if (!tensorMode()) {
        SpectrumData* sd = currentBlock();
        return sd ? SM_fixedPointCurrent(sd, J) : 0;
    }
    if (ratWeight(J)->den > 2)
        return 0;
    const int N = totalPrimaries();
    if (N == 0)
        return 0;
    if (J == 0)
        return 1;
    for (int lbl = 0; lbl < N; lbl++)
        if (simpleFusion(J, lbl) == lbl)
            return 1;
    return 0;
}

int MOD_getCurrentTwist(int field, int cur1, int cur2) {
    if (TensorProduct* TP = currentProduct())
        return valueOf(ZNX, 0) == 1 ? CT_getCurrentTwist_ZNX_VERSION(TP, field, cur1, cur2)
                                    : CT_getCurrentTwist(TP, field, cur1, cur2);
    SpectrumData* sd = currentBlock();
    return sd ? SM_getCurrentTwist(sd, field, cur1, cur2) : -1;
}

void MOD_getFCFT_Smatrix(int J, int a, int b, double* Re, double* Im) {
    *Re = *Im = 0.0;
    if (TensorProduct* TP = currentProduct())
        CT_getFCFT_Smatrix(TP, J, a, b, Re, Im);
    else if (SpectrumData* sd = currentBlock())
        SM_getFCFT_Smatrix(sd, J, a, b, Re, Im);
}

void MOD_getOLA_Smatrix(int J, int a, int b, double* Re, double* Im) {
    *Re = *Im = 0.0;
    if (TensorProduct* TP = currentProduct())
        CT_getOLA_Smatrix(TP, J, a, b, Re, Im);
    else if (SpectrumData* sd = currentBlock())
        SM_getOLA_Smatrix(sd, J, a, b, Re, Im);
}

int MOD_getFCFTshift(int J) {
    if (TensorProduct* TP = currentProduct())
        return getTotalFCFTshift(TP, TensorField(TP, J));
    SpectrumData* sd = currentBlock();
    if (!sd)
        return 0;
    const int p = SM_getFCFTlbl(sd, J);
    if (p < 0) {
        Alert("MOD_getFCFTshift", 0, 212404, "current %d has no fixed points", J);
        return 0;
    }
    // The identity has no stored shift; its resolution phase is 1.
    return p == 0 ? 0 : sd->FCFTshifts[p - 1];
}

Discrete_Group* getSimpleCurrentGroup(int** map) {
    if (!tensorMode())
        return getCenter(map);
    // Identified afresh at every call, past the cache of getCenter.
    static std::vector<int> groupMap;
    Discrete_Group* dg = centerOfTheory(groupMap);
    if (map)
        *map = groupMap.data();
    return dg;
}

// A block's symmetries are the rows of its table; a product's are the permutations of its
// identical factors combined with the factors' outer automorphisms.
int MOD_TotalOuterAutomorphisms() {
    if (TensorProduct* TP = currentProduct())
        return CT_TotalOuterAutomorphisms(TP);
    SpectrumData* sd = currentBlock();
    if (!sd)
        return 1;
    return rowCount(sd->CurrentOuterAutomorphisms);
}

int MOD_getCurrentPermutation(int perm, int curr) {
    if (TensorProduct* TP = currentProduct()) {
        CT_SymmetrizeTensorProduct(TP);
        return CT_getCurrentPermutation(TP, perm, curr);
    }
    SpectrumData* sd = currentBlock();
    if (!sd || !sd->CurrentOuterAutomorphisms)
        return curr;
    const VectorSpace* autos = sd->CurrentOuterAutomorphisms;
    if (perm < 0 || perm >= autos->Nfill || curr < 0 || curr >= autos->id_size)
        return -1;
    return rowOf(autos, perm)[curr];
}

VectorSpace* MOD_getIntegerSpinPermutations(IntegerList* list) {
    if (TensorProduct* TP = currentProduct())
        return CT_getIntegerSpinPermutations(TP, list);
    SpectrumData* sd = currentBlock();
    return sd ? SM_getIntegerSpinPermutations(sd, list) : nullptr;
}

VectorSpace* MOD_getCurrentOuterAutomorphisms() {
    if (TensorProduct* TP = currentProduct())
        return CT_getCurrentOuterAutomorphisms(TP);
    SpectrumData* sd = currentBlock();
    return sd ? sd->CurrentOuterAutomorphisms : nullptr;
}

// ============================================================ T

namespace modular_internal {

double currentLogT(int i) {
    if (SpectrumData* sd = currentBlock())
        return SM_getLogT(sd, i);
    if (TensorProduct* TP = currentProduct())
        return getCosetLogT(TP, i);
    return 0.0;
}

} // namespace modular_internal

// ============================================================ Simple currents

int simpleFusion(int cur1, int lbl) {
    if (cur1 == 0)
        return lbl;
    if (orbitDataValid()) {
        const OrbitInfo* x = getOrbitInfo(lbl);
        const int k = curMultTable()[cur1 * groupOrder() + x->current];
        return getOrbitInfo(x->orbit_start)->orbit[k];
    }
    return directAction(cur1, lbl);
}

int simpleProduct(int cur1, int cur2, void*) {
    if (cur1 == 0)
        return cur2;
    if (cur2 == 0)
        return cur1;
    if (orbitDataValid())
        return simpleFusion(cur1, cur2);
    if (TensorProduct* TP = currentProduct())
        return simpleCurrentProduct(cur1, cur2, TP);
    SpectrumData* sd = currentBlock();
    return sd ? SM_SimpleCurrentFusion(sd, cur1, cur2) : 0;
}

rat* simpleCurrentCharge(int current, int lbl) {
    if (orbitDataValid())
        torat2(getOrbitInfo(lbl)->charge[current], CenterOrder(), &ChargeResult);
    else
        monodromyCharge(current, lbl, &ChargeResult);
    reduceToUnitInterval(&ChargeResult);
    return &ChargeResult;
}

int simpleCurrentOrder(int J, int lbl) {
    if (J == 0)
        return 1;
    // A current of order G brings every field back within G steps; a label outside the theory
    // (a failed look-up) must not loop for ever.
    const int limit = CenterOrder();
    int x = lbl;
    for (int n = 1; n <= limit; n++) {
        x = simpleFusion(J, x);
        if (x == lbl)
            return n;
        if (x < 0)
            break;
    }
    Alert("simpleCurrentOrder", 0, 212404, "Field %d does not return under current %d", lbl, J);
    return -1;
}

// ============================================================ Printing

char* printModMatElt(char* txt, double Re, double Im) {
    // A positive zero: no minus sign, and no stray digit in the 30 decimals of high precision.
    if (std::fabs(Re) < Tolerance)
        Re = 0.0;
    const bool complexPart = std::fabs(Im) >= Tolerance;
    if (highPrecision() == 0) {
        txt += std::sprintf(txt, "= %15.8f ", Re);
        if (complexPart)
            txt += std::sprintf(txt, "+ %15.8f i", Im);
    } else {
        txt += std::sprintf(txt, "= %40.30f ", Re);
        if (complexPart)
            txt += std::sprintf(txt, "+ %40.30f i", Im);
    }
    if (complexPart)
        txt +=
            std::sprintf(txt, "    (phase: %9.5f)", std::atan2(Im, Re) / (2.0 * std::numbers::pi));
    txt += std::sprintf(txt, "\n");
    return txt;
}

namespace modular_internal {

char* matrixLabel(char* txt, char matrix, int i, int j) {
    const int digits = std::snprintf(nullptr, 0, "%d", totalPrimaries());
    char* start = txt;
    txt += std::sprintf(txt, "%c(%d,%d) ", matrix, i, j);
    while (txt - start < 2 * digits + 5)
        *txt++ = ' ';
    return txt;
}

} // namespace modular_internal

char* displayS(char* txt, int i, int j) {
    txt = matrixLabel(txt, 'S', i, j);
    double re, im;
    compS(i, j, &re, &im);
    return printModMatElt(txt, re, im);
}

char* displaySforC(char* txt, int i, int j) {
    double re, im;
    compS(i, j, &re, &im);
    txt += std::sprintf(txt, "ReS[%d][%d] = %30.15f;\n", i, j, re);
    txt += std::sprintf(txt, "ImS[%d][%d] = %30.15f;\n", i, j, im);
    return txt;
}

namespace modular_internal {

void noteDeviation(double d) {
    if (d > Accuracy)
        Accuracy = d;
}

} // namespace modular_internal

char* checkC(char* txt, const char* quantity, double R1, double I1, double R2, double I2) {
    const double d = compareC(R1, I1, R2, I2);
    noteDeviation(d);
    if (d < 1e-10)
        return txt;
    txt += std::sprintf(txt, "Deviation %20.15f for %s\n", d, quantity);
    txt += std::sprintf(txt, "(%20.15f,%20.15f)\n", R1, I1);
    txt += std::sprintf(txt, "(%20.15f,%20.15f)\n", R2, I2);
    return txt;
}

double getAccuracy() {
    return Accuracy;
}

void resetAccuracy() {
    Accuracy = 0.0;
}

void PrintShifted(char* txt) {
    char* line = txt;
    char* nl = std::strchr(line, '\n');
    if (!nl) {
        Alert("PrintShifted", 0, 212404, "Unexpected empty field");
        Print("%s\n", line);
        return;
    }
    bool first = true;
    while (nl) {
        *nl = '\0';
        if (!first)
            Print("%23s", "");
        Print("%s\n", line);
        first = false;
        line = nl + 1;
        nl = std::strchr(line, '\n');
    }
}

char* PrintEntry(char* txt, int i, int j) {
    std::memset(txt, ' ', 23);
    txt[23] = '\0';
    const int n = std::sprintf(txt, "From Z(%d,%d): ", i, j);
    if (n < 23)
        txt[n] = ' ';
    return txt + 23;
}

// ============================================================ Boundary hooks
// The boundary layer above owns resetBulk, resetOrientifold and the orientifold counter and
// installs them here; until it does, the current invariant returns to the diagonal one and the
// counters move as it will move them.

namespace {
int OrientifoldCounter = 0;
BoundaryHooks boundaryHooks{};
} // namespace

void setBoundaryHooks(const BoundaryHooks& hooks) {
    boundaryHooks = hooks;
}

void resetBulk() {
    if (boundaryHooks.resetBulk)
        boundaryHooks.resetBulk();
    else
        resetCurrentBulkToDiagonal();
}

void resetOrientifold() {
    if (boundaryHooks.resetOrientifold)
        boundaryHooks.resetOrientifold();
    else
        OrientifoldCounter++;
}

int QueryOrientifold() {
    return boundaryHooks.QueryOrientifold ? boundaryHooks.QueryOrientifold() : OrientifoldCounter;
}
