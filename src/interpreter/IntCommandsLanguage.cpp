#include "interpreter/IntCommandsLanguage.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "interpreter/Evaluator.h"
#include "interpreter/Interpreter.h"
#include "numeric/LargeInteger.h"

#include <cfloat>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* word(void** commands, int i) {
    return static_cast<const char*>(commands[i]);
}

// A value of the evaluator that is given back to the store when it goes out of scope.
class Value {
public:
    explicit Value(const char* expression) {
        std::string copy = expression ? expression : "";
        obj_ = evaluate_string(copy.data());
    }
    ~Value() { freeObj(obj_); }
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;

    MathObj* get() const { return obj_; }
    bool isError() const { return obj_->type == 'e'; }
    // The text the user sees: quote marks removed and escapes resolved.
    std::string text() const {
        MathObjToString(obj_);
        const char* raw = obj_->pointer.string ? obj_->pointer.string : "";
        std::vector<char> out(std::strlen(raw) + 1);
        removeQuotesAndEscapes(out.data(), raw, '@', '\\');
        return out.data();
    }

private:
    MathObj* obj_;
};

void setLast(const std::string& text) {
    setAlias("$last", text.c_str(), getGlobalVariableList());
}

// Prints on the terminal and the output file even while output is captured.
void printUncaptured(const std::string& text) {
    const CaptureState outer = suspendCapture();
    Print("%s\n", text.c_str());
    resumeCapture(outer);
}

std::string lowerUnblanked(const char* text) {
    std::vector<char> name(text, text + std::strlen(text) + 1);
    unblankString(name.data());
    std::string s(name.data());
    for (char& c : s)
        c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    return s;
}

// Removes one name from a list; an unknown name is reported and still counts as used, so that
// it is never run as a command of its own ("free macros a" must not become "free all").
int removeNamed(const char* name, AliasType** list) {
    unsetAlias(name, list);
    return -1;
}

bool bracketsBalanced(const std::string& field) {
    int square = 0;
    int round = 0;
    for (char c : field) {
        square += c == '[' ? 1 : c == ']' ? -1 : 0;
        round += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (square < 0 || round < 0)
            return false;
    }
    return square == 0 && round == 0;
}

bool isDelimiter(char c) {
    return c == '\0' || std::strchr(" {}=()*/+-;<>,|~&!", c) != nullptr;
}

} // namespace

// ---- Expressions ----

int COM_eval(void** commands, int parnum) {
    if (getExFunc()) {
        Print("%s\n", word(commands, 0));
        return -parnum;
    }
    const Value value(word(commands, 0));
    const std::string text = value.text();
    if (!text.empty())
        Print("%s\n", text.c_str());
    setLast(text);
    return value.isError() ? 1 : -1;
}

// An error value is reported as the failure it is.
int COM_float(void** commands, int) {
    const Value value(word(commands, 0));
    setLast(value.text());
    MathObjToRat(value.get());
    MathObj* v = value.get();
    if (v->type != 'r') {
        if (v->type != 'e')
            MathObjToError(v, "Not a number");
        Print("%s\n", v->pointer.string);
        return 1;
    }
    const double d = lratToDouble(v->pointer.largerat);
    if (d == DBL_MAX || d == -DBL_MAX)
        Print("Overflow\n");
    else
        Print("%30.15f\n", d);
    return -1;
}

int COM_print(void** commands, int) {
    const Value value(word(commands, 0));
    printUncaptured(value.text());
    return value.isError() ? 1 : -1;
}

int COM_exec(void** commands, int) {
    const Value value(word(commands, 0));
    setLast(value.text());
    return value.isError() ? 1 : -1;
}

int COM_return(void** commands, int) {
    const Value value(word(commands, 0));
    if (getReturnToBuffer() > 0)
        Print("%s\n", value.text().c_str());
    return value.isError() ? 1 : -1;
}

int COM_extract(void** commands, int parnum) {
    const int label = *static_cast<int*>(commands[0]);
    const char* number = getNumber(word(commands, 1), label - 1);
    if (number)
        Print("%s\n", number);
    else
        Print("---\n");
    return -parnum;
}

MathObj* evaluate_string_to_string(const char* expression) {
    const Value value(expression);
    const std::string text = value.text();
    return makeStringObj(text.c_str(), static_cast<int>(text.size()));
}

// ---- Variables and macros ----

// A value that is an error is reported and not stored.
int COM_global(void** commands, int parnum) {
    const char* assignment = word(commands, 0);
    const char* equal = std::strchr(assignment, '=');
    if (!equal) {
        Alert("COM_global", 0, 100302, "Right hand side of \"Global\" must be an assignment");
        return 1;
    }
    const std::string name(assignment, equal);
    const Value value(equal + 1);
    const std::string text = value.text();
    if (value.isError()) {
        Print("%s\n", text.c_str());
        return 1;
    }
    setAlias(name.c_str(), text.c_str(), getGlobalVariableList());
    return -parnum;
}

int COM_alias(void** commands, int) {
    if (checkNewAlias(word(commands, 0), word(commands, 1), *getMacroList())) {
        Alert("COM_alias", 0, 100301, "Definition yields infinite recursion");
        return 1;
    }
    setAlias(word(commands, 0), word(commands, 1), getMacroList());
    return -2;
}

int COM_unalias(void** commands, int) {
    unsetAlias(word(commands, 0), getMacroList());
    return -1;
}

int COM_showAliases(void**, int parnum) {
    showAllAliases();
    return -parnum;
}

// ---- Procedures ----

int processFunctionHeader(char* header, std::vector<std::string>& variables, std::string& field) {
    variables.clear();
    field.clear();
    char* open = std::strchr(header, '(');
    if (!open)
        return 0;
    std::string list;
    for (const char* p = open + 1; *p; ++p)
        if (*p != ' ')
            list += *p;
    *open = '\0';
    const std::size_t close = list.find(')');
    if (close == std::string::npos)
        Alert("processFunctionHeader", 0, 100302, "Brackets not closed");
    else
        list.erase(close);
    bool optional = false;
    std::string name;
    auto take = [&] {
        if (!name.empty()) {
            field += optional ? "(" + name + ")" : "[" + name + "]";
            variables.push_back(name);
        }
        name.clear();
    };
    for (char c : list) {
        if (c == ',' || c == '|') {
            take();
            optional = optional || c == '|';
        } else {
            name += c;
        }
    }
    take();
    return 0;
}

std::string replaceVarsbyDummies(const char* string, const std::vector<std::string>& variables) {
    std::string out;
    const char* p = string;
    while (*p) {
        if (isDelimiter(*p)) {
            out += *p++;
            continue;
        }
        const char* end = p;
        while (!isDelimiter(*end))
            ++end;
        const std::string w(p, end);
        std::size_t index = 0;
        while (index < variables.size() && variables[index] != w)
            ++index;
        if (index < variables.size())
            out.append("%").append(std::to_string(index));
        else
            out += w;
        p = end;
    }
    return out;
}

int COM_proc(void** commands, int parnum) {
    std::string header = word(commands, 0);
    std::vector<std::string> variables;
    std::string field;
    processFunctionHeader(header.data(), variables, field);
    const std::string name = lowerUnblanked(header.c_str());
    const int wasSuppressed = getErrorSuppression();
    suppressError();
    CommandType* existing = matchComKey(name.c_str());
    if (!wasSuppressed)
        unsuppressError();
    if (existing && existing->exec) {
        Alert("COM_proc", 0, 100302, "Command %s is already in use", name.c_str());
        return 1;
    }
    if (!bracketsBalanced(field)) {
        Alert("COM_proc", 1, 100302, "Bracket mismatch in parameter field: %s", field.c_str());
        return 1;
    }
    initCommand(name.c_str(), field.c_str(), execute_procedure, "");
    const std::string body = replaceVarsbyDummies(word(commands, 1), variables);
    setAlias(name.c_str(), body.c_str(), getProcedureList());
    return -parnum;
}

// ---- Removal ----

int COM_free_macro(void** commands, int parnum) {
    if (parnum == 0) {
        freeVariables(getMacroList());
        return 0;
    }
    return removeNamed(word(commands, 0), getMacroList());
}

int COM_free_proc(void** commands, int parnum) {
    if (parnum == 0) {
        removeAllCommands(getProcedureList());
        freeVariables(getProcedureList());
        return 0;
    }
    const std::string name = lowerUnblanked(word(commands, 0));
    if (unsetAlias(name.c_str(), getProcedureList()) == 0)
        removeCommand(name.c_str());
    return -1;
}

int COM_free_glob(void** commands, int parnum) {
    if (parnum == 0) {
        freeVariables(getGlobalVariableList());
        return 0;
    }
    return removeNamed(word(commands, 0), getGlobalVariableList());
}

int COM_free_loc(void** commands, int parnum) {
    if (parnum == 0) {
        freeVariables(getLocalVariableList(0));
        return 0;
    }
    return removeNamed(word(commands, 0), getLocalVariableList(0));
}

int COM_free_var(void** commands, int parnum) {
    if (parnum == 0) {
        freeVariables(getGlobalVariableList());
        freeVariables(getLocalVariableList(0));
        return 0;
    }
    // Only a list that holds the name is asked to remove it, so that a name found in one of
    // the two lists is removed without any report.
    const char* name = word(commands, 0);
    bool found = false;
    for (AliasType** list : {getGlobalVariableList(), getLocalVariableList(0)})
        if (findAlias(name, *list, 1)) {
            unsetAlias(name, list);
            found = true;
        }
    if (!found)
        Alert("COM_free_var", 0, 100301, "Variable %s not found", name);
    return -1;
}

int COM_free_all(void** commands, int parnum) {
    if (parnum == 0) {
        freeVariables(getMacroList());
        removeAllCommands(getProcedureList());
        freeVariables(getProcedureList());
        freeVariables(getGlobalVariableList());
        freeVariables(getLocalVariableList(0));
        return 0;
    }
    const char* name = word(commands, 0);
    unsetAlias(name, getMacroList());
    if (unsetAlias(name, getProcedureList()) == 0)
        removeCommand(name);
    unsetAlias(name, getGlobalVariableList());
    unsetAlias(name, getLocalVariableList(0));
    return -1;
}
