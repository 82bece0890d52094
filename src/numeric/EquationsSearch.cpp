// The search of the bounded integer solver: the nested loops over the free variables, the
// candidate checks and the summary of the solutions found.
#include "numeric/Equations.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "numeric/EquationsInternal.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace equations_internal;

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

int nonZeroCount(const int* v, int n) {
    int c = 0;
    for (int k = 0; k < n; k++)
        c += v[k] != 0;
    return c;
}

int* sizeCandidate(int Ncol) {
    return holdAtLeast(candidateArray, std::max(Ncol + 100, 1000));
}

// The determined variable of row b of the optimised equations, from the candidate as it stands:
// the plain recomputation over every column.
double determinedValue(const EquationData* ED, int b, int v, const int* candidate) {
    const int Ncol = ED->Ncol;
    const double* E = ED->OptimizedEquations.X + static_cast<long long>(b) * Ncol;
    double sum = 0.0;
    for (int k = 0; k < Ncol; k++)
        if (k != v)
            sum += candidate[k] * E[k];
    return -sum / E[v];
}

// The determined variables of the candidate from the loop variables; false when one of them is
// not a non-negative integer.
bool computeDetermined(LoopData* LD, int* candidate) {
    EquationData* ED = LD->ED;
    for (int b = 0; b < ED->IndEq; b++) {
        const int v = LD->VarsFromEqs.X[b];
        if (v < 0)
            continue;
        const double value = determinedValue(ED, b, v, candidate);
        if (!IntCheck(value))
            return false;
        const int x = DoubleToInt(value);
        if (x < 0)
            return false;
        candidate[v] = x;
    }
    return true;
}

// Running sums of the rows that determine variables, over the current loop point. A candidate
// then costs work in proportion to the loop levels that moved since the previous one, and only
// for the rows it reaches, instead of a pass over every column of every row. The decisions stay
// those of the plain recomputation: each running sum carries a bound on how far it can lie from
// the plain one, and a value within that bound of the integer tolerance is recomputed plainly.
struct RowSums {
    struct Move {
        int k;
        double delta;
        double grown; // change of |x_k|
    };
    bool usable = false;
    bool synced = false;
    bool candidateFresh = false; // the candidate buffer equals the point outside determined slots
    int Ncol = 0;
    int R = 0;             // rows that determine a variable
    int lowestFetched = 0; // outermost level whose range the loops fetched since the last point
    int written = 0;       // determined slots the previous candidate wrote
    const int* candidate = nullptr;
    std::vector<int> rows, vars;
    std::vector<double> pivot;
    std::vector<double> factor;        // -1/pivot
    std::vector<double> spread;        // 1/|pivot|, for the error bound
    std::vector<double> coeff;         // the rows, 0 in the determined columns
    std::vector<double> sum, err, mag; // per row: running sum, its error bound, sum of |terms|
    std::vector<int> applied;          // per row: moves of the log already in its sum
    std::vector<int> movesSinceSum;    // per row, -1 when it must be summed afresh
    std::vector<Move> log;
    std::vector<int> point;
};

RowSums searchSums;
RowSums singleSums;

RowSums& sumsOf(const LoopData* LD) {
    return LD == &singleData ? singleSums : searchSums;
}

constexpr double Unit = 0x1p-53;
// Moves after which a row is summed afresh, so that its error bound stays small.
constexpr int ResumEvery = 1 << 16;

// The sums work only when every determining row leaves the other determined variables out,
// which the sweep that chose them guarantees.
bool rowsSeparateDetermined(const EquationData* ED, const RowSums& S) {
    for (int r = 0; r < S.R; r++) {
        const double* E = ED->OptimizedEquations.X + static_cast<long long>(S.rows[r]) * S.Ncol;
        if (E[S.vars[r]] == 0.0)
            return false;
        for (int q = 0; q < S.R; q++)
            if (q != r && (S.vars[q] == S.vars[r] || E[S.vars[q]] != 0.0))
                return false;
    }
    return true;
}

void startRowSums(LoopData* LD) {
    const EquationData* ED = LD->ED;
    RowSums& S = sumsOf(LD);
    S.Ncol = ED->Ncol;
    S.rows.clear();
    S.vars.clear();
    for (int b = 0; b < ED->IndEq; b++)
        if (LD->VarsFromEqs.X[b] >= 0) {
            S.rows.push_back(b);
            S.vars.push_back(LD->VarsFromEqs.X[b]);
        }
    S.R = static_cast<int>(S.rows.size());
    S.synced = S.candidateFresh = false;
    S.usable = rowsSeparateDetermined(ED, S);
    if (!S.usable)
        return;
    const std::size_t n = static_cast<std::size_t>(S.Ncol);
    S.pivot.resize(static_cast<std::size_t>(S.R));
    S.factor.resize(static_cast<std::size_t>(S.R));
    S.spread.resize(static_cast<std::size_t>(S.R));
    S.coeff.resize(n * S.R);
    for (int r = 0; r < S.R; r++) {
        const double* E = ED->OptimizedEquations.X + static_cast<long long>(S.rows[r]) * S.Ncol;
        S.pivot[r] = E[S.vars[r]];
        S.factor[r] = -1.0 / S.pivot[r];
        S.spread[r] = 1.0 / std::fabs(S.pivot[r]);
        std::copy(E, E + S.Ncol, S.coeff.begin() + static_cast<long long>(r) * S.Ncol);
    }
    for (int r = 0; r < S.R; r++)
        for (int v : S.vars)
            S.coeff[static_cast<std::size_t>(r) * n + v] = 0.0;
    S.sum.assign(static_cast<std::size_t>(S.R), 0.0);
    S.err.assign(static_cast<std::size_t>(S.R), 0.0);
    S.mag.assign(static_cast<std::size_t>(S.R), 0.0);
    S.applied.assign(static_cast<std::size_t>(S.R), 0);
    S.movesSinceSum.assign(static_cast<std::size_t>(S.R), -1);
    S.point.assign(n, 0);
    S.log.clear();
}

// The nearest whole number (ties to even) without a library call; beyond 2^51 every double is
// whole.
double nearestWhole(double a) {
    constexpr double Shift = 0x1.8p52;
    return std::fabs(a) < 0x1p51 ? (a + Shift) - Shift : a;
}

// Error bound of a recursive sum of n products: n·u/(1 - n·u) times the sum of |terms|.
double summationBound(int n) {
    const double nu = n * Unit;
    return nu / (1.0 - nu);
}

void sumAfresh(RowSums& S, int r) {
    const double* c = S.coeff.data() + static_cast<std::size_t>(r) * S.Ncol;
    double sum = 0.0;
    double mag = 0.0;
    for (int k = 0; k < S.Ncol; k++) {
        const double t = S.point[k] * c[k];
        sum += t;
        mag += std::fabs(t);
    }
    S.sum[r] = sum;
    S.mag[r] = mag;
    S.err[r] = summationBound(S.Ncol) * mag;
    S.applied[r] = static_cast<int>(S.log.size());
    S.movesSinceSum[r] = 0;
}

// Brings row r up to the current point.
void catchUp(RowSums& S, int r) {
    const int end = static_cast<int>(S.log.size());
    if (S.movesSinceSum[r] < 0 || S.movesSinceSum[r] + end - S.applied[r] > ResumEvery) {
        sumAfresh(S, r);
        return;
    }
    const double* c = S.coeff.data() + static_cast<std::size_t>(r) * S.Ncol;
    double sum = S.sum[r];
    double err = S.err[r];
    double mag = S.mag[r];
    for (int i = S.applied[r]; i < end; i++) {
        const RowSums::Move& m = S.log[i];
        const double t = m.delta * c[m.k];
        sum += t;
        err += Unit * (std::fabs(t) + std::fabs(sum));
        mag += std::fabs(c[m.k]) * m.grown;
    }
    S.movesSinceSum[r] += end - S.applied[r];
    S.applied[r] = end;
    S.sum[r] = sum;
    S.err[r] = err;
    S.mag[r] = mag;
}

// A full log is dropped: rows that are behind it are summed afresh when next needed.
void dropLog(RowSums& S) {
    const int end = static_cast<int>(S.log.size());
    for (int r = 0; r < S.R; r++) {
        if (S.applied[r] != end)
            S.movesSinceSum[r] = -1;
        S.applied[r] = 0;
    }
    S.log.clear();
}

// Brings the point and the candidate buffer to the loop point. The loops fetch the range of a
// level before they move it, so only the levels from the outermost fetched one inward, and the
// innermost level, can differ from the point of the previous call.
void followLoop(RowSums& S, const int* Loop, int* candidate) {
    if (candidate != S.candidate) {
        S.candidate = candidate;
        S.candidateFresh = false;
    }
    if (!S.synced) {
        std::copy(Loop, Loop + S.Ncol, S.point.begin());
        std::fill(S.movesSinceSum.begin(), S.movesSinceSum.end(), -1);
        S.candidateFresh = false;
        S.synced = true;
    } else {
        if (S.log.size() > static_cast<std::size_t>(ResumEvery))
            dropLog(S);
        for (int k = std::min(S.lowestFetched, S.Ncol - 1); k < S.Ncol; k++) {
            const int to = Loop[k];
            const int from = S.point[k];
            if (to == from)
                continue;
            S.log.push_back({k, static_cast<double>(to) - from,
                             std::fabs(static_cast<double>(to)) - std::fabs(from)});
            S.point[k] = to;
            candidate[k] = to;
        }
    }
    S.lowestFetched = S.Ncol;
    if (!S.candidateFresh) {
        std::copy(Loop, Loop + S.Ncol, candidate);
        S.candidateFresh = true;
        S.written = 0;
    }
    // A rejected candidate leaves its determined slots behind; they start from the loop point.
    for (int r = 0; r < S.written; r++)
        candidate[S.vars[r]] = Loop[S.vars[r]];
    S.written = 0;
}

// The determined variable of row r; false when it is not a non-negative integer. The plain
// recomputation decides whenever the running value is too close to the tolerance to tell.
bool determineRow(RowSums& S, const EquationData* ED, int r, int* candidate) {
    catchUp(S, r);
    const int v = S.vars[r];
    // The running value may differ from the plain one by the error bounds of both sums, scaled
    // by the pivot, and by a few roundings of the value itself (the reciprocal among them).
    const double value = S.sum[r] * S.factor[r];
    const double bound = summationBound(S.Ncol) * std::max(S.mag[r], 0.0) + S.err[r];
    const double slack = 2.0 * (bound * S.spread[r] + 8.0 * Unit * (std::fabs(value) + 1.0));
    const double distance = std::fabs(value - nearestWhole(value));
    int x;
    if (distance > Tolerance + slack) {
        return false;
    } else if (distance < Tolerance - slack) {
        x = std::fabs(value) < 1e9 ? static_cast<int>(nearestWhole(value)) : DoubleToInt(value);
    } else {
        const double plain = determinedValue(ED, S.rows[r], v, candidate);
        if (!IntCheck(plain))
            return false;
        x = DoubleToInt(plain);
    }
    if (x < 0)
        return false;
    candidate[v] = x;
    S.written = r + 1;
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
    RowSums& S = sumsOf(LD);
    if (!S.usable || S.Ncol != Size) {
        std::copy(Loop, Loop + Size, candidate);
        if (!computeDetermined(LD, candidate) || forbidden(LD->ED, candidate))
            return nullptr;
        return candidate;
    }
    followLoop(S, Loop, candidate);
    for (int r = 0; r < S.R; r++)
        if (!determineRow(S, LD->ED, r, candidate))
            return nullptr;
    if (forbidden(LD->ED, candidate))
        return nullptr;
    // The callers may change what they are handed.
    S.candidateFresh = false;
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
    const int* first = rowOf(&Solutions, 0);
    const int rows = KD->RowCapacity;
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
    startRowSums(LD);
}

// The nested loops under the progress line of the terminal (none in background runs); the
// candidate checks ask their own question when the loops run long.
int loopsWithProgress(int Ncol, int* Min, int* Max, int* loop, LoopData* LD, EVAL evaluate) {
    const char* title = "Loop search";
    startProgressInfo(title, LoopLength(Ncol, Min, Max), 0);
    const int r = NestedLoops(Ncol, Min, Max, loop, LD, DynamicBound, evaluate);
    stopProgressInfo(title);
    return r;
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
    RowSums& S = sumsOf(LD);
    S.lowestFetched = std::min(S.lowestFetched, index);
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
    incrementProgressInfo();
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
    incrementProgressInfo();
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
    const int r = loopsWithProgress(Ncol, Min, Max, loop, LD, checkCandidate);
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
    const int r = loopsWithProgress(Ncol, Min, Max, loop, LD, checkCandidateSingle);
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
        printKernelVector(Size - 1, rowOf(&Solutions, 0), label);
        return;
    }
    Print("List of solutions: \n");
    for (int s = 0; s < Solutions.Nfill; s++)
        printKernelVector(Size - 1, rowOf(&Solutions, s), formstr("Nr %d: ", s));
}

void printSimplestSolutions(ANALYSE function) {
    Print("\nSimplest solutions encountered:\n");
    for (int r = 0; r < std::min(InterestingSolutions.Nfill, SimplestShown); r++)
        function(rowOf(&InterestingSolutions, r));
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
    for (int t = 0; t < KD->secCount && tagged + t < KD->RowCapacity; t++)
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
