// The Galois commands as the interpreter calls them: a tensor product is refused by each.
#include "CommandsTestHelpers.h"

#include "commands/CommandsGalois.h"

#include <gtest/gtest.h>

#include <string>

using cmdtest::call;
using cmdtest::Captured;
using cmdtest::has;

namespace {

TEST(GaloisCommands, RefusedInTensorMode) {
    cmdtest::startSingleAlgebraMode();
    cmdtest::installTheory();
    setCosetMode(1);
    const struct {
        COM handler;
        const char* refusal;
    } cases[] = {{COM_compute_galois, "Galois orbits for Cosets not built in"},
                 {COM_compute_scale, "Scale orbits not well-defined for Cosets"},
                 {COM_compute_galoisinvariants, "Galois invariants not built in for Cosets"}};
    for (const auto& c : cases) {
        Captured run;
        EXPECT_EQ(call(c.handler, "galois", {}), 0);
        EXPECT_TRUE(has(run.err(), c.refusal)) << run.err();
        EXPECT_EQ(run.out(), "");
    }
    setCosetMode(0);
    cmdtest::withdrawTheory();
}

} // namespace
