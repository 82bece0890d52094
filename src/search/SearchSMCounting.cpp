// Quark and lepton counting of a chain with its hypercharge: the traceless generators of the c
// and d stacks, the charge of every chiral sector, the classification into quark doublets,
// anti-quarks, lepton doublets and singlets, and the family test; also the enumeration of
// admissible hypercharges, the merging of identical stacks and the check of a particle table.
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/EquationCollections.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "search/SearchSMGeneric.h"

#include <cstdlib>
#include <vector>

namespace {

// The sector being classified does not fit the standard model.
constexpr int Reject = 0;

int addQuarkDoublet(int m, int y) {
    if (m == 0)
        return 1;
    if (y * 6 != SM.Norm)
        return Reject;
    SM.quark_doublets[m > 0 ? 0 : 1] += std::abs(m);
    return 1;
}

int addAntiQuark(int m, int y) {
    if (m == 0)
        return 1;
    int kind;
    if (3 * y == 2 * SM.Norm)
        kind = 0;
    else if (3 * y == -SM.Norm)
        kind = 1;
    else
        return Reject;
    SM.anti_quarks[m < 0 ? kind : kind + 2] += std::abs(m);
    return 1;
}

int addLeptonDoublet(int m, int y) {
    if (m == 0)
        return 1;
    if (m < 0) {
        m = -m;
        y = -y;
    }
    if (2 * y == SM.Norm)
        SM.lepton_doublets[1] += m;
    else if (2 * y == -SM.Norm)
        SM.lepton_doublets[0] += m;
    else
        return Reject;
    return 1;
}

int addSinglet(int m, int y) {
    if (m == 0)
        return 1;
    if (y % SM.Norm != 0)
        return Reject;
    if (m < 0) {
        m = -m;
        y = -y;
    }
    switch (y / SM.Norm) {
    case 1:
        SM.singlets[0] += m;
        return 1;
    case 0:
        SM.singlets[1] += m;
        return 1;
    case -1:
        SM.singlets[2] += m;
        return 1;
    default:
        return Reject;
    }
}

// The pair indices of (a,b), (a,c), (a,d), (b,c), (b,d), (c,d).
enum Pair { AB, AC, AD, BC, BD, CD };

// The sectors of stack x (2 = c, 3 = d) with the tensors of stack x; multiplicity per block, the
// eigenvalues and the stack's coefficient.
struct Blocks {
    int m[2];
    int e[2];
};

Blocks blocksOf(int x) {
    if (x == 2)
        return {{SM.T2_mult[0], SM.T2_mult[1]}, {SM.T2_eig[0], SM.T2_eig[1]}};
    if (SM.Nbnd < 4)
        return {{0, 0}, {0, 0}};
    return {{SM.T3_mult[0], SM.T3_mult[1]}, {SM.T3_eig[0], SM.T3_eig[1]}};
}

int tensorSinglets(int x, const Blocks& B) {
    const int q = SM.coefs[x];
    for (int k = 0; k < 2; k++)
        if (!addSinglet(B.m[k] * (B.m[k] - 1) / 2 * SM.A[x], 2 * (q + B.e[k])))
            return Reject;
    if (!addSinglet(B.m[0] * B.m[1] * SM.A[x], 2 * q + B.e[0] + B.e[1]))
        return Reject;
    for (int k = 0; k < 2; k++)
        if (!addSinglet(B.m[k] * (B.m[k] + 1) / 2 * SM.S[x], 2 * (q + B.e[k])))
            return Reject;
    return addSinglet(B.m[0] * B.m[1] * SM.S[x], 2 * q + B.e[0] + B.e[1]);
}

int netUp() {
    return SM.anti_quarks[0] - SM.anti_quarks[2];
}
int netDown() {
    return SM.anti_quarks[1] - SM.anti_quarks[3];
}

void writeSeparator(const char* text) {
    std::fprintf(ERROR_FILE, "\n\n=============================================\n%s", text);
}

// 1 go on, 0 reject, -1 the search is stopped.
int degenerateCDTest(int cUp, int cDown, int dUp, int dDown) {
    writeSeparator("Degenerate c, d brane\n");
    printCPD(ERROR_FILE, -1, 1);
    if (cUp < dUp) {
        std::fprintf(ERROR_FILE, "Rejected (2001)\n");
        return 0;
    }
    if (cUp == dUp) {
        if (cDown < dDown) {
            std::fprintf(ERROR_FILE, "Rejected (2002)\n");
            return 0;
        }
        if (cDown == dDown) {
            Alert("countQuarksAndLeptons", 0, 100304, "Cannot distinguish c and d brane");
            genericSearchRun().stopped = 1;
            return -1;
        }
    }
    std::fprintf(ERROR_FILE, "accepted\n");
    return 1;
}

int clearCounts() {
    SM.quark_doublets[0] = SM.quark_doublets[1] = 0;
    for (int& v : SM.anti_quarks)
        v = 0;
    SM.lepton_doublets[0] = SM.lepton_doublets[1] = 0;
    for (int& v : SM.singlets)
        v = 0;
    return 1;
}

int classifySectors() {
    const int* q = SM.coefs;
    const int* G = SM.Gamma;
    const int* D = SM.Delta;
    const int F = genericSearchRun().FamiliesRequired;
    const Blocks c = blocksOf(2);
    const Blocks d = blocksOf(3);
    clearCounts();
    if (!addQuarkDoublet(G[AB], q[0] + q[1]) || !addQuarkDoublet(D[AB], q[0] - q[1]))
        return Reject;
    if (SM.quark_doublets[0] - SM.quark_doublets[1] != F)
        return Reject;
    if (!addAntiQuark(-SM.A[0], -2 * q[0]))
        return Reject;
    const int up0 = netUp(), down0 = netDown();
    for (int k = 0; k < 2; k++)
        if (!addAntiQuark(c.m[k] * G[AC], q[0] + q[2] + c.e[k]) ||
            !addAntiQuark(c.m[k] * D[AC], q[0] - q[2] - c.e[k]))
            return Reject;
    const int up1 = netUp(), down1 = netDown();
    for (int l = 0; l < 2; l++)
        if (!addAntiQuark(d.m[l] * G[AD], q[0] + q[3] + d.e[l]) ||
            !addAntiQuark(d.m[l] * D[AD], q[0] - q[3] - d.e[l]))
            return Reject;
    if (netUp() != F || netDown() != F)
        return Reject;
    if (SM.equiv0 == 1) {
        const int r = degenerateCDTest(up1 - up0, down1 - down0, netUp() - up1, netDown() - down1);
        if (r < 1)
            return Reject;
    }
    for (int k = 0; k < 2; k++)
        if (!addLeptonDoublet(c.m[k] * G[BC], q[1] + q[2] + c.e[k]) ||
            !addLeptonDoublet(c.m[k] * D[BC], q[1] - q[2] - c.e[k]))
            return Reject;
    for (int l = 0; l < 2; l++)
        if (!addLeptonDoublet(d.m[l] * G[BD], q[1] + q[3] + d.e[l]) ||
            !addLeptonDoublet(d.m[l] * D[BD], q[1] - q[3] - d.e[l]))
            return Reject;
    if (SM.lepton_doublets[0] - SM.lepton_doublets[1] != F)
        return Reject;
    if (!addSinglet(SM.A[1], 2 * q[1]))
        return Reject;
    for (int k = 0; k < 2; k++)
        for (int l = 0; l < 2; l++)
            if (!addSinglet(c.m[k] * G[CD] * d.m[l], q[2] + q[3] + c.e[k] + d.e[l]) ||
                !addSinglet(c.m[k] * D[CD] * d.m[l], q[2] - q[3] + c.e[k] - d.e[l]))
                return Reject;
    if (!tensorSinglets(2, c))
        return Reject;
    if (SM.Nbnd == 4 && !tensorSinglets(3, d))
        return Reject;
    return SM.singlets[0] - SM.singlets[2] == F;
}

// Sets the d generator with eigenvalues (f0, f1) and multiplicities (n0, n1) in normal form.
void setDGenerator(int f0, int f1, int n0, int n1) {
    if (n0 == 0) {
        f0 = f1 = 0;
        n0 = n1;
        n1 = 0;
    } else if (n1 == 0) {
        f1 = 0;
    }
    SM.T3_eig[0] = f0;
    SM.T3_eig[1] = f1;
    SM.T3_mult[0] = n0;
    SM.T3_mult[1] = n1;
    SM.T3_determined = 1;
}

// The tests of the generator determination on the eigenvalues (e0, e1) of a stack with N and
// group type t.
bool admissibleEigenvalues(int e0, int e1, int N, int type) {
    if (e0 < 0 || e1 > 0 || (N * e0) % SM.Norm != 0 || (N * e1) % SM.Norm != 0)
        return false;
    return type == 0 || e0 + e1 == 0 || e0 * e1 == 0;
}

// One d generator from a c-d sector of charge s: eigenvalues (Norm - s, -s).
int tryDGeneratorFromCharge(int s) {
    const int N = SM.mults[3];
    const int e0 = SM.Norm - s, e1 = -s;
    if (!admissibleEigenvalues(e0, e1, N, SM.types[3]))
        return 0;
    setDGenerator(e0, e1, N * s / SM.Norm, N * (SM.Norm - s) / SM.Norm);
    return countQuarksAndLeptons(1);
}

int dGeneratorFromCD(int sign) {
    int first = -1;
    for (int k = 0; k < 2 && first < 0; k++)
        if (SM.T2_mult[k] != 0)
            first = k;
    const auto charge = [&](int k) { return SM.coefs[2] + sign * SM.coefs[3] + SM.T2_eig[k]; };
    const int r1 = first >= 0 ? tryDGeneratorFromCharge(charge(first)) : 0;
    if (genericSearchRun().stopped)
        return 0;
    const int r2 = tryDGeneratorFromCharge(charge(1));
    return r2 == 1 ? 1 : r1;
}

// The six trial generators of a d stack that no intersection fixes; charges are doubled first.
int dGeneratorTrials() {
    SM.Norm *= 2;
    for (int& v : SM.coefs)
        v *= 2;
    for (int k = 0; k < 2; k++) {
        SM.T2_eig[k] *= 2;
        SM.T3_eig[k] *= 2;
    }
    const int D = SM.Norm, y = SM.coefs[3], N = SM.mults[3];
    int accepted = 0;
    const auto trial = [&](int n0, int n1, int f0, int f1) {
        if (genericSearchRun().stopped)
            return;
        setDGenerator(f0, f1, n0, n1);
        if (countQuarksAndLeptons(1) == 1)
            accepted = 1;
    };
    if (y == 0 || D == 2 * y || D == -2 * y)
        trial(N, 0, 0, -D);
    const long long p = static_cast<long long>(2 * y + D) * N;
    const long long m = static_cast<long long>(D - 2 * y) * N;
    if (p > 0 && m > 0 && p % (2 * D) == 0 && m % (2 * D) == 0)
        trial(static_cast<int>(p / (2 * D)), static_cast<int>(m / (2 * D)), (D - 2 * y) / 2,
              (2 * y + D) / 2);
    const bool exactHalf = y != 0 && (2 * D) % (2 * y) == 0 && (2 * D) / (2 * y) == N;
    if (exactHalf)
        trial(1, N - 1, D - y, y);
    if (2 * y + D != 0 && (4 * D) % (2 * y + D) == 0 && (4 * D) / (2 * y + D) == N)
        trial(1, N - 1, 3 * D / 2 - y, D / 2 + y);
    if (exactHalf)
        trial(N - 1, 1, -y, y + D);
    if (D != 2 * y && (4 * D) % (D - 2 * y) == 0 && (4 * D) / (D - 2 * y) == N)
        trial(N - 1, 1, D / 2 - y, 3 * D / 2 + y);
    return accepted;
}

// The image rule of a stack under its coefficient: 0 reject, 1 go on.
int imageRule(int equiv, int q, int* equivY) {
    *equivY = equiv;
    if (equiv == 1) {
        if (q > 0)
            return 0;
        if (q < 0)
            *equivY = 0;
    }
    return 1;
}

} // namespace

int countQuarksAndLeptons(int prt) {
    if (genericSearchRun().stopped || !classifySectors())
        return 0;
    if (prt == 1)
        storeSMdata();
    return 1;
}

int computeQuarkAndLeptonCharges() {
    if (!imageRule(SM.equiv1, SM.coefs[2], &SM.equiv1Y))
        return 0;
    SM.equiv2Y = 0;
    if (SM.Nbnd == 4 && !imageRule(SM.equiv2, SM.coefs[3], &SM.equiv2Y))
        return 0;
    SM.T2_determined = SM.T3_determined = 0;
    if (!getTracelessGenerator(2, 1, 3, &SM.T2_determined, SM.T2_eig, SM.T2_mult))
        return 0;
    if (!getTracelessGenerator(3, 2, 4, &SM.T3_determined, SM.T3_eig, SM.T3_mult))
        return 0;
    if (!SM.T2_determined) {
        writeSeparator("T_c not determined\n");
        printCPD(ERROR_FILE, -1, 1);
        return 0;
    }
    if (SM.Nbnd == 4 && !SM.T3_determined) {
        if (SM.Gamma[CD] != 0)
            return dGeneratorFromCD(1);
        if (SM.Delta[CD] != 0)
            return dGeneratorFromCD(-1);
        return dGeneratorTrials();
    }
    return countQuarksAndLeptons(1);
}

// ---------------------------------------------------------------- undetermined hypercharge

namespace {

VectorSpace Inversion = declareVectorSpace("Hypercharge inversion", 20);
VectorSpace Trial = declareVectorSpace("Hypercharge trial", 8);

// The charge forms of the chain's sectors as inversion rows: the form over x, then the tag of
// its column.
void collectChargeForms() {
    const int n = SM.Nbnd;
    initInversionCollection(&Inversion, n, 16, 20);
    int row[4 + 16 + 1];
    const auto add = [&](int column, int i, int j, int sign) {
        for (int& v : row)
            v = 0;
        row[i] += i == j ? 2 : 1;
        if (i != j)
            row[j] += sign;
        row[n + column] = 1;
        CollectInversionEquations(&Inversion, row);
    };
    for (int i = 0; i < n; i++)
        if (SM.A[i] != 0 || SM.S[i] != 0 || SM.types[i] != 0)
            add(i, i, i, 1);
    static const int pairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    for (int p = 0; p < 6; p++) {
        const int i = pairs[p][0], j = pairs[p][1];
        if (j >= n)
            continue;
        if (SM.Gamma[p] != 0)
            add(4 + 2 * p, i, j, 1);
        if (SM.Delta[p] != 0)
            add(5 + 2 * p, i, j, -1);
    }
}

int pivotOfRow(const VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 1];
}

// The inversion row of stack i, or null.
int* inversionRowOf(int i) {
    for (int r = 0; r < rowCount(&Inversion); r++)
        if (pivotOfRow(&Inversion, r) == i)
            return rowOf(&Inversion, r);
    return nullptr;
}

// Solves Coefs2 with the extra rows (stack, P, value) and runs the counting; 1 accepted.
int solveWithTrials(VectorSpace* Coefs2, const int* stacks, const int* P, const int* values,
                    int count, int position) {
    initEquationCollection(&Trial, 4, 8);
    int row[6];
    for (int r = 0; r < rowCount(Coefs2); r++) {
        copyVec(5, row, rowOf(Coefs2, r));
        CollectIntegerEquations(&Trial, row);
    }
    for (int t = 0; t < count; t++) {
        for (int& v : row)
            v = 0;
        row[stacks[t]] = P[t];
        row[4] = -values[t];
        if (CollectIntegerEquations(&Trial, row) < 0)
            return 0;
    }
    if (rowCount(&Trial) != 4) {
        Alert("computeDegeneracy2", position, 212404, "Equations not solved");
        return 0;
    }
    int solution[4];
    const int denominator = SolveIntegerEquations(&Trial, solution);
    if (denominator <= 0)
        return 0;
    int Norm = SCM(24, denominator);
    for (int i = 0; i < SM.Nbnd; i++)
        Norm = SCM(Norm, SM.mults[i]);
    SM.Norm = Norm;
    for (int i = 0; i < 4; i++)
        SM.coefs[i] = static_cast<int>(static_cast<long long>(solution[i]) * Norm / denominator);
    return computeQuarkAndLeptonCharges() == 1 ? 1 : 0;
}

int firstUnknown(const int* unknown, int after) {
    for (int i = after + 1; i < SM.Nbnd; i++)
        if (unknown[i])
            return i;
    return -1;
}

int determinedInversion(VectorSpace* Coefs2, int* unknown) {
    const int rows = rowCount(Coefs2);
    if (rows == 1) {
        Alert("computeDegeneracy2", 2, 112311, "Only one equation: this case is not built in");
        return 0;
    }
    const int i = firstUnknown(unknown, -1);
    if (i < 0)
        return 0;
    int Pi = 0;
    IntegerList* list = getChargeList(i, inversionRowOf(i) + SM.Nbnd, Coefs2, &Pi);
    const std::vector<int> first(list->list.X, list->list.X + list->cnt);
    int accepted = 0;
    if (rows == 3) {
        for (int v : first)
            accepted += solveWithTrials(Coefs2, &i, &Pi, &v, 1, 0);
        return accepted;
    }
    int j = firstUnknown(unknown, i);
    if (j < 0) {
        Alert("computeDegeneracy2", 1, 212404, "Equations not solved");
        return 0;
    }
    int Pj = 0;
    list = getChargeList(j, inversionRowOf(j) + SM.Nbnd, Coefs2, &Pj);
    const std::vector<int> second(list->list.X, list->list.X + list->cnt);
    const int stacks[2] = {i, j};
    const int P[2] = {Pi, Pj};
    for (int v : first)
        for (int w : second) {
            const int values[2] = {v, w};
            accepted += solveWithTrials(Coefs2, stacks, P, values, 2, 1);
        }
    return accepted;
}

int flatDirection(VectorSpace* Coefs2, int* unknown) {
    const int n = SM.Nbnd;
    bool pivot[4] = {};
    for (int r = 0; r < rowCount(&Inversion); r++)
        pivot[pivotOfRow(&Inversion, r)] = true;
    int column = -1;
    for (int i = 0; i < n && column < 0; i++)
        if (!pivot[i])
            for (int r = 0; r < rowCount(&Inversion); r++)
                if (rowOf(&Inversion, r)[i] != 0)
                    column = i;
    if (column < 0) {
        Alert("computeDegeneracy2", 3, 100304, "No variable column found");
        return 0;
    }
    int w[4] = {};
    w[column] = -64;
    for (int r = 0; r < rowCount(&Inversion); r++) {
        const int* row = rowOf(&Inversion, r);
        const int p = pivotOfRow(&Inversion, r);
        w[p] = 64 * row[column] / row[p];
    }
    bool flat = true;
    for (int r = 0; r < rowCount(Coefs2); r++) {
        long long s = 0;
        for (int i = 0; i < 4; i++)
            s += static_cast<long long>(rowOf(Coefs2, r)[i]) * w[i];
        flat = flat && s == 0;
    }
    if (flat)
        SM.Ycharge_degeneracy = 1;
    const int i = firstUnknown(unknown, -1);
    if (i < 0) {
        Alert("computeDegeneracy2", 4, 100304, "Impossible logical flow");
        return 0;
    }
    const int Norm = SM.Norm;
    int accepted = 0;
    if (flat) {
        const int t = i == 0 ? Norm / 6 : i == 1 ? Norm / 2 : -Norm / 2;
        return solveWithTrials(Coefs2, &i, &Norm, &t, 1, 0);
    }
    for (int t = -Norm; t <= Norm && !genericSearchRun().stopped; t++)
        accepted += solveWithTrials(Coefs2, &i, &Norm, &t, 1, 0);
    return accepted;
}

} // namespace

int computeChargeDegeneracy(VectorSpace* Coefs2, int* unknown, int) {
    collectChargeForms();
    for (int r = 0; r < rowCount(Coefs2); r++)
        unknown[pivotOfRow(Coefs2, r)] = 0;
    for (int r = 0; r < rowCount(&Inversion); r++) {
        int* row = rowOf(&Inversion, r);
        const int p = pivotOfRow(&Inversion, r);
        if (row[p] != 2 && row[p] != 0) {
            const int g = row[p];
            for (int k = 0; k < Inversion.rowsize - 1; k++)
                row[k] = row[k] * 2 / g;
        }
    }
    const int rows = rowCount(&Inversion);
    const int eqs = rowCount(Coefs2);
    if (rows == SM.Nbnd)
        return determinedInversion(Coefs2, unknown);
    if (rows == SM.Nbnd - 1 && eqs == 3)
        return flatDirection(Coefs2, unknown);
    if (rows == SM.Nbnd - 1 && eqs == 2) {
        Alert("computeDegeneracy2", 5, 112311, "Possibly degenerate case");
        return 0;
    }
    Alert("computeDegeneracy2", 6, 112311, "Not foreseen (%d,%d)", rows, eqs);
    return 0;
}

// ---------------------------------------------------------------- merging, tables, lists

int mapVarsToSMData(int ori, int* vars, int* mults) {
    SM.ori = ori;
    SM.Nbnd = vars[3] != -1 ? 4 : 3;
    GenericSearchContext* ctx = getGenericSearchContext();
    for (int k = 0; k < 4; k++) {
        SM.boundaries[2 * k] = vars[k];
        SM.boundaries[2 * k + 1] = vars[k] >= 0 && ctx ? ctx->conjugate(vars[k]) : -1;
    }
    int n = 4;
    static const int merges[6][2] = {{3, 0}, {2, 0}, {1, 0}, {3, 1}, {2, 1}, {3, 2}};
    for (const auto& mg : merges) {
        const int later = mg[0], earlier = mg[1];
        if (later >= n || vars[later] < 0 || vars[later] != vars[earlier])
            continue;
        mults[earlier] += mults[later];
        for (int k = later; k < n - 1; k++) {
            vars[k] = vars[k + 1];
            mults[k] = mults[k + 1];
        }
        vars[n - 1] = -1;
        mults[n - 1] = 0;
        n--;
    }
    int distinct = 0;
    for (int k = 0; k < 4; k++)
        distinct += vars[k] >= 0;
    return distinct;
}

int checkSpectrum(VectorSpace* spectrum) {
    int Q = 0, U = 0, D = 0, L = 0, E = 0;
    const int width = spectrum->id_size;
    for (int r = 0; r < rowCount(spectrum); r++) {
        int* w = rowOf(spectrum, r);
        const int m = countOf(spectrum, r);
        if (m == 0)
            continue;
        const int key[3] = {w[0], w[1], w[2]};
        const auto is = [&](int s3, int s2, int y) {
            return key[0] == s3 && key[1] == s2 && key[2] == y;
        };
        if (is(1, 1, 1))
            Q += m;
        else if (is(-1, 1, -1))
            Q -= m;
        else if (is(1, 0, 4))
            U += m;
        else if (is(-1, 0, -4))
            U -= m;
        else if (is(1, 0, -2))
            D += m;
        else if (is(-1, 0, 2))
            D -= m;
        else if (is(0, 1, -3))
            L += m;
        else if (is(0, 1, 3))
            L -= m;
        else if (is(0, 0, -6))
            E += m;
        else if (is(0, 0, 6))
            E -= m;
        else if (!is(0, 0, 0)) {
            printVec(width, w, "");
            Alert("checkSpectrum", 0, 212404, "Invalid representation");
            return 0;
        }
    }
    const struct {
        int value, required, position;
        const char* message;
    } checks[] = {{Q, 3, 1, "Wrong number of quark doublets"},
                  {U, -3, 2, "Wrong number of up quark singlets"},
                  {D, -3, 3, "Wrong number of down quark doublets"},
                  {L, 3, 4, "Wrong number of lepton doublets"},
                  {E, -3, 4, "Wrong number of charged lepton singlets"}};
    for (const auto& c : checks)
        if (c.value != c.required) {
            Alert("checkSpectrum", c.position, 212404, "%s", c.message);
            return 0;
        }
    return 1;
}

IntegerList* getChargeList(int factor, int* dependencies, VectorSpace*, int* Norm) {
    static IntegerList list;
    const int m = SM.mults[factor];
    *Norm = 12 * m;
    initList(&list, 24 * m + 1);
    list.cnt = 0;
    // Per count: the bound steps for a positive count (hi, lo) and for a negative one.
    struct Step {
        int hiPos, loPos, hiNeg, loNeg;
    };
    const auto stepOf = [](int k) -> Step {
        if (k == 0)
            return {2, -4, -4, 2};
        if (k == 1 || k >= 14)
            return {6, -6, -6, 6};
        if (k <= 3)
            return {12, -12, -12, 12};
        if (k <= 5)
            return {1, 1, 1, 1};
        if (k <= 9)
            return {4, -2, -2, 4};
        return {3, -3, -3, 3};
    };
    long long lo = 0, hi = 0;
    for (int k = 0; k < 16; k++) {
        const int d = dependencies ? dependencies[k] : 0;
        const Step s = stepOf(k);
        hi += static_cast<long long>(d > 0 ? s.hiPos : s.hiNeg) * d;
        lo += static_cast<long long>(d > 0 ? s.loPos : s.loNeg) * d;
    }
    hi *= m;
    lo *= m;
    if (hi < lo || m <= 0)
        return &list;
    const int n = factor >= 2 ? m + 1 : 1;
    for (long long x = lo; x <= hi; x += 6 * m)
        for (int k = 0; k < n; k++)
            addToList(&list, static_cast<int>(x - 12 * k));
    return &list;
}
