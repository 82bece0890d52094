// Full fixed-point data of a field of the extended product: the group E of extension currents and
// the group F of fix-center elements that fix it, the twists of F's basis against the field's
// stabilizer, a fix-center representative of every current of E, and the phase Phi on pairs of
// currents and fixed-point labels that the resolution matrices need. Records are shared by fields
// with equal elements, stabilizer and twists, and die with the fix center they were made from.
#include "tensor/FixedPoints.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"
#include "tensor/CosetInternal.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using coset_internal::factor;
using coset_internal::findRow;

namespace {

AllocCount FullFP_alloc = ALLOC_COUNTER("Full fixed points");

FullFPType* firstFullFP = nullptr;
// Records given back unfinished: not listed, released with the listed ones.
FullFPType* abandonedFullFP = nullptr;

GuardedArray<int> twistWork("twists", coset_internal::cosetAlloc());
GuardedArray<int> groupMap("basis", coset_internal::cosetAlloc());

std::size_t infoInts(int N_all, int N_ext, int untwisted) {
    return static_cast<std::size_t>(N_all) + static_cast<std::size_t>(untwisted + 3) * N_ext;
}

int twistRows(const FullFPType* ffp) {
    return std::max(1, ffp->fcenter ? ffp->fcenter->Mult : 1);
}

std::size_t twistInts(const FullFPType* ffp) {
    return static_cast<std::size_t>(twistRows(ffp)) * ffp->fp->stab_order;
}

FullFPType* newRecord(int N_all, int N_ext, FPType* fp) {
    auto* r =
        static_cast<FullFPType*>(allocate(sizeof(FullFPType), &FullFP_alloc, "Full FP pointer"));
    *r = FullFPType{};
    const int U = fp->dg->Order;
    auto* info = static_cast<int*>(
        allocate(sizeof(int) * infoInts(N_all, N_ext, U), &FullFP_alloc, "Full FP info"));
    std::fill(info, info + infoInts(N_all, N_ext, U), 0);
    r->all_currents = info;
    r->ext_currents = info + N_all;
    r->representatives = r->ext_currents + N_ext;
    r->PhiNum = r->representatives + N_ext;
    r->N_all = N_all;
    r->N_ext = N_ext;
    r->fp = fp;
    r->PhiDen = 1;
    return r;
}

void releaseRecord(FullFPType* r) {
    freespace(r->all_currents, sizeof(int) * infoInts(r->N_all, r->N_ext, r->fp->dg->Order),
              &FullFP_alloc, "Full FP info");
    if (r->twists)
        freespace(r->twists, sizeof(int) * twistInts(r), &FullFP_alloc, "Full FP twists");
    freespace(r, sizeof(FullFPType), &FullFP_alloc, "Full FP pointer");
}

void releaseList(FullFPType*& head) {
    while (head) {
        FullFPType* next = head->next;
        releaseRecord(head);
        head = next;
    }
}

void abandon(FullFPType* r) {
    r->next = abandonedFullFP;
    abandonedFullFP = r;
}

// The identification of a group given by its elements; the map may need room for the whole
// group when the list is not closed.
Discrete_Group* identify(int* map, int n, int room, int* elements, int* orders, void* xtra,
                         DISC_PROD prod) {
    int* work = groupMap.reserve(std::max(n, room));
    Discrete_Group* dg = DG_mapSubProduct(work, orders, n, elements, xtra, prod);
    copyVec(n, map, work);
    return dg;
}

const int* decompositionOf(const Discrete_Group* dg, int e) {
    return dg->Decomp + static_cast<std::size_t>(e) * dg->Mult;
}

// The representative of every current of E from those of E's basis; false after the report when
// a product leaves the fix center.
bool closeRepresentatives(TensorProduct* TP, FullFPType* r, const std::vector<int>& basisReps) {
    const int N = TP->NTensor;
    const Discrete_Group* E = r->dg;
    std::vector<int> v(static_cast<std::size_t>(N) + 1);
    for (int e = 0; e < r->N_ext; e++) {
        std::fill(v.begin(), v.end(), 0);
        const int* d = decompositionOf(E, e);
        for (int k = 0; k < E->Mult; k++)
            for (int n = 0; n < d[k]; n++) {
                const int* B = rowOf(TP->FixCenter, basisReps[static_cast<std::size_t>(k)]);
                for (int f = 0; f < N; f++)
                    v[static_cast<std::size_t>(f)] =
                        SM_SimpleAction(factor(TP, f), B[f], v[static_cast<std::size_t>(f)]);
            }
        r->representatives[e] = findRow(TP->FixCenter, v.data());
        if (r->representatives[e] < 0) {
            Alert("getFullFP", 0, 212404, "Representative closure problem");
            return false;
        }
    }
    return true;
}

// Phi(e, x), bilinear in the decompositions of e in E and x in U; false after the report when
// the power of a basis representative is no chiral-algebra element.
bool computePhases(TensorProduct* TP, FullFPType* r, const std::vector<int>& basisReps) {
    const Discrete_Group* E = r->dg;
    FPType* fp = r->fp;
    Discrete_Group* U = fp->dg;
    const int nU = U->Order;
    r->PhiDen = 1;
    for (int k = 0; k < E->Mult; k++)
        r->PhiDen = SCM(r->PhiDen, E->Orders[k] * nU);
    std::vector<int> phi(static_cast<std::size_t>(E->Mult) * std::max(1, U->Mult), 0);
    for (int k = 0; k < E->Mult; k++) {
        const int Nk = E->Orders[k];
        const int* power =
            tensorPower(TP, rowOf(TP->FixCenter, basisReps[static_cast<std::size_t>(k)]), Nk);
        const int c = findChiralAlgebraElement(TP, power);
        if (c < 0)
            return false;
        for (int u = 0; u < U->Mult; u++) {
            rat D, root;
            Character(fp, c, fp->unt_stab[DG_basis(U, u)], &D);
            optimalRoot(&D, &root, Nk);
            phi[static_cast<std::size_t>(k * U->Mult + u)] = r->PhiDen * root.num / root.den;
        }
    }
    for (int e = 0; e < r->N_ext; e++) {
        const int* de = decompositionOf(E, e);
        for (int x = 0; x < nU; x++) {
            const int* dx = decompositionOf(U, x);
            int sum = 0;
            for (int k = 0; k < E->Mult; k++)
                for (int u = 0; u < U->Mult; u++)
                    sum += de[k] * dx[u] * phi[static_cast<std::size_t>(k * U->Mult + u)];
            r->PhiNum[e * nU + x] = sum;
        }
    }
    return true;
}

void printElementRows(int n, const int* elements, VectorSpace* rows, int width) {
    char label[64];
    for (int i = 0; i < n; i++) {
        std::snprintf(label, sizeof label, " -- Elt[%d]=%d ", i, elements[i]);
        PrintVec(width, rowOf(rows, elements[i]), label);
    }
}

void printBasis(Discrete_Group* dg) {
    printDiscreteGroup(dg, nullptr);
    for (int b = 0; b < dg->Mult; b++)
        Print("Basis element %d: %d\n", b, DG_basis(dg, b));
}

} // namespace

FullFPType* getFullFP(TensorProduct* TP, const int* field, int* elements, int* extcur, int N_elt,
                      int Ncur, FPType* fp, Discrete_Group* Sc, const int* curmap) {
    if (FullFPType* found = findFullFP(TP, field, elements, fp, N_elt))
        return found;
    FullFPType* r = newRecord(N_elt, Ncur, fp);
    r->fcenter = identify(r->all_currents, N_elt, rowCount(TP->FixCenter), elements,
                          TP->FixCenterOrders.X, TP, FixCenterProduct);
    DG_findOrdersFast(Sc);
    r->dg = identify(r->ext_currents, Ncur, Sc->Order, extcur, Sc->AllOrders, Sc, DG_product);
    r->twists =
        static_cast<int*>(allocate(sizeof(int) * twistInts(r), &FullFP_alloc, "Full FP twists"));
    std::fill(r->twists, r->twists + twistInts(r), 0);
    getFullFPtwists(TP, field, r->twists, r);
    std::vector<int> basisReps(static_cast<std::size_t>(r->dg->Mult));
    for (int k = 0; k < r->dg->Mult; k++) {
        int c = r->ext_currents[DG_basis(r->dg, k)];
        if (curmap)
            c = curmap[c];
        basisReps[static_cast<std::size_t>(k)] = getFixRepresentative(TP, c, r);
    }
    if (!closeRepresentatives(TP, r, basisReps)) {
        abandon(r);
        return nullptr;
    }
    if (!computePhases(TP, r, basisReps)) {
        abandon(r);
        return r;
    }
    r->next = firstFullFP;
    firstFullFP = r;
    return r;
}

FullFPType* findFullFP(TensorProduct* TP, const int* field, const int* elements, FPType* fp,
                       int N_elt) {
    FullFPType* r = firstFullFP;
    while (r && (r->N_all != N_elt || compareVec(N_elt, r->all_currents, elements) != 0))
        r = r->next;
    if (!r)
        return nullptr;
    if (r->fp != fp) {
        Alert("findFullFP", 0, 100201, "Same elements, different stabilizer");
        return nullptr;
    }
    const int n = static_cast<int>(twistInts(r));
    int* t = twistWork.reserve(n);
    std::fill(t, t + n, 0);
    getFullFPtwists(TP, field, t, r);
    return compareVec(n, t, r->twists) == 0 ? r : nullptr;
}

void freeFullFP() {
    releaseList(firstFullFP);
    releaseList(abandonedFullFP);
    // A counter that has never allocated is not registered yet and must stay so.
    if (FullFP_alloc.TotalAlloc != ALLOC_COUNTER("").TotalAlloc)
        FullFP_alloc.TotalAlloc = 0;
}

void printFullFP(TensorProduct* TP, FullFPType* ffp) {
    const int N = TP->NTensor;
    Print("Stabilizer:\n");
    printFP(TP, ffp->fp);
    Print("Structure of extended currents:\n");
    PrintVec(ffp->N_ext, ffp->ext_currents, "Fixed point currents: ");
    printElementRows(ffp->N_ext, ffp->ext_currents, TP->TensorSpectrum, N + 1);
    printBasis(ffp->dg);
    Print("Structure of all fixed point currents:\n");
    PrintVec(ffp->N_all, ffp->all_currents, "All currents: ");
    printElementRows(ffp->N_all, ffp->all_currents, TP->FixCenter, N);
    printBasis(ffp->fcenter);
    PrintVec(ffp->N_ext, ffp->representatives, "Representatives ");
    const int order = ffp->fp->stab_order;
    for (int b = 0; b < ffp->fcenter->Mult; b++)
        PrintVec(order, ffp->twists + b * order, "Twists of generators");
}
