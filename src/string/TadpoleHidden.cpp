// Hidden sectors for the standard-model and instanton searches: the tadpole budget the observable
// stacks leave, and the boundaries admitted to cancel it.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "numeric/VectorUtility.h"
#include "string/Intersections.h"
#include "string/Tadpole.h"
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
