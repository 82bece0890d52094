// What the expression language gives the command engine: every numeric argument is an expression
// of the evaluator, an assignment word sets a variable, and the variable lists of the current
// procedure level and the global one are substituted into arguments.
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "interpreter/Evaluator.h"
#include "interpreter/InterpreterInternal.h"

#include <string>

namespace {

bool hooksInstalled = false;

// The engine may evaluate before the built-in commands are set up (a test, a tool): the hooks
// are put in place at the first evaluation.
void ensureHooks() {
    if (!hooksInstalled) {
        installEvaluatorHooks();
        hooksInstalled = true;
    }
}

} // namespace

namespace interp {

void resetLanguageHooks() {
    hooksInstalled = false;
}

int evaluateIntegerArgument(const char* expression, int* value) {
    ensureHooks();
    std::string text;
    const int rc = evaluateToInt(expression, value, &text);
    if (rc == 2)
        Alert("convertToInteger", 2, 100302, "Integer too large");
    else if (rc != 0)
        Alert("convertToInteger", 3, 100302, "Non-numerical parameter: %s", text.c_str());
    return rc;
}

int evaluateDoubleArgument(const char* expression, double* value) {
    ensureHooks();
    std::string text;
    const int rc = evaluateToDouble(expression, value, &text);
    if (rc == 2)
        Alert("convertToDouble", 0, 100302, "Overflow");
    else if (rc != 0)
        Alert("convertToDouble", 2, 100302, "Non-numerical parameter: %s", text.c_str());
    return rc;
}

std::string evaluateToText(const char* expression) {
    ensureHooks();
    std::string copy = expression ? expression : "";
    MathObj* v = evaluate_string(copy.data());
    MathObjToString(v);
    std::string text = v->pointer.string ? v->pointer.string : "";
    freeObj(v);
    return text;
}

int evaluateAssignment(char* word) {
    ensureHooks();
    MathObj* v = evaluate_string(word);
    const int failed = v->type == 'e' ? 1 : 0;
    freeObj(v);
    return failed;
}

AliasType* localVariables() {
    return *getLocalVariableList(getFunctionDepth());
}

AliasType* globalVariables() {
    return *getGlobalVariableList();
}

} // namespace interp
