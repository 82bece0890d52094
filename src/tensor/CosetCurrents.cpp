// Simple-current combinations: their acceptance (integer weight, integer charges with the
// currents already present), the chiral algebra they generate with the grade flips of graded
// mode, and its group operations.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <cstdio>
#include <vector>

using namespace coset_internal;

namespace {

GuardedArray<int> gmap("gmap", cosetAlloc());
GuardedArray<int> resultCAP("result_CAP", cosetAlloc());
GuardedArray<int> member("member", cosetAlloc());
GuardedArray<int> powerOut("out", cosetAlloc());
GuardedArray<int> product("product", cosetAlloc());
GuardedArray<int> twistedLabel("product", cosetAlloc());
std::vector<int> actionTwists;

// The product and pair (J, L) whose orbit member the buffer "member" holds; (-2, -2) none.
const TensorProduct* memberTP = nullptr;
int memberJ = -2;
int memberL = -2;

void forgetStoredOrbitMember() {
    memberJ = memberL = -2;
}

// The stored currents belong to the present factors only when their rows have one label each.
// The collection as created has no room for links at all, also when there are no factors.
bool currentsFitFactors(TensorProduct* TP) {
    return TP->Currents->id_size == TP->NTensor && TP->Currents->rowsize == TP->NTensor + 2;
}

void makeCurrentsFitFactors(TensorProduct* TP) {
    if (!currentsFitFactors(TP))
        initVectorCollection(TP->Currents, TP->NTensor, 10);
}

// Appends J unless present; true when it was appended.
bool appendRow(VectorSpace* s, const int* J) {
    const int before = s->Nfill;
    addVectorToCollection(s, const_cast<int*>(J));
    return s->Nfill > before;
}

// True when a generator takes no row outside the rows: as the currents commute, the rows are then
// the whole group they generate.
bool closedUnderGenerators(TensorProduct* TP, int* scratch) {
    VectorSpace* CA = TP->ChiralAlgebra;
    for (int g = 1; g <= TP->Ngenerator; g++)
        for (int r = 0; r < CA->Nfill; r++) {
            tensorSimpleAction(TP, rowOf(CA, g), rowOf(CA, r), scratch);
            if (findRow(CA, scratch) < 0)
                return false;
        }
    return true;
}

// The graded factors, in factor order.
std::vector<int> gradedFactors(TensorProduct* TP) {
    std::vector<int> list;
    for (int k = 0; k < TP->NTensor; k++)
        if (factor(TP, k)->graded)
            list.push_back(k);
    return list;
}

// For each pattern flipping an even number (at least two) of graded factors, every row before
// the flips with those labels replaced by their grade partners.
void addGradeFlips(TensorProduct* TP, int* scratch) {
    const std::vector<int> g = gradedFactors(TP);
    const int t = static_cast<int>(g.size());
    if (t < 2)
        return;
    const int N = TP->NTensor;
    for (long long x = 1; x < (1LL << (t - 1)); x++) {
        std::vector<int> flip;
        for (int b = 0; b < t - 1; b++)
            if (x >> b & 1)
                flip.push_back(g[b]);
        if (flip.size() % 2 == 1)
            flip.push_back(g[t - 1]);
        for (int m = 0; m < TP->NGradChirCurr; m++) {
            copyVec(N, scratch, rowOf(TP->ChiralAlgebra, m));
            for (int k : flip)
                scratch[k] = factor(TP, k)->multiplets[scratch[k]];
            appendRow(TP->ChiralAlgebra, scratch);
        }
    }
}

} // namespace

// ============================================================ Entering currents

int checkCurrent(TensorProduct* TP, const int* J) {
    double h = 0.0;
    for (int k = 0; k < TP->NTensor; k++)
        h += signOf(TP, k) * SM_realWeight(factor(TP, k), J[k]);
    if (TP->genuineCoset)
        h = DoubleToFrac(h);
    if (!IntCheck(h)) {
        std::printf("Weight %15.7f\n", h);
        printVec(TP->NTensor, J, "current");
        Alert("checkCurrent", 0, 100301, "Non-integer conformal weight");
        return 1;
    }
    if (!currentsFitFactors(TP))
        return 0;
    for (int i = 0; i < rowCount(TP->Currents); i++) {
        rat Q;
        TensorRatCharge(TP, J, rowOf(TP->Currents, i), &Q);
        if (intcheck(&Q) != 0) {
            Alert("checkCurrent", 1, 100301, "Non-integer charge w.r.t. previous current");
            return 1;
        }
    }
    return 0;
}

int addNewCurrent(TensorProduct* TP, const int* J) {
    if (checkCurrent(TP, J) != 0)
        return 1;
    makeCurrentsFitFactors(TP);
    if (!appendRow(TP->Currents, J))
        return 1;
    setInputDataChanged(TP);
    return 0;
}

int updateCurrent(TensorProduct* TP, int i, const int* J) {
    if (checkCurrent(TP, J) != 0)
        return 1;
    makeCurrentsFitFactors(TP);
    if (i >= 0 && i < rowCount(TP->Currents))
        removeVectorFromCollection(TP->Currents, i);
    appendRow(TP->Currents, J);
    setInputDataChanged(TP);
    return 0;
}

int removeCurrent(TensorProduct* TP, int i) {
    removeVectorFromCollection(TP->Currents, i);
    setInputDataChanged(TP);
    const int last = rowCount(TP->Currents) - 1;
    return i > last ? last : i;
}

void resetCurrents(TensorProduct* TP) {
    resetVectorCollection(TP->Currents);
    setInputDataChanged(TP);
}

// ============================================================ The chiral algebra

void computeChiralAlgebra(TensorProduct* TP) {
    const int N = TP->NTensor;
    computeTensorCenterMult(TP);
    // Every stabilizer type belongs to the chiral algebra that is replaced now, and so does every
    // full fixed-point record: each points to a type, which its release reads.
    forgetResolutionData();
    freeFullFP();
    freeFP(getFirstFP(TP));
    forgetStoredOrbitMember();
    VectorSpace* CA = TP->ChiralAlgebra;
    initVectorCollection(CA, N, 100);
    int* scratch = gmap.reserve(3 * N + 10);
    nullifyVec(N, scratch);
    appendRow(CA, scratch);
    if (currentsFitFactors(TP))
        for (int i = 0; i < rowCount(TP->Currents); i++)
            appendRow(CA, rowOf(TP->Currents, i));
    TP->Ngenerator = CA->Nfill - 1;
    // Products join at the end, where the loops still reach them. Once every generator has run
    // over the rows, they are usually the whole group, and the products left would add nothing.
    for (int i = 0; i < CA->Nfill; i++) {
        for (int j = 0; j < CA->Nfill; j++) {
            tensorSimpleAction(TP, rowOf(CA, i), rowOf(CA, j), scratch);
            appendRow(CA, scratch);
        }
        if (i == TP->Ngenerator && closedUnderGenerators(TP, scratch))
            break;
    }
    TP->NGradChirCurr = CA->Nfill;
    if (graded())
        addGradeFlips(TP, scratch);
}

void computeTensorCenterMult(TensorProduct* TP) {
    int mult = 0;
    for (int k = 0; k < TP->NTensor; k++)
        if (const Discrete_Group* g = factor(TP, k)->SimpleCurrents)
            mult += g->Mult;
    TP->TensorCenterMult = mult;
}

void tensorSimpleAction(TensorProduct* TP, const int* J, const int* v, int* out) {
    for (int k = 0; k < TP->NTensor; k++)
        out[k] = simpleAction(factor(TP, k), J[k], v[k]);
}

void getOrbitMember(TensorProduct* TP, const int* J, const int* v, int* out) {
    tensorSimpleAction(TP, J, v, out);
    out[TP->NTensor] = v[TP->NTensor];
}

int findChiralAlgebraElement(TensorProduct* TP, const int* J) {
    const int m = findRow(TP->ChiralAlgebra, J);
    if (m < 0) {
        printVec(TP->NTensor, J, "candidate");
        Alert("findChiralAlgebraElement", 0, 212404, "Chiral algebra element not found");
    }
    return m;
}

int chiralAlgebraProduct(TensorProduct* TP, int i, int j) {
    int* out = resultCAP.reserve(TP->NTensor);
    tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, i), rowOf(TP->ChiralAlgebra, j), out);
    return findChiralAlgebraElement(TP, out);
}

int chiralProduct(int i, int j, void* xtra) {
    return chiralAlgebraProduct(static_cast<TensorProduct*>(xtra), i, j);
}

int* getStoredOrbitMember(TensorProduct* TP, int J, int L) {
    if (J == -1) {
        forgetStoredOrbitMember();
        return nullptr;
    }
    if (TP == memberTP && J == memberJ && L == memberL)
        return member.X;
    int* out = member.reserve(TP->NTensor + 1);
    getOrbitMember(TP, rowOf(TP->ChiralAlgebra, J), TensorField(TP, L), out);
    memberTP = TP;
    memberJ = J;
    memberL = L;
    return out;
}

int* tensorPower(TensorProduct* TP, const int* J, int n) {
    int* out = powerOut.reserve(TP->NTensor);
    for (int k = 0; k < TP->NTensor; k++) {
        if (n == 0)
            out[k] = 0;
        else if (n == 1)
            out[k] = J[k];
        else
            out[k] = SM_SimpleCurrentPower(factor(TP, k), J[k], n);
    }
    return out;
}

int getSimpleCurrentOrder(TensorProduct* TP, int c) {
    const int* row = TensorField(TP, c);
    int L = 1;
    for (int k = 0; k < TP->NTensor; k++)
        L = SCM(L, SM_getCurrentOrder(factor(TP, k), row[k]));
    if (L == 1)
        return 1;
    // A power that lies in the chiral algebra acts as the identity on the extended product.
    for (int d = 2; d < L; d++)
        if (L % d == 0 && findRow(TP->ChiralAlgebra, tensorPower(TP, row, d)) >= 0)
            return d;
    return L;
}

void getSimpleCurrentOrders(TensorProduct* TP, int* orders) {
    for (int c = 0; c < TP->TensorSimpleCurrentOrder; c++)
        orders[c] = getSimpleCurrentOrder(TP, c);
}

int simpleCurrentProduct(int c1, int c2, void* xtra) {
    auto* TP = static_cast<TensorProduct*>(xtra);
    const int N = TP->NTensor;
    int* out = product.reserve(N + 1);
    const int* second = TensorField(TP, c2);
    tensorSimpleAction(TP, TensorField(TP, c1), second, out);
    out[N] = second[N];
    return findOrbit(TP, out, nullptr);
}

namespace {

// sum_k F(f_k, K_k, J_k) as 0..3.
int factorTwist(TensorProduct* TP, const int* f, const int* K, const int* J) {
    int t = 0;
    for (int k = 0; k < TP->NTensor; k++)
        t += SM_getCurrentTwist(factor(TP, k), f[k], K[k], J[k]);
    return mod(t, 4);
}

} // namespace

int simpleCurrentAction(int c, int f, void* xtra) {
    auto* TP = static_cast<TensorProduct*>(xtra);
    if (f < TP->TensorSimpleCurrentOrder)
        return simpleCurrentProduct(c, f, TP);
    const int N = TP->NTensor;
    FPType* fp = TP->Stabilizers[f];
    const int order = fp->dg->Order;
    const int* field = TensorField(TP, f);
    int* w = product.reserve(N + 1);
    tensorSimpleAction(TP, TensorField(TP, c), field, w);
    w[N] = field[N];
    if (order == 1)
        return findOrbit(TP, w, nullptr);
    int m = 0;
    const int r = findOrbit(TP, w, &m);
    if (r < 0)
        return -1;
    const int phi = TensorField(TP, r)[N];
    // K carries f onto r's labels; its twists against U say how the resolved fields are permuted.
    int* K = w;
    tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, m), TensorField(TP, c), K);
    actionTwists.assign(static_cast<std::size_t>(order), 0);
    int i0 = -1;
    bool twisted = false;
    for (int i = 0; i < order; i++) {
        const int u = fp->unt_stab[i];
        if (u == phi)
            i0 = i;
        const int t = factorTwist(TP, field, K, rowOf(TP->ChiralAlgebra, u));
        actionTwists[static_cast<std::size_t>(i)] = t;
        twisted = twisted || t != 0;
    }
    if (!twisted)
        return r;
    if (i0 < 0) {
        // Without the label's position there is no character to shift; a guess would be wrong.
        Alert("simpleCurrentAction", 0, 212404, "Label not found");
        return -1;
    }
    const int j = CharacterTimesTwist(fp->dg, i0, actionTwists.data());
    if (j < 0)
        return -1;
    int* target = twistedLabel.reserve(N + 1);
    copyVec(N, target, TensorField(TP, r));
    target[N] = fp->unt_stab[j];
    return findRow(TP->TensorSpectrum, target);
}

int findSimpleCurrents(TensorProduct* TP) {
    const int rows = rowCount(TP->TensorSpectrum);
    for (int r = 0; r < rows; r++) {
        const int* row = TensorField(TP, r);
        for (int k = 0; k < TP->NTensor; k++)
            if (!SM_currentCheck(factor(TP, k), row[k]))
                return r;
    }
    return rows;
}
