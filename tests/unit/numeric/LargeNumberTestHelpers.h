// Shared helpers of the tests of the big numbers.
#pragma once

#include "numeric/LargeInteger.h"

#include "base/Error.h"

#include <gtest/gtest.h>

#include <string>

namespace largetest {

inline const char* const TwoTo100 = "1267650600228229401496703205376";
inline const char* const Factorial30 = "265252859812191058636308480000000";

// Messages are held back in the error buffer so that no question is asked; each test reads how
// often a message site fired.
class LargeNumberReport : public ::testing::Test {
protected:
    void SetUp() override { bufferErrors(); }
    void TearDown() override {
        flushErrors();
        unbufferErrors();
    }
};

inline int alerts(const char* routine, int position) {
    return getError(routine, position)->count;
}

inline LintPtr fromText(const char* text) {
    LintPtr X(lint_alloc(0));
    EXPECT_EQ(string_to_lint(X.get(), text), 0) << text;
    return X;
}

inline std::string text(const lint* X) {
    return lint_string(X);
}

// Words in 0..9999, a non-zero top word, zero words above the size and a sign of +1 or -1.
inline bool isNormal(const lint* X) {
    if (X->size == 0)
        return X->sign == 1;
    for (int i = 0; i < X->size; ++i)
        if (X->number[i] < 0 || X->number[i] > 9999)
            return false;
    for (int i = X->size; i < X->arraysize(); ++i)
        if (X->number[i] != 0)
            return false;
    return X->number[X->size - 1] != 0 && (X->sign == 1 || X->sign == -1);
}

} // namespace largetest
