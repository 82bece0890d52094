// Ground-state dimensions, higher indices, and the index files of the library directory: one
// text file per simple Lie algebra, written for A to D from closed formulas when missing and
// read back into every block of that algebra.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "base/SystemUtility.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using store_internal::allocateFor;

namespace {

char indexFileName[1024];
char fileid[1024];
char characterNames[2][1024];
int characterTurn = 0;

constexpr int MaxIndexRank = 25;

// The type whose representation theory a block has (a conjugate theory has its base's).
int lieType(const SpectrumData* sd) {
    return sd->type < 0 ? sd->type + 100 : sd->type;
}

lint* entry(SpectrumData* sd, int lbl, int k) {
    return sd->Indices[static_cast<std::size_t>(lbl) * (sd->rank + 1) + k];
}
lint*& slot(SpectrumData* sd, int lbl, int k) {
    return sd->Indices[static_cast<std::size_t>(lbl) * (sd->rank + 1) + k];
}

// ---- Writing ----

// The orders n of the index lines of a record (D's extra line not included).
std::vector<int> indexOrders(int type, int rank) {
    std::vector<int> orders;
    if (type == 1)
        for (int n = 2; n <= rank + 1; n++)
            orders.push_back(n);
    else if (type == 2 || type == 3)
        for (int n = 2; n <= 2 * rank; n += 2)
            orders.push_back(n);
    else
        for (int n = 2; n <= 2 * rank - 2; n += 2)
            orders.push_back(n);
    return orders;
}

// The normalisation of the order-n index relative to the vector representation of B and D.
int indexFactor(int type, int rank, int n) {
    if (type != 2 && type != 4)
        return 1;
    int Nv = type == 2 ? 2 * rank + 1 : 2 * rank;
    if (n == 2)
        return 2;
    if (n == 4)
        return Nv <= 6 ? -4 : Nv <= 8 ? 2 : 1;
    if (n == 8 && Nv <= 10)
        return 2;
    return 1;
}

bool isSpinor(int type, int rank, int i) {
    return (type == 2 && i == rank) || (type == 4 && i >= rank - 1);
}

// factor * sum_{k=1..i} (-1)^(k+1) k^(n-1) D_(i-k).
void fundamentalIndex(lint* result, const std::vector<LintPtr>& dims, int i, int n, int factor) {
    lint_assign(result, 0);
    LintPtr term(lint_alloc(5));
    for (int k = 1; k <= i; k++) {
        lint_power(term.get(), k, n - 1);
        lint_multiply(term.get(), dims[i - k].get());
        if (k % 2 == 0)
            lint_flip(term.get());
        lint_add(result, term.get());
    }
    lint_intprod(result, factor);
}

void writeLabels(FILE* ofp, int rank, int nonzero) {
    for (int j = 1; j <= rank; j++)
        std::fprintf(ofp, "%d ", j == nonzero ? 1 : 0);
    std::fprintf(ofp, "\n");
}

// D_0 = 1 and D_j the dimension of the j-th fundamental weight.
std::vector<LintPtr> fundamentalDimensions(int type, int rank) {
    std::vector<LintPtr> dims;
    dims.emplace_back(int_to_newlint(1));
    std::vector<int> labels(rank + 1, 0);
    for (int j = 1; j <= rank; j++) {
        std::fill(labels.begin(), labels.end(), 0);
        labels[j - 1] = 1;
        dims.emplace_back(lint_alloc(5));
        fint_to_lint(IntegerDim(labels.data(), type, rank), dims.back().get());
    }
    return dims;
}

void writeFundamentalRecord(FILE* ofp, int type, int rank, int i,
                            const std::vector<LintPtr>& dims) {
    writeLabels(ofp, rank, i);
    std::fprintf(ofp, "%s\n", lint_string(dims[i].get()));
    LintPtr index(lint_alloc(5));
    for (int n : indexOrders(type, rank)) {
        int factor = indexFactor(type, rank, n);
        if (isSpinor(type, rank, i)) {
            SM_printSpinorIndex(ofp, type, rank, n, factor);
            continue;
        }
        fundamentalIndex(index.get(), dims, i, n, factor);
        std::fprintf(ofp, "%s\n", lint_string(index.get()));
    }
    if (type == 4)
        std::fprintf(ofp, "%d\n", i == rank - 1 ? 1 : i == rank ? -1 : 0);
}

// ---- Reading ----

// The next blank-separated token; false at the end of the file.
bool readToken(FILE* ifp, std::string& token) {
    token.clear();
    int c = std::fgetc(ifp);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(ifp);
    while (c != EOF && !std::isspace(c)) {
        token.push_back(static_cast<char>(c));
        c = std::fgetc(ifp);
    }
    return !token.empty();
}

// An index token: a big integer, or a fraction whose denominator is 1.
lint* indexValue(const std::string& token) {
    std::string text = token;
    std::size_t slash = text.find('/');
    if (slash != std::string::npos && text.substr(slash + 1) == "1")
        text.resize(slash);
    LintPtr value(lint_alloc(static_cast<int>(text.size()) / 4 + 5));
    if (string_to_lint(value.get(), text.c_str()) != 0)
        return nullptr;
    return value.release();
}

// The field whose finite Dynkin labels are the given ones, or -1.
int fieldOfLabels(SpectrumData* sd, const std::vector<int>& labels) {
    for (int i = 0; i < sd->Nprimaries; i++)
        if (compareVec(sd->rank, SM_getRep(sd, i), labels.data()) == 0)
            return i;
    return -1;
}

enum class RecordRead { Matched, Skipped, End, Failed };

RecordRead readRecord(FILE* ifp, SpectrumData* sd) {
    int r = sd->rank;
    std::vector<int> labels(r);
    std::string token;
    for (int j = 0; j < r; j++) {
        if (!readToken(ifp, token)) {
            if (j == 0)
                return RecordRead::End;
            Alert("SM_loadIndices", 3, 112315, "Premature end-of-file\n");
            return RecordRead::Failed;
        }
        labels[j] = std::atoi(token.c_str());
    }
    int lbl = fieldOfLabels(sd, labels);
    if (lbl < 0) {
        for (int j = 0; j <= r; j++)
            readToken(ifp, token);
        return RecordRead::Skipped;
    }
    readToken(ifp, token);
    LintPtr dimension(lint_alloc(static_cast<int>(token.size()) / 4 + 5));
    if (string_to_lint(dimension.get(), token.c_str()) != 0 ||
        !lint_eq(dimension.get(), entry(sd, lbl, 0))) {
        Alert("SM_loadIndices", 5, 112415, "Wrong dimension in file: %s\n", token.c_str());
        return RecordRead::Failed;
    }
    for (int k = 1; k <= r; k++) {
        readToken(ifp, token);
        if (slot(sd, lbl, k))
            lint_free(slot(sd, lbl, k));
        slot(sd, lbl, k) = indexValue(token);
    }
    return RecordRead::Matched;
}

int countIndexedFields(SpectrumData* sd) {
    int count = 0;
    for (int i = 0; i < sd->Nprimaries; i++)
        if (sd->rank >= 1 && entry(sd, i, 1))
            count++;
    return count;
}

// The index file, opened for reading; written first when it is missing and can be written.
FILE* openIndexFile(SpectrumData* sd, const char* fn) {
    int t = lieType(sd);
    for (int attempt = 0; attempt < 2; attempt++) {
        if (FILE* ifp = std::fopen(fn, "r"))
            return ifp;
        if (t == 5) {
            Alert("SM_loadIndices", 2, 120306, "Cannot open index file %s\n", fn);
            return nullptr;
        }
        if (attempt == 0 && SM_writeIndexFile(sd, fn) != 0)
            return nullptr;
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Dimensions

int SM_initDimensions(void* row) {
    auto* sd = static_cast<SpectrumData*>(row);
    // A block made from other blocks brings its dimensions along; only affine ones compute them.
    if (sd->Dimensions)
        return 1;
    int t = lieType(sd);
    if (t > 5)
        return 0;
    sd->Dimensions = allocateFor<int>(sd, sd->Nprimaries, "Dimensions");
    for (int i = 0; i < sd->Nprimaries; i++)
        sd->Dimensions[i] = Dimension(SM_getRep(sd, i), t, sd->rank);
    return 1;
}

void SM_loadDimensions(SpectrumData* sd) {
    if (sd->Indices)
        return;
    std::size_t n = static_cast<std::size_t>(sd->Nprimaries) * (sd->rank + 1);
    sd->Indices = allocateFor<lint*>(sd, n, "Indices");
    std::fill(sd->Indices, sd->Indices + n, nullptr);
    for (int i = 0; i < sd->Nprimaries; i++) {
        slot(sd, i, 0) = lint_alloc(5);
        fint_to_lint(IntegerDim(SM_getRep(sd, i), lieType(sd), sd->rank), slot(sd, i, 0));
    }
}

// ---------------------------------------------------------------------------------------------
// Index files

int SM_loadIndices(SpectrumData* sd) {
    if (sd->Indices)
        return countIndexedFields(sd);
    if (sd->type < 1 || sd->type > 5) {
        Alert("SM_loadIndices", 0, 112315, "Indices not defined for type %d\n", sd->type);
        return -1;
    }
    if (sd->rank < 1)
        return 0;
    SM_loadDimensions(sd);
    if (sd->rank >= MaxIndexRank) {
        Alert("SM_loadIndices", 1, 112413, "Rank too large for index computation\n");
        return -1;
    }
    const char* fn = SM_setIndexFileName(sd);
    if (!fn)
        return -1;
    FILE* ifp = openIndexFile(sd, fn);
    if (!ifp)
        return -1;
    int count = 0;
    for (;;) {
        RecordRead result = readRecord(ifp, sd);
        if (result == RecordRead::End)
            break;
        if (result == RecordRead::Failed) {
            std::fclose(ifp);
            return -1;
        }
        if (result == RecordRead::Matched)
            count++;
    }
    std::fclose(ifp);
    std::printf("Read %d indices from file %s\n", count, fn);
    return count;
}

int SM_writeIndexFile(SpectrumData* sd, const char* fn) {
    CreateFile(fn);
    FILE* ofp = std::fopen(fn, "w");
    if (!ofp) {
        Alert("SM_writeIndexFile", 0, 120306, "Cannot open new index file %s", fn);
        return 1;
    }
    int type = lieType(sd);
    int rank = sd->rank;
    writeLabels(ofp, rank, 0);
    std::fprintf(ofp, "1\n");
    for (int n = 0; n < rank; n++)
        std::fprintf(ofp, "0\n");
    std::vector<LintPtr> dims = fundamentalDimensions(type, rank);
    for (int i = 1; i <= rank; i++)
        writeFundamentalRecord(ofp, type, rank, i, dims);
    std::fclose(ofp);
    return 0;
}

void SM_printSpinorIndex(FILE* ofp, int type, int rank, int order, int factor) {
    static const int bernoulli[8][2] = {{1, 6},  {-1, 30},     {1, 42}, {-1, 30},
                                        {5, 66}, {-691, 2730}, {7, 6},  {-3617, 510}};
    if (order < 2 || order > 16 || order % 2 != 0) {
        std::fprintf(ofp, "0\n");
        return;
    }
    const int* B = bernoulli[order / 2 - 1];
    int e = type == 2 ? rank : rank - 1;
    // factor (2^n - 1) 2^e B_n / (2n)
    lint* num = lint_alloc(5);
    lint_power(num, 2, order);
    lint_intadd(num, -1);
    LintPtr power(lint_alloc(5));
    lint_power(power.get(), 2, e);
    lint_multiply(num, power.get());
    lint_intprod(num, factor * B[0]);
    lrat* value = lrat_Alloc(num, int_to_newlint(2 * order * B[1]));
    simplify_rat(value);
    std::fprintf(ofp, "%s\n", lrat_string(value));
    lrat_free(value);
}

void SM_addIndex(SpectrumData* sd, int lbl, lint** Indices) {
    SM_loadDimensions(sd);
    for (int k = 1; k <= sd->rank; k++) {
        if (slot(sd, lbl, k))
            lint_free(slot(sd, lbl, k));
        slot(sd, lbl, k) = lint_alloc(Indices[k - 1]->size + 1);
        lint_copy(slot(sd, lbl, k), Indices[k - 1]);
    }
}

void SM_resetIndices(SpectrumData* sd) {
    if (!sd->Indices)
        return;
    const std::size_t n = static_cast<std::size_t>(sd->Nprimaries) * (sd->rank + 1);
    for (std::size_t e = 0; e < n; e++)
        if (sd->Indices[e])
            lint_free(sd->Indices[e]);
    store_internal::releaseFor(sd, sd->Indices, n, "Indices");
    sd->Indices = nullptr;
}

char* SM_setIndexFileName(SpectrumData* sd) {
    std::string dir = store_internal::libraryDirectory();
    if (dir.size() > store_internal::MaxLibraryDirectory) {
        Alert("SM_setIndexFileName", 0, 100302,
              "Pathname of file for Indices is too long\nPlease change using \"Preferences\"");
        return nullptr;
    }
    std::string name = sd->AlgebraName;
    name = name.substr(0, name.find(' '));
    std::snprintf(indexFileName, sizeof indexFileName, "%s/%s_indices", dir.c_str(), name.c_str());
    return indexFileName;
}

char* SM_setFileName(SpectrumData* sd) {
    std::string dir = store_internal::libraryDirectory();
    fileid[0] = '\0';
    if (dir.size() > store_internal::MaxLibraryDirectory) {
        Alert("SM_setFileName", 0, 100302,
              "Pathname of file for S-elements is too long\nPlease change using \"Preferences\"");
        return fileid;
    }
    std::snprintf(fileid, sizeof fileid, "%s/S%d.%d.%d", dir.c_str(), sd->type, sd->rank,
                  sd->level);
    return fileid;
}

char* SM_getCharacterName(SpectrumData* sd, int lbl) {
    char* out = characterNames[characterTurn];
    characterTurn = 1 - characterTurn;
    const int* labels = SM_getRep(sd, lbl);
    int n = sd->RepSize - 1;
    bool classical = sd->type >= 1 && sd->type <= 4;
    if (classical && vecSum(labels, n) <= 1) {
        int nonzero = 0;
        for (int j = 0; j < n; j++)
            if (labels[j] != 0)
                nonzero = j + 1;
        std::snprintf(out, sizeof characterNames[0], "char%d", nonzero);
        return out;
    }
    int used = std::snprintf(out, sizeof characterNames[0], "char");
    for (int j = 0; j < n && used < static_cast<int>(sizeof characterNames[0]) - 12; j++)
        used += std::snprintf(out + used, sizeof characterNames[0] - used, "_%d", labels[j]);
    return out;
}
