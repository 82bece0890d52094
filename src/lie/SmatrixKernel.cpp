// The shared pieces of the S-matrix routines: the cache of cosine tables, the two determinants
// over such tables and the maps from Dynkin labels to integer orthogonal coordinates.
#include "lie/Smatrix.h"

#include "base/Allocation.h"
#include "lie/SmatrixCoordinates.h"
#include "numeric/VectorUtility.h"

#include <cmath>
#include <numbers>

namespace {

AllocCount Cos_alloc = ALLOC_COUNTER("S-matrix Cosines");
Cosines* firstCos = nullptr;

// The table whose determinant is taken; rebuilt before every determinant, which may overwrite it.
GuardedArray<double> aux_mat("aux_mat");

// The residue of a product in 0 .. m-1; taken in 64 bits so that large coordinates at high
// levels cannot overflow.
inline int productResidue(int a, int b, int m) {
    long long r = static_cast<long long>(a) * b % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

void fillTable(double* storage, int m) {
    const double step = 2 * std::numbers::pi / m;
    for (int j = 0; j < m; j++) {
        const double x = j * step;
        storage[j] = std::cos(x);
        storage[m + j] = -std::sin(x);
    }
}

} // namespace

double* getCos(int modulo) {
    for (Cosines* c = firstCos; c; c = c->next)
        if (c->modulo == modulo)
            return c->storage;
    auto* node =
        static_cast<Cosines*>(allocate(sizeof(Cosines), &Cos_alloc, "Sines/Cosines pointer"));
    const int entries = modulo > 0 ? 2 * modulo : 0;
    node->storage =
        static_cast<double*>(allocate(sizeof(double) * entries, &Cos_alloc, "Sines/Cosines"));
    if (modulo >= 1)
        fillTable(node->storage, modulo);
    node->modulo = modulo;
    node->next = firstCos;
    firstCos = node;
    return node->storage;
}

double TarvikDet(const int* sr1, const int* sr2, int rank, int modulo, const double* CosSin) {
    double* t = aux_mat.reserve(rank * rank);
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            t[i * rank + j] = CosSin[productResidue(sr1[i], sr2[j], modulo)];
    return Determinant(t, rank);
}

void ComplexTarvikDet(const int* sr1, const int* sr2, int rank, int modulo, const double* Cos,
                      double* detR, double* detI) {
    const int n2 = rank * rank;
    double* t = aux_mat.reserve(2 * n2);
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++) {
            const int p = productResidue(sr1[i], sr2[j], modulo);
            t[i * rank + j] = Cos[p];
            t[n2 + i * rank + j] = Cos[modulo + p];
        }
    ComplexDeterminant(t, t + n2, rank, detR, detI);
}

// ---- Orthogonal coordinates; m_i = a_i + 1 are the labels of lambda + rho ----

void orthA(int* isr, const int* rep, int rank) {
    smatrix_internal::orthogonalA(isr, rep, rank);
}

void orthB(int* isr, const int* rep, int rank) {
    smatrix_internal::orthogonalB(isr, rep, rank);
}

void orthC(int* isr, const int* rep, int rank) {
    smatrix_internal::orthogonalC(isr, rep, rank);
}

void orthD(int* isr, const int* rep, int rank) {
    smatrix_internal::orthogonalD(isr, rep, rank);
}

void orthF(int* sr, const int* rep) {
    smatrix_internal::orthogonalF(sr, rep);
}

void orthE6(int* sr, const int* rep) {
    int m[6];
    for (int i = 0; i < 6; i++)
        m[i] = rep[i] + 1;
    const int spin = 3 * (m[3] + m[5]);
    sr[0] = 6 * (m[0] + m[1] + m[2]) + spin;
    sr[1] = 6 * (m[1] + m[2]) + spin;
    sr[2] = 6 * m[2] + spin;
    sr[3] = spin;
    sr[4] = 3 * (m[3] - m[5]);
    sr[5] = -(2 * m[0] + 4 * m[1] + 6 * m[2] + 5 * m[3] + 4 * m[4] + 3 * m[5]);
}

void orthE7(int* sr, const int* rep) {
    int m[7];
    for (int i = 0; i < 7; i++)
        m[i] = rep[i] + 1;
    sr[4] = m[1] + m[6];
    sr[5] = m[1] - m[6];
    sr[3] = sr[4] + 2 * m[2];
    sr[2] = sr[3] + 2 * m[3];
    sr[1] = sr[2] + 2 * m[4];
    sr[0] = sr[1] + 2 * m[5];
    sr[6] = -(2 * m[0] + 3 * m[1] + 4 * m[2] + 3 * m[3] + 2 * m[4] + m[5] + 2 * m[6]);
}

void orthE8(int* sr, const int* rep) {
    int m[8];
    for (int i = 0; i < 8; i++)
        m[i] = rep[i] + 1;
    const int T = m[0] + 2 * m[1] + 3 * m[2] + 4 * m[3] + 5 * m[4] + 4 * m[5] + 3 * m[6] + 2 * m[7];
    sr[0] = T;
    sr[1] = T - 2 * m[6];
    sr[2] = sr[1] - 2 * m[5];
    sr[3] = 2 * m[4] - sr[2];
    sr[4] = sr[3] + 2 * m[3];
    sr[5] = sr[4] + 2 * m[2];
    sr[6] = sr[5] + 2 * m[1];
    sr[7] = sr[6] + 2 * m[0];
}

void OrthoB(int rank, const int* rep, int* isr) {
    isr[rank - 1] = rep[rank - 1] / 2;
    for (int i = rank - 2; i >= 0; i--)
        isr[i] = isr[i + 1] + rep[i];
}

void timesIPower(int q, double R, double I, double* somr, double* somi) {
    switch (q) {
    case 0:
        *somr = R, *somi = I;
        break;
    case 1:
        *somr = -I, *somi = R;
        break;
    case 2:
        *somr = -R, *somi = -I;
        break;
    default:
        *somr = I, *somi = -R;
        break;
    }
}
