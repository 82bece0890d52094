#include "string/SearchSetup.h"

#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "string/Intersections.h"
#include "string/Tadpole.h"

#include <algorithm>
#include <vector>

namespace {

AllocCount SearchSetup_alloc = ALLOC_COUNTER("SearchSetup");

SearchData SD;
// The bulk invariant under which SD was last built completely; a failed build is retried.
int LastModInv = -2;

// Room for both maps of Bnd labels.
void reserveMaps() {
    SD.BoundaryMap.reserve(2 * SD.Bnd);
    SD.InverseBoundaryMap = SD.BoundaryMap.X + SD.Bnd;
}

// The images are read from the orientifolds' conjugate lists, loaded here when stale.
std::vector<const int*> tensionfulConjugates() {
    std::vector<const int*> conj;
    for (int o = 0; o < SD.Ori_eff; o++) {
        OrientifoldInfo* OI = SD.OI[o];
        if (OI->ConjugatesAvailable != OI->OrientifoldNr)
            loadOrientifoldConjugates(OI, 0);
        conj.push_back(OI->Conjugates.X);
    }
    return conj;
}

} // namespace

SearchData::SearchData() : BoundaryMap("SD.BoundaryMap", &SearchSetup_alloc) {}

SearchData* getSearchData() {
    SD.Bnd = TotalBoundaries();
    SD.Ishi = TotalIshibashi();
    return &SD;
}

int numberUsableBoundaries(int Bnd, int limit, int currents, std::span<const int* const> conjugates,
                           int* map, int* inverse) {
    int b = 0;
    for (; b < Bnd && (b <= limit || b <= currents); b++)
        map[b] = inverse[b] = b;
    if (b == Bnd)
        return b;
    Alert("getUsableBoundaries", 0, 112301, "Maximal number of boundaries reached");
    std::fill(map + b, map + Bnd, -1);
    int count = b;
    // One pass: an image above i is itself visited later, one below i is not.
    for (int i = 0; i < Bnd; i++) {
        if (map[i] == -1)
            continue;
        for (const int* conj : conjugates) {
            const int c = conj[i];
            if (map[c] == -1) {
                map[c] = count;
                inverse[count++] = c;
            }
        }
    }
    return count;
}

namespace {

// The numbering for the counts and orientifolds the context holds.
int numberContextBoundaries() {
    reserveMaps();
    const int currents = getTotalCurrents();
    const bool limited = SD.Bnd > std::max(UsableBoundaryLimit, currents) + 1;
    const std::vector<const int*> conj =
        limited ? tensionfulConjugates() : std::vector<const int*>{};
    SD.bndcnt = numberUsableBoundaries(SD.Bnd, UsableBoundaryLimit, currents, conj,
                                       SD.BoundaryMap.X, SD.InverseBoundaryMap);
    return SD.bndcnt;
}

} // namespace

int getUsableBoundaries() {
    // On its own the numbering must not read counts or lists of an earlier bulk invariant.
    getSearchData();
    SD.OI = getPositiveTensionOrientifolds(&SD.Ori, &SD.Ori_eff);
    return numberContextBoundaries();
}

SearchData* initStandardModelSearch() {
    if (QueryBulkInvariant() == LastModInv)
        return &SD;
    SD.Bnd = TotalBoundaries();
    if (SD.Bnd == 0)
        return nullptr;
    SD.Ishi = TotalIshibashi();
    reserveMaps();
    if (!MOD_initContents())
        return nullptr;
    SD.OI = getPositiveTensionOrientifolds(&SD.Ori, &SD.Ori_eff);
    allocTadpoleInfo();
    // The searches check the string reading themselves; the context is built either way.
    InitIntersection();
    numberContextBoundaries();
    loadAllOrientifoldConjugates(0);
    initBoundaryClassStorage();
    incrementBoundaryClassIntersectionPointer();
    LastModInv = QueryBulkInvariant();
    return &SD;
}

void resetBoundaryMapToIdentity() {
    getSearchData();
    reserveMaps();
    for (int b = 0; b < SD.Bnd; b++)
        SD.BoundaryMap[b] = SD.InverseBoundaryMap[b] = b;
    SD.bndcnt = SD.Bnd;
}

void rebuildBoundaryClasses() {
    initBoundaryClassStorage();
    initBoundaryClasses();
}
