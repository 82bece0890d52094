// The built-in exceptional modular invariants: those of A1 at levels 10, 16 and 28 and their
// counterparts on the N=2 minimal models of the same levels, one 0/1 entry at a time.
#include "store/Storemanager.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool inOneSet(std::initializer_list<std::initializer_list<int>> sets, int a, int b) {
    for (const auto& set : sets)
        if (std::find(set.begin(), set.end(), a) != set.end() &&
            std::find(set.begin(), set.end(), b) != set.end())
            return true;
    return false;
}

// The su(2) labels the invariant of the level couples.
bool coupled(int level, int a, int b) {
    switch (level) {
    case 10:
        return inOneSet({{0, 6}, {4, 10}, {3, 7}}, a, b);
    case 16:
        if (a == 8 || b == 8)
            return inOneSet({{8, 2}, {8, 14}}, a, b) || (a == 8 && b == 8);
        return inOneSet({{0, 16}, {4, 12}, {6, 10}}, a, b);
    case 28:
        return inOneSet({{0, 10, 18, 28}, {6, 12, 16, 22}}, a, b);
    default:
        return false;
    }
}

int levelOfMode(int mode) {
    static const int levels[3] = {10, 16, 28};
    return levels[(mode - 1) % 3];
}

// The store's A1 blocks list their fields by orbits: field 2j is l = j, field 2j+1 is l = k-j.
int a1Label(int k, int field) {
    return field % 2 == 0 ? field / 2 : k - (field - 1) / 2;
}

int a1Entry(int k, int i, int j) {
    if (i < 0 || j < 0 || i > k || j > k)
        return 0;
    return coupled(k, a1Label(k, i), a1Label(k, j)) ? 1 : 0;
}

// Coupled directly with equal (m, s), or through the identification (l, m, s) = (k-l, m+k+2, s+2).
int minimalEntry(int k, int i, int j) {
    int mi = 0, si = 0, mj = 0, sj = 0;
    const int li = getAffineRep(i, k, &mi, &si);
    const int lj = getAffineRep(j, k, &mj, &sj);
    if (li < 0 || lj < 0)
        return 0;
    if (coupled(k, li, lj) && mi == mj && si == sj)
        return 1;
    return coupled(k, li, k - lj) && mod(mj - mi, 2 * k + 4) == k + 2 && mod(sj - si, 4) == 2 ? 1
                                                                                              : 0;
}

} // namespace

int ExceptionalModularMatrix(int i, int j, int mode) {
    if (mode == 0)
        return i == j ? 1 : 0;
    if (mode < 1 || mode > 6)
        return 0;
    const int k = levelOfMode(mode);
    return mode <= 3 ? a1Entry(k, i, j) : minimalEntry(k, i, j);
}

int getAffineRep(int lbl, int level, int* Q, int* S) {
    *Q = *S = 0;
    SpectrumData* sd = SM_getData(27, 2, level);
    if (!sd || !SM_fieldCheck(sd, lbl))
        return -1;
    const int* t = SM_getRep(sd, lbl);
    *Q = t[1];
    *S = t[2];
    return t[0];
}
