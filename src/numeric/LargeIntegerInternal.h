// Helpers shared by the source files of the module LargeInteger; not for other modules.
#pragma once

#include "numeric/LargeInteger.h"

#include <string>

namespace large_integer_internal {

// The radix of the words of a lint.
constexpr int Base = 10000;

// Copies text into the buffer shared by lint_string, lrat_string and fint_string.
char* copyToTextBuffer(const std::string& text);
std::string lintText(const lint* X);
// Compares magnitudes of two normal forms.
int compareMagnitude(const lint* A, const lint* B);

inline bool isZero(const lint* X) {
    return X->size == 0;
}

} // namespace large_integer_internal
