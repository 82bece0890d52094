// The fixtures of the string reading: one block with its boundaries, read bosonically, and a
// tensor product read as a superstring.
#pragma once

#include "boundary/CrossBoundTestHelpers.h"
#include "modular/ProductTestHelpers.h"

#include "TestSupport.h"

#include "base/Error.h"
#include "base/Parameters.h"
#include "store/Storemanager.h"
#include "string/StringTheory.h"
#include "tensor/Coset.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace stringtest {

using Factor = std::array<int, 3>; // type, rank, level

// The boundary fixture with the string reading started, bosonic; files the reading writes go to
// a temporary folder.

class StringBlockTest : public boundarytest::BoundaryTest {
protected:
    void SetUp() override {
        BoundaryTest::SetUp();
        if (!findInternalParameter("Super"))
            addInternalParameter("Super", "0", 'i', 0);
        initializeStringTheory();
        setIntPar("Super", 0);
    }
    void TearDown() override {
        setIntPar("Super", 0);
        BoundaryTest::TearDown();
    }

    testsupport::TempOutputDir out;
};

// A tensor product made current and read as a superstring with "Dimension" 0.
class StringProductTest : public testing::Test {
protected:
    void SetUp() override {
        if (!findInternalParameter("Dimension"))
            addInternalParameter("Dimension", "0", 'i', 0);
        TP = producttest::startProductTest();
        initializeStringTheory();
        setIntPar("Super", 1);
        setIntPar("Dimension", 0);
        // The implicit E8 is announced once per run; the tests expect to see it.
        getError("getSuperstringSpaceTimeDimension", 1)->RepRate = 1;
    }
    void TearDown() override {
        setIntPar("Super", 0);
        setIntPar("Dimension", 0);
        producttest::withdrawProduct(TP);
    }
    // The product of the factors, extended by the current when one is given.
    void build(const std::vector<Factor>& factors, const std::vector<int>& current = {}) {
        resetCoset(TP);
        for (const Factor& f : factors)
            addTensorFactor(TP, SM_getData(f[0], f[1], f[2]), 0);
        if (!current.empty()) {
            ASSERT_EQ(addNewCurrent(TP, current.data()), 0);
        }
        ASSERT_EQ(computeTensorSpectrum(TP), 0);
        producttest::makeCurrent(TP);
    }
    TensorProduct* TP = nullptr;
};

} // namespace stringtest
