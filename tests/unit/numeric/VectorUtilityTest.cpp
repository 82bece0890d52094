#include "numeric/VectorUtility.h"

#include "base/Error.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::contains;
using testsupport::outputOf;

// What a printer wrote on a file stream.
template <class F> std::string fileOutputOf(F&& f) {
    FILE* fp = std::tmpfile();
    f(fp);
    std::rewind(fp);
    std::string text;
    for (int c = std::fgetc(fp); c != EOF; c = std::fgetc(fp))
        text += static_cast<char>(c);
    std::fclose(fp);
    return text;
}

FILE* streamWith(const char* text) {
    FILE* fp = std::tmpfile();
    std::fputs(text, fp);
    std::rewind(fp);
    return fp;
}

std::vector<int> V(std::initializer_list<int> v) {
    return v;
}

// ---------------------------------------------------------------- element-wise helpers

TEST(VectorUtilityElementwise, NonPositiveLengthsDoNothing) {
    int to[3] = {7, 8, 9};
    const int from[3] = {1, 2, 3};
    for (int size : {0, -1, -5}) {
        copyVec(size, to, from);
        nullifyVec(size, to);
        signFlip(size, to);
        addVec(size, from, from, to);
    }
    EXPECT_EQ(to[0], 7);
    EXPECT_EQ(to[1], 8);
    EXPECT_EQ(to[2], 9);
    EXPECT_EQ(vecSum(from, 0), 0);
    EXPECT_EQ(dotProd(from, from, -2), 0);
}

TEST(VectorUtilityElementwise, DestinationComesFirst) {
    int to[3] = {0, 0, 0};
    const int from[3] = {4, -5, 6};
    copyVec(3, to, from);
    EXPECT_EQ(V({to[0], to[1], to[2]}), V({4, -5, 6}));
    signFlip(3, to);
    EXPECT_EQ(V({to[0], to[1], to[2]}), V({-4, 5, -6}));
    int sum[3];
    addVec(3, from, to, sum);
    EXPECT_EQ(V({sum[0], sum[1], sum[2]}), V({0, 0, 0}));
    nullifyVec(2, to);
    EXPECT_EQ(V({to[0], to[1], to[2]}), V({0, 0, -6}));
    double d[2] = {1.5, 2.5}, e[2] = {0, 0};
    copyDoubleVec(2, e, d);
    EXPECT_EQ(e[1], 2.5);
    nullifyDoubleVec(1, e);
    EXPECT_EQ(e[0], 0.0);
    EXPECT_EQ(e[1], 2.5);
    char c[4] = {'a', 'b', 'c', 'd'};
    blankVec(3, c);
    EXPECT_EQ(std::string(c, 4), "   d");
}

TEST(VectorUtilityElementwise, SumsProductsAndSwaps) {
    const int a[4] = {1, -2, 3, 4};
    const int b[4] = {2, 2, 2, -1};
    EXPECT_EQ(vecSum(a, 4), 6);
    EXPECT_EQ(dotProd(a, b, 4), 2 - 4 + 6 - 4);
    const double x[3] = {0.5, 1.5, -2}, y[3] = {2, 2, 0.25};
    EXPECT_DOUBLE_EQ(dotProdD(x, y, 3), 3.5);
    int m[6] = {1, 2, 3, 4, 5, 6};
    swapRows(m, 3, 0, 1);
    EXPECT_EQ(V({m[0], m[1], m[2], m[3], m[4], m[5]}), V({4, 5, 6, 1, 2, 3}));
    swapEntries(m, 0, 5);
    EXPECT_EQ(m[0], 3);
    EXPECT_EQ(m[5], 4);
    int bits[5];
    generateBinaryVector(13, 5, bits);
    EXPECT_EQ(V({bits[0], bits[1], bits[2], bits[3], bits[4]}), V({1, 0, 1, 1, 0}));
}

// ---------------------------------------------------------------- comparisons and searches

TEST(VectorUtilityCompare, LexicographicOrders) {
    const int a[3] = {1, 2, 3}, b[3] = {1, 3, 0};
    EXPECT_EQ(compareVec(3, a, b), -1);
    EXPECT_EQ(compareVec(3, b, a), 1);
    EXPECT_EQ(compareVec(3, a, a), 0);
    EXPECT_EQ(compareVec(0, a, b), 0);
    const int c[2] = {3, 1}, d[2] = {1, 2};
    EXPECT_EQ(InverseCompareVec(2, c, d), -1);
    EXPECT_EQ(compareVec(2, c, d), 1);
    const char p[2] = {-1, 5}, q[2] = {1, 0};
    EXPECT_EQ(compareCharVec(2, p, q), -1); // characters compare as signed
    const double x[2] = {1.0, 2.0}, y[2] = {1.0 + 9e-8, 2.0 - 5e-8}, z[2] = {1.0, 2.001};
    EXPECT_EQ(compareDoubleVec(2, x, y), 1);
    EXPECT_EQ(compareDoubleVec(2, x, z), 0);
}

TEST(VectorUtilityCompare, DisorderedVectorsIgnoreMultiplicity) {
    const int a[3] = {1, 2, 2}, b[3] = {2, 1, 1}, c[3] = {1, 2, 4};
    EXPECT_EQ(compareDisorderedVectors(3, a, b), 1);
    EXPECT_EQ(compareDisorderedVectors(3, a, c), 0);
    EXPECT_EQ(compareDisorderedVectors(3, c, a), 0);
    EXPECT_EQ(compareDisorderedVectors(3, nullptr, a), 0);
    EXPECT_EQ(compareDisorderedVectors(0, a, c), 1);
}

TEST(VectorUtilityCompare, ZeroTestsAndLeadingSign) {
    const int z[3] = {0, 0, 0}, v[3] = {0, -2, 5};
    EXPECT_EQ(zeroVectorCheck(3, z), 1);
    EXPECT_EQ(zeroVectorCheck(3, v), 0);
    EXPECT_EQ(zeroVectorCheck(0, v), 1);
    const double d[2] = {1e-7, -1e-8}, e[2] = {0, 2e-7};
    EXPECT_EQ(zeroDoubleVectorCheck(2, d), 1);
    EXPECT_EQ(zeroDoubleVectorCheck(2, e), 0);
    EXPECT_EQ(getLeadingEntrySign(3, v), -1);
    EXPECT_EQ(getLeadingEntrySign(3, z), 0);
    EXPECT_EQ(getLeadingEntrySign(0, v), 0);
}

TEST(VectorUtilityCompare, PresentIntersectAndInvolution) {
    const int v[3] = {4, 7, 7};
    EXPECT_EQ(Present(v, 3, 7), 1);
    EXPECT_EQ(Present(v, 3, 5), -1);
    EXPECT_EQ(Present(nullptr, 3, 7), -1);
    EXPECT_EQ(Present(v, 0, 4), -1);
    const int si[4] = {1, 2, 3, 2}, sj[3] = {2, 3, 5};
    int sc[4], len = -1;
    Intersect(si, sj, sc, 4, 3, &len);
    ASSERT_EQ(len, 3);
    EXPECT_EQ(V({sc[0], sc[1], sc[2]}), V({2, 3, 2}));
    const int inv[3] = {1, 0, 2}, cycle[3] = {1, 2, 0}, outside[3] = {3, 0, 1};
    EXPECT_EQ(CheckInvolution(3, inv), 1);
    EXPECT_EQ(CheckInvolution(3, cycle), 0);
    EXPECT_EQ(CheckInvolution(3, outside), 0);
    EXPECT_EQ(CheckInvolution(0, outside), 1);
}

// ---------------------------------------------------------------- ordering helpers

int inversionParity(const std::vector<int>& v, bool increasing) {
    int inversions = 0;
    for (size_t i = 0; i < v.size(); ++i)
        for (size_t j = i + 1; j < v.size(); ++j)
            inversions += increasing ? v[i] > v[j] : v[i] < v[j];
    return inversions % 2 == 0 ? 1 : -1;
}

TEST(VectorUtilityOrder, SortsReturnPermutationSign) {
    int a[3] = {3, 1, 2};
    EXPECT_EQ(orderVectorUp(3, a), 1);
    EXPECT_EQ(V({a[0], a[1], a[2]}), V({1, 2, 3}));
    int b[2] = {1, 2};
    EXPECT_EQ(orderVector(2, b), -1);
    EXPECT_EQ(V({b[0], b[1]}), V({2, 1}));
    EXPECT_EQ(orderVectorUp(1, b), 1);
    // The sign is the parity of the inversions undone.
    const std::vector<std::vector<int>> cases = {
        {5, 4, 3, 2, 1}, {2, 9, 4, 7, 1, 8}, {1, 2, 3}, {6, 1, 5, 2, 4, 3, 0}, {2, 2, 1}};
    for (const auto& c : cases) {
        std::vector<int> up = c, down = c;
        EXPECT_EQ(orderVectorUp(static_cast<int>(up.size()), up.data()), inversionParity(c, true));
        EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
        EXPECT_EQ(orderVector(static_cast<int>(down.size()), down.data()),
                  inversionParity(c, false));
        EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));
    }
}

TEST(VectorUtilityOrder, ReorderStaysInsideRuns) {
    const int pre[5] = {0, 0, 1, 1, 1};
    int v[5] = {1, 2, 3, 1, 2};
    EXPECT_EQ(reorderVector(5, pre, v), 1); // one exchange per run
    EXPECT_EQ(V({v[0], v[1], v[2], v[3], v[4]}), V({2, 1, 3, 2, 1}));
    const int pre2[3] = {0, 1, 1};
    int w[3] = {1, 2, 5};
    EXPECT_EQ(reorderVector(3, pre2, w), -1);
    EXPECT_EQ(V({w[0], w[1], w[2]}), V({1, 5, 2}));
}

TEST(VectorUtilityOrder, RevertRemoveAndNormalize) {
    int r[4] = {1, 2, 3, 4};
    revertVector(4, r);
    EXPECT_EQ(V({r[0], r[1], r[2], r[3]}), V({4, 3, 2, 1}));
    int u[5] = {5, 3, 5, 3, 1};
    ASSERT_EQ(removeIdentical(u, 5), 3);
    EXPECT_EQ(V({u[0], u[1], u[2]}), V({5, 3, 1}));
    int n[3] = {0, -4, 6};
    NormalizeIntegerVector(3, n);
    EXPECT_EQ(V({n[0], n[1], n[2]}), V({0, 2, -3}));
    int z[2] = {0, 0};
    NormalizeIntegerVector(2, z);
    EXPECT_EQ(V({z[0], z[1]}), V({0, 0}));
}

// ---------------------------------------------------------------- IntegerList

TEST(VectorUtilityIntegerList, DistinctEntriesInInsertionOrder) {
    IntegerList A;
    EXPECT_EQ(findInList(&A, 3), -1); // never reserved
    initList(&A, 2);
    EXPECT_EQ(findInList(&A, 3), -1); // empty
    for (int v : {3, 8, 3, -1, 8, 0})
        addToList(&A, v);
    ASSERT_EQ(A.cnt, 4);
    EXPECT_EQ(V({A.list[0], A.list[1], A.list[2], A.list[3]}), V({3, 8, -1, 0}));
    EXPECT_EQ(findInList(&A, -1), 2);
    // Growing far past the first reservation keeps every entry and the guards intact.
    for (int v = 100; v < 400; ++v)
        addToList(&A, v);
    EXPECT_EQ(A.cnt, 304);
    EXPECT_EQ(findInList(&A, 399), 303);
    EXPECT_EQ(findInList(&A, 8), 1);
    std::string out = outputOf([&] { A.list.check(); });
    EXPECT_EQ(out, "");
    initList(&A, 5);
    EXPECT_EQ(A.cnt, 0);
    EXPECT_EQ(findInList(&A, 3), -1);
}

// ---------------------------------------------------------------- flat storages

TEST(VectorUtilityStorage, LinearLookup) {
    const int storage[6] = {1, 2, 3, 4, 1, 2};
    const int rep[2] = {1, 2}, other[2] = {3, 4}, absent[2] = {2, 1};
    EXPECT_EQ(lookup(rep, storage, 2, 3), 0);
    EXPECT_EQ(lookup(other, storage, 2, 3), 1);
    EXPECT_EQ(lookup(absent, storage, 2, 3), -1);
    EXPECT_EQ(lookup(rep, storage, 0, 3), 0);
    EXPECT_EQ(lookup(rep, storage, -1, 0), 0);
    EXPECT_EQ(lookup(rep, storage, 2, 0), -1);
}

TEST(VectorUtilityStorage, OrderedLookupFindsEveryRowAndMissesQuietly) {
    // Seven sorted rows of two entries.
    const int storage[14] = {0, 1, 0, 5, 1, 0, 1, 1, 2, 7, 3, 3, 9, 0};
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(Orderedlookup(storage + 2 * row, storage, 2, 7), row);
    const int misses[][2] = {{-1, 0}, {0, 3}, {1, 2}, {4, 4}, {10, 0}};
    for (const auto& m : misses) {
        int r = 0;
        std::string out = outputOf([&] { r = Orderedlookup(m, storage, 2, 7); });
        EXPECT_EQ(r, -1);
        EXPECT_EQ(out, "");
    }
}

TEST(VectorUtilityStorage, OrderedLookupMissInOneOrTwoRowsIsNoOrderingError) {
    const int storage[4] = {1, 1, 2, 2};
    const int below[2] = {0, 0}, between[2] = {1, 5}, above[2] = {3, 0};
    for (int fill : {1, 2})
        for (const int* rep : {below, between, above}) {
            int r = 0;
            std::string out = outputOf([&] { r = Orderedlookup(rep, storage, 2, fill); });
            EXPECT_EQ(r, -1);
            EXPECT_EQ(out, "") << fill;
        }
}

TEST(VectorUtilityStorage, OrderedLookupOnEmptyStorageReports) {
    const int rep[1] = {0};
    int r = 0;
    std::string out = outputOf([&] { r = Orderedlookup(rep, rep, 1, 0); });
    EXPECT_EQ(r, -1);
    EXPECT_TRUE(contains(out, "Suspect ordering error in storage")) << out;
}

TEST(VectorUtilityStorage, StoreVectorDeduplicatesAndReportsOverflow) {
    int storage[8] = {};
    int fill = 0;
    const int a[2] = {1, 2}, b[2] = {3, 4}, c[2] = {5, 6}, d[2] = {7, 8};
    EXPECT_EQ(StoreVector(a, storage, 2, &fill, 2), 0);
    EXPECT_EQ(StoreVector(b, storage, 2, &fill, 2), 1);
    EXPECT_EQ(StoreVector(a, storage, 2, &fill, 2), 0);
    EXPECT_EQ(fill, 2);
    int r = 0;
    std::string out = outputOf([&] { r = StoreVector(c, storage, 2, &fill, 2); });
    EXPECT_EQ(r, -1);
    EXPECT_EQ(fill, 3); // the row is stored all the same
    EXPECT_EQ(storage[4], 5);
    EXPECT_TRUE(contains(out, "Internal storage overflow")) << out;
    EXPECT_EQ(StoreVector(d, storage, -1, &fill, 2), 0);
    EXPECT_EQ(fill, 3);
}

TEST(VectorUtilityStorage, CountedStorage) {
    int storage[40] = {}, cnt[20] = {};
    int fill = 0;
    const int a[2] = {1, 2}, zero[2] = {0, 0};
    EXPECT_EQ(AddVectorToStorage(a, storage, cnt, 2, 0, &fill, 20), -1);
    EXPECT_EQ(AddVectorToStorage(zero, storage, cnt, 2, 3, &fill, 20), -1);
    EXPECT_EQ(AddVectorToStorage(a, storage, cnt, 0, 3, &fill, 20), -1);
    EXPECT_EQ(fill, 0);
    EXPECT_EQ(AddVectorToStorage(a, storage, cnt, 2, 3, &fill, 20), 0);
    EXPECT_EQ(AddVectorToStorage(a, storage, cnt, 2, -1, &fill, 20), 0);
    EXPECT_EQ(fill, 1);
    EXPECT_EQ(cnt[0], 2);
    // Rows 2 to 15 go in silently, the 16th distinct row brings the non-fatal report.
    for (int k = 1; k < 15; ++k) {
        const int row[2] = {k, 0};
        std::string out =
            outputOf([&] { EXPECT_EQ(AddVectorToStorage(row, storage, cnt, 2, 1, &fill, 20), k); });
        EXPECT_EQ(out, "");
    }
    const int sixteenth[2] = {99, 0};
    std::string out = outputOf(
        [&] { EXPECT_EQ(AddVectorToStorage(sixteenth, storage, cnt, 2, 1, &fill, 20), 15); });
    EXPECT_TRUE(contains(out, "Internal storage overflow (NOT FATAL)")) << out;
    EXPECT_EQ(fill, 16);
}

TEST(VectorUtilityStorageDeathTest, CountedStorageFullEndsTheProcess) {
    int storage[4] = {}, cnt[2] = {};
    int fill = 0;
    const int a[2] = {1, 2}, b[2] = {3, 4};
    AddVectorToStorage(a, storage, cnt, 2, 1, &fill, 2);
    EXPECT_EXIT(AddVectorToStorage(b, storage, cnt, 2, 1, &fill, 2), testing::ExitedWithCode(1),
                "Internal storage overflow");
}

// ---------------------------------------------------------------- printing and files

TEST(VectorUtilityPrint, IntegerVectors) {
    const int v[3] = {1, 2, 3};
    EXPECT_EQ(outputOf([&] { printVec(3, v, "v"); }), "v  (1,2,3)\n");
    EXPECT_EQ(outputOf([&] { printVec(0, v, "v"); }), "");
    EXPECT_EQ(fileOutputOf([&](FILE* fp) { printVecToFile(1, v, "w", fp); }), "w  (1)\n");
    const char c[2] = {-3, 65};
    EXPECT_EQ(outputOf([&] { printCharVec(2, c, "c"); }), "c  (-3,65)\n");
    EXPECT_EQ(fileOutputOf([&](FILE* fp) { writeVec(3, fp, v); }), "1 2 3 \n");
    EXPECT_EQ(outputOf([&] { printSingleDigitVec(3, v); }), "123\n");
    EXPECT_EQ(outputOf([&] { printSingleDigitVec(0, v); }), "");
    const int m[4] = {1, -2, 3, 4};
    EXPECT_EQ(outputOf([&] { printMatrix(m, 2); }), "1 -2 \n3 4 \n\n");
}

TEST(VectorUtilityPrint, ToString) {
    const int v[2] = {-1, 20};
    char buffer[64];
    char* end = printVecToString(2, v, "t", buffer);
    EXPECT_EQ(std::string(buffer), "t  (-1,20)\n");
    EXPECT_EQ(end, buffer + 11);
    EXPECT_EQ(printVecToString(0, v, "t", buffer), buffer);
}

TEST(VectorUtilityPrint, DoubleVectorsWrapAfterEightEntries) {
    const double half[1] = {0.5};
    EXPECT_EQ(outputOf([&] { printDoubleVec(1, half, "x"); }), "x ( 0.5000)\n");
    double v[10];
    for (int i = 0; i < 10; ++i)
        v[i] = i;
    const std::string eight = " 0.0000, 1.0000, 2.0000, 3.0000, 4.0000, 5.0000, 6.0000, 7.0000,";
    // Nine entries: the eighth is followed by the last, so no break.
    EXPECT_EQ(outputOf([&] { printDoubleVec(9, v, "ab"); }), "ab (" + eight + " 8.0000)\n");
    EXPECT_EQ(fileOutputOf([&](FILE* fp) { printDoubleVecToFile(10, v, "ab", fp); }),
              "ab (" + eight + "\n     8.0000, 9.0000)\n");
    const double m[4] = {1, 0.5, -2, 0};
    EXPECT_EQ(outputOf([&] { printDoubleMatrix(m, 2); }),
              "      1.0000000       0.5000000 \n     -2.0000000       0.0000000 \n\n");
}

TEST(VectorUtilityFiles, ReadVectorFromFile) {
    int line[3] = {9, 9, 9};
    FILE* empty = streamWith("");
    int r = 0;
    std::string out = outputOf([&] { r = readVectorFromFile(empty, line, 3); });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(out, "");
    std::fclose(empty);
    FILE* fp = streamWith("1 -2\n 3\t4\n");
    EXPECT_EQ(readVectorFromFile(fp, line, 3), 0);
    EXPECT_EQ(V({line[0], line[1], line[2]}), V({1, -2, 3}));
    out = outputOf([&] { r = readVectorFromFile(fp, line, 3); });
    EXPECT_EQ(r, 2);
    EXPECT_EQ(line[0], 4);
    EXPECT_TRUE(contains(out, "Premature end-of-file")) << out;
    std::fclose(fp);
}

TEST(VectorUtilityFiles, AddVectorToFileAppendsLines) {
    char name[] = "/tmp/tarvik_vecXXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    const int a[3] = {1, -2, 3}, b[1] = {40};
    addVectorToFile(name, 3, a);
    addVectorToFile(name, 1, b);
    FILE* fp = std::fopen(name, "r");
    ASSERT_NE(fp, nullptr);
    std::string text;
    for (int c = std::fgetc(fp); c != EOF; c = std::fgetc(fp))
        text += static_cast<char>(c);
    std::fclose(fp);
    std::remove(name);
    EXPECT_EQ(text, "1 -2 3 \n40 \n");
}

TEST(VectorUtilityFilesDeathTest, AddVectorToFileEndsWhenTheFileCannotBeOpened) {
    const int a[1] = {1};
    EXPECT_EXIT(addVectorToFile("/nonexistent_dir_tarvik/x", 1, a), testing::ExitedWithCode(1),
                "Cannot open file /nonexistent_dir_tarvik/x");
}

// ---------------------------------------------------------------- double and complex vectors

TEST(VectorUtilityComplex, InnerProductIsConjugateLinearInTheFirst) {
    // v1 = (i, 1), v2 = (1, i): conj(v1).v2 = -i + i = 0.
    const double r1[2] = {0, 1}, i1[2] = {1, 0}, r2[2] = {1, 0}, i2[2] = {0, 1};
    double f1, f2;
    ComplexInnerProduct(2, r1, i1, r2, i2, &f1, &f2);
    EXPECT_DOUBLE_EQ(f1, 0);
    EXPECT_DOUBLE_EQ(f2, 0);
    EXPECT_EQ(ComplexOrthogonalityCheck(2, r1, i1, r2, i2), 1);
    // v1 = (i), v2 = (1): conj(i).1 = -i.
    ComplexInnerProduct(1, r1, i1, r2, i2, &f1, &f2);
    EXPECT_DOUBLE_EQ(f1, 0);
    EXPECT_DOUBLE_EQ(f2, -1);
    EXPECT_EQ(ComplexOrthogonalityCheck(1, r1, i1, r2, i2), 0);
    double re[2] = {3, 0}, im[2] = {4, 0};
    EXPECT_DOUBLE_EQ(ComplexNorm(2, re, im), 25);
    NormalizeComplexVec(2, re, im);
    EXPECT_DOUBLE_EQ(re[0], 0.6);
    EXPECT_DOUBLE_EQ(im[0], 0.8);
    EXPECT_NEAR(ComplexNorm(2, re, im), 1, 1e-15);
}

struct Basis {
    int size;
    std::vector<double> rows;
    std::vector<int> tags;
    int count = 0;
    explicit Basis(int n) : size(n), rows(n * n, 0.0), tags(2 * n, -1) {}
    void sweep(std::vector<double> v, int noTag = -1, const int* max = nullptr) {
        DoubleSweep(v.data(), rows.data(), size, &count, tags.data(), noTag, max);
    }
    double at(int row, int col) const { return rows[row * size + col]; }
};

TEST(VectorUtilityDoubleSweep, KeepsReducedRowEchelonForm) {
    Basis b(3);
    b.sweep({1, 1, 0});
    b.sweep({0, 1, 1});
    EXPECT_EQ(b.count, 2);
    b.sweep({1, 2, 1}); // the sum of the first two
    EXPECT_EQ(b.count, 2);
    EXPECT_EQ(b.at(0, 0), 1.0);
    EXPECT_EQ(b.at(0, 1), 0.0);
    EXPECT_EQ(b.at(0, 2), -1.0);
    b.sweep({0, 0, 2});
    ASSERT_EQ(b.count, 3);
    // Three independent vectors of R^3 reduce to the identity.
    for (int v = 0; v < 3; ++v) {
        int pivot = b.tags[v];
        EXPECT_EQ(b.tags[3 + pivot], v);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(b.at(v, c), c == pivot ? 1.0 : 0.0);
    }
}

TEST(VectorUtilityDoubleSweep, PivotChoice) {
    Basis largest(3);
    largest.sweep({1, -4, 3});
    EXPECT_EQ(largest.tags[0], 1); // the largest absolute entry
    EXPECT_DOUBLE_EQ(largest.at(0, 0), -0.25);
    Basis weighted(3);
    const int max[3] = {5, 0, 1};
    weighted.sweep({1, 2, 3}, -1, max);
    EXPECT_EQ(weighted.tags[0], 0); // the largest weight wins over the largest entry
    Basis noWeight(3);
    const int none[3] = {0, -1, 0};
    noWeight.sweep({1, 2, 3}, -1, none);
    EXPECT_EQ(noWeight.count, 0);
    Basis untagged(3);
    untagged.sweep({2, 0, 0}, 0);
    EXPECT_EQ(untagged.count, 0); // column 0 may never be a pivot
    untagged.sweep({2, 1e-8, 1}, 0);
    EXPECT_EQ(untagged.count, 1);
    EXPECT_EQ(untagged.tags[0], 2);
    EXPECT_EQ(untagged.at(0, 1), 0.0); // below the tolerance: cleared
}

// ---------------------------------------------------------------- determinants

TEST(VectorUtilityDeterminant, HandWorkedMatrices) {
    double swap[4] = {0, 1, 1, 0};
    EXPECT_DOUBLE_EQ(Determinant(swap, 2), -1);
    double singular[9] = {1, 2, 3, 2, 4, 6, 0, 1, 1};
    EXPECT_DOUBLE_EQ(Determinant(singular, 3), 0);
    // 2(12 - 2) - 0 + 1(1 - 3) = 18
    double m3[9] = {2, 0, 1, 1, 3, 2, 1, 1, 4};
    EXPECT_NEAR(Determinant(m3, 3), 18, 1e-12);
    // Vandermonde of 1, 2, 3, 4: the product of the differences, 1*2*3*1*2*1 = 12.
    double vdm[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            vdm[i * 4 + j] = std::pow(i + 1, j);
    EXPECT_NEAR(Determinant(vdm, 4), 12, 1e-9);
    EXPECT_DOUBLE_EQ(Determinant(nullptr, 0), 1);
}

TEST(VectorUtilityDeterminant, ComplexMatrices) {
    double dr, di;
    double r1[4] = {0, 0, 0, 0}, i1[4] = {1, 0, 0, 1}; // diag(i, i)
    ComplexDeterminant(r1, i1, 2, &dr, &di);
    EXPECT_NEAR(dr, -1, 1e-12);
    EXPECT_NEAR(di, 0, 1e-12);
    double r2[4] = {1, 0, 0, 1}, i2[4] = {0, 1, 1, 0}; // ((1, i), (i, 1)): 1 - i^2 = 2
    ComplexDeterminant(r2, i2, 2, &dr, &di);
    EXPECT_NEAR(dr, 2, 1e-12);
    EXPECT_NEAR(di, 0, 1e-12);
    double r3[4] = {0, 1, 2, 0}, i3[4] = {0, 1, 0, 0}; // ((0, 1+i), (2, 0)): -2 - 2i
    ComplexDeterminant(r3, i3, 2, &dr, &di);
    EXPECT_NEAR(dr, -2, 1e-12);
    EXPECT_NEAR(di, -2, 1e-12);
    double r4[4] = {1, 2, 2, 4}, i4[4] = {1, 2, 2, 4}; // rank one
    ComplexDeterminant(r4, i4, 2, &dr, &di);
    EXPECT_NEAR(dr, 0, 1e-12);
    EXPECT_NEAR(di, 0, 1e-12);
    ComplexDeterminant(nullptr, nullptr, 0, &dr, &di);
    EXPECT_EQ(dr, 1);
    EXPECT_EQ(di, 0);
}

// ---------------------------------------------------------------- integer elimination

TEST(VectorUtilityElimination, NormalizeAndSimplifyRows) {
    int row[3] = {2, -4, 6};
    EXPECT_EQ(NormalizeRow(row, 3, 0), 0);
    EXPECT_EQ(V({row[0], row[1], row[2]}), V({-1, 2, -3}));
    int zero[2] = {0, 0};
    EXPECT_EQ(NormalizeRow(zero, 2, 0), 1);
    // 2 * (3, 5, 1) - 3 * (2, 1, 0) = (0, 7, 2)
    int m[6] = {2, 1, 0, 3, 5, 1};
    EXPECT_EQ(SimplifyRow(m, 3, 1, 0, 0), 0);
    EXPECT_EQ(V({m[3], m[4], m[5]}), V({0, 7, 2}));
    int dep[4] = {1, 2, 3, 6};
    EXPECT_EQ(SimplifyRow(dep, 2, 1, 0, 0), 1);
}

TEST(VectorUtilityElimination, LinearSweepHandExample) {
    // 2x + y = 5, x + 3y = 10: x = 1, y = 3.
    int sys[6] = {2, 1, 5, 1, 3, 10};
    EXPECT_EQ(LinearSweep(sys, 2, 3), 0);
    EXPECT_EQ(V({sys[0], sys[1], sys[2], sys[3], sys[4], sys[5]}), V({1, 0, 1, 0, 1, 3}));
    int pivotZero[4] = {0, 1, 1, 0};
    EXPECT_EQ(LinearSweep(pivotZero, 2, 2), 1);
    int tooFew[4] = {1, 2, 3, 4};
    int r = 0;
    std::string out = outputOf([&] { r = LinearSweep(tooFew, 2, 1); });
    EXPECT_EQ(r, -1);
    EXPECT_TRUE(contains(out, "Too few variables in LinearSweep")) << out;
}

std::vector<int> product(const int* a, const int* b, int n) {
    std::vector<int> p(n * n, 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                p[i * n + j] += a[i * n + k] * b[k * n + j];
    return p;
}

std::vector<int> scaledIdentity(int n, int d) {
    std::vector<int> id(n * n, 0);
    for (int i = 0; i < n; ++i)
        id[i * n + i] = d;
    return id;
}

TEST(VectorUtilityElimination, MatInvSmallCases) {
    const int diag[4] = {2, 0, 0, 3};
    int inv[4];
    EXPECT_EQ(MatInv(diag, inv, 2), 6);
    EXPECT_EQ(V({inv[0], inv[1], inv[2], inv[3]}), V({3, 0, 0, 2}));
    // The inverse of the A2 Cartan matrix is ((2, 1), (1, 2)) / 3.
    const int cartan[4] = {2, -1, -1, 2};
    EXPECT_EQ(MatInv(cartan, inv, 2), 3);
    EXPECT_EQ(V({inv[0], inv[1], inv[2], inv[3]}), V({2, 1, 1, 2}));
    const int swap[4] = {0, 1, 1, 0};
    EXPECT_EQ(MatInv(swap, inv, 2), 0); // zero pivot, no row exchange
}

TEST(VectorUtilityElimination, MatInvTimesMatrixIsScaledIdentity) {
    const std::vector<std::vector<int>> matrices = {
        {2, 1, 0, 1, 3, 1, 0, 1, 4},
        {2, -1, 0, 0, -1, 2, -1, 0, 0, -1, 2, -1, 0, 0, -1, 2}, // A4 Cartan matrix
        {4, 1, 2, 1, 5, 3, 2, 3, 7},
    };
    for (const auto& a : matrices) {
        int n = static_cast<int>(std::lround(std::sqrt(a.size())));
        std::vector<int> inv(a.size());
        int d = MatInv(a.data(), inv.data(), n);
        ASSERT_NE(d, 0);
        EXPECT_EQ(product(a.data(), inv.data(), n), scaledIdentity(n, d));
        EXPECT_EQ(product(inv.data(), a.data(), n), scaledIdentity(n, d));
    }
}

TEST(VectorUtilityElimination, CollectEquations) {
    const int nvar = 3;
    std::vector<int> eq(4 * nvar, 0);
    std::vector<int> tags(4, -1);
    int neq = 0;
    auto offer = [&](std::initializer_list<int> row) {
        std::copy(row.begin(), row.end(), eq.begin() + neq * nvar);
        return CollectEquations(eq.data(), tags.data(), &neq, nvar);
    };
    EXPECT_EQ(offer({2, 2, 0}), 1);
    EXPECT_EQ(offer({3, 3, 0}), 0); // a multiple of the first
    EXPECT_EQ(neq, 1);
    EXPECT_EQ(offer({1, 2, 3}), 1);
    EXPECT_EQ(offer({0, 1, 3}), 0); // (1,2,3) - (1,1,0)
    ASSERT_EQ(neq, 2);
    // Each pivot column is zero in the other stored row; rows are primitive.
    for (int k = 0; k < neq; ++k) {
        EXPECT_NE(eq[k * nvar + tags[k]], 0);
        for (int other = 0; other < neq; ++other)
            if (other != k) {
                EXPECT_EQ(eq[other * nvar + tags[k]], 0);
            }
    }
    // (1,1,0) - (0,1,3) has a negative entry, so the row changes sign.
    EXPECT_EQ(V({eq[0], eq[1], eq[2]}), V({-1, 0, 3}));
    EXPECT_EQ(V({eq[3], eq[4], eq[5]}), V({0, 1, 3}));
    int zeroRow[3] = {0, 0, 0}, tag = -1, none = 0;
    EXPECT_EQ(CollectEquations(zeroRow, &tag, &none, 3), 1); // stored without a pivot
    EXPECT_EQ(none, 1);
}

TEST(VectorUtilityElimination, LinearSolveOverTheRationals) {
    // 2x + y = 5, x + 3y = 10.
    int a[4] = {2, 1, 1, 3}, rhs[2] = {5, 10}, sol[2];
    int d = 0;
    std::string out = outputOf([&] { d = LinearSolve(a, rhs, sol, 2); });
    EXPECT_EQ(d, 1);
    EXPECT_EQ(V({sol[0], sol[1]}), V({1, 3}));
    EXPECT_EQ(out, "   (2,1)\n   (0,5)\n   (10,0)\n   (0,5)\n");
    // x + y = 1, x - y = 0: x = y = 1/2.
    int b[4] = {1, 1, 1, -1}, rhs2[2] = {1, 0};
    outputOf([&] { d = LinearSolve(b, rhs2, sol, 2); });
    EXPECT_EQ(d, 2);
    EXPECT_EQ(V({sol[0], sol[1]}), V({1, 1}));
    int c[4] = {0, 1, 1, 0}, rhs3[2] = {1, 1};
    EXPECT_EQ(LinearSolve(c, rhs3, sol, 2), 0);
    EXPECT_EQ(LinearSolve(c, rhs3, sol, 0), 1);
}

// ---------------------------------------------------------------- random permutation

TEST(VectorUtilityRandom, RanVecGivesPermutationAndInverse) {
    for (int n : {1, 2, 7, 40}) {
        int* p = ranVec(n);
        std::vector<int> seen(n, 0);
        for (int i = 0; i < n; ++i) {
            ASSERT_GE(p[i], 0);
            ASSERT_LT(p[i], n);
            ++seen[p[i]];
            EXPECT_EQ(p[n + p[i]], i);
        }
        EXPECT_EQ(seen, std::vector<int>(n, 1));
    }
    EXPECT_NE(ranVec(0), nullptr);
}

} // namespace

TEST(VectorUtilityPrint, ComplexVectorsWithZeroImaginaryPartsPrintAsReal) {
    double re[] = {0.25, 1.5};
    double im0[] = {0.0, 1e-8};
    double im[] = {0.0, -2.0};
    TerminalOutputOn();
    testing::internal::CaptureStdout();
    int real = PrintComplexVec(2, re, im0, "z");
    int complex = PrintComplexVec(2, re, im, "z");
    int empty = PrintComplexVec(0, re, im, "z");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(real, 1);
    EXPECT_EQ(complex, 0);
    EXPECT_EQ(empty, 1);
    EXPECT_EQ(out, "z (Real)\n"
                   "     ( 0.250000000, 1.500000000)\n"
                   "z (Complex)\n"
                   "Re:  ( 0.250000000, 1.500000000)\n"
                   "Im:  ( 0.000000000,-2.000000000)\n");
}
