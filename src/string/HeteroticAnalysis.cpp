// The heterotic string of one simple-current invariant of the filter group: its right algebra and
// gauge algebra, the left algebra, the simple-current moves that carry each surviving massless
// candidate to its right partners, and the counted spectrum handed to the evaluation.
#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "numeric/Discrete.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "string/Heterotic.h"
#include "string/HeteroticInternal.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// Charge codes of the massless candidates. Every invariant of one "compute filter" shares the
// group and its basis, so a candidate's code is computed once per filter, not once per invariant.
std::vector<int> candidateCodes;
} // namespace

namespace heterotic_internal {
VectorSpace RepCount = declareVectorSpace("RepCount", 100);
int unificationFlag = 0;

void resetCandidateChargeCodes() {
    candidateCodes.clear();
}
} // namespace heterotic_internal

using namespace heterotic_internal;

namespace {

VectorSpace RightAlgebra = declareVectorSpace("RightAlgebra", 1000);
VectorSpace LeftAlgebra = declareVectorSpace("LeftAlgebra", 1000);
VectorSpace LeftAlgebraFinal = declareVectorSpace("LeftAlgebraFinal", 1000);
VectorSpace Moves = declareVectorSpace("Moves", 10000);
VectorSpace Charges = declareVectorSpace("Charges", 1000);
IntegerList distinctCharges;
std::vector<int> Actions;
std::vector<int> pattern;

FilterContext* contextOf(SCData* MD) {
    return static_cast<FilterContext*>(MD->DataPointer);
}

TensorProduct* productOf(SCData* MD) {
    return contextOf(MD)->TP;
}

int* filterRow(SCData* MD, int row) {
    return rowOf(contextOf(MD)->filter, row);
}

// J_i: the filter row of basis generator i.
int* basisRow(SCData* MD, int i) {
    return filterRow(MD, MD->map[DG_basis(MD->dg, i)]);
}

const int* exponents(SCData* MD, int element) {
    return MD->dg->Decomp + static_cast<std::size_t>(element) * MD->dg->Mult;
}

// c_i = (N_i p / q) mod N_i for the charge p/q of a with respect to J_i.
void chargeVector(SCData* MD, const int* a, int* c) {
    for (int i = 0; i < MD->dg->Mult; i++) {
        rat Q;
        TensorRatCharge(productOf(MD), basisRow(MD, i), a, &Q);
        const int N = MD->dg->Orders[i];
        c[i] = mod(static_cast<int>(static_cast<long long>(N) * Q.num / Q.den), N);
    }
}

int GSC_computeChargeCodeForCombination(SCData* MD, const int* a) {
    std::vector<int> c(static_cast<std::size_t>(MD->dg->Mult) + 1);
    chargeVector(MD, a, c.data());
    return DG_computeChargeCode(MD->dg, c.data());
}

bool integerCharge(TensorProduct* TP, const int* J, const int* a) {
    rat Q;
    TensorRatCharge(TP, J, a, &Q);
    return isInteger(Q);
}

// Every row of a counted collection must carry the count of the first.
bool normalized(VectorSpace* s) {
    for (int r = 1; r < rowCount(s); r++)
        if (countOf(s, r) != countOf(s, 0))
            return false;
    return true;
}

void printCountedRows(VectorSpace* s, int NT) {
    for (int r = 0; r < rowCount(s); r++) {
        std::printf("%d x ", countOf(s, r));
        printVec(NT, rowOf(s, r), "");
    }
}

// Step 3 for chiral-algebra row c: its partner, translated by the right kernel.
void addRightAlgebraRow(SCData* MD, int c) {
    TensorProduct* TP = productOf(MD);
    const int NT = TP->NTensor;
    const int NF = setup.NF;
    VectorSpace* CA = TP->ChiralAlgebra;
    std::vector<int> u(static_cast<std::size_t>(NT)), v(static_cast<std::size_t>(NT));
    std::vector<int> root(static_cast<std::size_t>(NF) + 1, 0);
    const int s = MD->ChargeMap[GSC_computeChargeCodeForCombination(MD, rowOf(CA, c))];
    if (s == -1)
        return;
    combine(TP, filterRow(MD, s), rowOf(CA, c), u.data());
    for (int k = 0; k < MD->KernelSize; k++) {
        combine(TP, filterRow(MD, MD->RightKernel[k]), u.data(), v.data());
        bool isNew = false;
        enterCounted(&RightAlgebra, v.data(), 1, &isNew);
        if (!isNew || !passesWeightBound(TP, v.data()))
            continue;
        if (v[0] != 0 && NT > 1 && v[1] != 0)
            unificationFlag = 1;
        std::copy_n(v.begin(), NF, root.begin());
        const int r = findRow(&PatternRoots, root.data());
        if (r >= 0)
            pattern[static_cast<std::size_t>(r)] += TotalTensorDimension(TP, v.data());
        else
            PrintVec(NT, v.data(), "Unknown");
    }
}

void checkRightNormalization(SCData* MD) {
    if (normalized(&RightAlgebra))
        return;
    TensorProduct* TP = productOf(MD);
    std::printf("BUG!\n");
    computeRightAlgebra_slow(MD);
    printCountedRows(&RightAlgebra, TP->NTensor);
    for (int g = 0; g < rowCount(&HeteroticFilterGenerators); g++)
        printVec(TP->NTensor, rowOf(&HeteroticFilterGenerators, g), "Generator");
    Alert("GSC_analyseInvariant", 0, 212404, "Normalization error in algebra");
}

// Step 7: the gauge bosons leave the count, with the first selected representation on the left.
void subtractGaugeBosons() {
    if (rowCount(&SelectedReps) == 0)
        return;
    const int NF = setup.NF;
    std::vector<int> row(static_cast<std::size_t>(2 * NF));
    std::copy_n(rowOf(&SelectedReps, 0), NF, row.begin());
    for (int k = 0; k < rowCount(&PatternRoots); k++) {
        int m = pattern[static_cast<std::size_t>(k)];
        if (m == 0)
            continue;
        const int* root = rowOf(&PatternRoots, k);
        if (root[0] > 0)
            m /= 3;
        if (root[1] > 0)
            m /= 2;
        std::copy_n(root, NF, row.begin() + NF);
        enterCounted(&RepCount, row.data(), -m);
    }
}

// Step 8: the left-kernel currents local to the whole chiral algebra.
void buildLeftAlgebra(SCData* MD) {
    TensorProduct* TP = productOf(MD);
    const int NT = TP->NTensor;
    initCountedVectorCollection(&LeftAlgebra, NT, 1000);
    initCountedVectorCollection(&LeftAlgebraFinal, NT, 1000);
    VectorSpace* CA = TP->ChiralAlgebra;
    for (int k = 0; k < MD->KernelSize; k++) {
        const int* e = filterRow(MD, MD->LeftKernel[k]);
        bool local = true;
        for (int c = 1; c < rowCount(CA) && local; c++)
            local = integerCharge(TP, rowOf(CA, c), e);
        if (local)
            enterCounted(&LeftAlgebraFinal, e, 1);
    }
    if (!normalized(&LeftAlgebraFinal))
        Alert("GSC_analyseInvariant", 1, 212404, "Normalization error in algebra");
}

bool inSelection(const int* m) {
    return rowCount(&SelectedReps) == 0 || findRow(&SelectedReps, m) >= 0;
}

bool localToLeftAlgebra(TensorProduct* TP, const int* m) {
    for (int r = 1; r < rowCount(&LeftAlgebraFinal); r++)
        if (!integerCharge(TP, rowOf(&LeftAlgebraFinal, r), m))
            return false;
    return true;
}

// The first move for code k: an element c of L whose product with m has a right partner w.
void findMove(SCData* MD, int* m, int k, IntegerList* L) {
    TensorProduct* TP = productOf(MD);
    const int NT = TP->NTensor;
    std::vector<int> u(static_cast<std::size_t>(NT)), w(static_cast<std::size_t>(NT)),
        move(static_cast<std::size_t>(NT));
    for (int i = 0; i < L->cnt; i++) {
        const int* c = rowOf(TP->ChiralAlgebra, L->list[i]);
        combine(TP, c, m, u.data());
        if (!GSC_getRightFields(MD, u.data(), w.data()))
            continue;
        combine(TP, c, w.data(), move.data());
        Actions[static_cast<std::size_t>(k)] = appendRow(&Moves, move.data());
        CompleteCodes(MD, Actions.data(), &Moves, k, move.data(), MD->dg->Order);
        GSC_analyseRightRepresentation(MD, m, rowOf(&Moves, Actions[static_cast<std::size_t>(k)]));
        return;
    }
    if (k != 0)
        Actions[static_cast<std::size_t>(k)] = -1;
}

// Step 11, for one candidate.
void analyseCandidate(SCData* MD, int candidate, IntegerList* L) {
    TensorProduct* TP = productOf(MD);
    int* m = rowOf(TP->MasslessFields, candidate);
    contextOf(MD)->candidate = candidate;
    if (!inSelection(m))
        return;
    const auto n = static_cast<std::size_t>(rowCount(TP->MasslessFields));
    if (candidateCodes.size() != n)
        candidateCodes.assign(n, -1);
    int& code = candidateCodes[static_cast<std::size_t>(candidate)];
    if (code < 0)
        code = GSC_computeChargeCodeForCombination(MD, m);
    const int k = code;
    const int a = Actions[static_cast<std::size_t>(k)];
    if (a == -1)
        return;
    if (a >= 0) {
        GSC_analyseRightRepresentation(MD, m, rowOf(&Moves, a));
        return;
    }
    if (!localToLeftAlgebra(TP, m)) {
        Actions[static_cast<std::size_t>(k)] = -1;
        return;
    }
    findMove(MD, m, k, L);
}

// A progress display while there are more than two generators; true when the user stopped.
template <class Step> bool withProgress(const char* title, int total, int from, Step step) {
    const bool show = rowCount(&HeteroticFilterGenerators) > 2;
    if (show)
        startProgressInfo(title, total - from, 1);
    for (int i = from; i < total; i++) {
        step(i);
        if (show && incrementProgressInfo()) {
            stopProgressInfo(title);
            return true;
        }
    }
    if (show)
        stopProgressInfo(title);
    return false;
}

} // namespace

// ============================================================ The analysis

int GSC_analyseInvariant(SCData* MD) {
    TensorProduct* TP = productOf(MD);
    const int NT = TP->NTensor;
    const int G = MD->dg->Order;
    Actions.assign(static_cast<std::size_t>(G), -2);
    initVectorCollection(&Moves, NT, 10000);
    getXKernels(MD);
    makeChargeMap(MD);
    initCountedVectorCollection(&RightAlgebra, NT, 1000);
    pattern.assign(static_cast<std::size_t>(rowCount(&PatternRoots)), 0);
    unificationFlag = 0;
    if (rowCount(&HeteroticFilterGenerators) > 2)
        Print("Total number of filter currents: %d\n", rowCount(contextOf(MD)->filter));
    if (withProgress("Computing Right Algebra", rowCount(TP->ChiralAlgebra), 0,
                     [&](int c) { addRightAlgebraRow(MD, c); }))
        return 0;
    checkRightNormalization(MD);
    initCountedVectorCollection(&RepCount, 2 * setup.NF, 100);
    int sum = 0;
    for (int p : pattern)
        sum += p;
    const int D = NT + 12 - setup.NF + sum;
    const int algebra = recordGaugeAlgebra(TP, pattern.data(), D);
    subtractGaugeBosons();
    std::vector<int> identity(static_cast<std::size_t>(NT), 0);
    appendRow(&Moves, identity.data());
    Actions[0] = 0;
    buildLeftAlgebra(MD);
    IntegerList* L = CollectChiralAlgebraElementsWithDistinctCharges(MD);
    if (withProgress("Computing spectrum", rowCount(TP->MasslessFields), 1,
                     [&](int m) { analyseCandidate(MD, m, L); }))
        return 0;
    return evaluateSpectrum(MD, algebra, D);
}

int GSC_checkDeltaArgument(SCData* MD, int* a, int* current) {
    const int M = MD->dg->Mult;
    for (int i = 0; i < M; i++) {
        rat Q;
        TensorRatCharge(productOf(MD), basisRow(MD, i), a, &Q);
        long long s = 0;
        for (int j = 0; j < M; j++)
            s += static_cast<long long>(MD->Xmatrix[i * M + j]) * current[j];
        rat shift;
        torat2(static_cast<int>(s % MD->dg->Orders[i]), MD->dg->Orders[i], &shift);
        addRat(&Q, &shift, &Q);
        if (!isInteger(Q))
            return 0;
    }
    return 1;
}

int GSC_checkDeltaArgumentMirror(SCData* MD, int* a, int* current) {
    const int M = MD->dg->Mult;
    for (int i = 0; i < M; i++) {
        rat Q;
        TensorRatCharge(productOf(MD), basisRow(MD, i), a, &Q);
        for (int j = 0; j < M; j++) {
            const int Nj = MD->dg->Orders[j];
            rat term;
            torat2(MD->Xmatrix[j * M + i] * current[j] % Nj, Nj, &term);
            addRat(&Q, &term, &Q);
        }
        if (!isInteger(Q))
            return 0;
    }
    return 1;
}

int GSC_getRightFields(SCData* MD, int* a, int* b) {
    for (int g = 0; g < MD->dg->Order; g++)
        if (GSC_checkDeltaArgument(MD, a, const_cast<int*>(exponents(MD, g)))) {
            copyVec(productOf(MD)->NTensor, b, filterRow(MD, MD->map[g]));
            return 1;
        }
    return 0;
}

void CompleteCodes(SCData* MD, int* Actions, VectorSpace* Moves, int code, int* vector,
                   int grpsize) {
    const int NT = productOf(MD)->NTensor;
    std::vector<int> product(static_cast<std::size_t>(NT));
    bool appended = true;
    while (appended) {
        appended = false;
        for (int g = 0; g < grpsize; g++) {
            if (Actions[g] < 0)
                continue;
            const int p = DG_product(g, code, MD->dg);
            if (Actions[p] != -2)
                continue;
            combine(productOf(MD), vector, rowOf(Moves, Actions[g]), product.data());
            Actions[p] = appendRow(Moves, product.data());
            appended = true;
        }
    }
}

void GSC_analyseRightRepresentation(SCData* MD, int* a, int* shift) {
    TensorProduct* TP = productOf(MD);
    const int NT = TP->NTensor;
    const int NF = setup.NF;
    std::vector<int> v(static_cast<std::size_t>(NT)), w(static_cast<std::size_t>(NT));
    std::vector<int> row(static_cast<std::size_t>(2 * NF));
    combine(TP, shift, a, v.data());
    const int* m = rowOf(TP->MasslessFields, contextOf(MD)->candidate);
    std::copy_n(m, NF, row.begin());
    for (int r = 0; r < rowCount(&RightAlgebra); r++) {
        combine(TP, rowOf(&RightAlgebra, r), v.data(), w.data());
        if (!passesWeightBound(TP, w.data()))
            continue;
        int count = 1;
        for (int k = 2; k < NT; k++)
            count *= TP->TensorFactors[k]->Dimensions[w[static_cast<std::size_t>(k)]];
        std::copy_n(w.begin(), NF, row.begin() + NF);
        enterCounted(&RepCount, row.data(), count);
    }
}

IntegerList* CollectChiralAlgebraElementsWithDistinctCharges(SCData* MD) {
    TensorProduct* TP = productOf(MD);
    const int M = MD->dg->Mult;
    initList(&distinctCharges, 1000);
    initVectorCollection(&Charges, M + 1, 1000);
    setIdentificationSize(&Charges, M);
    std::vector<int> c(static_cast<std::size_t>(M) + 1);
    VectorSpace* CA = TP->ChiralAlgebra;
    for (int r = 0; r < rowCount(CA); r++) {
        chargeVector(MD, rowOf(CA, r), c.data());
        c[static_cast<std::size_t>(M)] = r;
        if (enterOnce(&Charges, c.data()))
            addToList(&distinctCharges, r);
    }
    return &distinctCharges;
}

void computeRightAlgebra_slow(SCData* MD) {
    TensorProduct* TP = productOf(MD);
    const int NT = TP->NTensor;
    initCountedVectorCollection(&RightAlgebra, NT, 1000);
    std::vector<int> v(static_cast<std::size_t>(NT));
    VectorSpace* CA = TP->ChiralAlgebra;
    for (int c = 0; c < rowCount(CA); c++)
        for (int g = 0; g < MD->dg->Order; g++)
            if (GSC_checkDeltaArgument(MD, rowOf(CA, c), const_cast<int*>(exponents(MD, g)))) {
                combine(TP, filterRow(MD, MD->map[g]), rowOf(CA, c), v.data());
                enterCounted(&RightAlgebra, v.data(), 1);
            }
    printCountedRows(&RightAlgebra, NT);
}

int FastTensorSimpleAction_Massless(TensorProduct* TP, int* current, int* PrimaryCombination,
                                    int* out) {
    combine(TP, current, PrimaryCombination, out);
    return passesWeightBound(TP, out) ? 0 : 1;
}

void FastTensorSimpleAction(TensorProduct* TP, int* current, int* PrimaryCombination, int* out) {
    combine(TP, current, PrimaryCombination, out);
}

int MassCheck(TensorProduct* TP, int* PrimaryCombination) {
    return passesWeightBound(TP, PrimaryCombination) ? 0 : 1;
}

int LeftAlgebraProduct(int i, int j, void* X) {
    auto* C = static_cast<FilterContext*>(X);
    const int NT = C->TP->NTensor;
    std::vector<int> out(static_cast<std::size_t>(NT));
    combine(C->TP, rowOf(&LeftAlgebraFinal, i), rowOf(&LeftAlgebraFinal, j), out.data());
    const int r = findRow(&LeftAlgebraFinal, out.data());
    if (r < 0)
        Alert("LeftAlgebraProduct", 0, 212404, "Left algebra product not found");
    return r;
}

void printCharges(SCData* MD, int* a) {
    std::vector<int> c(static_cast<std::size_t>(MD->dg->Mult) + 1);
    chargeVector(MD, a, c.data());
    const std::string text =
        "charges; code=" + std::to_string(DG_computeChargeCode(MD->dg, c.data()));
    printVec(MD->dg->Mult, c.data(), text.c_str());
}

void printRepCount(const char* text) {
    Print("At %s\n", text);
    for (int r = 0; r < rowCount(&RepCount); r++) {
        std::printf("%4d x ", countOf(&RepCount, r));
        printVec(2 * setup.NF, rowOf(&RepCount, r), "");
    }
    Print("-----\n");
}
