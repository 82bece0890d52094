// A building block as text: the cells of the tables "Spectrum" and "Algebras", type letters and
// the command that recreates a block, the horizontal algebra's name, the names of the
// covariant-lattice representations, file names, and a field-by-field comparison of two blocks.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "base/StringUtility.h"
#include "base/Tables.h"
#include "lie/Tarvik.h"
#include "numeric/LargeInteger.h"
#include "numeric/VectorUtility.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>

using store_internal::mult;

namespace {

AllocCount TextWork = ALLOC_COUNTER("Storemanager texts");
GuardedArray<char> commandText("command", &TextWork);
GuardedArray<char> horizontalName("name", &TextWork);
GuardedArray<char> fileName("name", &TextWork);
char typeLetters[30] = "";
char characterName[40] = "";

const int* masslessOnly = nullptr;

bool masslessOnlyOn() {
    return masslessOnly && *masslessOnly == 1;
}

SpectrumData* blockOf(void* row) {
    return static_cast<SpectrumData*>(row);
}

// A label that is not a field of the block has no row.
bool notAField(void* row, int lbl) {
    return !row || !SM_fieldCheck(blockOf(row), lbl);
}

char* writeNothing(char* txt) {
    *txt = '\0';
    return txt;
}

template <class... Args> char* write(char* txt, const char* fmt, Args... args) {
    return txt + std::sprintf(txt, fmt, args...);
}

char* copyInto(GuardedArray<char>& buffer, const std::string& text) {
    char* out = buffer.reserve(static_cast<int>(text.size()) + 1);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

// ---- Covariant-lattice representation names ----

struct CovLatNames {
    int type = -1, rank = -1, chirality = -1;
    bool e6Resolved = false; // once an E6 embedding with resolved chirality has been seen
    std::array<std::string, 4> names;
    std::array<const char*, 5> list{}; // the names in use, ended by null
};

CovLatNames covLat;

void buildCovLatNames(int type, int rank, int chirality) {
    covLat.type = type;
    covLat.rank = rank;
    covLat.chirality = chirality;
    auto& n = covLat.names;
    int count = 0;
    if (type == 2) {
        n = {"1", std::to_string(2 * rank + 1), std::to_string(1LL << rank), ""};
        count = 3;
    } else if (type == 4) {
        const std::string spinor = std::to_string(1LL << (rank - 1));
        const char* second = chirality ? "" : "?";
        const char* last = !chirality ? "?" : rank % 2 == 1 ? "*" : "c";
        n = {"1", spinor + second, std::to_string(2 * rank), spinor + last};
        count = 4;
    } else if (type == 5 && rank == 6) {
        covLat.e6Resolved = covLat.e6Resolved || chirality != 0;
        n = covLat.e6Resolved ? std::array<std::string, 4>{"1", "27", "27*", ""}
                              : std::array<std::string, 4>{"1", "27?", "27?", ""};
        count = 3;
    } else if (type == 5 && (rank == 7 || rank == 4)) {
        n = {"1", rank == 7 ? "56" : "26", "", ""};
        count = 2;
    } else if (type == 5 && rank == 8) {
        n = {"1", "", "", ""};
        count = 1;
    }
    covLat.list.fill(nullptr);
    for (int i = 0; i < count; i++)
        covLat.list[i] = n[i].c_str();
}

bool hasCovLatNames(int type, int rank) {
    return type == 2 || type == 4 || (type == 5 && (rank == 4 || rank >= 6));
}

// ---- The comparison of two blocks ----

bool differentWeight(const SpectrumData* a, const SpectrumData* b, int i) {
    return static_cast<long long>(a->Weight_num[i]) * b->Weight_denom !=
           static_cast<long long>(b->Weight_num[i]) * a->Weight_denom;
}

void compareFieldData(SpectrumData* a, SpectrumData* b) {
    const int N = a->Nprimaries;
    for (int i = 0; i < N; i++)
        if (differentWeight(a, b, i))
            std::printf("Different weight for field %d: %d/%d <--> %d/%d\n", i, a->Weight_num[i],
                        a->Weight_denom, b->Weight_num[i], b->Weight_denom);
    if (a->CentralCharge != b->CentralCharge)
        std::printf("Different central charge %7.2f <--> %7.2f\n", a->CentralCharge,
                    b->CentralCharge);
    if (a->Norbits != b->Norbits)
        std::printf("Different number of orbits: %d <--> %d\n", a->Norbits, b->Norbits);
    std::printf("Types: (%d,%d,%d) <-->  (%d,%d,%d)\n", a->type, a->rank, a->level, b->type,
                b->rank, b->level);
    if (a->RepSize == b->RepSize) {
        for (int i = 0; i < N; i++)
            if (compareVec(a->RepSize, SM_getRep(a, i), SM_getRep(b, i)) != 0) {
                std::printf("Different reps (field %d)\n", i);
                printVec(a->RepSize, SM_getRep(a, i), "For 1");
                printVec(b->RepSize, SM_getRep(b, i), "For 2");
            }
    } else {
        std::printf("Different representation sizes: %d <--> %d\n", a->RepSize, b->RepSize);
    }
}

void compareScalars(SpectrumData* a, SpectrumData* b) {
    if (a->SimpleCurrents != b->SimpleCurrents) {
        std::puts("Different simple current pointers");
        for (SpectrumData* sd : {a, b}) {
            std::printf("Algebra %s:\n", sd->AlgebraName);
            DG_print(sd->SimpleCurrents);
        }
    }
    const struct {
        const char* text;
        int x, y;
    } pairs[] = {{"Different adjoint dimension: %d <--> %d\n", a->AdjDimension, b->AdjDimension},
                 {"Different dual coxeter number: %d <--> %d\n", a->DualCoxeter, b->DualCoxeter},
                 {"Different complexity: %d <--> %d\n", a->Complexity, b->Complexity},
                 {"Different S_Symmetry: %d <--> %d\n", a->S_Symmetry, b->S_Symmetry}};
    for (const auto& p : pairs)
        if (p.x != p.y)
            std::printf(p.text, p.x, p.y);
}

void compareGrading(SpectrumData* a, SpectrumData* b) {
    if (a->graded != b->graded)
        std::printf("Different grading: %d <--> %d\n", a->graded, b->graded);
    else if (a->graded)
        for (int i = 0; i < a->Nprimaries; i++) {
            if (a->grade[i] != b->grade[i])
                std::printf("Different grade for field %d: %c <--> %c\n", i, a->grade[i],
                            b->grade[i]);
            if (a->multiplets[i] != b->multiplets[i])
                std::printf("Different NSR multiplet for field %d: %d <--> %d\n", i,
                            a->multiplets[i], b->multiplets[i]);
        }
    if (a->gradecurr != b->gradecurr)
        std::printf("Different grade current: %d <--> %d\n", a->gradecurr, b->gradecurr);
    if (a->validCFT != b->validCFT)
        std::printf("Different CFT validity: %d <--> %d\n", a->validCFT, b->validCFT);
    if (a->StoreS != b->StoreS)
        std::printf("Different S Storage parameters: %d <--> %d\n", a->StoreS, b->StoreS);
}

void compareOrbits(SpectrumData* a, SpectrumData* b) {
    const int N = a->Nprimaries;
    for (int i = 0; i < N; i++)
        if (a->OrbitLabel[i] != b->OrbitLabel[i] || a->OrbitGenerator[i] != b->OrbitGenerator[i] ||
            a->OrbitPosition[i] != b->OrbitPosition[i])
            std::printf("Different orbit data for field %d: (%d,%d,%d) <--> (%d,%d,%d)\n", i,
                        a->OrbitLabel[i], a->OrbitGenerator[i], a->OrbitPosition[i],
                        b->OrbitLabel[i], b->OrbitGenerator[i], b->OrbitPosition[i]);
    const int M = mult(a);
    if (M != mult(b) || M == 0)
        return;
    const struct {
        const int *x, *y;
        const char *text, *first, *second;
    } tables[] = {{a->Charges, b->Charges, "Different charges for field %d\n",
                   "For field 1:", "For field 2:"},
                  {a->Stabilizer, b->Stabilizer, "Different stabilizer for field %d\n",
                   "For field 1:", "For field 2:"}};
    for (const auto& t : tables) {
        if (!t.x || !t.y)
            continue;
        for (int i = 0; i < N; i++)
            if (compareVec(M, t.x + i * M, t.y + i * M) != 0) {
                std::printf(t.text, i);
                printVec(M, t.x + i * M, t.first);
                printVec(M, t.y + i * M, t.second);
            }
    }
}

void compareFixedPointData(SpectrumData* a, SpectrumData* b) {
    if (a->FCFTnumber != b->FCFTnumber) {
        std::printf("Different FCFT number: %d <--> %d\n", a->FCFTnumber, b->FCFTnumber);
        return;
    }
    const int n = a->FCFTnumber, N = a->Nprimaries;
    if (n <= 0)
        return;
    if (a->FCFTlabels && b->FCFTlabels)
        for (int f = 0; f < n; f++)
            for (int i = 0; i < N; i++)
                if (a->FCFTlabels[f * N + i] != b->FCFTlabels[f * N + i])
                    std::printf("Different FCFT labels: FCFT %d, field %d, %d <--> %d\n", f, i,
                                a->FCFTlabels[f * N + i], b->FCFTlabels[f * N + i]);
    if (a->FCFTshifts && b->FCFTshifts) {
        printVec(n, a->FCFTshifts, "Shifts For 1");
        printVec(n, b->FCFTshifts, "Shifts For 2");
        if (compareVec(n, a->FCFTshifts, b->FCFTshifts) != 0) {
            std::puts("Different FCFT shifts");
            printVec(n, a->FCFTshifts, "For 1");
            printVec(n, b->FCFTshifts, "For 2");
        }
    }
    if (a->FixedPointCurrents && b->FixedPointCurrents &&
        compareVec(n, a->FixedPointCurrents, b->FixedPointCurrents) != 0) {
        std::puts("Different fixed point currents");
        printVec(n, a->FixedPointCurrents, "For 1");
        printVec(n, b->FixedPointCurrents, "For 2");
    }
}

void compareTable(const int* x, const int* y, int N, const char* name, const char* text) {
    if (!x)
        std::printf("No %s defined for algebra 1\n", name);
    if (!y)
        std::printf("No %s defined for algebra 2\n", name);
    if (!x || !y)
        return;
    for (int i = 0; i < N; i++)
        if (x[i] != y[i])
            std::printf(text, i, x[i], y[i]);
}

void compareS(SpectrumData* a, SpectrumData* b) {
    std::puts("Comparing S");
    for (int i = 0; i < a->Nprimaries; i++)
        for (int j = 0; j < a->Nprimaries; j++) {
            double ar = 0.0, ai = 0.0, br = 0.0, bi = 0.0;
            SM_getS(a, i, j, &ar, &ai);
            SM_getS(b, i, j, &br, &bi);
            if (std::fabs(ar - br) > 1e-7 || std::fabs(ai - bi) > 1e-7)
                std::printf("Different S(%d,%d): (%15.7f,%15.7f) <--> (%15.7f,%15.7f)\n", i, j, ar,
                            ai, br, bi);
        }
}

} // namespace

void SM_bindMasslessOnly(const int* flag) {
    masslessOnly = flag;
}

int SM_masslessOnly() {
    return masslessOnlyOn() ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Cells of "Spectrum" (row object: the block, label: the field)

char* SM_getLabelString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    return write(txt, "%d", lbl);
}

char* SM_getDynkinString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    const int* rep = SM_getRep(sd, lbl);
    char* p = write(txt, "(");
    for (int i = 0; i < sd->RepSize; i++)
        p = write(p, i == 0 ? "%d" : ",%d", rep[i]);
    return write(p, ")");
}

char* SM_getCosetLabelString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return sd->CFTtoCoset ? write(txt, "%d", sd->CFTtoCoset[lbl]) : writeNothing(txt);
}

char* SM_getWeightString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    return write(txt, "%-10.7f", SM_realWeight(blockOf(row), lbl));
}

char* SM_getRatWeightString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    int num = sd->Weight_num[lbl], den = sd->Weight_denom;
    if (const int g = std::gcd(num, den); g > 1) {
        num /= g;
        den /= g;
    }
    if (masslessOnlyOn() && lbl != 0 && !(num == den && den != 0))
        return nullptr;
    char* p = txt;
    *p = '\0';
    if (den < 1)
        Alert("SM_getRatWeightString", 0, 110402, "Wrong denominator %d", den);
    else
        p = den > 1 ? write(p, "%d/%-d", num, den) : write(p, "%d", num);
    const bool unknownTwist =
        sd->permutation_order >= 2 && sd->Dimensions && sd->Dimensions[lbl] == 999999;
    if (unknownTwist || (sd->exactWeights == 0 && lbl != 0))
        p = write(p, " (mod 1)");
    return p;
}

char* SM_getDimString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    const int d = blockOf(row)->Dimensions[lbl];
    if (d == 999999)
        return write(txt, "Unknown");
    if (d < 0) {
        const lint* big = retrieveLint(d);
        return big ? write(txt, "%s", lint_string(big)) : writeNothing(txt);
    }
    return write(txt, "%-d", d);
}

char* SM_getConjString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    return write(txt, "%d", blockOf(row)->Conjugates[lbl]);
}

char* SM_getInfoString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    const Heterotic* H = sd->string_spectrum;
    const int* info = SM_getContent(sd, lbl);
    if (!H || !H->CovLatEmbedding || !info)
        return writeNothing(txt);
    return SM_masslessContentsCell(txt, H->CovLatEmbedding, info, lbl);
}

char* SM_masslessContentsCell(char* txt, const Branching* B, const int* info, int lbl) {
    if (masslessOnlyOn() && lbl != 0) {
        const bool classical = B->type_G == 2 || B->type_G == 4;
        if (classical && info[1] == 0 && info[2] == 0)
            return nullptr;
        if (B->type_G == 5 && B->rank_G != 8 && info[1] == 0)
            return nullptr;
    }
    return printHeteroticRepresentation(txt, B, info);
}

char* SM_getChargesString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    const int M = mult(sd);
    if (M == 0)
        return write(txt, "-");
    char* p = writeNothing(txt);
    for (int k = 0; k < M; k++)
        p = write(p, k == 0 ? "%d" : " %d", sd->Charges[lbl * M + k]);
    return p;
}

char* SM_getNSRString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return sd->graded && sd->grade ? write(txt, "%c", sd->grade[lbl]) : writeNothing(txt);
}

char* SM_getMultipletString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return sd->graded && sd->multiplets ? write(txt, "%d", sd->multiplets[lbl]) : writeNothing(txt);
}

char* SM_getOrbitStartString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return write(txt, "%d", sd->OrbitGenerator ? sd->OrbitGenerator[lbl] : lbl);
}

char* SM_getOrbitPositionString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return write(txt, "%d", sd->OrbitPosition ? sd->OrbitPosition[lbl] : 0);
}

char* SM_getOrbitLabelString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return write(txt, "%d", sd->OrbitLabel ? sd->OrbitLabel[lbl] : lbl);
}

char* SM_getStabilizerString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    const int M = mult(sd);
    if (M == 0 || !sd->Stabilizer || sd->Stabilizer[lbl * M] == 0)
        return write(txt, "-");
    char* p = writeNothing(txt);
    for (int k = 0; k < M; k++)
        if (const int s = sd->Stabilizer[lbl * M + k]; s != 0)
            p = write(p, "%d ", s);
    return p;
}

char* SM_getQdimString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    return write(txt, "%12.3f", QDim(SM_getRep(sd, lbl), sd->type, sd->rank, sd->level));
}

char* SM_getCasimirString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    SpectrumData* sd = blockOf(row);
    const rat* c = RCasimir(SM_getRep(sd, lbl), sd->type, sd->rank);
    if (c->den >= 2)
        return write(txt, "%d/%-d", c->num, c->den);
    if (c->den == 1)
        return write(txt, " %d", c->num);
    return writeNothing(txt);
}

char* SM_getLogTString(char* txt, void* row, int lbl) {
    if (notAField(row, lbl))
        return nullptr;
    return write(txt, "%- 8.4f", SM_getLogT(blockOf(row), lbl));
}

int SM_initCosetLabels(void* row) {
    return blockOf(row)->CFTtoCoset ? 1 : 0;
}

int SM_initNSR(void* row) {
    return blockOf(row)->graded ? 1 : 0;
}

int SM_initQdim(void* row) {
    const SpectrumData* sd = blockOf(row);
    return sd->type >= 0 && sd->type <= 5 && sd->rank > 0 ? 1 : 0;
}

int SM_initCasimir(void* row) {
    const SpectrumData* sd = blockOf(row);
    return sd->type >= 1 && sd->type <= 5 && sd->rank > 0 ? 1 : 0;
}

int SM_initContents(void* row) {
    SpectrumData* sd = blockOf(row);
    if (!sd->info)
        return 0;
    const Heterotic* H = sd->string_spectrum;
    if (H && H->CovLatEmbedding)
        printHeteroticRepresentation(nullptr, H->CovLatEmbedding, nullptr);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Cells of "Algebras" (row object: a block)

char* SM_getAlgebraNameString(char* txt, void* row, int) {
    return write(txt, "%s ", blockOf(row)->AlgebraName);
}

char* SM_getAlgebraSizeString(char* txt, void* row, int) {
    return write(txt, "%d ", static_cast<int>(blockOf(row)->TotalAlloc.TotalAlloc));
}

char* SM_getAlgebraPrimString(char* txt, void* row, int) {
    return write(txt, "%d", blockOf(row)->Nprimaries);
}

char* SM_getAlgebraS_AvailabilityString(char* txt, void* row, int) {
    return write(txt, "%s", blockOf(row)->S_available == 1 ? "YES" : "NO");
}

char* SM_getAlgebraSizeHeader(char* txt, void*, int) {
    return write(txt, "Bytes ");
}

void SM_printAlgebras() {
    if (!SM_getFirstAlgebra()) {
        Alert("SM_printAlgebras", 0, 100201, "No algebras loaded\n");
        return;
    }
    printTable("Algebras", 0, 1000, 1, 0, SM_getFirstAlgebra(), stdout);
}

char* SM_displayAlgebras() {
    return sprintTable("Algebras", 0, 1000, 1, 0, SM_getFirstAlgebra());
}

// ---------------------------------------------------------------------------------------------
// Names

char* SM_charType(int type, int rank) {
    static constexpr const char* Twisted[] = {"At", "Bt", "Bc", "Ct", "Ft", "Gt"};
    const char* text = nullptr;
    if (type == 0)
        text = "U";
    else if (type >= 1 && type <= 4)
        text = std::array{"A", "B", "C", "D"}[type - 1];
    else if (type == 5)
        text = rank > 5 ? "E" : rank == 4 ? "F" : rank == 2 ? "G" : nullptr;
    else if (type == 6 || type == 27)
        text = "minimal";
    else if (type == 7)
        text = "orbifold";
    else if (type == 9 || type == 10)
        text = "cft";
    else if (type >= 11 && type <= 16)
        text = Twisted[type - 11];
    else if (type == 26)
        text = "minimal_fcft";
    if (!text)
        Alert("SM_charType", 0, 100201, "Invalid type/rank %d/%d", type, rank);
    else
        std::snprintf(typeLetters, sizeof typeLetters, "%s", text);
    return typeLetters;
}

char* SM_algCommand(SpectrumData* sd) {
    std::string text = SM_charType(sd->type, sd->rank);
    char tail[200];
    if (sd->type == 9 || sd->type == 10)
        std::snprintf(tail, sizeof tail, " %s", sd->AlgebraName);
    else if (sd->type == 0)
        std::snprintf(tail, sizeof tail, " %d", sd->rank);
    else
        std::snprintf(tail, sizeof tail, " %d %d", sd->rank, sd->level);
    return copyInto(commandText, text + tail);
}

char* SM_getHorizontalAlgebraName(SpectrumData* sd) {
    const int t = sd->type, r = sd->rank;
    std::string name = "Unknown";
    if (t == 0 || (t == 6 && r == 2))
        name = "U(1)";
    else if (t >= 1 && t <= 4)
        name = std::string(1, "ABCD"[t - 1]) + "_" + std::to_string(r);
    else if (t == 5 && (r == 2 || r == 4 || r == 6 || r == 7 || r == 8))
        name = std::string(r == 2 ? "G" : r == 4 ? "F" : "E") + "_" + std::to_string(r);
    else if ((t == 6 && r <= 1) || t == 7)
        name = "--";
    return copyInto(horizontalName, name);
}

void printAlgebraHeader(SpectrumData* sd, FILE* ofp) {
    std::fprintf(ofp, "Spectrum of %s\n", sd->AlgebraName);
}

char* SM_getCurrentAlgebraFileName(SpectrumData* sd, const char* outdir, const char* prefix,
                                   const char* postfix) {
    std::string name = std::string(outdir) + prefix + sd->AlgebraName + postfix;
    std::replace(name.begin(), name.end(), ' ', '_');
    return copyInto(fileName, name);
}

char* printCovLatRep(char* txt, int type, int rank, int chir_res, const int* count) {
    const bool same = type == covLat.type && rank == covLat.rank && chir_res == covLat.chirality;
    if (!same)
        buildCovLatNames(type, rank, chir_res);
    if (!txt)
        return nullptr;
    // A changed embedding still gets its text: the names were built just now.
    if (!hasCovLatNames(type, rank) || !count)
        return writeNothing(txt);
    return print_rep(txt, count, covLat.list.data());
}

char* printHeteroticRepresentation(char* txt, const Branching* B, const int* count) {
    return printCovLatRep(txt, B->type_G, B->rank_G, B->chirality_resolved, count);
}

double SM_getModularAnomaly(SpectrumData* sd, int lbl) {
    const int t = sd->type, r = sd->rank;
    const int* l = SM_getRep(sd, lbl);
    const double g = sd->DualCoxeter;
    return (DynkinPlusRhoDotProd(t, r, l, l) / (sd->level + g) - RhoDotProd(t, r) / g) / 2.0;
}

char* SM_basicCharacterName(int, int rank, const int* rep) {
    int first = -1;
    for (int i = 0; i < rank && first < 0; i++)
        if (rep[i] != 0)
            first = i;
    std::snprintf(characterName, sizeof characterName, "char%d", first + 1);
    return characterName;
}

int SM_getDynkinWidth(SpectrumData* sd) {
    int widest = 0;
    for (int i = 0; i < sd->Nprimaries; i++) {
        const int* rep = SM_getRep(sd, i);
        int width = 0;
        for (int k = 0; k < sd->RepSize; k++)
            width += std::snprintf(nullptr, 0, "%d", rep[k]);
        widest = std::max(widest, width);
    }
    return sd->RepSize + 3 + widest;
}

// ---------------------------------------------------------------------------------------------
// Comparison of two blocks, for debugging

int SM_compareAlgebras(SpectrumData* sd1, SpectrumData* sd2) {
    std::printf("Comparing %s and %s\n", sd1->AlgebraName, sd2->AlgebraName);
    if (sd1->Nprimaries != sd2->Nprimaries) {
        std::printf("Different number of primaries: %d <--> %d\n", sd1->Nprimaries,
                    sd2->Nprimaries);
        return 0;
    }
    const int N = sd1->Nprimaries;
    compareFieldData(sd1, sd2);
    compareScalars(sd1, sd2);
    compareGrading(sd1, sd2);
    compareOrbits(sd1, sd2);
    compareFixedPointData(sd1, sd2);
    compareTable(sd1->Dimensions, sd2->Dimensions, N, "dimensions",
                 "Different dimensions for field %d: %d <--> %d\n");
    compareTable(sd1->Conjugates, sd2->Conjugates, N, "Conjugates",
                 "Different Conjugates for field %d: %d <--> %d\n");
    compareTable(sd1->GravitinoAction, sd2->GravitinoAction, N, "GravitinoAction",
                 "Different GravitinoAction for field %d: %d <--> %d\n");
    compareS(sd1, sd2);
    std::puts("Comparing fixed point CFT's");
    if (sd1->FixedPointCFT && sd2->FixedPointCFT && sd1->FCFTnumber == sd2->FCFTnumber)
        for (int f = 0; f < sd1->FCFTnumber; f++)
            if (sd1->FixedPointCFT[f] && sd2->FixedPointCFT[f])
                SM_compareAlgebras(sd1->FixedPointCFT[f], sd2->FixedPointCFT[f]);
    return 0;
}
