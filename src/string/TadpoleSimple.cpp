// Few-brane solutions of the tadpole conditions: the zero configuration and every choice of one
// to four loop variables, each choice solved exactly, and the enumeration of all subsets of one
// size with its line in the ".fbd" statistics file.
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "numeric/Equations.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleInternal.h"
#include "string/TadpoleLinear.h"
#include "string/TadpoleSolver.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int MaxFewBraneVariables = 200;
constexpr int MaxThreeBraneVariables = 400;

const char* noModelName() {
    return "UNDEFINED";
}

const char* (*modelName)() = noModelName;

std::vector<int> Loop;
std::vector<double> Eqn;
std::vector<int> Bounds;

int info() {
    return tadpole::parameter("Tadpole info_level");
}

EquationData& equations() {
    return *getTadpoleEquationPointer();
}

double* independentRow(int r) {
    EquationData& ED = equations();
    return ED.Equations.X + static_cast<long long>(ED.OrigEq + r) * ED.Ncol;
}

int* clearedLoop() {
    const int Ncol = equations().Ncol;
    Loop.assign(static_cast<std::size_t>(std::max(Ncol + 100, 1000)), 0);
    Loop[static_cast<std::size_t>(Ncol - 1)] = 1;
    return Loop.data();
}

bool satisfiesEquations(int* loop) {
    EquationData& ED = equations();
    return CheckEquations(independentRow(0), loop, ED.IndEq, ED.Ncol, 0) != 0;
}

bool forbiddenValue(const int* loop) {
    EquationData& ED = equations();
    if (!ED.forbidden_range)
        return false;
    for (int j = 0; j < ED.Ncol - 1; j++)
        if (loop[j] >= ED.forbidden_min[j] && loop[j] <= ED.forbidden_max[j])
            return true;
    return false;
}

bool accepted(int* loop) {
    return !forbiddenValue(loop) && analyse_solution(loop) == 1;
}

// The independent rows restricted to the variables of set, added to the collector until the
// system is determined: 0 with the values in *values, 1 when it stays open, -1 when it has no
// integer solution.
int restrictedSystem(int Nset, const int* set, int** values) {
    EquationData& ED = equations();
    Eqn.assign(static_cast<std::size_t>(Nset) + 1, 0.0);
    CollectDoubleEquations(Nset, Eqn.data(), values, 0, nullptr, nullptr, nullptr);
    for (int r = 0; r < ED.IndEq; r++) {
        const double* row = independentRow(r);
        for (int k = 0; k < Nset; k++)
            Eqn[static_cast<std::size_t>(k)] = row[set[k]];
        Eqn[static_cast<std::size_t>(Nset)] = row[ED.Ncol - 1];
        const int code =
            CollectDoubleEquations(Nset, Eqn.data(), values, 1, nullptr, nullptr, nullptr);
        if (code < 0)
            return -1;
        if (code == 0)
            return 0;
    }
    return 1;
}

// The subset's box: lower bounds, then the exclusive upper bounds.
void subsetBox(int Nset, const int* set) {
    EquationData& ED = equations();
    Bounds.assign(3 * static_cast<std::size_t>(Nset) + 10, 0);
    for (int k = 0; k < Nset; k++) {
        Bounds[static_cast<std::size_t>(k)] = ED.min[set[k]];
        Bounds[static_cast<std::size_t>(Nset + k)] = ED.max[set[k]] + 1;
    }
}

// Values for the variables of set, all at least 1, placed into a cleared loop vector; null when
// the subset has none (for an open system only the first enumerated point is tried).
int* subsetCandidate(int Nset, const int* set) {
    int* values = nullptr;
    const int code = restrictedSystem(Nset, set, &values);
    if (code < 0)
        return nullptr;
    if (code == 1) {
        subsetBox(Nset, set);
        if (CollectDoubleEquations(Nset, Eqn.data(), &values, 2, Bounds.data(),
                                   Bounds.data() + Nset, nullptr) != 0)
            return nullptr;
    }
    for (int k = 0; k < Nset; k++)
        if (values[k] < 1)
            return nullptr;
    int* loop = clearedLoop();
    for (int k = 0; k < Nset; k++)
        loop[set[k]] = values[k];
    return loop;
}

struct Stage {
    int Nset;
    const char* heading;
    const char* trace;
};

// One stage of the few-brane search: every subset of Nset variables with a non-zero upper bound.
// True when the search is to end (a single solution was asked for and found).
bool runStage(const Stage& stage, int* pre_sol, int* found) {
    EquationData& ED = equations();
    const int Nvar = ED.Ncol - 1;
    std::vector<int> usable;
    for (int v = 0; v < Nvar; v++)
        if (ED.max[v] != 0)
            usable.push_back(v);
    const int n = static_cast<int>(usable.size());
    if (n < stage.Nset)
        return false;
    std::vector<int> pick(static_cast<std::size_t>(stage.Nset)), set(pick.size());
    for (int k = 0; k < stage.Nset; k++)
        pick[static_cast<std::size_t>(k)] = k;
    do {
        for (int k = 0; k < stage.Nset; k++)
            set[static_cast<std::size_t>(k)] =
                usable[static_cast<std::size_t>(pick[static_cast<std::size_t>(k)])];
        int* loop = subsetCandidate(stage.Nset, set.data());
        if (!loop || !satisfiesEquations(loop))
            continue;
        ++*pre_sol;
        tadpoleTrace(stage.trace, set[0], stage.Nset > 1 ? set[1] : 0, stage.Nset > 2 ? set[2] : 0,
                     stage.Nset > 3 ? set[3] : 0);
        if (accepted(loop)) {
            ++*found;
            if (SingleSolution == 1)
                return true;
        }
    } while (incrementBinomial(n, stage.Nset, pick.data(), nullptr, nullptr));
    return false;
}

bool trivialStage(int* pre_sol, int* found) {
    if (info() > 1)
        Print("Checking trivial solution\n");
    int* loop = clearedLoop();
    if (!satisfiesEquations(loop))
        return false;
    ++*pre_sol;
    tadpoleTrace("Equations satisfied by trivial solution");
    if (!accepted(loop))
        return false;
    ++*found;
    return SingleSolution == 1;
}

// One brane: the first built row alone fixes the value of the variable.
bool singleBraneStage(int* pre_sol, int* found) {
    EquationData& ED = equations();
    if (info() > 0)
        Print("Checking single brane solution\n");
    setCPthreshold(0);
    const double* first = ED.Equations.X;
    for (int v = 0; v < ED.Ncol - 1; v++) {
        int value = 0;
        if (ED.max[v] == 0 || first[v] == 0.0 ||
            !DoubleToInteger(-first[ED.Ncol - 1] / first[v], &value) || value < 1)
            continue;
        int* loop = clearedLoop();
        loop[v] = value;
        if (!satisfiesEquations(loop))
            continue;
        ++*pre_sol;
        tadpoleTrace("Equations satisfied by single brane solution (variable %d,boundary %d)", v,
                     convertLoopLabelToCPLabel(v));
        if (accepted(loop)) {
            ++*found;
            if (SingleSolution == 1)
                return true;
        }
    }
    return false;
}

double averageMultiplicity() {
    double sum = 0;
    const int B = TotalBoundaries();
    for (int b = 0; b < B; b++) {
        double re = 0, im = 0;
        getCurrentReflectionCoefficient(0, b, &re, &im);
        sum += re;
    }
    return OrientifoldMultiplicity() * getCurrentOrientifold()->Tension / (sum / B);
}

void appendStatisticsLine(int Nset, int subsets, int solutions, double average) {
    // One formatted write per line: an interrupted run leaves whole lines only.
    char line[300];
    std::snprintf(line, sizeof line, "%15s %5d %5d %5d %5d %14d %14d %14d %15.7f\n", modelName(),
                  MIPFIdentifier(*getCurrentBulk()), getCurrentOrientifold()->SequenceNumber,
                  equations().IndEq, Nset, subsets, solutions, getChiralCount(), average);
    FILE* f = Fopen(getCurrentOutputFileName(".fbd"), "a");
    if (!f)
        return;
    std::fputs(line, f);
    std::fclose(f);
}

} // namespace

void setModelNameHook(const char* (*hook)()) {
    modelName = hook ? hook : noModelName;
}

int findSimpleSolutions(int* pre_sol) {
    *pre_sol = 0;
    int found = 0;
    if (trivialStage(pre_sol, &found) || singleBraneStage(pre_sol, &found))
        return found;
    const int Nvar = equations().Ncol - 1;
    if (info() > 0)
        Print("Checking two brane solution\n");
    setCPthreshold(1);
    if (runStage({2, "", "Equations satisfied by two-brane solution (variables %d,%d)"}, pre_sol,
                 &found))
        return found;
    if (Nvar > MaxThreeBraneVariables && getTadpoleMaxtime() == 0) {
        tadpoleTrace("Skipping three-brane search ( > 400 vars, maxtime exceeded)");
        return found;
    }
    if (info() > 0)
        Print("Checking three brane solution\n");
    setCPthreshold(2);
    if (runStage({3, "", "Equations satisfied by three-brane solution (variables %d,%d,%d)"},
                 pre_sol, &found))
        return found;
    if (Nvar > MaxFewBraneVariables) {
        tadpoleTrace("Skipping four-brane search");
        return found;
    }
    if (info() > 0)
        Print("Checking four brane solution\n");
    setCPthreshold(3);
    const bool done =
        runStage({4, "", "Equations satisfied by four-brane solution (variables %d,%d,%d,%d)"},
                 pre_sol, &found);
    if (!done)
        setCPthreshold(4);
    return found;
}

int checkSimpleSolution(int Nset, int* set, int* values) {
    int* loop = clearedLoop();
    for (int k = 0; k < Nset; k++) {
        if (values[k] < 1)
            return 0;
        loop[set[k]] = values[k];
    }
    if (!satisfiesEquations(loop))
        return 0;
    tadpoleTrace("Equations satisfied by %d-brane solution", Nset);
    return accepted(loop) ? 1 : 0;
}

int analyseSimpleSolution(int* candidate) {
    return accepted(candidate) ? 1 : 0;
}

int SolveTadpoleConditionsForSubset(int Nset, int* set) {
    int* values = nullptr;
    const int code = restrictedSystem(Nset, set, &values);
    if (code < 0)
        return 0;
    if (code == 0)
        return checkSimpleSolution(Nset, set, values);
    subsetBox(Nset, set);
    SimpleSolData SSD{Nset, set, 0, checkSimpleSolution};
    if (CollectDoubleEquations(Nset, Eqn.data(), &values, 2, Bounds.data(), Bounds.data() + Nset,
                               &SSD) != 0)
        return 0;
    return SSD.Nsol;
}

int findTadpoleSolutionsWithNbranes(int Nset) {
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    const int r = ImproveTadpoleBounds(0, 0);
    resetChiralCount();
    const int Nvar = getNumberOfLoopVariables();
    const int IndEq = equations().IndEq;
    std::printf("Number of variables: %d (for %d independent equations)\n", Nvar, IndEq);
    int solutions = 0, subsets = 0;
    if (Nset >= 1 && Nset <= Nvar) {
        std::vector<int> set(static_cast<std::size_t>(Nset));
        for (int k = 0; k < Nset; k++)
            set[static_cast<std::size_t>(k)] = k;
        do {
            solutions += SolveTadpoleConditionsForSubset(Nset, set.data());
            subsets++;
        } while (incrementBinomial(Nvar, Nset, set.data(), nullptr, nullptr));
    }
    const double average = averageMultiplicity();
    Print("Number of solutions with %d branes: %d; %d Chiral (out of %d cases); average CP "
          "%15.7f\n",
          Nset, solutions, getChiralCount(), subsets, average);
    appendStatisticsLine(Nset, subsets, solutions, average);
    if (IndEq < Nset && solutions > subsets)
        return -2;
    return Nset < IndEq + 3 ? r : -2;
}
