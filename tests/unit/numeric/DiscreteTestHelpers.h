// Shared helpers of the tests of the discrete groups.
#pragma once

#include "numeric/Discrete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace discretetest {

inline Discrete_Group* groupOf(std::vector<int> orders) {
    return DG_find(orders.data(), static_cast<int>(orders.size()));
}

// What a call reports on the error output.
template <class F> std::string errorsOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

} // namespace discretetest
