// Names of stored invariants as users give them, the printed formula of an invariant with its
// statistics, the column "Bulk invariant" of the field tables and the browse report.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

using namespace invariants_internal;

namespace {

// A cell longer than this is cut: the table has room for 65,536 characters.
constexpr std::size_t CellLimit = 60000;
// A line of the formula breaks before a term that would reach this width.
constexpr int LineWidth = 61;

int digits(int x) {
    return static_cast<int>(std::to_string(x).size());
}

std::string repString(const int* Orbit, int Size) {
    std::string text = "(";
    for (int k = 0; k < Size;) {
        int run = 1;
        while (k + run < Size && Orbit[k + run] == Orbit[k])
            run++;
        if (run > 1)
            text += std::to_string(run) + "*";
        text += std::to_string(Orbit[k]) + "+";
        k += run;
    }
    text.back() = ')';
    return text;
}

bool sameList(const int* a, int na, const int* b, int nb) {
    return na == nb && std::equal(a, a + na, b);
}

bool hasPartners(const BulkInvariant* bi, int i) {
    return bi->orbitlength[i] > 0 && bi->multiplicity[i] > 0;
}

// Fields j after i with i's partners in i's order and a multiplicity q times i's join i's term,
// each q times.
std::vector<int> leftListOfTerm(const BulkInvariant* bi, int i, std::vector<char>& printed) {
    std::vector<int> left{i};
    printed[static_cast<std::size_t>(i)] = 1;
    for (int j = i + 1; j < bi->Nprimaries; j++) {
        if (printed[static_cast<std::size_t>(j)] || !hasPartners(bi, j))
            continue;
        if (!sameList(bi->orbits[i], bi->orbitlength[i], bi->orbits[j], bi->orbitlength[j]))
            continue;
        if (bi->multiplicity[j] % bi->multiplicity[i] != 0)
            continue;
        left.insert(left.end(), static_cast<std::size_t>(bi->multiplicity[j] / bi->multiplicity[i]),
                    j);
        printed[static_cast<std::size_t>(j)] = 1;
    }
    return left;
}

// ---- Statistics of a printed invariant ----

struct StatisticsRow {
    int w = 0;
    int diagonal = 0;
    int conjugate = 0;
    int selfConjugate = 0;
};

int weightDenominator = 1; // D: the weights count in units of 1/D
std::vector<StatisticsRow> statistics;
std::vector<int> ratCountList;

int weightModOne(int lbl, int comnum) {
    const rat* h = ratWeight(lbl);
    const long long scaled = static_cast<long long>(comnum) * h->num / h->den;
    return static_cast<int>(((scaled % comnum) + comnum) % comnum);
}

int commonDenominator() {
    long long D = 1;
    for (int l = 0; l < theoryPrimaries(); l++) {
        D = std::lcm(D, static_cast<long long>(ratWeight(l)->den));
        if (D > INT_MAX / 2)
            return 1; // beyond what the counts can use
    }
    return static_cast<int>(D);
}

void prepareStatistics() {
    weightDenominator = commonDenominator();
    const int* values = RatCount(weightDenominator);
    statistics.assign(1, StatisticsRow{});
    for (int k = 1; k < values[0]; k++)
        statistics.push_back(StatisticsRow{values[k], 0, 0, 0});
}

void printStatistics() {
    Print("\nStatistics: (weights multiplied by %d)\n", weightDenominator);
    Print("Wt (mod 1)   D    C    S \n");
    for (const StatisticsRow& r : statistics)
        Print("%5d     %4d %4d %4d\n", r.w, r.diagonal, r.conjugate, r.selfConjugate);
}

void addToStatistics(const int* LeftRep, const int* RightRep, int LSize, int RSize, int m) {
    const int w = weightModOne(LeftRep[0], weightDenominator);
    auto row = std::find_if(statistics.begin(), statistics.end(),
                            [w](const StatisticsRow& r) { return r.w == w; });
    if (row == statistics.end())
        return;
    for (int a = 0; a < LSize; a++)
        for (int b = 0; b < RSize; b++) {
            const bool conjugatePair = getConjugate(RightRep[b]) == LeftRep[a];
            if (LeftRep[a] == RightRep[b]) {
                row->diagonal += m;
                if (conjugatePair)
                    row->selfConjugate += m;
            } else if (conjugatePair) {
                row->conjugate += m;
            }
        }
}

// ---- The browse report ----

void printRecordedCriteria(const SCData* md) {
    const std::array<std::pair<int, const char*>, 6> recorded{{
        {md->SymmetryRequired, "Symmetric: YES\n"},
        {md->Automorphism, "Automorphism: YES\n"},
        {md->Extension, "Extension: YES\n"},
        {md->RejectPermutations, "Reject permutations: YES\n"},
        {md->AutoStore, "Autostore: YES\n"},
        {md->AlgebraRestrictions, "Chiral algebra requirements: YES\n"},
    }};
    const bool any =
        std::any_of(recorded.begin(), recorded.end(), [](const auto& r) { return r.first != 0; });
    if (!any) {
        Print("No selection criteria imposed\n");
        return;
    }
    Print("This MIPF identifier depends on the following selection criteria:\n");
    for (const auto& [value, text] : recorded)
        if (value == 1)
            Print("%s", text);
}

void describeSimpleCurrentInvariant(const BulkInvariant* bi, int MaxNum, int info) {
    const SCData* md = bi->MD;
    Print("Bulk invariant is a simple current invariant\n");
    if ((param(Par::InfoLevel) >= 2 || info == 1) && md->dg) {
        PrintVec(md->dg->Order, md->map.X, "Simple currents: ");
        if (MaxNum > 0) {
            Print("Group structure: \n");
            printDiscreteGroup(md->dg, md->map.X);
        }
        printMonodromy(md);
        if (md->KernelSize == 1)
            Print("This is an automorphism invariant\n");
        else
            printChiralAlgebras(md->LeftKernel, md->KernelSize, md->RightKernel, md->KernelSize);
    }
    if (md->AutoSelect != -1)
        Print("Autoselect number %d in subgroup\n", md->AutoSelect);
}

// The left chiral algebra holds each field i Z(i,0) times; it cannot be larger than the right
// one, the partners of the vacuum.
void describeExceptionalAlgebras(const BulkInvariant* bi) {
    const int rightSize = bi->orbitlength[0];
    if (rightSize == 1) {
        Print("This is an automorphism invariant\n");
        return;
    }
    std::vector<int> left;
    bool tooLarge = false;
    for (int i = 0; i < bi->Nprimaries && !tooLarge; i++)
        for (int k = 0; k < bi->orbitlength[i] && !tooLarge; k++) {
            if (bi->orbits[i][k] != 0)
                continue;
            for (int m = 0; m < bi->multiplicity[i] && !tooLarge; m++) {
                if (static_cast<int>(left.size()) == rightSize) {
                    Alert("browseBulk", 0, 212404, "Left chiral algebra larger than right one");
                    tooLarge = true;
                    break;
                }
                left.push_back(i);
            }
        }
    if (!tooLarge && static_cast<int>(left.size()) < rightSize)
        Alert("browseBulk", 1, 212404, "right chiral algebra larger than left one");
    if (left.size() >= 2 || rightSize >= 2)
        printChiralAlgebras(left.data(), static_cast<int>(left.size()), bi->orbits[0], rightSize);
}

void describeKind(const BulkInvariant* bi, int MaxNum, int info) {
    if (bi->trivial) {
        Print("Bulk invariant is trivial (Cardy case in BCFT)\n");
        if (!bi->simpleCurrentInvariant)
            Print("(Treated as exceptional)\n");
    } else if (bi->simpleCurrentInvariant) {
        describeSimpleCurrentInvariant(bi, MaxNum, info);
    } else if (bi->conjugation) {
        Print("Bulk invariant is the conjugation invariant (diagonal in BCFT)\n");
    } else {
        Print("Bulk invariant is an exceptional invariant\n");
        if (param(Par::InfoLevel) >= 2)
            describeExceptionalAlgebras(bi);
    }
}

} // namespace

// ============================================================ Names

const char* convertBulkInvariantName(const char* name) {
    static std::string converted;
    if (!name || !std::isdigit(static_cast<unsigned char>(name[0])))
        return name;
    while (name[0] == '0' && name[1] != '\0')
        name++;
    converted = std::string("Invariant_") + name;
    return converted.c_str();
}

char* assignName() {
    static char name[80];
    std::snprintf(name, sizeof name, "Invariant_%d", takeAutomaticNumber());
    return name;
}

void modifyBulkName(const char* name, BulkInvariant* bi) {
    bi->name = name ? name : "";
}

BulkInvariant* getBulkInvariantForUserInput(const char* name) {
    if (!name)
        return nullptr;
    const char* converted = convertBulkInvariantName(name);
    if (BulkInvariant* bi = findNamedBulkInvariant(converted))
        return bi;
    if (!std::isdigit(static_cast<unsigned char>(name[0]))) {
        Alert("getBulkInvariantForUserInput", 0, 100302, "Invariant %s not found", converted);
        return nullptr;
    }
    const long n = std::strtol(name, nullptr, 10);
    return getBulkInvariantByNumber(n > INT_MAX ? INT_MAX : static_cast<int>(n));
}

void listBulkInvariants() {
    for (BulkInvariant* bi = getFirstBulkInvariant(); bi; bi = bi->next)
        Print("%s\n", bi->name.c_str());
}

// ============================================================ The formula

char* buildRepString(char* txt, const int* Orbit, int Size) {
    const std::string text = repString(Orbit, Size);
    std::copy(text.begin(), text.end(), txt);
    txt[text.size()] = '\0';
    return txt + text.size();
}

int PrintModInvTerm(const int* LeftRep, const int* RightRep, int LSize, int RSize,
                    int FixedPointMult, int* count) {
    const bool first = *count == -1;
    int w = first ? 7 : (FixedPointMult == 1 ? 6 : 7 + digits(FixedPointMult));
    for (int k = 0; k < LSize; k++)
        w += digits(LeftRep[k]) + 1;
    const bool square = sameList(LeftRep, LSize, RightRep, RSize);
    if (!square)
        for (int k = 0; k < RSize; k++)
            w += digits(RightRep[k]) + 1;
    if (*count > 10 && *count + w >= LineWidth) {
        Print("\n");
        *count = 0;
    }
    const std::string left = repString(LeftRep, LSize);
    // A first term of multiplicity above 1 says so too: only a product that cannot be
    // normalised starts that way, and it is printed to show what it is.
    if (first && FixedPointMult == 1)
        Print("\n   %s", left.c_str());
    else if (first)
        Print("\n   %d*%s", FixedPointMult, left.c_str());
    else if (FixedPointMult == 1)
        Print(" + %s", left.c_str());
    else
        Print(" + %d*%s", FixedPointMult, left.c_str());
    *count += w;
    if (square)
        Print("^2");
    else
        Print("*%s", repString(RightRep, RSize).c_str());
    return 0;
}

void printBulkInvariant(BulkInvariant* bi, int MaxNum) {
    if (!bi) {
        Print("Invariant non-existant\n");
        return;
    }
    const int N = bi->Nprimaries;
    const bool withStatistics = param(Par::Statistics) != 0;
    if (withStatistics)
        InvariantStatistics(nullptr, nullptr, 0, 0, 0);
    std::vector<char> printed(static_cast<std::size_t>(N), 0);
    const int L = MaxNum != 0 && MaxNum <= N ? MaxNum : N;
    int count = -1;
    for (int i = 0; i < L; i++) {
        if (printed[static_cast<std::size_t>(i)] || !hasPartners(bi, i))
            continue;
        const std::vector<int> left = leftListOfTerm(bi, i, printed);
        if (i > param(Par::MaxDisplay)) {
            Print(" + .....\n(Skipping remaining terms)\n");
            std::fflush(stdout);
            return;
        }
        const int size = static_cast<int>(left.size());
        PrintModInvTerm(left.data(), bi->orbits[i], size, bi->orbitlength[i], bi->multiplicity[i],
                        &count);
        if (withStatistics)
            InvariantStatistics(left.data(), bi->orbits[i], size, bi->orbitlength[i],
                                bi->multiplicity[i]);
    }
    Print("\n");
    if (L < N)
        Print("   + .... (Skipping remaining terms) \n");
    std::fflush(stdout);
    if (withStatistics)
        InvariantStatistics(nullptr, nullptr, 0, 0, -1);
}

void InvariantStatistics(const int* LeftRep, const int* RightRep, int LSize, int RSize,
                         int FixedPointMult) {
    if (!LeftRep && FixedPointMult == 0)
        prepareStatistics();
    else if (FixedPointMult == -1)
        printStatistics();
    else if (LeftRep && LSize > 0)
        addToStatistics(LeftRep, RightRep, LSize, RSize, FixedPointMult);
}

int* RatCount(int comnum) {
    ratCountList.assign(1, 1);
    for (int l = 0; l < theoryPrimaries(); l++) {
        const int w = weightModOne(l, comnum);
        if (w != 0 &&
            std::find(ratCountList.begin() + 1, ratCountList.end(), w) == ratCountList.end())
            ratCountList.push_back(w);
    }
    ratCountList[0] = static_cast<int>(ratCountList.size());
    return ratCountList.data();
}

// ============================================================ Cells, algebras, monodromies

char* getBulkInvariantString(char* txt, void*, int lbl) {
    const BulkInvariant* bi = *getCurrentBulk();
    std::string text;
    if (bi->trivial) {
        // Appended piece by piece: GCC 12 warns falsely on a temporary concatenation here.
        text = "(";
        text += std::to_string(lbl);
        text += ")";
    }
    else if (lbl < 0 || lbl >= bi->Nprimaries || !hasPartners(bi, lbl))
        text = " - ";
    else {
        if (bi->multiplicity[lbl] > 1)
            text = std::to_string(bi->multiplicity[lbl]) + "*";
        text += repString(bi->orbits[lbl], bi->orbitlength[lbl]);
    }
    if (text.size() > CellLimit)
        text.replace(CellLimit - 3, std::string::npos, "...");
    std::copy(text.begin(), text.end(), txt);
    txt[text.size()] = '\0';
    return txt + text.size();
}

void printChiralAlgebras(const int* Orb1, int Size1, const int* Orb2, int Size2) {
    if (sameList(Orb1, Size1, Orb2, Size2)) {
        Print("Chiral algebra:  %s\n", repString(Orb1, Size1).c_str());
        return;
    }
    Print("Left chiral algebra:  %s\n", repString(Orb1, Size1).c_str());
    Print("Right chiral algebra: %s\n", repString(Orb2, Size2).c_str());
}

void printMonodromy(const SCData* MD) {
    const int M = MD->dg ? MD->dg->Mult : 0;
    if (M == 0) {
        Print("Trivial (diagonal) invariant\n");
        return;
    }
    PrintVec(M, MD->dg->Orders, "Orders: ");
    Print("Monodromy: \n");
    for (int i = 0; i < M; i++)
        PrintVec(M, MD->Monodromies.X + i * M, "         ");
    Print("Matrix X: \n");
    for (int i = 0; i < M; i++)
        PrintVec(M, MD->Xmatrix + i * M, "         ");
}

// ============================================================ Browsing

int browseBulk(const char* name, int MaxNum, int info) {
    BulkInvariant* bi = *getCurrentBulk();
    if (name) {
        bi = getBulkInvariantForUserInput(name);
        if (!bi)
            return 1;
    }
    const SCData* md = bi->MD;
    if (md->MIPF_id >= 0) {
        Print("MIPF identifier: %d\n", md->MIPF_id);
        if (md->Subgroup_id >= 0)
            Print("Subgroup label: %d\n", md->Subgroup_id);
        printRecordedCriteria(md);
    }
    describeKind(bi, MaxNum, info);
    if (bi->symmetric == 1)
        Print("Symmetric invariant\n");
    else if (bi->symmetric == 0)
        Print("Non-symmetric invariant\n");
    else
        Print("Symmetry unknown\n");
    if (!bi->trivial && MaxNum >= 1) {
        Print("Invariant:\n");
        printBulkInvariant(bi, MaxNum);
        Print("\n");
    }
    Print("Number of primaries: %d\n", theoryPrimaries());
    Print("Total nr. of Ishibashi labels: %d\n", bi->IshibashiLabelCount);
    if (md->truncated == 1)
        Print("WARNING: MIPF is truncated because of primary selection\n");
    Print("NOTE: in applications to boundary CFT, all invariants\n");
    Print("      are implicitly charge conjugated\n");
    return 0;
}
