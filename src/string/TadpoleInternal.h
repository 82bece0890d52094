// What the tadpole sources share among themselves.
#pragma once

#include <array>

namespace tadpole {

// Looked up at each use: start-up registers the parameters after the modules start.
int parameter(const char* name);
// A "##init: " trace line while "Init_debug" is on.
void debugLine(const char* text);

} // namespace tadpole

namespace tadpole {

// Every change of the boundary selection moves the counter the equations are keyed by.
void selectionChanged();
// Back to every boundary active, once a selection was ever made.
void resetSelection();
// Switches off a boundary and its conjugate for the present equations only (identical columns,
// group-type criteria); the user's selection keeps it.
void switchOffDerived(int a);
// What the equations and all derived from them hold for: bulk invariant, orientifold and the
// reading ("Super", "Dimension"), which decides the space-time dimension and the massless labels.
std::array<int, 4> readingKey();

} // namespace tadpole

namespace tadpole {

// Bounds and kernel of the cached system are computed again at their next use.
void advanceEquationCounter();

} // namespace tadpole
