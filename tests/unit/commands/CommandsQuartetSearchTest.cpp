// The refusals of the quartet-search commands: each returns 1 before it changes a pre-selection
// or searches.
#include "TestSupport.h"

#include "commands/CommandsQuartetSearch.h"
#include "string/SearchPreselection.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

struct Preselections {
    std::array<int, 5> values;
    static Preselections now() {
        return {{getOrientifoldPreselection(), getBoundary_a_Preselection(),
                 getBoundary_b_Preselection(), getBoundary_c_Preselection(),
                 getBoundary_d_Preselection()}};
    }
};

class QuartetSearchCommands : public testing::Test {
protected:
    void SetUp() override {
        setOrientifoldPreselection(2);
        setBoundary_a_Preselection(11);
        setBoundary_b_Preselection(12);
        setBoundary_c_Preselection(13);
        setBoundary_d_Preselection(14);
    }
    void TearDown() override {
        setOrientifoldPreselection(-1);
        setBoundary_a_Preselection(-1);
        setBoundary_b_Preselection(-1);
        setBoundary_c_Preselection(-1);
        setBoundary_d_Preselection(-1);
    }
    // The handler's result and what it printed, called with the ints as its parameters.
    int call(int (*handler)(void**, int), std::vector<int> values, std::string* printed) {
        std::vector<void*> params;
        for (int& v : values)
            params.push_back(&v);
        testsupport::Captured cap;
        const int result = handler(params.data(), static_cast<int>(params.size()));
        *printed = cap.out() + cap.err();
        return result;
    }
};

TEST_F(QuartetSearchCommands, RefusedBeforeAnythingChanges) {
    struct Case {
        int (*handler)(void**, int);
        std::vector<int> values;
        const char* message;
    };
    const Case cases[] = {
        {COM_search_sm_ori, {0, 1, 2, 3, 4, 5, 6}, "Too many parameters\n"},
        {COM_search_sm_ori, {0, 20}, "Invalid type: 20"},
        {COM_search_sm_ori, {0, -1, 3}, "Invalid type: -1"},
        {COM_search_sm, {3, 8}, "Invalid type: 8"},
        {COM_search_sm, {-1}, "Invalid type: -1"},
    };
    const Preselections before = Preselections::now();
    for (const Case& c : cases) {
        std::string printed;
        EXPECT_EQ(call(c.handler, c.values, &printed), 1) << c.message;
        EXPECT_NE(printed.find(c.message), std::string::npos) << printed;
        EXPECT_EQ(Preselections::now().values, before.values) << c.message;
    }
}

} // namespace
