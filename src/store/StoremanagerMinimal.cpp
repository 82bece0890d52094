// N=2 minimal models as blocks of their own: the fields (l, m, s) laid out orbit by orbit, their
// weights and degeneracies, the simple currents with the closed rules by which they multiply and
// act, conjugation, the fixed-point theory of even levels, the grading and the gravitino action.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using store_internal::allocateFor;

namespace {

constexpr int Inconsistent = 212404;

// The largest level whose group keeps a character table: the table grows with the square of
// the group, and the blocks of the large CY levels never need it.
constexpr int MaxLevelWithCharacters = 499;

// The current group of level k: Z_{2M} for odd k, Z_M x Z_2 for even k (M = 2k+4).
struct Shape {
    int k, M, order;
    bool even;
};

Shape shapeOf(int k) {
    return Shape{k, 2 * k + 4, 4 * k + 8, k % 2 == 0};
}

int productOf(const Shape& g, int a, int b) {
    if (!g.even)
        return (a + b) % g.order;
    return (a % g.M + b % g.M) % g.M + ((a >= g.M) != (b >= g.M) ? g.M : 0);
}

int powerOf(const Shape& g, int a, int n) {
    if (!g.even)
        return static_cast<int>(static_cast<long long>(a) * n % g.order);
    const int r = static_cast<int>(static_cast<long long>(a % g.M) * n % g.M);
    return a >= g.M && n % 2 == 1 ? r + g.M : r;
}

int inverseOf(const Shape& g, int a) {
    if (!g.even)
        return (g.order - a) % g.order;
    return (g.M - a % g.M) % g.M + (a >= g.M ? g.M : 0);
}

// The one current with fixed points at even level, and the current (0, 0, 2) that grades.
int fixedCurrentOf(int k) {
    return k % 4 == 0 ? k + 2 : 3 * k + 6;
}

int gradeCurrentOf(int k) {
    return k % 4 != 0 ? 2 * k + 4 : 3 * k + 6;
}

bool isFixedPoint(SpectrumData* sd, int f) {
    return sd->level % 2 == 0 && 2 * SM_getRep(sd, f)[0] == sd->level;
}

Discrete_Group* makeGroup(int k) {
    int orders[2] = {4 * k + 8, 1};
    int mult = 1;
    if (k % 2 == 0) {
        orders[0] = 2 * k + 4;
        orders[1] = 2;
        mult = 2;
    }
    Discrete_Group* dg = DG_makeDecomp(orders, mult);
    if (k > MaxLevelWithCharacters)
        dg->CharStored = -2;
    return dg;
}

// Writes the fields in label order: the currents, then orbit after orbit.
struct Layout {
    SpectrumData* sd;
    Shape g;
    int mult;
    int next = 0;

    const int* rep(int f) const { return sd->ExtDynkin + 3 * static_cast<std::size_t>(f); }
    const int* charges(int f) const { return sd->Charges + static_cast<std::size_t>(f) * mult; }

    void place(const int* t, const int* ch, int generator, int position, int orbit) {
        const int f = next++;
        std::copy_n(t, 3, sd->ExtDynkin + 3 * static_cast<std::size_t>(f));
        std::copy_n(ch, mult, sd->Charges + static_cast<std::size_t>(f) * mult);
        sd->OrbitGenerator[f] = generator;
        sd->OrbitPosition[f] = position;
        sd->OrbitLabel[f] = orbit;
    }

    // Current c times field f becomes the next field.
    void fuse(int c, int f, int generator, int position, int orbit) {
        int t[3], ch[2] = {0, 0};
        SM_minimal_simple_fusion(t, rep(c), rep(f), ch, charges(c), charges(f), g.k);
        place(t, ch, generator, position, orbit);
    }

    void currents() {
        const int k = g.k;
        const int vacuum[3] = {0, 0, 0}, J[3] = {0, 1, 1};
        const int none[2] = {0, 0};
        const int chJ[2] = {g.even ? (3 * k + 8) / 2 : 3 * k + 8, g.even ? 1 : 0};
        place(vacuum, none, 0, 0, 0);
        place(J, chJ, 0, 1, 0);
        const int run = g.even ? g.M : g.order;
        for (int i = 2; i < run; i++)
            fuse(1, i - 1, 0, i, 0);
        if (!g.even)
            return;
        const int S[3] = {k % 4 == 2 ? 0 : k, 0, 2};
        const int chS[2] = {k + 2, 0};
        place(S, chS, 0, g.M, 0);
        for (int j = 1; j < g.M; j++)
            fuse(1, g.M + j - 1, 0, g.M + j, 0);
    }

    void orbit(int l) {
        const int k = g.k;
        const bool bothOdd = !g.even && l % 2 == 1;
        const int t[3] = {bothOdd ? k - l : l, bothOdd ? 0 : l % 2, 0};
        const int ch[2] = {g.even ? l % 2 : 0, g.even && k % 4 == 0 && l % 2 == 1 ? 1 : 0};
        const int generator = next;
        place(t, ch, generator, 0, l);
        // The fixed orbit at k = 0 mod 4 takes the positions whose Z_M part is below k+2.
        const bool jump = g.even && k % 4 == 0 && 2 * l == k;
        for (int p = 1; p < g.order && next < sd->Nprimaries; p++) {
            if (jump && p == k + 2)
                p = g.M;
            fuse(p, generator, generator, p, l);
        }
    }
};

void fillFieldData(SpectrumData* sd, const Shape& g, int mult) {
    const int k = g.k;
    for (int f = 0; f < sd->Nprimaries; f++) {
        SM_minimalWeight(k, SM_getRep(sd, f), &sd->Weight_num[f], &sd->Dimensions[f]);
        if (mult == 2 && isFixedPoint(sd, f))
            sd->Stabilizer[2 * static_cast<std::size_t>(f)] = fixedCurrentOf(k);
    }
}

// Conjugation commutes with fusion and sends J^p to J^-p, so the conjugate of J^p g is J^-p
// applied to the conjugate of g: one search per orbit instead of one per field.
void fillConjugates(SpectrumData* sd, const Shape& g) {
    int f = 0;
    while (f < sd->Nprimaries) {
        const int generator = f;
        const int cg = SM_MinimalConjugate(sd, generator);
        for (; f < sd->Nprimaries && sd->OrbitGenerator[f] == generator; f++)
            sd->Conjugates[f] =
                cg < 0 ? -1 : SM_SimpleAction(sd, inverseOf(g, sd->OrbitPosition[f]), cg);
    }
}

void makeFixedPointTheory(SpectrumData* sd) {
    const int k = sd->level;
    sd->FCFTnumber = 1;
    sd->FixedPointCurrents = allocateFor<int>(sd, 1, "Minimal fixed currents");
    sd->FixedPointCurrents[0] = fixedCurrentOf(k);
    SM_allocFCFT(sd);
    int count = 0;
    for (int f = 0; f < sd->Nprimaries; f++)
        sd->FCFTlabels[f] = isFixedPoint(sd, f) ? count++ : -1;
    SpectrumData* F = SM_create_minimal_FCFT(sd, count);
    sd->FixedPointCFT[0] = F;
    sd->FCFTshifts[0] = 3 * k / 2;
    F->CentralCharge = sd->CentralCharge + sd->FCFTshifts[0];
}

// Off the fixed points the closed rule answers at once; the group rule would search the orbit
// for every field.
void fillGravitinoAction(SpectrumData* sd) {
    int* action = allocateFor<int>(sd, sd->Nprimaries, "Gravitino action");
    for (int f = 0; f < sd->Nprimaries; f++)
        action[f] = SM_SimpleAction(sd, 1, f);
    sd->GravitinoAction = action;
}

} // namespace

void SM_minimalStandardForm(int k, int* l, int* m, int* s) {
    const int M = 2 * k + 4;
    int ll = *l, mm = mod(*m, M), ss = mod(*s, 4);
    if (mm > k + 2)
        mm -= M;
    if (std::abs(mm) > ll + 1 || mm == -(ll + 1)) {
        mm = mod(mm + k + 2, M);
        if (mm > k + 2)
            mm -= M;
        ll = k - ll;
        ss = (ss + 2) % 4;
    }
    *l = ll;
    *m = mm;
    *s = ss == 3 ? -1 : ss;
}

void SM_minimalWeight(int k, const int* t, int* num, int* dim) {
    const int l = t[0], m = t[1], s = t[2];
    const bool superpartner = l == 0 && m == 0 && s == 2;
    *num = (k + 2) * s * s + 2 * l * (l + 2) - 2 * m * m;
    if (((s == 1 || s == -1) && m == -s * (l + 1)) || superpartner)
        *num += 8 * k + 16;
    *dim = (s == 2 && std::abs(m) != l) || superpartner ? 2 : 1;
}

void SM_minimal_simple_fusion(int* rep, const int* rep1, const int* rep2, int* ch, const int* ch1,
                              const int* ch2, int level) {
    rep[0] = rep1[0] != 0 ? level - rep2[0] : rep2[0];
    rep[1] = rep1[1] + rep2[1];
    rep[2] = rep1[2] + rep2[2];
    SM_minimalStandardForm(level, &rep[0], &rep[1], &rep[2]);
    if (level % 2 == 1) {
        ch[0] = (ch1[0] + ch2[0]) % (4 * level + 8);
        return;
    }
    ch[0] = (ch1[0] + ch2[0]) % (2 * level + 4);
    ch[1] = (ch1[1] + ch2[1]) % 2;
}

void SM_minimal_spectrum(SpectrumData* sd, int N) {
    const Shape g = shapeOf(N);
    sd->type = 27;
    sd->rank = 2;
    sd->level = N;
    sd->RepSize = 3;
    sd->AdjDimension = 1;
    sd->CentralCharge = 3.0 * N / (N + 2);
    sd->SimpleCurrents = makeGroup(N);
    sd->Nprimaries = 2 * (N + 1) * (N + 2);
    sd->Weight_denom = 8 * N + 16;
    sd->exactWeights = 1;
    sd->validCFT = 1;
    SM_allocFieldInfo(sd, 1, 0);
    const int mult = sd->SimpleCurrents->Mult;
    Layout layout{sd, g, mult};
    layout.currents();
    sd->Norbits = g.even ? N / 2 + 1 : (N + 1) / 2;
    for (int l = 1; l < sd->Norbits; l++)
        layout.orbit(l);
    if (layout.next != sd->Nprimaries)
        Alert("SM_minimal_spectrum", 0, Inconsistent, "Count discrepancy (%d != %d)", layout.next,
              sd->Nprimaries);
    sd->Nprimaries = layout.next;
    fillFieldData(sd, g, mult);
    fillConjugates(sd, g);
    if (g.even)
        makeFixedPointTheory(sd);
    SM_grade(sd, gradeCurrentOf(N));
    fillGravitinoAction(sd);
}

int SM_MinimalSimpleAction(SpectrumData* sd, int current, int primary) {
    const Shape g = shapeOf(sd->level);
    if (!SM_fieldCheck(sd, primary) || current < 0 || current >= g.order)
        return -1;
    if (g.even && isFixedPoint(sd, primary))
        return -1;
    return sd->OrbitGenerator[primary] + productOf(g, sd->OrbitPosition[primary], current);
}

int SM_MinimalSimpleCurrentFusion(SpectrumData* sd, int cur1, int cur2) {
    const Shape g = shapeOf(sd->level);
    if (cur1 < 0 || cur2 < 0 || cur1 >= g.order || cur2 >= g.order) {
        Alert("SM_SimpleCurrentFusion", 0, Inconsistent, "Current not found");
        return -1;
    }
    return productOf(g, cur1, cur2);
}

int SM_MinimalSimpleCurrentPower(SpectrumData* sd, int cur1, int power) {
    const Shape g = shapeOf(sd->level);
    if (cur1 < 0 || cur1 >= g.order || power < 0) {
        Alert("SM_SimpleCurrentPower", 0, Inconsistent, "Current not found");
        return -1;
    }
    return powerOf(g, cur1, power);
}

int SM_minimalFixedPointCurrent(SpectrumData* sd, int current) {
    const int k = sd->level;
    return k % 2 == 0 && current == fixedCurrentOf(k) ? 1 : 0;
}

int SM_MinimalConjugate(SpectrumData* sd, int lbl) {
    if (sd->type != 6 && sd->type != 27) {
        Alert("SM_MinimalConjugate", 0, 112315, "Invalid input data");
        return -1;
    }
    if (sd->type == 6 && sd->rank != 2)
        return lbl;
    const int start = SM_fieldCheck(sd, lbl) ? sd->OrbitGenerator[lbl] : -1;
    if (SM_fieldCheck(sd, start)) {
        const int* t = SM_getRep(sd, lbl);
        int c[3] = {t[0], -t[1], -t[2]};
        SM_minimalStandardForm(sd->level, &c[0], &c[1], &c[2]);
        for (int f = start; f < sd->Nprimaries; f++)
            if (std::equal(c, c + 3, SM_getRep(sd, f)))
                return f;
    }
    Alert("SM_MinimalConjugate", 1, Inconsistent, "Charge conjugation error");
    return -1;
}

SpectrumData* SM_create_minimal_FCFT(SpectrumData* sdi, int size) {
    const int k = sdi->level;
    char name[64];
    std::snprintf(name, sizeof name, "FCFT minimal N=2 level=%d", k);
    SpectrumData* F = SM_createFCFT(sdi->Nprimaries, name, sdi, sdi->FCFTlabels, size, 0);
    F->type = 26;
    F->rank = 2;
    F->level = k;
    const int M = 2 * k + 4;
    for (int n = 0; n < size; n++) {
        int* t = F->ExtDynkin + static_cast<std::size_t>(n) * F->RepSize;
        int m = mod(t[1], M), s = mod(t[2], 4);
        if (s > 1) {
            m = mod(m - k - 2, M);
            s = (s + 2) % 4;
        }
        t[0] = k;
        t[1] = s;
        t[2] = m;
        F->Weight_num[n] = mod(F->Weight_num[n], F->Weight_denom);
    }
    return F;
}

int SM_WeightCompare(SpectrumData* sd, int i, int j) {
    if (sd->exactWeights == 1)
        return sd->Weight_num[i] == sd->Weight_num[j] ? 1 : 0;
    return mod(sd->Weight_num[i] - sd->Weight_num[j], sd->Weight_denom) == 0 ? 1 : 0;
}
