// Text operations shared by the interpreter and every other module: decimal texts of integers,
// abbreviation matching of words, scanning of command text, in-place editing, formatting into
// module-owned buffers, word wrapping and two small file writers.
//
// Texts are NUL-terminated; a blank is the space character only; case mapping is ASCII only.
// A stretch given by two positions begin..end includes both of them. Texts are edited in place
// unless an output text is named, and an output text must have room for the result. Results in
// module-owned buffers are overwritten by the next call of the same function.
//
// Scanners that return a position into their input come in a const and a non-const form, as
// the standard library's strchr does.
#pragma once

#include <cstdio>

// ---- Numbers and text ----

// Decimal text of integ in a 12-character module buffer.
char* numstr(int integ);
// Number of characters of numstr(lbl).
int intstrlen(int lbl);
// Reads an int with blanks around it: 0 with *value set, 1 not a number, 2 too large.
int strnumChk(const char* str, int* value);
// Unchecked reading; a bad character is reported and 2147483647 returned.
int strnum(const char* str);
// The integer written just after the character at begin; *endint gets its last character.
int getNextNum(const char* begin, const char** endint);
int getNextNum(char* begin, char** endint);
// The integer written just before end, not before begin; *beginint gets its first character.
int getPreviousNum(const char* end, const char* begin, const char** beginint);
int getPreviousNum(char* end, char* begin, char** beginint);
// Text of the lbl-th number (from 0) of string in a module work copy, or null.
char* getNumber(const char* string, int lbl);
// Compares two digit texts as numbers: 1, -1 or 0.
int strnumcmp(const char* s, const char* t);
int IntegerCheck(char c);

// ---- Comparison and case ----

// 0 when str abbreviates string ignoring case; otherwise 1 when str sorts after string, else -1.
int cmpcom(const char* string, const char* str);
int subString(const char* string, const char* substring);
int lowercmp(const char* s, const char* t);
int strpccmp(const char* begin, const char* end, const char* string);
int findWord(const char* word, const char* const* list);
int lower(int c);
int upper(int c);
void lowercase(char* str1, const char* str2);
void makelowercase(char* string);

// ---- Counting and scanning ----

int charcnt(const char* string, char c);
int charcntpc(const char* string, const char* end, char c);
int bracketcnt(const char* string, char c1, char c2);
int bracketcntpc(const char* string, const char* end, char c1, char c2);
int substringcnt(const char* string, const char* s);

const char* findFirstAlpha(const char* line);
const char* findLastAlpha(const char* line);
const char* findFirstChar(const char* line, char c);
const char* findFirstSpecialChar(const char* cl, const char* specialChars);
const char* findCharOutsideBrackets(const char* string, char c0, char c1, char c2);
const char* findUnescapedCharOutsideBrackets(const char* string, char c0, char c1, char c2,
                                             char esc);
int checkEscape(const char* string, const char* begin, char esc);
int checkForUnescapedChar(const char* string, const char* begin, char esc, char c);
const char* findUnquotedChar(const char* line, char c);
const char* findDoubleQuote(const char* line);
const char* findClosingBracket(const char* string);
const char* findMatchingBracket(const char* line, char open, char close);
// Ends the contents at the matching close (written over by the terminator); *next gets the
// position after it.
char* findBracketContents(char* line, char open, char close, char** next);
const char* firstPointer(const char* a, const char* b);

inline char* findFirstAlpha(char* line) {
    return const_cast<char*>(findFirstAlpha(static_cast<const char*>(line)));
}
inline char* findLastAlpha(char* line) {
    return const_cast<char*>(findLastAlpha(static_cast<const char*>(line)));
}
inline char* findFirstChar(char* line, char c) {
    return const_cast<char*>(findFirstChar(static_cast<const char*>(line), c));
}
inline char* findFirstSpecialChar(char* cl, const char* specialChars) {
    return const_cast<char*>(findFirstSpecialChar(static_cast<const char*>(cl), specialChars));
}
inline char* findCharOutsideBrackets(char* string, char c0, char c1, char c2) {
    return const_cast<char*>(findCharOutsideBrackets(static_cast<const char*>(string), c0, c1, c2));
}
inline char* findUnescapedCharOutsideBrackets(char* string, char c0, char c1, char c2, char esc) {
    return const_cast<char*>(
        findUnescapedCharOutsideBrackets(static_cast<const char*>(string), c0, c1, c2, esc));
}
inline char* findUnquotedChar(char* line, char c) {
    return const_cast<char*>(findUnquotedChar(static_cast<const char*>(line), c));
}
inline char* findDoubleQuote(char* line) {
    return const_cast<char*>(findDoubleQuote(static_cast<const char*>(line)));
}
inline char* findClosingBracket(char* string) {
    return const_cast<char*>(findClosingBracket(static_cast<const char*>(string)));
}
inline char* findMatchingBracket(char* line, char open, char close) {
    return const_cast<char*>(findMatchingBracket(static_cast<const char*>(line), open, close));
}
inline char* firstPointer(char* a, char* b) {
    return const_cast<char*>(
        firstPointer(static_cast<const char*>(a), static_cast<const char*>(b)));
}

// ---- Editing in place ----

void removeLeadingBlanks(char* s);
void removeLeadingChar(char* s, char a);
void unblankString(char* s);
void stripblanks(char* s);
void removeTrailingBlanks(char* s);
void removeTrailingLineFeeds(char* s);
void removeTrailingChar(char* s, char a);
void removeLastEOL(char* string);
void removeEOL(char* string);
void replaceChar(char* line, char a, char b);
void removeCharBeforeChar(char* s, char a, char b);
void removeCharAfterChar(char* s, char a, char b);
void removeBlanksAfterChar(char* s, char a);
void removeBlanksBeforeChar(char* s, char a);
void removeDelimitedText(char* s, char opn, char clse);
void removeSubstring(char* s, const char* t);
void replaceSubstringByShorter(char* s, const char* t, const char* r);
void removeEndstring(char* s, const char* t);
void shiftstring(char* s, int n);
void removeSubstring_obs(char* s, const char* t);

// ---- Copying ----

int STRLEN(const char* s);
int StringLength(const char* string);
void charcopy(char* to, const char* from, int count);
void stringNcopy(char* to, const char* from, int count);
void stringpccopy(char* to, const char* from, const char* end);
// A copy on the process heap (release with free), null when the heap fails.
char* stringdup(const char* s);
void removeChar(char* output, const char* input, char a);
void removeQuotesAndEscapes(char* output, const char* input, char quote, char esc);

// ---- Formatting and output ----

// printf-style text of any length in a module buffer, valid until the next call.
char* formstr(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// printf-style text of any length in the guarded work array "formstr_buffer".
char* formstr_checksize(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Formats at t and fills with blanks up to len characters; returns t+len, writes no terminator
// after the fill.
char* vcat(int len, char* t, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
// Writes the terms "[name]" or "n x [name]" joined by " + " (or "None"); returns the end.
char* print_rep(char* txt, const int* count, const char* const* names);
char* toYN(int i);
int YN(const char* answer);
void pad(const char* s, char* t);
void Textcat(char* s, const char* t, char* u);
void leftAdjust(char* s, const char* t, int n, int maxlen);
void IndentPrint(FILE* ofp, const char* line, int indentation);
void IndentFormatPrint(FILE* ofp, int indentation, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

// ---- Files and diagnostics ----

int stringToFile(const char* string, const char* fn);
int addStringToFile(const char* fn, const char* string);
int findLargestSubstring(const char* t, const char* s);
