#include "numeric/VectorUtility.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "numeric/MathUtility.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

GuardedArray<double> ran("ran");
GuardedArray<int> ranPerm("ranPerm");
GuardedArray<int> Dummy("Dummy");

// Row combinations may leave the int range; they wrap instead of being undefined.
int combine(int p, int a, int q, int b) {
    std::int64_t v = std::int64_t{p} * a - std::int64_t{q} * b;
    return static_cast<int>(static_cast<std::uint32_t>(v));
}

} // namespace

// ---------------------------------------------------------------- element-wise helpers

void copyVec(int Size, int* Vector1, const int* Vector2) {
    for (int i = 0; i < Size; ++i)
        Vector1[i] = Vector2[i];
}

void copyDoubleVec(int Size, double* Vector1, const double* Vector2) {
    for (int i = 0; i < Size; ++i)
        Vector1[i] = Vector2[i];
}

void nullifyVec(int Size, int* Vector) {
    for (int i = 0; i < Size; ++i)
        Vector[i] = 0;
}

void nullifyDoubleVec(int Size, double* Vector) {
    for (int i = 0; i < Size; ++i)
        Vector[i] = 0.0;
}

void blankVec(int Size, char* Vector) {
    for (int i = 0; i < Size; ++i)
        Vector[i] = ' ';
}

void signFlip(int Size, int* Vector) {
    for (int i = 0; i < Size; ++i)
        Vector[i] = -Vector[i];
}

void addVec(int Size, const int* Vector1, const int* Vector2, int* Vector3) {
    for (int i = 0; i < Size; ++i)
        Vector3[i] = Vector1[i] + Vector2[i];
}

void swapEntries(int* vector, int i, int j) {
    int t = vector[i];
    vector[i] = vector[j];
    vector[j] = t;
}

void swapRows(int* Matrix, int Ncol, int i, int j) {
    for (int c = 0; c < Ncol; ++c)
        swapEntries(Matrix, i * Ncol + c, j * Ncol + c);
}

int vecSum(const int* vector, int size) {
    std::uint32_t sum = 0;
    for (int i = 0; i < size; ++i)
        sum += static_cast<std::uint32_t>(vector[i]);
    return static_cast<int>(sum);
}

int dotProd(const int* vec1, const int* vec2, int size) {
    std::uint32_t sum = 0;
    for (int i = 0; i < size; ++i)
        sum += static_cast<std::uint32_t>(vec1[i]) * static_cast<std::uint32_t>(vec2[i]);
    return static_cast<int>(sum);
}

double dotProdD(const double* vec1, const double* vec2, int size) {
    double sum = 0.0;
    for (int i = 0; i < size; ++i)
        sum += vec1[i] * vec2[i];
    return sum;
}

void generateBinaryVector(int i, int N, int* label) {
    for (int k = 0; k < N; ++k)
        label[k] = k < 31 ? (i >> k) & 1 : 0;
}

// ---------------------------------------------------------------- comparisons and searches

int compareVec(int Size, const int* Vector1, const int* Vector2) {
    for (int i = 0; i < Size; ++i) {
        if (Vector1[i] < Vector2[i])
            return -1;
        if (Vector1[i] > Vector2[i])
            return 1;
    }
    return 0;
}

int compareCharVec(int Size, const char* Vector1, const char* Vector2) {
    for (int i = 0; i < Size; ++i) {
        auto a = static_cast<signed char>(Vector1[i]);
        auto b = static_cast<signed char>(Vector2[i]);
        if (a < b)
            return -1;
        if (a > b)
            return 1;
    }
    return 0;
}

int InverseCompareVec(int Size, const int* Vector1, const int* Vector2) {
    for (int i = Size - 1; i >= 0; --i) {
        if (Vector1[i] < Vector2[i])
            return -1;
        if (Vector1[i] > Vector2[i])
            return 1;
    }
    return 0;
}

int compareDoubleVec(int Size, const double* Vector1, const double* Vector2) {
    for (int i = 0; i < Size; ++i)
        if (!ZeroCheck(Vector1[i] - Vector2[i]))
            return 0;
    return 1;
}

int compareDisorderedVectors(int Size, const int* Vector1, const int* Vector2) {
    if (Size < 1)
        return 1;
    if (!Vector1)
        return 0;
    for (int i = 0; i < Size; ++i)
        if (Present(Vector1, Size, Vector2[i]) < 0 || Present(Vector2, Size, Vector1[i]) < 0)
            return 0;
    return 1;
}

int zeroVectorCheck(int size, const int* vector) {
    for (int i = 0; i < size; ++i)
        if (vector[i] != 0)
            return 0;
    return 1;
}

int zeroDoubleVectorCheck(int size, const double* vector) {
    for (int i = 0; i < size; ++i)
        if (!ZeroCheck(vector[i]))
            return 0;
    return 1;
}

int getLeadingEntrySign(int size, const int* vector) {
    for (int i = 0; i < size; ++i)
        if (vector[i] != 0)
            return vector[i] > 0 ? 1 : -1;
    return 0;
}

int Present(const int* vector, int size, int lbl) {
    if (!vector)
        return -1;
    for (int i = 0; i < size; ++i)
        if (vector[i] == lbl)
            return i;
    return -1;
}

void Intersect(const int* Si, const int* Sj, int* Sc, int leni, int lenj, int* lenc) {
    *lenc = 0;
    for (int a = 0; a < leni; ++a)
        if (Present(Sj, lenj, Si[a]) >= 0)
            Sc[(*lenc)++] = Si[a];
}

// An entry outside 0 .. Size-1 cannot be part of an involution of those indices.
int CheckInvolution(int Size, const int* vector) {
    for (int k = 0; k < Size; ++k) {
        int image = vector[k];
        if (image < 0 || image >= Size || vector[image] != k)
            return 0;
    }
    return 1;
}

// ---------------------------------------------------------------- ordering helpers

namespace {

// Insertion sort by adjacent exchanges; before(a, b) says a must stand left of b. An entry
// moves only inside its block of equal keys (all one block when keys is null).
template <class Before> int insertionSort(int size, int* vector, const int* keys, Before before) {
    int sign = 1;
    for (int i = 1; i < size; ++i) {
        for (int j = i; j > 0 && (!keys || keys[j - 1] == keys[j]); --j) {
            if (!before(vector[j], vector[j - 1]))
                break;
            swapEntries(vector, j, j - 1);
            sign = -sign;
        }
    }
    return sign;
}

} // namespace

int orderVectorUp(int size, int* vector) {
    return insertionSort(size, vector, nullptr, [](int a, int b) { return a < b; });
}

int orderVector(int size, int* vector) {
    return insertionSort(size, vector, nullptr, [](int a, int b) { return a > b; });
}

int reorderVector(int size, const int* preorder, int* vector) {
    return insertionSort(size, vector, preorder, [](int a, int b) { return a > b; });
}

void revertVector(int size, int* vector) {
    for (int i = 0, j = size - 1; i < j; ++i, --j)
        swapEntries(vector, i, j);
}

int removeIdentical(int* vector, int size) {
    int kept = 0;
    for (int i = 0; i < size; ++i)
        if (Present(vector, kept, vector[i]) < 0)
            vector[kept++] = vector[i];
    return kept;
}

void NormalizeIntegerVector(int size, int* vector) {
    int g = 0;
    for (int i = 0; i < size; ++i)
        g = GCD(g, vector[i]);
    if (g == 0)
        return;
    int flip = getLeadingEntrySign(size, vector) < 0 ? -1 : 1;
    for (int i = 0; i < size; ++i)
        vector[i] = flip * (vector[i] / g);
}

// ---------------------------------------------------------------- IntegerList

void initList(IntegerList* A, int size) {
    A->list.reserve(size > 0 ? size : 0);
    A->cnt = 0;
}

void addToList(IntegerList* A, int a) {
    if (findInList(A, a) >= 0)
        return;
    A->list.reserve(A->cnt + 1);
    A->list[A->cnt++] = a;
}

int findInList(const IntegerList* A, int a) {
    if (!A->list.reserved())
        return -1;
    return Present(A->list.X, A->cnt, a);
}

// ---------------------------------------------------------------- flat storages

int lookup(const int* rep, const int* storage, int size, int fill) {
    if (size < 0)
        return 0;
    if (size == 0)
        return fill > 0 ? 0 : -1;
    for (int row = 0; row < fill; ++row)
        if (compareVec(size, storage + row * size, rep) == 0)
            return row;
    return -1;
}

// A bisection ends within log2(fill) + 1 probes, so the probe bound only guards against a
// broken loop; a miss in a storage of one or two rows is an ordinary miss.
int Orderedlookup(const int* rep, const int* storage, int size, int fill) {
    if (fill < 1) {
        Alert("Orderedlookup", 0, 212404, "Suspect ordering error in storage");
        return -1;
    }
    int lo = -1;
    int hi = fill;
    for (int probes = 1;; ++probes) {
        int mid = (lo + hi) / 2;
        if (size < 1)
            return mid;
        int c = compareVec(size, storage + mid * size, rep);
        if (c == 0)
            return mid;
        if (c > 0)
            hi = mid;
        else
            lo = mid;
        if (hi <= lo + 1)
            return -1;
        if (probes >= fill) {
            Alert("Orderedlookup", 0, 212404, "Suspect ordering error in storage");
            return -1;
        }
    }
}

int StoreVector(const int* vector, int* storage, int size, int* fill, int maxsize) {
    if (size < 0)
        return 0;
    int row = lookup(vector, storage, size, *fill);
    if (row >= 0)
        return row;
    row = (*fill)++;
    copyVec(size, storage + row * size, vector);
    if (*fill > maxsize) {
        Alert("StoreVector", 0, 112413, "Internal storage overflow");
        return -1;
    }
    return row;
}

int AddVectorToStorage(const int* rep, int* storage, int* cnt, int size, int mult, int* fill,
                       int maxsize) {
    if (mult == 0 || size < 1 || zeroVectorCheck(size, rep))
        return -1;
    int row = lookup(rep, storage, size, *fill);
    if (row >= 0) {
        cnt[row] += mult;
        return row;
    }
    row = (*fill)++;
    copyVec(size, storage + row * size, rep);
    cnt[row] = mult;
    if (*fill >= maxsize) {
        Alert("AddVectorToStorage", 0, 112413, "Internal storage overflow");
        std::exit(1);
    }
    if (*fill > 15)
        Alert("AddVectorToStorage", 0, 112413, "Internal storage overflow (NOT FATAL)");
    return row;
}

// ---------------------------------------------------------------- printing and files

void printVec(int Size, const int* Vector, const char* Text) {
    printVecToFile(Size, Vector, Text, stdout);
}

void printVecToFile(int Size, const int* Vector, const char* Text, FILE* ofp) {
    if (Size < 1)
        return;
    std::fprintf(ofp, "%s  (", Text);
    for (int i = 0; i < Size - 1; ++i)
        std::fprintf(ofp, "%d,", Vector[i]);
    std::fprintf(ofp, "%d)\n", Vector[Size - 1]);
}

void printCharVec(int Size, const char* Vector, const char* Text) {
    if (Size < 1)
        return;
    std::printf("%s  (", Text);
    for (int i = 0; i < Size - 1; ++i)
        std::printf("%d,", static_cast<signed char>(Vector[i]));
    std::printf("%d)\n", static_cast<signed char>(Vector[Size - 1]));
}

char* printVecToString(int Size, const int* Vector, const char* Text, char* s) {
    if (Size < 1)
        return s;
    s += std::sprintf(s, "%s  (", Text);
    for (int i = 0; i < Size - 1; ++i)
        s += std::sprintf(s, "%d,", Vector[i]);
    s += std::sprintf(s, "%d)\n", Vector[Size - 1]);
    return s;
}

void writeVec(int Size, FILE* ofp, const int* Vector) {
    for (int i = 0; i < Size; ++i)
        std::fprintf(ofp, "%d ", Vector[i]);
    std::fprintf(ofp, "\n");
}

void printSingleDigitVec(int Size, const int* Vector) {
    if (Size < 1)
        return;
    for (int i = 0; i < Size; ++i)
        std::printf("%d", Vector[i]);
    std::printf("\n");
}

void printDoubleVec(int Size, const double* Vector, const char* Text) {
    printDoubleVecToFile(Size, Vector, Text, stdout);
}

void printDoubleVecToFile(int Size, const double* Vector, const char* Text, FILE* ofp) {
    if (Size < 1)
        return;
    std::fprintf(ofp, "%s (", Text);
    for (int i = 0; i < Size - 1; ++i) {
        std::fprintf(ofp, "%7.4f,", Vector[i]);
        if ((i + 1) % 8 == 0 && i + 1 != Size - 1)
            std::fprintf(ofp, "\n%*s", static_cast<int>(std::strlen(Text)) + 2, "");
    }
    std::fprintf(ofp, "%7.4f)\n", Vector[Size - 1]);
}

void printMatrix(const int* matrix, int rank) {
    for (int i = 0; i < rank; ++i) {
        for (int j = 0; j < rank; ++j)
            std::printf("%d ", matrix[i * rank + j]);
        std::printf("\n");
    }
    std::printf("\n");
}

void printDoubleMatrix(const double* matrix, int rank) {
    for (int i = 0; i < rank; ++i) {
        for (int j = 0; j < rank; ++j)
            std::printf("%15.7f ", matrix[i * rank + j]);
        std::printf("\n");
    }
    std::printf("\n");
}

// A token that is not a number ends the reading as the end of the file does.
int readVectorFromFile(FILE* ifp, int* line, int N) {
    for (int i = 0; i < N; ++i) {
        if (std::fscanf(ifp, "%d", &line[i]) != 1) {
            if (i == 0)
                return 1;
            Alert("readVectorFromFile", 0, 112315, "Premature end-of-file");
            return 2;
        }
    }
    return 0;
}

void addVectorToFile(const char* fn, int Nblock, const int* vector) {
    FILE* ofp = Fopen(fn, "a");
    if (!ofp) {
        Alert("addVectorToFile", 0, 120306, "Cannot open file %s", fn);
        std::exit(1);
    }
    writeVec(Nblock, ofp, vector);
    Fclose(ofp);
}

// ---------------------------------------------------------------- double and complex vectors

void ComplexInnerProduct(int Size, const double* RV1, const double* IV1, const double* RV2,
                         const double* IV2, double* f1, double* f2) {
    double re = 0.0;
    double im = 0.0;
    for (int i = 0; i < Size; ++i) {
        re += RV1[i] * RV2[i] + IV1[i] * IV2[i];
        im += RV1[i] * IV2[i] - RV2[i] * IV1[i];
    }
    *f1 = re;
    *f2 = im;
}

int ComplexOrthogonalityCheck(int Size, const double* RV1, const double* IV1, const double* RV2,
                              const double* IV2) {
    double re;
    double im;
    ComplexInnerProduct(Size, RV1, IV1, RV2, IV2, &re, &im);
    return CZeroCheck(re, im);
}

double ComplexNorm(int Size, const double* RV1, const double* IV1) {
    double norm = 0.0;
    for (int i = 0; i < Size; ++i)
        norm += RV1[i] * RV1[i] + IV1[i] * IV1[i];
    return norm;
}

void NormalizeComplexVec(int Size, double* RV1, double* IV1) {
    double length = std::sqrt(ComplexNorm(Size, RV1, IV1));
    for (int i = 0; i < Size; ++i) {
        RV1[i] /= length;
        IV1[i] /= length;
    }
}

namespace {

// Removes from target its component along a stored row whose pivot column is p.
void reduceByRow(double* target, const double* row, int Size, int p) {
    double x = target[p];
    if (ZeroCheck(x)) {
        target[p] = 0.0;
        return;
    }
    for (int j = 0; j < Size; ++j) {
        target[j] -= x * row[j];
        if (ZeroCheck(target[j]))
            target[j] = 0.0;
    }
}

int choosePivot(const double* v, int Size, const int* tags, int NoTag, const int* max) {
    int best = -1;
    for (int c = 0; c < Size; ++c) {
        if (c == NoTag || tags[Size + c] != -1 || std::fabs(v[c]) <= Tolerance)
            continue;
        if (max) {
            if (max[c] > 0 && (best < 0 || max[c] > max[best]))
                best = c;
        } else if (best < 0 || std::fabs(v[c]) > std::fabs(v[best])) {
            best = c;
        }
    }
    return best;
}

} // namespace

void DoubleSweep(double* NewVector, double* Vectors, int Size, int* Count,
                 int* ColumnTaggedByVector, int NoTag, const int* max) {
    for (int v = 0; v < *Count; ++v)
        reduceByRow(NewVector, Vectors + v * Size, Size, ColumnTaggedByVector[v]);
    int pivot = choosePivot(NewVector, Size, ColumnTaggedByVector, NoTag, max);
    if (pivot < 0)
        return;
    double* row = Vectors + *Count * Size;
    double scale = NewVector[pivot];
    for (int j = 0; j < Size; ++j) {
        row[j] = NewVector[j] / scale;
        if (ZeroCheck(row[j]))
            row[j] = 0.0;
    }
    ColumnTaggedByVector[*Count] = pivot;
    ColumnTaggedByVector[Size + pivot] = *Count;
    for (int v = 0; v < *Count; ++v)
        reduceByRow(Vectors + v * Size, row, Size, pivot);
    ++*Count;
}

// ---------------------------------------------------------------- determinants

namespace {

double cleaned(double x) {
    return std::fabs(x) < 1e-10 ? 0.0 : x;
}

} // namespace

double Determinant(double* matrix, int rank) {
    double sign = 1.0;
    for (int k = 0; k < rank; ++k) {
        double* pivotRow = matrix + k * rank;
        int r = k;
        while (r < rank && std::fabs(matrix[r * rank + k]) <= Tolerance)
            ++r;
        if (r == rank)
            return 0.0;
        if (r != k) {
            for (int j = 0; j < rank; ++j)
                std::swap(matrix[r * rank + j], pivotRow[j]);
            sign = -sign;
        }
        if (k == rank - 1) {
            double det = sign;
            for (int i = 0; i < rank; ++i)
                det *= matrix[i * rank + i];
            return det;
        }
        for (int i = k + 1; i < rank; ++i) {
            double* rowI = matrix + i * rank;
            double f = rowI[k] / pivotRow[k];
            for (int j = 0; j < rank; ++j)
                rowI[j] = cleaned(rowI[j] - f * pivotRow[j]);
        }
    }
    return 1.0;
}

namespace {

void swapComplexRows(double* Rmat, double* Imat, int rank, int r, int k) {
    for (int j = 0; j < rank; ++j) {
        std::swap(Rmat[r * rank + j], Rmat[k * rank + j]);
        std::swap(Imat[r * rank + j], Imat[k * rank + j]);
    }
}

void eliminateComplexBelow(double* Rmat, double* Imat, int rank, int k) {
    for (int i = k + 1; i < rank; ++i) {
        double fR;
        double fI;
        complexRatio(Rmat[i * rank + k], Imat[i * rank + k], Rmat[k * rank + k], Imat[k * rank + k],
                     &fR, &fI);
        for (int j = 0; j < rank; ++j) {
            double pR;
            double pI;
            complexProduct(fR, fI, Rmat[k * rank + j], Imat[k * rank + j], &pR, &pI);
            Rmat[i * rank + j] = cleaned(Rmat[i * rank + j] - pR);
            Imat[i * rank + j] = cleaned(Imat[i * rank + j] - pI);
        }
    }
}

} // namespace

void ComplexDeterminant(double* Rmat, double* Imat, int rank, double* DetR, double* DetI) {
    double sign = 1.0;
    *DetR = 1.0;
    *DetI = 0.0;
    for (int k = 0; k < rank; ++k) {
        int r = k;
        while (r < rank && absC(Rmat[r * rank + k], Imat[r * rank + k]) <= Tolerance)
            ++r;
        if (r == rank) {
            *DetR = 0.0;
            return;
        }
        if (r != k) {
            swapComplexRows(Rmat, Imat, rank, r, k);
            sign = -sign;
        }
        if (k == rank - 1) {
            double dR = sign;
            double dI = 0.0;
            for (int i = 0; i < rank; ++i)
                complexProduct(dR, dI, Rmat[i * rank + i], Imat[i * rank + i], &dR, &dI);
            *DetR = dR;
            *DetI = dI;
            return;
        }
        eliminateComplexBelow(Rmat, Imat, rank, k);
    }
}

// ---------------------------------------------------------------- integer elimination

int NormalizeRow(int* Matrix, int Ncol, int row) {
    int* r = Matrix + row * Ncol;
    int g = 0;
    for (int j = 0; j < Ncol; ++j)
        g = GCD(g, r[j]);
    if (g == 0)
        return 1;
    bool negative = false;
    for (int j = 0; j < Ncol; ++j) {
        r[j] /= g;
        negative = negative || r[j] < 0;
    }
    if (negative)
        signFlip(Ncol, r);
    return 0;
}

int SimplifyRow(int* Matrix, int Ncol, int row, int tagrow, int tagcol) {
    int* r = Matrix + row * Ncol;
    const int* t = Matrix + tagrow * Ncol;
    int a = r[tagcol];
    if (a != 0) {
        int b = t[tagcol];
        int g = GCD(a, b);
        int p = b / g;
        int q = a / g;
        for (int j = 0; j < Ncol; ++j)
            r[j] = combine(p, r[j], q, t[j]);
    }
    return NormalizeRow(Matrix, Ncol, row);
}

int LinearSweep(int* Coeff, int Neq, int Nvar) {
    if (Nvar < Neq) {
        Alert("LinearSweep", 0, 212404, "Too few variables in LinearSweep");
        return -1;
    }
    for (int k = 0; k < Neq; ++k) {
        if (Coeff[k * Nvar + k] == 0)
            return 1;
        for (int i = 0; i < Neq; ++i)
            if (i != k && Coeff[i * Nvar + k] != 0)
                SimplifyRow(Coeff, Nvar, i, k, k);
    }
    return 0;
}

int MatInv(const int* Coeff, int* Inverse, int Neq) {
    int width = 2 * Neq;
    int* work = Dummy.reserve(Neq > 0 ? Neq * width : 0);
    for (int i = 0; i < Neq; ++i)
        for (int j = 0; j < Neq; ++j) {
            work[i * width + j] = Coeff[i * Neq + j];
            work[i * width + Neq + j] = i == j ? 1 : 0;
        }
    if (LinearSweep(work, Neq, width) != 0)
        return 0;
    int D = 1;
    for (int i = 0; i < Neq; ++i)
        D = SCM(D, work[i * width + i]);
    for (int i = 0; i < Neq; ++i)
        for (int j = 0; j < Neq; ++j)
            Inverse[i * Neq + j] =
                static_cast<int>(std::int64_t{D} * work[i * width + Neq + j] / work[i * width + i]);
    return D;
}

int CollectEquations(int* Eqns, int* tagcols, int* Neq, int Nvar) {
    int n = *Neq;
    for (int k = 0; k < n; ++k)
        if (SimplifyRow(Eqns, Nvar, n, k, tagcols[k]))
            return 0;
    const int* newRow = Eqns + n * Nvar;
    int pivot = 0;
    while (pivot < Nvar && newRow[pivot] == 0)
        ++pivot;
    if (pivot < Nvar) {
        tagcols[n] = pivot;
        for (int k = 0; k < n; ++k)
            SimplifyRow(Eqns, Nvar, k, n, pivot);
    }
    NormalizeRow(Eqns, Nvar, n);
    ++*Neq;
    return 1;
}

namespace {

// One pivot step of LinearSolve: clears column k outside row k, right-hand side included.
void solveStep(int* Coeff, int* Vector, int Neq, int k) {
    const int* pivotRow = Coeff + k * Neq;
    int ckk = pivotRow[k];
    for (int i = 0; i < Neq; ++i) {
        int* r = Coeff + i * Neq;
        if (i == k || r[k] == 0)
            continue;
        int g = GCD(r[k], ckk);
        int p = ckk / g;
        int q = r[k] / g;
        for (int j = 0; j < Neq; ++j)
            r[j] = combine(p, r[j], q, pivotRow[j]);
        Vector[i] = combine(p, Vector[i], q, Vector[k]);
    }
}

} // namespace

int LinearSolve(int* Coeff, int* Vector, int* Solution, int Neq) {
    if (Neq < 1)
        return 1;
    for (int k = 0; k < Neq; ++k) {
        if (Coeff[k * Neq + k] == 0)
            return 0;
        solveStep(Coeff, Vector, Neq, k);
        for (int i = 0; i < Neq; ++i)
            printVec(Neq, Coeff + i * Neq, " ");
    }
    int D = 1;
    for (int i = 0; i < Neq; ++i) {
        int& d = Coeff[i * Neq + i];
        int g = GCD(d, Vector[i]);
        d /= g;
        Vector[i] /= g;
        D = SCM(D, d);
    }
    for (int i = 0; i < Neq; ++i)
        Solution[i] = static_cast<int>(std::int64_t{D} * Vector[i] / Coeff[i * Neq + i]);
    return D;
}

// ---------------------------------------------------------------- random permutation

int* ranVec(int N) {
    if (N < 0)
        N = 0;
    double* r = ran.reserve(N);
    int* perm = ranPerm.reserve(2 * N);
    for (int i = 0; i < N; ++i)
        r[i] = dRandom();
    for (int i = 0; i < N; ++i) {
        int m = 0;
        double largest = -1.0;
        for (int j = 0; j < N; ++j)
            if (r[j] > largest) {
                largest = r[j];
                m = j;
            }
        perm[i] = m;
        perm[N + m] = i;
        r[m] = -2.0;
    }
    return perm;
}

int PrintComplexVec(int Size, const double* Real, const double* Im, const char* Text) {
    if (Size < 1)
        return 1;
    bool real = true;
    for (int i = 0; i < Size && real; ++i)
        real = ZeroCheck(Im[i]);
    if (real) {
        Print("%s (Real)\n", Text);
        PrintDoubleVec(Size, Real, "    ");
        return 1;
    }
    Print("%s (Complex)\n", Text);
    PrintDoubleVec(Size, Real, "Re: ");
    PrintDoubleVec(Size, Im, "Im: ");
    return 0;
}
