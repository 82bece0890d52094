// Fixed points of the extended product are resolved factor by factor: a current fixes a field only
// through its components, and each factor's block knows the fixed-point theory, labels, shift and
// twists of its own currents. Here what the product builds on those: the fix center (the
// combinations of factor currents that all have fixed-point theories), its products and cosets,
// representatives of a current's orbit untwisted against a stabilizer, the twist of two currents
// on a field, the small operations on the full fixed-point data, and the total shift.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <cstdio>
#include <vector>

using namespace coset_internal;

namespace {

const char* const FixCenterTitle = "Computing fixed point current set";

GuardedArray<int> resultFCP("result_FCP", cosetAlloc());
GuardedArray<int> resultFCAP("result_FCAP", cosetAlloc());
GuardedArray<int> offset("offset", cosetAlloc());
GuardedArray<int> out("out", cosetAlloc());
GuardedArray<int> representatives("representatives", cosetAlloc());
GuardedArray<int> orbitMember("CC_orbitMember", cosetAlloc());
GuardedArray<int> fld1("fld1", cosetAlloc());
GuardedArray<int> nums("nums", cosetAlloc());
GuardedArray<int> fcftLabels("labels", cosetAlloc());

// A sum of factor twists as the remainder modulo 4 with the sign of the sum.
int signedQuarter(int t) {
    return t % 4;
}

// sum_k F(a_k, K_k, J_k) over the factors; no coset sign.
int twistSum(TensorProduct* TP, const int* a, const int* K, const int* J) {
    int t = 0;
    for (int k = 0; k < TP->NTensor; k++)
        t += SM_getCurrentTwist(factor(TP, k), a[k], K[k], J[k]);
    return t;
}

int lookUpFixCenter(TensorProduct* TP, const int* v) {
    const int r = findRow(TP->FixCenter, v);
    if (r < 0)
        Alert("findFixCenterElement", 0, 212404, "Fix Center element not found");
    return r;
}

// The components of element e of a group on its basis.
const int* decompositionOf(const Discrete_Group* dg, int e) {
    return dg->Decomp + static_cast<std::size_t>(e) * dg->Mult;
}

// The first chiral-algebra member J' of current's orbit whose every component fixes the field's
// label in its factor; -1 when none.
int fixingOrbitMember(TensorProduct* TP, int* out, const int* field, int current) {
    const int* J = TensorField(TP, current);
    for (int a = 0; a < rowCount(TP->ChiralAlgebra); a++) {
        tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, a), J, out);
        bool fixes = true;
        for (int k = 0; k < TP->NTensor && fixes; k++)
            fixes = SM_getFPlabel(factor(TP, k), out[k], field[k]) != -1;
        if (fixes)
            return a;
    }
    return -1;
}

void traceMissingRepresentative(TensorProduct* TP, int current, FullFPType* ffp) {
    const int N = TP->NTensor;
    std::printf("current: %d\n", current);
    printVec(N, TensorField(TP, current), "current");
    std::printf("TP->FixCenter\n");
    for (int r = 0; r < rowCount(TP->FixCenter); r++)
        printVec(N, rowOf(TP->FixCenter, r), "");
    std::vector<int> v(static_cast<std::size_t>(N));
    for (int j = 0; j < rowCount(TP->ChiralAlgebra); j++) {
        std::printf("chiral current j=%d\n", j);
        printVec(N, rowOf(TP->ChiralAlgebra, j), "current j");
        tensorSimpleAction(TP, TensorField(TP, current), rowOf(TP->ChiralAlgebra, j), v.data());
        printVec(N, v.data(), "product");
        const int l = findRow(TP->FixCenter, v.data());
        if (l < 0)
            continue;
        std::printf("found as l=%d\n", l);
        printVec(ffp->N_all, ffp->all_currents, "fp->all_currents");
        const int k = Present(ffp->all_currents, ffp->N_all, l);
        if (k >= 0)
            std::printf("found as k=%d\n", k);
    }
}

} // namespace

// ============================================================ The fix center

void computeFixCenter(TensorProduct* TP) {
    const int N = TP->NTensor;
    std::vector<std::vector<int>> candidates(static_cast<std::size_t>(N));
    std::vector<int> bounds;
    for (int k = 0; k < N; k++) {
        SpectrumData* sd = factor(TP, k);
        for (int c = 0; c < currentsOf(sd); c++)
            if (SM_getFCFTlbl(sd, c) != -1)
                candidates[static_cast<std::size_t>(k)].push_back(c);
        bounds.push_back(static_cast<int>(candidates[static_cast<std::size_t>(k)].size()));
    }
    // The records die here for every product; those that held them must build them again.
    forgetResolutionData();
    freeFullFP();
    VectorSpace* FC = TP->FixCenter;
    initVectorCollection(FC, N, 100);
    Odometer index(bounds);
    startProgressInfo(FixCenterTitle, index.total(), 1);
    // Every combination is new, and they come in order: linked once at the end.
    // A stop ends the display; the table is needed whole.
    bool display = true;
    for (; !index.done(); index.advance()) {
        if (display && incrementProgressInfo())
            display = false;
        int* row = rowOf(FC, FC->Nfill);
        for (int k = 0; k < N; k++)
            row[k] =
                candidates[static_cast<std::size_t>(k)]
                          [static_cast<std::size_t>(index.index()[static_cast<std::size_t>(k)])];
        addVectorToSpace(FC);
    }
    if (display)
        stopProgressInfo(FixCenterTitle);
    balanceVectorCollection(FC);
    const int rows = rowCount(FC);
    TP->FixCenterOrders.reserve(rows);
    DG_findOrders(TP->FixCenterOrders.X, rows, TP, FixCenterProduct);
}

int FixCenterProduct(int i, int j, void* X) {
    auto* TP = static_cast<TensorProduct*>(X);
    int* v = resultFCP.reserve(TP->NTensor);
    tensorSimpleAction(TP, rowOf(TP->FixCenter, i), rowOf(TP->FixCenter, j), v);
    return lookUpFixCenter(TP, v);
}

int FixCenterChiralAlgebraProduct(TensorProduct* TP, int i, int j) {
    int* v = resultFCAP.reserve(TP->NTensor);
    tensorSimpleAction(TP, rowOf(TP->FixCenter, i), rowOf(TP->ChiralAlgebra, j), v);
    return lookUpFixCenter(TP, v);
}

int findFixCenterElement(TensorProduct* TP, const int* candidate) {
    return lookUpFixCenter(TP, candidate);
}

int getOffset(TensorProduct* TP, int R_a, int R_ab) {
    int* v = offset.reserve(TP->NTensor);
    const int* target = rowOf(TP->FixCenter, R_ab);
    for (int c = 0; c < rowCount(TP->ChiralAlgebra); c++) {
        tensorSimpleAction(TP, rowOf(TP->FixCenter, R_a), rowOf(TP->ChiralAlgebra, c), v);
        if (compareVec(TP->NTensor, v, target) == 0)
            return c;
    }
    Alert("getOffset", 0, 212404, "Offset not found");
    return -1;
}

int getOverlap(TensorProduct* TP, int Ra, int Rb, const int* Sa, const int* Sb, int size_a,
               int size_b) {
    if (Ra == Rb)
        return Ra;
    int* B = representatives.reserve(2 * rowCount(TP->ChiralAlgebra) + size_b);
    for (int j = 0; j < size_b; j++)
        B[j] = FixCenterChiralAlgebraProduct(TP, Rb, Sb[j]);
    for (int i = 0; i < size_a; i++) {
        const int A = FixCenterChiralAlgebraProduct(TP, Ra, Sa[i]);
        if (Present(B, size_b, A) >= 0)
            return A;
    }
    return -1;
}

int* getAllReps(TensorProduct* TP, int R, const int* S, int* reps, int size) {
    for (int k = 0; k < size; k++)
        reps[k] = FixCenterChiralAlgebraProduct(TP, R, S[k]);
    return reps;
}

// ============================================================ Representatives and twists

int getFixRepresentative(TensorProduct* TP, int current, FullFPType* ffp) {
    int* v = out.reserve(TP->NTensor);
    for (int c = 0; c < rowCount(TP->ChiralAlgebra); c++) {
        tensorSimpleAction(TP, TensorField(TP, current), rowOf(TP->ChiralAlgebra, c), v);
        const int l = findRow(TP->FixCenter, v);
        if (l < 0)
            continue;
        const int e = Present(ffp->all_currents, ffp->N_all, l);
        if (e >= 0 && checkStabilizerTwist(e, ffp))
            return l;
    }
    Alert("getFixRepresentative", 1, 212404, "No untwisted fixed point current found");
    traceMissingRepresentative(TP, current, ffp);
    return 0;
}

int getUntwistedStabilizerRepresentative(TensorProduct* TP, int* fld, int field, int current) {
    const int N = TP->NTensor;
    const int* f = TensorField(TP, field);
    int* first = orbitMember.reserve(N);
    if (fixingOrbitMember(TP, first, f, current) < 0) {
        Alert("getUntwistedStabilizerRepresentative", 1, 212404,
              "No untwisted stabilizer representative found");
        return 0;
    }
    const FPType* S = TP->Stabilizers[field];
    for (int s = 0; s < S->stab_order; s++) {
        if (s == 0)
            copyVec(N, fld, first);
        else
            tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, S->stabilizer[s]), first, fld);
        bool untwisted = true;
        for (int t = 0; t < S->stab_order && untwisted; t++)
            untwisted = twistSum(TP, f, fld, rowOf(TP->ChiralAlgebra, S->stabilizer[t])) % 4 == 0;
        if (untwisted)
            return 1;
    }
    Alert("getUntwistedStabilizerRepresentative", 0, 212404,
          "No untwisted stabilizer representative found");
    return 0;
}

int CT_getCurrentTwist(TensorProduct* TP, int field, int cur1, int cur2) {
    const int N = TP->NTensor;
    if (N == 0)
        return 0;
    int* K = fld1.reserve(2 * N);
    int* J = K;
    // A failed search leaves its half unwritten: the neutral twist, not a sum over stale labels.
    if (!getUntwistedStabilizerRepresentative(TP, K, field, cur1))
        return 0;
    if (cur2 != cur1) {
        J = K + N;
        if (!getUntwistedStabilizerRepresentative(TP, J, field, cur2))
            return 0;
    }
    return signedQuarter(twistSum(TP, TensorField(TP, field), K, J));
}

int CT_getCurrentTwist_ZNX_VERSION(TensorProduct* TP, int field, int cur1, int cur2) {
    const int N = TP->NTensor;
    int* K = orbitMember.reserve(3 * N);
    int* J = K + N;
    const int* f = TensorField(TP, field);
    if (fixingOrbitMember(TP, K, f, cur1) < 0) {
        Alert("CT_getCurrentTwist", 0, 212404, "No orbit representative fixes field");
        return 0;
    }
    if (fixingOrbitMember(TP, J, f, cur2) < 0) {
        Alert("CT_getCurrentTwist", 1, 212404, "No orbit representative fixes field");
        return 0;
    }
    return signedQuarter(twistSum(TP, f, K, J));
}

int cosetTwist(TensorProduct* TP, const int* field, const int* combi, const int* combj) {
    return signedQuarter(twistSum(TP, field, combi, combj));
}

int FCenterStabilizerTwist(FullFPType* ffp, int e, int s) {
    const Discrete_Group* F = ffp->fcenter;
    const int* d = decompositionOf(F, e);
    const int order = ffp->fp->stab_order;
    int t = 0;
    for (int b = 0; b < F->Mult; b++)
        t += ffp->twists[b * order + s] * d[b];
    return mod(t, 4);
}

int checkStabilizerTwist(int e, FullFPType* ffp) {
    for (int s = 0; s < ffp->fp->stab_order; s++)
        if (FCenterStabilizerTwist(ffp, e, s) != 0)
            return 0;
    return 1;
}

void getFullFPtwists(TensorProduct* TP, const int* field, int* twists, FullFPType* ffp) {
    Discrete_Group* F = ffp->fcenter;
    const FPType* fp = ffp->fp;
    for (int b = 0; b < F->Mult; b++) {
        const int g = ffp->all_currents[DG_basis(F, b)];
        for (int s = 0; s < fp->stab_order; s++)
            twists[b * fp->stab_order + s] = signedQuarter(twistSum(
                TP, field, rowOf(TP->FixCenter, g), rowOf(TP->ChiralAlgebra, fp->stabilizer[s])));
    }
}

int findStabilizerElement(TensorProduct* TP, int field, int elt) {
    const FPType* fp = TP->Stabilizers[field];
    return Present(fp->unt_stab, fp->dg->Order, elt);
}

void Cocycle(FullFPType* ffi, int ci, int fixi, rat* D) {
    D->num = 0;
    D->den = 1;
    const FPType* fp = ffi->fp;
    const int U = fp->dg->Order;
    if (U == 1)
        return;
    const int x = Present(fp->unt_stab, U, fixi);
    if (x < 0) {
        Alert("Cocycle", 0, 212404, "Unidentified fix point label");
        return;
    }
    D->num = ffi->PhiNum[ci * U + x];
    D->den = ffi->PhiDen;
}

int CharacterTimesTwist(Discrete_Group* dg, int elt, const int* twist) {
    const int n = dg->Order;
    int* num = nums.reserve(2 * n);
    int* den = num + n;
    for (int j = 0; j < n; j++) {
        rat D;
        DG_character(dg, elt, j, &D);
        num[j] = mod(twist[j] * D.den + 4 * D.num, 4 * D.den);
        den[j] = 4 * D.den;
    }
    const int r = DG_findCharacter(dg, num, den);
    if (r < 0)
        Alert("CharacterTimesTwist", 0, 212404, "Character not found");
    return r;
}

// ============================================================ Fixed-point theories of a
// combination

int TensorFixedPointLabels(TensorProduct* TP, const int* CurrentCombination, int* labels) {
    const int N = TP->NTensor;
    int* v = fcftLabels.reserve(2 * N);
    int* l = v + N;
    for (int c = 0; c < rowCount(TP->ChiralAlgebra); c++) {
        tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, c), CurrentCombination, v);
        bool all = true;
        for (int k = 0; k < N && all; k++) {
            l[k] = SM_getFCFTlbl(factor(TP, k), v[k]);
            all = l[k] != -1;
        }
        if (!all)
            continue;
        if (labels)
            copyVec(N, labels, l);
        return c;
    }
    return -1;
}

int getTotalFCFTshift(TensorProduct* TP, const int* CurrentCombination) {
    const int N = TP->NTensor;
    std::vector<int> l(static_cast<std::size_t>(N) + 1);
    if (TensorFixedPointLabels(TP, CurrentCombination, l.data()) == -1) {
        Alert("getTotalFCFTshift", 0, 212404, "Unexpected freely acting current");
        printVec(N, CurrentCombination, "comb: ");
        return 0;
    }
    int shift = 0;
    for (int k = 0; k < N; k++) {
        const int lk = l[static_cast<std::size_t>(k)];
        if (lk != 0)
            shift += signOf(TP, k) * factor(TP, k)->FCFTshifts[lk - 1];
    }
    return shift;
}

int TensorFixedPointField(TensorProduct* TP, const int* current, const int* field) {
    for (int k = 0; k < TP->NTensor; k++)
        if (!SM_checkFP(factor(TP, k), current[k], field[k]))
            return 0;
    return 1;
}

int TensorFixedPointCheck(TensorProduct* TP, int cur) {
    for (int f = 0; f < rowCount(TP->TensorSpectrum); f++)
        if (simpleCurrentAction(cur, f, TP) == f)
            return 1;
    return 0;
}
