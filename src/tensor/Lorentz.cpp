// Lorentz representations of massless states in D dimensions: their names and light-cone degrees
// of freedom, the content of products of the covariant-lattice classes of the two world-sheet
// sides (symmetrised when both sides are equal), its text, and the table "Lorentz".
#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"
#include "numeric/VectorUtility.h"
#include "tensor/Branching.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using Counts = std::vector<int>;

std::array<int, 4> spinDecomposition{};
Counts tensorResult;
Counts productResult;
Counts representationResult;

constexpr int FirstForm = 11;
constexpr int LineLimit = 60;

const char* const oddNotation[FirstForm] = {"S0", "F",  "V1", "--", "G2", "B2",
                                            "D0", "FV", "--", "--", "--"};
const char* const evenNotation[FirstForm] = {"S0", "F+",  "V1",  "F-", "G2", "B2",
                                             "D0", "FV+", "FV-", "A+", "A-"};
const char* const oddMeaning[FirstForm] = {
    "Scalar",  "Spinor",    "Vector",       "- NOT USED -", "Graviton",    "B-tensor",
    "Dilaton", "Gravitino", "- NOT USED -", "- NOT USED -", "- NOT USED -"};
const char* const evenMeaning[FirstForm] = {"Scalar",
                                            "Chiral spinor",
                                            "Vector",
                                            "Anti-chiral spinor",
                                            "Graviton",
                                            "B-tensor",
                                            "Dilaton",
                                            "Chiral gravitino",
                                            "Anti-chiral gravitino",
                                            "Self-dual tensor",
                                            "Anti-selfdual tensor"};

enum Index {
    S0 = 0,
    Fp = 1,
    V1 = 2,
    Fm = 3,
    G2 = 4,
    B2 = 5,
    D0 = 6,
    FVp = 7,
    FVm = 8,
    Ap = 9,
    Am = 10
};

struct Multiplet {
    int dim;
    std::array<int, 16> counts;
    const char* name;
};

const Multiplet multiplets[] = {
    {6, {0, 0, 0, 2, 1, 0, 1, 2, 0, 1, 0, 3, 0, 0, 0, 0}, "Gravity"},
    {6, {1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, "Tensor"},
    {6, {3, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, "Hyper"},
    {6, {2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "1/2 Hyper"},
    {6, {0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Vector"},
};

int dimOf(void* row) {
    return *static_cast<int*>(row);
}

bool isFermion(int index) {
    return index < 15 && (index == 1 || index == 3 || index == 7 || index == 8);
}

// Fermionic slots of the class products: the spinors.
bool isFermionicSlot(int dim, int slot) {
    return dim % 2 == 0 ? slot == 1 || slot == 3 : slot == 2;
}

int binomial(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    long long b = 1;
    for (int i = 1; i <= k; i++)
        b = b * (n - k + i) / i;
    return static_cast<int>(b);
}

// Twice the light-cone degrees of freedom of a spinor.
int spinorCount(int dim) {
    const int exponent = dim % 2 == 1 ? (dim - 1) / 2 : dim / 2 - 1;
    return exponent < 0 ? 1 : 1 << exponent;
}

std::string notation(int dim, int index) {
    if (index >= FirstForm) {
        // Appended, not concatenated: GCC 12 warns wrongly about "A" + std::to_string(n).
        std::string form = "A";
        return form.append(std::to_string(index - FirstForm));
    }
    return dim % 2 == 1 ? oddNotation[index] : evenNotation[index];
}

std::string halved(int doubled) {
    return doubled % 2 == 0 ? std::to_string(doubled / 2) : std::to_string(doubled) + "/2";
}

char* writeText(char* txt, const std::string& text) {
    text.copy(txt, text.size());
    txt[text.size()] = '\0';
    return txt + text.size();
}

void addForms(Counts& r, int first, int step, int count) {
    for (int m = 0; m < count; m++) {
        const std::size_t index = static_cast<std::size_t>(FirstForm + first + step * m);
        if (index < r.size())
            r[index] = 1;
    }
}

// A run of forms first, first + 4, ... with (D + offset) / 8 members; first -1 is no run.
struct FormRun {
    int first;
    int offset;
};

struct FormRule {
    FormRun sym[2];
    FormRun anti[2];
};

// By D mod 8: at odd D the forms of the product of two real spinors, at even D those of two
// spinors of equal chirality.
const FormRule spinorFormRules[8] = {
    {{{3, -8}, {-1, 0}}, {{1, 0}, {-1, 0}}},  {{{0, -1}, {3, -1}}, {{1, -1}, {2, -1}}},
    {{{0, -2}, {-1, 0}}, {{2, -2}, {-1, 0}}}, {{{0, 5}, {1, -3}}, {{2, -3}, {3, -3}}},
    {{{1, -4}, {-1, 0}}, {{3, -4}, {-1, 0}}}, {{{1, 3}, {2, -5}}, {{0, 3}, {3, -5}}},
    {{{2, -6}, {-1, 0}}, {{0, 2}, {-1, 0}}},  {{{2, 1}, {3, -7}}, {{0, 1}, {1, 1}}},
};

void addRuns(Counts& r, int D, const FormRun (&runs)[2]) {
    for (const FormRun& run : runs)
        if (run.first >= 0)
            addForms(r, run.first, 4, (D + run.offset) / 8);
}

void spinorForms(Counts& r, int D, bool sym, bool anti) {
    const FormRule& rule = spinorFormRules[D % 8];
    if (sym)
        addRuns(r, D, rule.sym);
    if (anti)
        addRuns(r, D, rule.anti);
}

void oppositeSpinorForms(Counts& r, int D) {
    if (D % 4 == 0)
        addForms(r, 0, 2, D / 4);
    else
        addForms(r, 1, 2, (D - 2) / 4);
}

Counts classProduct(int D, int i, int j, int sym) {
    if (i > j)
        std::swap(i, j);
    Counts r(static_cast<std::size_t>(D + 10), 0);
    const bool symmetric = sym >= 0, anti = sym <= 0;
    auto set = [&](int index) { r[static_cast<std::size_t>(index)] = 1; };
    const int pair = 10 * i + j;
    if (D % 2 == 1) {
        if (pair == 0 && symmetric)
            set(S0);
        else if (pair == 1)
            set(V1);
        else if (pair == 2)
            set(Fp);
        else if (pair == 11) {
            if (symmetric) {
                set(G2);
                set(D0);
            }
            if (anti)
                set(B2);
        } else if (pair == 12) {
            set(Fp);
            set(FVp);
        } else if (pair == 22)
            spinorForms(r, D, symmetric, anti);
        return r;
    }
    switch (pair) {
    case 0:
        if (symmetric)
            set(S0);
        break;
    case 1:
        set(Fp);
        break;
    case 2:
        set(V1);
        break;
    case 3:
        set(Fm);
        break;
    case 11:
    case 33:
        if (symmetric)
            set(pair == 11 ? Ap : Am);
        spinorForms(r, D, symmetric, anti);
        break;
    case 13:
        oppositeSpinorForms(r, D);
        break;
    case 22:
        if (symmetric) {
            set(G2);
            set(D0);
        }
        if (anti && D > 2)
            set(B2);
        break;
    case 12:
        set(FVp);
        set(Fm);
        break;
    case 23:
        set(FVm);
        set(Fp);
        break;
    default:
        break;
    }
    return r;
}

void addTimes(Counts& r, const Counts& term, int times) {
    for (std::size_t k = 0; k < r.size(); k++)
        r[k] += times * term[k];
}

Counts slotProduct(int D, int sym, const int* c, const int* d) {
    Counts r(static_cast<std::size_t>(D + 10), 0);
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) {
            if (c[i] == 0 || d[j] == 0)
                continue;
            if (sym == 0 || i < j) {
                addTimes(r, classProduct(D, i, j, 0), c[i] * d[j]);
            } else if (i == j) {
                const int n = c[i];
                const int s = isFermionicSlot(D, i) ? -sym : sym;
                addTimes(r, classProduct(D, i, i, s), n * (n + 1) / 2);
                addTimes(r, classProduct(D, i, i, -s), n * (n - 1) / 2);
            }
        }
    return r;
}

bool dimensionServed(const char* routine, int dim) {
    if (dim > MaxSpaceTimeDim) {
        Alert(routine, 1, 112413, "Maximal dimension: %d", MaxSpaceTimeDim);
        return false;
    }
    if (dim < 2) {
        Alert(routine, 2, 100301, "Dimension should be at least 2");
        return false;
    }
    return true;
}

// The two sides' slot counts, or false when a side has no table.
bool sideCounts(SusyType* ST, int i, int j, std::array<int, 4>& c, std::array<int, 4>& d) {
    const int* left = SusySpinDecomposition(ST->Left, ST->dim, i);
    if (!left)
        return false;
    std::copy(left, left + 4, c.begin());
    const int* right = SusySpinDecomposition(ST->Right, ST->dim, j);
    if (!right)
        return false;
    std::copy(right, right + 4, d.begin());
    return true;
}

std::string listText(const char* kind, int doubled, const int* count, int size, int dim,
                     bool fermions) {
    std::string text = std::string("     ") + kind + " (" + halved(doubled) + " d.o.f.):   ";
    std::size_t lineStart = 0;
    for (int k = 0; k < size; k++) {
        if (count[k] == 0 || isFermion(k) != fermions)
            continue;
        if (text.size() - lineStart > LineLimit) {
            text.resize(text.size() - 3);
            text += "\n";
            lineStart = text.size();
            text += std::string(23, ' ') + "   + ";
        }
        std::string name = "[";
        name.append(notation(dim, k)).append("] + ");
        text += count[k] == 1 ? name : std::to_string(count[k]) + name;
    }
    text.resize(text.size() - 3);
    return text + "\n";
}

const char* multipletName(int size, int dim, const int* count) {
    for (const Multiplet& m : multiplets) {
        if (m.dim != dim)
            continue;
        bool equal = true;
        for (int k = 0; k < size && equal; k++)
            equal = count[k] == (k < 16 ? m.counts[static_cast<std::size_t>(k)] : 0);
        if (equal)
            return m.name;
    }
    return nullptr;
}

std::string spaceTimeRepText(int size, int dim, const int* count, int isSusy) {
    int bosons = 0, fermions = 0;
    for (int k = 0; k < size; k++)
        if (count[k] >= 1)
            (isFermion(k) ? fermions : bosons) += count[k] * lightconeDim(dim, k);
    if (bosons != fermions && isSusy == 1) {
        printVec(size, count, "Rep: ");
        Alert("printSpaceTimeRep", 0, 212404, "Supersymmetry violation\n");
    }
    std::string text;
    if (bosons != 0)
        text += listText("Bosons  ", bosons, count, size, dim, false);
    if (fermions != 0)
        text += listText("Fermions", fermions, count, size, dim, true);
    if (bosons + fermions == 0)
        text += "    No states\n";
    if (const char* name = multipletName(size, dim, count))
        text += std::string("    (") + name + " multiplet)\n";
    return text;
}

std::string productText(int sym, const std::array<int, 4>& c, const std::array<int, 4>& d,
                        const SusyType* ST) {
    const Counts r = slotProduct(ST->dim, sym, c.data(), d.data());
    return spaceTimeRepText(ST->dim + 10, ST->dim, r.data(), ST->supersymmetric);
}

} // namespace

// ---- Names and degrees of freedom ----

int lightconeDim(int dim, int rep) {
    const int D = dim, s = spinorCount(D);
    switch (rep) {
    case S0:
    case D0:
        return 2;
    case Fp:
    case Fm:
        return s;
    case V1:
        return 2 * D - 4;
    case G2:
        return (D - 3) * D;
    case B2:
        return (D - 3) * (D - 2);
    case FVp:
    case FVm:
        return (D - 3) * s;
    case Ap:
    case Am:
        return D % 2 == 1 ? 0 : binomial(D - 2, D / 2 - 1);
    default:
        return 2 * binomial(D - 2, rep - FirstForm);
    }
}

char* BR_getNotationString(char* txt, void* row, int lbl) {
    return writeText(txt, notation(dimOf(row), lbl));
}

char* BR_getInterpretationString(char* txt, void* row, int lbl) {
    const int D = dimOf(row);
    std::string text;
    if (lbl >= FirstForm) {
        const int k = lbl - FirstForm;
        text = k == 0   ? "Scalar RR-field"
               : k == 1 ? "Vector RR-field"
                        : std::to_string(k) + "-form RR-field";
    } else {
        text = D % 2 == 1 ? oddMeaning[lbl] : evenMeaning[lbl];
    }
    if (D % 2 == 0 && (lbl == Ap || lbl == Am))
        text += " (rank " + std::to_string((D - 2) / 2) + ")";
    if (D == 4 && lbl == B2)
        text += " (axion)";
    return writeText(txt, text);
}

char* BR_getDOFString(char* txt, void* row, int lbl) {
    const int D = dimOf(row);
    if (D % 2 == 1 && (lbl == Fm || lbl == FVm || lbl == Ap || lbl == Am))
        return writeText(txt, "-");
    return writeText(txt, halved(lightconeDim(D, lbl)));
}

void displayLorentzReps(int dim) {
    if (dim > MaxSpaceTimeDim) {
        Alert("displayLorentzReps", 0, 112413, "Maximal dimension: %d", MaxSpaceTimeDim);
        return;
    }
    const int rows = (dim + dim % 2) / 2 + 10;
    if (const char* text = sprintTable("Lorentz", 0, rows, 1, 0, &dim))
        Print("%s", text);
}

// ---- Products ----

int* SusySpinDecomposition(const ChiralSusyType* CST, int dim, int rep) {
    const bool even = dim % 2 == 0;
    const int so = dim + 6;
    const int soType = even ? 4 : 2, soRank = even ? so / 2 : (so - 1) / 2;
    int type = CST->Type, rank = CST->Rank;
    if (type == 0) {
        type = soType;
        rank = soRank;
        // A bosonic side has one representation besides the vector multiplet: the vector.
        if (rep >= 0)
            rep = even ? 2 : 1;
    }
    if (rep < -1 || rep > 3)
        return nullptr;
    const Branching* T = makeBranchingTable(type, rank, soType, soRank, CST->Chir);
    if (!T)
        return nullptr;
    const int* A = T->Adjoint;
    auto& c = spinDecomposition;
    if (even)
        c = rep == -1 ? std::array<int, 4>{A[2], A[1], 1, A[3]}
                      : std::array<int, 4>{T->table[rep][2], T->table[rep][1], 0, T->table[rep][3]};
    else
        c = rep == -1 ? std::array<int, 4>{A[1], 1, A[2], 0}
                      : std::array<int, 4>{T->table[rep][1], 0, T->table[rep][2], 0};
    return c.data();
}

int* CovLatTensor(int dim, int i, int j, int sym) {
    tensorResult = classProduct(dim, i, j, sym);
    return tensorResult.data();
}

int* multiplySpaceTimeReps(int dim, int sym, const int* cnt1, const int* cnt2) {
    productResult = slotProduct(dim, sym, cnt1, cnt2);
    return productResult.data();
}

int* getSusyRepresentation(int i, int j, int sym, SusyType* ST) {
    if (!dimensionServed("getSusyRepresentation", ST->dim) || checkSusyType(ST) != 0)
        return nullptr;
    std::array<int, 4> c{}, d{};
    if (!sideCounts(ST, i, j, c, d))
        return nullptr;
    const int D = ST->dim;
    if (sym == 0 && i == j && ST->symmetrizable) {
        Alert("getSusyRepresentation", 0, 212304, "Reducible susy representation");
        representationResult = slotProduct(D, 1, c.data(), d.data());
        addTimes(representationResult, slotProduct(D, -1, c.data(), d.data()), 1);
    } else {
        representationResult = slotProduct(D, sym, c.data(), d.data());
    }
    return representationResult.data();
}

std::string susyRepresentationText(int i, int j, int sym, SusyType* ST) {
    if (!dimensionServed("getSusyRepresentationString", ST->dim) || checkSusyType(ST) != 0)
        return "";
    std::array<int, 4> c{}, d{};
    if (!sideCounts(ST, i, j, c, d))
        return "";
    if (!ST->symmetrizable || i != j)
        sym = 0;
    if (ST->symmetrizable && i == j && sym == 0)
        return "  Symmetric part: \n" + productText(1, c, d, ST) + "  Anti-symmetric part: \n" +
               productText(-1, c, d, ST);
    return productText(sym, c, d, ST);
}

char* getSusyRepresentationString(char* txt, int i, int j, int sym, SusyType* ST) {
    return writeText(txt, susyRepresentationText(i, j, sym, ST));
}

char* printSpaceTimeRep(char* txt, int size, int dim, const int* count, int isSusy) {
    return writeText(txt, spaceTimeRepText(size, dim, count, isSusy));
}
