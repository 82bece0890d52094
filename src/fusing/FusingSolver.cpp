// The sign solver: fixes the gauge, adds the sign equations of every pentagon and hexagon, treats
// the unknowns no equation determines as free inputs and analyses the basic solution, each free
// sign alone (grouping solutions that differ by a gauge transformation into classes) and then
// every combination of free signs.
#include "fusing/Fusing.h"

#include "base/Output.h"
#include "numeric/Loops.h"
#include "numeric/VectorUtility.h"

#include <algorithm>

std::vector<std::vector<int>> FusingSignClasses;

namespace {

int solutionLimit = 100000;

bool isGaugeInvariant(const int* v) {
    if (v[0] == -1)
        return v[2] == v[3];
    return fixFaaaa(v) != 0;
}

void announceGauge() {
    if (GaugeChoice == 0)
        Print("Basic solution in reference gauge\n");
    else if (GaugeChoice == 2)
        Print("Basic solution in our gauge\n");
    else if (GaugeChoice == 1)
        Print("Basic solution in naive gauge\n");
}

// Every family whose signs were ambiguous, checked with the flips applied; all are checked so
// that each failure is reported.
bool ambiguousFamiliesHold() {
    UseFlippedVariables = 1;
    bool hold = true;
    for (int f = 0; f < FailedEquations.Nfill; f++) {
        const int* key = rowOf(&FailedEquations, f);
        const int ok = key[0] == -1 ? compute_hexagon(key[1], key[2], key[3], 2)
                                    : compute_pentagon(key[0], key[1], key[2], key[3], 2);
        hold = hold && ok == 1;
    }
    UseFlippedVariables = 0;
    return hold;
}

void printGaugeInvariants(const std::vector<int>& invariants, bool basic) {
    if (basic) {
        Print("List of gauge invariants\n-----------------------------------------------\n");
        for (int v : invariants) {
            const int* r = rowOf(&PentagonVariables, v);
            const double value = getFusingVariableValue(r) * (1 - 2 * flippedvars[v]);
            if (r[0] == -1)
                Print("Epsilon_%d_%d^%d=%5.0f\n", r[2], r[3], r[4], value);
            else
                Print("F_%d_%d[%d,%d,%d,%d]=%8.4f\n", r[0], r[1], r[2], r[3], r[4], r[5], value);
        }
        Print("-----------------------------------------------\n");
    }
    Print("Value of gauge invariants:");
    for (std::size_t i = 0; i < invariants.size(); i++) {
        if (i % 20 == 0)
            Print("\n");
        const int v = invariants[i];
        const int s = getFusingVariableValue(rowOf(&PentagonVariables, v)) > 0 ? 1 : -1;
        Print("%2d", s * (1 - 2 * flippedvars[v]));
    }
    Print("\n");
}

// Registers `choice` as a new class when its analysis accepts it; false otherwise.
bool addClass(int nvar, const std::vector<int>& choice, const int* vars) {
    const int k = static_cast<int>(FusingSignClasses.size());
    Print("New class %d\n", k);
    FusingSignClasses.push_back(choice);
    if (analyseFusingSignChoice(nvar, choice.data(), vars, 0) != 0) {
        FusingSignClasses.pop_back();
        return false;
    }
    return true;
}

// The odometer over every choice of the free signs; 2 when the limit stopped it.
int enumerateChoices(int n, std::vector<int>& choice, const std::vector<int>& lower,
                     const std::vector<int>& upper, const std::vector<int>& vars) {
    long long analysed = 0;
    for (int done = incrementInit(n, lower.data(), upper.data(), choice.data()); done == 0;
         done = increment(n, lower.data(), upper.data(), choice.data())) {
        printVec(n, choice.data(), "Loop");
        if (analysed == solutionLimit) {
            Print("Too many solutions\n");
            return 2;
        }
        analysed++;
        analyseFusingSignChoice(n, choice.data(), vars.data(), 1);
    }
    return 1;
}

void printTotals() {
    Print("Number of Variables: %d\n", PentagonVariables.Nfill);
    Print("Number of Equations: %d\n", PolyNom->equations());
    Print("Number of Fusing gauge variables: %d\n", static_cast<int>(FusingGaugeVariables.size()));
    Print("Number of Gauge sign classes: %d\n", static_cast<int>(FusingSignClasses.size()));
}

} // namespace

int setFusingSolutionLimit(int limit) {
    const int old = solutionLimit;
    solutionLimit = limit;
    return old;
}

int findFusingSignClass(int nvar, const int* loop, const int* vars) {
    std::vector<int> v(nvar);
    for (std::size_t k = 0; k < FusingSignClasses.size(); k++) {
        for (int i = 0; i < nvar; i++)
            v[i] = (loop[i] + FusingSignClasses[k][i]) % 2;
        if (identityGaugeClassCheck(nvar, v.data(), vars) == 1)
            return static_cast<int>(k);
    }
    return -1;
}

int analyseFusingSignChoice(int nvar, const int* loop, const int* vars, int toFile) {
    flippedvars.assign(PentagonVariables.Nfill, 0);
    bool basic = true;
    for (int t = 0; t < nvar; t++)
        if (loop[t] == 1) {
            flippedvars[vars[t]] = 1;
            basic = false;
        }
    PolyNom->solve(flippedvars);
    int flips = 0;
    for (int f : flippedvars)
        flips += f;
    const bool accepted = ambiguousFamiliesHold();
    Print("Solution %s; Number of parameter flips: %d\n", accepted ? "Accepted" : "Rejected",
          flips);
    if (basic)
        BasicSolution = flippedvars;
    std::vector<int> invariants;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        if (isGaugeInvariant(rowOf(&PentagonVariables, v)))
            invariants.push_back(v);
    printGaugeInvariants(invariants, basic);
    if (!accepted)
        return 1;
    if (toFile == 1)
        AnalyseSignFlips(flippedvars.data());
    return 0;
}

void addFusingSignChoice(int nvar, const int* loop, const int* vars) {
    const std::vector<int> choice(loop, loop + nvar);
    if (findFusingSignClass(nvar, loop, vars) >= 0 || !addClass(nvar, choice, vars))
        return;
    const int k = static_cast<int>(FusingSignClasses.size()) - 1;
    for (int m = 1; m < k; m++) {
        Print("Analyzing %d x %d \n", k, m);
        std::vector<int> sum(nvar);
        for (int i = 0; i < nvar; i++)
            sum[i] = (FusingSignClasses[k][i] + FusingSignClasses[m][i]) % 2;
        const int c = findFusingSignClass(nvar, sum.data(), vars);
        if (c >= 0) {
            Print("Class %d\n", c);
            return;
        }
        if (!addClass(nvar, sum, vars))
            return;
    }
}

// A requested bound up to the number of fields is replaced by the whole range, a larger one
// would reach labels that are twist fields of the orbifold or no fields at all: the range of
// the block is used in every case.
int findFusingMatrices(int /*max*/) {
    announceGauge();
    const int bound = fusingLabelBound();
    getPentagonVariables(bound);
    getFusingGaugeVariables(bound);
    Print("Number of Variables: %d\n", PentagonVariables.Nfill);
    Print("Number of Fusing gauge variables: %d\n", static_cast<int>(FusingGaugeVariables.size()));
    resetSignEquations();
    chooseFusingGauge();
    if (PolyNom->contradictions() > 0 || getPentagonEquations(bound) == 0 ||
        getHexagonEquations(bound) == 0 || PolyNom->contradictions() > 0)
        return 0;
    Print("Number of Equations: %d\n", PolyNom->equations());
    std::vector<int> vars;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        if (PolyNom->pivotOf(v) < 0)
            vars.push_back(v);
    const int n = static_cast<int>(vars.size());
    FusingSignClasses.assign(1, std::vector<int>(n, 0));
    std::vector<int> choice(n, 0), lower(n, 0), upper(n, 1);
    if (n == 0) {
        Print("Fusing matrices fully determined\n");
        analyseFusingSignChoice(0, choice.data(), vars.data(), 1);
        return 1;
    }
    Print("Fusing entries used as input variables:\n");
    for (int v : vars)
        Print("%s\n", PrintFusing(rowOf(&PentagonVariables, v), 1).c_str());
    analyseFusingSignChoice(n, choice.data(), vars.data(), 0);
    Print("Analysis of fully (loop-independent) determined variables\n");
    for (int t = 0; t < n; t++) {
        std::fill(choice.begin(), choice.end(), 0);
        choice[t] = 1;
        upper[t] = 2;
        if (analyseFusingSignChoice(n, choice.data(), vars.data(), 0) == 0)
            addFusingSignChoice(n, choice.data(), vars.data());
    }
    Print("\nFinal analysis\n");
    printTotals();
    return enumerateChoices(n, choice, lower, upper, vars);
}
