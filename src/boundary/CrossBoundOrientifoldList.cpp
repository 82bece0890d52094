// The list of inequivalent orientifolds of a symmetric simple-current invariant. Which simple
// currents may serve as Klein bottle current, how they fall into classes modulo squares and bulk
// currents, and three maps that carry a choice (K, crosscap signs) to an equivalent one: a shift
// by a bulk current, the reduction by a square, and a symmetry of the simple-current data. Every
// choice is enumerated, the choices of equal tension are closed under the maps, and one record
// per class is kept, sorted by tension.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace crossbound_internal {

std::vector<KleinEntry> KleinInfo;
std::vector<int> OrderTwoCurrents;
std::vector<int> SquareCurrents;
std::vector<int> CurrentRoots;
std::vector<std::vector<int>> KleinDependentProjectionSigns;
int KleinInfoInitialized = -1;
std::vector<OrientifoldRow> AllOri;
std::vector<double> Tensions;

} // namespace crossbound_internal

using namespace crossbound_internal;

namespace {

constexpr double TensionTolerance = 1e-7;
constexpr double Placeholder = -99999.0;
constexpr int LargeDegeneracy = 1000;
constexpr int FruitlessSteps = 10;
constexpr double GiveUpSeconds = 60.0;
// The clock is read at most this often inside a fruitless step loop.
constexpr int ClockStride = 64;

OrientifoldInfo* Dummy = nullptr;
OrientifoldInfo* TensionRecord = nullptr;
int LastModInv = -2;
// The switches the list was built under; a change of either rebuilds it.
int LastRejectPermutations = -1;
int LastZNXVersion = -1;

int switchValue(const int* p) {
    return p ? *p : 0;
}

// "Reject permutations" is on by default.
int rejecting() {
    return RejectPermutations ? *RejectPermutations : 1;
}

// The bulk group as the maps use it, once per bulk generation.
struct BulkGroup {
    SCData* MD = nullptr;
    Discrete_Group* dg = nullptr;
    std::vector<int> generators; // of the cyclic factors
    int elementOf(int current) const {
        if (current < 0 || current >= CenterOrder())
            return -1;
        return MD->inverse_map[current];
    }
};
BulkGroup group;

void loadGroup() {
    group.MD = currentBulk()->MD;
    group.dg = group.MD->dg;
    const int Mult = group.dg->Mult;
    group.generators.assign(static_cast<std::size_t>(Mult), 0);
    std::vector<int> d(static_cast<std::size_t>(Mult), 0);
    for (int k = 0; k < Mult; k++) {
        d[static_cast<std::size_t>(k)] = 1;
        group.generators[static_cast<std::size_t>(k)] = DG_findElement(group.dg, d.data());
        d[static_cast<std::size_t>(k)] = 0;
    }
}

int elementOrder(int e) {
    int n = 1;
    for (int x = e; x != 0 && n <= group.dg->Order; n++)
        x = DG_product(x, e, group.dg);
    return n;
}

int product(int a, int b) {
    return simpleProduct(a, b, nullptr);
}

const std::vector<int>& projectionRow(int K) {
    return KleinDependentProjectionSigns[static_cast<std::size_t>(
        KleinInfo[static_cast<std::size_t>(K)].signClass)];
}

// Puts a choice into a work record and invalidates everything derived from the old one.
void putChoice(OrientifoldInfo* OI, int K, const int* signs) {
    OI->KBC = K;
    for (int k = 0; k < group.dg->Mult; k++)
        OI->CrosscapSigns[k] = signs ? signs[k] : 1;
    OI->OrientifoldNr++;
    resetOrientifoldStorageInfo(OI);
    OI->Tension = Placeholder;
    OI->CrosscapFlip = 1;
}

// The current record is whatever the caller had; the work records are only borrowed.
class KeepCurrent {
public:
    KeepCurrent() : saved(CurrentOrientifold) {}
    ~KeepCurrent() {
        if (CurrentOrientifold == saved)
            return;
        CurrentOrientifold = saved;
        OrientifoldChanged();
    }
    KeepCurrent(const KeepCurrent&) = delete;
    KeepCurrent& operator=(const KeepCurrent&) = delete;

private:
    OrientifoldInfo* saved;
};

// ---------------------------------------------------------------- Klein bottle currents

void collectSquares() {
    OrderTwoCurrents.clear();
    for (int e = 1; e < group.dg->Order; e++)
        if (elementOrder(e) == 2)
            OrderTwoCurrents.push_back(group.MD->map[e]);
    SquareCurrents.clear();
    CurrentRoots.clear();
    for (int K = 0; K < getTotalCurrents(); K++) {
        const int sq = product(K, K);
        if (std::find(SquareCurrents.begin(), SquareCurrents.end(), sq) == SquareCurrents.end()) {
            SquareCurrents.push_back(sq);
            CurrentRoots.push_back(K);
        }
        for (int J : OrderTwoCurrents)
            if (simpleCurrentCharge(J, K)->num != 0)
                KleinInfo[static_cast<std::size_t>(K)].rep = -2;
    }
}

// The identity class (squares times bulk currents), then one class per smallest unassigned
// admissible current. False when the fusion of currents contradicts itself.
bool formClasses() {
    KleinInfo[0] = {0, 0, 0, 0};
    for (int s = 0; s < static_cast<int>(SquareCurrents.size()); s++)
        for (int e = 0; e < group.dg->Order; e++) {
            const int J = group.MD->map[e];
            const int K = product(J, SquareCurrents[static_cast<std::size_t>(s)]);
            KleinEntry& k = KleinInfo[static_cast<std::size_t>(K)];
            if (k.rep == -1)
                k = {0, s, J, 0};
        }
    std::vector<int> identityClass;
    for (int M = 0; M < getTotalCurrents(); M++)
        if (KleinInfo[static_cast<std::size_t>(M)].rep == 0)
            identityClass.push_back(M);
    for (int K = 0; K < getTotalCurrents(); K++) {
        if (KleinInfo[static_cast<std::size_t>(K)].rep != -1)
            continue;
        for (int M : identityClass) {
            const KleinEntry m = KleinInfo[static_cast<std::size_t>(M)];
            const int K2 =
                product(product(K, SquareCurrents[static_cast<std::size_t>(m.square)]), m.bulk);
            if (K2 != product(K, M)) {
                Alert("initKleinInfo", 1, 212404, "WRONG KLEIN PRODUCT");
                return false;
            }
            KleinEntry& k = KleinInfo[static_cast<std::size_t>(K2)];
            if (k.rep == -1)
                k = {K, m.square, m.bulk, 0};
        }
    }
    return true;
}

// The projection signs of every bulk element for K with all signs +1; K's class is the row of
// that vector.
void projectionSignClass(int K) {
    putChoice(Dummy, K, nullptr);
    setSelectedOrientifold(Dummy);
    loadIshibashiMetric(Dummy);
    loadCorrectionPhases(group.MD, Dummy);
    std::vector<int> row(static_cast<std::size_t>(group.dg->Order));
    for (int e = 0; e < group.dg->Order; e++)
        row[static_cast<std::size_t>(e)] = computeProjectionSign(
            Dummy, group.MD->map[e], Dummy->CorrectionPhases[e], Dummy->PhaseDenoms[e]);
    auto at =
        std::find(KleinDependentProjectionSigns.begin(), KleinDependentProjectionSigns.end(), row);
    if (at == KleinDependentProjectionSigns.end())
        at = KleinDependentProjectionSigns.insert(at, row);
    KleinInfo[static_cast<std::size_t>(K)].signClass =
        static_cast<int>(at - KleinDependentProjectionSigns.begin());
}

// ---------------------------------------------------------------- The maps

std::vector<int> mapped;

void basicSigns(const int* full, int* out) {
    for (std::size_t k = 0; k < group.generators.size(); k++)
        out[k] = full[group.generators[k]];
}

void normalise(std::vector<int>& beta) {
    if (beta[0] != -1)
        return;
    for (int& b : beta)
        b = -b;
}

void writeOut(int K, int* Vec_out) {
    Vec_out[0] = K;
    basicSigns(mapped.data(), Vec_out + 1);
}

// beta'(target(e)) = P_K(e) beta(e) P_K'(target(e)); false when an image leaves the bulk group.
template <typename Target> bool carrySigns(int K, const int* beta, int K2, Target target) {
    const std::vector<int>& P = projectionRow(K);
    const std::vector<int>& P2 = projectionRow(K2);
    mapped.assign(static_cast<std::size_t>(group.dg->Order), 1);
    for (int e = 0; e < group.dg->Order; e++) {
        const int e2 = target(group.MD->map[e]);
        if (e2 < 0) {
            Alert("directOrientifoldMap", 0, 212404, "Permutation of element %d not found", e);
            return false;
        }
        mapped[static_cast<std::size_t>(e2)] =
            P[static_cast<std::size_t>(e)] * beta[e] * P2[static_cast<std::size_t>(e2)];
    }
    return true;
}

rat weightOf(int lbl) {
    return *ratWeight(lbl);
}

// x = [h(A) - 2 h(L A) + h(L L A) - 2 h(L)] / 2, reduced.
rat squareExponent(int A, int L) {
    const rat hA = weightOf(A), hLA = weightOf(product(L, A)),
              hLLA = weightOf(product(L, product(L, A))), hL = weightOf(L);
    rat x{0, 1}, two{2, 1}, t;
    addRat(&hA, &hLLA, &x);
    multiplyRat(&two, &hLA, &t);
    subtractRat(&x, &t, &x);
    multiplyRat(&two, &hL, &t);
    subtractRat(&x, &t, &x);
    const rat half{1, 2};
    multiplyRat(&x, &half, &x);
    simplifyRat(&x);
    return x;
}

int PermutationCount() {
    if (!rejecting() || !group.MD->PermutationFunction)
        return 0;
    return group.MD->stabsize;
}

} // namespace

// ============================================================ Klein bottle currents

int initKleinInfo() {
    if (KleinInfoInitialized == QueryBulkInvariant())
        return 1;
    KeepCurrent keep;
    allocateOrientifoldInfo_stage2(&Dummy);
    loadGroup();
    KleinInfo.assign(static_cast<std::size_t>(getTotalCurrents()), {-1, 0, 0, 0});
    collectSquares();
    if (SquareCurrents.size() != CurrentRoots.size())
        Alert("initKleinInfo", 0, 212404, "Square current mismatch");
    if (!formClasses())
        return 0;
    KleinDependentProjectionSigns.clear();
    projectionSignClass(0);
    for (int K = 0; K < getTotalCurrents(); K++)
        if (KleinInfo[static_cast<std::size_t>(K)].rep >= 0)
            projectionSignClass(K);
    KleinInfoInitialized = QueryBulkInvariant();
    return 1;
}

void directOrientifoldShift(int KBC_in, int* crosscap_in, int* Vec_out, int shiftcur) {
    const int K2 = product(getConjugate(shiftcur), KBC_in);
    if (!carrySigns(KBC_in, crosscap_in, K2,
                    [shiftcur](int J) { return group.elementOf(product(shiftcur, J)); }))
        return;
    normalise(mapped);
    writeOut(K2, Vec_out);
}

void directOrientifoldRootReduction(int KBC_in, int* crosscap_in, int* Vec_out, int rootcur) {
    const int L = CurrentRoots[static_cast<std::size_t>(rootcur)];
    const int K2 = product(getConjugate(SquareCurrents[static_cast<std::size_t>(rootcur)]), KBC_in);
    const std::vector<int>& P = projectionRow(KBC_in);
    const std::vector<int>& P2 = projectionRow(K2);
    mapped.assign(static_cast<std::size_t>(group.dg->Order), 1);
    for (int e = 0; e < group.dg->Order; e++) {
        const std::size_t u = static_cast<std::size_t>(e);
        const rat x = squareExponent(product(K2, group.MD->map[e]), L);
        int sign = 1;
        if (x.den == 2)
            sign = -1;
        else if (x.den != 1)
            // The rest of the vector is still worth having; this element keeps the even rule.
            Alert("directOrientifoldRootReduction", 0, 212404, "Invalid permutation sign");
        mapped[u] = sign * P[u] * crosscap_in[e] * P2[u];
    }
    normalise(mapped);
    writeOut(K2, Vec_out);
}

void directOrientifoldPermutation(int KBC_in, int* crosscap_in, int* Vec_out, int p) {
    const int s = group.MD->Stabilizer[p];
    const int K2 = MOD_getCurrentPermutation(s, KBC_in);
    if (!carrySigns(KBC_in, crosscap_in, K2,
                    [s](int J) { return group.elementOf(MOD_getCurrentPermutation(s, J)); }))
        return;
    writeOut(K2, Vec_out);
}

namespace {

std::vector<int> fullIn;

int* expand(const int* Vec_in) {
    fullIn.assign(static_cast<std::size_t>(group.dg->Order), 1);
    getFullCrosscapSigns(const_cast<int*>(Vec_in + 1), group.MD, fullIn.data());
    return fullIn.data();
}

} // namespace

void computeOrientifoldShift(int* Vec_in, int* Vec_out, int shiftcur) {
    directOrientifoldShift(Vec_in[0], expand(Vec_in), Vec_out, shiftcur);
}

void computeOrientifoldRootReduction(int* Vec_in, int* Vec_out, int rootcur) {
    directOrientifoldRootReduction(Vec_in[0], expand(Vec_in), Vec_out, rootcur);
}

void computeOrientifoldPermutation(int* Vec_in, int* Vec_out, int p) {
    directOrientifoldPermutation(Vec_in[0], expand(Vec_in), Vec_out, p);
}

// ============================================================ Enumeration

double getOrientifoldTension(int* vec) {
    allocateOrientifoldInfo_stage2(&TensionRecord);
    putChoice(TensionRecord, vec[0], vec + 1);
    setSelectedOrientifold(TensionRecord);
    loadIshibashiMetric(TensionRecord);
    return TensionRecord->Tension;
}

namespace {

// Rows are found by their identifying ints (K and the basic signs) packed into one key.
std::unordered_map<std::uint64_t, int> rowIndex;

std::uint64_t keyOf(const int* vec) {
    std::uint64_t key = static_cast<std::uint64_t>(vec[0]);
    for (int k = 0; k < group.dg->Mult; k++)
        key = key * 3 + static_cast<std::uint64_t>(vec[1 + k] + 1);
    return key;
}

int findRow(const int* vec) {
    const auto at = rowIndex.find(keyOf(vec));
    return at == rowIndex.end() ? -1 : at->second;
}

void addRow(int K, const std::vector<int>& signs) {
    OrientifoldRow row;
    row.K = K;
    row.signs = signs;
    AllOri.push_back(row);
    std::vector<int> vec(signs.size() + 1);
    vec[0] = K;
    std::copy(signs.begin(), signs.end(), vec.begin() + 1);
    rowIndex[keyOf(vec.data())] = static_cast<int>(AllOri.size()) - 1;
}

// Every admissible K with every sign vector, factor Mult-1 fastest, +1 before -1.
void enumerateRows() {
    AllOri.clear();
    rowIndex.clear();
    const int Mult = group.dg->Mult;
    for (int K = 0; K < getTotalCurrents(); K++) {
        if (KleinInfo[static_cast<std::size_t>(K)].rep < 0)
            continue;
        std::vector<int> signs(static_cast<std::size_t>(Mult), 1);
        while (true) {
            addRow(K, signs);
            int k = Mult - 1;
            for (; k >= 0; k--) {
                if (group.dg->Orders[k] % 2 == 0 && signs[static_cast<std::size_t>(k)] == 1) {
                    signs[static_cast<std::size_t>(k)] = -1;
                    break;
                }
                signs[static_cast<std::size_t>(k)] = 1;
            }
            if (k < 0)
                break;
        }
    }
}

std::vector<int> rowVector(const OrientifoldRow& row) {
    std::vector<int> vec(row.signs.size() + 1);
    vec[0] = row.K;
    std::copy(row.signs.begin(), row.signs.end(), vec.begin() + 1);
    return vec;
}

enum MapKind { Square = 1, Shift = 2, Permutation = 3 };

const char* const OutOfOrbit[] = {"", "Square current shift out of orbit",
                                  "Group current shift out of orbit", "Permutation out of orbit"};
const char* const NotFound[] = {"", "Reduced orientifold not found",
                                "Shifted orientifold not found",
                                "Permutated orientifold not found"};
const char* const Incomplete[] = {"", "Reduced orientifold not found. Permutations incomplete?\n",
                                  "Shifted orientifold not found. Permutations incomplete?\n",
                                  "Permutated orientifold not found. Permutations incomplete?\n"};
const char* const Mismatch[] = {"", "Tension mismatch for reduced orientifold",
                                "Tension mismatch for shifted orientifold",
                                "Tension mismatch for permutated orientifold"};
const char* const Analyzed[] = {"", "Analyzed %d squared currents; giving up at time  %7.2f\n",
                                "Analyzed %d shifts; giving up at time  %7.2f\n",
                                "Analyzed %d permutations; giving up at time  %7.2f\n"};

// One class being closed: its number, tension and the candidates of that tension.
class ClassBuilder {
public:
    ClassBuilder(bool older, bool large) : older(older), large(large) {}

    void build(int c, double T, double start);
    bool gaveUp() const { return givenUp; }

private:
    bool older, large;
    bool givenUp = false;
    bool incompleteShown = false;
    int found = 0; // members reached by a map
    int c = 0;
    double T = 0.0;
    std::vector<char> candidate;
    std::vector<int> image;

    int apply(MapKind kind, const int* source, int* full, int step);
    bool sourcePass(int r);
    bool stepLoop(MapKind kind, int steps, const int* source, int* full);
    void notFound(MapKind kind, const int* source, const int* full);
};

// 1 when the image is a new member of the class.
int ClassBuilder::apply(MapKind kind, const int* source, int* full, int step) {
    const int Mult = group.dg->Mult;
    image.assign(static_cast<std::size_t>(Mult) + 1, 0);
    image[0] = -1;
    if (kind == Square)
        directOrientifoldRootReduction(source[0], full, image.data(), step);
    else if (kind == Shift)
        directOrientifoldShift(source[0], full, image.data(), group.MD->map[step]);
    else
        directOrientifoldPermutation(source[0], full, image.data(), step);
    const int r = findRow(image.data());
    if (r >= 0 && candidate[static_cast<std::size_t>(r)]) {
        OrientifoldRow& row = AllOri[static_cast<std::size_t>(r)];
        if (row.cls == -1) {
            row.cls = c;
            row.status = kind;
            found++;
            return 1;
        }
        if (row.cls != c)
            Alert("generateAllOrientifolds", kind, 212404, "%s", OutOfOrbit[kind]);
        return 0;
    }
    notFound(kind, source, full);
    return 0;
}

void ClassBuilder::notFound(MapKind kind, const int* source, const int* full) {
    const int Mult = group.dg->Mult;
    if (kind == Square) {
        printVec(Mult + 1, source, "v");
        printVec(Mult + 1, image.data(), "w");
        printVec(group.dg->Order, full, "crosscap");
    }
    const int r = findRow(image.data());
    if (r < 0) {
        Alert("generateAllOrientifolds", 3 + kind, 212404, "%s", NotFound[kind]);
        return;
    }
    if (kind == Permutation) {
        printVec(Mult + 1, source, "init");
        printVec(group.dg->Order, full, "crosscap");
        printVec(Mult + 1, image.data(), "Searching for");
    }
    if (!incompleteShown) {
        incompleteShown = true;
        Alert("generateAllOrientifolds", 6 + kind, 520318, "%s", Incomplete[kind]);
    }
    if (std::fabs(Tensions[static_cast<std::size_t>(r)] - T) >= TensionTolerance)
        Alert("generateAllOrientifolds", 9 + kind, 212404, "%s", Mismatch[kind]);
}

// False when the loop gave up, which ends the processing of its source.
bool ClassBuilder::stepLoop(MapKind kind, int steps, const int* source, int* full) {
    const double begin = CPUTime();
    int lastNew = -1;
    for (int i = 0; i < steps; i++) {
        if (apply(kind, source, full, i))
            lastNew = i;
        if (older || i - lastNew <= FruitlessSteps)
            continue;
        if (!givenUp && (i - lastNew) % ClockStride != 0)
            continue;
        if (givenUp || CPUTime() - begin > GiveUpSeconds) {
            Print(Analyzed[kind], i + 1, CPUTime());
            givenUp = true;
            return false;
        }
    }
    return true;
}

// The maps of one source; true when a new member was found.
bool ClassBuilder::sourcePass(int r) {
    OrientifoldRow& row = AllOri[static_cast<std::size_t>(r)];
    const int status = row.status;
    const std::vector<int> source = rowVector(row);
    std::vector<int> full(static_cast<std::size_t>(group.dg->Order));
    getFullCrosscapSigns(const_cast<int*>(source.data() + 1), group.MD, full.data());
    const int before = found;
    const bool skipSquares = older && status == Square;
    const bool skipShifts = status == Shift && (older || !givenUp);
    const bool skipPerms = status == Permutation && (older || !givenUp);
    // A loop that gives up ends the processing of its source.
    if (skipSquares ||
        stepLoop(Square, static_cast<int>(SquareCurrents.size()), source.data(), full.data()))
        if (skipShifts || stepLoop(Shift, group.dg->Order, source.data(), full.data()))
            if (!skipPerms)
                stepLoop(Permutation, PermutationCount(), source.data(), full.data());
    AllOri[static_cast<std::size_t>(r)].status = 0;
    return found > before;
}

} // namespace

namespace {

void ClassBuilder::build(int cls, double tension, double start) {
    c = cls;
    T = tension;
    found = 0;
    candidate.assign(AllOri.size(), 0);
    std::vector<int> searchList;
    for (std::size_t r = 0; r < AllOri.size(); r++)
        if (AllOri[r].status == 4 && std::fabs(Tensions[r] - T) < TensionTolerance) {
            candidate[r] = 1;
            searchList.push_back(static_cast<int>(r));
        }
    const int size = static_cast<int>(searchList.size());
    if (large) {
        Print("New SearchList; size %d\n", size);
        Print("Iteration %d; presently identified %d/%d; time %7.2f\n", 0, found + 1, size,
              CPUTime() - start);
    }
    for (int iteration = 1;; iteration++) {
        bool grew = false;
        for (int r : searchList) {
            if (stopSignal)
                return;
            const OrientifoldRow& row = AllOri[static_cast<std::size_t>(r)];
            if (row.cls == c && row.status > 0 && sourcePass(r))
                grew = true;
        }
        if (!grew)
            return;
        if (large)
            Print("Iteration %d; presently identified %d/%d; time %7.2f\n", iteration, found + 1,
                  size, CPUTime() - start);
    }
}

constexpr const char* TensionTitle = "Computing orientifold tensions";
constexpr const char* ClassTitle = "Identifying orientifolds";

void classify(bool older) {
    const int P = PermutationCount();
    const int squares = static_cast<int>(SquareCurrents.size());
    const bool large = !older && (squares > LargeDegeneracy || group.dg->Order > LargeDegeneracy ||
                                  P > LargeDegeneracy);
    if (large)
        Print("Large orientifold degeneracy: %d x %d x %d\n", squares, group.dg->Order, P);
    ClassBuilder builder(older, large);
    const double start = CPUTime();
    int c = 0;
    LoopProgress progress(ClassTitle, static_cast<double>(AllOri.size()));
    for (std::size_t seed = 0; seed < AllOri.size(); seed++) {
        if (progress.step())
            return;
        if (AllOri[seed].cls != -1)
            continue;
        AllOri[seed].cls = c;
        builder.build(c, Tensions[seed], start);
        c++;
    }
    if (builder.gaveUp()) {
        Print("Orientifold identification aborted\n");
        Alert("generateAllOrientifolds", 20, 100201,
              "Orientifold identification aborted; some orientifolds may be identical");
    }
}

void enumerate(bool older) {
    enumerateRows();
    Tensions.assign(AllOri.size(), 0.0);
    {
        LoopProgress progress(TensionTitle, static_cast<double>(AllOri.size()));
        for (std::size_t r = 0; r < AllOri.size(); r++) {
            if (progress.step())
                return;
            std::vector<int> vec = rowVector(AllOri[r]);
            Tensions[r] = std::fabs(getOrientifoldTension(vec.data()));
        }
    }
    classify(older);
}

} // namespace

void generateAllOrientifolds() {
    enumerate(false);
}

void generateAllOrientifolds_ZNX_VERSION() {
    enumerate(true);
}

// ============================================================ The list

int compareOrientifolds(OrientifoldInfo* A, OrientifoldInfo* B) {
    loadIshibashiMetric(A);
    loadIshibashiMetric(B);
    if (std::fabs(A->Tension - B->Tension) >= TensionTolerance)
        return A->Tension > B->Tension ? 1 : -1;
    if (A->KBC != B->KBC)
        return A->KBC < B->KBC ? 1 : -1;
    const SCData* MD = currentBulk()->MD;
    const int Mult = MD && MD->dg ? MD->dg->Mult : 0;
    for (int k = 0; k < Mult; k++)
        if (A->CrosscapSigns[k] != B->CrosscapSigns[k])
            return A->CrosscapSigns[k] > B->CrosscapSigns[k] ? 1 : -1;
    Alert("compareOrientifolds", 0, 212404, "Identical orientifolds in list");
    return 0;
}

namespace {

// The list of a symmetric simple-current invariant; an empty one for any other.
bool listable() {
    const BulkInvariant* bi = currentBulk();
    return bi->simpleCurrentInvariant && bi->symmetric == 1 && bi->MD && bi->MD->dg &&
           getTotalCurrents() > 0;
}

// AllOri with its classes; false when the currents' fusion is inconsistent.
bool buildRows() {
    loadGroup();
    if (getTotalCurrents() % 2 == 1) {
        AllOri.clear();
        rowIndex.clear();
        addRow(0, std::vector<int>(static_cast<std::size_t>(group.dg->Mult), 1));
        AllOri[0].cls = 0;
        Tensions.assign(1, 0.0);
        return true;
    }
    if (!initKleinInfo())
        return false;
    SCData* MD = group.MD;
    if (rejecting() && (!MD->PermutationFunction || MD->stabsize == 0))
        addPermutationInfo(MD);
    if (switchValue(ZNXVersion))
        generateAllOrientifolds_ZNX_VERSION();
    else
        generateAllOrientifolds();
    // A list the user stopped is incomplete.
    return !stopSignal;
}

void fillList() {
    int classes = 0;
    for (const OrientifoldRow& row : AllOri)
        classes = std::max(classes, row.cls + 1);
    allocateOrientifolds(classes);
    N_Ori = classes;
    for (int c = 0; c < classes; c++) {
        const auto row = std::find_if(AllOri.begin(), AllOri.end(),
                                      [c](const OrientifoldRow& r) { return r.cls == c; });
        // An entry holding one of the module's own records gets a record of its own.
        if (Orientifolds[c] == User || Orientifolds[c] == Trivial || Orientifolds[c] == Loop)
            Orientifolds[c] = nullptr;
        allocateOrientifoldInfo_stage2(&Orientifolds[c]);
        putChoice(Orientifolds[c], row->K, row->signs.data());
    }
    for (int c = 0; c < classes; c++)
        loadIshibashiMetric(Orientifolds[c]);
    for (int i = 0; i + 1 < classes; i++)
        for (int j = i + 1; j < classes; j++)
            if (compareOrientifolds(Orientifolds[i], Orientifolds[j]) < 0)
                std::swap(Orientifolds[i], Orientifolds[j]);
    for (int c = 0; c < classes; c++)
        Orientifolds[c]->SequenceNumber = c;
}

void printEntry(int i) {
    const OrientifoldInfo* OI = Orientifolds[i];
    Print("%5d | ", i);
    Print(" %15.7f |", unsignedZero(OI->Tension, 7));
    Print(" %5d | ", OI->KBC);
    if (currentBulk()->trivial != 1)
        for (int k = 0; k < group.dg->Mult; k++)
            Print("%3d", OI->CrosscapSigns[k]);
    Print("\n");
}

} // namespace

int loadOrientifolds() {
    const int reject = rejecting(), older = switchValue(ZNXVersion);
    if (LastModInv == QueryBulkInvariant() && LastRejectPermutations == reject &&
        LastZNXVersion == older)
        return N_Ori;
    KeepCurrent keep;
    N_Ori = 0;
    LastModInv = QueryBulkInvariant();
    LastRejectPermutations = reject;
    LastZNXVersion = older;
    AllOri.clear();
    rowIndex.clear();
    const bool canList = listable();
    if (!canList || !buildRows()) {
        AllOri.clear();
        rowIndex.clear();
        if (canList && stopSignal) {
            LastModInv = -2;
            Print("Orientifold collection stopped\n");
        }
        return N_Ori;
    }
    fillList();
    const int level = OrientifoldInfoLevel ? *OrientifoldInfoLevel : 0;
    if (level > 0)
        for (int i = 0; i < N_Ori; i++)
            printEntry(i);
    if (level >= 1)
        printOrientifoldList();
    else if (!getBackground())
        Print("Number of orientifolds: %d\n", N_Ori);
    return N_Ori;
}

void printOrientifoldList() {
    const char* rule = "-------------------------------------------------\n";
    Print("%s", rule);
    Print("                  Orientifolds                        \n");
    Print("%s", rule);
    Print("\n  Nr. |         Tension  |   KBC | Crosscap signs\n");
    Print("%s", rule);
    for (int i = 0; i < N_Ori; i++)
        printEntry(i);
    Print("-------------------------------------------------\n\n");
}

int findOrientifoldClass(int mult, int KBC, int* signs) {
    if (AllOri.empty() || mult != group.dg->Mult) {
        Alert("findOrientifoldClass", 0, 212404, "Old orientifold not found");
        return -1;
    }
    std::vector<int> vec(static_cast<std::size_t>(mult) + 1);
    vec[0] = KBC;
    std::copy(signs, signs + mult, vec.begin() + 1);
    const int r = findRow(vec.data());
    if (r < 0 || N_Ori <= 0) {
        Alert("findOrientifoldClass", 0, 212404, "Old orientifold not found");
        return -1;
    }
    const int c = AllOri[static_cast<std::size_t>(r)].cls;
    const auto first = std::find_if(AllOri.begin(), AllOri.end(),
                                    [c](const OrientifoldRow& row) { return row.cls == c; });
    for (int j = 0; j < N_Ori; j++) {
        const OrientifoldInfo* OI = Orientifolds[j];
        if (OI->KBC == first->K &&
            std::equal(first->signs.begin(), first->signs.end(), OI->CrosscapSigns.X))
            return j;
    }
    Alert("findOrientifoldClass", 0, 212404, "Old orientifold not found");
    return -1;
}

int matchToNewOrientifoldList(OrientifoldInfo* Old) {
    const int mult = AllOri.empty() ? 0 : group.dg->Mult;
    if (!Old || !Old->CrosscapSigns.reserved() || Old->CrosscapSigns.X_oldsize < mult) {
        Alert("findOrientifoldClass", 0, 212404, "Old orientifold not found");
        return -1;
    }
    return findOrientifoldClass(mult, Old->KBC, Old->CrosscapSigns.X);
}

int TotalOrientifolds() {
    return loadOrientifolds();
}

int TotalOrientifoldsWithTension() {
    int Total = 0, positive = 0;
    getPositiveTensionOrientifolds(&Total, &positive);
    return positive;
}

OrientifoldInfo** getPositiveTensionOrientifolds(int* Total, int* PosTensCount) {
    *Total = loadOrientifolds();
    *PosTensCount = 0;
    for (int i = 0; i < N_Ori; i++) {
        loadIshibashiMetric(Orientifolds[i]);
        if (std::fabs(Orientifolds[i]->Tension) >= TensionTolerance)
            (*PosTensCount)++;
    }
    return Orientifolds.X;
}

void collectOrientifolds() {
    loadOrientifolds();
    OrientifoldInfo* OI = setUserDefinedOrientifold();
    if (OrientifoldInfoLevel && *OrientifoldInfoLevel > 0) {
        Print("\nOrientifold reset to original value:\n");
        showOrientationInfo(OI);
    }
}
