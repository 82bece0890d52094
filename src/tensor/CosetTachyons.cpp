// The tachyon-free extension search. Factor 0 is D5 at level 1 (an odd label is a spinor), the
// other factors are N=2 minimal models with labels (l, m, s). A tachyon is a combination of light
// fields of total weight below 1; a simple current projects it out when their monodromy charge is
// not an integer. The search never ends the process: a success or the level limit ends the search
// and hands the prompt back.
#include "tensor/CosetTachyons.h"

#include "base/Error.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"
#include "tensor/CosetInternal.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <vector>

using coset_internal::factor;

namespace {

using Labels = std::vector<int>;

// One row per distinct charge vector: entries 2k and 2k+1 are the charge numerators of the
// factor-k field with respect to the first and second generator of that factor's current group.
std::vector<Labels> TachyonCharges_0;

struct TachyonData {
    std::vector<Labels> light; // the light fields of each factor
    TensorProduct* TP;
    rat bound;
    std::set<Labels> seen;
};

// ---- Tachyonic states ----

Labels lightFields(TensorProduct* TP, int k) {
    if (k == 0)
        return {2};
    SpectrumData* sd = factor(TP, k);
    Labels light;
    for (int f = 0; f < sd->Nprimaries; f++) {
        const int s = SM_getRep(sd, f)[2];
        if (2 * sd->Weight_num[f] < sd->Weight_denom && mod(s, 2) == 0)
            light.push_back(f);
    }
    return light;
}

void appendCharges(SpectrumData* sd, int f, Labels& row) {
    const int mult = sd->SimpleCurrents ? sd->SimpleCurrents->Mult : 0;
    for (int g = 0; g < 2; g++)
        row.push_back(g < mult ? sd->Charges[f * mult + g] : 0);
}

int TachyonCheck(int Size, int* Loop, void* Data) {
    auto* data = static_cast<TachyonData*>(Data);
    rat h;
    setzero(&h);
    Labels row;
    for (int k = 0; k < Size; k++) {
        SpectrumData* sd = factor(data->TP, k);
        const int f = data->light[static_cast<std::size_t>(k)][static_cast<std::size_t>(Loop[k])];
        rat hk;
        SM_getRatWeight(sd, f, &hk);
        addRat(&h, &hk, &h);
        appendCharges(sd, f, row);
    }
    if (static_cast<long long>(h.num) * data->bound.den >=
        static_cast<long long>(data->bound.num) * h.den)
        return 0;
    if (data->seen.insert(row).second)
        TachyonCharges_0.push_back(row);
    return 0;
}

// ---- Simple currents of the product ----

bool isInteger(const rat& q) {
    return intcheck(&q) == 0;
}

Labels fieldLabels(TensorProduct* TP, int J) {
    const int* v = TensorField(TP, J);
    return Labels(v, v + TP->NTensor);
}

rat currentWeight(TensorProduct* TP, int J) {
    rat h;
    TensorRatWeight(TP, TensorField(TP, J), &h);
    simplifyRat(&h);
    return h;
}

bool integerWeight(TensorProduct* TP, int J) {
    const rat h = currentWeight(TP, J);
    return isInteger(h);
}

bool isSupersymmetryCurrent(TensorProduct* TP, int J) {
    const rat h = currentWeight(TP, J);
    return h.num == 1 && h.den == 1 && mod(TensorField(TP, J)[0], 2) == 1;
}

// J, J^2, ... up to (not including) the identity; empty when a product fails.
Labels powersOf(TensorProduct* TP, int J) {
    Labels powers;
    int P = J;
    for (int i = 0; i < TP->TensorSimpleCurrentOrder && P > 0; i++) {
        powers.push_back(P);
        P = simpleCurrentProduct(P, J, TP);
    }
    if (P != 0)
        powers.clear();
    return powers;
}

bool isSpinorCandidate(TensorProduct* TP, const Labels& v) {
    for (int k = 1; k < TP->NTensor; k++) {
        const int c = SM_getConjugate(factor(TP, k), v[static_cast<std::size_t>(k)]);
        if (v[static_cast<std::size_t>(k)] > c)
            return false;
        if (k > 1 && v[static_cast<std::size_t>(k)] < v[static_cast<std::size_t>(k) - 1])
            return false;
    }
    return true;
}

struct Candidates {
    Labels spinors;
    Labels scalars;
};

Candidates findCandidates(TensorProduct* TP) {
    Candidates c;
    for (int J = 1; J < TP->TensorSimpleCurrentOrder; J++) {
        const Labels v = fieldLabels(TP, J);
        if (isSupersymmetryCurrent(TP, J)) {
            printVec(TP->NTensor, v.data(), "Susy current:");
            continue;
        }
        if (!integerWeight(TP, J))
            continue;
        const Labels powers = powersOf(TP, J);
        if (powers.empty())
            continue;
        const bool bad = std::any_of(powers.begin(), powers.end(), [&](int P) {
            return isSupersymmetryCurrent(TP, P) || !integerWeight(TP, P);
        });
        if (bad)
            continue;
        if (v[0] == 1 && isSpinorCandidate(TP, v))
            c.spinors.push_back(J);
        else if (v[0] == 0)
            c.scalars.push_back(J);
    }
    return c;
}

// Keeps of each cyclic group the generator that comes first in the list.
Labels checkOrbitStructure(TensorProduct* TP, const Labels& list) {
    Labels kept;
    for (int J : list) {
        Labels orbit{0};
        const Labels powers = powersOf(TP, J);
        orbit.insert(orbit.end(), powers.begin(), powers.end());
        const int n = static_cast<int>(orbit.size());
        bool same = false;
        for (int p = 1; p < n && !same; p++)
            same = GCD(p, n) == 1 && std::find(kept.begin(), kept.end(),
                                               orbit[static_cast<std::size_t>(p)]) != kept.end();
        if (!same)
            kept.push_back(J);
    }
    return kept;
}

// ---- The search ----

enum class Outcome { Continue, Succeeded, Exceeded };

struct Search {
    TensorProduct* TP;
    int levelLimit;
    Labels spinors;
    Labels scalars;
    std::array<Labels, TachyonSearchLevels> Algebras;
    std::array<int, TachyonSearchLevels> AlgLoop{};
    std::array<std::vector<char>, TachyonSearchLevels> Projection;

    int spinor() const { return spinors[static_cast<std::size_t>(AlgLoop[0])]; }
    int scalarAt(int level) const {
        return scalars[static_cast<std::size_t>(AlgLoop[static_cast<std::size_t>(level)])];
    }
    bool isScalar(int J) const {
        return std::find(scalars.begin(), scalars.end(), J) != scalars.end();
    }
    bool isSpinor(int J) const {
        return std::find(spinors.begin(), spinors.end(), J) != spinors.end();
    }
};

bool addUnique(Labels& list, int a) {
    if (std::find(list.begin(), list.end(), a) != list.end())
        return false;
    list.push_back(a);
    return true;
}

// B becomes the algebra A extended by K; false when nothing is new or the extension is
// inconsistent or reachable by choosing a smaller scalar current at an earlier level.
bool completeAlgebra(const Search& s, const Labels& A, int K, Labels& B, int level) {
    TensorProduct* TP = s.TP;
    B = A;
    Labels added;
    for (int P : powersOf(TP, K))
        if (addUnique(B, P))
            added.push_back(P);
    if (added.empty())
        return false;
    for (int a : A)
        for (int b : added) {
            const int P = simpleCurrentProduct(a, b, TP);
            if (P < 0 || isSupersymmetryCurrent(TP, P) || !integerWeight(TP, P))
                return false;
            if (s.isScalar(P))
                for (int l = 0; l < level; l++)
                    if (P < s.scalarAt(l + 1))
                        return false;
            addUnique(B, P);
        }
    return true;
}

// The charge of a tachyon row with respect to J, modulo 1, is sum e_g Q_g / order_g over the
// generators g of every factor's group, e_g the exponent of g in J's factor label.
bool projectsOut(TensorProduct* TP, const Labels& J, const Labels& row) {
    rat q;
    setzero(&q);
    for (int k = 0; k < TP->NTensor; k++) {
        Discrete_Group* dg = factor(TP, k)->SimpleCurrents;
        if (!dg)
            continue;
        for (int g = 0; g < std::min(dg->Mult, 2); g++) {
            rat term;
            torat2(DG_decomp(dg, J[static_cast<std::size_t>(k)], g) *
                       row[2 * static_cast<std::size_t>(k) + static_cast<std::size_t>(g)],
                   dg->Orders[g], &term);
            addRat(&q, &term, &q);
        }
    }
    return !isInteger(q);
}

bool checkTachyonProjection(TensorProduct* TP, int J, std::vector<char>& projected) {
    const Labels v = fieldLabels(TP, J);
    bool all = true;
    for (std::size_t t = 0; t < TachyonCharges_0.size(); t++) {
        if (!projected[t] && projectsOut(TP, v, TachyonCharges_0[t]))
            projected[t] = 1;
        all = all && projected[t];
    }
    return all;
}

bool chargesIntegral(const Search& s, int S, int level) {
    const Labels v = fieldLabels(s.TP, S);
    auto integral = [&](int J) {
        rat Q;
        TensorRatCharge(s.TP, fieldLabels(s.TP, J).data(), v.data(), &Q);
        return isInteger(Q);
    };
    if (!integral(s.spinor()))
        return false;
    for (int m = 2; m < level; m++)
        if (!integral(s.scalarAt(m)))
            return false;
    return true;
}

void printLoopVariables(const Search& s, int level) {
    printVec(level + 1, s.AlgLoop.data(), "Loop variables");
}

void printChoice(const Search& s, int level, const char* label) {
    const int N = s.TP->NTensor;
    printVec(N, fieldLabels(s.TP, s.spinor()).data(), label);
    for (int m = 1; m <= level; m++)
        printVec(N, fieldLabels(s.TP, s.scalarAt(m)).data(), label);
}

// Identical N=2 factors on which the spinor agrees are ordered by the chosen scalar currents,
// and a spinor candidate inside the algebra must not come before the chosen one.
bool pairInOrder(const Search& s, int i, int j, int level) {
    auto T = [&](int m, int k) { return TensorField(s.TP, s.scalarAt(m))[k]; };
    for (int m = 1; m < level; m++) {
        if (T(m, j) > T(m, i))
            return true;
        if (T(m, j) < T(m, i)) {
            std::printf("Permutation violation: %d %d m=%d\n", i, j, m);
            printChoice(s, level, " ");
        }
    }
    return T(level, j) >= T(level, i);
}

bool checkAlgebraOrder(const Search& s, int level) {
    TensorProduct* TP = s.TP;
    const int* spinor = TensorField(TP, s.spinor());
    for (int i = 1; i < TP->NTensor; i++)
        for (int j = i + 1; j < TP->NTensor; j++)
            if (factor(TP, i)->rank == factor(TP, j)->rank && spinor[i] == spinor[j] &&
                !pairInOrder(s, i, j, level))
                return false;
    const Labels& alg = s.Algebras[static_cast<std::size_t>(level)];
    for (std::size_t e = 2; e < alg.size(); e++)
        if (s.isSpinor(alg[e]) && alg[e] < s.spinor())
            return false;
    return true;
}

Outcome addScalarCurrent(Search& s, int level) {
    if (level >= s.levelLimit) {
        Alert("addScalarCurrent", 0, 212404, "Level exceeded");
        return Outcome::Exceeded;
    }
    const auto L = static_cast<std::size_t>(level);
    s.Algebras[L].clear();
    const int start = level == 1 ? 0 : s.AlgLoop[L - 1] + 1;
    for (int index = start; index < static_cast<int>(s.scalars.size()); index++) {
        s.AlgLoop[L] = index;
        const int S = s.scalars[static_cast<std::size_t>(index)];
        if (!chargesIntegral(s, S, level) ||
            !completeAlgebra(s, s.Algebras[L - 1], S, s.Algebras[L], level))
            continue;
        s.Projection[L] = s.Projection[L - 1];
        if (checkTachyonProjection(s.TP, S, s.Projection[L])) {
            std::printf("Succeeded at level %d! \n", level);
            printLoopVariables(s, level);
            return Outcome::Succeeded;
        }
        printLoopVariables(s, level);
        printChoice(s, level, "##");
        std::printf("Order %d\n", static_cast<int>(s.Algebras[L].size()));
        if (!checkAlgebraOrder(s, level))
            continue;
        const Outcome deeper = addScalarCurrent(s, level + 1);
        if (deeper != Outcome::Continue)
            return deeper;
    }
    return Outcome::Continue;
}

} // namespace

int findTachyons(TensorProduct* TP, const rat& bound) {
    TachyonCharges_0.clear();
    const int N = TP->NTensor;
    TachyonData data{{}, TP, bound, {}};
    std::vector<int> Max;
    for (int k = 0; k < N; k++) {
        data.light.push_back(lightFields(TP, k));
        const Labels& light = data.light.back();
        printVec(static_cast<int>(light.size()), light.data(), "-->");
        Max.push_back(static_cast<int>(light.size()) - 1);
    }
    if (std::any_of(Max.begin(), Max.end(), [](int m) { return m < 0; }))
        return 0;
    std::vector<int> Min(static_cast<std::size_t>(N), 0);
    std::vector<int> Loop(static_cast<std::size_t>(N));
    NestedLoops(N, Min.data(), Max.data(), Loop.data(), &data, nullptr, TachyonCheck);
    return static_cast<int>(TachyonCharges_0.size());
}

int computeTachyonSpectrum(TensorProduct* TP, const TachyonSearchBounds& bounds) {
    std::fflush(stdout);
    findTachyons(TP, bounds.weight);
    setInputDataChanged(TP);
    if (computeSimpleCurrentTensorSpectrum(TP) == -1)
        return 1;
    Search s{TP, std::min(bounds.levels, TachyonSearchLevels), {}, {}, {}, {}, {}};
    Candidates c = findCandidates(TP);
    s.spinors = checkOrbitStructure(TP, c.spinors);
    s.scalars = checkOrbitStructure(TP, c.scalars);
    printVec(static_cast<int>(s.spinors.size()), s.spinors.data(), "Spinors");
    for (std::size_t v = 0; v < s.spinors.size(); v++) {
        s.AlgLoop[0] = static_cast<int>(v);
        completeAlgebra(s, Labels{0}, s.spinor(), s.Algebras[0], 0);
        printVec(static_cast<int>(s.Algebras[0].size()), s.Algebras[0].data(), "Algebra");
        s.Projection[0].assign(TachyonCharges_0.size(), 0);
        if (checkTachyonProjection(TP, s.spinor(), s.Projection[0])) {
            std::printf("Succeeded at level 0!\n");
            printVec(static_cast<int>(s.Algebras[0].size()), s.Algebras[0].data(), "Algebra");
            continue;
        }
        const Outcome o = addScalarCurrent(s, 1);
        if (o == Outcome::Succeeded)
            return 0;
        if (o == Outcome::Exceeded)
            return 1;
    }
    std::printf("Computation completed\n");
    return 0;
}
