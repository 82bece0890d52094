// Boundary conjugates and Chan-Paton group types of an orientifold record. The conjugate of a is
// the boundary b with A(0, a, b) = 1; a self-conjugate boundary carries an orthogonal or a
// symplectic group by the sign of its Moebius amplitude against the tension. The amplitudes read
// the current record, so the record is made current for the computation without moving the
// orientifold counter, and the caller's record comes back afterwards.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <cmath>

using namespace crossbound_internal;

namespace {

constexpr double TensionZero = 1e-7;

// Makes a record current for the amplitudes and puts the caller's back on leaving.
class CurrentFor {
public:
    explicit CurrentFor(OrientifoldInfo* OI) : saved(CurrentOrientifold) {
        CurrentOrientifold = OI;
    }
    ~CurrentFor() { CurrentOrientifold = saved; }
    CurrentFor(const CurrentFor&) = delete;
    CurrentFor& operator=(const CurrentFor&) = delete;

private:
    OrientifoldInfo* saved;
};

void prepare(OrientifoldInfo* OI, const char* routine) {
    if (OI->ModInvNr != QueryBulkInvariant()) {
        Alert(routine, 0, 212404, "Orientifold %p does not match bulk invariant; resetting",
              static_cast<void*>(OI));
        allocateOrientifoldInfo_stage2(&OI);
    }
    for (int a = 0; a < BoundaryLabelCount; a++)
        OI->Conjugates[a] = -1;
    debugLine("Computing boundary conjugates for Orientifold %p\n", static_cast<void*>(OI));
}

void reportMissing(OrientifoldInfo* OI, int a, int c) {
    Alert("loadOrientifoldConjugates", 0, 212404, "No conjugate for %d", a);
    Print("Present value: %d\n", OI->Conjugates[a]);
    Print("Current conjugates\n");
    for (int b = 0; b < BoundaryLabelCount; b++)
        Print("%5d: %5d\n", b, OI->Conjugates[b]);
    for (int b = 0; b < BoundaryLabelCount; b++)
        if (getAnnulus(0, a, b) == 1)
            Print("Conjugate: %d (c=%d should be smaller)\n", b, c);
}

// The first unassigned label from c upward that a meets with the identity; -1 for none.
int findConjugate(const OrientifoldInfo* OI, int a, int c) {
    for (int b = c; b < BoundaryLabelCount; b++)
        if (OI->Conjugates[b] == -1 && getAnnulus(0, a, b) == 1)
            return b;
    return -1;
}

void pair(OrientifoldInfo* OI, int a, int b) {
    OI->Conjugates[a] = b;
    OI->Conjugates[b] = a;
}

// Where the search for a's conjugate may start: the orbit of the conjugate primary.
int searchStart(int a) {
    if (ModularOrbitsAvailable() != QueryCFT())
        return 0;
    return getFirstBoundaryForPrimary(getOrbitStart(getConjugate(getBoundaryField(a))));
}

// Type of a self-conjugate boundary from M(0, a); 3 when the amplitude vanishes.
int selfConjugateType(const OrientifoldInfo* OI, int a) {
    const int M = getMoebius(0, a);
    if (M == 0)
        return 3;
    if (std::fabs(OI->Tension) < TensionZero)
        return 2;
    return M * OI->Tension > 0 ? 1 : -1;
}

int maximalCP(int a, const OrientifoldInfo* OI) {
    double R, I;
    getCurrentReflectionCoefficient(0, a, &R, &I);
    const double ratio = std::fabs((OI->Conjugates[a] == a ? 4 : 2) * OI->Tension / R);
    return static_cast<int>(ratio + 1e-5);
}

} // namespace

void loadOrientifoldConjugates_OLD(OrientifoldInfo* OI, int progress) {
    Print("SERIOUS CONJUGATION ERROR\nTRYING OLD ROUTINE\n");
    prepare(OI, "loadOrientifoldConjugates_OLD");
    CurrentFor current(OI);
    loadIshibashiMetric(OI);
    bool complete = true;
    for (int a = 0; a < BoundaryLabelCount; a++) {
        if (progress == 1)
            incrementProgressInfo();
        if (OI->Conjugates[a] != -1)
            continue;
        const int b = findConjugate(OI, a, 0);
        if (b < 0) {
            reportMissing(OI, a, 0);
            complete = false;
            continue;
        }
        pair(OI, a, b);
    }
    for (int a = 0; a < BoundaryLabelCount; a++) {
        if (OI->Conjugates[a] != a) {
            OI->GroupTypes[a] = 0;
            continue;
        }
        const int type = selfConjugateType(OI, a);
        if (type == 3) {
            // No sign to read: the group stays undetermined, as on a zero tension.
            Alert("loadOrientifoldConjugates_OLD", 0, 212404,
                  "Unexpectedly vanishing Moebius amplitude");
            OI->GroupTypes[a] = 2;
            continue;
        }
        OI->GroupTypes[a] = type;
    }
    // Tables with a boundary left without conjugate are not trusted by the next caller.
    if (!complete)
        return;
    OI->ConjugatesAvailable = OI->OrientifoldNr;
    Print("OLD ROUTINE SUCCESSFULL\n");
}

void loadOrientifoldConjugates(OrientifoldInfo* OI, int progress) {
    if (OI->ConjugatesAvailable == OI->OrientifoldNr && OI->ModInvNr == QueryBulkInvariant())
        return;
    prepare(OI, "loadOrientifoldConjugates");
    {
        CurrentFor current(OI);
        loadIshibashiMetric(OI);
        const bool orbits = CrossBoundOrbitsAvailable() != 0;
        bool failed = false;
        for (int a = 0; a < BoundaryLabelCount && !failed; a++) {
            if (progress == 1)
                incrementProgressInfo();
            if (OI->Conjugates[a] != -1)
                continue;
            const int c = searchStart(a);
            const int b = findConjugate(OI, a, c);
            if (b < 0) {
                reportMissing(OI, a, c);
                failed = true;
                break;
            }
            pair(OI, a, b);
            if (orbits)
                for (int t = 0; t < BoundaryOrder; t++)
                    pair(OI, FastBoundaryCurrentFusion(t, a),
                         FastBoundaryCurrentInverseFusion(t, b));
        }
        for (int a = 0; a < BoundaryLabelCount && !failed; a++) {
            if (OI->Conjugates[a] != a) {
                OI->GroupTypes[a] = 0;
                continue;
            }
            OI->GroupTypes[a] = selfConjugateType(OI, a);
            if (OI->GroupTypes[a] == 3) {
                Alert("loadOrientifoldConjugates", 0, 212404,
                      "Unexpectedly vanishing Moebius amplitude");
                failed = true;
            }
        }
        if (!failed) {
            OI->ConjugatesAvailable = OI->OrientifoldNr;
            return;
        }
    }
    loadOrientifoldConjugates_OLD(OI, 0);
}

void loadAllOrientifoldConjugates(int exclude_zero_tension) {
    int N;
    OrientifoldInfo** list = getOrientifolds(&N);
    int total = 0;
    for (int i = 0; i < N; i++) {
        loadIshibashiMetric(list[i]);
        if (!exclude_zero_tension || std::fabs(list[i]->Tension) >= TensionZero)
            total += BoundaryLabelCount;
    }
    startProgressInfo("Computing boundary conjugates", total, 0);
    for (int i = 0; i < N; i++)
        if (!exclude_zero_tension || std::fabs(list[i]->Tension) >= TensionZero)
            loadOrientifoldConjugates(list[i], 1);
    stopProgressInfo("Computing boundary conjugates");
}

int BoundaryConjugate(int i) {
    if (i < 0 || i >= BoundaryLabelCount) {
        Alert("BoundaryConjugate", 0, 212404, "No boundary conjugate for boundary %d", i);
        return -1;
    }
    if (currentBulk()->simpleCurrentInvariant) {
        OrientifoldInfo* OI = currentRecord();
        loadOrientifoldConjugates(OI, 0);
        if (OI->Conjugates[i] >= 0)
            return OI->Conjugates[i];
    } else {
        if (getAnnulus(0, i, i) == 1)
            return i;
        for (int b = 0; b < BoundaryLabelCount; b++)
            if (getAnnulus(0, i, b) == 1)
                return b;
    }
    Alert("BoundaryConjugate", 0, 212404, "No boundary conjugate for boundary %d", i);
    return -1;
}

int MaximalCPGroup(int a, int i) {
    OrientifoldInfo* OI = getOrientifoldByNumber(i);
    if (!OI || a < 0 || a >= BoundaryLabelCount) {
        Alert("MaximalCPGroup", 0, 212404, "No orientifold %d or boundary %d", i, a);
        return 0;
    }
    loadOrientifoldConjugates(OI, 0);
    return maximalCP(a, OI);
}

void printMaximalCPGroup(int a, OrientifoldInfo* OI) {
    loadOrientifoldConjugates(OI, 0);
    const int N = maximalCP(a, OI);
    if (OI->Conjugates[a] == a)
        Print("a=%d; i=%d: O/S-group, N_max=%d\n", a, OI->SequenceNumber, N);
    else
        Print("a=%d; i=%d: U-group, N_max=%d\n", a, OI->SequenceNumber, N);
}

void getCurrentReflectionCoefficientTransposeConjugated(int a, int m, double* R, double* I) {
    const int c = BoundaryConjugate(a);
    if (c < 0) {
        *R = *I = 0.0;
        return;
    }
    getCurrentReflectionCoefficient(m, c, R, I);
}

int getClassifyingCoefficient(int i, int j, int k) {
    return GenericVerlinde(i, j, k, IshibashiLabelCount, getCurrentReflectionCoefficientTranspose,
                           getCurrentReflectionCoefficientTranspose,
                           getCurrentReflectionCoefficientTransposeConjugated,
                           getCurrentReflectionCoefficientTranspose);
}

int getFusionForClassifyingCoefficient(int i, int j, int k) {
    return GenericVerlinde(getIshibashiField(i), getIshibashiField(j), getIshibashiField(k),
                           getTotalPrimaries(), compS, compS, compS, compS);
}
