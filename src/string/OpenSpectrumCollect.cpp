// Collecting the open-string matter of a brane configuration: tensors of a stack with itself,
// adjoints of a stack with its image, bifundamentals between stacks.
#include "string/OpenSpectrum.h"

#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrumInternal.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <cstdlib>
#include <utility>
#include <vector>

using namespace openspectrum;

namespace {

VectorSpace collected = declareVectorSpace("Open sector representations", 100);
std::vector<int> row;

int signOf(int x) {
    return (x > 0) - (x < 0);
}

// Adds the row (codes and chirality change) with multiplicity mult; an existing row of the same
// codes takes both.
void addRow(VectorSpace* Reps, int Nfact, int chirality, int mult) {
    row[at(Nfact)] = chirality;
    const int before = Reps->Nfill;
    copyVec(Nfact + 1, rowOf(Reps, Reps->Nfill), row.data());
    const int r = addToCountedCollection(Reps, mult);
    if (Reps->Nfill == before)
        rowOf(Reps, r)[Nfact] += chirality;
}

void clearRow(int Nfact) {
    row.assign(at(Nfact + 1), 0);
}

} // namespace

void initRepresentationCollection(VectorSpace* Reps, int Nactive) {
    initCountedVectorCollection(Reps, Nactive + 1, 100);
    setIdentificationSize(Reps, Nactive);
}

void CollectRep1(VectorSpace* Reps, int factor, int Nfact, int A, int M, int Nf, int sign,
                 int adjoint) {
    if (A == 0 && M == 0)
        return;
    // One halving leaves |M| = A, so the loop runs at most once, whatever the parity of A - M.
    while (A >= 2 && std::abs(M) < A && !adjoint) {
        const int h = (A - M) / 2;
        const int s = (A + M) / 2;
        CollectRep1(Reps, factor, Nfact, s, s, Nf, sign, adjoint);
        A = h;
        M = -h;
        if (h == 0)
            return;
    }
    if (A >= 2 && !adjoint && std::abs(M) == A) {
        M /= A;
        Nf *= A;
        A = 1;
    } else if (A >= 2 && adjoint) {
        Nf *= A;
        A = 1;
    }
    clearRow(Nfact);
    if (!adjoint && M == 1)
        row[at(factor)] = 2;
    else if (!adjoint && M == -1)
        row[at(factor)] = 3;
    else if (adjoint && M == 0 && A == 1)
        row[at(factor)] = 4;
    else
        Alert("CollectRep1", 0, 212404, "Unknown representation: Annulus=%d,Moebius=%d,adjoint=%d",
              A, M, adjoint);
    addRow(Reps, Nfact, Nf * signOf(sign), Nf);
}

void CollectRep2(VectorSpace* Reps, int Nfact, int lbl1, int lbl2, int A, int Nf, int sign1,
                 int sign2) {
    if (lbl1 > lbl2) {
        std::swap(lbl1, lbl2);
        std::swap(sign1, sign2);
    }
    clearRow(Nfact);
    row[at(lbl1)] = 1;
    row[at(lbl2)] = sign1 * sign2 < 0 ? -1 : 1;
    const int sigma = sign1 != 0 ? signOf(sign1) : signOf(sign2);
    addRow(Reps, Nfact, sigma * Nf * A, Nf * A);
}

namespace {

// The annulus and Moebius coefficients of a diagonal sector break the rules of a Chan-Paton
// projection: reported, and collecting goes on.
void checkSector(int A, int M) {
    if ((A - M) % 2 != 0)
        Alert("CollectOpenSectorRepresentations", 0, 212404, "Annulus/Moebius parity violation");
    if (A < std::abs(M))
        Alert("CollectOpenSectorRepresentations", 1, 212404, "Annulus/Moebius size violation");
}

// The tensors of one stack image (a or a^c) with itself.
void collectDiagonal(VectorSpace* Reps, int n, int s, int m, int a, int w, int sign) {
    const int M = getMoebius(m, a);
    const int A = getAnnulus(m, a, a);
    checkSector(A, M);
    if (A != 0)
        CollectRep1(Reps, s, n, A, M, w, sign, 0);
}

void collectPair(VectorSpace* Reps, int n, int s, int t, int m, int a, int b, int w, int sa,
                 int sb) {
    const int A = getAnnulus(m, a, b);
    if (A != 0)
        CollectRep2(Reps, n, s, t, A, w, sa, sb);
}

void collectField(VectorSpace* Reps, ChanPatonData* CPD, const int* conj, int m, int w) {
    const int n = CPD->Nactive;
    for (int s = 0; s < n; s++) {
        const int a = CPD->Active[at(s)];
        const int ac = conj[a];
        const int sa = std::abs(a - ac);
        collectDiagonal(Reps, n, s, m, a, w, sa);
        if (a != ac) {
            collectDiagonal(Reps, n, s, m, ac, w, -sa);
            const int Aad = getAnnulus(m, a, ac);
            if (Aad != 0)
                CollectRep1(Reps, s, n, Aad, 0, w, 0, 1);
        }
        for (int t = s + 1; t < n; t++) {
            const int b = CPD->Active[at(t)];
            const int bc = conj[b];
            const int sb = std::abs(b - bc);
            collectPair(Reps, n, s, t, m, a, b, w, sa, sb);
            if (b != bc)
                collectPair(Reps, n, s, t, m, a, bc, w, sa, -sb);
            if (a != ac) {
                collectPair(Reps, n, s, t, m, ac, b, w, -sa, sb);
                if (b != bc)
                    collectPair(Reps, n, s, t, m, ac, bc, w, -sa, -sb);
            }
        }
    }
}

} // namespace

namespace openspectrum {

void collectRepresentations(VectorSpace* Reps, ChanPatonData* CPD, int k) {
    initRepresentationCollection(Reps, CPD->Nactive);
    IntegerList* massless = getMasslessLabels();
    if (!massless || CPD->Nactive == 0)
        return;
    const int* conj = &CPD->OI->Conjugates[0];
    for (int e = 1; e < massless->cnt; e++) {
        const int m = massless->list[e];
        const int* info = getRepInfo(m);
        const int w = info ? info[k] : 0;
        if (w != 0)
            collectField(Reps, CPD, conj, m, w);
    }
}

} // namespace openspectrum

VectorSpace* CollectOpenSectorRepresentations(ChanPatonData* CPD, int i, SusyType*) {
    collectRepresentations(&collected, CPD, i);
    return &collected;
}
