#include "base/StringUtility.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Runs f and returns what it wrote to standard output and the error output together.
template <class F> std::string capturedOutput(F f) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    std::fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    return out + testing::internal::GetCapturedStderr();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// ---------------------------------------------------------------- numbers

TEST(StringUtilityNumbers, NumstrMatchesPrintf) {
    for (int v : {0, 7, -5, 10, -10, 99, 100, 123456789, 1000000000, -1000000000, INT_MAX, INT_MIN,
                  INT_MIN + 1}) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%d", v);
        EXPECT_STREQ(numstr(v), expected) << v;
    }
}

TEST(StringUtilityNumbers, IntstrlenCountsDigitsAndSign) {
    struct Case {
        int value;
        int len;
    };
    const Case cases[] = {
        {0, 1},        {9, 1},         {10, 2},          {-5, 2},          {-9, 2},
        {-10, 3},      {999999999, 9}, {1000000000, 10}, {-999999999, 10}, {-1000000000, 11},
        {INT_MAX, 10}, {INT_MIN, 11}};
    for (const Case& c : cases)
        EXPECT_EQ(intstrlen(c.value), c.len) << c.value;
}

TEST(StringUtilityNumbers, StrnumChkAcceptsWholeIntRangeAndTellsFailuresApart) {
    struct Case {
        const char* text;
        int result;
        int value; // read only when result is 0
    };
    const Case cases[] = {
        {"  -12  ", 0, -12},
        {"-", 0, 0},
        {"", 0, 0},
        {"   ", 0, 0},
        {"  -", 0, 0},
        {"007", 0, 7},
        {"200000001", 0, 200000001},
        {"2000000000", 0, 2000000000},
        {"2147483647", 0, INT_MAX},
        {"-2147483648", 0, INT_MIN},
        {"2147483648", 2, 0},
        {"-2147483649", 2, 0},
        {"99999999999999999999999", 2, 0},
        {"1 2", 1, 0},
        {"+5", 1, 0},
        {"1.5", 1, 0},
        {"0x10", 1, 0},
        {"12a", 1, 0},
        {" - 5", 1, 0},
        {"5\n", 1, 0},
    };
    for (const Case& c : cases) {
        int value = 424242;
        EXPECT_EQ(strnumChk(c.text, &value), c.result) << '"' << c.text << '"';
        EXPECT_EQ(value, c.result == 0 ? c.value : 424242) << '"' << c.text << '"';
    }
}

TEST(StringUtilityNumbers, StrnumReadsSignedDigitsAndReportsOtherText) {
    EXPECT_EQ(strnum("123"), 123);
    EXPECT_EQ(strnum("-45"), -45);
    EXPECT_EQ(strnum(""), 0);
    EXPECT_EQ(strnum("-"), 0);
    EXPECT_EQ(strnum("-2147483648"), INT_MIN);
    int result = 0;
    const std::string out = capturedOutput([&] { result = strnum("12a"); });
    EXPECT_EQ(result, 2147483647);
    EXPECT_TRUE(contains(out, "String 12a cannot be converted to a number")) << out;
    // No blank skipping: a leading blank is a bad character.
    capturedOutput([&] { result = strnum(" 1"); });
    EXPECT_EQ(result, 2147483647);
}

TEST(StringUtilityNumbers, GetNextNumReadsAfterTheGivenCharacter) {
    struct Case {
        const char* text;
        int value;
        int endOffset;
    };
    const Case cases[] = {
        {"#12x", 12, 2}, {"#-7", -7, 2}, {"#-x", 0, 1}, {"#x", 0, 0}, {"#", 0, 0}, {",0,", 0, 1},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        char* end = nullptr;
        EXPECT_EQ(getNextNum(text.data(), &end), c.value) << c.text;
        EXPECT_EQ(end - text.data(), c.endOffset) << c.text;
        EXPECT_EQ(text, c.text);
    }
}

TEST(StringUtilityNumbers, GetPreviousNumReadsBackNoFurtherThanBegin) {
    struct Case {
        const char* text;
        int begin;
        int end;
        int value;
        int beginOffset;
    };
    const Case cases[] = {
        {"ab-34c", 0, 5, -34, 2},                      // the minus sign belongs to the number
        {"12", 0, 2, 12, 0},      {"x-5", 2, 3, 5, 2}, // the minus lies before begin
        {"ab", 0, 2, 0, 2},       {"a7", 1, 1, 0, 1},  // end is begin
        {"-x", 0, 2, 0, 2},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        char* first = nullptr;
        EXPECT_EQ(getPreviousNum(text.data() + c.end, text.data() + c.begin, &first), c.value)
            << c.text;
        EXPECT_EQ(first - text.data(), c.beginOffset) << c.text;
        EXPECT_EQ(text, c.text);
    }
}

TEST(StringUtilityNumbers, GetNumberSplitsAtEndingCharacters) {
    struct Case {
        const char* text;
        int lbl;
        const char* expected; // null: no such number
    };
    const Case cases[] = {
        {"3-4", 0, "3"},          {"3-4", 1, "4"}, // the "-" ended the 3, so it is no sign
        {"a -2.5b 7", 0, "-2.5"}, {"a -2.5b 7", 1, "7"}, {"1.2.3", 0, "1.2"},
        {"1.2.3", 1, "3"},        {"x-.5", 0, "-.5"},    {"12", 1, nullptr},
        {"abc", 0, nullptr},      {"", 0, nullptr},      {"5", -1, nullptr},
    };
    for (const Case& c : cases) {
        const char* got = getNumber(c.text, c.lbl);
        if (c.expected)
            EXPECT_STREQ(got, c.expected) << c.text << " #" << c.lbl;
        else
            EXPECT_EQ(got, nullptr) << c.text << " #" << c.lbl;
    }
    EXPECT_EQ(getNumber(nullptr, 0), nullptr);
    // A previous result as input.
    EXPECT_STREQ(getNumber(getNumber("x 123 4", 0), 0), "123");
    EXPECT_STREQ(getNumber(getNumber("ab 12.5 6", 0), 0), "12.5");
}

TEST(StringUtilityNumbers, StrnumcmpComparesLengthFirst) {
    EXPECT_EQ(strnumcmp("123", "99"), 1);
    EXPECT_EQ(strnumcmp("99", "123"), -1);
    EXPECT_EQ(strnumcmp("123", "124"), -1);
    EXPECT_EQ(strnumcmp("124", "123"), 1);
    EXPECT_EQ(strnumcmp("55", "55"), 0);
    EXPECT_EQ(IntegerCheck('0') + IntegerCheck('9'), 2);
    EXPECT_EQ(IntegerCheck('a') + IntegerCheck('/') + IntegerCheck(':'), 0);
}

// ---------------------------------------------------------------- comparison

TEST(StringUtilityCompare, CmpcomAbbreviationAndOrder) {
    struct Case {
        const char* full;
        const char* user;
        int result;
    };
    const Case cases[] = {
        {"Boundary", "bo", 0}, {"Bo", "boundary", 1}, {"A", "At", 1},
        {"At", "A", 0},        {"", "", 0},           {"", "x", 1},
        {"abc", "", 0},        {"HELP", "hE", 0},     {"help", "HELP", 0},
        {"b", "a", -1},        {"a", "b", 1},         {"apple", "apz", 1},
        {"apple", "apa", -1},  {"Zeta", "a", -1},     {"a", "Zeta", 1},
        {"a", "\xe9", -1}, // bytes compare as signed: 0xE9 sorts before "a"
    };
    for (const Case& c : cases)
        EXPECT_EQ(cmpcom(c.full, c.user), c.result) << c.full << " / " << c.user;
}

TEST(StringUtilityCompare, CaseInsensitiveHelpers) {
    EXPECT_EQ(subString("Hello World", "WORLD"), 1);
    EXPECT_EQ(subString("Hello", "low"), 0);
    EXPECT_EQ(subString("abc", ""), 1);
    EXPECT_EQ(subString("", ""), 0);
    EXPECT_EQ(subString("", "a"), 0);

    EXPECT_EQ(lowercmp("HeLLo", "hello"), 0);
    EXPECT_EQ(lowercmp("Ab", "aC"), 'b' - 'C'); // the characters as written
    EXPECT_EQ(lowercmp("ab", "abc"), -'c');

    EXPECT_EQ(lower('Q'), 'q');
    EXPECT_EQ(lower('['), '[');
    EXPECT_EQ(upper('q'), 'Q');
    EXPECT_EQ(upper(0xE9), 0xE9);
    char buf[16];
    lowercase(buf, "MiXeD 1\xC9");
    EXPECT_STREQ(buf, "mixed 1\xC9");
    char text[] = "ABC";
    makelowercase(text);
    EXPECT_STREQ(text, "abc");
}

TEST(StringUtilityCompare, StrpccmpAndFindWord) {
    const char* text = "set value";
    EXPECT_EQ(strpccmp(text, text + 2, "set"), 0);
    EXPECT_EQ(strpccmp(text, text + 2, "se"), 1);
    EXPECT_EQ(strpccmp(text, text + 2, "sets"), 1);
    EXPECT_EQ(strpccmp(text + 3, text + 2, ""), 0); // empty stretch
    EXPECT_EQ(strpccmp(text + 3, text + 2, "x"), 1);

    const char* list[] = {"alpha", "beta", "Beta", nullptr};
    EXPECT_EQ(findWord("Beta", list), 2);
    EXPECT_EQ(findWord("gamma", list), -1);
    EXPECT_EQ(findWord("alp", list), -1);
    EXPECT_EQ(findWord("alpha", nullptr), -1);
    const char* empty[] = {nullptr};
    EXPECT_EQ(findWord("alpha", empty), -1);
}

// ---------------------------------------------------------------- counting and scanning

TEST(StringUtilityScan, Counting) {
    const char* text = "a(b(c)d)e(";
    EXPECT_EQ(charcnt(text, '('), 3);
    EXPECT_EQ(charcntpc(text, text + 3, '('), 2);
    EXPECT_EQ(bracketcnt(text, '(', ')'), 1);
    EXPECT_EQ(bracketcntpc(text, text + 5, '(', ')'), 1);
    const char shortText[16] = "((";
    EXPECT_EQ(charcntpc(shortText, shortText + 10, '('), 2); // stops at the terminator
    EXPECT_EQ(substringcnt("aaaa", "aa"), 2);                // no overlap
    EXPECT_EQ(substringcnt("abcabc", "bc"), 2);
    EXPECT_EQ(substringcnt("abc", "x"), 0);
    EXPECT_EQ(substringcnt("abc", ""), 0);
}

TEST(StringUtilityScan, BlankAndCharacterFinders) {
    const char* a = "  x y ";
    EXPECT_EQ(findFirstAlpha(a), a + 2);
    EXPECT_EQ(findLastAlpha(a), a + 4);
    const char* blanks = "   ";
    EXPECT_EQ(findFirstAlpha(blanks), blanks + 3);
    EXPECT_EQ(findLastAlpha(blanks), blanks);
    const char* empty = "";
    EXPECT_EQ(findLastAlpha(empty), empty);
    const char* tabs = "\tx\t";
    EXPECT_EQ(findFirstAlpha(tabs), tabs);    // a tab is no blank
    EXPECT_EQ(findLastAlpha(tabs), tabs + 2); // nor at the end

    const char* abc = "abc";
    EXPECT_EQ(findFirstChar(abc, 'b'), abc + 1);
    EXPECT_EQ(findFirstChar(abc, 'z'), abc + 3);
    const char* t = "abc;d,";
    EXPECT_EQ(findFirstSpecialChar(t, ",;"), t + 3);
    EXPECT_EQ(findFirstSpecialChar(t, "#"), nullptr);
}

TEST(StringUtilityScan, CharOutsideBrackets) {
    struct Case {
        const char* text;
        char c0;
        bool escaped; // use the escaping variant with a backslash
        int offset;   // -1: none
    };
    const Case cases[] = {
        {"f(a,b),c", ',', false, 6},
        {"(a)", '(', false, 0}, // the depth at a character counts only those before it
        {"(a,b)", ',', false, -1},
        {"a)b,c", ',', false, -1}, // depth -1 is not depth 0
        {"a\\,b,c", ',', true, 4},
        {"\\(a,b", ',', true, 3},    // an escaped bracket does not open
        {"(a\\)b,c", ',', true, -1}, // nor does an escaped one close
    };
    for (const Case& c : cases) {
        const char* got = c.escaped ? findUnescapedCharOutsideBrackets(c.text, c.c0, '(', ')', '\\')
                                    : findCharOutsideBrackets(c.text, c.c0, '(', ')');
        if (c.offset < 0)
            EXPECT_EQ(got, nullptr) << c.text;
        else
            EXPECT_EQ(got, c.text + c.offset) << c.text;
    }
}

TEST(StringUtilityScan, EscapeChecks) {
    const char* t = "a\\\\;b\\;";
    EXPECT_EQ(checkEscape(t + 2, t, '\\'), 1);
    EXPECT_EQ(checkEscape(t, t, '\\'), 0);
    EXPECT_EQ(checkEscape(t + 1, t, '\\'), 0);
    EXPECT_EQ(checkForUnescapedChar(t + 3, t, '\\', ';'), 1);     // two escapes: even
    EXPECT_EQ(checkForUnescapedChar(t + 3, t + 2, '\\', ';'), 0); // only one counted back to begin
    EXPECT_EQ(checkForUnescapedChar(t + 6, t, '\\', ';'), 0);     // one escape: odd
    EXPECT_EQ(checkForUnescapedChar(t + 4, t, '\\', ';'), 0);     // not the character
    const char* first = ";";
    EXPECT_EQ(checkForUnescapedChar(first, first, '\\', ';'), 1);
}

TEST(StringUtilityScan, QuotesAndBrackets) {
    struct Case {
        const char* text;
        char c;
        int offset; // -1: none
    };
    const Case unquoted[] = {
        {"say \"a;b\";c", ';', 9}, {"a';'b;c", ';', 5}, // ';' between single quotes is literal
        {"\"a\\\";b\";c", ';', 7},                      // an escaped quote does not close
        {";abc", ';', 0},                               // the first character at once
        {"\"x;\"", ';', -1},                            // a leading quote begins inside
        {"abc", ';', -1},          {"", ';', -1},
    };
    for (const Case& c : unquoted) {
        const char* got = findUnquotedChar(c.text, c.c);
        if (c.offset < 0)
            EXPECT_EQ(got, nullptr) << c.text;
        else
            EXPECT_EQ(got, c.text + c.offset) << c.text;
    }

    const char* q = "a\\\"b\"";
    EXPECT_EQ(findDoubleQuote(q), q + 4);
    const char* q0 = "\"x";
    EXPECT_EQ(findDoubleQuote(q0), q0);
    EXPECT_EQ(findDoubleQuote("a\\\"b"), nullptr);

    const char* b = "a(b)c)d";
    EXPECT_EQ(findClosingBracket(b), b + 5);
    EXPECT_EQ(findClosingBracket("a(b"), nullptr);
    const char* quoted = "\")\"";
    EXPECT_EQ(findClosingBracket(quoted), quoted + 1); // quotes not regarded
}

TEST(StringUtilityScan, FindMatchingBracketSkipsNestingAndQuotes) {
    struct Case {
        const char* text;
        int offset;
    };
    const Case cases[] = {
        {"a(b)c)d", 5},   {"a(b(c))d)e", 8},
        {"a\")\"b)", 5},  {"')')", 3}, // the first ")" stands between single quotes
        {"(\")\")x)", 6},              // a quoted close inside a nested pair
    };
    for (const Case& c : cases)
        EXPECT_EQ(findMatchingBracket(c.text, '(', ')'), c.text + c.offset) << c.text;

    const char* got = &"x"[0];
    const std::string out = capturedOutput([&] { got = findMatchingBracket("abc", '(', ')'); });
    EXPECT_EQ(got, nullptr);
    EXPECT_TRUE(contains(out, "No closing bracket ) found")) << out;
    capturedOutput([&] { got = findMatchingBracket("a(b)", '(', ')'); }); // inner pair, no outer
    EXPECT_EQ(got, nullptr);
}

TEST(StringUtilityScan, FindBracketContentsCutsAtTheMatchingClose) {
    char text[] = "f(a(b)c)d";
    char* next = nullptr;
    char* inside = findBracketContents(text, '(', ')', &next);
    EXPECT_STREQ(inside, "a(b)c");
    EXPECT_STREQ(next, "d");

    char none[] = "abc";
    EXPECT_EQ(findBracketContents(none, '(', ')', &next), nullptr);

    char open[] = "f(a(b)";
    char* got = none;
    const std::string out =
        capturedOutput([&] { got = findBracketContents(open, '(', ')', &next); });
    EXPECT_EQ(got, nullptr);
    EXPECT_TRUE(contains(out, "Bracket mismatch")) << out;
    EXPECT_STREQ(open, "f(a(b)");
}

TEST(StringUtilityScan, FirstPointer) {
    const char* t = "abc";
    EXPECT_EQ(firstPointer(static_cast<const char*>(nullptr), t + 1), t + 1);
    EXPECT_EQ(firstPointer(t + 1, nullptr), t + 1);
    EXPECT_EQ(firstPointer(t + 1, t + 2), t + 1);
    EXPECT_EQ(firstPointer(t + 2, t + 1), t + 1);
    EXPECT_EQ(firstPointer(t + 1, t + 1), t + 1);
    EXPECT_EQ(firstPointer(static_cast<const char*>(nullptr), nullptr), nullptr);
}

// ---------------------------------------------------------------- editing in place

TEST(StringUtilityEdit, EditorsTable) {
    struct Case {
        const char* name;
        std::function<void(char*)> edit;
        const char* input;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"removeLeadingBlanks", removeLeadingBlanks, "  ab ", "ab "},
        {"removeLeadingChar", [](char* s) { removeLeadingChar(s, '/'); }, "/x/", "x/"},
        {"removeLeadingChar", [](char* s) { removeLeadingChar(s, '/'); }, "x/", "x/"},
        {"unblankString", unblankString, "  a   b  c  ", "a b c"},
        {"unblankString", unblankString, "   ", ""},
        {"unblankString", unblankString, "a\t\tb", "a\t\tb"},
        {"stripblanks", stripblanks, " a \"b c\" ", "a\"bc\""},
        {"removeTrailingBlanks", removeTrailingBlanks, "ab  ", "ab"},
        {"removeTrailingBlanks", removeTrailingBlanks, " ", " "},
        {"removeTrailingBlanks", removeTrailingBlanks, "    ", " "},
        {"removeTrailingBlanks", removeTrailingBlanks, "", ""},
        {"removeTrailingLineFeeds", removeTrailingLineFeeds, "ab \n \n", "ab"},
        {"removeTrailingLineFeeds", removeTrailingLineFeeds, "\n\n", "\n"},
        {"removeTrailingChar", [](char* s) { removeTrailingChar(s, '/'); }, "/", "/"},
        {"removeTrailingChar", [](char* s) { removeTrailingChar(s, '/'); }, "a//", "a/"},
        {"removeTrailingChar", [](char* s) { removeTrailingChar(s, '/'); }, "", ""},
        {"removeLastEOL", removeLastEOL, "a\n\n", "a\n"},
        {"removeLastEOL", removeLastEOL, "\n", ""},
        {"removeEOL", removeEOL, "a\nb\n", "a b "},
        {"replaceChar", [](char* s) { replaceChar(s, ',', ';'); }, "a,',',b", "a;',';b"},
        {"replaceChar", [](char* s) { replaceChar(s, ',', ';'); }, ",'", ";'"},
        {"removeCharBeforeChar", [](char* s) { removeCharBeforeChar(s, '/', '/'); }, "a//b//",
         "a/b/"},
        {"removeCharBeforeChar", [](char* s) { removeCharBeforeChar(s, '/', '/'); }, "///", "/"},
        {"removeCharBeforeChar", [](char* s) { removeCharBeforeChar(s, '/', '\0'); }, "a/b/",
         "a/b"},
        {"removeCharAfterChar", [](char* s) { removeCharAfterChar(s, ' ', ' '); }, "a   b", "a b"},
        {"removeCharAfterChar", [](char* s) { removeCharAfterChar(s, ' ', ' '); }, "  x", " x"},
        {"removeCharAfterChar", [](char* s) { removeCharAfterChar(s, 'a', '='); }, "a=a=a",
         "a=="}, // the first character is never removed
        {"removeCharAfterChar", [](char* s) { removeCharAfterChar(s, 'a', 'a'); }, "aaa", "a"},
        {"removeBlanksAfterChar", [](char* s) { removeBlanksAfterChar(s, '('); },
         "f(  a, b) \"(  x\" (  y", "f(a, b) \"(  x\" (y"},
        {"removeBlanksBeforeChar", [](char* s) { removeBlanksBeforeChar(s, '='); },
         "a  = b \" =\" =", "a = b \" =\"="},
        {"removeDelimitedText", [](char* s) { removeDelimitedText(s, '[', ']'); }, "a[x]b[y]c",
         "abc"},
        {"removeDelimitedText", [](char* s) { removeDelimitedText(s, '[', ']'); }, "a]b[c]d[e",
         "a]bd[e"},
        {"removeSubstring", [](char* s) { removeSubstring(s, "bc"); }, "abcabc", "aa"},
        {"removeSubstring", [](char* s) { removeSubstring(s, ""); }, "abc", "abc"},
        {"replaceSubstringByShorter", [](char* s) { replaceSubstringByShorter(s, "==", "="); },
         "x==y==z", "x=y=z"},
        {"replaceSubstringByShorter", [](char* s) { replaceSubstringByShorter(s, "ab", "xy"); },
         "abab", "xyxy"},
        {"removeEndstring", [](char* s) { removeEndstring(s, ".txt"); }, "f.txt.txt", "f"},
        {"removeEndstring", [](char* s) { removeEndstring(s, "a"); }, "aaa", ""},
        {"removeEndstring", [](char* s) { removeEndstring(s, "x"); }, "abc", "abc"},
        {"shiftstring", [](char* s) { shiftstring(s, 2); }, "abcdef", "cdef"},
        {"shiftstring", [](char* s) { shiftstring(s, 6); }, "abcdef", ""},
        {"shiftstring", [](char* s) { shiftstring(s, 7); }, "abcdef", "abcdef"},
        {"shiftstring", [](char* s) { shiftstring(s, 0); }, "abcdef", "abcdef"},
        {"shiftstring", [](char* s) { shiftstring(s, -1); }, "abcdef", "abcdef"},
    };
    for (const Case& c : cases) {
        std::vector<char> text(c.input, c.input + std::strlen(c.input) + 1);
        c.edit(text.data());
        EXPECT_STREQ(text.data(), c.expected) << c.name << " of \"" << c.input << '"';
    }
}

TEST(StringUtilityEdit, ReplacementLongerThanTextIsRefused) {
    char text[] = "a=b";
    const std::string out = capturedOutput([&] { replaceSubstringByShorter(text, "=", "==="); });
    EXPECT_STREQ(text, "a=b");
    EXPECT_FALSE(out.empty());
}

TEST(StringUtilityEdit, RemoveSubstringObsAnnouncesOnlyWhenFound) {
    char text[] = "xaby";
    EXPECT_EQ(capturedOutput([&] { removeSubstring_obs(text, "ab"); }), "copying");
    EXPECT_STREQ(text, "xy");
    EXPECT_EQ(capturedOutput([&] { removeSubstring_obs(text, "ab"); }), "");
}

// ---------------------------------------------------------------- copying

TEST(StringUtilityCopy, CopiesRespectCountsAndTerminators) {
    char buf[8];
    std::memset(buf, 'Q', sizeof buf);
    charcopy(buf, "abcdef", 3);
    EXPECT_EQ(std::string(buf, 4), "abcQ"); // no terminator
    charcopy(buf, "zz", 0);
    EXPECT_EQ(buf[0], 'a');

    std::memset(buf, 'Q', sizeof buf);
    stringNcopy(buf, "abcdef", 3);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(buf[4], 'Q'); // count + 1 bytes at most
    stringNcopy(buf, "ab", 5);
    EXPECT_STREQ(buf, "ab");
    stringNcopy(buf, "ab", 0);
    EXPECT_STREQ(buf, "");

    const char* src = "0123456";
    stringpccopy(buf, src + 2, src + 4);
    EXPECT_STREQ(buf, "234");
    stringpccopy(buf, src + 2, src + 1);
    EXPECT_STREQ(buf, "");

    EXPECT_EQ(STRLEN("abc"), 3);
    EXPECT_EQ(StringLength(nullptr), 0);
    EXPECT_EQ(StringLength("ab"), 2);

    char* dup = stringdup("hello");
    ASSERT_NE(dup, nullptr);
    EXPECT_STREQ(dup, "hello");
    std::free(dup);
    EXPECT_EQ(stringdup(nullptr), nullptr);

    removeChar(buf, "a,b,,c", ',');
    EXPECT_STREQ(buf, "abc");
}

TEST(StringUtilityCopy, RemoveQuotesAndEscapes) {
    struct Case {
        const char* input;
        char quote;
        const char* expected;
    };
    const Case cases[] = {
        {"@ab@", '@', "ab"},     {"a\\@b", '@', "a@b"},   {"a\\\\b", '@', "a\\b"},
        {"ab\\", '@', "ab"},     {"\\", '@', ""},         {"\\\\@x@", '@', "\\x"},
        {"\"a b\"", '"', "a b"}, {"x\\\"y", '"', "x\"y"}, {"a\\nb", '@', "anb"},
    };
    for (const Case& c : cases) {
        char out[32];
        removeQuotesAndEscapes(out, c.input, c.quote, '\\');
        EXPECT_STREQ(out, c.expected) << c.input;
    }
}

// ---------------------------------------------------------------- formatting

TEST(StringUtilityFormat, FormstrHoldsTextsOfAnyLength) {
    for (std::size_t n : {0u, 79u, 80u, 81u, 1000u, 70000u}) {
        const std::string text(n, 'x');
        std::string out;
        const char* got = nullptr;
        out = capturedOutput([&] { got = formstr("%s", text.c_str()); });
        EXPECT_EQ(std::string(got), text) << n;
        EXPECT_EQ(out, "") << n; // no report, whatever the length
    }
    const std::string longName = "/home/user/results/" + std::string(120, 'n') + ".dat";
    EXPECT_EQ(std::string(formstr("%s/%d", longName.c_str(), 42)), longName + "/42");
}

TEST(StringUtilityFormat, FormstrMayTakeItsPreviousResult) {
    const std::string base(300, 'b');
    char* first = formstr("%s", base.c_str());
    char* second = formstr("<%s|%s>", first, base.c_str());
    EXPECT_EQ(std::string(second), "<" + base + "|" + base + ">");
    EXPECT_STREQ(formstr("%d %s %c", -7, "ok", 'z'), "-7 ok z");
}

TEST(StringUtilityFormat, FormstrChecksizeHoldsWideAndLongTexts) {
    const std::string text(5000, 'q');
    EXPECT_EQ(std::string(formstr_checksize("[%s]", text.c_str())), "[" + text + "]");
    // A double of 1e300 has 301 digits before the point, more than a guess per "%f".
    const std::string big(formstr_checksize("%f", 1e300));
    EXPECT_EQ(big.size(), 301u + 7u);
    EXPECT_EQ(big.substr(0, 2), "10");
    EXPECT_EQ(big.substr(big.size() - 7), ".000000");
    const std::string wide(formstr_checksize("%-400s|", "x"));
    EXPECT_EQ(wide, "x" + std::string(399, ' ') + "|");
    // Its own previous result as argument, while the buffer grows.
    char* small = formstr_checksize("%s", "abc");
    EXPECT_EQ(std::string(formstr_checksize("%s%s", small, std::string(9000, 'r').c_str())),
              "abc" + std::string(9000, 'r'));
}

TEST(StringUtilityFormat, VcatFillsWithoutTerminator) {
    char buf[32];
    std::memset(buf, 'Q', sizeof buf);
    char* end = vcat(8, buf, "%d", 42);
    EXPECT_EQ(end, buf + 8);
    EXPECT_EQ(std::string(buf, 9), "42      Q");

    std::memset(buf, 'Q', sizeof buf);
    end = vcat(3, buf, "%s", "abcdef");
    EXPECT_EQ(end, buf + 3); // a longer text is not cut
    EXPECT_STREQ(buf, "abcdef");

    char* p = buf;
    p = vcat(4, p, "%s", "a");
    p = vcat(4, p, "%c", 'b');
    *p = '\0';
    EXPECT_STREQ(buf, "a   b   ");
}

TEST(StringUtilityFormat, PrintRep) {
    char buf[64];
    const char* names[] = {"a", "b", "c", nullptr};
    const int counts[] = {1, 0, 3};
    char* end = print_rep(buf, counts, names);
    EXPECT_STREQ(buf, "[a] + 3 x [c]");
    EXPECT_EQ(end, buf + std::strlen(buf));

    const int zeros[] = {0, 0, 0};
    end = print_rep(buf, zeros, names);
    EXPECT_STREQ(buf, "None");
    EXPECT_EQ(end, buf + 4);

    const char* none[] = {nullptr};
    print_rep(buf, zeros, none);
    EXPECT_STREQ(buf, "None");
}

TEST(StringUtilityFormat, YesNoAnswers) {
    EXPECT_STREQ(toYN(1), "Yes");
    EXPECT_STREQ(toYN(0), "No");
    const char* got = nullptr;
    const std::string out = capturedOutput([&] { got = toYN(2); });
    EXPECT_STREQ(got, "INVALID");
    EXPECT_TRUE(contains(out, "Input should be 1 or 0")) << out;

    EXPECT_EQ(YN("yes"), 1);
    EXPECT_EQ(YN("YeS"), 1);
    EXPECT_EQ(YN("no"), 0);
    EXPECT_EQ(YN("NO"), 0);
    int answer = -9;
    // Nobody can be asked here, so the default answer (Yes) is taken.
    const std::string asked = capturedOutput([&] { answer = YN("y"); });
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(contains(asked, "Please answer Yes or No")) << asked;
}

TEST(StringUtilityFormat, PadAndTextcatMakeColumns) {
    char padded[64];
    pad("ab\nabcd\nx\n", padded);
    EXPECT_STREQ(padded, "ab  \nabcd\nx   \n");
    pad("ab\nabcd\nlonger last", padded);
    EXPECT_STREQ(padded, "ab  \nabcd\nlonger last");

    char s[64] = "ab\ncd\n";
    char work[64];
    Textcat(s, "12\n34\n", work);
    EXPECT_STREQ(s, "ab12\ncd34\n");

    char shortRight[64] = "a\nb\nc\n";
    Textcat(shortRight, "1\n", work);
    EXPECT_STREQ(shortRight, "a1\nb"); // the output stops when the right text is used up

    char untouched[64] = "a\nb\n";
    Textcat(untouched, nullptr, work);
    EXPECT_STREQ(untouched, "a\nb\n");
}

TEST(StringUtilityFormat, LeftAdjustWrapsAtBlanksAfterMaxlen) {
    struct Case {
        const char* input;
        int n;
        int maxlen;
        const char* expected;
    };
    const Case cases[] = {
        {"one two", 4, 2, "    one\n    two"},
        {"aaa bbb ccc ddd", 2, 5, "  aaa bbb\n  ccc ddd"},
        {"one\n\ntwo\n", 4, 70, "    one\n    \n    two\n"},
        {"   indented\n  again", 1, 70, " indented\n again"},
        {"abcdefghij klm", 2, 3, "  abcdefghij\n  klm"}, // words are never split
        {"", 4, 70, ""},
        {"   ", 4, 70, ""},
    };
    for (const Case& c : cases) {
        char out[128];
        leftAdjust(out, c.input, c.n, c.maxlen);
        EXPECT_STREQ(out, c.expected) << '"' << c.input << '"';
    }
}

TEST(StringUtilityFormat, IndentedPrinting) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    IndentPrint(f, "abc", 3);
    IndentFormatPrint(f, 2, "%d-%s", 5, "x");
    IndentPrint(f, "z", 0);
    std::rewind(f);
    char buf[64] = {};
    const std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), "   abc\n  5-xz\n");
}

// ---------------------------------------------------------------- files

TEST(StringUtilityFiles, WritersCreateAppendAndReport) {
    const std::string path = testing::TempDir() + "string_utility_writer.txt";
    std::remove(path.c_str());
    EXPECT_EQ(stringToFile("first", path.c_str()), 0);
    EXPECT_EQ(readFile(path), "first");
    EXPECT_EQ(addStringToFile(path.c_str(), "second"), 0);
    EXPECT_EQ(readFile(path), "firstsecond\n");
    EXPECT_EQ(stringToFile("new", path.c_str()), 0); // emptied first
    EXPECT_EQ(readFile(path), "new");
    std::remove(path.c_str());

    const std::string missing = testing::TempDir() + "no_such_dir_su/x.txt";
    int result = 0;
    std::string out = capturedOutput([&] { result = stringToFile("x", missing.c_str()); });
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(contains(out, "Cannot open file " + missing)) << out;
    out = capturedOutput([&] { result = addStringToFile(missing.c_str(), "x"); });
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(contains(out, "Cannot open file " + missing)) << out;
}

TEST(StringUtilityFiles, FindLargestSubstring) {
    int n = -1;
    std::string out = capturedOutput([&] { n = findLargestSubstring("the quick fox", "quiet"); });
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(contains(out, "\n\nSearching for quiet\n")) << out;
    EXPECT_TRUE(contains(out, "ENCOUNTERED: qui")) << out;
    EXPECT_TRUE(contains(out, "Occurred 1 times\n")) << out;

    out = capturedOutput([&] { n = findLargestSubstring("aaaa", "aab"); });
    EXPECT_EQ(n, 3); // "aa" overlapping
    out = capturedOutput([&] { n = findLargestSubstring("abc", "zz"); });
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(contains(out, "FAILURE: failed looking for zz\n")) << out;
    out = capturedOutput([&] { n = findLargestSubstring("abc", "a"); }); // too short
    EXPECT_EQ(n, 0);
}

} // namespace
