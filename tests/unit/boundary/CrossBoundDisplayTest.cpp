// The printed label sets of su(2) level 4 with its D-type invariant (boundaries 0, 1 breaking the
// extension, and the two resolved fixed points), and the spectrum rows of a boundary's orbit: a
// small "Spectrum" table whose only column is the field label stands in for the real one.
#include "CrossBoundTestHelpers.h"

#include "base/Tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace boundarytest;

namespace {

char* fieldCell(char* txt, void*, int lbl) {
    return txt + std::sprintf(txt, "%d", lbl);
}

class Display : public BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        if (!findTable("Spectrum")) {
            initTable("Spectrum");
            addColumn("Spectrum", makeColumn("Field", "field label", 5, fieldCell, nullptr));
        }
        setHeader("Spectrum", 1);
        theory(1, 1, 4);
        ASSERT_NE(simpleCurrentInvariant(1), nullptr);
        ASSERT_EQ(TotalBoundaries(), 4);
    }
    template <class F> static std::string printed(F f) {
        testsupport::Captured cap;
        f();
        return cap.out();
    }
    static std::string line(int nr, const std::string& text) {
        char head[32];
        std::snprintf(head, sizeof head, "Nr. %-5d   ", nr);
        return head + text + "\n";
    }
};

TEST_F(Display, BoundaryLabelsWithTheirMarks) {
    const std::string odd = std::to_string(std::min(fieldOf({1}), fieldOf({3})));
    const std::string fixed = std::to_string(fieldOf({2}));
    const std::string all = "Boundary labels: (In total 4; * indicates symmetry breaking)\n" +
                            line(0, "0  ") + line(1, odd + " *") + line(2, "[" + fixed + ",0]  ") +
                            line(3, "[" + fixed + ",1]  ");
    EXPECT_EQ(printed([] { showBoundaryLabels(0, 3); }), all);
    EXPECT_EQ(printed([] { showBoundaryLabels(3, 3); }), line(3, "[" + fixed + ",1]  "))
        << "one label: no header";
}

TEST_F(Display, IshibashiLabelsAlwaysWithTheirHeader) {
    const std::string fixed = std::to_string(fieldOf({2}));
    EXPECT_EQ(printed([] { showIshibashiLabels(3, 3); }),
              "Ishibashi labels: (In total 4)\n" + line(3, "(" + fixed + ",1)"));
    EXPECT_EQ(printed([] { showIshibashiLabels(0, 1); }),
              "Ishibashi labels: (In total 4)\n" + line(0, "0") + line(1, "1"));
}

// The fixed point is reached by both bulk currents: its row comes twice, each a run of its own,
// the header only before the first.
TEST_F(Display, DetailsPrintTheRowsOfTheOrbitInRuns) {
    const std::string fixed = std::to_string(fieldOf({2}));
    const std::string out = printed([] { showBoundaryLabelDetails(2); });
    const std::string head = "Boudary label 2\n[" + fixed + ",0]\n";
    ASSERT_EQ(out.substr(0, head.size()), head) << out;
    const std::string rows = out.substr(head.size());
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 3) << rows;
    EXPECT_EQ(rows.find("Field"), 0u) << rows;
    EXPECT_EQ(rows.find("Field", 1), std::string::npos) << rows;
    EXPECT_EQ(getHeader("Spectrum"), 1) << "the header setting comes back";

    // The vacuum orbit {0, 1} is one run; the breaking boundary says so.
    const std::string vacuum = printed([] { showBoundaryLabelDetails(0); });
    EXPECT_EQ(std::count(vacuum.begin(), vacuum.end(), '\n'), 2 + 3) << vacuum;
    const std::string broken = printed([] { showBoundaryLabelDetails(1); });
    EXPECT_NE(broken.find("Breaks bulk symmetry of the MIPF\n"), std::string::npos) << broken;
}

TEST_F(Display, NoBoundaryLabels) {
    const int saved = crossbound_internal::IshibashiLabelCount;
    crossbound_internal::IshibashiLabelCount = 0;
    setStandardBoundaryLabels();
    EXPECT_EQ(printed([] { showBoundaryLabels(0, -1); }), "No boundary labels known\n");
    EXPECT_EQ(printed([] { showBoundaryLabelDetails(0); }), "No boundary labels known\n");
    crossbound_internal::IshibashiLabelCount = saved;
    invtest::outputOf([] { bulkInvariantChanged(); }); // the labels are built anew
}

} // namespace
