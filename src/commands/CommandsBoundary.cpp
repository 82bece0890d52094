// The commands of the open-string labels. The labels exist once the command's hook has run; the
// boundary displays also need reflection coefficients, which an exceptional invariant has only
// once its boundaries were found.
#include "commands/CommandsBoundary.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <climits>
#include <utility>
#include <vector>

using commands::DoublePrecision;
using commands::intArgument;

namespace {

// What every sum returns while the user's stop flag is set.
constexpr int StoppedSum = INT_MAX;

// The guard of the commands that show boundaries; true after the refusal.
bool refuseWithoutBoundaries() {
    if (isRefCoefAvailable())
        return false;
    Alert("COM_browse_bound", 0, 100302, "Boundaries not available");
    return true;
}

// Every label without an argument, else the one given.
int showOneOrAll(void (*show)(int, int), int total, void** commands, int parnum) {
    if (parnum == 0) {
        show(0, total - 1);
    } else {
        const int a = intArgument(commands, 0);
        show(a, a);
    }
    return -parnum;
}

} // namespace

int COM_tot_ishi(void**, int) {
    Print("%d\n", TotalIshibashi());
    return 0;
}

int COM_tot_bnd(void**, int) {
    Print("%d\n", TotalBoundaries());
    return 0;
}

int COM_reset_bound(void**, int parnum) {
    resetBoundaries();
    return -parnum;
}

int COM_reset_open(void**, int parnum) {
    resetBulk();
    return -parnum;
}

int COM_reset_crosscap(void**, int parnum) {
    resetOrientifold();
    return -parnum;
}

int COM_check_complete(void**, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    if (TotalIshibashi() != TotalBoundaries())
        Alert("COM_check_complete", 0, 212404, "Completeness violation");
    return -parnum;
}

int COM_browse_bulk(void** commands, int parnum) {
    return showOneOrAll(showIshibashiLabels, TotalIshibashi(), commands, parnum);
}

int COM_browse_bound(void** commands, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    return showOneOrAll(showBoundaryLabels, TotalBoundaries(), commands, parnum);
}

int COM_browse_bound_det(void** commands, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    showBoundaryLabelDetails(intArgument(commands, 0));
    return -parnum;
}

namespace {

// The guard of the commands that need reflection coefficients; true after the refusal.
bool refuseWithoutReflection(const char* routine) {
    if (isRefCoefAvailable())
        return false;
    Alert(routine, 0, 100302, "Reflection coefficients not available");
    return true;
}

// The orbit displays exist for simple-current invariants with boundaries.
bool refuseOrbitDisplay(const char* routine) {
    if (!(*getCurrentBulk())->simpleCurrentInvariant) {
        Alert(routine, 0, 100302, "Orbits not available for exceptional invariants");
        return true;
    }
    if (isRefCoefAvailable())
        return false;
    Alert("COM_browse_bound", 1, 100302, "Boundaries not available");
    return true;
}

// The labels a given parameter fixes, else the whole range.
std::pair<int, int> labelRange(void** commands, int parnum, int k, int total) {
    if (parnum > k) {
        const int v = intArgument(commands, k);
        return {v, v};
    }
    return {0, total - 1};
}

void printReflection(int m, int a) {
    double re, im;
    getCurrentReflectionCoefficient(m, a, &re, &im);
    if (a == 0)
        Print("\n");
    if (DoublePrecision && *DoublePrecision == 1)
        Print("R(%d,%d)=(%30.15f,%30.15f)\n", m, a, unsignedZero(re, 15), unsignedZero(im, 15));
    else
        Print("R(%d,%d)=(%15.8f,%15.8f)\n", m, a, unsignedZero(re, 8), unsignedZero(im, 8));
}

// O(i, a, b) for every pair of boundaries, row a after row a; empty once the user stopped.
std::vector<int> orientedMatrix(int i) {
    const int B = TotalBoundaries();
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(B) * B);
    for (int a = 0; a < B; a++)
        for (int b = 0; b < B; b++) {
            const int v = getOrientedAnnulus(i, a, b);
            if (v == StoppedSum)
                return {};
            values.push_back(v);
        }
    return values;
}

// False when the user stopped the sums; then nothing was printed.
bool printNIMrepMatrix(int i) {
    const int B = TotalBoundaries();
    const std::vector<int> values = orientedMatrix(i);
    if (values.size() != static_cast<std::size_t>(B) * B)
        return false;
    Print("A^%d_a^b = \n     ", i);
    for (int a = 0; a < B; a++) {
        if (a > 0)
            Print("\n     ");
        for (int b = 0; b < B; b++)
            Print("%2d", values[static_cast<std::size_t>(a * B + b)]);
    }
    Print("\n");
    return true;
}

} // namespace

int COM_reflection(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_reflection"))
        return 1;
    const auto [m0, m1] = labelRange(commands, parnum, 0, TotalIshibashi());
    const auto [a0, a1] = labelRange(commands, parnum, 1, TotalBoundaries());
    for (int m = m0; m <= m1; m++)
        for (int a = a0; a <= a1; a++)
            printReflection(m, a);
    return -parnum;
}

int COM_check_reflection(void**, int parnum) {
    if (refuseWithoutBoundaries())
        return 1;
    checkReflectionCoefficients();
    return -parnum;
}

int COM_browse_Ishibashi_orbit(void** commands, int parnum) {
    if (refuseOrbitDisplay("COM_browse_Ishibashi_orbit"))
        return 1;
    showIshibashiOrbit(intArgument(commands, 0));
    return -parnum;
}

int COM_browse_boundary_orbit(void** commands, int parnum) {
    if (refuseOrbitDisplay("COM_browse_boundary_orbit"))
        return 1;
    showBoundaryOrbit(intArgument(commands, 0));
    return -parnum;
}

// The values only serve the reports of the sums; a stop ends the loops.
int COM_check_open_oriented(void**, int parnum) {
    if (refuseWithoutReflection("COM_check_open_oriented"))
        return 1;
    const int N = getTotalPrimaries(), B = TotalBoundaries();
    for (int i = 0; i < N; i++)
        for (int a = 0; a < B; a++)
            for (int b = 0; b < B; b++)
                if (getOrientedAnnulus(i, a, b) == StoppedSum)
                    return -parnum;
    return -parnum;
}

int COM_bfus(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_NIMrep"))
        return 1;
    const int i = intArgument(commands, 0), a = intArgument(commands, 1);
    const int B = TotalBoundaries();
    std::vector<int> values;
    for (int b = 0; b < B; b++) {
        const int v = getOrientedAnnulus(-i, a, b);
        if (v == StoppedSum)
            return -parnum;
        values.push_back(v);
    }
    Print("(%d) x [%d] = ", i, a);
    int column = 3;
    for (int b = 0; b < B; b++) {
        const int v = values[static_cast<std::size_t>(b)];
        if (v == 0)
            continue;
        if (column > 10) {
            column = 4;
            Print("\n             ");
            Print(" + ");
        } else if (column > 3) {
            Print(" + ");
        }
        if (v == 1) {
            Print("[%d]", b);
            column += 3;
        } else {
            Print("%d x [%d]", v, b);
            column += 2;
        }
    }
    Print("\n");
    return -parnum;
}

int COM_NIMrep(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_NIMrep"))
        return 1;
    if (parnum == 0) {
        for (int i = 0; i < getTotalPrimaries(); i++)
            if (!printNIMrepMatrix(i))
                break;
        return 0;
    }
    const int i = intArgument(commands, 0);
    if (parnum == 1) {
        printNIMrepMatrix(i);
        return -1;
    }
    const int a = intArgument(commands, 1);
    const auto [b0, b1] = labelRange(commands, parnum, 2, TotalBoundaries());
    std::vector<int> values;
    for (int b = b0; b <= b1; b++) {
        const int v = getOrientedAnnulus(i, a, b);
        if (v == StoppedSum)
            return -parnum;
        values.push_back(v);
    }
    for (int b = b0; b <= b1; b++)
        Print("A^%d_%d^%d = %d\n", i, a, b, values[static_cast<std::size_t>(b - b0)]);
    return -parnum;
}

int COM_check_nimfus(void** commands, int parnum) {
    checkNIMfusion(intArgument(commands, 0), intArgument(commands, 1), intArgument(commands, 2),
                   intArgument(commands, 3));
    return -parnum;
}

namespace {

const CommandDefinition boundaryCommands[] = {
    {"get reflection", "(Ishibashi i)(bound a)", COM_reflection,
     "Get the reflection coefficient for Ishibashi field \"i\" on boundary  \"a\"."},
    {"check oriented_annulus", "", COM_check_open_oriented,
     "Check positivity and integrality of oriented annulus."},
    {"browse orbit boundary", "[bound a]", COM_browse_boundary_orbit, "Show boundary orbit."},
    {"browse orbit Ishibashi", "[Ishibashi m]", COM_browse_Ishibashi_orbit,
     "Show Ishibashi orbit."},
    {"check reflection", "", COM_check_reflection,
     "Check that the direct computation of the reflection coefficients\ngives the same answer "
     "as the orbit method."},
    {"get bfusion", "[field i][bound a]", COM_bfus, "compute boundary fusion"},
    {"get NIMrep", "(field i)(bound a)(bound b)", COM_NIMrep,
     "Compute NIMrep matrix $(A^i)_a^b$.\nWithout arguments: all matrices.\nOne argument: Matrix "
     "$A^i$.\nTwo arguments: $(A^i)_a^b$ (all b).Three arguments: $(A^i)_a^b$."},
    {"check NIMrep", "[field i][field j][bound a][bound b]", COM_check_nimfus,
     "Check NIMrep condition:\n$@sum_c A_{ia}^c A_{jc}^b=@sum_k N_{ij}^k A_{ka}^b$."},
    {"browse boundary", "(bound a)", COM_browse_bound,
     "Show boundary labels.\nWithout arguments: All boundaries are shown.\nWith argument \"a\": "
     "Boundary \"a\" is shown."},
    {"browse reps boundary", "[bound a]", COM_browse_bound_det,
     "Show boundary details about boundary labels.\n"},
    {"browse Ishibashi", "(Ishibashi a)", COM_browse_bulk,
     "Show Ishibashi labels.\nWithout arguments: All Ishibashi labels are shown.\nWith argument "
     "\"a\": Ishibashi label \"a\" is shown."},
    {"check completeness", "", COM_check_complete,
     "Check that number of Ishibashi labels equals\nnumber of boundaries."},
    {"total boundaries", "", COM_tot_bnd, "Return total number of boundary labels"},
    {"total ishibashi", "", COM_tot_ishi, "Return total number of Ishibashi labels"},
    {"reset boundary_search", "", COM_reset_bound,
     "Reset exceptional boundary coefficients to start new search."},
    {"reset bulk", "", COM_reset_open, "Reset bulk invariant and Klein bottle."},
    {"select diagonal_invariant", "", COM_reset_open,
     "Set bulk partition function to the diagonal invariant."},
};

const CommandDefinition orientifoldCommands[] = {
    {"reset Orientifold", "", COM_reset_crosscap, "Resets all crosscap_signs."},
};

} // namespace

void installBoundaryCommands() {
    addCommandFamily(CommandFamily::Boundary, boundaryCommands);
    addCommandFamily(CommandFamily::Orientifold, orientifoldCommands);
}
