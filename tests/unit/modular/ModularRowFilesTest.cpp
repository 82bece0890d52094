// Orbit S and P rows kept in files of the output directory. The threshold of 5000 orbits is
// lowered to the 5 orbits of su(2) at level 9 (ten fields, no fixed points), so that the files
// are made in a moment; a second process is a forked child.
#include "modular/Modular.h"

#include "ModularTestHelpers.h"
#include "ProductTestHelpers.h"
#include "TestSupport.h"
#include "base/Defaults.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "modular/ModularInternal.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using modulartest::S;
using modulartest::useBlock;
using testsupport::contains;
namespace fs = std::filesystem;

constexpr int Orbits = 5; // su(2) level 9
constexpr double NotComputed = -99999999.0;

std::vector<double> numbersIn(const std::string& name) {
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<double> values;
    const std::string s = text.str();
    const char* p = s.c_str();
    for (char* end = nullptr;; p = end) {
        const double v = std::strtod(p, &end);
        if (end == p)
            break;
        values.push_back(v);
    }
    return values;
}

void writeNumbers(const std::string& name, const std::vector<double>& values) {
    std::ofstream out(name);
    char number[40];
    for (double v : values) {
        std::snprintf(number, sizeof number, "%a ", v);
        out << number;
    }
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class RowFiles : public testing::Test {
protected:
    void SetUp() override {
        modulartest::registerModularParameters();
        setRowFileLimits(Orbits, 0);
    }
    void TearDown() override {
        setRowFileLimits(0, 0);
        // The next theory starts without the directories of this one.
        useBlock(1, 1, 1);
    }
    static void setOutputDir(const std::string& dir) {
        changeDefault(findInternalParameter("OutputDir")->DF, dir.c_str());
    }
    // su(2) level 9 is computed afresh; what the set-up prints and reports.
    std::string start() {
        std::string printed = testsupport::outputOf([&] {
            TerminalOutputOn();
            sd = useBlock(1, 1, 9);
            initSMATRIX();
            TerminalOutputOff();
        });
        return printed;
    }
    std::string sdir(const std::string& suffix = "") const {
        return out.path() + "/SA1_level_9" + suffix + ".sdir";
    }
    std::string pdir() const { return out.path() + "/SA1_level_9.pdir"; }
    // S between the starts of orbits o and k, as the block computes it.
    double startS(int o, int k, bool imaginary) const {
        int r1 = -1, r2 = -1, n = 0;
        for (int f = 0; f < sd->Nprimaries; f++)
            if (getOrbitStart(f) == f) {
                if (n == o)
                    r1 = f;
                if (n == k)
                    r2 = f;
                n++;
            }
        double re, im;
        SM_getS(sd, std::min(r1, r2), std::max(r1, r2), &re, &im);
        return imaginary ? im : re;
    }
    testsupport::TempOutputDir out;
    SpectrumData* sd = nullptr;
};

// One orbit fewer than the threshold keeps everything in memory: no directory, no P rows.
TEST_F(RowFiles, BelowTheThresholdNoDirectoryIsMade) {
    setRowFileLimits(Orbits + 1, 0);
    EXPECT_EQ(start(), "");
    ASSERT_EQ(getNOrbit(), Orbits);
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 10; j++)
            modulartest::P(i, j);
    writePOrbits();
    EXPECT_TRUE(fs::is_empty(out.path()));
}

// At the threshold the rows go to files: each holds the exact doubles of S between orbit starts,
// real parts and then imaginary parts.
TEST_F(RowFiles, RowsReadBackBitIdentical) {
    const std::string printed = start();
    EXPECT_TRUE(contains(printed, "Creating directory " + sdir() + " for S matrix\n")) << printed;
    EXPECT_TRUE(contains(printed, "Creating directory " + pdir() + " for P matrix\n")) << printed;
    EXPECT_TRUE(fs::exists(sdir() + "/identity"));
    for (int o = 0; o < Orbits; o++) {
        const std::string file = sdir() + "/" + std::to_string(o);
        ASSERT_TRUE(fs::exists(file)) << o;
        const std::vector<double> row = numbersIn(file);
        ASSERT_EQ(row.size(), 2u * Orbits);
        for (int k = 0; k < Orbits; k++) {
            EXPECT_TRUE(sameBits(row[k], startS(o, k, false))) << o << "," << k;
            EXPECT_TRUE(sameBits(row[Orbits + k], startS(o, k, true))) << o << "," << k;
        }
    }
    // S from the rows is S.
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 10; j++) {
            double re, im;
            SM_getS(sd, i, j, &re, &im);
            EXPECT_NEAR(std::abs(S(i, j) - std::complex<double>(re, im)), 0.0, 1e-14);
        }
}

// With the orbit S in row files, one coefficient reads the columns of its own fields, not a table
// of every field: above "S_matrix maxsize", "fusion 0 1 1" brings in fewer rows than there are
// orbits, and every coefficient is the su(2) rule N_ab^c = 1 when |a-b| <= c <= min(a+b, 2k-a-b)
// and a+b+c is even, 0 otherwise.
TEST_F(RowFiles, OneCoefficientReadsOnlyTheRowsItNeeds) {
    setIntPar("S_matrix maxsize", 3);
    start();
    auto rowFiles = [&] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(sdir()))
            n += entry.path().filename() != "identity";
        return n;
    };
    EXPECT_EQ(fusion(0, 1, 1, 0), 1);
    EXPECT_LT(rowFiles(), Orbits);
    const int k = 9;
    for (int x = 0; x < sd->Nprimaries; x++)
        for (int y = 0; y < sd->Nprimaries; y++)
            for (int z = 0; z < sd->Nprimaries; z++) {
                const int a = SM_getRep(sd, x)[0], b = SM_getRep(sd, y)[0], c = SM_getRep(sd, z)[0];
                const bool allowed = std::abs(a - b) <= c && c <= std::min(a + b, 2 * k - a - b) &&
                                     (a + b + c) % 2 == 0;
                EXPECT_EQ(fusion(x, y, z, 0), allowed ? 1 : 0) << a << " " << b << " " << c;
            }
    setIntPar("S_matrix maxsize", 400);
}

// The first product of a theory with the orbit S in row files reads the rows of its own fields
// and of the orbits holding a field it may contain, not every row. At su(2) level 8 (nine fields,
// orbits {0,8}, {1,7}, {2,6}, {3,5} and the fixed point 4) the charge a/2 mod 1 of the simple
// current makes 1 x 0 = 1 contain odd labels only: three of the five rows. Every product so made,
// and every product of a listing, equals the one from the table of S in memory.
TEST_F(RowFiles, ProductsReadOnlyTheRowsTheyNeed) {
    setIntPar("S_matrix maxsize", 3);
    std::vector<char> text(10000);
    auto listing = [&](bool eachFirst) {
        std::string all;
        for (int i = 0; i < sd->Nprimaries; i++)
            for (int j = 0; j < sd->Nprimaries; j++) {
                if (eachFirst)
                    CFTChanged();
                all += std::string(text.data(), compF(text.data(), i, j, 0));
            }
        return all;
    };
    setRowFileLimits(Orbits + 1, 0);
    testsupport::outputOf([&] { sd = useBlock(1, 1, 8); });
    const std::string inMemory = listing(false);
    EXPECT_TRUE(fs::is_empty(out.path()));
    setRowFileLimits(Orbits, 0);
    testsupport::outputOf([&] {
        sd = useBlock(1, 1, 8);
        initSMATRIX();
    });
    const std::string dir = out.path() + "/SA1_level_8.sdir";
    auto rowFiles = [&] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            n += entry.path().filename() != "identity";
        return n;
    };
    ASSERT_EQ(rowFiles(), 1);
    const int one = modulartest::fieldOf(sd, {1});
    const std::string product(text.data(), compF(text.data(), one, 0, 0));
    EXPECT_EQ(product, "(" + std::to_string(one) + ") x (0) =  (" + std::to_string(one) + ") \n\n");
    EXPECT_EQ(rowFiles(), 3);
    EXPECT_EQ(listing(false), inMemory);
    EXPECT_EQ(testsupport::outputOf([&] { EXPECT_EQ(listing(true), inMemory); }), "");
    EXPECT_TRUE(contains(inMemory, " + (")) << inMemory;
    setIntPar("S_matrix maxsize", 400);
}

// A second process finds the directory and reads the rows instead of computing them: a row
// planted in the file is what it serves. A short row is computed again and written whole.
TEST_F(RowFiles, ASecondProcessReadsTheRows) {
    start();
    const std::string vacuumRow = sdir() + "/0";
    writeNumbers(vacuumRow, std::vector<double>(2 * Orbits, 0.25));
    const std::string child = testsupport::stdoutOfChild([&] {
        const std::string printed = start();
        std::printf("%s%.17g\n", printed.c_str(), S(0, 0).real());
        std::fflush(stdout);
    });
    EXPECT_EQ(child, "Reading existing S-matrix from " + sdir() +
                         "\nReading existing P-matrix from " + pdir() + "\n0.25\n");

    writeNumbers(vacuumRow, {0.25, 0.25, 0.25});
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.17g\n", startS(0, 0, false));
    const std::string again = testsupport::stdoutOfChild([&] {
        start();
        std::printf("%.17g\n", S(0, 0).real());
        std::fflush(stdout);
    });
    EXPECT_EQ(again, expected);
    EXPECT_EQ(numbersIn(vacuumRow).size(), 2u * Orbits);
}

// A directory of the same name that belongs to another theory is never read: the rows go to a
// directory of their own, which the next run of this theory finds again.
TEST_F(RowFiles, ForeignDirectoryIsNotReused) {
    fs::create_directories(sdir());
    std::ofstream(sdir() + "/identity") << "theory of another process\n";
    writeNumbers(sdir() + "/0", std::vector<double>(2 * Orbits, 0.5));
    const std::string printed = start();
    EXPECT_TRUE(contains(printed, "Creating directory " + sdir("_2") + " for S matrix\n"))
        << printed;
    EXPECT_NE(S(0, 0).real(), 0.5);
    EXPECT_FALSE(fs::exists(sdir() + "/1"));
    EXPECT_TRUE(contains(start(), "Reading existing S-matrix from " + sdir("_2") + "\n"));
}

// No directory can be made below a plain file: the theory is served from memory after the
// alerts, and its S is right.
TEST_F(RowFiles, UncreatableDirectoryFallsBackToMemory) {
    const std::string blocker = out.path() + "/file";
    std::ofstream(blocker) << "x";
    setOutputDir(blocker + "/below");
    // What start() shows holds the reports as well.
    const std::string reports = start();
    EXPECT_TRUE(contains(reports, "S-matrix directory not created")) << reports;
    EXPECT_TRUE(contains(reports, "P-matrix directory could not be not created")) << reports;
    for (int i = 0; i < 10; i++) {
        double re, im;
        SM_getS(sd, i, 3, &re, &im);
        EXPECT_NEAR(std::abs(S(i, 3) - std::complex<double>(re, im)), 0.0, 1e-14);
    }
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 10; j++)
            modulartest::P(i, j);
    writePOrbits();
}

// Room for fewer than two rows: every element is computed, after the report.
TEST_F(RowFiles, TooSmallACacheComputesDirectly) {
    setRowFileLimits(Orbits, Orbits);
    const std::string reports = start();
    EXPECT_TRUE(contains(reports, "Insufficient space for orbit S storage")) << reports;
    for (int i = 0; i < 10; i++) {
        double re, im;
        SM_getS(sd, i, 7, &re, &im);
        EXPECT_NEAR(std::abs(S(i, 7) - std::complex<double>(re, im)), 0.0, 1e-14);
    }
}

// ---- The disk limit ----

// Rows that would take more disk than "S_matrix maxdisk" are written only on the user's yes. A run
// that cannot ask takes the default no: nothing reaches the disk, and S and P are still served.
TEST_F(RowFiles, RowsBeyondTheDiskLimitStayInMemoryWithoutAYes) {
    setIntPar("S_matrix maxdisk", 0);
    const std::string reports = start();
    setIntPar("S_matrix maxdisk", 2000);
    for (const char* what : {"The S-matrix rows", "The P-matrix rows"})
        EXPECT_TRUE(contains(reports, std::string(what) + " of this theory would take about"))
            << reports;
    EXPECT_TRUE(contains(reports, "Assuming default answer: No")) << reports;
    EXPECT_FALSE(contains(reports, "Creating directory")) << reports;
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 10; j++) {
            double re, im;
            SM_getS(sd, i, j, &re, &im);
            EXPECT_NEAR(std::abs(S(i, j) - std::complex<double>(re, im)), 0.0, 1e-14);
        }
    const std::complex<double> p13 = modulartest::P(1, 3);
    writePOrbits();
    EXPECT_TRUE(fs::is_empty(out.path()));
    // The same P without the orbit rows: P = T^1/2 S T^2 S T^1/2 summed over all fields.
    double re, im;
    computePmatrix(1, 3, &re, &im);
    EXPECT_NEAR(std::abs(p13 - std::complex<double>(re, im)), 0.0, 1e-12);
}

// The limit is in MB of what all rows take: a limit above it writes silently.
TEST_F(RowFiles, RowsWithinTheDiskLimitAreWrittenSilently) {
    setIntPar("S_matrix maxdisk", 1);
    const std::string reports = start();
    setIntPar("S_matrix maxdisk", 2000);
    EXPECT_FALSE(contains(reports, "would take")) << reports;
    EXPECT_TRUE(fs::exists(sdir() + "/0"));
}

// Asked at a terminal, "Yes" writes the rows.
TEST_F(RowFiles, AYesWritesTheRows) {
    const std::string child = testsupport::stdoutOfChild([&] {
        if (!findInternalParameter("interactive"))
            addInternalParameter("interactive", "ON", 't', 0);
        setIntPar("interactive", 1);
        initializeTerminal();
        setIntPar("S_matrix maxdisk", 0);
        testsupport::StdinText answers("Yes\nYes\n");
        start();
        std::printf("%d %d", fs::exists(sdir() + "/0") ? 1 : 0, fs::is_directory(pdir()) ? 1 : 0);
        std::fflush(stdout);
    });
    EXPECT_EQ(child, "1 1");
}

// A directory made before the limit was lowered keeps serving its rows, but no new row goes in.
TEST_F(RowFiles, ARefusedDirectoryIsReadButNotFilled) {
    start();
    const std::string vacuumRow = sdir() + "/0";
    writeNumbers(vacuumRow, std::vector<double>(2 * Orbits, 0.25));
    for (int o = 1; o < Orbits; o++)
        fs::remove(sdir() + "/" + std::to_string(o));
    setIntPar("S_matrix maxdisk", 0);
    const std::string reports = start();
    EXPECT_TRUE(contains(reports, "Reading existing S-matrix from " + sdir() + "\n")) << reports;
    EXPECT_EQ(S(0, 0).real(), 0.25);
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 10; j++)
            S(i, j);
    setIntPar("S_matrix maxdisk", 2000);
    for (int o = 1; o < Orbits; o++)
        EXPECT_FALSE(fs::exists(sdir() + "/" + std::to_string(o))) << o;
}

// ---- P rows ----

// P rows written by writePOrbits are read by a second process: an entry planted in the file is
// the element it serves.
TEST_F(RowFiles, PRowsAreSharedThroughTheirFiles) {
    start();
    const std::complex<double> p05 = modulartest::P(0, 5);
    writePOrbits();
    const std::string row0 = pdir() + "/0";
    std::vector<double> row = numbersIn(row0);
    ASSERT_EQ(row.size() % 2, 0u);
    const int size = static_cast<int>(row.size()) / 2;
    // The orbit of the vacuum starts at 0 with the identity current: column 5 is 5 itself.
    const int d = 5 - (10 - size);
    ASSERT_GE(d, 0);
    EXPECT_TRUE(sameBits(row[d], p05.real()));
    row[d] = 0.125;
    writeNumbers(row0, row);
    const std::string child = testsupport::stdoutOfChild([&] {
        start();
        std::printf("%.17g\n", modulartest::P(0, 5).real());
        std::fflush(stdout);
    });
    EXPECT_EQ(child, "0.125\n");
}

// Two processes that computed different entries of one row (columns 3 and 7, and column 5) keep
// all three, however their writes interleave; a reader never meets a partial row.
TEST_F(RowFiles, ConcurrentWritersMergeTheirColumns) {
    start();
    const std::string dir = out.path() + "/merge";
    fs::create_directories(dir);
    constexpr int Size = 10;
    auto writer = [&](std::vector<int> columns) {
        return [=] {
            std::vector<double> row(2 * Size, NotComputed);
            for (int c : columns) {
                row[c] = c / 10.0;
                row[Size + c] = -c / 10.0;
            }
            for (int n = 0; n < 300; n++)
                writePBaseRow(row.data(), 0, Size, dir.c_str());
        };
    };
    std::vector<pid_t> children;
    for (auto f : {writer({3, 7}), writer({5})}) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            f();
            _exit(0);
        }
        children.push_back(child);
    }
    // Read while they write.
    const std::string partial = testsupport::stdoutOfChild([&] {
        std::vector<double> row(2 * Size);
        int failures = 0;
        for (int n = 0; n < 500; n++)
            if (fs::exists(dir + "/0") && fs::file_size(dir + "/0") > 0 &&
                !getPBaseRow(row.data(), 0, Size, dir.c_str()))
                failures++;
        std::printf("%d", failures);
        std::fflush(stdout);
    });
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(partial, "0");
    std::vector<double> row(2 * Size);
    ASSERT_EQ(getPBaseRow(row.data(), 0, Size, dir.c_str()), 1);
    for (int c = 0; c < Size; c++) {
        const bool computed = c == 3 || c == 5 || c == 7;
        EXPECT_EQ(row[c], computed ? c / 10.0 : NotComputed) << c;
        EXPECT_EQ(row[Size + c], computed ? -c / 10.0 : NotComputed) << c;
    }
}

} // namespace

namespace {

// The directory name of a product is its tensor code, the same with and without a current; the
// identity held in the directory tells them apart.
TEST(RowFileIdentity, ExtensionsOfOneProductDiffer) {
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    addTensorFactor(TP, SM_getData(1, 1, 2), 0);
    addTensorFactor(TP, SM_getData(1, 1, 2), 0);
    setCosetMode(1);
    // As "tensor" does: the counts are the product's, not those of a block made before.
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    const std::string code = getCFTname();
    const std::string plain = modular_internal::theoryIdentity();
    int J[] = {1, 1};
    addNewCurrent(TP, J);
    EXPECT_EQ(std::string(getCFTname()), code);
    const std::string extended = modular_internal::theoryIdentity();
    assignExtensionNumber(TP, 3);
    const std::string numbered = modular_internal::theoryIdentity();
    setCosetMode(0);
    resetCoset(TP);
    EXPECT_NE(plain, extended);
    EXPECT_NE(extended, numbered);
    EXPECT_TRUE(contains(extended, "current 1 1")) << extended;
}

} // namespace

namespace {

// Two extensions of one product have one tensor code, so one directory name: the second takes a
// directory of its own, and each reads its own rows when it is current again.
TEST_F(RowFiles, ExtensionsOfOneProductKeepTheirRowsApart) {
    setRowFileLimits(1, 0);
    TensorProduct* TP = getCurrentTensor();
    // A1_2 x A1_2, plain (9 fields) or extended by (J, J) to su(4)_1 (4 fields).
    auto product = [&](bool extended) {
        return testsupport::outputOf([&] {
            resetCoset(TP);
            addTensorFactor(TP, SM_getData(1, 1, 2), 0);
            addTensorFactor(TP, SM_getData(1, 1, 2), 0);
            int J[] = {1, 1};
            if (extended) {
                ASSERT_EQ(addNewCurrent(TP, J), 0);
            }
            ASSERT_EQ(computeTensorSpectrum(TP), 0);
            producttest::makeCurrent(TP);
            TerminalOutputOn();
            initSMATRIX();
            TerminalOutputOff();
        });
    };
    // Every S element through the rows equals the product's own.
    auto rowsServeTheProduct = [&] {
        for (int i = 0; i < getTotalPrimaries(); i++)
            for (int j = 0; j < getTotalPrimaries(); j++) {
                double re, im;
                getCosetS(TP, i, j, &re, &im);
                EXPECT_NEAR(std::abs(S(i, j) - std::complex<double>(re, im)), 0.0, 1e-14)
                    << i << "," << j;
            }
    };
    const std::string first = product(false);
    const std::string base = out.path() + "/S" + getCFTname();
    EXPECT_TRUE(contains(first, "Creating directory " + base + ".sdir for S matrix\n")) << first;
    rowsServeTheProduct();
    const std::string second = product(true);
    EXPECT_TRUE(contains(second, "Creating directory " + base + "_2.sdir for S matrix\n"))
        << second;
    rowsServeTheProduct();
    EXPECT_TRUE(contains(product(false), "Reading existing S-matrix from " + base + ".sdir\n"));
    rowsServeTheProduct();
    EXPECT_TRUE(contains(product(true), "Reading existing S-matrix from " + base + "_2.sdir\n"));
    rowsServeTheProduct();
    setCosetMode(0);
    setCurrentTotals(nullptr, nullptr);
    initializeAlgebra();
    resetCoset(TP);
}

// The threshold itself: su(2) level 9997 has 4999 orbits and keeps them in memory, level 9999 has
// 5000 and keeps its rows in files.
TEST_F(RowFiles, FiveThousandOrbitsGoToFiles) {
    setRowFileLimits(0, 0);
    ASSERT_EQ(rowFileThreshold(), 5000);
    testsupport::outputOf([] {
        useBlock(1, 1, 9997);
        initSMATRIX();
    });
    EXPECT_EQ(getNOrbit(), 4999);
    EXPECT_TRUE(fs::is_empty(out.path()));
    const std::string printed = testsupport::outputOf([] {
        TerminalOutputOn();
        useBlock(1, 1, 9999);
        initSMATRIX();
        TerminalOutputOff();
    });
    EXPECT_EQ(getNOrbit(), 5000);
    EXPECT_TRUE(contains(printed, "SA1_level_9999.sdir for S matrix")) << printed;
    EXPECT_TRUE(fs::exists(out.path() + "/SA1_level_9999.sdir/0"));
    EXPECT_TRUE(fs::is_directory(out.path() + "/SA1_level_9999.pdir"));
}

} // namespace
