// Exact numbers beyond 32 bits: big integers in base-10000 words (`lint`), big rationals
// (`lrat`), positive integers held as prime exponents (`fint`), and the PosInt handle through
// which big integers travel in interfaces that pass ints.
//
// The C-style interface (raw records handed around by pointer, operations in place on their first
// argument) is what the rest of the system is written against; the word arrays themselves are
// vectors. Texts returned by lint_string, lrat_string and fint_string share one buffer that the
// next call of any of them overwrites.
#pragma once

#include <memory>
#include <vector>

// A big integer: sign × Σ number[i] · 10000^i over i < size.
// Normal form: words in 0..9999, top word non-zero, zero as size 0 with sign +1, and every
// allocated word at or above size equal to 0.
struct Lint {
    std::vector<int> number; // words of the magnitude, least significant first
    int sign = 1;            // +1 or -1
    int size = 0;            // words in use

    int arraysize() const { return static_cast<int>(number.size()); }
};
using lint = Lint;

// A floating value with its own exponent in base 10000: sign × value × 10000^exp,
// normal form 1 <= value < 10000 or exactly 0 (then exp 0, sign +1).
struct Ldouble {
    double value = 0.0;
    int sign = 1;
    int exp = 0;
};
using ldouble = Ldouble;

// Creation and storage.
lint* lint_alloc(int reqsize);
lint* int_to_newlint(int i);
void lint_free(lint* A);
void lint_realloc(lint* A, int reqsize);
void nullify_lint(lint* X);
void sizeUp(lint* X);
int checkLint(const lint* X); // 1 when a word at or above size is non-zero (reported)

struct LintDeleter {
    void operator()(lint* A) const { lint_free(A); }
};
using LintPtr = std::unique_ptr<lint, LintDeleter>;

// Assignment and text.
void lint_assign(lint* A, int i);
void lint_copy(lint* A, const lint* B);
int string_to_lint(lint* X, const char* string);
char* lint_string(const lint* X);
void lint_print(const lint* X);
int lintNdigit(const lint* A);
int lintSize(const char* string);

// Arithmetic in place on the first argument, which may be the second as well.
void lint_add(lint* X, const lint* Y);
void lint_subtract(lint* X, const lint* Y);
void lint_intadd(lint* X, int a);
void lint_intprod(lint* X, int a);
void lint_multiply(lint* X, const lint* Y);
void lint_power(lint* A, int base, int power);
int exact_division(lint* A, lint* B, lint* Result);
void lint_flip(lint* X);
void lint_switch(lint* X);
void regform(lint* X);
void minform(lint* X);

// Comparisons. lint_compare needs normal forms; the others normalise both operands first.
int lint_compare(const lint* A, const lint* B);
int lint_eq(lint* A, lint* B);
int lint_neq(lint* A, lint* B);
int lint_lt(lint* A, lint* B);
int lint_gt(lint* A, lint* B);
int lint_leq(lint* A, lint* B);
int lint_geq(lint* A, lint* B);

// Conversions and PosInt handles: a handle h >= 0 is the value h, a handle h < 0 the big
// integer stored at index ~h of the process-wide table, which only grows.
inline constexpr int LintIntOverflow = -2147483647 - 1;
int lint_to_int(lint* A);
int storePositiveLint(lint* X);
int storeLint(lint* X);
lint* retrieveLint(int lbl);
lint* makeOrRetrieveLint(int lbl, lint* A);
int PosIntSize(int d);

// Floating quotient estimate of the division.
ldouble* ldouble_alloc(ldouble* A);
void ldouble_regform(ldouble* X);
void ldouble_ratio(const ldouble* X, const ldouble* Y, ldouble* ratio);
void lintToDouble(const lint* A, ldouble* X);
void doubleToLint(lint* C, ldouble* X);
void getIntegerRatio(lint* A, lint* B, lint* C, lint* D);

// A big rational; it owns both big integers. Reduced form: no common factor, positive
// denominator, zero as 0/1.
struct Lrat {
    lint* num = nullptr; // carries the sign
    lint* den = nullptr;
};
using lrat = Lrat;

lrat* lrat_Alloc(lint* A, lint* B);
void lrat_free(lrat* A);
void lrat_assign(lrat* A, int i, int j);
void lrat_copy(lrat* A, const lrat* B);
void lrat_regform(lrat* A);
void simplify_rat(lrat* X);
void lrat_add(lrat* A, const lrat* B);
void lrat_subtract(lrat* A, const lrat* B);
void lrat_multiply(lrat* A, const lrat* B);
void lrat_divide(lrat* A, const lrat* B);
int lrat_sign(lrat* A);
int lrat_zero_check(lrat* A);
int lrat_compare(const lrat* A, const lrat* B);
int lrat_eq(lrat* A, lrat* B);
int lrat_neq(lrat* A, lrat* B);
int lrat_lt(lrat* A, lrat* B);
int lrat_gt(lrat* A, lrat* B);
int lrat_leq(lrat* A, lrat* B);
int lrat_geq(lrat* A, lrat* B);
char* lrat_string(const lrat* X);
double lratToDouble(const lrat* A);

struct LratDeleter {
    void operator()(lrat* A) const { lrat_free(A); }
};
using LratPtr = std::unique_ptr<lrat, LratDeleter>;

// A positive integer or ratio as Π prime(i)^powers[i] over i < size (prime 0 is 2).
struct Fint {
    std::vector<int> powers; // exponent of the i-th prime; negative ones make a ratio
    int sign = 1;            // reserved
    int size = 0;            // one more than the highest prime index with a non-zero exponent

    int arraysize() const { return static_cast<int>(powers.size()); }
};
using fint = Fint;

fint* fint_alloc(fint* A);
void fint_free(fint* A);
fint* inttofint(int a, fint* A);
void fint_prod(const fint* A, const fint* B, fint* C);
void fint_ratio(const fint* A, const fint* B, fint* C);
void fint_copy(const fint* A, fint* B);
void fint_double(fint* A);
void fint_to_lint(const fint* A, lint* B);
char* fint_string(const fint* A);
double finttodouble(const fint* A);
void fint_print(const fint* A, const char* txt);

struct FintDeleter {
    void operator()(fint* A) const { fint_free(A); }
};
using FintPtr = std::unique_ptr<fint, FintDeleter>;
