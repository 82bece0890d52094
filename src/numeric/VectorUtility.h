// Vectors, integer lists, flat storages and small matrices. Vectors travel with their length;
// a length below 1 does nothing; copies take the destination first.
#pragma once

#include "base/Allocation.h"

#include <cstdio>

// Element-wise helpers.
void copyVec(int Size, int* Vector1, const int* Vector2);
void copyDoubleVec(int Size, double* Vector1, const double* Vector2);
void nullifyVec(int Size, int* Vector);
void nullifyDoubleVec(int Size, double* Vector);
void blankVec(int Size, char* Vector);
void signFlip(int Size, int* Vector);
void addVec(int Size, const int* Vector1, const int* Vector2, int* Vector3);
void swapEntries(int* vector, int i, int j);
void swapRows(int* Matrix, int Ncol, int i, int j);
int vecSum(const int* vector, int size);
int dotProd(const int* vec1, const int* vec2, int size);
double dotProdD(const double* vec1, const double* vec2, int size);
void generateBinaryVector(int i, int N, int* label);

// Comparisons and searches.
int compareVec(int Size, const int* Vector1, const int* Vector2);
int compareCharVec(int Size, const char* Vector1, const char* Vector2);
int InverseCompareVec(int Size, const int* Vector1, const int* Vector2);
int compareDoubleVec(int Size, const double* Vector1, const double* Vector2);
int compareDisorderedVectors(int Size, const int* Vector1, const int* Vector2);
int zeroVectorCheck(int size, const int* vector);
int zeroDoubleVectorCheck(int size, const double* vector);
int getLeadingEntrySign(int size, const int* vector);
int Present(const int* vector, int size, int lbl);
void Intersect(const int* Si, const int* Sj, int* Sc, int leni, int lenj, int* lenc);
int CheckInvolution(int Size, const int* vector);

// Ordering helpers; the sorts return the sign of the permutation they applied.
int orderVectorUp(int size, int* vector);
int orderVector(int size, int* vector);
int reorderVector(int size, const int* preorder, int* vector);
void revertVector(int size, int* vector);
int removeIdentical(int* vector, int size);
void NormalizeIntegerVector(int size, int* vector);

// A growable list of distinct integers in insertion order.
struct IntegerList {
    GuardedArray<int> list{"A->list"};
    int cnt = 0;
};
void initList(IntegerList* A, int size);
void addToList(IntegerList* A, int a);
int findInList(const IntegerList* A, int a);

// Flat storages: fill rows of size ints one after another.
int lookup(const int* rep, const int* storage, int size, int fill);
int Orderedlookup(const int* rep, const int* storage, int size, int fill);
int StoreVector(const int* vector, int* storage, int size, int* fill, int maxsize);
int AddVectorToStorage(const int* rep, int* storage, int* cnt, int size, int mult, int* fill,
                       int maxsize);

// Printing straight to a stream (not through the output routing) and files.
void printVec(int Size, const int* Vector, const char* Text);
void printVecToFile(int Size, const int* Vector, const char* Text, FILE* ofp);
void printCharVec(int Size, const char* Vector, const char* Text);
char* printVecToString(int Size, const int* Vector, const char* Text, char* s);
void writeVec(int Size, FILE* ofp, const int* Vector);
void printSingleDigitVec(int Size, const int* Vector);
void printDoubleVec(int Size, const double* Vector, const char* Text);
void printDoubleVecToFile(int Size, const double* Vector, const char* Text, FILE* ofp);
void printMatrix(const int* matrix, int rank);
void printDoubleMatrix(const double* matrix, int rank);
int readVectorFromFile(FILE* ifp, int* line, int N);
// Appends the vector as a line; a file that cannot be opened ends the process.
void addVectorToFile(const char* fn, int Nblock, const int* vector);

// Through the output routing: "Text (Real)" and one row when every imaginary part vanishes
// (1), else rows "Re: " and "Im: " (0).
int PrintComplexVec(int Size, const double* Real, const double* Im, const char* Text);

// Double and complex vectors.
void ComplexInnerProduct(int Size, const double* RV1, const double* IV1, const double* RV2,
                         const double* IV2, double* f1, double* f2);
int ComplexOrthogonalityCheck(int Size, const double* RV1, const double* IV1, const double* RV2,
                              const double* IV2);
double ComplexNorm(int Size, const double* RV1, const double* IV1);
void NormalizeComplexVec(int Size, double* RV1, double* IV1);
void DoubleSweep(double* NewVector, double* Vectors, int Size, int* Count,
                 int* ColumnTaggedByVector, int NoTag, const int* max);

// Matrices (row-major) and integer linear systems.
double Determinant(double* matrix, int rank);
void ComplexDeterminant(double* Rmat, double* Imat, int rank, double* DetR, double* DetI);
int NormalizeRow(int* Matrix, int Ncol, int row);
int SimplifyRow(int* Matrix, int Ncol, int row, int tagrow, int tagcol);
int LinearSweep(int* Coeff, int Neq, int Nvar);
int MatInv(const int* Coeff, int* Inverse, int Neq);
int CollectEquations(int* Eqns, int* tagcols, int* Neq, int Nvar);
int LinearSolve(int* Coeff, int* Vector, int* Solution, int Neq);

// A random permutation of 0 .. N-1 followed by its inverse; valid until the next call.
int* ranVec(int N);
