// Permutations of N objects as int arrays (P[i] is the image of i), and collections of them as
// look-up collections of rows. All permutations are generated for at most 9 objects; beyond that
// they come from the manual permutations file ("~/MP" unless set otherwise), closed under
// products.
#pragma once

#include <cstdio>

struct VectorSpace;

void multiplyPermutations(int size, int* A, int* B, int* C);
void multiplyCharPermutations(int size, char* A, char* B, char* C);
void inversePermutation(int size, int* A, int* B);
int InvolutionCheck(int size, int* A);
int countFixedEntries(int size, int* A);
void multiplyIds(int Size, int* id0, int* id1, int* id2);

void setManualPermutations(const char* MPname);

// The returned collections belong to this module and stay valid until the next call of the same
// function.
void ClosePermutations(VectorSpace* Perm);
VectorSpace* generatePermutations(int Size, int fix, int* vector, int* identical, int maxperm);
VectorSpace* generateAllPermutations(int N);
VectorSpace* generateSubPermutations(int N, int* id);
VectorSpace** getSubPermutations(int N, int* id);
void applySubPermutations(VectorSpace* P, VectorSpace* SP, int N, int M);
void applyCyclicPermutations(VectorSpace* Permutations, int N);
void cyclicPermutation(int size, int order, int* A, int* B, int N);
// The text lives in a buffer that the next call overwrites.
char* cyclicDecomposition(int size, int* A);
// Reads the next non-blank line: -1 at the end of the file, 0 when it held exactly N integers
// (stored in v), 1 when it did not.
int readPermutationLine(FILE* ifp, int* v, int N);
