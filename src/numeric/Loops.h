// Nested loops over a loop vector held by the caller; level 0 is the outermost, the last level
// changes fastest. Step functions return 0 for a new point and 1 when the loop is exhausted
// (incrementBinomial the reverse: 1 for a new subset, 0 when done).
#pragma once

// The per-point callback. Its result: >= 0 added to the count, -1 end counting this point,
// -2 end without counting it, below -2 (-3 error, -5 stop all) returned unchanged.
using EVAL = int (*)(int Size, int* Loop, void* Data);
// Writes the inclusive range [lo, hi] of level `level` for the current contents of Loop.
using DOUBLEBOUND = void (*)(int Size, int level, int* Loop, int* Min, int* Max, int* lo, int* hi,
                             void* Data);
// May rewrite Max and Min of the levels inside `level`; its result is not used.
using BOUND = int (*)(int Size, int level, int* Loop, int* Max, int* Min, void* Data);
using ALLOW_SINGLE = int (*)(int);
using ALLOW_COMB = int (*)(int, int);

// Exclusive upper bounds (level i stays below Max[i]).
int incrementInit(int Size, const int* Min, const int* Max, int* Loop);
int increment(int Size, const int* Min, const int* Max, int* Loop);
int incrementCut(int Size, const int* Min, const int* Max, int* Loop, int cut);
int incrementBoundedInit(int Size, const int* Max, int* Loop, const int* Coeff, int Limit,
                         int* LeftOver);
int incrementBounded(int Size, const int* Max, int* Loop, const int* Coeff, int Limit,
                     int* LeftOver);
int incrementSqueezed(int Size, int start, int* Loop, int* Max, int* Min, void* Data,
                      BOUND squeeze);
int incrementBinomial(int Ntot, int Nset, int* set, ALLOW_SINGLE as, ALLOW_COMB ac);

// Inclusive upper bounds (level i goes up to Max[i]).
int incrementBoundedInit_Double(int Size, const int* Max, int* Loop, const double* Coeff,
                                double Limit, double* LeftOver);
int incrementBounded_Double(int Size, const int* Min, const int* Max, int* Loop,
                            const double* Coeff, double Limit, double* LeftOver);
int NestedLoops(int Size, int* Min, int* Max, int* Loop, void* Data, DOUBLEBOUND Squeeze,
                EVAL evaluate);
int RandomizedLoops(int Size, const int* Min, const int* Max, int* Loop, void* Data, int MaxSample,
                    EVAL evaluate);
double getLoopLength(int size, const int* Min, const int* Max);
