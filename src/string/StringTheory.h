// The string reading of the current theory: the space-time dimension that the covariant lattice
// and the central charge allow.
#pragma once

struct Heterotic;

// Installs the dimension rule with the tensor products, which judge their string data by it.
void initializeStringTheory();
// 0 when the central charge fits the covariant lattice of H, with or without an implicit E8 at
// level 1 (SpaceTimeDim and ImplicitE8 set); 1 when not. silent suppresses the messages.
int getSuperstringSpaceTimeDimension(Heterotic* H, int silent);
