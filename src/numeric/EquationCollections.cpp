#include "numeric/EquationCollections.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr long long OverflowDanger = 1000000;
constexpr int BinaryStartSize = 2000;

AllocCount BinaryEquationCount = ALLOC_COUNTER("Binary equations");

// Inverses modulo the last N used: entry r is the inverse of r, or 0 when there is none.
int inverseModulus = 0;
std::vector<int> inverseTable;

int pivotOf(VectorSpace* s, int r) {
    return rowOf(s, r)[s->rowsize - 1];
}

// The value of a wide product stored back into an int: wraps as the callers' ints would.
int narrow(long long v) {
    return static_cast<int>(static_cast<unsigned long long>(v));
}

int residue(long long v, int N) {
    long long r = v % N;
    return static_cast<int>(r < 0 ? r + N : r);
}

// Divides the first n entries by the greatest common divisor of the coefficients and the
// constant; 1 done, 0 for the zero row, -1 for a row 0 = c (its constant then set to 1).
int divideOutCommonFactor(int n, int* row) {
    int g = 0;
    for (int i = 0; i < n; i++) {
        if (i == n - 1 && g == 0 && row[i] != 0) {
            row[i] = 1;
            return -1;
        }
        g = GCD(g, row[i]);
    }
    if (g == 0)
        return 0;
    if (g != 1)
        for (int i = 0; i < n; i++)
            row[i] /= g;
    return 1;
}

// The shared insertion of the two integer collections: `size` entries are eliminated, the pivot
// is taken among the first `pivotable` of them.
int collectIntegerRow(VectorSpace* storage, int* vector, int size, int pivotable) {
    if (storage->id_size < 1)
        return 0;
    int* row = rowOf(storage, storage->Nfill);
    copyVec(size, row, vector);
    int r = divideOutCommonFactor(size, row);
    if (r < 1)
        return r;
    int status = 1;
    for (int k = 0; k < storage->Nfill; k++) {
        status = subtractVectorsToNullify(size, row, rowOf(storage, k), pivotOf(storage, k));
        if (status < 1)
            return status;
    }
    int pivot = -1;
    for (int i = 0; i < pivotable; i++)
        if (row[i] != 0 && (pivot < 0 || row[i] < row[pivot]))
            pivot = i;
    if (pivot < 0)
        return 0;
    for (int k = 0; k < storage->Nfill; k++)
        subtractVectorsToNullify(size, rowOf(storage, k), row, pivot);
    row[storage->rowsize - 1] = pivot;
    addVectorToSpace(storage);
    return status;
}

void rebuildInverseTable(int N) {
    inverseModulus = N;
    inverseTable.assign(static_cast<std::size_t>(N > 0 ? N : 1), 0);
    for (int r = 1; r < N; r++) {
        for (int k = 1; k < N; k++)
            if (residue(static_cast<long long>(r) * k, N) == 1) {
                inverseTable[r] = k;
                break;
            }
        if (inverseTable[r] == 0)
            Alert("cyclicInverse", 0, 212404, "No inverse of %d modulo %d\n", r, N);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Integer equations

int subtractVectorsToNullify(int size, int* vec1, int* vec2, int pos) {
    const int a = vec1[pos];
    if (a == 0)
        return 1;
    const int b = vec2[pos];
    const int g = GCD(a, b);
    int status = 1;
    bool allZero = true;
    for (int i = 0; i < size; i++) {
        long long v =
            static_cast<long long>(b / g) * vec1[i] - static_cast<long long>(a / g) * vec2[i];
        if (status == 1 && (v > OverflowDanger || v < -OverflowDanger)) {
            Alert("subtractVectorsToNullify", 0, 100218, "Integer overflow danger");
            status = 2;
        }
        vec1[i] = narrow(v);
        if (i == size - 1 && allZero && vec1[i] != 0)
            return -status;
        allZero = allZero && vec1[i] == 0;
    }
    int h = 0;
    for (int i = 0; i < size; i++)
        h = GCD(h, vec1[i]);
    if (h == 0)
        return 0;
    if (h == 1)
        return 1;
    for (int i = 0; i < size; i++)
        if (vec1[i] != 0)
            vec1[i] /= h;
    return status;
}

int NormalizeVector(int size, int* vector) {
    return divideOutCommonFactor(size, vector);
}

int CollectIntegerEquations(VectorSpace* storage, int* vector) {
    const int size = storage->id_size;
    return collectIntegerRow(storage, vector, size, size - 1);
}

int CollectInversionEquations(VectorSpace* storage, int* vector) {
    return collectIntegerRow(storage, vector, storage->rowsize - 1, storage->id_size);
}

int SolveIntegerEquations(VectorSpace* storage, int* solution) {
    const int Nvar = storage->id_size - 1;
    if (storage->Nfill != Nvar) {
        Alert("SolveIntegerEquations", 0, 212404,
              "Number of equations %d does not match number of variables %d", storage->Nfill, Nvar);
        return -1;
    }
    int D = 1;
    for (int k = 0; k < storage->Nfill; k++)
        D = SCM(D, rowOf(storage, k)[pivotOf(storage, k)]);
    for (int k = 0; k < storage->Nfill; k++) {
        const int* row = rowOf(storage, k);
        const int p = pivotOf(storage, k);
        solution[p] = narrow(-(static_cast<long long>(row[Nvar]) * D) / row[p]);
    }
    return D;
}

// ---------------------------------------------------------------------------------------------
// Equations modulo N

int subtractVectorsToNullifyCyclically(int size, int* vec1, int* vec2, int pos, int N) {
    const int a = residue(vec1[pos], N);
    int nonZero = 0;
    for (int i = 0; i < size; i++) {
        long long v = vec1[i];
        if (a != 0)
            v -= static_cast<long long>(a) * vec2[i];
        vec1[i] = residue(v, N);
        nonZero |= vec1[i] != 0;
    }
    return nonZero;
}

int NormalizeOnPosition(int size, int* vector, int pos, int N) {
    if (N != inverseModulus)
        rebuildInverseTable(N);
    const int value = residue(vector[pos], N);
    const int inverse = value > 0 && value < N ? inverseTable[value] : 0;
    if (inverse == 0)
        return 0;
    if (inverse != 1)
        for (int i = 0; i < size; i++)
            vector[i] = residue(static_cast<long long>(vector[i]) * inverse, N);
    return 1;
}

int cyclicInverse(int a, int modulus) {
    if (modulus == 1 && a != 0)
        return 1;
    for (int k = 0; k < modulus; k++)
        if (residue(static_cast<long long>(a) * k, modulus) == 1)
            return k;
    Alert("cyclicInverse", 0, 212404, "No inverse of %d modulo %d\n", a, modulus);
    return 0;
}

int CollectCyclicEquations(VectorSpace* storage, int* vector, int N) {
    const int size = storage->id_size;
    if (size < 1)
        return 0;
    bool allZero = true;
    for (int i = 0; i < size; i++) {
        vector[i] = mod(vector[i], N);
        allZero = allZero && vector[i] == 0;
    }
    if (allZero)
        return 0;
    int* row = rowOf(storage, storage->Nfill);
    copyVec(size, row, vector);
    for (int k = 0; k < storage->Nfill; k++)
        if (!subtractVectorsToNullifyCyclically(size, row, rowOf(storage, k), pivotOf(storage, k),
                                                N))
            return 0;
    int p = 0;
    while (p < size && row[p] == 0)
        p++;
    if (p >= size - 1)
        return -1;
    if (NormalizeOnPosition(size, row, p, N)) {
        for (int k = 0; k < storage->Nfill; k++)
            subtractVectorsToNullifyCyclically(size, rowOf(storage, k), row, p, N);
    } else {
        printVec(size, row, "!!!");
        Alert("CollectCyclicEquations", 1, 212404,
              "Cannot normalize equation (i=%d,value %d, mod %d)", p, row[p], N);
    }
    row[storage->rowsize - 1] = p;
    addVectorToSpace(storage);
    return 1;
}

int testSolutionToCyclicEquations(VectorSpace* storage, int* vector, int N) {
    const int Nvar = storage->id_size - 1;
    for (int k = 0; k < storage->Nfill; k++) {
        const int* row = rowOf(storage, k);
        long long sum = row[Nvar];
        for (int v = 0; v < Nvar; v++)
            sum = residue(sum + static_cast<long long>(row[v]) * vector[v], N);
        if (residue(sum, N) != 0)
            return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Equations modulo 2

namespace {

int listLength(const int* list) {
    int n = 0;
    while (list[n] >= 0)
        n++;
    return n;
}

bool inDataBlock(const BinaryEquations* BE, const int* list) {
    return list >= BE->data &&
           list < BE->data + static_cast<long long>(BE->nvar + 1) * BE->start_size;
}

} // namespace

BinaryEquations* initBinaryEquationCollection_OLD(int nvar) {
    auto* BE = static_cast<BinaryEquations*>(
        allocate(sizeof(BinaryEquations), &BinaryEquationCount, "Equation pointer"));
    const int slots = nvar + 1;
    const long long lists = static_cast<long long>(slots) * BinaryStartSize;
    BE->nvar = nvar;
    BE->start_size = BinaryStartSize;
    BE->neq = 0;
    BE->data =
        static_cast<int*>(allocate(static_cast<std::size_t>(lists + 3LL * slots) * sizeof(int),
                                   &BinaryEquationCount, "Equation data"));
    BE->eqns = static_cast<int**>(allocate(static_cast<std::size_t>(slots) * sizeof(int*),
                                           &BinaryEquationCount, "Equation pointers"));
    BE->sizes = BE->data + lists;
    BE->rhs = BE->sizes + slots;
    BE->sweepcol = BE->rhs + slots;
    for (int k = 0; k < slots; k++) {
        BE->eqns[k] = BE->data + static_cast<long long>(k) * BinaryStartSize;
        BE->eqns[k][0] = -1;
        BE->sizes[k] = BinaryStartSize;
        BE->rhs[k] = 0;
        BE->sweepcol[k] = -1;
    }
    return BE;
}

int addEntryToBinaryVector_OLD(int* vector, int maxsize, int entry, int action) {
    const int length = listLength(vector);
    const int at = Present(vector, length, entry);
    if (at < 0 && length >= maxsize - 1) {
        // No room for another entry and its terminator: refuse rather than write past the end.
        if (!action)
            Alert("addEntryToBinaryVector_OLD", 0, 112210, "Size overflow in binary vector");
        return 1;
    }
    if (at >= 0) {
        std::memmove(vector + at, vector + at + 1,
                     static_cast<std::size_t>(length - at) * sizeof(int));
    } else {
        vector[length] = entry;
        vector[length + 1] = -1;
    }
    if (maxsize <= length + 2) {
        if (!action)
            Alert("addEntryToBinaryVector_OLD", 0, 112210, "Size overflow in binary vector");
        return 1;
    }
    return 0;
}

void reallocateBinaryEquation_OLD(BinaryEquations* BE, int lbl) {
    const int old = BE->sizes[lbl];
    const int grown = 2 * old;
    int* list = BE->eqns[lbl];
    if (inDataBlock(BE, list)) {
        int* own = static_cast<int*>(allocate(static_cast<std::size_t>(grown) * sizeof(int),
                                              &BinaryEquationCount, "Equation reallocation"));
        std::memcpy(own, list, static_cast<std::size_t>(old) * sizeof(int));
        BE->eqns[lbl] = own;
    } else {
        BE->eqns[lbl] =
            static_cast<int*>(reallocate(list, static_cast<std::size_t>(grown) * sizeof(int),
                                         static_cast<std::size_t>(old) * sizeof(int),
                                         &BinaryEquationCount, "Equation reallocation"));
    }
    BE->sizes[lbl] = grown;
    std::printf("Reallocating lbl %d; new size %d\n", lbl, grown);
}

int subtractBinaryEquationsToNullify_OLD(int A, int B, int i, BinaryEquations* BE) {
    if (BE->eqns[A][0] < 0)
        return -(BE->rhs[A] % 2);
    if (Present(BE->eqns[A], listLength(BE->eqns[A]), i) < 0)
        return 1;
    BE->rhs[A] = (BE->rhs[A] + BE->rhs[B]) % 2;
    for (int j = 0; BE->eqns[B][j] >= 0; j++) {
        const int former = listLength(BE->eqns[A]);
        addEntryToBinaryVector_OLD(BE->eqns[A], BE->sizes[A], BE->eqns[B][j], 1);
        if (BE->sizes[A] <= former + 2)
            reallocateBinaryEquation_OLD(BE, A);
    }
    return BE->eqns[A][0] >= 0 ? 1 : -(BE->rhs[A] % 2);
}

int addBinaryEquationToCollection_OLD(int* eqn, int rhs, BinaryEquations* BE) {
    const int slot = BE->neq;
    int* list = BE->eqns[slot];
    int n = 0;
    for (; eqn[n] >= 0; n++) {
        if (n >= BE->sizes[slot] - 1) {
            std::printf("OVERFLOW (reallocation routine to be added!");
            std::fflush(stdout);
            std::exit(0);
        }
        list[n] = eqn[n];
    }
    list[n] = -1;
    if (n == 0)
        return rhs % 2 == 0 ? 0 : -1;
    BE->rhs[slot] = ((rhs % 2) + 2) % 2;
    for (int k = 0; k < slot; k++) {
        int r = subtractBinaryEquationsToNullify_OLD(slot, k, BE->sweepcol[k], BE);
        if (r < 1)
            return r;
    }
    list = BE->eqns[slot];
    int pivot = list[0];
    for (int j = 1; list[j] >= 0; j++)
        if (list[j] < pivot)
            pivot = list[j];
    for (int k = 0; k < slot; k++)
        subtractBinaryEquationsToNullify_OLD(k, slot, pivot, BE);
    BE->sweepcol[slot] = pivot;
    BE->neq += 1;
    return 1;
}

void printBinaryEquation_OLD(int* eqn, int rhs, const char* s) {
    if (eqn[0] < 0) {
        std::printf(rhs != 0 ? "%s: false eqn\n" : "%s: zero eqn\n", s);
        return;
    }
    std::printf("%s (", s);
    for (int j = 0; eqn[j] >= 0; j++)
        std::printf(j == 0 ? "%d" : ",%d", eqn[j]);
    std::printf(")=%d\n", rhs);
}

void compareBinaryEquation_OLD(int* eqn1, int rhs1, int* eqn2, int rhs2) {
    const int n1 = listLength(eqn1);
    const int n2 = listLength(eqn2);
    if (n1 == n2 && compareDisorderedVectors(n1, eqn1, eqn2) && rhs1 == rhs2)
        return;
    Alert("compareBinaryEquation", 2, 212404, "Internal inconsistency in binary equations");
    printBinaryEquation_OLD(eqn1, rhs1, "1");
    printBinaryEquation_OLD(eqn2, rhs2, "2");
    std::fflush(stdout);
    std::exit(0);
}
