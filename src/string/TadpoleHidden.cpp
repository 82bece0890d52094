// Hidden sectors for the standard-model and instanton searches: the tadpole budget the observable
// stacks leave, and the boundaries admitted to cancel it.
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "numeric/Equations.h"
#include "numeric/VectorUtility.h"
#include "string/Intersections.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleInternal.h"
#include "string/TadpoleSolver.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double tensionOf(int a) {
    double re = 0, im = 0;
    getCurrentReflectionCoefficient(0, a, &re, &im);
    return re;
}

bool observable(int a, int Nfix, const int* vars) {
    for (int i = 0; i < Nfix; i++)
        if (vars[i] == a)
            return true;
    return false;
}

// Makes ori current with its open-string data and an empty selection in which the observable
// stacks are fixed; returns their label pairs.
std::vector<int> startSelection(int Nfix, int ori, const int* vars, const int* mults,
                                const int** conj) {
    OrientifoldInfo* OI = setStoredOrientifold(ori);
    initializeOpenString();
    loadOrientifoldConjugates(OI, 0);
    *conj = OI->Conjugates.X;
    initActiveBoundaries(-2);
    std::vector<int> pairs;
    for (int i = 0; i < Nfix; i++) {
        setFixVar(vars[i], mults[i]);
        pairs.push_back(vars[i]);
        pairs.push_back((*conj)[vars[i]]);
    }
    return pairs;
}

// The tension of a (twice for a unitary pair) fits into the budget -RHS.
bool fitsBudget(int a, int c, double RHS) {
    const double t = c != a ? 2 * tensionOf(a) : tensionOf(a);
    return t - 1e-7 <= -RHS;
}

int SMCalls = 1000;
char Status[64] = "";

int info() {
    return tadpole::parameter("Tadpole info_level");
}

EquationData& equations() {
    return *getTadpoleEquationPointer();
}

void status(const char* message) {
    PrintNoRepeat(message, Status);
}

// The kernel bounds, improved with the given number of attempts; false when they leave no room.
bool kernelBounds(int attempts) {
    computeTadpoleKernel();
    EquationData& ED = equations();
    return ImproveBounds(&ED, ED.ker_min, ED.ker_max, attempts, 1, info()) != -1;
}

double kernelLoopLength() {
    EquationData& ED = equations();
    return OptimizedLoopLength(ED.Ncol, ED.ker_min, ED.ker_max, &ED);
}

// An outcome line of the instanton search, in order with what Print holds.
void outcome(const char* line) {
    flushOutput();
    std::printf("%s\n", line);
}

void announceLongLoops(double L) {
    Print("Number of variables: %d\n", getNumberOfLoopVariables());
    if (L < 1e30)
        Print("Loops too long; trying anyway (length %15.0f)\n", L);
    else
        Print("Loops too long; trying anyway (length %7.0g)\n", L);
}

int buildSelectedEquations() {
    const int code = tadpole::parameter("Tadpole remove_identical") ? RemoveIdenticalBoundaries(1)
                                                                    : computeTadpoleEquations();
    return code < 1 ? code : 0;
}

} // namespace

double computeTadpoleRHS(int ori, int Nfix, int* vars, int* mults) {
    OrientifoldInfo* OI = setStoredOrientifold(ori);
    loadOrientifoldConjugates(OI, 0);
    const int* conj = OI->Conjugates.X;
    double re = 0, im = 0;
    getCurrentCrosscapCoefficient(0, 0, &re, &im);
    double RHS = -std::fabs(4 * re);
    for (int i = 0; i < Nfix; i++)
        RHS += (conj[vars[i]] != vars[i] ? 2 : 1) * mults[i] * tensionOf(vars[i]);
    if (RHS > 1e-8) {
        std::printf("ori %d, Nfix=%d\n", ori, Nfix);
        std::fflush(stdout);
        std::vector<int> first(4, 0);
        for (int i = 0; i < 4 && i < Nfix; i++)
            first[static_cast<std::size_t>(i)] = vars[i];
        printVec(4, first.data(), "vars");
        Alert("computeTadpoleRHS", 0, 212404, "Tadpole bound violation %15.7f", RHS);
    }
    return RHS;
}

int selectHiddenSectorForSM(double RHS, int Nfix, int ori, int* boundaries, int* mults) {
    const int* conj = nullptr;
    std::vector<int> pairs = startSelection(Nfix, ori, boundaries, mults, &conj);
    if (!criteriaPrinted())
        printTadpoleCriteriaOnce();
    const int allow = tadpole::parameter("Tadpole allow_OH_matter");
    const bool confine = tadpole::parameter("Tadpole require_confinement") != 0;
    const int* types = getCurrentOrientifold()->GroupTypes;
    for (int a = 0; a < TotalBoundaries(); a++) {
        const int c = conj[a];
        if (c < a || observable(a, Nfix, boundaries) || observable(c, Nfix, boundaries))
            continue;
        if (!fitsBudget(a, c, RHS) ||
            GenericSMHiddenIntersection(a, c, allow, 2 * Nfix, pairs.data()) == 1)
            continue;
        if (confine && types[a] == 1)
            continue;
        setActBound(a, 1);
        if (confine && GenericSMHiddenIntersection(a, c, 0, 2 * Nfix, pairs.data()) == 1) {
            setRequireConfinement(a);
            setRequireConfinement(c);
        }
    }
    return buildSelectedEquations();
}

int selectHiddenSectorForInstanton(double RHS, int Nfix, int instanton, int ori, int* boundaries,
                                   int* mults) {
    const int* conj = nullptr;
    std::vector<int> pairs = startSelection(Nfix, ori, boundaries, mults, &conj);
    const int ipair[] = {instanton, conj[instanton]};
    pairs.insert(pairs.end(), ipair, ipair + 2);
    const int allow = tadpole::parameter("Tadpole allow_OH_matter");
    int candidates = 0;
    for (int a = 0; a < TotalBoundaries(); a++) {
        const int c = conj[a];
        if (c < a || observable(a, Nfix, boundaries) || observable(c, Nfix, boundaries) ||
            a == instanton || c == instanton)
            continue;
        candidates++;
        if (!fitsBudget(a, c, RHS) ||
            GenericSMHiddenIntersection(a, c, allow, 2 * Nfix, pairs.data()) == 1 ||
            GenericSMHiddenIntersection(a, c, 0, 2, ipair) == 1)
            continue;
        setActBound(a, 1);
    }
    const int code = buildSelectedEquations();
    Print("Instanton %d allows %d hidden sector brane stacks out of %d candidates.\n", instanton,
          getNumberOfLoopVariables(), candidates);
    return code;
}

namespace {

// Steps after the simple solutions of the standard-model search; the loop code or -1.
int smLoops(bool* longLoops) {
    if (!kernelBounds(100000)) {
        status("No solution after third boundary analysis");
        return -1;
    }
    EquationData& ED = equations();
    const double L = kernelLoopLength();
    *longLoops = L >= 1e9;
    if (*longLoops)
        announceLongLoops(L);
    const int interrupt = *longLoops ? 1000000 : 2147483647;
    return SingleSolution == 1 ? TadpoleLoopsSingle(interrupt, ED.ker_min, ED.ker_max)
                               : TadpoleLoops(interrupt, ED.ker_min, ED.ker_max, 1, 0);
}

int smLoopVerdict(int r, bool longLoops) {
    if (r == -1) {
        status(longLoops ? "No solution after solving tadpole conditions"
                         : "No solution after tadpole loops");
        return -1;
    }
    if (r < -3) {
        if (defaultAnalysisFunction())
            status("Solution found");
        return -2;
    }
    if (r == -2)
        return 1;
    if (!longLoops)
        Alert("findTadpoleSolutionForSM", 3, 212404, "Invalid return code after solving equations");
    Alert("findTadpoleSolutionForSM", 4, 212404, "Invalid return code after solving equations");
    return 0;
}

} // namespace

int findTadpoleSolutionForSM(int Nfix, int ori, int* vars, int* mults) {
    analyse_solution(nullptr);
    if (SMCalls % 1000 == 0)
        checkInterrupt();
    const double RHS = computeTadpoleRHS(ori, Nfix, vars, mults);
    if (selectHiddenSectorForSM(RHS, Nfix, ori, vars, mults) < 0)
        return -1;
    const int bounds = SolveTadpoleConditionsUsingBounds();
    if (bounds == -1)
        return -1;
    std::snprintf(Status, sizeof Status, " (%d vars, %d eqs)", getNumberOfLoopVariables(),
                  equations().IndEq);
    if (std::fabs(RHS) > 1e-7 && getNumberOfLoopVariables() == 0) {
        Print("No variables, but non-zero RHS; hence no solution\n");
        return -1;
    }
    // Bounds that fix every variable run the loops at once; what they found was handed on
    // already and must not be searched, and handed on, again.
    if (bounds < -3) {
        if (defaultAnalysisFunction())
            status("Solution found");
        return -2;
    }
    SMCalls++;
    EquationData& ED = equations();
    if (ImproveBounds(&ED, ED.min, ED.max, 1000, 1, info()) == -1) {
        status("No solution after second boundary analysis");
        return -1;
    }
    setCPthreshold(-1);
    int pre = 0;
    const int n = findSimpleSolutions(&pre);
    if (n == 0 && SimplestOnly == 1) {
        status("No simple solutions found; giving up");
        setCPthreshold(-1);
        return -1;
    }
    // A hidden sector the simple stage found is a result, whatever the loops add to it.
    if (n > 0 && (SimplestOnly == 1 || SingleSolution == 1)) {
        if (defaultAnalysisFunction() || n >= 2)
            Print("Found %d simple solutions\n", n);
        setCPthreshold(-1);
        return -2;
    }
    bool longLoops = false;
    const int r = smLoops(&longLoops);
    const int verdict = smLoopVerdict(r, longLoops);
    setCPthreshold(-1);
    return n > 0 ? -2 : verdict;
}

int findTadpoleSolutionForInstanton(int instanton, int Nfix, int ori, int* vars, int* mults) {
    const double RHS = computeTadpoleRHS(ori, Nfix, vars, mults);
    selectHiddenSectorForInstanton(RHS, Nfix, instanton, ori, vars, mults);
    analyse_solution(nullptr);
    auto none = [](const char* line) {
        outcome(line);
        setCPthreshold(-1);
        return -1;
    };
    const int bounds = SolveTadpoleConditionsUsingBounds();
    if (bounds == -1)
        return none("No solution after first boundary analysis");
    // As for the standard-model search: found by the bound analysis, handed on once.
    if (bounds < -3) {
        outcome("Solution found");
        return -2;
    }
    EquationData& ED = equations();
    if (ImproveBounds(&ED, ED.min, ED.max, 10000, 1, info()) == -1)
        return none("No solution after second boundary analysis");
    setCPthreshold(-1);
    int pre = 0;
    const int n = findSimpleSolutions(&pre);
    if (n >= 1) {
        flushOutput();
        std::printf("Found %d simple solutions\n", n);
        setCPthreshold(-1);
        return -2;
    }
    if (!kernelBounds(10000000))
        return none("No solution after second bound analysis");
    const double L = kernelLoopLength();
    if (L <= 0) {
        Print("negative loop length\n");
        setCPthreshold(-1);
        return -1;
    }
    const bool longLoops = L >= 1e9;
    if (longLoops) {
        Print("Number of variables: %d\n", getNumberOfLoopVariables());
        Print("Loops too long; trying anyway (length %15.0f)\n", L);
    }
    const int r = TadpoleLoopsSingle(longLoops ? 1000000 : 2147483647, ED.ker_min, ED.ker_max);
    setCPthreshold(-1);
    if (r == -1)
        return none(longLoops ? "No solution after solving tadpole conditions"
                              : "No solution after tadpole loops");
    if (r < -3) {
        outcome("Solution found");
        return -2;
    }
    if (r == -2)
        return 1;
    if (!longLoops)
        Alert("findTadpoleSolutionForInstanton", 3, 212404,
              "Invalid return code after solving equations");
    Alert("findTadpoleSolutionForInstanton", 4, 212404,
          "Invalid return code after solving equations");
    return 0;
}
