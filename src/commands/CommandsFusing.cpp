// The fusing-matrix commands: one matrix, one entry in several gauges, one braiding sign. They
// are registered only in builds made with the fusing commands switched on.
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "fusing/Fusing.h"

#include <algorithm>
#include <limits>

using namespace commands;

namespace {

// The guards of the commands that need a single block with fusing matrices.
bool refused(const char* routine, const char* unavailable) {
    if (cosetSwitch() == 1) {
        Alert(routine, 0, 112311, "This command only works in single algebra mode");
        return true;
    }
    SpectrumData* sd = getCurrentSD();
    if (!sd || !SM_isFusingmatrixAvailable(sd)) {
        Alert(routine, 1, 112311, "%s", unavailable);
        return true;
    }
    return false;
}

} // namespace

int COM_fusing_matrix(void** params, int parnum) {
    if (refused("COM_fusing_matrix", "Fusing matrices not available for this algebra"))
        return 1;
    const int a = intArgument(params, 0), b = intArgument(params, 1), c = intArgument(params, 2),
              d = intArgument(params, 3);
    Print("Fusing %d %d %d %d\n", a, b, c, d);
    int n = 0;
    int* basis = nullptr;
    const double* M = getFusingMatrix(a, b, c, d, &n, &basis);
    if (n == 0) {
        Print("This fusing matrix vanishes (no channels)\n");
        return -parnum;
    }
    if (!M) {
        Alert("COM_fusing_matrix", 1, 112311, "This fusing matrix is not available");
        return 1;
    }
    PrintVec(n, basis, "Channels (cols=q): ");
    PrintVec(n, basis + n, "Channels (rows=p): ");
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++)
            Print("%7.3f ", M[i * n + j]);
        Print("\n");
    }
    return -parnum;
}

int COM_fusing_matrix_entry(void** params, int parnum) {
    getFusingMatrixEntry(intArgument(params, 0), intArgument(params, 1), intArgument(params, 2),
                         intArgument(params, 3), intArgument(params, 4), intArgument(params, 5));
    return -parnum;
}

int COM_braidingsign(void** params, int parnum) {
    if (refused("COM_braidingsign", "Brading signs not available for this algebra"))
        return 1;
    const int a = intArgument(params, 0), b = intArgument(params, 1), c = intArgument(params, 2);
    if (fusingCoupling(a, b, c) == 0)
        Print("No channels\n");
    else
        Print("Epsilon_%d_%d^%d=%d\n", a, b, c, getEpsilon(a, b, c));
    return -parnum;
}

namespace {

// Labels 0 to n; the solvers stop at the block's own bound, so the largest int means all.
int labelsUpTo(int n) {
    return std::min(n, std::numeric_limits<int>::max() - 1) + 1;
}

void dashLine() {
    Print("--------------------------------------------------------------\n");
}

} // namespace

int COM_search_pentagon(void** params, int parnum) {
    if (refused("COM_search_pentagon", "Fusing matrices not available for this algebra"))
        return 1;
    pentagon_trigger(nullptr, intArgument(params, 0), intArgument(params, 1),
                     intArgument(params, 2), intArgument(params, 3));
    return -parnum;
}

int COM_display_pentagon(void** params, int parnum) {
    if (refused("COM_display_pentagon", "Fusing matrices not available for this algebra"))
        return 1;
    dashLine();
    compute_pentagon(intArgument(params, 0), intArgument(params, 1), intArgument(params, 2),
                     intArgument(params, 3), 1);
    return -parnum;
}

// A failed check stops the command line rather than passing as success.
int COM_pentagon(void** params, int parnum) {
    if (refused("COM_pentagon", "Fusing matrices not available for this algebra"))
        return 1;
    return compute_pentagon(intArgument(params, 0), intArgument(params, 1), intArgument(params, 2),
                            intArgument(params, 3), 2)
               ? -parnum
               : 1;
}

int COM_display_hexagon(void** params, int parnum) {
    if (refused("COM_display_hexagon", "Fusing matrices not available for this algebra"))
        return 1;
    dashLine();
    compute_hexagon(intArgument(params, 0), intArgument(params, 1), intArgument(params, 2), 1);
    return -parnum;
}

int COM_hexagon(void** params, int parnum) {
    if (refused("COM_hexagon", "Fusing matrices not available for this algebra"))
        return 1;
    return compute_hexagon(intArgument(params, 0), intArgument(params, 1), intArgument(params, 2),
                           2)
               ? -parnum
               : 1;
}

int COM_polynomial(void** params, int parnum) {
    if (refused("COM_polynomial", "Fusing matrices not available for this algebra"))
        return 1;
    return checkPolynomial(labelsUpTo(intArgument(params, 0)), 0) == 0 ? -parnum : 1;
}

// A contradiction and an enumeration stopped at its limit stop the command line.
int COM_find_fusing(void** params, int parnum) {
    if (refused("COM_find_fusing", "Fusing matrices not available for this algebra"))
        return 1;
    // A file that cannot serve is refused before any work.
    if (parnum > 1) {
        if (!checkSignFlipFile(textArgument(params, 1)))
            return 1;
        setFlippedVarInputFile(textArgument(params, 1));
    }
    const int result = findFusingMatrices(labelsUpTo(intArgument(params, 0)));
    if (result == 0)
        Print("NO SOLUTION\n");
    return result == 1 ? -parnum : 1;
}

void registerFusingCommands() {
#ifdef TARVIK_FUSING_COMMANDS
    setCurrentMode(getDefaultMode());
    initCommand("fusing", "", nullptr, "Fusing matrices and braiding signs.");
    initCommand("fusing matrix", "[field a][field b][field c][field d]", COM_fusing_matrix,
                "Show the fusing matrix F[a b c d].");
    initCommand("fusing entry", "[field p][field q][field a][field b][field c][field d]",
                COM_fusing_matrix_entry, "Show the entry F_pq[a b c d] in several gauges.");
    initCommand("fusing epsilon", "[field a][field b][field c]", COM_braidingsign,
                "Show the braiding sign epsilon_ab^c.");
    initCommand("fusing pentagon", "[field a][field i][field j][field k]", COM_pentagon,
                "Check the pentagon equations of the family (a, i, j, k).");
    initCommand("fusing hexagon", "[field i][field j][field k]", COM_hexagon,
                "Check the hexagon equations of the family (i, j, k).");
    initCommand("fusing show", "", nullptr, "Show pentagon or hexagon equations.");
    initCommand("fusing show pentagon", "[field a][field i][field j][field k]",
                COM_display_pentagon, "Show the pentagon equations of (a, i, j, k), filtered.");
    initCommand("fusing show hexagon", "[field i][field j][field k]", COM_display_hexagon,
                "Show the hexagon equations of (i, j, k).");
    initCommand("fusing filter", "[field a][field b][field c][field d]", COM_search_pentagon,
                "Show only pentagons with a factor F[a b c d]; 0 0 0 0 shows all.");
    initCommand("fusing polynomial", "[non_neg_int n]", COM_polynomial,
                "Check all hexagons, pentagons and S for labels up to n.");
    initCommand("fusing solve", "[non_neg_int n](file)", COM_find_fusing,
                "Solve the signs of all fusing matrices and braiding signs; with a\n"
                "sign-flip file its signs fix the gauge, and every solution is written\n"
                "to the file name followed by a counter.");
    registerFusingSignCommands();
#endif
}
