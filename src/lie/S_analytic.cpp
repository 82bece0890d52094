// S elements in closed form (G2 and the minimal-model types 26 and 27) and of F4, E6, E7, E8.
// The exceptional Weyl groups are far too large to sum over; their elements are sums over the
// cosets of a subgroup of signed coordinate permutations (B4, D5, D6 x A1, D8), each coset one
// or two determinants over a cached cosine table.
#include "lie/S_analytic.h"

#include "lie/Smatrix.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int MaxE = 8;

inline int residue(long long p, int m) {
    const long long r = p % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// ---- Coset representatives of the E series ----

using Labels = std::vector<int>;

// The constants of one E algebra: for each coset representative g its sign and the integer
// matrix P_g with z(g) = P_g n, n the Dynkin labels of mu + rho.
struct CosetTable {
    int rank = 0;
    int count = 0;
    std::vector<int> P; // count blocks of rank x rank, row-major
    std::vector<int> sign;
};

// Cartan matrix of E6, E7, E8 in the node numbering of the Cartan data: a chain with one node
// attached to the branch node.
std::vector<int> eCartan(int rank) {
    const int chainEnd = rank - 2, branch = rank == 8 ? 4 : 2;
    std::vector<int> a(rank * rank, 0);
    auto link = [&](int i, int j) { a[i * rank + j] = a[j * rank + i] = -1; };
    for (int i = 0; i < rank; i++)
        a[i * rank + i] = 2;
    for (int i = 0; i < chainEnd; i++)
        link(i, i + 1);
    link(branch, rank - 1);
    return a;
}

void applyOrth(int rank, const int* rep, int* x) {
    if (rank == 6)
        orthE6(x, rep);
    else if (rank == 7)
        orthE7(x, rep);
    else
        orthE8(x, rep);
}

// The orthogonal map as a matrix on the labels of lambda + rho: column l is the image of e_l.
std::vector<int> orthMatrix(int rank) {
    std::vector<int> L(rank * rank);
    int rep[MaxE], x[MaxE];
    for (int l = 0; l < rank; l++) {
        for (int j = 0; j < rank; j++)
            rep[j] = (j == l) - 1;
        applyOrth(rank, rep, x);
        for (int i = 0; i < rank; i++)
            L[i * rank + l] = x[i];
    }
    return L;
}

std::vector<int> matProduct(const std::vector<int>& A, const std::vector<int>& B, int n) {
    std::vector<int> C(n * n, 0);
    for (int i = 0; i < n; i++)
        for (int k = 0; k < n; k++)
            for (int j = 0; j < n; j++)
                C[i * n + j] += A[i * n + k] * B[k * n + j];
    return C;
}

// The simple reflection s_i on Dynkin labels: (s_i v)_j = v_j - v_i a_ij.
std::vector<int> reflectionMatrix(const std::vector<int>& a, int rank, int i) {
    std::vector<int> R(rank * rank, 0);
    for (int j = 0; j < rank; j++) {
        R[j * rank + j] += 1;
        R[j * rank + i] -= a[i * rank + j];
    }
    return R;
}

Labels reflectLabels(const Labels& v, const std::vector<int>& a, int i) {
    Labels w(v);
    const int rank = static_cast<int>(v.size());
    for (int j = 0; j < rank; j++)
        w[j] -= v[i] * a[i * rank + j];
    return w;
}

// Of v and -v the one whose first non-zero entry is positive.
Labels canonicalSign(Labels v) {
    auto lead = std::find_if(v.begin(), v.end(), [](int c) { return c != 0; });
    if (lead != v.end() && *lead < 0)
        for (int& c : v)
            c = -c;
    return v;
}

// A line is kept as its primitive integer vector with a positive first non-zero entry.
Labels canonicalLine(Labels v) {
    int g = 0;
    for (int c : v)
        g = std::gcd(g, c);
    auto lead = std::find_if(v.begin(), v.end(), [](int c) { return c != 0; });
    if (lead != v.end() && *lead < 0)
        g = -g;
    if (g != 0)
        for (int& c : v)
            c /= g;
    return v;
}

// The key that tells the cosets of the D subgroup apart, moved by the simple reflection s_i.
struct CosetKeys {
    int rank;
    std::vector<int> cartan;
    std::vector<int> roots; // E8: the simple roots in coordinates, one row each

    Labels start() const {
        if (rank == 8) {
            std::vector<Labels> axes(8, Labels(8, 0));
            for (int k = 0; k < 8; k++)
                axes[k][k] = 1;
            return frameKey(std::move(axes));
        }
        Labels w(rank, 0);
        w[rank == 6 ? 4 : 0] = 1; // omega_4 of E6, the highest root omega_0 of E7
        return w;
    }

    Labels move(const Labels& key, int i) const {
        if (rank == 6)
            return reflectLabels(key, cartan, i);
        if (rank == 7)
            return canonicalSign(reflectLabels(key, cartan, i));
        return moveFrame(key, i);
    }

    // s(v) = v - 2 (v.r)/(r.r) r, scaled by r.r, which a line does not notice.
    Labels moveFrame(const Labels& frame, int i) const {
        const int* r = &roots[i * 8];
        const int rr = std::inner_product(r, r + 8, r, 0);
        std::vector<Labels> lines;
        for (int k = 0; k < 8; k++) {
            const int* v = &frame[k * 8];
            const int vr = std::inner_product(v, v + 8, r, 0);
            Labels w(8);
            for (int j = 0; j < 8; j++)
                w[j] = rr * v[j] - 2 * vr * r[j];
            lines.push_back(w);
        }
        return frameKey(std::move(lines));
    }

    // The frame as a set: its canonical lines in sorted order, one after the other.
    static Labels frameKey(std::vector<Labels> lines) {
        for (Labels& l : lines)
            l = canonicalLine(std::move(l));
        std::sort(lines.begin(), lines.end());
        Labels out;
        for (const Labels& l : lines)
            out.insert(out.end(), l.begin(), l.end());
        return out;
    }
};

// The simple roots of E8 in its coordinates: the map applied to the rows of the Cartan matrix,
// without the shift by rho.
Labels simpleRootCoordinates(const std::vector<int>& cartan) {
    Labels roots;
    for (int i = 0; i < 8; i++) {
        int rep[8], x[8];
        for (int j = 0; j < 8; j++)
            rep[j] = cartan[i * 8 + j] - 1; // orthE8 adds 1 to each label
        orthE8(x, rep);
        roots.insert(roots.end(), x, x + 8);
    }
    return roots;
}

// Walks the keys with simple reflections from the identity; the word that reaches a key first
// is the representative of its coset.
CosetTable buildCosetTable(int rank) {
    const std::vector<int> cartan = eCartan(rank);
    const CosetKeys keys{rank, cartan, rank == 8 ? simpleRootCoordinates(cartan) : Labels{}};
    const std::vector<int> L = orthMatrix(rank);
    std::vector<int> identity(rank * rank, 0);
    for (int i = 0; i < rank; i++)
        identity[i * rank + i] = 1;

    struct Node {
        std::vector<int> R; // g on Dynkin labels
        int sign;
    };
    std::map<Labels, int> reached;
    std::vector<Labels> queueKeys{keys.start()};
    std::vector<Node> nodes{{identity, 1}};
    reached[queueKeys[0]] = 0;
    for (std::size_t q = 0; q < queueKeys.size(); q++)
        for (int i = 0; i < rank; i++) {
            Labels next = keys.move(queueKeys[q], i);
            if (reached.count(next))
                continue;
            reached[next] = static_cast<int>(nodes.size());
            queueKeys.push_back(next);
            nodes.push_back({matProduct(nodes[q].R, reflectionMatrix(keys.cartan, rank, i), rank),
                             -nodes[q].sign});
        }

    CosetTable t;
    t.rank = rank;
    t.count = static_cast<int>(nodes.size());
    for (const Node& n : nodes) {
        std::vector<int> P = matProduct(L, n.R, rank);
        t.P.insert(t.P.end(), P.begin(), P.end());
        t.sign.push_back(n.sign);
    }
    return t;
}

// E6 reads its first five coordinates divided by 3 (they are multiples of 3).
CosetTable scaledE6(CosetTable t) {
    for (int g = 0; g < t.count; g++)
        for (int i = 0; i < 5; i++)
            for (int j = 0; j < 6; j++)
                t.P[g * 36 + i * 6 + j] /= 3;
    return t;
}

// Built once, on first use: the representatives depend on neither the weights nor the level.
const CosetTable& cosetTable(int rank) {
    if (rank == 6) {
        static const CosetTable e6 = scaledE6(buildCosetTable(6));
        return e6;
    }
    if (rank == 7) {
        static const CosetTable e7 = buildCosetTable(7);
        return e7;
    }
    static const CosetTable e8 = buildCosetTable(8);
    return e8;
}

// z = P_g n for coset g.
void cosetCoordinates(const CosetTable& t, int g, const int* n, int* z) {
    const int r = t.rank;
    const int* P = &t.P[static_cast<std::size_t>(g) * r * r];
    for (int i = 0; i < r; i++) {
        int s = 0;
        for (int j = 0; j < r; j++)
            s += P[i * r + j] * n[j];
        z[i] = s;
    }
}

void shiftedLabels(const int* rep, int rank, int* n) {
    for (int i = 0; i < rank; i++)
        n[i] = rep[i] + 1;
}

} // namespace

// ---- G2 and F4 ----

void TarvikG(const int* rep1, const int* rep2, double* somr, double* somi, int level) {
    const double m0 = rep1[0] + 1, m1 = rep1[1] + 1;
    const double n0 = rep2[0] + 1, n1 = rep2[1] + 1;
    const double v0 = 2 * n0 + n1, v1 = n0 + (2.0 / 3.0) * n1;
    const double a = m0 * v0, b = m1 * v1, c = m0 * v1, d = m1 * v0;
    const double t = -2 * Pi / (level + 4);
    const double sum = std::cos((a + b) * t) - std::cos((b - a + 3 * c) * t) -
                       std::cos((a - b + d) * t) + std::cos((2 * b - a + 3 * c - d) * t) +
                       std::cos((2 * a - b + d - 3 * c) * t) -
                       std::cos((2 * a - 2 * b - 3 * c + d) * t);
    *somr = -2 * sum / (level + 4) / std::sqrt(3.0);
    *somi = 0.0;
}

void TarvikF(const int* rep1, const int* rep2, double* somr, double* somi, int level) {
    const int m = 8 * (level + 9);
    const double* Sin = getCos(m) + m;
    int x[4], y[4];
    orthF(x, rep1);
    orthF(y, rep2);
    const int s = y[0] + y[1] + y[2] + y[3];
    const int z1[4] = {2 * y[0], 2 * y[1], 2 * y[2], 2 * y[3]};
    const int z2[4] = {2 * y[0] - s, 2 * y[1] - s, 2 * y[2] - s, 2 * y[3] - s};
    const int z3[4] = {s, y[0] + y[1] - y[2] - y[3], y[0] - y[1] + y[2] - y[3],
                       y[0] - y[1] - y[2] + y[3]};
    const double D1 = TarvikDet(x, z1, 4, m, Sin);
    const double D2 = TarvikDet(x, z2, 4, m, Sin);
    const double D3 = TarvikDet(x, z3, 4, m, Sin);
    *somr = 8 * (D1 - D2 - D3) / (static_cast<double>(level + 9) * (level + 9));
    *somi = 0.0;
}

// ---- E6, E7, E8 ----

void TarvikE6(const int* rep1, const int* rep2, double* somr, double* somi, int level) {
    const int m = 12 * (level + 12);
    const double* Cos = getCos(m);
    const double* Sin = Cos + m;
    const CosetTable& t = cosetTable(6);
    int x[6], n[6], z[6];
    orthE6(x, rep1);
    shiftedLabels(rep2, 6, n);
    double sumR = 0, sumI = 0;
    for (int g = 0; g < t.count; g++) {
        cosetCoordinates(t, g, n, z);
        const double Dc = TarvikDet(x, z, 5, m, Cos);
        const double Ds = TarvikDet(x, z, 5, m, Sin);
        const int p = residue(static_cast<long long>(x[5]) * z[5], m);
        const double c = Cos[p], s = Sin[p], f = 16.0 * t.sign[g];
        sumR += f * (c * Dc - s * Ds);
        sumI += f * (s * Dc + c * Ds);
    }
    const double norm = std::sqrt(3.0) * std::pow(level + 12, 3);
    *somr = sumR / norm;
    *somi = sumI / norm;
}

void TarvikE7(const int* rep1, const int* rep2, double* somr, double* somi, int level) {
    const int m = 4 * (level + 18);
    const double* Cos = getCos(m);
    const double* Sin = Cos + m;
    const CosetTable& t = cosetTable(7);
    int x[7], n[7], z[7];
    orthE7(x, rep1);
    shiftedLabels(rep2, 7, n);
    double sum = 0;
    for (int g = 0; g < t.count; g++) {
        cosetCoordinates(t, g, n, z);
        const double Dc = TarvikDet(x, z, 6, m, Cos);
        const double Ds = TarvikDet(x, z, 6, m, Sin);
        const double s = Sin[residue(2LL * x[6] * z[6], m)];
        sum += 64.0 * t.sign[g] * s * (Dc - Ds);
    }
    const double k = level + 18;
    *somr = sum / (std::sqrt(2.0) * k * k * k * std::sqrt(k));
    *somi = 0.0;
}

void TarvikE8(const int* rep1, const int* rep2, double* somr, double* somi, int level) {
    const int m = 4 * (level + 30);
    const double* Cos = getCos(m);
    const double* Sin = Cos + m;
    const CosetTable& t = cosetTable(8);
    int x[8], n[8], z[8];
    orthE8(x, rep1);
    shiftedLabels(rep2, 8, n);
    double sum = 0;
    for (int g = 0; g < t.count; g++) {
        cosetCoordinates(t, g, n, z);
        sum += t.sign[g] * (TarvikDet(x, z, 8, m, Cos) + TarvikDet(x, z, 8, m, Sin));
    }
    *somr = 128 * sum / std::pow(level + 30, 4);
    *somi = 0.0;
}

// ---- Minimal models ----

void SmatMinCFT(const int* rep1, const int* rep2, double* somr, double* somi, int, int level) {
    const int k = level;
    const int a1[2] = {rep1[0], k - rep1[0]};
    const int a2[2] = {rep2[0], k - rep2[0]};
    double R = 0, I = 0;
    TarvikA(a1, a2, &R, &I, 1, k);
    const double scale = std::sqrt(2.0 * (k + 2));
    R /= scale;
    I /= scale;
    double c = 0, s = 0;
    complexImExp(2 * Pi * (rep1[1] * rep2[1]) / (2.0 * (k + 2)), 0, &c, &s);
    complexProduct(R, I, c, s, &R, &I);
    complexImExp(-0.5 * Pi * rep1[2] * rep2[2], 0, &c, &s);
    complexProduct(R, I, c, s, somr, somi);
}

void SmatMinFCFT(const int* rep1, const int* rep2, double* somr, double* somi, int, int level) {
    const int N = 2 * level + 4;
    const int p = rep1[2], q = rep2[2];
    int e = p * q;
    const bool bothEven = mod(p, 2) == 0 && mod(q, 2) == 0;
    const bool bothOdd = mod(p, 2) == 1 && mod(q, 2) == 1;
    if ((N % 8 == 0 && bothEven) || (N % 8 != 0 && bothOdd))
        e -= N / 4;
    const int j = mod(e, N);
    const double root = std::sqrt(static_cast<double>(N));
    *somr = std::cos(2 * Pi * j / N) / root;
    *somi = std::sin(2 * Pi * j / N) / root;
}
