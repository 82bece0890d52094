// The open-sector report of a brane configuration: hypermultiplet and complexity tests, the
// ordering of representation rows and their lines, class by class.
#include "string/OpenSpectrum.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrumInternal.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace openspectrum;

namespace {

void noStatistics(VectorSpace*, ChanPatonData*) {}

SPECTRUM_STATISTICS spectrumStatistics = noStatistics;
std::vector<int> order;
SusySides openSymmetry;

const char* token(int code) {
    switch (code) {
    case 0:
        return "0 ";
    case 1:
        return "V ";
    case -1:
        return "V*";
    case 2:
        return "S ";
    case -2:
        return "S*";
    case 3:
        return "A ";
    case -3:
        return "A*";
    case 4:
        return "Ad";
    default:
        return ""; // the separator stays
    }
}

std::string tokens(int Nfac, const int* vector) {
    std::string out;
    for (int j = 0; j < Nfac; j++) {
        if (j > 0)
            out += ",";
        out += token(vector[j]);
    }
    return out;
}

void conjugateRow(int size, const int* vector, const int* Types, int* out) {
    for (int j = 0; j < size; j++)
        out[j] = vector[j] != 4 && Types[j] == 0 ? -vector[j] : vector[j];
}

// Rows that touch the fixed stacks first, and among them those with larger chirality.
bool before(int n, int Nfix, const int* a, const int* b) {
    const std::int64_t wa = getRepresentationWeight(n, Nfix, a);
    const std::int64_t wb = getRepresentationWeight(n, Nfix, b);
    if (wa != wb)
        return wa > wb;
    return compareVec(n, a, b) > 0;
}

bool touchesFixed(const int* vector, int F) {
    for (int j = 0; j < F; j++)
        if (vector[j] != 0)
            return true;
    return false;
}

} // namespace

void setSpectrumStatistics(SPECTRUM_STATISTICS fcn) {
    spectrumStatistics = fcn ? fcn : noStatistics;
}

int ComplexRepresentation(int size, const int* vector, const int* Types) {
    std::vector<int> conj(at(size));
    conjugateRow(size, vector, Types, conj.data());
    return std::equal(conj.begin(), conj.end(), vector) ? 0 : 1;
}

int checkHypermultiplet(VectorSpace* Reps, const int* Types, int* even) {
    const int n = Reps->id_size;
    for (int r = 0; r < rowCount(Reps); r++) {
        const int* v = rowOf(Reps, r);
        const int mult = countOf(Reps, r);
        if (mult % 2 != 0) {
            Alert("checkHypermultiplet", 0, 212404, "Odd multiplicity for hyper multiplet");
            *even = 0;
            return 0;
        }
        if (!ComplexRepresentation(n, v, Types))
            continue;
        const int t = v[n] + mult;
        if (t % 2 != 0) {
            Alert("checkHypermultiplet", 1, 212404, "Non-integer multiplicity for hyper multiplet");
            return 0;
        }
        if ((t / 2) % 2 != 0)
            *even = 0;
    }
    return 1;
}

int AnalyseComplexity(VectorSpace* Reps, const int* Types, int* even) {
    const int n = Reps->id_size;
    std::vector<int> conj(at(n + 1), 0);
    for (int r = 0; r < rowCount(Reps); r++) {
        const int* v = rowOf(Reps, r);
        const int mult = countOf(Reps, r);
        if (mult % 2 != 0)
            *even = 0;
        conjugateRow(n, v, Types, conj.data());
        const int c = findVectorInCollection(Reps, conj.data());
        const char* fault = nullptr;
        if (c < 0 && mult % 2 != 0)
            fault = "Complex conjugate not present";
        else if (c == r && mult % 2 != 0)
            fault = "Odd multiplicity for real representation";
        else if (c >= 0 && c != r && (mult - countOf(Reps, c)) % 2 != 0)
            fault = "Multiplicity mismatch";
        if (fault) {
            printRepVec(n, v, mult, 0, *even);
            Alert("AnalyseComplexity", 0, 212404, "%s", fault);
            return 0;
        }
    }
    return 1;
}

std::int64_t getRepresentationWeight(int size, int Nfix, const int* vec) {
    const int n = size;
    std::int64_t P = 0, Q = 0;
    for (int j = 0; j < n - 1; j++) {
        const int e = std::abs(vec[j]);
        if (e == 0)
            continue;
        if (j < Nfix)
            P += e == 1 ? 4000 - 1000 * j : e + 400 - 100 * j;
        else
            Q += e == 1 ? (n - j) * 1000 : e + (n - j) * 100;
    }
    const std::int64_t c = std::abs(vec[n - 1]);
    std::int64_t W = Q + c * n * 10000;
    if (P > 0)
        W += (c * 10000 + P) * 10000;
    return W;
}

int compareReps(int size, int Nfix, const int* vec1, const int* vec2) {
    if (before(size, Nfix, vec1, vec2))
        return 1;
    if (before(size, Nfix, vec2, vec1))
        return -1;
    return 0;
}

int* orderReps(VectorSpace* Reps, int Nfix) {
    const int n = Reps->id_size + 1;
    order.resize(at(std::max(rowCount(Reps), 1)));
    for (int r = 0; r < rowCount(Reps); r++)
        order[at(r)] = r;
    std::stable_sort(order.begin(), order.begin() + rowCount(Reps),
                     [&](int x, int y) { return before(n, Nfix, rowOf(Reps, x), rowOf(Reps, y)); });
    return order.data();
}

void printRepVeca(int Nfac, const int* vector, const int* Types, int hyper, int even, int nblank) {
    const int mult = vector[Nfac + 1];
    int count = mult;
    const char* end = ") chirality %d\n";
    if (hyper == 1 && ComplexRepresentation(Nfac, vector, Types)) {
        count = even == 1 ? mult / 4 : mult / 2;
        end = ")  + c.c.\n";
    } else if (hyper == 1) {
        count = even == 1 ? mult / 2 : mult;
        end = ")\n";
    }
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%2d x ( ", count);
    char last[48];
    std::snprintf(last, sizeof last, end, vector[Nfac]);
    const std::string line = std::string(at(nblank), ' ') + prefix + tokens(Nfac, vector) + last;
    Print("%s", line.c_str());
}

void printRepVec(int Nfac, const int* vector, int mult, int hyper, int even) {
    const int count = even == 1 ? mult / 2 : mult;
    const char* end = ")\n";
    if (hyper == 1) {
        int first = 0;
        bool plain = false;
        for (int j = 0; j < Nfac; j++) {
            if (first == 0)
                first = vector[j];
            if (vector[j] == 1 || vector[j] == 2 || vector[j] == 3)
                plain = true;
        }
        if (first < 0)
            return;
        if (plain)
            end = ")  + c.c.\n";
    }
    Print("  %2d x ( %s%s", count, tokens(Nfac, vector).c_str(), end);
}

char charType(int type) {
    switch (type) {
    case 0:
        return 'U';
    case 1:
        return 'O';
    case -1:
        return 'S';
    case 2:
        // Self-conjugate on a zero-tension orientifold: orthogonal or symplectic, the tension
        // does not say which.
        return 'R';
    default:
        Alert("charType", 0, 212404, "Invalid group type %d", type);
        return 'X';
    }
}

void PrintGroups(ChanPatonData* CPD) {
    std::string types = "Type:      ";
    std::string dims = "Dimension ";
    char cell[16];
    for (int s = 0; s < CPD->Nactive; s++) {
        std::snprintf(cell, sizeof cell, " %c ", charType(CPD->Types[at(s)]));
        types += cell;
        if (CPD->dims[at(s)] == 999)
            std::snprintf(cell, sizeof cell, " --");
        else
            std::snprintf(cell, sizeof cell, " %2d", CPD->dims[at(s)]);
        dims += cell;
    }
    Print("%s\n%s\n", types.c_str(), dims.c_str());
}

namespace {

// The multiplet text of class k with the hypermultiplet reading: hyper 1 when the rows form
// whole hypermultiplets, even 1 when they pair up, in which case "1/2 " leaves the text.
std::string classText(VectorSpace* Reps, SusyType* ST, ChanPatonData* CPD, int k, int* hyper,
                      int* even) {
    std::string text = susyRepresentationText(k, 0, 0, ST);
    *hyper = 0;
    *even = 0;
    const std::size_t half = text.find("1/2 Hyper");
    if (half != std::string::npos) {
        *even = 1;
        *hyper = checkHypermultiplet(Reps, CPD->Types.data(), even);
        if (*even == 1)
            text.erase(half, 4);
    }
    return text;
}

} // namespace

void PrintOpenSpectrum(VectorSpace* Representations, SusyType* ST, ChanPatonData* CPD, int i) {
    int hyper = 0, even = 0;
    const std::string text = classText(Representations, ST, CPD, i, &hyper, &even);
    Print("\n --- Representation\n%s\n", text.c_str());
    PrintGroups(CPD);
    const int* perm = orderReps(Representations, CPD->Nfix);
    for (int r = 0; r < rowCount(Representations); r++)
        printRepVeca(CPD->Nactive, rowOf(Representations, perm[r]), CPD->Types.data(), hyper, even,
                     5);
    if (rowCount(Representations) == 0)
        Print("No matter representations\n");
}

VectorSpace* getOpenStringRepresentations(ChanPatonData* CPD, int i) {
    return CollectOpenSectorRepresentations(CPD, i, &openSymmetry.ST);
}

int fixVarCheck(const int* vector) {
    return touchesFixed(vector, getFixedVariables()) ? 1 : 0;
}

namespace {

VectorSpace classRows = declareVectorSpace("Open sector class", 100);

// Chiral rows on the fixed stacks, non-chiral ones on them, then the same without them.
void printInPasses(ChanPatonData* CPD, int hyper, int even) {
    const int F = getFixedVariables();
    const int n = CPD->Nactive;
    for (int pass = F > 0 ? 0 : 2; pass < 4; pass++) {
        const bool onFixed = pass < 2;
        const bool chiral = pass % 2 == 0;
        for (int r = 0; r < rowCount(&classRows); r++) {
            const int* v = rowOf(&classRows, r);
            if (touchesFixed(v, F) == onFixed && (v[n] != 0) == chiral)
                printRepVeca(n, v, CPD->Types.data(), hyper, even, 5);
        }
    }
}

} // namespace

void GeneralOpenSectorAnalysis(ChanPatonData* CPD) {
    Heterotic* H = getStringSpectrum(0);
    if (!H)
        return;
    getSpaceTimeSymmetry(H, &openSymmetry.ST, 'O');
    int nc = RepCnt(openSymmetry.left.Type, openSymmetry.left.Rank);
    if (CY_Check('I') == 1 && nc == 3) {
        nc = 2;
    } else if (nc < 2) {
        Print("No matter representations\n");
        return;
    }
    bool any = false;
    for (int k = 1; k < nc; k++) {
        collectRepresentations(&classRows, CPD, k);
        if (rowCount(&classRows) == 0)
            continue;
        any = true;
        if (CPD->mode == 0)
            spectrumStatistics(&classRows, CPD);
        int hyper = 0, even = 0;
        const std::string text = classText(&classRows, &openSymmetry.ST, CPD, k, &hyper, &even);
        Print("Representation\n%s\n", text.c_str());
        PrintGroups(CPD);
        printInPasses(CPD, hyper, even);
    }
    if (!any)
        Print("No matter representations\n");
}
