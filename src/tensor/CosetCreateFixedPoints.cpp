// Fixed-point resolution of a theory made from a tensor product: its fixed-point currents, one
// fixed-point theory per current (a block of the store holding the fixed points), and the S
// matrices of those theories, taken from the resolution matrices S^J of the product while it is
// at hand.
#include "tensor/CosetInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "numeric/VectorUtility.h"
#include "tensor/FixedPoints.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

using namespace coset_internal;

namespace {

// Above this many fields an N=2 minimal model resolves its fixed points by the closed formula of
// its fixed-point theory instead of a stored S.
constexpr int LargeMinimalModel = 50000;

int* labelRow(SpectrumData* cft, int n) {
    return cft->FCFTlabels + static_cast<std::size_t>(n) * cft->Nprimaries;
}

void fixingCurrents(SpectrumData* cft, int N) {
    cft->FCFTnumber = 0;
    for (int c = 1; c < N; c++)
        if (SM_fixedPointCurrent(cft, c) != 0)
            cft->FixedPointCurrents[cft->FCFTnumber++] = c;
}

// N=2 minimal models fix their fields by one current, none when N/4 is odd; in the cyclic
// numbering of the currents it is N/4 or 3N/4. The group of a coset numbers its currents by the
// product's, so that candidate is taken only when it does fix a field; otherwise the current is
// searched for as in any other theory.
void minimalN2Currents(SpectrumData* cft, int N) {
    const int q = N / 4;
    cft->FCFTnumber = 0;
    if (q % 2 == 1)
        return;
    const int candidate = (N / 8) % 2 == 1 ? q : 3 * q;
    if (SM_fixedPointCurrent(cft, candidate) == 0) {
        fixingCurrents(cft, N);
        return;
    }
    cft->FixedPointCurrents[0] = candidate;
    cft->FCFTnumber = 1;
}

// One fixed-point theory of minimal type whose S comes from its own formula.
void largeMinimalTheory(TensorProduct* TP, SpectrumData* cft, const std::string& name, int N) {
    const int J = cft->FixedPointCurrents[0];
    cft->FCFTshifts[0] = getTotalFCFTshift(TP, TensorField(TP, cft->CFTtoCoset[J]));
    int* labels = labelRow(cft, 0);
    int count = 0;
    for (int f = 0; f < cft->Nprimaries; f++)
        labels[f] = SM_getRep(cft, f)[0] == N / 4 - 2 ? count++ : -1;
    SpectrumData* fcft =
        SM_createFCFT(cft->Nprimaries, (name + "_0").c_str(), cft, labels, count, 0);
    fcft->type = 26;
    fcft->rank = 2;
    fcft->level = cft->level;
    fcft->CentralCharge += cft->FCFTshifts[0];
    cft->FixedPointCFT[0] = fcft;
}

void fixedPointTheories(TensorProduct* TP, SpectrumData* cft, const std::string& name) {
    char suffix[16];
    for (int n = 0; n < cft->FCFTnumber; n++) {
        if (createShowInfo() == 1)
            Print("NEW FCFT: %d; time %7.2f\n", n, CPUTime());
        const int J = cft->FixedPointCurrents[n];
        cft->FCFTshifts[n] = getTotalFCFTshift(TP, TensorField(TP, cft->CFTtoCoset[J]));
        int* labels = labelRow(cft, n);
        int count = 0;
        for (int f = 0; f < cft->Nprimaries; f++)
            labels[f] = SM_SimpleAction(cft, J, f) == f ? count++ : -1;
        std::snprintf(suffix, sizeof suffix, "_%d", n);
        SpectrumData* fcft =
            SM_createFCFT(cft->Nprimaries, (name + suffix).c_str(), cft, labels, count, 0);
        fcft->CentralCharge += cft->FCFTshifts[n];
        cft->FixedPointCFT[n] = fcft;
    }
}

// The full records of cft's fields, their extension currents being cft's fixed-point currents
// that fix them (as labels of cft).
std::vector<FullFPType*> fullRecords(TensorProduct* TP, SpectrumData* cft) {
    std::vector<FullFPType*> full(static_cast<std::size_t>(cft->Nprimaries), nullptr);
    for (int f = 0; f < cft->Nprimaries; f++) {
        const int t = cft->CFTtoCoset[f];
        const int* field = TensorField(TP, t);
        std::vector<int> elements = fixingElements(TP, field);
        std::vector<int> extension{0};
        for (int n = 0; n < cft->FCFTnumber; n++)
            if (labelRow(cft, n)[f] != -1)
                extension.push_back(cft->FixedPointCurrents[n]);
        full[static_cast<std::size_t>(f)] =
            getFullFP(TP, field, elements.data(), extension.data(),
                      static_cast<int>(elements.size()), static_cast<int>(extension.size()),
                      TP->Stabilizers[t], cft->SimpleCurrents, cft->CFTtoCoset);
    }
    return full;
}

// S^(J_n) of fields i and j of cft; 0 when J_n does not fix both. False, with the element 0,
// after the report that a common stabilizer element leaves a factor without fixed-point theory.
bool resolutionElement(TensorProduct* TP, SpectrumData* cft, int n, int i, int j, FullFPType* ffi,
                       FullFPType* ffj, double* re, double* im) {
    const int J = cft->FixedPointCurrents[n];
    const int pi = ffi ? Present(ffi->ext_currents, ffi->N_ext, J) : -1;
    const int pj = ffj ? Present(ffj->ext_currents, ffj->N_ext, J) : -1;
    return cosetResolvedElement(TP, cft->CFTtoCoset[i], cft->CFTtoCoset[j], ffi, ffj, pi, pj,
                                {"getCosetFCFT_S", false}, re, im);
}

// S^(J_m) exp(i pi shift_m / 4) of fields f and g into the S of every fixed-point theory m that
// holds both.
void storeResolvedS(SpectrumData* cft, int f, int g, const std::vector<double>& re,
                    const std::vector<double>& im) {
    for (int m = 0; m < cft->FCFTnumber; m++) {
        const int* labels = labelRow(cft, m);
        if (labels[f] < 0 || labels[g] < 0)
            continue;
        SpectrumData* fcft = cft->FixedPointCFT[m];
        const Complex z =
            Complex(re[static_cast<std::size_t>(m)], im[static_cast<std::size_t>(m)]) *
            shiftPhase(-cft->FCFTshifts[m]);
        SM_putSBase(fcft, labels[f], labels[g], z.real(), z.imag());
    }
}

// Only the pairs that some current fixes are visited, each once.
void fillResolvedS(TensorProduct* TP, SpectrumData* cft, const std::vector<FullFPType*>& full) {
    const int n = cft->FCFTnumber;
    std::vector<double> re(static_cast<std::size_t>(n)), im(static_cast<std::size_t>(n));
    std::unordered_set<long long> done;
    for (int m = 0; m < n; m++) {
        const int* labels = labelRow(cft, m);
        std::vector<int> fixed;
        for (int f = 0; f < cft->Nprimaries; f++)
            if (labels[f] != -1)
                fixed.push_back(f);
        for (int f : fixed)
            for (int g : fixed) {
                if (!done.insert(static_cast<long long>(f) * cft->Nprimaries + g).second)
                    continue;
                getCosetFCFT_S(TP, f, g, re.data(), im.data(), full[static_cast<std::size_t>(f)],
                               full[static_cast<std::size_t>(g)], cft);
                storeResolvedS(cft, f, g, re, im);
            }
    }
}

} // namespace

void initFCFT(TensorProduct* TP, SpectrumData* cft) {
    const std::string name = std::string(cft->AlgebraName).substr(0, 20);
    const int N = cft->SimpleCurrents->Order;
    cft->FixedPointCurrents = static_cast<int*>(allocate(static_cast<std::size_t>(N) * sizeof(int),
                                                         &cft->TotalAlloc, "Fixed point currents"));
    cft->FCFTnumber = 0;
    if (N == 1)
        return;
    if (createShowInfo() == 1)
        Print("Determining fixed point currents; time %7.2f\n", CPUTime());
    if (cft->MinimalN2 == 1)
        minimalN2Currents(cft, N);
    else
        fixingCurrents(cft, N);
    if (cft->FCFTnumber == 0)
        return;
    SM_allocFCFT(cft);
    if (createShowInfo() == 1)
        Print("Allocating FCFT; time %7.2f\n", CPUTime());
    if (cft->MinimalN2 == 1 && cft->Nprimaries > LargeMinimalModel) {
        largeMinimalTheory(TP, cft, name, N);
        return;
    }
    fixedPointTheories(TP, cft, name);
    if (createShowInfo() == 1)
        Print("Computing fixed point matrices; time %7.2f\n", CPUTime());
    getFixedPointMatrices(TP, cft);
}

void getCosetFCFT_S(TensorProduct* TP, int i_cft, int j_cft, double* RealS, double* ImS,
                    FullFPType* ffi, FullFPType* ffj, SpectrumData* cft) {
    // A failing element ends the pair: the remaining elements are 0.
    bool ok = true;
    for (int n = 0; n < cft->FCFTnumber; n++) {
        RealS[n] = ImS[n] = 0.0;
        if (ok)
            ok = resolutionElement(TP, cft, n, i_cft, j_cft, ffi, ffj, &RealS[n], &ImS[n]);
    }
}

void getFixedPointMatrices(TensorProduct* TP, SpectrumData* cft) {
    for (int n = 0; n < cft->FCFTnumber; n++)
        if (SM_allocSBase(cft->FixedPointCFT[n]) == -1) {
            // Declined: the theories cannot reach the product for their S later.
            for (int m = 0; m < cft->FCFTnumber; m++)
                cft->FixedPointCFT[m]->S_available = 0;
            return;
        }
    computeFixCenter(TP);
    fillResolvedS(TP, cft, fullRecords(TP, cft));
}
