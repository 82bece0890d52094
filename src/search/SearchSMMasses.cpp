// Masses of U(1) combinations of the chain's stacks: the mass of the hypercharge, the hypercharge
// coefficients that keep it massless, and the further massless U(1)s with integer generators.
// Couplings are Q_m = sum_i k_i (R(a_i, m) - R(a_i^c, m)) over the used Ishibashi labels m.
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/EquationCollections.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "search/SearchSMGeneric.h"
#include "string/TadpoleLinear.h"

#include <cmath>
#include <vector>

namespace {

constexpr double ZeroTolerance = 1e-7;

// R(x, m) - R(x^c, m) of stack i at used label k.
std::complex<double> couplingDifference(GenericSearchContext* ctx, int i, int k) {
    const int x = SM.boundaries[2 * i];
    const int xc = SM.boundaries[2 * i + 1];
    if (x < 0)
        return 0.0;
    return ctx->reflection(x, k) - ctx->reflection(xc, k);
}

int collectDouble(int n, double* row, int mode) {
    int* sol = nullptr;
    return CollectDoubleEquations(n, row, &sol, mode, nullptr, nullptr, nullptr);
}

void writeFramed(const char* frame, const char* text) {
    std::fprintf(ERROR_FILE, "%s%s", frame, text);
}

constexpr const char* Frame42 = "\n\n==========================================\n";

VectorSpace Generators = declareVectorSpace("Extra U(1) generators", 8);

} // namespace

double computeGenericAbelianMasses() {
    GenericSearchContext* ctx = getGenericSearchContext();
    const int labels = ctx->usedIshibashiCount();
    double S = 0.0;
    for (int k = 0; k < labels; k++) {
        std::complex<double> Q = 0.0;
        for (int i = 0; i < SM.Nbnd; i++)
            Q += static_cast<double>(SM.coefs[i]) * SM.mults[i] * couplingDifference(ctx, i, k);
        S += std::real(std::polar(1.0, ctx->ishibashiPhase(k)) * Q * Q);
        if (std::fabs(S) >= ZeroTolerance)
            break;
    }
    return -S;
}

int solveGenericAbelianMasses(VectorSpace* Coefs, VectorSpace* Coefs2, int* unknown) {
    GenericSearchContext* ctx = getGenericSearchContext();
    int n = 0;
    for (int i = 0; i < 4; i++)
        n += unknown[i] != 0;
    double start[1] = {0};
    CollectDoubleEquations(n, start, nullptr, 0, nullptr, nullptr, nullptr);
    double v[5];
    for (int r = 0; r < rowCount(Coefs); r++) {
        const int* row = rowOf(Coefs, r);
        for (int i = 0; i < 5; i++)
            v[i] = row[i];
        if (!solveForUnknownCoefs(unknown, v, SM.coefs, SM.Norm, n))
            return 0;
    }
    for (int k = 0; k < ctx->usedIshibashiCount(); k++) {
        for (int part = 0; part < 2; part++) {
            for (int i = 0; i < 4; i++) {
                const std::complex<double> d =
                    i < SM.Nbnd ? couplingDifference(ctx, i, k) * static_cast<double>(SM.mults[i])
                                : 0.0;
                v[i] = part == 0 ? d.real() : d.imag();
            }
            v[4] = 0;
            if (!solveForUnknownCoefs(unknown, v, SM.coefs, SM.Norm, n))
                return 0;
        }
    }
    std::vector<double> solution(static_cast<std::size_t>(n + 1), 0.0);
    int* integerRows = nullptr;
    const int r =
        CollectDoubleEquations(n, solution.data(), &integerRows, 4, nullptr, nullptr, nullptr);
    if (r == -2) {
        writeFramed(Frame42, "Nonconvertible equations");
        printCPD(ERROR_FILE, -1, 1);
        return -3;
    }
    if (r >= 10) {
        const int neq = r - 10;
        initEquationCollection(Coefs2, 4, 7);
        int row[6];
        for (int i = 0; i < 4; i++)
            if (!unknown[i] && i < SM.Nbnd) {
                for (int& e : row)
                    e = 0;
                row[i] = SM.Norm;
                row[4] = -SM.coefs[i];
                CollectIntegerEquations(Coefs2, row);
            }
        for (int e = 0; e < neq; e++) {
            const int* src = integerRows + e * (n + 1);
            for (int& x : row)
                x = 0;
            int j = 0;
            for (int i = 0; i < 4; i++)
                if (unknown[i])
                    row[i] = src[j++];
            row[4] = src[n];
            CollectIntegerEquations(Coefs2, row);
        }
        return -2;
    }
    int m = 1;
    for (int j = 0; j < n; j++) {
        int found = 0;
        for (int k = 1; k <= 1024 && !found; k++) {
            const double x = static_cast<double>(m) * k * solution[static_cast<std::size_t>(j)];
            if (std::fabs(x - std::round(x)) < ZeroTolerance)
                found = k;
        }
        if (!found) {
            std::fprintf(ERROR_FILE, "%sUnconvertible non-integer: %15.7f\n", Frame42,
                         solution[static_cast<std::size_t>(j)]);
            printCPD(ERROR_FILE, -1, 1);
            return -3;
        }
        m *= found;
    }
    SM.Norm *= m;
    for (int& c : SM.coefs)
        c *= m;
    int j = 0;
    for (int i = 0; i < 4; i++) {
        if (!unknown[i])
            continue;
        const double x = SM.Norm * solution[static_cast<std::size_t>(j++)];
        if (std::fabs(x - std::round(x)) > ZeroTolerance) {
            Alert("solveGenericAbelianMasses", 0, 212404, "Integer conversion problem");
            return 0;
        }
        SM.coefs[i] = static_cast<int>(std::lround(x));
        unknown[i] = 0;
    }
    if (computeGenericAbelianMasses() > 1e-8) {
        printCPD(stdout, -1, 0);
        printVec(4, SM.coefs, "SM.coefs");
        printVec(4, unknown, "unknown");
        PrintDoubleVec(n, solution.data(), "solution");
        for (int r2 = 0; r2 < rowCount(Coefs); r2++)
            printVec(5, rowOf(Coefs, r2), "-----Eq");
        Alert("solveGenericAbelianMasses", 0, 212404, "Solution yields non-zero mass");
        return 0;
    }
    return 1;
}

int countMasslessAbelianVectors(int* Sol) {
    GenericSearchContext* ctx = getGenericSearchContext();
    for (int i = 0; i < 8; i++)
        Sol[i] = 0;
    int unitary[4];
    int n = 0;
    for (int i = 0; i < SM.Nbnd; i++)
        if (SM.types[i] == 0)
            unitary[n++] = i;
    if (n == 0)
        return 0;
    double start[1] = {0};
    CollectDoubleEquations(n, start, nullptr, 0, nullptr, nullptr, nullptr);
    std::vector<double> row(static_cast<std::size_t>(n + 1), 0.0);
    for (int j = 0; j < n; j++)
        if (SM.coefs[unitary[j]] != 0) {
            row[static_cast<std::size_t>(j)] = 1;
            break;
        }
    if (collectDouble(n, row.data(), 5) == -1)
        return 0;
    for (int k = 0; k < ctx->usedIshibashiCount(); k++)
        for (int part = 0; part < 2; part++) {
            for (int j = 0; j < n; j++) {
                const std::complex<double> d = couplingDifference(ctx, unitary[j], k) *
                                               static_cast<double>(SM.mults[unitary[j]]);
                row[static_cast<std::size_t>(j)] = part == 0 ? d.real() : d.imag();
            }
            row[static_cast<std::size_t>(n)] = 0;
            if (collectDouble(n, row.data(), 5) == -1)
                return 0;
        }
    const int e = collectDouble(n, nullptr, 6);
    if (e >= n)
        return 0;
    int* r = nullptr;
    const int neq = CollectDoubleEquations(n, nullptr, &r, 7, nullptr, nullptr, nullptr);
    if (neq < 0) {
        std::fprintf(ERROR_FILE, "\n\n=================================\n"
                                 "Equations for massless Y non-integer\n");
        printCPD(ERROR_FILE, -1, 1);
        return n - e;
    }
    int g1[4] = {}, g2[4] = {};
    const int* r2 = neq > 1 ? r + (n + 1) : nullptr;
    const bool c0 = SM.coefs[0] != 0, c1 = SM.coefs[1] != 0;
    bool done = true;
    if (n == 2 && e == 1 && (c0 || c1)) {
        g1[c0 ? 1 : 0] = 1;
    } else if (n == 3 && e == 1 && (c0 || c1)) {
        g1[c0 ? 1 : 0] = 1;
        g2[2] = 1;
    } else if (n == 3 && e == 2 && r2 && (c0 || c1)) {
        if (c0) {
            g1[1] = r2[2];
            g1[2] = -r2[1];
        } else {
            g1[0] = r2[2];
            g1[2] = -r2[0];
        }
    } else if (n == 4 && e == 2 && r2 && (c0 || c1)) {
        const int f = c0 ? 1 : 0;
        g1[f] = r2[2];
        g1[2] = -r2[f == 1 ? 1 : 0];
        g2[f] = r2[3];
        g2[3] = -r2[f == 1 ? 1 : 0];
    } else if (n == 4 && e == 3) {
        initEquationCollection(&Generators, 4, 6);
        int eq[6];
        for (int q = 0; q < neq; q++) {
            for (int i = 0; i < 5; i++)
                eq[i] = r[q * 5 + i];
            CollectIntegerEquations(&Generators, eq);
        }
        bool found = false;
        for (int k = 0; k < 4 && !found; k++) {
            for (int& x : eq)
                x = 0;
            eq[k] = 1;
            eq[4] = -1;
            CollectIntegerEquations(&Generators, eq);
            if (rowCount(&Generators) == 4) {
                SolveIntegerEquations(&Generators, g1);
                found = true;
            }
        }
        if (!found)
            Alert("countMasslessAbelianVectors", 0, 212404, "No extra U(1) found");
    } else {
        done = false;
    }
    if (!done) {
        std::fprintf(ERROR_FILE,
                     "\n===================================================\n"
                     "U(1) analysis not built in for this case (count=%d, neq=%d)\n",
                     n, e);
        printCPD(ERROR_FILE, -1, 1);
    }
    NormalizeIntegerVector(n, g1);
    NormalizeIntegerVector(n, g2);
    for (int j = 0; j < n; j++) {
        Sol[unitary[j]] = g1[j];
        Sol[4 + unitary[j]] = g2[j];
    }
    return n - e;
}
