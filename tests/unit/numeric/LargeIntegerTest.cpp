#include "numeric/LargeInteger.h"

#include "base/Error.h"
#include "numeric/MathUtility.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using u128 = unsigned __int128;

const char* const TwoTo100 = "1267650600228229401496703205376";
const char* const Factorial30 = "265252859812191058636308480000000";
const char* const Factorial50 = "30414093201713378043612608166064768844377641568960512000000000000";

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

int alerts(const char* routine, int position) {
    return getError(routine, position)->count;
}

LintPtr fromText(const char* text) {
    LintPtr X(lint_alloc(0));
    EXPECT_EQ(string_to_lint(X.get(), text), 0) << text;
    return X;
}

LintPtr fromInt(int i) {
    return LintPtr(int_to_newlint(i));
}

std::string text(const lint* X) {
    return lint_string(X);
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

bool isNormal(const lint* X) {
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
