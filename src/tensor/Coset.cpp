// The tensor-product record: its factors, what is invalidated when they change, and the
// quantities of a label combination that every later computation uses (weights, charges,
// central charge, dimensions).
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Parameters.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <climits>
#include <cstdint>
#include <new>

using namespace coset_internal;

namespace {

AllocCount CosetAlloc = ALLOC_COUNTER("Tensor products");

TensorProduct* currentTensor = nullptr;

// Parameter pointers, bound by initializeCoset; null reads the default.
int* Graded = nullptr;
int* Super = nullptr;
int* TraceResolution = nullptr;
int* CreateShowInfo = nullptr;
int* RejectPermutations = nullptr;
int* MaxPrimaries = nullptr;
int* MaxPerm = nullptr;
int* MaxCurrent = nullptr;
int* ZNX = nullptr;
int* InvariantInfoLevel = nullptr;
int* HeteroticFactors = nullptr;

GuardedArray<int> levels("levels", &CosetAlloc);
GuardedArray<int> chargeVector("charge vector", &CosetAlloc);
LintPtr dimensionResult;
LintPtr dimensionScratch;

int* bind(const char* name) {
    return findInternalParameter(name) ? static_cast<int*>(getIntParPointer(name)) : nullptr;
}

int valueOf(const int* p, int fallback) {
    return p ? *p : fallback;
}

VectorSpace* newCollection(int increment, const char* name) {
    return NewVectorSpace(0, 0, increment, &CosetAlloc, name);
}

// Room for one more factor in the per-factor arrays.
void growFactorArrays(TensorProduct* TP) {
    if (!TP->TensorFactors.reserved() || TP->NTensor + 1 > TP->TensorFactors.X_oldsize)
        TP->TensorFactors.reserve(TP->NTensor + 12);
    if (!TP->GH.reserved() || TP->NTensor + 1 > TP->GH.X_oldsize)
        TP->GH.reserve(TP->NTensor + 12);
}

// The block's dimensions, made on first use; null when the block has none.
const int* dimensionsOf(SpectrumData* sd) {
    if (!sd->Dimensions)
        SM_initDimensions(sd);
    return sd->Dimensions;
}

// sum += s_k term.
void addSigned(TensorProduct* TP, int k, const rat* term, rat* sum) {
    if (signOf(TP, k) > 0)
        addRat(sum, term, sum);
    else
        subtractRat(sum, term, sum);
}

lint* result(LintPtr& slot) {
    if (!slot)
        slot.reset(lint_alloc(5));
    return slot.get();
}

} // namespace

namespace coset_internal {

AllocCount* cosetAlloc() {
    return &CosetAlloc;
}
int graded() {
    return valueOf(Graded, 0);
}
int superMode() {
    return valueOf(Super, 0);
}
int heteroticFactors() {
    return valueOf(HeteroticFactors, 1);
}
int maxPrimaries() {
    return valueOf(MaxPrimaries, 2000000000);
}
int createShowInfo() {
    return valueOf(CreateShowInfo, 0);
}
int rejectPermutations() {
    return valueOf(RejectPermutations, 1);
}
int swapGraded(int value) {
    const int old = graded();
    if (Graded)
        *Graded = value;
    return old;
}
int znxVersion() {
    return valueOf(ZNX, 0);
}
int traceResolution() {
    return valueOf(TraceResolution, 0);
}
int maxPerm() {
    return valueOf(MaxPerm, 100000);
}
int maxCurrent() {
    return valueOf(MaxCurrent, 1000);
}
int invariantInfoLevel() {
    return valueOf(InvariantInfoLevel, 0);
}

// The N=2 minimal blocks act by arithmetic already; their table would hold (4k+8) rows of
// 2(k+1)(k+2) fields, far beyond memory at the large levels of the CY products.
void prepareFactorActions(TensorProduct* TP) {
    for (int k = 0; k < TP->NTensor; k++)
        if (!factor(TP, k)->fusion_table && factor(TP, k)->type != 27)
            makeFusionTable(factor(TP, k));
}

} // namespace coset_internal

TensorProduct::TensorProduct(AllocCount* counter)
    : TensorFactors("Tensor factors", counter), Stabilizers("Stabilizers", counter),
      TensorDimensions("Tensor dimensions", counter), TensorInfo("Tensor info", counter),
      FullStabilizers("Full stabilizers", counter), Conjugates("Tensor conjugates", counter),
      FixCenterOrders("FixCenter orders", counter), GH("GH", counter),
      FixedPointCurrents("Fixed point currents", counter) {}

// ============================================================ Start-up and factors

void initializeCoset() {
    Graded = bind("Graded");
    Super = bind("Super");
    TraceResolution = bind("Trace_resolution");
    CreateShowInfo = bind("Create show_info");
    RejectPermutations = bind("Reject permutations");
    MaxPrimaries = bind("Max_primaries");
    MaxPerm = bind("Maxperm");
    MaxCurrent = bind("Maxcurrent");
    ZNX = bind("ZNX_VERSION");
    InvariantInfoLevel = bind("Invariant info_level");
    currentTensor = initializeTensorProduct(currentTensor);
    HeteroticFactors = bind("Heterotic factors");
}

TensorProduct* getCurrentTensor() {
    if (!currentTensor)
        currentTensor = initializeTensorProduct(nullptr);
    return currentTensor;
}

TensorProduct* initializeTensorProduct(TensorProduct* TP) {
    if (TP)
        return TP;
    void* block = allocate(sizeof(TensorProduct), &CosetAlloc, "Tensor pointer");
    TP = new (block) TensorProduct(&CosetAlloc);
    TP->TensorOuterAutomorphisms = newCollection(100, "Tensor Outer Automorphisms");
    TP->TensorPermutations = newCollection(100, "Full Tensor Permutations");
    TP->TensorOuterPerm = newCollection(100, "Tensor Outer automorphisms times Permutations");
    TP->CurrPerms = newCollection(100, "Tensor Current Permutations");
    TP->CurrentPermutations = newCollection(100, "Tensor Current Permutations");
    TP->TensorSpectrum = newCollection(1000, "Tensor Spectrum");
    TP->ChiralAlgebra = newCollection(100, "Tensor Chiral Algebra");
    TP->FixCenter = newCollection(100, "Tensor FixCenter");
    TP->Currents = newCollection(10, "Tensor Currents");
    TP->MasslessFields = newCollection(100, "MasslessFields");
    return TP;
}

int addTensorFactor(TensorProduct* TP, SpectrumData* sd, int gh) {
    growFactorArrays(TP);
    TP->TensorFactors[TP->NTensor] = sd;
    TP->GH[TP->NTensor] = gh;
    // A current entered before has one label too few.
    resetVectorCollection(TP->Currents);
    TP->NTensor++;
    setInputDataChanged(TP);
    return 0;
}

void removeTensorFactor(TensorProduct* TP) {
    if (TP->NTensor > 0)
        TP->NTensor--;
    resetVectorCollection(TP->Currents);
    // A spectrum whose rows carry the removed label must not stay valid.
    setInputDataChanged(TP);
}

void resetCoset(TensorProduct* TP) {
    resetVectorCollection(TP->Currents);
    TP->StringData.error = 0;
    TP->NTensor = 0;
    TP->TensorSimpleCurrentOrder = 0;
    TP->Ngenerator = 0;
    TP->NGradChirCurr = 0;
    TP->TensorCenterMult = 0;
    TP->genuineCoset = 0;
    TP->FCFTnumber = 0;
    TP->ExtensionNumber = -1;
    resetVectorCollection(TP->TensorSpectrum);
    resetVectorCollection(TP->CurrPerms);
    setInputDataChanged(TP);
}

void setInputDataChanged(TensorProduct* TP) {
    TP->InputDataChanged = 1;
    TP->SimpleCurrentRowsAvailable = 0;
    TP->DimAvailable = 0;
    TP->InfoAvailable = 0;
    TP->ConjugAvailable = 0;
    TP->PermutationsAvailable = 0;
    TP->FCFTinitialized = 0;
}

SpectrumData* getTensorFactor(TensorProduct* TP, int k) {
    if (k < 0 || k >= TP->NTensor) {
        Alert("getTensorFactor", 0, 212404, "Tensor factor %d does not exist", k);
        return nullptr;
    }
    return factor(TP, k);
}

int getGH(TensorProduct* TP, int k) {
    if (k < 0 || k >= TP->NTensor) {
        Alert("getGH", 0, 212404, "Tensor factor %d does not exist", k);
        return 0;
    }
    return TP->GH[k];
}

int* getCurrentLevels(int* n) {
    TensorProduct* TP = getCurrentTensor();
    int* out = levels.reserve(TP->NTensor);
    for (int k = 0; k < TP->NTensor; k++)
        out[k] = factor(TP, k)->level;
    *n = TP->NTensor;
    return out;
}

// ============================================================ Rows and counts

int* TensorField(TensorProduct* TP, int lbl) {
    return rowOf(TP->TensorSpectrum, lbl);
}

int* NumberOfTensorPrimaries(TensorProduct* TP) {
    return &TP->TensorSpectrum->Nfill;
}

int* NumberOfTensorSimpleCurrents(TensorProduct* TP) {
    return &TP->TensorSimpleCurrentOrder;
}

void setGenuineCoset(TensorProduct* TP) {
    TP->genuineCoset = 0;
    for (int k = 0; k < TP->NTensor; k++)
        if (TP->GH[k] == 1 || factor(TP, k)->exactWeights == 0)
            TP->genuineCoset = 1;
}

int CT_currentCheck(TensorProduct* TP, int c) {
    return c >= 0 && c < TP->TensorSimpleCurrentOrder ? 1 : 0;
}

int StabilizerOrder(TensorProduct* TP, int lbl) {
    return TP->Stabilizers[lbl]->stab_order;
}

int getCurrentsEntry(TensorProduct* TP, int i, int k) {
    return rowOf(TP->Currents, i)[k];
}

int checkForExtension(TensorProduct* TP) {
    return TP->Currents->id_size == TP->NTensor ? 1 : 0;
}

void assignExtensionNumber(TensorProduct* TP, int n) {
    TP->ExtensionNumber = n;
}

int getExtensionNumber(TensorProduct* TP) {
    return TP->ExtensionNumber;
}

int CT_S_Symmetry(TensorProduct* TP) {
    if (TP->NTensor == 0)
        return 1;
    return factor(TP, 0)->S_Symmetry ? 1 : 0;
}

int DimComputable(TensorProduct* TP) {
    if (TP->genuineCoset)
        return 0;
    for (int k = 0; k < TP->NTensor; k++)
        if (!SM_initDimensions(factor(TP, k)))
            return 0;
    return 1;
}

int modTest(TensorProduct* TP) {
    for (int k = 0; k < TP->NTensor; k++) {
        const int type = factor(TP, k)->type;
        if (type >= 6 && type != 13)
            return 1;
    }
    return 0;
}

// ============================================================ Weights, charges, dimensions

void TensorRatWeight(TensorProduct* TP, const int* v, rat* h) {
    setzero(h);
    for (int k = 0; k < TP->NTensor; k++) {
        rat hk;
        SM_getRatWeight(factor(TP, k), v[k], &hk);
        addSigned(TP, k, &hk, h);
    }
    if (TP->genuineCoset)
        RatToFrac(h);
}

void TensorRatCharge(TensorProduct* TP, const int* J, const int* v, rat* Q) {
    setzero(Q);
    for (int k = 0; k < TP->NTensor; k++) {
        rat qk;
        SM_getRatCharge(factor(TP, k), J[k], v[k], &qk);
        addSigned(TP, k, &qk, Q);
    }
    simplifyRat(Q);
}

// The orbit generators are picked by weight in the spectrum's inner loops: the block's weight
// h = Weight_num / Weight_denom is read in place.
double tensorWeight(TensorProduct* TP, const int* v) {
    double h = 0.0;
    for (int k = 0; k < TP->NTensor; k++) {
        const SpectrumData* sd = factor(TP, k);
        h += signOf(TP, k) * static_cast<double>(sd->Weight_num[v[k]]) / sd->Weight_denom;
    }
    return h;
}

double cosetWeight(TensorProduct* TP, const int* v) {
    const double h = tensorWeight(TP, v);
    return TP->genuineCoset ? DoubleToFrac(h) : h;
}

double cosetCentralCharge(TensorProduct* TP) {
    double c = 0.0;
    for (int k = 0; k < TP->NTensor; k++)
        c += signOf(TP, k) * factor(TP, k)->CentralCharge;
    return c;
}

int TotalTensorDimension(TensorProduct* TP, const int* v) {
    std::int64_t product = 1;
    for (int k = 0; k < TP->NTensor; k++) {
        const int* dims = dimensionsOf(factor(TP, k));
        const int d = dims ? dims[v[k]] : -1;
        if (d < 0 || (d > 0 && product > INT_MAX / d)) {
            Alert("TotalTensorDimension", 0, 212404,
                  "Ground state dimension too large for an integer; use the exact one");
            return -1;
        }
        product *= d;
    }
    return static_cast<int>(product);
}

lint* tensorDimension(TensorProduct* TP, const int* v) {
    lint* big = result(dimensionResult);
    int p = 1;
    bool exact = false; // the product has moved to the big integer
    for (int k = 0; k < TP->NTensor; k++) {
        const int* dims = dimensionsOf(factor(TP, k));
        if (!dims) {
            Alert("tensorDimension", 0, 212404, "No dimensions for tensor factor %d", k);
            lint_assign(big, 0);
            return big;
        }
        const int d = dims[v[k]];
        if (!exact) {
            if (d >= 0 && static_cast<double>(d) * p <= 1e9) {
                p *= d;
                continue;
            }
            lint_assign(big, p);
            exact = true;
        }
        if (d >= 0)
            lint_intprod(big, d);
        else
            lint_multiply(big, makeOrRetrieveLint(d, result(dimensionScratch)));
    }
    if (!exact)
        lint_assign(big, p);
    return big;
}

int SpinOneCount(TensorProduct* TP) {
    if (TP->genuineCoset) {
        Alert("SpinOneCount", 0, 112311, "Spin one multiplicity not available for coset CFT's");
        return 0;
    }
    int count = 0;
    for (int k = 0; k < TP->NTensor; k++)
        count += factor(TP, k)->AdjDimension;
    for (int m = 0; m < rowCount(TP->ChiralAlgebra); m++) {
        const int* J = rowOf(TP->ChiralAlgebra, m);
        rat h;
        TensorRatWeight(TP, J, &h);
        if (h.num != 1 || h.den != 1)
            continue;
        const int d = lint_to_int(tensorDimension(TP, J));
        if (d == LintIntOverflow || count > INT_MAX - d) {
            Alert("SpinOneCount", 1, 212404, "Spin one multiplicity too large for an integer");
            return -1;
        }
        count += d;
    }
    return count;
}

int* CT_getChargeVector(int lbl) {
    TensorProduct* TP = getCurrentTensor();
    const int n = TP->NTensor - 1;
    if (n < 1) {
        // Nothing to write: the buffer stays as the last call left it.
        if (!chargeVector.reserved())
            chargeVector.reserve(1)[0] = 0;
        return chargeVector.X;
    }
    int* out = chargeVector.reserve(n);
    const int* row = TensorField(TP, lbl);
    for (int k = 1; k <= n; k++) {
        SpectrumData* sd = factor(TP, k);
        // The middle entry of the field's own labels (three of them for the blocks this serves).
        out[k - 1] = SM_getRep(sd, row[k])[1];
    }
    return out;
}

void count_massless(TensorProduct* TP, const int* cnt) {
    const Branching* B = TP->StringData.CovLatEmbedding;
    if (!B)
        return;
    int n = B->N_G;
    if (n > 4) {
        Alert("count_massless", 0, 212404, "Too many covariant lattice classes (%d > 4)", n);
        n = 4;
    }
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n; j++)
            TP->StringData.massless[i][j] += cnt[i] * cnt[j];
}
