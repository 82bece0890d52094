// The equation system of the bounded integer solver: reduction to independent rows, bound
// propagation (one row, pairwise combinations, iterated), determined variables and the checks.
#include "numeric/Equations.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/EquationsInternal.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace equations_internal {

int REASON_CODE = 0;
int REASON_INFO = 0;
int REASON_INFO1 = 0;
int REASON_INFO2 = 0;
double REASON_INFOD = 0.0;
EQNDUMP dumpHook = NoDump;

void printBox(int Nvar, int* Min, int* Max) {
    PrintVec(Nvar, Min, "Minima");
    PrintVec(Nvar, Max, "Maxima");
    Print("Loop length: %20.0f\n", LoopLength(Nvar, Min, Max));
}

void printNonZeroEntries(int Size, const int* vector) {
    bool any = false;
    for (int k = 0; k < Size; k++)
        if (vector[k] != 0) {
            Print(" %d:%d", k, vector[k]);
            any = true;
        }
    Print(any ? "\n" : " trivial\n");
}

double* row(EquationData* ED, int r) {
    return ED->Equations.X + static_cast<long long>(r) * ED->Ncol;
}

double* independentRow(EquationData* ED, int b) {
    return row(ED, ED->OrigEq + b);
}

int satisfiesIndependent(EquationData* ED, int* point) {
    for (int b = 0; b < ED->IndEq; b++)
        if (!CheckEquation(ED->Equations.X, point, ED->OrigEq + b, ED->Ncol))
            return 0;
    return 1;
}

} // namespace equations_internal

using namespace equations_internal;

namespace {

// The attempt count of the propagation.
int BndCnt = 0;

constexpr double BoundLimit = 100000.0;
constexpr double SearchableBox = 10000000.0;
constexpr double SearchableIteration = 1000000000.0;
constexpr double MaxCombinationCoefficient = 1000.0;
constexpr int IntegralFactorLimit = 144;

GuardedArray<int> used("used");
GuardedArray<int> vectorScratch("vector");
GuardedArray<double> ExactEq("ExactEq");
GuardedArray<int> work("work");

double* decomposition(EquationData* ED, int r) {
    return ED->Decompositions.X + static_cast<long long>(r) * ED->IndEq;
}

// Gauss-Jordan over the working copies; -1 (with the failure reason) when a row pivots on the
// constant column, so that it reads constant = 0.
int eliminateWorkingRows(EquationData* ED, double* W) {
    const int Ncol = ED->Ncol;
    int* isUsed = used.X;
    for (int b = 0; b < ED->OrigEq; b++) {
        double* rb = W + static_cast<long long>(b) * Ncol;
        int p = 0;
        while (p < Ncol && (ZeroCheck(rb[p]) || isUsed[p]))
            p++;
        if (p == Ncol)
            continue;
        isUsed[p] = 1;
        if (p == Ncol - 1) {
            REASON_CODE = 1;
            REASON_INFO = b;
            return -1;
        }
        for (int r = 0; r < ED->OrigEq; r++) {
            double* rr = W + static_cast<long long>(r) * Ncol;
            if (r == b || rr[p] == 0.0)
                continue;
            const double f = -rr[p] / rb[p];
            for (int k = 0; k < Ncol; k++)
                rr[k] += f * rb[k];
            rr[p] = 0.0;
        }
    }
    return 0;
}

// The first variable column where an independent row is non-zero (its leading 1).
int leadingColumn(const double* r, int Ncol) {
    for (int k = 0; k < Ncol - 1; k++)
        if (!ZeroCheck(r[k]))
            return k;
    return -1;
}

void setUpDecompositions(EquationData* ED) {
    const int Ncol = ED->Ncol;
    const long long wanted = static_cast<long long>(ED->Size) * ED->IndEq + 10000;
    ED->Decompositions.reserve(static_cast<int>(std::max(wanted, 100000LL)));
    for (int b = 0; b < ED->IndEq; b++) {
        double* d = decomposition(ED, ED->OrigEq + b);
        std::fill(d, d + ED->IndEq, 0.0);
        d[b] = 1.0;
    }
    for (int a = 0; a < ED->OrigEq; a++) {
        double* d = decomposition(ED, a);
        for (int b = 0; b < ED->IndEq; b++) {
            const int lead = leadingColumn(independentRow(ED, b), Ncol);
            d[b] = lead >= 0 ? row(ED, a)[lead] : 0.0;
        }
    }
}

// The rounding rules of the propagation, with a tolerance of 0.001 at the edges: the smallest
// integer not below L and the largest integer not above U.
int roundedMinimum(double L) {
    return static_cast<int>(std::ceil(L - EdgeTolerance));
}
int roundedMaximum(double U) {
    return static_cast<int>(std::floor(U + EdgeTolerance));
}

// The range of sum over k != i of a_k·x_k on the box.
void rangeOfOthers(const double* Eqn, int Ncol, int i, const int* Min, const int* Max, double* lo,
                   double* hi) {
    *lo = *hi = 0.0;
    for (int k = 0; k < Ncol; k++) {
        if (k == i || Eqn[k] == 0.0)
            continue;
        if (Eqn[k] > 0) {
            *lo += Eqn[k] * Min[k];
            *hi += Eqn[k] * Max[k];
        } else {
            *lo += Eqn[k] * Max[k];
            *hi += Eqn[k] * Min[k];
        }
    }
}

double boxSize(int Nvar, const int* Min, const int* Max) {
    double size = 1.0;
    for (int i = 0; i < Nvar; i++)
        size *= static_cast<double>(Max[i]) - Min[i] + 1.0;
    return size;
}

// One pass of getVariableBounds over the rows in use, as AnalyseBounds and ImproveBounds run it.
int boundPass(EquationData* ED, int* Min, int* Max) {
    int changes = 0;
    for (int r = 0; r < ED->AllEq; r++) {
        int s = getVariableBounds(row(ED, r), ED->Ncol, Min, Max);
        if (s == -1) {
            REASON_CODE = 3;
            REASON_INFO1 = r;
            return -1;
        }
        if (s < 0)
            return s;
        changes += s;
    }
    return changes;
}

// Builds the combination of rows r1 and r2 that vanishes in column c, exactly from the
// independent rows, into ExactEq (row) followed by its decomposition.
void combineThroughDecompositions(EquationData* ED, int r1, int r2, int c) {
    const int Ncol = ED->Ncol;
    double* e = ExactEq.X;
    double* d = e + Ncol;
    const double f = -row(ED, r1)[c] / row(ED, r2)[c];
    const double* d1 = decomposition(ED, r1);
    const double* d2 = decomposition(ED, r2);
    for (int b = 0; b < ED->IndEq; b++)
        d[b] = d1[b] + f * d2[b];
    buildEquationFromDecomp(d, e, independentRow(ED, 0), Ncol, ED->IndEq);
}

void storeCombination(EquationData* ED, int verbosity) {
    const int Ncol = ED->Ncol;
    const double* e = ExactEq.X;
    const double* d = e + Ncol;
    if (compareEquations(ED->Decompositions.X, const_cast<double*>(d), ED->AllEq, ED->IndEq))
        return;
    const int pos = getNewPosition(ED->AllEq, ED->Size, ED->OrigEq + ED->IndEq, verbosity);
    if (pos < 0)
        return;
    std::copy(e, e + Ncol, row(ED, pos));
    std::copy(d, d + ED->IndEq, decomposition(ED, pos));
    if (pos == ED->AllEq)
        ED->AllEq += 1;
}

// One combination of the pair; its status as getVariableBounds gives it, 0 when dropped, or
// -2 when the attempt budget ran out.
int tryCombination(EquationData* ED, int r1, int r2, int c, int verbosity, int* Min, int* Max,
                   int MaxCnt) {
    const int Ncol = ED->Ncol;
    combineThroughDecompositions(ED, r1, r2, c);
    double maxCoeff = 0.0;
    NormalizeEquation(ExactEq.X, Ncol + ED->IndEq, &maxCoeff);
    if (maxCoeff >= MaxCombinationCoefficient)
        return 0;
    int s = getVariableBounds(ExactEq.X, Ncol, Min, Max);
    if (s == -1) {
        REASON_CODE = 4;
        REASON_INFO1 = r1;
        REASON_INFO2 = r2;
    }
    if (BndCnt > MaxCnt) {
        if (verbosity >= 1)
            Print("Terminating bound analysis (more than %d attempts)\n", MaxCnt);
        return -2;
    }
    if (BndCnt != 0 && BndCnt % 10000 == 0 && verbosity >= 1)
        Print("BndCnt=%d; MaxCnt=%d\n", BndCnt, MaxCnt);
    if (s >= 1 && verbosity > 2)
        printBox(Ncol - 1, Min, Max);
    if (s > 0)
        storeCombination(ED, verbosity);
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Failure reason and dump hook

void QueryFailureReason(int* cd1, int* cd2, int* cd3, int* cd4, double* cd5) {
    *cd1 = REASON_CODE;
    *cd2 = REASON_INFO;
    *cd3 = REASON_INFO1;
    *cd4 = REASON_INFO2;
    *cd5 = REASON_INFOD;
}

int getBndCnt() {
    return BndCnt;
}

void setEquationDumpFunction(EQNDUMP fcn) {
    dumpHook = fcn ? fcn : NoDump;
}

void NoDump() {}

// ---------------------------------------------------------------------------------------------
// Reduction

int NormalizeEquation(double* Eqn, int Ncol, double* Maxcoeff) {
    int first = 0;
    while (first < Ncol && ZeroCheck(Eqn[first]))
        Eqn[first++] = 0.0;
    if (first == Ncol) {
        *Maxcoeff = 0.0;
        return 1;
    }
    const double lead = Eqn[first];
    bool integral = true;
    *Maxcoeff = 0.0;
    for (int k = first; k < Ncol; k++) {
        double v = k == first ? 1.0 : Eqn[k] / lead;
        int nearest = 0;
        if (ZeroCheck(v))
            v = 0.0;
        else if (DoubleToInteger(v, &nearest))
            v = nearest;
        else
            integral = false;
        Eqn[k] = v;
        *Maxcoeff = std::max(*Maxcoeff, std::fabs(v));
    }
    if (integral)
        return 1;
    int* scratch = holdAtLeast(vectorScratch, Ncol);
    return convertVectorToIntegers(Ncol, Eqn, scratch, IntegralFactorLimit) ? 1 : 0;
}

int getIndependentEquations(EquationData* ED, AllocCount*) {
    const int Ncol = ED->Ncol;
    REASON_CODE = 0;
    int* isUsed = holdAtLeast(used, Ncol);
    std::fill(isUsed, isUsed + Ncol, 0);
    // The working copies stand behind the caller's rows; make room for them if the caller
    // did not.
    if (ED->Size < 2 * ED->OrigEq)
        ED->Size = 2 * ED->OrigEq;
    if (ED->Equations.X_oldsize < ED->Size * Ncol) {
        std::vector<double> keep(ED->Equations.X,
                                 ED->Equations.X + static_cast<long long>(ED->OrigEq) * Ncol);
        ED->Equations.reserve(ED->Size * Ncol);
        std::copy(keep.begin(), keep.end(), ED->Equations.X);
    }
    double* W = row(ED, ED->OrigEq);
    std::copy(ED->Equations.X, W, W);
    if (eliminateWorkingRows(ED, W) < 0)
        return -1;
    int result = 1;
    ED->IndEq = 0;
    for (int b = 0; b < ED->OrigEq; b++) {
        double* rb = W + static_cast<long long>(b) * Ncol;
        if (zeroDoubleVectorCheck(Ncol, rb))
            continue;
        double* target = W + static_cast<long long>(ED->IndEq) * Ncol;
        if (target != rb)
            std::copy(rb, rb + Ncol, target);
        double maxCoeff = 0.0;
        if (NormalizeEquation(target, Ncol, &maxCoeff) != 1)
            result = 0;
        ED->IndEq += 1;
    }
    setUpDecompositions(ED);
    ED->AllEq = ED->OrigEq + ED->IndEq;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Bound propagation

int getNewMinimum(double newmin, int* Min) {
    if (newmin < -BoundLimit)
        return 0;
    const int candidate =
        newmin > BoundLimit ? static_cast<int>(BoundLimit) : roundedMinimum(newmin);
    if (candidate <= *Min)
        return 0;
    *Min = candidate;
    return 1;
}

int getNewMaximum(double newmax, int* Max) {
    if (newmax > BoundLimit)
        return 0;
    const int candidate =
        newmax < -BoundLimit ? -static_cast<int>(BoundLimit) + 1 : roundedMaximum(newmax);
    if (candidate >= *Max)
        return 0;
    *Max = candidate;
    return 1;
}

int getVariableBounds(double* Eqn, int Ncol, int* Min, int* Max) {
    BndCnt += 1;
    REASON_CODE = 0;
    if (Ncol - 1 < 1)
        return -4;
    int changes = 0;
    // The range of the other terms is that of the whole row less the variable's own term: a pass
    // then costs the row's length, not its square (55,000 loop variables of a c = 9 product). The
    // totals are summed afresh after each bound that moves, so that they follow the bounds.
    double totalLo = 0.0, totalHi = 0.0;
    rangeOfOthers(Eqn, Ncol, -1, Min, Max, &totalLo, &totalHi);
    for (int i = 0; i < Ncol - 1; i++) {
        const double a = Eqn[i];
        if (ZeroCheck(a) || Min[i] == Max[i])
            continue;
        const double ownLo = a > 0 ? a * Min[i] : a * Max[i];
        const double ownHi = a > 0 ? a * Max[i] : a * Min[i];
        const double lo = totalLo - ownLo, hi = totalHi - ownHi;
        const double L = a > 0 ? -hi / a : -lo / a;
        const double U = a > 0 ? -lo / a : -hi / a;
        const int moved = getNewMinimum(L, &Min[i]) + getNewMaximum(U, &Max[i]);
        changes += moved;
        if (Min[i] > Max[i]) {
            REASON_CODE = 2;
            REASON_INFO = i;
            return -1;
        }
        if (moved > 0)
            rangeOfOthers(Eqn, Ncol, -1, Min, Max, &totalLo, &totalHi);
    }
    // The points of the whole box, every variable counted: a count over this row's variables
    // alone would call a box small enough to search while other variables leave it wide open.
    const double size = boxSize(Ncol - 1, Min, Max);
    if (size < 1.5)
        return -4;
    if (size < SearchableBox)
        return -3;
    return changes;
}

int AnalyseBounds(EquationData* ED, int* Min, int* Max) {
    REASON_CODE = 0;
    if (ED->AllEq < 1)
        return 0;
    return boundPass(ED, Min, Max);
}

int AnalyseBounds2(EquationData* ED, int* Min, int* Max) {
    return AnalyseBounds(ED, Min, Max);
}

int AnalyseBoundsForCombinations(EquationData* ED, int verbosity, int* Min, int* Max, int MaxCnt,
                                 int) {
    REASON_CODE = 0;
    if (ED->AllEq < 1) {
        ED->LastAdded = ED->AllEq;
        return 0;
    }
    const int A = ED->AllEq;
    const int Ncol = ED->Ncol;
    holdAtLeast(ExactEq, Ncol + ED->IndEq);
    int total = 0;
    for (int r1 = 0; r1 < A; r1++) {
        for (int r2 = std::max(r1 + 1, ED->LastAdded); r2 < A; r2++) {
            for (int c = 0; c < Ncol; c++) {
                if (ZeroCheck(row(ED, r1)[c]) || ZeroCheck(row(ED, r2)[c]))
                    continue;
                int s = tryCombination(ED, r1, r2, c, verbosity, Min, Max, MaxCnt);
                if (s < 0)
                    return s;
                total += s;
            }
        }
    }
    ED->LastAdded = A;
    return total;
}

int ImproveBounds(EquationData* ED, int* Min, int* Max, int MaxCnt, int persistence,
                  int verbosity) {
    const int Nvar = ED->Ncol - 1;
    BndCnt = 0;
    for (int iteration = 1;; iteration++) {
        if (BndCnt > MaxCnt)
            return -2;
        REASON_CODE = 0;
        int changes = boundPass(ED, Min, Max);
        if (changes < 0)
            return changes;
        if (changes > 0 && verbosity >= 2)
            printBox(Nvar, Min, Max);
        if (MaxCnt >= 1) {
            int c = AnalyseBoundsForCombinations(ED, verbosity, Min, Max, MaxCnt, persistence);
            if (c < 0)
                return c;
            changes += c;
            if (c > 0 && verbosity >= 2)
                printBox(Nvar, Min, Max);
        }
        if (iteration > persistence)
            return changes;
        if (verbosity >= 2 || iteration >= 5) {
            double length = OptimizedLoopLength(Nvar, Min, Max, ED);
            Print("Boundary improvement iteration %d completed; Loop length: %20.0f\n", iteration,
                  length);
            if (length < SearchableIteration)
                return -3;
        }
        if (changes == 0)
            return 1;
    }
}

// ---------------------------------------------------------------------------------------------
// Determined variables and loop lengths

void OptimizeEquationUse(double* Eqn, int Ncol, int Neq, int* Min, int* Max, int* favorites,
                         int* VarsFromEqs, int verbosity) {
    for (int b = 0; b < Neq; b++) {
        double* rb = Eqn + static_cast<long long>(b) * Ncol;
        VarsFromEqs[b] = -1;
        if (favorites && favorites[b] != 0 && favorites[b] != 1)
            continue;
        int v = -1;
        for (int k = 0; k < Ncol - 1; k++)
            if (!ZeroCheck(rb[k]) && (v < 0 || Max[k] - Min[k] > Max[v] - Min[v]))
                v = k;
        if (v < 0) {
            if (verbosity > 2)
                Print("Eqn %d gives no information\n", b);
            continue;
        }
        VarsFromEqs[b] = v;
        if (verbosity > 1)
            Print("Variable %d solved from eqn %d\n", v, b);
        Max[v] = Min[v];
        FullSweep(Eqn, Neq, Ncol, b, v);
    }
}

double LoopLength(int Size, int* Min, int* Max) {
    double length = 1.0;
    for (int i = 0; i < Size; i++) {
        if (Max[i] < Min[i])
            return -1.0;
        length *= static_cast<double>(Max[i]) - Min[i] + 1.0;
    }
    return length;
}

double OptimizedLoopLength(int Size, int* Min, int* Max, EquationData* ED) {
    if (Size < 1)
        return 1.0;
    const int Ncol = ED->Ncol;
    int* w = holdAtLeast(work, 3 * Ncol + ED->IndEq);
    int* wmin = w;
    int* wmax = w + Ncol;
    int* vars = w + 2 * Ncol;
    std::copy(Min, Min + Ncol, wmin);
    std::copy(Max, Max + Ncol, wmax);
    double* opt = holdAtLeast(ED->OptimizedEquations, std::max(ED->IndEq * Ncol, 1));
    std::copy(independentRow(ED, 0), independentRow(ED, ED->IndEq), opt);
    OptimizeEquationUse(opt, Ncol, ED->IndEq, wmin, wmax, nullptr, vars, 0);
    return LoopLength(Size, wmin, wmax);
}

// ---------------------------------------------------------------------------------------------
// Checks and prints

int CheckEquation(double* Eqn, int* soln, int i, int Ncol) {
    const double* r = Eqn + static_cast<long long>(i) * Ncol;
    double sum = 0.0;
    for (int k = 0; k < Ncol; k++)
        sum += soln[k] * r[k];
    return ZeroCheck(sum);
}

int CheckEquations(double* Eqn, int* soln, int Neq, int Ncol, int showFailure) {
    REASON_CODE = 0;
    for (int b = 0; b < Neq; b++) {
        if (!CheckEquation(Eqn, soln, b, Ncol)) {
            REASON_CODE = 6;
            REASON_INFO = b;
            if (showFailure == 1)
                Alert("CheckEquations", 0, 100302, "Equation %d not satisfied", b);
            return 0;
        }
    }
    if (showFailure == 1)
        Print("All equations satisfied\n");
    return 1;
}

void PrintBounds(int Ncol, int* Min, int* Max, int verbosity) {
    if (verbosity > 1) {
        PrintVec(Ncol, Min, "Minima");
        PrintVec(Ncol, Max, "Maxima");
    }
    Print("Loop length: %20.0f\n", LoopLength(Ncol, Min, Max));
}

void printProgressHeader(int verbosity, const char* txt) {
    if (verbosity == 0)
        return;
    Print("%s", txt);
    if (verbosity > 1) {
        Print("\n");
    } else {
        Print("; ");
        std::fflush(stdout);
    }
}

// ---------------------------------------------------------------------------------------------
// Smaller operations

void CombineRows(double* Matrix, double* result, double factor, int Ncol, int row1, int row2) {
    const double* a = Matrix + static_cast<long long>(row1) * Ncol;
    const double* b = Matrix + static_cast<long long>(row2) * Ncol;
    for (int k = 0; k < Ncol; k++)
        result[k] = a[k] + factor * b[k];
}

void FullSweep(double* Matrix, int Nrow, int Ncol, int SweepRow, int SweepCol) {
    const double* s = Matrix + static_cast<long long>(SweepRow) * Ncol;
    for (int r = 0; r < Nrow; r++) {
        double* rr = Matrix + static_cast<long long>(r) * Ncol;
        if (r == SweepRow || rr[SweepCol] == 0.0)
            continue;
        const double f = rr[SweepCol] / s[SweepCol];
        for (int k = 0; k < Ncol; k++)
            rr[k] -= f * s[k];
        rr[SweepCol] = 0.0;
    }
}

int DoubleLinearSolve(double* Coeff, double* Solution, int Neq) {
    const int Ncol = Neq + 1;
    std::vector<int> pivotOfRow(static_cast<std::size_t>(Neq), -1);
    std::vector<char> columnUsed(static_cast<std::size_t>(Neq), 0);
    for (int r = 0; r < Neq; r++) {
        const double* rr = Coeff + static_cast<long long>(r) * Ncol;
        int p = 0;
        while (p < Neq && (columnUsed[p] || ZeroCheck(rr[p])))
            p++;
        if (p == Neq)
            continue;
        columnUsed[p] = 1;
        pivotOfRow[r] = p;
        FullSweep(Coeff, Neq, Ncol, r, p);
    }
    int complete = 1;
    for (int v = 0; v < Neq; v++)
        Solution[v] = 0.0;
    for (int r = 0; r < Neq; r++) {
        const int p = pivotOfRow[r];
        if (p >= 0)
            Solution[p] = Coeff[static_cast<long long>(r) * Ncol + Neq] /
                          Coeff[static_cast<long long>(r) * Ncol + p];
    }
    for (int v = 0; v < Neq; v++)
        if (!columnUsed[v])
            complete = 0;
    return complete;
}

int checkEquationDependence(double* Eqns, double* Eqn, int Ncol, int Neq, int* sweepcol) {
    for (int b = 0; b < Neq; b++) {
        const double* rb = Eqns + static_cast<long long>(b) * Ncol;
        const int c = sweepcol[b];
        if (ZeroCheck(Eqn[c]) || ZeroCheck(rb[c]))
            continue;
        const double f = Eqn[c] / rb[c];
        for (int k = 0; k < Ncol - 1; k++)
            Eqn[k] -= f * rb[k];
    }
    return zeroDoubleVectorCheck(Ncol - 1, Eqn);
}

int compareEquations(double* Eqn, double* newEq, int Neq, int Ncol) {
    for (int b = 0; b < Neq; b++)
        if (compareDoubleVec(Ncol, Eqn + static_cast<long long>(b) * Ncol, newEq))
            return 1;
    return 0;
}

void buildEquationFromDecomp(double* decomp, double* out, double* IndepEq, int Ncol, int indep) {
    std::fill(out, out + Ncol, 0.0);
    for (int b = 0; b < indep; b++) {
        if (decomp[b] == 0.0)
            continue;
        const double* rb = IndepEq + static_cast<long long>(b) * Ncol;
        for (int k = 0; k < Ncol; k++)
            out[k] += decomp[b] * rb[k];
    }
}

void buildEquationFromDecomp2(double* decomp, double* out, double* IndepEq, int Ncol, int indep) {
    for (int b = 0; b < indep; b++)
        for (int k = 0; k < Ncol; k++) {
            const double e = IndepEq[static_cast<long long>(b) * Ncol + k];
            if (decomp[b] != 0.0 && e != 0.0)
                std::printf("i=%d; j=%d; decomp=%15.7f, Eq=%15.7f\n", b, k, decomp[b], e);
        }
    buildEquationFromDecomp(decomp, out, IndepEq, Ncol, indep);
}

int solveIntegerFromEquation(int Ncol, double* Eq, int var, int* loop) {
    double sum = 0.0;
    for (int k = 0; k < Ncol; k++)
        if (k != var)
            sum += Eq[k] * loop[k];
    const double value = -sum / Eq[var];
    if (!IntCheck(value))
        return 0;
    loop[var] = DoubleToInt(value);
    return 1;
}

int solvePositiveIntegerFromEquation(int Ncol, double* Eq, int var, int* loop) {
    if (!solveIntegerFromEquation(Ncol, Eq, var, loop))
        return 0;
    return loop[var] >= 0 ? 1 : 0;
}

int checkPositive(double* Eqn, int Ncol) {
    for (int k = 0; k < Ncol - 1; k++)
        if (!ZeroCheck(Eqn[k]) && Eqn[k] < 0)
            return 0;
    return 1;
}

int getNewPosition(int Neq, int Size, int Basic, int verbosity) {
    int pos = Neq;
    if (Neq + 2 >= Size)
        pos = Basic + static_cast<int>((Size - Basic) * (std::rand() / 2147483647.0));
    if (verbosity > 2)
        Print("Equation added at position %d\n", pos);
    if (pos < Basic || pos > Size - 1) {
        Alert("getNewPosition", 0, 212404, "Invalid position");
        return -1;
    }
    return pos;
}
