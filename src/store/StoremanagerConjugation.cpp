// Charge conjugation of a block, by the cheapest rule its kind allows: arithmetic for free
// bosons and c=1 orbifolds, conjugate Dynkin labels for affine algebras, conjugate triples for
// N=2 minimal models, the S matrix for theories made from tensor products and their fixed-point
// theories.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

using store_internal::allocateFor;

namespace {

AllocCount ConjugationWork = ALLOC_COUNTER("Storemanager conjugation");
GuardedArray<int> rep1("rep1", &ConjugationWork);

int affineConjugate(SpectrumData* sd, int lbl) {
    int r = sd->rank;
    int* labels = rep1.reserve(2 * r + 2);
    int* conjugate = labels + r + 1;
    copyVec(r + 1, labels, SM_getRep(sd, lbl));
    conjg_(sd->type, r, labels, conjugate);
    conjugate[r] = labels[r];
    int found = SM_getLabelNoMessage(sd, conjugate);
    if (found < 0)
        Alert("SM_computeConjugate", 0, 212404, "Charge conjugation error");
    return found;
}

} // namespace

int SM_ConjugatesAvailable(SpectrumData* sd) {
    int t = mod(sd->type, 1000);
    return t < 8 || t == 9 || t == 10 || t == 13 || t == 27 ? 1 : 0;
}

int SM_computeConjugate(SpectrumData* sd, int lbl) {
    if (sd->permutation_order >= 2)
        return SM_getGenericConjugate(sd, lbl);
    int t = sd->type;
    if (t == 0)
        return mod(sd->rank - lbl, sd->rank);
    if (t >= 1 && t <= 5)
        return affineConjugate(sd, lbl);
    if (t == 7)
        return SM_OrbifoldConjugate(sd, lbl);
    if (t == 13)
        return lbl;
    if (t == 6 || t == 27)
        return SM_MinimalConjugate(sd, lbl);
    if (t == 9)
        return SM_getGenericConjugate(sd, lbl);
    if (t == 10)
        return SM_getFCFTConjugate(sd, lbl);
    Alert("SM_getConjugate", 1, 112311, "Conjugation for this algebra not defined or not built in");
    return -1;
}

int SM_initConjugates(void* row) {
    auto* sd = static_cast<SpectrumData*>(row);
    if (!SM_ConjugatesAvailable(sd))
        return 0;
    if (!sd->Conjugates) {
        sd->Conjugates = allocateFor<int>(sd, sd->Nprimaries, "Conjugates ");
        for (int i = 0; i < sd->Nprimaries; i++)
            sd->Conjugates[i] = SM_computeConjugate(sd, i);
    }
    return 1;
}

int SM_getConjugate(SpectrumData* sd, int lbl) {
    if (!SM_ConjugatesAvailable(sd)) {
        Alert("SM_getConjugate", 0, 100302, "Conjugates not defined for this algebra");
        return -1;
    }
    if (!SM_fieldCheck(sd, lbl))
        return -1;
    SM_initConjugates(sd);
    return sd->Conjugates[lbl];
}
