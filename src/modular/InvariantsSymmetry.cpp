// Symmetry reduction of simple-current invariants. The symmetries of the theory (permutations of
// identical factors, outer automorphisms) permute its currents; within a subgroup they fix, an X
// matrix is kept only when none of them turns it into a smaller one, so each class of invariants
// is met once. The symmetries that leave an accepted X unchanged form its stabilizer, which the
// boundary code reads.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace invariants_internal;

namespace {

// The center map (element to current) and its inverse (current to element).
std::vector<int> centerMap;
std::vector<int> inverseCenterMap;

std::vector<int> permutedX;

void prepareAction() {
    int* map = nullptr;
    const Discrete_Group* dg = getCenter(&map);
    centerMap.assign(map, map + dg->Order);
    inverseCenterMap.assign(static_cast<std::size_t>(dg->Order), -1);
    for (int e = 0; e < dg->Order; e++) {
        const int c = centerMap[static_cast<std::size_t>(e)];
        if (c < 0 || c >= dg->Order)
            Alert("computeGroupPermutation", 0, 212404, "Non-invertible map");
        else
            inverseCenterMap[static_cast<std::size_t>(c)] = e;
    }
}

// The group element of MD's group that stands for current c; -1 when c is not in it.
int elementOfCurrent(const SCData* MD, int c) {
    if (c < 0 || c >= CenterOrder())
        return -1;
    return MD->inverse_map[c];
}

// The symmetries (0 first) that map the currents of MD's group onto themselves.
std::vector<int> groupStabilizer(const SCData* MD) {
    const int n = MOD_TotalOuterAutomorphisms();
    const int order = MD->dg->Order;
    std::vector<int> list{0};
    for (int s = 1; s < n; s++) {
        bool onto = true;
        for (int k = 0; k < order && onto; k++)
            onto = elementOfCurrent(MD, MOD_getCurrentPermutation(s, MD->map[k])) >= 0;
        if (onto) // the images are distinct, so lying in the group they fill it
            list.push_back(s);
    }
    return list;
}

int elementOrder(Discrete_Group* dg, int e) {
    if (dg->AllOrders[e] == 0)
        DG_findOrdersFast(dg);
    return dg->AllOrders[e];
}

void printRows(int M, const int* X) {
    for (int i = 0; i < M; i++)
        PrintVec(M, X + i * M, "         ");
}

// Row by row, entry by entry: negative when A comes first.
int compareMatrices(int M, const int* A, const int* B) {
    return compareVec(M * M, A, B);
}

} // namespace

int computeGroupPermutation(int perm, int elt) {
    if (elt == -1) {
        prepareAction();
        return 0;
    }
    if (centerMap.empty())
        prepareAction();
    const int image = MOD_getCurrentPermutation(perm, centerMap[static_cast<std::size_t>(elt)]);
    if (image < 0 || image >= static_cast<int>(inverseCenterMap.size()))
        return -1;
    return inverseCenterMap[static_cast<std::size_t>(image)];
}

namespace {

// The record's symmetry action, prepared, and the symmetries that map its group onto itself.
std::vector<int> prepareSymmetries(SCData* MD) {
    MD->PermutationFunction = computeGroupPermutation;
    computeGroupPermutation(0, -1);
    return groupStabilizer(MD);
}

} // namespace

void addSubgroupStabilizerToModularData(SCData* MD) {
    if (MOD_TotalOuterAutomorphisms() == 0)
        return;
    const std::vector<int> list = prepareSymmetries(MD);
    const int size = static_cast<int>(list.size());
    if (MD->sg && MD->sg_was_allocated)
        DG_freeSubgroup(MD->sg);
    MD->sg = DG_allocSubGroup(nullptr, MD->dg->Mult, size, MD->dg->Order);
    MD->sg_was_allocated = 1;
    std::copy(list.begin(), list.end(), MD->sg->Stabilizer);
    printVec(size, list.data(), "MD->sg->Stabilizer");
}

int* getPermutedXmatrix(int mult, SCData* MD, int stab_elt) {
    Discrete_Group* dg = MD->dg;
    const int M = dg->Mult;
    std::vector<int> p(static_cast<std::size_t>(mult));
    for (int a = 0; a < mult; a++) {
        const int image = MOD_getCurrentPermutation(stab_elt, MD->map[DG_basis(dg, a)]);
        p[static_cast<std::size_t>(a)] = elementOfCurrent(MD, image);
        if (p[static_cast<std::size_t>(a)] < 0) {
            PrintVec(dg->Order, MD->map.X, "Subgroup");
            Print("Element needed: %d\n", image);
            Print("stab_elt=%d\n", stab_elt);
            Alert("getPermutedXmatrix", 0, 212404, "Permutation not found");
            return nullptr;
        }
    }
    permutedX.assign(static_cast<std::size_t>(std::max(M * M, 1)), 0);
    for (int a = 0; a < mult; a++) {
        const int pa = p[static_cast<std::size_t>(a)];
        const int oa = elementOrder(dg, pa);
        for (int b = 0; b < mult; b++) {
            const rat* x = computeXIJ(pa, p[static_cast<std::size_t>(b)], MD);
            const long long v = static_cast<long long>(oa) * x->num;
            if (v % x->den != 0) {
                Alert("getPermutedXmatrix", 1, 212404, "Invalid permutated X matrix");
                return nullptr;
            }
            permutedX[static_cast<std::size_t>(a * M + b)] = mod(static_cast<int>(v / x->den), oa);
        }
    }
    return permutedX.data();
}

int checkPermutationAcceptance(SCData* MD) {
    if (!MD->PermutationFunction) {
        Print("Permutation function vanishes unexpectedly\n");
        return 1;
    }
    const int M = MD->dg->Mult;
    const int n = MD->sg->permsize;
    MD->stabsize = 0;
    MD->Stabilizer.reserve(std::max(n, 1));
    const bool trace = param(Par::RejectInfo) != 0;
    if (trace) {
        Print("Checking Matrix X: \n");
        printRows(M, MD->Xmatrix);
    }
    for (int k = 0; k < n; k++) {
        const int s = MD->sg->Stabilizer[k];
        const int* Xp = getPermutedXmatrix(M, MD, s);
        if (!Xp)
            return 1;
        const int cmp = compareMatrices(M, Xp, MD->Xmatrix);
        if (cmp < 0) {
            if (trace) {
                Print("Equivalent to: \n");
                printRows(M, Xp);
            }
            return 0;
        }
        if (cmp == 0)
            MD->Stabilizer[MD->stabsize++] = s;
    }
    if (trace)
        Print("Accepted\n");
    return 1;
}

void addPermutationInfo(SCData* MD) {
    if (MOD_TotalOuterAutomorphisms() == 0)
        return;
    const std::vector<int> candidates = prepareSymmetries(MD);
    const int M = MD->dg->Mult;
    MD->Stabilizer.reserve(static_cast<int>(candidates.size()));
    MD->stabsize = 0;
    for (int s : candidates) {
        const int* Xp = getPermutedXmatrix(M, MD, s);
        if (!Xp)
            return;
        if (compareMatrices(M, Xp, MD->Xmatrix) == 0)
            MD->Stabilizer[MD->stabsize++] = s;
    }
}

void addToPermSet(int* set, int x) {
    int k = 0;
    while (set[k] != -1) {
        if (set[k] == x)
            return;
        k++;
    }
    set[k] = x;
    set[k + 1] = -1;
}
