// The sources the anomaly checks read, replaceable so that small tables can stand in for a
// model; and the cubic anomaly of one probe.
#pragma once

#include "string/Intersections.h"

#include <cstdint>

struct ChanPatonData;

namespace anomalies {

using MOEBIUS = int (*)(int ori, int a);
using BOUNDARY_COUNT = int (*)();

// Null restores the boundary-class lookups, the Moebius sums of the search and the boundary count.
void setSources(INTERSECT intersect, MOEBIUS moebius, BOUNDARY_COUNT boundaries);
// A(b) of the configuration; 2147483647 when a sum it needs was not integral.
std::int64_t localAnomaly(ChanPatonData* CPD, int b);
// Back to the start: conditions not loaded, the standard sources.
void resetAnomalyState();

} // namespace anomalies
