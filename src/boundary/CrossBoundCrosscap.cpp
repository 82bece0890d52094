// Crosscap coefficients, the Ishibashi metric and the orientifold choice behind them: the Klein
// bottle current K and one crosscap sign per cyclic factor of the bulk group. The choice fixes,
// for every group element, a correction sign and phase (a quadratic function on the group);
// those give the projection signs of the crosscap sum and the phase g_m that relates each
// Ishibashi state to its image under orientation reversal.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

using namespace crossbound_internal;

namespace {

constexpr int Unset = INT_MAX;

// exp(2 pi i k / PhasePeriod) for k < PhasePeriod.
int PhasePeriod = 0;
std::vector<double> PhasesR, PhasesI;
int phaseCurrents = -1;

const IshibashiLabel& ishibashi(int m) {
    return IshibashiLabels[static_cast<std::size_t>(m)];
}

const SCData* bulkData() {
    const BulkInvariant* bi = currentBulk();
    return bi->MD && bi->MD->dg ? bi->MD : nullptr;
}

// A complex number counts as positive with real part above the tolerance, or real part within it
// and imaginary part not below it.
bool isPositive(double re, double im) {
    return re > Tolerance || (std::fabs(re) <= Tolerance && im >= -Tolerance);
}

void bringToBulk(OrientifoldInfo* OI, const char* routine) {
    if (OI->ModInvNr == QueryBulkInvariant())
        return;
    Alert(routine, 0, 212404, "Orientifold %p does not match bulk invariant; resetting",
          static_cast<void*>(OI));
    allocateOrientifoldInfo_stage2(&OI);
}

// The order of element e by repeated multiplication.
int elementOrder(Discrete_Group* dg, int e) {
    int n = 1;
    for (int x = e; x != 0 && n <= dg->Order; n++)
        x = DG_product(x, e, dg);
    return n;
}

void setPhase(OrientifoldInfo* OI, int e, rat q) {
    simplifyRat(&q);
    OI->CorrectionPhases[e] = q.num;
    OI->PhaseDenoms[e] = q.den;
}

rat phaseOf(const OrientifoldInfo* OI, int e) {
    return rat{OI->CorrectionPhases[e], OI->PhaseDenoms[e]};
}

rat scaled(rat a, int n) {
    rat f{n, 1}, r;
    multiplyRat(&a, &f, &r);
    simplifyRat(&r);
    return r;
}

// The generator of cyclic factor k.
int factorGenerator(Discrete_Group* dg, int k) {
    std::vector<int> d(static_cast<std::size_t>(dg->Mult), 0);
    d[static_cast<std::size_t>(k)] = 1;
    return DG_findElement(dg, d.data());
}

// Phases and signs of the factor generators.
void generatorPhases(SCData* MD, OrientifoldInfo* OI) {
    Discrete_Group* dg = MD->dg;
    for (int k = 0; k < dg->Mult; k++) {
        const int g = factorGenerator(dg, k), N = dg->Orders[k];
        rat A = *computeXIJ(g, g, MD);
        if (N % 2 == 1) {
            A = scaled(A, N + 1);
            OI->CorrectionSigns[g] = 1;
        } else {
            OI->CorrectionSigns[g] = OI->CrosscapSigns[k];
        }
        if (OI->KBC != 0) {
            const rat Q = scaled(*simpleCurrentCharge(MD->map[g], OI->KBC), N + 1);
            addRat(&A, &Q, &A);
        }
        setPhase(OI, g, A);
        if (N % 2 == 0 && computeProjectionSign(OI, MD->map[g], OI->CorrectionPhases[g],
                                                OI->PhaseDenoms[g]) == -1)
            setPhase(OI, g, rat{A.num + A.den, A.den});
    }
}

// One pass of the closure; the number of phases it set.
int closurePass(SCData* MD, OrientifoldInfo* OI) {
    Discrete_Group* dg = MD->dg;
    int added = 0;
    for (int a = 0; a < dg->Order; a++) {
        if (OI->PhaseDenoms[a] == Unset)
            continue;
        for (int b = 0; b < dg->Order; b++) {
            if (OI->PhaseDenoms[b] == Unset)
                continue;
            const int c = DG_product(a, b, dg);
            OI->CorrectionSigns[c] = OI->CorrectionSigns[a] * OI->CorrectionSigns[b];
            if (OI->PhaseDenoms[c] != Unset)
                continue;
            rat pa = phaseOf(OI, a), pb = phaseOf(OI, b), s;
            const rat x = scaled(*computeXIJ(a, b, MD), 2);
            addRat(&pa, &x, &s);
            addRat(&s, &pb, &s);
            setPhase(OI, c, s);
            added++;
        }
    }
    return added;
}

} // namespace

// ============================================================ Signs

void getFullCrosscapSigns(int* bas_signs, SCData* MD, int* crosscap) {
    Discrete_Group* dg = MD->dg;
    for (int e = 0; e < dg->Order; e++) {
        crosscap[e] = 1;
        for (int k = 0; k < dg->Mult; k++)
            if (DG_decomp(dg, e, k) % 2 == 1)
                crosscap[e] *= bas_signs[k];
    }
}

int* getCrosscapSigns(int* crosscap) {
    static std::vector<int> signs;
    const SCData* MD = bulkData();
    const int Mult = MD ? MD->dg->Mult : 0;
    signs.assign(static_cast<std::size_t>(Mult) + 1, 1);
    for (int k = 0; k < Mult; k++)
        signs[static_cast<std::size_t>(k)] = crosscap[factorGenerator(MD->dg, k)];
    return signs.data();
}

int* checkCrosscapSigns(int* crosscap, const char* origin) {
    int* basic = getCrosscapSigns(crosscap);
    SCData* MD = currentBulk()->MD;
    if (!MD || !MD->dg)
        return basic;
    std::vector<int> full(static_cast<std::size_t>(MD->dg->Order));
    getFullCrosscapSigns(basic, MD, full.data());
    for (int e = 0; e < MD->dg->Order; e++)
        if (full[static_cast<std::size_t>(e)] != crosscap[e])
            Alert("checkCrosscapSigns", 0, 212404, "Crosscap sign inconsistency in %s", origin);
    return basic;
}

// ============================================================ Editing the choice

namespace {

void choiceChanged(OrientifoldInfo* OI) {
    OI->OrientifoldNr++;
    OI->CrosscapFlip = 1;
    OrientifoldCounter++;
}

} // namespace

int verifyKleinBottleCurrent(OrientifoldInfo* OI) {
    const SCData* MD = bulkData();
    if (!MD)
        return 1;
    Discrete_Group* dg = MD->dg;
    for (int e = 1; e < dg->Order; e++) {
        if (elementOrder(dg, e) != 2)
            continue;
        if (simpleCurrentCharge(MD->map[e], OI->KBC)->num != 0)
            Alert("setKlein", 0, 220302,
                  "Klein bottle inconsistent with bulk invariant.\nThis will probably lead to "
                  "integrality violations.\nYou may continue to find out.\n");
    }
    const int k = OI->KBC >= 0 && OI->KBC < getTotalCurrents() ? MD->inverse_map[OI->KBC] : -1;
    if (k > 0)
        Alert("setKlein", 1, 100201,
              "Klein bottle current is an element of the simple current group;\nThis has no "
              "effect (up to crosscap sign changes).");
    return 1;
}

int setQUELTKleinBottleCurrent(OrientifoldInfo* OI, int value) {
    const BulkInvariant* bi = currentBulk();
    if (!bi->simpleCurrentInvariant && value != 0) {
        Alert("setKlein", 0, 100301,
              "Non-trivial Klein bottle choices not allowed for "
              "exceptional MIPF");
        return 0;
    }
    // An exceptional invariant's Klein bottle lives outside the record, which is never sized for
    // it: the only current it admits, 0, leaves nothing to set.
    if (!bi->simpleCurrentInvariant && OI->ModInvNr != QueryBulkInvariant())
        return 1;
    if (OI->ModInvNr != QueryBulkInvariant()) {
        Alert("setKlein", 1, 212404, "Orientifold/Bulk invariant mismatch (%p)",
              static_cast<void*>(OI));
        return 0;
    }
    if (value != OI->KBC)
        choiceChanged(OI);
    OI->KBC = value;
    if (value == 0 || bi->trivial == 1)
        return 1;
    return verifyKleinBottleCurrent(OI);
}

int setKlein(int value) {
    return setQUELTKleinBottleCurrent(currentRecord(), value);
}

int setQUELTCrosscapSigns(int parnum, int* crosssigns, OrientifoldInfo* OI) {
    const BulkInvariant* bi = currentBulk();
    if (!bi) {
        Alert("setCrosscapSigns", 0, 212404, "NULL bulk pointer");
        return 0;
    }
    if (bi->trivial == 1) {
        Alert("setCrosscapSigns", 1, 100302, "No crosscap signs allowed for diagonal invariant");
        return 1;
    }
    if (!bi->simpleCurrentInvariant) {
        Alert("setCrosscapSigns", 2, 100302, "No crosscap signs allowed for exceptional invariant");
        return 1;
    }
    if (OI->ModInvNr != QueryBulkInvariant()) {
        Alert("setCrosscapSigns", 3, 212404, "Orientifold/Bulk invariant mismatch (%p)",
              static_cast<void*>(OI));
        return 0;
    }
    const SCData* MD = bulkData();
    const int Mult = MD ? MD->dg->Mult : 0;
    bool changed = false;
    for (int k = 0; k < Mult; k++) {
        int s = k < parnum ? crosssigns[k] : 1;
        if (s == -1 && MD->dg->Orders[k] % 2 == 1) {
            Alert("setCrosscapSigns", 4, 100302,
                  "Negative sign not allowed in Z_%d factor; ignored", MD->dg->Orders[k]);
            s = 1;
        }
        changed = changed || OI->CrosscapSigns[k] != s;
        OI->CrosscapSigns[k] = s;
    }
    if (changed)
        choiceChanged(OI);
    if (parnum > Mult)
        Alert("setCrosscapSigns", 5, 100302, "Too many crosscap signs; remainder ignored");
    return 1;
}

int setCrosscapSigns(int parnum, int* crosssigns) {
    return setQUELTCrosscapSigns(parnum, crosssigns, currentRecord());
}

// ============================================================ Correction phases

int closeCorrectionPhases(SCData* MD, OrientifoldInfo* OI) {
    const int Order = MD->dg->Order;
    for (;;) {
        int missing = 0;
        for (int e = 0; e < Order; e++)
            missing += OI->PhaseDenoms[e] == Unset ? 1 : 0;
        if (missing == 0)
            return 1;
        if (closurePass(MD, OI) == 0) {
            Alert("loadCorrectionPhases", 1, 212404,
                  "Correction phases not determined for %d group elements", missing);
            return 0;
        }
    }
}

void crossbound_internal::loadCorrectionPhases(SCData* MD, OrientifoldInfo* OI) {
    if (OI->CorrectionPhasesAvailable == OI->OrientifoldNr && OI->ModInvNr == QueryBulkInvariant())
        return;
    bringToBulk(OI, "loadCorrectionPhases");
    if (!MD || !MD->dg) {
        OI->CorrectionPhases[0] = 0;
        OI->PhaseDenoms[0] = 1;
        OI->CorrectionSigns[0] = 1;
        OI->CorrectionPhasesAvailable = OI->OrientifoldNr;
        return;
    }
    for (int e = 0; e < MD->dg->Order; e++)
        OI->PhaseDenoms[e] = Unset;
    OI->CorrectionPhases[0] = 0;
    OI->PhaseDenoms[0] = 1;
    OI->CorrectionSigns[0] = 1;
    generatorPhases(MD, OI);
    if (closeCorrectionPhases(MD, OI))
        OI->CorrectionPhasesAvailable = OI->OrientifoldNr;
}

// ============================================================ Projection signs and the metric

int computeProjectionSign(OrientifoldInfo* OI, int J, int p, int q) {
    rat h;
    if (OI->KBC != 0) {
        const rat hk = *ratWeight(OI->KBC);
        h = *ratWeight(simpleFusion(J, OI->KBC));
        subtractRat(&h, &hk, &h);
    } else {
        h = *ratWeight(J);
    }
    simplifyRat(&h);
    const long long n = h.num, d = h.den, Q = q;
    const long long top = Q * n + static_cast<long long>(p) * d, bottom = Q * d;
    if (top % bottom != 0)
        Alert("computeProjectionSign", 0, 212404,
              "Phase found, sign expected: \nCurrent J: %d; Weight JK: %d/%d; Phase: %d/%d", J,
              h.num, h.den, p, q);
    const long long parity = std::llabs((top / bottom) % 2);
    return 1 - 2 * static_cast<int>(parity);
}

void loadPhases(int Ncur) {
    if (Ncur == phaseCurrents)
        return;
    phaseCurrents = Ncur;
    PhasePeriod = 2 * Ncur;
    PhasesR.assign(static_cast<std::size_t>(PhasePeriod), 0.0);
    PhasesI.assign(static_cast<std::size_t>(PhasePeriod), 0.0);
    for (int k = 0; k < PhasePeriod; k++) {
        const double t = 2 * std::numbers::pi * k / PhasePeriod;
        // Exact at the quarter turns, so that real coefficients stay real.
        const bool quarter = (4 * k) % PhasePeriod == 0;
        static constexpr double q[] = {1, 0, -1, 0};
        PhasesR[static_cast<std::size_t>(k)] = quarter ? q[(4 * k / PhasePeriod) % 4] : std::cos(t);
        PhasesI[static_cast<std::size_t>(k)] =
            quarter ? q[(4 * k / PhasePeriod + 3) % 4] : std::sin(t);
    }
}

namespace {

// The exponent of element j's part of the metric: the correction sign and exp(-i pi phi(j)).
int elementExponent(const OrientifoldInfo* OI, int j, int k) {
    const int P = PhasePeriod;
    if (OI->CorrectionSigns[j] == -1)
        k = mod(k + P / 2, P);
    const long long shift =
        (static_cast<long long>(P) * OI->CorrectionPhases[j] / 2) / OI->PhaseDenoms[j];
    return static_cast<int>(((k - shift) % P + P) % P);
}

void fillMetric(OrientifoldInfo* OI) {
    const SCData* MD = bulkData();
    const int P = PhasePeriod;
    for (int m = 0; m < IshibashiLabelCount; m++) {
        const IshibashiLabel& l = ishibashi(m);
        int k = 0;
        if (OI->KBC != 0) {
            rat Q = *simpleCurrentCharge(OI->KBC, l.label);
            simplifyRat(&Q);
            k = static_cast<int>(((-static_cast<long long>(P) * Q.num / Q.den) % P + P) % P);
        }
        if (l.current != 0 && MD) {
            const int j = MD->inverse_map[l.current];
            if (j >= 0)
                k = elementExponent(OI, j, k);
        }
        OI->IshibashiMetric[m] = k;
    }
}

} // namespace

void crossbound_internal::loadIshibashiMetric(OrientifoldInfo* OI) {
    if (OI->IshibashiMetricAvailable == OI->OrientifoldNr && OI->ModInvNr == QueryBulkInvariant())
        return;
    bringToBulk(OI, "loadIshibashiMetric");
    debugLine("Loading Ishibashi metric for Orientifold %p\n", static_cast<void*>(OI));
    BulkInvariant* bi = currentBulk();
    loadCorrectionPhases(bi->MD, OI);
    loadPhases(getTotalCurrents());
    fillMetric(OI);
    OI->IshibashiMetricAvailable = OI->OrientifoldNr;
    double re, im;
    getQUELTCrosscapCoefficient(&ishibashi(0), bi->trivial, bi->MD, OI, &re, &im);
    if (!ZeroCheck(im))
        Alert("loadIshibashiMetric", 0, 212404,
              "Imaginary dilaton crosscap coefficient: (%15.7f,%15.7f)", re, im);
    OI->Tension = re;
    if (!isPositive(re, im)) {
        // The sign convention: every crosscap of the orientifold changes sign, and whatever was
        // built from the old sign is stale.
        OI->OrientifoldNr++;
        OI->Tension = std::fabs(re);
        OI->CrosscapFlip = -1;
        OI->CrosscapsAvailable = OI->ConjugatesAvailable = OI->GlobalAnomaliesAvailable = -2;
        loadIshibashiMetric(OI);
        return;
    }
    if (useOrbits() != 0)
        loadModInvGroupCharges(OI);
}

// Without a metric for the current invariant (an exceptional one) every phase is 1.
void getIshibashiMetric(int m, int* n, int* d) {
    const OrientifoldInfo* OI = CurrentOrientifold;
    const bool loaded = OI && OI->ModInvNr == QueryBulkInvariant() &&
                        OI->IshibashiMetricAvailable == OI->OrientifoldNr;
    *n = loaded ? OI->IshibashiMetric[m] : 0;
    *d = PhasePeriod > 0 ? PhasePeriod : 1;
}

const char* IshibashiMetricPhaseString(OrientifoldInfo* OI, int J) {
    static char text[30];
    loadIshibashiMetric(OI);
    const int k = elementExponent(OI, J, 0);
    if (k == 0) {
        std::snprintf(text, sizeof text, "  1        ");
        return text;
    }
    const int g = GCD(k, PhasePeriod);
    std::snprintf(text, sizeof text, "e^{2 pi (%d/%d)}", k / g, PhasePeriod / g);
    return text;
}

// ============================================================ Crosscap coefficients

void getQUELTCrosscapCoefficient(const IshibashiLabel* Ishi, int trivial, SCData* MD,
                                 OrientifoldInfo* OI, double* R, double* I) {
    initPMATRIX();
    *R = *I = 0.0;
    if (Ishi->current != 0)
        return;
    const int i = Ishi->label;
    if (trivial == 1 || !MD || !MD->dg) {
        compP(OI->KBC, i, R, I);
        *R *= OI->CrosscapFlip;
        *I *= OI->CrosscapFlip;
        return;
    }
    loadCorrectionPhases(MD, OI);
    const int G = MD->dg->Order;
    double sr = 0.0, si = 0.0;
    for (int L = 0; L < G; L++) {
        const int eps =
            OI->CorrectionSigns[L] *
            computeProjectionSign(OI, MD->map[L], OI->CorrectionPhases[L], OI->PhaseDenoms[L]);
        double pr, pi;
        compP(simpleFusion(OI->KBC, MD->map[L]), i, &pr, &pi);
        sr += eps * pr;
        si += eps * pi;
    }
    const double f = OI->CrosscapFlip / std::sqrt(static_cast<double>(G));
    *R = f * sr;
    *I = f * si;
}

void loadCrosscapCoefficients(OrientifoldInfo* OI) {
    if (OI->CrosscapsAvailable == OI->OrientifoldNr && OI->ModInvNr == QueryBulkInvariant())
        return;
    bringToBulk(OI, "loadCrosscapCoefficients");
    // The flip is settled first, so that the store holds the final sign.
    loadIshibashiMetric(OI);
    debugLine("Loading Crosscaps for Orientifold %p\n", static_cast<void*>(OI));
    char title[80];
    if (OI->SequenceNumber == -1)
        std::snprintf(title, sizeof title, "Loading crosscap coefficients");
    else
        std::snprintf(title, sizeof title, "Loading crosscap coefficients for orientifold %d",
                      OI->SequenceNumber);
    startProgressInfo(title, IshibashiLabelCount, 0);
    BulkInvariant* bi = currentBulk();
    double* C = OI->Crosscap.X;
    // A stop ends the display; the coefficients are needed whole.
    bool display = true;
    for (int m = 0; m < IshibashiLabelCount; m++) {
        if (display && incrementProgressInfo())
            display = false;
        getQUELTCrosscapCoefficient(&ishibashi(m), bi->trivial, bi->MD, OI, &C[m],
                                    &C[m + IshibashiLabelCount]);
    }
    OI->CrosscapsAvailable = OI->OrientifoldNr;
    if (display)
        stopProgressInfo(title);
}

void getCurrentCrosscapCoefficient(int m, int, double* R, double* I) {
    BulkInvariant* bi = currentBulk();
    if (!bi->simpleCurrentInvariant) {
        const ExceptBoundData* EDT = bi->EDT;
        if (!EDT || EDT->CrosscapsLoaded != 1 || !EDT->Gamma) {
            Alert("getCurrentCrosscapCoefficient", 0, 100302, "Crosscaps not available");
            *R = *I = 0.0;
            return;
        }
        const int i = ishibashi(m).label;
        *R = EDT->Gamma[i];
        *I = EDT->Gamma[i + EDT->Nprimaries];
        return;
    }
    OrientifoldInfo* OI = currentRecord();
    if (useOrbits() >= 2 && CrossBoundOrbitsAvailable()) {
        loadCrosscapCoefficients(OI);
        *R = OI->Crosscap[m];
        *I = OI->Crosscap[m + IshibashiLabelCount];
        return;
    }
    loadIshibashiMetric(OI);
    getQUELTCrosscapCoefficient(&ishibashi(m), bi->trivial, bi->MD, OI, R, I);
}

namespace {

void timesMetric(int m, double* R, double* I) {
    OrientifoldInfo* OI = currentRecord();
    loadIshibashiMetric(OI);
    const std::size_t k = static_cast<std::size_t>(OI->IshibashiMetric[m]);
    const double pr = *R * PhasesR[k] - *I * PhasesI[k];
    const double pi = *R * PhasesI[k] + *I * PhasesR[k];
    *R = pr;
    *I = pi;
}

} // namespace

void getCurrentCrosscapCoefficientFlipped(int m, int column, double* R, double* I) {
    getCurrentCrosscapCoefficient(m, column, R, I);
    if (currentBulk()->simpleCurrentInvariant)
        timesMetric(m, R, I);
}

int isCrosscapAvailable() {
    const BulkInvariant* bi = currentBulk();
    if (bi->symmetric != 1)
        return 0;
    if (bi->simpleCurrentInvariant)
        return 1;
    return bi->EDT && bi->EDT->CrosscapsLoaded == 1 ? 1 : 0;
}

// ============================================================ Flipped reflection coefficients

void getCurrentReflectionCoefficientFlipped(int m, int a, double* R, double* I) {
    if (!currentBulk()->simpleCurrentInvariant) {
        getCurrentReflectionCoefficient(m, a, R, I);
        return;
    }
    getCurrentReflectionCoefficient(getIshibashiMetricFlip(m), a, R, I);
    timesMetric(m, R, I);
}

void getCurrentReflectionCoefficientFlipped_orb(int o, int a, double* R, double* I) {
    const int rep = getIshibashiOrbitRepresentative(o);
    getCurrentReflectionCoefficientFlipped(rep, a, R, I);
    const double size = ishibashi(rep).orbitsize;
    *R *= size;
    *I *= size;
}

void getFlippedReflectionCoefficientFromStorage(int m, int a, double* R, double* I) {
    getReflectionCoefficientFromStorage(getIshibashiMetricFlip(m), a, 0, R, I);
    timesMetric(m, R, I);
}

// ============================================================ Displays

namespace {

// The trivial invariant has no signs to choose.
void printChoice(OrientifoldInfo* OI) {
    Print("Klein bottle current:       %d\n", OI->KBC);
    if (currentBulk()->trivial == 1) {
        Print("Invariant is trivial (diagonal case, no crosscap sign choices)\n");
        return;
    }
    const SCData* MD = bulkData();
    PrintVec(MD ? MD->dg->Mult : 0, OI->CrosscapSigns.X, "Selected crosscap signs: ");
}

void printPhaseTable(OrientifoldInfo* OI) {
    SCData* MD = currentBulk()->MD;
    loadCorrectionPhases(MD, OI);
    Print("\nPhases used in boundary coefficients and crosscap computation:\n");
    Print("---------------------------------------------------------------\n");
    Print("Current  Weight  Crosscap_sign    Beta(J,K)      FCFT_shift\n");
    for (int e = 0; e < MD->dg->Order; e++) {
        const int J = MD->map[e];
        if (J < 0) {
            Alert("showSigns", 0, 212404, "Negative current index");
            continue;
        }
        const rat h = *ratWeight(J);
        const int sign = computeProjectionSign(OI, J, OI->CorrectionPhases[e], OI->PhaseDenoms[e]);
        if (J != 0 && !MOD_fixedPointCurrent(J)) {
            Print("%7d   %2d/%-2d %10d           *               *\n", J, h.num, h.den, sign);
            continue;
        }
        const int shift = J == 0 ? 0 : MOD_getFCFTshift(J);
        Print("%7d   %2d/%-2d %10d     %15s %7d\n", J, h.num, h.den, sign,
              IshibashiMetricPhaseString(OI, e), shift);
    }
}

} // namespace

void printOrientationInfo(OrientifoldInfo* OI, FILE* ofp) {
    std::fprintf(ofp, "Klein bottle current:       %d\n", OI->KBC);
    if (currentBulk()->trivial == 1) {
        std::fprintf(ofp, "Invariant is trivial (diagonal case, no crosscap sign choices)\n");
        return;
    }
    const SCData* MD = bulkData();
    std::fprintf(ofp, "Crosscap signs: ");
    for (int k = 0; MD && k < MD->dg->Mult; k++)
        std::fprintf(ofp, "%3d", OI->CrosscapSigns[k]);
    std::fprintf(ofp, "\n");
}

void getKleinBottlePhase(int label, OrientifoldInfo* OI, int* num, int* den) {
    rat Q = *simpleCurrentCharge(OI->KBC, label);
    simplifyRat(&Q);
    *num = Q.num;
    *den = Q.den;
}

void showOrientationInfo(OrientifoldInfo* OI) {
    printChoice(OI);
    loadIshibashiMetric(OI);
    Print("O-plane tension: %15.7f\n", unsignedZero(OI->Tension, 7));
}

void showSigns() {
    const BulkInvariant* bi = currentBulk();
    if (!bi->simpleCurrentInvariant) {
        Print("Not a simple current invariant; signs not defined\n");
        return;
    }
    if (bi->symmetric != 1) {
        Print("Invariant is not symmetric; signs not meaningful\n");
        return;
    }
    OrientifoldInfo* OI = CurrentOrientifold;
    showOrientationInfo(OI);
    if (bi->trivial != 1 && bulkData())
        printPhaseTable(OI);
}
