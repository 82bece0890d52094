#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "string/Tadpole.h"

#include <algorithm>
#include <vector>

namespace {

ChanPatonData CPD;
std::vector<int> LoopOut;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

void numberGroupFactors(const int* conj) {
    CPD.CPlabelsToGroupFactors.assign(at(CPD.Nbnd), -1);
    int next = 0;
    for (int b = 0; b < CPD.Nbnd; b++) {
        if (CPD.CPmults[at(b)] == 0 || CPD.CPlabelsToGroupFactors[at(b)] != -1)
            continue;
        CPD.CPlabelsToGroupFactors[at(b)] = next;
        if (conj[b] > b)
            CPD.CPlabelsToGroupFactors[at(conj[b])] = next;
        next++;
    }
}

void sizeStacks(int n, int spare) {
    CPD.Active.assign(at(n + spare), 0);
    CPD.Types.assign(at(n + spare), 0);
    CPD.dims.assign(at(n + spare), 0);
    CPD.equivalences.assign(at(n), 0);
}

} // namespace

ChanPatonData* generateChanPatonData(int Nlabel, OrientifoldInfo* OI, const int* vars,
                                     const int* mults) {
    loadOrientifoldConjugates(OI, 1);
    CPD.Nbnd = TotalBoundaries();
    CPD.Nactive = Nlabel;
    CPD.Nfix = 0;
    CPD.OI = OI;
    CPD.CPmults.assign(at(CPD.Nbnd), 0);
    sizeStacks(Nlabel, 0);
    const int* conj = &OI->Conjugates[0];
    for (int i = 0; i < Nlabel; i++) {
        const int b = vars[i];
        CPD.Active[at(i)] = b;
        CPD.CPmults[at(b)] += mults[i];
        if (conj[b] != b)
            CPD.CPmults[at(conj[b])] += mults[i];
        CPD.Types[at(i)] = OI->GroupTypes[b];
        CPD.dims[at(i)] = mults[i];
    }
    numberGroupFactors(conj);
    return &CPD;
}

void LoopsToCPLabels(const int* soln, int* CPmults) {
    const int n = TotalBoundaries();
    std::fill(CPmults, CPmults + n, 0);
    const int* conj = getAnnulusConjugates();
    const int* loopToCP = getLoopToCP();
    const int* types = getSolutionGroupTypes();
    for (int i = 0; i < getNumberOfLoopVariables(); i++) {
        const int b = loopToCP[i];
        if (types[i] == -1)
            CPmults[b] = 2 * soln[i];
        else if (types[i] == 1)
            CPmults[b] = soln[i];
        else if (types[i] == 0)
            CPmults[b] = CPmults[conj[b]] = getRequireConfinement(b) ? 2 * soln[i] : soln[i];
    }
    const int* fixed = getFixedVariableList();
    for (int f = 0; f < getFixedVariables(); f++)
        CPmults[fixed[f]] = CPmults[conj[fixed[f]]] = FixedVariables(fixed[f]);
}

ChanPatonData* computeChanPatonData(const int* sol) {
    CPD.mode = 0;
    CPD.Nbnd = TotalBoundaries();
    const int nvar = getNumberOfLoopVariables();
    const int nfix = getFixedVariables();
    CPD.Nactive =
        nfix + static_cast<int>(std::count_if(sol, sol + nvar, [](int v) { return v > 0; }));
    sizeStacks(CPD.Nactive, 1);
    CPD.CPmults.assign(at(CPD.Nbnd), 0);
    LoopsToCPLabels(sol, CPD.CPmults.data());
    CPD.Nfix = nfix;
    CPD.OI = getCurrentOrientifold();
    const int* types = getTadpoleGroupTypes();
    int s = 0;
    auto add = [&](int b) {
        CPD.Active[at(s)] = b;
        CPD.Types[at(s)] = types[b];
        CPD.dims[at(s)] = CPD.CPmults[at(b)];
        s++;
    };
    const int* fixed = getFixedVariableList();
    for (int f = 0; f < nfix; f++)
        add(fixed[f]);
    for (int i = 0; i < nvar; i++)
        if (sol[i] > 0)
            add(getLoopToCP()[i]);
    numberGroupFactors(getAnnulusConjugates());
    return &CPD;
}

int* CPlabelsToLoops(const int* ChanPaton, const int* CPmap, int Nvarp) {
    LoopOut.assign(at(std::max(Nvarp + 100, 1000)), 0);
    const int* conj = getAnnulusConjugates();
    const int* types = getTadpoleGroupTypes();
    const bool selection = activeBoundarySelection() != 0;
    // Every violation refuses the configuration: converting on would check another one.
    for (int a = 0; a < TotalBoundaries(); a++) {
        const int c = conj[a];
        const int N = ChanPaton[a];
        const int fixedValue = FixedVariables(a);
        const bool active = ActiveBoundaries(a) == 1;
        if (selection && fixedValue != -1) {
            if (N != fixedValue) {
                Alert("CPlabelsToLoops", 0, 100302,
                      "CP multiplicity %d for boundary %d does not equal fixed value %d", N, a,
                      fixedValue);
                return nullptr;
            }
            continue;
        }
        if (!active) {
            if (N != 0) {
                Alert("CPlabelsToLoops", 1, 100302,
                      "Nonzero CP multiplicity %d for inactive boundary %d", N, a);
                return nullptr;
            }
            continue;
        }
        if (c >= a) {
            LoopOut[at(CPmap[a])] = N;
            if (ChanPaton[c] != N) {
                Alert("CPlabelsToLoops", 2, 100302,
                      "Complex conjugate boundaries %d and %d have\ndifferent Chan-Paton "
                      "multiplicities (%d,%d)",
                      a, c, N, ChanPaton[c]);
                return nullptr;
            }
        }
        const bool halved = types[a] == -1 || (types[a] == 0 && getRequireConfinement(a));
        if (!halved)
            continue;
        if (N % 2 != 0) {
            Alert("CPlabelsToLoops", 3, 100302,
                  types[a] == -1 ? "Invalid Sp(odd) group"
                                 : "Invalid odd U(N) group (confinement required)");
            return nullptr;
        }
        LoopOut[at(CPmap[a])] = N / 2;
    }
    LoopOut[at(Nvarp - 1)] = 1;
    return LoopOut.data();
}
