// Fixed-point resolution of a theory made from a tensor product: its fixed-point currents, one
// fixed-point theory per current (a block of the store holding the fixed points), and the S
// matrices of those theories, taken from the resolution matrices S^J of the product while it is
// at hand.
#include "tensor/CosetInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace coset_internal;

namespace {

// Above this many fields an N=2 minimal model resolves its fixed points by the closed formula of
// its fixed-point theory instead of a stored S.
constexpr int LargeMinimalModel = 50000;

int* labelRow(SpectrumData* cft, int n) {
    return cft->FCFTlabels + static_cast<std::size_t>(n) * cft->Nprimaries;
}

// N=2 minimal models fix the fields by one current: N/4 or 3N/4, none when N/4 is odd.
void minimalN2Currents(SpectrumData* cft, int N) {
    const int q = N / 4;
    cft->FCFTnumber = 0;
    if (q % 2 == 1)
        return;
    cft->FixedPointCurrents[0] = (N / 8) % 2 == 1 ? q : 3 * q;
    cft->FCFTnumber = 1;
}

void fixingCurrents(SpectrumData* cft, int N) {
    cft->FCFTnumber = 0;
    for (int c = 1; c < N; c++)
        if (SM_fixedPointCurrent(cft, c) != 0)
            cft->FixedPointCurrents[cft->FCFTnumber++] = c;
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

void getFixedPointMatrices(TensorProduct*, SpectrumData*) {}
