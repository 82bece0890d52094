#include "tensor/CosetTachyons.h"

#include "TensorTestHelpers.h"

#include <algorithm>
#include <sstream>

using namespace tensortest;

namespace {

// D5 at level 1 graded by its vector, then one N=2 minimal model per level, in "Graded" and
// "Super" mode, as the search command sets it up.
class TachyonSearch : public TensorTest {
protected:
    void product(const std::vector<int>& levels) {
        SpectrumData* d5 = block(4, 5, 1);
        SM_grade(d5, 2);
        setIntPar("Graded", 1);
        setIntPar("Super", 1);
        addTensorFactor(TP, d5, 0);
        for (int k : levels)
            addTensorFactor(TP, block(27, 2, k), 0);
    }
};

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& start) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0)
            lines.push_back(line);
    return lines;
}

// At level 1 every field (l, m, s) of the N=2 model is a simple current of weight
// (l(l+2) - m^2)/12 + s^2/8 modulo 1. Light are those of s even below 1/2: (0,0,0) of weight 0 and
// (1,+-1,0) of weight 1/6. With the vector of D5 (1/2) at most two factors may sit on 1/6, so
// there are 1 + 9*2 + 36*4 = 163 combinations; their charge rows differ, since in a theory of
// simple currents alone the charges with respect to a generator tell the fields apart.
TEST_F(TachyonSearch, LightFieldsAndTachyonRowsOfNineLevelOneModels) {
    product(std::vector<int>(9, 1));
    Captured cap;
    const int rows = findTachyons(TP);
    const std::vector<std::string> light = linesStartingWith(cap.out(), "-->");
    EXPECT_EQ(rows, 163);
    ASSERT_EQ(light.size(), 10u);
    EXPECT_EQ(light[0], "-->  (2)");
    SpectrumData* n2 = getTensorFactor(TP, 1);
    auto labelOf = [&](int l, int m, int s) {
        for (int f = 0; f < n2->Nprimaries; f++) {
            const int* r = SM_getRep(n2, f);
            if (r[0] == l && r[1] == m && r[2] == s)
                return f;
        }
        ADD_FAILURE() << "no field (" << l << "," << m << "," << s << ")";
        return -1;
    };
    std::vector<int> expected = {labelOf(0, 0, 0), labelOf(1, 1, 0), labelOf(1, -1, 0)};
    EXPECT_NEAR(SM_realWeight(n2, expected[0]), 0.0, 1e-12);
    EXPECT_NEAR(SM_realWeight(n2, expected[1]), 1.0 / 6, 1e-12);
    EXPECT_NEAR(SM_realWeight(n2, expected[2]), 1.0 / 6, 1e-12);
    std::sort(expected.begin(), expected.end());
    const std::string line = "-->  (" + std::to_string(expected[0]) + "," +
                             std::to_string(expected[1]) + "," + std::to_string(expected[2]) + ")";
    for (std::size_t k = 1; k < light.size(); k++)
        EXPECT_EQ(light[k], line) << k;
}

// Weight-one currents whose D5 label is odd are world-sheet supercurrents: they are listed and
// never tried, and neither is the identity. With the levels 1,1,7,7,7 the search runs through
// every spinor candidate without a tachyon-free choice.
TEST_F(TachyonSearch, RunsThroughTheCandidatesOfAProduct) {
    product({1, 1, 7, 7, 7});
    Captured cap;
    EXPECT_EQ(computeTachyonSpectrum(TP), 0);
    const std::string out = cap.out();
    EXPECT_EQ(linesStartingWith(out, "-->").size(), 6u);
    const std::vector<std::string> susy = linesStartingWith(out, "Susy current:");
    ASSERT_FALSE(susy.empty());
    // The spinor (5/8) with the Ramond ground states (c/24 each, 9/24 in all) weighs 1.
    EXPECT_NE(std::find(susy.begin(), susy.end(), "Susy current:  (1,1,1,1,1,1)"), susy.end());
    const std::vector<std::string> spinors = linesStartingWith(out, "Spinors");
    ASSERT_EQ(spinors.size(), 1u);
    EXPECT_EQ(spinors[0].find("(0,"), std::string::npos);
    rat h;
    int first = 0;
    ASSERT_EQ(std::sscanf(spinors[0].c_str(), "Spinors  (%d", &first), 1);
    TensorRatWeight(TP, TensorField(TP, first), &h);
    EXPECT_EQ(intcheck(&h), 0) << h.num << "/" << h.den;
    EXPECT_EQ(TensorField(TP, first)[0], 1);
    EXPECT_TRUE(has(out, "Order "));
    EXPECT_TRUE(has(out, "Computation completed\n"));
    EXPECT_FALSE(has(out, "Succeeded"));
}

// Reaching the level limit ends the search with the alert and a failure, and leaves the module
// ready: the next search runs to its end.
TEST_F(TachyonSearch, LevelLimitEndsTheSearchWithoutEndingTheProcess) {
    product({1, 1, 7, 7, 7});
    {
        Captured cap;
        EXPECT_EQ(computeTachyonSpectrum(TP, 2), 1);
        EXPECT_TRUE(has(cap.err(), "Level exceeded")) << cap.err();
        EXPECT_TRUE(has(cap.out(), "Loop variables  (0,"));
        EXPECT_FALSE(has(cap.out(), "Computation completed"));
    }
    Captured again;
    EXPECT_EQ(computeTachyonSpectrum(TP), 0);
    EXPECT_TRUE(has(again.out(), "Computation completed\n"));
    EXPECT_FALSE(has(again.err(), "Level exceeded"));
}

} // namespace
