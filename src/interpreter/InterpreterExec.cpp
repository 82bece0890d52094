#include "interpreter/Interpreter.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/Terminal.h"
#include "interpreter/InterpreterInternal.h"
#include "numeric/Loops.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace interp {

int BreakParameter = 0;
int ErrorCount = 0;
int ExFunc = 0;
void** BASE = nullptr;

} // namespace interp

using namespace interp;

namespace {

CommandType Ambiguous{};

const char* word(void** commands, int i) {
    return static_cast<const char*>(commands[i]);
}

int countWords(void** commands) {
    int n = 0;
    while (commands[n])
        ++n;
    return n;
}

void traceMatch(const char* text, const char* w) {
    if (getDebugLevel() >= 4)
        std::printf(".......... Command/Keyword %s %s\n", w, text);
}

// Keeps messages quiet for the span of one lookup, restoring what was set before.
class QuietErrors {
public:
    QuietErrors() : was_(getErrorSuppression()) { suppressError(); }
    ~QuietErrors() {
        if (!was_)
            unsuppressError();
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    int was_;
};

// The words of the level that the typed word abbreviates, in ascending order.
std::vector<CommandType*> abbreviated(const char* typed, CommandType* level) {
    std::vector<CommandType*> found;
    forEachWord(level, [&](CommandType* ct) {
        if (cmpcom(ct->command, typed) == 0)
            found.push_back(ct);
    });
    return found;
}

bool isAssignment(const char* first) {
    return findUnescapedCharOutsideBrackets(first, '=', '{', '}', '\\') != nullptr;
}

// The block as it was typed, so that words a handler leaves unused can run again as words.
struct BlockWords {
    std::vector<void*> words;
    explicit BlockWords(void** commands) : words(commands, commands + countWords(commands)) {}
};

void traceCommand(void** commands, int keycnt) {
    if (getDebugLevel() < 2)
        return;
    std::printf("...... Command    : ");
    for (int i = 0; i < keycnt; ++i)
        std::printf("%s ", word(commands, i));
    std::printf("\n");
}

void substituteArguments(void** args, int parcnt) {
    setVariables(args, parcnt, localVariables());
    setVariables(args, parcnt, globalVariables());
}

// Converts the arguments in place; returns a converter's error code, or 0. Positions that take
// part in a range run are marked in `converted`.
int convertArguments(CommandLine* cl, CommandType* ct, int keycnt, int parcnt,
                     std::vector<unsigned char>& converted, bool& range) {
    converted.assign(static_cast<std::size_t>(parcnt), 0);
    range = false;
    if (ct->ConversionCount < 1)
        return 0;
    for (int i = 0; i < parcnt; ++i) {
        const int pos = keycnt + i;
        cl->Conversions[pos] = cl->Maxima[pos] = 0;
        const int entry = std::min(i, ct->ConversionCount - 1);
        ConversionMethod* method = ct->conversions[entry];
        if (!method || !method->conversion)
            continue;
        const int index = i < ct->ConversionCount ? i : i - ct->ConversionCount + 1;
        ConversionResult* r = method->conversion(cl->Commands[pos], index);
        if (!r)
            continue;
        if (r->rc != 0 && r->rc != -1)
            return r->rc;
        cl->Conversions[pos] = r->value;
        cl->Maxima[pos] = r->rc == -1 ? r->max : r->value;
        cl->Commands[pos] = &cl->Conversions[pos];
        converted[static_cast<std::size_t>(i)] = 1;
        range = range || r->rc == -1;
    }
    return 0;
}

int runHandler(CommandLine* cl, CommandType* ct, int keycnt, int parcnt, bool range,
               const std::vector<unsigned char>& converted) {
    void** args = cl->Commands + keycnt;
    if (!range)
        return ct->exec(args, parcnt);
    CommandLoopData data{cl, keycnt, 0, ct->exec, converted.data()};
    NestedLoops(parcnt, cl->Conversions + keycnt, cl->Maxima + keycnt, cl->Loop + keycnt, &data,
                nullptr, CommandLoop);
    return data.rc;
}

// Runs the words the handler left unused as a further command that shares the leading words.
int runLeftOver(CommandLine* cl, const BlockWords& typed, int keycnt, int firstUnused,
                int AutoCnt) {
    const int total = static_cast<int>(typed.words.size());
    if (firstUnused >= total)
        return 0;
    if (AutoCnt == 0) {
        Alert("executeCommandBlock", 2, 100301, "Too many arguments for function %s",
              static_cast<const char*>(typed.words[0]));
        return NotExecutable;
    }
    int rc = 0;
    for (int j = keycnt - 1; j >= 0; --j) {
        void** commands = cl->Commands;
        std::copy(typed.words.begin(), typed.words.begin() + j, commands);
        std::copy(typed.words.begin() + firstUnused, typed.words.end(), commands + j);
        commands[j + total - firstUnused] = nullptr;
        rc = executeCommandBlock(cl, AutoCnt, j + 1);
        if (rc < NotExecutable)
            return rc;
    }
    return rc;
}

// Steps 7 to 16 of a block whose command was found and may run.
int executeMatched(CommandLine* cl, CommandType* ct, int keycnt, int parcnt, int AutoCnt,
                   const BlockWords& typed) {
    unbufferErrors();
    void** commands = cl->Commands;
    BASE = commands;
    if (ct->allowSubstitution)
        substituteArguments(commands + keycnt, parcnt);
    traceCommand(commands, keycnt);

    std::vector<unsigned char> converted;
    bool range = false;
    int rc = convertArguments(cl, ct, keycnt, parcnt, converted, range);
    if (rc > 0) {
        bufferErrors();
        return rc;
    }
    if (ct->FunctionInfo)
        commands[keycnt - 1] = ct->FunctionInfo;
    if (ct->pre_exec) {
        rc = ct->pre_exec();
        if (rc > 0) {
            bufferErrors();
            return rc;
        }
    }
    rc = runHandler(cl, ct, keycnt, parcnt, range, converted);
    if (ct->post_exec)
        ct->post_exec();
    bufferErrors();
    if (rc > 0)
        return rc;
    flushErrors();
    const int used = std::min(-rc, parcnt);
    return runLeftOver(cl, typed, keycnt, keycnt + used, AutoCnt);
}

// A command of a disabled mode: 1 when its mode function enabled the mode, else the refusal.
bool modeNowEnabled(CommandType* ct) {
    ModeType* mode = ct->mode;
    if (mode->function) {
        mode->function();
        if (mode->enabled)
            return true;
    }
    flushOutput();
    std::fprintf(ERROR_FILE, "Invalid command: %s\n", ct->command);
    std::fflush(ERROR_FILE);
    Alert("executeCommandBlock", mode->function ? 1 : 0, 100301, "%s", mode->message);
    return false;
}

} // namespace

CommandType* getAmbiguous() {
    return &Ambiguous;
}

CommandType* matchCommand(const char* command, CommandType* start) {
    return exactLookup(command, start, start == rootCommand);
}

CommandType* findCommand(const char* command, CommandType* start) {
    const bool topLevel = start == rootCommand;
    std::string typed(command);
    for (char& c : typed)
        c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    {
        QuietErrors quiet;
        if (CommandType* exact = exactLookup(typed.c_str(), start, topLevel))
            return exact;
    }
    std::vector<CommandType*> found = abbreviated(command, start);
    if (found.size() == 1)
        return found.front();
    if (topLevel) {
        std::vector<char> unblanked(typed.begin(), typed.end());
        unblanked.push_back('\0');
        unblankString(unblanked.data());
        if (!unblanked[0])
            return nullptr;
    }
    if (found.empty()) {
        Alert("findCommand", topLevel ? 0 : 2, 100301,
              topLevel ? "Command %s not known" : "Keyword %s not known", command);
        return nullptr;
    }
    Alert("findCommand", topLevel ? 1 : 3, 100301,
          topLevel ? "Command %s ambiguous" : "Keyword %s ambiguous", command);
    return &Ambiguous;
}

CommandType* interpretComKey(void** commands, int* keycnt) {
    *keycnt = 0;
    CommandType* level = rootCommand;
    CommandType* previous = nullptr;
    CommandType* result = nullptr;
    for (int w = 0; commands[w]; ++w) {
        const char* typed = word(commands, w);
        // After a word that takes arguments only an exact keyword is a keyword.
        CommandType* node = (w == 0 || previous->parMax == 0) ? findCommand(typed, level)
                                                              : exactLookup(typed, level, false);
        if (node == &Ambiguous) {
            traceMatch("ambiguous", typed);
            return nullptr;
        }
        if (!node) {
            traceMatch("not matched", typed);
            result = (w > 0 && previous->exec) ? previous : nullptr;
            break;
        }
        traceMatch("matched", typed);
        if (!node->enabled) {
            if (w == 0)
                Alert("interpretComKey", 0, 100301, "Command \"%s\" disabled", typed);
            else
                Alert("interpretComKey", 1, 100301, "Keyword \"%s\" disabled", typed);
            return nullptr;
        }
        ++*keycnt;
        previous = node;
        result = node;
        if (!node->keywords || !commands[w + 1])
            break;
        level = node->keywords;
    }
    if (result && !result->exec)
        Alert("interpretComKey", 2, 100301, "Command %s not executable", result->command);
    else if (result && result->internal == 2)
        Alert("interpretComKey", 3, 100301, "Command not found");
    return result;
}

CommandType* interpretCommand(void** commands, int* parcnt, int* keycnt) {
    if (commands[0] && isAssignment(word(commands, 0))) {
        unbufferErrors();
        if (evaluateAssignment(static_cast<char*>(commands[0])))
            ++ErrorCount;
        bufferErrors();
        *keycnt = 1;
        *parcnt = 0;
        return quietLookup("continue", rootCommand);
    }
    CommandType* ct = interpretComKey(commands, keycnt);
    if (!ct)
        return nullptr;
    const int remaining = countWords(commands) - *keycnt;
    *parcnt = std::min(remaining, ct->parMax);
    if (*parcnt < ct->parMin) {
        if (ct->parMin == 1)
            Alert("interpretCommand", 1, 100301, "Command \"%s\" requires at least one parameter",
                  ct->command);
        else
            Alert("interpretCommand", 0, 100301, "Command \"%s\" requires at least %d parameters",
                  ct->command, ct->parMin);
        return nullptr;
    }
    return ct;
}

int executeCommandBlock(CommandLine* cl, int AutoCnt, int MinKeyCnt) {
    void** commands = cl->Commands;
    const int debug = getDebugLevel();
    if (debug >= 3)
        printAllInterpretedCommands(commands);
    if (!commands[0])
        return EmptyBlock;
    // After Ctrl-C the rest of the line, of its loops and of the command files is left out, so
    // that the prompt returns.
    if (BreakParameter >= 1 || interruptRequested()) {
        if (debug >= 3)
            std::printf("........ BREAK\n");
        return BlockSkippedByBreak;
    }
    const BlockWords typed(commands);
    int parcnt = 0;
    int keycnt = 0;
    CommandType* ct = interpretCommand(commands, &parcnt, &keycnt);
    if (!ct) {
        if (debug >= 3)
            std::printf("........ NULL COMMAND\n");
        return NoCommandMatches;
    }
    if (keycnt < MinKeyCnt) {
        if (debug >= 3)
            std::printf("........ Matched: %d; required %d\n", keycnt, MinKeyCnt);
        return NoCommandMatches;
    }
    if (!ct->exec || ct->internal == 2) {
        if (debug >= 3)
            std::printf("........ NOT EXECUTABLE\n");
        return NotExecutable;
    }
    if (!ct->mode->enabled) {
        if (!modeNowEnabled(ct))
            return NotExecutable;
        return executeCommandBlock(cl, AutoCnt, MinKeyCnt);
    }
    return executeMatched(cl, ct, keycnt, parcnt, AutoCnt, typed);
}

int CommandLoop(int parnum, int* loop, void* data) {
    auto* d = static_cast<CommandLoopData*>(data);
    void** args = d->comline->Commands + d->keycnt;
    for (int i = 0; i < parnum; ++i)
        if (d->converted[i])
            args[i] = &loop[i];
    d->rc = d->exec(args, parnum);
    return d->rc == -parnum ? 1 : -2;
}

CommandType* matchComKey(const char* command) {
    std::vector<char> text(command, command + std::strlen(command) + 1);
    // Words are stored in lower case, as the registration made them.
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    char* words[8];
    chop(text.data(), words);
    CommandType* level = rootCommand;
    CommandType* node = nullptr;
    for (int i = 0; words[i]; ++i) {
        if (i > 0) {
            if (!node->keywords) {
                exactLookup(words[i], nullptr, false);
                return nullptr;
            }
            level = node->keywords;
        }
        node = exactLookup(words[i], level, i == 0);
        if (!node)
            return nullptr;
    }
    return node;
}

CommandType* findComKey(void** commands, char* commands2, int* keycnt) {
    *keycnt = 0;
    if (commands2)
        std::strcpy(commands2, "Command syntax: ");
    CommandType* level = rootCommand;
    CommandType* node = nullptr;
    for (int i = 0; commands[i] && level; ++i) {
        CommandType* found = findCommand(word(commands, i), level);
        if (!found || found == &Ambiguous)
            break;
        node = found;
        ++*keycnt;
        if (commands2) {
            std::strcat(commands2, displayWord(node->command).c_str());
            std::strcat(commands2, " ");
        }
        level = node->keywords;
    }
    return node;
}

void shiftCommand(void** commands, int to, int from) {
    if (to >= from)
        Alert("shiftCommand", 0, 212404, "Shift in wrong direction");
    int i = 0;
    for (; commands[from + i]; ++i)
        commands[to + i] = commands[from + i];
    commands[to + i] = nullptr;
}

// ---- break and the debug commands ----

int COM_break(void** commands, int parnum) {
    if (parnum >= 1) {
        BreakParameter = *static_cast<int*>(commands[0]);
        return -1;
    }
    BreakParameter = INT_MAX;
    return 0;
}

int lowerBreakParameter(int rc, int parnum) {
    if (rc != BlockSkippedByBreak)
        return rc;
    --BreakParameter;
    return -parnum;
}

int COM_debug_level(void** commands, int parnum) {
    setDebugLevel(*static_cast<int*>(commands[0]));
    return -parnum;
}

int COM_debug_off(void**, int parnum) {
    setDebugLevel(0);
    return -parnum;
}

int COM_debug_alloc_on(void**, int parnum) {
    setAllocTrace(1);
    return -parnum;
}

int COM_debug_alloc_off(void**, int parnum) {
    setAllocTrace(0);
    return -parnum;
}

int getBreakParameter() {
    return BreakParameter;
}

void setBreakParameter(int value) {
    BreakParameter = value;
}

int getErrorCount() {
    return ErrorCount;
}

int getExFunc() {
    return ExFunc;
}

void setExFunc(int value) {
    ExFunc = value;
}

void** getBASE() {
    return BASE;
}
