// What the standard-model searches, the tadpole solver and the intersection caches share about
// which branes may be used: the boundary and Ishibashi counts, the orientifolds with non-zero
// tension, and the dense numbering of the usable boundaries. Built once per bulk invariant.
#pragma once

#include "base/Allocation.h"

#include <span>

struct OrientifoldInfo;

struct SearchData {
    int Bnd = 0;                    // boundary labels of the current bulk invariant
    int Ishi = 0;                   // Ishibashi labels
    int Ori = 0;                    // orientifolds of the bulk invariant
    int Ori_eff = 0;                // those of non-zero tension, the first entries of OI
    int bndcnt = 0;                 // usable boundaries
    OrientifoldInfo** OI = nullptr; // the orientifold module's sorted list, not owned
    // The first Bnd entries map a boundary label to its usable index, or -1; the next Bnd
    // entries (InverseBoundaryMap) map a usable index back to its label.
    GuardedArray<int> BoundaryMap;
    int* InverseBoundaryMap = nullptr;

    SearchData();
};

// Labels up to this one (or up to the number of simple currents, if larger) are usable under
// their own label; beyond it only orientifold images of usable boundaries are.
inline constexpr int UsableBoundaryLimit = 200000;

// The context of the current bulk invariant, built when the invariant changed; null without
// boundaries or without field contents.
SearchData* initStandardModelSearch();
// The context with its counts refreshed, nothing rebuilt.
SearchData* getSearchData();
// Numbers the usable boundaries of the context; returns their count.
int getUsableBoundaries();
// The numbering itself: labels 0 .. Bnd-1 into map, usable indices into inverse (each with room
// for Bnd entries). Labels up to max(limit, currents) keep their own label; when labels remain
// beyond, one pass in increasing label order gives each image (under the listed conjugations) of
// a usable boundary the next index. Returns the count.
int numberUsableBoundaries(int Bnd, int limit, int currents, std::span<const int* const> conjugates,
                           int* map, int* inverse);
// Every boundary usable under its own label (the tadpole loops number all of them).
void resetBoundaryMapToIdentity();

// The boundary classes rebuilt for the tadpole loops.
void rebuildBoundaryClasses();
