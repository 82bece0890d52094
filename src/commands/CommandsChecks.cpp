// P, P-fusion, Frobenius-Schur indicators, fixed-point fusion and indices of the current theory,
// and the checks of its modular data: unitarity and (ST)^3 = S^2, the trace identities, resolved
// fusion, the eta relation and the Gauss-sum formula of P.
#include "commands/CommandsChecks.h"

#include "commands/Commands.h"
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "lie/SmatrixReal.h"
#include "lie/Tarvik.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "store/Storemanager.h"

#include <cmath>
#include <cstdio>
#include <vector>

using namespace commands;

namespace {

// ---- The Gauss-sum formula of P ----

// sum over m in {0,1}^r of sign(x) S(a, (b - 1 + h x)/2) / 2^(r/2), x = G m.
void gaussSum(SpectrumData* sd, int i, int j, double* sumR, double* sumI) {
    const int type = sd->type, r = sd->rank, level = sd->level;
    const int h = level + dualCoxeter(type, r);
    const int* ai = SM_getRep(sd, i);
    const int* bj = SM_getRep(sd, j);
    std::vector<double> a(ai, ai + r), b(bj, bj + r), x(r), y(r);
    std::vector<int> m(r), xi(r), lo(r, 0), hi(r, 2);
    const double norm = std::pow(2.0, r / 2.0);
    *sumR = *sumI = 0.0;
    for (int done = incrementInit(r, lo.data(), hi.data(), m.data()); !done;
         done = increment(r, lo.data(), hi.data(), m.data())) {
        CartanMultiply(type, r, m.data(), xi.data());
        for (int c = 0; c < r; c++) {
            x[c] = xi[c];
            y[c] = (b[c] - 1.0 + h * x[c]) / 2.0;
        }
        double re = 0.0, im = 0.0;
        DoubleSDirect(type, r, level, a.data(), y.data(), &re, &im, 1.0);
        const int sign = getPmatrixSign(type, r, x.data(), b.data(), h);
        *sumR += sign * re / norm;
        *sumI += sign * im / norm;
    }
}

} // namespace

int getPmatrixSign(int type, int rank, const double* a, const double* b, int c) {
    std::vector<double> rho(b, b + rank);
    for (double& v : rho)
        v += 1.0;
    const double exponent =
        DoubleDotProd(type, rank, a, rho.data()) + c * DoubleDotProd(type, rank, a, a) / 2.0;
    return DoubleToInt(exponent) % 2 == 0 ? 1 : -1;
}

// ============================================================ P and P-fusion

int COM_pmatrix(void** params, int parnum) {
    const std::vector<int> rows = fieldsOf(params, parnum, 0);
    const std::vector<int> columns = fieldsOf(params, parnum, 1);
    char* text = modText(1000);
    Print("\n");
    for (int i : rows)
        for (int j : columns) {
            // P is symmetric.
            if (mirrored(rows, columns, i, j))
                continue;
            displayP(text, i, j);
            Print("%s", text);
        }
    writePOrbits();
    Print("\n");
    return -parnum;
}

int COM_pfusion(void** params, int parnum) {
    if (parnum == 3) {
        const int i = intArgument(params, 0), j = intArgument(params, 1),
                  k = intArgument(params, 2);
        Print("\nY_%d_%d^%d=%d\n\n", i, j, k, Pfusion(i, j, k));
        return -3;
    }
    const std::vector<int> rows = fieldsOf(params, parnum, 0);
    const std::vector<int> columns = fieldsOf(params, parnum, 1);
    // Room for every term, " + n x (k) " with ten-digit numbers, and the line breaks.
    char* text = modText(getTotalPrimaries() * 40 + 100);
    Print("\n");
    for (int i : rows)
        for (int j : columns) {
            compFp(text, i, j, 0);
            Print("%s", text);
        }
    return -parnum;
}

// ============================================================ Indicators

int COM_get_Schur(void** params, int parnum) {
    if (parnum > 0) {
        Print("%4d\n", getSchurIndex(intArgument(params, 0)));
        return -parnum;
    }
    initSMATRIX();
    Print("Field  Indicator\n");
    for (int a = 0; a < getTotalPrimaries(); a++)
        Print("%4d %4d \n", a, getSchurIndex(a));
    return -parnum;
}

int COM_get_GenSchur(void** params, int parnum) {
    computeGeneralizedSchurIndex(intArgument(params, 0), intArgument(params, 1));
    return -parnum;
}

// ============================================================ Checks

int COM_check_fusion(void** params, int parnum) {
    if (!currentBlock()) {
        Alert("COM_check_fusion", 0, 100302, "This command works only in single algebra mode");
        return 1;
    }
    CheckFusion(intArgument(params, 0), intArgument(params, 1), intArgument(params, 2));
    return -parnum;
}

namespace {

// A report of the checks in the work area of 10000 characters, printed whole.
template <class Check> int printReport(int parnum, Check check) {
    char* text = modText(10000);
    *check(text) = '\0';
    Print("%s\n", text);
    return -parnum;
}

} // namespace

int COM_check_mod(void**, int parnum) {
    return printReport(parnum, [](char* text) { return STcheck(text, 10000); });
}

int COM_check_hopf(void**, int parnum) {
    return printReport(parnum, Hopfcheck);
}

int COM_check_pmat(void**, int parnum) {
    const int N = getTotalPrimaries();
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++) {
            double re, im;
            compP(i, j, &re, &im);
        }
    return -parnum;
}

int COM_checkEtaRelation(void**, int parnum) {
    SpectrumData* sd = currentBlock();
    if (!sd) {
        Alert("COM_checkEtaRelation", 0, 112311, "Feature not available for tensor products");
        return 1;
    }
    const int currents = SM_getCenter(sd);
    int* stabilizer = nullptr;
    for (int f = 0; f < sd->Nprimaries && currents >= 2; f++) {
        if (SM_MakeStabilizer(sd, f, &stabilizer) < 2)
            continue;
        for (int J = 1; J < currents; J++) {
            if (SM_getFCFTlbl(sd, J) <= 0 || SM_getFPlabel(sd, J, f) < 0)
                continue;
            rat x = *SM_getEta(sd, f, J), hJ{0, 1};
            addRat(&x, &x, &x);
            SM_getRatWeight(sd, J, &hJ);
            addRat(&x, &hJ, &x);
            simplifyRat(&x);
            if (x.den != 1)
                Alert("COM_checkEtaRelation", 0, 212404, "Fractional number");
            const int y0 = Pfusion(f, 0, 0);
            // A complex fixed point has Frobenius-Schur indicator 0: nothing to compare, not an
            // inconsistency.
            if (y0 == 0) {
                Alert("COM_checkEtaRelation", 1, 100201, "Zero FS");
                continue;
            }
            const int sign = 1 - 2 * mod(x.num / x.den, 2);
            std::printf("%d %d: %d %d\n", f, J, sign, Pfusion(f, 0, J) / y0);
        }
    }
    std::fflush(stdout);
    return -parnum;
}

int COM_brix(void** params, int parnum) {
    SpectrumData* sd = currentBlock();
    // The formula needs the analytic S, which E7 and E8 lack.
    if (!sd || sd->type < 1 || sd->type > 5 || (sd->type == 5 && sd->rank > 6)) {
        Alert("COM_brix", 0, 112311, "This command is not available for this algebra");
        return 1;
    }
    const int i = intArgument(params, 0), j = intArgument(params, 1);
    double sumR, sumI, pR, pI;
    gaussSum(sd, i, j, &sumR, &sumI);
    compP(i, j, &pR, &pI);
    if (!CZeroCheck(pR, pI)) {
        double qR, qI;
        complexRatio(sumR, sumI, pR, pI, &qR, &qI);
        if (!CZeroCheck(qR - 1.0, qI))
            std::printf("########  P(%d,%d)=(%15.7f,%15.7f), Sum=(%15.7f,%15.7f)\n", i, j, pR, pI,
                        sumR, sumI);
        else
            std::printf("P(%d,%d)   OK \n", i, j);
    } else if (!CZeroCheck(sumR, sumI)) {
        std::printf("########  P(%d,%d)=0, Sum=(%15.7f,%15.7f) \n", i, j, sumR, sumI);
    } else {
        std::printf("P(%d,%d)   OK \n", i, j);
    }
    std::fflush(stdout);
    return -parnum;
}

// ============================================================ Indices and fixed-point fusion

int COM_indices(void** params, int parnum) {
    if (parnum > 0)
        computeIndicesSingle(intArgument(params, 0), nullptr);
    else
        computeIndices();
    return -parnum;
}

int COM_fp_fusion(void** params, int parnum) {
    SpectrumData* sd = getCurrentSD();
    const int J = intArgument(params, 0), i = intArgument(params, 1), g = intArgument(params, 2),
              h = intArgument(params, 3);
    const int n = SM_getFCFTlbl(sd, J);
    if (n == -1) {
        Alert("COM_fp_fusion", 0, 100302, "Current %d has no fixed points", J);
        return 1;
    }
    if (n == 0) {
        Print("   N(%d,%d,%d)=%d\n", i, g, h, fusion(i, g, h, 0));
        return -parnum;
    }
    const int lg = SM_getFPlabel(sd, J, g);
    if (lg < 0) {
        Alert("COM_fp_fusion", 1, 100302, "Current %d does not fix field %d\n", J, g);
        return 1;
    }
    const int lh = SM_getFPlabel(sd, J, h);
    if (lh < 0) {
        Alert("COM_fp_fusion", 2, 100302, "Current %d does not fix field %d\n", J, h);
        return 1;
    }
    Print("Nf_%d(%d,%d,%d)=%d\n", J, i, g, h, getFpFusion(n, i, lg, lh));
    return -parnum;
}

namespace {

const CommandDefinition modularDataCommands[] = {
    {"pmatrix", "(field lbl1)(field lbl2)", COM_pmatrix, "Compute matrix elements of P."},
    {"pfusion", "(field i)(field j)(field k)", COM_pfusion, "Compute P-fusion rules."},
    {"check fusion", "[field i][field j][field k]", COM_check_fusion,
     "Check integrality of the naive stabilizer-based fusion coefficients."},
    {"get schur", "(field a)", COM_get_Schur,
     "Compute Frobenius-Schur indicator of field \"a\".\nWithout arguments: all fields."},
    {"get g_schur", "[field p][field q]", COM_get_GenSchur,
     "Compute generalized Frobenius-Schur indicator of fields \"p\" and \"q\"."},
};

const CommandDefinition checkCommands[] = {
    {"check pmat", "", COM_check_pmat, "Check pmatrix efficiency"},
    {"check modular", "", COM_check_mod, "Check unitarity and $ST^3=S^2$."},
    {"check hopf", "", COM_check_hopf, "Check rational Hopf algebra relations."},
    {"check eta", "", COM_checkEtaRelation, "Check $Y(f,0,i)/Y(f,0,0)=exp(i @pi h_J) @eta(J)$."},
    {"Check P-Gauss", "[field i][field j]", COM_brix,
     "Check gauss-sum P-matrix formula for labels \"i\" and \"j\"."},
};

const CommandDefinition spectrumCommands[] = {
    {"indices", "(field lbl)", COM_indices, "Compute indices (for rep. \"lbl\")."},
};

const CommandDefinition lieCommands[] = {
    {"get fp_fusion", "[current J][field i][field g][field h]", COM_fp_fusion,
     "Compute fixed point fusion rules\nThis command computes $@sum_n S_{in} O^J_{gn} "
     "O^J_{hn}/S_{0n}$\nwhere \"$g$\" and \"$h$\" are fixed points of \"$J$\" and \nthe sum is "
     "over all fixed points. The matrix $O^J$ is the\n matrix $S$ of the orbit lie algebra, "
     "which differs from the\nfixed point resolution matrix $S^J$ by a phase."},
};

} // namespace

void installCheckCommands() {
    addCommandFamily(CommandFamily::ModularData, modularDataCommands);
    addCommandFamily(CommandFamily::Checks, checkCommands);
    addCommandFamily(CommandFamily::Spectrum, spectrumCommands);
    addCommandFamily(CommandFamily::Lie, lieCommands);
}
