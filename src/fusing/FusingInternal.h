// What the files of the fusing module share: the field data of the current orbifold block.
#pragma once

struct SpectrumData;

namespace fusing {

// +1 for even s, -1 for odd s.
inline int e(int s) {
    return 1 - 2 * (((s % 2) + 2) % 2);
}
inline bool inV(int x) {
    return x == 1 || x == 3;
}

// The current building block, or null in tensor mode or without one.
SpectrumData* currentBlockOrNull();
// Algebra type of the current block; -1 without one.
int blockType();
// The orbifold's rank N.
int orbifoldRank();
// Kind and parameter of a field of the orbifold (its two store entries); -1 and 0 for a label
// outside the block.
int kindOf(int x);
int paramOf(int x);
bool isDoublet(int x);
// The Z_2N charge of a field; 0 for a label outside the block.
int chargeOf(int x);
// r(x): x reduced modulo 2N into 0..N.
int reduced(int x);
// D(x): the doublet field with parameter r(x); -1 when r(x) is 0 or N.
int doubletOf(int x);

} // namespace fusing
