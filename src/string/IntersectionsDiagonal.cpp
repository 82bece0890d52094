// Diagonal sectors of a brane with its orientifold image: annulus, Moebius sum and adjoints, kept
// per orientifold in bytes; the rank-two tensor tables of the searches; the brane scan.
#include "string/IntersectionsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"
#include "tensor/Coset.h"

#include <complex>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

using Complex = std::complex<double>;

namespace {

using intersections::NotIntegral;
using intersections::Unknown;

std::vector<Complex> Pfac;
int MoebiusInitiated = -3;
// The bulk generation each record's byte caches were made under; a record kept across a change
// of invariant must not answer from them.
std::map<const OrientifoldInfo*, int> DiagonalsFor;

// The rank-two tensor tables: status (-2 unknown, -1 chiral, 0 not), annulus and Moebius per
// (boundary, orientifold of non-zero tension), and the adjoints per boundary.
std::vector<int> TensorStatus, TensorAnnulus, TensorMoebius, TensorAdjoint;
int TensorOri = 0;
bool MoebiusPrepared = false;

std::size_t at(long long i) {
    return static_cast<std::size_t>(i);
}

OrientifoldInfo* listEntry(int ori) {
    return getSearchData()->OI[ori];
}

const int* conjugatesOf(OrientifoldInfo* OI) {
    if (OI->ConjugatesAvailable != OI->OrientifoldNr)
        loadOrientifoldConjugates(OI, 0);
    return OI->Conjugates.X;
}

int intersection(int a, int b, int* chir) {
    return ComputeIntersectionEntry(a, b, chir);
}

// M(a) on the record OI; the caller's current orientifold is current again afterwards.
int moebiusSum(OrientifoldInfo* OI, int a) {
    if (InitMoebiusSum() != 0)
        return NotIntegral;
    OrientifoldInfo* caller = getCurrentOrientifold();
    setSelectedOrientifold(OI);
    Complex z;
    const int NI = static_cast<int>(Pfac.size());
    for (int i = 0; i < NI; i++) {
        double rr = 0, ri = 0, ur = 0, ui = 0;
        getCurrentReflectionCoefficientFlipped(i, a, &rr, &ri);
        getCurrentCrosscapCoefficient(i, 0, &ur, &ui);
        z += Complex(rr, ri) * Complex(ur, ui) * Pfac[at(i)];
    }
    if (OI->Tension < 0)
        z = Complex(-z.real(), z.imag());
    setSelectedOrientifold(caller);
    return ComplexToInt(z.real(), z.imag());
}

bool cachesMade(const OrientifoldInfo* OI) {
    auto found = DiagonalsFor.find(OI);
    return OI->Chirality && found != DiagonalsFor.end() && found->second == QueryBulkInvariant();
}

void makeCaches(OrientifoldInfo* OI) {
    const int B = getSearchData()->Bnd;
    OI->Diagonals.reserve(5 * B);
    signed char* X = OI->Diagonals.X;
    OI->Chirality = X;
    OI->Annuli = X + B;
    OI->Moebii = X + 2 * B;
    OI->Adjoints = X + 3 * B;
    OI->Anomalous = X + 4 * B;
    for (int i = 0; i < 4 * B; i++)
        X[i] = Unknown;
    DiagonalsFor[OI] = QueryBulkInvariant();
}

void storeDiagonal(OrientifoldInfo* OI, int a) {
    if (!cachesMade(OI))
        makeCaches(OI);
    if (OI->Chirality[a] != Unknown)
        return;
    const int ac = conjugatesOf(OI)[a];
    int unused = 0, chi = 0;
    const long long Adj = intersection(a, a, &unused);
    const long long A = intersection(a, ac, &chi);
    storeCharacterEntry(&OI->Annuli[a], A == NotIntegral ? Unknown : A);
    storeCharacterEntry(&OI->Adjoints[a], Adj == NotIntegral ? Unknown : Adj);
    const long long M = A == 0 ? 0 : moebiusSum(OI, a);
    storeCharacterEntry(&OI->Moebii[a], M == NotIntegral ? Unknown : M);
    OI->Chirality[a] = chi != 0 ? 1 : 0;
    if (ac == a)
        return;
    // A sum that was not integral leaves both the chirality and the partner's annulus unknown.
    const long long Ac = A == NotIntegral || chi == NotIntegral ? NotIntegral : A - chi;
    storeCharacterEntry(&OI->Annuli[ac], Ac == NotIntegral ? Unknown : Ac);
    storeCharacterEntry(&OI->Adjoints[ac], Adj == NotIntegral ? Unknown : Adj);
    const long long Mc = Ac == 0 ? 0 : moebiusSum(OI, ac);
    storeCharacterEntry(&OI->Moebii[ac], Mc == NotIntegral ? Unknown : Mc);
    OI->Chirality[ac] = chi != 0 ? 1 : 0;
    if (M != Mc)
        OI->Chirality[a] = OI->Chirality[ac] = 1;
}

void ensureDiagonal(OrientifoldInfo* OI, int a) {
    if (!cachesMade(OI) || OI->Chirality[a] == Unknown)
        storeDiagonal(OI, a);
}

int adjointsOf(OrientifoldInfo* OI, int a) {
    ensureDiagonal(OI, a);
    int unused = 0;
    return OI->Adjoints[a] != Unknown ? OI->Adjoints[a] : intersection(a, a, &unused);
}

int annulusOf(OrientifoldInfo* OI, int a) {
    ensureDiagonal(OI, a);
    int unused = 0;
    return OI->Annuli[a] != Unknown ? OI->Annuli[a] : intersection(a, conjugatesOf(OI)[a], &unused);
}

int moebiusOf(OrientifoldInfo* OI, int a) {
    ensureDiagonal(OI, a);
    return OI->Moebii[a] != Unknown ? OI->Moebii[a] : moebiusSum(OI, a);
}

void diagonalInfo(OrientifoldInfo* OI, int a, int* A, int* M, int* Adj) {
    ensureDiagonal(OI, a);
    *A = OI->Annuli[a];
    *M = OI->Moebii[a];
    *Adj = OI->Adjoints[a];
    if (*A == Unknown || *M == Unknown || *Adj == Unknown) {
        *Adj = adjointsOf(OI, a);
        *M = moebiusOf(OI, a);
        *A = annulusOf(OI, a);
    }
}

} // namespace

namespace intersections {

int diagonalChirality(OrientifoldInfo* OI, int a) {
    if (!sumsReady("getDiagonalChirality"))
        return 0;
    ensureDiagonal(OI, a);
    return OI->Chirality[a];
}

} // namespace intersections

int InitMoebiusSum() {
    if (MoebiusInitiated == QueryBulkInvariant())
        return 0;
    if (intersections::weightsPerIshibashi("Initializing moebius sum computation", compP, Pfac))
        return 4;
    MoebiusInitiated = QueryBulkInvariant();
    writePOrbits();
    return 0;
}

int ComputeMoebiusSum(int ori, int a) {
    if (!intersections::sumsReady("ComputeMoebiusSum"))
        return 0;
    return moebiusSum(listEntry(ori), a);
}

void storeDiagonalInformation(int ori, int a) {
    if (intersections::sumsReady("storeDiagonalInformation"))
        storeDiagonal(listEntry(ori), a);
}

int getDiagonalChirality(int ori, int a) {
    if (!intersections::sumsReady("getDiagonalChirality"))
        return 0;
    return intersections::diagonalChirality(listEntry(ori), a);
}

int getAdjoints(int ori, int a) {
    return intersections::sumsReady("getAdjoints") ? adjointsOf(listEntry(ori), a) : 0;
}

int getDiagonalAnnulus(int ori, int a) {
    return intersections::sumsReady("getDiagonalAnnulus") ? annulusOf(listEntry(ori), a) : 0;
}

int getMoebiusSum(int ori, int a) {
    return intersections::sumsReady("getMoebiusSum") ? moebiusOf(listEntry(ori), a) : 0;
}

void getDiagonalInfo(int ori, int a, int* A, int* M, int* Adj) {
    *A = *M = *Adj = 0;
    if (intersections::sumsReady("getDiagonalInfo"))
        diagonalInfo(listEntry(ori), a, A, M, Adj);
}

// ============================================================ Rank-two tensors

int CheckChirality(int a, int i, int mode, int* Ann, int* Moeb, int* Adj) {
    SearchData* SD = getSearchData();
    if (mode == 0) {
        TensorOri = SD->Ori_eff;
        const std::size_t n = at(static_cast<long long>(SD->Bnd) * TensorOri);
        TensorStatus.assign(n, -2);
        TensorAnnulus.assign(n, 0);
        TensorMoebius.assign(n, 0);
        TensorAdjoint.assign(at(SD->Bnd), -1);
        MoebiusPrepared = false;
        return 0;
    }
    if (a < 0 || i < 0 || i >= TensorOri || at(a) >= TensorAdjoint.size()) {
        Alert("CheckChirality", 1, 212404, "Rank-2 tables not prepared for (%d,%d)", a, i);
        return -3;
    }
    const std::size_t e = at(static_cast<long long>(a) * TensorOri + i);
    const auto chiralRequest = [&] {
        Alert("CheckChirality", 0, 212404, "Moebius amplitude requested for chiral rank-2 fields");
        return -3;
    };
    const auto adjoint = [&] {
        if (TensorAdjoint[at(a)] == -1) {
            int unused = 0;
            TensorAdjoint[at(a)] = intersection(a, a, &unused);
        }
        return TensorAdjoint[at(a)];
    };
    const int s = TensorStatus[e];
    if (s != -2 && mode == 1)
        return s;
    if (s != -2 && mode == 2) {
        if (s == -1)
            return chiralRequest();
        *Ann = TensorAnnulus[e];
        *Moeb = TensorMoebius[e];
        *Adj = adjoint();
        return 0;
    }
    if (!intersections::sumsReady("CheckChirality"))
        return 0;
    OrientifoldInfo* OI = listEntry(i);
    const int ac = conjugatesOf(OI)[a];
    int chi = 0;
    const int A = intersection(a, ac, &chi);
    if (chi != 0) {
        TensorStatus[e] = -1;
        return mode == 2 ? chiralRequest() : -1;
    }
    if (A == 0) {
        TensorStatus[e] = 0;
        TensorAnnulus[e] = TensorMoebius[e] = 0;
        *Ann = *Moeb = 0;
        *Adj = adjoint();
        return 0;
    }
    if (!intersections::parameter("SM_search check_moebius"))
        return mode == 1 ? 0 : -4;
    if (!MoebiusPrepared) {
        InitMoebiusSum();
        MoebiusPrepared = true;
    }
    const long long M1 = moebiusSum(OI, a), M2 = moebiusSum(OI, ac);
    const auto fits = [A](long long M) { return A >= std::llabs(M) && (A - M) % 2 == 0; };
    if (!fits(M1) || !fits(M2))
        Alert("CheckChirality", 2, 212404,
              "Annulus/Moebius sum problem: A1=%d, M1=%d, A2=%d, M2=%d", A, static_cast<int>(M1), A,
              static_cast<int>(M2));
    if (M1 != M2) {
        TensorStatus[e] = -1;
        return mode == 2 ? chiralRequest() : -1;
    }
    TensorStatus[e] = 0;
    TensorAnnulus[e] = *Ann = A;
    TensorMoebius[e] = *Moeb = static_cast<int>(M1);
    *Adj = adjoint();
    return 0;
}

// ============================================================ The brane scan

int BraneScan() {
    // A command of every mode: the labels may not be there yet.
    if (initializeOpenString() != 0)
        return 1;
    if (InitIntersection() != 0) {
        reportTypeIIBError(intersections::failureReason());
        return 1;
    }
    int total = 0, P = 0;
    getPositiveTensionOrientifolds(&total, &P);
    SearchData* SD = initStandardModelSearch();
    if (!SD) {
        reportTypeIIBError(0);
        return 1;
    }
    std::printf("N_ori=%d; Boundaries: %d\n", P, SD->Bnd);
    std::fflush(stdout);
    if (P < 1)
        return 0;
    int result = 0;
    const std::string dir = std::string(getOutputDir()) + "E" + std::to_string(fileIdentifier());
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const bool orbits = CrossBoundOrbitsAvailable() != 0;
    for (int ori = 0; ori < P; ori++) {
        const std::string name = dir + "/MIPF_" +
                                 std::to_string(MIPFIdentifier(*getCurrentBulk())) + "_" +
                                 std::to_string(ori) + ".branes";
        FILE* f = std::fopen(name.c_str(), "w");
        if (!f) {
            Alert("BraneScan", 0, 100206, "Could not open file \"%s\"; orientifold %d skipped",
                  name.c_str(), ori);
            result = 1;
            continue;
        }
        std::printf("Writing %s\n", name.c_str());
        std::fflush(stdout);
        OrientifoldInfo* OI = listEntry(ori);
        const int* conj = conjugatesOf(OI);
        for (int a = 0; a < SD->Bnd; a++) {
            const int ac = conj[a];
            if (ac < a)
                continue;
            int Aa = 0, Ma = 0, Adja = 0, Ac = 0, Mc = 0, Adjc = 0;
            diagonalInfo(OI, a, &Aa, &Ma, &Adja);
            diagonalInfo(OI, ac, &Ac, &Mc, &Adjc);
            // Each half truncates toward zero before the difference is taken; 64 bits, since a
            // sum that was not integral stands as 2147483647.
            const long long sym = (0LL + Aa + Ma) / 2 - (0LL + Ac + Mc) / 2;
            const long long anti = (0LL + Aa - Ma) / 2 - (0LL + Ac - Mc) / 2;
            std::fprintf(f, "%5d %5d %5d %5d %5lld %5lld %5d %5d %5d %5d %5d\n", a, ac,
                         orbits ? getBoundaryOrbitStart(a) : a, OI->GroupTypes[a], sym, anti, Adja,
                         Aa, Ac, Ma, Mc);
        }
        std::fclose(f);
    }
    return result;
}
