// Minimal models made as cosets: N=0 as A1_k x A1_1 / A1_(k+1), N=1 as A1_k x A1_2 / A1_(k+2),
// N=2 as A1_k x U(1)_4 / U(1)_(2k+4), each extended by its identification current, stored as a
// block and then given the familiar labels, exact weights and dimensions. Also the table of the
// products of N=2 minimal models with central charge 9.
#include "tensor/CosetInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

using namespace coset_internal;

namespace {

TensorProduct* createTensor = nullptr;

// The coset labels (a, b, c) of a field: the first label of each factor's own label row.
struct Triple {
    int a, b, c;
};

Triple cosetLabels(SpectrumData* sd, int f) {
    const int* row = SM_getRep(sd, f);
    auto first = [sd, row](int k) {
        SpectrumData* block = sd->CosetFactors[k];
        return SM_getRep(block, row[k])[0];
    };
    return {first(0), first(1), first(2)};
}

// The scratch product of the three factors and the current, made into a block with grading off.
SpectrumData* buildCoset(const std::array<SpectrumData*, 3>& factors, const std::array<int, 3>& J,
                         const std::string& name, int minimalN2) {
    for (SpectrumData* f : factors)
        if (!f)
            return nullptr;
    createTensor = initializeTensorProduct(createTensor);
    TensorProduct* TP = createTensor;
    resetCoset(TP);
    addTensorFactor(TP, factors[0], 0);
    addTensorFactor(TP, factors[1], 0);
    addTensorFactor(TP, factors[2], 1);
    if (addNewCurrent(TP, J.data()) != 0)
        return nullptr;
    setGenuineCoset(TP);
    const int graded = swapGraded(0);
    SpectrumData* sd = createCFTFlagged(TP, name.c_str(), minimalN2);
    swapGraded(graded);
    return sd;
}

// Type 6 with the minimal model's own weight denominator and room for dimensions.
void becomeMinimal(SpectrumData* sd, int N, int k, int denominator) {
    sd->type = 6;
    sd->rank = N;
    sd->level = k;
    sd->Weight_denom = denominator;
    if (!sd->Dimensions)
        sd->Dimensions = static_cast<int*>(allocate(
            static_cast<std::size_t>(sd->Nprimaries) * sizeof(int), &sd->TotalAlloc, "Dimensions"));
    sd->exactWeights = 1;
}

void setRow(SpectrumData* sd, int f, int x, int y, int z) {
    int* row = SM_getRep(sd, f);
    row[0] = x;
    row[1] = y;
    row[2] = z;
}

// The weight of the coset field and the minimal-model weight must agree modulo 1.
void checkWeight(int oldNum, int oldDen, int newNum, int newDen) {
    const double d = static_cast<double>(oldNum) / oldDen - static_cast<double>(newNum) / newDen;
    if (!ZeroModOneCheck(d))
        Alert("createMinimal0", 0, 212404, "Weight is not correct");
}

// ---- The table of N=2 minimal-model products with c = 9 ----

struct CYRow {
    int r;
    std::array<int, 9> k;
    int code;
};
std::vector<CYRow> cyTable;

struct Fraction {
    long long num = 0, den = 1;
    void reduce() {
        const long long g = std::gcd(num, den);
        if (g != 0) {
            num /= g;
            den /= g;
        }
        if (den < 0) {
            num = -num;
            den = -den;
        }
    }
};

int codeOf(const int* levels, int r) {
    std::string digits;
    for (int j = 0; j < r; j++)
        digits += numstr(levels[j]);
    return strnum(digits.c_str());
}

// Appends the row when the last level completes c = 9.
void tryLevels(int r, const std::vector<int>& k) {
    Fraction c{9, 1};
    for (int j = 0; j < r - 1; j++) {
        c.num = c.num * (k[static_cast<std::size_t>(j)] + 2) -
                3LL * k[static_cast<std::size_t>(j)] * c.den;
        c.den *= k[static_cast<std::size_t>(j)] + 2;
        c.reduce();
    }
    if (c.num <= 0 || c.num >= 3 * c.den)
        return;
    Fraction last{2 * c.num, 3 * c.den - c.num};
    last.reduce();
    if (last.den != 1 || last.num < k[static_cast<std::size_t>(r - 2)])
        return;
    CYRow row{r, {}, 0};
    for (int j = 0; j < r - 1; j++)
        row.k[static_cast<std::size_t>(j)] = k[static_cast<std::size_t>(j)];
    row.k[static_cast<std::size_t>(r - 1)] = static_cast<int>(last.num);
    row.code = codeOf(row.k.data(), r);
    cyTable.push_back(row);
}

void buildCYTable() {
    static const int bounds[] = {80, 22, 10, 4, 2, 1};
    for (int r = 4; r <= 9; r++) {
        const int B = bounds[r - 4];
        for (int k1 = 1; k1 <= 6; k1++) {
            std::vector<int> k(static_cast<std::size_t>(r - 1));
            for (Odometer d(std::vector<int>(static_cast<std::size_t>(r - 2), B)); !d.done();
                 d.advance()) {
                k[0] = k1;
                for (int j = 0; j < r - 2; j++)
                    k[static_cast<std::size_t>(j + 1)] =
                        k[static_cast<std::size_t>(j)] + d.index()[static_cast<std::size_t>(j)];
                tryLevels(r, k);
            }
        }
    }
}

} // namespace

// ---- N=0 ----

void MapMinimal0(int level, int* L1, int* L2, int* L3) {
    if (*L3 > *L1) {
        *L1 = level - *L1;
        *L2 = 1 - *L2;
        *L3 = level + 1 - *L3;
    }
}

void createMinimal0(int level) {
    const int k = level;
    SpectrumData* sd =
        buildCoset({SM_getData(1, 1, k), SM_getData(1, 1, 1), SM_getData(1, 1, k + 1)}, {1, 1, 1},
                   "minimal N=0 " + std::to_string(k), 0);
    if (!sd)
        return;
    const int oldDen = sd->Weight_denom;
    becomeMinimal(sd, 0, k, 4 * (k + 2) * (k + 3));
    for (int f = 0; f < sd->Nprimaries; f++) {
        Triple t = cosetLabels(sd, f);
        MapMinimal0(k, &t.a, &t.b, &t.c);
        const int r = t.a + 1, s = t.c + 1;
        const int x = (k + 3) * r - (k + 2) * s;
        const int num = x * x - 1;
        checkWeight(sd->Weight_num[f], oldDen, num, sd->Weight_denom);
        sd->Weight_num[f] = num;
        sd->Dimensions[f] = 1;
        setRow(sd, f, r, s, t.b);
    }
}

// ---- N=1 ----

void MapMinimal1(int level, int* L1, int* L2, int* L3) {
    const int a = *L1, c = *L3;
    if (c <= a + 1 && (c != a + 1 || a >= (level + 1) / 2))
        return;
    *L1 = level - a;
    *L2 = 2 - *L2;
    *L3 = level + 2 - c;
}

void createMinimal1(int level) {
    const int k = level;
    SpectrumData* sd =
        buildCoset({SM_getData(1, 1, k), SM_getData(1, 1, 2), SM_getData(1, 1, k + 2)}, {1, 1, 1},
                   "minimal N=1 " + std::to_string(k), 0);
    if (!sd)
        return;
    const int unit = (k + 2) * (k + 4);
    becomeMinimal(sd, 1, k, 16 * unit);
    const bool resolved = sd->RepSize > 3;
    for (int f = 0; f < sd->Nprimaries; f++) {
        Triple t = cosetLabels(sd, f);
        MapMinimal1(k, &t.a, &t.b, &t.c);
        const int a = t.a, b = t.b, c = t.c;
        const int fp = resolved ? SM_getRep(sd, f)[3] : 0;
        int num =
            2 * unit * (a - c) * (a - c) - 4 * (k + 2) * c * (c + 2) + 4 * (k + 4) * a * (a + 2);
        const int e = mod(c - a - b, 4);
        if (b == 1)
            num += unit;
        if (e == 2 && b % 2 == 0)
            num += num != 0 ? 8 * unit : 24 * unit;
        if (fp == 1)
            num += sd->Weight_denom;
        sd->Weight_num[f] = num;
        sd->Dimensions[f] = 1;
        const int third = b != 1 ? e : (resolved ? 2 * fp + 1 : 1);
        setRow(sd, f, a + 1, c + 1, third);
    }
}

// ---- N=2 ----

// The store's N=2 blocks use the same standard form; it is kept there.
void MapMinimal2(int level, int* L, int* Q, int* S) {
    SM_minimalStandardForm(level, L, Q, S);
}

void createMinimal2(int level) {
    const int k = level;
    char name[40];
    std::snprintf(name, sizeof name, "minimal N=2 k=%d", k);
    SpectrumData* sd =
        buildCoset({SM_getData(1, 1, k), SM_getData(0, 4, 0), SM_getData(0, 2 * k + 4, 0)},
                   {1, 2, k + 2}, name, 1);
    if (!sd)
        return;
    becomeMinimal(sd, 2, k, 8 * k + 16);
    sd->AdjDimension = 1;
    for (int f = 0; f < sd->Nprimaries; f++) {
        const Triple t = cosetLabels(sd, f);
        int l = t.a, m = t.c, s = t.b;
        MapMinimal2(k, &l, &m, &s);
        const int triple[3] = {l, m, s};
        SM_minimalWeight(k, triple, &sd->Weight_num[f], &sd->Dimensions[f]);
        setRow(sd, f, l, m, s);
    }
    if (sd->FCFTnumber == 1 && sd->Nprimaries > 50000 && sd->FixedPointCFT[0]) {
        sd->FixedPointCFT[0]->level = k;
        sd->FixedPointCFT[0]->S_Symmetry = 1;
        sd->FixedPointCFT[0]->StoreS = 0;
    }
    const int grade[3] = {0, 0, 2};
    const int g = SM_getLabel(sd, grade);
    if (g >= 0)
        SM_grade(sd, g);
    SM_getCurrentOuterAutomorphisms(sd);
}

// ---- The table ----

int interpretMinimalTensor(int code, int* factors) {
    if (cyTable.empty())
        buildCYTable();
    if (code == -1) {
        for (const CYRow& row : cyTable)
            PrintVec(row.r, row.k.data(), "");
        return -1;
    }
    for (const CYRow& row : cyTable)
        if (row.code == code) {
            for (int j = 0; j < row.r; j++)
                factors[j] = row.k[static_cast<std::size_t>(j)];
            return row.r;
        }
    Alert("interpretMinimalTensor", 0, 100302, "invalid CY code %d", code);
    return -1;
}
