#include "string/TadpoleLinear.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double tiny = 1e-7;

// The collector. Rows of N + 1 doubles; the pivot of row i is sweepcol[i], zero in every other
// stored row.
int N = 0;
int Neq = 0;
GuardedArray<double> Eqns{"Eqns"};
GuardedArray<int> IntEqns{"IntEqns"};
GuardedArray<int> Block{"sweepcol"}; // sweepcol, solution, loop
int* sweepcol = nullptr;
int* solution = nullptr;
int* loop = nullptr;
int End = 0;
// The row being added, kept apart from the stored ones.
std::vector<double> incoming;
// The box of an enumeration, the pivot unknowns pinned.
std::vector<int> boxMin, boxMax;

template <class T> void holdAtLeast(GuardedArray<T>& a, int use, int request) {
    if (!a.reserved() || a.X_oldsize < use)
        a.reserve(request);
}

void start(int n) {
    N = n;
    Neq = 0;
    const int rows = (n + 1) * n;
    holdAtLeast(Eqns, rows, rows + 10);
    holdAtLeast(IntEqns, rows, rows + 10);
    holdAtLeast(Block, 3 * (n + 1), 3 * n + 13);
    sweepcol = Block.X;
    solution = sweepcol + (n + 1);
    loop = solution + (n + 1);
    incoming.resize(static_cast<std::size_t>(n) + 1);
}

double* stored(int i) {
    return Eqns.X + static_cast<long long>(i) * (N + 1);
}

void subtract(double* target, const double* r, double factor) {
    for (int k = 0; k <= N; k++)
        target[k] -= factor * r[k];
}

// The value of pivot unknown i for the other unknowns in `values`.
double pivotValue(int i, const int* values) {
    const double* r = stored(i);
    const int p = sweepcol[i];
    double s = r[N];
    for (int j = 0; j < N; j++)
        if (j != p)
            s += values[j] * r[j];
    return -s / r[p];
}

void printStored() {
    for (int i = 0; i < Neq; i++)
        printDoubleVec(N + 1, stored(i), " -->  ");
}

// 1 added, 2 redundant, -1 inconsistent.
int addRow(const double* Eqn) {
    if (Neq > N) {
        printStored();
        Alert("CollectDoubleEquations", 0, 212404, "Too many equations");
    }
    double* e = incoming.data();
    std::copy(Eqn, Eqn + N + 1, e);
    for (int i = 0; i < Neq; i++) {
        const double* r = stored(i);
        const int p = sweepcol[i];
        if (std::fabs(e[p]) > tiny)
            subtract(e, r, e[p] / r[p]);
    }
    int pivot = -1;
    for (int j = 0; j < N && pivot < 0; j++)
        if (std::fabs(e[j]) > tiny)
            pivot = j;
    if (pivot < 0)
        return std::fabs(e[N]) < tiny ? 2 : -1;
    for (int i = 0; i < Neq; i++) {
        double* r = stored(i);
        if (r[pivot] != 0.0)
            subtract(r, e, r[pivot] / e[pivot]);
        r[pivot] = 0.0;
    }
    std::copy(e, e + N + 1, stored(Neq));
    sweepcol[Neq] = pivot;
    Neq++;
    return 1;
}

// The determined system in integers: 0, or -2 when a value is not integral.
int solveDetermined() {
    for (int i = 0; i < Neq; i++) {
        const double* r = stored(i);
        const int p = sweepcol[i];
        if (!DoubleToInteger(-r[N] / r[p], &solution[p]))
            return -2;
    }
    solution[N] = 1;
    return 0;
}

// The point of the walk with its pivot unknowns filled in; false when one is not an integer or
// does not exceed its lower bound.
bool completePoint() {
    for (int i = 0; i < Neq; i++) {
        const int p = sweepcol[i];
        int value = 0;
        if (!DoubleToInteger(pivotValue(i, loop), &value) || value <= boxMin[p])
            return false;
        solution[p] = value;
    }
    return true;
}

int enumerate(int** sol, const int* min, const int* max, SimpleSolData* SSD) {
    if (SSD)
        SSD->Nsol = 0;
    boxMin.assign(min, min + N);
    boxMax.assign(max, max + N);
    for (int i = 0; i < Neq; i++)
        boxMax[sweepcol[i]] = boxMin[sweepcol[i]] + 1;
    bool found = false;
    for (End = incrementInit(N, boxMin.data(), boxMax.data(), loop); End == 0;
         End = increment(N, boxMin.data(), boxMax.data(), loop)) {
        std::copy(loop, loop + N, solution);
        if (!completePoint())
            continue;
        solution[N] = 1;
        *sol = solution;
        found = true;
        if (!SSD)
            return 0;
        SSD->Nsol += SSD->fcn(SSD->Nset, SSD->set, solution);
    }
    if (!found || (SSD && SSD->Nsol < 1))
        return -3;
    return 0;
}

int integerRows(int** sol) {
    if (!convertEqnsToIntegers(Eqns.X, IntEqns.X, N, Neq))
        return -2;
    *sol = IntEqns.X;
    return Neq;
}

int checkPoint(const int* values) {
    for (int i = 0; i < Neq; i++) {
        const double* r = stored(i);
        double s = r[N];
        for (int j = 0; j < N; j++)
            s += r[j] * values[j];
        if (std::fabs(s) > tiny)
            return -3;
    }
    return 0;
}

// The smallest k in 1..1024 that makes m * k * e an integer, or 0.
int denominator(double m, double e) {
    for (int k = 1; k <= 1024; k++) {
        int dummy = 0;
        if (DoubleToInteger(m * k * e, &dummy))
            return k;
    }
    return 0;
}

} // namespace

int CollectDoubleEquations(int Nvariable, double* Eqn, int** sol, int mode, int* min, int* max,
                           SimpleSolData* SSD) {
    switch (mode) {
    case 0:
        start(Nvariable);
        return 0;
    case 1: {
        const int r = addRow(Eqn);
        if (r != 1 || Neq != N)
            return r;
        const int s = solveDetermined();
        if (s == 0)
            *sol = solution;
        return s;
    }
    case 5:
        return addRow(Eqn);
    case 2:
        return enumerate(sol, min, max, SSD);
    case 3:
        printStored();
        return 0;
    case 4:
        if (Neq < N) {
            const int r = integerRows(sol);
            return r < 0 ? r : Neq + 10;
        }
        for (int i = 0; i < Neq; i++)
            Eqn[sweepcol[i]] = -stored(i)[N] / stored(i)[sweepcol[i]];
        return 0;
    case 6:
        return Neq;
    case 7:
        return integerRows(sol);
    case 8:
        return checkPoint(min);
    default:
        return 0;
    }
}

int convertEqnsToIntegers(double* Eqns, int* IntEqns, int Nvariable, int Neq) {
    const int width = Nvariable + 1;
    for (int i = 0; i < Neq; i++) {
        double* e = Eqns + static_cast<long long>(i) * width;
        int* out = IntEqns + static_cast<long long>(i) * width;
        double pivot = 1000000.0;
        for (int k = 0; k < width; k++)
            if (std::fabs(e[k]) > tiny && std::fabs(e[k]) < std::fabs(pivot))
                pivot = e[k];
        for (int k = 0; k < width; k++)
            e[k] /= pivot;
        double m = 1.0;
        for (int k = 0; k < width; k++) {
            const int d = denominator(m, e[k]);
            if (d == 0) {
                std::printf("Integer conversion impossible for %15.7f\n", e[k]);
                return 0;
            }
            m *= d;
        }
        for (int k = 0; k < width; k++)
            out[k] = static_cast<int>(std::lround(m * e[k]));
    }
    return 1;
}

int solveForUnknownCoefs(int* unknown, double* v, int* coefs, int Norm, int count) {
    static std::vector<double> row;
    row.assign(static_cast<std::size_t>(count) + 1, 0.0);
    row[static_cast<std::size_t>(count)] = v[4];
    int next = 0;
    for (int k = 0; k < 4; k++) {
        if (unknown[k] && next < count)
            row[static_cast<std::size_t>(next++)] = v[k];
        else if (!unknown[k])
            row[static_cast<std::size_t>(count)] += coefs[k] * v[k] / Norm;
    }
    const int r = CollectDoubleEquations(count, row.data(), nullptr, 5, nullptr, nullptr, nullptr);
    if (r == 1 || r == 2)
        return 1;
    if (r == -1)
        return 0;
    Alert("solveForUnknownCoefs", 0, 212404, "Invalid return code %d", r);
    return 0;
}
