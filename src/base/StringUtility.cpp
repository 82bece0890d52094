#include "base/StringUtility.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/SystemUtility.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Room for a minus sign, ten digits and the terminator.
constexpr int NumstrSize = 12;
std::array<char, NumstrSize> numstrBuffer{};

std::array<char, 8> toYNBuffer{};

// formstr alternates between two buffers, so that an argument taken from the previous result
// is still intact while the next text is written.
constexpr std::size_t FormstrInitialSize = 80;
std::array<std::vector<char>, 2> formstrBuffers;
int formstrActive = 0;

GuardedArray<char> formstr_buffer("formstr_buffer");
// Where formstr_checksize formats before copying into "formstr_buffer".
std::vector<char> checksizeText(256);
GuardedArray<char> getNumberWork("work");
GuardedArray<char> largestSubstringWork("work");

bool isBlank(char c) {
    return c == ' ';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
signed char lowerByte(char c) {
    return static_cast<signed char>(lower(c));
}
int length(const char* s) {
    return static_cast<int>(std::strlen(s));
}

// Quoted text starts or ends at a double quote without a backslash just before it.
bool togglesQuote(const char* p, const char* start) {
    return *p == '"' && (p == start || p[-1] != '\\');
}

// Value of the digits first..last-1; unsigned arithmetic, so an oversized text wraps instead of
// overflowing.
unsigned digitsValue(const char* first, const char* last) {
    unsigned value = 0;
    for (const char* p = first; p < last; ++p)
        value = value * 10u + static_cast<unsigned>(*p - '0');
    return value;
}

int signedValue(unsigned magnitude, bool negative) {
    return static_cast<int>(negative ? 0u - magnitude : magnitude);
}

} // namespace

// ===================================================================== numbers and text

char* numstr(int integ) {
    char* end = numstrBuffer.data() + NumstrSize - 1;
    char* p = end;
    *p = '\0';
    // The magnitude as unsigned, so the most negative int has one too.
    unsigned magnitude = integ < 0 ? 0u - static_cast<unsigned>(integ) : integ;
    do {
        *--p = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (integ < 0)
        *--p = '-';
    return p;
}

int intstrlen(int lbl) {
    unsigned magnitude = lbl < 0 ? 0u - static_cast<unsigned>(lbl) : lbl;
    int digits = 1;
    for (unsigned limit = 9; magnitude > limit && digits < 10; limit = limit * 10u + 9u)
        ++digits;
    return digits + (lbl < 0 ? 1 : 0);
}

namespace {
bool onlyBlanksFrom(const char* p) {
    while (isBlank(*p))
        ++p;
    return *p == '\0';
}
} // namespace

int strnumChk(const char* str, int* value) {
    const char* p = str;
    while (isBlank(*p))
        ++p;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    // The magnitude of INT_MIN is one more than INT_MAX.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t accumulator = 0;
    for (; *p; ++p) {
        if (isDigit(*p)) {
            accumulator = accumulator * 10 + (*p - '0');
            if (accumulator > limit)
                return 2;
        } else if (isBlank(*p) && onlyBlanksFrom(p)) {
            break;
        } else {
            return 1;
        }
    }
    *value = static_cast<int>(negative ? -accumulator : accumulator);
    return 0;
}

int strnum(const char* str) {
    const char* p = str;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    const char* digits = p;
    for (; *p; ++p) {
        if (!isDigit(*p)) {
            Alert("strnum", 0, 100302, "String %s cannot be converted to a number", str);
            return 2147483647;
        }
    }
    return signedValue(digitsValue(digits, p), negative);
}

int getNextNum(const char* begin, const char** endint) {
    const char* last = begin;
    if (*begin == '\0') { // nothing can follow a terminator
        *endint = begin;
        return 0;
    }
    const bool negative = begin[1] == '-';
    if (negative)
        ++last;
    const char* digits = last + 1;
    while (isDigit(last[1]))
        ++last;
    *endint = last;
    return signedValue(digitsValue(digits, last + 1), negative);
}

int getNextNum(char* begin, char** endint) {
    const char* end = nullptr;
    const int value = getNextNum(static_cast<const char*>(begin), &end);
    *endint = const_cast<char*>(end);
    return value;
}

int getPreviousNum(const char* end, const char* begin, const char** beginint) {
    const char* first = end;
    while (first > begin && isDigit(first[-1]))
        --first;
    if (first == end) {
        *beginint = end;
        return 0;
    }
    const unsigned magnitude = digitsValue(first, end);
    const bool negative = first > begin && first[-1] == '-';
    if (negative)
        --first;
    *beginint = first;
    return signedValue(magnitude, negative);
}

int getPreviousNum(char* end, char* begin, char** beginint) {
    const char* first = nullptr;
    const int value = getPreviousNum(static_cast<const char*>(end), begin, &first);
    *beginint = const_cast<char*>(first);
    return value;
}

char* getNumber(const char* string, int lbl) {
    if (!string || !*string || lbl < 0)
        return nullptr;
    // Held aside: string may be a previous result, inside the work array being reserved.
    const std::string text(string);
    const int n = static_cast<int>(text.size());
    char* copy = getNumberWork.reserve(n + 1);
    std::memcpy(copy, text.c_str(), text.size() + 1);
    int found = 0;
    char* p = copy;
    while (*p) {
        if (!isDigit(*p) && *p != '.') {
            ++p;
            continue;
        }
        char* start = (p > copy && p[-1] == '-') ? p - 1 : p;
        int dots = *p == '.' ? 1 : 0;
        for (++p; isDigit(*p) || (*p == '.' && dots == 0); ++p)
            dots += *p == '.';
        // Ending the number in the copy also hides a "-" after it from the next number.
        if (*p)
            *p++ = '\0';
        if (found++ == lbl)
            return start;
    }
    return nullptr;
}

int strnumcmp(const char* s, const char* t) {
    const int ls = length(s);
    const int lt = length(t);
    if (ls != lt)
        return ls > lt ? 1 : -1;
    const int c = std::strcmp(s, t);
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
}

int IntegerCheck(char c) {
    return isDigit(c) ? 1 : 0;
}

// ===================================================================== comparison and case

int cmpcom(const char* string, const char* str) {
    if (!*str)
        return 0;
    if (!*string)
        return 1;
    for (int i = 0;; ++i) {
        if (!str[i])
            return 0;
        if (!string[i])
            return 1;
        const signed char user = lowerByte(str[i]);
        const signed char full = lowerByte(string[i]);
        if (user != full)
            return user > full ? 1 : -1;
    }
}

int subString(const char* string, const char* substring) {
    if (!*string)
        return 0;
    const int n = length(substring);
    for (const char* p = string; *p; ++p) {
        int i = 0;
        while (i < n && p[i] && lower(p[i]) == lower(substring[i]))
            ++i;
        if (i == n)
            return 1;
    }
    return n == 0 ? 1 : 0;
}

int lowercmp(const char* s, const char* t) {
    int i = 0;
    while (s[i] && lower(s[i]) == lower(t[i]))
        ++i;
    if (lower(s[i]) == lower(t[i]))
        return 0;
    return s[i] - t[i];
}

int strpccmp(const char* begin, const char* end, const char* string) {
    const std::ptrdiff_t n = end - begin + 1;
    if (n <= 0)
        return *string ? 1 : 0;
    const auto len = static_cast<std::size_t>(n);
    return std::strncmp(begin, string, len) == 0 && string[len] == '\0' ? 0 : 1;
}

int findWord(const char* word, const char* const* list) {
    if (!list)
        return -1;
    for (int i = 0; list[i]; ++i)
        if (std::strcmp(list[i], word) == 0)
            return i;
    return -1;
}

int lower(int c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}
int upper(int c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

void lowercase(char* str1, const char* str2) {
    while (*str2)
        *str1++ = static_cast<char>(lower(*str2++));
    *str1 = '\0';
}

void makelowercase(char* string) {
    lowercase(string, string);
}

// ===================================================================== counting and scanning

int charcnt(const char* string, char c) {
    int n = 0;
    for (; *string; ++string)
        n += *string == c;
    return n;
}

int charcntpc(const char* string, const char* end, char c) {
    int n = 0;
    for (; string <= end && *string; ++string)
        n += *string == c;
    return n;
}

int bracketcnt(const char* string, char c1, char c2) {
    return charcnt(string, c1) - charcnt(string, c2);
}

int bracketcntpc(const char* string, const char* end, char c1, char c2) {
    return charcntpc(string, end, c1) - charcntpc(string, end, c2);
}

int substringcnt(const char* string, const char* s) {
    const std::size_t n = std::strlen(s);
    if (n == 0)
        return 0;
    int count = 0;
    for (const char* p = std::strstr(string, s); p; p = std::strstr(p + n, s))
        ++count;
    return count;
}

const char* findFirstAlpha(const char* line) {
    while (isBlank(*line))
        ++line;
    return line;
}

const char* findLastAlpha(const char* line) {
    if (!*line)
        return line;
    const char* p = line + std::strlen(line) - 1;
    while (p > line && isBlank(*p))
        --p;
    return p;
}

const char* findFirstChar(const char* line, char c) {
    while (*line && *line != c)
        ++line;
    return line;
}

const char* findFirstSpecialChar(const char* cl, const char* specialChars) {
    return std::strpbrk(cl, specialChars);
}

namespace {
// The first c0 at bracket depth 0; a character counts as escaped when esc stands just before it
// (escapes off when hasEscape is false).
const char* findAtDepthZero(const char* string, char c0, char c1, char c2, bool hasEscape,
                            char esc) {
    int depth = 0;
    for (const char* p = string; *p; ++p) {
        if (hasEscape && p > string && p[-1] == esc)
            continue;
        if (*p == c0 && depth == 0)
            return p;
        if (*p == c1)
            ++depth;
        else if (*p == c2)
            --depth;
    }
    return nullptr;
}
} // namespace

const char* findCharOutsideBrackets(const char* string, char c0, char c1, char c2) {
    return findAtDepthZero(string, c0, c1, c2, false, '\0');
}

const char* findUnescapedCharOutsideBrackets(const char* string, char c0, char c1, char c2,
                                             char esc) {
    return findAtDepthZero(string, c0, c1, c2, true, esc);
}

int checkEscape(const char* string, const char* begin, char esc) {
    return string != begin && string[-1] == esc ? 1 : 0;
}

int checkForUnescapedChar(const char* string, const char* begin, char esc, char c) {
    if (*string != c)
        return 0;
    int escapes = 0;
    for (const char* p = string; p > begin && p[-1] == esc; --p)
        ++escapes;
    return escapes % 2 == 0 ? 1 : 0;
}

const char* findUnquotedChar(const char* line, char c) {
    if (!*line)
        return nullptr;
    if (*line == c)
        return line;
    bool inside = *line == '"';
    for (const char* p = line + 1; *p; ++p) {
        if (togglesQuote(p, line)) {
            inside = !inside;
            continue;
        }
        if (!inside && *p == c && !(p[-1] == '\'' && p[1] == '\''))
            return p;
    }
    return nullptr;
}

const char* findDoubleQuote(const char* line) {
    for (const char* p = line; *p; ++p)
        if (togglesQuote(p, line))
            return p;
    return nullptr;
}

const char* findClosingBracket(const char* string) {
    int depth = 1;
    for (const char* p = string; *p; ++p) {
        if (*p == '(')
            ++depth;
        else if (*p == ')' && --depth == 0)
            return p;
    }
    return nullptr;
}

const char* findMatchingBracket(const char* line, char open, char close) {
    const char* p = line;
    for (;;) {
        const char* closing = findUnquotedChar(p, close);
        if (!closing) {
            Alert("findMatchingBracket", 0, 100302, "No closing bracket %c found", close);
            return nullptr;
        }
        const char* opening = findUnquotedChar(p, open);
        if (!opening || opening > closing)
            return closing;
        const char* inner = findMatchingBracket(opening + 1, open, close);
        if (!inner)
            return nullptr;
        p = inner + 1;
    }
}

char* findBracketContents(char* line, char open, char close, char** next) {
    char* start = std::strchr(line, open);
    if (!start || open == '\0')
        return nullptr;
    int depth = 1;
    for (char* p = start + 1; *p; ++p) {
        if (*p == open)
            ++depth;
        else if (*p == close && --depth == 0) {
            *p = '\0';
            *next = p + 1;
            return start + 1;
        }
    }
    Alert("findBracketContents", 0, 100302, "Bracket mismatch");
    return nullptr;
}

const char* firstPointer(const char* a, const char* b) {
    if (!a)
        return b;
    if (!b || a <= b)
        return a;
    return b;
}

// ===================================================================== editing in place

void removeLeadingBlanks(char* s) {
    const char* first = findFirstAlpha(static_cast<const char*>(s));
    if (first != s)
        std::memmove(s, first, std::strlen(first) + 1);
}

void removeLeadingChar(char* s, char a) {
    if (*s && *s == a)
        std::memmove(s, s + 1, std::strlen(s));
}

void unblankString(char* s) {
    const char* in = findFirstAlpha(static_cast<const char*>(s));
    char* out = s;
    while (*in) {
        if (isBlank(*in)) {
            while (isBlank(*in))
                ++in;
            if (*in)
                *out++ = ' ';
        } else {
            *out++ = *in++;
        }
    }
    *out = '\0';
}

void stripblanks(char* s) {
    removeChar(s, s, ' ');
}

namespace {
// Cuts the trailing characters that match, keeping the first character in every case.
template <class Pred> void cutTrailing(char* s, Pred trailing) {
    const std::size_t n = std::strlen(s);
    if (n == 0)
        return;
    char* p = s + n - 1;
    while (p > s && trailing(*p))
        --p;
    p[1] = '\0';
}
} // namespace

void removeTrailingBlanks(char* s) {
    cutTrailing(s, isBlank);
}

void removeTrailingLineFeeds(char* s) {
    cutTrailing(s, [](char c) { return c == ' ' || c == '\n'; });
}

void removeTrailingChar(char* s, char a) {
    const std::size_t n = std::strlen(s);
    if (n > 1 && s[n - 1] == a)
        s[n - 1] = '\0';
}

void removeLastEOL(char* string) {
    const std::size_t n = std::strlen(string);
    if (n > 0 && string[n - 1] == '\n')
        string[n - 1] = '\0';
}

void removeEOL(char* string) {
    for (; *string; ++string)
        if (*string == '\n')
            *string = ' ';
}

void replaceChar(char* line, char a, char b) {
    // Compared against the text as given, so an earlier replacement cannot create quotes.
    char before = '\0';
    for (char* p = line; *p; ++p) {
        const char here = *p;
        if (here == a && (p == line || !(before == '\'' && p[1] == '\'')))
            *p = b;
        before = here;
    }
}

void removeCharBeforeChar(char* s, char a, char b) {
    // Reading runs ahead of writing, so p[1] is still the text as given.
    char* out = s;
    for (char* p = s; *p; ++p)
        if (!(*p == a && p[1] == b))
            *out++ = *p;
    *out = '\0';
}

void removeCharAfterChar(char* s, char a, char b) {
    if (!*s)
        return;
    char before = *s;
    char* out = s + 1;
    for (char* p = s + 1; *p; ++p) {
        const char here = *p;
        if (!(here == a && before == b))
            *out++ = here;
        before = here;
    }
    *out = '\0';
}

void removeBlanksAfterChar(char* s, char a) {
    bool inside = false;
    char* out = s;
    for (char* p = s; *p;) {
        if (togglesQuote(p, s))
            inside = !inside;
        const bool skipAfter = !inside && *p == a;
        *out++ = *p++;
        if (skipAfter)
            while (isBlank(*p))
                ++p;
    }
    *out = '\0';
}

void removeBlanksBeforeChar(char* s, char a) {
    bool inside = false;
    char* out = s;
    for (char* p = s; *p; ++p) {
        if (togglesQuote(p, s))
            inside = !inside;
        if (!inside && isBlank(*p) && p[1] == a)
            continue;
        *out++ = *p;
    }
    *out = '\0';
}

void removeDelimitedText(char* s, char opn, char clse) {
    for (;;) {
        char* from = std::strchr(s, opn);
        if (!from || opn == '\0')
            return;
        char* to = std::strchr(from + 1, clse);
        if (!to || clse == '\0')
            return;
        std::memmove(from, to + 1, std::strlen(to + 1) + 1);
    }
}

namespace {
// One pass from left to right writing r for every t; r is at most as long as t, so the output
// never overtakes the text still to be read.
void replaceInPlace(char* s, const char* t, const char* r) {
    const std::size_t nt = std::strlen(t);
    const std::size_t nr = std::strlen(r);
    if (nt == 0)
        return;
    char* out = s;
    for (const char* p = s; *p;) {
        if (std::strncmp(p, t, nt) == 0) {
            std::memmove(out, r, nr);
            out += nr;
            p += nt;
        } else {
            *out++ = *p++;
        }
    }
    *out = '\0';
}
} // namespace

void removeSubstring(char* s, const char* t) {
    replaceInPlace(s, t, "");
}

void replaceSubstringByShorter(char* s, const char* t, const char* r) {
    if (std::strlen(r) > std::strlen(t)) {
        Alert("replaceSubstringByShorter", 0, 112312,
              "Replacement \"%s\" is longer than the text \"%s\" it replaces", r, t);
        return;
    }
    replaceInPlace(s, t, r);
}

void removeEndstring(char* s, const char* t) {
    const std::size_t nt = std::strlen(t);
    if (nt == 0)
        return;
    std::size_t n = std::strlen(s);
    while (n >= nt && std::strncmp(s + n - nt, t, nt) == 0) {
        n -= nt;
        s[n] = '\0';
    }
}

void shiftstring(char* s, int n) {
    const int len = length(s);
    if (n >= 1 && n <= len)
        std::memmove(s, s + n, static_cast<std::size_t>(len - n) + 1);
}

void removeSubstring_obs(char* s, const char* t) {
    if (*t && std::strstr(s, t))
        std::printf("copying");
    removeSubstring(s, t);
}

// ===================================================================== copying

int STRLEN(const char* s) {
    return length(s);
}

int StringLength(const char* string) {
    return string ? length(string) : 0;
}

void charcopy(char* to, const char* from, int count) {
    if (count > 0)
        std::memmove(to, from, static_cast<std::size_t>(count));
}

void stringNcopy(char* to, const char* from, int count) {
    int i = 0;
    for (; i < count && from[i]; ++i)
        to[i] = from[i];
    to[i] = '\0';
}

void stringpccopy(char* to, const char* from, const char* end) {
    const std::ptrdiff_t n = end - from + 1;
    if (n > 0)
        std::memmove(to, from, static_cast<std::size_t>(n));
    to[std::max<std::ptrdiff_t>(n, 0)] = '\0';
}

char* stringdup(const char* s) {
    if (!s)
        return nullptr;
    const std::size_t n = std::strlen(s) + 1;
    auto* copy = static_cast<char*>(std::malloc(n));
    if (copy)
        std::memcpy(copy, s, n);
    return copy;
}

void removeChar(char* output, const char* input, char a) {
    for (; *input; ++input)
        if (*input != a)
            *output++ = *input;
    *output = '\0';
}

void removeQuotesAndEscapes(char* output, const char* input, char quote, char esc) {
    for (; *input; ++input) {
        if (*input == esc) {
            if (!*++input)
                break;
            *output++ = *input;
        } else if (*input != quote) {
            *output++ = *input;
        }
    }
    *output = '\0';
}

// ===================================================================== formatting

namespace {
// Formats into buffer, growing it when the text does not fit; returns the text's length.
int formatInto(std::vector<char>& buffer, const char* fmt, va_list ap) {
    va_list again;
    va_copy(again, ap);
    int n = std::vsnprintf(buffer.data(), buffer.size(), fmt, ap);
    if (n >= 0 && static_cast<std::size_t>(n) >= buffer.size()) {
        buffer.resize(static_cast<std::size_t>(n) + 1);
        n = std::vsnprintf(buffer.data(), buffer.size(), fmt, again);
    }
    va_end(again);
    if (n < 0) // an encoding error leaves no usable text
        buffer[0] = '\0';
    return n;
}

// The size the work array "formstr_buffer" is given for fmt: the format's length, 250 for a
// "%f" and 30 for any other conversion; string arguments are covered by the measured length.
std::size_t formatEstimate(const char* fmt) {
    std::size_t estimate = std::strlen(fmt);
    for (const char* p = std::strchr(fmt, '%'); p; p = std::strchr(p + 1, '%')) {
        if (p[1] == 'f')
            estimate += 250;
        else if (p[1] != 's')
            estimate += 30;
    }
    return estimate;
}
} // namespace

char* formstr(const char* fmt, ...) {
    std::vector<char>& buffer = formstrBuffers[1 - formstrActive];
    if (buffer.size() < FormstrInitialSize)
        buffer.resize(FormstrInitialSize);
    va_list ap;
    va_start(ap, fmt);
    formatInto(buffer, fmt, ap);
    va_end(ap);
    formstrActive = 1 - formstrActive;
    return buffer.data();
}

char* formstr_checksize(const char* fmt, ...) {
    // Formatted aside first: an argument may point into "formstr_buffer", which may move.
    va_list ap;
    va_start(ap, fmt);
    const int n = formatInto(checksizeText, fmt, ap);
    va_end(ap);
    const std::size_t len = n > 0 ? static_cast<std::size_t>(n) : 0;
    const std::size_t need = std::max(formatEstimate(fmt), len) + 10;
    formstr_buffer.reserve(static_cast<int>(need));
    std::memcpy(formstr_buffer.X, checksizeText.data(), len);
    formstr_buffer.X[len] = '\0';
    return formstr_buffer.X;
}

char* vcat(int len, char* t, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    const int n = std::vsprintf(t, fmt, ap);
    va_end(ap);
    for (int i = std::max(n, 0); i < len; ++i)
        t[i] = ' ';
    return t + len;
}

char* print_rep(char* txt, const int* count, const char* const* names) {
    char* p = txt;
    *p = '\0';
    for (int i = 0; names && names[i]; ++i) {
        if (count[i] == 0)
            continue;
        if (p != txt)
            p += std::sprintf(p, " + ");
        if (count[i] == 1)
            p += std::sprintf(p, "[%s]", names[i]);
        else
            p += std::sprintf(p, "%d x [%s]", count[i], names[i]);
    }
    if (p == txt)
        p += std::sprintf(p, "None");
    return p;
}

char* toYN(int i) {
    const char* answer = "INVALID";
    if (i == 1)
        answer = "Yes";
    else if (i == 0)
        answer = "No";
    else
        Alert("toYN", 0, 112312, "Input should be 1 or 0");
    std::strcpy(toYNBuffer.data(), answer);
    return toYNBuffer.data();
}

int YN(const char* answer) {
    const std::size_t n = std::strlen(answer);
    if (n == 3 && lowercmp(answer, "yes") == 0)
        return 1;
    if (n == 2 && lowercmp(answer, "no") == 0)
        return 0;
    return Alert("YN", 0, 332209, "Please answer Yes or No") == 1 ? 1 : 0;
}

namespace {
// Length of the longest line that ends in a newline.
std::size_t longestEndedLine(const char* s) {
    std::size_t longest = 0;
    for (const char* nl = std::strchr(s, '\n'); nl; nl = std::strchr(s, '\n')) {
        longest = std::max(longest, static_cast<std::size_t>(nl - s));
        s = nl + 1;
    }
    return longest;
}
} // namespace

void pad(const char* s, char* t) {
    const std::size_t width = longestEndedLine(s);
    std::size_t column = 0;
    for (; *s; ++s) {
        if (*s == '\n') {
            for (; column < width; ++column)
                *t++ = ' ';
            column = 0;
        } else {
            ++column;
        }
        *t++ = *s;
    }
    *t = '\0';
}

void Textcat(char* s, const char* t, char* u) {
    if (!t)
        return;
    char* out = u;
    for (const char* p = s; *p; ++p) {
        if (*p != '\n') {
            *out++ = *p;
            continue;
        }
        if (!*t)
            break;
        while (*t && *t != '\n')
            *out++ = *t++;
        if (*t == '\n')
            *out++ = *t++;
    }
    *out = '\0';
    std::strcpy(s, u);
}

void leftAdjust(char* s, const char* t, int n, int maxlen) {
    char* out = s;
    for (;;) {
        char* lineStart = out;
        for (int i = 0; i < n; ++i)
            *out++ = ' ';
        t = findFirstAlpha(t);
        if (!*t) {
            *lineStart = '\0';
            return;
        }
        for (int copied = 1;; ++copied) {
            const char c = *t++;
            *out++ = c;
            if (c == '\n')
                break;
            if (!*t) {
                *out = '\0';
                return;
            }
            if (copied > maxlen && isBlank(*t)) {
                *out++ = '\n';
                break;
            }
        }
    }
}

void IndentPrint(FILE* ofp, const char* line, int indentation) {
    std::fprintf(ofp, "%*s%s\n", std::max(indentation, 0), "", line);
}

void IndentFormatPrint(FILE* ofp, int indentation, const char* fmt, ...) {
    std::fprintf(ofp, "%*s", std::max(indentation, 0), "");
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(ofp, fmt, ap);
    va_end(ap);
}

// ===================================================================== files and diagnostics

int stringToFile(const char* string, const char* fn) {
    FILE* ofp = Fopen(fn, "w");
    if (!ofp) {
        Alert("stringToFile", 0, 120306, "Cannot open file %s", fn);
        return -1;
    }
    std::fputs(string, ofp);
    Fclose(ofp);
    return 0;
}

int addStringToFile(const char* fn, const char* string) {
    FILE* ofp = Fopen(fn, "a");
    if (!ofp) {
        Alert("addStringToFile", 0, 120306, "Cannot open file %s", fn);
        return -1;
    }
    std::fprintf(ofp, "%s\n", string);
    Fclose(ofp);
    return 0;
}

namespace {
// Occurrences of s in t, overlapping ones included.
int overlappingCount(const char* t, const char* s) {
    int count = 0;
    for (const char* p = std::strstr(t, s); p; p = std::strstr(p + 1, s))
        ++count;
    return count;
}
} // namespace

int findLargestSubstring(const char* t, const char* s) {
    std::printf("\n\nSearching for %s\n", s);
    const int n = length(s);
    char* part = largestSubstringWork.reserve(n + 1);
    for (int len = n; len >= 2; --len) {
        std::memcpy(part, s, static_cast<std::size_t>(len));
        part[len] = '\0';
        const int count = overlappingCount(t, part);
        if (count > 0) {
            std::printf("ENCOUNTERED: %s\n", part);
            std::printf("Occurred %d times\n", count);
            return count;
        }
    }
    std::printf("FAILURE: failed looking for %s\n", s);
    return 0;
}
