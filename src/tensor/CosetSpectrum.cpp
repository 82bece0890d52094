// The spectrum of the extended product. The simple-current pass finds the fields made of simple
// currents and numbers them as elements of their group; the full pass runs over the products of
// factor orbits. Both keep the orbit generators of integer charge, one row per resolved fixed
// point, and the row numbers they give are the field labels everything later is indexed by.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/ChiralOrbitTable.h"
#include "tensor/CosetInternal.h"

#include <algorithm>
#include <climits>
#include <vector>

using namespace coset_internal;

namespace {

constexpr int RowRoom = 1000;
constexpr int StabilizerRoom = 1010;
// Fewer free stabilizer entries than this make the array grow.
constexpr int StabilizerMargin = 13;
constexpr int ReorderNotice = 5000;

const char* const SimpleCurrentTitle = "Computing tensor spectrum for simple currents";
const char* const FullTitle = "Computing full tensor spectrum";
const char* const ReorderTitle = "Reordering simple currents";
const char* const OldTitle = "Computing spectrum";

RowIndex spectrumIndex;

// The filter's memory in the single-generator case: the last combination whose charges were
// integral and the signed charge of its last label.
struct Remembered {
    bool valid = false;
    std::vector<int> labels;
    rat charge{0, 1};
};
Remembered remembered;

// S in the first half, U from position |chiral algebra| on, as getUntwistedStabilizer expects.
std::vector<int> centerLabels;
std::vector<int> member;
std::vector<int> element;

int chiralSize(TensorProduct* TP) {
    return rowCount(TP->ChiralAlgebra);
}

void prepareCenterLabels(TensorProduct* TP) {
    const std::size_t n = static_cast<std::size_t>(chiralSize(TP));
    centerLabels.assign(2 * n + 2, 0);
    member.assign(static_cast<std::size_t>(TP->NTensor) + 1, 0);
    element.assign(static_cast<std::size_t>(TP->NTensor) + 1, 0);
}

bool isIntegral(const rat& q) {
    return intcheck(&q) == 0;
}

// s_k Q_k(J_k; v_k) of the last factor.
rat lastCharge(TensorProduct* TP, const int* J, const int* v) {
    const int k = TP->NTensor - 1;
    rat q;
    SM_getRatCharge(factor(TP, k), J[k], v[k], &q);
    if (signOf(TP, k) < 0)
        q.num = -q.num;
    simplifyRat(&q);
    return q;
}

// The charges of v with respect to the user currents are integers. With one current, a
// combination that differs from the remembered one only in its last label is decided by that
// label's charge alone.
bool integralCharges(TensorProduct* TP, const int* v) {
    const int N = TP->NTensor;
    if (TP->Ngenerator == 1 && N > 0) {
        const int* J = rowOf(TP->ChiralAlgebra, 1);
        const rat q = lastCharge(TP, J, v);
        if (remembered.valid && compareVec(N - 1, v, remembered.labels.data()) == 0) {
            rat d;
            subtractRat(&q, &remembered.charge, &d);
            if (!isIntegral(d))
                return false;
        } else {
            rat Q;
            TensorRatCharge(TP, J, v, &Q);
            if (!isIntegral(Q))
                return false;
        }
        remembered.valid = true;
        remembered.labels.assign(v, v + N);
        remembered.charge = q;
        return true;
    }
    for (int g = 1; g <= TP->Ngenerator; g++) {
        rat Q;
        TensorRatCharge(TP, rowOf(TP->ChiralAlgebra, g), v, &Q);
        if (!isIntegral(Q))
            return false;
    }
    return true;
}

// Graded mode: v must be the smallest graded minimal form in its orbit; it becomes that form.
bool gradedGenerator(TensorProduct* TP, int* v) {
    const int N = TP->NTensor;
    std::vector<int> b(v, v + N + 1);
    GradedMinimalForm(TP, b.data());
    std::vector<int> w(static_cast<std::size_t>(N) + 1);
    for (int m = 0; m < TP->NGradChirCurr; m++) {
        getOrbitMember(TP, rowOf(TP->ChiralAlgebra, m), v, w.data());
        GradedMinimalForm(TP, w.data());
        if (compareOrbitGenerators(TP, w.data(), b.data()) < 0)
            return false;
    }
    copyVec(N, v, b.data());
    return true;
}

// |U| from S (already in centerLabels), the multiplicity and the interned type.
int finishStabilizer(TensorProduct* TP, const int* v, int stabSize, int* mult, FPType** fp) {
    int n = stabSize;
    int* U = getUntwistedStabilizer(TP, &n, centerLabels.data(), v);
    *mult = isqrt(stabSize / n);
    *fp = getFP(chiralSize(TP), U, centerLabels.data(), n, stabSize, getFirstFP(TP), TP,
                chiralProduct);
    return n;
}

int twistSum(TensorProduct* TP, const int* v, const int* K, const int* J) {
    int t = 0;
    for (int k = 0; k < TP->NTensor; k++)
        t += SM_getCurrentTwist(factor(TP, k), v[k], K[k], J[k]);
    return t;
}

// The element of the chiral algebra that fixes r in graded mode: J_m with the labels where J_m r
// and r differ replaced by their grade partners.
void stabilizingElement(TensorProduct* TP, const int* J, const int* w, const int* r, int* out) {
    for (int k = 0; k < TP->NTensor; k++)
        out[k] = w[k] != r[k] ? factor(TP, k)->multiplets[J[k]] : J[k];
}

// How a member w = J r of the orbit relates to r in graded mode: every differing label must be
// the grade partner in a graded factor; the count of such labels is returned, -1 when w is no
// image of r.
int partnerCount(TensorProduct* TP, const int* w, const int* r) {
    int count = 0;
    for (int k = 0; k < TP->NTensor; k++) {
        if (w[k] == r[k])
            continue;
        SpectrumData* sd = factor(TP, k);
        if (!sd->graded || w[k] != sd->multiplets[r[k]])
            return -1;
        count++;
    }
    return count;
}

void printChiralAlgebra(TensorProduct* TP) {
    for (int m = 0; m < chiralSize(TP); m++)
        printVec(TP->NTensor, rowOf(TP->ChiralAlgebra, m), "Chiral Algebra");
}

int stabilizerWith(TensorProduct* TP, int* r, int* mult, FPType** fp, int isfp, bool older) {
    const int N = TP->NTensor;
    if (r[0] == -2) {
        prepareCenterLabels(TP);
        return 0;
    }
    int* S = centerLabels.data();
    if (!isfp) {
        S[0] = 0;
        return finishStabilizer(TP, r, 1, mult, fp);
    }
    const bool isGraded = graded() != 0;
    int size = 0;
    for (int m = 0; m < TP->NGradChirCurr; m++) {
        const int* J = rowOf(TP->ChiralAlgebra, m);
        tensorSimpleAction(TP, J, r, member.data());
        int idx = m;
        if (isGraded) {
            const int count = partnerCount(TP, member.data(), r);
            if (count < 0 || (!older && count % 2 != 0))
                continue;
            stabilizingElement(TP, J, member.data(), r, element.data());
            idx = findRow(TP->ChiralAlgebra, element.data());
        } else if (compareVec(N, member.data(), r) != 0) {
            continue;
        }
        if (idx < 0) {
            if (older)
                continue;
            printChiralAlgebra(TP);
            Alert("computeStabilizer", 0, 212404, "Chiral current not found");
            continue;
        }
        if (!older && Present(S, size, idx) >= 0)
            continue;
        S[size++] = idx;
    }
    if (size == 0)
        return 0;
    return finishStabilizer(TP, r, size, mult, fp);
}

// ---- Stabilizer room ----

// Grows in proportion to the expected final number of rows, read off the progress display;
// without a percentage the array doubles.
void ensureStabilizerRoom(TensorProduct* TP, int rows) {
    GuardedArray<FPType*>& st = TP->Stabilizers;
    if (st.reserved() && st.X_oldsize - rows >= StabilizerMargin)
        return;
    const int p = getProgressInfo();
    long long wanted = p > 0 ? static_cast<long long>(rows) * 100 / p : 2LL * rows;
    wanted = std::max<long long>(wanted, 2LL * rows) + StabilizerRoom;
    st.reserve(static_cast<int>(std::min<long long>(wanted, INT_MAX / 2)));
}

// ---- Odometer passes ----

// The user declined to go on; the display has ended with the question.
int stopped(TensorProduct* TP) {
    finishSpectrumRows(TP);
    return -1;
}

std::vector<int> currentRanges(TensorProduct* TP) {
    std::vector<int> bounds;
    for (int k = 0; k < TP->NTensor; k++)
        bounds.push_back(currentsOf(factor(TP, k)));
    return bounds;
}

void prepareFilter(TensorProduct* TP, std::vector<int>& v) {
    v.assign(static_cast<std::size_t>(TP->NTensor) + 1, 0);
    v[0] = -2;
    int mult = 0;
    FPType* fp = nullptr;
    filter(TP, v.data(), &mult, &fp);
}

// The stabilizer types stay with their rows: every simple current has the trivial one.
void appendRowsInOrder(TensorProduct* TP, const std::vector<int>& rows, const std::vector<int>& map,
                       bool progress) {
    const int width = TP->NTensor + 1;
    VectorSpace* TS = TP->TensorSpectrum;
    initVectorCollection(TS, width, RowRoom);
    spectrumIndex.reset(TS);
    for (int i : map) {
        copyVec(width, rowOf(TS, TS->Nfill), rows.data() + static_cast<std::size_t>(i) * width);
        spectrumIndex.appendScratch();
        if (progress)
            incrementProgressInfo();
    }
    finishSpectrumRows(TP);
}

std::vector<int> copyRows(TensorProduct* TP, int n, bool progress) {
    const int width = TP->NTensor + 1;
    std::vector<int> rows(static_cast<std::size_t>(n) * width);
    for (int c = 0; c < n; c++) {
        copyVec(width, rows.data() + static_cast<std::size_t>(c) * width, TensorField(TP, c));
        if (progress)
            incrementProgressInfo();
    }
    return rows;
}

// The simple-current pass of ungraded products; the older variant has no limit and numbers the
// group its own way.
int standardPass(TensorProduct* TP, bool older) {
    if (!TP->InputDataChanged)
        return 0;
    const int N = TP->NTensor;
    startSpectrumRows(TP);
    resetVectorCollection(TP->CurrPerms);
    prepareFactorActions(TP);
    computeChiralAlgebra(TP);
    setGenuineCoset(TP);
    Odometer labels(currentRanges(TP));
    const char* title = older ? OldTitle : SimpleCurrentTitle;
    double total = labels.total();
    if (older) {
        total = 1.0;
        for (int k = 0; k < N; k++)
            total *= factor(TP, k)->Nprimaries;
    }
    startProgressInfo(title, total, 1);
    std::vector<int> v;
    prepareFilter(TP, v);
    for (; !labels.done(); labels.advance()) {
        if (incrementProgressInfo())
            return stopped(TP);
        std::copy(labels.index().begin(), labels.index().end(), v.begin());
        v[N] = 0;
        int mult = 0;
        FPType* fp = nullptr;
        const int n = filter(TP, v.data(), &mult, &fp);
        if (storeAdmittedRows(TP, v.data(), n, fp, !older, title) == -1)
            return -1;
    }
    return finishSimpleCurrentPass(TP, title, older);
}

// The products of factor orbits with a combination of integer charge, in odometer order of the
// orbit numbers; each gives the orbit generators of its set.
int fullPass(TensorProduct* TP, int mode, bool older) {
    if (!TP->InputDataChanged)
        return 0;
    const int N = TP->NTensor;
    resetVectorCollection(TP->CurrPerms);
    if (older)
        computeShiftedOrbit_ZNX_VERSION(TP, nullptr);
    else
        computeShiftedOrbit(TP, nullptr);
    setGenuineCoset(TP);
    prepareFactorActions(TP);
    std::vector<int> bounds;
    for (int k = 0; k < N; k++) {
        SM_makeOrbitPointers(factor(TP, k));
        bounds.push_back(factor(TP, k)->Norbits);
    }
    Odometer orbits(bounds);
    ChiralOrbitTable orbit(TP);
    const char* title = older ? OldTitle : FullTitle;
    startProgressInfo(title, orbits.total(), 1);
    std::vector<int> generator(static_cast<std::size_t>(N) + 1, 0);
    generator[0] = -2;
    int mult = 0;
    FPType* fp = nullptr;
    stabilizerWith(TP, generator.data(), &mult, &fp, 1, older);
    // The first product holds the simple currents, which are found already.
    for (orbits.advance(); !orbits.done(); orbits.advance()) {
        if (incrementProgressInfo())
            return stopped(TP);
        const std::vector<int>& o = orbits.index();
        int isfp = 0;
        for (int k = 0; k < N && !isfp; k++)
            isfp = SM_isFixed(factor(TP, k), o[k]);
        VectorSpace* set = getFullSimpleCurrentOrbit(TP, o.data());
        if (!set) {
            stopProgressInfo(title);
            finishSpectrumRows(TP);
            return -1;
        }
        for (int i = 0; i < rowCount(set); i++) {
            if (!startsChiralOrbit(i))
                continue;
            copyVec(N, generator.data(), rowOf(set, i));
            copyVec(N, generator.data(), getRepresentative(TP, generator.data(), orbit));
            generator[N] = 0;
            if (mode == 1 && !older) {
                rat h;
                TensorRatWeight(TP, generator.data(), &h);
                if (h.num > h.den)
                    continue;
            }
            // The identity fixes every generator, so its stabilizer is never empty.
            const int n = stabilizerWith(TP, generator.data(), &mult, &fp, isfp, older);
            for (int j = 0; j < n; j++) {
                generator[N] = fp->identifier[j];
                if (appendSpectrumRow(TP, generator.data(), fp, !older, oneMemberPerOrbit()) ==
                    RowAdded::Refused) {
                    finishSpectrumRows(TP);
                    return tooManyPrimaries(title);
                }
            }
        }
    }
    stopProgressInfo(title);
    finishSpectrumRows(TP);
    TP->InputDataChanged = 0;
    return 0;
}

void forgetCaches(TensorProduct* TP) {
    getTensorConjugate(TP, -1);
    getStoredOrbitMember(TP, -1, 0);
}

void emptySpectrum(TensorProduct* TP) {
    // A restricted computation leaves the input marked changed without clearing what was derived
    // from its rows; conjugates made from those rows must not outlive them.
    TP->ConjugAvailable = 0;
    // The symmetries are read off the rows as well.
    TP->PermutationsAvailable = 0;
    TP->SimpleCurrentRowsAvailable = 0;
    // So are the full fixed-point records, one per row.
    TP->FCFTinitialized = 0;
    initVectorCollection(TP->TensorSpectrum, TP->NTensor + 1, RowRoom);
    initVectorCollection(TP->ChiralAlgebra, TP->NTensor, 100);
}

int simpleCurrentPass(TensorProduct* TP, int mode) {
    return graded() ? computeGradedTensorSpectrum(TP, mode)
                    : computeStandardTensorSpectrum(TP, mode);
}

int computeBoth(TensorProduct* TP, int fullMode) {
    if (!TP->InputDataChanged)
        return 0;
    emptySpectrum(TP);
    if (simpleCurrentPass(TP, 0) == -1 || computeFullTensorSpectrum(TP, fullMode) == -1)
        return -1;
    forgetCaches(TP);
    return 0;
}

} // namespace

// ============================================================ Shared row handling

namespace coset_internal {

Odometer::Odometer(std::vector<int> bounds) : bound_(std::move(bounds)), index_(bound_.size(), 0) {
    for (int b : bound_)
        if (b <= 0)
            done_ = true;
}

void Odometer::advance() {
    for (std::size_t k = bound_.size(); k-- > 0;) {
        if (++index_[k] < bound_[k])
            return;
        index_[k] = 0;
    }
    done_ = true;
}

double Odometer::total() const {
    double t = 1.0;
    for (int b : bound_)
        t *= b;
    return t;
}

std::size_t RowIndex::hashOf(int r) const {
    const int* row = rowOf(s_, r);
    std::size_t h = 1469598103934665603ULL;
    for (int i = 0; i < s_->id_size; i++)
        h = (h ^ static_cast<std::size_t>(static_cast<unsigned>(row[i]))) * 1099511628211ULL;
    return h ^ (h >> 29);
}

void RowIndex::insert(int r, std::size_t h) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = h & mask;
    while (slots_[i] >= 0)
        i = (i + 1) & mask;
    slots_[i] = r;
    hashes_[i] = h;
    used_++;
}

void RowIndex::grow() {
    const std::vector<int> old = std::move(slots_);
    const std::vector<std::size_t> oldHashes = std::move(hashes_);
    slots_.assign(std::max<std::size_t>(64, 2 * old.size()), -1);
    hashes_.assign(slots_.size(), 0);
    used_ = 0;
    for (std::size_t i = 0; i < old.size(); i++)
        if (old[i] >= 0)
            insert(old[i], oldHashes[i]);
}

void RowIndex::reset(VectorSpace* s) {
    s_ = s;
    // The table keeps its size: a spectrum computed again needs the same room.
    if (slots_.empty()) {
        slots_.assign(64, -1);
        hashes_.assign(64, 0);
    } else {
        std::fill(slots_.begin(), slots_.end(), -1);
    }
    used_ = 0;
    for (int r = 0; r < s->Nfill; r++) {
        if (2 * (used_ + 1) > static_cast<int>(slots_.size()))
            grow();
        insert(r, hashOf(r));
    }
}

int RowIndex::findScratch() {
    const int r = s_->Nfill;
    const std::size_t h = hashOf(r);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask; slots_[i] >= 0; i = (i + 1) & mask)
        if (hashes_[i] == h && compareVec(s_->id_size, rowOf(s_, slots_[i]), rowOf(s_, r)) == 0)
            return slots_[i];
    return -1;
}

int RowIndex::appendScratch() {
    const int r = s_->Nfill;
    const std::size_t h = hashOf(r);
    addVectorToSpace(s_);
    if (2 * (used_ + 1) > static_cast<int>(slots_.size()))
        grow();
    insert(r, h);
    return r;
}

void startSpectrumRows(TensorProduct* TP) {
    // Dimensions of the rows a former pass made would be read for the new ones.
    TP->DimAvailable = 0;
    TP->InfoAvailable = 0;
    initVectorCollection(TP->TensorSpectrum, TP->NTensor + 1, RowRoom);
    spectrumIndex.reset(TP->TensorSpectrum);
    if (!TP->Stabilizers.reserved() || TP->Stabilizers.X_oldsize < StabilizerRoom)
        TP->Stabilizers.reserve(StabilizerRoom);
}

RowAdded appendSpectrumRow(TensorProduct* TP, const int* row, FPType* fp, bool limited,
                           bool knownNew) {
    VectorSpace* TS = TP->TensorSpectrum;
    copyVec(TP->NTensor + 1, rowOf(TS, TS->Nfill), row);
    if (!knownNew && spectrumIndex.findScratch() >= 0)
        return RowAdded::Present;
    if (limited && TS->Nfill >= maxPrimaries())
        return RowAdded::Refused;
    ensureStabilizerRoom(TP, TS->Nfill);
    TP->Stabilizers[TS->Nfill] = fp;
    // A row known to be new is not entered: no row looked for later can equal it, since every
    // product of factor orbits is visited once.
    if (knownNew)
        addVectorToSpace(TS);
    else
        spectrumIndex.appendScratch();
    return RowAdded::Added;
}

void finishSpectrumRows(TensorProduct* TP) {
    balanceVectorCollection(TP->TensorSpectrum);
}

int tooManyPrimaries(const char* title) {
    stopProgressInfo(title);
    Print("Too many primaries (maximum set at %d)\n", maxPrimaries());
    return -1;
}

int storeAdmittedRows(TensorProduct* TP, int* v, int n, FPType* fp, bool limited,
                      const char* title) {
    for (int j = 0; j < n; j++) {
        v[TP->NTensor] = fp->identifier[j];
        if (appendSpectrumRow(TP, v, fp, limited) == RowAdded::Refused) {
            finishSpectrumRows(TP);
            return tooManyPrimaries(title);
        }
    }
    return 0;
}

int finishSimpleCurrentPass(TensorProduct* TP, const char* title, bool older) {
    TP->TensorSimpleCurrentOrder = TP->TensorSpectrum->Nfill;
    stopProgressInfo(title);
    finishSpectrumRows(TP);
    if (older)
        reorderSimpleCurrents_ZNX_VERSION(TP);
    else
        reorderSimpleCurrents(TP);
    return 0;
}

} // namespace coset_internal

// ============================================================ The passes

int computeTensorSpectrum(TensorProduct* TP) {
    return computeBoth(TP, 0);
}

int computeMasslessTensorSpectrum(TensorProduct* TP) {
    if (computeBoth(TP, 1) == -1)
        return -1;
    // The rows are not the whole spectrum: a later full computation must start again.
    TP->InputDataChanged = 1;
    return 0;
}

int computeSimpleCurrentTensorSpectrum(TensorProduct* TP) {
    if (!TP->InputDataChanged)
        return 0;
    emptySpectrum(TP);
    if (simpleCurrentPass(TP, 2) == -1)
        return -1;
    forgetCaches(TP);
    TP->SimpleCurrentRowsAvailable = 1;
    return 0;
}

int computeTensorSpectrum_ZNX_VERSION(TensorProduct* TP) {
    if (!TP->InputDataChanged)
        return 0;
    emptySpectrum(TP);
    if (graded())
        computeGradedTensorSpectrum_ZNX_VERSION(TP, 0);
    else
        computeStandardTensorSpectrum_ZNX_VERSION(TP, 0);
    computeFullTensorSpectrum_ZNX_VERSION(TP, 0);
    forgetCaches(TP);
    return 0;
}

int computeStandardTensorSpectrum(TensorProduct* TP, int) {
    return standardPass(TP, false);
}

int computeStandardTensorSpectrum_ZNX_VERSION(TensorProduct* TP, int) {
    return standardPass(TP, true);
}

int computeFullTensorSpectrum(TensorProduct* TP, int mode) {
    return fullPass(TP, mode, false);
}

int computeFullTensorSpectrum_ZNX_VERSION(TensorProduct* TP, int) {
    return fullPass(TP, 0, true);
}

int filter(TensorProduct* TP, int* v, int* mult, FPType** fp) {
    const int N = TP->NTensor;
    if (v[0] == -2) {
        prepareCenterLabels(TP);
        remembered.valid = false;
        return 0;
    }
    if (!integralCharges(TP, v))
        return 0;
    const bool isGraded = graded() != 0;
    if (isGraded && !gradedGenerator(TP, v))
        return 0;
    int* S = centerLabels.data();
    int size = 0;
    int* w = member.data();
    for (int m = 0; m < chiralSize(TP); m++) {
        tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, m), v, w);
        const int c = compareOrbitGenerators(TP, w, v);
        if (c < 0 && !isGraded)
            return 0;
        if (compareVec(N, w, v) == 0)
            S[size++] = m;
    }
    if (size == 0)
        return 0;
    return finishStabilizer(TP, v, size, mult, fp);
}

int computeStabilizer(TensorProduct* TP, int* v, int* mult, FPType** fp, int isfp) {
    return stabilizerWith(TP, v, mult, fp, isfp, false);
}

int computeStabilizer_ZNX_VERSION(TensorProduct* TP, int* v, int* mult, FPType** fp, int isfp) {
    return stabilizerWith(TP, v, mult, fp, isfp, true);
}

int* getUntwistedStabilizer(TensorProduct* TP, int* n, int* CenterLabels, const int* v) {
    const int size = *n;
    int* U = CenterLabels + chiralSize(TP);
    U[0] = 0;
    if (size < 2) {
        *n = 1;
        return U;
    }
    int count = 1;
    for (int i = 1; i < size; i++) {
        const int* K = rowOf(TP->ChiralAlgebra, CenterLabels[i]);
        bool untwisted = true;
        for (int j = 1; j < size && untwisted; j++)
            untwisted = twistSum(TP, v, K, rowOf(TP->ChiralAlgebra, CenterLabels[j])) % 4 == 0;
        if (untwisted)
            U[count++] = CenterLabels[i];
    }
    *n = count;
    return U;
}

void reorderSimpleCurrents(TensorProduct* TP) {
    const int n = TP->TensorSimpleCurrentOrder;
    for (int k = 0; k < TP->NTensor; k++)
        if (Discrete_Group* g = factor(TP, k)->SimpleCurrents)
            DG_findOrdersFast(g);
    std::vector<int> orders(static_cast<std::size_t>(n));
    getSimpleCurrentOrders(TP, orders.data());
    if (n > ReorderNotice)
        Print("Reordering %d simple currents\n", n);
    std::vector<int> map(static_cast<std::size_t>(n));
    for (int i = 0; i < n; i++)
        map[static_cast<std::size_t>(i)] = i;
    Discrete_Group* dg = DG_mapProduct(map.data(), orders.data(), n, TP, simpleCurrentProduct);
    startProgressInfo(ReorderTitle, 2.0 * n, 1);
    const std::vector<int> rows = copyRows(TP, n, true);
    appendRowsInOrder(TP, rows, map, true);
    stopProgressInfo(ReorderTitle);
    TP->SimpleCurrents = dg;
}

void reorderSimpleCurrents_ZNX_VERSION(TensorProduct* TP) {
    const int n = TP->TensorSimpleCurrentOrder;
    Print("Reordering %d simple currents (ZNX version)\n", n);
    std::vector<int> orders(static_cast<std::size_t>(n), 0);
    std::vector<int> map(static_cast<std::size_t>(n));
    for (int i = 0; i < n; i++)
        map[static_cast<std::size_t>(i)] = i;
    DG_mapProduct_ZNX_VERSION(map.data(), orders.data(), n, TP, simpleCurrentProduct);
    const std::vector<int> rows = copyRows(TP, n, false);
    const int width = TP->NTensor + 1;
    for (int i = 0; i < n; i++)
        copyVec(width, TensorField(TP, i),
                rows.data() + static_cast<std::size_t>(map[static_cast<std::size_t>(i)]) * width);
    spectrumIndex.reset(TP->TensorSpectrum);
    finishSpectrumRows(TP);
    std::fill(orders.begin(), orders.end(), 0);
    TP->SimpleCurrents =
        DG_mapProduct_ZNX_VERSION(map.data(), orders.data(), n, TP, simpleCurrentProduct);
}

int CT_spectrumRows(TensorProduct* TP) {
    const bool fits =
        TP->TensorSpectrum->id_size == TP->NTensor + 1 && TP->ChiralAlgebra->id_size == TP->NTensor;
    return fits ? rowCount(TP->TensorSpectrum) : 0;
}
