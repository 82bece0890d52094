// The c=1 Z2 orbifold of parameter N: N+7 fields labelled (kind, x), S in closed form, the four
// simple currents acting as S dictates, and the fixed-point data of D_N at level 2, whose
// fixed-point theories the orbifold shares.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

using store_internal::mult;

namespace {

AllocCount OrbifoldWork = ALLOC_COUNTER("Storemanager orbifold");
// The build-order label rows (2 per field) followed by the map of the orbit construction.
GuardedArray<int> LabelBuffer("LabelBuffer", &OrbifoldWork);
GuardedArray<int> candidates("candidates", &OrbifoldWork);

constexpr int Inconsistent = 212404;
constexpr double SameS = 1e-10;
constexpr double Twist = 0.35355339059327373; // 1/sqrt(8)

// N of the orbifold being built: the action and the charges read the build rows through it.
int buildN = 0;

int fieldCount(int N) {
    return N + 7;
}

// The build order: (0,0) .. (0,3), (1,1) .. (1,N-1), (2,1), (3,1), (2,2), (3,2).
void writeBuildRows(int N, int* rows) {
    int f = 0;
    auto put = [&](int kind, int x) {
        rows[2 * f] = kind;
        rows[2 * f + 1] = x;
        f++;
    };
    for (int x = 0; x < 4; x++)
        put(0, x);
    for (int x = 1; x < N; x++)
        put(1, x);
    for (int x = 1; x <= 2; x++) {
        put(2, x);
        put(3, x);
    }
}

int weightNumerator(int N, const int* rep) {
    switch (rep[0]) {
    case 0:
        if (rep[1] == 0)
            return 0;
        if (rep[1] == 1 || rep[1] == 3)
            return 4 * N * N;
        return rep[1] == 2 ? 16 * N : -1;
    case 1:
        return 4 * rep[1] * rep[1];
    case 2:
        return N;
    default:
        return 9 * N;
    }
}

int sign(int e) {
    return e % 2 == 0 ? 1 : -1;
}

// A twist entry +-1/sqrt(8): real at even N, imaginary at odd N.
void twistEntry(int N, int eps, double* re, double* im) {
    if (N % 2 == 0)
        *re = eps * Twist;
    else
        *im = eps * Twist;
}

// Row of kind 0 (label x) against column (b, y).
void vacuumKindRow(int N, int x, int b, int y, double* re, double* im) {
    const double f = 1.0 / std::sqrt(8.0 * N);
    const bool odd = x % 2 == 1;
    if (b == 0) {
        *re = odd && y % 2 == 1 ? sign(N) * f : f;
    } else if (b == 1) {
        *re = odd ? sign(y) * 2 * f : 2 * f;
    } else if (!odd) {
        *re = x == 0 ? Twist : -Twist;
    } else {
        twistEntry(N, sign((x + 1) / 2 + y), re, im);
    }
}

void twistTwist(int N, int a, int x, int b, int y, double* re, double* im) {
    const int s = sign(a + b);
    switch (N % 4) {
    case 0:
        *re = x == y ? s / 2.0 : 0.0;
        break;
    case 2:
        *re = x != y ? s / 2.0 : 0.0;
        break;
    case 1:
        *re = s / 4.0;
        *im = -s * sign(x + y) / 4.0;
        break;
    default:
        *re = s / 4.0;
        *im = s * sign(x + y) / 4.0;
        break;
    }
}

double compareS(int N, const int* r1, const int* r2, double re, double im) {
    double r = 0.0, i = 0.0;
    ComputeOrbifoldS(N, r1, r2, &r, &i);
    return compareC(r, i, re, im);
}

const int* buildRow(int f) {
    return LabelBuffer.X + 2 * f;
}

// Label rows of the built block by kind, for the fixed-point labels.
int kindOf(SpectrumData* sd, int lbl) {
    return SM_getRep(sd, lbl)[0];
}

// The label in C_{N-2} at level 1 of the kind-1 field with charge x, fixed by current 2.
int currentTwoLabel(SpectrumData* sd2, int N, int x) {
    if (N == 2 || x == N - 1)
        return 0;
    if (N == 3)
        return 2 - x;
    std::vector<int> labels(static_cast<std::size_t>(std::max(N, sd2->RepSize)), 0);
    labels[N - x - 2] = 1;
    int found =
        findRep(labels.data(), sd2->RepSize, sd2->Nprimaries, sd2->type, sd2->rank, sd2->level);
    if (found < 0 || found >= sd2->Nprimaries ||
        compareVec(sd2->RepSize, SM_getRep(sd2, found), labels.data()) != 0)
        found = SM_getLabelNoMessage(sd2, labels.data());
    if (found < 0)
        Alert("SM_getLabel", 0, Inconsistent, "Representation not found");
    return found;
}

} // namespace

void ComputeOrbifoldS(int N, const int* rep1, const int* rep2, double* RealS, double* ImS) {
    SM_zeroResult(RealS, ImS);
    int a = rep1[0], x = rep1[1], b = rep2[0], y = rep2[1];
    if (a > b) {
        std::swap(a, b);
        std::swap(x, y);
    }
    if (a == 0) {
        vacuumKindRow(N, x, b, y, RealS, ImS);
        return;
    }
    const double f = 1.0 / std::sqrt(8.0 * N);
    if (a == 1 && b == 1)
        *RealS = 4 * f * std::cos(std::numbers::pi * x * y / N);
    else if (a >= 2)
        twistTwist(N, a, x, b, y, RealS, ImS);
}

int SM_OrbifoldWeight(const int* rep) {
    return weightNumerator(buildN, rep);
}

int SM_orbifoldSimpleAction(int cur, int prim, void*) {
    const int N = buildN;
    const int n = fieldCount(N);
    int* list = candidates.reserve(n + 1);
    double r0 = 0.0, i0 = 0.0;
    ComputeOrbifoldS(N, LabelBuffer.X + 2 * prim, LabelBuffer.X, &r0, &i0);
    int count = 0;
    for (int j = 0; j < n; j++)
        if (compareS(N, buildRow(j), buildRow(0), r0, i0) < SameS)
            list[count++] = j;
    list[count] = -1;
    for (int m = 1; m < n && count > 1; m++) {
        double cr = 0.0, ci = 0.0, pr = 0.0, pim = 0.0, vr = 0.0, vi = 0.0;
        ComputeOrbifoldS(N, LabelBuffer.X + 2 * cur, LabelBuffer.X + 2 * m, &cr, &ci);
        ComputeOrbifoldS(N, LabelBuffer.X + 2 * prim, LabelBuffer.X + 2 * m, &pr, &pim);
        ComputeOrbifoldS(N, LabelBuffer.X, LabelBuffer.X + 2 * m, &vr, &vi);
        const double tr = (cr * pr - ci * pim) / vr;
        const double ti = (cr * pim + ci * pr) / vr;
        int kept = 0;
        for (int k = 0; k < count; k++)
            if (compareS(N, buildRow(list[k]), buildRow(m), tr, ti) <= SameS)
                list[kept++] = list[k];
        count = kept;
        list[count] = -1;
    }
    if (count > 1)
        Alert("SM_orbifoldSimpleAction", 0, Inconsistent, "Simple fusion error");
    return count > 0 ? list[0] : -1;
}

int SM_OrbifoldCharge(int cur, int prim) {
    const int N = buildN;
    const int x = SM_orbifoldSimpleAction(cur, prim, nullptr);
    if (x < 0)
        return 0;
    const long long num = static_cast<long long>(weightNumerator(N, buildRow(cur))) +
                          weightNumerator(N, buildRow(prim)) - weightNumerator(N, buildRow(x));
    const int q = mod(static_cast<int>(num * 4 / (16LL * N)), 4);
    return N % 2 == 0 ? q / 2 : q;
}

int SM_OrbifoldConjugate(SpectrumData* sd, int field) {
    const int N = sd->rank;
    if (N % 2 == 0)
        return field;
    const bool one = N % 4 == 1;
    const int pairs[3][2] = {
        {1, 3}, {N + 3, one ? N + 4 : N + 6}, {one ? N + 5 : N + 4, one ? N + 6 : N + 5}};
    for (const auto& p : pairs) {
        if (field == p[0])
            return p[1];
        if (field == p[1])
            return p[0];
    }
    return field;
}

void SM_orbifold_spectrum(SpectrumData* sd, int N) {
    buildN = N;
    const int n = fieldCount(N);
    sd->type = 7;
    sd->rank = N;
    sd->level = 0;
    sd->RepSize = 2;
    sd->Nprimaries = n;
    sd->Weight_denom = 16 * N;
    sd->CentralCharge = 1.0;
    sd->Complexity = N % 2;
    sd->AdjDimension = 1;
    sd->exactWeights = 1;
    sd->validCFT = 1;
    int* buffer = LabelBuffer.reserve(n * 5 + 10);
    writeBuildRows(N, buffer);
    int* map = buffer + 2 * n;
    if (SM_getMap(map, 4, sd, SM_orbifoldSimpleAction, nullptr, 1, 0) != 0)
        return;
    const int M = mult(sd);
    for (int f = 0; f < n; f++) {
        const int* row = buildRow(map[f]);
        std::copy(row, row + 2, SM_getRep(sd, f));
        sd->Weight_num[f] = weightNumerator(N, row);
        sd->Dimensions[f] = 1;
        sd->Conjugates[f] = SM_OrbifoldConjugate(sd, f);
        for (int c = 0; c < M; c++)
            sd->Charges[static_cast<std::size_t>(f) * M + c] = SM_OrbifoldCharge(c + 1, map[f]);
    }
    if (N % 2 == 0)
        sd->FCFTnumber = 3;
    else
        sd->FCFTnumber = N >= 3 ? 1 : 0;
    sd->FixedPointCurrents = nullptr;
    if (sd->FCFTnumber > 0) {
        sd->FixedPointCurrents =
            store_internal::allocateFor<int>(sd, sd->FCFTnumber, "Fixed currents");
        for (int c = 0; c < sd->FCFTnumber; c++)
            sd->FixedPointCurrents[c] = N % 2 == 0 ? c + 1 : 2;
    }
}

void SM_initOrbifoldFCFTdata(SpectrumData* sd) {
    SM_allocFCFT(sd);
    const int n = sd->FCFTnumber;
    std::fill(sd->FCFTlabels, sd->FCFTlabels + static_cast<std::size_t>(n) * sd->Nprimaries, -1);
    for (int c = 0; c < n; c++) {
        int type = 0, rank = 0, level = 0, shift = 0;
        SM_getOrbifoldFCFT(sd, c, &type, &rank, &level, &shift);
        SpectrumData* F = SM_getData(type, rank, level);
        sd->FCFTshifts[c] = shift;
        if (!F)
            continue;
        sd->FixedPointCFT[c] = F;
        int* row = store_internal::fcftLabelRow(sd, c);
        for (int f = 0; f < sd->Nprimaries; f++)
            row[f] = SM_getOrbifoldFCFTlabel(sd, F, sd->FixedPointCurrents[c], f);
    }
}

int SM_getOrbifoldFCFTlabel(SpectrumData* sd, SpectrumData* sd2, int curr, int lbl) {
    const int N = sd->rank;
    if (curr == 2) {
        if (kindOf(sd, lbl) != 1)
            return -1;
        return currentTwoLabel(sd2, N, SM_getRep(sd, lbl)[1]);
    }
    if (curr != 1 && curr != 3) {
        Alert("SM_getOrbifoldFCFTlabel", 0, Inconsistent, "Invalid orbifold fixed point");
        return -1;
    }
    if (lbl == N + 2)
        return 2;
    // Current 1 fixes the twist fields of one orbit, current 3 those of the other.
    const bool late = (N % 4 == 2) == (curr == 1);
    const int first = late ? N + 5 : N + 3;
    if (lbl == first || lbl == first + 1)
        return lbl - first;
    return -1;
}
