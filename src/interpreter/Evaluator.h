// The expression evaluator of the command language: exact arithmetic on small integers, big
// integers and big rationals, numeric and text comparisons, booleans, text concatenation,
// assignments to variables and function calls that run a command and take what it printed.
//
// An expression is parsed into a list of values and separators, which is reduced separator by
// separator in binding order. Values are recycled through a store of objects; every value handed
// out belongs to the caller until it is given back with freeObj.
#pragma once

#include "numeric/LargeInteger.h"

#include <string>

union ObjectPointer {
    char* string;
    lint* largeint;
    lrat* largerat;
};

// A value, and an element of the list an expression is parsed into.
struct MathObj {
    ObjectPointer pointer;
    MathObj* previous;
    MathObj* next;
    int allocated; // 1 when the payload belongs to the object; 0 for a shared text, never edited
    int value;     // small integer, truth value (0/1) or separator index
    // 'i' small integer, 'l' big integer, 'r' big rational, 's' text, 'c' boolean,
    // 'e' error (the payload is the message), 'S' separator
    char type;
};

// Separator indices; a lower index binds tighter.
enum SeparatorIndex {
    SepDivide,
    SepMultiply,
    SepSubtract,
    SepAdd,
    SepEqual,
    SepNotEqual,
    SepGreater,
    SepLess,
    SepGreaterEqual,
    SepLessEqual,
    SepTextBefore,
    SepTextEqual,
    SepTextAfter,
    SepAnd,
    SepOr,
    SepConcatenate,
    SepAssign,
    SepAssignVerbatim,
    SeparatorCount
};

// ---- Main interface ----

// Evaluates an expression. Double quotes in the text are replaced by "@" in place. The result
// belongs to the caller (freeObj); after a syntax error it is the shared error object "ERROR".
MathObj* evaluate_string(char* string);
// 0 for TRUE, 1 for FALSE, -1 (reported) when the value is no boolean.
int check_condition(char* condition);

void MathObjToString(MathObj* m);
void MathObjToRat(MathObj* obj);
void MathObjToError(MathObj* obj, const char* msg);
void freeObj(MathObj* obj);
void freestack(MathObj* obj);
MathObj* allocMathObj();
MathObj* makeStringObj(const char* string, int len);
int getStringLen(MathObj* stack);
void initEvaluator();

// ---- Integer and double arguments of commands ----

// The integer value of an expression: 0 with *value set; 1 when the value is no integer (an error
// value, a rational, a boolean or a non-numerical text); 2 when it is an integer outside the int
// range. The text is not changed. On failure *valueText, when given, receives the value's text
// (an error's message).
int evaluateToInt(const char* expression, int* value, std::string* valueText = nullptr);
// The same for a double: integers, big integers, rationals and numerical texts are read; 2 when
// the value does not fit a finite double.
int evaluateToDouble(const char* expression, double* value, std::string* valueText = nullptr);

// ---- Variables and function calls ----

// What the evaluator needs from the variable lists and the interpreter. A null member stands for
// the default: no variables are known, assignments are refused, and function calls give an error
// value saying that they are not available.
struct EvaluatorHooks {
    // The value text of a variable of the current procedure level, or null.
    const char* (*findLocalReplacement)(const char* name) = nullptr;
    // The value text of a global variable, or null.
    const char* (*findGlobalReplacement)(const char* name) = nullptr;
    // Sets a variable of the current procedure level: 0 when set, otherwise refused (and reported
    // by the hook).
    int (*defineVariable)(const char* name, const char* value) = nullptr;
    // Runs the call given by a chain of texts (name, then the arguments) and returns a new value:
    // the text it printed, or an error. The chain stays the evaluator's.
    MathObj* (*executeFunction)(MathObj* stack) = nullptr;
};

void setEvaluatorHooks(const EvaluatorHooks& hooks);

// ---- Smaller operations of the module ----

// Links obj after last (which may be null) and returns obj, the new last element.
MathObj* stack_up(MathObj* last, MathObj* obj);
// 1 (reported) when obj already lies in the store of released objects.
int checkFreed(MathObj* obj);
// Bytes taken by all objects ever taken from the heap; reported when level is above 0.
int showObjectsUsed(int level);
void PrintMathObj(MathObj* obj);
// The end of the argument that starts at argument: the "," or the closing ")" at depth 0, or the
// end of the text (reported as "Unterminated string").
const char* findNextArgument(const char* argument);
// Index of the last non-blank character when it is an unescaped ")", else 0.
int findLastClosingBracket(const char* string);
void IntToLint(MathObj* obj);
void LintToRat(MathObj* obj);
// The text comparison of the separators "<~", "=~", ">~": 1 when it holds, else 0.
int compareStrings(MathObj* obj1, MathObj* obj2, int op);
void freeObjPointer(MathObj* obj);
void freeObjSpace(MathObj* obj);
MathObj* makeSeparatorObj(int index);
MathObj* makeIntObj(int value);
// The separator object of the text from begin up to (not including) end, or null.
MathObj* findSeparator(const char* begin, const char* end);
void CopyStringToMathObj(MathObj* obj, const char* msg);
void lint_division(MathObj* obj1, MathObj* obj2);
