// The closed-field sums every intersection shares and the intersection numbers themselves.
#include "string/IntersectionsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"
#include "modular/ModularFileNames.h"
#include "numeric/MathUtility.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"

#include <complex>
#include <cstdio>
#include <string_view>
#include <vector>

using Complex = std::complex<double>;

namespace intersections {

INTERSECT intersect_fcn = nullptr;

} // namespace intersections

namespace {

using intersections::intersect_fcn;
using intersections::MasslessField;
using intersections::weightedMasslessFields;

int IntersectionsInitiated = -3;
int FailureReason = 3;
int* SuperSwitch = nullptr;
int* CheckMoebiusSwitch = nullptr;

// Plain method: one weight per Ishibashi label.
std::vector<Complex> Sfac;
// Orbit method: the weight F(c, o) at c * Norbit + o.
int Norbit = 0;
int DifCh = 0;
std::vector<int> chargeMap;
std::vector<Complex> FS;
// The cached variant: n_o R(o,a) F(c,o) and n_o conj(R(o,a)) F(c,o) of the remembered a.
std::vector<Complex> FSc, FScConj;
int CachedBoundary = -1;

int InitIntersectionWithoutOrbits() {
    return intersections::weightsPerIshibashi("Initializing intersection computation", compS, Sfac);
}

int chargeIndexOf(int field) {
    const int* q = getChargeVector(field);
    return q ? findChargeVector(q) : -1;
}

// The index of (qa - qb) mod N, componentwise.
int differenceIndex(const int* qa, const int* qb, std::vector<int>& v) {
    const int N = static_cast<int>(v.size());
    for (int j = 0; j < N; j++)
        v[static_cast<std::size_t>(j)] = ((qa[j] - qb[j]) % N + N) % N;
    return findChargeVector(v.data());
}

// Charge classes: the cosets of the trivial orientifold's charge list, numbered by their
// smallest index.
int buildChargeClasses() {
    const int N = getTotalCurrents();
    IntegerList* G = getTrivialModInvGroupCharges();
    const int size = G ? G->cnt : 0;
    chargeMap.assign(static_cast<std::size_t>(N), -1);
    DifCh = 0;
    const int stored = getNumberOfChargeVectors();
    std::vector<int> v(static_cast<std::size_t>(N));
    for (int q = 0; q < N && q < stored; q++) {
        if (chargeMap[static_cast<std::size_t>(q)] != -1)
            continue;
        for (int k = 0; k < size; k++) {
            const int idx = differenceIndex(getChargePointer(q), getChargePointer(G->list[k]), v);
            if (idx >= 0 && idx < N)
                chargeMap[static_cast<std::size_t>(idx)] = DifCh;
        }
        DifCh++;
    }
    if (size == 0 || N / size != DifCh) {
        Alert("InitFastIntersection", 0, 212404,
              "Charge count mismatch: Total %d, List %d,DifCh %d", N, size, DifCh);
        return 4;
    }
    return 0;
}

int InitFastIntersection() {
    Norbit = getNumberOfIshiOrbits();
    if (const int rc = buildChargeClasses())
        return rc;
    const std::vector<MasslessField> fields = weightedMasslessFields();
    FS.assign(static_cast<std::size_t>(Norbit) * static_cast<std::size_t>(DifCh), Complex());
    const char* title = "Initializing fast intersection computation";
    startProgressInfo(title, static_cast<double>(Norbit) * getTotalPrimaries(), 0);
    std::vector<int> classOf;
    for (const MasslessField& m : fields) {
        const int idx = chargeIndexOf(m.field);
        classOf.push_back(idx >= 0 ? chargeMap[static_cast<std::size_t>(idx)] : -1);
    }
    for (int o = 0; o < Norbit; o++) {
        const int r = getIshibashiFieldForOrbit(o);
        for (std::size_t k = 0; k < fields.size(); k++) {
            incrementProgressInfo();
            if (classOf[k] < 0)
                continue;
            double re = 0, im = 0;
            compS(fields[k].field, r, &re, &im);
            FS[static_cast<std::size_t>(classOf[k] * Norbit + o)] +=
                static_cast<double>(fields[k].weight) * Complex(re, -im);
        }
        double s0 = 0, s0i = 0;
        compS(0, r, &s0, &s0i);
        for (int c = 0; c < DifCh; c++)
            FS[static_cast<std::size_t>(c * Norbit + o)] /= s0;
    }
    stopProgressInfo(title);
    CachedBoundary = -1;
    return 0;
}

Complex reflection(int i, int a) {
    double re = 0, im = 0;
    getCurrentReflectionCoefficient(i, a, &re, &im);
    return {re, im};
}

Complex reflectionOrb(int o, int a) {
    double re = 0, im = 0;
    getCurrentReflectionCoefficient_orb(o, a, &re, &im);
    return {re, im};
}

// I(a,b) from the two sums, the chirality into chir; a sum that is not integral makes both so.
int finish(Complex ab, Complex ba, int* chir) {
    const int Iab = ComplexToInt(ab.real(), ab.imag()), Iba = ComplexToInt(ba.real(), ba.imag());
    *chir = Iab == intersections::NotIntegral || Iba == intersections::NotIntegral
                ? intersections::NotIntegral
                : Iab - Iba;
    return Iab;
}

// The charge classes c1 of (Qa - Qb) and c2 of (Qb - Qa).
void chargeClassesOf(int a, int b, int* c1, int* c2) {
    const int N = getTotalCurrents();
    std::vector<int> v(static_cast<std::size_t>(N));
    const int* qa = getChargeVector(getBoundaryField(a));
    const int* qb = getChargeVector(getBoundaryField(b));
    const int i1 = qa && qb ? differenceIndex(qa, qb, v) : -1;
    const int i2 = qa && qb ? differenceIndex(qb, qa, v) : -1;
    *c1 = i1 >= 0 && i1 < N ? chargeMap[static_cast<std::size_t>(i1)] : -1;
    *c2 = i2 >= 0 && i2 < N ? chargeMap[static_cast<std::size_t>(i2)] : -1;
}

} // namespace

namespace intersections {

int weightsPerIshibashi(const char* title, void (*matrix)(int, int, double*, double*),
                        std::vector<std::complex<double>>& weights) {
    const int NI = TotalIshibashi();
    const std::vector<MasslessField> fields = weightedMasslessFields();
    weights.assign(static_cast<std::size_t>(NI), Complex());
    startProgressInfo(title, NI, 1);
    for (int i = 0; i < NI; i++) {
        if (incrementProgressInfo()) {
            stopProgressInfo(title);
            return 4;
        }
        const int f = getIshibashiField(i);
        Complex sum;
        for (const MasslessField& m : fields) {
            double re = 0, im = 0;
            matrix(m.field, f, &re, &im);
            sum += static_cast<double>(m.weight) * Complex(re, -im);
        }
        double s0 = 0, s0i = 0;
        compS(0, f, &s0, &s0i);
        weights[static_cast<std::size_t>(i)] = sum / s0;
    }
    std::fflush(stdout);
    stopProgressInfo(title);
    return 0;
}

std::vector<MasslessField> weightedMasslessFields() {
    std::vector<MasslessField> fields;
    IntegerList* L = getMasslessLabels();
    for (int k = 0; L && k < L->cnt; k++) {
        const int m = L->list[k];
        const int* rep = getRepInfo(m);
        if (rep && rep[1] != 0)
            fields.push_back({m, rep[1]});
    }
    return fields;
}

int parameter(const char* name) {
    if (std::string_view(name) == "Super" && SuperSwitch)
        return *SuperSwitch;
    if (std::string_view(name) == "SM_search check_moebius" && CheckMoebiusSwitch)
        return *CheckMoebiusSwitch;
    return findInternalParameter(name) ? *static_cast<int*>(getIntParPointer(name)) : 0;
}

bool sumsReady(const char* routine) {
    if (IntersectionsInitiated == QueryBulkInvariant() && intersect_fcn)
        return true;
    if (InitIntersection() == 0)
        return true;
    Alert(routine, 0, 212404, "Intersections not initialized");
    return false;
}

int failureReason() {
    return FailureReason;
}

} // namespace intersections

void initializeIntersections() {
    SuperSwitch = static_cast<int*>(getIntParPointer("Super"));
    CheckMoebiusSwitch = static_cast<int*>(getIntParPointer("SM_search check_moebius"));
}

int getIntersectionsInitiated() {
    return IntersectionsInitiated;
}

int getChargeClassCount() {
    return intersect_fcn == ComputeFastIntersection ? DifCh : 0;
}

int InitIntersection() {
    if (!intersections::parameter("Super")) {
        FailureReason = 1;
        return 1;
    }
    if (QueryBulkInvariant() == IntersectionsInitiated)
        return 0;
    if (!MOD_initContents()) {
        FailureReason = 0;
        return 1;
    }
    if (getSusySearch() == 1 && !CY_Check('I')) {
        FailureReason = 2;
        return 1;
    }
    getSearchData();
    const bool orbits = CrossBoundOrbitsAvailable() != 0;
    const int rc = orbits ? InitFastIntersection() : InitIntersectionWithoutOrbits();
    if (rc != 0) {
        // The routine must not read sums of another invariant or half-built ones.
        intersect_fcn = nullptr;
        FailureReason = 3;
        return rc;
    }
    intersect_fcn = orbits ? ComputeFastIntersection : ComputeIntersectionWithoutOrbits;
    IntersectionsInitiated = QueryBulkInvariant();
    return 0;
}

int ComputeIntersectionWithoutOrbits(int a, int b, int* chir) {
    *chir = 0;
    if (!intersections::sumsReady("ComputeIntersectionWithoutOrbits"))
        return 0;
    if (intersect_fcn != ComputeIntersectionWithoutOrbits)
        return intersect_fcn(a, b, chir);
    Complex ab, ba;
    const int NI = static_cast<int>(Sfac.size());
    for (int i = 0; i < NI; i++) {
        const Complex t = reflection(i, a) * std::conj(reflection(i, b));
        ab += t * Sfac[static_cast<std::size_t>(i)];
        ba += std::conj(t) * Sfac[static_cast<std::size_t>(i)];
    }
    return finish(ab, ba, chir);
}

int ComputeFastIntersection(int a, int b, int* chir) {
    *chir = 0;
    if (!intersections::sumsReady("ComputeFastIntersection"))
        return 0;
    if (intersect_fcn != ComputeFastIntersection)
        return intersect_fcn(a, b, chir);
    int c1 = -1, c2 = -1;
    chargeClassesOf(a, b, &c1, &c2);
    Complex ab, ba;
    for (int o = 0; o < Norbit; o++) {
        const Complex t = static_cast<double>(getIshibashiOrbitSize_orb(o)) * reflectionOrb(o, a) *
                          std::conj(reflectionOrb(o, b));
        if (c1 >= 0)
            ab += t * FS[static_cast<std::size_t>(c1 * Norbit + o)];
        if (c2 >= 0)
            ba += std::conj(t) * FS[static_cast<std::size_t>(c2 * Norbit + o)];
    }
    return finish(ab, ba, chir);
}

int ComputeFastIntersection_cached(int a, int b, int* chir) {
    *chir = 0;
    if (a == -1) {
        CachedBoundary = -1;
        return 0;
    }
    // Without orbit sums of this invariant the plain routine answers.
    if (IntersectionsInitiated != QueryBulkInvariant() || intersect_fcn != ComputeFastIntersection)
        return ComputeIntersectionEntry(a, b, chir);
    const std::size_t total = static_cast<std::size_t>(Norbit) * static_cast<std::size_t>(DifCh);
    if (a != CachedBoundary || FSc.size() != total) {
        FSc.assign(total, Complex());
        FScConj.assign(total, Complex());
        for (int o = 0; o < Norbit; o++) {
            const Complex r =
                static_cast<double>(getIshibashiOrbitSize_orb(o)) * reflectionOrb(o, a);
            for (int c = 0; c < DifCh; c++) {
                const std::size_t p = static_cast<std::size_t>(c * Norbit + o);
                FSc[p] = r * FS[p];
                FScConj[p] = std::conj(r) * FS[p];
            }
        }
        CachedBoundary = a;
    }
    int c1 = -1, c2 = -1;
    chargeClassesOf(a, b, &c1, &c2);
    Complex ab, ba;
    for (int o = 0; o < Norbit; o++) {
        const Complex rb = reflectionOrb(o, b);
        if (c1 >= 0)
            ab += std::conj(rb) * FSc[static_cast<std::size_t>(c1 * Norbit + o)];
        if (c2 >= 0)
            ba += rb * FScConj[static_cast<std::size_t>(c2 * Norbit + o)];
    }
    return finish(ab, ba, chir);
}

int ComputeIntersectionEntry(int a, int b, int* chir) {
    *chir = 0;
    if (!intersections::sumsReady("ComputeIntersectionEntry"))
        return 0;
    return intersect_fcn(a, b, chir);
}

int PrintIntersectionEntry(int a, int b) {
    if (InitIntersection() > 0) {
        reportTypeIIBError(FailureReason);
        return 1;
    }
    int chir = 0;
    const int I = ComputeIntersectionEntry(a, b, &chir);
    Print("Intersection(%d,%d)=%d (chirality %d)\n", a, b, I, chir);
    return 0;
}
