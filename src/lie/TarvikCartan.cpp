// Cartan data of one affine algebra at a time: extended Cartan matrix, root lengths, comarks,
// symmetrised matrix and its inverse, positive roots, and inner products of weights.
#include "lie/Tarvik.h"

#include "base/Error.h"
#include "base/Output.h"
#include "lie/TarvikInternal.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

namespace {

constexpr int NoKey = INT_MIN;
// Norm of a long root in the rows of the root table (six times the root in coroots: 36 * 2).
constexpr int LongRootNorm = 72;

struct Key {
    int type = NoKey;
    int rank = NoKey;
    bool is(int t, int r) const { return type == t && rank == r; }
};

std::vector<int> CM;
std::vector<int> rootnorm;
std::vector<int> theta;
std::vector<int> GM;
std::vector<int> ICM;
int MetricNorm = 0;
int cmRank = 0;
Key cartanKey;
Key inverseKey;
Key rootKey;

int* RootSystem = nullptr;
int Npos = 0;

// Entry a(i,j) of the extended matrix of rank r.
int& a(int i, int j) {
    return CM[i + j * (cmRank + 1)];
}

void link(int i, int j) {
    a(i, j) = -1;
    a(j, i) = -1;
}

void resetChain(int rank) {
    cmRank = rank;
    CM.assign((rank + 1) * (rank + 1), 0);
    rootnorm.assign(rank + 1, 6);
    for (int i = 0; i <= rank; i++)
        a(i, i) = 2;
    for (int i = 0; i + 1 <= rank - 2; i++)
        link(i, i + 1);
}

// Finite part of B: node r-1 is short.
void finiteB(int r) {
    if (r >= 2) {
        a(r - 2, r - 1) = -1;
        a(r - 1, r - 2) = -2;
    }
    rootnorm[r - 1] = 3;
}

// Finite part of C: nodes 0..r-2 are short.
void finiteC(int r) {
    a(r - 2, r - 1) = -2;
    a(r - 1, r - 2) = -1;
}

void finiteG2() {
    a(0, 1) = -1;
    a(1, 0) = -3;
    rootnorm[1] = 2;
}

void finiteF4() {
    a(1, 2) = -1;
    a(2, 1) = -2;
    link(2, 3);
    rootnorm[2] = 3;
    rootnorm[3] = 3;
}

void buildA(int r) {
    link(r - 2, r - 1);
    link(r, 0);
    link(r, r - 1);
}

void buildB(int r) {
    finiteB(r);
    link(r, 1);
    if (r == 2)
        a(1, 2) = -2;
}

void buildC(int r) {
    finiteC(r);
    for (int i = 0; i <= r - 2; i++)
        rootnorm[i] = 3;
    a(0, r) = -2;
    a(r, 0) = -1;
}

void buildD(int r) {
    link(r - 1, r - 3);
    link(r, 1);
    if (r == 3)
        link(r, 2);
}

bool buildExceptional(int r) {
    switch (r) {
    case 2:
        finiteG2();
        link(r, 0);
        return true;
    case 4:
        finiteF4();
        link(r, 0);
        return true;
    case 6:
        link(5, 2);
        link(6, 5);
        return true;
    case 7:
        link(6, 2);
        link(7, 0);
        return true;
    case 8:
        link(7, 4);
        link(8, 0);
        return true;
    default:
        return false;
    }
}

void buildBTwisted(int r, bool tilde) {
    finiteB(r);
    if (tilde) {
        a(0, r) = r == 1 ? -4 : -2;
        a(r, 0) = -1;
        rootnorm[r] = 12;
    } else {
        a(0, r) = -1;
        a(r, 0) = -2;
        rootnorm[r] = 3;
    }
}

bool buildTwisted(int type, int r) {
    switch (type) {
    case 11:
        if (r != 1)
            return false;
        a(0, 1) = -4;
        a(1, 0) = -1;
        return true;
    case 12:
    case 13:
        buildBTwisted(r, type == 13);
        return true;
    case 14:
        if (r < 2)
            return false;
        finiteC(r);
        rootnorm[r - 1] = 12;
        link(r, 1);
        return true;
    case 15:
        if (r != 4)
            return false;
        finiteF4();
        link(r, 3);
        return true;
    case 16:
        if (r != 2)
            return false;
        finiteG2();
        link(r, 1);
        return true;
    default:
        return false;
    }
}

// Links and root lengths of the type on top of the chain; false for a type without data.
bool addTypeLinks(int type, int r) {
    switch (type) {
    case 1:
        buildA(r);
        return true;
    case 2:
        buildB(r);
        return true;
    case 3:
        buildC(r);
        return true;
    case 4:
        if (r < 3)
            return false;
        buildD(r);
        return true;
    case 5:
        return buildExceptional(r);
    default:
        return buildTwisted(type, r);
    }
}

void setThetaRange(std::vector<int>& t, int from, int to, int value) {
    for (int i = from; i <= to; i++)
        t[i] = value;
}

bool exceptionalTheta(std::vector<int>& comarks, int rank) {
    static const std::vector<int> G2{2, 1, 1}, F4{2, 3, 2, 1, 1}, E6{1, 2, 3, 2, 1, 2, 1},
        E7{2, 3, 4, 3, 2, 1, 2, 1}, E8{2, 3, 4, 5, 6, 4, 2, 3, 1};
    const std::vector<int>* table = rank == 2   ? &G2
                                    : rank == 4 ? &F4
                                    : rank == 6 ? &E6
                                    : rank == 7 ? &E7
                                    : rank == 8 ? &E8
                                                : nullptr;
    if (!table)
        return false;
    comarks = *table;
    return true;
}

void twistedTheta(std::vector<int>& comarks, int type, int r) {
    static const std::vector<int> F2{2, 4, 3, 2, 1}, G3{3, 2, 1};
    switch (type) {
    case 11:
        comarks = {1, 2};
        break;
    case 12:
    case 13:
        setThetaRange(comarks, 0, r - 2, 2);
        comarks[r - 1] = 1;
        comarks[r] = type == 13 ? 2 : 1;
        break;
    case 14:
        setThetaRange(comarks, 1, r - 1, 2);
        break;
    case 15:
        if (r == 4)
            comarks = F2;
        break;
    case 16:
        if (r == 2)
            comarks = G3;
        break;
    default:
        break;
    }
}

void classicalTheta(std::vector<int>& comarks, int type, int r) {
    if (type == 2 && r >= 2)
        setThetaRange(comarks, 1, r - 2, 2);
    if (type == 4)
        setThetaRange(comarks, 1, r - 3, 2);
}

// Inner products sum l_i ICM(i,j) m_j with optional shifts of the labels (1 for rho).
long double bilinear(int rank, const int* l, int lshift, const int* m, int mshift) {
    long double total = 0;
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            total += static_cast<long double>(l[i] + lshift) * ICM[i + j * rank] * (m[j] + mshift);
    return total;
}

long double bilinearDouble(int rank, const double* l, double shift, const double* m) {
    long double total = 0;
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            total += static_cast<long double>(l[i] + shift) * ICM[i + j * rank] * (m[j] + shift);
    return total;
}

int quadraticForm(const int* v, int rank) {
    int total = 0;
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            total += v[i] * GM[i + j * rank] * v[j];
    return total;
}

// Adds the row when it is not yet in the table.
void collectRoot(int* row, int rank) {
    Collect(&RootSystem, "RootSystem", rank, row, &Npos);
}

// Rows of an n x n matrix stored column by column with leading dimension ld.
void printRows(const int* m, int n, int ld) {
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++)
            Print("%3d ", m[i + j * ld]);
        Print("\n");
    }
}

} // namespace

void computeGM(int rank) {
    GM.assign(rank * rank, 0);
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            GM[i + j * rank] = CM[i + j * (rank + 1)] * (6 / rootnorm[j]);
}

void Theta(int type, int rank) {
    theta = tarvik_internal::comarkList(type, rank);
}

std::vector<int> tarvik_internal::comarkList(int type, int rank) {
    std::vector<int> comarks(rank + 1, 1);
    if (type == 0) {
        comarks.assign(rank + 1, 0);
        comarks[0] = 1;
        comarks[rank] = 1;
    } else if (type == 5) {
        exceptionalTheta(comarks, rank);
    } else if (type >= 11) {
        twistedTheta(comarks, type, rank);
    } else {
        classicalTheta(comarks, type, rank);
    }
    comarks.resize(rank + 1, 1);
    return comarks;
}

void Cartan(int type, int rank) {
    if (cartanKey.is(type, rank))
        return;
    resetChain(rank);
    if (rank < 2 && type < 5) {
        if (rank == 1) {
            a(0, 1) = -2;
            a(1, 0) = -2;
        }
    } else if (!addTypeLinks(type, rank)) {
        Alert("Cartan", 0, 212404, "Invalid type for Cartan matrix, %d", type);
    }
    computeGM(rank);
    Theta(type, rank);
    cartanKey = {type, rank};
}

void InverseCartan(int type, int rank) {
    // The metric and roots read with ICM must be this algebra's too, whatever was built since.
    Cartan(type, rank);
    if (inverseKey.is(type, rank))
        return;
    ICM.assign(rank * rank, 0);
    MetricNorm = MatInv(GM.data(), ICM.data(), rank);
    inverseKey = {type, rank};
}

int InverseCartanMultiply(int type, int rank, const int* v, int* out) {
    InverseCartan(type, rank);
    for (int i = 0; i < rank; i++) {
        out[i] = 0;
        for (int j = 0; j < rank; j++)
            out[i] += ICM[i + j * rank] * v[j];
    }
    return MetricNorm;
}

int* CartanMultiply(int type, int rank, const int* v, int* out) {
    Cartan(type, rank);
    for (int i = 0; i < rank; i++) {
        out[i] = 0;
        for (int j = 0; j < rank; j++)
            out[i] += GM[i + j * rank] * v[j];
    }
    return out;
}

char* printInverseCartan(int type, int rank, char* txt) {
    InverseCartan(type, rank);
    txt += std::sprintf(txt, "\nInverse Cartan Matrix (times %d)\n\n", MetricNorm);
    for (int i = 0; i < rank; i++) {
        for (int j = 0; j < rank; j++)
            txt += std::sprintf(txt, "%3d ", ICM[i + j * rank]);
        txt += std::sprintf(txt, "\n");
    }
    txt += std::sprintf(txt, "\n");
    return txt;
}

void printCartanMatrix(int type, int rank) {
    InverseCartan(type, rank);
    Cartan(type, rank);
    Print("Cartan matrix: \n");
    printRows(CM.data(), rank, rank + 1);
    Print("\n");
    if (type == 2 || type == 3 || (type == 5 && rank <= 5)) {
        Print("Symmetrized Cartan matrix: \n");
        printRows(GM.data(), rank, rank);
        Print("\n");
    } else {
        Print("\n");
    }
    Print("Inverse Cartan matrix: (times %d)\n", MetricNorm);
    printRows(ICM.data(), rank, rank);
    Print("\n");
}

double RhoDotProd(int type, int rank) {
    InverseCartan(type, rank);
    long double total = 0;
    for (int i = 0; i < rank * rank; i++)
        total += ICM[i];
    return static_cast<double>(total / MetricNorm);
}

double DynkinPlusRhoDotProd(int type, int rank, const int* l, const int* m) {
    InverseCartan(type, rank);
    return static_cast<double>(bilinear(rank, l, 1, m, 1) / MetricNorm);
}

double DoubleDynkinPlusRhoDotProd(int type, int rank, const double* l, const double* m) {
    InverseCartan(type, rank);
    return static_cast<double>(bilinearDouble(rank, l, 1.0, m) / MetricNorm);
}

double IntDotProd(int type, int rank, const int* l, const int* m) {
    InverseCartan(type, rank);
    return static_cast<double>(bilinear(rank, l, 0, m, 0) / MetricNorm);
}

double DynkinDotProd(int type, int rank, const int* l, const int* m) {
    return IntDotProd(type, rank, l, m);
}

double DoubleDotProd(int type, int rank, const double* l, const double* m) {
    InverseCartan(type, rank);
    return static_cast<double>(bilinearDouble(rank, l, 0.0, m) / MetricNorm);
}

int DualDotProd(int type, int rank, const int* a, const int* b) {
    Cartan(type, rank);
    int total = 0;
    for (int i = 0; i < rank; i++)
        for (int j = 0; j < rank; j++)
            total += a[i] * GM[i + j * rank] * b[j];
    return total;
}

int norm(const int* v, int rank) {
    return quadraticForm(v, rank);
}

int rootTest(const int* v, int type, int rank) {
    int n = quadraticForm(v, rank);
    if (n > LongRootNorm)
        return 1;
    if (type == 3 && n == LongRootNorm)
        for (int i = 0; i < rank; i++)
            if (v[i] % 6 != 0)
                return 1;
    return 0;
}

void PositiveRoots(int type, int rank) {
    int horizontal = LieType(type);
    // Callers read the metric beside the roots: it must be this algebra's even when the roots are.
    Cartan(horizontal, rank);
    if (rootKey.is(horizontal, rank))
        return;
    Npos = 0;
    std::vector<int> s(rank, 0);
    for (int i = 0; i < rank; i++) {
        std::fill(s.begin(), s.end(), 0);
        s[i] = rootnorm[i];
        collectRoot(s.data(), rank);
    }
    for (int i = 0; i < Npos; i++) {
        for (int j = i; j < Npos; j++) {
            for (int c = 0; c < rank; c++)
                s[c] = RootSystem[i * rank + c] + RootSystem[j * rank + c];
            if (rootTest(s.data(), horizontal, rank) == 0)
                collectRoot(s.data(), rank);
        }
    }
    rootKey = {horizontal, rank};
}

void BtildeToC(int* out, const int* in, int rank) {
    for (int i = 0; i < rank - 1; i++)
        out[i] = in[rank - 2 - i];
    out[rank - 1] = in[rank];
}

const int* getCM() {
    return CM.data();
}
const int* getRootnorm() {
    return rootnorm.data();
}
const int* getTheta() {
    return theta.data();
}
const int* getGM() {
    return GM.data();
}
const int* getICM() {
    return ICM.data();
}
int getMetricNorm() {
    return MetricNorm;
}
const int* getRootSystem() {
    return RootSystem;
}
int getNpos() {
    return Npos;
}
