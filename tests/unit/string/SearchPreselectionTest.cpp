// The pre-selection of a quartet search and the report of why none can run, which frees it.
#include "TestSupport.h"

#include "string/SearchPreselection.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void preselectAll() {
    setOrientifoldPreselection(2);
    setBoundary_a_Preselection(3);
    setBoundary_b_Preselection(7);
    setBoundary_c_Preselection(11);
    setBoundary_d_Preselection(13);
}

TEST(SearchPreselection, ErrorReportFreesEveryPosition) {
    struct Case {
        int code;
        const char* message;
        int result;
    };
    for (const Case& c :
         {Case{0, "Representation content not available", 1}, Case{1, "Not a fermionic string", 2},
          Case{2, "Not a four-dimensional CY compactified string", 3}, Case{3, "Aborted", 4},
          Case{7, "Unknown error", 0}}) {
        preselectAll();
        testsupport::Captured cap;
        EXPECT_EQ(Type_IIB_Error(c.code), c.result);
        EXPECT_NE((cap.out() + cap.err()).find(c.message), std::string::npos) << c.code;
        EXPECT_EQ(getOrientifoldPreselection(), -1);
        EXPECT_EQ(getBoundary_a_Preselection(), -1);
        EXPECT_EQ(getBoundary_b_Preselection(), -1);
        EXPECT_EQ(getBoundary_c_Preselection(), -1);
        EXPECT_EQ(getBoundary_d_Preselection(), -1);
    }
}

TEST(SearchPreselection, FreePositionsPrintAsStars) {
    testsupport::outputOf([] { Type_IIB_Error(3); });
    setBoundary_a_Preselection(3);
    setBoundary_b_Preselection(7);
    {
        testsupport::Captured cap;
        PrintBoundarySelection();
        EXPECT_EQ(cap.out(), "Boundary selection: (3,7,*,*)\n");
    }
    testsupport::outputOf([] { Type_IIB_Error(3); });
}

} // namespace
