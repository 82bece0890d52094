// The cells of the tables "TensorSpectrum" (row object: the tensor product, label: the field) and
// "Decomposition" (the members of one field's chiral-algebra orbit), and the printing of the
// latter. The dimension and contents columns read what their set-up computed and stay empty
// until then.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/LargeInteger.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <cstdio>
#include <vector>

using namespace coset_internal;

namespace {

// The row object of "Decomposition".
struct DecompInfo {
    std::vector<int> coset; // chiral-algebra elements, one per row
    int field = 0;
    int groundstate = 0;
    TensorProduct* TP = nullptr;
    std::vector<COL_CONT> functions; // one label text per factor
};
DecompInfo decomposition;
// The weight of the first member, against which "browse groundstate" keeps rows.
rat firstWeight{0, 1};

char* writeNothing(char* txt) {
    *txt = '\0';
    return txt;
}

TensorProduct* productOf(void* row) {
    return row ? static_cast<TensorProduct*>(row) : getCurrentTensor();
}

char* writeRational(char* txt, const rat& h) {
    if (h.den == 1)
        return txt + std::sprintf(txt, "%d", h.num);
    return txt + std::sprintf(txt, "%d/%-d", h.num, h.den);
}

const int* memberOf(const DecompInfo* DI, int r) {
    return getStoredOrbitMember(DI->TP, DI->coset[static_cast<std::size_t>(r)], DI->field);
}

} // namespace

// ============================================================ "TensorSpectrum"

char* CT_getLabelString(char* txt, void*, int lbl) {
    return txt + std::sprintf(txt, "%d", lbl);
}

char* CT_getCombinationString(char* txt, void* row, int lbl) {
    TensorProduct* TP = productOf(row);
    const int* f = TensorField(TP, lbl);
    txt += std::sprintf(txt, "{");
    for (int k = 0; k < TP->NTensor; k++)
        txt += std::sprintf(txt, k == 0 ? "%d" : ",%d", f[k]);
    return txt + std::sprintf(txt, "}");
}

char* CT_getWeightString(char* txt, void* row, int lbl) {
    TensorProduct* TP = productOf(row);
    txt += std::sprintf(txt, "%-10.7f", cosetWeight(TP, TensorField(TP, lbl)));
    if (TP->genuineCoset && lbl != 0)
        txt += std::sprintf(txt, " (mod 1)");
    return txt;
}

char* CT_getRatWeightString(char* txt, void* row, int lbl) {
    TensorProduct* TP = productOf(row);
    rat h;
    TensorRatWeight(TP, TensorField(TP, lbl), &h);
    if (SM_masslessOnly() && lbl != 0 && h.num != h.den)
        return nullptr;
    return writeRational(txt, h);
}

char* CT_getFPLabelString(char* txt, void* row, int lbl) {
    TensorProduct* TP = productOf(row);
    if (TP->Stabilizers[lbl]->dg->Order == 1)
        return txt + std::sprintf(txt, "-");
    return txt + std::sprintf(txt, "%d", TensorField(TP, lbl)[TP->NTensor]);
}

char* CT_getFPMultString(char* txt, void* row, int lbl) {
    return txt + std::sprintf(txt, "%d", productOf(row)->Stabilizers[lbl]->mult);
}

char* CT_getDecompositionString(char* txt, void* row, int lbl) {
    TensorProduct* TP = productOf(row);
    const int* f = TensorField(TP, lbl);
    for (int k = 0; k < TP->NTensor && txt; k++)
        txt = SM_getDynkinString(txt, factor(TP, k), f[k]);
    return txt;
}

char* CT_getDimString(char* txt, void* row, int lbl) {
    const int d = productOf(row)->TensorDimensions[lbl];
    if (d >= 0)
        return txt + std::sprintf(txt, "%-d", d);
    const lint* big = retrieveLint(d);
    return big ? txt + std::sprintf(txt, "%s", lint_string(big)) : writeNothing(txt);
}
char* CT_getInfoString(char* txt, void* row, int lbl) {
    TensorProduct* TP = productOf(row);
    const Branching* B = TP->StringData.CovLatEmbedding;
    if (TP->InfoAvailable != 1 || !B || !TP->TensorInfo.X)
        return writeNothing(txt);
    return SM_masslessContentsCell(txt, B, TP->TensorInfo.X + 4 * lbl, lbl);
}

// ============================================================ "Decomposition"

void browseDecomp(TensorProduct* TP, int lbl, int groundstate, const COL_CONT* functions) {
    DecompInfo& DI = decomposition;
    DI.TP = TP;
    DI.field = lbl;
    DI.groundstate = groundstate;
    DI.functions.assign(functions, functions + TP->NTensor);
    const int n = rowCount(TP->ChiralAlgebra);
    std::vector<int> elements(static_cast<std::size_t>(n));
    for (int i = 0; i < n; i++)
        elements[static_cast<std::size_t>(i)] = i;
    FPType* fp = TP->Stabilizers[lbl];
    DI.coset.assign(static_cast<std::size_t>(n), 0);
    if (!DG_coset_elements(elements.data(), fp->stabilizer, DI.coset.data(), n, fp->stab_order, TP,
                           chiralProduct))
        return;
    DI.coset.resize(static_cast<std::size_t>(n / fp->stab_order));
    if (TP->genuineCoset && groundstate) {
        Alert("browseDecomp", 0, 112311, "Ground state construction for cosets is not built in");
        return;
    }
    if (fp->mult != 1)
        Print("Multiplicity: %d\n", fp->mult);
    const int rows = static_cast<int>(DI.coset.size());
    const bool toTerminal = OutputStatus() != 0;
    if (toTerminal)
        printTable("Decomposition", 0, rows, 1, 0, &DI, stdout);
    if (FILE* out = getOutputFile())
        printTable("Decomposition", 0, rows, 1, toTerminal ? 2 : 0, &DI, out);
}

char* CT_getDecompVectorString(char* txt, void* row, int r) {
    const auto* DI = static_cast<const DecompInfo*>(row);
    const int* m = memberOf(DI, r);
    txt += std::sprintf(txt, "(");
    for (int k = 0; k < DI->TP->NTensor; k++) {
        if (k > 0)
            txt += std::sprintf(txt, ",");
        txt = DI->functions[static_cast<std::size_t>(k)](txt, factor(DI->TP, k), m[k]);
        if (!txt)
            return nullptr;
    }
    return txt + std::sprintf(txt, ")");
}

char* CT_getDecompWeightString(char* txt, void* row, int r) {
    const auto* DI = static_cast<const DecompInfo*>(row);
    rat h;
    TensorRatWeight(DI->TP, memberOf(DI, r), &h);
    if (r == 0)
        firstWeight = h;
    else if (DI->groundstate && (h.num != firstWeight.num || h.den != firstWeight.den))
        return nullptr;
    return writeRational(txt, h);
}

char* CT_getDecompDimString(char* txt, void* row, int r) {
    const auto* DI = static_cast<const DecompInfo*>(row);
    return txt + std::sprintf(txt, "%s", lint_string(tensorDimension(DI->TP, memberOf(DI, r))));
}

// The members' dimensions come from the factors; the fields' own column waits for the ground
// state contents.
int CT_initDecompDimensions(void* row) {
    TensorProduct* TP = static_cast<const DecompInfo*>(row)->TP;
    return TP->DimAvailable == 1 ? 1 : DimComputable(TP);
}

// ============================================================ Exceptional invariants

void getExceptionalTensorModularMatrix(int* modmat, const int* modes) {
    TensorProduct* TP = getCurrentTensor();
    const int n = *NumberOfTensorPrimaries(TP);
    for (int i = 0; i < n; i++) {
        const int* fi = TensorField(TP, i);
        for (int j = 0; j < n; j++) {
            const int* fj = TensorField(TP, j);
            int entry = 1;
            for (int k = 0; k < TP->NTensor && entry != 0; k++)
                entry *= ExceptionalModularMatrix(fi[k], fj[k], modes[k]);
            modmat[static_cast<std::size_t>(j) * n + i] = entry;
        }
    }
}
