// S elements at real-valued weights with scaled exponents. The routines follow the integer ones
// step by step, but the angles are no longer multiples of 2 pi / m, so every sine and cosine is
// computed directly instead of being read from a cosine table.
#include "lie/SmatrixReal.h"

#include "lie/Smatrix.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "lie/SmatrixCoordinates.h"
#include "numeric/VectorUtility.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

GuardedArray<double> drep("drep");

// The constants of one routine at its last (rank, level), with its own coordinate work array.
struct DoubleSCache {
    bool keyed = false;
    int lastRank = 0;
    int lastLevel = 0;
    int modul = 0;
    int root = 0; // phase class (A) or sign class (B, C)
    double norm = 1;
    int rankp = 0; // offset of y in S_work (nsun for A)
    GuardedArray<double> S_work{"S_work"};

    // True when (rank, level) needs a new set-up; stores the key and the common constants.
    bool rekey(int rank, int level, int modulus) {
        if (keyed && rank == lastRank && level == lastLevel)
            return false;
        lastRank = rank;
        lastLevel = level;
        modul = modulus;
        rankp = rank + 1;
        keyed = true;
        return true;
    }
    double* work(int rank) { return S_work.reserve(2 * (rank + 1)); }
};

DoubleSCache cacheA, cacheB, cacheC, cacheD;

GuardedArray<double> sinMat("aux_mat");
GuardedArray<double> cosMat("aux_mat");
GuardedArray<double> complexMat("aux_mat");

double angle(double x, double y, int modulo, double factor) {
    return TwoPi * (x * y * factor) / modulo;
}

int signClass(int rank) {
    return (rank * (rank + 1)) % 4 == 2 ? -1 : 1;
}

// (-1)^(r(r-1)/2) (Dc + i^r D), by the rank modulo 4.
void combineD(int rank, double Dc, double D, double* R, double* I) {
    *R = 0, *I = 0;
    switch (rank % 4) {
    case 0:
        *R = Dc + D;
        break;
    case 1:
        *R = Dc, *I = D;
        break;
    case 2:
        *R = D - Dc;
        break;
    default:
        *R = -Dc, *I = D;
        break;
    }
}

// B and C need one coordinate, D two.
bool tooSmall(int type, int rank) {
    return (type == 2 || type == 3) ? rank < 1 : type == 4 && rank < 2;
}

void exceptional(int rank, int level, const double* r1, const double* r2, double* sumr,
                 double* sumi, double factor) {
    if (rank == 2)
        DoubleTarvikG(r1, r2, sumr, sumi, level, factor);
    else if (rank == 4)
        DoubleTarvikF(r1, r2, sumr, sumi, level, factor);
    else
        Alert("DoubleSDirect", 0, 112311, "Analytic S for exceptional type E not available");
}

} // namespace

// ---- Coordinates ----

void DoubleorthA(double* isr, const double* rep, int rank) {
    smatrix_internal::orthogonalA(isr, rep, rank);
}

void DoubleorthB(double* isr, const double* rep, int rank) {
    smatrix_internal::orthogonalB(isr, rep, rank);
}

void DoubleorthC(double* isr, const double* rep, int rank) {
    smatrix_internal::orthogonalC(isr, rep, rank);
}

void DoubleorthD(double* isr, const double* rep, int rank) {
    smatrix_internal::orthogonalD(isr, rep, rank);
}

void DoubleorthF(double* sr, const double* rep) {
    smatrix_internal::orthogonalF(sr, rep);
}

// ---- Determinants ----

double DoubleTarvikDetSin(const double* sr1, const double* sr2, int rank, int modulo,
                          double factor) {
    double* aux_mat = sinMat.reserve(rank * rank);
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            aux_mat[i * rank + j] = std::sin(-angle(sr1[i], sr2[j], modulo, factor));
    return Determinant(aux_mat, rank);
}

double DoubleTarvikDetCos(const double* sr1, const double* sr2, int rank, int modulo,
                          double factor) {
    double* aux_mat = cosMat.reserve(rank * rank);
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            aux_mat[i * rank + j] = std::cos(angle(sr1[i], sr2[j], modulo, factor));
    return Determinant(aux_mat, rank);
}

void DoubleComplexTarvikDet(const double* sr1, const double* sr2, int rank, int modulo,
                            double* detR, double* detI, double factor) {
    const int nn = rank * rank;
    double* aux_mat = complexMat.reserve(2 * nn);
    for (int i = 0; i < rank; i++) {
        for (int j = 0; j < rank; j++) {
            const double a = angle(sr1[i], sr2[j], modulo, factor);
            aux_mat[i * rank + j] = std::cos(a);
            aux_mat[nn + i * rank + j] = -std::sin(a);
        }
    }
    ComplexDeterminant(aux_mat, aux_mat + nn, rank, detR, detI);
}

// ---- The types ----

void DoubleTarvikA(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor) {
    DoubleSCache& c = cacheA;
    const int n = rank + 1;
    if (c.rekey(rank, level, (level + n) * n * n)) {
        c.root = (n * (n - 1) / 2) % 4;
        c.norm = std::sqrt(static_cast<double>(n)) * std::pow(level + n, 0.5 * (n - 1));
    }
    double* w = c.work(rank);
    DoubleorthA(w, rep1, rank);
    DoubleorthA(w + c.rankp, rep2, rank);
    double R = 0, I = 0;
    DoubleComplexTarvikDet(w, w + c.rankp, n, c.modul, &R, &I, factor);
    timesIPower(c.root, R, I, somr, somi);
    *somr /= c.norm;
    *somi = rank == 1 ? 0.0 : *somi / c.norm;
}

void DoubleTarvikB(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor) {
    DoubleSCache& c = cacheB;
    if (c.rekey(rank, level, 4 * (level + 2 * rank - 1))) {
        c.root = signClass(rank);
        c.norm = std::pow(level + 2 * rank - 1, 0.5 * rank) / std::pow(2.0, rank - 1);
    }
    double* w = c.work(rank);
    DoubleorthB(w, rep1, rank);
    DoubleorthB(w + c.rankp, rep2, rank);
    const double D = DoubleTarvikDetSin(w, w + c.rankp, rank, c.modul, factor);
    *somr = c.root * D / c.norm;
    *somi = 0.0;
}

void DoubleTarvikC(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor) {
    DoubleSCache& c = cacheC;
    if (c.rekey(rank, level, 2 * (level + rank + 1))) {
        c.root = signClass(rank);
        c.norm = std::pow(2.0 * (level + rank + 1), 0.5 * rank) / std::pow(2.0, rank);
    }
    double* w = c.work(rank);
    DoubleorthC(w, rep1, rank);
    DoubleorthC(w + c.rankp, rep2, rank);
    const double D = DoubleTarvikDetSin(w, w + c.rankp, rank, c.modul, factor);
    *somr = c.root * D / c.norm;
    *somi = 0.0;
}

void DoubleTarvikD(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor) {
    DoubleSCache& c = cacheD;
    if (c.rekey(rank, level, 4 * (level + 2 * rank - 2)))
        c.norm = 4 * std::pow(level + 2 * rank - 2, 0.5 * rank) / std::pow(2.0, rank);
    double* w = c.work(rank);
    double* y = w + c.rankp;
    DoubleorthD(w, rep1, rank);
    DoubleorthD(y, rep2, rank);
    const double Dc = DoubleTarvikDetCos(w, y, rank, c.modul, factor);
    const double D = DoubleTarvikDetSin(w, y, rank, c.modul, factor);
    double R = 0, I = 0;
    combineD(rank, Dc, D, &R, &I);
    *somr = R / c.norm;
    *somi = I / c.norm;
}

void DoubleTarvikG(const double* rep1, const double* rep2, double* somr, double* somi, int level,
                   double factor) {
    printDoubleVec(2, rep1, "IN1 ");
    printDoubleVec(2, rep2, "IN2 ");
    const double m0 = rep1[0] + 1.0, m1 = rep1[1] + 1.0;
    const double n0 = rep2[0] + 1.0, n1 = rep2[1] + 1.0;
    // Inner products of mu + rho with the fundamental weights (long node first).
    const double v0 = 2 * n0 + n1, v1 = n0 + (2.0 / 3.0) * n1;
    const double a = m0 * v0, b = m1 * v1, c = m0 * v1, d = m1 * v0;
    const double t = -TwoPi * factor / (level + 4);
    const double sum = std::cos((a + b) * t) - std::cos((b - a + 3 * c) * t) -
                       std::cos((a - b + d) * t) + std::cos((2 * b - a + 3 * c - d) * t) +
                       std::cos((2 * a - b + d - 3 * c) * t) -
                       std::cos((2 * a - 2 * b - 3 * c + d) * t);
    *somr = -2 * sum / (level + 4) / std::sqrt(3.0);
    *somi = 0.0;
}

void DoubleTarvikF(const double* rep1, const double* rep2, double* somr, double* somi, int level,
                   double factor) {
    const int m = 8 * (level + 9);
    double ir1[4], ir2[4], ir3[4], x[4], y[4];
    DoubleorthF(x, rep1);
    DoubleorthF(y, rep2);
    const double s = y[0] + y[1] + y[2] + y[3];
    for (int i = 0; i < 4; i++) {
        ir1[i] = 2 * y[i];
        ir2[i] = 2 * y[i] - s;
    }
    ir3[0] = s;
    ir3[1] = y[0] + y[1] - y[2] - y[3];
    ir3[2] = y[0] - y[1] + y[2] - y[3];
    ir3[3] = y[0] - y[1] - y[2] + y[3];
    const double D1 = DoubleTarvikDetSin(x, ir1, 4, m, factor);
    const double D2 = DoubleTarvikDetSin(x, ir2, 4, m, factor);
    const double D3 = DoubleTarvikDetSin(x, ir3, 4, m, factor);
    const double sum = 16 * D1 - 16 * D2 - 16 * D3;
    *somr = sum / (level + 9) / (level + 9) * 0.5;
    *somi = 0.0;
}

// ---- Dispatcher ----

void DoubleSDirect(int type, int rank, int level, const double* irep1, const double* irep2,
                   double* sumr, double* sumi, double factor) {
    double* r = drep.reserve(2 * rank);
    copyDoubleVec(rank, r, irep1);
    copyDoubleVec(rank, r + rank, irep2);
    const double* r1 = r;
    const double* r2 = r + rank;
    if (tooSmall(type, rank)) {
        Alert("DoubleSDirect", 1, 112311, "Analytic S for this algebra not available");
        return;
    }
    switch (type) {
    case 1:
        DoubleTarvikA(r1, r2, sumr, sumi, rank, level, factor);
        break;
    case 2:
        DoubleTarvikB(r1, r2, sumr, sumi, rank, level, factor);
        break;
    case 3:
        DoubleTarvikC(r1, r2, sumr, sumi, rank, level, factor);
        break;
    case 4:
        DoubleTarvikD(r1, r2, sumr, sumi, rank, level, factor);
        break;
    case 5:
        exceptional(rank, level, r1, r2, sumr, sumi, factor);
        break;
    default:
        Alert("DoubleSDirect", 1, 112311, "Analytic S for this algebra not available");
        break;
    }
}
