// Boundary classes, their byte cache slots and the lookups that answer a member's numbers from
// its leader's slot; the chirality questions asked of brane configurations.
#include "string/IntersectionsInternal.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "string/SearchSetup.h"
#include "string/Tadpole.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using intersections::NotIntegral;
using intersections::Unknown;

AllocCount Intersections_alloc = ALLOC_COUNTER("Boundary Intersections");

// Leader, current index, orientifold index (or -1) per boundary label.
std::vector<int> FullBoundaryOrbits;
std::vector<int> BoundaryClasses, BoundaryClassReality, BoundaryClassInverse;
int BCSize = 0;
using Slot = GuardedArray<signed char>;
std::vector<std::unique_ptr<Slot>> BoundaryClassIntersectionPointers;
std::vector<int> ClassMap;
int NClass = -1;
// The usable-boundary count the slots are sized for, and the bulk generation of the classes.
int SlotU = 0;
int ClassesFor = -3;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

const int* conjugatesOf(OrientifoldInfo* OI) {
    if (OI->ConjugatesAvailable != OI->OrientifoldNr)
        loadOrientifoldConjugates(OI, 0);
    return OI->Conjugates.X;
}

void fillSlot(int s) {
    Slot* slot = BoundaryClassIntersectionPointers[at(s)].get();
    for (int i = 0; i < 2 * SlotU; i++)
        slot->X[i] = Unknown;
}

// A member (a, partner b) reduced to the leader's pair (L, x).
struct Reduced {
    int L = 0, k = 0, o = -1, cls = 0, x = 0, u = -1;
};

Reduced reduce(int a, int b) {
    SearchData* SD = getSearchData();
    Reduced r;
    r.L = FullBoundaryOrbits[at(3 * a)];
    r.k = FullBoundaryOrbits[at(3 * a + 1)];
    r.o = FullBoundaryOrbits[at(3 * a + 2)];
    r.cls = BoundaryClassInverse[at(r.L)];
    const int bp = r.o == -1 ? b : conjugatesOf(SD->OI[r.o])[b];
    r.x = r.k == 0 ? bp : FastBoundaryCurrentInverseFusion(r.k, bp);
    r.u = r.x >= 0 && r.x < SD->Bnd ? SD->BoundaryMap[r.x] : -1;
    if (r.u >= SlotU)
        r.u = -1;
    return r;
}

void bind(int cls) {
    if (ClassMap[at(cls)] != -1)
        return;
    fillSlot(NClass);
    ClassMap[at(cls)] = NClass;
    incrementBoundaryClassIntersectionPointer();
}

// I(L,x) and c0 = chir(L,x) turned into the member's numbers by the orientation rule: the pair
// itself without orientifold image, its transpose with one.
int oriented(const Reduced& r, long long Ilx, long long c0, int* chir) {
    if (Ilx == NotIntegral || c0 == NotIntegral) {
        *chir = NotIntegral;
        return NotIntegral;
    }
    if (r.o == -1) {
        *chir = static_cast<int>(c0);
        return static_cast<int>(Ilx);
    }
    *chir = static_cast<int>(-c0);
    return static_cast<int>(Ilx - c0);
}

// I(L,x) and c0 from the class's slot, computed and stored when unknown.
void leaderNumbers(const Reduced& r, long long* Ilx, long long* c0) {
    const int s = ClassMap[at(r.cls)];
    Slot* slot = BoundaryClassIntersectionPointers[at(s)].get();
    const int bc = slot->X[r.u], bs = slot->X[SlotU + r.u];
    if (bc != Unknown && bs != Unknown) {
        *c0 = bc;
        *Ilx = (bs + bc) / 2;
        return;
    }
    int c = 0;
    *Ilx = intersections::intersect_fcn(r.L, r.x, &c);
    *c0 = c;
    storeIntersectionData(s, r.u, static_cast<int>(*Ilx), *c0);
}

void unusablePartner(const Reduced& r, long long* Ilx, long long* c0) {
    Alert("ComputeIntersectionForClassMember", 1, 100218,
          "Intersection(*,%d) not in storage; recomputed each time", r.x);
    int c = 0;
    *Ilx = intersections::intersect_fcn(r.L, r.x, &c);
    *c0 = c;
}

int lookup(const char* routine, int a, int b, int* chir) {
    *chir = 0;
    if (!intersections::classesReady(routine))
        return 0;
    const Reduced r = reduce(a, b);
    bind(r.cls);
    long long Ilx = 0, c0 = 0;
    if (r.u == -1)
        unusablePartner(r, &Ilx, &c0);
    else
        leaderNumbers(r, &Ilx, &c0);
    return oriented(r, Ilx, c0, chir);
}

} // namespace

namespace intersections {

int classesBuiltFor() {
    return ClassesFor;
}

bool classesReady(const char* routine) {
    const int now = QueryBulkInvariant();
    auto ready = [&] {
        return getIntersectionsInitiated() == now && intersect_fcn && ClassesFor == now &&
               NClass >= 0;
    };
    if (ready())
        return true;
    // The context of a new invariant brings the sums and the classes with it.
    initStandardModelSearch();
    if (InitIntersection() == 0 && (ClassesFor != now || NClass < 0)) {
        initBoundaryClassStorage();
        incrementBoundaryClassIntersectionPointer();
    }
    if (ready())
        return true;
    Alert(routine, 0, 212404, "Intersections not initialized");
    return false;
}

} // namespace intersections

int getBoundaryClasses() {
    SearchData* SD = getSearchData();
    const int B = SD->Bnd;
    const bool orbits = CrossBoundOrbitsAvailable() != 0;
    const int K = orbits ? getBoundaryOrder() : 1;
    FullBoundaryOrbits.assign(at(3 * B), -1);
    auto assign = [](int y, int L, int k, int o) {
        if (FullBoundaryOrbits[at(3 * y)] != -1)
            return;
        FullBoundaryOrbits[at(3 * y)] = L;
        FullBoundaryOrbits[at(3 * y + 1)] = k;
        FullBoundaryOrbits[at(3 * y + 2)] = o;
    };
    std::vector<int> scratch(at(K));
    std::vector<const int*> conj;
    for (int o = 0; o < SD->Ori; o++)
        conj.push_back(conjugatesOf(SD->OI[o]));
    for (int b = 0; b < B; b++) {
        if (FullBoundaryOrbits[at(3 * b)] != -1)
            continue;
        assign(b, b, 0, -1);
        const int* list = orbits ? getBoundaryOrbit(b, scratch.data()) : &b;
        for (int k = 0; k < K; k++)
            assign(list[k], b, k, -1);
        for (int k = 0; k < K; k++)
            for (int o = 0; o < SD->Ori; o++)
                assign(conj[at(o)][list[k]], b, k, o);
    }
    BoundaryClasses.clear();
    BoundaryClassInverse.assign(at(B), -1);
    for (int b = 0; b < B; b++)
        if (FullBoundaryOrbits[at(3 * b + 1)] == 0 && FullBoundaryOrbits[at(3 * b + 2)] == -1 &&
            FullBoundaryOrbits[at(3 * b)] == b) {
            BoundaryClassInverse[at(b)] = static_cast<int>(BoundaryClasses.size());
            BoundaryClasses.push_back(b);
        }
    BCSize = static_cast<int>(BoundaryClasses.size());
    BoundaryClassReality.assign(at(BCSize), 1);
    for (int b = 0; b < B; b++) {
        const int L = FullBoundaryOrbits[at(3 * b)];
        const int c = BoundaryClassInverse[at(L)];
        if (c < 0) {
            Alert("getBoundaryClasses", 0, 212404, "Incorrect class inverse");
            continue;
        }
        BoundaryClassInverse[at(b)] = c;
        for (int o = 0; o < SD->Ori_eff; o++)
            if (conj[at(o)][b] != b)
                BoundaryClassReality[at(c)] = 0;
    }
    return BCSize;
}

void initBoundaryClassStorage() {
    if (InitIntersection() != 0)
        return;
    int unused = 0;
    ComputeFastIntersection_cached(-1, 0, &unused);
    BCSize = getBoundaryClasses();
    BoundaryClassIntersectionPointers.clear();
    BoundaryClassIntersectionPointers.reserve(at(BCSize + 11));
    ClassMap.assign(at(BCSize), -1);
    NClass = -1;
    SlotU = getSearchData()->bndcnt;
    ClassesFor = QueryBulkInvariant();
}

int initBoundaryClasses() {
    incrementBoundaryClassIntersectionPointer();
    return 0;
}

void incrementBoundaryClassIntersectionPointer() {
    NClass++;
    // The table grows with the slots; a class bound again after a dump simply takes a new one.
    while (static_cast<int>(BoundaryClassIntersectionPointers.size()) <= NClass)
        BoundaryClassIntersectionPointers.push_back(
            std::make_unique<Slot>("Boundary class slot", &Intersections_alloc));
    BoundaryClassIntersectionPointers[at(NClass)]->reserve(2 * SlotU);
    fillSlot(NClass);
}

void resetLastBoundaryClassIntersection() {
    if (NClass >= 0)
        fillSlot(NClass);
}

void keepBoundaryIntersectionData(int cls) {
    ClassMap[at(cls)] = NClass;
}

void dumpBoundaryIntersectionData(int cls) {
    ClassMap[at(cls)] = -1;
}

void storeCharacterEntry(signed char* x, long long a) {
    *x = a >= -128 && a <= 127 ? static_cast<signed char>(a) : static_cast<signed char>(Unknown);
}

void storeIntersectionData(int slot, int usb, int N1, long long chir) {
    if (slot < 0 || slot >= static_cast<int>(BoundaryClassIntersectionPointers.size()) ||
        !BoundaryClassIntersectionPointers[at(slot)]->X) {
        Alert("storeIntersectionData", 0, 120505,
              "BoundaryClassIntersectionPointers not allocated");
        std::exit(1);
    }
    signed char* X = BoundaryClassIntersectionPointers[at(slot)]->X;
    // A sum that was not integral is kept unknown, so it is computed afresh at every lookup.
    if (N1 == NotIntegral || chir == NotIntegral) {
        X[usb] = X[SlotU + usb] = static_cast<signed char>(Unknown);
        return;
    }
    storeCharacterEntry(&X[usb], chir);
    storeCharacterEntry(&X[SlotU + usb], 2LL * N1 - chir);
}

void freeBoundaryClassIntersectionPointers() {
    BoundaryClassIntersectionPointers.clear();
    NClass = -1;
}

int getLastClass() {
    return NClass;
}

int getBoundaryClassSize() {
    return BCSize;
}

const int* getFullBoundaryOrbits() {
    return FullBoundaryOrbits.data();
}

int getBoundaryClass(int a) {
    return a >= 0 && a < static_cast<int>(BoundaryClassInverse.size()) ? BoundaryClassInverse[at(a)]
                                                                       : -1;
}

int getLeadingClassBoundary(int cls) {
    return BoundaryClasses[at(cls)];
}

int getBoundaryClassReality(int cls) {
    return BoundaryClassReality[at(cls)];
}

const signed char* getBoundaryClassSlot(int s) {
    if (s < 0 || s >= static_cast<int>(BoundaryClassIntersectionPointers.size()))
        return nullptr;
    return BoundaryClassIntersectionPointers[at(s)]->X;
}

int FullIntersectionForClassMember(int a, int b, int* chir) {
    return lookup("FullIntersectionForClassMember", a, b, chir);
}

int ComputeIntersectionForClassMember(int a, int b) {
    int chir = 0;
    lookup("ComputeIntersectionForClassMember", a, b, &chir);
    return chir;
}

int ComputeOverlapForClassMember(int a, int b) {
    int chir = 0;
    return lookup("ComputeOverlapForClassMember", a, b, &chir);
}

int ComputeIntersectionUsingTranspose(int b, int a, int* chir) {
    *chir = 0;
    if (!intersections::classesReady("ComputeIntersectionUsingTranspose"))
        return 0;
    const Reduced r = reduce(a, b);
    if (ClassMap[at(r.cls)] == -1)
        return CrossBoundOrbitsAvailable() ? ComputeFastIntersection_cached(b, a, chir)
                                           : intersections::intersect_fcn(b, a, chir);
    if (r.u == -1) {
        const int seq = r.o >= 0 ? getSearchData()->OI[r.o]->SequenceNumber : -1;
        Alert("ComputeIntersectionUsingTranspose", 1, 212404,
              "Element %d not in unitary class (b_in=%d,J=%d,ori=%d)", r.x, b, r.k, seq);
        return 0;
    }
    long long Ilx = 0, c0 = 0;
    leaderNumbers(r, &Ilx, &c0);
    int cab = 0;
    const long long Iab = oriented(r, Ilx, c0, &cab);
    if (Iab == NotIntegral) {
        *chir = NotIntegral;
        return NotIntegral;
    }
    *chir = -cab;
    return static_cast<int>(Iab - cab);
}

// ============================================================ Brane configurations

void BraneIntersection(int ori, int a, int b, int* Gamma, int* Delta) {
    const int* conj = conjugatesOf(getSearchData()->OI[ori]);
    const int bc = conj[b];
    *Gamma = 0;
    *Delta = 0;
    if (conj[a] == a) {
        if (b != bc)
            *Gamma = ComputeIntersectionForClassMember(a, bc);
        return;
    }
    *Gamma = ComputeIntersectionForClassMember(a, bc);
    if (b != bc)
        *Delta = ComputeIntersectionForClassMember(a, b);
}

int checkSolutionChirality(ChanPatonData* CPD) {
    if (!CPD || !CPD->OI || !intersections::classesReady("checkSolutionChirality"))
        return 0;
    const int* conj = conjugatesOf(CPD->OI);
    std::vector<int> stacks;
    for (int i = 0; i < CPD->Nactive; i++)
        if (at(i) >= CPD->dims.size() || CPD->dims[at(i)] != 0)
            stacks.push_back(CPD->Active[at(i)]);
    for (int a : stacks)
        if (intersections::diagonalChirality(CPD->OI, a) != 0)
            return 1;
    for (int a : stacks)
        for (int b : stacks)
            if (ComputeIntersectionForClassMember(a, b) != 0 ||
                ComputeIntersectionForClassMember(a, conj[b]) != 0)
                return 1;
    return 0;
}

int GenericSMHiddenIntersection(int a, int ac, int mode, int Nfix, const int* boundaries) {
    if (mode == 3)
        return 0;
    if (mode < 0 || mode > 3) {
        Alert("GenericSMHiddenIntersection", 0, 212404,
              "Invalid argument in GenericSMHiddenIntersection");
        return 0;
    }
    for (int p = 0; p + 1 < Nfix; p += 2) {
        const int b = boundaries[p], bc = boundaries[p + 1];
        if (mode == 0) {
            if (ComputeOverlapForClassMember(b, a) + ComputeOverlapForClassMember(b, ac) != 0)
                return 1;
            if (b != bc &&
                ComputeOverlapForClassMember(bc, a) + ComputeOverlapForClassMember(bc, ac) != 0)
                return 1;
            continue;
        }
        if (b == bc) {
            if (mode == 1 && ComputeIntersectionForClassMember(b, a) != 0)
                return 1;
            continue;
        }
        if (ComputeIntersectionForClassMember(b, a) != 0 ||
            ComputeIntersectionForClassMember(bc, a) != 0)
            return 1;
    }
    return 0;
}

int getChiralSMHiddenIntersection(int i, int a, int ac, int mode) {
    if (mode >= 1)
        return ComputeIntersectionForClassMember(i, a);
    return ComputeOverlapForClassMember(i, a) + ComputeOverlapForClassMember(i, ac);
}

int ComputeChirality(int a) {
    if (!intersections::sumsReady("ComputeChirality"))
        return 0;
    const int B = getSearchData()->Bnd;
    for (int b = 0; b < B; b++) {
        int chir = 0;
        intersections::intersect_fcn(a, b, &chir);
        if (chir != 0)
            return 1;
    }
    return 0;
}
