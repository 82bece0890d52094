// The brane chain a -> b -> c -> d of the generic search, depth first over the usable
// boundaries: the weak and anti-quark links, the multiplicities N_c and N_d from the linear
// anomaly conditions, the canonical order of c and d and of each stack against its image, and
// the hypercharge as a combination of the unitary stacks' U(1)s.
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/EquationCollections.h"
#include "numeric/MathUtility.h"
#include "search/SearchSMGeneric.h"

#include <cstdlib>
#include <cstring>

namespace {

enum Pair { AB, AC, AD, BC, BD, CD };
constexpr double TensionTolerance = 1e-8;

GenericSearchContext* ctx() {
    return getGenericSearchContext();
}

bool stopped() {
    return genericSearchRun().stopped != 0;
}

int a() {
    return SM.boundaries[0];
}
int b() {
    return SM.boundaries[2];
}
int c() {
    return SM.boundaries[4];
}
int d() {
    return SM.boundaries[6];
}
bool unitary(int stack) {
    return SM.boundaries[2 * stack] != SM.boundaries[2 * stack + 1];
}

// 1 same label, -1 the image of the earlier one, 0 otherwise.
int braneId(int later, int earlier) {
    if (SM.boundaries[2 * later] == SM.boundaries[2 * earlier])
        return 1;
    if (SM.boundaries[2 * later] == SM.boundaries[2 * earlier + 1])
        return -1;
    return 0;
}

void tensorCounts(int stack) {
    int Ann, Moe, Adj, AnnC, MoeC, AdjC;
    ctx()->diagonal(SM.boundaries[2 * stack], &Ann, &Moe, &Adj);
    ctx()->diagonal(SM.boundaries[2 * stack + 1], &AnnC, &MoeC, &AdjC);
    SM.A[stack] = (Ann - Moe - AnnC + MoeC) / 2;
    SM.S[stack] = (Ann + Moe - AnnC - MoeC) / 2;
}

// The tension of N copies of stack x.
double stackTension(int stack, int N) {
    const double R = ctx()->tension(SM.boundaries[2 * stack]);
    return (unitary(stack) ? 2.0 : 1.0) * N * R;
}

void pairIntersection(int p, int x, int y) {
    ctx()->intersection(x, y, &SM.Gamma[p], &SM.Delta[p]);
}

// The equations for N_c, N_d, rows (r_c, r_d, r_0) meaning r_c N_c + r_d N_d + r_0 = 0, kept as
// at most two independent rows; no allocation, exact in integers.
struct TwoUnknowns {
    long long row[2][3] = {};
    int count = 0;

    long long determinant() const { return row[0][0] * row[1][1] - row[0][1] * row[1][0]; }
    // false when r contradicts the rows kept.
    bool add(const int* r) {
        const long long v[3] = {r[0], r[1], r[2]};
        if (v[0] == 0 && v[1] == 0)
            return v[2] == 0;
        if (count == 0) {
            keep(v);
            return true;
        }
        const long long* p = row[0];
        if (count == 1) {
            if (p[0] * v[1] - p[1] * v[0] != 0) {
                keep(v);
                return true;
            }
            // Parallel: the constants must scale alike.
            const long long scale = p[0] != 0 ? p[0] : p[1];
            const long long other = p[0] != 0 ? v[0] : v[1];
            return v[2] * scale == p[2] * other;
        }
        // Two rows fix (N_c, N_d) = (x, y) / det; r must hold there.
        const long long det = determinant();
        const long long* q = row[1];
        const long long x = q[2] * p[1] - p[2] * q[1];
        const long long y = p[2] * q[0] - q[2] * p[0];
        return v[0] * x + v[1] * y + v[2] * det == 0;
    }

private:
    void keep(const long long* v) {
        for (int k = 0; k < 3; k++)
            row[count][k] = v[k];
        count++;
    }
};
VectorSpace Ycoefs = declareVectorSpace("Y coefficients", 8);
VectorSpace Ycoefs2 = declareVectorSpace("Y remaining conditions", 8);

bool isEven(int N) {
    return N % 2 == 0;
}

// The multiplicity N of a stack with group type t is acceptable.
bool acceptableMultiplicity(int N, int type) {
    return N >= 1 && (type != -1 || isEven(N));
}

int groupTypeOf(int stack) {
    return ctx()->groupType(SM.boundaries[2 * stack]);
}

// Tension test with N_c, N_d, then the hypercharge; 1 accepted. *tooHeavy is set when the
// tension is exceeded.
int tryMultiplicities(int Nc, int Nd, bool* tooHeavy = nullptr) {
    const double t = SM.RHS[1] + stackTension(2, Nc) + stackTension(3, Nd);
    if (tooHeavy)
        *tooHeavy = t > TensionTolerance;
    if (t > TensionTolerance)
        return 0;
    SM.mults[2] = Nc;
    SM.mults[3] = Nd;
    const int r = computeY();
    if (r == 1)
        std::fprintf(ERROR_FILE, "Success for Nc=%d; Nd=%d\n", Nc, Nd);
    return r == 1;
}

void setThreeStack() {
    SM.Nbnd = 3;
    for (int p : {AD, BD, CD})
        SM.Gamma[p] = SM.Delta[p] = 0;
    SM.A[3] = SM.S[3] = 0;
    SM.boundaries[6] = SM.boundaries[7] = -1;
    SM.mults[3] = 0;
    SM.coefs[3] = 0;
    SM.types[3] = -2;
    SM.T3_eig[0] = SM.T3_eig[1] = SM.T3_mult[0] = SM.T3_mult[1] = 0;
    SM.brane_id[2] = SM.brane_id[4] = SM.brane_id[5] = 0;
    SM.equiv2 = 0;
}

void threeStackAttempt() {
    const int F = genericSearchRun().FamiliesRequired;
    const int* G = SM.Gamma;
    const int* D = SM.Delta;
    int Nc;
    if (G[AC] + D[AC] != 0) {
        const int num = SM.A[0] - 2 * F;
        if (num % (G[AC] + D[AC]) != 0)
            return;
        Nc = num / (G[AC] + D[AC]);
    } else {
        if (SM.A[0] != 2 * F || F == 0 || std::abs(G[AC]) % F != 0)
            return;
        Nc = std::abs(G[AC]) / F;
    }
    if (!acceptableMultiplicity(Nc, groupTypeOf(2)))
        return;
    if (unitary(1) && 3 * G[AB] + 6 * SM.S[1] - 2 * SM.A[1] + (G[BC] + D[BC]) * Nc != 3 * D[AB])
        return;
    if (unitary(2) &&
        3 * G[AC] + 2 * G[BC] + (Nc + 4) * SM.S[2] + (Nc - 4) * SM.A[2] - 2 * D[BC] != 3 * D[AC])
        return;
    setThreeStack();
    const double t = SM.RHS[1] + stackTension(2, Nc);
    if (t <= TensionTolerance) {
        SM.mults[2] = Nc;
        computeY();
    }
}

// Exact positive quotient -num/den, or 0.
int exactQuotient(long long num, long long den) {
    if (den == 0 || num % den != 0)
        return 0;
    const long long q = num / den;
    return q >= 1 && q < 1000000 ? static_cast<int>(q) : 0;
}

int solveForMultiplicities() {
    const int* G = SM.Gamma;
    const int* D = SM.Delta;
    const int F = genericSearchRun().FamiliesRequired;
    int rows[4][3];
    int n = 0;
    rows[n][0] = G[AC] + D[AC];
    rows[n][1] = G[AD] + D[AD];
    rows[n++][2] = -(SM.A[0] - 2 * F);
    if (unitary(1)) {
        rows[n][0] = G[BC] + D[BC];
        rows[n][1] = G[BD] + D[BD];
        rows[n++][2] = 3 * G[AB] + 6 * SM.S[1] - 3 * D[AB] - 2 * SM.A[1];
    }
    if (unitary(2)) {
        rows[n][0] = SM.A[2] + SM.S[2];
        rows[n][1] = G[CD] + D[CD];
        rows[n++][2] = 3 * (G[AC] - D[AC]) + 2 * (G[BC] - D[BC]) + 4 * (SM.S[2] - SM.A[2]);
    }
    if (unitary(3)) {
        rows[n][0] = G[CD] - D[CD];
        rows[n][1] = SM.A[3] + SM.S[3];
        rows[n++][2] = 3 * (G[AD] - D[AD]) + 2 * (G[BD] - D[BD]) + 4 * (SM.S[3] - SM.A[3]);
    }
    TwoUnknowns sys;
    for (int k = 0; k < n; k++)
        if (!sys.add(rows[k]))
            return 0;
    const int tc = groupTypeOf(2), td = groupTypeOf(3);
    const int stored = sys.count;
    int accepted = 0;
    if (stored == 0) {
        const int maxC = ctx()->maximalCP(c()), maxD = ctx()->maximalCP(d());
        for (int Nc = 1; Nc <= maxC && !stopped(); Nc++) {
            if (tc == -1 && !isEven(Nc))
                continue;
            for (int Nd = 1; Nd <= maxD && !stopped(); Nd++) {
                if (td == -1 && !isEven(Nd))
                    continue;
                bool heavy = false;
                accepted += tryMultiplicities(Nc, Nd, &heavy);
                if (heavy) {
                    if (Nd == 1 || (td == -1 && Nd == 2))
                        return accepted;
                    break;
                }
            }
        }
        return accepted;
    }
    if (stored == 1) {
        const long long* r = sys.row[0];
        if (r[0] == 0) {
            const int Nd = exactQuotient(-static_cast<long long>(r[2]), r[1]);
            if (!acceptableMultiplicity(Nd, td))
                return 0;
            const int maxC = ctx()->maximalCP(c());
            for (int Nc = 1; Nc <= maxC && !stopped(); Nc++)
                if (tc != -1 || isEven(Nc))
                    accepted += tryMultiplicities(Nc, Nd);
            return accepted;
        }
        const int maxD = ctx()->maximalCP(d());
        for (int Nd = 1; Nd <= maxD && !stopped(); Nd++) {
            if (td == -1 && !isEven(Nd))
                continue;
            const int Nc = exactQuotient(-static_cast<long long>(r[2]) - 1LL * Nd * r[1], r[0]);
            if (acceptableMultiplicity(Nc, tc))
                accepted += tryMultiplicities(Nc, Nd);
        }
        return accepted;
    }
    if (stored == 2) {
        const long long det = sys.determinant();
        if (det == 0) {
            Alert("findLastSMBrane", 0, 212404, "Dependent equations for Nc, Nd");
            return 0;
        }
        const long long* r0 = sys.row[0];
        const long long* r1 = sys.row[1];
        const int Nc = exactQuotient(r1[2] * r0[1] - r0[2] * r1[1], det);
        const int Nd = exactQuotient(r0[2] * r1[0] - r1[2] * r0[0], det);
        if (!acceptableMultiplicity(Nc, tc) || !acceptableMultiplicity(Nd, td))
            return 0;
        return tryMultiplicities(Nc, Nd);
    }
    Alert("findLastSMBrane", 0, 212404, "Too many equations for Nc, Nd");
    return 0;
}

// Compares two keys: -1 reject (first smaller), 1 accept, 0 equal.
int decide(long long cKey, long long dKey) {
    return cKey < dKey ? -1 : cKey > dKey ? 1 : 0;
}

// -1 reject, 1 pass, 0 undecided; one image key "x > y rejects, x < y passes".
int imageKey(long long rejectIfAbove, long long passIfBelow) {
    return rejectIfAbove > passIfBelow ? -1 : rejectIfAbove < passIfBelow ? 1 : 0;
}

// The image symmetry of stack x (2 = c, 3 = d): -1 reject, otherwise the equiv value.
int imageSymmetry(int x, int* equiv) {
    const int pa = x == 2 ? AC : AD, pb = x == 2 ? BC : BD;
    if (!unitary(x)) {
        *equiv = -1;
        return 1;
    }
    *equiv = 0;
    const int label = SM.boundaries[2 * x], image = SM.boundaries[2 * x + 1];
    for (int s = 0; s < x; s++)
        if (label == SM.boundaries[2 * s])
            return 1;
    for (int s = 0; s < x; s++)
        if (image == SM.boundaries[2 * s])
            return -1;
    const int* G = SM.Gamma;
    const int* D = SM.Delta;
    int keys[6];
    int n = 0;
    keys[n++] = imageKey(std::abs(D[pa]), std::abs(G[pa]));
    keys[n++] = imageKey(0, SM.A[x]);
    keys[n++] = imageKey(0, SM.S[x]);
    if (!unitary(1))
        keys[n++] = imageKey(0, G[pb]);
    else
        keys[n++] = imageKey(std::abs(D[pb]), std::abs(G[pb]));
    keys[n++] = imageKey(D[pa], G[pa]);
    keys[n++] = imageKey(D[pb], G[pb]);
    for (int k = 0; k < n; k++)
        if (keys[k] != 0)
            return keys[k];
    if (x == 2) {
        *equiv = 1;
        return 1;
    }
    if (SM.equiv1 != 0) {
        *equiv = 1;
        return 1;
    }
    const int last = imageKey(D[CD], G[CD]);
    if (last != 0)
        return last;
    *equiv = 1;
    return 1;
}

void writeChainNote(const char* text) {
    std::fprintf(ERROR_FILE, "\n\n=============================================\n%s", text);
    printCPD(ERROR_FILE, -1, 1);
}

// (G, D) is at least each of its sign and exchange variants, in order.
bool canonicalDoubleSymmetry(int G, int D) {
    const auto atLeast = [&](int g, int d) { return G > g || (G == g && D >= d); };
    const int variants[3][2] = {{-D, -G}, {D, G}, {-G, -D}};
    for (int k = 0; k < 3; k++) {
        if (!atLeast(variants[k][0], variants[k][1]))
            return false;
        std::fprintf(ERROR_FILE, "Accepted (%d)\n", k + 1);
    }
    return true;
}

// Step 5 of the hypercharge: 0 reject.
int combinedImageSymmetry() {
    const int G = SM.Gamma[CD], D = SM.Delta[CD];
    if (SM.equiv1 == 1 && SM.equiv2 == 0) {
        if (G > -D) {
            writeChainNote("Using Gamma[5]  and Delta[5]\n");
            return 0;
        }
        if (G < -D)
            SM.equiv1 = 0;
        return 1;
    }
    if (SM.equiv1 == 1 && SM.equiv2 == 1) {
        if (std::abs(G) == std::abs(D)) {
            if (G == D) {
                if (G != 0)
                    SM.equiv1 = 0;
            } else {
                SM.equiv2 = 0;
            }
            return 1;
        }
        writeChainNote("Double c-d symmetry\n");
        SM.equiv1 = SM.equiv2 = 0;
        return canonicalDoubleSymmetry(G, D) ? 1 : 0;
    }
    return 1;
}

int addYRow(int ea, int eb, int ec, int ed, int constant) {
    int row[6] = {ea, eb, ec, ed, constant, 0};
    return CollectIntegerEquations(&Ycoefs, row);
}

// Steps 6-8 of the hypercharge: 1 coefficients complete, 0 reject, or the degeneracy count + 2.
int solveHypercharge() {
    const int* G = SM.Gamma;
    const int* D = SM.Delta;
    const int F = genericSearchRun().FamiliesRequired;
    const int Nc = SM.mults[2], Nd = SM.mults[3];
    int u[4];
    for (int i = 0; i < 4; i++)
        u[i] = SM.types[i] == 0 ? 1 : 0;
    u[0] = 1;
    if (SM.Nbnd < 4 || Nd <= 0)
        u[3] = 0;
    initEquationCollection(&Ycoefs, 4, 7);
    if (G[AB] * D[AB] != 0)
        addYRow(6, 0, 0, 0, -1);
    for (int i = 0; i < 4; i++)
        if (!u[i]) {
            int row[6] = {0, 0, 0, 0, 0, 0};
            row[i] = 1;
            CollectIntegerEquations(&Ycoefs, row);
        }
    const int r1 = addYRow(6 * (G[AB] + D[AB]), 6 * u[1] * (G[AB] - D[AB]), 0, 0, -F);
    const int r2 = addYRow(3 * ((G[AC] + D[AC]) * Nc + (G[AD] + D[AD]) * Nd + 2 * SM.A[0]), 0,
                           3 * u[2] * Nc * (G[AC] - D[AC]), 3 * u[3] * Nd * (G[AD] - D[AD]), F);
    const int r3 = addYRow(0, 2 * u[1] * (Nc * (G[BC] + D[BC]) + Nd * (G[BD] + D[BD])),
                           2 * u[2] * Nc * (G[BC] - D[BC]), 2 * u[3] * Nd * (G[BD] - D[BD]), F);
    const int r4 = addYRow(
        0, 2 * u[1] * SM.A[1],
        u[2] * (Nc * (Nc - 1) * SM.A[2] + Nc * (Nc + 1) * SM.S[2] + Nc * Nd * (G[CD] + D[CD])),
        u[3] * (Nd * (Nd - 1) * SM.A[3] + Nd * (Nd + 1) * SM.S[3] + Nc * Nd * (G[CD] - D[CD])), -F);
    if (r1 < 0 || r2 < 0 || r3 < 0 || r4 < 0)
        return 0;
    int Norm = 24;
    for (int i = 0; i < 4; i++)
        Norm = SCM(Norm, SM.mults[i]);
    const int rows = rowCount(&Ycoefs);
    bool solved = rows == 4;
    for (int r = 0; r < rows; r++) {
        const int* row = rowOf(&Ycoefs, r);
        int nonZero = 0;
        for (int i = 0; i < 4; i++)
            if (row[i] != 0) {
                Norm = SCM(Norm, row[i]);
                nonZero++;
            }
        if (nonZero == 0 && row[4] != 0)
            return 0;
        if (nonZero != 1)
            solved = false;
    }
    if (rows == 4 && !solved)
        Alert("computeY", 0, 212404, "Y charge coefficients unexpectedly unsolvable\n");
    SM.Norm = Norm;
    int unknown[4] = {1, 1, 1, 1};
    for (int i = 0; i < 4; i++)
        SM.coefs[i] = 0;
    for (int r = 0; r < rows; r++) {
        const int* row = rowOf(&Ycoefs, r);
        int only = -1, nonZero = 0;
        for (int i = 0; i < 4; i++)
            if (row[i] != 0) {
                only = i;
                nonZero++;
            }
        if (nonZero == 1) {
            SM.coefs[only] = -row[4] * Norm / row[only];
            unknown[only] = 0;
        }
    }
    if (!solved) {
        const int r = solveGenericAbelianMasses(&Ycoefs, &Ycoefs2, unknown);
        if (r == 0 || r == -3)
            return 0;
        if (r == -2)
            return 2 + computeChargeDegeneracy(&Ycoefs2, unknown, 1);
    }
    for (int i = 0; i < SM.Nbnd; i++)
        if (unknown[i]) {
            Alert("computeY", 1, 100304, "THIS CANNOT HAPPEN");
            genericSearchRun().stopped = 1;
            return 0;
        }
    return 1;
}

} // namespace

int findWeakSMBrane() {
    GenericSearchRun& run = genericSearchRun();
    if (run.SuccessLevel < 1)
        run.SuccessLevel = 1;
    const int Nfamily = genericSearchSettings().Nfamily;
    const int n = ctx()->usableCount();
    for (int j = 0; j < n && !stopped(); j++) {
        const int bl = ctx()->usableLabel(j);
        run.nodes[1]++;
        if (!ctx()->allowed(bl) || ctx()->groupType(bl) == 1)
            continue;
        const int bc = ctx()->conjugate(bl);
        if (bc == a())
            continue;
        const double R = ctx()->tension(bl);
        SM.RHS[1] = SM.RHS[0] + (bl == bc ? 2 : 4) * R;
        if (SM.RHS[1] > -TensionTolerance)
            continue;
        pairIntersection(AB, a(), bl);
        const int families = SM.Gamma[AB] + SM.Delta[AB];
        if (Nfamily >= 1) {
            if (families != Nfamily)
                continue;
            run.FamiliesRequired = Nfamily;
        } else {
            if (families < 1)
                continue;
            run.FamiliesRequired = families;
        }
        if (SM.Delta[AB] > SM.Gamma[AB] && bl != a())
            continue;
        SM.brane_id[0] = bl == a() ? 1 : 0;
        SM.boundaries[2] = bl;
        SM.boundaries[3] = bc;
        tensorCounts(1);
        if (SM.S[1] != 0)
            continue;
        SM.mults[1] = 2;
        findAntiquarkSMBrane();
    }
    return 0;
}

int findAntiquarkSMBrane() {
    GenericSearchRun& run = genericSearchRun();
    if (run.SuccessLevel < 2)
        run.SuccessLevel = 2;
    const int n = ctx()->usableCount();
    for (int j = 0; j < n && !stopped(); j++) {
        const int cl = ctx()->usableLabel(j);
        run.nodes[2]++;
        if (ctx()->avoided(cl))
            continue;
        const int cc = ctx()->conjugate(cl);
        const double t = SM.RHS[1] + (cl == cc ? 1 : 2) * ctx()->tension(cl);
        if (t > TensionTolerance)
            continue;
        SM.boundaries[4] = cl;
        SM.boundaries[5] = cc;
        pairIntersection(AC, a(), cl);
        pairIntersection(BC, b(), cl);
        SM.brane_id[1] = braneId(2, 0);
        SM.brane_id[3] = braneId(2, 1);
        tensorCounts(2);
        findLastSMBrane();
    }
    return 0;
}

int findLastSMBrane() {
    GenericSearchRun& run = genericSearchRun();
    if (run.SuccessLevel < 3)
        run.SuccessLevel = 3;
    run.last_gsm = -1;
    if (unitary(1) || unitary(2))
        threeStackAttempt();
    int accepted = 0;
    const int n = ctx()->usableCount();
    for (int j = 0; j < n && !stopped() && run.PreModelCount <= genericSearchSettings().maxConf;
         j++) {
        const int dl = ctx()->usableLabel(j);
        run.nodes[3]++;
        if (ctx()->avoided(dl) || dl == c() || dl == SM.boundaries[5])
            continue;
        SM.boundaries[6] = dl;
        SM.boundaries[7] = ctx()->conjugate(dl);
        SM.Nbnd = 4;
        run.last_gsm = -1;
        if (!unitary(1) && !unitary(2) && !unitary(3))
            continue;
        pairIntersection(AD, a(), dl);
        pairIntersection(BD, b(), dl);
        pairIntersection(CD, c(), dl);
        SM.brane_id[2] = braneId(3, 0);
        SM.brane_id[4] = braneId(3, 1);
        SM.brane_id[5] = braneId(3, 2);
        tensorCounts(3);
        if (SM.S[3] == 0 && SM.A[3] == 0 && SM.Gamma[AD] == 0 && SM.Gamma[BD] == 0 &&
            SM.Gamma[CD] == 0 && SM.Delta[AD] == 0 && SM.Delta[BD] == 0)
            continue;
        accepted += solveForMultiplicities();
    }
    return accepted > 0 ? 1 : 0;
}

int check_cd_BraneOrdering() {
    if (SM.Nbnd < 4 || c() == d() || c() == SM.boundaries[7]) {
        SM.equiv0 = SM.Nbnd < 4 ? SM.equiv0 : -1;
        return 1;
    }
    SM.equiv0 = 0;
    const int* G = SM.Gamma;
    const int* D = SM.Delta;
    const long long Nc = SM.mults[2], Nd = SM.mults[3];
    const long long keys[8][2] = {
        {(std::abs(G[AC]) + std::abs(D[AC])) * Nc, (std::abs(G[AD]) + std::abs(D[AD])) * Nd},
        {-(G[AC] + D[AC]) * Nc, -(G[AD] + D[AD]) * Nd},
        {std::abs(SM.types[2]), std::abs(SM.types[3])},
        {SM.types[2], SM.types[3]},
        {Nc, Nd},
        {std::abs(G[BC]) + std::abs(D[BC]), std::abs(G[BD]) + std::abs(D[BD])},
        {std::abs(SM.A[2]), std::abs(SM.A[3])},
        {std::abs(SM.S[2]), std::abs(SM.S[3])}};
    for (const auto& k : keys) {
        const int r = decide(k[0], k[1]);
        if (r != 0)
            return r > 0 ? 1 : 0;
    }
    SM.equiv0 = 1;
    return 1;
}

int computeY() {
    GenericSearchRun& run = genericSearchRun();
    if (run.SuccessLevel < 4)
        run.SuccessLevel = 4;
    run.last_Y = 0;
    for (int i = 0; i < 4; i++)
        SM.types[i] = i < SM.Nbnd ? groupTypeOf(i) : -2;
    if (!check_cd_BraneOrdering())
        return 0;
    if (imageSymmetry(2, &SM.equiv1) < 0)
        return 0;
    if (SM.Nbnd == 4 && imageSymmetry(3, &SM.equiv2) < 0)
        return 0;
    if (!combinedImageSymmetry())
        return 0;
    SM.Ycharge_degeneracy = 0;
    const int r = solveHypercharge();
    if (r == 0)
        return 0;
    if (r >= 2)
        return r > 2 ? 1 : 0;
    const int Norm = SM.Norm;
    if (SM.Gamma[AB] != 0 && 6 * (SM.coefs[0] + SM.coefs[1]) != Norm)
        return 0;
    if (SM.Delta[AB] != 0 && 6 * (SM.coefs[0] - SM.coefs[1]) != Norm)
        return 0;
    if (computeGenericAbelianMasses() > 1e-7)
        return 0;
    return computeQuarkAndLeptonCharges() == 1 ? 1 : 0;
}

int getTracelessGenerator(int brane, int is1, int is2, int* determined, int* eig, int* mult) {
    eig[0] = eig[1] = mult[0] = mult[1] = 0;
    if (brane >= SM.Nbnd)
        return 1;
    const int Norm = SM.Norm;
    const int N = SM.mults[brane];
    const int q = SM.coefs[brane];
    struct Determination {
        int intersection;
        int target;
        int s;
        bool reflected;
    } det[4] = {{SM.Gamma[is1], 2 * Norm / 3, SM.coefs[0] + q, false},
                {SM.Delta[is1], 2 * Norm / 3, SM.coefs[0] - q, true},
                {SM.Gamma[is2], Norm / 2, SM.coefs[1] + q, false},
                {SM.Delta[is2], Norm / 2, SM.coefs[1] - q, true}};
    for (const Determination& dt : det) {
        if (dt.intersection == 0)
            continue;
        const int e0 = dt.target - dt.s;
        const int e1 = dt.target - Norm - dt.s;
        if (e0 < 0 || e1 > 0 || (N * e0) % Norm != 0 || (N * e1) % Norm != 0)
            return 0;
        if (SM.types[brane] != 0 && e0 + e1 != 0 && e0 * e1 != 0)
            return 0;
        int E[2], M[2];
        if (!dt.reflected) {
            E[0] = e0;
            E[1] = e1;
            M[0] = -N * e1 / Norm;
            M[1] = N * e0 / Norm;
        } else {
            E[0] = -e1;
            E[1] = -e0;
            M[0] = N * e0 / Norm;
            M[1] = -N * e1 / Norm;
        }
        if (M[0] == 0) {
            E[0] = E[1] = 0;
            M[0] = M[1];
            M[1] = 0;
        } else if (M[1] == 0) {
            E[1] = 0;
        }
        if (*determined) {
            if (E[0] != eig[0] || E[1] != eig[1] || M[0] != mult[0] || M[1] != mult[1])
                return 0;
        } else {
            eig[0] = E[0];
            eig[1] = E[1];
            mult[0] = M[0];
            mult[1] = M[1];
            *determined = 1;
        }
    }
    return 1;
}

namespace {

// The image of stack x (2 = c, 3 = d) in a profile.
void mirrorStack(int* v, int x) {
    const int pa = x == 2 ? AC : AD, pb = x == 2 ? BC : BD;
    v[8 + x] = -v[8 + x];
    v[12 + x] = -v[12 + x];
    v[28 + x] = -v[28 + x];
    std::swap(v[16 + pa], v[22 + pa]);
    if (!unitary(1)) {
        v[16 + pb] = -v[16 + pb];
        v[22 + pb] = -v[22 + pb];
    } else {
        std::swap(v[16 + pb], v[22 + pb]);
    }
    const int other = x == 2 ? 3 : 2;
    if (unitary(other)) {
        const int g = v[16 + CD], dl = v[22 + CD];
        if (x == 2) {
            v[16 + CD] = -dl;
            v[22 + CD] = -g;
        } else {
            v[16 + CD] = dl;
            v[22 + CD] = g;
        }
    } else {
        v[16 + CD] = -v[16 + CD];
    }
    const int e = x == 2 ? 33 : 37;
    if (v[e + 2] != SM.mults[x]) {
        const int e0 = v[e], e1 = v[e + 1], m0 = v[e + 2], m1 = v[e + 3];
        v[e] = -e1;
        v[e + 1] = -e0;
        v[e + 2] = m1;
        v[e + 3] = m0;
    }
    static const int cPairs[3] = {1, 3, 5}, dPairs[3] = {2, 4, 5};
    const int* pairs = x == 2 ? cPairs : dPairs;
    for (int k = 0; k < 3; k++)
        v[41 + pairs[k]] = -v[41 + pairs[k]];
}

} // namespace

void fillChainProfile(int* v) {
    std::memcpy(v, SM.types, 4 * sizeof(int));
    std::memcpy(v + 4, SM.mults, 4 * sizeof(int));
    std::memcpy(v + 8, SM.S, 4 * sizeof(int));
    std::memcpy(v + 12, SM.A, 4 * sizeof(int));
    std::memcpy(v + 16, SM.Gamma, 6 * sizeof(int));
    std::memcpy(v + 22, SM.Delta, 6 * sizeof(int));
    std::memcpy(v + 28, SM.coefs, 4 * sizeof(int));
    v[32] = SM.Norm;
    v[33] = SM.T2_eig[0];
    v[34] = SM.T2_eig[1];
    v[35] = SM.T2_mult[0];
    v[36] = SM.T2_mult[1];
    v[37] = SM.T3_eig[0];
    v[38] = SM.T3_eig[1];
    v[39] = SM.T3_mult[0];
    v[40] = SM.T3_mult[1];
    std::memcpy(v + 41, SM.brane_id, 6 * sizeof(int));
    v[47] = SM.MasslessVectors;
}

int* interChange_c() {
    static int v[48];
    fillChainProfile(v);
    mirrorStack(v, 2);
    return v;
}

int* interChange_d() {
    static int v[48];
    fillChainProfile(v);
    mirrorStack(v, 3);
    return v;
}

void tryColourStack(int j) {
    GenericSearchContext* context = ctx();
    const int al = context->usableLabel(j);
    genericSearchRun().nodes[0]++;
    if (!context->allowed(al))
        return;
    const double G = -std::abs(4 * context->crosscap());
    SM.RHS[0] = 6 * context->tension(al) + G;
    const int ac = context->conjugate(al);
    if (ac == al || SM.RHS[0] >= -1e-7)
        return;
    int Ann, Moe, Adj, AnnC, MoeC, AdjC;
    context->diagonal(al, &Ann, &Moe, &Adj);
    context->diagonal(ac, &AnnC, &MoeC, &AdjC);
    if (Ann + Moe - AnnC != MoeC)
        return;
    SM.boundaries[0] = al;
    SM.boundaries[1] = ac;
    SM.A[0] = Ann - AnnC;
    SM.S[0] = 0;
    SM.mults[0] = 3;
    findWeakSMBrane();
}
