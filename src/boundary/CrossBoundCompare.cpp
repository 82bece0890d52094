// Comparison of stored complete boundary sets: sets whose coefficients agree in modulus are
// similar; their annulus tables are compared as stored and, failing that, up to a permutation of
// the second set's boundaries within classes of equal annulus data, and the phase relating the
// two sets is printed for every primary.
#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/MathUtility.h"
#include "numeric/Permutations.h"
#include "numeric/Sorting.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

using namespace crossbound_internal;

namespace {

bool similar(const CompleteBoundarySet& one, const CompleteBoundarySet& two) {
    const int N = one.Nfield;
    for (int a = 0; a < one.Nbound; a++) {
        const double* R1 = one.Bound.data() + static_cast<std::size_t>(a) * 2 * N;
        const double* R2 = two.Bound.data() + static_cast<std::size_t>(a) * 2 * N;
        for (int m = 0; m < N; m++)
            if (std::fabs(absC(R1[m], R1[N + m]) - absC(R2[m], R2[N + m])) >= 1e-7)
                return false;
    }
    return true;
}

void printConjugates(const AnnulusTable& t, int number) {
    char text[64];
    std::snprintf(text, sizeof text, "Boundary conjugates (set %d)", number);
    PrintVec(t.L, t.BC.data(), text);
}

bool agree(const AnnulusTable& one, const AnnulusTable& two, const int* p) {
    for (int i = 0; i < one.N; i++)
        for (int a = 0; a < one.L; a++)
            for (int b = 0; b < one.L; b++)
                if (one.at(i, a, one.BC[static_cast<std::size_t>(b)]) !=
                    two.at(i, p[a], two.BC[static_cast<std::size_t>(p[b])]))
                    return false;
    return true;
}

} // namespace

int AnnulusTable::at(int i, int a, int b) const {
    return A[(static_cast<std::size_t>(i) * L + a) * L + b];
}

void storeAnnulus(const CompleteBoundarySet& set, AnnulusTable* table) {
    selectBoundary(set.Number, 1);
    const int N = set.Nfield, L = set.Nbound;
    table->N = N;
    table->L = L;
    table->A.assign(static_cast<std::size_t>(N) * L * L, 0);
    table->BC.assign(static_cast<std::size_t>(L), 0);
    for (int i = 0; i < N; i++)
        for (int a = 0; a < L; a++)
            for (int b = a; b < L; b++) {
                const int value = getAnnulus(i, a, b);
                table->A[(static_cast<std::size_t>(i) * L + a) * L + b] = value;
                table->A[(static_cast<std::size_t>(i) * L + b) * L + a] = value;
                if (i == 0 && value == 1) {
                    table->BC[static_cast<std::size_t>(a)] = b;
                    table->BC[static_cast<std::size_t>(b)] = a;
                }
            }
}

void AddGrading(int size, int* labels, const int* values) {
    int g = 0;
    for (int p = 0; p < size; p++)
        g = std::max(g, labels[p]);
    for (int p = 0; p < size; p++)
        for (int q = p + 1; q < size; q++) {
            if (labels[p] != labels[q] || values[p] == values[q])
                continue;
            g++;
            const int v = values[q];
            for (int r = q; r < size; r++)
                if (values[r] == v)
                    labels[r] = g;
        }
}

std::vector<int> attemptBoundaryReorder(const AnnulusTable& one, const AnnulusTable& two) {
    const int L = one.L;
    std::vector<int> id(static_cast<std::size_t>(L), 0), row(static_cast<std::size_t>(L));
    for (int i = 0; i < one.N; i++) {
        for (int a = 0; a < L; a++)
            row[static_cast<std::size_t>(a)] = two.at(i, a, two.BC[static_cast<std::size_t>(a)]);
        AddGrading(L, id.data(), row.data());
    }
    const VectorSpace* P = generateSubPermutations(L, id.data());
    for (int r = 0; P && r < P->Nfill; r++) {
        const int* p = rowOf(P, r);
        if (agree(one, two, p))
            return {p, p + L};
    }
    return {};
}

void compareBoundaryPhases(const CompleteBoundarySet& one, const CompleteBoundarySet& two,
                           const int* permutation) {
    const int N = one.Nfield;
    Print("  Primary label    Phase (set %d/set %d)\n", two.Number, one.Number);
    for (int m = 0; m < N; m++) {
        bool printed = false;
        double first = 0.0;
        for (int a = 0; a < one.Nbound; a++) {
            const double* R1 = one.Bound.data() + static_cast<std::size_t>(a) * 2 * N;
            if (CZeroCheck(R1[m], R1[N + m]))
                continue;
            const int b = permutation ? permutation[a] : a;
            const double* R2 = two.Bound.data() + static_cast<std::size_t>(b) * 2 * N;
            double re, im;
            complexRatio(R2[m], R2[N + m], R1[m], R1[N + m], &re, &im);
            double phi = getPhase(re, im) / (2 * std::numbers::pi);
            while (phi < 0)
                phi += 1;
            while (phi >= 1)
                phi -= 1;
            if (!printed) {
                Print("  %3d              %15.7f\n", m, phi);
                first = phi;
                printed = true;
            } else if (std::fabs(phi - first) >= 1e-7) {
                Alert("compareBoundaryPhases", 0, 212404, "Inconsistent boundary phase relation");
            }
        }
    }
}

int CompareBoundarySets(const CompleteBoundarySet& one, const CompleteBoundarySet& two) {
    if (!similar(one, two))
        return 0;
    Print("Boundary sets %d and %d are similar; Comparison:\n", one.Number, two.Number);
    AnnulusTable t1, t2;
    storeAnnulus(one, &t1);
    printConjugates(t1, one.Number);
    storeAnnulus(two, &t2);
    printConjugates(t2, two.Number);
    const int N = one.Nfield, L = one.Nbound;
    for (int i = 0; i < N; i++)
        for (int a = 0; a < L; a++)
            for (int b = a; b < L; b++) {
                if (t1.at(i, a, t1.BC[static_cast<std::size_t>(b)]) ==
                    t2.at(i, a, t2.BC[static_cast<std::size_t>(b)]))
                    continue;
                Print("NIMreps not identical for this ordering: A_%d_%d^%d differs.\nTrying "
                      "reordering\n",
                      i, a, b);
                const std::vector<int> p = attemptBoundaryReorder(t1, t2);
                if (p.empty())
                    return 0;
                Print("NIMreps identical up to permutations\n");
                char text[64];
                std::snprintf(text, sizeof text, "  Permutation (applied to set %d): ", two.Number);
                PrintVec(L, p.data(), text);
                compareBoundaryPhases(one, two, p.data());
                return 1;
            }
    Print("NIMreps identical\n");
    compareBoundaryPhases(one, two, nullptr);
    return 1;
}

void CompareAllBoundarySets() {
    for (const CompleteBoundarySet* s = completeBS.get(); s; s = s->next.get())
        for (const CompleteBoundarySet* t = s->next.get(); t; t = t->next.get())
            CompareBoundarySets(*s, *t);
}

int getRelativePhase(int* phase, double R1, double I1, double R2, double I2) {
    if (*phase == -2 || CZeroCheck(R2, I2))
        return 0;
    double re, im;
    complexRatio(R1, I1, R2, I2, &re, &im);
    const double t = 2 * getPhase(re, im) / std::numbers::pi;
    if (std::fabs(t - std::round(t)) >= 1e-7) {
        Alert("getRelativePhase", 0, 112301, "Unexpected relative phase: %15.7f", t / 2);
        return 2;
    }
    const int q = ((static_cast<int>(std::lround(t)) % 4) + 4) % 4;
    if (*phase < 0) {
        *phase = q;
        return 0;
    }
    return q != *phase ? 1 : 0;
}
