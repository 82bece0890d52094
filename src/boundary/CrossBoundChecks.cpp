// Consistency of the unoriented amplitudes: the Klein bottle and the Moebius strip must
// symmetrise what torus and annulus count, the Klein bottle coefficients obey a sign rule along
// the fusion rules, and annulus, Moebius strip and Klein bottle must be compatible with the
// fusion algebra. Each violation is reported and counted; the amplitudes are never changed.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <climits>
#include <cstdlib>
#include <vector>

using namespace crossbound_internal;

namespace {

constexpr int Stopped = INT_MAX;

// Z(i, i^c) of the bulk invariant.
int torusCoefficient(int i) {
    const BulkInvariant* bi = currentBulk();
    const int c = getConjugate(i);
    if (bi->trivial == 1)
        return c == i ? 1 : 0;
    int Z = 0;
    for (int k = 0; k < bi->orbitlength[i]; k++)
        if (bi->orbits[i][k] == c)
            Z += bi->multiplicity[i];
    return Z;
}

// The Klein bottle coefficients of every primary; empty once the user stopped.
std::vector<int> kleinVector() {
    const int N = getTotalPrimaries();
    std::vector<int> K(static_cast<std::size_t>(N));
    for (int i = 0; i < N; i++) {
        K[static_cast<std::size_t>(i)] = getKleinBottle(i);
        if (K[static_cast<std::size_t>(i)] == Stopped)
            return {};
    }
    return K;
}

// The conjugate boundary of a for the Klein bottle relation, read off the vacuum annulus; -1
// after a report.
int kleinConjugate(int a) {
    if (getAnnulus(0, a, a) == 1)
        return a;
    for (int b = 0; b < BoundaryLabelCount; b++)
        if (getAnnulus(0, a, b) == 1)
            return b;
    Alert("checkUNIMKlein", 0, 212404, "No boundary conjugate for boundary %d", a);
    return -1;
}

} // namespace

int checkClosed(int maxerr) {
    int errors = 0;
    for (int i = 0; i < getTotalPrimaries(); i++) {
        const int K = getKleinBottle(i);
        if (K == Stopped)
            return -1;
        const int Z = torusCoefficient(i);
        if ((Z - K) % 2 != 0) {
            Alert("checkClosed", 0, 212302,
                  "Integrality violation for field %d (Torus=%d, Klein bottle=%d)\n", i, Z, K);
            if (++errors >= maxerr)
                return errors;
        }
        if (Z < std::abs(K)) {
            Alert("checkClosed", 1, 212302,
                  "Positivity violation for field %d (Torus=%d, Klein bottle=%d)\n", i, Z, K);
            if (++errors >= maxerr)
                return errors;
        }
    }
    return errors;
}

int checkOpen(int maxerr) {
    initPMATRIX();
    const int N = getTotalPrimaries(), B = BoundaryLabelCount;
    const char* title = "Checking open string consistency";
    startProgressInfo(title, static_cast<double>(N) * B, 1);
    int errors = 0;
    for (int i = 0; i < N; i++)
        for (int a = 0; a < B; a++) {
            if (incrementProgressInfo())
                return -1;
            const int A = getAnnulus(i, a, a);
            const int M = A == Stopped ? Stopped : getMoebius(i, a);
            if (M == Stopped) {
                stopProgressInfo(title);
                return -1;
            }
            bool reported = false;
            if ((A - M) % 2 != 0) {
                Alert("checkOpen", 0, 212302,
                      "Integrality violation for field %d, boundary %d\n(Annulus=%d, Moebius=%d)\n",
                      i, a, A, M);
                reported = ++errors >= maxerr;
            }
            if (!reported && A < std::abs(M)) {
                Alert("checkOpen", 1, 212302,
                      "Positivity violation for field %d,boundary %d\n(Annulus=%d, Moebius=%d)\n",
                      i, a, A, M);
                reported = ++errors >= maxerr;
            }
            if (reported) {
                stopProgressInfo(title);
                return errors;
            }
        }
    stopProgressInfo(title);
    return errors;
}

int checkKlein(int, const int* KBs, int maxerr) {
    const int N = getTotalPrimaries();
    std::vector<int> nonzero;
    for (int i = 0; i < N; i++)
        if (KBs[i] != 0)
            nonzero.push_back(i);
    int errors = 0;
    for (std::size_t x = 0; x < nonzero.size(); x++)
        for (std::size_t y = x; y < nonzero.size(); y++)
            for (std::size_t z = y; z < nonzero.size(); z++) {
                const int i = nonzero[x], j = nonzero[y], k = nonzero[z];
                const int n = fusion(i, j, k, 0);
                if (n == -9999 || stopSignal == 1)
                    return -1;
                const long long v = static_cast<long long>(KBs[j]) * KBs[i] * n * KBs[k];
                if (v >= 0)
                    continue;
                if (maxerr < 0)
                    return 1;
                Alert("checkKleinBottleConstraint", 0, 212302,
                      "Klein bottle constraint violation for labels %d,%d and %d; result: %d", i, j,
                      k, static_cast<int>(v));
                if (++errors >= maxerr)
                    return errors;
            }
    return errors;
}

int checkKleinBottleConstraint(int maxerr) {
    const std::vector<int> K = kleinVector();
    if (K.size() != static_cast<std::size_t>(getTotalPrimaries()))
        return -1;
    return checkKlein(static_cast<int>(K.size()), K.data(), maxerr);
}

void checkAnnulusOrbits(int i, int a, int b) {
    if (!currentBulk()->simpleCurrentInvariant || CrossBoundOrbitsAvailable() == 0) {
        Alert("checkAnnulusOrbits", 0, 212404, "No orbit data, nothing to check");
        return;
    }
    const int A0 = getAnnulus(i, a, b);
    const int saved = OrbitDataAvailable;
    OrbitDataAvailable = -1;
    for (int J = 0; J < BoundaryOrder; J++) {
        const int a1 = FastBoundaryCurrentFusion(J, a);
        const int b1 = FastBoundaryCurrentInverseFusion(J, b);
        const int A = getAnnulus(i, a1, b1);
        if (A != A0) {
            OrbitDataAvailable = saved;
            Alert("checkAnnulusOrbits", 1, 212404,
                  "Different answer for A(%d,%d,%d), J=%d: %d != %d\n", i, a, b, J, A0, A);
            OrbitDataAvailable = -1;
        }
    }
    OrbitDataAvailable = saved;
}

int checkUNIMMoebius(int i, int j, int a) {
    long long left = 0, right = 0;
    for (int c = 0; c < BoundaryLabelCount; c++) {
        const int x = getOrientedAnnulus(-i, a, c);
        if (x == Stopped)
            return -1;
        if (x == 0)
            continue;
        const int y = getMoebius(-j, c);
        if (y == Stopped)
            return -1;
        left += static_cast<long long>(x) * y;
    }
    for (int k = 0; k < getTotalPrimaries(); k++) {
        const int Y = Pfusion(i, j, k);
        if (Y == 0)
            continue;
        const int m = getMoebius(-k, a);
        if (m == Stopped || stopSignal == 1)
            return -1;
        right += static_cast<long long>(Y) * m;
    }
    if (left == right)
        return 1;
    Alert("checkUNIMMoebius", 0, 212404, "%d,%d,%d: %d != %d\n", i, j, a, static_cast<int>(left),
          static_cast<int>(right));
    return 0;
}

int checkUNIMKlein(int i, int j) {
    long long left = 0, right = 0;
    for (int a = 0; a < BoundaryLabelCount; a++) {
        const int x = getMoebius(-i, a);
        if (x == Stopped)
            return -1;
        if (x == 0)
            continue;
        // Without a conjugate the term is left out.
        const int c = kleinConjugate(a);
        if (c < 0)
            continue;
        const int y = getMoebius(-j, c);
        if (y == Stopped)
            return -1;
        left += static_cast<long long>(x) * y;
    }
    for (int k = 0; k < getTotalPrimaries(); k++) {
        const int Y = Pfusion(-k, i, -j);
        if (Y == 0)
            continue;
        const int K = GenericVerlinde(k, 0, 0, IshibashiLabelCount, compSAux,
                                      getCurrentCrosscapCoefficientFlipped,
                                      getCurrentCrosscapCoefficient, compSAux);
        if (K == Stopped || stopSignal == 1)
            return -1;
        right += static_cast<long long>(Y) * K;
    }
    if (left == right)
        return 1;
    Alert("checkUNIMKlein", 0, 212404, "%d,%d: %d != %d\n", i, j, static_cast<int>(left),
          static_cast<int>(right));
    return 0;
}

int checkCPSumRule() {
    const BulkInvariant* bi = currentBulk();
    long long total = 0;
    for (int i = 0; i < bi->Nprimaries; i++)
        for (int k = 0; k < bi->orbitlength[i]; k++)
            if (bi->orbits[i][k] == i)
                total += bi->multiplicity[i] +
                         static_cast<long long>(getSchurIndex(i)) * getKleinBottle(i);
    return static_cast<int>(total / 2);
}
