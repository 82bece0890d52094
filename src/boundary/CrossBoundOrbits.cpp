// Simple currents acting on the two label sets of a simple-current invariant. The Ishibashi
// current group is the part of the centre with charge 0 under the bulk group; the boundary
// current group is the centre modulo the bulk currents that have charge 0 on every Ishibashi
// label. Both cut their label sets into orbits, so that reflection coefficients are kept per pair
// of orbits and amplitudes are summed over orbits.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"
#include "tensor/FixedPoints.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <deque>
#include <numbers>

namespace crossbound_internal {

int OrbitDataAvailable = -1;
int IshiOrbitsAvailable = 0;
int IshiOrder = 0;
int BoundaryOrder = 0;
int NIshiOrbit = 0;
int NBoundaryOrbit = 0;
std::vector<int> IshiCurrentMap;
std::vector<int> BoundaryCurrents;
std::vector<int> IshiOrbitMap;
std::vector<int> BoundaryOrbitMap;

} // namespace crossbound_internal

using namespace crossbound_internal;

namespace {

// Position of each current label in the Ishibashi group, -1 outside it.
std::vector<int> IshiPosition;
std::vector<int> IshiCurMultTable;
// The bulk currents with charge 0 on every Ishibashi label, and the class of each current.
std::vector<int> FixesAll;
std::vector<int> CurrentClass;
std::vector<int> BoundaryCurMultTable;
std::vector<int> BoundaryCurrentInverse;
// The first Ishibashi label of each primary, -1 for none; labels of a primary are adjacent.
std::vector<int> FirstIshibashiForPrimary;
int annulusMethodCalls = 0;

// Orbit arrays, handed out one per orbit. A deque keeps the arrays in place while it grows, so
// there is room for as many orbits as a build asks for.
struct OrbitArrays {
    std::deque<std::vector<int>> arrays;
    int length = 0;
    int* reset(int order) {
        arrays.clear();
        length = order;
        return nullptr;
    }
    int* next() {
        arrays.emplace_back(static_cast<std::size_t>(length), -1);
        return arrays.back().data();
    }
};
OrbitArrays ishiArrays, boundaryArrays;

IshibashiLabel& ishibashi(int m) {
    return IshibashiLabels[static_cast<std::size_t>(m)];
}

BoundaryLabel& boundaryLabel(int a) {
    return BoundaryLabels[static_cast<std::size_t>(a)];
}

const SCData* bulkData() {
    return currentBulk()->MD;
}

int bulkCurrent(int e) {
    const SCData* MD = bulkData();
    return MD && MD->dg ? MD->map[e] : 0;
}

bool chargeZero(int K, int field) {
    return simpleCurrentCharge(K, field)->num == 0;
}

void indexIshibashiPrimaries() {
    FirstIshibashiForPrimary.assign(static_cast<std::size_t>(getTotalPrimaries()), -1);
    for (int m = IshibashiLabelCount - 1; m >= 0; m--)
        FirstIshibashiForPrimary[static_cast<std::size_t>(ishibashi(m).label)] = m;
}

// The Ishibashi label on primary with the given current; -1 when there is none.
int ishibashiOf(int primary, int current) {
    if (primary < 0 || primary >= static_cast<int>(FirstIshibashiForPrimary.size()))
        return -1;
    for (int n = FirstIshibashiForPrimary[static_cast<std::size_t>(primary)];
         n >= 0 && n < IshibashiLabelCount && ishibashi(n).label == primary; n++)
        if (ishibashi(n).current == current)
            return n;
    return -1;
}

// One orbit, from its representative: the image under every group position, and the orbit
// fields of each label reached for the first time.
template <class Label, class Image>
void placeOrbit(std::vector<Label>& labels, int rep, int order, int* orbit, int index,
                Image image) {
    Label& r = labels[static_cast<std::size_t>(rep)];
    r.orbit = orbit;
    int size = 0;
    for (int k = 0; k < order; k++) {
        const int n = image(k);
        orbit[k] = n;
        if (n < 0)
            continue;
        Label& l = labels[static_cast<std::size_t>(n)];
        if (l.orbit_start != -1)
            continue;
        if (n != rep)
            l.orbit = nullptr;
        l.orbit_member = k;
        l.orbit_start = rep;
        l.orbit_index = index;
        size++;
    }
    r.orbitsize = size;
}

// R(m, c) / R(m, a) = exp(2 pi i Q_J(m)) up to the shared tolerance.
bool sameRatio(double ar, double ai, double cr, double ci, double phase) {
    double qr, qi;
    complexRatio(cr, ci, ar, ai, &qr, &qi);
    return std::fabs(qr - std::cos(phase)) + std::fabs(qi - std::sin(phase)) < 1e-7;
}

void directReflection(int m, int a, double* re, double* im) {
    const BulkInvariant* bi = currentBulk();
    getSCReflectionCoefficient(&ishibashi(m), &boundaryLabel(a), bi->trivial, bi->MD, re, im);
}

// The untwisted stabiliser of a, apart from the current 0.
std::vector<int> usableCurrents(const BoundaryLabel& b) {
    std::vector<int> currents;
    if (!b.fptype || !b.fptype->dg)
        return currents;
    for (int k = 0; k < b.fptype->dg->Order; k++)
        if (b.fptype->identifier[k] != 0)
            currents.push_back(b.fptype->identifier[k]);
    return currents;
}

} // namespace

// ============================================================ Validity

int CrossBoundOrbitsAvailable() {
    return useOrbits() != 0 && currentBulk()->simpleCurrentInvariant &&
                   ModularOrbitsAvailable() == QueryCFT() &&
                   OrbitDataAvailable == QueryBulkInvariant()
               ? 1
               : 0;
}

// ============================================================ Orbit arrays

int* allocateIshiOrbitData(int mode) {
    return mode == 0 ? ishiArrays.reset(IshiOrder) : ishiArrays.next();
}

int* allocateBoundaryOrbitData(int mode) {
    return mode == 0 ? boundaryArrays.reset(BoundaryOrder) : boundaryArrays.next();
}

// ============================================================ Groups

void getIshiCurrentGroup() {
    const int G = getTotalCurrents();
    IshiCurrentMap.clear();
    IshiPosition.assign(static_cast<std::size_t>(G), -1);
    for (int J = 0; J < G; J++) {
        bool inGroup = true;
        for (int e = 0; e < TotalOrder && inGroup; e++)
            inGroup = chargeZero(bulkCurrent(e), J);
        if (!inGroup)
            continue;
        IshiPosition[static_cast<std::size_t>(J)] = static_cast<int>(IshiCurrentMap.size());
        IshiCurrentMap.push_back(J);
    }
    IshiOrder = static_cast<int>(IshiCurrentMap.size());
    IshiCurMultTable.assign(static_cast<std::size_t>(IshiOrder) * IshiOrder, -1);
    for (int a = 0; a < IshiOrder; a++)
        for (int b = 0; b < IshiOrder; b++) {
            const int p = simpleFusion(IshiCurrentMap[a], IshiCurrentMap[b]);
            const int pos = p >= 0 && p < G ? IshiPosition[static_cast<std::size_t>(p)] : -1;
            if (pos < 0)
                Alert("getIshiCurrentGroup", 0, 212404, "Ishibashi center not closed");
            IshiCurMultTable[static_cast<std::size_t>(a * IshiOrder + b)] = pos;
        }
}

void getBoundaryCurrentGroup() {
    const int G = getTotalCurrents();
    FixesAll.clear();
    for (int e = 0; e < TotalOrder; e++) {
        const int K = bulkCurrent(e);
        bool fixes = true;
        for (int m = 0; m < IshibashiLabelCount && fixes; m++)
            fixes = chargeZero(K, ishibashi(m).label);
        if (fixes)
            FixesAll.push_back(K);
    }
    BoundaryCurrents.clear();
    CurrentClass.assign(static_cast<std::size_t>(G), -1);
    for (int J = 0; J < G; J++) {
        bool smallest = true;
        for (int F : FixesAll)
            smallest = smallest && FastSimpleFusion(F, J) >= J;
        if (smallest)
            BoundaryCurrents.push_back(J);
    }
    BoundaryOrder = static_cast<int>(BoundaryCurrents.size());
    for (int r = 0; r < BoundaryOrder; r++)
        for (int F : FixesAll) {
            const int rF = FastSimpleFusion(F, BoundaryCurrents[static_cast<std::size_t>(r)]);
            if (rF >= 0 && rF < G)
                CurrentClass[static_cast<std::size_t>(rF)] = r;
        }
    BoundaryCurMultTable.assign(static_cast<std::size_t>(BoundaryOrder) * BoundaryOrder, -1);
    BoundaryCurrentInverse.assign(static_cast<std::size_t>(BoundaryOrder), -1);
    for (int r = 0; r < BoundaryOrder; r++)
        for (int s = 0; s < BoundaryOrder; s++) {
            const int p = simpleFusion(BoundaryCurrents[static_cast<std::size_t>(r)],
                                       BoundaryCurrents[static_cast<std::size_t>(s)]);
            const int c = p >= 0 && p < G ? CurrentClass[static_cast<std::size_t>(p)] : -1;
            BoundaryCurMultTable[static_cast<std::size_t>(r * BoundaryOrder + s)] = c;
            if (c == 0)
                BoundaryCurrentInverse[static_cast<std::size_t>(r)] = s;
        }
}

// ============================================================ Orbits

void loadIshiOrbitInfo() {
    allocateIshiOrbitData(0);
    IshiOrbitMap.clear();
    NIshiOrbit = 0;
    indexIshibashiPrimaries();
    for (IshibashiLabel& l : IshibashiLabels) {
        l.orbit_start = -1;
        l.orbit = nullptr;
    }
    for (int m = 0; m < IshibashiLabelCount; m++) {
        if (ishibashi(m).orbit_start != -1)
            continue;
        IshiOrbitMap.push_back(m);
        const int field = ishibashi(m).label, current = ishibashi(m).current;
        placeOrbit(IshibashiLabels, m, IshiOrder, allocateIshiOrbitData(1), NIshiOrbit++,
                   [&](int k) {
                       const int J = IshiCurrentMap[static_cast<std::size_t>(k)];
                       const int target = simpleFusion(J, field);
                       const int n = ishibashiOf(target, current);
                       if (n < 0) {
                           std::printf("Current %d; mapped to %d; Ishibashi label %d=(%d,%d)\n", J,
                                       target, m, field, current);
                           Alert("loadIshiOrbitInfo", 0, 212404, "Ishibashi state not found");
                       }
                       return n;
                   });
    }
}

void loadBoundaryOrbitInfo() {
    allocateBoundaryOrbitData(0);
    BoundaryOrbitMap.clear();
    NBoundaryOrbit = 0;
    for (BoundaryLabel& l : BoundaryLabels) {
        l.orbit_start = -1;
        l.orbit = nullptr;
    }
    for (int a = 0; a < BoundaryLabelCount; a++) {
        if (boundaryLabel(a).orbit_start != -1)
            continue;
        BoundaryOrbitMap.push_back(a);
        placeOrbit(BoundaryLabels, a, BoundaryOrder, allocateBoundaryOrbitData(1), NBoundaryOrbit++,
                   [&](int k) {
                       return BoundaryCurrentFusion(BoundaryCurrents[static_cast<std::size_t>(k)],
                                                    a);
                   });
    }
}

void loadAllOrbits() {
    if (useOrbits() == 0 || ModularOrbitsAvailable() != QueryCFT() ||
        OrbitDataAvailable == QueryBulkInvariant())
        return;
    getIshiCurrentGroup();
    loadIshiOrbitInfo();
    IshiOrbitsAvailable = 1;
    getTrivialModInvGroupCharges();
    getBoundaryCurrentGroup();
    loadBoundaryOrbitInfo();
    const long long pairs = static_cast<long long>(NBoundaryOrbit) * NIshiOrbit;
    if (!refCoefStoreFits(pairs)) {
        Alert("loadAllOrbits", 0, 100201,
              "Reflection coefficients not stored (Memory limit exceeded)");
        std::fprintf(stderr, "Number of Ishibashi orbits: %d; Boundary Orbits: %d\n", NIshiOrbit,
                     NBoundaryOrbit);
    } else {
        if (useOrbits() >= 2)
            initRefCoefStorage();
        OrbitDataAvailable = QueryBulkInvariant();
        debugLine("Orbits loaded\n");
    }
    IshiOrbitsAvailable = 0;
}

// ============================================================ Current actions

int IshiCurrentFusion(int J, int a) {
    if (J < 0 || J >= IshiOrder)
        return -1;
    const IshibashiLabel& l = ishibashi(a);
    return ishibashiOf(simpleFusion(IshiCurrentMap[static_cast<std::size_t>(J)], l.label),
                       l.current);
}

int FastBoundaryCurrentFusion(int J, int a) {
    const BoundaryLabel& l = boundaryLabel(a);
    const BoundaryLabel& rep = boundaryLabel(l.orbit_start);
    return rep
        .orbit[BoundaryCurMultTable[static_cast<std::size_t>(J * BoundaryOrder + l.orbit_member)]];
}

int FastBoundaryCurrentInverseFusion(int J, int a) {
    return FastBoundaryCurrentFusion(BoundaryCurrentInverse[static_cast<std::size_t>(J)], a);
}

int BoundaryCurrentFusion(int J, int a) {
    const BoundaryLabel& l = boundaryLabel(a);
    if (!l.isfixed)
        return getFirstBoundaryForPrimary(simpleFusion(J, l.label));
    return FixedBoundaryCurrentFusion3(J, a);
}

int FixedBoundaryCurrentFusion3(int J, int a) {
    const BoundaryLabel& b = boundaryLabel(a);
    const int u = b.fptype && b.fptype->dg ? b.fptype->dg->Order : 1;
    const int b0 = getFirstBoundaryForPrimary(simpleFusion(J, b.label));
    std::vector<char> allowed(static_cast<std::size_t>(u), 1);
    std::vector<int> usable = usableCurrents(b);
    auto allowedCount = [&] {
        int n = 0;
        for (char c : allowed)
            n += c;
        return n;
    };
    auto onlyAllowed = [&] {
        for (int c = 0; c < u; c++)
            if (allowed[static_cast<std::size_t>(c)])
                return b0 + c;
        return -1;
    };
    for (int m = 0; m < IshibashiLabelCount; m++) {
        const int n = allowedCount();
        if (n == 1)
            return onlyAllowed();
        if (n == 0) {
            Alert("FixedBoundaryCurrentFusion3", 0, 212404,
                  "No consistent fixed point label found");
            return -1;
        }
        auto used = std::find(usable.begin(), usable.end(), ishibashi(m).current);
        if (used == usable.end())
            continue;
        double ar, ai;
        directReflection(m, a, &ar, &ai);
        if (CZeroCheck(ar, ai))
            continue;
        usable.erase(used);
        const rat* q = simpleCurrentCharge(J, ishibashi(m).label);
        const double phase = 2 * std::numbers::pi * q->num / q->den;
        for (int c = 0; c < u; c++) {
            if (!allowed[static_cast<std::size_t>(c)])
                continue;
            double cr, ci;
            directReflection(m, b0 + c, &cr, &ci);
            if (!sameRatio(ar, ai, cr, ci, phase))
                allowed[static_cast<std::size_t>(c)] = 0;
        }
    }
    const int n = allowedCount();
    if (n == 1)
        return onlyAllowed();
    if (n > 1)
        Alert("FixedBoundaryCurrentFusion3", 1, 212404,
              "Multiple consistent fixed point label found");
    else
        Alert("FixedBoundaryCurrentFusion3", 2, 212404, "No consistent fixed point label found");
    return FixedBoundaryCurrentFusion(J, a);
}

namespace {

// The first label from b0 on with oriented annulus A(J^c, a, b) = 1, fixed ones only if asked;
// -1 for none, -2 once the user stopped the sums.
int annulusPartner(int J, int a, int b0, bool fixedOnly) {
    for (int b = b0 < 0 ? 0 : b0; b < BoundaryLabelCount; b++) {
        if (fixedOnly && !boundaryLabel(b).isfixed)
            continue;
        const int A = getOrientedAnnulus(-J, a, b);
        if (A == INT_MAX)
            return -2;
        if (A == 1)
            return b;
    }
    return -1;
}

} // namespace

int FixedBoundaryCurrentFusion(int J, int a) {
    std::printf("count=%d\n", annulusMethodCalls++);
    const int b0 = getFirstBoundaryForPrimary(simpleFusion(J, boundaryLabel(a).label));
    int b = annulusPartner(J, a, b0, true);
    if (b == -1) {
        Alert("FixedBoundaryCurrentFusion", 0, 112301,
              "No fixed boundary found for boundary fusion %d x %d; trying again", J, a);
        b = annulusPartner(J, a, b0, false);
        if (b == -1)
            Alert("FixedBoundaryCurrentFusion", 1, 212404,
                  "No boundary found for boundary fusion %d x %d", J, a);
    }
    return b < 0 ? -1 : b;
}

int FastIshiCurrentProduct(int J, int K, void*) {
    return IshiCurMultTable[static_cast<std::size_t>(J * IshiOrder + K)];
}

int FastBoundaryCurrentProduct(int J, int K, void*) {
    return BoundaryCurMultTable[static_cast<std::size_t>(J * BoundaryOrder + K)];
}

// ============================================================ Accessors

int getNumberOfIshiOrbits() {
    return NIshiOrbit;
}

int getNumberOfBoundaryOrbits() {
    return NBoundaryOrbit;
}

int getBoundaryOrder() {
    return BoundaryOrder;
}

int getIshiOrder() {
    return IshiOrder;
}

int getBoundaryOrbitStart(int a) {
    return boundaryLabel(a).orbit_start;
}

int getBoundaryOrbitSize(int a) {
    return boundaryLabel(boundaryLabel(a).orbit_start).orbitsize;
}

int getIshibashiOrbitSize(int m) {
    return ishibashi(ishibashi(m).orbit_start).orbitsize;
}

int getIshibashiOrbitSize_orb(int i) {
    return ishibashi(IshiOrbitMap[static_cast<std::size_t>(i)]).orbitsize;
}

int getIshibashiFieldForOrbit(int i) {
    return ishibashi(IshiOrbitMap[static_cast<std::size_t>(i)]).label;
}

int getIshibashiOrbitRepresentative(int i) {
    return IshiOrbitMap[static_cast<std::size_t>(i)];
}

int* getBoundaryOrbit(int a, int* vector) {
    const BoundaryLabel& l = boundaryLabel(a);
    if (l.orbit_member == 0)
        return l.orbit;
    const BoundaryLabel& rep = boundaryLabel(l.orbit_start);
    for (int k = 0; k < BoundaryOrder; k++)
        vector[k] = rep.orbit[BoundaryCurMultTable[static_cast<std::size_t>(
            l.orbit_member * BoundaryOrder + k)]];
    return vector;
}

// The Ishibashi image under group position k, read from the representative's orbit.
int getIshibashiOrbitImage(int m, int k) {
    const IshibashiLabel& l = ishibashi(m);
    return ishibashi(l.orbit_start)
        .orbit[IshiCurMultTable[static_cast<std::size_t>(l.orbit_member * IshiOrder + k)]];
}

int getBoundaryOrbitImage(int a, int k) {
    const BoundaryLabel& l = boundaryLabel(a);
    return boundaryLabel(l.orbit_start)
        .orbit[BoundaryCurMultTable[static_cast<std::size_t>(l.orbit_member * BoundaryOrder + k)]];
}

int getIshiCurrent(int k) {
    return IshiCurrentMap[static_cast<std::size_t>(k)];
}

int getBoundaryCurrent(int k) {
    return BoundaryCurrents[static_cast<std::size_t>(k)];
}

int getBoundaryCurrentClass(int J) {
    return J >= 0 && J < static_cast<int>(CurrentClass.size())
               ? CurrentClass[static_cast<std::size_t>(J)]
               : -1;
}

int getFixesAllCount() {
    return static_cast<int>(FixesAll.size());
}

int getFixesAll(int k) {
    return FixesAll[static_cast<std::size_t>(k)];
}
