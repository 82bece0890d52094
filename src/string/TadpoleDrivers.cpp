// The drivers of the tadpole solver: from bound analysis and the expected loop length they decide
// whether to stop, to try few-brane solutions, to ask, or to run the nested integer loops within
// the time budget.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "numeric/Equations.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleInternal.h"
#include "string/TadpoleSolver.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double LongLoop = 1e8;
constexpr double LongKernelLoop = 100000.0;
constexpr double UnboundedLoop = 1e7;

int info() {
    return tadpole::parameter("Tadpole info_level");
}

EquationData& equations() {
    return *getTadpoleEquationPointer();
}

// Few-brane solutions stay known only while a driver runs.
int finish(int r) {
    setCPthreshold(-1);
    return r;
}

// The few-brane search in place of loops that are too long: -(3+n) for n accepted solutions.
int simpleSearchResult() {
    int pre = 0;
    const int n = findSimpleSolutions(&pre);
    return n > 0 ? -3 - n : -1;
}

double kernelLoopLength() {
    EquationData& ED = equations();
    return OptimizedLoopLength(ED.Ncol, ED.ker_min, ED.ker_max, &ED);
}

void showKernelBounds() {
    if (info() > 0) {
        EquationData& ED = equations();
        PrintBounds(ED.Ncol, ED.ker_min, ED.ker_max, 2);
    }
}

int negativeLoopLength() {
    Print("Negative loop length\n");
    return -1;
}

int firstSolutionReport(int r, int parm) {
    if ((r < -3 && info() > 0 && parm == 1) || tadpole::parameter("Tadpole show_spectrum")) {
        VectorSpace* solutions = getSolutionPointer();
        if (solutions && solutions->Nfill > 0)
            printParametrizedSolution(getTadpoleKernel(), equations().Ncol, solutions->Space);
    }
    return r;
}

void copyBounds(const int* min_in, const int* max_in) {
    EquationData& ED = equations();
    copyVec(ED.Ncol, ED.loop_min, min_in);
    copyVec(ED.Ncol, ED.loop_max, max_in);
}

int askLongLoops(const char* routine, double L) {
    tadpoleTrace("Loop length (using equations): %6.0f", L);
    showKernelBounds();
    // A box of many variables overflows the double that counts its points.
    char size[40] = "more than 1e308 points";
    if (std::isfinite(L))
        std::snprintf(size, sizeof size, "%.3g points", L);
    return Alert(routine, 0, 332209, "Loop length appears too large (%s). Try anyway?", size);
}

} // namespace

int TadpoleLoops(int interrupt, int* min_in, int* max_in, int parm, int single) {
    EquationData& ED = equations();
    copyBounds(min_in, max_in);
    InitializeEquationSolver();
    if (info() > 0)
        Print("\nLOOP ANALYSIS\n");
    const int r = DiophLoops(getTadpoleKernel(), &ED, ED.loop_min, ED.loop_max, info(), interrupt,
                             nullptr, analyse_solution, parm, single);
    tadpoleTrace("Diophantine loops finished.");
    if (r == -1)
        return -1;
    return firstSolutionReport(r, parm);
}

int TadpoleLoopsSingle(int interrupt, int* min_in, int* max_in) {
    EquationData& ED = equations();
    copyBounds(min_in, max_in);
    InitializeEquationSolver();
    if (info() > 0)
        Print("\nLOOP ANALYSIS\n");
    const int r = DiophLoopsSingle(getTadpoleKernel(), &ED, ED.loop_min, ED.loop_max, interrupt,
                                   nullptr, analyse_solution);
    tadpoleTrace("Diophantine loops finished.");
    return r;
}

namespace {

int longLoops(int parm, int single, double L) {
    if (SimplestOnly == 1)
        return simpleSearchResult();
    if (askLongLoops("SolveTadpoleConditions", L) == 0) {
        tadpoleTrace("Aborted; loop length %6.0f", L);
        return -2;
    }
    EquationData& ED = equations();
    const int r = TadpoleLoops(getTadpoleMaxtime(), ED.ker_min, ED.ker_max, parm, single);
    if (r == -2) {
        std::fflush(stderr);
        Print(tadpole::parameter("interactive")
                  ? "Loop search aborted by user\n"
                  : "Loop search aborted (in non-interactive mode)\n");
    }
    return r;
}

int solveTadpole(int parm, int single, int persistence) {
    setCPthreshold(-1);
    if (getTadpoleMaxtime() == 0) {
        tadpoleTrace("Loop search aborted (time limit exceeded)\n");
        return -2;
    }
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    // The equations set the solver flags from the parameters: defaults are read after them.
    if (parm == -1)
        parm = FullSol;
    if (single == -1)
        single = SingleSolution;
    if (persistence == -1)
        persistence = tadpole::parameter("Tadpole max_iter");
    EquationData& ED = equations();
    const int maxtime = getTadpoleMaxtime();
    tadpoleTrace("Bound analysis started, MAXTIME=%d (in SolveTadpoleConditions)", maxtime);
    const int b = ImproveTadpoleBounds(maxtime * 5, persistence);
    tadpoleTrace("Bound analysis finished, MAXTIME=%d (in SolveTadpoleConditions)", maxtime);
    if (b <= -3) {
        tadpoleTrace("Short loops; Kernel not computed; maximal time set at 60 secs.");
        if (info() > 0)
            Print("Kernel not computed\n");
        return TadpoleLoops(10, ED.min, ED.max, parm, single);
    }
    if (b == -2)
        tadpoleTrace("Bound analysis aborted due to time limit");
    else if (b == -1)
        return -1;
    if (parm == 1 && SimplestOnly != 1) {
        std::printf("Kernel vector search");
        getSingleTagKernel(1000);
        if (ImproveBounds(&ED, ED.ker_min, ED.ker_max, maxtime * 20000, persistence, info()) == -1)
            return -1;
    }
    tadpoleTrace("Kernel analysis finished.");
    tadpoleTrace("Number of Kernel vectors: %d", getTadpoleKernel()->SingleTag);
    const double L = kernelLoopLength();
    if (L > 0 && L < LongLoop) {
        if (info() > 0)
            Print("Loop length (using equations): %6.0f\n", L);
        tadpoleTrace("Loop length (using equations): %6.0f", L);
        return TadpoleLoops(120, ED.ker_min, ED.ker_max, parm, single);
    }
    if (L >= LongLoop)
        return longLoops(parm, single, L);
    return negativeLoopLength();
}

} // namespace

int SolveTadpoleConditions(int parm, int single, int persistence) {
    return finish(solveTadpole(parm, single, persistence));
}

int SolveTadpoleConditionsUsingLoops(int wait) {
    setCPthreshold(-1);
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    EquationData& ED = equations();
    return finish(TadpoleLoops(wait, ED.min, ED.max, FullSol, SingleSolution));
}

namespace {

int solveUsingKernel(int maxloop) {
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    getSingleTagKernel(maxloop);
    getKernelDependentBounds();
    EquationData& ED = equations();
    const double L = kernelLoopLength();
    if (L >= LongKernelLoop) {
        if (SimplestOnly == 1)
            return simpleSearchResult();
        if (askLongLoops("SolveTadpoleConditionsUsingKernel", L) == 0)
            return -2;
        return TadpoleLoops(60, ED.ker_min, ED.ker_max, FullSol, 0);
    }
    if (L > 0) {
        Print("Loop length (using equations): %6.0f\n", L);
        return TadpoleLoops(120, ED.ker_min, ED.ker_max, FullSol, 0);
    }
    return negativeLoopLength();
}

int solveUsingBounds() {
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    if (getTadpoleMaxtime() == 0)
        return 0;
    const int b = ImproveTadpoleBounds(0, 0);
    if (b == -1)
        return -1;
    EquationData& ED = equations();
    if (b < 0)
        return TadpoleLoops(0, ED.min, ED.max, FullSol, SingleSolution);
    const double L = OptimizedLoopLength(ED.Ncol, ED.min, ED.max, &ED);
    if (L > 0 && L < UnboundedLoop) {
        if (info() > 0)
            Print("Loop length (using equations): %6.0f", L);
        return -3;
    }
    if (L >= 0)
        return 0;
    return negativeLoopLength();
}

} // namespace

int SolveTadpoleConditionsUsingKernel(int maxloop) {
    setCPthreshold(-1);
    return finish(solveUsingKernel(maxloop));
}

int SolveTadpoleConditionsUsingBounds() {
    setCPthreshold(-1);
    return finish(solveUsingBounds());
}

int SolveSimpleCurrentTadpoleConditions() {
    if (!initTadpole())
        return -1;
    if (!activeBoundarySelection())
        initActiveBoundaries(-3);
    for (int a = 0; a < TotalBoundaries(); a++)
        setActBound(a, SimpleCurrentBoundary(a) > 0 ? 1 : 0);
    return SolveTadpoleConditions(1, 0, 1);
}

int SolveTadpoleConditionsWithFewBranes(int maxbrane) {
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    if (maxbrane > 4) {
        Alert("SolveTadpoleConditionsWithFewBranes", 0, 112311, "Too many branes");
        return -2;
    }
    ImproveTadpoleBounds(10, 0);
    setCPthreshold(-1);
    int pre = 0;
    findSimpleSolutions(&pre);
    return finish(-3 - pre);
}

int SolveTadpoleConditionsSingle(int rc) {
    EquationData& ED = equations();
    if (rc != -3) {
        if (ImproveBounds(&ED, ED.ker_min, ED.ker_max, 1000000, 1, info()) == -1)
            return -1;
        const double L = kernelLoopLength();
        if (L >= LongLoop) {
            tadpoleTrace("Loop length (using equations): %6.0f", L);
            showKernelBounds();
            Print("Loops too long; trying anyway (limit %d)\n", 100000);
            const int r = TadpoleLoopsSingle(100000, ED.ker_min, ED.ker_max);
            if (r == -2) {
                std::printf("ABORTED");
                printTadpoleBounds();
            }
            return r;
        }
    }
    return TadpoleLoopsSingle(2147483647, ED.ker_min, ED.ker_max);
}
