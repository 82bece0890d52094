// S elements of A, B, C, D and the twisted B(2t) by the determinant method, and the fixed tables
// of B, C and D at level 1. All elements of one S-matrix share rank and level, so each routine
// keeps the constants of its last (rank, level) and reads its angles from a cached table.
#include "lie/Smatrix.h"

#include "base/Allocation.h"
#include "lie/Tarvik.h"

#include <cmath>

namespace {

// Coordinates of the two weights: x from offset 0, y from offset rank + 1; B(2t) also keeps its
// two converted label vectors from 2 (rank + 1) and 3 (rank + 1). Reserved on every call, since
// another routine may have moved or shortened it in between.
GuardedArray<int> S_work("S_work");

// The constants of one routine at its last (rank, level).
struct SCache {
    bool keyed = false;
    int lastRank = 0;
    int lastLevel = 0;
    int modul = 0;
    int root = 0; // phase class (A) or sign class (B, C, B(2t))
    double norm = 1;
    int rankp = 0; // offset of y in S_work (called nsun for A)
    const double* Cos = nullptr;
    const double* Sin = nullptr;

    bool matches(int rank, int level) const {
        return keyed && rank == lastRank && level == lastLevel;
    }
    void setKey(int rank, int level, int modulus) {
        modul = modulus;
        Cos = getCos(modulus);
        Sin = Cos + modulus;
        rankp = rank + 1;
        lastRank = rank;
        lastLevel = level;
        keyed = true;
    }
};

SCache cacheA, cacheB, cacheC, cacheD, cacheBt;

// -1 when r(r+1) = 2 mod 4, else +1: the sign of the sine determinants of B, C and B(2t).
int signClass(int rank) {
    return (rank * (rank + 1)) % 4 == 2 ? -1 : 1;
}

void setUpA(int rank, int level) {
    const int n = rank + 1;
    cacheA.setKey(rank, level, (level + n) * n * n);
    cacheA.root = (n * (n - 1) / 2) % 4;
    cacheA.norm = std::sqrt(static_cast<double>(n)) * std::pow(level + n, 0.5 * (n - 1));
}

void setUpB(int rank, int level) {
    cacheB.setKey(rank, level, 4 * (level + 2 * rank - 1));
    cacheB.root = signClass(rank);
    cacheB.norm = std::pow(level + 2 * rank - 1, 0.5 * rank) / std::pow(2.0, rank - 1);
}

void setUpC(int rank, int level) {
    cacheC.setKey(rank, level, 2 * (level + rank + 1));
    cacheC.root = signClass(rank);
    cacheC.norm = std::pow(2.0 * (level + rank + 1), 0.5 * rank) / std::pow(2.0, rank);
}

void setUpD(int rank, int level) {
    cacheD.setKey(rank, level, 4 * (level + 2 * rank - 2));
    cacheD.norm = 4 * std::pow(level + 2 * rank - 2, 0.5 * rank) / std::pow(2.0, rank);
}

void setUpBtilde(int rank, int level) {
    cacheBt.setKey(rank, level, level + 2 * rank + 1);
    cacheBt.root = signClass(rank);
    cacheBt.norm = std::pow(level + 2 * rank + 1, 0.5 * rank) / std::pow(2.0, rank);
}

// The three fields of B at level 1: 0 identity, 1 vector, 2 spinor.
int bLevelOneClass(const int* rep, int rank) {
    if (rep[rank] == 1)
        return 0;
    return rep[0] == 1 ? 1 : 2;
}

// The 1-based position of the label 1 (the last one), 0 for the identity.
int cLevelOneIndex(const int* rep, int rank) {
    int j = 0;
    for (int i = 0; i < rank; i++)
        if (rep[i] == 1)
            j = i + 1;
    return j;
}

// The four fields of D at level 1: 0 identity, 1 spinor (label at r-2), 2 vector, 3 spinor
// (label at r-1).
int dLevelOneClass(const int* rep, int rank) {
    if (rep[rank] == 1)
        return 0;
    if (rep[rank - 2] == 1)
        return 1;
    if (rep[0] == 1)
        return 2;
    return rep[rank - 1] == 1 ? 3 : 0;
}

} // namespace

void TarvikA(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level) {
    if (!cacheA.matches(rank, level))
        setUpA(rank, level);
    const int n = rank + 1;
    int* w = S_work.reserve(2 * n);
    orthA(w, rep1, rank);
    orthA(w + n, rep2, rank);
    double R = 0, I = 0;
    ComplexTarvikDet(w, w + n, n, cacheA.modul, cacheA.Cos, &R, &I);
    timesIPower(cacheA.root, R, I, somr, somi);
    *somr /= cacheA.norm;
    *somi = rank == 1 ? 0.0 : *somi / cacheA.norm;
}

void TarvikB(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level) {
    if (!cacheB.matches(rank, level))
        setUpB(rank, level);
    int* w = S_work.reserve(2 * (rank + 1));
    orthB(w, rep1, rank);
    orthB(w + cacheB.rankp, rep2, rank);
    const double D = TarvikDet(w, w + cacheB.rankp, rank, cacheB.modul, cacheB.Sin);
    *somr = cacheB.root * D / cacheB.norm;
    *somi = 0.0;
}

void TarvikC(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level) {
    if (!cacheC.matches(rank, level))
        setUpC(rank, level);
    int* w = S_work.reserve(2 * (rank + 1));
    orthC(w, rep1, rank);
    orthC(w + cacheC.rankp, rep2, rank);
    const double D = TarvikDet(w, w + cacheC.rankp, rank, cacheC.modul, cacheC.Sin);
    *somr = cacheC.root * D / cacheC.norm;
    *somi = 0.0;
}

void TarvikD(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level) {
    if (!cacheD.matches(rank, level))
        setUpD(rank, level);
    int* w = S_work.reserve(2 * (rank + 1));
    int* y = w + cacheD.rankp;
    orthD(w, rep1, rank);
    orthD(y, rep2, rank);
    const double Dc = TarvikDet(w, y, rank, cacheD.modul, cacheD.Cos);
    const double D = TarvikDet(w, y, rank, cacheD.modul, cacheD.Sin);
    // (-1)^(r(r-1)/2) (Dc + i^r D)
    double R = 0, I = 0;
    switch (rank % 4) {
    case 0:
        R = Dc + D;
        break;
    case 1:
        R = Dc, I = D;
        break;
    case 2:
        R = D - Dc;
        break;
    default:
        R = -Dc, I = D;
        break;
    }
    *somr = R / cacheD.norm;
    *somi = I / cacheD.norm;
}

void TarvikBtilde(const int* rep1, const int* rep2, double* somr, double* somi, int rank,
                  int level) {
    if (!cacheBt.matches(rank, level))
        setUpBtilde(rank, level);
    const int rp = cacheBt.rankp;
    int* w = S_work.reserve(4 * rp);
    int* c1 = w + 2 * rp;
    int* c2 = w + 3 * rp;
    BtildeToC(c1, rep1, rank);
    BtildeToC(c2, rep2, rank);
    orthC(w, c1, rank);
    orthC(w + rp, c2, rank);
    const double D = TarvikDet(w, w + rp, rank, cacheBt.modul, cacheBt.Sin);
    *somr = cacheBt.root * D / cacheBt.norm;
    *somi = 0.0;
}

void TarvikB1(const int* rep1, const int* rep2, double* somr, double* somi, int rank) {
    const double h = 0.5, s = 1 / std::sqrt(2.0);
    static const double table[3][3] = {{h, h, s}, {h, h, -s}, {s, -s, 0}};
    *somr = table[bLevelOneClass(rep1, rank)][bLevelOneClass(rep2, rank)];
    *somi = 0.0;
}

// C(rank) at level 1 is A1 at level rank (level-rank duality).
void TarvikC1(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level) {
    const int j1 = cLevelOneIndex(rep1, rank);
    const int j2 = cLevelOneIndex(rep2, rank);
    const int a1[2] = {j1, rank - j1};
    const int a2[2] = {j2, rank - j2};
    TarvikA(a1, a2, somr, somi, level, rank);
}

void TarvikD1(const int* rep1, const int* rep2, double* somr, double* somi, int rank) {
    // Signs of the real entries; the spinor block is a multiple of omega = (-i)^rank.
    static const int sign[4][4] = {{1, 1, 1, 1}, {1, 1, -1, -1}, {1, -1, 1, -1}, {1, -1, -1, 1}};
    static const double omegaR[4] = {1, 0, -1, 0};
    static const double omegaI[4] = {0, -1, 0, 1};
    // Reorder the classes to rows of the table: identity, vector, spinor 1, spinor 3.
    static const int row[4] = {0, 2, 1, 3};
    const int c1 = dLevelOneClass(rep1, rank), c2 = dLevelOneClass(rep2, rank);
    const int i = row[c1], j = row[c2];
    const double v = 0.5 * sign[i][j];
    if (i >= 2 && j >= 2) {
        *somr = v * omegaR[rank % 4];
        *somi = v * omegaI[rank % 4];
    } else {
        *somr = v;
        *somi = 0.0;
    }
}
