// State shared by the source files of the module Tarvik; not for other modules.
#pragma once

#include <array>
#include <vector>

namespace tarvik_internal {

// Level and rank of the last spectrum computation, quoted by the reports of invalid types.
extern int InLevel;
extern int InRank;

// The type whose inverse Cartan data give the inner products of the horizontal algebra.
int metricType(int type, int rank);

// The constants of an exceptional algebra, one record per rank.
struct Exceptional {
    int rank;
    int center, multiplicity, complexity, coxeter, dimension, rootRatio, latticeOrder;
    long long weylOrder;
    std::array<int, 8> degrees; // the first `rank` entries
};

// G2, F4, E6, E7 or E8 by its rank; null for another rank.
const Exceptional* exceptional(int rank);

// The comarks of the type's nodes, the affine node last, as Cartan sets them; computed without
// touching the Cartan data.
std::vector<int> comarkList(int type, int rank);

// Live value of the parameter "Maxrank".
int maxRankValue();
void raiseMaxRank(int value);
void bindMaxRank();

} // namespace tarvik_internal
