// Whether the local anomalies lie in the span of the tadpole conditions: each A(b), as a function
// of the loop variables of the tadpole system (per unitary variable chi(a, b^c) + chi(a^c, b^c),
// orthogonal chi(a, b^c), symplectic 2 chi(a, b^c), the constant 4 (M(b) - M(b^c))), is a
// combination of the tadpole rows exactly when adding it leaves the rank unchanged. The
// independent tadpole rows of a Gepner model are rational with small denominators, so the ranks
// are computed exactly in integers. Shared by the unit test of 133313 and the benchmark program of
// 33333.
#pragma once

#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "numeric/Equations.h"
#include "string/Intersections.h"
#include "string/Tadpole.h"
#include "string/TadpoleSolver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace anomalyspan {

// Integer rows in echelon form, each divided by the gcd of its entries, in 128 bits; exact unless
// an entry overflows, which is noted.
class IntegerEchelon {
public:
    using Int = __int128;
    explicit IntegerEchelon(int ncol) : ncol(ncol) {}
    // True when the row is independent of those held.
    bool add(const std::vector<std::int64_t>& given) {
        std::vector<Int> r(given.begin(), given.end());
        for (std::size_t i = 0; i < rows.size(); i++) {
            const Int c = r[at(pivots[i])];
            if (c == 0)
                continue;
            const Int p = rows[i][at(pivots[i])], g = gcd(p, c);
            Int h = 0;
            for (int j = 0; j < ncol; j++) {
                Int a = 0, b = 0;
                overflow |= __builtin_mul_overflow(r[at(j)], p / g, &a) ||
                            __builtin_mul_overflow(rows[i][at(j)], c / g, &b) ||
                            __builtin_sub_overflow(a, b, &r[at(j)]);
                h = gcd(h, r[at(j)]);
            }
            if (h > 1)
                for (Int& x : r)
                    x /= h;
        }
        const auto lead = std::find_if(r.begin(), r.end(), [](Int x) { return x != 0; });
        if (lead == r.end())
            return false;
        const int col = static_cast<int>(lead - r.begin());
        const auto pos = std::lower_bound(pivots.begin(), pivots.end(), col) - pivots.begin();
        rows.insert(rows.begin() + pos, std::move(r));
        pivots.insert(pivots.begin() + pos, col);
        return true;
    }
    int rank() const { return static_cast<int>(rows.size()); }
    bool overflow = false;

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
    static Int gcd(Int a, Int b) {
        a = a < 0 ? -a : a;
        b = b < 0 ? -b : b;
        while (b != 0)
            a = std::exchange(b, a % b);
        return a;
    }
    int ncol;
    std::vector<std::vector<Int>> rows;
    std::vector<int> pivots;
};

inline int chirality(int a, int b) {
    int chi = 0;
    FullIntersectionForClassMember(a, b, &chi);
    return chi;
}

// A(b) as a row in the loop variables of the tadpole system, its constant last.
inline std::vector<std::int64_t> anomalyRow(OrientifoldInfo* OI, int b, int nvar) {
    const int* conj = OI->Conjugates.X;
    const int* boundary = getLoopToCP();
    const int* types = getSolutionGroupTypes();
    const int bc = conj[b];
    std::vector<std::int64_t> v(static_cast<std::size_t>(nvar + 1));
    for (int i = 0; i < nvar; i++) {
        const int a = boundary[i];
        v[static_cast<std::size_t>(i)] = types[i] == 0 ? chirality(a, bc) + chirality(conj[a], bc)
                                         : types[i] == -1 ? 2 * chirality(a, bc)
                                                          : chirality(a, bc);
    }
    v[static_cast<std::size_t>(nvar)] =
        4 * (getMoebiusSum(OI->SequenceNumber, b) - getMoebiusSum(OI->SequenceNumber, bc));
    return v;
}

// The row times the smallest factor up to 10000 that makes it integral (within 1e-7); false
// when there is none.
inline bool integralMultiple(const double* row, int n, std::vector<std::int64_t>* v) {
    v->assign(static_cast<std::size_t>(n), 0);
    for (int d = 1; d <= 10000; d++) {
        bool integral = true;
        for (int j = 0; j < n && integral; j++) {
            const double x = d * row[j];
            (*v)[static_cast<std::size_t>(j)] = std::llround(x);
            integral = std::fabs(x - static_cast<double>((*v)[static_cast<std::size_t>(j)])) < 1e-7;
        }
        if (integral)
            return true;
    }
    return false;
}

struct Ranks {
    int tadpole = 0;           // the independent tadpole rows
    int withAnomalies = 0;     // with every anomaly row added
    int oppositeConstants = 0; // with every anomaly row added, its constant negated
    bool integral = true;      // the independent tadpole rows are rational
    bool overflow = false;     // an entry overflowed in the elimination
    std::vector<std::vector<std::int64_t>> anomalyRows; // one per probe b
};

// The tadpole system with every boundary a variable and "Tadpole remove_identical" off; the code
// of computeTadpoleEquations. It prints.
inline int tadpoleSystemOfAllBoundaries() {
    setIntPar("Tadpole remove_identical", 0);
    initActiveBoundaries(-1);
    return computeTadpoleEquations();
}

// The ranks against the tadpole system just computed by tadpoleSystemOfAllBoundaries.
inline Ranks measure(OrientifoldInfo* OI) {
    const EquationData& ED = *getTadpoleEquationPointer();
    const int Ncol = ED.Ncol, nvar = Ncol - 1;
    Ranks R;
    IntegerEchelon T(Ncol);
    for (int r = 0; r < ED.IndEq; r++) {
        const double* row = ED.Equations.X + static_cast<std::ptrdiff_t>(ED.OrigEq + r) * Ncol;
        std::vector<std::int64_t> v;
        if (!integralMultiple(row, Ncol, &v))
            R.integral = false;
        T.add(v);
    }
    R.tadpole = T.rank();
    IntegerEchelon withA = T, opposite = T;
    for (int b = 0; b < TotalBoundaries(); b++) {
        R.anomalyRows.push_back(anomalyRow(OI, b, nvar));
        withA.add(R.anomalyRows.back());
        std::vector<std::int64_t> o = R.anomalyRows.back();
        o.back() = -o.back();
        opposite.add(o);
    }
    R.withAnomalies = withA.rank();
    R.oppositeConstants = opposite.rank();
    R.overflow = withA.overflow || opposite.overflow;
    return R;
}

} // namespace anomalyspan
