// The output tables through which the spectra of building blocks and tensor products are shown,
// with the columns the display commands offer.
#include "commands/CommandsInternal.h"

#include "base/Tables.h"
#include "modular/Invariants.h"
#include "tensor/Branching.h"
#include "tensor/Coset.h"

#include <initializer_list>

namespace {

// Whether a column starts printed; AsMade keeps what makeColumn gives.
enum class Shown { AsMade, Printed, Hidden };

// One column as the application defines it; adjust 0 keeps the default of makeColumn.
struct ColumnDefinition {
    const char* name;
    const char* description;
    int width;
    COL_CONT content;
    COL_INIT init;
    Shown shown;
    char adjust;
};

void addColumns(const char* table, std::initializer_list<ColumnDefinition> columns) {
    initTable(table);
    for (const ColumnDefinition& c : columns) {
        ColumnData* cd = makeColumn(c.name, c.description, c.width, c.content, c.init);
        if (c.shown != Shown::AsMade)
            cd->printPref = c.shown == Shown::Printed ? 1 : 0;
        if (c.adjust)
            cd->adjust = c.adjust;
        addColumn(table, cd);
    }
}

void defineSpectrumTable() {
    addColumns("Spectrum", {{"Label|Lbl.|L.", "Label (for fusion and S-matrix)", 8,
                             SM_getLabelString, nullptr, Shown::AsMade, 'R'},
                            {"Ground state|Grnd. St.|Grnd.", "Ground state representation", 80,
                             SM_getDynkinString, nullptr, Shown::AsMade, 0},
                            {"Tensor label|Tl.", "Label in tensor basis", 8, SM_getCosetLabelString,
                             SM_initCosetLabels, Shown::Hidden, 'R'},
                            {"Weights|Wts.", "Conformal weights (mod 1 for cosets)", 20,
                             SM_getWeightString, nullptr, Shown::Printed, 0},
                            {"Rational weights|Wts.", "Rational weights (mod 1 for cosets)", 20,
                             SM_getRatWeightString, nullptr, Shown::AsMade, 0},
                            {"Dimensions|Dim.", "Ground state dimensions", 20, SM_getDimString,
                             SM_initDimensions, Shown::Hidden, 'R'},
                            {"Conjugate|Conj.|Cj.", "Conjugate", 8, SM_getConjString,
                             SM_initConjugates, Shown::Hidden, 'R'},
                            {"Bulk invariant|Bulk Inv.|Bulk", "Bulk Invariant", 20,
                             getBulkInvariantString, nullptr, Shown::Hidden, 'R'},
                            {"Contents", "Ground state representation content", 80,
                             SM_getInfoString, SM_initContents, Shown::Hidden, 0},
                            {"Charges|Ch.", "Charges w.r.t basic simple currents", 20,
                             SM_getChargesString, nullptr, Shown::Hidden, 0},
                            {"Grade sector|Gr.S.", "Indicates if field is NS or R ", 8,
                             SM_getNSRString, SM_initNSR, Shown::Hidden, 0},
                            {"Grade multiplet|Gr.M.", "Indicates grade multiplet partners ", 8,
                             SM_getMultipletString, SM_initNSR, Shown::Hidden, 'R'},
                            {"Orbit base|Base|B.", "First field on orbit", 8,
                             SM_getOrbitStartString, nullptr, Shown::Hidden, 'L'},
                            {"Orbit position|Pos.|P.", "Position on orbit (element of center)", 8,
                             SM_getOrbitPositionString, nullptr, Shown::Hidden, 'L'},
                            {"Orbit label|Orb.|O.", "Orbit label", 8, SM_getOrbitLabelString,
                             nullptr, Shown::Hidden, 'L'},
                            {"Stabilizer|Stab.|S.", "Stabilizer generators", 8,
                             SM_getStabilizerString, nullptr, Shown::Hidden, 'L'},
                            {"Q_dims|Q.D.", "Quantum dimensions", 20, SM_getQdimString, SM_initQdim,
                             Shown::Hidden, 'R'},
                            {"Casimirs|Cas.", "Ground state Casimir eigenvalues", 20,
                             SM_getCasimirString, SM_initCasimir, Shown::Hidden, 0},
                            {"Modular anomaly|Mod.An.|M.A.", "Value of h-c/24", 20,
                             SM_getLogTString, nullptr, Shown::Hidden, 0}});
}

void defineTensorSpectrumTable() {
    addColumns("TensorSpectrum",
               {{"Label|Lbl", "label used for e.g. fusion and S-matrix calculations", 8,
                 CT_getLabelString, nullptr, Shown::AsMade, 'R'},
                {"Combination|Comb.", "Combination of G and H fields", 80, CT_getCombinationString,
                 nullptr, Shown::AsMade, 0},
                {"Weights|Wts.", "Weight (modulo integers for cosets)", 20, CT_getWeightString,
                 nullptr, Shown::Printed, 0},
                {"Rational weights|Wts.", "Rational weight (modulo integers for cosets)", 20,
                 CT_getRatWeightString, nullptr, Shown::AsMade, 0},
                {"Dimensions|Dim.", "Ground state dimension", 40, CT_getDimString,
                 CT_initDimensions, Shown::Hidden, 'R'},
                {"Contents", "Ground state decomposition", 80, CT_getInfoString, CT_initContents,
                 Shown::Hidden, 0},
                {"FP label|FP_lbl|F.l.", "Fixed point labels (elements of chiral algebra)", 8,
                 CT_getFPLabelString, nullptr, Shown::AsMade, 0},
                {"FP mult|F.m.", "Fixed point multiplicity (due to untwisted stabilizer)", 8,
                 CT_getFPMultString, nullptr, Shown::AsMade, 0},
                {"Conjugate|Conj.|Cj.", "Conjugate", 8, CT_getConjString, CT_ConjugatesAvailable,
                 Shown::Hidden, 'R'},
                {"Bulk invariant|Bulk Inv.|Bulk", "Bulk Invariant", 20, getBulkInvariantString,
                 nullptr, Shown::Hidden, 'R'},
                {"Decomposition|Dec.", "Decomposition of G and H labels", 80,
                 CT_getDecompositionString, nullptr, Shown::AsMade, 0}});
}

void defineAlgebraTables() {
    addColumns("Algebras",
               {{"Name", "Algebra name", 60, SM_getAlgebraNameString, nullptr, Shown::AsMade, 0},
                {"Allocation|Alloc.", "Allocated bytes", 20, SM_getAlgebraSizeString, nullptr,
                 Shown::AsMade, 0},
                {"Primaries|Prim.", "Number of primaries (representations)", 20,
                 SM_getAlgebraPrimString, nullptr, Shown::AsMade, 0},
                {"Available|Av.", "Matrix S available", 6, SM_getAlgebraS_AvailabilityString,
                 nullptr, Shown::AsMade, 0}});
    addIncrem("Algebras",
              [](void* sd) -> void* { return SM_nextAlgebra(static_cast<SpectrumData*>(sd)); });
    addColumns("Decomposition",
               {{"Labels", "Labels of terms in decomposition", 60, CT_getDecompVectorString,
                 nullptr, Shown::AsMade, 0},
                {"Weights", "Weights of terms in decomposition", 20, CT_getDecompWeightString,
                 nullptr, Shown::AsMade, 0},
                {"Dimensions|Dims.", "Dimensions of terms in decomposition", 20,
                 CT_getDecompDimString, CT_initDecompDimensions, Shown::AsMade, 'R'}});
    addColumns("Lorentz",
               {{"Notation", "Notation", 7, BR_getNotationString, nullptr, Shown::AsMade, 0},
                {"Interpretation", "Interpretation", 30, BR_getInterpretationString, nullptr,
                 Shown::AsMade, 0},
                {"D.O.F.", "Number of lightcone degrees of freedom", 7, BR_getDOFString, nullptr,
                 Shown::AsMade, 0}});
}

} // namespace

void initializeTables() {
    defineSpectrumTable();
    defineTensorSpectrumTable();
    defineAlgebraTables();
    TableTable();
    TableInfo();
}
