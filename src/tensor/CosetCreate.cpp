// A tensor product extended by its chiral algebra stored as a building block of its own: its
// fields are the fields of the extended product, renumbered into simple-current orbits, with
// their labels, exact weights, dimensions, conjugates, charges, the S matrix on orbits (computed
// once while the product is at hand), grading, symmetries and fixed-point resolution. Afterwards
// the block no longer needs the product.
#include "tensor/CosetInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace coset_internal;

namespace {

GuardedArray<int> fermCur("FermCur", cosetAlloc());

template <class T> T* allocateFor(SpectrumData* sd, std::size_t count, const char* name) {
    return static_cast<T*>(allocate(count * sizeof(T), &sd->TotalAlloc, name));
}

void showTime(const char* fmt) {
    if (createShowInfo() == 1)
        Print(fmt, CPUTime());
}

const int* spectrumRow(TensorProduct* TP, const SpectrumData* sd, int f) {
    return TensorField(TP, sd->CFTtoCoset[f]);
}

// Some field is a resolved fixed point: the label rows keep the fixed-point label.
bool hasFixedPoints(TensorProduct* TP) {
    for (int r = 0; r < rowCount(TP->TensorSpectrum); r++)
        if (TP->Stabilizers[r]->stab_order > 1)
            return true;
    return false;
}

void setFactors(TensorProduct* TP, SpectrumData* sd) {
    const int N = TP->NTensor;
    sd->CentralCharge = cosetCentralCharge(TP);
    sd->CosetFactorCount = N;
    sd->CosetFactors = allocateFor<SpectrumData*>(sd, N, "Coset factors");
    sd->validCFT = 1;
    for (int k = 0; k < N; k++) {
        sd->CosetFactors[k] = factor(TP, k);
        if (factor(TP, k)->validCFT == 0)
            sd->validCFT = 0;
    }
    sd->Ncurrent = TP->Ngenerator;
    sd->GH = allocateFor<int>(sd, static_cast<std::size_t>(TP->Ngenerator + 1) * N, "GH");
    std::copy(TP->GH.X, TP->GH.X + N, sd->GH);
    sd->CosetCurrents = sd->GH + N;
    for (int g = 0; g < TP->Ngenerator; g++)
        std::copy(rowOf(TP->ChiralAlgebra, g + 1), rowOf(TP->ChiralAlgebra, g + 1) + N,
                  sd->CosetCurrents + static_cast<std::size_t>(g) * N);
    if (TP->genuineCoset)
        sd->exactWeights = 0;
}

// Dimensions already computed for the product are copied, the others computed field by field.
void setDimensions(TensorProduct* TP, SpectrumData* sd) {
    if (!sd->Dimensions)
        return;
    for (int f = 0; f < sd->Nprimaries; f++) {
        const int t = sd->CFTtoCoset[f];
        int* info = sd->info ? sd->info + 4 * static_cast<std::size_t>(f) : nullptr;
        if (TP->DimAvailable == 1 && (!info || TP->InfoAvailable == 1)) {
            sd->Dimensions[f] = TP->TensorDimensions[t];
            if (info)
                std::copy(TP->TensorInfo.X + 4 * t, TP->TensorInfo.X + 4 * t + 4, info);
        } else {
            sd->Dimensions[f] = tensorOrbitDimension(TP, t, info);
        }
    }
}

void setLabelsAndWeights(TensorProduct* TP, SpectrumData* sd) {
    const int N = sd->Nprimaries;
    std::vector<rat> h(static_cast<std::size_t>(N));
    sd->Weight_denom = 1;
    for (int f = 0; f < N; f++) {
        const int* row = spectrumRow(TP, sd, f);
        std::copy(row, row + sd->RepSize, SM_getRep(sd, f));
        TensorRatWeight(TP, row, &h[static_cast<std::size_t>(f)]);
        simplifyRat(&h[static_cast<std::size_t>(f)]);
        sd->Weight_denom = SCM(sd->Weight_denom, h[static_cast<std::size_t>(f)].den);
    }
    for (int f = 0; f < N; f++) {
        const rat& w = h[static_cast<std::size_t>(f)];
        sd->Weight_num[f] = sd->Weight_denom / w.den * w.num;
    }
}

void setConjugatesAndCharges(TensorProduct* TP, SpectrumData* sd, const int* map) {
    const int N = sd->Nprimaries;
    Discrete_Group* dg = sd->SimpleCurrents;
    for (int f = 0; f < N; f++) {
        const int c = CT_getConjugate(TP, sd->CFTtoCoset[f]);
        sd->Conjugates[f] = c < 0 ? -1 : map[N + c];
    }
    for (int g = 0; g < dg->Mult; g++) {
        const int J = DG_basis(dg, g);
        const int order = dg->Orders[g];
        for (int f = 0; f < N; f++) {
            rat Q;
            TensorRatCharge(TP, spectrumRow(TP, sd, J), spectrumRow(TP, sd, f), &Q);
            sd->Charges[static_cast<std::size_t>(f) * dg->Mult + g] =
                mod(static_cast<int>(static_cast<long long>(order) * Q.num / Q.den), order);
        }
    }
}

// Every orbit pair once, while the product is linked; false when the user declined the cache.
bool fillOrbitS(SpectrumData* sd, const std::vector<int>& start) {
    for (int o = 0; o < sd->Norbits; o++)
        for (int p = o; p < sd->Norbits; p++) {
            double re = 0.0, im = 0.0;
            if (SM_getSBase(sd, o, p, start[static_cast<std::size_t>(o)],
                            start[static_cast<std::size_t>(p)], &re, &im) != 0)
                return false;
        }
    return true;
}

// A block without its orbit cache has no S: it cannot reach the product afterwards.
void computeOrbitS(TensorProduct* TP, SpectrumData* sd) {
    std::vector<int> start(static_cast<std::size_t>(sd->Norbits), -1);
    for (int f = sd->Nprimaries - 1; f >= 0; f--)
        start[static_cast<std::size_t>(sd->OrbitLabel[f])] = f;
    SM_setCosetS(getCosetS);
    sd->TensorProduct = TP;
    if (!fillOrbitS(sd, start))
        sd->S_available = 0;
    sd->TensorProduct = nullptr;
}

// The grade current: the grade currents of the graded factors from the last one down, the
// first of them that is a field of the block.
void setGrading(TensorProduct* TP, SpectrumData* sd) {
    const int N = TP->NTensor;
    int* v = fermCur.reserve(N + 11);
    std::fill(v, v + N + 1, 0);
    if (graded() != 1)
        return;
    for (int k = N - 1; k >= 0; k--) {
        const SpectrumData* f = factor(TP, k);
        if (f->graded != 1)
            continue;
        v[k] = f->gradecurr;
        if (k != N - 1)
            v[k + 1] = 0;
        const int lbl = SM_getLabelNoMessage(sd, v);
        if (lbl >= 0) {
            SM_grade(sd, lbl);
            return;
        }
    }
}

void setOuterAutomorphisms(TensorProduct* TP, SpectrumData* sd, const int* map) {
    const int N = sd->Nprimaries;
    const int order = sd->SimpleCurrents->Order;
    VectorSpace* perms = nullptr;
    if (rejectPermutations() == 1)
        perms = CT_getCurrentOuterAutomorphisms(TP);
    else if (TP->PermutationsAvailable)
        perms = TP->CurrPerms;
    initVectorCollection(sd->CurrentOuterAutomorphisms, order, 10);
    std::vector<int> row(static_cast<std::size_t>(order));
    if (rowCount(perms) < 2) {
        for (int c = 0; c < order; c++)
            row[static_cast<std::size_t>(c)] = c;
        addVectorToCollection(sd->CurrentOuterAutomorphisms, row.data());
        return;
    }
    for (int r = 0; r < rowCount(perms); r++) {
        const int* p = rowOf(perms, r);
        for (int c = 0; c < order; c++)
            row[static_cast<std::size_t>(c)] = map[N + p[sd->CFTtoCoset[c]]];
        addVectorToCollection(sd->CurrentOuterAutomorphisms, row.data());
    }
}

bool refuseCreation(TensorProduct* TP, const char* CFTname) {
    if (znxVersion() == 1) {
        Alert("createCFT", 10, 112311,
              "Option ZNX is incompatible with the \"create CFT\" command.\nThis includes "
              "building minimal models\nPlease select this option after making minimal models");
        return true;
    }
    if (TP->NTensor == 0) {
        Alert("createCFT", 0, 100302, "Empty theory");
        return true;
    }
    if (SM_findCFT(CFTname)) {
        Alert("createCFT", 1, 100302, "%s already exists", CFTname);
        return true;
    }
    return false;
}

// The block from its spectrum to its orbits; false after a report, the block then unusable.
bool layOutFields(TensorProduct* TP, SpectrumData* sd, int info) {
    showTime("Spectrum computation; time: %7.2f\n");
    if (computeTensorSpectrum(TP) != 0) {
        Alert("createCFT", 2, 100201, "Spectrum computation aborted; no CFT created");
        return false;
    }
    const int rows = rowCount(TP->TensorSpectrum);
    sd->RepSize = TP->NTensor + (hasFixedPoints(TP) ? 1 : 0);
    sd->Nprimaries = rows;
    int* map = allocateFor<int>(sd, 2 * static_cast<std::size_t>(rows), "CFT map");
    sd->CFTtoCoset = map;
    const int dims = TP->DimAvailable == 1 || (!TP->genuineCoset && DimComputable(TP)) ? 1 : 0;
    // Contents exist only where the string analysis has made them.
    const int contents = info == 1 ? 1 : 0;
    showTime("Orbit mapping; time: %7.2f\n");
    return SM_getMap(map, TP->TensorSimpleCurrentOrder, sd, simpleCurrentAction, TP, dims,
                     contents) == 0;
}

} // namespace

SpectrumData* createCFT(TensorProduct* TP, const char* CFTname) {
    return createCFTFlagged(TP, CFTname, 0);
}

SpectrumData* coset_internal::createCFTFlagged(TensorProduct* TP, const char* CFTname,
                                               int minimalN2) {
    if (refuseCreation(TP, CFTname))
        return nullptr;
    const int info = InfoComputable(TP, 0);
    SpectrumData* sd = allocateSpectrumData(CFTname);
    sd->type = 9;
    sd->rank = 0;
    sd->level = 0;
    sd->StoreS = 1;
    sd->MinimalN2 = minimalN2;
    if (!layOutFields(TP, sd, info)) {
        SM_discardCFT(sd);
        return nullptr;
    }
    const int* map = sd->CFTtoCoset;
    setFactors(TP, sd);
    if (sd->Dimensions && TP->DimAvailable == 0)
        showTime("Computing Dimensions; time: %7.2f\n");
    setDimensions(TP, sd);
    if (TP->StringData.error == 1)
        sd->info = nullptr;
    showTime("Computing Weights; time: %7.2f\n");
    setLabelsAndWeights(TP, sd);
    showTime("Computing Conjugates and Charges; time: %7.2f\n");
    setConjugatesAndCharges(TP, sd, map);
    showTime("Computing S on orbits; time: %7.2f\n");
    computeOrbitS(TP, sd);
    showTime("S on orbits completed; time: %7.2f\n");
    setGrading(TP, sd);
    if (!TP->genuineCoset) {
        sd->AdjDimension = SpinOneCount(TP);
        if (info == 1 && TP->StringData.error == 0)
            SM_allocHeterotic(sd, &TP->StringData);
    }
    setOuterAutomorphisms(TP, sd, map);
    showTime("Initiating FCFT's; time: %7.2f\n");
    initFCFT(TP, sd);
    return sd;
}
