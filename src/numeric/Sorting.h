// Ordered vector collections: growable tables of int rows that never move once stored, with a
// binary search tree threaded through the rows, plus the traversals, printers and the small
// companions that live with them (named-area storage, byte rows, named vector arrays).
#pragma once

#include "base/Allocation.h"

struct MemoryType;

// Comparison (negative when a comes first), comparison with caller data, and row action.
using VECCOMP = int (*)(int size, int* a, int* b);
using VECCOMPAR = int (*)(int size, int* a, int* b, void* data);
using VECACTION = int (*)(int size, int* row, void* data);

struct VectorSpace {
    int rowsize;        // ints per row, links and counts included
    int Nrow;           // rows the block holds
    int Nfill;          // rows in use; row Nfill is the scratch row
    int orig_increment; // growth step the collection was declared with
    int increment;      // current growth step in rows
    int id_size;        // leading ints that identify a row
    int* Space;         // Nrow rows, then the guard word
    const char* name;
};

// A collection as it is declared at module level: named, with its growth step, no block yet.
constexpr VectorSpace declareVectorSpace(const char* name, int increment) {
    return VectorSpace{0, 0, 0, increment, increment, 0, nullptr, name};
}

inline constexpr int VectorSpaceGuard = 888888888;

// Gives the block back; the collection keeps its name and growth step and holds no rows.
void freeVectorCollection(VectorSpace* storage);

// A collection that gives its block back when it goes, for collections owned by an object or
// a module rather than held for the whole run.
struct OwnedVectorSpace {
    VectorSpace space;
    OwnedVectorSpace(const char* name, int increment)
        : space(declareVectorSpace(name, increment)) {}
    ~OwnedVectorSpace() { freeVectorCollection(&space); }
    OwnedVectorSpace(const OwnedVectorSpace&) = delete;
    OwnedVectorSpace& operator=(const OwnedVectorSpace&) = delete;
};

// Row r of a collection; row Nfill is the scratch row.
inline int* rowOf(VectorSpace* s, int r) {
    return s->Space + static_cast<long long>(s->rowsize) * r;
}
inline const int* rowOf(const VectorSpace* s, int r) {
    return s->Space + static_cast<long long>(s->rowsize) * r;
}
// Rows in use; none for a missing collection or one that never had a block.
inline int rowCount(const VectorSpace* s) {
    return s && s->Space ? s->Nfill : 0;
}
// The multiplicity of row r of a counted collection.
inline int& countOf(VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 3];
}
inline int countOf(const VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 3];
}

int* initVectorCollection(VectorSpace* storage, int rowlen, int Nrow);
int* initCountedVectorCollection(VectorSpace* storage, int rowlen, int Nrow);
int* initEquationCollection(VectorSpace* storage, int Nvar, int Nrow);
int* initInversionCollection(VectorSpace* storage, int Nvar, int N_LHS, int Nrow);
VectorSpace* NewVectorSpace(int rowlen, int Nrow, int increment, AllocCount* stat,
                            const char* name);
int* resetVectorCollection(VectorSpace* storage);
void copyVectorCollection(VectorSpace* storage1, VectorSpace* storage2);
void setIdentificationSize(VectorSpace* storage, int id_size);

int* addToCollection(VectorSpace* storage);
int* addVectorToCollection(VectorSpace* storage, int* vector);
int addToCountedCollection(VectorSpace* storage, int multiplicity);
int findVectorInCollection(VectorSpace* storage, int* vector);
int* addNewVectorToSpace(VectorSpace* storage, int* vector);
int* addVectorToSpace(VectorSpace* storage);
int* removeVectorFromCollection(VectorSpace* storage, int lbl);
int* reindexVectorCollection(VectorSpace* storage);
// Links every row anew as a balanced tree below row 0, whatever order the rows were stored in;
// rows appended with addNewVectorToSpace become searchable this way in n log n.
void balanceVectorCollection(VectorSpace* storage);

int* OrderVectorCollection(VectorSpace* storage, VECCOMP cmp);
void OrderedActionOnCollection(VectorSpace* storage, VECACTION fcn, VECCOMPAR cmp);
void actOnDistinct(VectorSpace* storage, VECACTION fcn, void* data);
int AddToIndex(VectorSpace* storage, int entry, int* Gt, int* Lt);
void printVectorSpace(VectorSpace* space);
void printCountedVectorCollection(VectorSpace* space);
int checkVectorOrdering(VectorSpace* storage, int* vector);

int Collect(int** storage, const char* StorageName, int RowLen, int* NewVector, int* fill);

// Byte rows; links are signed bytes, so at most 127 rows can be linked.
struct CharVectorSpace {
    int rowsize;
    int Nrow;
    int Nfill;
    int orig_increment;
    int increment;
    int id_size;
    char* Space;
    const char* name;
};

constexpr CharVectorSpace declareCharVectorSpace(const char* name, int increment) {
    return CharVectorSpace{0, 0, 0, increment, increment, 0, nullptr, name};
}

CharVectorSpace* NewCharVectorSpace(int rowlen, int Nrow, int increment, AllocCount* stat,
                                    const char* name);
char* initCharVectorCollection(CharVectorSpace* storage, int rowlen, int Nrow);
char* addToCharCollection(CharVectorSpace* storage);

// Named vector arrays: vectors in a named work area, ordered by a tree of offsets.
struct VectorNode {
    int offset;
    VectorNode* left;
    VectorNode* right;
};

struct VectorArray {
    int fill;
    int vectorsize;
    int rowsize;
    int increment;
    int prealloc_size;
    char* name;
    VectorNode* root;
    MemoryType* mt;
    VECCOMPAR function;
    void* control;
    VectorArray* left;
    VectorArray* right;
};

VectorArray* initVectorArray(const char* name, int increment, VECCOMPAR fnc, void* control);
VectorArray* getVectorArray(VectorArray** p, const char* name);
VectorArray* findVectorArray(VectorArray* p, const char* name);
VectorArray* findNamedVectorArray(const char* name);
VectorArray* resetVectorArray(const char* name, int vectorsize, int rowsize, int colsize);
int addVectorToStorage(VectorArray* v, int* vector);
VectorNode* addVectorToArray(VectorArray* v, int* vector);
VectorNode* addVectorPlusNode(VectorNode** p, int* vector, VectorArray* v);
VectorNode* addVectorNode(VectorNode** p, int* vector, VectorArray* v);
int* findVectorInArray(VectorArray* v, int* vector);
int* findVector(VectorNode* p, VectorArray* v, int* vector);
void printVectorArray(VectorArray* v);
void printVectorNode(int size, VectorArray* v, VectorNode* p);
void freeVectorNode(VectorNode* p);
VectorArray* readVectorArrayFromFile(const char* fn, const char* name, int size);
int pcwComp(int size, int* v1, int* v2, void* data);
int defaultComparison(int size, int* v1, int* v2, void* dummy);
