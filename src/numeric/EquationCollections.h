// Equation collections: linear equations collected one at a time in reduced row echelon form,
// over the integers, modulo N, and modulo 2 as sparse lists of variables. Each insertion
// answers 1 (stored, independent), 0 (dependent) or -1 (inconsistent).
#pragma once

#include "numeric/Sorting.h"

// Integer equations: rows of an equation or inversion collection (see the initialisers in
// Sorting.h); the caller hands in the coefficients followed by the constant.
int CollectIntegerEquations(VectorSpace* storage, int* vector);
int CollectInversionEquations(VectorSpace* storage, int* vector);
int SolveIntegerEquations(VectorSpace* storage, int* solution);
int subtractVectorsToNullify(int size, int* vec1, int* vec2, int pos);
int NormalizeVector(int size, int* vector);

// Equations modulo N.
int CollectCyclicEquations(VectorSpace* storage, int* vector, int N);
int subtractVectorsToNullifyCyclically(int size, int* vec1, int* vec2, int pos, int N);
int NormalizeOnPosition(int size, int* vector, int pos, int N);
int cyclicInverse(int a, int modulus);
int testSolutionToCyclicEquations(VectorSpace* storage, int* vector, int N);

// Equations modulo 2: equation k says that the variables of eqns[k] add up to rhs[k].
struct BinaryEquations {
    int nvar;
    int start_size;
    int neq;
    int* data;
    int** eqns;
    int* sizes;
    int* rhs;
    int* sweepcol;
};

BinaryEquations* initBinaryEquationCollection_OLD(int nvar);
int addBinaryEquationToCollection_OLD(int* eqn, int rhs, BinaryEquations* BE);
int subtractBinaryEquationsToNullify_OLD(int A, int B, int i, BinaryEquations* BE);
int addEntryToBinaryVector_OLD(int* vector, int maxsize, int entry, int action);
void reallocateBinaryEquation_OLD(BinaryEquations* BE, int lbl);
void printBinaryEquation_OLD(int* eqn, int rhs, const char* s);
void compareBinaryEquation_OLD(int* eqn1, int rhs1, int* eqn2, int rhs2);
