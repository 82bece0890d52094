// Products of the built-in exceptional invariants of A1 at levels 10 and 16 (E6: 12 entries, E7:
// 17) on tensor products: the product of the factors' matrices, checked below 150 fields and
// taken unchecked from there on, where it must still commute with S.
#include "InvariantsTestHelpers.h"
#include "ProductTestHelpers.h"

#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace invtest;

namespace {

class ExceptionalProducts : public InvariantsTest {
protected:
    void SetUp() override { TP = producttest::startProductTest(); }
    void TearDown() override {
        InvariantsTest::TearDown();
        producttest::withdrawProduct(TP);
    }
    void useProduct(int level1, int level2) {
        resetCoset(TP);
        addTensorFactor(TP, SM_getData(1, 1, level1), 0);
        addTensorFactor(TP, SM_getData(1, 1, level2), 0);
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
        producttest::makeCurrent(TP);
        registerParameters();
        resetInvariantStore();
        parameter("Autostore") = 1;
    }
    TensorProduct* TP = nullptr;
};

int total(const Matrix& Z) {
    int sum = 0;
    for (const auto& row : Z)
        for (int z : row)
            sum += z;
    return sum;
}

std::vector<int> flat(const Matrix& Z) {
    std::vector<int> f;
    for (const auto& row : Z)
        f.insert(f.end(), row.begin(), row.end());
    return f;
}

TEST_F(ExceptionalProducts, ProductsOfBuiltInInvariants) {
    struct Case {
        int level1, level2, mode1, mode2, fields, entries;
        bool checked;
    };
    for (const Case& c :
         {Case{10, 10, 1, 0, 121, 12 * 11, true}, Case{10, 16, 1, 2, 187, 12 * 17, false},
          Case{10, 16, 0, 2, 187, 11 * 17, false}}) {
        SCOPED_TRACE(std::to_string(c.level1) + " x " + std::to_string(c.level2));
        useProduct(c.level1, c.level2);
        ASSERT_EQ(getTotalPrimaries(), c.fields);
        const int modes[] = {c.mode1, c.mode2};
        const auto [out, err] = outputOf([&] { buildExceptionalTensorInvariant(modes); });
        EXPECT_EQ(out.find("Too many primaries; invariant not checked\n") != std::string::npos,
                  !c.checked);
        EXPECT_EQ(err.find("Not modular invariant"), std::string::npos) << err;
        const Matrix Z = dense(getLastBulkInvariant());
        ASSERT_EQ(static_cast<int>(Z.size()), c.fields);
        EXPECT_EQ(total(Z), c.entries);
        EXPECT_NE(Z, identity(c.fields));
        EXPECT_EQ(Z, transposed(Z));
        EXPECT_EQ(Z[0][0], 1);
        int ok = 0;
        outputOf([&] { ok = checkInvariant(flat(Z).data(), 10); });
        EXPECT_EQ(ok, 1);
    }
}

} // namespace
