#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/StringUtility.h"
#include "interpreter/InterpreterInternal.h"

#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace interp {

AllocCount InterpreterAlloc = ALLOC_COUNTER("Interpreter");

CommandType* rootCommand = nullptr;
int MaxCommandSize = 0;
ModeType* DefaultMode = nullptr;
ModeType* CurrentMode = nullptr;

} // namespace interp

using namespace interp;

namespace {

PRECOM currentPreCommand = nullptr;
POSTCOM currentPostCommand = nullptr;
Conversion* firstConversion = nullptr;
// Every mode made, so that a reset can give them back.
std::vector<ModeType*> madeModes;

// Words of a registered command are cut out of this buffer.
GuardedArray<char> commandBuffer("Command buffer", &InterpreterAlloc);
// The expression of a user-defined column cell, with its row label put in.
GuardedArray<char> extraColumnText{"output"};

constexpr int MaxCommandWords = 7;

char* copyText(const char* text, const char* label) {
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(allocate(size, &InterpreterAlloc, label));
    std::memcpy(copy, text, size);
    return copy;
}

std::string lowerCase(const char* word) {
    std::string s(word);
    for (char& c : s)
        c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    return s;
}

// Help texts are kept laid out with indentation 4 and line length 70, without the last newline.
std::string layOutHelp(const char* help) {
    if (!*help)
        return {};
    const std::size_t len = std::strlen(help);
    std::vector<char> out(len + (len + 2) * 6 + 16);
    leftAdjust(out.data(), help, 4, 70);
    removeLastEOL(out.data());
    return out.data();
}

std::size_t textBlockSize(const CommandType* ct) {
    return std::strlen(ct->command) + std::strlen(ct->parms) + std::strlen(ct->help) + 3;
}

// The word, the parameter text and the help text of a node share one block.
void setTexts(CommandType* ct, const std::string& word, const char* parms,
              const std::string& help) {
    const std::size_t size = word.size() + std::strlen(parms) + help.size() + 3;
    auto* block = static_cast<char*>(allocate(size, &InterpreterAlloc, "Command texts"));
    char* p = block;
    auto put = [&p](const char* s, std::size_t n) {
        std::memcpy(p, s, n);
        p[n] = '\0';
        char* start = p;
        p += n + 1;
        return start;
    };
    char* command = put(word.c_str(), word.size());
    char* parameters = put(parms, std::strlen(parms));
    char* laidOut = put(help.c_str(), help.size());
    if (ct->command)
        freespace(ct->command, textBlockSize(ct), &InterpreterAlloc, "Command texts");
    ct->command = command;
    ct->parms = parameters;
    ct->help = laidOut;
}

// Reads at most count bracket groups; returns 1 when no group names a type.
int readConversionEntries(char* text, ConversionMethod** conversions, int count) {
    int untyped = 1;
    for (int entry = 0; entry < count; ++entry) {
        if (*text != '[' && *text != '(')
            break;
        const char close = *text == '[' ? ']' : ')';
        char* next = nullptr;
        char* contents = findBracketContents(text, *text, close, &next);
        if (!contents)
            break;
        const char* blank = std::strchr(contents, ' ');
        std::string typeName =
            blank ? std::string(contents, static_cast<std::size_t>(blank - contents))
                  : std::string("id");
        if (blank)
            untyped = 0;
        Conversion* type = findConversion(typeName.c_str());
        if (!type)
            Alert("readConversions", 0, 212404, "Unknown data type: %s\n", typeName.c_str());
        conversions[entry] = type ? type->conv : nullptr;
        text = next;
    }
    return untyped;
}

// Parameter counts, conversion entries and the substitution flag, all read from the parameter
// text.
void setParameters(CommandType* ct, const char* parms) {
    if (ct->conversions)
        freespace(ct->conversions, sizeof(ConversionMethod*) * ct->ConversionCount,
                  &InterpreterAlloc, "Conversions");
    const int mandatory = charcnt(parms, '[');
    const int optional = charcnt(parms, '(');
    ct->parMin = mandatory;
    if (std::strstr(parms, "...")) {
        ct->parMax = INT_MAX;
        ct->ConversionCount = mandatory + optional - 1;
    } else {
        ct->parMax = mandatory + optional;
        ct->ConversionCount = ct->parMax;
    }
    if (ct->ConversionCount < 1) {
        ct->ConversionCount = 0;
        ct->conversions = nullptr;
        ct->allowSubstitution = 1;
        return;
    }
    const std::size_t size = sizeof(ConversionMethod*) * ct->ConversionCount;
    ct->conversions =
        static_cast<ConversionMethod**>(allocate(size, &InterpreterAlloc, "Conversions"));
    std::memset(ct->conversions, 0, size);
    std::string copy(parms);
    ct->allowSubstitution =
        readConversionEntries(copy.data(), ct->conversions, ct->ConversionCount);
}

// Handler, hooks and mode: a command with a handler belongs to the current mode.
void setExecution(CommandType* ct, COM exec) {
    ct->exec = exec;
    ct->mode = exec ? CurrentMode : DefaultMode;
    ct->pre_exec = currentPreCommand;
    ct->post_exec = currentPostCommand;
}

CommandType* newNode(const std::string& word, const char* parms, COM exec, const char* help) {
    auto* ct = static_cast<CommandType*>(
        allocate(sizeof(CommandType), &InterpreterAlloc, "Command pointer"));
    std::memset(ct, 0, sizeof(CommandType));
    setTexts(ct, word, parms, layOutHelp(help));
    setParameters(ct, parms);
    setExecution(ct, exec);
    ct->enabled = 1;
    ct->internal = 0;
    if (static_cast<int>(word.size()) > MaxCommandSize)
        MaxCommandSize = static_cast<int>(word.size());
    return ct;
}

// Splits a command text into at most seven words, cut out of the command buffer.
std::vector<char*> commandWords(const char* command) {
    commandBuffer.reserve(static_cast<int>(std::strlen(command)) + 1);
    std::strcpy(commandBuffer.X, command);
    char* slots[MaxCommandWords + 1];
    const int n = chop(commandBuffer.X, slots);
    commandBuffer.checkTagged(1);
    return std::vector<char*>(slots, slots + n);
}

CommandType* findForChange(const char* command) {
    return matchComKey(command);
}

// Takes a node out of the level it is in, keeping the order of the other words.
void detachNode(CommandType** root, CommandType* node) {
    CommandType** link = root;
    while (*link && *link != node)
        link = std::strcmp((*link)->command, node->command) > 0 ? &(*link)->right : &(*link)->left;
    if (!*link)
        return;
    if (!node->left) {
        *link = node->right;
    } else if (!node->right) {
        *link = node->left;
    } else {
        // The next word in order: the smallest of the words that sort after this one.
        CommandType** next = &node->left;
        while ((*next)->right)
            next = &(*next)->right;
        CommandType* successor = *next;
        *next = successor->left;
        successor->left = node->left;
        successor->right = node->right;
        *link = successor;
    }
    node->left = node->right = nullptr;
}

void freeText(char* text, const char* label) {
    freespace(text, std::strlen(text) + 1, &InterpreterAlloc, label);
}

void freeTree(CommandType* ct) {
    if (!ct)
        return;
    freeTree(ct->left);
    freeTree(ct->right);
    freeTree(ct->keywords);
    freespace(ct->command, textBlockSize(ct), &InterpreterAlloc, "Command texts");
    if (ct->conversions)
        freespace(ct->conversions, sizeof(ConversionMethod*) * ct->ConversionCount,
                  &InterpreterAlloc, "Conversions");
    freespace(ct, sizeof(CommandType), &InterpreterAlloc, "Command pointer");
}

// A method may stand under several names; it is freed once.
void freeConversions() {
    std::set<ConversionMethod*> methods;
    while (Conversion* c = firstConversion) {
        firstConversion = c->next;
        methods.insert(c->conv);
        freeText(c->name, "Conversion name");
        freespace(c, sizeof(Conversion), &InterpreterAlloc, "Conversion pointer");
    }
    for (ConversionMethod* m : methods) {
        if (!m)
            continue;
        freeText(m->description, "Conversion description");
        freespace(m, sizeof(ConversionMethod), &InterpreterAlloc, "Conversion method");
    }
}

void freeModes() {
    for (ModeType* mode : madeModes) {
        freeText(mode->message, "Mode message");
        freespace(mode, sizeof(ModeType), &InterpreterAlloc, "Mode pointer");
    }
    madeModes.clear();
}

void insertNode(CommandType** root, CommandType* node) {
    CommandType** link = root;
    while (*link)
        link = std::strcmp((*link)->command, node->command) > 0 ? &(*link)->right : &(*link)->left;
    *link = node;
}

} // namespace

namespace interp {

void resetCommandTree() {
    freeTree(rootCommand);
    rootCommand = nullptr;
    MaxCommandSize = 0;
    freeModes();
    DefaultMode = nullptr;
    CurrentMode = nullptr;
    currentPreCommand = nullptr;
    currentPostCommand = nullptr;
    freeConversions();
    commandBuffer.release();
    extraColumnText.release();
}

CommandType* quietLookup(const char* word, CommandType* level) {
    while (level) {
        const int c = std::strcmp(level->command, word);
        if (c == 0)
            return level;
        level = c > 0 ? level->right : level->left;
    }
    return nullptr;
}

CommandType* exactLookup(const char* word, CommandType* level, bool topLevel) {
    CommandType* found = quietLookup(word, level);
    if (!found && *word && !getErrorSuppression()) {
        if (topLevel)
            Alert("matchCommand", 0, 100301, "No exact match found for command %s", word);
        else
            Alert("matchCommand", 1, 100301, "No exact match found for keyword %s", word);
    }
    return found;
}

std::string displayWord(const char* word) {
    std::string s(word);
    if (!s.empty())
        s[0] = static_cast<char>(upper(static_cast<unsigned char>(s[0])));
    return s;
}

} // namespace interp

// ---- Registration ----

int chop(char* line, char** commands) {
    int n = 0;
    char* p = line;
    for (;;) {
        while (*p == ' ')
            *p++ = '\0';
        if (!*p)
            break;
        if (n == MaxCommandWords) {
            Alert("chop", 0, 112415, "Command number overflow");
            break;
        }
        commands[n++] = p;
        while (*p && *p != ' ')
            ++p;
    }
    commands[n] = nullptr;
    return n;
}

CommandType* addCommand(const char* command, CommandType* sd, const char* parms, COM exec,
                        const char* help) {
    const std::string word = lowerCase(command);
    if (!sd)
        return newNode(word, parms, exec, help);
    for (CommandType* at = sd;;) {
        const int c = std::strcmp(at->command, word.c_str());
        if (c == 0) {
            Alert("addCommand", 1, 212302, "Attempt to re-initialize command %s", command);
            return sd;
        }
        CommandType*& next = c < 0 ? at->left : at->right;
        if (!next) {
            next = newNode(word, parms, exec, help);
            return sd;
        }
        at = next;
    }
}

void initializeCommand(const char* command, CommandType** start, const char* parms, COM exec,
                       const char* help) {
    if (!*command) {
        Alert("initializeCommand", 0, 112415, "Command %s too short", command);
        return;
    }
    *start = addCommand(command, *start, parms, exec, help);
}

void addExec(CommandType* sd, const char* parms, COM exec, const char* help) {
    if (*sd->help || *sd->parms || sd->exec) {
        Alert("addExec", 0, 112415, "Attempt to re-initialize command %s", sd->command);
        return;
    }
    const std::string word = sd->command;
    setTexts(sd, word, parms, layOutHelp(help));
    // A word first made as a keyword group takes the parameters, mode and hooks of the command
    // it now becomes, as a word registered with its handler would.
    setParameters(sd, parms);
    setExecution(sd, exec);
}

CommandType* initCommand(const char* command, const char* parms, COM exec, const char* help) {
    std::vector<char*> words = commandWords(command);
    if (words.empty()) {
        Alert("initializeCommand", 0, 112415, "Command %s too short", command);
        return nullptr;
    }
    CommandType** level = &rootCommand;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string word = lowerCase(words[i]);
        const bool last = i + 1 == words.size();
        CommandType* node = quietLookup(word.c_str(), *level);
        if (node && last) {
            addExec(node, parms, exec, help);
            return node;
        }
        if (!node) {
            *level = last ? addCommand(word.c_str(), *level, parms, exec, help)
                          : addCommand(word.c_str(), *level, "", nullptr, "");
            node = quietLookup(word.c_str(), *level);
            if (!node || last)
                return node;
        }
        level = &node->keywords;
    }
    return nullptr;
}

int readConversions(const char* parms, ConversionMethod** conversions) {
    std::string copy(parms);
    return readConversionEntries(copy.data(), conversions, INT_MAX);
}

// ---- Changes after registration ----

void enableCommand(const char* command) {
    if (CommandType* ct = findForChange(command))
        ct->enabled = 1;
}

void disableCommand(const char* command) {
    if (CommandType* ct = findForChange(command))
        ct->enabled = 0;
}

void makeInternal(const char* command) {
    if (CommandType* ct = findForChange(command))
        ct->internal = 1;
    else
        Alert("makeInternal", 0, 112415, "Command not found; not made internal");
}

void addHelp(const char* command, HLP hlp) {
    if (CommandType* ct = findForChange(command))
        ct->helpexec = hlp;
    else
        Alert("addHelp", 0, 112415, "Command not found; help not extended");
}

void addFunctionInfo(const char* command, void* info) {
    if (CommandType* ct = findForChange(command))
        ct->FunctionInfo = info;
    else
        Alert("addFunctionInfo", 0, 112415, "Command not found");
}

void enableSubstitution(CommandType* ct) {
    ct->allowSubstitution = 1;
}

void disableSubstitution(CommandType* ct) {
    ct->allowSubstitution = 0;
}

void applyToTree(CommandType* ct, void (*fcn)(CommandType*)) {
    forEachWord(ct, fcn);
}

void applyToComKey(CommandType* ct, void (*fcn)(CommandType*)) {
    if (!ct)
        return;
    fcn(ct);
    applyToTree(ct->keywords, fcn);
}

void removeCommand(const char* name) {
    CommandType* ct = findCommand(name, rootCommand);
    if (!ct || ct == getAmbiguous())
        return;
    // The changed word is put where it now sorts, so that lookups of other words stay sound.
    detachNode(&rootCommand, ct);
    ct->command[0] = '$';
    ct->internal = 2;
    insertNode(&rootCommand, ct);
}

void removeAllCommands(AliasType** sd) {
    for (AliasType* a = *sd; a; a = a->next)
        removeCommand(a->alias);
}

void resetInterpreterState() {
    resetVariables();
    resetCommandLines();
    resetCommandTree();
    resetCommandHelp();
    resetLanguageHooks();
    BreakParameter = 0;
    ErrorCount = 0;
    ExFunc = 0;
    BASE = nullptr;
}

CommandType* getRootCommand() {
    return rootCommand;
}

int getMaxCommandSize() {
    return MaxCommandSize;
}

// ---- Modes ----

void makeDefaultMode() {
    DefaultMode = makeMode("");
    CurrentMode = DefaultMode;
}

ModeType* makeMode(const char* message) {
    auto* mode =
        static_cast<ModeType*>(allocate(sizeof(ModeType), &InterpreterAlloc, "Mode pointer"));
    mode->enabled = 1;
    mode->message = copyText(message, "Mode message");
    mode->function = nullptr;
    madeModes.push_back(mode);
    return mode;
}

void addModeFunction(ModeType* Mode, HLP fcn) {
    Mode->function = fcn;
}

void switchMode(ModeType* mode, int toggle) {
    mode->enabled = toggle;
}

void setCurrentMode(ModeType* mode) {
    CurrentMode = mode;
}

ModeType* getDefaultMode() {
    return DefaultMode;
}

void setCurrentPreCommand(PRECOM exec) {
    currentPreCommand = exec;
}

void setCurrentPostCommand(POSTCOM exec) {
    currentPostCommand = exec;
}

// ---- Argument types ----

ConversionMethod* makeConversionMethod(CONV conversion, char type, const char* description) {
    auto* m = static_cast<ConversionMethod*>(
        allocate(sizeof(ConversionMethod), &InterpreterAlloc, "Conversion method"));
    m->type = type;
    m->description = copyText(description, "Conversion description");
    m->conversion = conversion;
    return m;
}

ConversionMethod* getConversion(const char* name, ConversionMethod* conv) {
    if (Conversion* existing = findConversion(name))
        return existing->conv;
    auto* c = static_cast<Conversion*>(
        allocate(sizeof(Conversion), &InterpreterAlloc, "Conversion pointer"));
    c->name = copyText(name, "Conversion name");
    c->conv = conv;
    c->next = firstConversion;
    firstConversion = c;
    return conv;
}

Conversion* findConversion(const char* name) {
    for (Conversion* c = firstConversion; c; c = c->next)
        if (std::strcmp(c->name, name) == 0)
            return c;
    return nullptr;
}

Conversion* getFirstConversion() {
    return firstConversion;
}

Conversion* nextConversion(Conversion* sd) {
    return sd ? sd->next : nullptr;
}

namespace interp {

int integerFromString(const char* text, int* value) {
    switch (strnumChk(text, value)) {
    case 0:
        return 0;
    case 2:
        Alert("convertToInteger", 2, 100302, "Integer too large");
        return 2;
    default:
        Alert("convertToInteger", 3, 100302, "Non-numerical parameter: %s", text);
        return 1;
    }
}

int doubleFromString(const char* text, double* value) {
    int number = 0;
    switch (strnumChk(text, &number)) {
    case 0:
        *value = number;
        return 0;
    case 2:
        Alert("convertToDouble", 1, 100302, "Overflow");
        return 2;
    default:
        Alert("convertToDouble", 2, 100302, "Non-numerical parameter: %s", text);
        return 1;
    }
}

} // namespace interp

int convertToInteger(const char* expression, int* value) {
    // Every int, INT_MIN and INT_MAX included, is read directly.
    if (strnumChk(expression, value) == 0)
        return 0;
    // A command running as a function gets its arguments already evaluated.
    if (ExFunc)
        return integerFromString(expression, value);
    return evaluateIntegerArgument(expression, value);
}

int convertToDouble(const char* expression, double* value) {
    int number = 0;
    if (strnumChk(expression, &number) == 0) {
        *value = number;
        return 0;
    }
    if (ExFunc)
        return doubleFromString(expression, value);
    return evaluateDoubleArgument(expression, value);
}

char* convertToString(const char* expression, char* txt, int maxlen) {
    const std::string text = ExFunc ? std::string(expression) : evaluateToText(expression);
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(std::max(maxlen, 0)));
    std::memcpy(txt, text.data(), n);
    txt[n] = '\0';
    return txt + n;
}

char* getExtraColumn(char* txt, void* expression, int lbl) {
    const std::string label = std::to_string(lbl);
    std::string text;
    for (const char* c = static_cast<const char*>(expression); *c; ++c)
        text += *c == '#' ? label : std::string(1, *c);
    extraColumnText.reserve(static_cast<int>(text.size()) + 1);
    std::memcpy(extraColumnText.X, text.c_str(), text.size() + 1);
    char* end = convertToString(extraColumnText.X, txt, 80);
    for (char* c = txt; c < end; ++c)
        if (*c == '\n')
            *c = ' ';
    return end;
}
