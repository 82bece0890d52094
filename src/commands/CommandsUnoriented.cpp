// The commands of the unoriented string: the orientifold choice (Klein bottle current and
// crosscap signs) with its displays, crosscap coefficients and the Ishibashi metric, the annulus,
// Moebius strip and Klein bottle tables, and the consistency checks of the amplitudes.
#include "commands/CommandsUnoriented.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

using commands::DoublePrecision;
using commands::intArgument;

namespace {

constexpr int StoppedSum = INT_MAX;
constexpr int MatrixLimit = 30;

const BulkInvariant* bulk() {
    return *getCurrentBulk();
}

bool refuseWithoutReflection(const char* routine) {
    if (isRefCoefAvailable())
        return false;
    Alert(routine, 0, 100302, "Reflection coefficients not available");
    return true;
}

bool refuseWithoutCrosscaps(const char* routine, int position) {
    if (isCrosscapAvailable())
        return false;
    Alert(routine, position, 100302, "Crosscap coefficients not available");
    return true;
}

void warnIfNotSymmetric(const char* text) {
    if (bulk()->symmetric != 1)
        Alert("COM_annulus", 0, 112301, "%s", text);
}

bool refuseNonSymmetric() {
    return refuseNonSymmetricInvariant();
}

int maxErrors(void** commands, int parnum) {
    return parnum > 0 ? intArgument(commands, 0) : INT_MAX;
}

// The labels a given parameter fixes, else the whole range.
void labelRange(void** commands, int parnum, int k, int total, int* from, int* to) {
    if (parnum > k) {
        *from = *to = intArgument(commands, k);
        return;
    }
    *from = 0;
    *to = total - 1;
}

const char* widthFormat(int largest) {
    if (largest <= 9)
        return "%2d";
    return largest <= 99 ? "%3d" : "%4d";
}

// False when the user stopped the sums; then nothing was printed.
bool printAnnulusMatrix(int i) {
    const int B = TotalBoundaries();
    std::vector<int> A(static_cast<std::size_t>(B) * B, 0);
    int largest = 0;
    for (int a = 0; a < B; a++)
        for (int b = a; b < B; b++) {
            const int v = getAnnulus(i, a, b);
            if (v == StoppedSum)
                return false;
            A[static_cast<std::size_t>(a * B + b)] = A[static_cast<std::size_t>(b * B + a)] = v;
            largest = std::max(largest, v);
        }
    const char* format = widthFormat(largest);
    Print("A^%d = \n     ", i);
    for (int a = 0; a < B; a++) {
        if (a > 0)
            Print("\n     ");
        for (int b = 0; b < B; b++)
            Print(format, A[static_cast<std::size_t>(a * B + b)]);
    }
    Print("\n");
    return true;
}

bool printMoebiusVector(int i) {
    const int B = TotalBoundaries();
    std::vector<int> M(static_cast<std::size_t>(B));
    int largest = 0;
    for (int a = 0; a < B; a++) {
        const int v = getMoebius(i, a);
        if (v == StoppedSum)
            return false;
        M[static_cast<std::size_t>(a)] = v;
        largest = std::max(largest, std::abs(v));
    }
    const char* format = widthFormat(largest);
    Print("M^%d =      ", i);
    for (int v : M)
        Print(format, v);
    Print("\n");
    return true;
}

// Every field without parameters (result 0), the field given (result -1); false from print ends
// the loop.
int printPerField(int parnum, void** commands, bool (*print)(int)) {
    if (parnum == 0) {
        for (int i = 0; i < getTotalPrimaries(); i++)
            if (!print(i))
                break;
        return 0;
    }
    print(intArgument(commands, 0));
    return -1;
}

} // namespace

bool refuseNonSymmetricInvariant() {
    if (bulk()->symmetric == 1)
        return false;
    Alert("initializeOpenString", 0, 100302,
          "Non-symmetric invariant; no unoriented string functions available\n");
    return true;
}

int COM_annulus(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_annulus"))
        return 1;
    warnIfNotSymmetric(
        "Non-symmetric invariant; oriented annulus not well-defined\nTry \"get NIMrep\" instead.");
    const int B = TotalBoundaries();
    if (B <= MatrixLimit && parnum <= 1)
        return printPerField(parnum, commands, printAnnulusMatrix);
    int i0, i1, a0, a1, b0, b1;
    labelRange(commands, parnum, 0, getTotalPrimaries(), &i0, &i1);
    labelRange(commands, parnum, 1, B, &a0, &a1);
    labelRange(commands, parnum, 2, B, &b0, &b1);
    for (int i = i0; i <= i1; i++)
        for (int a = a0; a <= a1; a++)
            for (int b = b0; b <= b1; b++) {
                const int v = getAnnulus(i, a, b);
                if (v == StoppedSum)
                    return -parnum;
                if (b == 0)
                    Print("\n");
                if (v != 0)
                    Print("A(%d,%d,%d)=%d\n", i, a, b, v);
            }
    return -parnum;
}

int COM_moebius(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_moebius") || refuseWithoutCrosscaps("COM_moebius", 1))
        return 1;
    warnIfNotSymmetric("Non-symmetric invariant; moebius amplitude not defined");
    const int B = TotalBoundaries();
    if (B <= MatrixLimit && parnum <= 1)
        return printPerField(parnum, commands, printMoebiusVector);
    int i0, i1, a0, a1;
    labelRange(commands, parnum, 0, getTotalPrimaries(), &i0, &i1);
    labelRange(commands, parnum, 1, B, &a0, &a1);
    for (int i = i0; i <= i1; i++)
        for (int a = a0; a <= a1; a++) {
            const int v = getMoebius(i, a);
            if (v == StoppedSum)
                return -parnum;
            if (a == 0)
                Print("\n");
            Print("M(%d,%d)=%d\n", i, a, v);
        }
    return -parnum;
}

int COM_klein(void** commands, int parnum) {
    warnIfNotSymmetric("Non-symmetric invariant; klein bottle coefficient not defined");
    if (refuseWithoutCrosscaps("COM_klein", 0))
        return 1;
    if (parnum > 0) {
        const int i = intArgument(commands, 0);
        const int K = getKleinBottle(i);
        if (K != StoppedSum)
            Print("K(%d)=%d\n", i, K);
        return -parnum;
    }
    const int N = getTotalPrimaries();
    std::vector<int> K(static_cast<std::size_t>(N));
    for (int i = 0; i < N; i++)
        if ((K[static_cast<std::size_t>(i)] = getKleinBottle(i)) == StoppedSum)
            return -parnum;
    Print("K = (");
    for (int i = 0; i < N; i++)
        Print(i + 1 < N ? "%2d," : "%2d)\n", K[static_cast<std::size_t>(i)]);
    return -parnum;
}

int COM_crosscoeff(void** commands, int parnum) {
    if (refuseWithoutCrosscaps("COM_crosscoeff", 0))
        return 1;
    int m0, m1;
    labelRange(commands, parnum, 0, TotalIshibashi(), &m0, &m1);
    for (int m = m0; m <= m1; m++) {
        double re, im;
        getCurrentCrosscapCoefficient(m, 0, &re, &im);
        if (DoublePrecision && *DoublePrecision == 1)
            Print("C(%d)=(%30.15f,%30.15f)\n", m, unsignedZero(re, 15), unsignedZero(im, 15));
        else
            Print("C(%d)=(%15.8f,%15.8f)\n", m, unsignedZero(re, 8), unsignedZero(im, 8));
    }
    return -parnum;
}

int COM_ishi_metric(void** commands, int parnum) {
    int m0, m1;
    labelRange(commands, parnum, 0, TotalIshibashi(), &m0, &m1);
    for (int m = m0; m <= m1; m++) {
        int n, d;
        getIshibashiMetric(m, &n, &d);
        Print("phase(%d)=(%d/%d)\n", m, n, d);
    }
    return -parnum;
}

int COM_browse_signs(void**, int parnum) {
    showSigns();
    return -parnum;
}

int COM_browse_orientifold(void**, int parnum) {
    const BulkInvariant* bi = bulk();
    if (!bi->simpleCurrentInvariant) {
        Print("Not a simple current invariant; signs not defined\n");
        return -parnum;
    }
    if (refuseNonSymmetric())
        return 1;
    showOrientationInfo(getCurrentOrientifold());
    return -parnum;
}

int COM_classalg(void** commands, int parnum) {
    if (refuseNonSymmetric())
        return 1;
    const int i = intArgument(commands, 0), j = intArgument(commands, 1),
              k = intArgument(commands, 2);
    Print("X(%d,%d,%d)=%3d   ", i, j, k, getClassifyingCoefficient(i, j, k));
    Print("N(%d,%d,%d)=%d\n", i, j, k, getFusionForClassifyingCoefficient(i, j, k));
    return -parnum;
}

int COM_browse_boundary_conjugation(void** commands, int parnum) {
    if (refuseNonSymmetric())
        return 1;
    const int a = intArgument(commands, 0);
    Print("Conj[%d]=%d\n", a, BoundaryConjugate(a));
    return -parnum;
}

int COM_set_crosscap(void** commands, int parnum) {
    return setKlein(intArgument(commands, 0)) == 0 ? 1 : -parnum;
}

int COM_crosssign(void** commands, int parnum) {
    std::vector<int> signs(static_cast<std::size_t>(parnum) + 1);
    for (int k = 0; k < parnum; k++)
        signs[static_cast<std::size_t>(k)] = intArgument(commands, k);
    return setCrosscapSigns(parnum, signs.data()) == 0 ? 1 : -parnum;
}

// ============================================================ Checks

int COM_check_closed(void** commands, int parnum) {
    if (refuseWithoutCrosscaps("COM_check_closed", 0))
        return 1;
    if (checkClosed(maxErrors(commands, parnum)) == 0)
        Print("Closed sector OK\n");
    return -parnum;
}

int COM_check_open(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_check_open") || refuseWithoutCrosscaps("COM_check_open", 1))
        return 1;
    if (checkOpen(maxErrors(commands, parnum)) == 0)
        Print("Open sector OK\n");
    return -parnum;
}

int COM_check_projection(void** commands, int parnum) {
    if (refuseWithoutCrosscaps("COM_check_projection", 0))
        return 1;
    if (checkKleinBottleConstraint(maxErrors(commands, parnum)) == 0)
        Print("Klein bottle constraint OK\n");
    return -parnum;
}

int COM_check_full_open(void** commands, int parnum) {
    if (refuseWithoutReflection("COM_check_full_open") ||
        refuseWithoutCrosscaps("COM_check_full_open", 1))
        return 1;
    const int maxerr = maxErrors(commands, parnum);
    // A stop (-1) ends the command without further checks.
    const int closed = checkClosed(maxerr);
    if (closed < 0)
        return -parnum;
    if (closed != 0)
        Print("**** Closed sector problems ****\n");
    const int open = checkOpen(maxerr);
    if (open < 0)
        return -parnum;
    if (open != 0)
        Print("**** Open sector problems ****\n");
    const int klein = checkKleinBottleConstraint(maxerr);
    if (klein < 0)
        return -parnum;
    if (klein != 0)
        Print("**** Crosscap condition problems ****\n");
    if (closed + open + klein == 0)
        Print("Partition functions are integer; Klein bottle constraint is satisfied\n");
    return -parnum;
}

int COM_check_annulus(void** commands, int parnum) {
    if (!isRefCoefAvailable()) {
        Alert("COM_browse_bound", 0, 100302, "Boundaries not available");
        return 1;
    }
    checkAnnulusOrbits(intArgument(commands, 0), intArgument(commands, 1),
                       intArgument(commands, 2));
    return -parnum;
}

int COM_check_nim_moebius(void** commands, int parnum) {
    checkUNIMMoebius(intArgument(commands, 0), intArgument(commands, 1), intArgument(commands, 2));
    return -parnum;
}

int COM_check_nim_klein(void** commands, int parnum) {
    checkUNIMKlein(intArgument(commands, 0), intArgument(commands, 1));
    return -parnum;
}

namespace {

// sum over fields m and right partners p = m^c of Y_m00 K_m S_im / S_0m; false when stopped.
bool traceSum(int i, const std::vector<int>& K, double* re, double* im) {
    const BulkInvariant* bi = bulk();
    *re = *im = 0.0;
    for (int m = 0; m < getTotalPrimaries(); m++) {
        const int length = bi->trivial == 1 ? 1 : bi->orbitlength[m];
        for (int k = 0; k < length; k++) {
            const int p = bi->trivial == 1 ? m : bi->orbits[m][k];
            if (getConjugate(p) != m)
                continue;
            double sr, si, s0r, s0i;
            compS(i, m, &sr, &si);
            compS(0, m, &s0r, &s0i);
            const double f = Pfusion(m, 0, 0) * K[static_cast<std::size_t>(m)] / s0r;
            *re += f * sr;
            *im += f * si;
        }
    }
    return true;
}

} // namespace

int COM_check_trace_formula(void**, int parnum) {
    const int N = getTotalPrimaries(), B = TotalBoundaries();
    std::vector<int> K(static_cast<std::size_t>(N));
    for (int m = 0; m < N; m++)
        if ((K[static_cast<std::size_t>(m)] = getKleinBottle(m)) == StoppedSum)
            return -parnum;
    bool ok = true;
    for (int i = 0; i < N; i++) {
        long long T = 0;
        for (int a = 0; a < B; a++) {
            const int A = getAnnulus(-i, a, a);
            if (A == StoppedSum)
                return -parnum;
            T += A;
        }
        double re, im;
        traceSum(i, K, &re, &im);
        int Z;
        if (ComplexToInteger(re, im, &Z) && Z == T)
            continue;
        ok = false;
        Print("Trace formula violated for label %d [%d != (%15.7f,%15.7f)]\n", i,
              static_cast<int>(T), re, im);
    }
    if (ok)
        Print("Trace formula OK\n");
    return -parnum;
}

namespace {

const CommandDefinition unorientedCommands[] = {
    {"annulus", "(field i)(bound a)(bound b)", COM_annulus,
     "Compute annulus coefficient $A^i_{ab}=A(i,a,b)$."},
    {"moebius", "(field i)(bound a)", COM_moebius,
     "Compute Moebius strip coefficient $M^i_a=M(i,a)$."},
    {"klein", "(field i)", COM_klein, "Compute Klein bottle coefficient $K^i$."},
    {"get crosscap", "(Ishibashi i)", COM_crosscoeff,
     "Get the crosscap coefficient for Ishibashi field \"i\"."},
    {"browse metric", "(Ishibashi i)", COM_ishi_metric,
     "Show the diagonal Ishibahsi metric \"i\"."},
    {"browse signs", "", COM_browse_signs,
     "Show phase shifts used in reflection coefficients\nand signs used in crosscap "
     "computation.\nPhase shifts x:   Refl. coeffs are $@exp[-i @pi x/4] S^J$ \nCrosscap signs "
     "e: Crosscaps are $@sum_J e(J) P_{Jm}$ \nHere $S^J$ is the fixed point resolution "
     "matrix:\n$S^J = @exp[-i @pi m/4] O^J$, the orbit Lie algebra matrix.\nthe phase \"m\" is "
     "listed under \"FCFT shift.\"\nA \"*\" indicates that there are no fixed points."},
    {"check closed", "(pos_int max_err)", COM_check_closed,
     "Check positivity and integrality of Torus + Klein bottle.\n(\"max_err\" is the maximum "
     "number of error messages;\nDefaults to no limit)."},
    {"check open", "(pos_int max_err)", COM_check_open,
     "Check positivity and integrality of Annulus + Moebius strip\n(\"max_err\" is the maximum "
     "number of error messages;\nDefaults to no limit)."},
    {"check klein", "(pos_int max_err)", COM_check_projection,
     "Check positivity of $N_{ijk} K_i K_j K_k$\n(\"max_err\" is the maximum number of error "
     "messages;\nDefaults to no limit)."},
    {"check full_open", "(pos_int max_err)", COM_check_full_open,
     "Check all open string consistency conditions\n(\"max_err\" is the maximum number of error "
     "messages;\nDefaults to no limit)."},
    {"check annulus", "[field i][bound a][bound b]", COM_check_annulus,
     "Check that the direct computation of the annulus\ngives the same answer as the orbit "
     "method."},
    {"check UNIMrep moebius", "[field i][field j][bound a]", COM_check_nim_moebius,
     "Check U-NIMrep condition for moebius/annulus:\n$@sum_b A_{ia}^b M_{ib} = @sum_k Y_{ij}^k "
     "M_{ka}$."},
    {"check UNIMrep klein", "[field i][field j]", COM_check_nim_klein,
     "Check U-NIMrep condition for moebius/klein:\n$@sum_b M_i^b M_{jb} = @sum_k Y^k_{ij} K_k$."},
    {"check trace_formula", "", COM_check_trace_formula,
     "Check the boundary trace formula for the annulus."},
    {"get class_alg", "[Ishibashi i][Ishibashi j][Ishibashi k]", COM_classalg,
     "Compute classifying algebra coefficients."},
    {"browse conjugation boundary", "[bound a]", COM_browse_boundary_conjugation,
     "Show boundary conjugate of a."},
};

const CommandDefinition orientifoldChoiceCommands[] = {
    {"browse current Orientifold", "", COM_browse_orientifold,
     "Show current orientifold properties."},
    {"set kleinbottle", "[current J]", COM_set_crosscap,
     "Specify simple current \"J\" to be used to modify\nKlein bottle projection."},
    {"set crosscap_signs", "(sign s_1)...(sign s_n)", COM_crosssign,
     "Set signs used in crosscap formula.\nThere is one sign choice for each cyclic factor in "
     "the\nsimple current group that defines the bulk invariant.\nSigns for odd cyclic factors "
     "are ignored.\nMissing signs are set to 1."},
};

} // namespace

// ============================================================ Profiles and boundary permutations

namespace {

bool refuseProfile(const char* routine) {
    const int t = getCFTtype();
    if (t != 0 && t != 7) {
        Alert(routine, 0, 100302, "Not available for this type of CFT");
        return true;
    }
    return refuseWithoutCrosscaps(routine, 0);
}

} // namespace

int COM_localize_boundary(void** commands, int parnum) {
    if (refuseProfile("COM_localize_boundary"))
        return 1;
    LocalizeDefect(intArgument(commands, 0));
    return -parnum;
}

int COM_localize_crosscap(void**, int parnum) {
    if (refuseProfile("COM_localize_crosscap"))
        return 1;
    LocalizeDefect(-1);
    return -parnum;
}

int COM_boundary_permutations(void** commands, int parnum) {
    std::vector<int> first, second;
    for (int k = 0; k < parnum; k++) {
        int i = 0, j = 0;
        if (!commands::readAssignment(commands::textArgument(commands, k), &i, &j)) {
            Alert("COM_permutations", 0, 100302, "Invalid assignment: %s\n",
                  commands::textArgument(commands, k));
            return -1;
        }
        first.push_back(i);
        second.push_back(j);
    }
    int* images = CloseTensorPermutations(nullptr, 0, 0, 0, nullptr, nullptr);
    if (!images) {
        Alert("COM_boundary_permutations", 0, 100302,
              "No field permutation; run \"compute permutations\" first");
        return 1;
    }
    CloseBoundaryPermutations(images, static_cast<int>(first.size()), first.data(), second.data());
    return -parnum;
}

namespace {

const CommandDefinition profileCommands[] = {
    {"Localize boundary", "[bound a]", COM_localize_boundary,
     "Find location of D-brane (U(1) and orbifold only)"},
    {"Localize crosscap", "", COM_localize_crosscap,
     "Find location of O-plane (U(1) and orbifold only)"},
};

const CommandDefinition permutationCommands[] = {
    {"compute boundary permutations", "(entry_1)...(entry_n)", COM_boundary_permutations,
     "Work out the effect of the last CFT permutation on the boundaries.\nThe command \"compute "
     "permutations\" must be executed first.\nParameter \"entry_i\" is of the form i:j, and its "
     "function is to\nsuggest that the permutation of \"i\" is \"j\" in cases of degeneracies."},
};

} // namespace

void installUnorientedCommands() {
    addCommandFamily(CommandFamily::Boundary, unorientedCommands);
    addCommandFamily(CommandFamily::Orientifold, orientifoldChoiceCommands);
    addCommandFamily(CommandFamily::Boundary, profileCommands);
    addCommandFamily(CommandFamily::Orientifold, permutationCommands);
    installOrientifoldListCommands();
}
