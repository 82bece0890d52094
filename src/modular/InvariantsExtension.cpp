// Invariants from extensions of the chiral algebra by primaries of integer weight: the list of
// such primaries, bounds on their multiplicities, the positivity of the S-transform of a
// candidate, and the invariant its fusion rules define, block by block.
#include "modular/Invariants.h"

#include "base/Output.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace invariants_internal;

namespace {

GuardedArray<int> Currents{"Currents", &Invariants_alloc};
GuardedArray<int> fieldList{"fields", &Invariants_alloc};
GuardedArray<int> Hom{"Hom", &Invariants_alloc};
GuardedArray<double> cmat{"cmat", &Invariants_alloc};

constexpr double BoundTolerance = 1e-6;
constexpr int WrapColumn = 61;

double reS(int i, int j) {
    double re = 0, im = 0;
    compS(i, j, &re, &im);
    return re;
}

std::size_t at(int N, int a, int b) {
    return static_cast<std::size_t>(a) * static_cast<std::size_t>(N) + static_cast<std::size_t>(b);
}

// The positivity at field a with k copies of a, the other fields at their bounds where they can
// only help: negative means k copies are too many.
double multiplicityTest(int cnt, int a, int k, const double* C, const double* S0, double S00,
                        const int* max) {
    double T = S0[a] + k * (C[at(cnt, a, a)] - S00) - static_cast<double>(k) * k * S0[a];
    for (int b = 0; b < cnt; b++)
        if (b != a && k < C[at(cnt, a, b)] / S0[b] + BoundTolerance)
            T += (max[b] - 1) * (C[at(cnt, a, b)] - k * S0[b]);
    return T;
}

// H(a, b) = sum over the listed fields f of N(f, a, b); false when a coefficient failed.
bool fillFusionSum(int N, int size, const int* fields, int* H) {
    std::fill(H, H + at(N, N, 0), 0);
    std::vector<int> row(static_cast<std::size_t>(N));
    for (int t = 0; t < size; t++)
        for (int a = 0; a < N; a++) {
            if (fusionProduct(fields[t], a, 0, row.data()) != 0)
                return false;
            for (int b = 0; b < N; b++)
                H[at(N, a, b)] += row[static_cast<std::size_t>(b)];
        }
    return true;
}

int firstDiagonalOne(int N, const int* H) {
    for (int r = 0; r < N; r++)
        if (H[at(N, r, r)] == 1)
            return r;
    return -1;
}

int printedLength(int value) {
    return std::snprintf(nullptr, 0, "%d", value);
}

} // namespace

int* findIntegerSpin() {
    const int N = theoryPrimaries();
    int* list = Currents.reserve(N + 1);
    int n = 0;
    for (int i = 0; i < N; i++)
        if (ratWeight(i)->den == 1)
            list[n++] = i;
    list[n] = -1;
    return list;
}

double getMaximumCurrentMultiplicities(int cnt, const int* list, int* max) {
    if (cnt < 1)
        return 1;
    initSMATRIX();
    double* C = cmat.reserve(cnt * cnt + cnt);
    double* S0 = C + at(cnt, cnt, 0);
    for (int a = 0; a < cnt; a++) {
        S0[a] = reS(0, list[a]);
        for (int b = 0; b < cnt; b++)
            C[at(cnt, a, b)] = reS(list[a], list[b]);
    }
    const double S00 = reS(0, 0);
    for (int a = 0; a < cnt; a++)
        max[a] = static_cast<int>((1.000001 - S00) / S0[a] + 1);
    for (bool changed = true; changed;) {
        changed = false;
        for (int a = 0; a < cnt; a++)
            for (int k = max[a] - 1; k >= 0; k--) {
                if (multiplicityTest(cnt, a, k, C, S0, S00, max) >= -BoundTolerance)
                    break;
                max[a] = k;
                changed = true;
            }
    }
    double product = 1;
    for (int a = 0; a < cnt; a++)
        product *= max[a];
    return product;
}

int checkAlgebra(const int* currents, const int* mult) {
    initSMATRIX();
    const int N = theoryPrimaries();
    int count = 0;
    while (currents[count] >= 0)
        count++;
    for (int m = 0; m < N; m++) {
        double Pre = 0, Pim = 0;
        for (int t = 0; t < count; t++) {
            double re = 0, im = 0;
            compS(currents[t], m, &re, &im);
            Pre += mult[t] * re;
            Pim += mult[t] * im;
        }
        if (!ZeroCheck(Pim) || (!ZeroCheck(Pre) && Pre < 0))
            return 1;
    }
    if (std::all_of(mult + std::min(count, 1), mult + count, [](int m) { return m == 0; }))
        return 0;
    int size = 0;
    for (int t = 0; t < count; t++)
        size += std::max(mult[t], 0);
    int* fields = fieldList.reserve(std::max(size, 1));
    size = 0;
    for (int t = 0; t < count; t++)
        for (int r = 0; r < mult[t]; r++)
            fields[size++] = currents[t];
    CheckHomomorphism(size, fields);
    return 0;
}

int RemoveVector(int* H, const int* vector, int mult) {
    const int N = theoryPrimaries();
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            int& h = H[at(N, i, j)];
            h -= mult * vector[i] * vector[j];
            if (h < 0) {
                Print("Inconsistency encountered (labels %d and %d)\n", i, j);
                return 0;
            }
        }
    return 1;
}

int printExceptionalOrbit(const int* orbit, int mult) {
    const int N = theoryPrimaries();
    int column = 1;
    if (mult > 1) {
        Print("%d * (", mult);
        column = 4 + printedLength(mult);
    } else {
        Print("(");
    }
    bool marked = false;
    bool first = true;
    rat firstWeight{};
    for (int i = 0; i < N; i++) {
        if (orbit[i] < 1)
            continue;
        const char* sep = first ? "" : "+";
        if (orbit[i] == 1) {
            Print("%s%d", sep, i);
            column += static_cast<int>(first ? 0 : 1) + printedLength(i);
        } else {
            Print("%s%d*%d", sep, orbit[i], i);
            column +=
                static_cast<int>(first ? 0 : 1) + printedLength(orbit[i]) + 1 + printedLength(i);
        }
        const rat w = *ratWeight(i);
        if (first) {
            firstWeight = w;
            first = false;
        } else {
            // Equal weights modulo 1: w - firstWeight has denominator dividing both.
            const long long num = static_cast<long long>(w.num) * firstWeight.den -
                                  static_cast<long long>(firstWeight.num) * w.den;
            const long long den = static_cast<long long>(w.den) * firstWeight.den;
            if (num % den != 0)
                marked = true;
        }
        if (column >= WrapColumn) {
            Print("\n    ");
            column = 4;
        }
    }
    Print(marked ? ")\n" : ") *** \n");
    return marked ? 1 : 0;
}

int CheckHomomorphism(int size, const int* fields) {
    const int N = theoryPrimaries();
    int* H = Hom.reserve(2 * N * N + N);
    int* v = H + at(N, N, 0);
    int* Z = v + N;
    if (!fillFusionSum(N, size, fields, H))
        return -2;
    std::fill(Z, Z + at(N, N, 0), 0);
    int g = 1;
    for (;;) {
        const int r = firstDiagonalOne(N, H);
        if (r < 0) {
            const int d =
                std::accumulate(H, H + at(N, N, 0), 0, [](int x, int y) { return std::gcd(x, y); });
            if (d == 0)
                break;
            if (d == 1) {
                Print("Continuation impossible\n");
                return -2;
            }
            g *= d;
            Print("Dividing by gcd %d\n", d);
            std::for_each(H, H + at(N, N, 0), [d](int& h) { h /= d; });
            continue;
        }
        std::copy(H + at(N, r, 0), H + at(N, r + 1, 0), v);
        if (printExceptionalOrbit(v, g) == 0)
            for (int a = 0; a < N; a++)
                for (int b = 0; b < N; b++)
                    Z[at(N, a, b)] += g * v[a] * v[b];
        if (!RemoveVector(H, v, 1))
            return 0;
    }
    // A zero matrix commutes with S but is no invariant: every block was marked, or there was
    // no field to extend by.
    const bool empty = std::all_of(Z, Z + at(N, N, 0), [](int z) { return z == 0; });
    if (empty || !acceptCandidateInvariant(Z, 1, 1, 0, 1))
        Print("Construction completed; no invariant found\n");
    return 0;
}
