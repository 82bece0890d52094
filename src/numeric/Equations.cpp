// The equation system of the bounded integer solver: reduction to independent rows, bound
// propagation (one row, pairwise combinations, iterated), determined variables and the checks.
#include "numeric/Equations.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

// Module state: the failure reason, the attempt count of the propagation and the dump hook.
namespace {

int REASON_CODE = 0;
int REASON_INFO = 0;
int REASON_INFO1 = 0;
int REASON_INFO2 = 0;
double REASON_INFOD = 0.0;
int BndCnt = 0;
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

constexpr double BoundLimit = 100000.0;
constexpr double EdgeTolerance = 0.001;
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

// Makes sure a guarded array holds at least n elements without moving its end guard inward.
template <class T> T* holdAtLeast(GuardedArray<T>& a, int n) {
    if (!a.reserved() || a.X_oldsize < n)
        return a.reserve(n);
    return a.X;
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
    for (int i = 0; i < Ncol - 1; i++) {
        const double a = Eqn[i];
        if (ZeroCheck(a) || Min[i] == Max[i])
            continue;
        double lo = 0.0, hi = 0.0;
        rangeOfOthers(Eqn, Ncol, i, Min, Max, &lo, &hi);
        const double L = a > 0 ? -hi / a : -lo / a;
        const double U = a > 0 ? -lo / a : -hi / a;
        changes += getNewMinimum(L, &Min[i]);
        changes += getNewMaximum(U, &Max[i]);
        if (Min[i] > Max[i]) {
            REASON_CODE = 2;
            REASON_INFO = i;
            return -1;
        }
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

// =============================================================================================
// Kernel vectors

namespace {

constexpr int MaxPrimaryRange = 100000000;
constexpr double DoubleTagTimeLimit = 120.0;
constexpr int DoubleTagRange = 1000000;

// Rows the kernel block has for vectors (and again for the work space).
int kernelRows(const KernelData* KD) {
    return KD->MaxKernelSize + 1;
}

int* kernelRow(KernelData* KD, int r, int Ncol) {
    return KD->Kernel.X + static_cast<long long>(r) * Ncol;
}

bool isTag(const KernelData* KD, int v) {
    return KD->PrimUsed[v] == 1 || KD->SecUsed[v] == 1;
}

int homogeneousPoints = 0; // points tried by hom_eval since the last reset

// hom_eval_double's echelon matrix of the double-tag vectors found since the last reset.
GuardedArray<int> doubleWork("work");
int doubleWorkRows = 0;
int doubleWorkPoints = 0;

// The bound vectors of the two kernel loops: minima, maxima and loop vector.
GuardedArray<int> singleBounds("HomogeneBounds");
GuardedArray<int> doubleBounds("HomogeneBounds");

// Records the single-tag vector already written in row KernelSize.
void recordSingleTag(KernelData* KD, int Ncol, int tag, const char* routine, int verbosity) {
    const int* v = kernelRow(KD, KD->KernelSize, Ncol);
    KD->KernelLabels[KD->KernelSize] = tag;
    if (verbosity > 1)
        Print("Kernel vector %d added; Tags label %d\n", KD->KernelSize, tag);
    KD->KernelSize += 1;
    if (KD->KernelSize > KD->MaxKernelSize) {
        dumpHook();
        Alert(routine, 2, 220502, "Too many kernel vectors");
    }
    KD->SingleTag += 1;
    KD->PrimUsed[tag] = 1;
    for (int k = 0; k < Ncol - 1; k++)
        if (v[k] > 0)
            KD->PosUsed[k] = 1;
}

// Writes a pattern vector into row KernelSize; false when the block has no row left for it.
bool writePattern(KernelData* KD, int Ncol, const int* minusOne, int nMinus, const int* plusOne,
                  int nPlus) {
    if (KD->KernelSize >= kernelRows(KD))
        return false;
    int* r = kernelRow(KD, KD->KernelSize, Ncol);
    std::fill(r, r + Ncol, 0);
    for (int i = 0; i < nMinus; i++)
        r[minusOne[i]] = -1;
    for (int i = 0; i < nPlus; i++)
        r[plusOne[i]] = 1;
    return true;
}

// The shared two-pass walk of nextPositive and nextSecondaryTag: pass 0 the variables with
// `preferred`, after index; then pass 1 the others, after start (when the pass begins) or after
// index (while it runs); -1 with the pass back at 0 when both are done.
template <class Eligible, class Preferred>
int twoPassNext(int start, int index, int Nvar, int* pass, Eligible eligible, Preferred preferred) {
    if (*pass == 0) {
        for (int v = std::max(index + 1, 0); v < Nvar; v++)
            if (eligible(v) && preferred(v))
                return v;
        *pass = 1;
        index = start;
    }
    for (int v = std::max(index + 1, 0); v < Nvar; v++)
        if (eligible(v) && !preferred(v))
            return v;
    *pass = 0;
    return -1;
}

double columnSum(const double* r, const int* plus, int nPlus, const int* minus, int nMinus) {
    double s = 0.0;
    for (int i = 0; i < nPlus; i++)
        s += r[plus[i]];
    for (int i = 0; i < nMinus; i++)
        s -= r[minus[i]];
    return s;
}

// Every row of Eqn satisfies sum of the `plus` columns - sum of the `minus` columns = 0.
int checkColumns(const double* Eqn, int Neq, int Ncol, const int* plus, int nPlus, const int* minus,
                 int nMinus) {
    for (int b = 0; b < Neq; b++)
        if (!ZeroCheck(
                columnSum(Eqn + static_cast<long long>(b) * Ncol, plus, nPlus, minus, nMinus)))
            return 0;
    return 1;
}

// Searches, for one primary, combinations of `depth` positive unit entries s1 < s2 < ...
// that pass the column test; fills `chosen` and returns true on the first success.
bool findPositives(KernelData* KD, EquationData* ED, int p, int q, int depth, int* chosen,
                   int level) {
    const int Nvar = ED->Ncol - 1;
    int pass = 0;
    int exclude[1] = {q};
    const int start = level == 0 ? 0 : chosen[level - 1];
    int s = level == 0 ? -1 : chosen[level - 1];
    while ((s = nextPositive(KD, start, s, p, exclude, q >= 0 ? 1 : 0, Nvar, &pass)) >= 0) {
        chosen[level] = s;
        if (level + 1 < depth) {
            if (findPositives(KD, ED, p, q, depth, chosen, level + 1))
                return true;
            continue;
        }
        int tags[2] = {p, q};
        double* E = independentRow(ED, 0);
        if (checkColumns(E, ED->IndEq, ED->Ncol, tags, q >= 0 ? 2 : 1, chosen, depth))
            return true;
    }
    return false;
}

// The single-tag pattern search with `depth` positive entries.
int singleTagPatterns(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity,
                      int depth, const char* routine) {
    const int Ncol = ED->Ncol;
    int found = 0;
    int chosen[3];
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Ncol - 1); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Ncol - 1)) {
        if (!findPositives(KD, ED, p, -1, depth, chosen, 0))
            continue;
        if (!writePattern(KD, Ncol, &p, 1, chosen, depth))
            break;
        recordSingleTag(KD, Ncol, p, routine, verbosity);
        found++;
    }
    return found;
}

// Reduces `fresh` against the earlier rows by cross multiplication (as a new row of an echelon
// form with the given pivots); keeps entries small by their common divisor.
void crossReduce(int* fresh, const int* rows, const int* pivots, int Nrows, int size) {
    for (int b = 0; b < Nrows; b++) {
        const int* rb = rows + static_cast<long long>(b) * size;
        const int c = pivots[b];
        if (fresh[c] == 0)
            continue;
        const long long f1 = rb[c];
        const long long f2 = fresh[c];
        long long g = 0;
        std::vector<long long> wide(static_cast<std::size_t>(size));
        for (int k = 0; k < size; k++)
            wide[k] = f1 * fresh[k] - f2 * rb[k];
        // The divisor of the whole row, so that the row keeps its direction.
        for (int k = 0; k < size; k++)
            g = std::gcd(g, wide[k]);
        for (int k = 0; k < size; k++)
            fresh[k] = static_cast<int>(g > 1 ? wide[k] / g : wide[k]);
    }
}

int firstNonZero(const int* v, int size) {
    for (int k = 0; k < size; k++)
        if (v[k] != 0)
            return k;
    return -1;
}

// The bound set-up shared by the two loop searches: one propagation pass over all rows.
void propagateKernelBounds(EquationData* ED, int* Min, int* Max) {
    REASON_CODE = 0;
    for (int r = 0; r < ED->AllEq; r++) {
        int s = getVariableBounds(row(ED, r), ED->Ncol, Min, Max);
        if (s == -1) {
            REASON_CODE = 3;
            REASON_INFO1 = r;
        }
        if (s < 0)
            return;
    }
}

} // namespace

void initKernelData(KernelData* KD, EquationData* ED) {
    const int Ncol = ED->Ncol;
    int d = Ncol - ED->IndEq;
    int n = d - 1;
    if (n < 1) {
        n = 1;
        d = 2;
    }
    const long long need = static_cast<long long>(3 * n + 10) * Ncol + n;
    const long long room = std::max(need + d + 29999 - n, 300000LL);
    if (!KD->Kernel.reserved() || KD->Kernel.X_oldsize < need)
        KD->Kernel.reserve(static_cast<int>(room));
    int* X = KD->Kernel.X;
    // One label per vector row (n + 1 of them), so the spare row's label has a place too.
    const long long layout = 2LL * d * Ncol + d + 7LL * Ncol;
    std::fill(X, X + layout, 0);
    KD->WorkSpace = X + static_cast<long long>(d) * Ncol;
    KD->KernelLabels = X + 2LL * d * Ncol;
    KD->PrimUsed = KD->KernelLabels + d;
    KD->PosUsed = KD->PrimUsed + Ncol;
    KD->SecUsed = KD->PosUsed + Ncol;
    KD->Tag1 = KD->SecUsed + Ncol;
    KD->Tag2 = KD->Tag1 + Ncol;
    KD->Inhomogeneous = KD->Tag2 + Ncol;
    KD->Active = KD->Inhomogeneous + Ncol;
    KD->secCount = KD->tagCount = KD->DoubleTag = KD->SingleTag = KD->KernelSize = 0;
    KD->MaxKernelSize = n;
}

int nextPrimaryTag(KernelData* KD, int* Min, int* Max, int, int index, int Nvar) {
    const int boundR = index < 0 ? MaxPrimaryRange : Max[index] - Min[index];
    int best = -1;
    for (int v = 0; v < Nvar; v++) {
        if (isTag(KD, v) || v == index)
            continue;
        const int R = Max[v] - Min[v];
        if (R > boundR || (index >= 0 && R == boundR && v < index))
            continue;
        if (best < 0 || R > Max[best] - Min[best])
            best = v;
    }
    return best;
}

int nextPositive(KernelData* KD, int start, int index, int primary, int* secondaries, int Nsec,
                 int Nvar, int* pass) {
    auto eligible = [&](int v) {
        return !isTag(KD, v) && v != primary && Present(secondaries, Nsec, v) < 0;
    };
    auto preferred = [&](int v) { return KD->PosUsed[v] == 1; };
    return twoPassNext(start, index, Nvar, pass, eligible, preferred);
}

int nextSecondaryTag(KernelData* KD, int* Min, int* Max, int start, int index, int primary,
                     int Nvar, int* pass) {
    auto eligible = [&](int v) { return !isTag(KD, v) && KD->PosUsed[v] == 0 && v != primary; };
    auto startsAtZero = [&](int v) { return Min[v] == 0 && Max[v] != 0; };
    if (*pass == 0) {
        for (int v = std::max(index + 1, 0); v < Nvar; v++)
            if (eligible(v) && startsAtZero(v))
                return v;
        *pass = 1;
        index = start;
    }
    // The second pass takes every candidate again, without the range condition.
    for (int v = std::max(index + 1, 1); v < Nvar; v++)
        if (eligible(v))
            return v;
    *pass = 0;
    return -1;
}

int checkDoublet(double* Eqn, int Neq, int Ncol, int p, int s1) {
    int plus[1] = {p};
    int minus[1] = {s1};
    return checkColumns(Eqn, Neq, Ncol, plus, 1, minus, 1);
}

int checkTriplet(double* Eqn, int Neq, int Ncol, int p, int s1, int s2) {
    int plus[1] = {p};
    int minus[2] = {s1, s2};
    return checkColumns(Eqn, Neq, Ncol, plus, 1, minus, 2);
}

int checkQuadruplet(double* Eqn, int Neq, int Ncol, int p, int s1, int s2, int s3) {
    int plus[1] = {p};
    int minus[3] = {s1, s2, s3};
    return checkColumns(Eqn, Neq, Ncol, plus, 1, minus, 3);
}

int checkDoubleQuadruplet(double* Eqn, int Neq, int Ncol, int p, int q, int s1, int s2) {
    int plus[2] = {p, q};
    int minus[2] = {s1, s2};
    return checkColumns(Eqn, Neq, Ncol, plus, 2, minus, 2);
}

int KernelDoublets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    return singleTagPatterns(KD, ED, Min, Max, verbosity, 1, "KernelDoublets");
}

int KernelTriplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    return singleTagPatterns(KD, ED, Min, Max, verbosity, 2, "KernelTriplets");
}

int KernelQuadruplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    return singleTagPatterns(KD, ED, Min, Max, verbosity, 3, "KernelQuadruplets");
}

int KernelDoubleQuadruplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    const int Ncol = ED->Ncol;
    const int Nvar = Ncol - 1;
    int found = 0;
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Nvar); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Nvar)) {
        if (isTag(KD, p))
            continue;
        int pass = 0;
        for (int q = nextSecondaryTag(KD, Min, Max, 0, -1, p, Nvar, &pass); q >= 0;
             q = nextSecondaryTag(KD, Min, Max, 0, q, p, Nvar, &pass)) {
            int chosen[2];
            if (!findPositives(KD, ED, p, q, 2, chosen, 0))
                continue;
            int tags[2] = {p, q};
            if (!writePattern(KD, Ncol, tags, 2, chosen, 2))
                return found;
            addDoubleTagKernelVector(KD, kernelRow(KD, KD->KernelSize, Ncol), Ncol, p, q,
                                     verbosity);
            found++;
            break;
        }
    }
    return found;
}

void addDoubleTagKernelVector(KernelData* KD, int* newvec, int size, int lbl1, int lbl2,
                              int verbosity) {
    if (verbosity > 1)
        Print("Kernel vector %d added; Tags labels %d and %d\n", KD->KernelSize, lbl1, lbl2);
    KD->KernelLabels[KD->KernelSize] = lbl1;
    KD->KernelSize += 1;
    if (KD->KernelSize > KD->MaxKernelSize) {
        dumpHook();
        Alert("addDoubleTagKernelVector", 2, 220502, "Too many kernel vectors");
    }
    KD->DoubleTag += 1;
    KD->PrimUsed[lbl1] = 1;
    KD->SecUsed[lbl2] = 1;
    for (int k = 0; k < size - 1; k++)
        if (newvec[k] > 0)
            KD->PosUsed[k] = 1;
    // Each pair is entered in both orders; a variable is a tag at most once, so the lists
    // (of size entries each) never fill.
    if (KD->tagCount + 2 <= size) {
        KD->Tag1[KD->tagCount] = lbl1;
        KD->Tag2[KD->tagCount] = lbl2;
        KD->Tag1[KD->tagCount + 1] = lbl2;
        KD->Tag2[KD->tagCount + 1] = lbl1;
        KD->tagCount += 2;
    }
}

void sweepKernel(KernelData* KD, int Ncol) {
    for (int v = 1; v < KD->KernelSize; v++) {
        const int tag = KD->KernelLabels[v];
        const int* rv = kernelRow(KD, v, Ncol);
        for (int u = 0; u < v; u++) {
            int* ru = kernelRow(KD, u, Ncol);
            if (ru[tag] >= 1)
                for (int k = 0; k < Ncol; k++)
                    ru[k] += rv[k];
        }
    }
}

void resetPositiveUsed(KernelData* KD, int Ncol) {
    std::fill(KD->PosUsed, KD->PosUsed + Ncol, 0);
    for (int r = 0; r < KD->KernelSize; r++) {
        const int* v = kernelRow(KD, r, Ncol);
        for (int k = 0; k < Ncol - 1; k++)
            if (v[k] > 0)
                KD->PosUsed[k] = 1;
    }
}

void KernelBound(int Size, int index, int* Loop, int* Min, int* Max, int* lo, int* hi, void* Data) {
    auto* HLD = static_cast<HomogeneousLoopData*>(Data);
    *lo = Min[index];
    *hi = Max[index];
    if (index == Size - 1)
        return;
    const double* e = row(HLD->ED, 0);
    // The cut holds for a positive coefficient only; a zero or negative one leaves Max.
    if (e[index] <= 1e-7)
        return;
    double s = 0.0;
    for (int k = 0; k < Size; k++)
        if (k != index)
            s += Loop[k] * e[k];
    if (s > EdgeTolerance) {
        *hi = 0;
        return;
    }
    *hi = std::min(Max[index], static_cast<int>(EdgeTolerance - s / e[index]));
}

int hom_eval(int Size, int* Loop, void* Data) {
    if (!Data) {
        homogeneousPoints = 0;
        return 0;
    }
    auto* HLD = static_cast<HomogeneousLoopData*>(Data);
    KernelData* KD = HLD->KD;
    if (++homogeneousPoints > HLD->maxloop)
        return -3;
    if (!satisfiesIndependent(HLD->ED, Loop))
        return 0;
    const int tag = Present(Loop, Size, -1);
    if (tag < 0 || KD->KernelSize >= kernelRows(KD))
        return 0;
    std::copy(Loop, Loop + Size, kernelRow(KD, KD->KernelSize, Size));
    recordSingleTag(KD, Size, tag, "hom_eval", HLD->verbosity);
    return -1;
}

int hom_eval_double(int Size, int* Loop, void* Data) {
    if (!Data) {
        doubleWorkRows = 0;
        doubleWorkPoints = 0;
        return 0;
    }
    auto* HLD = static_cast<HomogeneousLoopData*>(Data);
    KernelData* KD = HLD->KD;
    // The point budget bounds a single loop search; without it one search over a wide box
    // could run for hours between two checks of the clock.
    if (++doubleWorkPoints > HLD->maxloop)
        return -3;
    if (!satisfiesIndependent(HLD->ED, Loop))
        return 0;
    const int maxRows = 2 * Size;
    int* W = holdAtLeast(doubleWork, std::max(2 * Size * Size + maxRows, 200000));
    int* pivots = W + static_cast<long long>(maxRows) * Size;
    if (KD->KernelSize >= kernelRows(KD) || doubleWorkRows >= maxRows)
        return 0;
    int* fresh = W + static_cast<long long>(doubleWorkRows) * Size;
    std::copy(Loop, Loop + Size, fresh);
    crossReduce(fresh, W, pivots, doubleWorkRows, Size);
    const int pivot = firstNonZero(fresh, Size);
    if (pivot < 0)
        return 0;
    pivots[doubleWorkRows++] = pivot;
    std::copy(Loop, Loop + Size, kernelRow(KD, KD->KernelSize, Size));
    return -1;
}

int SolveHomogeneous(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity,
                     int maxloop) {
    const int Ncol = ED->Ncol;
    int* B = holdAtLeast(singleBounds, 3 * Ncol);
    int* hmin = B;
    int* hmax = B + Ncol;
    int* loop = B + 2 * Ncol;
    HomogeneousLoopData HLD{ED, KD, maxloop, verbosity};
    for (int p = nextPrimaryTag(KD, Min, Max, 0, -1, Ncol - 1); p >= 0;
         p = nextPrimaryTag(KD, Min, Max, 0, p, Ncol - 1)) {
        if (verbosity > 2)
            Print("  Starting Kernel analysis for variable %d\n", p);
        for (int k = 0; k < Ncol; k++) {
            hmin[k] = 0;
            hmax[k] = KD->PrimUsed[k] == 1 || k == Ncol - 1 ? 0 : 3;
        }
        hmin[p] = hmax[p] = -1;
        propagateKernelBounds(ED, hmin, hmax);
        if (verbosity > 2)
            Print("  Starting loops; total length %8.0f\n", LoopLength(Ncol, hmin, hmax));
        int r = NestedLoops(Ncol, hmin, hmax, loop, &HLD, KernelBound, hom_eval);
        if (r == -3 && verbosity >= 3)
            Print("  Kernel vector search for label %d stopped\n", p);
        if (r == 0 && verbosity > 2)
            Print("  No kernel vector for label %d\n", p);
    }
    sweepKernel(KD, Ncol);
    resetPositiveUsed(KD, Ncol);
    return KD->SingleTag;
}

namespace {

bool skipForDoubleTag(const KernelData* KD, const int* Min, const int* Max, int v) {
    return KD->PrimUsed[v] || KD->SecUsed[v] || KD->PosUsed[v] || Min[v] == Max[v];
}

// The loop search for a double-tag vector with tags i and j; true when one was recorded.
bool doubleTagLoop(KernelData* KD, EquationData* ED, int i, int j, HomogeneousLoopData* HLD) {
    const int Ncol = ED->Ncol;
    int* B = holdAtLeast(doubleBounds, 3 * Ncol);
    int* hmin = B;
    int* hmax = B + Ncol;
    int* loop = B + 2 * Ncol;
    if (HLD->verbosity > 2)
        Print("  Starting two-label kernel analysis for variables %d,%d\n", i, j);
    for (int k = 0; k < Ncol; k++) {
        hmin[k] = 0;
        hmax[k] = isTag(KD, k) || k == Ncol - 1 ? 0 : DoubleTagRange;
    }
    hmin[i] = hmax[i] = hmin[j] = hmax[j] = -1;
    propagateKernelBounds(ED, hmin, hmax);
    if (HLD->verbosity > 2)
        Print("  Starting loops; total length %8.0f\n", LoopLength(Ncol, hmin, hmax));
    doubleWorkPoints = 0;
    int r = NestedLoops(Ncol, hmin, hmax, loop, HLD, KernelBound, hom_eval_double);
    if (r > 0) {
        addDoubleTagKernelVector(KD, kernelRow(KD, KD->KernelSize, Ncol), Ncol, i, j,
                                 HLD->verbosity);
        return true;
    }
    if (HLD->verbosity > 2)
        Print("  No kernel vector for labels %d and %d\n", i, j);
    return false;
}

} // namespace

int DoubleTagKernelLoops(KernelData* KD, EquationData* ED, int maxloop, int verbosity, int* Min,
                         int* Max) {
    const double start = CPUTime();
    const int Nvar = ED->Ncol - 1;
    if (Nvar < 1)
        return 1;
    HomogeneousLoopData HLD{ED, KD, maxloop, verbosity};
    for (int i = 0; i < Nvar; i++) {
        if (CPUTime() - start > DoubleTagTimeLimit) {
            Alert("DoubleTagKernelLoops", 0, 100201,
                  "This takes too long; stopping at i=%d (out of %d)\n", i, Nvar);
            return 1;
        }
        if (skipForDoubleTag(KD, Min, Max, i))
            continue;
        for (int j = i + 1; j < Nvar; j++) {
            if (skipForDoubleTag(KD, Min, Max, j))
                continue;
            if (doubleTagLoop(KD, ED, i, j, &HLD))
                break;
        }
    }
    return 1;
}

void FixBoundsUsingKernel(KernelData* KD, int* Min, int* Max) {
    for (int r = 0; r < KD->SingleTag; r++) {
        const int t = KD->KernelLabels[r];
        Max[t] = Min[t];
    }
}

int checkIndependence(int* vectors, int size, int Nvec, int* sweepcols) {
    int* fresh = vectors + static_cast<long long>(Nvec) * size;
    crossReduce(fresh, vectors, sweepcols, Nvec, size);
    const int pivot = firstNonZero(fresh, size);
    if (pivot < 0)
        return 0;
    sweepcols[Nvec] = pivot;
    return 1;
}

int checkIntegerIndependence(int* vectors, int size, int Nvec, int* sweepcols) {
    int* fresh = vectors + static_cast<long long>(Nvec) * size;
    for (int b = 0; b < Nvec; b++) {
        const int* rb = vectors + static_cast<long long>(b) * size;
        const int p = sweepcols[b];
        if (fresh[p] == 0)
            continue;
        const int reduced = rb[p] / GCD(rb[p], fresh[p]);
        if (reduced != 1 && reduced != -1)
            return 2;
        const int f = fresh[p] / rb[p];
        for (int k = 0; k < size; k++)
            fresh[k] -= f * rb[k];
    }
    int g = 0;
    for (int k = 0; k < size; k++)
        g = GCD(g, fresh[k]);
    if (g == 0)
        return 0;
    for (int k = 0; k < size; k++)
        fresh[k] /= g;
    int pivot = Present(fresh, size, 1);
    if (pivot < 0) {
        pivot = Present(fresh, size, -1);
        if (pivot >= 0)
            signFlip(size, fresh);
        else
            pivot = firstNonZero(fresh, size);
    }
    sweepcols[Nvec] = pivot;
    return 1;
}

void printKernel(KernelData* KD, int Ncol, int min, int max) {
    for (int r = min; r < max; r++)
        printKernelVector(Ncol, kernelRow(KD, r, Ncol), formstr("Nr. %2d: ", r));
}

void printKernelVector(int Size, int* vector, const char* string) {
    Print("%s ", string);
    printNonZeroEntries(Size, vector);
}

// =============================================================================================
// Search, candidates and summary

namespace {

constexpr int SimplestShown = 12;

VectorSpace Solutions = declareVectorSpace("Solutions", 20);
VectorSpace InterestingSolutions = declareVectorSpace("InterestingSolutions", 20);
int MinimalSolutionSize = 0;

GuardedArray<int> candidateArray("candidate");
GuardedArray<int> deformablesInfo("DeformablesInfo");
int* RelevantKernelVectors = nullptr;
int* Deformables = nullptr;
int DeformablesCount = 0;
int DeformablesRoom = 0;

// checkCandidate's pass counter, check rate and interval timer.
int passCount = -1;
int checkRate = 10000;
double intervalTimer = 0.0;
double lastInterval = 0.0;
// checkCandidateSingle's.
int passCountSingle = -1;
int checkRateSingle = 10000;

int outermostLevel = 10000; // of DynamicBound

LoopData searchData;
LoopData singleData;
GuardedArray<int> searchLoop("Loop");
GuardedArray<int> singleLoop("Loop");

int* solutionRow(VectorSpace* s, int r) {
    return s->Space + static_cast<long long>(s->rowsize) * r;
}

int nonZeroCount(const int* v, int n) {
    int c = 0;
    for (int k = 0; k < n; k++)
        c += v[k] != 0;
    return c;
}

int* sizeCandidate(int Ncol) {
    return holdAtLeast(candidateArray, std::max(Ncol + 100, 1000));
}

// The determined variables of the candidate from the loop variables; false when one of them is
// not a non-negative integer.
bool computeDetermined(LoopData* LD, int* candidate) {
    EquationData* ED = LD->ED;
    const int Ncol = ED->Ncol;
    for (int b = 0; b < ED->IndEq; b++) {
        const int v = LD->VarsFromEqs.X[b];
        if (v < 0)
            continue;
        const double* E = ED->OptimizedEquations.X + static_cast<long long>(b) * Ncol;
        double sum = 0.0;
        for (int k = 0; k < Ncol; k++)
            if (k != v)
                sum += candidate[k] * E[k];
        const double value = -sum / E[v];
        if (!IntCheck(value))
            return false;
        const int x = DoubleToInt(value);
        if (x < 0)
            return false;
        candidate[v] = x;
    }
    return true;
}

bool forbidden(const EquationData* ED, const int* candidate) {
    if (ED->forbidden_range != 1)
        return false;
    for (int j = 0; j < ED->Ncol - 1; j++)
        if (candidate[j] >= ED->forbidden_min[j] && candidate[j] <= ED->forbidden_max[j])
            return true;
    return false;
}

// Computed variables outside the caller's bounds are reported, not rejected.
void reportBoundViolations(const EquationData* ED, int* candidate) {
    if (!ED->min || !ED->max)
        return;
    for (int j = 0; j < ED->Ncol - 1; j++) {
        if (candidate[j] < ED->min[j]) {
            Alert("checkCandidate", 1, 112301, "Minimum violation for variable %d (%d < %d)\n", j,
                  candidate[j], ED->min[j]);
            printVec(ED->Ncol - 1, candidate, "candidate: ");
            dumpHook();
        }
        if (candidate[j] > ED->max[j]) {
            Alert("checkCandidate", 1, 112301, "Maximum violation for variable %d (%d > %d)\n", j,
                  candidate[j], ED->max[j]);
            printVec(ED->Ncol - 1, candidate, "candidate: ");
            dumpHook();
        }
    }
}

// Steps shared by both callbacks: the candidate with its determined variables, or null when it
// is not integral, negative or forbidden.
int* prepareCandidate(LoopData* LD, int Size, const int* Loop) {
    int* candidate = sizeCandidate(Size);
    std::copy(Loop, Loop + Size, candidate);
    if (!computeDetermined(LD, candidate) || forbidden(LD->ED, candidate))
        return nullptr;
    return candidate;
}

void startCheckCandidate(LoopData* LD) {
    const int Ncol = LD->ED->Ncol;
    DeformablesCount = 0;
    checkRate = 10000;
    sizeCandidate(Ncol);
    if (LD->parametrized_solution) {
        const int room = std::max(Ncol * Ncol + 10000, 100000);
        RelevantKernelVectors = deformablesInfo.reserve(room);
        std::fill(RelevantKernelVectors, RelevantKernelVectors + Ncol, 0);
        Deformables = RelevantKernelVectors + Ncol;
        DeformablesRoom = (room - Ncol) / Ncol;
    } else {
        RelevantKernelVectors = Deformables = nullptr;
        DeformablesRoom = 0;
    }
    TimeDifference(&intervalTimer, 1);
}

// Estimated remaining time: elapsed time times the ranges outside the outermost level that has
// moved from its minimum.
double remainingTime(LoopData* LD, const int* Loop) {
    const EquationData* ED = LD->ED;
    const int Ncol = ED->Ncol;
    int moved = -1;
    for (int j = 0; j < Ncol && moved < 0; j++)
        if (Loop[j] > ED->loop_min[j])
            moved = j;
    const int levels = moved < 0 ? Ncol : moved;
    double factor = 1.0;
    for (int j = 0; j < levels; j++)
        factor *= static_cast<double>(ED->loop_max[j]) - ED->loop_min[j] + 1.0;
    return (CPUTime() - LD->Start) * factor;
}

// The periodic time check; -3 when the user stops the search.
int progressCheck(LoopData* LD, const int* Loop) {
    passCount += 1;
    if (passCount % checkRate != checkRate - 1)
        return 0;
    const double interval = TimeDifference(&intervalTimer, 0);
    if (interval <= LD->interrupt)
        return 0;
    lastInterval = interval;
    const EquationData* ED = LD->ED;
    const bool haveLoopBounds = ED->loop_min && ED->loop_max;
    if (LD->verbosity >= 1 && haveLoopBounds) {
        PrintVec(ED->Ncol, Loop, "Current loop indices: ");
        PrintVec(ED->Ncol, ED->loop_min, "Minima: ");
        PrintVec(ED->Ncol, ED->loop_max, "Maxima: ");
    }
    const double estimate = haveLoopBounds ? remainingTime(LD, Loop) : 0.0;
    const char* question = "Loops in progress; Estimated remaining time %7.2g sec.\nDo you wish "
                           "to continue?";
    if (estimate > 10.0 * LD->interrupt) {
        if (Alert("checkCandidate", 0, 653209, question, estimate) == 1)
            return -3;
    } else if (Alert("checkCandidate", 1, 333209, question, estimate) == 0) {
        return -3;
    }
    const int rate =
        static_cast<int>(passCount * static_cast<double>(LD->interrupt) / interval / 3.0);
    checkRate = rate > 0 ? rate : 20000;
    TimeDifference(&intervalTimer, 1);
    passCount = 0;
    return 0;
}

bool reducedByDoubleTag(const KernelData* KD, const int* candidate) {
    for (int t = 0; t < KD->tagCount; t++)
        if (candidate[KD->Tag1[t]] != 0 && candidate[KD->Tag2[t]] != 0)
            return true;
    return false;
}

// The re-check of a parametrised candidate against the independent and optimised rows.
bool satisfiesAllRows(EquationData* ED, int* candidate) {
    REASON_CODE = 0;
    const int Ncol = ED->Ncol;
    for (int b = 0; b < 2 * ED->IndEq; b++) {
        const bool independent = b < ED->IndEq;
        double* rows = independent ? ED->Equations.X : ED->OptimizedEquations.X;
        const int r = independent ? ED->OrigEq + b : b - ED->IndEq;
        if (CheckEquation(rows, candidate, r, Ncol))
            continue;
        REASON_CODE = 6;
        REASON_INFO = r;
        PrintVec(Ncol, candidate, "Rejected solution: ");
        Alert("checkCandidate", 1, 212404, "Candidate solution does not satisfy equations");
        return false;
    }
    return true;
}

void noteDeformable(KernelData* KD, const int* candidate, int Ncol) {
    if (!checkRelevance(const_cast<int*>(candidate), Ncol, KD, RelevantKernelVectors,
                        DeformablesCount + 1))
        return;
    if (DeformablesCount >= DeformablesRoom)
        return;
    std::copy(candidate, candidate + Ncol,
              Deformables + static_cast<long long>(DeformablesCount) * Ncol);
    DeformablesCount += 1;
}

// A later solution of a parametrised search: a new kernel direction (0), an additional
// particular solution (1), or a combination of known directions (0).
int classifyLaterSolution(LoopData* LD, int* candidate) {
    EquationData* ED = LD->ED;
    KernelData* KD = LD->KD;
    const int Ncol = ED->Ncol;
    const int* first = solutionRow(&Solutions, 0);
    const int rows = KD->MaxKernelSize + 1;
    if (KD->KernelSize >= rows || KD->secCount >= rows) {
        dumpHook();
        Alert("checkCandidate", 2, 220502, "Too many kernel vectors");
        addVectorToCollection(&Solutions, candidate);
        return 1;
    }
    int* kernelRow = KD->Kernel.X + static_cast<long long>(KD->KernelSize) * Ncol;
    int* workRow = KD->WorkSpace + static_cast<long long>(KD->secCount) * Ncol;
    for (int k = 0; k < Ncol; k++)
        kernelRow[k] = workRow[k] = candidate[k] - first[k];
    if (LD->verbosity > 2)
        printKernelVector(Ncol, kernelRow, "Candidate Kernel Vector");
    switch (checkIntegerIndependence(KD->Kernel.X, Ncol, KD->KernelSize, KD->KernelLabels)) {
    case 1:
        if (LD->verbosity >= 1) {
            Print("New kernel vector (Nr. %2d) ", KD->KernelSize);
            printNonZeroEntries(Ncol - 1, kernelRow);
        }
        KD->secCount += 1;
        KD->KernelSize += 1;
        if (KD->KernelSize > KD->MaxKernelSize) {
            dumpHook();
            Alert("checkCandidate", 2, 220502, "Too many kernel vectors");
        }
        if (LD->verbosity >= 1)
            LD->analysis_fcn(candidate);
        return 0;
    case 2:
        LD->analysis_fcn(candidate);
        Alert("checkCandidate", 3, 100201, "********* Additional solution found");
        addVectorToCollection(&Solutions, candidate);
        return 1;
    default:
        if (LD->verbosity > 2)
            Print("Linear combination of known kernel vectors\n");
        return 0;
    }
}

int parametrisedCandidate(LoopData* LD, int* candidate) {
    EquationData* ED = LD->ED;
    KernelData* KD = LD->KD;
    const int Ncol = ED->Ncol;
    if (LD->analysis_fcn(candidate) == 0)
        return 0;
    const int n = nonZeroCount(candidate, Ncol - 1);
    if (n <= MinimalSolutionSize && InterestingSolutions.rowsize == Ncol + 2) {
        addVectorToCollection(&InterestingSolutions, candidate);
        MinimalSolutionSize = n;
    }
    if (reducedByDoubleTag(KD, candidate))
        return 0;
    if (!satisfiesAllRows(ED, candidate))
        return 0;
    if (LD->verbosity > 2)
        printKernelVector(Ncol - 1, candidate, "Candidate solution     ");
    noteDeformable(KD, candidate, Ncol);
    if (Solutions.Nfill == 0) {
        if (LD->verbosity >= 1)
            LD->analysis_fcn(candidate);
        addVectorToCollection(&Solutions, candidate);
        std::copy(candidate, candidate + Ncol, KD->Inhomogeneous);
        return 1;
    }
    return classifyLaterSolution(LD, candidate);
}

int searchResult(int r, int Ncol, int* Min, int* Max) {
    if (r == 0) {
        REASON_CODE = 5;
        REASON_INFOD = LoopLength(Ncol - 1, Min, Max);
        return -1;
    }
    if (r > 0)
        return -3 - r;
    if (r == -1 || r == -3)
        return -2;
    return 0;
}

void printDoubleTagAnalysis(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity) {
    const int before = KD->KernelSize;
    if (verbosity >= 1)
        printProgressHeader(verbosity, "Starting double tag kernel analysis (direct search)");
    KernelDoubleQuadruplets(KD, ED, Min, Max, verbosity);
    if (verbosity >= 1)
        Print("Found: %d\n", KD->KernelSize - before);
    const int middle = KD->KernelSize;
    if (verbosity >= 1)
        printProgressHeader(verbosity, "Starting double tag kernel analysis (loop search)");
    DoubleTagKernelLoops(KD, ED, 100000, verbosity, Min, Max);
    if (verbosity >= 1)
        Print("Found: %d\n", KD->KernelSize - middle);
    if (verbosity < 1)
        return;
    Print("%d primary double tag kernel vectors determined\n", KD->DoubleTag);
    printKernel(KD, ED->Ncol, KD->SingleTag, KD->SingleTag + KD->DoubleTag);
}

// The loop data shared by both searches.
void prepareLoopData(LoopData* LD, KernelData* KD, EquationData* ED, int verbosity, int interrupt,
                     ANALYSE function, int parametrized, int single) {
    LD->ED = ED;
    LD->KD = KD;
    LD->verbosity = verbosity;
    LD->analysis_fcn = function;
    LD->interrupt = interrupt;
    LD->parametrized_solution = parametrized;
    LD->single_solution = single;
    holdAtLeast(LD->VarsFromEqs, std::max(ED->Ncol, ED->IndEq));
}

void determineVariables(LoopData* LD, KernelData* KD, EquationData* ED, int* Min, int* Max,
                        int verbosity) {
    const int Ncol = ED->Ncol;
    double* opt = holdAtLeast(ED->OptimizedEquations, std::max(ED->IndEq * Ncol, 1));
    std::copy(independentRow(ED, 0), independentRow(ED, ED->IndEq), opt);
    OptimizeEquationUse(opt, Ncol, ED->IndEq, Min, Max, KD ? KD->PosUsed : nullptr,
                        LD->VarsFromEqs.X, verbosity);
}

void startSolutions(int Ncol) {
    initVectorCollection(&Solutions, Ncol, 20);
    if (InterestingSolutions.rowsize != Ncol + 2)
        initVectorCollection(&InterestingSolutions, Ncol, 20);
}

} // namespace

void InitializeEquationSolver() {
    checkCandidate(0, nullptr, nullptr);
    checkCandidateSingle(0, nullptr, nullptr);
    hom_eval_double(0, nullptr, nullptr);
    DynamicBound(0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    hom_eval(0, nullptr, nullptr);
    REASON_CODE = REASON_INFO = REASON_INFO1 = REASON_INFO2 = 0;
    REASON_INFOD = 0.0;
}

VectorSpace* getSolutionPointer() {
    return &Solutions;
}

void DynamicBound(int Size, int index, int* Loop, int* Min, int* Max, int* lo, int* hi,
                  void* Data) {
    if (!Data) {
        outermostLevel = 10000;
        return;
    }
    auto* LD = static_cast<LoopData*>(Data);
    *lo = Min[index];
    *hi = Max[index];
    if (index < outermostLevel) {
        outermostLevel = index;
        if (LD->verbosity > 3)
            Print("Loop index: %d\n", index);
    }
    // A tag whose partner, at an outer level, is already non-zero need only be tried at 0 and
    // below: the candidate check rejects both tags non-zero anyway. Inner levels still hold
    // values of an earlier point and are not read.
    const KernelData* KD = LD->KD;
    if (!LD->parametrized_solution || !KD)
        return;
    for (int t = 0; t < KD->tagCount; t++) {
        const int partner = KD->Tag2[t];
        if (KD->Tag1[t] == index && partner < index && partner < Size && Loop[partner] != 0)
            *hi = std::min(*hi, 0);
    }
}

int checkCandidate(int Size, int* Loop, void* Data) {
    if (!Data) {
        passCount = -1;
        return 0;
    }
    auto* LD = static_cast<LoopData*>(Data);
    if (passCount == -1)
        startCheckCandidate(LD);
    if (progressCheck(LD, Loop) == -3)
        return -3;
    int* candidate = prepareCandidate(LD, Size, Loop);
    if (!candidate)
        return 0;
    reportBoundViolations(LD->ED, candidate);
    if (LD->single_solution) {
        const int r = LD->analysis_fcn(candidate);
        return r == 1 ? -1 : r;
    }
    if (!LD->parametrized_solution || !LD->KD)
        return LD->analysis_fcn(candidate);
    return parametrisedCandidate(LD, candidate);
}

int checkCandidateSingle(int Size, int* Loop, void* Data) {
    if (!Data) {
        passCountSingle = -1;
        return 0;
    }
    auto* LD = static_cast<LoopData*>(Data);
    if (passCountSingle == -1) {
        DeformablesCount = 0;
        checkRateSingle = 10000;
        sizeCandidate(LD->ED->Ncol);
    }
    passCountSingle += 1;
    if (passCountSingle % checkRateSingle == checkRateSingle - 1 &&
        passCountSingle > LD->interrupt) {
        Print("ABORTED (during loop search) \n");
        return -3;
    }
    int* candidate = prepareCandidate(LD, Size, Loop);
    if (!candidate)
        return 0;
    const int r = LD->analysis_fcn(candidate);
    return r == 1 ? -1 : r;
}

int DiophLoops(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity, int interrupt,
               AllocCount*, ANALYSE function, int parametrized_solution, int single_solution) {
    const int Ncol = ED->Ncol;
    LoopData* LD = &searchData;
    prepareLoopData(LD, KD, ED, verbosity, interrupt, function, parametrized_solution,
                    single_solution);
    if (verbosity >= 2) {
        Print("Bounds (without using equations):\n");
        printBox(Ncol - 1, Min, Max);
    }
    if (KD && KD->DoubleTag == 0 && KD->SingleTag < KD->MaxKernelSize) {
        KD->tagCount = 0;
        if (parametrized_solution)
            printDoubleTagAnalysis(KD, ED, Min, Max, verbosity);
    }
    determineVariables(LD, KD, ED, Min, Max, verbosity);
    if (verbosity >= 2) {
        Print("Bounds after using equations:\n");
        printBox(Ncol - 1, Min, Max);
    }
    if (verbosity >= 1)
        Print("Starting nested variable loops\n");
    if (KD)
        KD->secCount = 0;
    REASON_CODE = 0;
    LD->Start = CPUTime();
    startSolutions(Ncol);
    // An empty box has no solution; the loop driver would still visit its first point.
    if (LoopLength(Ncol, Min, Max) < 0)
        return searchResult(0, Ncol, Min, Max);
    int* loop = holdAtLeast(searchLoop, std::max(Ncol + 100, 1000));
    const int r = NestedLoops(Ncol, Min, Max, loop, LD, DynamicBound, checkCandidate);
    if (parametrized_solution && KD)
        postSearchAnalysis(KD, Ncol, function, verbosity);
    return searchResult(r, Ncol, Min, Max);
}

int DiophLoopsSingle(KernelData* KD, EquationData* ED, int* Min, int* Max, int interrupt,
                     AllocCount*, ANALYSE function) {
    const int Ncol = ED->Ncol;
    LoopData* LD = &singleData;
    prepareLoopData(LD, KD, ED, 0, interrupt, function, 0, 1);
    if (KD)
        KD->tagCount = 0;
    determineVariables(LD, KD, ED, Min, Max, 0);
    if (KD)
        KD->secCount = 0;
    REASON_CODE = 0;
    LD->Start = CPUTime();
    startSolutions(Ncol);
    if (LoopLength(Ncol, Min, Max) < 0)
        return searchResult(0, Ncol, Min, Max);
    int* loop = holdAtLeast(singleLoop, std::max(Ncol + 100, 1000));
    const int r = NestedLoops(Ncol, Min, Max, loop, LD, DynamicBound, checkCandidateSingle);
    return searchResult(r, Ncol, Min, Max);
}

int isRelevant(KernelData* KD, int i) {
    if (i >= KD->SingleTag + KD->DoubleTag)
        return 1;
    return RelevantKernelVectors && RelevantKernelVectors[i] >= 1 ? 1 : 0;
}

int checkRelevanceForKernelVector(int* candidate, int Size, int* kvector) {
    for (int k = 0; k < Size - 1; k++)
        if (kvector[k] > 0 && candidate[k] == 0)
            return 0;
    return 1;
}

int checkRelevance(int* candidate, int Size, KernelData* KD, int* RelevantKernelVectors,
                   int count) {
    int marked = 0;
    for (int i = 0; i < KD->SingleTag + KD->DoubleTag; i++) {
        if (RelevantKernelVectors[i] != 0)
            continue;
        if (checkRelevanceForKernelVector(candidate, Size,
                                          KD->Kernel.X + static_cast<long long>(i) * Size)) {
            RelevantKernelVectors[i] = count;
            marked = 1;
        }
    }
    return marked;
}

int printRelevantKernelVectors(KernelData* KD, int Size, ANALYSE function, int verbosity) {
    if (!RelevantKernelVectors)
        return 0;
    int count = 0;
    std::vector<int> example(static_cast<std::size_t>(Size));
    for (int i = 0; i < KD->SingleTag + KD->DoubleTag; i++) {
        const int mark = RelevantKernelVectors[i];
        if (mark < 1)
            continue;
        count++;
        if (verbosity < 1)
            continue;
        const int* vector = KD->Kernel.X + static_cast<long long>(i) * Size;
        const int* shown = Deformables + static_cast<long long>(mark - 1) * Size;
        for (int k = 0; k < Size; k++)
            example[k] = k < Size - 1 ? shown[k] - vector[k] : shown[k];
        Print("Relevant kernel vector: ");
        printNonZeroEntries(Size - 1, vector);
        Print("Example involving this kernel vector: \n");
        function(example.data());
    }
    return count;
}

namespace {

void printSolutionList(int Size, int P) {
    if (Solutions.Nfill == 1) {
        const char* label =
            P == 0 ? "Unique solution: " : formstr("Unique solution (with %d parameters) ", P);
        printKernelVector(Size - 1, solutionRow(&Solutions, 0), label);
        return;
    }
    Print("List of solutions: \n");
    for (int s = 0; s < Solutions.Nfill; s++)
        printKernelVector(Size - 1, solutionRow(&Solutions, s), formstr("Nr %d: ", s));
}

void printSimplestSolutions(ANALYSE function) {
    Print("\nSimplest solutions encountered:\n");
    for (int r = 0; r < std::min(InterestingSolutions.Nfill, SimplestShown); r++)
        function(solutionRow(&InterestingSolutions, r));
    if (InterestingSolutions.Nfill >= SimplestShown)
        Print("\netc.....\n");
}

} // namespace

void postSearchAnalysis(KernelData* KD, int Size, ANALYSE function, int verbosity) {
    if (Solutions.Nfill == 0)
        return;
    Print("\nSOLUTION SUMMARY\n");
    const int P = KD->secCount + printRelevantKernelVectors(KD, Size, function, 0);
    printSolutionList(Size, P);
    const int tagged = KD->SingleTag + KD->DoubleTag;
    for (int t = 0; t < KD->secCount && tagged + t <= KD->MaxKernelSize; t++)
        std::copy(KD->WorkSpace + static_cast<long long>(t) * Size,
                  KD->WorkSpace + static_cast<long long>(t + 1) * Size,
                  KD->Kernel.X + static_cast<long long>(tagged + t) * Size);
    if (verbosity >= 1) {
        if (KD->secCount > 0) {
            Print("Secondary kernel vector summary\n");
            for (int t = 0; t < KD->secCount; t++)
                printKernelVector(Size - 1, KD->WorkSpace + static_cast<long long>(t) * Size,
                                  formstr("Nr %d: ", t));
        }
        Print("Analysis of primary kernel deformations\n");
        printRelevantKernelVectors(KD, Size, function, verbosity);
        if (P > 0) {
            printSimplestSolutions(function);
            return;
        }
    }
    // Several solutions without parameters are listed above; "unique" is said of one only.
    if (P == 0 && Solutions.Nfill == 1)
        Print("\nUnique, undeformable solution\n");
}

namespace {

bool storeIfSolution(EquationData* ED, int* point, int size) {
    if (!satisfiesIndependent(ED, point))
        return false;
    addVectorToCollection(&InterestingSolutions, point);
    MinimalSolutionSize = size;
    return true;
}

} // namespace

void listSimpleSolutions(EquationData* ED) {
    const int Ncol = ED->Ncol;
    initVectorCollection(&InterestingSolutions, Ncol, 20);
    MinimalSolutionSize = Ncol + 1;
    std::vector<int> point(static_cast<std::size_t>(Ncol), 0);
    point[Ncol - 1] = 1;
    if (storeIfSolution(ED, point.data(), 0)) {
        Print("Equations satisfied by trivial solution\n");
        return;
    }
    CheckEquations(independentRow(ED, 0), point.data(), ED->IndEq, Ncol, 0);
    std::vector<int> lo(static_cast<std::size_t>(Ncol), 0),
        hi(static_cast<std::size_t>(Ncol), 10000);
    lo[Ncol - 1] = hi[Ncol - 1] = 1;
    getVariableBounds(row(ED, 0), Ncol, lo.data(), hi.data());
    std::vector<char> marked(static_cast<std::size_t>(Ncol), 0);
    int singles = 0;
    for (int j = 0; j < Ncol - 1; j++) {
        std::fill(point.begin(), point.end() - 1, 0);
        point[j] = hi[j];
        if (hi[j] != 0 && storeIfSolution(ED, point.data(), 1)) {
            marked[j] = 1;
            singles++;
        }
    }
    if (singles > 1) {
        Print("Found %d single entry solutions\n", singles);
        return;
    }
    if (singles == 1) {
        Print("Found one single entry solution\n");
        return;
    }
    for (int j = 0; j < Ncol - 1; j++)
        for (int k = j + 1; k < Ncol - 1; k++) {
            if (marked[j] || marked[k] || static_cast<long long>(hi[j]) * hi[k] > 1024)
                continue;
            for (int a = 0; a < hi[j]; a++)
                for (int b = 0; b < hi[k]; b++) {
                    std::fill(point.begin(), point.end() - 1, 0);
                    point[j] = a;
                    point[k] = b;
                    storeIfSolution(ED, point.data(), 2);
                }
        }
}
