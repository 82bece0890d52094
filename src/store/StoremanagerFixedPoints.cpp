// Fixed-point resolution data of a block: for every simple current with fixed points its
// fixed-point theory (an ordinary block of the store), the shift that enters the resolution
// phases, and the label of each fixed point in that theory. The data are built on the first
// lookup, since most blocks never resolve fixed points.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <climits>
#include <cstddef>

using store_internal::allocateFor;
using store_internal::fcftLabelRow;
using store_internal::fixedCurrentPosition;
using store_internal::reduceCurrent;

namespace {

AllocCount FixedPointWork = ALLOC_COUNTER("Storemanager fixed points");
GuardedArray<int> FoldedRep("FoldedRep", &FixedPointWork);

constexpr int NoFixedPoints = 100302;
constexpr int Inconsistent = 212404;

bool hasData(const SpectrumData* sd) {
    return sd->FixedPointCFT != nullptr;
}

// As fixedCurrentPosition, but a current left without a theory (after "Unmatched fixed points")
// counts as one without fixed points, so that nobody reads its unwritten data.
int positionOf(SpectrumData* sd, int reduced) {
    const int n = fixedCurrentPosition(sd, reduced);
    return n >= 0 && sd->FixedPointCFT[n] ? n : -1;
}

void fillLabelRow(SpectrumData* sd, int position, SpectrumData* F) {
    const int current = sd->FixedPointCurrents[position];
    int* folded = FoldedRep.reserve(sd->RepSize + 1);
    int* row = fcftLabelRow(sd, position);
    for (int i = 0; i < sd->Nprimaries; i++) {
        if (fold(SM_getRep(sd, i), folded, sd->type, sd->rank, sd->level, current) != 0)
            continue;
        row[i] = SM_getLabel(F, folded);
        if (row[i] < 0)
            Alert("SM_initFCFTData", 4, Inconsistent, "Fixed point label not found");
    }
}

bool validField(const SpectrumData* sd, int field) {
    return field >= 0 && field < sd->Nprimaries;
}

} // namespace

namespace store_internal {

int reduceCurrent(const SpectrumData* sd, int current) {
    return sd->type < 6 ? ConvertToBasic(current, sd->type, sd->rank) : current;
}

int fixedCurrentPosition(SpectrumData* sd, int reduced) {
    SM_initFCFTData(sd);
    if (!hasData(sd))
        return -1;
    for (int n = 0; n < sd->FCFTnumber; n++)
        if (sd->FixedPointCurrents[n] == reduced)
            return n;
    return -1;
}

int* fcftLabelRow(const SpectrumData* sd, int position) {
    return sd->FCFTlabels + static_cast<std::size_t>(position) * sd->Nprimaries;
}

} // namespace store_internal

void SM_initFCFTData(SpectrumData* sd) {
    if (sd->FCFTnumber <= 0 || hasData(sd))
        return;
    if (sd->type == 7) {
        SM_initOrbifoldFCFTdata(sd);
        return;
    }
    SM_allocFCFT(sd);
    const int n = sd->FCFTnumber;
    std::fill(sd->FCFTshifts, sd->FCFTshifts + n, 0);
    std::fill(sd->FCFTlabels, sd->FCFTlabels + static_cast<std::size_t>(n) * sd->Nprimaries, -1);
    for (int c = 0; c < n; c++) {
        int type = 0, rank = 0, level = 0, shift = 0;
        if (FCFT(sd->type, sd->rank, sd->level, sd->FixedPointCurrents[c], &type, &rank, &level,
                 &shift) != 0) {
            Alert("SM_initFCFTData", 3, Inconsistent, "Unmatched fixed points");
            return;
        }
        SpectrumData* F = SM_getData(type, rank, level);
        if (!F)
            continue;
        sd->FixedPointCFT[c] = F;
        sd->FCFTshifts[c] = shift;
        fillLabelRow(sd, c, F);
    }
}

int* SM_getFixedPointCurrents(SpectrumData* sd) {
    SM_initFCFTData(sd);
    return sd->FixedPointCurrents;
}

int* SM_getFCFTlabels(SpectrumData* sd) {
    SM_initFCFTData(sd);
    return sd->FCFTlabels;
}

int SM_getFCFTlbl(SpectrumData* sd, int current) {
    if (sd->FCFTnumber <= 0 && current != 0)
        return -1;
    const int reduced = reduceCurrent(sd, current);
    if (reduced == 0)
        return 0;
    const int n = positionOf(sd, reduced);
    return n < 0 ? -1 : n + 1;
}

SpectrumData* SM_getFCFT(SpectrumData* sd, int current) {
    const int n = SM_getFCFTlbl(sd, current);
    if (n == 0)
        return sd;
    return n < 0 ? nullptr : sd->FixedPointCFT[n - 1];
}

int SM_getFCFTshift(SpectrumData* sd, int current) {
    const int n = SM_getFCFTlbl(sd, current);
    if (n == 0)
        return 0;
    if (n < 0) {
        Alert("SM_getFCFTshift", 0, NoFixedPoints, "Current has no fixed points\n");
        return INT_MAX;
    }
    return sd->FCFTshifts[n - 1];
}

int SM_checkFP(SpectrumData* sd, int current, int field) {
    if (current == 0)
        return 1;
    if (sd->FCFTnumber <= 0 || !validField(sd, field))
        return 0;
    const int n = SM_getFCFTlbl(sd, current);
    if (n == 0)
        return 1;
    return n > 0 && fcftLabelRow(sd, n - 1)[field] != -1 ? 1 : 0;
}

int SM_getFPlabel(SpectrumData* sd, int current, int field) {
    if (current == 0)
        return field;
    if (sd->FCFTnumber <= 0 || !validField(sd, field))
        return -1;
    const int reduced = reduceCurrent(sd, current);
    if (reduced == 0) {
        Alert("SM_getFPlabel", 0, Inconsistent, "Unexpected label zero FCFT");
        return -2;
    }
    const int n = positionOf(sd, reduced);
    return n < 0 ? -1 : fcftLabelRow(sd, n)[field];
}

int SM_getFixedPoint(SpectrumData* sd, int currentLbl, int FCFTfield) {
    if (currentLbl == 0)
        return FCFTfield;
    SM_initFCFTData(sd);
    if (currentLbl < 1 || currentLbl > sd->FCFTnumber || !hasData(sd)) {
        Alert("SM_getFixedPoint", 0, Inconsistent, "FCFT label out of range");
        return -1;
    }
    const int* row = fcftLabelRow(sd, currentLbl - 1);
    // -1 marks the fields that are not fixed; it is never a label.
    if (FCFTfield >= 0)
        for (int i = 0; i < sd->Nprimaries; i++)
            if (row[i] == FCFTfield)
                return i;
    Alert("SM_getFixedPoint", 1, Inconsistent, "Fixed point not found");
    return -1;
}

int SM_getInducedCurrent(SpectrumData* sd, int current, int FCFTlbl) {
    if (FCFTlbl == 0)
        return current;
    const int f0 = SM_getFixedPoint(sd, FCFTlbl, 0);
    if (f0 < 0)
        return -1;
    const int x = SM_SimpleAction(sd, current, f0);
    return validField(sd, x) ? fcftLabelRow(sd, FCFTlbl - 1)[x] : -1;
}

SpectrumData* SM_createFCFT(int NP, const char* FCFTname, SpectrumData* cft, const int* FCFTlabels,
                            int size, int FCFTtype) {
    SpectrumData* sd = allocateSpectrumData(FCFTname);
    sd->type = 10;
    sd->rank = 0;
    sd->level = 0;
    sd->CentralCharge = cft->CentralCharge;
    sd->FCFT_type = FCFTtype;
    sd->RepSize = cft->RepSize;
    sd->S_Symmetry = 0;
    sd->StoreS = 1;
    sd->Nprimaries = size;
    sd->SimpleCurrents = DG_trivial();
    sd->exactWeights = 0;
    sd->Weight_denom = cft->Weight_denom;

    // Blocks sized for the larger of the two counts, so that neither can read past them.
    const auto N = static_cast<std::size_t>(std::max({NP, size, 1}));
    int* orbits = allocateFor<int>(sd, 3 * N, "Orbit data (FCFT)");
    sd->OrbitLabel = orbits;
    sd->OrbitGenerator = orbits + N;
    sd->OrbitPosition = orbits + 2 * N;
    std::fill(orbits, orbits + 3 * N, 0);
    for (int i = 0; i < size; i++)
        sd->OrbitLabel[i] = sd->OrbitGenerator[i] = i;
    sd->Norbits = size;

    const auto R = static_cast<std::size_t>(sd->RepSize);
    int* labels = allocateFor<int>(sd, (R + 1) * N, "Labels (FCFT)");
    std::fill(labels, labels + (R + 1) * N, 0);
    sd->ExtDynkin = labels;
    sd->Weight_num = labels + R * N;
    int next = 0;
    for (int i = 0; i < NP && next < size; i++) {
        if (FCFTlabels[i] == -1)
            continue;
        std::copy_n(SM_getRep(cft, i), R, sd->ExtDynkin + static_cast<std::size_t>(next) * R);
        sd->Weight_num[next++] = cft->Weight_num[i];
    }
    return sd;
}
