#include "SignFileTestHelpers.h"

#include "numeric/EquationCollections.h"

#include <array>
#include <filesystem>
#include <string>

using namespace fusingtest;

namespace {

class SignFiles : public SignFileTest {
protected:
    // Names the input file and writes one output file from the given flips.
    std::string writeSolution(const std::string& input, const std::vector<int>& flips) {
        setFlippedVarInputFile(input.c_str());
        AnalyseSignFlips(flips.data());
        return input + "0";
    }
};

// The digit of the current rank class decides: h for ranks 0 and 1 mod 4, l for 2 and 3; a digit
// above 2 is not known; of two records with one signature the first counts.
TEST_F(SignFiles, LookupReadsTheDigitOfTheRankClass) {
    struct Case {
        const char* records;
        int N;
        int sign;
    };
    // eps_00^0 of the orbifold: type 27, its channel 1, all parities 0.
    const std::string eps = "27 1 0 0 0 0 0 0 0 0 0 ";
    for (const Case& c :
         {Case{"5", 4, 1}, Case{"5", 6, -1}, Case{"5", 5, 1}, Case{"5", 7, -1}, Case{"7", 4, -1},
          Case{"7", 6, 1}, Case{"9", 4, 0}, Case{"9", 6, 0}, Case{"1", 4, 0},
          Case{"3 27 1 0 0 0 0 0 0 0 0 0 6", 4, 1}, Case{"6\n27 1 0 0 0 0 0 0 0 0 0 3", 4, -1}}) {
        SCOPED_TRACE(std::string(c.records) + " at " + std::to_string(c.N));
        useOrbifold(c.N);
        const std::string input = dir.path() + "/codes";
        writeFile(input, eps + c.records + "\n");
        setFlippedVarInputFile(input.c_str());
        Captured cap;
        EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), c.sign);
        // A signature without record is not known.
        EXPECT_EQ(getSignFlipFromFile(-1, -1, 4, 4, 0, -1), 0);
    }
}

// The file is read once per naming, line breaks do not matter, and "begin" names no file.
TEST_F(SignFiles, ReadOncePerNaming) {
    useOrbifold(4);
    const std::string input = dir.path() + "/once";
    writeFile(input, "27 1 0 0 0 0\n0 0 0 0 0 3");
    Captured cap;
    setFlippedVarInputFile(input.c_str());
    EXPECT_EQ(Iterate, 1);
    EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), 1);
    EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), 1);
    setFlippedVarInputFile(input.c_str());
    EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), 1);
    // p = -2 only forgets what was read; the file is read again at the next lookup.
    EXPECT_EQ(getSignFlipFromFile(-2, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), 1);
    setFlippedVarInputFile("begin");
    EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), 0);
    EXPECT_EQ(Iterate, 1);
    EXPECT_EQ(countOf(cap.out(), "Finished reading\n"), 3);
}

// A file that cannot be opened or holds a token that is not an integer is refused; a record cut
// short by the end is reported and dropped, the records before it count.
TEST_F(SignFiles, FileChecks) {
    useOrbifold(4);
    const std::string good = dir.path() + "/good", bad = dir.path() + "/bad",
                      cut = dir.path() + "/cut";
    writeFile(good, "27 1 0 0 0 0 0 0 0 0 0 +3\n\n");
    EXPECT_EQ(checkSignFlipFile(good.c_str()), 1);
    EXPECT_EQ(checkSignFlipFile("begin"), 1);
    for (const char* text : {"27 1 0 0 0 0 0 0 0 0 0 3x", "27 1 0 0 0 0 0 0 0 0 0 1.5",
                             "27 1 0 0 0 0 0 0 0 0 0 99999999999", "27 - 1"}) {
        SCOPED_TRACE(text);
        writeFile(bad, text);
        Captured cap;
        EXPECT_EQ(checkSignFlipFile(bad.c_str()), 0);
        EXPECT_NE(cap.err().find("Not an integer"), std::string::npos);
    }
    // A name without file is only the stem of the output names; a directory cannot be read.
    EXPECT_EQ(checkSignFlipFile((dir.path() + "/missing").c_str()), 1);
    {
        Captured cap;
        EXPECT_EQ(checkSignFlipFile(dir.path().c_str()), 0);
        EXPECT_NE(cap.err().find("Could not read file"), std::string::npos);
    }
    writeFile(cut, "27 1 0 0 0 0 0 0 0 0 0 6 27 1 0 0");
    Captured cap;
    setFlippedVarInputFile(cut.c_str());
    EXPECT_EQ(getSignFlipFromFile(-1, -1, 0, 0, 0, -1), -1);
    EXPECT_NE(cap.err().find("Premature end-of-file"), std::string::npos);
}

// Ising, every sign kept: one record per signature (all entries share one, all braiding signs
// another), written in the output order of the types, each "%d " and a newline, an empty line
// at the end; the types without records print no heading. With no input name the file is named
// by the counter alone, which restarts at each naming.
TEST_F(SignFiles, IsingRecords) {
    useIsing();
    prepareUnknowns();
    const std::vector<int> kept(PentagonVariables.Nfill, 0);
    const std::string base = dir.path() + "/x";
    Captured cap;
    writeSolution(base, kept);
    AnalyseSignFlips(kept.data());
    const std::string expected = "28 0 0 0 0 0 0 0 0 0 0 3 \n27 0 0 0 0 0 0 0 0 0 0 3 \n\n";
    EXPECT_EQ(readFile(base + "0"), expected);
    EXPECT_EQ(readFile(base + "1"), expected);
    writeSolution(base, kept);
    const std::string& out = cap.out();
    EXPECT_EQ(countOf(out, "Writing file " + base + "0\n"), 2);
    EXPECT_EQ(countOf(out, "Writing file " + base + "1\n"), 1);
    EXPECT_EQ(countOf(out, "Results for type "), 6);
    EXPECT_EQ(countOf(out, "Results for type fusing\n"), 3);
    EXPECT_EQ(countOf(out, "  0  0  0  0  0  0  0  0  0  0  1   X\n"), 6);
    // Nothing is left beside the files but the files.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        entries++;
    }
    EXPECT_EQ(entries, 2);
}

// Writing the digit of rank 2 into a record read with code 3 (h = 1) gives 5 for a flip and 4
// for a kept sign; the first unknown of a signature decides.
TEST_F(SignFiles, WritingKeepsTheOtherDigit) {
    useOrbifold(2);
    prepareUnknowns();
    const int v = row({-1, -1, 0, 0, 0, -1});
    ASSERT_GE(v, 0);
    const std::string input = dir.path() + "/in";
    writeFile(input, record(signatureOf(v), 3) + "\n");
    for (int flip : {0, 1}) {
        std::vector<int> flips(PentagonVariables.Nfill, 0);
        flips[v] = flip;
        Captured cap;
        const std::string out = readFile(writeSolution(input, flips));
        EXPECT_NE(out.find(record(signatureOf(v), flip ? 5 : 4) + "\n"), std::string::npos) << out;
    }
}

// Records whose types the block's unknowns lack are carried into every output file; their checks
// decide whether the file is kept. A failed file leaves an older file of that name as it was,
// also under a name with a blank and a ";".
TEST_F(SignFiles, CarriedRecordsAndTheirChecks) {
    struct Case {
        const char* records;
        const char* message; // null: the file is kept
    };
    const Case cases[] = {
        // Relative sign of the two classes: +1 (h = l) for one record, -1 for the other.
        {"2 1 0 1 0 0 0 0 0 0 0 4\n2 1 0 1 0 1 0 0 0 0 0 5\n", "SIGN INCONSISTENCY"},
        // y0 + y6 = y1 + y6 = y2 + y6 = 0 add up to y0 + y1 + y2 + y6 = 0, not 1.
        {"2 1 1 1 1 1 0 0 0 0 0 3\n2 1 1 1 1 0 1 0 0 0 0 3\n2 1 1 1 1 0 0 1 0 0 0 3\n"
         "2 1 1 1 1 1 1 1 0 0 0 6\n",
         "EQUATIONS INCONSISTENT\n"},
        // Different parities and three equations that agree.
        {"2 1 1 1 1 1 0 0 0 0 0 3\n2 1 1 1 1 0 1 0 0 0 0 3\n2 1 1 1 1 1 1 0 0 0 0 3\n", nullptr},
        {"30 1 0 1 1 0 1 0 1 0 1 7\n", nullptr},
    };
    useIsing();
    prepareUnknowns();
    const std::vector<int> kept(PentagonVariables.Nfill, 0);
    for (const char* name : {"/in", "/my in;x"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + ": " + c.records);
            const std::string input = dir.path() + name;
            writeFile(input, c.records);
            writeFile(input + "0", "older\n");
            Captured cap;
            writeSolution(input, kept);
            const std::string written = readFile(input + "0");
            if (c.message) {
                const std::string said = cap.err() + cap.out();
                EXPECT_NE(said.find(c.message), std::string::npos) << said;
                EXPECT_EQ(written, "older\n");
            } else {
                std::istringstream lines(c.records);
                for (std::string line; std::getline(lines, line);)
                    EXPECT_NE(written.find(line + " \n"), std::string::npos) << line;
            }
            int entries = 0;
            for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
                (void)e;
                entries++;
            }
            EXPECT_EQ(entries, 2);
            std::filesystem::remove(input);
            std::filesystem::remove(input + "0");
        }
    }
}

// The echo of a record: the ten channel and parity entries, then h and l as X, 1 or -1.
TEST_F(SignFiles, EchoOfARecord) {
    useIsing();
    prepareUnknowns();
    const std::vector<int> kept(PentagonVariables.Nfill, 0);
    const std::string input = dir.path() + "/echo";
    writeFile(input, "30 1 0 1 1 0 1 0 1 0 1 7\n");
    Captured cap;
    writeSolution(input, kept);
    EXPECT_NE(cap.out().find("Results for type abcd\n  1  0  1  1  0  1  0  1  0  1 -1   1\n"),
              std::string::npos)
        << cap.out();
}

// The parity equation of a record with the channels of the one before it.
TEST(SignFlipEquation, RightHandSides) {
    struct Case {
        int s1, s2, flipBefore;
        int result, rhs, flipAfter;
    };
    for (const Case& c :
         {Case{0, 0, 1, 0, -1, 1}, Case{0, 1, -1, 0, -1, -1}, Case{0, 1, 1, 1, 1, 1},
          Case{0, 2, 0, 1, 1, 0}, Case{0, 2, 1, 1, 0, 1}, Case{1, 2, -1, 1, 0, 1},
          Case{2, 2, -1, 1, 1, 0}, Case{2, 0, 1, 1, 1, 1}, Case{1, 1, 1, 1, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.s1 << " " << c.s2 << " " << c.flipBefore);
        static VectorSpace Pattern = declareVectorSpace("Pattern", 20);
        initEquationCollection(&Pattern, 7, 20);
        int vec[9] = {1, 0, 0, 0, 0, 0, 1, -1, 0};
        int flip = c.flipBefore;
        EXPECT_EQ(addSignFlipEquation(&Pattern, c.s1, c.s2, &flip, vec), c.result);
        EXPECT_EQ(flip, c.flipAfter);
        if (c.result == 1) {
            EXPECT_EQ(vec[7], c.rhs);
        }
        EXPECT_EQ(Pattern.Nfill, c.result);
    }
}

} // namespace
