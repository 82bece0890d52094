// State and helpers shared by the files of the interpreter; no other module includes this.
#pragma once

#include "base/Allocation.h"
#include "interpreter/Interpreter.h"

#include <string>

namespace interp {

extern AllocCount InterpreterAlloc;

extern CommandType* rootCommand;
extern int MaxCommandSize;
extern ModeType* DefaultMode;
extern ModeType* CurrentMode;

extern int BreakParameter;
extern int ErrorCount;
extern int ExFunc;
extern void** BASE;

// The parts of resetInterpreterState, one for each file that keeps state.
void resetCommandTree();
void resetCommandLines();
void resetVariables();
void resetCommandHelp();
void resetLanguageHooks();

// Exact lookup of a lower-case word on one level, reporting a miss unless messages are suppressed.
CommandType* exactLookup(const char* word, CommandType* level, bool topLevel);
// Exact lookup with no report.
CommandType* quietLookup(const char* word, CommandType* level);
// Visits the level rooted at ct in ascending word order.
template <class F> void forEachWord(CommandType* ct, F&& visit) {
    if (!ct)
        return;
    forEachWord(ct->right, visit);
    visit(ct);
    forEachWord(ct->left, visit);
}
// The word with its first letter in upper case, as the listings show it.
std::string displayWord(const char* word);

// Reads a string value as an integer: the last step of convertToInteger.
int integerFromString(const char* text, int* value);
int doubleFromString(const char* text, double* value);

// What the expression language supplies: the evaluator and the variable lists.
int evaluateIntegerArgument(const char* expression, int* value);
int evaluateDoubleArgument(const char* expression, double* value);
std::string evaluateToText(const char* expression);
// Evaluates an assignment word; returns 1 when its value is an error.
int evaluateAssignment(char* word);
AliasType* localVariables();
AliasType* globalVariables();

} // namespace interp
