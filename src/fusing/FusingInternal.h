// What the files of the fusing module share: the field data of the current orbifold block.
#pragma once

#include <vector>

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

// The two digits of a sign code; a digit other than 1 (kept) or 2 (flipped) reads as 0.
struct SignDigits {
    int h = 0, l = 0;
};
SignDigits signDigits(int code);
// The digit of the current block's rank class: h for ranks 0, 1 mod 4, else l.
int currentClassDigit(SignDigits digits);
// The code the input file stores for a signature, 0 without record; reads the file when needed.
int storedSignCode(const int* signature);
// Whether a signature has a wrapped channel: its four channel entries are not all 1.
bool hasWrappedChannel(const int* signature);

// A fusing matrix copied out of the shared buffers, which the next call overwrites; the vectors
// keep their capacity between takes.
struct CopiedMatrix {
    int n = 0;
    std::vector<int> basis;
    std::vector<double> matrix;

    bool take(int a, int b, int c, int d);
    // Positions in the q and the p half of the basis; -1 when absent.
    int q(int x) const;
    int p(int x) const;
    int qLabel(int k) const { return basis[k]; }
    int pLabel(int k) const { return basis[n + k]; }
    double at(int row, int column) const { return matrix[row * n + column]; }
};

} // namespace fusing
