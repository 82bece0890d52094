// Big rationals over two big integers, and positive integers held as prime exponents.
#include "numeric/LargeInteger.h"

#include "base/Error.h"
#include "numeric/LargeIntegerInternal.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

using namespace large_integer_internal;

// ---------------------------------------------------------------- big rationals

namespace {

LintPtr scratch() {
    return LintPtr(lint_alloc(5));
}

void ensureLint(lint*& X) {
    if (!X)
        X = lint_alloc(5);
}

// A := A mod B repeatedly with the two exchanged, until B is zero: A ends as the gcd.
void euclid(lint* A, lint* B) {
    static LintPtr quotient = scratch();
    while (!isZero(B)) {
        nullify_lint(quotient.get());
        exact_division(A, B, quotient.get());
        std::swap(*A, *B);
    }
}

void divideInPlace(lint* X, lint* g) {
    static LintPtr quotient = scratch();
    nullify_lint(quotient.get());
    exact_division(X, g, quotient.get());
    lint_copy(X, quotient.get());
}

// A := A ± B without reduction.
void crossAdd(lrat* A, const lrat* B, int sign) {
    static LintPtr term = scratch();
    lint_copy(term.get(), B->num);
    lint_multiply(term.get(), A->den);
    lint_multiply(A->num, B->den);
    if (sign > 0)
        lint_add(A->num, term.get());
    else
        lint_subtract(A->num, term.get());
    lint_multiply(A->den, B->den);
}

} // namespace

lrat* lrat_Alloc(lint* A, lint* B) {
    auto r = std::make_unique<lrat>();
    r->num = A;
    r->den = B;
    return r.release();
}

void lrat_free(lrat* A) {
    if (!A)
        return;
    lint_free(A->num);
    lint_free(A->den);
    std::unique_ptr<lrat> owned(A);
}

void lrat_assign(lrat* A, int i, int j) {
    ensureLint(A->num);
    ensureLint(A->den);
    lint_assign(A->num, i);
    lint_assign(A->den, j);
}

void lrat_copy(lrat* A, const lrat* B) {
    lint_copy(A->num, B->num);
    lint_copy(A->den, B->den);
}

void lrat_regform(lrat* A) {
    regform(A->num);
    regform(A->den);
    if (A->den->sign < 0) {
        A->den->sign = 1;
        lint_flip(A->num);
        regform(A->num);
    }
}

void simplify_rat(lrat* X) {
    ensureLint(X->den);
    regform(X->num);
    regform(X->den);
    if (isZero(X->num)) {
        lint_assign(X->num, 0);
        lint_assign(X->den, 1);
        return;
    }
    if (isZero(X->den))
        return; // no reduction possible; the text shows it as INFINITY
    int s = X->num->sign * X->den->sign;
    X->num->sign = X->den->sign = 1;
    if (compareMagnitude(X->num, X->den) == 0) {
        lint_assign(X->num, s);
        lint_assign(X->den, 1);
        return;
    }
    static LintPtr A = scratch(), B = scratch();
    bool numLarger = compareMagnitude(X->num, X->den) > 0;
    lint_copy(A.get(), numLarger ? X->num : X->den);
    lint_copy(B.get(), numLarger ? X->den : X->num);
    euclid(A.get(), B.get());
    divideInPlace(X->num, A.get());
    divideInPlace(X->den, A.get());
    X->num->sign = s;
}

void lrat_add(lrat* A, const lrat* B) {
    crossAdd(A, B, 1);
    simplify_rat(A);
}

void lrat_subtract(lrat* A, const lrat* B) {
    crossAdd(A, B, -1);
    simplify_rat(A);
}

void lrat_multiply(lrat* A, const lrat* B) {
    lint_multiply(A->num, B->num);
    lint_multiply(A->den, B->den);
    simplify_rat(A);
}

void lrat_divide(lrat* A, const lrat* B) {
    regform(B->num);
    if (isZero(B->num)) {
        Alert("lrat_divide", 0, 100302, "Attempt to divide by 0");
        return;
    }
    static LintPtr divisorNum = scratch();
    lint_copy(divisorNum.get(), B->num); // B may be A
    lint_multiply(A->num, B->den);
    lint_multiply(A->den, divisorNum.get());
    simplify_rat(A);
}

int lrat_sign(lrat* A) {
    simplify_rat(A);
    return isZero(A->num) ? 0 : A->num->sign;
}

int lrat_zero_check(lrat* A) {
    regform(A->num);
    return isZero(A->num) ? 1 : 0;
}

int lrat_compare(const lrat* A, const lrat* B) {
    if (A->num->sign != B->num->sign)
        return A->num->sign > B->num->sign ? 1 : -1;
    static LintPtr left = scratch(), right = scratch();
    lint_copy(left.get(), A->num);
    lint_multiply(left.get(), B->den);
    lint_copy(right.get(), B->num);
    lint_multiply(right.get(), A->den);
    return lint_compare(left.get(), right.get());
}

namespace {
int normalisedCompare(lrat* A, lrat* B) {
    lrat_regform(A);
    lrat_regform(B);
    return lrat_compare(A, B);
}
} // namespace

int lrat_eq(lrat* A, lrat* B) {
    return normalisedCompare(A, B) == 0;
}
int lrat_neq(lrat* A, lrat* B) {
    return normalisedCompare(A, B) != 0;
}
int lrat_lt(lrat* A, lrat* B) {
    return normalisedCompare(A, B) < 0;
}
int lrat_gt(lrat* A, lrat* B) {
    return normalisedCompare(A, B) > 0;
}
int lrat_leq(lrat* A, lrat* B) {
    return normalisedCompare(A, B) <= 0;
}
int lrat_geq(lrat* A, lrat* B) {
    return normalisedCompare(A, B) >= 0;
}

char* lrat_string(const lrat* X) {
    if (isZero(X->num))
        return copyToTextBuffer("0");
    if (isZero(X->den))
        return copyToTextBuffer("INFINITY");
    if (X->den->size == 1 && X->den->number[0] == 1 && X->den->sign > 0)
        return copyToTextBuffer(lintText(X->num));
    std::string text = lintText(X->num) + "/";
    if (X->den->sign < 0)
        Alert("lrat_string", 0, 212404, "Denominator sign in large rational number");
    text += lintText(X->den);
    return copyToTextBuffer(text);
}

namespace {
// Up to 10^300 the words are summed from the top exactly as far as a double allows; beyond,
// numerator and denominator are scaled apart so that their quotient does not become inf/inf.
constexpr int DirectWords = 75;

double topDownValue(const lint* X) {
    double value = 0.0;
    for (int i = X->size - 1; i >= 0; --i)
        value = value * Base + X->number[i];
    return value;
}

double scaledQuotient(const lint* N, const lint* D) {
    ldouble n, d;
    lintToDouble(N, &n);
    lintToDouble(D, &d);
    double value = n.value / d.value;
    for (int e = n.exp - d.exp; e > 0 && value < DBL_MAX; --e)
        value *= Base;
    for (int e = n.exp - d.exp; e < 0 && value > 0.0; ++e)
        value /= Base;
    return value;
}
} // namespace

double lratToDouble(const lrat* A) {
    if (isZero(A->den)) {
        Alert("lratToDouble", 0, 100302, "Division by 0");
        return DBL_MAX;
    }
    double value;
    if (A->num->size <= DirectWords && A->den->size <= DirectWords)
        value = topDownValue(A->num) / topDownValue(A->den);
    else
        value = scaledQuotient(A->num, A->den);
    return value * A->num->sign * A->den->sign;
}

// ---------------------------------------------------------------- factorised integers

namespace {
void growSlots(fint* A, int needed) {
    while (A->arraysize() < needed)
        fint_double(A);
}

void dropTrailingZeros(fint* A) {
    while (A->size > 0 && A->powers[A->size - 1] == 0)
        --A->size;
}

// C := A + s·B exponentwise.
void combine(const fint* A, const fint* B, int s, fint* C) {
    int m = std::max(A->size, B->size);
    growSlots(C, m);
    for (int i = 0; i < m; ++i) {
        int a = i < A->size ? A->powers[i] : 0;
        int b = i < B->size ? B->powers[i] : 0;
        C->powers[i] = a + s * b;
    }
    std::fill(C->powers.begin() + m, C->powers.end(), 0);
    C->size = m;
    dropTrailingZeros(C);
}
} // namespace

fint* fint_alloc(fint* A) {
    if (A)
        return A;
    auto f = std::make_unique<fint>();
    f->powers.assign(20, 0);
    return f.release();
}

void fint_free(fint* A) {
    std::unique_ptr<fint> owned(A);
}

fint* inttofint(int a, fint* A) {
    A = fint_alloc(A);
    std::fill(A->powers.begin(), A->powers.begin() + A->size, 0);
    for (int i = 0; a >= 2; ++i) {
        int p = prime(i);
        while (a % p == 0) {
            a /= p;
            ++A->powers[i];
            A->size = i + 1;
        }
        if (A->arraysize() == i + 1)
            fint_double(A);
    }
    return A;
}

void fint_prod(const fint* A, const fint* B, fint* C) {
    combine(A, B, 1, C);
}

void fint_ratio(const fint* A, const fint* B, fint* C) {
    combine(A, B, -1, C);
}

void fint_copy(const fint* A, fint* B) {
    if (A == B)
        return;
    B->powers = A->powers;
    B->sign = A->sign;
    B->size = A->size;
}

void fint_double(fint* A) {
    A->powers.resize(std::max(2 * A->powers.size(), std::size_t{1}), 0);
}

void fint_to_lint(const fint* A, lint* B) {
    lint_assign(B, 1);
    for (int i = 0; i < A->size; ++i)
        for (int k = 0; k < A->powers[i]; ++k)
            lint_intprod(B, prime(i));
}

char* fint_string(const fint* A) {
    static LintPtr value = scratch();
    fint_to_lint(A, value.get());
    return lint_string(value.get());
}

double finttodouble(const fint* A) {
    double value = 1.0;
    for (int i = 0; i < A->size; ++i)
        for (int k = 0; k < A->powers[i]; ++k)
            value *= prime(i);
    return value;
}

void fint_print(const fint* A, const char* txt) {
    static LintPtr value = scratch();
    if (txt)
        std::printf("%s\n", txt);
    for (int i = 0; i < A->size; ++i)
        std::printf("%d ", A->powers[i]);
    std::printf("\n");
    fint_to_lint(A, value.get());
    lint_print(value.get());
}
