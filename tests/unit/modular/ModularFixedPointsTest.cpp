// The facade's forwarders of fixed-point resolution data, on A3 at level 2: current 2 fixes two
// fields, resolved by A1 at level 1 with shift 6; currents 1 and 3 fix nothing; 4 stands for the
// identity as 0 does.
#include "modular/Modular.h"

#include "ModularTestHelpers.h"

#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <vector>

namespace {

using modulartest::reportsOf;
using modulartest::useBlock;

class FixedPointForwarders : public testing::Test {
protected:
    void SetUp() override {
        sd = useBlock(1, 3, 2);
        ASSERT_NE(sd, nullptr);
        for (int i = 0; i < sd->Nprimaries; i++)
            if (SM_SimpleAction(sd, 2, i) == i)
                fixed.push_back(i);
        ASSERT_EQ(fixed.size(), 2u);
    }
    void TearDown() override { setCosetMode(0); }
    SpectrumData* sd = nullptr;
    std::vector<int> fixed;
};

TEST_F(FixedPointForwarders, ShiftOfTheIdentityIsZeroWithoutReport) {
    for (int identity : {0, 4}) {
        int shift = -1;
        const std::string err = reportsOf([&] { shift = MOD_getFCFTshift(identity); });
        EXPECT_EQ(shift, 0) << identity;
        EXPECT_EQ(err, "") << identity;
    }
    EXPECT_EQ(MOD_getFCFTshift(2), 6);
    int shift = -1;
    const std::string err = reportsOf([&] { shift = MOD_getFCFTshift(1); });
    EXPECT_EQ(shift, 0);
    EXPECT_NE(err.find("current 1 has no fixed points"), std::string::npos) << err;
}

TEST_F(FixedPointForwarders, MatricesAndTwistOfTheBlock) {
    for (int a : fixed)
        for (int b : fixed) {
            double re = 0.0, im = 0.0, bre = 0.0, bim = 0.0;
            MOD_getFCFT_Smatrix(2, a, b, &re, &im);
            SM_getFCFT_Smatrix(sd, 2, a, b, &bre, &bim);
            EXPECT_EQ(std::complex<double>(re, im), std::complex<double>(bre, bim));
            // Shift 6: S^J = exp(-6 pi i/4) O^J = i O^J.
            double ore = 0.0, oim = 0.0;
            MOD_getOLA_Smatrix(2, a, b, &ore, &oim);
            EXPECT_LT(std::abs(std::complex<double>(re, im) -
                               std::complex<double>(0.0, 1.0) * std::complex<double>(ore, oim)),
                      1e-12);
        }
    EXPECT_EQ(MOD_getCurrentTwist(fixed[0], 1, 2), SM_getCurrentTwist(sd, fixed[0], 1, 2));
}

} // namespace
