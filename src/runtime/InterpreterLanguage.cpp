// What the expression language gives the interpreter: macro substitution, the variable lists
// and the evaluation of arguments and assignments. Until the expression evaluator is built in,
// an argument text is read as the string value it stands for, no macro or variable is defined,
// and an assignment is refused.
#include "runtime/Interpreter.h"

#include "runtime/Error.h"
#include "runtime/InterpreterInternal.h"

#include <cstring>
#include <string>

int substituteDefinitions(CommandLine*) {
    return 0;
}

void setVariables(void** commands, int parnum, AliasType* sd) {
    for (int i = 0; i < parnum; ++i)
        for (AliasType* a = sd; a; a = a->next)
            if (std::strcmp(static_cast<const char*>(commands[i]), a->alias) == 0) {
                commands[i] = a->replacement;
                break;
            }
}

namespace interp {

int evaluateIntegerArgument(const char* expression, int* value) {
    return integerFromString(expression, value);
}

int evaluateDoubleArgument(const char* expression, double* value) {
    return doubleFromString(expression, value);
}

std::string evaluateToText(const char* expression) {
    return expression;
}

int evaluateAssignment(char* word) {
    Alert("evaluate_string", 0, 100302, "Expressions cannot be evaluated: %s", word);
    return 1;
}

AliasType* localVariables() {
    return nullptr;
}

AliasType* globalVariables() {
    return nullptr;
}

} // namespace interp
