#include "numeric/LargeInteger.h"

#include "LargeNumberTestHelpers.h"
#include "base/Error.h"
#include "numeric/MathUtility.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace largetest;

using u128 = unsigned __int128;

const char* const Factorial50 = "30414093201713378043612608166064768844377641568960512000000000000";

LintPtr fromInt(int i) {
    return LintPtr(int_to_newlint(i));
}

std::string u128Text(u128 v) {
    if (v == 0)
        return "0";
    std::string s;
    for (; v > 0; v /= 10)
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    return s;
}

// Deterministic decimal texts of a given length without a leading zero.
class DigitSource {
public:
    std::string next(int digits) {
        std::string s;
        for (int k = 0; k < digits; ++k) {
            state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
            int d = static_cast<int>((state_ >> 33) % 10);
            s += static_cast<char>('0' + (k == 0 && d == 0 ? 7 : d));
        }
        return s;
    }

private:
    std::uint64_t state_ = 12345;
};

// ---------------------------------------------------------------- text

TEST(LargeIntegerText, ParsesAndPrintsBack) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {{"0", "0"},       {"", "0"},           {"-", "0"},
                          {"-0", "0"},      {"0001234", "1234"}, {"-12345", "-12345"},
                          {"9999", "9999"}, {"10000", "10000"},  {"100020003", "100020003"},
                          {"-000", "0"},    {TwoTo100, TwoTo100}};
    for (const Case& c : cases) {
        LintPtr X = fromText(c.in);
        EXPECT_EQ(text(X.get()), c.out) << c.in;
        EXPECT_TRUE(isNormal(X.get())) << c.in;
    }
}

TEST(LargeIntegerText, WordsAreLeastSignificantFirstWithSignApart) {
    LintPtr X = fromText("-12345");
    ASSERT_EQ(X->size, 2);
    EXPECT_EQ(X->number[0], 2345);
    EXPECT_EQ(X->number[1], 1);
    EXPECT_EQ(X->sign, -1);

    // Lower words keep their leading zeros in the text.
    LintPtr Y(lint_alloc(5));
    Y->number[0] = 3;
    Y->number[1] = 2;
    Y->number[2] = 1;
    Y->size = 3;
    EXPECT_EQ(text(Y.get()), "100020003");
}

TEST_F(LargeNumberReport, NonNumericalTextIsRefused) {
    for (const char* bad : {"+5", " 5", "1-2", "12a", "--1", "5 "}) {
        LintPtr X(lint_alloc(0));
        int before = alerts("string_to_lint", 0);
        EXPECT_EQ(string_to_lint(X.get(), bad), 1) << bad;
        EXPECT_EQ(alerts("string_to_lint", 0), before + 1) << bad;
    }
}

TEST(LargeIntegerText, PrintWritesTextAndNewline) {
    LintPtr Z(lint_alloc(0)), X = fromText("-100000001");
    testing::internal::CaptureStdout();
    lint_print(Z.get());
    lint_print(X.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "0\n-100000001\n");
}

TEST(LargeIntegerText, DigitCounts) {
    EXPECT_EQ(lintNdigit(fromText("9999").get()), 4);
    EXPECT_EQ(lintNdigit(fromText("10000").get()), 5);
    EXPECT_EQ(lintNdigit(fromText(TwoTo100).get()), 31);
    EXPECT_EQ(lintSize("12345678"), 7);
    EXPECT_EQ(lintSize(""), 5);
}

// ---------------------------------------------------------------- arithmetic

TEST(LargeIntegerArithmetic, KnownPowersAndFactorials) {
    LintPtr A(lint_alloc(0));
    lint_power(A.get(), 2, 100);
    EXPECT_EQ(text(A.get()), TwoTo100);

    lint_power(A.get(), -3, 3);
    EXPECT_EQ(text(A.get()), "-27");
    lint_power(A.get(), 0, 0);
    EXPECT_EQ(text(A.get()), "1");

    LintPtr F = fromInt(1);
    for (int k = 2; k <= 30; ++k)
        lint_intprod(F.get(), k);
    EXPECT_EQ(text(F.get()), Factorial30);
    for (int k = 31; k <= 50; ++k)
        lint_intprod(F.get(), k);
    EXPECT_EQ(text(F.get()), Factorial50);
}

TEST_F(LargeNumberReport, NegativePowerIsReportedAndLeavesOne) {
    LintPtr A = fromInt(77);
    int before = alerts("lint_power", 0);
    lint_power(A.get(), 7, -1);
    EXPECT_EQ(alerts("lint_power", 0), before + 1);
    EXPECT_EQ(text(A.get()), "1");
}

TEST(LargeIntegerArithmetic, AdditionAndSubtractionAcrossWordsAndZero) {
    struct Case {
        const char* x;
        char op;
        const char* y;
        const char* result;
    };
    const Case cases[] = {
        {"9999", '+', "1", "10000"},
        {"10000", '-', "1", "9999"},
        {"99999999", '+', "1", "100000000"},
        {"100000000", '-', "1", "99999999"},
        {"3", '-', "5", "-2"},
        {"-2", '+', "5", "3"},
        {"-9999", '-', "1", "-10000"},
        {"-10000", '+', "1", "-9999"},
        {"10000", '-', "20000", "-10000"},
        {"5", '-', "5", "0"},
        {"-5", '+', "5", "0"},
        {"100000000000000000000", '-', "100000000000000000001", "-1"},
        {"-100000000000000000000", '-', "-99999999999999999999", "-1"},
        {"1", '-', "100000000000000000000", "-99999999999999999999"},
        {TwoTo100, '-', TwoTo100, "0"},
    };
    for (const Case& c : cases) {
        LintPtr X = fromText(c.x), Y = fromText(c.y);
        if (c.op == '+')
            lint_add(X.get(), Y.get());
        else
            lint_subtract(X.get(), Y.get());
        EXPECT_EQ(text(X.get()), c.result) << c.x << ' ' << c.op << ' ' << c.y;
        EXPECT_TRUE(isNormal(X.get())) << c.x << ' ' << c.op << ' ' << c.y;
    }
}

TEST(LargeIntegerArithmetic, AdditionMatchesWideIntegers) {
    DigitSource digits;
    for (int k = 0; k < 40; ++k) {
        std::string a = digits.next(1 + k % 37), b = digits.next(1 + (k * 7) % 37);
        LintPtr X = fromText(a.c_str()), Y = fromText(b.c_str());
        u128 av = 0, bv = 0;
        for (char c : a)
            av = av * 10 + (c - '0');
        for (char c : b)
            bv = bv * 10 + (c - '0');
        lint_add(X.get(), Y.get());
        EXPECT_EQ(text(X.get()), u128Text(av + bv));
        lint_subtract(X.get(), Y.get());
        lint_subtract(X.get(), Y.get());
        std::string expected = av >= bv ? u128Text(av - bv) : "-" + u128Text(bv - av);
        EXPECT_EQ(text(X.get()), expected);
    }
}

TEST(LargeIntegerArithmetic, IntAddCoversTheWholeIntRange) {
    LintPtr X = fromInt(0);
    lint_intadd(X.get(), 2147483647);
    EXPECT_EQ(text(X.get()), "2147483647");
    lint_intadd(X.get(), 2147483647);
    EXPECT_EQ(text(X.get()), "4294967294");

    LintPtr Y = fromInt(-1);
    lint_intadd(Y.get(), -2147483647 - 1);
    EXPECT_EQ(text(Y.get()), "-2147483649");
    lint_intadd(Y.get(), 2147483647);
    EXPECT_EQ(text(Y.get()), "-2");
    lint_intadd(Y.get(), 2);
    EXPECT_EQ(text(Y.get()), "0");
    EXPECT_TRUE(isNormal(Y.get()));
}

TEST(LargeIntegerArithmetic, AssignTakesTheSmallestInt) {
    LintPtr X = fromInt(-2147483647 - 1);
    EXPECT_EQ(text(X.get()), "-2147483648");
    lint_assign(X.get(), 2147483647);
    EXPECT_EQ(text(X.get()), "2147483647");
}

TEST(LargeIntegerArithmetic, IntProductSignsAndLargeFactors) {
    LintPtr X = fromInt(2147483647);
    lint_intprod(X.get(), 2147483647);
    EXPECT_EQ(text(X.get()), "4611686014132420609"); // (2^31 - 1)^2 = 2^62 - 2^32 + 1
    lint_intprod(X.get(), -1);
    EXPECT_EQ(text(X.get()), "-4611686014132420609");
    lint_intprod(X.get(), 0);
    EXPECT_EQ(text(X.get()), "0");
    EXPECT_TRUE(isNormal(X.get()));
}

TEST(LargeIntegerArithmetic, ProductsSignsAndSquaresInPlace) {
    struct Case {
        const char* x;
        const char* y;
        const char* product;
    };
    const Case cases[] = {
        {"123456789", "987654321", "121932631112635269"},
        {"-123456789", "987654321", "-121932631112635269"},
        {"-123456789", "-987654321", "121932631112635269"},
        {"-5", "0", "0"},
        {"0", "-5", "0"},
        {"9999", "9999", "99980001"},
        {"100000000000000000001", "99999999999999999999",
         "9999999999999999999999999999999999999999"},
    };
    for (const Case& c : cases) {
        LintPtr X = fromText(c.x), Y = fromText(c.y);
        lint_multiply(X.get(), Y.get());
        EXPECT_EQ(text(X.get()), c.product) << c.x << " * " << c.y;
        EXPECT_TRUE(isNormal(X.get()));
    }

    LintPtr S = fromText("-100000000000000000001");
    lint_multiply(S.get(), S.get());
    EXPECT_EQ(text(S.get()), "10000000000000000000200000000000000000001");
    LintPtr T = fromText("12345");
    lint_add(T.get(), T.get());
    EXPECT_EQ(text(T.get()), "24690");
    lint_subtract(T.get(), T.get());
    EXPECT_EQ(text(T.get()), "0");
}

TEST(LargeIntegerArithmetic, FlipAndSwitch) {
    LintPtr X = fromText("123456789");
    lint_flip(X.get());
    EXPECT_EQ(text(X.get()), "-123456789");
    lint_switch(X.get()); // same value, words negated until normalised
    EXPECT_EQ(X->number[0], -6789);
    regform(X.get());
    EXPECT_EQ(text(X.get()), "-123456789");
    EXPECT_TRUE(isNormal(X.get()));
}

TEST(LargeIntegerArithmetic, ProductOfUnnormalisedOperands) {
    LintPtr X = fromText("123456789"), Y = fromText("-1000000");
    lint_switch(X.get());
    lint_multiply(X.get(), Y.get());
    EXPECT_EQ(text(X.get()), "-123456789000000");
    EXPECT_TRUE(isNormal(X.get()));

    LintPtr W(lint_alloc(5)), Three = fromInt(3);
    W->number[0] = 20000; // a word past 9999 carries beyond the product's cells
    W->size = 1;
    lint_multiply(W.get(), Three.get());
    EXPECT_EQ(text(W.get()), "60000");
}

TEST(LargeIntegerArithmetic, NormalisationResolvesSignedAndLargeWords) {
    LintPtr X(lint_alloc(5));
    // 5·10000^2 - 1·10000 + 12345
    X->number[0] = 12345;
    X->number[1] = -1;
    X->number[2] = 5;
    X->size = 3;
    regform(X.get());
    EXPECT_EQ(text(X.get()), "500002345");

    // A negative top word flips the sign: -3·10000 + 20001 = -9999.
    X->number[0] = 20001;
    X->number[1] = -3;
    X->number[2] = 0;
    X->size = 2;
    X->sign = 1;
    regform(X.get());
    EXPECT_EQ(text(X.get()), "-9999");
    EXPECT_TRUE(isNormal(X.get()));
}

// ---------------------------------------------------------------- division

struct Division {
    LintPtr quotient;
    LintPtr remainder;
};

Division divide(const std::string& a, const std::string& b) {
    Division d{fromInt(0), fromText(a.c_str())};
    LintPtr B = fromText(b.c_str());
    EXPECT_EQ(exact_division(d.remainder.get(), B.get(), d.quotient.get()), 0);
    return d;
}

TEST(LargeIntegerDivision, KnownQuotients) {
    struct Case {
        const char* a;
        const char* b;
        const char* q;
        const char* r;
    };
    const Case cases[] = {
        {"10000000000000000000000000000000000000000", "3",
         "3333333333333333333333333333333333333333", "1"},
        {"10000000000000000000000000000000000000000", "7",
         "1428571428571428571428571428571428571428", "4"},
        {Factorial30, TwoTo100, "209", "313884364491113723497510076416"},
        {"0", "17", "0", "0"},
        {"5", "17", "0", "5"},
        {"17", "17", "1", "0"},
        {"10000", "9999", "1", "1"},
        // Divisors whose floating estimate rounds to 10000: the quotient estimate falls below 1.
        {"100000000000000000000", "99999999999999999999", "1", "1"},
        {"10000000000000000000000000000000000000000", "9999999999999999999999999999999999999999",
         "1", "1"},
        {"19999999999999999999999999999999999999998", "9999999999999999999999999999999999999999",
         "2", "0"},
    };
    for (const Case& c : cases) {
        Division d = divide(c.a, c.b);
        EXPECT_EQ(text(d.quotient.get()), c.q) << c.a << " / " << c.b;
        EXPECT_EQ(text(d.remainder.get()), c.r) << c.a << " / " << c.b;
    }
}

TEST(LargeIntegerDivision, ResultAccumulatesAndSmallerDividendIsUntouched) {
    LintPtr A = fromText("12"), B = fromText("12"), Result = fromText("1000000000000");
    exact_division(A.get(), B.get(), Result.get());
    EXPECT_EQ(text(A.get()), "0");
    EXPECT_EQ(text(Result.get()), "1000000000001");

    LintPtr C = fromText("11"), D = fromText("12"), R = fromText("7");
    exact_division(C.get(), D.get(), R.get());
    EXPECT_EQ(text(C.get()), "11");
    EXPECT_EQ(text(R.get()), "7");
}

TEST(LargeIntegerDivision, ProductDividedByFactorGivesFactorBack) {
    DigitSource digits;
    for (int k = 0; k < 30; ++k) {
        std::string a = digits.next(1 + (k * 13) % 90), b = digits.next(1 + (k * 29) % 70);
        LintPtr P = fromText(a.c_str()), B = fromText(b.c_str()), Q = fromInt(0);
        lint_multiply(P.get(), B.get());
        ASSERT_EQ(exact_division(P.get(), B.get(), Q.get()), 0);
        EXPECT_EQ(text(Q.get()), a) << a << " * " << b;
        EXPECT_EQ(text(P.get()), "0") << a << " * " << b;
    }
}

TEST(LargeIntegerDivision, DivisionIdentityHolds) {
    DigitSource digits;
    for (int k = 0; k < 40; ++k) {
        std::string a = digits.next(1 + (k * 17) % 120), b = digits.next(1 + (k * 11) % 50);
        Division d = divide(a, b);
        LintPtr B = fromText(b.c_str()), A = fromText(a.c_str());
        EXPECT_EQ(d.remainder->sign, 1);
        EXPECT_EQ(lint_compare(d.remainder.get(), B.get()), -1) << a << " / " << b;
        LintPtr back(lint_alloc(0));
        lint_copy(back.get(), d.quotient.get());
        lint_multiply(back.get(), B.get());
        lint_add(back.get(), d.remainder.get());
        EXPECT_EQ(lint_compare(back.get(), A.get()), 0) << a << " / " << b;
    }
}

TEST(LargeIntegerDivision, MatchesWideIntegerDivision) {
    DigitSource digits;
    for (int k = 0; k < 40; ++k) {
        std::string a = digits.next(1 + (k * 7) % 38), b = digits.next(1 + (k * 5) % 20);
        u128 av = 0, bv = 0;
        for (char c : a)
            av = av * 10 + (c - '0');
        for (char c : b)
            bv = bv * 10 + (c - '0');
        Division d = divide(a, b);
        EXPECT_EQ(text(d.quotient.get()), u128Text(av / bv)) << a << " / " << b;
        EXPECT_EQ(text(d.remainder.get()), u128Text(av % bv)) << a << " / " << b;
    }
}

TEST_F(LargeNumberReport, NegativeOrZeroOperandsAreRefused) {
    LintPtr A = fromText("-10"), B = fromText("3"), R = fromInt(0);
    int before = alerts("exact_division", 0);
    EXPECT_EQ(exact_division(A.get(), B.get(), R.get()), 1);
    EXPECT_EQ(alerts("exact_division", 0), before + 1);
    EXPECT_EQ(text(A.get()), "-10");
    EXPECT_EQ(text(R.get()), "0");

    LintPtr C = fromText("10"), D = fromText("-3");
    EXPECT_EQ(exact_division(C.get(), D.get(), R.get()), 1);
    EXPECT_EQ(text(C.get()), "10");

    LintPtr Z = fromInt(0);
    EXPECT_EQ(exact_division(C.get(), Z.get(), R.get()), 1);
    EXPECT_EQ(text(C.get()), "10");
    EXPECT_EQ(text(R.get()), "0");
}

TEST(LargeIntegerDivision, QuotientEstimateStaysBelow) {
    DigitSource digits;
    for (int k = 0; k < 20; ++k) {
        std::string a = digits.next(20 + k), b = digits.next(1 + k % 15);
        LintPtr A = fromText(a.c_str()), B = fromText(b.c_str()), C(lint_alloc(0)),
                D(lint_alloc(0));
        getIntegerRatio(A.get(), B.get(), C.get(), D.get());
        LintPtr CB(lint_alloc(0));
        lint_copy(CB.get(), C.get());
        lint_multiply(CB.get(), B.get());
        EXPECT_EQ(lint_compare(CB.get(), D.get()), 0);
        EXPECT_LE(lint_compare(D.get(), A.get()), 0);
        EXPECT_EQ(C->sign, 1);
        EXPECT_GT(C->size, 0);
    }
}

// ---------------------------------------------------------------- comparisons

TEST(LargeIntegerCompare, OrderBySignLengthAndWords) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {
        {"-5", "0", -1},
        {"0", "0", 0},
        {"-10000", "-9999", -1},
        {"10000", "9999", 1},
        {"-1", "1", -1},
        {"123456789", "123456788", 1},
        {"-123456789", "-123456788", -1},
        {TwoTo100, TwoTo100, 0},
    };
    for (const Case& c : cases) {
        LintPtr A = fromText(c.a), B = fromText(c.b);
        EXPECT_EQ(lint_compare(A.get(), B.get()), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(lint_compare(B.get(), A.get()), -c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(lint_eq(A.get(), B.get()), c.order == 0);
        EXPECT_EQ(lint_neq(A.get(), B.get()), c.order != 0);
        EXPECT_EQ(lint_lt(A.get(), B.get()), c.order < 0);
        EXPECT_EQ(lint_gt(A.get(), B.get()), c.order > 0);
        EXPECT_EQ(lint_leq(A.get(), B.get()), c.order <= 0);
        EXPECT_EQ(lint_geq(A.get(), B.get()), c.order >= 0);
    }
}

TEST(LargeIntegerCompare, RelationsNormaliseTheirOperands) {
    LintPtr A = fromText("-123456789"), B = fromText("-123456789");
    lint_switch(A.get());
    EXPECT_EQ(lint_eq(A.get(), B.get()), 1);
    EXPECT_TRUE(isNormal(A.get()));
}

// ---------------------------------------------------------------- conversions and handles

TEST_F(LargeNumberReport, ToIntCoversTheWholeIntRange) {
    struct Case {
        const char* text;
        int value;
    };
    const Case fits[] = {{"0", 0},
                         {"99999999", 99999999},
                         {"-42", -42},
                         {"100000000", 100000000},
                         {"2147483647", 2147483647},
                         {"-2147483647", -2147483647},
                         {"-2147483648", -2147483647 - 1}};
    int before = alerts("lint_to_int", 0);
    for (const Case& c : fits)
        EXPECT_EQ(lint_to_int(fromText(c.text).get()), c.value) << c.text;
    EXPECT_EQ(alerts("lint_to_int", 0), before);

    for (const char* big : {"2147483648", "-2147483649", "1000000000000", TwoTo100}) {
        EXPECT_EQ(lint_to_int(fromText(big).get()), LintIntOverflow) << big;
        EXPECT_EQ(alerts("lint_to_int", 0), ++before) << big;
    }
}

TEST_F(LargeNumberReport, PositiveHandlesStandForValuesOrStoredNumbers) {
    LintPtr small = fromText("9999");
    EXPECT_EQ(storePositiveLint(small.get()), 9999);
    LintPtr zero = fromInt(0);
    EXPECT_EQ(storePositiveLint(zero.get()), 0);

    lint* first = fromText("10000").release();
    lint* second = fromText(TwoTo100).release();
    int h1 = storePositiveLint(first);
    int h2 = storePositiveLint(second);
    ASSERT_LT(h1, 0);
    EXPECT_EQ(h2, h1 - 1);
    EXPECT_EQ(retrieveLint(h1), first);
    EXPECT_EQ(retrieveLint(h2), second);
    EXPECT_EQ(retrieveLint(5), nullptr);
    EXPECT_EQ(PosIntSize(h1), 5);
    EXPECT_EQ(PosIntSize(h2), 31);
    EXPECT_EQ(PosIntSize(0), 1);
    EXPECT_EQ(PosIntSize(9999), 4);

    LintPtr A(lint_alloc(0));
    EXPECT_EQ(makeOrRetrieveLint(h2, A.get()), second);
    EXPECT_EQ(makeOrRetrieveLint(42, A.get()), A.get());
    EXPECT_EQ(text(A.get()), "42");

    LintPtr negative = fromText("-20000");
    int before = alerts("storePositiveLint", 0);
    EXPECT_EQ(storePositiveLint(negative.get()), 0);
    EXPECT_EQ(alerts("storePositiveLint", 0), before + 1);
}

TEST(LargeIntegerHandles, TableGrowsAndKeepsEarlierObjects) {
    std::vector<std::pair<int, lint*>> stored;
    for (int k = 0; k < 250; ++k) {
        lint* X = fromInt(100000 + k).release();
        stored.emplace_back(storeLint(X), X);
    }
    for (std::size_t k = 1; k < stored.size(); ++k)
        EXPECT_EQ(stored[k].first, stored[k - 1].first + 1);
    for (std::size_t k = 0; k < stored.size(); ++k) {
        ASSERT_EQ(retrieveLint(~stored[k].first), stored[k].second);
        EXPECT_EQ(text(stored[k].second), std::to_string(100000 + k));
    }
}

TEST_F(LargeNumberReport, CheckReportsWordsAboveSize) {
    LintPtr X = fromText("12345");
    EXPECT_EQ(checkLint(X.get()), 0);
    X->number[3] = 7;
    int before = alerts("checkLint", 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(checkLint(X.get()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "3 7\n");
    EXPECT_EQ(alerts("checkLint", 0), before + 1);
}

TEST(LargeIntegerStorage, CopyGrowAndNullify) {
    LintPtr A(lint_alloc(0)), B = fromText(Factorial50);
    EXPECT_EQ(A->arraysize(), 5);
    lint_copy(A.get(), B.get());
    EXPECT_EQ(text(A.get()), Factorial50);
    lint_copy(A.get(), fromText("-7").get()); // shrinking copy zeroes the words above
    EXPECT_EQ(text(A.get()), "-7");
    EXPECT_TRUE(isNormal(A.get()));
    nullify_lint(A.get());
    EXPECT_EQ(A->size, 0);
    EXPECT_EQ(A->sign, 1);
    lint_realloc(A.get(), 40);
    EXPECT_EQ(A->arraysize(), 40);
    EXPECT_TRUE(isNormal(A.get()));
}

// ---------------------------------------------------------------- floating estimate

TEST(LargeIntegerDouble, NormalFormAndConversions) {
    ldouble X{123456.0, 1, 0};
    ldouble_regform(&X);
    EXPECT_DOUBLE_EQ(X.value, 12.3456);
    EXPECT_EQ(X.exp, 1);
    ldouble N{-0.5, 1, 0};
    ldouble_regform(&N);
    EXPECT_DOUBLE_EQ(N.value, 5000.0);
    EXPECT_EQ(N.exp, -1);
    EXPECT_EQ(N.sign, -1);
    ldouble Z{0.0, -1, 7};
    ldouble_regform(&Z);
    EXPECT_EQ(Z.exp, 0);
    EXPECT_EQ(Z.sign, 1);

    LintPtr C(lint_alloc(0));
    ldouble Y{1.5, -1, 2};
    doubleToLint(C.get(), &Y);
    EXPECT_EQ(text(C.get()), "-150000000");
    ldouble tiny{0.25, 1, 0};
    doubleToLint(C.get(), &tiny);
    EXPECT_EQ(text(C.get()), "0");
    EXPECT_TRUE(isNormal(C.get()));

    ldouble R;
    lintToDouble(fromText("-123456789").get(), &R);
    EXPECT_DOUBLE_EQ(R.value, 1.23456789);
    EXPECT_EQ(R.exp, 2);
    EXPECT_EQ(R.sign, -1);

    ldouble ratio;
    ldouble_ratio(&X, &R, &ratio);
    EXPECT_DOUBLE_EQ(ratio.value, 12.3456 / 1.23456789);
    EXPECT_EQ(ratio.exp, -1);
    EXPECT_EQ(ratio.sign, -1);
}

} // namespace
