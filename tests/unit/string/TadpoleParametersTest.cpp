// The tadpole parameters: "Tadpole completeness" as the three solver flags, the criteria report on
// the terminal and in a file, and the hooks that make the next equation build report again.
#include "TestSupport.h"

#include "base/Parameters.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

int& parameter(const char* name) {
    return *static_cast<int*>(getIntParPointer(name));
}

class TadpoleParameters : public testing::Test {
protected:
    void SetUp() override {
        struct P {
            const char* name;
            const char* value;
            char type;
        };
        for (const P& p :
             {P{"Tadpole completeness", "2", 'i'}, P{"Tadpole remove_identical", "ON", 't'},
              P{"Tadpole unitary_groups_only", "OFF", 't'},
              P{"Tadpole orthogonal_groups_only", "OFF", 't'},
              P{"Tadpole symplectic_groups_only", "OFF", 't'},
              P{"Tadpole real_groups_only", "OFF", 't'},
              P{"Tadpole require_confinement", "OFF", 't'}, P{"Tadpole allow_OH_matter", "3", 'i'},
              P{"Init_debug", "OFF", 't'}})
            if (!findInternalParameter(p.name))
                addInternalParameter(p.name, p.value, p.type, 0);
    }
    void TearDown() override {
        parameter("Tadpole completeness") = 2;
        parameter("Tadpole remove_identical") = 1;
        parameter("Tadpole unitary_groups_only") = 0;
        parameter("Tadpole require_confinement") = 0;
        parameter("Tadpole allow_OH_matter") = 3;
        parameter("Init_debug") = 0;
    }
    static std::string report(FILE* ofp) {
        testsupport::Captured cap;
        printTadpoleCriteria(ofp);
        return cap.out();
    }
};

TEST_F(TadpoleParameters, CompletenessSetsTheSolverFlags) {
    struct Case {
        int completeness, single, simplest, full;
        const char* line;
    };
    for (const Case& c : {Case{0, 1, 1, 0, "Simplest solutions only.\n"},
                          Case{1, 0, 1, 0, "Loop search continued after first solution.\n"},
                          Case{2, 1, 0, 0, "Loops stopped after first solution.\n"},
                          Case{3, 0, 0, 1, "Print full, parametrized solution.\n"}}) {
        parameter("Tadpole completeness") = c.completeness;
        const std::string out = report(stdout);
        EXPECT_EQ(SingleSolution, c.single) << c.completeness;
        EXPECT_EQ(SimplestOnly, c.simplest) << c.completeness;
        EXPECT_EQ(FullSol, c.full) << c.completeness;
        EXPECT_NE(out.find(c.line), std::string::npos) << c.completeness << out;
    }
    // A value beyond the table keeps the flags of the last one.
    parameter("Tadpole completeness") = 4;
    report(stdout);
    EXPECT_EQ(FullSol, 1);
    EXPECT_EQ(SingleSolution, 0);
}

TEST_F(TadpoleParameters, CriteriaLinesInOrderOnTheTerminalAndInAFile) {
    parameter("Tadpole completeness") = 2;
    parameter("Tadpole remove_identical") = 0;
    parameter("Tadpole unitary_groups_only") = 1;
    parameter("Tadpole require_confinement") = 1;
    parameter("Tadpole allow_OH_matter") = 1;
    EXPECT_EQ(report(stdout), "No removal of identical boundaries.\n"
                              "Loops stopped after first solution.\n"
                              "Do not print parametrized solution.\n"
                              "Only unitary CP groups are allowed.\n"
                              "OH confinement required\n"
                              "In SM-Hidden sector search: \n"
                              "   No chiral Observable-Hidden matter allowed.\n");
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    printTadpoleCriteria(f);
    std::rewind(f);
    std::string text(200, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    EXPECT_EQ(text.rfind("No removal ofidentical boundaries.\n", 0), 0u) << text;
}

TEST_F(TadpoleParameters, HooksMakeTheNextBuildReportAgain) {
    tadpoleSearchParametersChanged();
    {
        testsupport::Captured cap;
        printTadpoleCriteriaOnce();
        printTadpoleCriteriaOnce();
        const std::string& out = cap.out();
        ASSERT_NE(out.find("In SM-Hidden"), std::string::npos);
        EXPECT_EQ(out.find("In SM-Hidden"), out.rfind("In SM-Hidden"));
    }
    EXPECT_EQ(criteriaPrinted(), 1);
    tadpoleSearchParametersChanged();
    EXPECT_EQ(criteriaPrinted(), 0);
    printTadpoleCriteriaOnce();
    const int before = getBoundarySelectionCounter();
    BoundarySelectionCriteriaChanged();
    EXPECT_EQ(criteriaPrinted(), 0);
    const int after = getBoundarySelectionCounter();
    EXPECT_GT(after, before);
    BoundarySelectionChanged();
    EXPECT_EQ(getBoundarySelectionCounter(), after + 1);
}

TEST_F(TadpoleParameters, LabelWidthOfTheGroupListing) {
    for (auto [n, w] :
         {std::pair{1, 2}, {99, 2}, {100, 3}, {999, 3}, {1000, 4}, {9999, 4}, {10000, 7}})
        EXPECT_EQ(cpLabelWidth(n), w) << n;
}

} // namespace
