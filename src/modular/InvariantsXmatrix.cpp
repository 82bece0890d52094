// The monodromy matrix R of a simple-current group Z_N1 x ... x Z_NM and the admissible X
// matrices, each handed to the analysis callback of the search in progress. Row i of R and X
// counts in units of 1/N_i; the generator pairs (i, j), i < j, are the loop indices in the order
// (0,1), (0,2), ..., (M-2,M-1).
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"

#include <numeric>
#include <vector>

using namespace invariants_internal;

namespace {

int order(const SCData* MD, int i) {
    return MD->dg->Orders[i];
}

int basisCurrent(const SCData* MD, int i) {
    return MD->map[DG_basis(MD->dg, i)];
}

// The monodromy charge and the weight of the basis currents, whichever source gives them; both
// come back reduced and the charge in [0, 1).
using ChargeSource = void (*)(const SCData* MD, int Ji, int Jj, rat* Q);
using WeightSource = void (*)(const SCData* MD, int Ji, rat* h);

void facadeCharge(const SCData*, int Ji, int Jj, rat* Q) {
    copyRat(Q, simpleCurrentCharge(Ji, Jj));
}

void facadeWeight(const SCData*, int Ji, rat* h) {
    copyRat(h, ratWeight(Ji));
}

void callbackCharge(const SCData* MD, int Ji, int Jj, rat* Q) {
    MD->CurrentCurrentCharge(Ji, Jj, Q, MD->DataPointer);
}

void callbackWeight(const SCData* MD, int Ji, rat* h) {
    MD->CurrentWeight(Ji, h, MD->DataPointer);
}

void fractionalPart(rat* q) {
    simplifyRat(q);
    RatToFrac(q);
    simplifyRat(q);
}

// R_ii is fixed modulo 2 N_i by the weight: h(J) = R_ii/2 - Q_J(J)/2 modulo 1, and made even so
// that X_ii = R_ii / 2 is an integer.
int diagonalEntry(int N, int R, const rat& c, const rat& weight) {
    rat s{R * c.den - c.num, 2 * c.den};
    fractionalPart(&s);
    rat w = weight;
    fractionalPart(&w);
    if (s.num != w.num || s.den != w.den)
        R += N;
    if (R % 2 != 0)
        R += N;
    return mod(R, 2 * N);
}

void fillMonodromies(SCData* MD, ChargeSource charge, WeightSource weight) {
    const int M = MD->dg->Mult;
    MD->Monodromies.reserve(std::max(2 * M * M, 1));
    MD->Xmatrix = MD->Monodromies.X + M * M;
    int* R = MD->Monodromies.X;
    for (int i = 0; i < M; i++) {
        const int Ni = order(MD, i);
        const int Ji = basisCurrent(MD, i);
        for (int j = 0; j < M; j++) {
            rat c;
            charge(MD, Ji, basisCurrent(MD, j), &c);
            fractionalPart(&c);
            int r = Ni * c.num / c.den;
            if (i != j) {
                R[i * M + j] = mod(r, Ni);
                continue;
            }
            rat h;
            weight(MD, Ji, &h);
            R[i * M + i] = diagonalEntry(Ni, r, c, h);
        }
    }
}

// The pair list and the step N_i / gcd(N_i, N_j) of each pair; the loop value of a pair runs up
// to gcd(N_i, N_j) - 1.
void preparePairs(SCData* MD, std::vector<int>& upper) {
    const int M = MD->dg->Mult;
    const int L = M * (M - 1) / 2;
    MD->loopsize = L;
    MD->factor.reserve(std::max(3 * L, 1));
    MD->row = MD->factor.X + L;
    MD->col = MD->factor.X + 2 * L;
    upper.assign(static_cast<std::size_t>(L), 0);
    int k = 0;
    for (int i = 0; i < M; i++)
        for (int j = i + 1; j < M; j++, k++) {
            const int g = std::gcd(order(MD, i), order(MD, j));
            MD->row[k] = i;
            MD->col[k] = j;
            MD->factor[k] = order(MD, i) / g;
            upper[static_cast<std::size_t>(k)] = g - 1;
        }
}

void setDiagonal(SCData* MD) {
    const int M = MD->dg->Mult;
    for (int i = 0; i < M; i++)
        MD->Xmatrix[i * M + i] = MD->Monodromies[i * M + i] / 2;
}

// X_ii = R_ii / 2 and the pairs with their ranges; false when there are no pairs.
bool prepareLoops(SCData* MD, std::vector<int>& upper) {
    setDiagonal(MD);
    preparePairs(MD, upper);
    return MD->loopsize > 0;
}

// One generator pair (i, j) of the point being evaluated, with R and X by entry.
struct Pair {
    int i, j, Ni, Nj, M;
    int* Xm;
    const int* Rm;
    int& X(int a, int b) const { return Xm[a * M + b]; }
    int R(int a, int b) const { return Rm[a * M + b]; }
};

// The X loops' own display, while they have one.
LoopProgress* loopProgress = nullptr;
constexpr const char* LoopTitle = "X matrix loops";

// Fills the pairs of X for one loop point and hands the record to the analysis.
template <class FillPair> int evaluatePoint(void* data, FillPair fill) {
    // The loops end at a user's stop; the points visited so far count.
    if (loopProgress ? loopProgress->step() : stopSignal != 0)
        return -2;
    SCData* MD = static_cast<SCData*>(data);
    const int M = MD->dg->Mult;
    MD->Symmetric = 1;
    for (int k = 0; k < MD->loopsize; k++) {
        const int i = MD->row[k], j = MD->col[k];
        fill(MD, k, Pair{i, j, order(MD, i), order(MD, j), M, MD->Xmatrix, MD->Monodromies.X});
    }
    return runAnalysis(MD);
}

// A group without pairs has one X.
int singleX(SCData* MD) {
    MD->Symmetric = 1;
    const int r = runAnalysis(MD);
    return r == -1 ? 1 : r;
}

// S random points instead of all of them when "MIPF random" = S is at most their number T.
bool randomScanChosen(double T) {
    const int S = param(Par::MIPFRandom);
    if (S == 0 || S > T)
        return false;
    if (T <= 1e9)
        Print("Xmatrix loops too large (%d > %d); using random scan\n", static_cast<int>(T), S);
    else
        Print("Xmatrix loops too large (%15.0f > %d); using random scan\n", T, S);
    setRandomization();
    return true;
}

int visitPoints(SCData* MD, std::vector<int>& upper, bool mayRandomize, EVAL evaluate) {
    const int L = MD->loopsize;
    std::vector<int> lower(static_cast<std::size_t>(L), 0);
    std::vector<int> loop(static_cast<std::size_t>(L), 0);
    if (mayRandomize && param(Par::MIPFRandom) != 0 &&
        randomScanChosen(getLoopLength(L, lower.data(), upper.data())))
        return RandomizedLoops(L, lower.data(), upper.data(), loop.data(), MD,
                               param(Par::MIPFRandom), evaluate);
    return NestedLoops(L, lower.data(), upper.data(), loop.data(), MD, nullptr, evaluate);
}

// The loops show progress of their own when nothing around them does (a scan of subgroups
// shows its own).
int runLoops(SCData* MD, std::vector<int>& upper, bool mayRandomize, EVAL evaluate) {
    double points = 1.0;
    for (int k = 0; k < MD->loopsize; k++)
        points *= upper[static_cast<std::size_t>(k)] + 1.0;
    const int samples = param(Par::MIPFRandom);
    if (mayRandomize && samples != 0 && samples <= points)
        points = samples;
    if (isRunningModal || loopProgress)
        return visitPoints(MD, upper, mayRandomize, evaluate);
    LoopProgress progress(LoopTitle, points);
    loopProgress = &progress;
    const int r = visitPoints(MD, upper, mayRandomize, evaluate);
    loopProgress = nullptr;
    return r;
}

} // namespace

void computeMonodromies(SCData* MD) {
    fillMonodromies(MD, facadeCharge, facadeWeight);
}

void GSC_computeMonodromies(SCData* MD) {
    fillMonodromies(MD, callbackCharge, callbackWeight);
}

int generateInvariants(SCData* MD) {
    std::vector<int> upper;
    if (!prepareLoops(MD, upper))
        return singleX(MD);
    return runLoops(MD, upper, true, computeXmatrix);
}

int computeXmatrix(int, int* loop, void* data) {
    return evaluatePoint(data, [loop](SCData* MD, int k, Pair p) {
        const int Xij = MD->factor[k] * loop[k];
        int Xji = (p.R(p.i, p.j) - Xij) * p.Nj / p.Ni;
        while (Xji < 0)
            Xji += p.Nj;
        p.X(p.i, p.j) = Xij;
        p.X(p.j, p.i) = Xji;
        if (Xij * p.Nj != Xji * p.Ni)
            MD->Symmetric = 0;
    });
}

// A pair with an odd monodromy entry of an even order has no symmetric X; an odd entry of an odd
// order is made even by adding the order.
int generateSymmetricInvariants(SCData* MD) {
    std::vector<int> upper;
    if (!prepareLoops(MD, upper))
        return singleX(MD);
    const int M = MD->dg->Mult;
    int* R = MD->Monodromies.X;
    for (int k = 0; k < MD->loopsize; k++) {
        const int i = MD->row[k], j = MD->col[k];
        for (const auto& [a, b] : {std::pair{i, j}, std::pair{j, i}}) {
            if (R[a * M + b] % 2 == 0)
                continue;
            if (order(MD, a) % 2 == 0)
                return 0;
            R[a * M + b] += order(MD, a);
        }
        upper[static_cast<std::size_t>(k)] = std::gcd(order(MD, i), order(MD, j)) % 2 == 0 ? 1 : 0;
    }
    return runLoops(MD, upper, MD->loopsize > 4, computeSymmetricXmatrix);
}

int computeSymmetricXmatrix(int, int* loop, void* data) {
    return evaluatePoint(data, [loop](SCData*, int k, Pair p) {
        const int l = loop[k];
        int Xij = (p.R(p.i, p.j) / 2 + p.Ni * l / 2) % p.Ni;
        const int t = (p.R(p.j, p.i) / 2 + p.Nj * l / 2) % p.Nj;
        if ((Xij * p.Nj) % p.Ni != 0)
            Xij = (p.Ni / 2 + Xij) % p.Ni;
        int Xji = Xij * p.Nj / p.Ni;
        while (Xji < 0)
            Xji += p.Nj;
        p.X(p.i, p.j) = Xij;
        p.X(p.j, p.i) = Xji;
        if (t != Xji)
            Alert("computeSymmetricXmatrix", 0, 212404, "Sym X-mat problem");
    });
}

rat* computeXIJ(int I, int J, SCData* MD) {
    static rat result;
    setzero(&result);
    const Discrete_Group* dg = MD->dg;
    const int M = dg->Mult;
    if (M == 0)
        return &result;
    const int* a = dg->Decomp + static_cast<std::size_t>(I) * M;
    const int* b = dg->Decomp + static_cast<std::size_t>(J) * M;
    for (int i = 0; i < M; i++) {
        if (a[i] == 0)
            continue;
        for (int j = 0; j < M; j++) {
            if (b[j] == 0)
                continue;
            rat term;
            torat2(a[i] * MD->Xmatrix[i * M + j] * b[j], dg->Orders[i], &term);
            addRat(&result, &term, &result);
        }
    }
    simplifyRat(&result);
    return &result;
}
