// Fixed points of the current building block: making its fixed-point theories current, the
// shifts, S^J and the orbit Lie algebra matrices, the twist tables and the eta phases with the
// checks that tie them together, the conjugacy classes against the charges, and the summary of
// the simple currents. The twist of two currents, S^J and the summary work for products too.
#include "commands/CommandsFixedPoints.h"

#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "lie/Tarvik.h"
#include "modular/Modular.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace commands;

namespace {

constexpr int Refused = 100302;
constexpr int NotForTensor = 112311;
constexpr int TwistInconsistency = 100401;

bool tensorMode() {
    return getCosetMode() == 1;
}

// A twist t in -1..3 (the phase i^t, -1 undefined).
const char* twistName(int t) {
    static const char* const names[] = {"UNDEF", "1", " i", "-1", "-i"};
    return t >= -1 && t <= 3 ? names[t + 1] : names[0];
}

int currentCount(SpectrumData* sd) {
    return SM_getCenter(sd);
}

// The current building block, or null after the refusal: the tensor product has no such data.
SpectrumData* blockOrRefusal(const char* routine, const char* refusal) {
    SpectrumData* sd = currentBlock();
    if (!tensorMode() && sd)
        return sd;
    Alert(routine, 0, NotForTensor, "%s", refusal);
    return nullptr;
}

// ---- Fixed-point theories ----

// Fixed-point theory f of sd: a block stored under the name "<name>_<f-1>" (a theory made
// elsewhere from sd), else the one of sd's fixed-point data.
SpectrumData* fixedPointTheory(SpectrumData* sd, int f) {
    const std::string name = std::string(SM_getAlgebraName(sd)) + "_" + std::to_string(f - 1);
    if (SpectrumData* stored = SM_findCFT(name.c_str()))
        return stored;
    SM_initFCFTData(sd);
    return sd->FixedPointCFT[f - 1];
}

// Label 0 keeps sd; label f makes its f-th fixed-point theory current and shows the status.
int loadFixedPointTheory(SpectrumData* sd, int f, int parnum) {
    if (f == 0) {
        makeBlockCurrent(sd);
        if (!tensorMode()) {
            COM_compute(nullptr, 0);
            setAlgebraView(sd->type, sd->rank, sd->level);
        }
        return -parnum;
    }
    SpectrumData* F = fixedPointTheory(sd, f);
    if (!F)
        return 1;
    makeBlockCurrent(F);
    Spectrum_Computed = 0;
    COM_compute(nullptr, 0);
    setAlgebraView(F->type, F->rank, F->level);
    COM_status(nullptr, 0);
    return -parnum;
}

// The refusal of a current outside 0 .. order; for affine blocks the order is the identity.
bool outOfRange(SpectrumData* sd, int current, const char* routine, int site) {
    if (current >= 0 && current <= currentCount(sd))
        return false;
    Alert(routine, site, Refused, "Current out of range");
    return true;
}

// ---- Twists and eta phases ----

// The currents from 1 up whose fixed-point theory exists, in increasing order.
std::vector<int> fixedPointCurrents(SpectrumData* sd) {
    std::vector<int> list;
    for (int J = 1; J < currentCount(sd); J++)
        if (SM_getFCFTlbl(sd, J) > 0)
            list.push_back(J);
    return list;
}

// The twist value of a phase G (0 or 1/2 for consistent data).
int etaTwistValue(const rat& G) {
    if (G.num == 0)
        return 0;
    if (2 * G.num == G.den)
        return 2;
    Alert("printTwists", 1, TwistInconsistency, "Strange eta-twist: %d/%d", G.num, G.den);
    return 1;
}

void printTwists(SpectrumData* sd, int a, int J, int K) {
    if (!SM_checkFP(sd, J, a) || !SM_checkFP(sd, K, a))
        return;
    const int JK = SM_SimpleAction(sd, J, K);
    const rat etaJ = *SM_getEta(sd, a, J);
    const rat etaK = *SM_getEta(sd, a, K);
    const rat etaJK = *SM_getEta(sd, a, JK);
    const int F = SM_getCurrentTwist(sd, a, J, K);
    if (F != SM_getCurrentTwist(sd, a, K, J))
        Alert("printTwists", 0, TwistInconsistency, "Asymmetric twist for (%d,%d)", J, K);
    rat G;
    addRat(&etaJ, &etaK, &G);
    subtractRat(&G, &etaJK, &G);
    simplifyRat(&G);
    RatToFrac(&G);
    simplifyRat(&G);
    const int g = etaTwistValue(G);
    const int h = mod(F - g, 4);
    char text[160];
    char* p = etaStr(text, &etaJ, 7);
    p = etaStr(p, &etaK, 7);
    p = etaStr(p, &etaJK, 7);
    p += std::sprintf(p, " %s      ", twistName(F));
    p = etaStr(p, &G, 7);
    std::sprintf(p, " %s    ", twistName(h));
    Print("%5d %3d %5.1f  %3d%5.1f    %s\n", a, J, SM_realWeight(sd, J), K, SM_realWeight(sd, K),
          text);
    if (h != 0)
        Alert("printTwists", 2, TwistInconsistency,
              "F/G unequal to 1 for currents %d %d (field %d) ", J, K, a);
}

bool stabilizerContains(SpectrumData* sd, int a, int K) {
    int* stabilizer = nullptr;
    const int n = SM_MakeStabilizer(sd, a, &stabilizer);
    for (int s = 0; s < n; s++)
        if (stabilizer[s] == K)
            return true;
    return false;
}

void printAllTwists(SpectrumData* sd, int K, int n) {
    const int order = currentCount(sd);
    Print("_____________________________________________________\n");
    Print("Twists F(a,J,K) for K=%d (fixed point current nr. %d)\n", K, n);
    Print("=====================================================\n");
    Print(" Nr.  Orb.  ");
    for (int J = 1; J < order; J++)
        Print("J%-3d", J);
    Print("\n");
    const int* row = SM_getFCFTlabels(sd) + static_cast<std::size_t>(n - 1) * sd->Nprimaries;
    for (int a = 0; a < sd->Nprimaries; a++) {
        if (!stabilizerContains(sd, a, K))
            continue;
        Print("%4d %4d   ", a, sd->OrbitLabel[a]);
        for (int J = 1; J < order; J++) {
            if (row[a] == -1) {
                Print("--  ");
                continue;
            }
            const bool fixedByJ = SM_getFCFTlbl(sd, J) > 0 && SM_getFPlabel(sd, J, a) >= 0;
            Print(fixedByJ ? "%s* " : "%s  ", twistName(SM_getCurrentTwist(sd, a, J, K)));
        }
        Print("\n");
    }
}

// The arguments (a, K, J) of a twist F(a, K, J).
struct TwistArguments {
    int a, K, J;
};

// Reports the twists F1 F2 != F that break the product rule in the named argument.
void checkProductRule(SpectrumData* sd, const char* argument, TwistArguments x1, TwistArguments x2,
                      TwistArguments x) {
    const int F1 = SM_getCurrentTwist(sd, x1.a, x1.K, x1.J);
    const int F2 = SM_getCurrentTwist(sd, x2.a, x2.K, x2.J);
    const int F = SM_getCurrentTwist(sd, x.a, x.K, x.J);
    if (mod(F1 + F2 - F, 4) == 0)
        return;
    Print("Product rule violation in %s argument: \n", argument);
    Print("F(%d,%d,%d) x F(%d,%d,%d) != F(%d,%d,%d) (values %s,%s,%s)\n", x1.a, x1.K, x1.J, x2.a,
          x2.K, x2.J, x.a, x.K, x.J, twistName(F1), twistName(F2), twistName(F));
}

// F(a,K1,J) F(a,K2,J) = F(a,K1 K2,J).
void checkTwistProdOne(SpectrumData* sd, int a, int J) {
    const int order = currentCount(sd);
    for (int K1 = 0; K1 < order; K1++)
        for (int K2 = K1; K2 < order; K2++)
            checkProductRule(sd, "second", {a, K1, J}, {a, K2, J},
                             {a, SM_SimpleCurrentFusion(sd, K1, K2), J});
}

// F(a,K,J1) F(a,K,J2) = F(a,K,J1 J2), over the currents that fix a.
void checkTwistProdTwo(SpectrumData* sd, int a, int K) {
    const int order = currentCount(sd);
    for (int J1 = 0; J1 < order; J1++)
        for (int J2 = J1; J2 < order; J2++)
            if (SM_checkFP(sd, J1, a) && SM_checkFP(sd, J2, a))
                checkProductRule(sd, "third", {a, K, J1}, {a, K, J2},
                                 {a, K, SM_SimpleCurrentFusion(sd, J1, J2)});
}

// ---- Resolution matrices ----

using Resolution = void (*)(int J, int a, int b, double* Re, double* Im);

int printResolution(void** commands, int parnum, const char* routine, Resolution element,
                    const char* format) {
    const int J = intArgument(commands, 0);
    const int i = intArgument(commands, 1);
    const int j = intArgument(commands, 2);
    if (!MOD_fixedPointCurrent(J)) {
        Alert(routine, 0, Refused, "current %d has no fixed points", J);
        return 1;
    }
    for (int field : {i, j})
        if (simpleFusion(J, field) != field) {
            Alert(routine, 0, 100201, "current %d does not fix %d", J, field);
            return -parnum;
        }
    double re = 0.0, im = 0.0;
    element(J, i, j, &re, &im);
    Print(format, J, i, j, re, im);
    return -parnum;
}

// ---- Conjugation on the fixed points ----

constexpr int ConjugateMismatch = 212302;

void reportConjugates(int a, int conjugate, int found, int n) {
    Alert("COM_check_fpconj", 1, ConjugateMismatch,
          "Conjugates differ for field %d (%d != %d), for FCFT Nr %d", a, conjugate, found, n);
}

// A created theory or fixed-point theory: the conjugate of a field against the field its label's
// conjugate stands for in each fixed-point theory.
void checkBlockFixedPointConjugates(SpectrumData* sd) {
    SM_initFCFTData(sd);
    if (sd->FCFTnumber <= 0 || !sd->FixedPointCFT)
        return;
    for (int f = 0; f < sd->FCFTnumber; f++)
        if (sd->FixedPointCFT[f])
            SM_initConjugates(sd->FixedPointCFT[f]);
    const int* labels = SM_getFCFTlabels(sd);
    for (int a = 0; a < sd->Nprimaries; a++)
        for (int f = 0; f < sd->FCFTnumber; f++) {
            const int l = labels[static_cast<std::size_t>(f) * sd->Nprimaries + a];
            if (l == -1 || !sd->FixedPointCFT[f])
                continue;
            const int conjugate = SM_getConjugate(sd, a);
            const int found = SM_getFixedPoint(sd, f + 1, SM_getConjugate(sd->FixedPointCFT[f], l));
            if (conjugate != found)
                reportConjugates(a, conjugate, found, f);
        }
}

// ---- Conjugacy classes and simple currents ----

// A weight's class read off the class vector, against the monodromy charge of the current.
void checkClassOfFields(SpectrumData* sd, int c, const std::vector<int>& v, int Z) {
    const int r = sd->rank;
    for (int l = 0; l < sd->Nprimaries; l++) {
        const int* weight = SM_getRep(sd, l);
        int s = 0;
        for (int i = 0; i < r; i++)
            s += v[i] * weight[i];
        s = mod(s, Z);
        const rat q = *simpleCurrentCharge(c, l);
        if (mod(s + Z * q.num / q.den, Z) != 0)
            Print("lbl %d: Charge %d/%d; Conj %d/%d\n", l, q.num, q.den, s, Z);
    }
}

const CommandDefinition theoryCommands[] = {
    {"algebra fcft", "[CFT_name][pos_int current]", COM_algebra,
     "Load fixed point cft of cft \"CFT_name\" and current \"current\"."},
    {"get fcft", "[pos_int current]", COM_fcft2, "Load fixed point cft for current \"current\"."},
};

const CommandDefinition lieCommands[] = {
    {"get fcft_shift", "[current J]", COM_get_fcftshift,
     "Get the shift parameter \"m\" that determines the phase\nbetween the fixed point "
     "resolution matrix $S^J$ and the orbit\nLie algebra matrix $O^J$: $S^J = @exp[-i @pi m/4] "
     "O^J$."},
    {"check classes", "", COM_check_class,
     "Check that conjugacy class definitions match simple\ncurrent charges for WZW models."},
    {"browse twists", "", COM_browse_twist, "Show simple current twists."},
    {"browse etatwists", "", COM_etatwist, "Compare current twists and eta twists."},
};

const CommandDefinition modularDataCommands[] = {
    {"get twist", "[field ][current K][current J]", COM_get_twist, "Get the twist F(a,K,J)."},
    {"get S_fix", "[current J][field i][field j]", COM_S_fix,
     "Compute the matrix element $S^J_{ij}$\nof the fixed point resolution matrix of current J.\n"},
    {"get S_ola", "[current J][field i][field j]", COM_S_ola,
     "Compute the matrix element $O^J_{ij}$\nof the orbit lie algebra matrix of current J.\n"},
};

const CommandDefinition checkCommands[] = {
    {"check twists", "", COM_check_twists,
     "Compare current twists and eta twists (only shows errors)."},
    {"check twist_prod", "", COM_check_twist_prod,
     "Check product rule in second argument of F(a,K,J)."},
    {"browse simple_currents", "", COM_browse_simple, "Show simple current data."},
    {"browse eta", "", COM_browse_eta, "Show charge conjugation twist and its field dependence."},
    {"check fp_conj", "", COM_check_fpconj, "Check $(S^J)^2=eta^J C$."},
};

} // namespace

int COM_fcft2(void** commands, int parnum) {
    SpectrumData* sd = getCurrentSD();
    const int current = intArgument(commands, 0);
    if (!sd || outOfRange(sd, current, "COM_fcft2", 0))
        return 1;
    const int f = SM_getFCFTlbl(sd, current);
    if (f < 0) {
        Alert("COM_fcft2", 1, Refused, "Current has no fixed point");
        return 1;
    }
    return loadFixedPointTheory(sd, f, parnum);
}

int COM_get_fcftshift(void** commands, int parnum) {
    SpectrumData* sd = getCurrentSD();
    const int n = SM_getFCFTlbl(sd, intArgument(commands, 0));
    if (n < 0) {
        Print("Current has no fixed points\n");
        return 1;
    }
    // The identity has no shift to show. Its argument is consumed all the same: left over, it
    // would be read as a command word and stop the command line.
    if (n > 0)
        Print("Shift parameter: %d\n", sd->FCFTshifts[n - 1]);
    return -parnum;
}

int COM_etatwist(void**, int parnum) {
    SpectrumData* sd = blockOrRefusal("COM_etatwist", "Not yet built in for tensor mode");
    if (!sd)
        return -parnum;
    const std::vector<int> currents = fixedPointCurrents(sd);
    if (!currents.empty())
        Print("field   J  spin_J  K spin_K eta_J  eta_K  eta_JK  F(J,K)  G(J,K)  F/G\n");
    for (int a = 0; a < sd->Nprimaries; a++)
        for (int J : currents)
            for (int K : currents)
                printTwists(sd, a, J, K);
    return 0;
}

int COM_browse_twist(void**, int parnum) {
    SpectrumData* sd =
        blockOrRefusal("COM_browse_twist", "Twist not available for tensor products");
    if (!sd)
        return 1;
    for (int K = 1; K < currentCount(sd); K++) {
        const int n = SM_getFCFTlbl(sd, K);
        if (n > 0)
            printAllTwists(sd, K, n);
    }
    return -parnum;
}

int COM_get_twist(void** commands, int parnum) {
    const int a = intArgument(commands, 0);
    const int K = intArgument(commands, 1);
    const int J = intArgument(commands, 2);
    if (simpleFusion(J, a) != a) {
        Print("Current %d does not fix field %d\n", J, a);
        return 1;
    }
    const int F = tensorMode() ? CT_getCurrentTwist(getCurrentTensor(), a, K, J)
                               : SM_getCurrentTwist(getCurrentSD(), a, K, J);
    Print("Twist %s\n", twistName(F));
    return -parnum;
}

int COM_browse_eta(void**, int parnum) {
    SpectrumData* sd =
        blockOrRefusal("COM_browse_eta", "Feature not available for tensor products");
    if (!sd)
        return 1;
    if (currentCount(sd) < 2)
        return -parnum;
    std::vector<int> currents;
    for (int J = 1; J < currentCount(sd); J++)
        if (SM_getFCFTlbl(sd, J) != -1)
            currents.push_back(J);
    Print(" Nr.  Orb.  ");
    for (int J : currents)
        Print("J%-3d", J);
    Print("\n");
    int* stabilizer = nullptr;
    for (int a = 0; a < sd->Nprimaries; a++) {
        if (SM_MakeStabilizer(sd, a, &stabilizer) < 2)
            continue;
        Print("%4d %4d   ", a, sd->OrbitLabel[a]);
        for (int J : currents) {
            if (SM_getFPlabel(sd, J, a) < 0) {
                Print("--  ");
                continue;
            }
            char text[16];
            etaStr(text, SM_getEta(sd, a, J), 4);
            Print("%s", text);
        }
        Print("\n");
    }
    return -parnum;
}

int COM_check_twists(void**, int parnum) {
    const int wasOn = OutputStatus();
    if (wasOn)
        TerminalOutputOff();
    COM_etatwist(nullptr, 0);
    if (wasOn)
        TerminalOutputOn();
    return -parnum;
}

int COM_check_twist_prod(void**, int parnum) {
    SpectrumData* sd = blockOrRefusal("COM_check_twist_prod", "Not yet built in for tensor mode");
    if (!sd)
        return -parnum;
    const int order = currentCount(sd);
    if (order < 2)
        return -parnum;
    for (int a = 0; a < sd->Nprimaries; a++)
        for (int J = 1; J < order; J++) {
            if (SM_checkFP(sd, J, a))
                checkTwistProdOne(sd, a, J);
            checkTwistProdTwo(sd, a, J);
        }
    return -parnum;
}

int COM_S_fix(void** commands, int parnum) {
    return printResolution(commands, parnum, "COM_S_fix", MOD_getFCFT_Smatrix,
                           "S^%d_%d_%d = (%15.7f,%15.7f)\n");
}

int COM_S_ola(void** commands, int parnum) {
    return printResolution(commands, parnum, "COM_S_ola", MOD_getOLA_Smatrix,
                           "O^%d_%d_%d = (%15.7f,%15.7f)\n");
}

int COM_check_fpconj(void**, int parnum) {
    SpectrumData* sd = tensorMode() ? nullptr : currentBlock();
    if (!sd || (sd->type != 9 && sd->type != 10)) {
        Alert("COM_check_fpconj", 0, Refused, "Check not avaiable; only for cft's");
        return -parnum;
    }
    checkBlockFixedPointConjugates(sd);
    return -parnum;
}

int COM_check_class(void**, int parnum) {
    SpectrumData* sd = currentBlock();
    if (tensorMode() || !sd || sd->type < 1 || sd->type > 5) {
        Alert("COM_check_class", 0, Refused, "Command not defined for this algebra");
        return 1;
    }
    const int t = sd->type, r = sd->rank;
    const int Z = Center(t, r);
    std::vector<int> w(r + 1);
    for (int c = 0; c < Z; c++) {
        Print("Current %d:\n", c);
        const int* classVector = conjugacyClassVector(t, r, c);
        const std::vector<int> v(classVector, classVector + r);
        printVec(r, v.data(), "Class vector ");
        for (int root = 0; root < r; root++) {
            WeylReflectionInRootBasis(t, r, v.data(), w.data(), root);
            for (int i = 0; i < r; i++)
                w[i] = mod(w[i], Z);
            if (compareVec(r, w.data(), v.data()) == 0)
                continue;
            char text[32];
            std::snprintf(text, sizeof text, "Weyl refl. %d ", root);
            printVec(r, w.data(), text);
        }
        checkClassOfFields(sd, c, v, Z);
    }
    return -parnum;
}

int COM_browse_simple(void**, int parnum) {
    int* map = nullptr;
    Discrete_Group* group = getCenter(&map);
    SpectrumData* sd = currentBlock();
    if (group->Order > 1) {
        Print("Total simple current order: %d\n", group->Order);
        Print("Basis decomposition of currents: \n");
        Print("Group:                          ");
        for (int k = 0; k < group->Mult; k++)
            Print(k + 1 < group->Mult ? "Z_%-2d*" : "Z_%-3d\n", group->Orders[k]);
        for (int n = 0; n < group->Order; n++) {
            const int field = tensorMode() && map ? map[n] : n;
            const rat h = *ratWeight(field);
            Print("Nr. %4d: ", field);
            Print("  Weight: %4d/%-4d ", h.num, h.den);
            for (int k = 0; k < group->Mult; k++)
                Print("%4d ", group->Decomp[n * group->Mult + k]);
            if (sd && SM_getFCFTlbl(sd, n) > 0)
                Print(" (fixed points) ");
            Print("\n");
        }
    } else if (sd && sd->type == 5 && sd->rank == 8 && sd->level == 2) {
        Print("Exceptional simple current of spin 3/2 (not built in)\n");
    } else {
        Print("No simple currents (except possibly from fixed points)\n");
    }
    getExceptionalSimpleCurrents(group->Order);
    return -parnum;
}

char* etaStr(char* txt, const rat* eta, int w) {
    rat r = *eta;
    simplifyRat(&r);
    const int n = r.num, d = r.den;
    char* p = txt;
    if (n == 0)
        p += std::sprintf(p, " 1");
    else if (2 * n == d)
        p += std::sprintf(p, "-1");
    else if (4 * n == d)
        p += std::sprintf(p, " i");
    else if (4 * n == 3 * d)
        p += std::sprintf(p, "-i");
    else if (d <= 9 && w >= 4)
        p += std::sprintf(p, "%1d^%1d", d, n);
    else if (d <= 99 && n <= 9 && w >= 5)
        p += std::sprintf(p, "%2d^%1d", d, n);
    else if (d <= 99 && n <= 99 && w >= 6)
        p += std::sprintf(p, "%2d^%2d", d, n);
    else
        p += std::sprintf(p, "***");
    while (p - txt < w)
        *p++ = ' ';
    *p = '\0';
    return p;
}

int COM_fcft(void** commands, int parnum) {
    SpectrumData* sd = SM_findCFT(static_cast<const char*>(commands[0]));
    if (!sd) {
        Alert("COM_fcft", 0, Refused, "No such algebra");
        return 1;
    }
    const int current = intArgument(commands, 1);
    if (outOfRange(sd, current, "COM_fcft", 1))
        return 1;
    const int f = SM_getFCFTlbl(sd, current);
    if (f < 0) {
        Alert("COM_fcft", 2, Refused, "Current has no fixed point");
        return 1;
    }
    return loadFixedPointTheory(sd, f, parnum);
}

void installFixedPointCommands() {
    addCommandFamily(CommandFamily::Theory, theoryCommands);
    addCommandFamily(CommandFamily::Lie, lieCommands);
    addCommandFamily(CommandFamily::ModularData, modularDataCommands);
    addCommandFamily(CommandFamily::Checks, checkCommands);
}
