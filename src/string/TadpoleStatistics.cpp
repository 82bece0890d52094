// Statistics of the gauge groups of few-brane solutions. A solution is recorded by its stack
// signature: per stack N + 10000 (Sp(N)), N + 20000 (U(N)) or N + 30000 (O(N)), in descending
// order, padded with 0.
#include "base/Error.h"
#include "base/Output.h"
#include "numeric/Sorting.h"
#include "string/Intersections.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/Tadpole.h"
#include "string/TadpoleInternal.h"
#include "string/TadpoleSolver.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr int MaxStacks = 1000;
constexpr int MaxGroupCode = 40000;
constexpr int MaxDimension = 9999;
constexpr int MaxRank = 19999;

VectorSpace SimpleSolutionStatistics_0 = declareVectorSpace("SimpleSolutionStatistics", 1000);
VectorSpace SimpleSolutionStatisticsPerCase_0 =
    declareVectorSpace("SimpleSolutionStatisticsPerCase", 1000);
int ChirCount = 0;

int signatureLength(const VectorSpace* S) {
    return S->id_size;
}

void record(VectorSpace* S, const std::vector<int>& signature) {
    if (!S->Space)
        return;
    const int n = signatureLength(S);
    int* scratch = rowOf(S, S->Nfill);
    for (int k = 0; k < n; k++)
        scratch[k] =
            k < static_cast<int>(signature.size()) ? signature[static_cast<std::size_t>(k)] : 0;
    addToCountedCollection(S, 1);
}

int groupCode(int type, int N) {
    return N + (type == -1 ? 10000 : type == 0 ? 20000 : 30000);
}

bool validMaxbrane(int maxbrane) {
    if (maxbrane >= 4 && maxbrane <= MaxStacks)
        return true;
    Alert("initSimpleSolutionStatistics", 0, 100302,
          "Maximal number of branes %d out of range (4 to %d)", maxbrane, MaxStacks);
    return false;
}

// Counts per value and number of branes; rows appear in increasing value.
using Table = std::map<int, std::vector<int>>;

void addToTable(Table& t, int value, int branes, int B, int count) {
    if (branes < 1)
        return;
    auto& row = t[value];
    row.resize(static_cast<std::size_t>(B), 0);
    row[static_cast<std::size_t>(branes - 1)] += count;
}

void printTable(const char* title, const Table& t) {
    Print("%s", title);
    for (const auto& [value, row] : t)
        printStatisticsRow(value, static_cast<int>(row.size()), row.data());
}

void printGroups(const char* title, const char* fmt, int offset, const std::vector<int>& groups) {
    Print("%s", title);
    for (int N = 0; N <= 9999; N++)
        if (groups[static_cast<std::size_t>(offset + N)] != 0)
            Print(fmt, N, groups[static_cast<std::size_t>(offset + N)]);
}

struct Summary {
    int B = 2;
    int total = 0;
    std::vector<int> groups = std::vector<int>(MaxGroupCode, 0);
    std::vector<int> branes;
    Table dimension, rank, containing;
};

void summariseRow(Summary& s, const int* row, int count, int maxbrane) {
    const int n = getNumberOfBranes(row, maxbrane);
    s.total += count;
    if (n >= 1)
        s.branes[static_cast<std::size_t>(n - 1)] += count;
    int totalDim = 0, totalRank = 0;
    std::vector<int> ranks;
    for (int k = 0; k < std::min(s.B, maxbrane); k++) {
        int dim = 0, rk = 0;
        getDimensionAndRank(row[k], &dim, &rk);
        totalDim += dim;
        totalRank += rk;
        // Rank 0 counts as contained only through an O(1) stack.
        if (rk > 0 || row[k] == 30001)
            ranks.push_back(rk);
    }
    std::sort(ranks.begin(), ranks.end());
    ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
    if (totalDim <= MaxDimension)
        addToTable(s.dimension, totalDim, n, s.B, count);
    if (totalRank <= MaxRank)
        addToTable(s.rank, totalRank, n, s.B, count);
    for (int r : ranks)
        if (r <= MaxRank)
            addToTable(s.containing, r, n, s.B, count);
    for (int k = 0; k < std::min(4, maxbrane); k++)
        if (row[k] >= 0 && row[k] < MaxGroupCode)
            s.groups[static_cast<std::size_t>(row[k])] += count;
}

} // namespace

void getDimensionAndRank(int g, int* dim, int* rank) {
    *dim = 0;
    *rank = 0;
    if (g >= 10001 && g <= 19999) {
        const int r = (g - 10000) / 2;
        *rank = r;
        *dim = r * (2 * r + 1);
    } else if (g >= 20001 && g <= 29999) {
        const int N = g - 20000;
        *rank = N;
        *dim = N * N;
    } else if (g >= 30001) {
        const int N = g - 30000;
        *dim = N * (N - 1) / 2;
        *rank = N / 2;
    }
}

int getNumberOfBranes(const int* v, int maxbrane) {
    for (int k = 0; k < maxbrane; k++)
        if (v[k] == 0)
            return k;
    return maxbrane;
}

void printStatisticsRow(int value, int size, const int* row) {
    int sum = 0;
    for (int k = 0; k < size; k++)
        sum += row[k];
    if (sum == 0)
        return;
    Print("%5d: ", value);
    for (int k = 0; k < size; k++)
        Print("%6d ", row[k]);
    Print("\n");
}

int simpleSolutionStatistics(ChanPatonData* CPD) {
    std::vector<int> signature;
    for (int i = 0; i < CPD->Nactive && static_cast<int>(signature.size()) < MaxStacks; i++)
        if (CPD->dims[static_cast<std::size_t>(i)] != 0)
            signature.push_back(groupCode(CPD->Types[static_cast<std::size_t>(i)],
                                          CPD->dims[static_cast<std::size_t>(i)]));
    std::sort(signature.begin(), signature.end(), std::greater<>());
    record(&SimpleSolutionStatistics_0, signature);
    record(&SimpleSolutionStatisticsPerCase_0, signature);
    if (tadpole::parameter("Super") && checkSolutionChirality(CPD))
        ChirCount++;
    return 1;
}

int initSimpleSolutionStatistics(int maxbrane) {
    if (!validMaxbrane(maxbrane))
        return 0;
    initCountedVectorCollection(&SimpleSolutionStatistics_0, maxbrane, 10000);
    return 1;
}

int initSimpleSolutionStatisticsPerCase(int maxbrane) {
    if (!validMaxbrane(maxbrane))
        return 0;
    initCountedVectorCollection(&SimpleSolutionStatisticsPerCase_0, maxbrane, 10000);
    return 1;
}

void printGenericSimpleSolutionStatistics(VectorSpace* S) {
    if (!S->Space || S->Nfill == 0) {
        Print("No solutions\n");
        return;
    }
    const int maxbrane = signatureLength(S);
    Summary s;
    for (int i = 0; i < S->Nfill; i++)
        s.B = std::max(s.B, getNumberOfBranes(rowOf(S, i), maxbrane));
    s.branes.assign(static_cast<std::size_t>(s.B), 0);
    for (int i = 0; i < S->Nfill; i++)
        summariseRow(s, rowOf(S, i), rowOf(S, i)[maxbrane], maxbrane);
    Print("Total number of solutions: %d\n", s.total);
    printGroups("Orthogonal groups:\n", "O(%d):  %d\n", 30000, s.groups);
    printGroups("Unitary groups:\n", "U(%d):  %d\n", 20000, s.groups);
    printGroups("Symplectic groups:\n", "Sp(%d):  %d\n", 10000, s.groups);
    Print("Trivial factors:\n");
    for (int code = 0; code <= 9999; code++)
        if (s.groups[static_cast<std::size_t>(code)] != 0)
            Print("%d\n", s.groups[static_cast<std::size_t>(code)]);
    printTable("Total Dimension:\n", s.dimension);
    printTable("Total Rank:\n", s.rank);
    printTable("Number of models containing rank:\n", s.containing);
    Print("Number of solutions divided according to number of branes:\n");
    if (std::any_of(s.branes.begin(), s.branes.end(), [](int c) { return c != 0; })) {
        Print("%5d: ", s.total);
        for (int c : s.branes)
            Print("%6d ", c);
        Print("\n");
    }
}

void printSimpleSolutionStatistics() {
    printGenericSimpleSolutionStatistics(&SimpleSolutionStatistics_0);
}

void printSimpleSolutionStatisticsPerCase() {
    printGenericSimpleSolutionStatistics(&SimpleSolutionStatisticsPerCase_0);
}

int getChiralCount() {
    return ChirCount;
}

void resetChiralCount() {
    ChirCount = 0;
}
