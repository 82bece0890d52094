#include "numeric/LargeInteger.h"

#include "LargeNumberTestHelpers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

namespace {

using namespace largetest;

// ---------------------------------------------------------------- big rationals

LratPtr makeRat(const char* num, const char* den) {
    return LratPtr(lrat_Alloc(fromText(num).release(), fromText(den).release()));
}

std::string ratText(const lrat* X) {
    return lrat_string(X);
}

TEST(LargeRational, ReductionTable) {
    struct Case {
        int num, den;
        const char* reduced;
    };
    const Case cases[] = {{0, 5, "0/1"},   {6, 4, "3/2"},   {-6, -4, "3/2"}, {6, -4, "-3/2"},
                          {5, 5, "1/1"},   {-5, 5, "-1/1"}, {0, -3, "0/1"},  {-7, 1, "-7/1"},
                          {12, 18, "2/3"}, {-1, -1, "1/1"}};
    for (const Case& c : cases) {
        LratPtr X(lrat_Alloc(nullptr, nullptr));
        lrat_assign(X.get(), c.num, c.den);
        simplify_rat(X.get());
        std::string shown = text(X->num) + "/" + text(X->den);
        EXPECT_EQ(shown, c.reduced) << c.num << "/" << c.den;
        EXPECT_TRUE(isNormal(X->num));
        EXPECT_TRUE(isNormal(X->den));
    }
}

TEST(LargeRational, ReducesBigNumbers) {
    // 30! / 2^30: 30! holds 2 exactly 15 + 7 + 3 + 1 = 26 times.
    LintPtr num = fromText(Factorial30), den(lint_alloc(0));
    lint_power(den.get(), 2, 30);
    LratPtr X(lrat_Alloc(num.release(), den.release()));
    simplify_rat(X.get());
    EXPECT_EQ(text(X->den), "16");
    LintPtr back(lint_alloc(0));
    lint_copy(back.get(), X->num);
    lint_intprod(back.get(), 1 << 26);
    EXPECT_EQ(text(back.get()), Factorial30);

    // 2^100·3 / (2^98·9) = 4/3
    LintPtr a = fromText(TwoTo100), b(lint_alloc(0));
    lint_intprod(a.get(), -3);
    lint_power(b.get(), 2, 98);
    lint_intprod(b.get(), 9);
    LratPtr Y(lrat_Alloc(a.release(), b.release()));
    simplify_rat(Y.get());
    EXPECT_EQ(ratText(Y.get()), "-4/3");
}

TEST(LargeRational, HarmonicNumbers) {
    LratPtr H(lrat_Alloc(nullptr, nullptr)), term(lrat_Alloc(nullptr, nullptr));
    lrat_assign(H.get(), 0, 1);
    for (int k = 1; k <= 30; ++k) {
        lrat_assign(term.get(), 1, k);
        lrat_add(H.get(), term.get());
        if (k == 20) {
            EXPECT_EQ(ratText(H.get()), "55835135/15519504");
        }
    }
    EXPECT_EQ(ratText(H.get()), "9304682830147/2329089562800");
    for (int k = 30; k >= 1; --k) {
        lrat_assign(term.get(), 1, k);
        lrat_subtract(H.get(), term.get());
    }
    EXPECT_EQ(ratText(H.get()), "0");
    EXPECT_EQ(text(H->den), "1");
}

TEST(LargeRational, ArithmeticAndAliasing) {
    struct Case {
        const char* a[2];
        char op;
        const char* b[2];
        const char* result;
    };
    const Case cases[] = {
        {{"1", "2"}, '+', {"1", "3"}, "5/6"},   {{"1", "2"}, '-', {"1", "3"}, "1/6"},
        {{"1", "3"}, '-', {"1", "2"}, "-1/6"},  {{"2", "3"}, '*', {"3", "4"}, "1/2"},
        {{"2", "3"}, '/', {"-4", "9"}, "-3/2"}, {{"-2", "3"}, '/', {"-4", "9"}, "3/2"},
        {{"1", "2"}, '+', {"-1", "2"}, "0"},    {{"0", "1"}, '*', {"-5", "7"}, "0"},
    };
    for (const Case& c : cases) {
        LratPtr A = makeRat(c.a[0], c.a[1]), B = makeRat(c.b[0], c.b[1]);
        switch (c.op) {
        case '+':
            lrat_add(A.get(), B.get());
            break;
        case '-':
            lrat_subtract(A.get(), B.get());
            break;
        case '*':
            lrat_multiply(A.get(), B.get());
            break;
        default:
            lrat_divide(A.get(), B.get());
            break;
        }
        EXPECT_EQ(ratText(A.get()), c.result) << c.a[0] << "/" << c.a[1] << ' ' << c.op;
    }

    LratPtr X = makeRat("-1", "3");
    lrat_add(X.get(), X.get());
    EXPECT_EQ(ratText(X.get()), "-2/3");
    lrat_multiply(X.get(), X.get());
    EXPECT_EQ(ratText(X.get()), "4/9");
    lrat_divide(X.get(), X.get());
    EXPECT_EQ(ratText(X.get()), "1");
    lrat_subtract(X.get(), X.get());
    EXPECT_EQ(ratText(X.get()), "0");
}

TEST_F(LargeNumberReport, DivisionByZeroRationalIsRefused) {
    LratPtr A = makeRat("3", "4"), Z = makeRat("0", "1");
    int before = alerts("lrat_divide", 0);
    lrat_divide(A.get(), Z.get());
    EXPECT_EQ(alerts("lrat_divide", 0), before + 1);
    EXPECT_EQ(ratText(A.get()), "3/4");
}

TEST_F(LargeNumberReport, TextForms) {
    EXPECT_EQ(ratText(makeRat("3", "2").get()), "3/2");
    EXPECT_EQ(ratText(makeRat("-3", "2").get()), "-3/2");
    EXPECT_EQ(ratText(makeRat("7", "1").get()), "7");
    EXPECT_EQ(ratText(makeRat("5", "0").get()), "INFINITY");
    EXPECT_EQ(ratText(makeRat("0", "7").get()), "0");
    EXPECT_EQ(ratText(makeRat("0", "0").get()), "0");
    EXPECT_EQ(ratText(makeRat(Factorial30, TwoTo100).get()),
              std::string(Factorial30) + "/" + TwoTo100);

    int before = alerts("lrat_string", 0);
    EXPECT_EQ(ratText(makeRat("3", "-2").get()), "3/-2");
    EXPECT_EQ(ratText(makeRat("3", "-1").get()), "3/-1");
    EXPECT_EQ(alerts("lrat_string", 0), before + 2);
}

TEST_F(LargeNumberReport, ConversionToDouble) {
    EXPECT_DOUBLE_EQ(lratToDouble(makeRat("1", "100000000").get()), 1e-8);
    EXPECT_DOUBLE_EQ(lratToDouble(makeRat("-1", "4").get()), -0.25);
    EXPECT_DOUBLE_EQ(lratToDouble(makeRat("3", "-4").get()), -0.75);
    EXPECT_DOUBLE_EQ(lratToDouble(makeRat("0", "9").get()), 0.0);
    EXPECT_NEAR(lratToDouble(makeRat(Factorial30, TwoTo100).get()), 209.2476111039072, 1e-9);

    // Numbers beyond the double range still give their quotient.
    std::string huge = "1" + std::string(400, '0'), third = "3" + std::string(399, '0');
    EXPECT_NEAR(lratToDouble(makeRat(huge.c_str(), third.c_str()).get()), 10.0 / 3.0, 1e-12);
    EXPECT_EQ(lratToDouble(makeRat("1", huge.c_str()).get()), 0.0);

    int before = alerts("lratToDouble", 0);
    EXPECT_EQ(lratToDouble(makeRat("1", "0").get()), DBL_MAX);
    EXPECT_EQ(alerts("lratToDouble", 0), before + 1);
}

TEST(LargeRational, Comparisons) {
    struct Case {
        const char* a[2];
        const char* b[2];
        int order;
    };
    const Case cases[] = {
        {{"-1", "2"}, {"1", "3"}, -1},
        {{"1", "3"}, {"1", "2"}, -1},
        {{"-1", "3"}, {"-1", "2"}, 1},
        {{"0", "1"}, {"-1", "2"}, 1},
        {{"0", "1"}, {"0", "5"}, 0},
        {{"2", "4"}, {"1", "2"}, 0},
        {{"1", "-2"}, {"-1", "2"}, 0},
        {{"-3", "-6"}, {"1", "2"}, 0},
        {{Factorial30, TwoTo100}, {"209", "1"}, 1},
        {{Factorial30, TwoTo100}, {"210", "1"}, -1},
    };
    for (const Case& c : cases) {
        LratPtr A = makeRat(c.a[0], c.a[1]), B = makeRat(c.b[0], c.b[1]);
        EXPECT_EQ(lrat_eq(A.get(), B.get()), c.order == 0) << c.a[0] << "/" << c.a[1];
        EXPECT_EQ(lrat_neq(A.get(), B.get()), c.order != 0);
        EXPECT_EQ(lrat_lt(A.get(), B.get()), c.order < 0);
        EXPECT_EQ(lrat_gt(A.get(), B.get()), c.order > 0);
        EXPECT_EQ(lrat_leq(A.get(), B.get()), c.order <= 0);
        EXPECT_EQ(lrat_geq(A.get(), B.get()), c.order >= 0);
        EXPECT_EQ(lrat_compare(B.get(), A.get()), -c.order);
    }

    // Equality is decided without reducing either operand.
    LratPtr half = makeRat("2", "4"), other = makeRat("1", "2");
    EXPECT_EQ(lrat_eq(half.get(), other.get()), 1);
    EXPECT_EQ(text(half->num), "2");
    EXPECT_EQ(text(half->den), "4");
}

TEST(LargeRational, SignZeroCheckAndCopy) {
    LratPtr A = makeRat("6", "-4");
    EXPECT_EQ(lrat_sign(A.get()), -1);
    EXPECT_EQ(ratText(A.get()), "-3/2");
    EXPECT_EQ(lrat_sign(makeRat("0", "-4").get()), 0);
    EXPECT_EQ(lrat_sign(makeRat("-6", "-4").get()), 1);
    EXPECT_EQ(lrat_zero_check(makeRat("0", "3").get()), 1);
    EXPECT_EQ(lrat_zero_check(makeRat("1", "3").get()), 0);

    LratPtr B(lrat_Alloc(nullptr, nullptr));
    lrat_assign(B.get(), 0, 1);
    lrat_copy(B.get(), A.get());
    EXPECT_EQ(ratText(B.get()), "-3/2");
    lrat_assign(A.get(), 1, 1);
    EXPECT_EQ(ratText(B.get()), "-3/2");

    LratPtr C = makeRat("5", "-10");
    lrat_regform(C.get());
    EXPECT_EQ(text(C->num), "-5");
    EXPECT_EQ(text(C->den), "10");
}

// ---------------------------------------------------------------- factorised integers

std::vector<int> exponents(const fint* A) {
    return std::vector<int>(A->powers.begin(), A->powers.begin() + A->size);
}

TEST(FactorisedInteger, PrimeExponents) {
    FintPtr A(inttofint(360, nullptr));
    EXPECT_EQ(exponents(A.get()), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(A->arraysize(), 20);
    EXPECT_STREQ(fint_string(A.get()), "360");
    EXPECT_DOUBLE_EQ(finttodouble(A.get()), 360.0);

    inttofint(1, A.get());
    EXPECT_EQ(std::string(fint_string(A.get())), "1");
    for (int a : {0, -12})
        EXPECT_STREQ(fint_string(inttofint(a, A.get())), "1") << a;

    inttofint(2 * 2 * 7 * 7 * 7, A.get());
    EXPECT_EQ(exponents(A.get()), (std::vector<int>{2, 0, 0, 3}));

    // 101 is the 26th prime: the slots double past the first 20.
    inttofint(101 * 3, A.get());
    ASSERT_EQ(A->size, 26);
    EXPECT_EQ(A->powers[1], 1);
    EXPECT_EQ(A->powers[25], 1);
    EXPECT_GE(A->arraysize(), 26);
    EXPECT_STREQ(fint_string(A.get()), "303");
}

TEST(FactorisedInteger, ProductsAndRatios) {
    FintPtr six(inttofint(6, nullptr)), four(inttofint(4, nullptr)), C(fint_alloc(nullptr));
    fint_ratio(six.get(), four.get(), C.get());
    EXPECT_EQ(exponents(C.get()), (std::vector<int>{-1, 1}));
    LintPtr value(lint_alloc(0));
    fint_to_lint(C.get(), value.get());
    EXPECT_EQ(text(value.get()), "3"); // the negative exponent is left out

    FintPtr one(fint_alloc(nullptr)), two(inttofint(2, nullptr)), half(fint_alloc(nullptr));
    fint_ratio(one.get(), two.get(), half.get());
    fint_prod(two.get(), half.get(), C.get());
    EXPECT_EQ(C->size, 0);
    EXPECT_STREQ(fint_string(C.get()), "1");

    FintPtr A(inttofint(360, nullptr));
    fint_prod(A.get(), A.get(), A.get());
    EXPECT_EQ(exponents(A.get()), (std::vector<int>{6, 4, 2}));
    EXPECT_STREQ(fint_string(A.get()), "129600");
    fint_ratio(A.get(), A.get(), A.get());
    EXPECT_EQ(A->size, 0);
}

TEST(FactorisedInteger, FactorialsAndBinomials) {
    FintPtr F(fint_alloc(nullptr)), k(fint_alloc(nullptr));
    for (int i = 2; i <= 30; ++i) {
        inttofint(i, k.get());
        fint_prod(F.get(), k.get(), F.get());
    }
    EXPECT_EQ(F->powers[0], 26); // Legendre: 15 + 7 + 3 + 1
    EXPECT_STREQ(fint_string(F.get()), Factorial30);
    EXPECT_NEAR(finttodouble(F.get()), 2.6525285981219107e32, 1e21);

    // C(100, 50) = Π_{i=1}^{50} (50 + i) / i
    FintPtr B(fint_alloc(nullptr)), top(fint_alloc(nullptr)), bottom(fint_alloc(nullptr));
    for (int i = 1; i <= 50; ++i) {
        fint_prod(B.get(), inttofint(50 + i, top.get()), B.get());
        fint_ratio(B.get(), inttofint(i, bottom.get()), B.get());
    }
    EXPECT_STREQ(fint_string(B.get()), "100891344545564193334812497256");
    for (int i = 0; i < B->size; ++i)
        EXPECT_GE(B->powers[i], 0) << "prime index " << i;
}

TEST(FactorisedInteger, CopyDoubleAndPrint) {
    FintPtr A(inttofint(360, nullptr)), B(fint_alloc(nullptr));
    fint_copy(A.get(), B.get());
    inttofint(7, A.get());
    EXPECT_EQ(exponents(B.get()), (std::vector<int>{3, 2, 1}));

    fint_double(B.get());
    EXPECT_EQ(B->arraysize(), 40);
    EXPECT_EQ(B->powers[39], 0);

    testing::internal::CaptureStdout();
    fint_print(B.get(), "dim");
    fint_print(B.get(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "dim\n3 2 1 \n360\n3 2 1 \n360\n");
}

} // namespace
