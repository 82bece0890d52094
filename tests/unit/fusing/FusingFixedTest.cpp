#include "SignFileTestHelpers.h"

#include <array>
#include <set>
#include <string>

using namespace fusingtest;

namespace {

class FixedSigns : public SignFileTest {
protected:
    // The gauge fixing of a fresh run; what it printed.
    static std::string fixGauge() {
        return printed([] {
            resetSignEquations();
            chooseFusingGauge();
        });
    }
    static std::string line(const std::array<int, 11>& s, int code) {
        return record(s, code) + "\n";
    }
};

// A hand-fixed row is fixed in every later gauge fixing and printed; a row that is no unknown is
// reported, printed and adds nothing; "Initialize" forgets them.
TEST_F(FixedSigns, HandFixedRows) {
    use(SM_getData(7, 3, 0));
    prepareUnknowns();
    fixGauge();
    const int before = PolyNom->equations();
    // A braiding sign that no standard rule fixes.
    int free = -1;
    for (int v = 0; v < PentagonVariables.Nfill && free < 0; v++)
        if (PolyNom->pivotOf(v) < 0 && rowAt(v)[0] == -1)
            free = v;
    ASSERT_GE(free, 0);
    const int* labels = rowAt(free);
    const std::array<int, 6> none = {1, 1, 40, 41, 42, 43};
    addFixedVariables(labels);
    addFixedVariables(none.data());
    EXPECT_EQ(FixedVariables.size(), 2u);
    const std::string out = fixGauge();
    EXPECT_EQ(PolyNom->equations(), before + 1);
    EXPECT_GE(PolyNom->pivotOf(free), 0);
    EXPECT_EQ(PolyNom->add({free}, 1), -1);
    char shown[100];
    std::snprintf(shown, sizeof shown, "Manually fixed  (-1,-1,%d,%d,%d,-1)\n", labels[2],
                  labels[3], labels[4]);
    EXPECT_NE(out.find(shown), std::string::npos) << out;
    EXPECT_NE(out.find("Manually fixed  (1,1,40,41,42,43)\n"), std::string::npos);
    EXPECT_NE(out.find("fusing matrix not found"), std::string::npos);
    initializeFixVars();
    EXPECT_EQ(fixGauge().find("Manually fixed"), std::string::npos);
    EXPECT_EQ(PolyNom->equations(), before);
}

// A file sign is one more gauge condition; asking to flip what a standard rule keeps is a
// contradiction that leaves the rule's equation in force.
TEST_F(FixedSigns, FileSignsFixTheGauge) {
    useIsing();
    const std::string input = dir.path() + "/flips";
    // Every braiding sign of Ising shares one signature: flip them all.
    writeFile(input, "27 0 0 0 0 0 0 0 0 0 0 6\n");
    setFlippedVarInputFile(input.c_str());
    prepareUnknowns();
    const std::string out = fixGauge();
    EXPECT_NE(out.find("No solution"), std::string::npos);
    EXPECT_NE(out.find("fixAndFlipVars"), std::string::npos);
    const int fixedByRule = row({-1, -1, 1, 1, 0, -1});
    const int openByRule = row({-1, -1, 2, 1, 2, -1});
    ASSERT_GE(fixedByRule, 0);
    ASSERT_GE(openByRule, 0);
    EXPECT_EQ(PolyNom->add({fixedByRule}, 0), 0);
    EXPECT_EQ(PolyNom->add({openByRule}, 1), 0);
}

// The relative sign found for the other rank class carries over: two unknowns of one type with
// a wrapped channel and no sign for this class get x_v + x_w = o_v + o_w; when one of them has a
// sign for this class, the other one is fixed.
TEST_F(FixedSigns, RelativeSignOfTheOtherClass) {
    use(SM_getData(7, 5, 0)); // 5 mod 4 = 1: h is this class
    prepareUnknowns();
    auto wrapped = [](const std::array<int, 11>& s) { return !(s[1] && s[2] && s[3] && s[4]); };
    // Two unknowns of one type with a wrapped channel and different signatures.
    int v = -1, w = -1;
    for (int i = 0; i < PentagonVariables.Nfill && v < 0; i++)
        for (int j = 0; j < i && v < 0; j++) {
            const std::array<int, 11> si = signatureOf(i), sj = signatureOf(j);
            if (wrapped(si) && wrapped(sj) && si[0] == sj[0] && si != sj) {
                v = i;
                w = j;
            }
        }
    ASSERT_GE(w, 0);
    const std::string input = dir.path() + "/classes";
    auto fixWith = [&](int codeV, int codeW) {
        writeFile(input, line(signatureOf(v), codeV) + line(signatureOf(w), codeW));
        setFlippedVarInputFile(input.c_str());
        resetSignEquations();
        return printed(fixRelativeNdependence);
    };
    struct Case {
        int codeV, codeW;
        std::vector<int> unknowns; // the implied equation
        int rhs;
    };
    // Only l digits: x_v + x_w = l_v + l_w. An h digit of one: the other unknown follows, kept
    // (code 4: h = l = 1) or flipped (code 7: h = 2, l = 1) relative to it as the l digits say.
    for (const Case& c :
         {Case{1, 1, {v, w}, 0}, Case{2, 2, {v, w}, 0}, Case{1, 2, {v, w}, 1}, Case{4, 1, {w}, 0},
          Case{4, 2, {w}, 1}, Case{1, 7, {v}, 1}, Case{2, 7, {v}, 0}}) {
        SCOPED_TRACE(testing::Message() << c.codeV << " " << c.codeW);
        const std::string out = fixWith(c.codeV, c.codeW);
        EXPECT_NE(out.find("Fixing relative (-1)^N dependence\n"), std::string::npos);
        EXPECT_EQ(PolyNom->add(c.unknowns, c.rhs), 0);
        EXPECT_EQ(PolyNom->add(c.unknowns, 1 - c.rhs), -1);
    }
    // Both signs of this class known, or those of the other class missing: nothing.
    for (std::array<int, 2> codes :
         {std::array<int, 2>{4, 4}, std::array<int, 2>{3, 0}, std::array<int, 2>{3, 6}}) {
        fixWith(codes[0], codes[1]);
        EXPECT_EQ(PolyNom->equations(), 0) << codes[0] << " " << codes[1];
    }
}

// The report by type: none, all or some of a type flipped, and open unknowns. Unchanged
// unknowns are split by whether a gauge rule fixes them (a vacuum label).
TEST_F(FixedSigns, ResultsByType) {
    useIsing();
    prepareUnknowns();
    const int n = PentagonVariables.Nfill;
    const int flipped = row({1, 0, 2, 2, 2, 2}), open = row({2, 2, 1, 2, 1, 2}),
              eps = row({-1, -1, 2, 1, 2, -1});
    ASSERT_GE(flipped, 0);
    ASSERT_GE(open, 0);
    ASSERT_GE(eps, 0);
    std::vector<int> none(n, 0), allEps(n, 0), some(n, 0);
    for (int v = 0; v < n; v++)
        allEps[v] = rowAt(v)[0] == -1 ? 1 : 0;
    allEps[flipped] = some[flipped] = 1;
    allEps[open] = 2;
    some[eps] = 1;
    // Mode 1 with every unknown open forgets the types an earlier call left out.
    std::vector<int> allOpen(n, 2);
    printed([&] { PrintResultByType(allOpen.data(), 1); });
    const std::string noneOut = printed([&] { PrintResultByType(none.data(), 0); });
    EXPECT_EQ(
        noneOut,
        "NO variables of type fusing are flipped\nNO variables of type epsilon are flipped\n");
    const std::string allOut = printed([&] { PrintResultByType(allEps.data(), 0); });
    EXPECT_NE(allOut.find("Variables of type fusing are not fully determined\n"
                          "Variables of type fusing are partially flipped\n"
                          " > Unchanged (fixed by gauge condition):\n"
                          "    F_0_0[0,0,0,0]\n"),
              std::string::npos)
        << allOut;
    EXPECT_NE(allOut.find(" > Unchanged:\n    F_2_2[2,1,2,1]\n"
                          "    F_1_1[2,2,2,2]  (entry of 2 x 2 matrix)\n > Flipped: (cnt1=1)\n"
                          "    F_1_0[2,2,2,2]  (entry of 2 x 2 matrix)\n"
                          "ALL variables of type epsilon are flipped\n"),
              std::string::npos)
        << allOut;
    EXPECT_EQ(allOut.find("F_2_2[1,2,1,2]"), std::string::npos);
    const std::string someOut = printed([&] { PrintResultByType(some.data(), 0); });
    EXPECT_NE(someOut.find("Variables of type epsilon are partially flipped\n"
                           " > Unchanged (fixed by gauge condition):\n"
                           "    eps_0_0^0 (current value 1)\n"),
              std::string::npos)
        << someOut;
    EXPECT_NE(someOut.find(" > Flipped: (cnt1=1)\n    eps_2_1^2 (current value 1)\n"),
              std::string::npos)
        << someOut;
}

TEST_F(FixedSigns, OrbifoldTypesLeftOut) {
    use(SM_getData(7, 2, 0));
    prepareUnknowns();
    std::vector<int> vars(PentagonVariables.Nfill, 0);
    const std::string first = printed([&] { PrintResultByType(vars.data(), 1); });
    // "abcd" needs four different doublets, which N = 2 lacks.
    EXPECT_NE(first.find("Variables of type abcd were not found\n"), std::string::npos) << first;
    EXPECT_NE(first.find("type abcd will be omitted henceforth\n"), std::string::npos);
    EXPECT_EQ(printed([&] { PrintResultByType(vars.data(), 0); }), "");
    vars[0] = 2;
    EXPECT_NE(printed([&] { PrintResultByType(vars.data(), 1); }).find("are not fully determined"),
              std::string::npos);
}

// Comparison with a gauge: at N = 2 every sign of our gauge is the naive one, so a file that
// keeps every sign agrees with every convention, and the convention stays set; a file without a
// record for a signature is reported per unknown.
TEST_F(FixedSigns, ComparisonWithAGauge) {
    use(SM_getData(7, 2, 0));
    prepareUnknowns();
    std::string kept;
    std::set<std::array<int, 11>> seen;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        if (seen.insert(signatureOf(v)).second)
            kept += line(signatureOf(v), 1); // l = 1: rank 2 keeps
    const std::string file = dir.path() + "/kept";
    writeFile(file, kept);
    for (int g = 0; g <= 4; g++) {
        int result = 0;
        EXPECT_EQ(printed([&] { result = CheckFusingSignChoice(file.c_str(), g); }), "MAX = 5\n")
            << g;
        EXPECT_EQ(result, 1);
        EXPECT_EQ(GaugeChoiceParameter, g);
        EXPECT_EQ(GaugeChoice, 2);
    }
    // Only the signature of row 0: every other unknown is reported.
    writeFile(file, line(signatureOf(0), 1));
    int lacking = 0;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        lacking += signatureOf(v) != signatureOf(0);
    int result = 0;
    const std::string out = printed([&] { result = CheckFusingSignChoice(file.c_str(), 0); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(countOf(out, "Sign not in database"), lacking);
    EXPECT_EQ(countOf(out, "-->  ("), lacking);
    EXPECT_EQ(printed([&] {
                  result = CheckFusingSignChoice((dir.path() + "/none").c_str(), 0);
              }).find("Could not open file"),
              0u);
    EXPECT_EQ(result, 0);
}

} // namespace
