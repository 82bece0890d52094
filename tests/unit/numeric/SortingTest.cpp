#include "numeric/Sorting.h"

#include "base/Error.h"
#include "numeric/VectorUtility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <numeric>
#include <random>
#include <vector>

namespace {

using Row3 = std::array<int, 3>;

int* rowAt(VectorSpace& s, int r) {
    return s.Space + s.rowsize * r;
}

// All rows 0..n-1 of the collection's payload, in row order.
std::vector<Row3> rowsOf(VectorSpace& s) {
    std::vector<Row3> rows;
    for (int r = 0; r < s.Nfill; r++)
        rows.push_back({rowAt(s, r)[0], rowAt(s, r)[1], rowAt(s, r)[2]});
    return rows;
}

// In-order walk along the links kept in the rows: must give the rows in increasing order.
void inOrder(VectorSpace& s, int node, std::vector<int>& out) {
    if (node < 0)
        return;
    inOrder(s, rowAt(s, node)[s.rowsize - 2], out);
    out.push_back(node);
    inOrder(s, rowAt(s, node)[s.rowsize - 1], out);
}

std::vector<Row3> allTriples(int range) {
    std::vector<Row3> rows;
    for (int a = 0; a < range; a++)
        for (int b = -range; b < range; b++)
            for (int c = 0; c < 2; c++)
                rows.push_back({a, b, c});
    return rows;
}

int sumOrder(int size, int* a, int* b) {
    int sa = std::accumulate(a, a + size, 0);
    int sb = std::accumulate(b, b + size, 0);
    return sa < sb ? -1 : (sa > sb ? 1 : 0);
}

TEST(SortingTest, ShuffledRowsTraverseInOrderAndAreFound) {
    std::vector<Row3> rows = allTriples(5); // 100 distinct rows
    std::vector<Row3> shuffled = rows;
    std::mt19937 gen(7);
    std::shuffle(shuffled.begin(), shuffled.end(), gen);

    VectorSpace s = declareVectorSpace("sorted set", 10);
    initVectorCollection(&s, 3, 4);
    for (const Row3& r : shuffled) {
        int before = s.Nfill;
        addVectorToCollection(&s, const_cast<int*>(r.data()));
        EXPECT_EQ(s.Nfill, before + 1);
    }
    ASSERT_EQ(s.Nfill, static_cast<int>(rows.size()));

    // Rows never move: row i is the i-th inserted payload.
    EXPECT_EQ(rowsOf(s), shuffled);
    for (std::size_t i = 0; i < shuffled.size(); i++)
        EXPECT_EQ(findVectorInCollection(&s, const_cast<int*>(shuffled[i].data())),
                  static_cast<int>(i));
    Row3 absent{9, 9, 9};
    EXPECT_EQ(findVectorInCollection(&s, absent.data()), -1);

    std::vector<int> walk;
    inOrder(s, 0, walk);
    std::vector<Row3> walked;
    for (int r : walk)
        walked.push_back(shuffled[r]);
    EXPECT_EQ(walked, rows); // allTriples is generated in lexicographic order

    int* order =
        OrderVectorCollection(&s, [](int n, int* a, int* b) { return compareVec(n, a, b); });
    ASSERT_NE(order, nullptr);
    for (std::size_t i = 0; i < rows.size(); i++)
        EXPECT_EQ(shuffled[order[i]], rows[i]);
    // The guard word stands after the last row.
    EXPECT_EQ(s.Space[s.rowsize * s.Nrow], VectorSpaceGuard);
}

int depth(VectorSpace& s, int node) {
    if (node < 0)
        return 0;
    return 1 + std::max(depth(s, rowAt(s, node)[s.rowsize - 2]),
                        depth(s, rowAt(s, node)[s.rowsize - 1]));
}

// Rows appended without links, in orders that would make the insertion tree a list, are all
// found after balancing, and the tree is shallow. Row 0 stays the root wherever it falls in the
// order; a column of widely spread values is sorted by comparison instead of by counting.
TEST(SortingTest, BalancedLinksForRowsAppendedInOrder) {
    std::vector<Row3> rows = allTriples(12); // 576 rows in increasing order
    std::vector<Row3> wide = rows;
    for (Row3& r : wide)
        r[1] *= 1000003;
    std::vector<Row3> descending(rows.rbegin(), rows.rend());
    std::vector<Row3> middleFirst = rows;
    std::rotate(middleFirst.begin(), middleFirst.begin() + 300, middleFirst.end());
    for (const std::vector<Row3>* order : {&rows, &wide, &descending, &middleFirst}) {
        VectorSpace s = declareVectorSpace("appended", 10);
        initVectorCollection(&s, 3, 4);
        for (const Row3& r : *order) {
            std::copy(r.begin(), r.end(), rowAt(s, s.Nfill));
            addVectorToSpace(&s);
        }
        balanceVectorCollection(&s);
        for (std::size_t i = 0; i < order->size(); i++)
            ASSERT_EQ(findVectorInCollection(&s, const_cast<int*>((*order)[i].data())),
                      static_cast<int>(i));
        Row3 absent{5, 99, 0};
        EXPECT_EQ(findVectorInCollection(&s, absent.data()), -1);
        std::vector<int> walk;
        inOrder(s, 0, walk);
        std::vector<Row3> walked;
        for (int r : walk)
            walked.push_back((*order)[static_cast<std::size_t>(r)]);
        EXPECT_TRUE(std::is_sorted(walked.begin(), walked.end()));
        EXPECT_EQ(walked.size(), order->size());
        EXPECT_LE(depth(s, 0), 12) << "576 rows: about log2(576) + 2 levels";
    }
}

TEST(SortingTest, DuplicateIsNotStoredAndScratchRowStays) {
    VectorSpace s = declareVectorSpace("dups", 10);
    initVectorCollection(&s, 2, 5);
    int v[2] = {4, 1};
    int* first = addVectorToCollection(&s, v);
    int* again = addVectorToCollection(&s, v);
    EXPECT_EQ(s.Nfill, 1);
    EXPECT_EQ(first, again);
    EXPECT_EQ(findVectorInCollection(&s, v), 0);
}

TEST(SortingTest, EmptyCollectionFindsNothing) {
    VectorSpace s = declareVectorSpace("empty", 10);
    initVectorCollection(&s, 2, 5);
    int v[2] = {0, 0};
    EXPECT_EQ(findVectorInCollection(&s, v), -1);
}

TEST(SortingTest, IdentificationSizeLimitsComparison) {
    VectorSpace s = declareVectorSpace("idsize", 10);
    initVectorCollection(&s, 3, 5);
    setIdentificationSize(&s, 1);
    int a[3] = {1, 2, 3};
    int b[3] = {1, 7, 7};
    int c[3] = {2, 7, 7};
    addVectorToCollection(&s, a);
    addVectorToCollection(&s, b);
    EXPECT_EQ(s.Nfill, 1);
    addVectorToCollection(&s, c);
    EXPECT_EQ(s.Nfill, 2);
    EXPECT_EQ(findVectorInCollection(&s, b), 0); // only the first int decides
    EXPECT_EQ(s.Space[1], 2);                    // the stored row keeps its own payload
}

TEST(SortingTest, CountedCollectionAddsMultiplicities) {
    VectorSpace s = declareVectorSpace("counted", 10);
    initCountedVectorCollection(&s, 2, 3);
    int* scratch = s.Space;
    scratch[0] = 3;
    scratch[1] = 4;
    EXPECT_EQ(addToCountedCollection(&s, 2), 0);
    scratch = s.Space + s.rowsize * s.Nfill;
    scratch[0] = 3;
    scratch[1] = 4;
    EXPECT_EQ(addToCountedCollection(&s, 3), 0);
    EXPECT_EQ(s.Nfill, 1);
    EXPECT_EQ(s.Space[2], 5);

    // Many payloads with random multiplicities: the counts equal the sums per payload.
    VectorSpace t = declareVectorSpace("counted2", 10);
    initCountedVectorCollection(&t, 2, 3);
    std::map<std::pair<int, int>, int> expected;
    std::mt19937 gen(3);
    for (int i = 0; i < 500; i++) {
        int x = static_cast<int>(gen() % 6), y = static_cast<int>(gen() % 6) - 3;
        int m = static_cast<int>(gen() % 5) + 1;
        int* row = t.Space + t.rowsize * t.Nfill;
        row[0] = x;
        row[1] = y;
        int idx = addToCountedCollection(&t, m);
        expected[{x, y}] += m;
        EXPECT_EQ(t.Space[t.rowsize * idx], x);
        EXPECT_EQ(t.Space[t.rowsize * idx + 1], y);
    }
    ASSERT_EQ(t.Nfill, static_cast<int>(expected.size()));
    for (int r = 0; r < t.Nfill; r++) {
        int* row = t.Space + t.rowsize * r;
        EXPECT_EQ(row[2], (expected[{row[0], row[1]}])) << "row " << r;
    }
}

TEST(SortingTest, GrowthStepsRestartFromDeclaredIncrement) {
    VectorSpace s = declareVectorSpace("growth", 100);
    initVectorCollection(&s, 1, 5);
    EXPECT_EQ(s.Nrow, 6);
    int v[1];
    for (int i = 0; i < 5; i++) {
        v[0] = i;
        addVectorToCollection(&s, v);
    }
    EXPECT_EQ(s.Nfill, 5);
    EXPECT_EQ(s.Nrow, 106);
    for (int i = 5; i < 104; i++) {
        v[0] = i;
        addVectorToCollection(&s, v);
    }
    EXPECT_EQ(s.Nrow, 106);
    v[0] = 104;
    addVectorToCollection(&s, v); // the 105th insertion
    EXPECT_EQ(s.Nrow, 206);
    for (int i = 105; i < 205; i++) {
        v[0] = i;
        addVectorToCollection(&s, v);
    }
    EXPECT_EQ(s.Nrow, 406);
    EXPECT_EQ(s.Space[s.rowsize * s.Nrow], VectorSpaceGuard);
    for (int i = 0; i < 205; i++) {
        v[0] = i;
        EXPECT_EQ(findVectorInCollection(&s, v), i);
    }
}

TEST(SortingTest, ReinitialisationRecutsLargeEnoughBlock) {
    VectorSpace s = declareVectorSpace("recut", 100);
    initVectorCollection(&s, 10, 999); // 1000 rows of 12 ints
    ASSERT_EQ(s.Nrow, 1000);
    int* block = s.Space;
    initVectorCollection(&s, 4, 1999);
    EXPECT_EQ(s.Space, block);
    EXPECT_EQ(s.rowsize, 6);
    EXPECT_EQ(s.Nrow, 2000);
    EXPECT_EQ(s.Nfill, 0);
    EXPECT_EQ(s.Space[6 * 2000], VectorSpaceGuard);
    initVectorCollection(&s, 4, 2000); // one row too many: grows
    EXPECT_EQ(s.Nrow, 2001);
    EXPECT_EQ(s.Space[6 * 2001], VectorSpaceGuard);
}

// A freed collection holds nothing and takes a new block on its next use; freeing twice is
// harmless, as the owner's destructor may follow a reset.
TEST(SortingTest, FreedCollectionIsEmptyAndUsableAgain) {
    OwnedVectorSpace owned("owned", 7);
    VectorSpace& s = owned.space;
    initVectorCollection(&s, 3, 4);
    for (int r = 0; r < 20; r++) {
        int v[] = {r, -r, 1};
        addVectorToCollection(&s, v);
    }
    ASSERT_EQ(rowCount(&s), 20);
    freeVectorCollection(&s);
    EXPECT_EQ(s.Space, nullptr);
    EXPECT_EQ(rowCount(&s), 0);
    EXPECT_EQ(s.increment, 7);
    freeVectorCollection(&s);
    initVectorCollection(&s, 3, 2);
    int v[] = {5, 6, 7};
    addVectorToCollection(&s, v);
    EXPECT_EQ(findVectorInCollection(&s, v), 0);
    EXPECT_EQ(s.Space[s.rowsize * s.Nrow], VectorSpaceGuard);
}

TEST(SortingTest, RemovalMovesLaterRowsUpAndKeepsLookUp) {
    VectorSpace s = declareVectorSpace("remove", 10);
    initVectorCollection(&s, 3, 4);
    std::vector<Row3> rows = {{5, 0, 0}, {1, 0, 0}, {9, 0, 0}, {3, 0, 0}, {7, 0, 0}};
    for (Row3& r : rows)
        addVectorToCollection(&s, r.data());

    removeVectorFromCollection(&s, 4); // the last row
    rows.erase(rows.begin() + 4);
    EXPECT_EQ(rowsOf(s), rows);
    removeVectorFromCollection(&s, 0); // the root
    rows.erase(rows.begin());
    EXPECT_EQ(rowsOf(s), rows);
    for (std::size_t i = 0; i < rows.size(); i++)
        EXPECT_EQ(findVectorInCollection(&s, rows[i].data()), static_cast<int>(i));
    Row3 gone{5, 0, 0};
    EXPECT_EQ(findVectorInCollection(&s, gone.data()), -1);
    std::vector<int> walk;
    inOrder(s, 0, walk);
    EXPECT_EQ(walk, (std::vector<int>{0, 2, 1})); // 1, 3, 9 in increasing order
}

TEST(SortingTest, ReindexAfterChangingRowsInPlace) {
    VectorSpace s = declareVectorSpace("reindex", 10);
    initVectorCollection(&s, 1, 4);
    for (int i = 0; i < 6; i++) {
        int v[1] = {i};
        addVectorToCollection(&s, v);
    }
    for (int r = 0; r < 6; r++)
        s.Space[s.rowsize * r] = 100 - 10 * r; // reverse the order
    reindexVectorCollection(&s);
    for (int r = 0; r < 6; r++) {
        int v[1] = {100 - 10 * r};
        EXPECT_EQ(findVectorInCollection(&s, v), r);
    }
}

TEST(SortingTest, CopyIntoLargerBlockKeepsBlockAndCopiesRows) {
    VectorSpace src = declareVectorSpace("source", 10);
    initVectorCollection(&src, 3, 4);
    std::vector<Row3> rows = {{2, 2, 2}, {1, 1, 1}, {3, 3, 3}};
    for (Row3& r : rows)
        addVectorToCollection(&src, r.data());

    VectorSpace dst = declareVectorSpace("destination", 50);
    initVectorCollection(&dst, 8, 100);
    int* block = dst.Space;
    copyVectorCollection(&dst, &src);
    EXPECT_EQ(dst.Space, block);
    EXPECT_STREQ(dst.name, "destination");
    EXPECT_EQ(dst.Nfill, src.Nfill);
    EXPECT_EQ(dst.Nrow, src.Nrow);
    EXPECT_EQ(dst.rowsize, src.rowsize);
    EXPECT_EQ(dst.increment, src.increment);
    EXPECT_EQ(rowsOf(dst), rows);
    EXPECT_EQ(dst.Space[dst.rowsize * dst.Nrow], VectorSpaceGuard);
    for (Row3& r : rows)
        EXPECT_GE(findVectorInCollection(&dst, r.data()), 0);
}

TEST(SortingTest, ZeroIncrementEndsProcess) {
    EXPECT_EXIT(
        {
            VectorSpace s = declareVectorSpace("nostep", 0);
            initVectorCollection(&s, 1, 3);
            int v[1] = {1};
            addVectorToCollection(&s, v);
        },
        testing::ExitedWithCode(0), "Zero increment for nostep");
}

TEST(SortingTest, DamagedGuardIsReported) {
    VectorSpace s = declareVectorSpace("guarded", 10);
    initVectorCollection(&s, 1, 3);
    s.Space[s.rowsize * s.Nrow] = 0; // a write past the last row
    testing::internal::CaptureStderr();
    int v[1] = {1};
    addVectorToCollection(&s, v);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("!!!!! Overflow in allocation of vector space guarded\n"),
              std::string::npos);
    EXPECT_EQ(s.Nfill, 1); // the run goes on
}

TEST(SortingTest, OrderingTiesStayInRowOrder) {
    VectorSpace s = declareVectorSpace("ties", 10);
    initVectorCollection(&s, 2, 4);
    int rows[][2] = {{3, 0}, {1, 1}, {0, 2}, {0, 0}, {2, 1}};
    for (auto& r : rows)
        addVectorToCollection(&s, r);
    int* order = OrderVectorCollection(&s, sumOrder); // sums 3, 2, 2, 0, 3
    std::vector<int> got(order, order + 5);
    EXPECT_EQ(got, (std::vector<int>{3, 1, 2, 0, 4}));
    EXPECT_EQ(OrderVectorCollection(nullptr, sumOrder), nullptr);

    static std::vector<int> firsts;
    firsts.clear();
    OrderedActionOnCollection(
        &s,
        [](int, int* row, void*) {
            firsts.push_back(row[0]);
            return 0;
        },
        [](int n, int* a, int* b, void*) { return sumOrder(n, a, b); });
    EXPECT_EQ(firsts, (std::vector<int>{0, 1, 0, 3, 2}));
}

TEST(SortingTest, PlainTableAndDistinctRows) {
    AllocCount stat = ALLOC_COUNTER("SortingTest");
    VectorSpace* t = NewVectorSpace(2, 2, 5, &stat, "plain");
    EXPECT_STREQ(t->name, "plain");
    int rows[][2] = {{1, 2}, {3, 4}, {1, 2}, {0, 0}, {3, 4}, {5, 5}};
    for (auto& r : rows)
        addNewVectorToSpace(t, r);
    EXPECT_EQ(t->Nfill, 6); // no look-up: duplicates are appended
    static std::vector<int> seen;
    seen.clear();
    int marker = 42;
    actOnDistinct(
        t,
        [](int size, int* row, void* data) {
            EXPECT_EQ(size, 2);
            EXPECT_EQ(*static_cast<int*>(data), 42);
            seen.push_back(row[0] * 10 + row[1]);
            return 0;
        },
        &marker);
    EXPECT_EQ(seen, (std::vector<int>{12, 34, 0, 55}));
    std::vector<int> Gt(6), Lt(6);
    EXPECT_EQ(AddToIndex(t, 0, Gt.data(), Lt.data()), 1);
    EXPECT_EQ(AddToIndex(t, 1, Gt.data(), Lt.data()), 1);
    EXPECT_EQ(AddToIndex(t, 2, Gt.data(), Lt.data()), 0);
}

TEST(SortingTest, CountedCollectionPrintsByDecreasingCount) {
    VectorSpace s = declareVectorSpace("printed", 10);
    initCountedVectorCollection(&s, 1, 3);
    for (int count : {2, 5, 2}) {
        s.Space[s.rowsize * s.Nfill] = 10 * count + s.Nfill; // distinct payloads
        addToCountedCollection(&s, count);
    }
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    printCountedVectorCollection(&s);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "\nTotal number of cases in collection: 3\n\n5 x   (51)\n2 x   (20)\n"
                   "2 x   (22)\n");
    VectorSpace e = declareVectorSpace("printed empty", 10);
    initCountedVectorCollection(&e, 1, 3);
    testing::internal::CaptureStdout();
    printCountedVectorCollection(&e);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Empty collection\n");
    TerminalOutputOff();
}

TEST(SortingTest, CollectStoresInNamedArea) {
    int* storage = nullptr;
    int fill = 0;
    int a[3] = {1, 2, 3};
    int b[3] = {1, 2, 4};
    EXPECT_EQ(Collect(&storage, "SortingTestCollect", 3, a, &fill), -1);
    EXPECT_EQ(fill, 1);
    EXPECT_EQ(Collect(&storage, "SortingTestCollect", 3, b, &fill), -1);
    EXPECT_EQ(fill, 2);
    EXPECT_EQ(Collect(&storage, "SortingTestCollect", 3, a, &fill), 0);
    EXPECT_EQ(Collect(&storage, "SortingTestCollect", 3, b, &fill), 1);
    EXPECT_EQ(fill, 2);
    EXPECT_EQ(storage[3], 1);
    EXPECT_EQ(storage[5], 4);
    for (int i = 0; i < 100; i++) { // growth keeps earlier rows
        int v[3] = {i, i, i};
        Collect(&storage, "SortingTestCollect", 3, v, &fill);
    }
    EXPECT_EQ(fill, 102);
    EXPECT_EQ(Collect(&storage, "SortingTestCollect", 3, b, &fill), 1);
    EXPECT_EQ(Collect(&storage, "SortingTestCollect", 0, b, &fill), 0);
}

TEST(SortingTest, CharRowsInsertOnceAndLinkBytes) {
    CharVectorSpace s = declareCharVectorSpace("bytes", 4);
    initCharVectorCollection(&s, 2, 2);
    const char rows[][2] = {{'b', 'a'}, {'a', 'z'}, {'b', 'a'}, {'c', 'c'}, {'a', 'z'}};
    for (auto& r : rows) {
        char* scratch = s.Space + s.rowsize * s.Nfill;
        scratch[0] = r[0];
        scratch[1] = r[1];
        addToCharCollection(&s);
    }
    EXPECT_EQ(s.Nfill, 3);
    EXPECT_EQ(s.Space[s.rowsize * s.Nrow], 'z');
    // Row 0 is the root; 'a','z' hangs to its less side, 'c','c' to its greater side.
    EXPECT_EQ(static_cast<signed char>(s.Space[2]), 1);
    EXPECT_EQ(static_cast<signed char>(s.Space[3]), 2);
}

TEST(SortingTest, NamedVectorArrayKeepsDistinctVectors) {
    VectorArray* v = initVectorArray("SortingTestArray", 16, nullptr, nullptr);
    ASSERT_NE(v, nullptr);
    ASSERT_NE(resetVectorArray("SortingTestArray", 2, 3, 0), nullptr);
    int rows[][3] = {{2, 1, 9}, {1, 5, 8}, {2, 1, 7}, {0, 0, 6}, {3, 3, 5}, {1, 5, 4}};
    for (auto& r : rows)
        addVectorToArray(v, r);
    EXPECT_EQ(v->fill, 4); // two rows equal on their first two entries
    int probe[3] = {1, 5, 0};
    int* found = findVectorInArray(v, probe);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found[2], 8);
    int missing[3] = {1, 6, 0};
    EXPECT_EQ(findVectorInArray(v, missing), nullptr);
    for (int i = 0; i < 40; i++) { // growth past the first block
        int r[3] = {10 + i, 0, i};
        addVectorToArray(v, r);
    }
    EXPECT_EQ(v->fill, 44);
    EXPECT_NE(findVectorInArray(v, probe), nullptr);
    EXPECT_EQ(findNamedVectorArray("SortingTestArray"), v);
    EXPECT_EQ(findVectorArray(nullptr, "x"), nullptr);
    EXPECT_EQ(resetVectorArray("SortingTestNoSuchArray", 1, 1, 0), nullptr);
}

TEST(SortingTest, PiecewiseComparisonOrdersByRunSums) {
    int labels[4] = {0, 0, 1, 1};
    int a[4] = {1, 1, 0, 5};
    int b[4] = {2, 0, 9, 9};
    int c[4] = {0, 3, 0, 0};
    EXPECT_EQ(pcwComp(4, a, b, labels), 1);  // run sums 2 = 2, then 5 < 18
    EXPECT_EQ(pcwComp(4, c, a, labels), -1); // first run: 3 > 2
    EXPECT_EQ(pcwComp(4, a, c, labels), 1);
    int d[4] = {1, 1, 2, 3};
    EXPECT_EQ(pcwComp(4, a, d, labels), compareVec(4, a, d)); // all run sums equal
}

} // namespace
