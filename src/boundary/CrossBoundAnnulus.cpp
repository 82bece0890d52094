// The oriented annulus O(i, a, b) = sum over Ishibashi labels m of conj S(m, i) R(m, a)
// conj R(m, b) / S(m, 0): the open states between boundaries a and b, read as the matrices of a
// representation of the fusion rules (NIM-representation). With orbit data it is a sum over
// Ishibashi orbits, and a charge rule gives 0 at once where the orbits forbid a value.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace crossbound_internal;

namespace {

// The charge vectors the Trivial record allows, one row of G entries each, and the bulk
// generation they were loaded for.
std::vector<int> trivialAllowed;
int trivialAllowedStamp = -1;

// ---- Prepared sums ----
// Loops over boundaries ask for the same (i, a) with every b: the product of the first two
// factors over the divisor is kept as a row, and the third factor as one column per boundary,
// so that each further sum is one dot product. The values are those of the generic sum; only
// the order of its floating-point operations differs.

struct SumKey {
    int cft = -1, bulk = -1, orbits = -1, building = -1, range = -1, columns = -1;
    MODMAT X = nullptr, Y = nullptr, Z = nullptr;
    bool operator==(const SumKey&) const = default;
};

class PreparedSums {
public:
    // False when the columns would not fit the budget; then the caller sums on its own.
    bool usable(const SumKey& key) {
        if (!(key == key_))
            reset(key);
        return fits_;
    }
    void sum(int i, int j, int k, double* re, double* im) {
        if (i != rowI_ || j != rowJ_)
            prepareRow(i, j);
        const double* z = column(std::abs(k));
        const int n = key_.range;
        const double* xr = row_.data();
        const double* xi = xr + n;
        const double* zr = z;
        const double* zi = z + n;
        const double sign = k < 0 ? -1.0 : 1.0;
        double sr = 0.0, si = 0.0;
        for (int m = 0; m < n; m++) {
            // The generic sum conjugates a negative label's factor from m = 1 on.
            const double zim = m == 0 ? zi[m] : sign * zi[m];
            sr += xr[m] * zr[m] - xi[m] * zim;
            si += xr[m] * zim + xi[m] * zr[m];
        }
        *re = sr;
        *im = si;
    }

private:
    static constexpr std::size_t Budget = 512u << 20;

    void reset(const SumKey& key) {
        key_ = key;
        rowI_ = rowJ_ = INT_MIN;
        const std::size_t doubles =
            2 * static_cast<std::size_t>(key.range) * static_cast<std::size_t>(key.columns);
        fits_ = doubles * sizeof(double) <= Budget;
        columns_.clear();
        ready_.clear();
        if (!fits_)
            return;
        columns_.assign(doubles, 0.0);
        ready_.assign(static_cast<std::size_t>(key.columns), 0);
        row_.assign(2 * static_cast<std::size_t>(key.range), 0.0);
    }
    void prepareRow(int i, int j) {
        rowI_ = i;
        rowJ_ = j;
        const int n = key_.range;
        for (int m = 0; m < n; m++) {
            double xr, xi, yr, yi, sr, si;
            key_.X(m, std::abs(i), &xr, &xi);
            key_.Y(m, std::abs(j), &yr, &yi);
            compSAuxFor(m, &sr, &si);
            if (m > 0) {
                xi = i < 0 ? -xi : xi;
                yi = j < 0 ? -yi : yi;
            }
            row_[static_cast<std::size_t>(m)] = (xr * yr - xi * yi) / sr;
            row_[static_cast<std::size_t>(n + m)] = (xr * yi + xi * yr) / sr;
        }
    }
    void compSAuxFor(int m, double* re, double* im) const { key_.X(m, 0, re, im); }
    const double* column(int k) {
        double* z = columns_.data() + 2 * static_cast<std::size_t>(k) * key_.range;
        if (!ready_[static_cast<std::size_t>(k)]) {
            for (int m = 0; m < key_.range; m++)
                key_.Z(m, k, &z[m], &z[key_.range + m]);
            ready_[static_cast<std::size_t>(k)] = 1;
        }
        return z;
    }

    SumKey key_;
    bool fits_ = false;
    int rowI_ = INT_MIN, rowJ_ = INT_MIN;
    std::vector<double> row_, columns_;
    std::vector<char> ready_;
};

PreparedSums preparedSums;

// The generic sum whose first and last callbacks are the S adapter; prepared when it fits.
int annulusSum(int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z) {
    initSMATRIX();
    if (stopSignal == 1)
        return INT_MAX;
    const SumKey key{QueryCFT(),
                     QueryBulkInvariant(),
                     OrbitDataAvailable,
                     IshiOrbitsAvailable,
                     range,
                     BoundaryLabelCount,
                     X,
                     Y,
                     Z};
    if (range <= 0 || !preparedSums.usable(key))
        return GenericVerlinde(i, j, k, range, X, Y, Z, X);
    double re, im;
    preparedSums.sum(i, j, k, &re, &im);
    return roundGenericSum(i, j, k, re, im);
}

bool orbitSumUsable() {
    return CrossBoundOrbitsAvailable() == 1 ||
           (IshiOrbitsAvailable == 1 && currentBulk()->simpleCurrentInvariant);
}

const int* boundaryCharges(int a) {
    return getChargeVector(getBoundaryField(a));
}

// v = q(a) - q(b) - q(i), or q(a) + q(-i) - q(b) for a negative i, among the allowed vectors.
bool orientedChargeAllowed(int i, int a, int b) {
    if (trivialAllowedStamp != QueryBulkInvariant())
        getTrivialModInvGroupCharges();
    const int* qa = boundaryCharges(a);
    const int* qb = boundaryCharges(b);
    const int* qi = getChargeVector(std::abs(i));
    if (!qa || !qb || !qi)
        return false;
    const int G = CenterOrder();
    const int s = i < 0 ? 1 : -1;
    const std::size_t rows = G > 0 ? trivialAllowed.size() / static_cast<std::size_t>(G) : 0;
    for (std::size_t r = 0; r < rows; r++) {
        const int* allowed = trivialAllowed.data() + r * static_cast<std::size_t>(G);
        bool same = true;
        for (int x = 0; x < G && same; x++)
            same = ((qa[x] - qb[x] + s * qi[x]) % G + G) % G == allowed[x];
        if (same)
            return true;
    }
    return false;
}

} // namespace

// ============================================================ Term adapters

void compSAux(int m, int x, double* re, double* im) {
    compS(getIshibashiField(m), x, re, im);
}

void compSAux_orb(int o, int x, double* re, double* im) {
    compS(getIshibashiFieldForOrbit(o), x, re, im);
}

// ============================================================ Charges of the orbit rules

void loadModInvGroupCharges(OrientifoldInfo* OI) {
    const BulkInvariant* bi = currentBulk();
    TotalOrder = bi->MD && bi->MD->dg ? bi->MD->dg->Order : 1;
    const bool orbitsOn = useOrbits() != 0 && bi->simpleCurrentInvariant &&
                          OrbitDataAvailable == QueryBulkInvariant();
    if (ModularOrbitsAvailable() != QueryCFT() || !(orbitsOn || IshiOrbitsAvailable == 1))
        return;
    debugLine("Loading ModInvGroupCharges for orientifold %p\n", static_cast<void*>(OI));
    if (bi->trivial == 1 && TotalOrder != 1)
        Alert("loadModInvGroupCharges", 0, 212404, "Unexpected group order %d for trivial case",
              TotalOrder);
    initList(OI->ModInvGroupCharges, TotalOrder);
    const int G = CenterOrder();
    const int* qK = getChargeVector(OI->KBC);
    std::vector<int> rows;
    std::vector<int> v(static_cast<std::size_t>(G));
    for (int e = 0; e < TotalOrder && qK; e++) {
        const int* qJ = getChargeVector(bi->MD && bi->MD->dg ? bi->MD->map[e] : 0);
        if (!qJ)
            continue;
        for (int x = 0; x < G; x++)
            v[static_cast<std::size_t>(x)] = (qK[x] + qJ[x]) % G;
        const int index = findChargeVector(v.data());
        // A vector the theory lacks is reported there; it allows nothing.
        if (index < 0 || findInList(OI->ModInvGroupCharges, index) >= 0)
            continue;
        addToList(OI->ModInvGroupCharges, index);
        rows.insert(rows.end(), v.begin(), v.end());
    }
    if (OI == Trivial) {
        trivialAllowed = rows;
        trivialAllowedStamp = QueryBulkInvariant();
    }
    debugLine("Finished loading ModInvGroupCharges for orientifold %p\n", static_cast<void*>(OI));
}

IntegerList* getTrivialModInvGroupCharges() {
    allocateOrientifoldInfo_stage2(&Trivial);
    loadModInvGroupCharges(Trivial);
    return Trivial->ModInvGroupCharges;
}

// ============================================================ The oriented annulus

int FastOrientedAnnulus(int i, int a, int b) {
    return annulusSum(-i, a, b, NIshiOrbit, compSAux_orb, getCurrentReflectionCoefficient_orb,
                      getCurrentReflectionCoefficientStarred_orb);
}

int getOrientedAnnulus(int i, int a, int b) {
    if (stopSignal == 1)
        return INT_MAX;
    if (orbitSumUsable()) {
        if (!orientedChargeAllowed(i, a, b))
            return 0;
        return FastOrientedAnnulus(i, a, b);
    }
    return annulusSum(-i, a, b, IshibashiLabelCount, compSAux, getCurrentReflectionCoefficient,
                      getCurrentReflectionCoefficientStarred);
}

// ============================================================ NIM-representation property

int checkNIMfusion(int i, int j, int a, int b) {
    long long left = 0, right = 0;
    for (int c = 0; c < BoundaryLabelCount; c++) {
        const int x = getOrientedAnnulus(-i, a, c);
        if (x == INT_MAX)
            return -1;
        if (x == 0)
            continue;
        const int y = getOrientedAnnulus(-j, c, b);
        if (y == INT_MAX)
            return -1;
        left += static_cast<long long>(x) * y;
    }
    for (int k = 0; k < getTotalPrimaries(); k++) {
        const int n = fusion(i, j, k, 0);
        if (n == INT_MAX || stopSignal == 1)
            return -1;
        if (n == 0)
            continue;
        const int o = getOrientedAnnulus(-k, a, b);
        if (o == INT_MAX)
            return -1;
        right += static_cast<long long>(n) * o;
    }
    if (left == right)
        return 1;
    Alert("checkNIMfusion", 0, 212404, "%d,%d,%d,%d: %d != %d\n", i, j, a, b,
          static_cast<int>(left), static_cast<int>(right));
    return 0;
}
