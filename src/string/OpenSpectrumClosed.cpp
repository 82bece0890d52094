// The closed string of an orientifold: the bulk invariant's massless (and tachyonic) pairs read
// as space-time representations, symmetrised or antisymmetrised by the Klein bottle.
#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/StringData.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/StringTheory.h"
#include "tensor/Branching.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <string>
#include <vector>

namespace {

// The last closed sector analysed: keyed by bulk invariant and orientifold, since the Klein
// bottle decides the projection.
struct ClosedStamp {
    int bulk = -2;
    int orientifold = -2;
};
ClosedStamp lastClosed;
std::array<int, 6> lastCounts{};
bool lastHasCounts = false;
ClosedSectorStore SusyReps;

SUSY_MULTIPLET_PRINTER multipletPrinter = nullptr;

void emit(FILE* ofp, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void emit(FILE* ofp, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = formatText(fmt, args);
    va_end(args);
    if (ofp)
        std::fputs(line.c_str(), ofp);
    else
        Print("%s", line.c_str());
}

int infoLevel() {
    return findInternalParameter("String_spectra info_level")
               ? *static_cast<int*>(getIntParPointer("String_spectra info_level"))
               : 0;
}

// The products of one left class range with one right class range, Klein-projected when the
// left and right fields are the same.
void addPair(SusyType* ST, int i, int iprime, int mu, int K) {
    int lmin = 0, lmax = 0, rmin = 0, rmax = 0;
    std::array<int, 6> lm{}, rm{};
    repLimits(i, ST->Left, &lmin, &lmax, lm.data());
    repLimits(iprime, ST->Right, &rmin, &rmax, rm.data());
    for (int r = lmin; r < lmax; r++) {
        const int m = lm[static_cast<std::size_t>(r + 1)];
        for (int s = rmin; s < rmax; s++) {
            const int n = rm[static_cast<std::size_t>(s + 1)];
            if (r != s) {
                SusyReps.add(getSusyRepresentation(r, s, 0, ST), n * m * mu);
            } else if (i != iprime) {
                SusyReps.add(getSusyRepresentation(r, r, 1, ST), n * m * mu);
                SusyReps.add(getSusyRepresentation(r, r, -1, ST), n * m * mu);
            } else {
                SusyReps.add(getSusyRepresentation(r, r, -1, ST), (mu * m - K) * m);
                SusyReps.add(getSusyRepresentation(r, r, 1, ST), (mu * m + K) * m);
            }
        }
    }
}

void collectPass(SusyType* ST, int tachyonic) {
    const BulkInvariant* BI = *getCurrentBulk();
    for (int i = 0; i < BI->Nprimaries; i++) {
        if (!masslessCharacter(i, tachyonic) || !BI->orbits[i])
            continue;
        const int K = getKleinBottle(i);
        const int mu = BI->multiplicity[i];
        for (int p = 0; p < BI->orbitlength[i]; p++) {
            const int j = BI->orbits[i][p];
            if (masslessCharacter(j, tachyonic))
                addPair(ST, i, getConjugate(j), mu, K);
        }
    }
}

void printPass(SusyType* ST, int st_dim, FILE* ofp, int tachyonic) {
    if (tachyonic)
        emit(ofp,
             SusyReps.size() == 0 ? "No tachyons in closed sector\n" : "!!!!! Tachyons !!!!!\n");
    std::string text(8192, '\0');
    for (int k = 0; k < SusyReps.size(); k++) {
        const int c = SusyReps.count(k);
        if (c % 2 != 0)
            emit(ofp, "Multiplicity: %d/2\n", c);
        else
            emit(ofp, "Multiplicity: %d\n", c / 2);
        printSpaceTimeRep(text.data(), st_dim + 10, st_dim, SusyReps.vector(k), ST->supersymmetric);
        emit(ofp, "%s\n", text.c_str());
    }
}

} // namespace

void ClosedSectorStore::clear(int size) {
    width = size;
    vectors.clear();
    counts.clear();
}

void ClosedSectorStore::add(const int* rep, int mult) {
    if (!rep || mult == 0 || std::all_of(rep, rep + width, [](int x) { return x == 0; }))
        return;
    for (std::size_t k = 0; k < counts.size(); k++) {
        if (std::equal(rep, rep + width, vectors.begin() + static_cast<long>(k) * width)) {
            counts[k] += mult;
            return;
        }
    }
    vectors.insert(vectors.end(), rep, rep + width);
    counts.push_back(mult);
}

std::vector<int> ClosedSectorStore::packed() const {
    std::vector<int> all = vectors;
    all.insert(all.end(), counts.begin(), counts.end());
    return all;
}

void setSusyMultipletPrinter(SUSY_MULTIPLET_PRINTER printer) {
    multipletPrinter = printer;
}

void repLimits(int l, ChiralSusyType* CST, int* min, int* max, int* mults) {
    if (l == 0) {
        *min = -1;
        *max = 0;
        mults[0] = 1;
        return;
    }
    *min = 1;
    *max = RepCnt(CST->Type, CST->Rank);
    const int* info = getRepInfo(l);
    for (int k = 1; k < *max && k < 4; k++)
        mults[k + 1] = info ? info[k] : 0;
}

int* OrderRepCount(int* repcnt, int* reps, int st_dim, int fill) {
    if (st_dim != 4) {
        Alert("OrderRepCount", 0, 212404, "This routine should only be called in four dimensions");
        return nullptr;
    }
    static const int patterns[6][4] = {{0, 1, 0, 1}, {1, 1, 0, 0}, {1, 0, 0, 1},
                                       {1, 1, 0, 1}, {0, 1, 0, 0}, {0, 0, 0, 1}};
    const int width = st_dim + 10;
    std::fill(repcnt, repcnt + 6, 0);
    for (int v = 0; v < fill; v++) {
        const int* rep = reps + static_cast<std::ptrdiff_t>(v) * width;
        for (int p = 0; p < 6; p++)
            if (std::equal(rep, rep + 4, patterns[p]))
                repcnt[p] = reps[static_cast<std::ptrdiff_t>(fill) * width + v];
    }
    return repcnt;
}

int* ClosedSectorAnalysis(SusyType* ST, int st_dim, FILE* ofp) {
    const ClosedStamp now{QueryBulkInvariant(), QueryOrientifold()};
    if (now.bulk == lastClosed.bulk && now.orientifold == lastClosed.orientifold) {
        emit(ofp, "\nClosed sector as above\n\n");
        return lastHasCounts ? lastCounts.data() : nullptr;
    }
    lastClosed = now;
    if (infoLevel() > 0 && multipletPrinter)
        multipletPrinter(ST);
    const int passes = isSupersymmetric(ST) ? 1 : 2;
    for (int t = 0; t < passes; t++) {
        SusyReps.clear(st_dim + 10);
        collectPass(ST, t);
        printPass(ST, st_dim, ofp, t);
    }
    // Counts exist only for four dimensions; elsewhere there are none, and that is no error.
    if (st_dim == 4) {
        std::vector<int> packed = SusyReps.packed();
        lastHasCounts = OrderRepCount(lastCounts.data(), packed.data(), st_dim, SusyReps.size());
    } else {
        lastHasCounts = false;
    }
    return lastHasCounts ? lastCounts.data() : nullptr;
}

int* printClosedSectorInfo(FILE* ofp, int ori) {
    Heterotic* H = getStringSpectrum(0);
    if (!H)
        return nullptr; // no table to take the space-time symmetry from
    SusySides s;
    getSpaceTimeSymmetry(H, &s.ST, 'I');
    const int dim = H->SpaceTimeDim;
    if (ofp) {
        std::fprintf(ofp, ">>>>>>>>> Orientifold nr %d\n", ori);
        setStoredOrientifold(ori);
        printOrientationInfo(getOrientifoldByNumber(ori), ofp);
        std::fprintf(ofp, ">>>>>>>>> Closed sector\n\n");
    } else {
        setStoredOrientifold(ori);
    }
    return ClosedSectorAnalysis(&s.ST, dim, ofp);
}
