// State and helpers shared by the source files of the module Discrete; not for other modules.
#pragma once

#include "base/Allocation.h"
#include "numeric/Discrete.h"

namespace discrete_internal {

// Every allocation of the module is counted here.
extern AllocCount DG_space;

// The order of element e, computed from its components.
int elementOrder(const Discrete_Group* dg, int e);

} // namespace discrete_internal
