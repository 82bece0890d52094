// The string data of a product read as a superstring: whether they can be computed, the record
// of the covariant lattice, and the contents of each field under the extended covariant-lattice
// algebra. The consistency of the space-time dimension is judged by the string layer, which
// installs its rule at start-up.
#include "tensor/CosetInternal.h"

#include "base/Error.h"
#include "tensor/Branching.h"

using namespace coset_internal;

namespace {

SuperstringDimensionRule dimensionRule = nullptr;

bool carriesStringData(const SpectrumData* sd) {
    return sd->info && sd->string_spectrum;
}

// SO(d+6), the algebra whose vector carries the light-cone directions and the world-sheet
// fermions of a covariant lattice of dimension d.
void orthogonalOf(int d, int* type, int* rank) {
    *type = d % 2 == 0 ? 4 : 2;
    *rank = d % 2 == 0 ? (d + 6) / 2 : (d + 5) / 2;
}

int computeContents(TensorProduct* TP) {
    if (TP->genuineCoset || !DimComputable(TP) || CT_spectrumRows(TP) == 0)
        return 0;
    CT_initDimensionsAndContents(TP);
    return TP->StringData.error == 1 || TP->InfoAvailable != 1 ? 0 : 1;
}

} // namespace

void setSuperstringDimensionRule(SuperstringDimensionRule rule) {
    dimensionRule = rule;
}

int InfoComputable(TensorProduct* TP, int silent) {
    if (superMode() == 0 || TP->NTensor == 0)
        return 0;
    if (TP->InfoAvailable == 1 && silent == 1)
        return 1;
    SpectrumData* first = factor(TP, 0);
    if (carriesStringData(first)) {
        if (TP->NTensor == 1)
            return first->string_spectrum->error == 1 ? 0 : 1;
        if (!silent)
            Alert("InfoComputable", 0, 100201,
                  "Extra CFT factors not allowed in existing string theory");
        return 0;
    }
    if (first->level != 1) {
        if (!silent)
            Alert("InfoComputable", 1, 100201, "Covariant lattice level should be 1 (algebra %s)",
                  SM_getAlgebraName(first));
        return 0;
    }
    if (first->type != 2 && first->type != 4 && first->type != 5) {
        if (!silent)
            Alert("InfoComputable", 2, 100201, "Invalid covariant lattice type");
        return 0;
    }
    if (first->rank <= 3) {
        if (!silent)
            Alert("InfoComputable", 3, 100201, "Covariant lattice rank is too small");
        return 0;
    }
    return 1;
}

void initializeStringData(TensorProduct* TP, int silent) {
    Heterotic& H = TP->StringData;
    SpectrumData* first = factor(TP, 0);
    if (carriesStringData(first)) {
        H.CovLatDim = first->string_spectrum->CovLatDim;
        H.CovLatEmbedding = first->string_spectrum->CovLatEmbedding;
    } else {
        H.CovLatDim = getCovLatDim(first->type, first->rank);
        int type = 0, rank = 0;
        orthogonalOf(H.CovLatDim, &type, &rank);
        H.CovLatEmbedding =
            H.CovLatDim > 0 ? makeBranchingTable(first->type, first->rank, type, rank, 1) : nullptr;
    }
    if (!H.CovLatEmbedding || !dimensionRule) {
        H.error = 1;
        return;
    }
    H.error = dimensionRule(&H, silent);
}

int CT_initContents(void* X) {
    auto* TP = X ? static_cast<TensorProduct*>(X) : getCurrentTensor();
    if (TP->InfoAvailable == 1)
        return 1;
    if (InfoComputable(TP, 1) == 0)
        return 0;
    initializeStringData(TP, 1);
    if (TP->StringData.error == 1 || computeContents(TP) == 0)
        return 0;
    printHeteroticRepresentation(nullptr, TP->StringData.CovLatEmbedding, nullptr);
    return 1;
}

int* getCosetRepInfo(TensorProduct* TP, int lbl) {
    if ((!TP->TensorInfo.X || TP->InfoAvailable != 1) && CT_initContents(TP) == 0)
        return nullptr;
    return TP->TensorInfo.X + 4 * lbl;
}

int CT_isTrivial(TensorProduct* TP, int lbl) {
    const int* info = getCosetRepInfo(TP, lbl);
    const Branching* B = TP->StringData.CovLatEmbedding;
    // Without contents no class can be told apart from the singlet.
    if (!info || !B || B->N_G < 2)
        return 1;
    for (int k = 1; k < B->N_G; k++)
        if (info[k] != 0)
            return 0;
    return 1;
}

Heterotic* getTensorStringData(TensorProduct* TP) {
    return CT_initContents(TP) ? &TP->StringData : nullptr;
}
