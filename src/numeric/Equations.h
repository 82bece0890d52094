// The bounded integer solver: integer solutions, inside a box, of a linear system with real
// coefficients. The system is reduced to independent rows, the box is shrunk by bound
// propagation, kernel vectors let the search skip whole families of solutions, and the search
// runs nested loops over the variables that no equation determines.
//
// Conventions: a system has Ncol columns, Ncol-1 variables and a last column that multiplies
// the constant (its range [1, 1] for the system, [0, 0] for its homogeneous part). Rows of
// Ncol doubles read a_0·x_0 + ... + a_(Ncol-1)·x_(Ncol-1) = 0. Points and bounds are int
// vectors of Ncol entries with inclusive ranges.
//
// Negative results: bound propagation -1 infeasible, -2 attempt budget exhausted, -3 box small
// enough to search, -4 at most one point left; a search -1 no solution, -3-N for N solutions,
// -2 stopped.
#pragma once

#include "base/Allocation.h"
#include "numeric/Sorting.h"

// The caller's decision on a candidate of Ncol entries: 1 accept, 0 reject (other values stop
// the loops in the plain and single-solution searches).
using ANALYSE = int (*)(int* candidate);
// The caller's dump of its own view of the system before an internal inconsistency is reported.
using EQNDUMP = void (*)();

// One linear system, owned by the caller.
struct EquationData {
    int Ncol = 0;
    // Rows 0 .. OrigEq-1 the caller's, then IndEq independent normalised rows, then the
    // combinations stored by the bound propagation, up to Size-1.
    GuardedArray<double> Equations{"ED->Equations"};
    GuardedArray<double> OptimizedEquations{"ED->OptimizedEquations"};
    GuardedArray<double> Decompositions{"ED->Decompositions"};
    GuardedArray<int> Bounds{"ED->Bounds"}; // the block behind the eight bound vectors
    int OrigEq = 0;
    int IndEq = 0;
    int AllEq = 0;
    int Size = 0;
    int LastAdded = 0;
    int forbidden_range = 0;
    int* min = nullptr;
    int* max = nullptr;
    int* ker_min = nullptr;
    int* ker_max = nullptr;
    int* loop_min = nullptr;
    int* loop_max = nullptr;
    int* forbidden_min = nullptr;
    int* forbidden_max = nullptr;
};

// Integer kernel vectors of a system: entry -1 at one or two tag variables, non-negative
// elsewhere, 0 in the constant column.
struct KernelData {
    // Vector rows, then WorkSpace, KernelLabels and the seven per-variable arrays.
    GuardedArray<int> Kernel{"KD->Kernel"};
    int* WorkSpace = nullptr;
    int KernelSize = 0;
    int MaxKernelSize = 0;
    // Vector rows the block holds, and as many work rows: MaxKernelSize + 1, or fewer when those
    // would not fit under the allocation ceiling.
    int RowCapacity = 0;
    int SingleTag = 0;
    int DoubleTag = 0;
    int* KernelLabels = nullptr;
    int* PrimUsed = nullptr;
    int* PosUsed = nullptr;
    int* SecUsed = nullptr;
    int* Tag1 = nullptr;
    int* Tag2 = nullptr;
    int* Inhomogeneous = nullptr;
    int* Active = nullptr;
    int tagCount = 0;
    int secCount = 0;
};

// The data of the kernel loops.
struct HomogeneousLoopData {
    EquationData* ED;
    KernelData* KD;
    int maxloop;
    int verbosity;
};

// The data of the search loop.
struct LoopData {
    EquationData* ED = nullptr;
    KernelData* KD = nullptr;
    GuardedArray<int> VarsFromEqs{"LD.VarsFromEqs"};
    double Start = 0.0;
    int interrupt = 0;
    int verbosity = 0;
    int parametrized_solution = 0;
    int single_solution = 0;
    ANALYSE analysis_fcn = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Equation system and bound propagation

int getIndependentEquations(EquationData* ED, AllocCount* allocSize);
int NormalizeEquation(double* Eqn, int Ncol, double* Maxcoeff);
int getVariableBounds(double* Eqn, int Ncol, int* Min, int* Max);
int AnalyseBounds(EquationData* ED, int* Min, int* Max);
int AnalyseBounds2(EquationData* ED, int* Min, int* Max);
int AnalyseBoundsForCombinations(EquationData* ED, int verbosity, int* Min, int* Max, int MaxCnt,
                                 int persist);
int ImproveBounds(EquationData* ED, int* Min, int* Max, int MaxCnt, int persistence, int verbosity);
void OptimizeEquationUse(double* Eqn, int Ncol, int Neq, int* Min, int* Max, int* favorites,
                         int* VarsFromEqs, int verbosity);
double OptimizedLoopLength(int Size, int* Min, int* Max, EquationData* ED);
double LoopLength(int Size, int* Min, int* Max);
int CheckEquation(double* Eqn, int* soln, int i, int Ncol);
int CheckEquations(double* Eqn, int* soln, int Neq, int Ncol, int showFailure);
void PrintBounds(int Ncol, int* Min, int* Max, int verbosity);
void printProgressHeader(int verbosity, const char* txt);
void QueryFailureReason(int* cd1, int* cd2, int* cd3, int* cd4, double* cd5);
int getBndCnt();
void setEquationDumpFunction(EQNDUMP fcn);
void NoDump();

int getNewMinimum(double newmin, int* Min);
int getNewMaximum(double newmax, int* Max);
void CombineRows(double* Matrix, double* result, double factor, int Ncol, int row1, int row2);
void FullSweep(double* Matrix, int Nrow, int Ncol, int SweepRow, int SweepCol);
int DoubleLinearSolve(double* Coeff, double* Solution, int Neq);
int checkEquationDependence(double* Eqns, double* Eqn, int Ncol, int Neq, int* sweepcol);
int compareEquations(double* Eqn, double* newEq, int Neq, int Ncol);
void buildEquationFromDecomp(double* decomp, double* out, double* IndepEq, int Ncol, int indep);
void buildEquationFromDecomp2(double* decomp, double* out, double* IndepEq, int Ncol, int indep);
int solveIntegerFromEquation(int Ncol, double* Eq, int var, int* loop);
int solvePositiveIntegerFromEquation(int Ncol, double* Eq, int var, int* loop);
int checkPositive(double* Eqn, int Ncol);
int getNewPosition(int Neq, int Size, int Basic, int verbosity);

// ---------------------------------------------------------------------------------------------
// Kernel vectors

void initKernelData(KernelData* KD, EquationData* ED);
int KernelDoublets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity);
int KernelTriplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity);
int KernelQuadruplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity);
int KernelDoubleQuadruplets(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity);
int SolveHomogeneous(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity,
                     int maxloop);
int DoubleTagKernelLoops(KernelData* KD, EquationData* ED, int maxloop, int verbosity, int* Min,
                         int* Max);
void KernelBound(int Size, int index, int* Loop, int* Min, int* Max, int* lo, int* hi, void* Data);
int hom_eval(int Size, int* Loop, void* Data);
int hom_eval_double(int Size, int* Loop, void* Data);
void FixBoundsUsingKernel(KernelData* KD, int* Min, int* Max);
void addDoubleTagKernelVector(KernelData* KD, int* newvec, int size, int lbl1, int lbl2,
                              int verbosity);
void sweepKernel(KernelData* KD, int Ncol);
void resetPositiveUsed(KernelData* KD, int Ncol);
int nextPrimaryTag(KernelData* KD, int* Min, int* Max, int start, int index, int Nvar);
int nextPositive(KernelData* KD, int start, int index, int primary, int* secondaries, int Nsec,
                 int Nvar, int* pass);
int nextSecondaryTag(KernelData* KD, int* Min, int* Max, int start, int index, int primary,
                     int Nvar, int* pass);
int checkDoublet(double* Eqn, int Neq, int Ncol, int p, int s1);
int checkTriplet(double* Eqn, int Neq, int Ncol, int p, int s1, int s2);
int checkQuadruplet(double* Eqn, int Neq, int Ncol, int p, int s1, int s2, int s3);
int checkDoubleQuadruplet(double* Eqn, int Neq, int Ncol, int p, int q, int s1, int s2);
int checkIndependence(int* vectors, int size, int Nvec, int* sweepcols);
int checkIntegerIndependence(int* vectors, int size, int Nvec, int* sweepcols);
void printKernel(KernelData* KD, int Ncol, int min, int max);
void printKernelVector(int Size, int* vector, const char* string);

// ---------------------------------------------------------------------------------------------
// Search, candidates and summary

int DiophLoops(KernelData* KD, EquationData* ED, int* Min, int* Max, int verbosity, int interrupt,
               AllocCount* allocSize, ANALYSE function, int parametrized_solution,
               int single_solution);
int DiophLoopsSingle(KernelData* KD, EquationData* ED, int* Min, int* Max, int interrupt,
                     AllocCount* allocSize, ANALYSE function);
int checkCandidate(int Size, int* Loop, void* Data);
int checkCandidateSingle(int Size, int* Loop, void* Data);
void DynamicBound(int Size, int index, int* Loop, int* Min, int* Max, int* lo, int* hi, void* Data);
void InitializeEquationSolver();
VectorSpace* getSolutionPointer();
int isRelevant(KernelData* KD, int i);
int checkRelevanceForKernelVector(int* candidate, int Size, int* kvector);
int checkRelevance(int* candidate, int Size, KernelData* KD, int* RelevantKernelVectors, int count);
int printRelevantKernelVectors(KernelData* KD, int Size, ANALYSE function, int verbosity);
void postSearchAnalysis(KernelData* KD, int Size, ANALYSE function, int verbosity);
void listSimpleSolutions(EquationData* ED);
