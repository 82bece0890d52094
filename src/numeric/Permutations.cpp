#include "numeric/Permutations.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "numeric/MathUtility.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

AllocCount Perm_space = ALLOC_COUNTER("Permutation utilities");

VectorSpace AllPermutations = declareVectorSpace("AllPermutations", 100);
VectorSpace PermutationList = declareVectorSpace("PermutationList", 100);
VectorSpace PermutationsSpace = declareVectorSpace("Permutations", 100);
VectorSpace SubPermutations = declareVectorSpace("SubPermutations", 100);

GuardedArray<int> inverseWork("TEST", &Perm_space);
GuardedArray<char> cycleText("out", &Perm_space);
GuardedArray<int> cycleUsed("used", &Perm_space);
GuardedArray<int> classUsed("used", &Perm_space);
GuardedArray<int> subClassUsed("used", &Perm_space);
GuardedArray<VectorSpace*> subCollections("Perms", &Perm_space);

constexpr int ManualNameLength = 1024;
char manualName[ManualNameLength] = "~/MP";

// The largest number of objects whose permutations are all generated.
constexpr int MaxGenerated = 9;

int* scratchRow(VectorSpace* P) {
    return rowOf(P, P->Nfill);
}

int payloadOf(const VectorSpace* P) {
    return P->rowsize - 2;
}

void insertIdentity(VectorSpace* P, int N) {
    int* row = scratchRow(P);
    for (int i = 0; i < N; ++i)
        row[i] = i;
    addToCollection(P);
}

// One stage of the generation: every row present at its start, with its first k + 1 entries
// rotated by 1 .. k places, is inserted; the stages k = 1 .. n-1 give all n! arrangements.
void addRotationStage(VectorSpace* P, int k) {
    const int payload = payloadOf(P);
    const int rows = P->Nfill;
    for (int r = 0; r < rows; ++r)
        for (int s = 0; s < k; ++s) {
            const int* row = rowOf(P, r);
            int* next = scratchRow(P);
            for (int i = 0; i <= k; ++i)
                next[i] = row[(i + 1 + s) % (k + 1)];
            for (int i = k + 1; i < payload; ++i)
                next[i] = row[i];
            addToCollection(P);
        }
}

bool isPermutation(const int* v, int N) {
    std::vector<char> seen(N, 0);
    for (int i = 0; i < N; ++i) {
        if (v[i] < 0 || v[i] >= N || seen[v[i]])
            return false;
        seen[v[i]] = 1;
    }
    return true;
}

// Every well-formed line of the file becomes a row; any other line is reported and skipped, so
// that no row can point outside 0 .. N-1 when the rows are multiplied.
void readManualPermutations(FILE* ifp, VectorSpace* P, int N) {
    std::vector<int> v(N);
    int number = 0;
    for (;;) {
        const int status = readPermutationLine(ifp, v.data(), N);
        if (status == -1)
            return;
        ++number;
        if (status != 0 || !isPermutation(v.data(), N)) {
            Alert("generateAllPermutations", 1, 100215,
                  "Permutation %d of the manual permutations file %s is not a permutation of "
                  "0 .. %d; ignored",
                  number, manualName, N - 1);
            continue;
        }
        copyVec(N, scratchRow(P), v.data());
        addToCollection(P);
    }
}

bool readLine(FILE* ifp, std::string& line) {
    line.clear();
    int ch;
    while ((ch = std::fgetc(ifp)) != EOF && ch != '\n')
        line.push_back(static_cast<char>(ch));
    return ch != EOF || !line.empty();
}

bool isBlankLine(const std::string& line) {
    for (char ch : line)
        if (!std::isspace(static_cast<unsigned char>(ch)))
            return false;
    return true;
}

// The integers of a line; false when a token is not an integer or there are not exactly N.
bool parseIntegers(const std::string& line, int* v, int N) {
    const char* p = line.c_str();
    int count = 0;
    for (;;) {
        while (std::isspace(static_cast<unsigned char>(*p)))
            ++p;
        if (*p == '\0')
            return count == N;
        char* end;
        errno = 0;
        const long x = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || x < INT_MIN || x > INT_MAX || count == N)
            return false;
        v[count++] = static_cast<int>(x);
        p = end;
    }
}

// The classes of equal labels in the order of their first position.
std::vector<std::vector<int>> labelClasses(int N, const int* id, GuardedArray<int>& used) {
    int* seen = used.reserve(N);
    nullifyVec(N, seen);
    std::vector<std::vector<int>> classes;
    for (int p = 0; p < N; ++p) {
        if (seen[p])
            continue;
        std::vector<int> cls;
        for (int j = p; j < N; ++j)
            if (!seen[j] && id[j] == id[p]) {
                seen[j] = 1;
                cls.push_back(j);
            }
        classes.push_back(cls);
    }
    return classes;
}

// Every row of P (new ones included) with the class positions q rearranged as in each row of
// the arrangements A.
void applyClassArrangements(VectorSpace* P, VectorSpace* A, const std::vector<int>& q, int N) {
    std::vector<int> place(N, -1);
    for (int k = 0; k < static_cast<int>(q.size()); ++k)
        place[q[k]] = k;
    for (int r = 0; r < P->Nfill; ++r)
        for (int t = 0; t < A->Nfill; ++t) {
            const int* row = rowOf(P, r);
            const int* arrangement = rowOf(A, t);
            int* next = scratchRow(P);
            for (int i = 0; i < N; ++i) {
                const int v = row[i];
                next[i] = v >= 0 && v < N && place[v] >= 0 ? arrangement[place[v]] : v;
            }
            addToCollection(P);
        }
}

VectorSpace* newClassCollection(int classNumber) {
    auto* s =
        static_cast<VectorSpace*>(allocate(sizeof(VectorSpace), &Perm_space, "Permutation space"));
    char text[32];
    std::snprintf(text, sizeof text, "SubPerm_%d", classNumber);
    const std::size_t len = std::strlen(text) + 1;
    auto* name = static_cast<char*>(allocate(len, &Perm_space, "SubPerm name"));
    std::memcpy(name, text, len);
    *s = declareVectorSpace(name, 10);
    return s;
}

void fillClassCollection(VectorSpace* s, int classNumber, const std::vector<int>& positions) {
    const int m = static_cast<int>(positions.size());
    initVectorCollection(s, m, factorial(m) + 400);
    std::printf("allocated: %d\n", factorial(m) + 4);
    copyVec(m, scratchRow(s), positions.data());
    addToCollection(s);
    std::printf("added; next=%d; name=%s; size=%d, M=%d\n", classNumber, s->name, s->Nfill, m);
    for (int L = 1; L <= m; ++L) {
        addRotationStage(s, L - 1);
        std::printf("added; next=%d; name=%s; size=%d\n", classNumber, s->name, s->Nfill);
    }
}

} // namespace

// ---------------------------------------------------------------- single permutations

void multiplyPermutations(int size, int* A, int* B, int* C) {
    if (C == A || C == B) {
        std::vector<int> product(size > 0 ? size : 0);
        for (int i = 0; i < size; ++i)
            product[i] = A[B[i]];
        copyVec(size, C, product.data());
        return;
    }
    for (int i = 0; i < size; ++i)
        C[i] = A[B[i]];
}

void multiplyCharPermutations(int size, char* A, char* B, char* C) {
    std::vector<char> product(size > 0 ? size : 0);
    for (int i = 0; i < size; ++i)
        product[i] = A[static_cast<unsigned char>(B[i])];
    for (int i = 0; i < size; ++i)
        C[i] = product[i];
}

void inversePermutation(int size, int* A, int* B) {
    if (size < 1)
        return;
    int* position = inverseWork.reserve(size);
    for (int k = 0; k < size; ++k)
        position[k] = -1;
    for (int i = 0; i < size; ++i)
        if (A[i] >= 0 && A[i] < size && position[A[i]] < 0)
            position[A[i]] = i;
    for (int k = 0; k < size; ++k) {
        if (position[k] < 0)
            Alert("inversePermutation", 0, 212404, "Non-invertible permutation");
        B[k] = position[k];
    }
}

int InvolutionCheck(int size, int* A) {
    for (int i = 0; i < size; ++i)
        if (A[i] < 0 || A[i] >= size || A[A[i]] != i)
            return 0;
    return 1;
}

int countFixedEntries(int size, int* A) {
    int count = 0;
    for (int i = 0; i < size; ++i)
        if (A[i] == i)
            ++count;
    return count;
}

void multiplyIds(int Size, int* id0, int* id1, int* id2) {
    std::vector<int> combined(Size > 0 ? Size : 0);
    for (int i = 0; i < Size; ++i) {
        int j = 0;
        while (id0[j] != id0[i] || id1[j] != id1[i])
            ++j;
        combined[i] = j;
    }
    copyVec(Size, id2, combined.data());
}

void cyclicPermutation(int size, int order, int* A, int* B, int N) {
    std::vector<int> shifted(A, A + (size > 0 ? size : 0));
    for (int i = 0; i < order && i < size; ++i)
        shifted[i] = A[mod(i + N, order)];
    copyVec(size, B, shifted.data());
}

char* cyclicDecomposition(int size, int* A) {
    const int n = size > 0 ? size : 0;
    int* used = cycleUsed.reserve(n);
    nullifyVec(n, used);
    std::string text = " ";
    for (int i = 0; i < n; ++i) {
        if (used[i])
            continue;
        text.push_back('(');
        text.append(std::to_string(i));
        used[i] = 1;
        // Stops at a repeated or foreign entry too, so that a broken permutation cannot loop.
        for (int x = A[i]; x >= 0 && x < n && !used[x]; x = A[x]) {
            text.push_back(',');
            text.append(std::to_string(x));
            used[x] = 1;
        }
        text.push_back(')');
    }
    char* out = cycleText.reserve(static_cast<int>(text.size()) + 1);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

int readPermutationLine(FILE* ifp, int* v, int N) {
    std::string line;
    do {
        if (!readLine(ifp, line))
            return -1;
    } while (isBlankLine(line));
    return parseIntegers(line, v, N) ? 0 : 1;
}

void setManualPermutations(const char* MPname) {
    if (!MPname)
        return;
    std::strncpy(manualName, MPname, ManualNameLength - 1);
    manualName[ManualNameLength - 1] = '\0';
}

// ---------------------------------------------------------------- collections

void ClosePermutations(VectorSpace* Perm) {
    const int n = Perm->id_size;
    for (int a = 0; a < Perm->Nfill; ++a)
        for (int b = 0; b < Perm->Nfill; ++b) {
            multiplyPermutations(n, rowOf(Perm, a), rowOf(Perm, b), scratchRow(Perm));
            addToCollection(Perm);
        }
}

VectorSpace* generatePermutations(int Size, int fix, int* vector, int* identical, int maxperm) {
    VectorSpace* P = &PermutationList;
    initVectorCollection(P, Size, 100);
    addVectorToCollection(P, vector);
    for (int pass = 0;; ++pass) {
        if (pass >= 3)
            Alert("generatePermutationList", 0, 100201,
                  "Unexpected need for permutation iteration (Nr. %d", pass);
        const int before = P->Nfill;
        for (int i = 0; i < Size; ++i)
            for (int j = i + 1; j < Size; ++j) {
                if (i == fix || j == fix || identical[i] != identical[j])
                    continue;
                const int rows = P->Nfill;
                for (int r = 0; r < rows; ++r) {
                    int* next = scratchRow(P);
                    copyVec(Size, next, rowOf(P, r));
                    swapEntries(next, i, j);
                    addToCollection(P);
                    if (P->Nfill > maxperm)
                        return nullptr;
                }
            }
        if (P->Nfill == before)
            return P;
    }
}

VectorSpace* generateAllPermutations(int N) {
    VectorSpace* P = &AllPermutations;
    const int n = N > 0 ? N : 0;
    if (n <= MaxGenerated) {
        initVectorCollection(P, n, n < 1 ? 3 : factorial(n) + 2);
        insertIdentity(P, n);
        for (int k = 1; k < n; ++k)
            addRotationStage(P, k);
        return P;
    }
    Alert("generateAllPermutations", 0, 520218,
          "Maximal number of permutations reached; ignoring remainder");
    initVectorCollection(P, n, factorial(MaxGenerated) + 2);
    insertIdentity(P, n);
    if (FILE* ifp = Fopen(manualName, "r")) {
        Print("Reading manual permutations from file %s\n", manualName);
        readManualPermutations(ifp, P, n);
        Fclose(ifp);
        ClosePermutations(P);
        return P;
    }
    for (int k = 1; k < MaxGenerated; ++k)
        addRotationStage(P, k);
    return P;
}

VectorSpace* generateSubPermutations(int N, int* id) {
    VectorSpace* P = &PermutationsSpace;
    const int n = N > 0 ? N : 0;
    initVectorCollection(P, n, 100);
    insertIdentity(P, n);
    for (const std::vector<int>& q : labelClasses(n, id, classUsed)) {
        const int m = static_cast<int>(q.size());
        if (m < 2)
            continue;
        VectorSpace* A = &SubPermutations;
        initVectorCollection(A, m, 100);
        copyVec(m, scratchRow(A), q.data());
        addToCollection(A);
        for (int k = 1; k < m; ++k)
            addRotationStage(A, k);
        applyClassArrangements(P, A, q, n);
    }
    return P;
}

VectorSpace** getSubPermutations(int N, int* id) {
    if (N < 1)
        return nullptr;
    std::vector<std::vector<int>> classes;
    for (std::vector<int>& q : labelClasses(N, id, subClassUsed))
        if (q.size() >= 2)
            classes.push_back(std::move(q));
    if (classes.empty())
        return nullptr;
    const int count = static_cast<int>(classes.size());
    VectorSpace** collections = subCollections.reserve(count + 1);
    for (int c = 0; c < count; ++c) {
        std::vector<int>& q = classes[c];
        if (q.size() > 10) {
            Alert("getSubPermutations", 0, 112413,
                  "Sub-permutation exceeding maximum (%d > 10)\nResetting to 10",
                  static_cast<int>(q.size()));
            q.resize(10);
        }
        collections[c] = newClassCollection(c);
        fillClassCollection(collections[c], c, q);
    }
    collections[count] = nullptr;
    std::printf("Finishing getSubPermutations\n");
    return collections;
}

void applySubPermutations(VectorSpace* P, VectorSpace* SP, int N, int M) {
    const int payload = payloadOf(P);
    const std::vector<int> base(rowOf(SP, 0), rowOf(SP, 0) + M);
    for (int r = 0; r < P->Nfill; ++r)
        for (int s = 0; s < SP->Nfill; ++s) {
            int* next = scratchRow(P);
            copyVec(payload, next, rowOf(P, r));
            const int* arrangement = rowOf(SP, s);
            for (int i = 0; i < N; ++i) {
                const int k = Present(base.data(), M, next[i]);
                if (k >= 0)
                    next[i] = arrangement[k];
            }
            addToCollection(P);
        }
}

void applyCyclicPermutations(VectorSpace* Permutations, int N) {
    VectorSpace* P = Permutations;
    const int payload = payloadOf(P);
    const int rows = P->Nfill;
    for (int r = 0; r < rows; ++r)
        for (int s = 1; s < N; ++s) {
            const int* row = rowOf(P, r);
            int* next = scratchRow(P);
            for (int j = 0; j < N; ++j)
                next[j] = row[(j + s) % N];
            for (int j = N; j < payload; ++j)
                next[j] = row[j];
            addToCollection(P);
        }
}
