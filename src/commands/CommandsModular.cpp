// The Modular-mode commands that print S, fusion, weights, charges and simple-current data of the
// current theory, and the checks of its modular data. Everything is asked of the facade of the
// current theory, except where the algebraic action or conjugation is to be checked against it.
#include "commands/CommandsModular.h"

#include "commands/Commands.h"
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "interpreter/IntCommandsStatus.h"
#include "lie/SmatrixReal.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Never set: fusion is taken with respect to the vacuum 0.
const int vacuum = 0;

int primaries() {
    return getTotalPrimaries();
}

void printRational(const rat* r) {
    if (r->den == 1)
        Print("%d\n", r->num);
    else
        Print("%d/%-d\n", r->num, r->den);
}

bool singleBlock() {
    return currentBlock() != nullptr;
}

bool productMode() {
    return getCosetMode() == 1;
}

// J a as the current theory computes it, past the orbit table.
int algebraicImage(int J, int a) {
    if (productMode())
        return simpleCurrentAction(J, a, getCurrentTensor());
    return SM_SimpleAction(getCurrentSD(), J, a);
}

} // namespace

namespace commands {

std::vector<int> fieldsOf(void** params, int parnum, int position) {
    std::vector<int> fields;
    if (parnum > position)
        fields.push_back(intArgument(params, position));
    else
        for (int i = 0; i < primaries(); i++)
            fields.push_back(i);
    return fields;
}

bool mirrored(const std::vector<int>& rows, const std::vector<int>& columns, int i, int j) {
    // Called for every pair of a listing: a run of consecutive fields (all of them, or one) is
    // tested by its ends, anything else by a search of the ascending list.
    auto contains = [](const std::vector<int>& fields, int x) {
        if (fields.empty())
            return false;
        if (fields.back() - fields.front() + 1 == static_cast<int>(fields.size()))
            return x >= fields.front() && x <= fields.back();
        return std::binary_search(fields.begin(), fields.end(), x);
    };
    return j < i && contains(rows, j) && contains(columns, i);
}

char* modText(int size) {
    return allocMemory("ModText", size).cSpace;
}

} // namespace commands

using namespace commands;

namespace {

// ---- Matrices and fusion ----

int COM_s(void** params, int parnum) {
    if (parnum < 2) {
        initSMATRIX();
        if (stopSignal == 1)
            return -parnum;
    }
    const std::vector<int> rows = fieldsOf(params, parnum, 0);
    const std::vector<int> columns = fieldsOf(params, parnum, 1);
    char* text = modText(1000);
    Print("\n");
    for (int i : rows)
        for (int j : columns) {
            if (S_Symmetric() && mirrored(rows, columns, i, j))
                continue;
            displayS(text, i, j);
            Print("%s", text);
        }
    Print("\n");
    return -parnum;
}

// Room for every term of a product: " + n x (k) " with ten-digit numbers, and the line breaks.
int fusionTextSize() {
    return primaries() * 40 + 100;
}

int COM_fusion(void** params, int parnum) {
    if (parnum == 3) {
        const int i = intArgument(params, 0), j = intArgument(params, 1),
                  k = intArgument(params, 2);
        Print("\nN_%d_%d^%d=%d\n\n", i, j, k, fusion(i, j, k, vacuum));
        return -3;
    }
    const std::vector<int> rows = fieldsOf(params, parnum, 0);
    const std::vector<int> columns = fieldsOf(params, parnum, 1);
    char* text = modText(fusionTextSize());
    Print("\n");
    for (int i : rows)
        for (int j : columns) {
            if (mirrored(rows, columns, i, j))
                continue;
            compF(text, i, j, vacuum);
            Print("%s", text);
        }
    return -parnum;
}

int COM_simple_fusion(void** params, int parnum) {
    const int J = intArgument(params, 0);
    if (parnum > 1) {
        const int j = intArgument(params, 1);
        Print("(%d) x (%d) = (%d)\n", J, j, simpleFusion(J, j));
        return -parnum;
    }
    Print("\n");
    for (int j = 0; j < primaries(); j++)
        Print("(%d) x (%d) = (%d)\n", J, j, simpleFusion(J, j));
    Print("\n");
    return -parnum;
}

// Every product and every coefficient, each pair taken with both orders at once: N_ij^k = N_ji^k.
int COM_fusion_benchmark(void**, int parnum) {
    const int N = primaries();
    char* text = modText(fusionTextSize());
    double start = CPUTime();
    for (int i = 0; i < N; i++)
        for (int j = i; j < N; j++) {
            compF(text, i, j, vacuum);
            if (j != i)
                compF(text, j, i, vacuum);
        }
    MemoryStatistics(0);
    Print("Fusion rules: %7.2f sec.\n", CPUTime() - start);
    start = CPUTime();
    std::vector<int> coefficients(N);
    for (int i = 0; i < N; i++)
        for (int j = i; j < N; j++)
            fusionProduct(i, j, 0, coefficients.data());
    Print("Fusion entries: %7.2f sec.\n", CPUTime() - start);
    MemoryStatistics(0);
    return -parnum;
}

int COM_S_sum(void** params, int parnum) {
    for (int i = 0; i < primaries(); i++) {
        double sumRe = 0.0, sumIm = 0.0;
        for (int l = 0; l < parnum; l++) {
            double re, im;
            compS(i, intArgument(params, l), &re, &im);
            sumRe += re;
            sumIm += im;
        }
        Print("%d: %20.10f           +%20.10f i\n", i, sumRe, sumIm);
    }
    return -parnum;
}

int COM_raws(void** params, int parnum) {
    const SpectrumData* sd = getCurrentSD();
    if (!sd)
        return 1;
    const int r = sd->rank;
    if (parnum != 2 * r + 1)
        Alert("COM_raws", 0, 100302, "incorrect number of parameters");
    // Without all 2r + 1 numbers there is no element to compute.
    if (parnum < 2 * r + 1)
        return 1;
    double factor;
    std::vector<double> labels(2 * r);
    if (convertToDouble(static_cast<const char*>(params[0]), &factor) != 0)
        return 1;
    for (int l = 0; l < 2 * r; l++)
        if (convertToDouble(static_cast<const char*>(params[l + 1]), &labels[l]) != 0)
            return 1;
    double re = 0.0, im = 0.0;
    DoubleSDirect(sd->type, r, sd->level, labels.data(), labels.data() + r, &re, &im, factor);
    Print("S: %15.7f %15.7f\n", re, im);
    return -parnum;
}

// ---- Weights, charges, orders, conjugates ----

int COM_get_weight(void** params, int parnum) {
    printRational(ratWeight(intArgument(params, 0)));
    return -parnum;
}

int COM_get_charge(void** params, int parnum) {
    printRational(simpleCurrentCharge(intArgument(params, 0), intArgument(params, 1)));
    return -parnum;
}

int COM_get_order(void** params, int parnum) {
    Print("Order %d\n", simpleCurrentOrder(intArgument(params, 0), intArgument(params, 1)));
    return -parnum;
}

int COM_get_conj(void** params, int parnum) {
    const int a = intArgument(params, 0);
    Print("Conjugate: %d\n", productMode() ? getTensorConjugate(getCurrentTensor(), a)
                                           : SM_getConjugate(getCurrentSD(), a));
    return -parnum;
}

// ---- Checks ----

int COM_check_sym(void**, int parnum) {
    bool symmetric = true;
    for (int i = 0; i < primaries(); i++)
        for (int j = i + 1; j < primaries(); j++) {
            double r1, i1, r2, i2;
            compS(i, j, &r1, &i1);
            compS(j, i, &r2, &i2);
            if (std::fabs(r1 - r2) <= 1e-7 && std::fabs(i1 - i2) <= 1e-7)
                continue;
            symmetric = false;
            Print("S not symmetric; \nS(%d,%d)=(%9.4f,%9.4f)\nS(%d,%d)=(%9.4f,%9.4f)\n", i, j, r1,
                  i1, j, i, r2, i2);
        }
    if (symmetric)
        Print("S is symmetric\n");
    return -parnum;
}

int COM_check_unit(void** params, int parnum) {
    const std::vector<int> rows = fieldsOf(params, parnum, 0);
    const std::vector<int> columns = fieldsOf(params, parnum, 1);
    bool failed = false;
    Print("\n");
    // The whole S is decided on its orbits; only a failure is looked for element by element.
    const int whole = parnum == 0 ? unitarityOnOrbits() : 0;
    if (whole < 0)
        return -parnum;
    if (whole == 1) {
        Print("Unitarity test OK\n");
        return -parnum;
    }
    const char* title = "Checking unitarity";
    startProgressInfo(title, static_cast<double>(rows.size()) * columns.size(), 1);
    for (int i : rows)
        for (int j : columns) {
            if (incrementProgressInfo()) {
                stopProgressInfo(title);
                return -parnum;
            }
            double re, im;
            if (Unitarity_check(nullptr, i, j, &re, &im))
                continue;
            failed = true;
            if (i == j)
                Print("Unitarity test failed: S(%d,k)S(%d,k)^*-1=(%15.7f,%15.7f)\n", i, i, re, im);
            else
                Print("Unitarity test failed: S(%d,k)S(%d,k)^*  =(%15.7f,%15.7f)\n", i, j, re, im);
        }
    stopProgressInfo(title);
    if (!failed)
        Print("Unitarity test OK\n");
    return -parnum;
}

int COM_check_simple(void** params, int parnum) {
    Print(simpleCurrentCheck(intArgument(params, 0)) ? "TRUE\n" : "FALSE\n");
    return -parnum;
}

// ---- Simple currents ----

int COM_browse_fixed(void** params, int parnum) {
    const int J = intArgument(params, 0);
    bool any = false;
    for (int a = 0; a < primaries(); a++) {
        if (simpleFusion(J, a) != a)
            continue;
        if (!any)
            Print("Fixed points of current %d\n", J);
        any = true;
        const rat* h = ratWeight(a);
        Print("%5d  Weight %3d/%d\n", a, h->num, h->den);
    }
    if (!any)
        Print("Current %d has no fixed points\n", J);
    return -parnum;
}

int COM_orbit(void** params, int parnum) {
    const int J = intArgument(params, 0), i = intArgument(params, 1);
    Print("(%d", i);
    // A current returns every field within its order; the bound guards a broken action.
    int x = simpleFusion(J, i);
    for (int steps = 0; x != i && x >= 0 && steps < CenterOrder(); steps++) {
        Print(",%d", x);
        x = simpleFusion(J, x);
    }
    Print(")\n");
    return -parnum;
}

int COM_grade(void** params, int parnum) {
    if (!singleBlock()) {
        Alert("COM_grade", 0, 100301, "Grade command only works in algebra mode");
        return 1;
    }
    const int rc = SM_grade(getCurrentSD(), intArgument(params, 0));
    return rc == -1 ? -parnum : rc;
}

const CommandDefinition modularDataCommands[] = {
    {"s", "(field lbl1)(field lbl2)", COM_s, "Compute matrix elements of S."},
    {"fusion", "(field i)(field j)(field k)", COM_fusion, "Compute fusion rules."},
    {"simple_fusion", "[current J](field j)", COM_simple_fusion,
     "Compute simple current fusion rules."},
    {"benchmark fusion", "", COM_fusion_benchmark,
     "Display time and memory allocation for full fusion computation."},
    {"compute S_sum", "(field lbl1)...(field lbln)", COM_S_sum,
     "Compute sum of indicated rows of S."},
    {"get order", "[current J][field a]", COM_get_order,
     "Get the order of the simple current \"J\" on \"a\"."},
    {"get weight", "[field a]", COM_get_weight, "Get the weight of field \"a\" in rational form."},
    {"get charge", "[current J][field a]", COM_get_charge, "Get the charge of \"a\" w.r.t. \"J\"."},
    {"get conjugate", "[field a]", COM_get_conj, "Get the conjugate of field \"a\"."},
    {"Compute S_analytic", "(factor)(lbl_1)...(lbl_2r)", COM_raws,
     "Compute the S-matrix formula (the alternating sum over the Weyl group)\n"
     "as an analytic function on weight space.\n"
     "\"factor\" is a real factor multiplying the exponents in the Weyl sum;\n"
     "1 gives the ordinary formula.\n"
     "The 2r labels are analytically continued Dynkin labels (r the rank),\n"
     "each any expression that evaluates to a real number."},
};

const CommandDefinition checkCommands[] = {
    {"grade", "[current J]", COM_grade,
     "Add an NSR-type grading according to\nthe charges of the current \"J\".\nThese charges "
     "must be (half)-integer."},
    {"orbit", "[current J][field i]", COM_orbit, "Compute J-orbit of i."},
    {"browse fixed_points", "[current J]", COM_browse_fixed,
     "Display the fixed points of current J."},
    {"check simple", "[field a]", COM_check_simple, "Check if \"a\" is a simple current."},
    {"check unitarity", "(field a)(field b)", COM_check_unit, "Check unitarity."},
    {"check orbits", "", COM_check_orb,
     "Check that the algebraic simple current action\n    agrees with the fusion rules."},
    {"check symmetry", "", COM_check_sym, "Check symmetry of S."},
    {"check conjugates", "", COM_check_conj, "Check $S^2=C$."},
};

} // namespace

int COM_check_orb(void**, int parnum) {
    if (CenterOrder() < 2 || (!singleBlock() && !productMode()))
        return -parnum;
    for (int J = 1; J < CenterOrder(); J++)
        for (int a = 0; a < primaries(); a++) {
            const int b = algebraicImage(J, a);
            // An action that found no image (it has said why) is a problem by itself; -1 is no
            // field to take a fusion coefficient with.
            if (b < 0 || fusion(J, a, b, 0) != 1)
                Print("Fusion problem: (%d) x (%d) != (%d)\n", J, a, b);
        }
    return -parnum;
}

int COM_check_conj(void**, int parnum) {
    // The type is that of the last block even while a product is current.
    if (singleBlock() && (getCFTtype() == 9 || getCFTtype() == 10)) {
        Alert("COM_check_conj", 0, 100201, "This test is trivial");
        return -parnum;
    }
    for (int a = 0; a < primaries(); a++) {
        const int stored = getConjugate(a);
        const int fromS = getGenericConjugate(a);
        if (stored != fromS)
            Alert("COM_check_conj", 1, 212302, "Conjugates differ for field %d (%d != %d)", a,
                  stored, fromS);
    }
    return -parnum;
}

void installModularCommands() {
    addCommandFamily(CommandFamily::ModularData, modularDataCommands);
    addCommandFamily(CommandFamily::Checks, checkCommands);
}
