// Integer bounds for the Galois-invariant search: the coefficients of a combination of Galois
// matrices are confined to a box that stored linear inequalities shrink before any point of it
// is visited. One search at a time: the state lives in the module and is reset by initBound.
//
// A form over n coefficients has Ntot = n + 1 ints, the constant term last; an inequality
// means form(x) >= 0. An echelon store is a named int area holding a header of N pivot columns
// (-1 for rows not yet stored) followed by the rows; each stored row is zero in the pivot
// columns of the other rows.
#pragma once

// Empties the inequality table and opens every bound to [-10000, 10000].
void initBound(int Nvar);
// Stores Eqn >= 0 (divided in place by the gcd of its entries) and, when it was new, tightens
// the bounds with it. 1 when it was new, 0 for a known or zero form.
int Bound(int Ntot, int* Eqn);
void BoundAnalysis(int Ntot, const int* Eqn);
// 1 when Eqn was independent of the stored rows and was added (*fill grows), 0 otherwise.
int CollectEqn(const char* StorageName, int N, const int* Eqn, int* fill);
// Stores both row >= 0 and -row >= 0 for every stored equation; the rows are left negated.
void AddBounds(const char* StorageName, int Ntot, int fill);
// Fixes the range of every coefficient that is no pivot of the echelon store.
void RemoveDependences(const char* storage, int Ntot, int dfill);
void ReBound(int Ntot);
// Combines pairs of inequalities until the box holds at most 999,999 points.
void generateNewBounds(int Ntot);
// Shrinks the box by force towards [-1, 1]; reports when that cut bounds.
void reduceLoopLen(int Ntot);
// Points of the box: 0 for an empty range, 2147483647 when the count would overflow.
int LoopLen(int Ntot);
// 0 when loop satisfies the first maxChk stored inequalities, 1 when one is violated.
int checkBounds(int Nvar, const int* loop, int maxChk);
// The live bound arrays (inclusive).
void getBounds(int** min, int** max);
int getBFILL();
// 1 when reduceLoopLen cut bounds by force since the last initBound: solutions may be missed.
int getBoundsCut();
// Divides vec by the gcd of its entries; the gcd, 0 for a zero vector.
int Normalize(int N, int* vec);
void checkSolution();
