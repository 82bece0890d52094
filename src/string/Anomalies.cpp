#include "string/Anomalies.h"

#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "numeric/EquationCollections.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "string/AnomaliesInternal.h"
#include "string/Intersections.h"
#include "string/Tadpole.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int NotIntegral = 2147483647;

INTERSECT intersect = FullIntersectionForClassMember;
anomalies::MOEBIUS moebius = getMoebiusSum;
anomalies::BOUNDARY_COUNT boundaryCount = TotalBoundaries;

OwnedVectorSpace Work{"Anomaly work equations", 100};
VectorSpace& WorkRows = Work.space;
int GLOBAL_ANOMALIES_LOADED = 0;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

void ensureConjugates(OrientifoldInfo* OI) {
    loadOrientifoldConjugates(OI, 1);
}

int chirality(int a, int b) {
    int chir = 0;
    intersect(a, b, &chir);
    return chir;
}

// Room for one stack more: a record built from given stacks has no spare entry.
void growStacks(ChanPatonData* CPD, int n) {
    for (std::vector<int>* v : {&CPD->Active, &CPD->Types, &CPD->dims, &CPD->equivalences})
        if (v->size() <= at(n))
            v->resize(at(n + 1), 0);
}

void appendMarkerStack(ChanPatonData* CPD, int b) {
    const int bc = CPD->OI->Conjugates.X[b];
    const int n = CPD->Nactive;
    growStacks(CPD, n);
    CPD->CPmults[at(b)] = CPD->CPmults[at(bc)] = 5;
    CPD->Active[at(n)] = std::min(b, bc);
    CPD->dims[at(n)] = 5;
    CPD->Types[at(n)] = CPD->OI->GroupTypes[b];
    if (CPD->CPlabelsToGroupFactors.size() < at(CPD->Nbnd))
        CPD->CPlabelsToGroupFactors.resize(at(CPD->Nbnd), -1);
    CPD->CPlabelsToGroupFactors[at(b)] = CPD->CPlabelsToGroupFactors[at(bc)] = n;
    CPD->Nactive = n + 1;
}

// Modulo 2 in the variables of a configuration: symplectic stacks hold even numbers of branes,
// and a unitary pair is one variable at its lower label.
void reduceForConfigurations(const OrientifoldInfo* OI, int n, int* v) {
    const int* conj = OI->Conjugates.X;
    for (int a = 0; a < n; a++) {
        if (OI->GroupTypes[a] == -1)
            v[a] = 0;
        else if (OI->GroupTypes[a] == 0 && a < conj[a]) {
            v[a] = (v[a] + v[conj[a]]) % 2;
            v[conj[a]] = 0;
        }
    }
}

void collectRow(OrientifoldInfo* OI, int n, std::vector<int>& v) {
    for (int& x : v)
        x = ((x % 2) + 2) % 2;
    reduceForConfigurations(OI, n, v.data());
    v[at(n)] = 0;
    CollectCyclicEquations(&WorkRows, v.data(), 2);
}

void storeGlobalRows(OrientifoldInfo* OX, int n, int L) {
    const int rows = rowCount(&WorkRows) - L;
    VectorSpace* G = OX->GlobalAnomalies;
    initEquationCollection(G, n, rows + 1);
    for (int r = 0; r < rows; r++) {
        int* row = rowOf(G, r);
        std::copy_n(rowOf(&WorkRows, L + r), n, row);
        row[n] = 0;
    }
    G->Nfill = rows;
    OX->GlobalAnomaliesAvailable = OX->OrientifoldNr;
}

} // namespace

namespace anomalies {

void setSources(INTERSECT i, MOEBIUS m, BOUNDARY_COUNT b) {
    intersect = i ? i : FullIntersectionForClassMember;
    moebius = m ? m : getMoebiusSum;
    boundaryCount = b ? b : TotalBoundaries;
}

void resetAnomalyState() {
    setSources(nullptr, nullptr, nullptr);
    GLOBAL_ANOMALIES_LOADED = 0;
    freeVectorCollection(&WorkRows);
}

std::int64_t localAnomaly(ChanPatonData* CPD, int b) {
    OrientifoldInfo* OI = CPD->OI;
    const int* conj = OI->Conjugates.X;
    const int bc = conj[b];
    const int M = moebius(OI->SequenceNumber, b), Mc = moebius(OI->SequenceNumber, bc);
    if (M == NotIntegral || Mc == NotIntegral)
        return NotIntegral;
    std::int64_t A = 4 * (std::int64_t{M} - Mc);
    for (int k = 0; k < CPD->Nactive; k++) {
        const int a = CPD->Active[at(k)];
        std::int64_t chi = chirality(a, bc);
        if (chi == NotIntegral)
            return NotIntegral;
        if (conj[a] != a) {
            const int chic = chirality(conj[a], bc);
            if (chic == NotIntegral)
                return NotIntegral;
            chi += chic;
        }
        A += CPD->dims[at(k)] * chi;
    }
    return A;
}

} // namespace anomalies

int CheckLocalAnomalies(ChanPatonData* CPD) {
    ensureConjugates(CPD->OI);
    for (int b = 0; b < CPD->Nbnd; b++) {
        const std::int64_t A = anomalies::localAnomaly(CPD, b);
        if (A == 0)
            continue;
        std::printf("Local anomaly not cancelled: b=%d, anomaly=%lld\n", b,
                    static_cast<long long>(A));
        appendMarkerStack(CPD, b);
        return 0;
    }
    return 1;
}

void getLocalAnomalyMod2(OrientifoldInfo* OI, int b, int* vector) {
    ensureConjugates(OI);
    const int n = boundaryCount();
    const int* conj = OI->Conjugates.X;
    std::vector<std::int64_t> v(at(n), 0);
    for (int a = 0; a < n; a++) {
        v[at(a)] = chirality(a, conj[b]);
        if (v[at(a)] == NotIntegral) {
            Alert("getLocalAnomalyMod2", 0, 212404,
                  "Chirality of %d with the image of probe %d not integral", a, b);
            std::fill_n(vector, n, 0);
            return;
        }
    }
    for (int a = 0; a < n; a++) {
        if (OI->GroupTypes[a] == -1)
            v[at(a)] *= 2;
        else if (OI->GroupTypes[a] == 0 && a < conj[a]) {
            v[at(a)] += v[at(conj[a])];
            v[at(conj[a])] = 0;
        }
    }
    // Entries are sums of two bounded chiralities, so they fit.
    for (int a = 0; a < n; a++)
        vector[a] = static_cast<int>(v[at(a)]);
    NormalizeIntegerVector(n, vector);
    for (int a = 0; a < n; a++)
        vector[a] = ((vector[a] % 2) + 2) % 2;
}

void CorrectGlobalAnomaly(OrientifoldInfo* OI, int* vector) {
    ensureConjugates(OI);
    reduceForConfigurations(OI, boundaryCount(), vector);
}

void CorrectLocalAnomaly(OrientifoldInfo* OI, int* vector) {
    ensureConjugates(OI);
    const int* conj = OI->Conjugates.X;
    for (int a = 0; a < boundaryCount(); a++)
        if (OI->GroupTypes[a] == 0 && a < conj[a]) {
            vector[a] += vector[conj[a]];
            vector[conj[a]] = 0;
        }
}

void loadGlobalAnomaliesForOrientifold(OrientifoldInfo* OX) {
    if (OX->GlobalAnomaliesAvailable == OX->OrientifoldNr)
        return;
    ensureConjugates(OX);
    const int n = boundaryCount();
    initEquationCollection(&WorkRows, n, 100);
    WorkRows.Nfill = 0;
    std::vector<int> v(at(n + 1), 0);
    for (int b = 0; b < n; b++) {
        getLocalAnomalyMod2(OX, b, v.data());
        collectRow(OX, n, v);
    }
    const int L = rowCount(&WorkRows);
    for (int a = 0; a < n; a++) {
        if (OX->GroupTypes[a] != -1)
            continue;
        for (int c = 0; c < n; c++) {
            int unused = 0;
            const int I = intersect(a, c, &unused);
            if (I == NotIntegral)
                Alert("loadGlobalAnomaliesForOrientifold", 0, 212404,
                      "Intersection of symplectic probe %d with %d not integral", a, c);
            v[at(c)] = I == NotIntegral ? 0 : I % 2;
        }
        v[at(a)] = 0;
        collectRow(OX, n, v);
    }
    storeGlobalRows(OX, n, L);
}

void loadGlobalAnomalies(int mode) {
    if (mode == 2) {
        GLOBAL_ANOMALIES_LOADED = 0;
        return;
    }
    if (mode == 1 && GLOBAL_ANOMALIES_LOADED)
        return;
    int total = 0, positive = 0;
    OrientifoldInfo** list = getPositiveTensionOrientifolds(&total, &positive);
    for (int o = 0; o < positive; o++)
        loadGlobalAnomaliesForOrientifold(list[o]);
    GLOBAL_ANOMALIES_LOADED = 1;
}

int CheckGlobalAnomalies(ChanPatonData* CPD) {
    OrientifoldInfo* OI = CPD->OI;
    loadGlobalAnomaliesForOrientifold(OI);
    const VectorSpace* G = OI->GlobalAnomalies;
    const int* conj = OI->Conjugates.X;
    int ok = 1;
    for (int r = 0; r < rowCount(G); r++) {
        const int* row = rowOf(G, r);
        int s = 0;
        for (int k = 0; k < CPD->Nactive; k++) {
            const int a = CPD->Active[at(k)], N = CPD->dims[at(k)];
            s += (row[a] * N) % 2;
            if (a > conj[a])
                s += (row[conj[a]] * N) % 2;
        }
        if (s % 2 != 0)
            ok = 0;
    }
    return ok;
}
