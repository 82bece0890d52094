// Macros, variables and procedures, the named texts of the command language, and commands called
// as functions inside expressions.
#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "interpreter/Evaluator.h"
#include "interpreter/InterpreterInternal.h"

#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace interp;

namespace {

AliasType* firstAlias = nullptr;
AliasType* firstProcedure = nullptr;
AliasType* globalVariable = nullptr;
int function_depth = 0;
int maxdepth = 0;
// Entries of the area "LocalVarRoots" that hold a list head (the rest is not yet cleared).
int rootsCleared = 0;

constexpr const char* LocalRootsName = "LocalVarRoots";
constexpr int LocalRootsStart = 100;

// Macros that keep bringing each other back are stopped after this many substitutions in one
// block, or this many passes.
constexpr int MaxSubstitutions = 10000;
constexpr int MaxPasses = 1000;
int substitutionBudget = MaxSubstitutions;

std::string procedureText; // the text of replaceDummiesbyValues

char* copyText(const char* text, const char* label) {
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(allocate(size, &InterpreterAlloc, label));
    std::memcpy(copy, text, size);
    return copy;
}

void freeText(char* text, const char* label) {
    if (text)
        freespace(text, std::strlen(text) + 1, &InterpreterAlloc, label);
}

void freeEntry(AliasType* a) {
    freeText(a->alias, "Alias name");
    freeText(a->replacement, "Alias replacement");
    freespace(a, sizeof(AliasType), &InterpreterAlloc, "Alias pointer");
}

// The name of a new entry: "@" removed and backslash escapes resolved.
std::string entryName(const char* text) {
    std::vector<char> name(std::strlen(text) + 1);
    removeQuotesAndEscapes(name.data(), text, '@', '\\');
    return name.data();
}

void clearRootsFrom(MemoryType* area) {
    for (; rootsCleared < area->Size; ++rootsCleared)
        area->AllocatedSpace.pSpace[rootsCleared] = nullptr;
}

// The area of list heads with room for at least `levels` levels.
MemoryType* localRoots(int levels) {
    MemoryType* area = findMemory(LocalRootsName);
    if (!area) {
        area = initMemory(LocalRootsName, 'p', LocalRootsStart, LocalRootsStart);
        rootsCleared = 0;
    }
    if (area->Size < levels)
        allocMemoryDirect(area, levels);
    clearRootsFrom(area);
    return area;
}

const char* wordAt(void** commands, int i) {
    return static_cast<const char*>(commands[i]);
}

int countWords(void** commands) {
    int n = 0;
    while (commands[n])
        ++n;
    return n;
}

// The name a procedure was called by: its command words, joined by blanks, in lower case.
std::string calledName(void** commands, int parnum) {
    int keycnt = 0;
    const std::ptrdiff_t offset = commands - BASE;
    if (offset > 0 && offset <= countWords(BASE)) {
        keycnt = static_cast<int>(offset);
    } else {
        // Called from elsewhere: the words up to the first argument.
        const char* first = parnum > 0 ? wordAt(commands, 0) : nullptr;
        while (BASE[keycnt] && !(first && std::strcmp(wordAt(BASE, keycnt), first) == 0))
            ++keycnt;
    }
    std::string name;
    for (int i = 0; i < keycnt; ++i) {
        if (i)
            name += ' ';
        for (const char* p = wordAt(BASE, i); *p; ++p)
            name += static_cast<char>(lower(static_cast<unsigned char>(*p)));
    }
    return name;
}

// The exact name first: with procedures ab and abc a call of ab must run ab. A name that only
// abbreviates one falls back to the first procedure it begins.
AliasType* findProcedure(const std::string& name) {
    if (AliasType* exact = findAlias(name.c_str(), firstProcedure, 1))
        return exact;
    return findAlias(name.c_str(), firstProcedure, 0);
}

void enterProcedureLevel() {
    ++function_depth;
    if (function_depth > maxdepth) {
        maxdepth = function_depth;
        localRoots(maxdepth + 1);
    }
}

void leaveProcedureLevel() {
    freeVariables(getLocalVariableList(function_depth));
    --function_depth;
}

int openBracesBefore(const char* begin, const char* at) {
    int depth = 0;
    for (const char* p = begin; p < at; ++p) {
        if (*p == '{')
            ++depth;
        else if (*p == '}')
            --depth;
    }
    return depth;
}

// The block becomes empty, so that nothing of it runs, and the line counts an error.
void dropBlock(CommandLine* cl) {
    const int pos = static_cast<int>(cl->beginBlock - cl->Line);
    substitute_string(static_cast<int>(std::strlen(cl->beginBlock)), "", pos, cl);
    ++ErrorCount;
}

} // namespace

namespace interp {

// The work area of the local lists stays; its heads are cleared again at its next use.
void resetVariables() {
    freeVariables(&firstAlias);
    freeVariables(&firstProcedure);
    freeVariables(&globalVariable);
    if (MemoryType* area = findMemory(LocalRootsName))
        for (int level = 0; level < rootsCleared; ++level)
            freeVariables(reinterpret_cast<AliasType**>(area->AllocatedSpace.pSpace + level));
    rootsCleared = 0;
    function_depth = 0;
    maxdepth = 0;
    substitutionBudget = MaxSubstitutions;
    procedureText.clear();
}

} // namespace interp

// ---- Lists ----

AliasType* setAlias(const char* text, const char* replacement, AliasType** start) {
    if (AliasType* a = findAlias(text, *start, 1)) {
        replaceText(a, replacement);
        return a;
    }
    auto* a =
        static_cast<AliasType*>(allocate(sizeof(AliasType), &InterpreterAlloc, "Alias pointer"));
    a->alias = copyText(entryName(text).c_str(), "Alias name");
    a->replacement = copyText(replacement, "Alias replacement");
    a->variabletree = nullptr;
    a->next = *start;
    *start = a;
    return a;
}

int unsetAlias(const char* alias, AliasType** start) {
    for (AliasType** link = start; *link; link = &(*link)->next) {
        if (std::strcmp((*link)->alias, alias) == 0) {
            AliasType* gone = *link;
            *link = gone->next;
            freeEntry(gone);
            return 0;
        }
    }
    Alert("unsetAlias", 0, 100302, "%s not defined", alias);
    return 1;
}

void freeVariables(AliasType** sd) {
    while (AliasType* a = *sd) {
        *sd = a->next;
        freeEntry(a);
    }
}

AliasType* findAlias(const char* alias, AliasType* sd, int ExactMatch) {
    const std::size_t len = std::strlen(alias);
    for (AliasType* a = sd; a; a = a->next) {
        if (ExactMatch == 1 ? std::strcmp(a->alias, alias) == 0
                            : std::strncmp(a->alias, alias, len) == 0)
            return a;
    }
    return nullptr;
}

const char* findReplacement(const char* variable, AliasType* start) {
    AliasType* a = findAlias(variable, start, 1);
    return a ? a->replacement : nullptr;
}

const char* findLocalReplacement(const char* variable) {
    return findReplacement(variable, *getLocalVariableList(function_depth));
}

const char* findGlobalReplacement(const char* variable) {
    return findReplacement(variable, globalVariable);
}

void replaceText(AliasType* sd, const char* replacement) {
    if (sd->replacement && std::strlen(sd->replacement) == std::strlen(replacement)) {
        std::strcpy(sd->replacement, replacement);
        return;
    }
    char* text = copyText(replacement, "Alias replacement");
    freeText(sd->replacement, "Alias replacement");
    sd->replacement = text;
}

// Besides a text that holds its own name, a cycle through other macros (a brings b, b brings a)
// is refused, since substituting it would never end.
int checkNewAlias(const char* alias, const char* replacement, AliasType* sd) {
    std::vector<const char*> pending{replacement};
    std::set<const AliasType*> seen;
    while (!pending.empty()) {
        const char* text = pending.back();
        pending.pop_back();
        if (std::strstr(text, alias))
            return 1;
        for (AliasType* a = sd; a; a = a->next)
            if (std::strcmp(a->alias, alias) != 0 && !seen.count(a) &&
                std::strstr(text, a->alias)) {
                seen.insert(a);
                pending.push_back(a->replacement);
            }
    }
    return 0;
}

int defineVariable(const char* name, const char* replacement) {
    if (std::isdigit(static_cast<unsigned char>(name[0]))) {
        Alert("defineVariable", 0, 100302, "Variable name (%s) cannot start with number", name);
        return 1;
    }
    setAlias(name, replacement, getLocalVariableList(function_depth));
    return 0;
}

void showAllAliases() {
    for (AliasType* a = firstAlias; a; a = a->next)
        Print("Macro \"%s\"; Replacement: \"%s\"\n", a->alias, a->replacement);
    for (AliasType* a = firstProcedure; a; a = a->next)
        Print("Procedure \"%s\"; Value: \"%s\"\n", a->alias, a->replacement);
    for (AliasType* a = globalVariable; a; a = a->next)
        Print("Global variable \"%s\"; Value: \"%s\"\n", a->alias, a->replacement);
    for (int level = 0; level <= maxdepth; ++level)
        for (AliasType* a = *getLocalVariableList(level); a; a = a->next)
            Print("Local var.(level %d) \"%s\"; Value: \"%s\"\n", level, a->alias, a->replacement);
}

AliasType** getMacroList() {
    return &firstAlias;
}

AliasType** getProcedureList() {
    return &firstProcedure;
}

AliasType** getGlobalVariableList() {
    return &globalVariable;
}

// The heads are kept as pointers in the work area; an entry is read as the list head it holds.
AliasType** getLocalVariableList(int level) {
    MemoryType* area = localRoots(level + 1);
    return reinterpret_cast<AliasType**>(area->AllocatedSpace.pSpace + level);
}

int getFunctionDepth() {
    return function_depth;
}

int getMaxDepth() {
    return maxdepth;
}

void initializeLocalVariables() {
    localRoots(LocalRootsStart);
}

// ---- Substitution ----

int substitute_string(int len, const char* replacement, int pos, CommandLine* cl) {
    const int newLen = static_cast<int>(std::strlen(replacement));
    const int diff = newLen - len;
    if (diff > 0)
        allocLine(cl, diff);
    char* at = cl->Line + pos;
    char* oldEnd = cl->nextLine;
    // The rest of the line, the terminators of later blocks included, moves behind the text.
    std::memmove(at + newLen, at + len, static_cast<std::size_t>(oldEnd - (at + len)) + 1);
    std::memcpy(at, replacement, static_cast<std::size_t>(newLen));
    cl->nextLine += diff;
    if (cl->nextBlock > at)
        cl->nextBlock += diff;
    for (int i = 0; i < cl->CommandSize && cl->Commands[i]; ++i) {
        auto* w = static_cast<char*>(cl->Commands[i]);
        if (w > at && w <= oldEnd)
            cl->Commands[i] = w + diff;
    }
    return pos;
}

int substitute(const char* alias, const char* replacement, CommandLine* cl) {
    const std::size_t len = std::strlen(alias);
    if (len == 0)
        return 0;
    int count = 0;
    const char* from = cl->beginBlock;
    while (const char* found = std::strstr(from, alias)) {
        if (openBracesBefore(cl->beginBlock, found) > 0) {
            from = found + 1;
            continue;
        }
        if (--substitutionBudget < 0)
            break;
        const int pos = substitute_string(static_cast<int>(len), replacement,
                                          static_cast<int>(found - cl->Line), cl);
        ++count;
        from = cl->Line + pos + 1;
    }
    return count;
}

int substituteDefinitions(CommandLine* cl) {
    substitutionBudget = MaxSubstitutions;
    int total = 0;
    for (int pass = 0;; ++pass) {
        int count = 0;
        for (AliasType* a = firstAlias; a; a = a->next)
            count += substitute(a->alias, a->replacement, cl);
        total += count;
        if (count == 0)
            return total;
        if (substitutionBudget < 0 || pass + 1 == MaxPasses) {
            Alert("substituteDefinitions", 0, 100302, "Definition yields infinite recursion");
            dropBlock(cl);
            return total;
        }
    }
}

void setVariables(void** commands, int parnum, AliasType* sd) {
    for (int i = 0; i < parnum; ++i)
        for (AliasType* a = sd; a; a = a->next)
            if (std::strcmp(static_cast<const char*>(commands[i]), a->alias) == 0) {
                commands[i] = a->replacement;
                break;
            }
}

void setLocalVariables(void** commands, int parnum) {
    setVariables(commands, parnum, *getLocalVariableList(function_depth));
}

void setGlobalVariables(void** commands, int parnum) {
    setVariables(commands, parnum, globalVariable);
}

// ---- Procedures ----

int execute_procedure(void** commands, int parnum) {
    if (!BASE || !BASE[0]) {
        Alert("execute_procedure", 0, 212404, "Command name inconsistency");
        return 1;
    }
    const std::string name = calledName(commands, parnum);
    AliasType* procedure = findProcedure(name);
    if (!procedure) {
        Alert("execute_procedure", 1, 212404, "Procedure %s not found", name.c_str());
        return 1;
    }
    std::vector<char*> values;
    for (int i = 0; i < parnum; ++i)
        values.push_back(static_cast<char*>(commands[i]));
    values.push_back(nullptr);
    const std::string body = replaceDummiesbyValues(procedure->replacement, values.data());
    enterProcedureLevel();
    const int rc = executeCommandLine(body.c_str());
    leaveProcedureLevel();
    return rc > 0 ? rc : -parnum;
}

char* replaceDummiesbyValues(const char* string, char** values) {
    int count = 0;
    while (values[count])
        ++count;
    procedureText.clear();
    for (const char* p = string; *p; ++p) {
        if (*p != '%') {
            procedureText += *p;
            continue;
        }
        long n = 0;
        const char* digits = p + 1;
        while (std::isdigit(static_cast<unsigned char>(*digits)) && n < 1000000)
            n = n * 10 + (*digits++ - '0');
        p = digits - 1;
        if (n < count)
            procedureText += values[n];
        else
            procedureText.append("%").append(std::to_string(n));
    }
    return procedureText.data();
}

// ---- Functions ----

CaptureState suspendCapture() {
    CaptureState saved;
    saved.depth = getReturnToBuffer();
    if (saved.depth > 0)
        saved.text.assign(getReturnBuffer(), getReturnPointer());
    for (int i = 0; i < saved.depth; ++i)
        returnBufferOff();
    return saved;
}

void resumeCapture(const CaptureState& saved) {
    while (getReturnToBuffer() > 0)
        returnBufferOff();
    for (int i = 0; i < saved.depth; ++i)
        returnBufferOn();
    if (saved.depth > 0 && !saved.text.empty()) {
        // Put back as it was, without echoing it again as new captured text.
        const int debug = getDebugLevel();
        setDebugLevel(0);
        Print("%s", saved.text.c_str());
        setDebugLevel(debug);
    }
}

void makeCommandLine(CommandLine* fct, MathObj* stack) {
    std::string line;
    for (MathObj* v = stack; v; v = v->next) {
        if (v->type == 'e') {
            line = "break all";
            break;
        }
        const char* text = v->type == 's' && v->pointer.string ? v->pointer.string : "";
        if (v != stack)
            line += '{';
        bool quoted = false;
        for (const char* p = text; *p; ++p) {
            if (*p == '\'')
                quoted = !quoted;
            line += (*p == '\n' && !quoted) ? ' ' : *p;
        }
        line += v != stack ? "} " : " ";
    }
    allocLine(fct, static_cast<int>(line.size()) + 2);
    std::memcpy(fct->Line, line.c_str(), line.size() + 1);
    fct->nextLine = fct->Line + line.size();
    fct->beginBlock = fct->Line;
    fct->nextBlock = fct->nextLine;
    fct->Commands[0] = nullptr;
}

int analyseFunctionCommandLine(CommandLine* cl) {
    if (ErrorCount > 0)
        return ErrorCount;
    cl->beginBlock = cl->Line;
    cl->nextBlock = cl->nextLine;
    if (!*findFirstAlpha(cl->beginBlock)) {
        Alert("analyseFunctionCommandLine", 1, 212404, "empty function");
        return EmptyBlock;
    }
    if (getDebugLevel() >= 1) {
        printFullCommandLine(cl);
        std::printf(".... Function Command Block: %s\n", cl->beginBlock);
    }
    unbracket(cl);
    chopLine(cl);
    restoreString(cl);
    bufferErrors();
    const int rc = executeCommandBlock(cl, 0, 1);
    if (rc > EmptyBlock)
        printErrorBuffer();
    else if (rc >= 1 && rc != BlockSkippedByBreak)
        ++ErrorCount;
    unbufferErrors();
    if (ErrorCount == 0)
        flushErrors();
    return rc;
}

MathObj* execute_function(MathObj* stack) {
    CommandLine* cl = newCommandLine();
    makeCommandLine(cl, stack);
    const CaptureState outer = suspendCapture();
    returnBufferOn();
    const int savedExFunc = ExFunc;
    ExFunc = 1;
    const int rc = analyseFunctionCommandLine(cl);
    ExFunc = savedExFunc;
    std::string captured(getReturnBuffer(), getReturnPointer());
    returnBufferOff();
    resumeCapture(outer);
    freeCommandLine(cl);
    if (rc > 0) {
        MathObj* error = makeStringObj("", 0);
        MathObjToError(error, ("RETURN CODE " + std::to_string(rc)).c_str());
        return error;
    }
    if (!captured.empty() && captured.back() == '\n')
        captured.pop_back();
    return makeStringObj(captured.c_str(), static_cast<int>(captured.size()));
}

int checkConditionalExpression(const char* expression) {
    std::string text = expression ? expression : "";
    return check_condition(text.data());
}

void installEvaluatorHooks() {
    EvaluatorHooks hooks;
    hooks.findLocalReplacement = findLocalReplacement;
    hooks.findGlobalReplacement = findGlobalReplacement;
    hooks.defineVariable = defineVariable;
    hooks.executeFunction = execute_function;
    setEvaluatorHooks(hooks);
}
