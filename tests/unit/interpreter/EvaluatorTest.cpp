#include "interpreter/Evaluator.h"

#include "base/Error.h"

#include "InterpreterTestHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Value {
    char type;
    std::string text;
};

// Evaluates a copy of the text and returns the value's type and text.
Value eval(const std::string& expression) {
    std::string text = expression;
    MathObj* v = evaluate_string(text.data());
    Value result{v->type, ""};
    MathObjToString(v);
    result.text = v->pointer.string;
    freeObj(v);
    return result;
}

template <class F> std::string errorOutput(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string repeatedProduct(int factor, int count) {
    std::string s = std::to_string(factor);
    for (int i = 1; i < count; ++i)
        s += "*" + std::to_string(factor);
    return s;
}

std::string factorialProduct(int n) {
    std::string s = "1";
    for (int i = 2; i <= n; ++i)
        s += "*" + std::to_string(i);
    return s;
}

// Variable lists and a command runner of the test's own, standing in for the interpreter.
std::map<std::string, std::string> locals;
std::map<std::string, std::string> globals;
std::vector<std::vector<std::string>> calls;
std::string functionOutput;

const char* findIn(const std::map<std::string, std::string>& list, const char* name) {
    auto it = list.find(name);
    return it == list.end() ? nullptr : it->second.c_str();
}
const char* findLocal(const char* name) {
    return findIn(locals, name);
}
const char* findGlobal(const char* name) {
    return findIn(globals, name);
}
int defineLocal(const char* name, const char* value) {
    if (name[0] >= '0' && name[0] <= '9')
        return 1;
    locals[name] = value;
    return 0;
}
MathObj* runCall(MathObj* stack) {
    std::vector<std::string> words;
    for (MathObj* o = stack; o; o = o->next)
        words.emplace_back(o->pointer.string);
    calls.push_back(words);
    if (words[0] == "fail") {
        MathObj* e = makeStringObj("RETURN CODE 5", 13);
        e->type = 'e';
        return e;
    }
    return makeStringObj(functionOutput.c_str(), static_cast<int>(functionOutput.size()));
}

class EvaluatorTest : public interptest::FreshInterpreterTest {
protected:
    void SetUp() override {
        FreshInterpreterTest::SetUp();
        initEvaluator();
        setSeverity_Error("000000");
        locals.clear();
        globals.clear();
        calls.clear();
        functionOutput.clear();
    }
    static void useTestHooks() {
        EvaluatorHooks h;
        h.findLocalReplacement = findLocal;
        h.findGlobalReplacement = findGlobal;
        h.defineVariable = defineLocal;
        h.executeFunction = runCall;
        setEvaluatorHooks(h);
    }
};

struct Case {
    const char* expression;
    char type;
    const char* text;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        Value v = eval(c.expression);
        EXPECT_EQ(v.type, c.type) << c.expression;
        EXPECT_EQ(v.text, c.text) << c.expression;
    }
}

// ---------------------------------------------------------------- arithmetic

TEST_F(EvaluatorTest, PrecedenceAndLeftAssociation) {
    expectCases({
        {"2+3*4", 'i', "14"},
        {"10-2-3", 'i', "5"},
        {"10-2+3", 'i', "11"},
        {"1+2-3+4", 'i', "4"},
        {"2*8/2", 'i', "8"},
        {"8/2*2", 'i', "8"},
        {"12/2/3", 'i', "2"},
        {"2/3*3/4", 'r', "1/2"},
        {"(1+2)*3", 'i', "9"},
        {"2*(3+4)", 'i', "14"},
        {"((2))*((3+1)*2)", 'i', "16"},
        {"-(2+3)", 'i', "-5"},
    });
}

TEST_F(EvaluatorTest, SignsAndRationals) {
    expectCases({
        {"-5", 'i', "-5"},
        {"3*-2", 'i', "-6"},
        {"2--3", 'i', "5"},
        {"--5", 'i', "5"},
        {"7/2", 'r', "7/2"},
        {"8/2", 'i', "4"},
        {"6/-4", 'r', "-3/2"},
        {"-6/-4", 'r', "3/2"},
        {"1/3+1/6", 'r', "1/2"},
        {"1/2-1/2", 'r', "0"},
        {"0.1+0.2", 'r', "3/10"},
        {"0.25*4", 'r', "1"},
        {"1/3*3", 'r', "1"},
    });
}

TEST_F(EvaluatorTest, BlanksAroundSeparatorsAndSigns) {
    expectCases({
        {"3 + 4", 'i', "7"},
        {"2 * -3", 'i', "-6"},
        {"3 - -2", 'i', "5"},
        {" -5", 'i', "-5"},
        {"1 < -2", 'c', "FALSE"},
    });
}

TEST_F(EvaluatorTest, TwoToTheHundredByRepeatedProducts) {
    Value v = eval(repeatedProduct(2, 100));
    EXPECT_EQ(v.type, 'l');
    EXPECT_EQ(v.text, "1267650600228229401496703205376");
}

TEST_F(EvaluatorTest, FactorialsAndTheirQuotients) {
    Value f25 = eval(factorialProduct(25));
    EXPECT_EQ(f25.type, 'l');
    EXPECT_EQ(f25.text, "15511210043330985984000000");
    // "/" binds tighter than "*", so the unparenthesised quotient works through 1/98! too.
    EXPECT_EQ(eval("(" + factorialProduct(100) + ")/(" + factorialProduct(98) + ")").text, "9900");
    EXPECT_EQ(eval(factorialProduct(100) + "/(" + factorialProduct(98) + ")").text, "9900");
    EXPECT_EQ(eval("(" + factorialProduct(20) + ")/(" + factorialProduct(22) + ")").text, "1/462");
}

TEST_F(EvaluatorTest, SmallIntegersBecomeBigAboveTheBound) {
    expectCases({
        {"9999+0", 'i', "9999"},
        {"9998+1", 'i', "9999"},
        {"9999+1", 'l', "10000"},
        {"99*101", 'i', "9999"},
        {"100*100", 'l', "10000"},
        {"-9999-1", 'l', "-10000"},
        {"0-9999", 'i', "-9999"},
        {"10000+0", 'l', "10000"},
        {"10000-1", 'l', "9999"},
        {"9999*9999", 'l', "99980001"},
        {"123456789*1000", 'l', "123456789000"},
        {"100000000000/400000000000", 'r', "1/4"},
        {"20000/10000", 'r', "2"},
        {"99999999999-99999999999", 'l', "0"},
    });
}

TEST_F(EvaluatorTest, FourCharacterTextsAreSmallFiveAreBig) {
    useTestHooks();
    globals["a"] = "-999";
    globals["b"] = "-1000";
    globals["c"] = " 12 ";
    EXPECT_EQ(eval("a*1").type, 'i');
    EXPECT_EQ(eval("a*1").text, "-999");
    EXPECT_EQ(eval("b*1").type, 'l');
    EXPECT_EQ(eval("b*1").text, "-1000");
    EXPECT_EQ(eval("c*2").text, "24");
}

TEST_F(EvaluatorTest, DivisionByZeroIsAnErrorValue) {
    for (const char* expression : {"1/0", "100000/0", "1/2/0", "1/0.0", "1+1/0*3", "5/(3-3)"}) {
        Value v;
        std::string messages = errorOutput([&] { v = eval(expression); });
        EXPECT_EQ(v.type, 'e') << expression;
        EXPECT_EQ(v.text, "INFINITE") << expression;
        EXPECT_TRUE(contains(messages, "Divison by zero")) << expression << ": " << messages;
    }
}

// ---------------------------------------------------------------- comparisons and booleans

TEST_F(EvaluatorTest, ComparisonsGiveBooleans) {
    expectCases({
        {"1<2", 'c', "TRUE"},
        {"2<1", 'c', "FALSE"},
        {"2>=2", 'c', "TRUE"},
        {"2<=1", 'c', "FALSE"},
        {"3==3", 'c', "TRUE"},
        {"3!=3", 'c', "FALSE"},
        {"-1<1", 'c', "TRUE"},
        {"1/2==0.5", 'c', "TRUE"},
        {"1/3<0.34", 'c', "TRUE"},
        {"1/3>0.33", 'c', "TRUE"},
        {"10000>9999", 'c', "TRUE"},
        {"100000000000>99999999999", 'c', "TRUE"},
        {"-100000000000<-99999999999", 'c', "TRUE"},
        {"1+2==3", 'c', "TRUE"},
        {"1<2&&2<3", 'c', "TRUE"},
        {"1<2&&2>3", 'c', "FALSE"},
        {"1>2||2<3", 'c', "TRUE"},
        {"1>2||2>3", 'c', "FALSE"},
        {"2*3==6&&1<2", 'c', "TRUE"},
    });
}

TEST_F(EvaluatorTest, EqualityBindsBeforeOrdering) {
    // 2==1 is applied first, and a boolean is no number.
    Value v;
    std::string messages = errorOutput([&] { v = eval("1<2==1"); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_EQ(v.text, "Non-convertible data");
    EXPECT_TRUE(contains(messages, "Invalid type \"c\" in routine StringToInt"));
}

TEST_F(EvaluatorTest, BooleanMeetingARationalIsNoNumber) {
    Value v;
    std::string messages = errorOutput([&] { v = eval("1/2+(1<2)"); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_EQ(v.text, "Non-convertible data");
    EXPECT_TRUE(contains(messages, "Invalid type \"c\" in routine MathObjToRat"));
}

TEST_F(EvaluatorTest, TextComparisonsAndNumericComparisonOfTexts) {
    errorOutput([] {
        expectCases({
            {"abc=~abc", 'c', "TRUE"},
            {"abc=~abd", 'c', "FALSE"},
            {"abc<~abd", 'c', "TRUE"},
            {"b>~a", 'c', "TRUE"},
            {"10<~9", 'c', "TRUE"},
            {"abc==abc", 'e', "Not a number"},
        });
    });
}

TEST_F(EvaluatorTest, LogicalOperatorsNeedBooleans) {
    Value v;
    std::string messages = errorOutput([&] { v = eval("1&&2"); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_EQ(v.text, "Invalid Condition");
    EXPECT_TRUE(contains(messages, "Logical AND/OR is only defined for Booleans"));
}

TEST_F(EvaluatorTest, ConditionsReadBooleans) {
    char yes[] = "1<2";
    char no[] = "2<1";
    char neither[] = "5";
    EXPECT_EQ(check_condition(yes), 0);
    EXPECT_EQ(check_condition(no), 1);
    int result = 0;
    std::string messages = errorOutput([&] { result = check_condition(neither); });
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(contains(messages, "Invalid conditional expression: 5"));
}

// ---------------------------------------------------------------- texts

TEST_F(EvaluatorTest, TextsAndConcatenation) {
    expectCases({
        {"", 's', ""},
        {"abc", 's', "abc"},
        {"abc|def", 's', "abcdef"},
        {"1|2", 's', "12"},
        {"(1+2)|a", 's', "3a"},
        {"a |b", 's', "a b"},
        {"a\\+b", 's', "a\\+b"},
        {"1<2|x", 'e', "Booleans cannot be concatenated"},
        // "=~" binds before "|".
        {"a|b=~ab", 'e', "Booleans cannot be concatenated"},
    });
}

TEST_F(EvaluatorTest, DoubleQuotesProtectATermAndBecomeMarks) {
    char text[] = "\"a+b\"|c";
    MathObj* v = evaluate_string(text);
    EXPECT_STREQ(text, "@a+b@|c");
    ASSERT_EQ(v->type, 's');
    EXPECT_STREQ(v->pointer.string, "@a+b@c");
    freeObj(v);
}

TEST_F(EvaluatorTest, NumericTextsConvertToRationals) {
    MathObj* v = makeStringObj(" 0.25 ", 6);
    MathObjToRat(v);
    ASSERT_EQ(v->type, 'r');
    MathObjToString(v);
    EXPECT_STREQ(v->pointer.string, "1/4");
    freeObj(v);

    MathObj* text = makeStringObj("12/-8", 5);
    MathObjToRat(text);
    MathObjToString(text);
    EXPECT_STREQ(text->pointer.string, "-3/2");
    freeObj(text);

    MathObj* word = makeStringObj("abc", 3);
    std::string messages = errorOutput([&] { MathObjToRat(word); });
    EXPECT_TRUE(contains(messages, "Non-numerical string: abc"));
    EXPECT_EQ(word->type, 'e');
    EXPECT_STREQ(word->pointer.string, "Not a number");
    freeObj(word);
}

// ---------------------------------------------------------------- malformed expressions

TEST_F(EvaluatorTest, SyntaxErrorsGiveTheSharedErrorObject) {
    struct Bad {
        const char* expression;
        const char* message;
    };
    for (const Bad& b : std::vector<Bad>{
             {"*3", "Syntax error in (sub)-expression:\n*3"},
             {"3+", "Syntax error in (sub)-expression:\n3+"},
             {"3!4", "Syntax error in (sub)-expression:\n3!4"},
             {"3*+4", "Syntax error in (sub)-expression:\n3*+4"},
             {"3 + * 4", "Syntax error in (sub)-expression:\n3 + * 4"},
             {"3 + ", "Syntax error in (sub)-expression:\n3 + "},
             {"(1+2", "Brackets not closed"},
             {"1+2)", "Brackets not closed"},
             {"\"abc", "Unmatched quotes"},
         }) {
        std::string text = b.expression;
        MathObj* v = nullptr;
        std::string messages = errorOutput([&] { v = evaluate_string(text.data()); });
        ASSERT_EQ(v->type, 'e') << b.expression;
        EXPECT_STREQ(v->pointer.string, "ERROR") << b.expression;
        EXPECT_TRUE(contains(messages, b.message)) << b.expression << ": " << messages;
        // The shared object survives being given back, even twice.
        freeObj(v);
        freeObj(v);
        EXPECT_STREQ(v->pointer.string, "ERROR");
    }
}

TEST_F(EvaluatorTest, ErrorInASubExpressionPassesOnAsAValue) {
    std::string first;
    std::string second;
    errorOutput([&] {
        first = eval("2+(3*)").text;
        second = eval("(1+)*(2+)").text;
    });
    EXPECT_EQ(first, "ERROR");
    EXPECT_EQ(second, "ERROR");
}

TEST_F(EvaluatorTest, NestingIsBounded) {
    const int deep = 2100;
    std::string tooDeep = std::string(deep, '(') + "1+1" + std::string(deep, ')');
    Value v;
    std::string messages = errorOutput([&] { v = eval(tooDeep); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_TRUE(contains(messages, "Expression nested too deeply"));
    EXPECT_EQ(eval(std::string(500, '(') + "1+1" + std::string(500, ')')).text, "2");
}

TEST_F(EvaluatorTest, NonNumericalOperandIsNotANumber) {
    Value v;
    std::string messages = errorOutput([&] { v = eval("abc+1"); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_EQ(v.text, "Not a number");
    EXPECT_TRUE(contains(messages, "Non-numerical string: abc"));
    errorOutput([] {
        EXPECT_EQ(eval("1+abc").text, "Not a number");
        EXPECT_EQ(eval("1/abc+2").text, "Not a number");
    });
}

// ---------------------------------------------------------------- variables

TEST_F(EvaluatorTest, AssignmentDefinesAVariableAndGivesItsValue) {
    useTestHooks();
    Value v = eval("x=3");
    EXPECT_EQ(v.type, 's');
    EXPECT_EQ(v.text, "3");
    EXPECT_EQ(locals["x"], "3");
    EXPECT_EQ(eval("x+1").text, "4");
    EXPECT_EQ(eval("x").text, "3");

    EXPECT_EQ(eval("y = 1+2").text, "3");
    EXPECT_EQ(locals["y"], "3");
    eval("a b=5");
    EXPECT_EQ(locals["ab"], "5");
    eval("t= some text ");
    EXPECT_EQ(locals["t"], "some text");
    eval("u~ some text ");
    EXPECT_EQ(locals["u"], " some text ");
    eval("z=x*y");
    EXPECT_EQ(locals["z"], "9");
}

TEST_F(EvaluatorTest, LocalVariablesHideGlobalsAndSubstituteOneLevel) {
    useTestHooks();
    globals["g"] = "7";
    EXPECT_EQ(eval("g*2").text, "14");
    locals["g"] = "5";
    EXPECT_EQ(eval("g*2").text, "10");
    locals["p"] = "q";
    locals["q"] = "1";
    EXPECT_EQ(eval("p").text, "q");
    errorOutput([] { EXPECT_EQ(eval("p+0").text, "Not a number"); });
}

TEST_F(EvaluatorTest, RefusedAssignmentsAreErrors) {
    useTestHooks();
    Value v;
    std::string messages = errorOutput([&] { v = eval("(1+2)=4"); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_EQ(v.text, "Invalid variable 3");
    EXPECT_TRUE(contains(messages, "Invalid variable name: 3"));
    EXPECT_EQ(eval("1x=3").text, "Invalid variable 1x");
    EXPECT_EQ(locals.count("1x"), 0u);
}

TEST_F(EvaluatorTest, WithoutVariableListsNothingIsKnownOrSet) {
    EXPECT_EQ(eval("x").text, "x");
    Value v;
    errorOutput([&] { v = eval("x=3"); });
    EXPECT_EQ(v.type, 'e');
}

// ---------------------------------------------------------------- function calls

TEST_F(EvaluatorTest, FunctionCallsRunWithEvaluatedArgumentTexts) {
    useTestHooks();
    functionOutput = "21";
    EXPECT_EQ(eval("2*f(1+2, abc, 1/2)").text, "42");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (std::vector<std::string>{"f", "3", " abc", "1/2"}));

    calls.clear();
    Value v = eval("f()");
    EXPECT_EQ(v.type, 's');
    EXPECT_EQ(v.text, "21");
    EXPECT_EQ(calls[0], (std::vector<std::string>{"f"}));

    calls.clear();
    eval("f(g(1),(2,3))");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], (std::vector<std::string>{"g", "1"}));
    EXPECT_EQ(calls[1], (std::vector<std::string>{"f", "21", "2,3"}));

    calls.clear();
    eval("f(\"a,b\")");
    EXPECT_EQ(calls[0], (std::vector<std::string>{"f", "@a,b@"}));
}

TEST_F(EvaluatorTest, FunctionCallErrors) {
    useTestHooks();
    Value failed = eval("1+fail(1)");
    EXPECT_EQ(failed.type, 'e');
    EXPECT_EQ(failed.text, "RETURN CODE 5");

    calls.clear();
    Value v;
    errorOutput([&] { v = eval("f(1/0)"); });
    EXPECT_EQ(v.text, "INFINITE");
    EXPECT_TRUE(calls.empty());

    errorOutput([&] { v = eval("f(1)(2)"); });
    EXPECT_EQ(v.text, "ERROR");
}

TEST_F(EvaluatorTest, FunctionCallsWithoutAnInterpreterAreNotAvailable) {
    Value v;
    errorOutput([&] { v = eval("f(1)"); });
    EXPECT_EQ(v.type, 'e');
    EXPECT_EQ(v.text, "Function calls are not available");
}

// ---------------------------------------------------------------- integer arguments

TEST_F(EvaluatorTest, IntegerArguments) {
    int value = 0;
    std::string text;
    EXPECT_EQ(evaluateToInt("2+3*4", &value), 0);
    EXPECT_EQ(value, 14);
    EXPECT_EQ(evaluateToInt(" 12 ", &value), 0);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(evaluateToInt("2147483647", &value), 0);
    EXPECT_EQ(value, 2147483647);
    EXPECT_EQ(evaluateToInt("0-2147483647-1", &value), 0);
    EXPECT_EQ(value, -2147483647 - 1);
    EXPECT_EQ(evaluateToInt("100000*100000", &value), 2);
    EXPECT_EQ(evaluateToInt("2147483647+1", &value), 2);
    EXPECT_EQ(evaluateToInt("7/2", &value, &text), 1);
    EXPECT_EQ(text, "7/2");
    EXPECT_EQ(evaluateToInt("abc", &value, &text), 1);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(evaluateToInt("1<2", &value, &text), 1);
    EXPECT_EQ(text, "TRUE");
    errorOutput([&] { EXPECT_EQ(evaluateToInt("1/0", &value, &text), 1); });
    EXPECT_EQ(text, "INFINITE");
}

TEST_F(EvaluatorTest, DoubleArguments) {
    double value = 0;
    EXPECT_EQ(evaluateToDouble("1/4", &value), 0);
    EXPECT_DOUBLE_EQ(value, 0.25);
    EXPECT_EQ(evaluateToDouble("3", &value), 0);
    EXPECT_DOUBLE_EQ(value, 3.0);
    EXPECT_EQ(evaluateToDouble("-0.125*2", &value), 0);
    EXPECT_DOUBLE_EQ(value, -0.25);
    errorOutput([&] { EXPECT_EQ(evaluateToDouble("abc", &value), 1); });
}

// ---------------------------------------------------------------- the object store

TEST_F(EvaluatorTest, ObjectsAreRecycledThroughTheStore) {
    const std::string expression = "(1+2)*3-4/5|g";
    eval(expression);
    EXPECT_EQ(eval(expression).text, "41/5g");
    const int bytes = showObjectsUsed(0);
    for (int i = 0; i < 20; ++i)
        eval(expression);
    EXPECT_EQ(showObjectsUsed(0), bytes);

    MathObj* obj = allocMathObj();
    EXPECT_EQ(checkFreed(obj), 0);
    freeObj(obj);
    std::string messages = errorOutput([&] { EXPECT_EQ(checkFreed(obj), 1); });
    EXPECT_TRUE(contains(messages, "Attempt to free twice"));
}

TEST_F(EvaluatorTest, CommandLineLengthOfATextChain) {
    MathObj* a = makeStringObj("ab", 2);
    MathObj* b = stack_up(a, makeStringObj("cde", 3));
    EXPECT_EQ(getStringLen(a), 2 + 5 + 3 + 5);
    stack_up(b, makeIntObj(4));
    std::string messages = errorOutput([&] { EXPECT_EQ(getStringLen(a), 0); });
    EXPECT_TRUE(contains(messages, "Incorrect type \"i\" in getStringLen"));
    freestack(a);
}

} // namespace
