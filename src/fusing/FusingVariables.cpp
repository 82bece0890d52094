// The sign unknowns of the current block, the types of the orbifold's unknowns, the signatures
// that describe an unknown without naming labels, and the sign-info codes kept per signature.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Error.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <array>
#include <cstdio>

using namespace fusing;

VectorSpace PentagonVariables = declareVectorSpace("PentagonVariables", 1000);

namespace {

constexpr std::array<const char*, 31> typeNames = {"\"other\"",
                                                   "eps",
                                                   "abab",
                                                   "eps_p (a even)",
                                                   "k (a even)",
                                                   "g (b even)",
                                                   "(N/2)b(N/2)(N-b)",
                                                   "a(N-a)c(N-c)",
                                                   "ac(N-a)(N-c)",
                                                   "Sc4",
                                                   "Sc3",
                                                   "Sc2",
                                                   "0abc",
                                                   "Phi1:abc",
                                                   "Jabc",
                                                   "eps_p (a odd)",
                                                   "k (a odd)",
                                                   "g (b odd)",
                                                   "aaaa",
                                                   "a(N-a)a(N-a)",
                                                   "abba",
                                                   "aabb",
                                                   "a(N-a)(N-a)a",
                                                   "aa(N-a)(N-a)",
                                                   "aaab (a even)",
                                                   "aaab (a odd)",
                                                   "a(N-c)c(N-a)",
                                                   "epsilon",
                                                   "fusing",
                                                   "Phi3:abc",
                                                   "abcd"};

constexpr int typeOrder[] = {1,  3, 15, 4,  16, 5,  17, 18, 2,  20, 21, 19, 22, 23, 6, 7,
                             26, 8, 9,  11, 12, 14, 13, 29, 24, 25, 30, 0,  28, 27, -1};

// Whether the orbifold block makes a label twisted: such quadruples have no matrix.
bool hasTwistField(std::initializer_list<int> labels) {
    if (blockType() != 7)
        return false;
    for (int x : labels)
        if (kindOf(x) >= 2)
            return true;
    return false;
}

void insertRow(int p, int q, int a, int b, int c, int d) {
    int row[6] = {p, q, a, b, c, d};
    addVectorToCollection(&PentagonVariables, row);
}

void insertEntries(int a, int b, int c, int d) {
    int n = 0;
    int* basis = nullptr;
    const double* M = getFusingMatrix(a, b, c, d, &n, &basis);
    if (!M)
        return;
    // The matrix and basis are overwritten by the next call: read them out first.
    const std::vector<int> bas(basis, basis + 2 * n);
    const std::vector<double> entries(M, M + n * n);
    for (int i = 0; i < n; i++)
        for (int k = 0; k < n; k++)
            if (!ZeroCheck(entries[i * n + k]))
                insertRow(bas[n + i], bas[k], a, b, c, d);
}

bool isOdd(int x) {
    return x == 1 || x == 3;
}

// Rules 7 to 10: two labels at N/2 and a pair adding up to N, with the odd label on the side
// the rule names.
int halfPairType(int ja, int jb, int jc, int jd, int p, int q, int h, int N) {
    if (ja == h && jb == h && jc + jd == N && isOdd(p))
        return jc % 2 ? 17 : 5;
    if (ja == h && jd == h && jb + jc == N && isOdd(q))
        return jc % 2 ? 17 : 5;
    if (jc == h && jd == h && ja + jb == N && isOdd(p))
        return jb % 2 ? 17 : 5;
    if (jb == h && jc == h && ja + jd == N && isOdd(q))
        return jd % 2 ? 17 : 5;
    return -1;
}

// Rule 16: exactly three of the four labels equal; the parameter of the repeated one.
int threeEqualType(int a, int b, int c, int d) {
    const int labels[4] = {a, b, c, d};
    for (int x : labels)
        if (std::count(labels, labels + 4, x) == 3)
            return paramOf(x) % 2 ? 25 : 24;
    return -1;
}

int typeBySimpleCurrents(int a, int b, int c, int d) {
    const int below = (a < 4) + (b < 4) + (c < 4) + (d < 4);
    switch (below) {
    case 4:
        return 9;
    case 3:
        return 10;
    case 2:
        return 11;
    case 1: {
        const int x = a < 4 ? a : b < 4 ? b : c < 4 ? c : d;
        constexpr int byLabel[4] = {12, 13, 14, 29};
        return byLabel[x];
    }
    default:
        return -1;
    }
}

int typeOfEqualPairs(int a, int b, int c, int d, int p, int q, int N, int h) {
    const int ja = paramOf(a), jb = paramOf(b), jc = paramOf(c);
    if (a == b && b == c && c == d)
        return paramOf(a) == h && isOdd(p) && isOdd(q) ? 1 : 18;
    if (a == c && b == d) {
        if (ja + jb != N)
            return 2;
        if (!isOdd(p) || !isOdd(q))
            return 19;
        return ja % 2 ? 15 : 3;
    }
    if (a == d && b == c) {
        if (ja + jc != N)
            return 20;
        if (!isOdd(p))
            return 22;
        if (q != 0 && q != 2)
            return ja % 2 ? 16 : 4;
        return 22;
    }
    if (a == b && c == d) {
        if (ja + jc != N)
            return 21;
        if (!isOdd(q))
            return 23;
        if (p != 0 && p != 2)
            return ja % 2 ? 16 : 4;
        return 23;
    }
    return -1;
}

} // namespace

void getPentagonVariables(int max) {
    initVectorCollection(&PentagonVariables, 6, 1000);
    std::printf("MAX = %d\n", max);
    std::fflush(stdout);
    for (int a = 0; a < max; a++)
        for (int b = 0; b < max; b++)
            for (int c = 0; c < max; c++)
                for (int d = 0; d < max; d++)
                    if (!hasTwistField({a, b, c, d}))
                        insertEntries(a, b, c, d);
    for (int a = 0; a < max; a++)
        for (int b = 0; b <= a; b++)
            for (int c = 0; c < max; c++)
                if (!hasTwistField({a, b, c}) && fusingCoupling(a, b, c) > 0)
                    insertRow(-1, -1, a, b, c, -1);
}

int getVariableType(const int* vec) {
    if (vec[0] == -1)
        return 27;
    if (blockType() != 7)
        return 28;
    const int p = vec[0], q = vec[1], a = vec[2], b = vec[3], c = vec[4], d = vec[5];
    const int N = orbifoldRank(), h = N / 2;
    int t = typeBySimpleCurrents(a, b, c, d);
    if (t >= 0)
        return t;
    if ((t = typeOfEqualPairs(a, b, c, d, p, q, N, h)) >= 0)
        return t;
    const int ja = paramOf(a), jb = paramOf(b), jc = paramOf(c), jd = paramOf(d);
    if ((t = halfPairType(ja, jb, jc, jd, p, q, h, N)) >= 0)
        return t;
    if ((ja == h && jc == h && jb + jd == N) || (jb == h && jd == h && ja + jc == N))
        return 6;
    if (ja + jb == N && jc + jd == N)
        return 7;
    if (ja + jd == N && jb + jc == N)
        return 26;
    if (ja + jc == N && jb + jd == N)
        return 8;
    if ((t = threeEqualType(a, b, c, d)) >= 0)
        return t;
    return isDoublet(a) && isDoublet(b) && isDoublet(c) && isDoublet(d) ? 30 : 0;
}

const char* getVariableTypeName(int type) {
    return type >= 0 && type < static_cast<int>(typeNames.size()) ? typeNames[type] : "";
}

const int* getVariableTypeOrder() {
    return typeOrder;
}

namespace {

// The parity of a field's parameter (its label for the four currents).
int parity(int x) {
    return ((paramOf(x) % 2) + 2) % 2;
}

// An unknown with exactly one external current gets that current first.
void rotateCurrentFirst(const int* v, int* w) {
    const int p = v[0], q = v[1], a = v[2], b = v[3], c = v[4], d = v[5];
    if (a < 4) {
        std::copy(v, v + 6, w);
        return;
    }
    const std::array<int, 6> rotated = b < 4   ? std::array<int, 6>{q, p, b, c, d, a}
                                       : c < 4 ? std::array<int, 6>{p, q, c, d, a, b}
                                               : std::array<int, 6>{q, p, d, a, b, c};
    std::copy(rotated.begin(), rotated.end(), w);
}

} // namespace

void computeSignatureForLabels(const int* v, int* signature) {
    std::fill(signature, signature + 11, 0);
    const int t = getVariableType(v);
    signature[0] = t;
    // Only the orbifold's fields carry channels and parameters; other blocks' rows hold other
    // data (one int per field for a free boson).
    if (blockType() != 7)
        return;
    if (v[0] == -1) {
        signature[1] = channelCheck(v[2], v[3], v[4]);
        for (int k = 0; k < 3; k++)
            signature[7 + k] = parity(v[2 + k]);
        return;
    }
    int w[6];
    if (t == 12 || t == 13 || t == 14 || t == 29)
        rotateCurrentFirst(v, w);
    else
        std::copy(v, v + 6, w);
    const int p = w[0], q = w[1], a = w[2], b = w[3], c = w[4], d = w[5];
    signature[1] = channelCheck(a, b, p);
    signature[2] = channelCheck(c, d, p);
    signature[3] = channelCheck(a, d, q);
    signature[4] = channelCheck(b, c, q);
    for (int k = 0; k < 6; k++)
        signature[5 + k] = parity(w[k]);
}

int compareSignatures(int i, int j) {
    if (i < 0 || j < 0 || i >= PentagonVariables.Nfill || j >= PentagonVariables.Nfill)
        return 0;
    int si[11], sj[11];
    computeSignatureForLabels(rowOf(&PentagonVariables, i), si);
    computeSignatureForLabels(rowOf(&PentagonVariables, j), sj);
    return compareVec(11, si, sj);
}

int convertSignInfo(int input, int rank, int newSign) {
    const int l = input % 3, h = (input - l) / 3;
    const bool high = rank % 4 < 2;
    const int digit = high ? h : l;
    if (digit == 0)
        return high ? 3 * (newSign + 1) + l : 3 * h + newSign + 1;
    if (digit == newSign + 1)
        return input;
    Alert("convertSignInfo", 0, 212404, "Attempt to change already fixed sign");
    return input;
}

int* LTV(int p, int q, int a, int b, int c, int d) {
    static int labels[6];
    labels[0] = p;
    labels[1] = q;
    labels[2] = a;
    labels[3] = b;
    labels[4] = c;
    labels[5] = d;
    return labels;
}
