// Orbits of the chiral algebra on label combinations: the order that picks an orbit's
// generator, the graded minimal form, and the look-up of a combination's field in the spectrum.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/ChiralOrbitTable.h"
#include "tensor/CosetInternal.h"

#include <cstdio>
#include <cstdlib>

using namespace coset_internal;

namespace {

GuardedArray<int> representative("result", cosetAlloc());
GuardedArray<int> comb("comb", cosetAlloc());
GuardedArray<int> vectorBuffer("vector", cosetAlloc());
GuardedArray<int> shifted("shifted_current", cosetAlloc());
GuardedArray<int> freeOut("out", cosetAlloc());
GuardedArray<int> freeMember("member of extension", cosetAlloc());

bool weightIsOne(TensorProduct* TP, const int* v) {
    rat h;
    TensorRatWeight(TP, v, &h);
    return h.num == h.den;
}

int chiralRows(TensorProduct* TP) {
    return rowCount(TP->ChiralAlgebra);
}

} // namespace

namespace {

// compareOrbitGenerators with the weights of a and b given.
int compareWeighted(TensorProduct* TP, const int* a, double ha, const int* b, double hb) {
    if (!TP->genuineCoset) {
        const double d = ha - hb;
        if (d < -0.1)
            return -1;
        if (d > 0.1)
            return 1;
    }
    return compareVec(TP->NTensor, a, b);
}

} // namespace

int compareOrbitGenerators(TensorProduct* TP, const int* a, const int* b) {
    if (TP->genuineCoset)
        return compareVec(TP->NTensor, a, b);
    return compareWeighted(TP, a, tensorWeight(TP, a), b, tensorWeight(TP, b));
}

int GradedMinimalForm(TensorProduct* TP, int* v) {
    if (!graded())
        return 0;
    int flips = 0;
    int tracked = -1;
    int trackedDistance = 0;
    bool trackedFlipped = false;
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = factor(TP, k);
        if (!sd->graded)
            continue;
        const int a = v[k];
        const int p = sd->multiplets[a];
        const int d = sd->Weight_num[p] - sd->Weight_num[a];
        const bool flip = d < 0 || (d == 0 && a > p);
        if (tracked < 0 || std::abs(d) < trackedDistance) {
            tracked = k;
            trackedDistance = std::abs(d);
            trackedFlipped = flip;
        }
        if (flip) {
            v[k] = p;
            flips++;
        }
    }
    if (flips % 2 == 0)
        return flips;
    // An odd number of flips leaves the sector: the cheapest factor is flipped once more.
    SpectrumData* sd = factor(TP, tracked);
    v[tracked] = sd->multiplets[v[tracked]];
    return trackedFlipped ? flips - 1 : flips + 1;
}

int* GradedMinimalFormForLabel(TensorProduct* TP, int lbl) {
    int* row = TensorField(TP, lbl);
    if (!graded())
        return row;
    int* out = vectorBuffer.reserve(TP->NTensor + 1);
    copyVec(TP->NTensor + 1, out, row);
    GradedMinimalForm(TP, out);
    return out;
}

int* getRepresentative(TensorProduct* TP, int* v) {
    ChiralOrbitTable orbit(TP);
    return getRepresentative(TP, v, orbit);
}

int* coset_internal::getRepresentative(TensorProduct* TP, int* v, ChiralOrbitTable& orbit) {
    const int N = TP->NTensor;
    int* rep = representative.reserve(2 * N + 11);
    int* w = rep + N;
    const bool isGraded = graded() != 0;
    if (isGraded)
        GradedMinimalForm(TP, v);
    copyVec(N, rep, v);
    orbit.actOn(v);
    orbit.prepareGradedImages();
    // Each member's weight is taken once; a coset compares labels only.
    const bool weighed = !TP->genuineCoset;
    double repWeight = weighed ? tensorWeight(TP, rep) : 0.0;
    const int rows = isGraded ? TP->NGradChirCurr : chiralRows(TP);
    for (int m = 0; m < rows; m++) {
        const double weight = orbit.gradedImage(m, w);
        const double h = weighed ? weight : 0.0;
        if (compareWeighted(TP, w, h, rep, repWeight) < 0) {
            copyVec(N, rep, w);
            repWeight = h;
        }
    }
    return rep;
}

int findOrbit(TensorProduct* TP, const int* v, int* shift) {
    const int N = TP->NTensor;
    int* best = comb.reserve(2 * N + 2);
    int* w = best + N + 1;
    // Before the chiral algebra is computed the combination is its own orbit.
    copyVec(N + 1, best, v);
    GradedMinimalForm(TP, best);
    int found = TP->NGradChirCurr > 0 ? -1 : findRow(TP->TensorSpectrum, best);
    for (int m = 0; m < TP->NGradChirCurr && found < 0; m++) {
        getOrbitMember(TP, rowOf(TP->ChiralAlgebra, m), v, w);
        GradedMinimalForm(TP, w);
        if (m > 0 && compareOrbitGenerators(TP, w, best) > 0)
            continue;
        copyVec(N + 1, best, w);
        found = findRow(TP->TensorSpectrum, best);
    }
    if (found < 0) {
        printVec(N + 1, v, "in  --> ");
        printVec(N + 1, best, "out --> ");
        Alert("findOrbit", 0, 212404, "Minimal orbit not present");
        return -1;
    }
    if (!shift)
        return found;
    for (int m = 0; m < chiralRows(TP); m++) {
        getOrbitMember(TP, rowOf(TP->ChiralAlgebra, m), v, w);
        if (compareVec(N + 1, w, best) == 0) {
            *shift = m;
            return found;
        }
    }
    Alert("findOrbit", 1, 212404, "Orbit not found");
    return -1;
}

int IdentifyOrbit(TensorProduct* TP, int* v) {
    v[TP->NTensor] = 0;
    for (int m = 0; m < chiralRows(TP); m++) {
        rat Q;
        TensorRatCharge(TP, rowOf(TP->ChiralAlgebra, m), v, &Q);
        if (intcheck(&Q) != 0)
            return -1;
    }
    return findOrbit(TP, v, nullptr);
}

int isTensorSuperCurrent(int lbl, TensorProduct* TP) {
    int* w = shifted.reserve(TP->NTensor);
    const int* field = TensorField(TP, lbl);
    for (int m = 0; m < chiralRows(TP); m++) {
        tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, m), field, w);
        if (weightIsOne(TP, w) && w[0] % 2 == 1)
            return 1;
    }
    return 0;
}

int* findFreeFactors(TensorProduct* TP, const Extension* ext) {
    const int N = TP->NTensor;
    int* out = freeOut.reserve(N);
    int* w = freeMember.reserve(N);
    nullifyVec(N, out);
    for (int m = 0; m < chiralRows(TP); m++)
        for (int i = 0; i < ext->size; i++) {
            tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, m), TensorField(TP, ext->currents[i]),
                               w);
            if (!weightIsOne(TP, w))
                continue;
            for (int k = 0; k < N; k++)
                if (w[k] != 0)
                    out[k] = 1;
        }
    return out;
}

void browseChiral(TensorProduct* TP) {
    // A chiral algebra made for other factors has nothing to show for these.
    const bool fits = TP->ChiralAlgebra->id_size == TP->NTensor;
    const int rows = fits ? chiralRows(TP) : 0;
    Print("Chiral algebra size: %d\n", rows);
    Print("Graded Chiral algebra size: %d\n", fits ? TP->NGradChirCurr : 0);
    char title[80];
    for (int m = 0; m < rows; m++) {
        const int* J = rowOf(TP->ChiralAlgebra, m);
        rat h;
        TensorRatWeight(TP, J, &h);
        std::snprintf(title, sizeof title, "Current %d (weight  %d/%d) :", m, h.num, h.den);
        PrintVec(TP->NTensor, J, title);
    }
}

void gradeFlip(TensorProduct* TP, int n, int* v, const int* mask) {
    for (int k = 0; k < n; k++)
        if (mask[k] == 1)
            v[k] = factor(TP, k)->multiplets[v[k]];
}
