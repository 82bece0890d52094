// Invariants made from invariants: the transpose, the product with charge conjugation, the
// normalised product of two invariants, and the charge-conjugation invariant itself.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"

#include <algorithm>
#include <numeric>
#include <vector>

using namespace invariants_internal;

namespace {

// The transpose's record is reused by every transpose; the others pass to the store when their
// result is stored, and a new one is made at the next call.
std::unique_ptr<BulkInvariant> transposeWork;
std::unique_ptr<BulkInvariant> conjugationWork;
std::unique_ptr<BulkInvariant> productWork;

BulkInvariant* workRecord(std::unique_ptr<BulkInvariant>& record) {
    if (!record)
        record.reset(allocNewBulkInvariant(nullptr));
    return record.get();
}

// Each column j of the transpose collects field i multiplicity[i] times per occurrence of j in
// row i. Columns start with room for C labels; a longer one doubles C and all are made again.
std::vector<std::vector<int>> transposedColumns(const BulkInvariant* bi) {
    const int N = bi->Nprimaries;
    std::vector<long long> lengths(static_cast<std::size_t>(N), 0);
    for (int i = 0; i < N; i++)
        if (bi->multiplicity[i] > 0)
            for (int k = 0; k < bi->orbitlength[i]; k++)
                lengths[static_cast<std::size_t>(bi->orbits[i][k])] += bi->multiplicity[i];
    int largest = 1;
    for (int k = 0; k < bi->orbitlength[0]; k++)
        largest = std::max(largest, bi->orbits[0][k]);
    long long room = std::max(2LL * bi->left_extension_size * largest, 1LL);
    const long long longest =
        lengths.empty() ? 0 : *std::max_element(lengths.begin(), lengths.end());
    while (longest > room) {
        Alert("reflectBulkInvariant", 0, 112210, "Orbit length overflow. Reallocating");
        room *= 2;
    }
    std::vector<std::vector<int>> columns(static_cast<std::size_t>(N));
    for (int i = 0; i < N; i++)
        if (bi->multiplicity[i] > 0)
            for (int k = 0; k < bi->orbitlength[i]; k++)
                columns[static_cast<std::size_t>(bi->orbits[i][k])].insert(
                    columns[static_cast<std::size_t>(bi->orbits[i][k])].end(),
                    static_cast<std::size_t>(bi->multiplicity[i]), i);
    return columns;
}

// Lays rows of folded lists (with their multiplicities) into a record of N rows whose partner
// area is at least minimalSpace; the area grows to what the lists need, so none is cut.
void layOutRows(BulkInvariant* bi, std::vector<std::vector<int>>& rows,
                const std::vector<int>& multiplicities, int minimalSpace, const char* routine,
                int position) {
    const int N = static_cast<int>(rows.size());
    long long needed = 0;
    for (const std::vector<int>& row : rows)
        needed += static_cast<long long>(row.size());
    allocBulkInvariantData(bi, N, static_cast<int>(std::max<long long>(minimalSpace, needed)));
    RowWriter writer(bi, routine, position);
    for (int i = 0; i < N; i++) {
        const std::vector<int>& row = rows[static_cast<std::size_t>(i)];
        bi->orbitlength[i] = static_cast<int>(row.size());
        bi->multiplicity[i] = multiplicities[static_cast<std::size_t>(i)];
        writer.put(i, row.data(), static_cast<int>(row.size()));
    }
}

// Folds a list in place; returns the folding factor (0 for an empty list).
int fold(std::vector<int>& list) {
    int f = 0;
    list.resize(
        static_cast<std::size_t>(removeRedundancy(list.data(), static_cast<int>(list.size()), &f)));
    return f;
}

void setLeftExtension(BulkInvariant* bi, const std::vector<int>& algebra, const char* routine,
                      int position) {
    const int size = std::min(static_cast<int>(algebra.size()), bi->Nprimaries);
    if (size < static_cast<int>(algebra.size()))
        reportStorageOverflow(routine, position);
    std::copy(algebra.begin(), algebra.begin() + size, bi->left_extension);
    bi->left_extension_size = size;
}

void clearStringFindings(BulkInvariant* bi) {
    bi->hasTachyons = bi->susy_L = bi->susy_R = -1;
}

int vacuumEntries(const int* list, int size) {
    return static_cast<int>(std::count(list, list + size, 0));
}

// ---- The product ----

struct ProductRows {
    std::vector<std::vector<int>> rows;
    std::vector<int> multiplicities;
    std::vector<int> leftAlgebra;
    int divisor = 0; // the gcd G of all multiplicities
};

// Row i of A B: for each partner j of i in A, (A_i B_j / g) copies of B's partners of j, folded.
ProductRows productRows(const BulkInvariant* A, const BulkInvariant* B) {
    const int N = A->Nprimaries;
    ProductRows p;
    p.rows.resize(static_cast<std::size_t>(N));
    p.multiplicities.assign(static_cast<std::size_t>(N), 0);
    for (int i = 0; i < N; i++) {
        int g = 0;
        for (int k = 0; k < A->orbitlength[i]; k++)
            g = std::gcd(g, A->multiplicity[i] * B->multiplicity[A->orbits[i][k]]);
        if (A->orbitlength[i] == 0 || g == 0)
            continue;
        std::vector<int>& row = p.rows[static_cast<std::size_t>(i)];
        for (int k = 0; k < A->orbitlength[i]; k++) {
            const int j = A->orbits[i][k];
            const int copies = A->multiplicity[i] * B->multiplicity[j] / g;
            for (int c = 0; c < copies; c++)
                row.insert(row.end(), B->orbits[j], B->orbits[j] + B->orbitlength[j]);
        }
        int& m = p.multiplicities[static_cast<std::size_t>(i)];
        m = g;
        if (!row.empty()) {
            m = g * fold(row);
            p.divisor = std::gcd(p.divisor, m);
        }
        p.leftAlgebra.insert(
            p.leftAlgebra.end(),
            static_cast<std::size_t>(vacuumEntries(row.data(), static_cast<int>(row.size()))), i);
    }
    return p;
}

int conjugateOrSelf(int conjugate, int i) {
    return conjugate >= 0 ? conjugate : i;
}

} // namespace

// ============================================================ Folding

int removeRedundancy(int* orbit, int size, int* factor) {
    if (size <= 0) {
        *factor = 0;
        return 0;
    }
    std::sort(orbit, orbit + size);
    std::vector<std::pair<int, int>> runs; // label, count
    for (int k = 0; k < size; k++)
        if (runs.empty() || runs.back().first != orbit[k])
            runs.emplace_back(orbit[k], 1);
        else
            runs.back().second++;
    int f = 0;
    for (const auto& run : runs)
        f = std::gcd(f, run.second);
    int n = 0;
    for (const auto& [label, count] : runs)
        for (int c = 0; c < count / f; c++)
            orbit[n++] = label;
    *factor = f;
    return n;
}

// ============================================================ Transpose

BulkInvariant* reflectBulkInvariant(BulkInvariant* bi) {
    if (bi->symmetric == 1)
        return bi;
    BulkInvariant* work = workRecord(transposeWork);
    // Transposing the work record itself reads a copy: the record is rebuilt as it is read.
    std::unique_ptr<BulkInvariant> copy;
    if (bi == work) {
        copy.reset(allocNewBulkInvariant(nullptr));
        copyBulkInvariant(copy.get(), bi);
        bi = copy.get();
    }
    const int N = bi->Nprimaries;
    std::vector<std::vector<int>> columns = transposedColumns(bi);
    std::vector<int> multiplicities(static_cast<std::size_t>(N), 0);
    for (int j = 0; j < N; j++)
        multiplicities[static_cast<std::size_t>(j)] = fold(columns[static_cast<std::size_t>(j)]);
    work->trivial = work->conjugation = work->symmetric = 0;
    work->simpleCurrentInvariant = bi->simpleCurrentInvariant;
    work->IshibashiLabelCount = bi->IshibashiLabelCount;
    clearStringFindings(work);
    layOutRows(work, columns, multiplicities, bi->orbitspace, "reflectBulkInvariant", 0);
    const std::vector<int> vacuumPartners(bi->orbits[0], bi->orbits[0] + bi->orbitlength[0]);
    setLeftExtension(work, vacuumPartners, "reflectBulkInvariant", 1);
    work->right_extension = work->orbits[0];
    return work;
}

void transposeNamedBulkInvariant(const char* name1, const char* name2) {
    BulkInvariant* source = name1 ? getBulkInvariantForUserInput(name1) : *getCurrentBulk();
    if (!source)
        return;
    BulkInvariant* result = storeBulkInvariant(name2, reflectBulkInvariant(source), 1, 1);
    if (name1 || !result)
        return;
    // The work record is rebuilt by the next transpose; the current invariant must not change
    // with it, so it gets the local record.
    if (result == transposeWork.get()) {
        copyBulkInvariant(getLocalBulk(), result);
        result = getLocalBulk();
    }
    setCurrentBulkInvariant(result);
}

// ============================================================ Conjugation

void conjugateBulkInvariant(BulkInvariant* bi) {
    if (bi->conjugation) {
        bi->trivial = bi->simpleCurrentInvariant = 1;
        bi->conjugation = 0;
        makeTrivialGroup(bi->MD);
    } else if (bi->trivial) {
        bi->trivial = bi->simpleCurrentInvariant = 0;
        bi->conjugation = 1;
    } else {
        bi->trivial = bi->simpleCurrentInvariant = bi->conjugation = 0;
    }
    for (int i = 0; i < bi->Nprimaries; i++) {
        for (int k = 0; k < bi->orbitlength[i]; k++)
            bi->orbits[i][k] = conjugateOrSelf(getConjugate(bi->orbits[i][k]), bi->orbits[i][k]);
        sortLabels(bi->orbits[i], bi->orbitlength[i]);
    }
    // The diagonal of Z C is not that of Z: count the labels of the new matrix.
    bi->IshibashiLabelCount = bi->trivial ? bi->Nprimaries : LabelCount(bi);
}

void conjugateNamedBulkInvariant(const char* name1, const char* name2) {
    BulkInvariant* source = name1 ? getBulkInvariantForUserInput(name1) : *getCurrentBulk();
    if (!source)
        return;
    BulkInvariant* work = workRecord(conjugationWork);
    resetBulkInvariant(work);
    copyBulkInvariant(work, source);
    conjugateBulkInvariant(work);
    if (name1) {
        storeOwnedBulkInvariant(name2, conjugationWork, 1);
        return;
    }
    if (BulkInvariant* result = storeOwnedBulkInvariant(nullptr, conjugationWork, 1))
        setCurrentBulkInvariant(result);
}

void setConjugationInvariant() {
    BulkInvariant* bi = getLocalBulk();
    resetBulkInvariant(bi);
    bi->simpleCurrentInvariant = 0;
    bi->conjugation = 1;
    bi->symmetric = 1;
    bi->trivial = 0;
    clearStringFindings(bi);
    int selfConjugate = 0;
    for (int i = 0; i < bi->Nprimaries; i++) {
        bi->orbits[i][0] = conjugateOrSelf(getConjugate(i), i);
        if (bi->orbits[i][0] == i)
            selfConjugate++;
    }
    bi->IshibashiLabelCount = selfConjugate;
    setCurrentBulkInvariant(bi);
    if (param(Par::Autostore))
        storeBulkInvariant(nullptr, bi, 1, 1);
}

// ============================================================ Products

// An operand built by number is the search's candidate record, which building the second operand
// by number overwrites: the first is copied before.
int multiplyBulkInvariants(const char* name1, const char* name2, const char* name3, int display) {
    BulkInvariant* A = name1 ? getBulkInvariantForUserInput(name1) : nullptr;
    std::unique_ptr<BulkInvariant> firstCopy;
    if (A && findNamedBulkInvariant(A->name.c_str()) != A) {
        firstCopy.reset(allocNewBulkInvariant(nullptr));
        copyBulkInvariant(firstCopy.get(), A);
        A = firstCopy.get();
    }
    BulkInvariant* B = A && name2 ? getBulkInvariantForUserInput(name2) : nullptr;
    if (!A || !B || A->Nprimaries != B->Nprimaries)
        return 1;
    const int N = A->Nprimaries;
    BulkInvariant* P = workRecord(productWork);
    resetBulkInvariant(P);
    ProductRows rows = productRows(A, B);
    // The area is what the lists need: the bound by the vacuum rows can be too small, and a cut
    // list would store a wrong invariant.
    layOutRows(P, rows.rows, rows.multiplicities, 0, "multiplyBulkInvariants", 1);
    P->simpleCurrentInvariant = 0;
    P->trivial = A->trivial * B->trivial;
    P->conjugation = 0;
    setLeftExtension(P, rows.leftAlgebra, "multiplyBulkInvariants", 1);
    if (rows.divisor > 0)
        for (int i = 0; i < N; i++)
            P->multiplicity[i] /= rows.divisor;
    P->right_extension = P->orbits[0];
    const int vacuumInRowZero = vacuumEntries(rows.rows[0].data(), P->orbitlength[0]);
    const int vacuumInAlgebra =
        vacuumEntries(rows.leftAlgebra.data(), static_cast<int>(rows.leftAlgebra.size()));
    const bool normalizable = !rows.leftAlgebra.empty() && rows.divisor > 0 &&
                              vacuumInRowZero * P->multiplicity[0] * vacuumInAlgebra == 1;
    if (!normalizable) {
        Print("Invariant not normalizable\n");
        P->symmetric = -1;
        clearStringFindings(P);
        P->IshibashiLabelCount = 0;
        printBulkInvariant(P, 0);
        return 1;
    }
    P->IshibashiLabelCount = P->trivial ? N : LabelCount(P);
    P->symmetric = 0;
    clearStringFindings(P);
    if (compareBulkInvariants(reflectBulkInvariant(P), P) == 0)
        P->symmetric = 1;
    if (display == 1)
        printBulkInvariant(P, 0);
    BulkInvariant* result = storeOwnedBulkInvariant(name3, productWork, 1);
    return result ? 0 : 1;
}

void autoSwap(int* modmat, int size, int i, int j) {
    modmat[i * size + i] = 0;
    modmat[i * size + j] = 1;
}
