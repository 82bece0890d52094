// What the tadpole sources share among themselves.
#pragma once

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

} // namespace tadpole

namespace tadpole {

// Bounds and kernel of the cached system are computed again at their next use.
void advanceEquationCounter();

} // namespace tadpole
