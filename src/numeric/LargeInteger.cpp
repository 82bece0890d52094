// Big integers in base-10000 words: creation, text, arithmetic, comparisons, the PosInt
// handles and the floating estimate of a quotient.
#include "numeric/LargeInteger.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "numeric/LargeIntegerInternal.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

using namespace large_integer_internal;

namespace {

// Table behind the negative PosInt handles; entries are never removed.
std::vector<LintPtr> LintStorage;

// Work storage of the multiplication, kept so that a product allocates nothing once it is large.
std::vector<std::int64_t> productCells;

// The work area shared by lint_string, lrat_string and fint_string.
char* textBuffer(std::size_t need) {
    return getCharSpace("lint_stringBuffer", static_cast<int>(need));
}

// Remainder in 0..Base-1 for words of either sign (the carry is then exact).
int wordRemainder(std::int64_t w) {
    std::int64_t r = w % Base;
    return static_cast<int>(r < 0 ? r + Base : r);
}

bool reportNull(const lint* X) {
    if (X)
        return false;
    Alert("lint_realloc", 0, 212404, "Attempt to re-initialize NULL large integer pointer");
    return true;
}

// Grows X to n words when it holds no more than n (the rule shared by every operation that
// makes room in its destination); new words are zero.
void growTo(lint* X, int n) {
    if (X->arraysize() <= n)
        X->number.resize(n, 0);
}

// The carry pass: every word but a negative top word is brought into 0..9999, carrying into
// the next word and extending the number when the carry leaves the top.
void carryPass(lint* X) {
    for (int i = 0; i < X->size; ++i) {
        int& w = X->number[i];
        if (i == X->size - 1 && w < 0)
            return;
        int r = wordRemainder(w);
        int carry = (w - r) / Base;
        w = r;
        if (carry == 0)
            continue;
        if (i == X->size - 1)
            sizeUp(X);
        X->number[i + 1] += carry;
    }
}

void dropZeroTop(lint* X) {
    while (X->size > 0 && X->number[X->size - 1] == 0)
        --X->size;
    if (X->size == 0)
        X->sign = 1;
}

// Signed words combined as X := X ± Y, then normalised (a negative top word flips the sign).
void addSigned(lint* X, const lint* Y, int ysign) {
    int xsign = X->sign;
    int ysize = Y->size;
    ysign *= Y->sign;
    int m = std::max(X->size, ysize);
    growTo(X, m + 2);
    for (int i = 0; i < m; ++i) {
        int y = i < ysize ? Y->number[i] : 0;
        X->number[i] = X->number[i] * xsign + y * ysign;
    }
    X->sign = 1;
    X->size = m;
    regform(X);
}

int decimalDigits(int v) {
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

} // namespace

namespace large_integer_internal {

char* copyToTextBuffer(const std::string& text) {
    char* out = textBuffer(text.size() + 20);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

std::string lintText(const lint* X) {
    if (X->size == 0)
        return "0";
    std::string text = X->sign < 0 ? "-" : "";
    char word[16];
    std::snprintf(word, sizeof word, "%d", X->number[X->size - 1]);
    text += word;
    for (int i = X->size - 2; i >= 0; --i) {
        std::snprintf(word, sizeof word, "%04d", X->number[i]);
        text += word;
    }
    return text;
}

// Compares magnitudes of two normal forms.
int compareMagnitude(const lint* A, const lint* B) {
    if (A->size != B->size)
        return A->size > B->size ? 1 : -1;
    for (int i = A->size - 1; i >= 0; --i)
        if (A->number[i] != B->number[i])
            return A->number[i] > B->number[i] ? 1 : -1;
    return 0;
}

} // namespace large_integer_internal

// ---------------------------------------------------------------- creation and storage

lint* lint_alloc(int reqsize) {
    auto A = std::make_unique<lint>();
    A->number.assign(reqsize > 0 ? reqsize : 5, 0);
    return A.release();
}

lint* int_to_newlint(int i) {
    lint* A = lint_alloc(5);
    lint_assign(A, i);
    return A;
}

void lint_free(lint* A) {
    std::unique_ptr<lint> owned(A);
}

void lint_realloc(lint* A, int reqsize) {
    if (reportNull(A))
        return;
    if (A->arraysize() > reqsize)
        return;
    A->number.resize(reqsize, 0);
    std::fill(A->number.begin() + std::min(A->size, reqsize), A->number.end(), 0);
}

void nullify_lint(lint* X) {
    std::fill(X->number.begin(), X->number.end(), 0);
    X->size = 0;
    X->sign = 1;
}

void sizeUp(lint* X) {
    if (X->arraysize() < X->size + 3)
        X->number.resize(X->size + 10, 0);
    ++X->size;
}

int checkLint(const lint* X) {
    bool bad = false;
    for (int i = std::max(X->size, 0); i < X->arraysize(); ++i) {
        if (X->number[i] != 0) {
            std::printf("%d %d\n", i, X->number[i]);
            bad = true;
        }
    }
    if (bad)
        Alert("checkLint", 0, 100302, "Incorrect size specification of large integer");
    return bad ? 1 : 0;
}

// ---------------------------------------------------------------- assignment and text

void lint_assign(lint* A, int i) {
    nullify_lint(A);
    if (i == 0)
        return;
    growTo(A, 3);
    std::int64_t magnitude = i < 0 ? -static_cast<std::int64_t>(i) : i;
    A->sign = i < 0 ? -1 : 1;
    while (magnitude > 0) {
        A->number[A->size++] = static_cast<int>(magnitude % Base);
        magnitude /= Base;
    }
}

void lint_copy(lint* A, const lint* B) {
    if (reportNull(A) || A == B)
        return;
    if (B->arraysize() >= A->arraysize())
        lint_realloc(A, B->arraysize());
    std::copy(B->number.begin(), B->number.begin() + B->size, A->number.begin());
    std::fill(A->number.begin() + B->size, A->number.end(), 0);
    A->size = B->size;
    A->sign = B->sign;
}

int string_to_lint(lint* X, const char* string) {
    nullify_lint(X);
    int length = static_cast<int>(std::strlen(string));
    if (length / 4 + 5 >= X->arraysize())
        lint_realloc(X, length / 4 + 5);
    int digits = 0;
    for (int pos = length - 1; pos >= 0; --pos) {
        char c = string[pos];
        if (c >= '0' && c <= '9') {
            static constexpr int place[4] = {1, 10, 100, 1000};
            if (digits % 4 == 0)
                ++X->size;
            X->number[digits / 4] += (c - '0') * place[digits % 4];
            ++digits;
            continue;
        }
        if (pos == 0 && c == '-') {
            X->sign = -1;
            break;
        }
        Alert("string_to_lint", 0, 100302, "String \"%s\" is non-numerical", string);
        return 1;
    }
    regform(X);
    return 0;
}

char* lint_string(const lint* X) {
    char* out = textBuffer(4 * static_cast<std::size_t>(X->size) + 20);
    std::string text = lintText(X);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

void lint_print(const lint* X) {
    std::printf("%s\n", lintText(X).c_str());
}

int lintNdigit(const lint* A) {
    if (A->size == 0)
        return 1;
    return decimalDigits(A->number[A->size - 1]) + 4 * (A->size - 1);
}

int lintSize(const char* string) {
    return static_cast<int>(std::strlen(string)) / 4 + 5;
}

// ---------------------------------------------------------------- arithmetic

void lint_add(lint* X, const lint* Y) {
    addSigned(X, Y, 1);
}

void lint_subtract(lint* X, const lint* Y) {
    addSigned(X, Y, -1);
}

void lint_intadd(lint* X, int a) {
    if (X->size == 0) {
        growTo(X, 3);
        X->size = 1;
    }
    // Split the sum over two words so that no cell leaves the int range, whatever a is.
    std::int64_t cell = X->number[0] + static_cast<std::int64_t>(a) * X->sign;
    X->number[0] = static_cast<int>(cell % Base);
    int carry = static_cast<int>(cell / Base);
    if (carry != 0) {
        if (X->size == 1)
            sizeUp(X);
        X->number[1] += carry;
    }
    regform(X);
}

void lint_intprod(lint* X, int a) {
    regform(X);
    if (a == 0 || X->size == 0) {
        nullify_lint(X);
        return;
    }
    // 64-bit cells: any int factor is safe, not only those below 214748.
    std::int64_t factor = a < 0 ? -static_cast<std::int64_t>(a) : a;
    std::int64_t carry = 0;
    for (int i = 0; i < X->size; ++i) {
        std::int64_t cell = X->number[i] * factor + carry;
        X->number[i] = static_cast<int>(cell % Base);
        carry = cell / Base;
    }
    while (carry > 0) {
        sizeUp(X);
        X->number[X->size - 1] = static_cast<int>(carry % Base);
        carry /= Base;
    }
    if (a < 0)
        X->sign = -X->sign;
}

void lint_multiply(lint* X, const lint* Y) {
    int xsize = X->size, ysize = Y->size;
    int n = xsize + ysize;
    int sign = X->sign * Y->sign;
    if (productCells.size() < static_cast<std::size_t>(n + 2))
        productCells.resize(n + 2);
    std::fill(productCells.begin(), productCells.begin() + n + 2, 0);
    // Words are below 10^4 after normalisation, so a 64-bit cell takes ~10^11 products.
    for (int i = 0; i < xsize; ++i)
        for (int j = 0; j < ysize; ++j)
            productCells[i + j] +=
                static_cast<std::int64_t>(X->number[i]) * static_cast<std::int64_t>(Y->number[j]);
    growTo(X, n + 2);
    std::int64_t carry = 0;
    for (int k = 0; k < n; ++k) {
        std::int64_t cell = productCells[k] + carry;
        X->number[k] = static_cast<int>(cell % Base);
        carry = cell / Base;
    }
    std::fill(X->number.begin() + n, X->number.end(), 0);
    X->size = n;
    X->sign = sign;
    // Only operands left unnormalised by the caller carry past the last cell or leave signed
    // words; the normalisation settles both.
    for (; carry != 0; carry /= Base) {
        sizeUp(X);
        X->number[X->size - 1] = static_cast<int>(carry % Base);
    }
    regform(X);
}

void lint_power(lint* A, int base, int power) {
    lint_assign(A, 1);
    if (power < 0) {
        Alert("lint_power", 0, 112311, "Negative powers not built in");
        return;
    }
    for (int k = 0; k < power && A->size > 0; ++k)
        lint_intprod(A, base);
}

int exact_division(lint* A, lint* B, lint* Result) {
    regform(A);
    regform(B);
    if (A->sign < 0 || B->sign < 0) {
        Alert("exact_division", 0, 100302, "Negative signs not allowed in routine exact_division");
        return 1;
    }
    if (isZero(B)) {
        Alert("exact_division", 1, 100302, "Division by 0");
        return 1;
    }
    LintPtr C(lint_alloc(5)), D(lint_alloc(5));
    while (!isZero(A)) {
        int order = compareMagnitude(A, B);
        if (order < 0)
            return 0;
        if (order == 0) {
            nullify_lint(A);
            lint_intadd(Result, 1);
            return 0;
        }
        getIntegerRatio(A, B, C.get(), D.get());
        lint_add(Result, C.get());
        lint_subtract(A, D.get());
    }
    return 0;
}

void lint_flip(lint* X) {
    X->sign = -X->sign;
}

void lint_switch(lint* X) {
    X->sign = -X->sign;
    for (int i = 0; i < X->size; ++i)
        X->number[i] = -X->number[i];
}

void regform(lint* X) {
    if (X->size == 0) {
        X->sign = 1;
        return;
    }
    carryPass(X);
    dropZeroTop(X);
    if (X->size == 0)
        return;
    if (X->number[X->size - 1] < 0) {
        X->sign = -X->sign;
        for (int i = 0; i < X->size; ++i)
            X->number[i] = -X->number[i];
        carryPass(X);
        dropZeroTop(X);
    }
}

void minform(lint* X) {
    carryPass(X);
}

// ---------------------------------------------------------------- comparisons

int lint_compare(const lint* A, const lint* B) {
    if (A->sign != B->sign)
        return A->sign > B->sign ? 1 : -1;
    return A->sign * compareMagnitude(A, B);
}

namespace {
int normalisedCompare(lint* A, lint* B) {
    regform(A);
    regform(B);
    return lint_compare(A, B);
}
} // namespace

int lint_eq(lint* A, lint* B) {
    return normalisedCompare(A, B) == 0;
}
int lint_neq(lint* A, lint* B) {
    return normalisedCompare(A, B) != 0;
}
int lint_lt(lint* A, lint* B) {
    return normalisedCompare(A, B) < 0;
}
int lint_gt(lint* A, lint* B) {
    return normalisedCompare(A, B) > 0;
}
int lint_leq(lint* A, lint* B) {
    return normalisedCompare(A, B) <= 0;
}
int lint_geq(lint* A, lint* B) {
    return normalisedCompare(A, B) >= 0;
}

// ---------------------------------------------------------------- conversions and handles

int lint_to_int(lint* A) {
    regform(A);
    // Three words reach 10^12, so the whole int range is decided here, not only two words.
    if (A->size <= 3) {
        std::int64_t magnitude = 0;
        for (int i = A->size - 1; i >= 0; --i)
            magnitude = magnitude * Base + A->number[i];
        std::int64_t value = A->sign * magnitude;
        if (value >= INT32_MIN && value <= INT32_MAX)
            return static_cast<int>(value);
    }
    Alert("lint_to_int", 0, 110413, "Integer overflow in conversion of %s", lint_string(A));
    return LintIntOverflow;
}

int storePositiveLint(lint* X) {
    regform(X);
    if (X->sign < 0) {
        Alert("storePositiveLint", 0, 212404, "Unexpected negative integer");
        return 0;
    }
    if (X->size <= 1)
        return X->size == 0 ? 0 : X->number[0];
    return ~storeLint(X);
}

int storeLint(lint* X) {
    std::size_t used = LintStorage.size();
    if (used + 10 > LintStorage.capacity())
        LintStorage.reserve(used + 100);
    LintStorage.emplace_back(X);
    return static_cast<int>(used);
}

lint* retrieveLint(int lbl) {
    if (lbl >= 0)
        return nullptr;
    std::size_t index = static_cast<std::size_t>(~lbl);
    return index < LintStorage.size() ? LintStorage[index].get() : nullptr;
}

lint* makeOrRetrieveLint(int lbl, lint* A) {
    if (lbl < 0)
        return retrieveLint(lbl);
    lint_assign(A, lbl);
    return A;
}

int PosIntSize(int d) {
    if (d >= 0)
        return decimalDigits(d);
    const lint* stored = retrieveLint(d);
    return stored ? lintNdigit(stored) : 0;
}

// ---------------------------------------------------------------- floating estimate

ldouble* ldouble_alloc(ldouble* A) {
    if (A)
        return A;
    return std::make_unique<ldouble>().release();
}

void ldouble_regform(ldouble* X) {
    if (!std::isfinite(X->value))
        return; // no base-10000 form; the scaling loops would not end
    if (X->value == 0.0) {
        X->exp = 0;
        X->sign = 1;
        return;
    }
    if (X->value < 0) {
        X->value = -X->value;
        X->sign = -X->sign;
    }
    while (X->value < 1.0) {
        X->value *= Base;
        --X->exp;
    }
    while (X->value >= Base) {
        X->value /= Base;
        ++X->exp;
    }
}

void ldouble_ratio(const ldouble* X, const ldouble* Y, ldouble* ratio) {
    ratio->value = X->value / Y->value;
    ratio->exp = X->exp - Y->exp;
    ratio->sign = X->sign * Y->sign;
}

void lintToDouble(const lint* A, ldouble* X) {
    double m = 0.0;
    for (int i = 0; i < A->size; ++i)
        m = m / Base + A->number[i];
    X->value = m;
    X->exp = A->size - 1;
    X->sign = A->sign;
}

void doubleToLint(lint* C, ldouble* X) {
    ldouble_regform(X);
    if (reportNull(C))
        return;
    int top = X->exp;
    if (top < 0 || !std::isfinite(X->value)) { // below 1 (or no number): the integer part is 0
        nullify_lint(C);
        X->exp = -1;
        return;
    }
    if (top + 10 >= C->arraysize())
        lint_realloc(C, top + 10);
    nullify_lint(C);
    C->size = top + 1;
    C->sign = X->sign;
    double value = X->value;
    for (int i = top; i >= 0; --i) {
        int word = static_cast<int>(value);
        C->number[i] = word;
        value = (value - word) * Base;
    }
    X->exp = -1;
    // Rounding may leave a word of 10000, and a zero estimate one zero word.
    regform(C);
}

namespace {
// C := the integer part of the quotient estimate scaled by factor, D := C·B.
void estimateQuotient(const ldouble& X, const ldouble& Y, double factor, lint* B, lint* C,
                      lint* D) {
    ldouble q;
    ldouble_ratio(&X, &Y, &q);
    q.value *= factor;
    if (q.value < 1.0 && q.exp <= 0) {
        q.value = 1.0;
        q.exp = 0;
    }
    doubleToLint(C, &q);
    // A > B makes the quotient at least 1; an estimate that rounds below it would never end.
    if (C->size == 0)
        lint_assign(C, 1);
    lint_copy(D, C);
    lint_multiply(D, B);
}
} // namespace

void getIntegerRatio(lint* A, lint* B, lint* C, lint* D) {
    ldouble X, Y;
    lintToDouble(A, &X);
    lintToDouble(B, &Y);
    estimateQuotient(X, Y, 0.999999999999, B, C, D);
    if (lint_compare(D, A) <= 0)
        return;
    Alert("getIntegerRatio", 0, 100302, "Convergence problem; trying emergency procedure");
    estimateQuotient(X, Y, 0.999999, B, C, D);
    if (lint_compare(D, A) <= 0)
        return;
    lint_assign(C, 1);
    lint_copy(D, B);
}
