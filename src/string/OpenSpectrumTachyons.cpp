// Open-string tachyons of single branes, of brane pairs (cached) and of configurations, the
// split of boundary labels into tachyon-free and tachyonic ones, and the charges of the bulk
// supercurrents on branes.
#include "string/OpenSpectrum.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrumInternal.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace openspectrum;

namespace {

// The tachyonic fields beyond the vacuum, ascending.
std::vector<int> tachyonicFields() {
    std::vector<int> fields;
    IntegerList* L = getTachyonLabels();
    if (!L)
        return fields;
    for (int e = 0; e < L->cnt; e++)
        if (L->list[e] >= 1)
            fields.push_back(L->list[e]);
    return fields;
}

const int* conjugatesOf(OrientifoldInfo* OI) {
    loadOrientifoldConjugates(OI, 0);
    return &OI->Conjugates[0];
}

// Makes OI current for the amplitudes and the caller's orientifold current again when it ends.
class OrientifoldScope {
public:
    explicit OrientifoldScope(OrientifoldInfo* OI) : saved_(getCurrentOrientifold()) {
        setSelectedOrientifold(OI);
    }
    ~OrientifoldScope() { setSelectedOrientifold(saved_); }
    OrientifoldScope(const OrientifoldScope&) = delete;
    OrientifoldScope& operator=(const OrientifoldScope&) = delete;

private:
    OrientifoldInfo* saved_;
};

// 1 tachyonic, 0 no state, -1 states that vanish at multiplicity one (A = -M).
int diagonalSector(int i, int a) {
    const int A = getAnnulus(i, a, a);
    if (A == 0)
        return 0;
    return A + getMoebius(i, a) != 0 ? 1 : -1;
}

int diagonalCheck(OrientifoldInfo* OI, int a) {
    if (getTotalPrimaries() < 2)
        return 0;
    const int* conj = conjugatesOf(OI);
    const int ac = conj[a];
    OrientifoldScope scope(OI);
    bool seen = false;
    for (int i : tachyonicFields()) {
        const int r = diagonalSector(i, a);
        if (r == 1)
            return 1;
        seen = seen || r == -1;
        if (a == ac)
            continue;
        const int rc = diagonalSector(i, ac);
        if (rc == 1 || getAnnulus(i, a, ac) != 0)
            return 1;
        seen = seen || rc == -1;
    }
    return seen ? -1 : 0;
}

// The pair cache: one index per label and its conjugate, a P x P table of results (-2 not yet
// known). It belongs to the bulk invariant and orientifold choice it was reset for.
struct PairCache {
    std::vector<int> map;
    std::vector<int> Info;
    int P = 0;
    OrientifoldInfo* OI = nullptr;
    int bulk = -1;
    int choice = -1;
    int reading = -1;
} cache;

void resetPairCache(OrientifoldInfo* OI) {
    const int B = TotalBoundaries();
    const int* conj = conjugatesOf(OI);
    cache.map.assign(at(std::max(B, 1)), -1);
    cache.P = 0;
    for (int x = 0; x < B; x++)
        if (x <= conj[x]) {
            cache.map[at(x)] = cache.map[at(conj[x])] = cache.P;
            cache.P++;
        }
    cache.Info.assign(at(std::max(cache.P * cache.P, 1)), -2);
    cache.OI = OI;
    cache.bulk = QueryBulkInvariant();
    cache.choice = OI->OrientifoldNr;
    cache.reading = superstringReading();
}

bool cacheIsFor(OrientifoldInfo* OI) {
    return cache.OI == OI && cache.bulk == QueryBulkInvariant() &&
           cache.choice == OI->OrientifoldNr && cache.reading == superstringReading();
}

int pairCheck(OrientifoldInfo* OI, int p, int q) {
    if (getTotalPrimaries() < 2)
        return 0;
    const int* conj = conjugatesOf(OI);
    const int pc = conj[p], qc = conj[q];
    OrientifoldScope scope(OI);
    for (int i : tachyonicFields()) {
        if (getAnnulus(i, p, q) != 0 || (p != pc && getAnnulus(i, pc, q) != 0) ||
            (q != qc && getAnnulus(i, p, qc) != 0) ||
            (p != pc && q != qc && getAnnulus(i, pc, qc) != 0))
            return 1;
    }
    return 0;
}

} // namespace

int DiagonalTachyonCheck(OrientifoldInfo* OI, int a) {
    return diagonalCheck(OI, a);
}

int DiagonalTachyonCheckForCharacter(OrientifoldInfo* OI, int l, int a) {
    OrientifoldScope scope(OI);
    return diagonalSector(l, a);
}

int TachyonicIntersection(OrientifoldInfo* OI, int a, int b) {
    if (a == -1 || !cacheIsFor(OI)) {
        resetPairCache(OI);
        if (a == -1)
            return 0;
    }
    const int p = std::min(a, b), q = std::max(a, b);
    int& entry = cache.Info[at(cache.map[at(q)] * cache.P + cache.map[at(p)])];
    if (entry != -2)
        return entry;
    const int* conj = conjugatesOf(OI);
    entry = (q == p || p == conj[q]) ? diagonalCheck(OI, p) : pairCheck(OI, p, q);
    return entry;
}

int checkCPDforTachyons(ChanPatonData* CPD) {
    for (int s = 0; s < CPD->Nactive; s++) {
        const int a = CPD->Active[at(s)];
        for (int t = 0; t < CPD->Nactive; t++) {
            const int r = TachyonicIntersection(CPD->OI, a, CPD->Active[at(t)]);
            if (r == 1 || (r == -1 && CPD->CPmults[at(a)] != 1))
                return 1;
        }
    }
    return 0;
}

void getTachyonFreeBoundaryLabels(OrientifoldInfo* OI, IntegerList** Allow, IntegerList** Avoid) {
    static IntegerList allow, avoid;
    initList(&allow, 1000);
    initList(&avoid, 1000);
    const int* conj = conjugatesOf(OI);
    for (int a = 0; a < TotalBoundaries(); a++) {
        const int ac = conj[a];
        if (a < ac) {
            const int r = DiagonalTachyonCheck(OI, a);
            if (r == 1) {
                addToList(&avoid, a);
                addToList(&avoid, ac);
            } else if (r == 0) {
                addToList(&allow, a);
                addToList(&allow, ac);
            }
        } else if (a == ac && DiagonalTachyonCheck(OI, a) == 1) {
            addToList(&avoid, a);
        }
    }
    *Allow = &allow;
    *Avoid = &avoid;
}

namespace {

// Sum over the classes 1 .. nc-1 of the field's class multiplicities times n.
int classWeighted(const int* info, int nc, int n) {
    int total = 0;
    for (int k = 1; k < nc; k++)
        total += info ? info[k] * n : 0;
    return total;
}

void checkDiagonalSector(int i, int a, int A, int M) {
    if ((A - M) % 2 != 0)
        Alert("OpenSectorTachyonAnalysis", 0, 212404,
              "Annulus/Moebius parity violation (i=%d,a=%d)", i, a);
    if (A < std::abs(M))
        Alert("OpenSectorTachyonAnalysis", 1, 212404, "Annulus/Moebius size violation");
}

} // namespace

int OpenSectorTachyonAnalysis(ChanPatonData* CPD, SusyType* ST) {
    const int nc = RepCnt(ST->Left->Type, ST->Left->Rank);
    const int* conj = conjugatesOf(CPD->OI);
    const int N = getTotalPrimaries();
    bool progress = N > 5000;
    const char* title = "Computing open string spectrum";
    if (progress)
        startProgressInfo(title, N - 1, 0);
    int count = 0;
    int result = 0;
    for (int i = 1; i < N && result == 0; i++) {
        // A stop ends the display; the answer needs every field.
        if (progress && incrementProgressInfo())
            progress = false;
        if (!masslessCharacter(i, 1))
            continue;
        const int* info = getRepInfo(i);
        for (int a = 0; a < CPD->Nbnd && result == 0; a++) {
            const int Na = CPD->CPmults[at(a)];
            if (Na == 0)
                continue;
            const int A = getAnnulus(i, a, a);
            const int M = getMoebius(i, a);
            if (A != 0 && (Na * A + M) * Na != 0) {
                result = 1;
                break;
            }
            checkDiagonalSector(i, a, A, M);
            if (nc < 2)
                continue;
            const int ac = conj[a];
            if (ac > a)
                count +=
                    classWeighted(info, nc, 2 * Na * CPD->CPmults[at(ac)] * getAnnulus(i, a, ac));
            for (int b = a + 1; b < CPD->Nbnd; b++)
                if (b != ac && CPD->CPmults[at(b)] != 0)
                    count +=
                        classWeighted(info, nc, 2 * Na * CPD->CPmults[at(b)] * getAnnulus(i, a, b));
        }
    }
    if (progress)
        stopProgressInfo(title);
    if (result == 1)
        return 1;
    return nc >= 2 && count != 0 ? 1 : 0;
}

namespace {

// The bulk supercurrents: partners of the vacuum that are world-sheet supercurrents. The vacuum
// itself passes that test whenever the chiral algebra holds the supercharges, but its charge is
// 0 on every brane, so it is left out.
std::vector<int> bulkSupercurrents() {
    std::vector<int> J;
    BulkInvariant* BI = *getCurrentBulk();
    if (!BI || !BI->orbitlength)
        return J;
    for (int k = 0; k < BI->orbitlength[0]; k++) {
        const int j = BI->orbits[0][k];
        if (j != 0 && isSuperCurrent(j) && std::find(J.begin(), J.end(), j) == J.end())
            J.push_back(j);
    }
    return J;
}

template <class Out>
void chargeLines(const std::vector<int>& J, const std::vector<int>& labels, Out out) {
    if (J.empty())
        return;
    out("\n");
    char line[160];
    for (int a : labels)
        for (int j : J) {
            const rat* q = simpleCurrentCharge(j, getBoundaryField(a));
            std::snprintf(line, sizeof line,
                          "Charge of Supercurrent %d w.r.t. field %d is %d/%d (Fixed: %d)\n", j, a,
                          q->num, q->den, getBoundaryFixed(a));
            out(line);
        }
    out("\n");
}

} // namespace

void BulkSusyLocalityCheck(ChanPatonData* CPD) {
    std::vector<int> labels(CPD->Active.begin(), CPD->Active.begin() + CPD->Nactive);
    chargeLines(bulkSupercurrents(), labels, [](const char* s) { std::fputs(s, stdout); });
}

int BulkSusyLocalityCheckForLabel(int a) {
    chargeLines(bulkSupercurrents(), {a}, [](const char* s) { Print("%s", s); });
    return 0;
}
