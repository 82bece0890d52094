// Verlinde-type sums over the fixed-point resolution matrices: fusion inside the fixed-point
// theory of a block, the stabilizer of a field within the current simple-current invariant, and
// the sums over S^J, S^K and S^L from which the resolved fusion coefficients are assembled.
#include "modular/Modular.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "modular/Invariants.h"
#include "modular/ModularInternal.h"
#include "store/Storemanager.h"

#include <algorithm>

using namespace modular_internal;

namespace {

AllocCount FixedPointFusionAlloc = ALLOC_COUNTER("Fixed point fusion");

// The fixed-point theory that AuxS and OLA read during one getFpFusion.
int CurrentFixedPointLabel = 0;

// The currents that fix the field, the current of each element of the group they form, and the
// element orders that the group identification notes by current label.
GuardedArray<int> fixcur("fixcur", &FixedPointFusionAlloc);

SpectrumData* fixedPointTheory() {
    SpectrumData* sd = currentBlock();
    if (!sd || CurrentFixedPointLabel < 1 || CurrentFixedPointLabel > sd->FCFTnumber)
        return nullptr;
    SM_initFCFTData(sd);
    return sd->FixedPointCFT ? sd->FixedPointCFT[CurrentFixedPointLabel - 1] : nullptr;
}

// sum_m S^J(a,m) S^K(b,m) X(c,m) / Re S(0,m) with X = S^L, or conj S^L when conjugate is set.
void resolvedSum(int a, int J, int b, int K, int c, int L, bool conjugate, double* Re, double* Im) {
    double sumR = 0.0, sumI = 0.0;
    const int N = totalPrimaries();
    for (int m = 0; m < N; m++) {
        double ar, ai, br, bi, cr, ci, vr, vi;
        MOD_getFCFT_Smatrix(J, a, m, &ar, &ai);
        MOD_getFCFT_Smatrix(K, b, m, &br, &bi);
        MOD_getFCFT_Smatrix(L, c, m, &cr, &ci);
        if (conjugate)
            ci = -ci;
        compS(0, m, &vr, &vi);
        const double pr = ar * br - ai * bi, pi = ar * bi + ai * br;
        sumR += (pr * cr - pi * ci) / vr;
        sumI += (pr * ci + pi * cr) / vr;
    }
    *Re = sumR;
    *Im = sumI;
}

} // namespace

void AuxS(int m, int x, double* Re, double* Im) {
    *Re = *Im = 0.0;
    SpectrumData* sd = currentBlock();
    const int f = sd ? SM_getFixedPoint(sd, CurrentFixedPointLabel, m) : -1;
    if (f >= 0)
        SM_getS(sd, x, f, Re, Im);
}

void OLA(int m, int g, double* Re, double* Im) {
    *Re = *Im = 0.0;
    if (SpectrumData* F = fixedPointTheory())
        SM_getS(F, g, m, Re, Im);
}

int getFpFusion(int p, int i, int g, int h) {
    CurrentFixedPointLabel = p;
    SpectrumData* F = fixedPointTheory();
    if (!F) {
        Alert("getFpFusion", 0, 212404, "No fixed-point theory %d", p);
        return 0;
    }
    return GenericVerlinde(i, g, h, F->Nprimaries, AuxS, OLA, OLA, AuxS);
}

Discrete_Group* getStabilizer(int a, int** list) {
    const BulkInvariant* bi = *getCurrentBulk();
    // The diagonal invariant carries the trivial group; it resolves nothing.
    if (!bi || bi->simpleCurrentInvariant != 1 || bi->trivial == 1 || !bi->MD || !bi->MD->dg) {
        Alert("getStabilizer", 0, 100302, "No simple current invariant defined");
        return nullptr;
    }
    const SCData* MD = bi->MD;
    const int H = MD->dg->Order;
    // The identification notes element orders at the current labels, which run up to the order
    // of the whole center, not of the invariant's group.
    const int labels = std::max(H, CenterOrder());
    int* work = fixcur.reserve(2 * H + labels);
    std::fill(work + H, work + 2 * H + labels, 0);
    int n = 0;
    for (int e = 0; e < H; e++) {
        const int J = MD->map.X[e];
        if (J == 0 || simpleFusion(J, a) == a)
            work[n++] = J;
    }
    if (list)
        *list = work;
    return DG_mapSubProduct(work + H, work + 2 * H, n, work, nullptr, simpleProduct);
}

void computeFixedPointFusion(int a, int b, int c, int J, int K, int L, double* Re, double* Im) {
    resolvedSum(a, J, b, K, c, L, false, Re, Im);
}

void computeNimRepFusion(int l, int a, int b, int J, double* Re, double* Im) {
    resolvedSum(l, 0, a, J, b, J, true, Re, Im);
}
