// What the user sees of the current theory: the table "Spectrum" or "TensorSpectrum" and its
// columns, single entries, the blocks in store, the central charge, a summary of the theory and
// of its horizontal algebra, and the Lie-algebraic data of a block: Cartan matrix, Weyl group and
// Gauss sums.
#include "commands/CommandsDisplay.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Tables.h"
#include "commands/CommandsInternal.h"
#include "lie/Tarvik.h"
#include "modular/Modular.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"
#include "tensor/FixedPoints.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

using namespace commands;

namespace {

constexpr int WeylCode = 100301;
constexpr int ChunkRows = 100;
constexpr int ShortestChunk = 50;
constexpr int WidestEntry = 900;
constexpr int EntryRoom = 1000;

const char* typedWord(void** commands) {
    return static_cast<const char*>(commands[-1]);
}

bool isWZW(const SpectrumData* sd) {
    return sd && sd->type >= 1 && sd->type <= 5;
}

// The refusals of the Weyl-group commands: a tensor product has no simple roots, nor has a block
// that is not an affine algebra. Returns true when refused.
bool refuseWeyl(const char* routine, const char* what) {
    if (cosetSwitch() != 0) {
        Alert(routine, 0, WeylCode, "No %s defined for tensor products", what);
        return true;
    }
    if (!isWZW(getCurrentSD())) {
        Alert(routine, 1, WeylCode, "No %s defined for this algebra", what);
        return true;
    }
    return false;
}

const int* weightOf(int field) {
    return SM_getRep(getCurrentSD(), field);
}

// ---- display ----

struct SavedPrefs {
    int spectrum, tensor;
};

SavedPrefs showRationalWeights() {
    SavedPrefs saved{getPrintPref("Spectrum", "Rational weights"),
                     getPrintPref("TensorSpectrum", "Rational weights")};
    setPrintPref("Spectrum", "Rational weights", 1);
    setPrintPref("TensorSpectrum", "Rational weights", 1);
    return saved;
}

void restoreRationalWeights(const SavedPrefs& saved) {
    setPrintPref("Spectrum", "Rational weights", saved.spectrum);
    setPrintPref("TensorSpectrum", "Rational weights", saved.tensor);
}

// Rows from .. to-1 in chunks of 100; a chunk that would leave fewer than 50 rows takes them.
void printInChunks(int from, int to) {
    int first = 0;
    for (int start = from; start < to; first = 1) {
        int end = std::min(start + ChunkRows, to);
        if (to - end < ShortestChunk)
            end = to;
        printSpectrum(start, end, first);
        start = end;
    }
}

// The columns of both spectrum tables whose names start with name; their number.
int setPrefsInBothTables(const char* name, int value) {
    int count = 0;
    for (const char* table : {"Spectrum", "TensorSpectrum"})
        if (findTable(table))
            count += setPrintPrefs(table, name, value);
    return count;
}

int changeColumns(void** commands, int parnum, int value) {
    for (int i = 0; i < parnum; i++)
        if (setPrefsInBothTables(textArgument(commands, i), value) == 0)
            Print("Column %s not found\n", textArgument(commands, i));
    return -parnum;
}

// ---- Weyl group ----

// The distinct rows of rank ints, in their order.
std::vector<const int*> distinctRows(const int* rows, int count, int rank) {
    std::set<std::vector<int>> seen;
    std::vector<const int*> kept;
    for (int e = 0; e < count; e++) {
        const int* row = rows + static_cast<std::size_t>(e) * rank;
        if (seen.insert(std::vector<int>(row, row + rank)).second)
            kept.push_back(row);
    }
    return kept;
}

// The generators of the classes of Weyl orbits modulo 2, copied out of the module buffer.
template <class Classes> std::vector<int> classGenerators(Classes classes, int rank, int* count) {
    const int* rows = classes(count);
    return rows ? std::vector<int>(rows, rows + static_cast<std::size_t>(*count) * rank)
                : std::vector<int>{};
}

void printOrbitsByClass(const SpectrumData* sd, int current, int order) {
    const int t = sd->type, r = sd->rank;
    int count = 0;
    const std::vector<int> gens =
        classGenerators([&](int* n) { return SignClasses(t, r, n, current); }, r, &count);
    for (int k = 0; k < count; k++) {
        int size = 0;
        const int* orbit =
            WeylParityOrbit(t, r, gens.data() + static_cast<std::size_t>(k) * r, &size, order);
        const int s = computePosRootProducts(t, r, orbit, size, order);
        Print("--------- Class %d (size %d, subgrp %d, dim %d) ------------\n", k, size, s,
              sd->AdjDimension - s);
        char text[32];
        std::snprintf(text, sizeof text, order == 1 ? "        " : "     1/%d", order);
        for (int e = 0; e < size; e++)
            PrintVec(r, orbit + static_cast<std::size_t>(e) * r, text);
    }
    Print("In total %d classes\n", count);
}

const CommandDefinition spectrumDisplay[] = {
    {"list", "(column_1)...(column_n)", COM_restore,
     "Restore printing of all columns of spectrum tables\nwith name that starts with "
     "\"column_i\""},
    {"unlist", "(column_1)...(column_n)", COM_suppress,
     "Suppress printing of all columns of spectrum tables\nwith name that starts with "
     "\"column_i\"."},
    {"browse central_charge", "", COM_cc, "Show central charge."},
    {"display", "(field min)(field max)", COM_display,
     "Display spectrum \n(Only for field \"min\" or from \"min\" to \"max\")."},
    {"display massless", "", COM_display, "Display fields contributing to the massless spectrum."},
    {"display simple", "", COM_display, "Display fields that are simple currents."},
    {"display entry", "[col][field i]", COM_display_entry,
     "Display entry in column \"col\" and row i of the\nspectrum table."},
    {"browse algebras", "", COM_browse_alg, "Show names of algebras in storage."},
    {"new column", "[name][expression]", COM_newcol, "Add new column to current output table."},
};

const CommandDefinition lieDisplay[] = {
    {"browse Cartan", "", COM_Cartan, "Show Cartan matrix and its inverse."},
    {"Weyl reflection", "[field i](simple_root j)", COM_weyl,
     "Compute the horizontal Weyl reflection of field \"i\"\nin the plane orthogonal to simple "
     "root \"j\";\nWithout second parameter: compute action of all\nWeyl group elements."},
    {"Weyl orbit", "[field i]", COM_weylorbit,
     "Compute the complete Weyl orbit of field \"i\".\nSame as \"Weyl reflection i\" except "
     "that\nidentical weights are shown only once."},
    {"Weyl Parity Orbits", "", COM_dynkinweylsignorbit,
     "Compute the complete Weyl orbits modulo 2."},
    {"Weyl Group", "", COM_weylGroup,
     "Display decomposition of Weyl group elements in terms of simple roots."},
    {"Weyl Order", "", COM_weylOrder, "Display order of the Weyl group"},
    {"Weyl Multiply", "[non_neg_int i][non_neg_int j]", COM_weylmult,
     "Multiply Weyl group elements \"i\" and \"j\""},
    {"Compute Gauss_sum", "(field x)", COM_Gauss,
     "[This command is only available for WZW models.]\n"
     "Compute the Gauss sum of exp(pi i (w - x/2)^2/h) over the weights w\n"
     "of the weight lattice modulo h times the coroot lattice, i.e. over\n"
     "the primaries at level h and their horizontal Weyl images.\n"
     "The sum depends only on the Weyl orbit of the Dynkin labels of \"x\"\n"
     "modulo 2.\n"
     "Without \"x\" the sums of all such orbits are computed; the command\n"
     "\"Compute Gauss_sum Orbits\" displays the orbits.\n"
     "A normalisation factor (i h/2)^(rank/2) times the square root of the\n"
     "volume of the weight lattice over the coroot lattice is omitted.\n"
     "Here h stands for the level itself, not for the level plus the dual\n"
     "Coxeter number.\n"
     "The field \"x\" is given by its label."},
    {"Compute Gauss_sum Orbits", "(current i)", COM_weylsignorbit,
     "Compute the complete Weyl orbits modulo 2 in conjugacy class\"i\"\n"
     "Without parameter: use conjugacy class 0."},
    {"expand", "[field lbl]", COM_expand, "Expand coset field into Dynkin labels."},
};

const CommandDefinition browseDisplay[] = {
    {"browse stabilizer", "[field lbl]", COM_browse_stab,
     "Show information on the stabilizer of field \"lbl\"."},
    {"browse Lie", "", COM_browse_spin1, "Display horizontal Lie algebra properties."},
    {"browse CFT", "", COM_browse_cft, "Display several CFT properties."},
};

} // namespace

// ---------------------------------------------------------------------------------------------
// The spectrum table

int COM_display(void** commands, int parnum) {
    const char variant = static_cast<char>(typedWord(commands)[0] | 0x20);
    if (Spectrum_Computed == 0) {
        if (variant == 's') {
            massless_only = 0;
            COM_compute_simple(nullptr, 0);
        } else {
            COM_compute(nullptr, 0);
        }
    }
    const int primaries = totalPrimaries();
    if (primaries <= 0)
        return 1;
    SavedPrefs saved{};
    if (variant == 'm') {
        saved = showRationalWeights();
        massless_only = 1;
    }
    const int from = parnum >= 1 ? intArgument(commands, 0) : 0;
    int to = primaries;
    if (parnum == 1)
        to = from + 1;
    else if (parnum >= 2)
        to = std::min(intArgument(commands, 1) + 1, primaries);
    if (variant == 's')
        to = totalCurrents();
    printInChunks(from, to);
    Print("\n");
    if (variant == 'm')
        restoreRationalWeights(saved);
    massless_only = 0;
    return -parnum;
}

int COM_display_entry(void** commands, int parnum) {
    const bool tensor = cosetSwitch() == 1;
    TableData* td = findTable(tensor ? "TensorSpectrum" : "Spectrum");
    void* row = tensor ? static_cast<void*>(getCurrentTensor()) : getCurrentSD();
    ColumnData* col = td ? findColumn(td, textArgument(commands, 0)) : nullptr;
    if (!col)
        return 1;
    const int field = intArgument(commands, 1);
    if (tensor && refuseUncomputedField("COM_display_entry", 2, field))
        return 1;
    if (col->init && col->init(row) == 0) {
        Alert("COM_display_entry", 0, 100301, "Data not available");
        return 1;
    }
    if (col->allocwidth > WidestEntry) {
        Alert("COM_display_entry", 1, 100301, "Entry size too large");
        return 1;
    }
    char* text = getCharSpace("ModText", EntryRoom);
    text[0] = '\0';
    col->content(text, col->dynamical ? col->description : row, field);
    Print("%s\n", text);
    Print("\n");
    return -parnum;
}

int COM_restore(void** commands, int parnum) {
    return changeColumns(commands, parnum, 1);
}

int COM_suppress(void** commands, int parnum) {
    return changeColumns(commands, parnum, 0);
}

int COM_newcol(void** commands, int parnum) {
    const char* table = cosetSwitch() == 1 ? "TensorSpectrum" : "Spectrum";
    ColumnData* col = makeColumn(textArgument(commands, 0), textArgument(commands, 1), 80,
                                 getExtraColumn, nullptr);
    addColumn(table, col);
    col->dynamical = 1;
    return -parnum;
}

int COM_browse_alg(void**, int parnum) {
    SM_printAlgebras();
    return -parnum;
}

int COM_cc(void**, int parnum) {
    if (DoublePrecision && *DoublePrecision == 1)
        Print("Central charge %15.8f\n", Central_Charge());
    else
        Print("Central charge %30.15f\n", Central_Charge());
    return -parnum;
}

// ---------------------------------------------------------------------------------------------
// The current theory

int COM_browse_stab(void** commands, int parnum) {
    // Stabilizer types are kept for the rows of a computed tensor spectrum only.
    if (cosetSwitch() != 1) {
        Alert("COM_browse_stab", 0, 100302, "Stabilizers are known for tensor products only");
        return 1;
    }
    const int lbl = intArgument(commands, 0);
    if (commands::refuseUncomputedField("COM_browse_stab", 1, lbl))
        return 1;
    printStabilizer(getCurrentTensor(), lbl);
    return -parnum;
}

int COM_browse_cft(void**, int parnum) {
    if (cosetSwitch() == 1) {
        TensorProduct* TP = getCurrentTensor();
        Print(TP->genuineCoset ? "Coset CFT: \n" : "Tensor product: \n");
        printTensorData(TP);
        Print("Central Charge:                   %-15.7f\n", cosetCentralCharge(TP));
        Print("Number of primaries:              %d\n", *NumberOfTensorPrimaries(TP));
        return -parnum;
    }
    const SpectrumData* sd = getCurrentSD();
    if (!sd)
        return -parnum;
    Print("Name:                             %s\n", sd->AlgebraName);
    Print("Central Charge:                   %-15.7f\n", sd->CentralCharge);
    Print("Number of primaries:              %d\n", sd->Nprimaries);
    Print("Number of simple current orbits:  %d\n", sd->Norbits);
    return -parnum;
}

int COM_browse_spin1(void**, int parnum) {
    if (cosetSwitch() == 1) {
        TensorProduct* TP = getCurrentTensor();
        if (DimComputable(TP))
            Print("Number of spin 1 currents: %d\n", SpinOneCount(TP));
        else
            Print("Information not available for coset CFT's\n");
        return -parnum;
    }
    SpectrumData* sd = getCurrentSD();
    if (!sd || sd->exactWeights != 1) {
        Print("Information not available for coset CFT's\n");
        return -parnum;
    }
    Print("Horizontal Lie Algebra:    %s\n", SM_getHorizontalAlgebraName(sd));
    Print("Number of spin 1 currents: %d\n", sd->AdjDimension);
    if (sd->DualCoxeter != -1)
        Print("Dual Coxeter number:       %d\n", sd->DualCoxeter);
    Print(sd->Complexity == 1 ? "Complex:                  YES\n"
                              : "Complex:                   NO\n");
    return -parnum;
}

// ---------------------------------------------------------------------------------------------
// Lie algebra and Weyl group

int COM_Cartan(void**, int parnum) {
    if (!isWZW(getCurrentSD())) {
        Alert("COM_Cartan", 0, 100302, "Not a WZW model");
        return 1;
    }
    printCartanMatrix(getCurrentSD()->type, getCurrentSD()->rank);
    return -parnum;
}

// The labels go to standard output only, as every vector printed this way.
int COM_expand(void** commands, int parnum) {
    const int lbl = intArgument(commands, 0);
    if (cosetSwitch() == 0) {
        SpectrumData* sd = getCurrentSD();
        printVec(sd->RepSize, SM_getRep(sd, lbl), "");
        return -parnum;
    }
    TensorProduct* TP = getCurrentTensor();
    const int* field = TensorField(TP, lbl);
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = getTensorFactor(TP, k);
        printVec(sd->RepSize, SM_getRep(sd, field[k]), "");
    }
    return -parnum;
}

int COM_weylOrder(void**, int parnum) {
    if (refuseWeyl("COM_weylOrder", "simple roots"))
        return 1;
    Print("%lld\n", WeylGroupOrder(getCurrentSD()->type, getCurrentSD()->rank));
    return -parnum;
}

int COM_weylmult(void** commands, int parnum) {
    if (refuseWeyl("COM_weylmult", "Weyl group"))
        return 1;
    // An element number past the group is a typing error, not a fault of the group table.
    const long long order = WeylGroupOrder(getCurrentSD()->type, getCurrentSD()->rank);
    for (int a = 0; a < 2; a++)
        if (intArgument(commands, a) >= order) {
            Alert("COM_weylmult", 2, WeylCode, "Weyl group element %d out of range",
                  intArgument(commands, a));
            return 1;
        }
    Print("%d\n", WeylMultiply(getCurrentSD()->type, getCurrentSD()->rank, intArgument(commands, 0),
                               intArgument(commands, 1)));
    return -parnum;
}

int COM_weylGroup(void**, int parnum) {
    if (refuseWeyl("COM_weylGroup", "simple roots"))
        return 1;
    const int r = getCurrentSD()->rank;
    const VectorSpace* group = initWeylGroup(getCurrentSD()->type, r);
    if (!group) {
        Print("Weyl group too large\n");
        return 1;
    }
    for (int e = 1; e < group->Nfill; e++) {
        Print("%-4d  ", e);
        for (int step = e; step > 0; step = rowOf(group, step)[r])
            Print("%d.", rowOf(group, step)[r + 1] + 1);
        Print("\n");
    }
    return -parnum;
}

int COM_weyl(void** commands, int parnum) {
    const int r = getCurrentSD() ? getCurrentSD()->rank : 0;
    if (parnum >= 2) {
        std::vector<int> output(static_cast<std::size_t>(r) + 10);
        WeylReflection(getCurrentSD()->type, r, weightOf(intArgument(commands, 0)), output.data(),
                       intArgument(commands, 1) - 1);
        PrintVec(r, output.data(), " ");
        return -parnum;
    }
    if (refuseWeyl("COM_weyl", "simple roots"))
        return 1;
    const VectorSpace* images =
        WeylReflections(getCurrentSD()->type, r, weightOf(intArgument(commands, 0)));
    if (!images) {
        Print("Weyl group too large\n");
        return 1;
    }
    for (int e = 0; e < images->Nfill; e++) {
        char text[24];
        std::snprintf(text, sizeof text, "%-4d ", e);
        PrintVec(r, rowOf(images, e), text);
    }
    return -parnum;
}

int COM_weylorbit(void** commands, int parnum) {
    if (refuseWeyl("COM_weylorbit", "simple roots"))
        return 1;
    const int r = getCurrentSD()->rank;
    const VectorSpace* images =
        WeylReflections(getCurrentSD()->type, r, weightOf(intArgument(commands, 0)));
    if (!images) {
        Print("Weyl group too large\n");
        return 1;
    }
    for (const int* image : distinctRows(images->Space, images->Nfill, r))
        PrintVec(r, image, " ");
    return -parnum;
}

int COM_dynkinweylsignorbit(void**, int parnum) {
    if (refuseWeyl("COM_dynkinweylsignorbit", "simple roots"))
        return 1;
    const int t = getCurrentSD()->type, r = getCurrentSD()->rank;
    int count = 0;
    const std::vector<int> gens =
        classGenerators([&](int* n) { return DynkinSignClasses(t, r, n); }, r, &count);
    for (int k = 0; k < count; k++) {
        int size = 0;
        const int* orbit =
            DynkinWeylParityOrbit(t, r, gens.data() + static_cast<std::size_t>(k) * r, &size);
        Print("----------------------- Class %d (size %d) -------------------------\n", k, size);
        for (int e = 0; e < size; e++)
            PrintVec(r, orbit + static_cast<std::size_t>(e) * r, " ");
    }
    return -parnum;
}

int COM_Gauss(void** commands, int parnum) {
    if (cosetSwitch() != 0) {
        Alert("COM_Gauss", 0, WeylCode, "Not defined for tensor products");
        return 1;
    }
    if (!isWZW(getCurrentSD())) {
        Alert("COM_Gauss", 1, WeylCode, "Not defined for this algebra");
        return 1;
    }
    SpectrumData* sd = getCurrentSD();
    if (parnum >= 1) {
        Print("%15.7f\n", GaussianSum(sd, weightOf(intArgument(commands, 0))));
        return -parnum;
    }
    const int r = sd->rank;
    int count = 0;
    const std::vector<int> gens =
        classGenerators([&](int* n) { return SignClasses(sd->type, r, n, 0); }, r, &count);
    Print("Class     Gauss sum      Class generator\n");
    for (int k = 0; k < count; k++) {
        const int* generator = gens.data() + static_cast<std::size_t>(k) * r;
        char text[64];
        std::snprintf(text, sizeof text, "%d     %10.3f        ", k, GaussianSum(sd, generator));
        PrintVec(r, generator, text);
    }
    return -parnum;
}

int COM_weylsignorbit(void** commands, int parnum) {
    if (refuseWeyl("COM_weylsignorbit", "simple roots"))
        return 1;
    const int current = parnum >= 1 ? intArgument(commands, 0) : 0;
    const int order = current != 0 ? Center(getCurrentSD()->type, getCurrentSD()->rank) : 1;
    printOrbitsByClass(getCurrentSD(), current, order);
    return -parnum;
}

// ---------------------------------------------------------------------------------------------

void installDisplayCommands() {
    addCommandFamily(CommandFamily::Spectrum, spectrumDisplay);
    addCommandFamily(CommandFamily::Lie, lieDisplay);
    addCommandFamily(CommandFamily::Browse, browseDisplay);
    SM_bindMasslessOnly(&massless_only);
}
