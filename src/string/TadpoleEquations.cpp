#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "numeric/Equations.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrum.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleInternal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double tiny = 1e-7;

EquationData TadpoleEquations;
std::vector<int> ActiveEquations{-1};
std::vector<int> RowOrigin;
std::vector<int> CPToLoop, LoopToCP, SolutionGroupTypes;
// Per loop variable: its boundary must be confined. Asked once per build, since each question
// checks the selection's stamps, and the rows ask for every label and variable.
std::vector<char> LoopConfinement;
int TadpoleEquationCounter = 0;
int TadpoleInfoAllocated = -10;
// The build (by its counter) and the group rule the identical-column pass last ran on.
std::array<int, 2> IdenticalColumnsChecked{-1, -1};
int UseRandom = 0;
// The last build ended at rows that contradict each other.
bool Inconsistent = false;

// Bulk invariant, orientifold, boundary selection and the reading ("Super", "Dimension"): the
// reading decides the massless labels and the multiplicity.
using EquationKey = std::array<int, 5>;
EquationKey TadpoleEquationsAvailable{-10, -10, -10, -10, -10};

EquationKey currentKey() {
    const auto [bulk, orientifold, super, dimension] = tadpole::readingKey();
    return {bulk, orientifold, getBoundarySelectionCounter(), super, dimension};
}

int info() {
    return tadpole::parameter("Tadpole info_level");
}

double* row(int r) {
    return TadpoleEquations.Equations.X + static_cast<long long>(r) * TadpoleEquations.Ncol;
}

// The coefficient of loop variable v (boundary b) at Ishibashi label m, per group type.
void coefficient(int m, int v, int b, int type, double* re, double* im) {
    getCurrentReflectionCoefficient(m, b, re, im);
    if (type == -1) {
        *re *= 2;
        *im *= 2;
    } else if (type == 0) {
        double r2 = 0, i2 = 0;
        getCurrentReflectionCoefficient(m, getAnnulusConjugates()[b], &r2, &i2);
        const double f = LoopConfinement[static_cast<std::size_t>(v)] ? 2.0 : 1.0;
        *re = f * (*re + r2);
        *im = f * (*im + i2);
    }
}

void normalise(double* r, int first, int Ncol) {
    if (first < 0)
        return;
    const double d = r[first];
    for (int k = 0; k < Ncol; k++)
        r[k] /= d;
}

void printRow(const double* r, int Ncol) {
    for (int k = 0; k < Ncol; k++) {
        Print("%7.3f ", unsignedZero(r[k], 3));
        if (k % 10 == 9 && k + 1 < Ncol)
            Print("\n");
    }
    Print("\n");
}

} // namespace

void allocTadpoleInfo() {
    if (TadpoleInfoAllocated == QueryBulkInvariant())
        return;
    const auto n = static_cast<std::size_t>(getSearchData()->Bnd);
    CPToLoop.reserve(n);
    LoopToCP.reserve(n);
    SolutionGroupTypes.reserve(n);
    TadpoleInfoAllocated = QueryBulkInvariant();
}

int setUseRandom(int value) {
    const int old = UseRandom;
    UseRandom = value;
    return old;
}

int findTadpoleEquations() {
    if (superstringReading()) {
        getStringData();
        findBulkSupersymmetry(*getCurrentBulk());
    }
    ActiveEquations.clear();
    for (int m = 0; m < TotalIshibashi(); m++)
        if (masslessCharacter(getIshibashiField(m), 0))
            ActiveEquations.push_back(m);
    const int n = static_cast<int>(ActiveEquations.size());
    ActiveEquations.push_back(-1);
    if (info() > 0)
        Print("Number of massless Ishibashi states: %d\n", n);
    return n;
}

void restrictLoopVariables() {
    static constexpr std::pair<const char*, int> only[] = {{"Tadpole unitary_groups_only", 0},
                                                           {"Tadpole orthogonal_groups_only", 1},
                                                           {"Tadpole symplectic_groups_only", -1}};
    // The hidden-sector selection classifies every boundary, not only the usable ones.
    if (tadpole::parameter("Tadpole allow_OH_matter") < 3) {
        resetBoundaryMapToIdentity();
        rebuildBoundaryClasses();
    }
    const int* types = getTadpoleGroupTypes();
    const bool realOnly = tadpole::parameter("Tadpole real_groups_only") != 0;
    for (int a = 0; a < TotalBoundaries(); a++) {
        if (!ActiveBoundaries(a) || FixedVariables(a) != -1)
            continue;
        bool off = realOnly && types[a] == 0;
        for (const auto& [name, type] : only)
            off = off || (tadpole::parameter(name) && types[a] != type);
        if (off)
            tadpole::switchOffDerived(a);
    }
}

int getLoopVariables() {
    if (info() > 1)
        Print("Variable map:\n");
    restrictLoopVariables();
    const int n = TotalBoundaries();
    const int* conj = getAnnulusConjugates();
    const int* types = getTadpoleGroupTypes();
    CPToLoop.assign(static_cast<std::size_t>(n), -1);
    LoopToCP.clear();
    SolutionGroupTypes.clear();
    for (int a = 0; a < n; a++) {
        if (types[a] == 0 && conj[a] < a)
            CPToLoop[static_cast<std::size_t>(a)] = CPToLoop[static_cast<std::size_t>(conj[a])];
        else if (ActiveBoundaries(a) == 1) {
            CPToLoop[static_cast<std::size_t>(a)] = static_cast<int>(LoopToCP.size());
            LoopToCP.push_back(a);
            SolutionGroupTypes.push_back(types[a]);
        }
    }
    const int nvar = static_cast<int>(LoopToCP.size());
    if (nvar >= 3 && UseRandom)
        randomizeVariables(CPToLoop, LoopToCP.data(), SolutionGroupTypes.data(), nvar);
    LoopConfinement.resize(static_cast<std::size_t>(nvar));
    for (int v = 0; v < nvar; v++)
        LoopConfinement[static_cast<std::size_t>(v)] =
            getRequireConfinement(LoopToCP[static_cast<std::size_t>(v)]) != 0;
    if (info() > 4)
        for (int a = 0; a < n; a++) {
            const int v = CPToLoop[static_cast<std::size_t>(a)];
            if (v < 0)
                continue;
            Print("%3d --> %3d (conj %d)", a, v, conj[a]);
            switch (types[a]) {
            case 0:
                Print("       Group type U(N)\n");
                break;
            case 1:
                Print("       Group type SO(N)\n");
                break;
            case -1:
                Print("       Group type Sp(N)\n");
                break;
            default:
                Print("Unknown group type: %d\n", types[a]);
            }
        }
    return nvar;
}

void randomizeVariables(std::span<int> CPToLoop, int* LoopToCP, int* SolutionGroupTyps, int Nvar) {
    const int* p = ranVec(Nvar);
    const std::vector<int> labels(LoopToCP, LoopToCP + Nvar);
    const std::vector<int> types(SolutionGroupTyps, SolutionGroupTyps + Nvar);
    for (int i = 0; i < Nvar; i++) {
        LoopToCP[p[i]] = labels[static_cast<std::size_t>(i)];
        SolutionGroupTyps[p[i]] = types[static_cast<std::size_t>(i)];
    }
    for (int& v : CPToLoop)
        if (v >= 0)
            v = p[v];
    for (int i = 0; i < Nvar; i++)
        if (CPToLoop[static_cast<std::size_t>(LoopToCP[i])] != i)
            Print("ERROR!!!!");
}

int getTadpoleEquation(double* eqns, int m, int* Data) {
    const int Ncol = TadpoleEquations.Ncol;
    double* re = eqns;
    double* im = eqns + Ncol;
    int firstRe = -1, firstIm = -1;
    for (int i = 0; i < Ncol - 1; i++) {
        const auto k = static_cast<std::size_t>(i);
        coefficient(m, i, LoopToCP[k], SolutionGroupTypes[k], &re[i], &im[i]);
        if (firstRe < 0 && std::fabs(re[i]) > tiny)
            firstRe = i;
        if (firstIm < 0 && std::fabs(im[i]) > tiny)
            firstIm = i;
    }
    double gr = 0, gi = 0;
    getCurrentCrosscapCoefficient(m, 0, &gr, &gi);
    // Taken at every build: the reading may have changed the space-time dimension.
    const double multiplicity = OrientifoldMultiplicity();
    const double sign = m == 0 ? -1.0 : 1.0;
    re[Ncol - 1] = sign * gr * multiplicity;
    im[Ncol - 1] = sign * gi * multiplicity;
    const int* conj = getAnnulusConjugates();
    const int* types = getTadpoleGroupTypes();
    const int* fixed = getFixedVariableList();
    for (int f = 0; f < getFixedVariables(); f++) {
        const int b = fixed[f];
        int N = FixedVariables(b);
        if (N == -1)
            Alert("getTadpoleEquation", 0, 212404, "Fixed variable does not have valid value");
        double r = 0, i = 0;
        getCurrentReflectionCoefficient(m, b, &r, &i);
        if (types[b] == 0) {
            double r2 = 0, i2 = 0;
            getCurrentReflectionCoefficient(m, conj[b], &r2, &i2);
            r += r2;
            i += i2;
        }
        re[Ncol - 1] += N * r;
        im[Ncol - 1] += N * i;
    }
    if (!UseRandom) {
        normalise(re, firstRe, Ncol);
        normalise(im, firstIm, Ncol);
    }
    Data[0] = Data[1] = m;
    return 2;
}

namespace {

// Room for the built rows, their independent copies and the combinations the bound analysis
// stores. The combinations get what fits under the allocation ceiling (the analysis reuses
// their rows when they run out); a system whose own rows do not fit is refused with a message
// instead of ending the run.
bool sizeTadpoleRows(EquationData& ED, int nm) {
    const long long needed = 2LL * 2 * nm + 2;
    // The decompositions of the stored rows take as many doubles again, plus a margin.
    const long long fitting =
        (static_cast<long long>(AllocRefuseLimit / sizeof(double)) - 20000) / ED.Ncol;
    if (needed > fitting) {
        Alert("getTadpoleEquations", 0, 100201,
              "Tadpole system of %lld rows and %d columns exceeds the memory limit", needed,
              ED.Ncol);
        return false;
    }
    ED.Size = static_cast<int>(std::min(std::max(10LL * nm, needed), fitting));
    return true;
}

} // namespace

int computeTadpoleEquations() {
    tadpole::debugLine("getTadpoleEquations request\n");
    if (currentKey() == TadpoleEquationsAvailable)
        return 0;
    tadpole::debugLine("getTadpoleEquations started\n");
    Inconsistent = false;
    if (initializeOpenString() == 1 || !initTadpole())
        return -1;
    if (!SusySpectrum())
        TachyonicIntersection(getCurrentOrientifold(), -1, 0);
    printTadpoleCriteriaOnce();
    const int nm = findTadpoleEquations();
    const int nvar = getLoopVariables();
    EquationData& ED = TadpoleEquations;
    ED.Ncol = nvar + 1;
    if (info() > 0)
        Print("Number of loop variables: %d\n", nvar);
    if (!sizeTadpoleRows(ED, nm))
        return -1;
    if (ED.Equations.X_oldsize < ED.Size * ED.Ncol)
        ED.Equations.reserve(ED.Size * ED.Ncol);
    ED.LastAdded = 0;
    ED.OrigEq = 0;
    RowOrigin.assign(static_cast<std::size_t>(2 * nm), -1);
    for (int k = 0; k < nm; k++) {
        const int got =
            getTadpoleEquation(row(ED.OrigEq), ActiveEquations[static_cast<std::size_t>(k)],
                               &RowOrigin[static_cast<std::size_t>(ED.OrigEq)]);
        if (got < 0)
            return got;
        ED.OrigEq += got;
    }
    if (info() > 0)
        Print("\nNumber of nontrivial tadpole conditions: %d\n", ED.OrigEq);
    const int r = getIndependentEquations(&ED, nullptr);
    if (r == -1) {
        Inconsistent = true;
        return -1;
    }
    if (info() > 0) {
        if (r == 1)
            Print("Independent equations are completely integer\n");
        else
            Alert("getTadpoleEquations", 0, 100201,
                  "Independent equations are not completely integer");
        Print("Equations analyzed; %d independent eqns (out of %d) for %d variables\n", ED.IndEq,
              nm, nvar);
    }
    // Bounds and kernel belong to the new system: their stamps take its counter value.
    TadpoleEquationCounter++;
    if (initTadpoleBounds() == -1)
        return -1;
    initTadpoleKernel();
    TadpoleEquationsAvailable = currentKey();
    return 0;
}

int RemoveIdenticalBoundaries(int diffgrp) {
    int code = computeTadpoleEquations();
    if (code < 0)
        return code;
    // A cached system was cleared of identical columns when it was built: comparing all pairs of
    // columns again would make every request cost as much as a build.
    if (IdenticalColumnsChecked == std::array<int, 2>{TadpoleEquationCounter, diffgrp})
        return 0;
    const EquationData& ED = TadpoleEquations;
    const int nvar = ED.Ncol - 1;
    std::vector<bool> removed(static_cast<std::size_t>(nvar), false);
    for (int i = 0; i < nvar; i++)
        for (int j = i + 1; j < nvar; j++) {
            if (removed[static_cast<std::size_t>(j)])
                continue;
            if (diffgrp == 0 && SolutionGroupTypes[static_cast<std::size_t>(i)] !=
                                    SolutionGroupTypes[static_cast<std::size_t>(j)])
                continue;
            bool same = true;
            for (int e = ED.OrigEq; same && e < ED.OrigEq + ED.IndEq; e++)
                same = std::fabs(row(e)[i] - row(e)[j]) < tiny;
            if (!same)
                continue;
            removed[static_cast<std::size_t>(j)] = true;
            tadpole::switchOffDerived(LoopToCP[static_cast<std::size_t>(j)]);
        }
    code = computeTadpoleEquations();
    if (code == 0)
        IdenticalColumnsChecked = {TadpoleEquationCounter, diffgrp};
    return code < 1 ? code : 0;
}

int getTadpoleEquations() {
    const int code = tadpole::parameter("Tadpole remove_identical") ? RemoveIdenticalBoundaries(0)
                                                                    : computeTadpoleEquations();
    // The criteria and the solver flags follow the parameters even while the system is cached.
    if (code == 0)
        printTadpoleCriteriaOnce();
    return code;
}

int CheckTadpoleEquations(int* LoopOut) {
    if (getTadpoleEquations() < 0)
        return 0;
    EquationData& ED = TadpoleEquations;
    if (CheckEquations(row(ED.OrigEq), LoopOut, ED.IndEq, ED.Ncol, 0))
        return 1;
    int result = 1;
    for (int i = 0; i < ED.OrigEq; i++) {
        if (CheckEquation(ED.Equations.X, LoopOut, i, ED.Ncol))
            continue;
        result = 0;
        if (!UnphysicalTadpole(getIshibashiField(RowOrigin[static_cast<std::size_t>(i)])))
            Print("Equation %d not satisfied\n", i);
        else
            Alert("CheckTadpoleEquations", 0, 220302, "Uncancelled unphysical tadpole (eqn. %d)",
                  i);
    }
    if (result && info() > 0)
        std::printf(" --- Equations satisfied");
    return result;
}

int checkTadpoleSolution(int* LoopOut) {
    LoopOut[TadpoleEquations.Ncol - 1] = 1;
    return CheckTadpoleEquations(LoopOut);
}

int getTadcols() {
    const int code = getTadpoleEquations();
    return code < 0 ? code : TadpoleEquations.Ncol;
}

void printTadpoleEquations(int lbl) {
    if (getTadpoleEquations() < 0) {
        if (Inconsistent)
            Print("The tadpole equations are inconsistent: no multiplicities solve them\n");
        return;
    }
    const EquationData& ED = TadpoleEquations;
    if (lbl >= ED.OrigEq + ED.IndEq) {
        Alert("printTadpoleEquations", 0, 100302, "Equation %d out of range", lbl);
        return;
    }
    int from = lbl, to = lbl + 1;
    if (lbl == -1) {
        from = 0;
        to = ED.OrigEq;
    } else if (lbl == -2) {
        from = ED.OrigEq;
        to = ED.OrigEq + ED.IndEq;
    }
    std::fflush(stdout);
    Print("Tadpole equations: min %d, max %d\n", from, to);
    for (int r = from; r < to && r < ED.OrigEq + ED.IndEq; r++) {
        const int origin = r < ED.OrigEq ? RowOrigin[static_cast<std::size_t>(r)] : -1;
        Print("Eqn %3d (from massless ishibashi label %3d) \n", r, origin);
        printRow(row(r), ED.Ncol);
    }
    if (lbl == -1 && ED.IndEq > 0) {
        Print("Independent equations:\n");
        for (int r = 0; r < ED.IndEq; r++) {
            Print("Eqn %d\n", r);
            printRow(row(ED.OrigEq + r), ED.Ncol);
        }
    }
}

EquationData* getTadpoleEquationPointer() {
    return &TadpoleEquations;
}
int getNumberOfLoopVariables() {
    return TadpoleEquations.Ncol - 1;
}
const int* getActiveEquations() {
    return ActiveEquations.data();
}
const int* getCPToLoop() {
    return CPToLoop.data();
}
const int* getLoopToCP() {
    return LoopToCP.data();
}
const int* getSolutionGroupTypes() {
    return SolutionGroupTypes.data();
}
int convertLoopLabelToCPLabel(int i) {
    return LoopToCP[static_cast<std::size_t>(i)];
}
int getTadpoleEquationCounter() {
    return TadpoleEquationCounter;
}

void tadpole::advanceEquationCounter() {
    TadpoleEquationCounter++;
}
