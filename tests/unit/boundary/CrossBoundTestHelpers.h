// Shared helpers of the boundary tests: the module started once with its parameters at their
// built-in values, a current building block with its diagonal invariant, the invariants the
// simple-current search builds, and fields named by their Dynkin labels.
#pragma once

#include "modular/InvariantsTestHelpers.h"

#include "TestSupport.h"

#include "boundary/CrossBound.h"
#include "boundary/CrossBoundInternal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace boundarytest {

using invtest::parameter;

// The module's parameters at their built-in values; the module is started once per process and
// keeps pointers to them.
inline void startModule() {
    struct P {
        const char* name;
        const char* value;
        char type;
    };
    for (const P& p :
         {P{"Orientifold", "ON", 't'}, P{"Use_orbits", "2", 'i'}, P{"Init_debug", "OFF", 't'},
          P{"Boundary_search info_level", "0", 'i'}, P{"Boundary_search capacity", "1", 'i'},
          P{"Boundary_search use_all_sets", "OFF", 't'}, P{"NIMrep Max_row", "100000", 'i'},
          P{"Moebius security_level", "0", 'i'}, P{"Orientifold info_level", "0", 'i'}})
        addInternalParameter(p.name, p.value, p.type, 0);
    invtest::registerParameters();
    initializeCrossBound();
}

// The "##init: " lines printed, addresses masked.
inline std::vector<std::string> initLines(const std::string& out) {
    static const std::regex address("0x[0-9a-f]+|\\(nil\\)");
    std::vector<std::string> lines;
    std::size_t at = 0;
    while ((at = out.find("##init: ", at)) != std::string::npos) {
        const std::size_t end = out.find('\n', at);
        lines.push_back(std::regex_replace(out.substr(at + 8, end - at - 8), address, "@"));
        at = end;
    }
    return lines;
}

// A block is the current theory with its diagonal invariant, an empty store and no criteria.
class BoundaryTest : public invtest::InvariantsTest {
protected:
    void SetUp() override { startModule(); }
    void TearDown() override {
        parameter("Orientifold") = 1;
        parameter("Init_debug") = 0;
        parameter("Reject permutations") = 1;
        invtest::InvariantsTest::TearDown();
    }
    SpectrumData* theory(int type, int rank, int level) {
        useTheory(type, rank, level);
        return getCurrentSD();
    }
    // The field of the finite Dynkin labels of the current block.
    static int fieldOf(const std::vector<int>& dynkin) {
        SpectrumData* sd = getCurrentSD();
        for (int f = 0; f < getTotalPrimaries(); f++)
            if (std::equal(dynkin.begin(), dynkin.end(), SM_getRep(sd, f)))
                return f;
        ADD_FAILURE() << "no field of these Dynkin labels";
        return -1;
    }
    // The E6 invariant |x0+x6|^2 + |x3+x7|^2 + |x4+x10|^2 of su(2) level 10 (Dynkin labels), on
    // the fields of the current block.
    static invtest::Matrix su2E6Matrix() {
        const std::vector<std::vector<int>> blocks = {{0, 6}, {3, 7}, {4, 10}};
        invtest::Matrix Z(11, std::vector<int>(11, 0));
        for (const std::vector<int>& b : blocks)
            for (int x : b)
                for (int y : b)
                    Z[fieldOf({x})][fieldOf({y})] = 1;
        return Z;
    }
    static int dynkinOf(int field) { return modulartest::dynkin1(getCurrentSD(), field); }
    // Simple-current invariant n of the current theory, made current; null when there is none.
    static BulkInvariant* simpleCurrentInvariant(int n) {
        BulkInvariant* bi = nullptr;
        invtest::outputOf([&] { bi = getBulkInvariantByNumber(n); });
        return bi;
    }
    // Makes a record of the test's own the current invariant.
    static void makeCurrent(BulkInvariant* bi) {
        invtest::outputOf([&] { setCurrentBulkInvariant(bi); });
    }
    // Every fixed boundary label under every current: the image found from the reflection
    // coefficients is the fixed label the annulus method finds, A(J^c, a, b) = 1. The number of
    // labels checked.
    static int expectFixedFusionAgrees() {
        int checked = 0;
        for (int J = 0; J < getTotalCurrents(); J++)
            for (int a = 0; a < TotalBoundaries(); a++) {
                if (!getBoundaryFixed(a))
                    continue;
                const int fast = FixedBoundaryCurrentFusion3(J, a);
                testsupport::Captured cap;
                const int annulus = FixedBoundaryCurrentFusion(J, a);
                EXPECT_EQ(fast, annulus) << "J=" << J << ", a=" << a;
                EXPECT_EQ(getBoundaryFixed(fast), 1);
                EXPECT_EQ(cap.err(), "");
                checked++;
            }
        return checked;
    }
    static const IshibashiLabel& ishibashi(int m) {
        return crossbound_internal::IshibashiLabels[static_cast<std::size_t>(m)];
    }
    static const BoundaryLabel& boundary(int a) {
        return crossbound_internal::BoundaryLabels[static_cast<std::size_t>(a)];
    }
};

} // namespace boundarytest
