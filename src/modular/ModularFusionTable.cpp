// The S columns that the fusion sums read: one contiguous run of doubles per field instead of a
// call per element, so that the sums are bound by arithmetic, not by call overhead. The table is
// built from compS (and so from the orbit S while the full S is not kept) whenever it fits in
// what the allocator grants, whatever "S_matrix maxsize" says about the full S.
#include "base/Allocation.h"
#include "modular/Modular.h"
#include "modular/ModularInternal.h"
#include "numeric/Discrete.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace modular_internal;

namespace {

AllocCount FusionAlloc = ALLOC_COUNTER("Fusion");

FusionColumns Columns;

// A table of this many doubles, with the guard words, is granted by the allocator.
bool grantable(long long doubles) {
    return doubles >= 0 &&
           static_cast<unsigned long long>(doubles + 16) * sizeof(double) <= AllocRefuseLimit;
}

// k is c's conjugate when S(m, k) = conj S(m, c) at every point.
bool conjugateColumns(const double* c, const double* k, int L) {
    for (int m = 0; m < L; m++)
        if (std::fabs(c[m] - k[m]) >= Tolerance || std::fabs(c[L + m] + k[L + m]) >= Tolerance)
            return false;
    return true;
}

} // namespace

namespace modular_internal {

AllocCount* fusionCounter() {
    return &FusionAlloc;
}

bool FusionColumns::validFor(bool onOrbits) const {
    return stamp_ == QueryCFT() && onOrbits_ == onOrbits;
}

int FusionColumns::productClass(int a, int b) const {
    if (!onOrbits_)
        return 0;
    const std::vector<int>& qa = classCharges_[classOf_[a]];
    const std::vector<int>& qb = classCharges_[classOf_[b]];
    const int G = groupOrder();
    sumScratch_.resize(qa.size());
    for (std::size_t f = 0; f < qa.size(); f++)
        sumScratch_[f] = (qa[f] + qb[f]) % G;
    auto found = classOfCharges_.find(sumScratch_);
    return found == classOfCharges_.end() ? -1 : found->second;
}

// With orbits the fields are grouped by their charges under the basis currents: the selection
// rule of fusion then asks for one class. Without orbits there is a single class.
void FusionColumns::sortIntoClasses(int N) {
    classOf_.assign(N, 0);
    classCharges_.clear();
    classOfCharges_.clear();
    basis_.clear();
    if (onOrbits_) {
        int* map = nullptr;
        Discrete_Group* dg = getCenter(&map);
        for (int f = 0; f < dg->Mult; f++)
            basis_.push_back(map[DG_basis(dg, f)]);
        std::vector<int> q(basis_.size());
        for (int x = 0; x < N; x++) {
            const int* charge = getOrbitInfo(x)->charge;
            for (std::size_t f = 0; f < basis_.size(); f++)
                q[f] = charge[basis_[f]];
            auto [at, added] = classOfCharges_.emplace(q, static_cast<int>(classCharges_.size()));
            if (added)
                classCharges_.push_back(q);
            classOf_[x] = at->second;
        }
    } else {
        classCharges_.emplace_back();
    }
    const int classes = static_cast<int>(classCharges_.size());
    fieldAt_.resize(N);
    std::iota(fieldAt_.begin(), fieldAt_.end(), 0);
    std::stable_sort(fieldAt_.begin(), fieldAt_.end(),
                     [this](int x, int y) { return classOf_[x] < classOf_[y]; });
    position_.resize(N);
    for (int p = 0; p < N; p++)
        position_[fieldAt_[p]] = p;
    classStart_.assign(classes + 1, 0);
    for (int x = 0; x < N; x++)
        classStart_[classOf_[x] + 1]++;
    std::partial_sum(classStart_.begin(), classStart_.end(), classStart_.begin());
    largestClass_ = 0;
    for (int c = 0; c < classes; c++)
        largestClass_ = std::max(largestClass_, classEnd(c) - classStart(c));
}

void FusionColumns::fillColumns(int N) {
    const int L = points_;
    length_.assign(L, 1.0);
    if (onOrbits_)
        for (int m = 0; m < L; m++)
            length_[m] = getOrbitInfo(orbitMap()[m])->length;
    double* data = data_.reserve(2 * L * N);
    real_ = true;
    for (int p = 0; p < N; p++) {
        const int k = fieldAt_[p];
        double* column = data + static_cast<std::size_t>(p) * 2 * L;
        for (int m = 0; m < L; m++) {
            compS(onOrbits_ ? orbitMap()[m] : m, k, &column[m], &column[L + m]);
            real_ = real_ && column[L + m] == 0.0;
        }
    }
    weight_.resize(L);
    if (N > 0)
        for (int m = 0; m < L; m++)
            weight_[m] = length_[m] / column(0)[m];
}

// Conjugates from S itself, so that theories whose blocks cannot conjugate are served too. The
// conjugate has the opposite charges; within a class the columns on the orbit starts tell the
// fields apart (S on any field is S on its orbit start times a phase fixed by the charges).
void FusionColumns::findConjugates(int N) {
    const int L = points_;
    const int G = groupOrder();
    conjugate_.assign(N, -1);
    std::vector<int> q;
    for (int c = 0; c < N; c++) {
        int cls = 0;
        if (onOrbits_) {
            q = classCharges_[classOf_[c]];
            for (int& v : q)
                v = (G - v) % G;
            auto found = classOfCharges_.find(q);
            if (found == classOfCharges_.end())
                continue;
            cls = found->second;
        }
        for (int p = classStart(cls); p < classEnd(cls); p++)
            if (conjugateColumns(column(c), columnAt(p), L)) {
                conjugate_[c] = fieldAt_[p];
                break;
            }
    }
}

bool FusionColumns::build(bool onOrbits) {
    const int N = totalPrimaries();
    const int L = onOrbits ? getNOrbit() : N;
    if (!grantable(2LL * L * N))
        return false;
    onOrbits_ = onOrbits;
    points_ = L;
    sortIntoClasses(N);
    fillColumns(N);
    findConjugates(N);
    stamp_ = QueryCFT();
    return true;
}

const FusionColumns* fusionColumns(bool onOrbits, bool build) {
    if (Columns.validFor(onOrbits))
        return &Columns;
    if (!build || !Columns.build(onOrbits))
        return nullptr;
    return &Columns;
}

} // namespace modular_internal
