// Groups of simple currents of the current theory: orbits, the closure of a set of currents with
// its greedy basis, the symmetries of the theory acting on its currents, and the look-ups in the
// orbit data that the boundary and string code use.
#include "modular/ModularExtensions.h"

#include "base/Error.h"
#include "modular/Modular.h"
#include "modular/ModularInternal.h"
#include "numeric/VectorUtility.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <numeric>
#include <vector>

using namespace modular_internal;

namespace {

std::vector<int> orbitList;
std::vector<int> basis;
int basisEntries = 0;
std::vector<int> nested, nextNested;
std::vector<char> basisMarks;

// The symmetries' images of every current, while the table stays small; beyond it the
// forwarders are asked each time.
constexpr long long MaxImageTable = 1LL << 22;
int symmetryCount = 0;
int symmetryCurrents = 0;
std::vector<int> images;

// The orbit table may still belong to an earlier product, since entering factors does not renew
// the theory counter: a tensor product is asked directly.
int productOf(int a, int b) {
    if (a == 0)
        return b;
    if (b == 0)
        return a;
    if (tensorMode())
        return simpleCurrentProduct(a, b, getCurrentTensor());
    return simpleProduct(a, b, nullptr);
}

// Membership of currents 0 .. Ncur-1 in a growing list.
class CurrentSet {
public:
    explicit CurrentSet(int n) : in_(static_cast<std::size_t>(std::max(n, 0)), 0) {}
    bool has(int x) const { return x >= 0 && x < size() && in_[static_cast<std::size_t>(x)]; }
    void add(int x) {
        if (x >= 0 && x < size())
            in_[static_cast<std::size_t>(x)] = 1;
    }

private:
    int size() const { return static_cast<int>(in_.size()); }
    std::vector<char> in_;
};

bool refusedByLoop(int c, const std::vector<int>* valid, const int* loop, int level) {
    if (!valid || !loop)
        return false;
    const auto at = std::find(valid->begin(), valid->end(), c);
    if (at == valid->end())
        return false;
    for (int l = 0; l < level; l++)
        if (c < (*valid)[static_cast<std::size_t>(loop[l + 1])])
            return true;
    return false;
}

// Ends the basis with -1 and pads it to the ten entries its printers show.
const int* finishBasis() {
    basisEntries = static_cast<int>(basis.size());
    basis.push_back(-1);
    if (basis.size() < 10)
        basis.resize(10, 0);
    return basis.data();
}

const int* abandonBasis(std::span<const int> algebra, const char* message) {
    printVec(static_cast<int>(algebra.size()), algebra.data(), "Algebra");
    Alert("MOD_findBasis", 0, 212404, "%s", message);
    basis.assign(10, 0);
    basis[0] = -1;
    basisEntries = 0;
    return nullptr;
}

// The simple currents whose rows belong to the present factors: after a factor is added the
// product's rows are those of the old factors until its spectrum is computed again.
int currentCount() {
    if (!tensorMode())
        return CenterOrder();
    return std::min(CenterOrder(), CT_spectrumRows(getCurrentTensor()));
}

int askImage(int perm, int elt) {
    const int image = MOD_getCurrentPermutation(perm, elt);
    return image >= 0 && image < CenterOrder() ? image : elt;
}

} // namespace

const std::vector<int>& computeOrbit(int J) {
    orbitList.assign(1, 0);
    if (J == 0)
        return orbitList;
    const int limit = CenterOrder();
    int x = J;
    for (int n = 0; n < limit && x > 0; n++) {
        orbitList.push_back(x);
        x = productOf(J, x);
    }
    return orbitList;
}

int findOrbitGenerator(int J) {
    const std::vector<int>& orbit = computeOrbit(J);
    const int n = static_cast<int>(orbit.size());
    if (n == 1)
        return 0;
    int best = orbit[1];
    for (int k = 1; k < n; k++)
        if (std::gcd(k, n) == 1)
            best = std::min(best, orbit[static_cast<std::size_t>(k)]);
    return best;
}

int integerSpinCurrent(int J) {
    if (J < 0 || J >= currentCount())
        return 0;
    return ratWeight(J)->den == 1 ? 1 : 0;
}

int MOD_completeAlgebra(std::span<const int> A, int k, std::vector<int>& B,
                        const std::vector<int>* ValidCurrents, const int* AlgLoop, int level,
                        int check) {
    const int Ncur = CenterOrder();
    CurrentSet in(Ncur);
    B.assign(A.begin(), A.end());
    for (int a : A)
        in.add(a);
    auto append = [&](int x) {
        if (!in.has(x)) {
            B.push_back(x);
            in.add(x);
        }
    };
    append(k);
    int power = k;
    for (int n = 0; k != 0 && n < Ncur; n++) {
        power = productOf(k, power);
        if (power <= 0)
            break;
        append(power);
    }
    if (B.size() == A.size())
        return 0;
    const std::size_t added = B.size();
    for (int a : A)
        for (std::size_t j = A.size(); j < added; j++) {
            const int c = productOf(a, B[j]);
            if (!integerSpinCurrent(c))
                return 0;
            if (check == 1 && level >= 1 && refusedByLoop(c, ValidCurrents, AlgLoop, level))
                return 0;
            append(c);
        }
    return 1;
}

const int* MOD_findBasis(std::span<const int> algebra) {
    const std::size_t n = algebra.size();
    basisMarks.assign(n, 0);
    nested.assign(1, 0);
    basis.clear();
    for (;;) {
        int m = 99999999;
        bool found = false;
        for (std::size_t i = 0; i < n; i++)
            if (!basisMarks[i] && algebra[i] < m) {
                m = algebra[i];
                found = true;
            }
        if (!found)
            return finishBasis();
        if (m < 0)
            return abandonBasis(algebra, "Negative basis element");
        // Products of many Z2 factors need more than a handful of entries: the basis grows.
        basis.push_back(m);
        MOD_completeAlgebra(nested, m, nextNested);
        nested.swap(nextNested);
        for (int x : nested) {
            bool present = false;
            for (std::size_t i = 0; i < n; i++)
                if (algebra[i] == x) {
                    basisMarks[i] = 1;
                    present = true;
                }
            if (!present)
                return abandonBasis(algebra, "Algebra element not found");
        }
    }
}

int basisSize() {
    return basisEntries;
}

const int* MOD_closeAlgebra(std::vector<int>& A) {
    const int Ncur = currentCount();
    for (int a : A)
        if (a < 0 || a >= Ncur) {
            Alert("MOD_closeAlgebra", 0, 212404, "Current %d is not a simple current", a);
            return nullptr;
        }
    CurrentSet in(Ncur);
    std::vector<int> distinct;
    for (int a : A)
        if (!in.has(a)) {
            in.add(a);
            distinct.push_back(a);
        }
    A.swap(distinct);
    for (std::size_t i = 0; i < A.size(); i++)
        for (std::size_t j = 0; j <= i; j++) {
            const int c = productOf(A[i], A[j]);
            // A product outside the currents would never close the list.
            if (c < 0 || c >= Ncur) {
                Alert("MOD_closeAlgebra", 0, 212404, "Current %d is not a simple current", c);
                return nullptr;
            }
            if (!in.has(c)) {
                in.add(c);
                A.push_back(c);
            }
        }
    return MOD_findBasis(A);
}

int MOD_computeIntegerSpinPermutation(int perm, int elt) {
    if (elt == -1) {
        MOD_getCurrentOuterAutomorphisms();
        symmetryCount = std::max(MOD_TotalOuterAutomorphisms(), 1);
        symmetryCurrents = CenterOrder();
        images.clear();
        if (static_cast<long long>(symmetryCount) * symmetryCurrents <= MaxImageTable) {
            images.resize(static_cast<std::size_t>(symmetryCount) * symmetryCurrents);
            for (int p = 0; p < symmetryCount; p++)
                for (int e = 0; e < symmetryCurrents; e++)
                    images[static_cast<std::size_t>(p) * symmetryCurrents + e] = askImage(p, e);
        }
        return symmetryCount;
    }
    if (perm == 0 || elt < 0)
        return elt;
    if (!images.empty() && perm < symmetryCount && elt < symmetryCurrents)
        return images[static_cast<std::size_t>(perm) * symmetryCurrents + elt];
    return askImage(perm, elt);
}

int MOD_listPermutations(const std::vector<int>* A) {
    if (!A || symmetryCount == 0 || symmetryCurrents != CenterOrder())
        MOD_computeIntegerSpinPermutation(0, -1);
    if (!A)
        return 0;
    for (int x : *A)
        if (!integerSpinCurrent(x)) {
            Alert("MOD_listPermutations", 0, 100302,
                  "Current %d is not a simple current of integer spin", x);
            return 1;
        }
    std::vector<int> image(A->size());
    for (int p = 0; p < symmetryCount; p++) {
        for (std::size_t i = 0; i < A->size(); i++) {
            image[i] = MOD_computeIntegerSpinPermutation(p, (*A)[i]);
            if (!integerSpinCurrent(image[i])) {
                Alert("MOD_listPermutations", 1, 212404, "Permutation %d of current %d not in list",
                      p, (*A)[i]);
                return 1;
            }
        }
        const int* b = MOD_findBasis(image);
        if (!b)
            return 1;
        printVec(std::max(10, basisSize() + 1), b, "basis");
    }
    return 0;
}

// ============================================================ Orbit data

int FastSimpleFusion(int J, int i) {
    if (!orbitDataValid()) {
        Alert("FastSimpleFusion", 0, 220502, "Orbit data not available (FastSimpleFusion)");
        return -1;
    }
    // With valid orbit data the facade reads the same table entry.
    return simpleFusion(J, i);
}

const int* getChargeVector(int lbl) {
    if (lbl < 0 || lbl >= totalPrimaries()) {
        Alert("getChargeVector", 0, 212404, "Label out of range: %d\n", lbl);
        return nullptr;
    }
    if (!orbitDataValid())
        initOrbitData();
    if (!orbitDataValid()) {
        Alert("getChargeVector", 1, 220502, "Orbit data not available (getChargeVector)");
        return nullptr;
    }
    return getOrbitInfo(lbl)->charge;
}

void ChargeCorrectionFactor(int lbl1, int cur1, int lbl2_start, int cur2, double* RealS,
                            double* ImS) {
    *RealS = 1.0;
    *ImS = 0.0;
    const int* q1 = getChargeVector(lbl1);
    const int* q2 = getChargeVector(lbl2_start);
    if (!q1 || !q2)
        return;
    const int N = groupOrder();
    const int k = (q2[cur1] + q1[cur2]) % N;
    *RealS = PhasesR[k];
    *ImS = PhasesI[k];
}
