// The annulus vectors an exceptional invariant admits are orthogonal to every S row of a primary
// that is no Ishibashi label. A reduced basis of those rows determines some entries from the
// free ones; every coefficient product is then a linear form in the free entries, whose bounds
// narrow the range of each loop level.
#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "modular/Modular.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

double start_CPU = 0.0;
double last_CPU = 0.0;

namespace {

GuardedArray<double> newVector{"NewVector", &CrossBound_alloc};
GuardedArray<int> columnTags{"ColumnTaggedByVector", &CrossBound_alloc};
GuardedArray<int> maps{"maps", &CrossBound_alloc};
GuardedArray<double> factorWork{"loop", &CrossBound_alloc};

// The results of the last mode-0 call of loadBasisFactors.
int lastNishi = 0;
int lastNtags = 0;

// The squeeze's copy of the factors, with the position of every column in the free list.
struct SqueezeState {
    LoopPacing pacing;
    int lowmin = 0;
    int ilowmin = 0;
    int ilowmax = 0;
    double* F = nullptr;
    int* tagmap = nullptr;
    int nishi = 0;
    int ntags = 0;
    std::vector<int> position; // per column its place in tagmap, -1 when determined
} squeeze;

// The part of a product's linear form that does not depend on the level's own column.
void formRange(const double* F, const SqueezeState& s, int index, const int* Loop, const int* Min,
               const int* Max, double* low, double* high) {
    double lo = 0.0, hi = 0.0;
    for (int c = 0; c < s.ntags; c++) {
        const int col = s.tagmap[c];
        const double f = F[c];
        if (col < index) {
            lo += f * Loop[col];
            hi += f * Loop[col];
        } else if (col > index) {
            if (f > 0) {
                lo += f * Min[col];
                hi += f * Max[col];
            } else if (f < 0) {
                lo += f * Max[col];
                hi += f * Min[col];
            }
        }
    }
    *low = lo;
    *high = hi;
}

// Narrows [*lo, *hi] so that f x + (a value in [low, high]) can lie in [bottom, top].
void narrow(double f, double low, double high, double bottom, double top, double roundUp, int* lo,
            int* hi) {
    if (ZeroCheck(f))
        return;
    const double lower = f > 0 ? (bottom - high) / f : (top - low) / f;
    const double upper = f > 0 ? (top - low) / f : (bottom - high) / f;
    if (lower > *lo)
        *lo = static_cast<int>(lower + 0.9999);
    if (upper < *hi)
        *hi = static_cast<int>(upper + roundUp);
}

} // namespace

bool LoopPacing::step(const char* routine, const char* label, int N, const int* loop) {
    count++;
    if (count % interval != 0)
        return true;
    const double t = CPUTime();
    if (t > 1e-5) {
        if (count < 0) {
            Alert(routine, 0, 100201, "Count overflow; resetting");
            count = 1;
            overflow = 1;
        } else if (!overflow) {
            const long long r = static_cast<long long>(static_cast<double>(count) * 10 / t);
            if (std::fabs(static_cast<double>(r - interval)) / static_cast<double>(interval) >
                    0.05 &&
                r > 100)
                interval = r;
        }
    }
    if (t - last_CPU <= 55.0)
        return true;
    last_CPU = t;
    char text[96];
    std::snprintf(text, sizeof text, label, count, t);
    PrintVec(N, loop, text);
    return Alert(routine, 1, 333209, "Continue?") != 0;
}

int initiateIshibashiOrthogonalSpace(int* max) {
    const int N = getTotalPrimaries();
    double* row = newVector.reserve((N + 2) * N + 10);
    int* tags = columnTags.reserve(2 * N + 10);
    SBI.ImageVectors = row + 2 * N;
    SBI.tagged = tags + N;
    std::fill(SBI.tagged, SBI.tagged + N, -1);
    int count = 0;
    for (int i = 0; i < N; i++) {
        if (isIshibashiLabel(i))
            continue;
        for (int j = 0; j < N; j++)
            compS(i, j, &row[j], &row[N + j]);
        DoubleSweep(row, SBI.ImageVectors, N, &count, tags, 0, max);
        DoubleSweep(row + N, SBI.ImageVectors, N, &count, tags, 0, max);
    }
    return count;
}

int checkIshibashiOrthogonalSpace(int VectorCount) {
    const int N = getTotalPrimaries();
    for (int v = 0; v < VectorCount; v++) {
        const double* V = SBI.ImageVectors + static_cast<std::size_t>(v) * N;
        double sum = 0.0;
        for (int m = 0; m < N; m++) {
            if (!isIshibashiLabel(m))
                continue;
            double re = 0.0, im = 0.0;
            for (int j = 0; j < N; j++) {
                double r, s;
                compS(m, j, &r, &s);
                re += r * V[j];
                im += s * V[j];
            }
            sum += re * re + im * im;
        }
        if (!ZeroCheck(sum)) {
            Alert("checkIshibashiOrthogonalSpace", 2, 100201,
                  "Accuracy problem for vector %d?\n%25.12f should be zero", v, sum);
            return 0;
        }
    }
    return 1;
}

void loadBasisFactors(int Size, int* tagged, double* ImageVectors, double** Factors, int** ishimap,
                      int** tagmap, int* nishi, int* ntags, int mode) {
    if (mode == 0) {
        int* lists = maps.reserve(2 * Size + 10);
        int* free = lists;
        int* ishi = lists + Size;
        int ni = 0, nt = 0;
        for (int j = 0; j < Size; j++) {
            if (isIshibashiLabel(j))
                ishi[ni++] = j;
            if (tagged[j] == -1)
                free[nt++] = j;
        }
        if (ni != nt)
            Alert("loadBasisFactors", 0, 112301,
                  "Number of variables different from number of Ishi's");
        double* work = factorWork.reserve(Size + 2 * ni * nt + 10);
        double* F = work + Size;
        for (int c = 0; c < nt; c++) {
            const int t = free[c];
            double* x = work;
            for (int u = 0; u < Size; u++)
                x[u] = tagged[u] == -1
                           ? (u == t ? 1.0 : 0.0)
                           : -ImageVectors[static_cast<std::size_t>(tagged[u]) * Size + t];
            for (int k = 0; k < ni; k++) {
                const int m = ishi[k];
                double s0r, s0i, re, im;
                compS(0, m, &s0r, &s0i);
                crossbound_internal::sumOverS(Size, x, m, &re, &im);
                F[k * nt + c] = s0r * re;
                F[(ni + k) * nt + c] = s0r * im;
            }
        }
        lastNishi = ni;
        lastNtags = nt;
    }
    *Factors = factorWork.X + Size;
    *tagmap = maps.X;
    *ishimap = maps.X + Size;
    *nishi = lastNishi;
    *ntags = lastNtags;
}

void NimSqueeze(int Size, int index, int* Loop, int* Min, int* Max, int* TrueMin, int* TrueMax,
                void* Data) {
    SqueezeState& s = squeeze;
    if (!Loop) {
        auto* info = static_cast<SingleBoundaryInfo*>(Data);
        int* ishimap = nullptr;
        loadBasisFactors(Size, info->tagged, info->ImageVectors, &s.F, &ishimap, &s.tagmap,
                         &s.nishi, &s.ntags, 1);
        s.position.assign(static_cast<std::size_t>(Size), -1);
        for (int c = 0; c < s.ntags; c++)
            s.position[static_cast<std::size_t>(s.tagmap[c])] = c;
        s.pacing.reset();
        s.lowmin = index;
        s.ilowmin = index == 0 ? 0 : -1;
        s.ilowmax = index == 0 ? 0 : 1;
        return;
    }
    *TrueMin = Min[index];
    *TrueMax = Max[index];
    // A declined question leaves the level its whole range.
    if (!s.pacing.step("NimSqueeze", "Loop index (sq): (total nr.: %lld; time %7.2f)\n", Size,
                       Loop))
        return;
    const int p = s.position[static_cast<std::size_t>(index)];
    if (p < 0)
        return;
    for (int k = 0; k < s.nishi && *TrueMin <= *TrueMax; k++) {
        const double* F = s.F + static_cast<std::size_t>(k) * s.ntags;
        const double* G = s.F + static_cast<std::size_t>(s.nishi + k) * s.ntags;
        double low, high, ilow, ihigh;
        formRange(F, s, index, Loop, Min, Max, &low, &high);
        formRange(G, s, index, Loop, Min, Max, &ilow, &ihigh);
        narrow(F[p], low, high, s.lowmin, 1.0, 0.0001, TrueMin, TrueMax);
        narrow(G[p], ilow, ihigh, s.ilowmin, s.ilowmax, 0.001, TrueMin, TrueMax);
    }
}
