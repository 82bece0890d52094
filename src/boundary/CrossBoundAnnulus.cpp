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
#include "modular/VerlindeKernel.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

using namespace crossbound_internal;

namespace {

// The charge vectors a record allows, one row of G entries each, with the bulk generation and
// the OrientifoldNr they were loaded for.
struct AllowedRows {
    int bulk = -1, nr = -1;
    std::vector<int> rows;
};
std::map<const OrientifoldInfo*, AllowedRows> allowedRows;

// The rows of OI, loaded when stale.
const std::vector<int>& allowedFor(OrientifoldInfo* OI) {
    const AllowedRows& r = allowedRows[OI];
    if (r.bulk != QueryBulkInvariant() || r.nr != OI->OrientifoldNr)
        loadModInvGroupCharges(OI);
    return allowedRows[OI].rows;
}

// ---- Prepared sums ----
// Loops over boundaries ask for the same (i, a) with every b: the product of the first two
// factors over the divisor is kept as a row, and the third factor as one column per boundary,
// so that each further sum is one dot product. The values are those of the generic sum; only
// the order of its floating-point operations differs.

// What the kept columns were made under. An exceptional invariant's table may be filled by its
// boundary search under the same generation: its sums are not kept.
struct SumKey {
    int cft = -1, bulk = -1, orientifold = -1, orbits = -1, building = -1, parameter = -1,
        range = -1, columns = -1;
    MODMAT X = nullptr, Y = nullptr, Z = nullptr;
    // The record the flipped coefficients were read from: loops over the orientifold list make
    // each entry current in turn without a new orientifold choice.
    const OrientifoldInfo* record = nullptr;
    int recordNr = -1, recordKBC = -1;
    bool operator==(const SumKey&) const = default;
};

// Columns of one factor, (Re, Im) over the summation points, each made on first use.
class ColumnCache {
public:
    void reset(int count, int range) {
        range_ = static_cast<std::size_t>(range);
        data_.assign(2 * range_ * static_cast<std::size_t>(count), 0.0);
        ready_.assign(static_cast<std::size_t>(count), 0);
        real_.assign(static_cast<std::size_t>(count), 0);
    }
    void clear() {
        data_.clear();
        ready_.clear();
        real_.clear();
    }
    // Column k; fill(m, k, &re, &im) gives its entries.
    template <class Fill> const double* get(int k, Fill fill) {
        const std::size_t c = static_cast<std::size_t>(k);
        double* z = data_.data() + 2 * c * range_;
        if (!ready_[c]) {
            bool real = true;
            for (std::size_t m = 0; m < range_; m++) {
                fill(static_cast<int>(m), k, &z[m], &z[range_ + m]);
                real = real && z[range_ + m] == 0.0;
            }
            ready_[c] = 1;
            real_[c] = real ? 1 : 0;
        }
        return z;
    }
    bool real(int k) const { return real_[static_cast<std::size_t>(k)] != 0; }

private:
    std::size_t range_ = 0;
    std::vector<double> data_;
    std::vector<char> ready_, real_;
};

// The row of (i, j) is kept twice, as (Re x, -Im x) and (Im x, Re x), and a column as
// (Re z, Im z), so that the real and the imaginary part of the sum are two dot products; when
// neither has imaginary parts the real dot product over the first half is the whole sum. The
// factors of the row come from columns as well: X(m, i) / Re S(m, 0) per field, Y(m, j) per
// boundary.
class PreparedSums {
public:
    // False when the columns would not fit the budget; then the caller sums on its own.
    bool usable(const SumKey& key) {
        if (!(key == key_)) {
            initSMATRIX();
            reset(key);
        }
        return fits_;
    }
    void sum(int i, int j, int k, double* re, double* im) {
        if (i != rowI_ || j != rowJ_)
            prepareRow(i, j);
        const int n = key_.range;
        const double* z = zColumns_.get(std::abs(k), key_.Z);
        if (k < 0) {
            conjugatedSum(z, re, im);
            return;
        }
        if (rowReal_ && zColumns_.real(std::abs(k))) {
            dotColumns(row_.data(), 1, &z, 1, n, re);
            *im = 0.0;
            return;
        }
        double out[2];
        dotColumns(row_.data(), 2, &z, 1, 2 * n, out);
        *re = out[0];
        *im = out[1];
    }

private:
    static constexpr std::size_t Budget = 512u << 20;

    void reset(const SumKey& key) {
        key_ = key;
        rowI_ = rowJ_ = INT_MIN;
        fields_ = getTotalPrimaries();
        const std::size_t doubles = 2 * static_cast<std::size_t>(key.range) *
                                    static_cast<std::size_t>(2 * key.columns + fields_);
        fits_ = doubles * sizeof(double) <= Budget;
        if (!fits_) {
            xColumns_.clear();
            yColumns_.clear();
            zColumns_.clear();
            return;
        }
        xColumns_.reset(fields_, key.range);
        yColumns_.reset(key.columns, key.range);
        zColumns_.reset(key.columns, key.range);
        row_.assign(4 * static_cast<std::size_t>(key.range), 0.0);
    }
    // x_m = X(m, i) Y(m, j) / Re S(m, 0), a negative label's factor conjugated from m = 1 on as
    // in the generic sum.
    void prepareRow(int i, int j) {
        rowI_ = i;
        rowJ_ = j;
        const MODMAT X = key_.X;
        const double* x = xColumns_.get(std::abs(i), [X](int m, int f, double* re, double* im) {
            double sr, si;
            X(m, f, re, im);
            X(m, 0, &sr, &si);
            *re /= sr;
            *im /= sr;
        });
        const double* y = yColumns_.get(std::abs(j), key_.Y);
        rowReal_ = xColumns_.real(std::abs(i)) && yColumns_.real(std::abs(j));
        const std::size_t n = static_cast<std::size_t>(key_.range);
        const double xs = i < 0 ? -1.0 : 1.0, ys = j < 0 ? -1.0 : 1.0;
        for (std::size_t m = 0; m < n; m++) {
            const double xr = x[m], yr = y[m];
            const double xi = m > 0 ? xs * x[n + m] : x[n + m];
            const double yi = m > 0 ? ys * y[n + m] : y[n + m];
            const double pr = xr * yr - xi * yi, pi = xr * yi + xi * yr;
            row_[m] = pr;
            row_[n + m] = -pi;
            row_[2 * n + m] = pi;
            row_[3 * n + m] = pr;
        }
    }
    void conjugatedSum(const double* z, double* re, double* im) const {
        const std::size_t n = static_cast<std::size_t>(key_.range);
        double sr = 0.0, si = 0.0;
        for (std::size_t m = 0; m < n; m++) {
            const double zr = z[m], zi = m == 0 ? z[n + m] : -z[n + m];
            sr += row_[m] * zr + row_[n + m] * zi;
            si += row_[m] * zi + row_[2 * n + m] * zr;
        }
        *re = sr;
        *im = si;
    }

    SumKey key_;
    bool fits_ = false;
    bool rowReal_ = true;
    int fields_ = 0;
    int rowI_ = INT_MIN, rowJ_ = INT_MIN;
    std::vector<double> row_;
    ColumnCache xColumns_, yColumns_, zColumns_;
};

PreparedSums preparedSums;

// The theory and bulk generations a sum is evaluated under, read once per coefficient.
struct Stamps {
    int cft, bulk;
};

Stamps stamps() {
    return {QueryCFT(), QueryBulkInvariant()};
}

// The generic sum whose first and last callbacks are the S adapter; prepared when it fits.
int annulusSum(Stamps at, int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z) {
    const OrientifoldInfo* record = currentRecord();
    const SumKey key{at.cft,
                     at.bulk,
                     crossbound::QueryOrientifold(),
                     OrbitDataAvailable,
                     IshiOrbitsAvailable,
                     useOrbits(),
                     range,
                     BoundaryLabelCount,
                     X,
                     Y,
                     Z,
                     record,
                     record->OrientifoldNr,
                     record->KBC};
    if (range <= 0 || !currentBulk()->simpleCurrentInvariant || !preparedSums.usable(key))
        return GenericVerlinde(i, j, k, range, X, Y, Z, X);
    double re, im;
    preparedSums.sum(i, j, k, &re, &im);
    // Nearly every sum is an integer: the rounding with its reports only for the others.
    const double r = std::nearbyint(re);
    if (std::fabs(re - r) <= 1e-7 && std::fabs(im) < 1e-7 && std::fabs(r) < INT_MAX)
        return static_cast<int>(r);
    return roundGenericSum(i, j, k, re, im);
}

// The orbit sum serves while the orbit data are valid, and while the boundary orbits are being
// built on finished Ishibashi orbits.
bool orbitSumUsable(Stamps at) {
    if (!currentBulk()->simpleCurrentInvariant)
        return false;
    return IshiOrbitsAvailable == 1 || (useOrbits() != 0 && ModularOrbitsAvailable() == at.cft &&
                                        OrbitDataAvailable == at.bulk);
}

// The charge rules: v = q(a) + s q(b) - q(i), or q(a) + s q(b) + q(-i) for a negative i, must be
// one of the allowed vectors; s = -1 for the oriented annulus, +1 for the annulus and, with
// b = a, for the Moebius strip. The charge rows of every field and boundary are looked up once
// per bulk generation, and q(a) -/+ q(i) once per (i, a).
class ChargeRule {
public:
    bool allowed(Stamps at, int i, int a, int b, int s, const std::vector<int>& rows) {
        if (stamp_ != at.bulk || cft_ != at.cft)
            reset();
        if (i != lastI_ || a != lastA_)
            prepare(i, a);
        const int* qb = boundary_[static_cast<std::size_t>(b)];
        if (!partialValid_ || !qb)
            return false;
        const std::size_t G = static_cast<std::size_t>(G_);
        for (std::size_t r = 0; r + G <= rows.size(); r += G) {
            bool same = true;
            for (std::size_t x = 0; x < G && same; x++)
                same = ((partial_[x] + s * qb[x]) % G_ + G_) % G_ == rows[r + x];
            if (same)
                return true;
        }
        return false;
    }

private:
    void reset() {
        stamp_ = QueryBulkInvariant();
        cft_ = QueryCFT();
        G_ = CenterOrder();
        field_.assign(static_cast<std::size_t>(getTotalPrimaries()), nullptr);
        for (std::size_t f = 0; f < field_.size(); f++)
            field_[f] = getChargeVector(static_cast<int>(f));
        boundary_.assign(static_cast<std::size_t>(BoundaryLabelCount), nullptr);
        for (int a = 0; a < BoundaryLabelCount; a++)
            boundary_[static_cast<std::size_t>(a)] =
                field_[static_cast<std::size_t>(getBoundaryField(a))];
        lastI_ = lastA_ = INT_MIN;
    }
    void prepare(int i, int a) {
        lastI_ = i;
        lastA_ = a;
        const int* qa = boundary_[static_cast<std::size_t>(a)];
        const int* qi = field_[static_cast<std::size_t>(std::abs(i))];
        partialValid_ = qa && qi;
        partial_.assign(static_cast<std::size_t>(G_), 0);
        const int s = i < 0 ? 1 : -1;
        for (int x = 0; x < G_ && partialValid_; x++)
            partial_[static_cast<std::size_t>(x)] = ((qa[x] + s * qi[x]) % G_ + G_) % G_;
    }

    int stamp_ = -1, cft_ = -1, G_ = 1;
    int lastI_ = INT_MIN, lastA_ = INT_MIN;
    bool partialValid_ = false;
    std::vector<const int*> field_, boundary_;
    std::vector<int> partial_;
};

ChargeRule chargeRule;

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
    allowedRows[OI] = AllowedRows{QueryBulkInvariant(), OI->OrientifoldNr, rows};
    debugLine("Finished loading ModInvGroupCharges for orientifold %p\n", static_cast<void*>(OI));
}

IntegerList* getTrivialModInvGroupCharges() {
    allocateOrientifoldInfo_stage2(&Trivial);
    loadModInvGroupCharges(Trivial);
    return Trivial->ModInvGroupCharges;
}

// ============================================================ The oriented annulus

namespace {

int orbitSum(Stamps at, int i, int a, int b) {
    return annulusSum(at, -i, a, b, NIshiOrbit, compSAux_orb, getCurrentReflectionCoefficient_orb,
                      getCurrentReflectionCoefficientStarred_orb);
}

} // namespace

int FastOrientedAnnulus(int i, int a, int b) {
    if (stopSignal == 1)
        return INT_MAX;
    return orbitSum(stamps(), i, a, b);
}

int getOrientedAnnulus(int i, int a, int b) {
    if (stopSignal == 1)
        return INT_MAX;
    const Stamps at = stamps();
    if (orbitSumUsable(at)) {
        allocateOrientifoldInfo_stage2(&Trivial);
        if (!chargeRule.allowed(at, i, a, b, -1, allowedFor(Trivial)))
            return 0;
        return orbitSum(at, i, a, b);
    }
    return annulusSum(at, -i, a, b, IshibashiLabelCount, compSAux, getCurrentReflectionCoefficient,
                      getCurrentReflectionCoefficientStarred);
}

// ============================================================ Unoriented amplitudes

void compPAux(int m, int x, double* re, double* im) {
    compP(x, getIshibashiField(m), re, im);
}

namespace {

// The orbit sums and the charge rules of the unoriented amplitudes need valid orbit data; the
// build in progress does not count here.
bool unorientedOrbitsUsable(Stamps at) {
    return currentBulk()->simpleCurrentInvariant && useOrbits() != 0 &&
           ModularOrbitsAvailable() == at.cft && OrbitDataAvailable == at.bulk;
}

} // namespace

int getAnnulus(int i, int a, int b) {
    if (stopSignal == 1)
        return INT_MAX;
    const Stamps at = stamps();
    if (unorientedOrbitsUsable(at)) {
        if (!chargeRule.allowed(at, i, a, b, 1, allowedFor(currentRecord())))
            return 0;
        return annulusSum(at, -i, a, b, NIshiOrbit, compSAux_orb,
                          getCurrentReflectionCoefficient_orb,
                          getCurrentReflectionCoefficientFlipped_orb);
    }
    return annulusSum(at, -i, a, b, IshibashiLabelCount, compSAux, getCurrentReflectionCoefficient,
                      getCurrentReflectionCoefficientFlipped);
}

int getMoebius(int i, int a) {
    if (stopSignal == 1)
        return INT_MAX;
    initPMATRIX();
    const Stamps at = stamps();
    if (unorientedOrbitsUsable(at) &&
        !chargeRule.allowed(at, i, a, a, 1, allowedFor(currentRecord())))
        return 0;
    return GenericVerlinde(a, 0, -i, IshibashiLabelCount, getCurrentReflectionCoefficientFlipped,
                           getCurrentCrosscapCoefficient, compPAux, compSAux);
}

int getKleinBottle(int i) {
    if (stopSignal == 1)
        return INT_MAX;
    return GenericVerlinde(-i, 0, 0, IshibashiLabelCount, compSAux,
                           getCurrentCrosscapCoefficientFlipped, getCurrentCrosscapCoefficient,
                           compSAux);
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
