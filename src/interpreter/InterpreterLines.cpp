#include "interpreter/Interpreter.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "interpreter/InterpreterInternal.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace interp;

namespace {

constexpr char BlankMarker = 9;     // a blank inside braces
constexpr char SemicolonMarker = 7; // a ";" inside braces
constexpr int FirstCommandSize = 8;
constexpr int StoreIncrement = 200;

// The store of released records.
CommandLine** regist = nullptr;
int regist_linecnt = 0;
int regist_size = 0;
int clCount = 0;

// The record of the line being composed at the terminal.
CommandLine* terminalLine = nullptr;

// The command file being run; fileDepth counts the files running inside each other.
int fileDepth = 0;
int LineNumber = 0;
char CurrentInputFile[1024] = "";
std::string CurrentInputLine;

bool switchOn(const char* name) {
    InternalParameter* ip = findInternalParameter(name);
    return ip && ip->value == 1;
}

int usedLength(const CommandLine* cl) {
    return cl->Line ? static_cast<int>(cl->nextLine - cl->Line) : 0;
}

void allocateValues(CommandLine* cl, int size) {
    cl->Commands = static_cast<void**>(
        allocate(sizeof(void*) * size, &InterpreterAlloc, "Command line pointer"));
    auto* values =
        static_cast<int*>(allocate(sizeof(int) * 3 * size, &InterpreterAlloc, "Conversion space"));
    cl->Conversions = values;
    cl->Maxima = values + size;
    cl->Loop = values + 2 * size;
    cl->CommandSize = size;
}

void destroyRecord(CommandLine* cl) {
    if (cl->Line)
        freespace(cl->Line, static_cast<std::size_t>(cl->LineSize), &InterpreterAlloc,
                  "Command line");
    freespace(cl->Commands, sizeof(void*) * cl->CommandSize, &InterpreterAlloc,
              "Command line pointer");
    freespace(cl->Conversions, sizeof(int) * 3 * cl->CommandSize, &InterpreterAlloc,
              "Conversion space");
    freespace(cl, sizeof(CommandLine), &InterpreterAlloc, "Command line pointer");
}

CommandLine* createRecord() {
    auto* cl = static_cast<CommandLine*>(
        allocate(sizeof(CommandLine), &InterpreterAlloc, "Command line pointer"));
    std::memset(cl, 0, sizeof(CommandLine));
    allocateValues(cl, FirstCommandSize);
    cl->Commands[0] = nullptr;
    ++clCount;
    return cl;
}

// Appends text at the end of the record's text; returns the offset where it starts.
std::ptrdiff_t appendText(CommandLine* cl, const char* text) {
    const int len = static_cast<int>(std::strlen(text));
    allocLine(cl, len + 2);
    const std::ptrdiff_t start = cl->nextLine - cl->Line;
    std::memcpy(cl->nextLine, text, static_cast<std::size_t>(len) + 1);
    cl->nextLine += len;
    return start;
}

void cutTextAt(CommandLine* cl, char* end) {
    *end = '\0';
    cl->nextLine = end;
}

void removeTrailingBlanksOf(CommandLine* cl) {
    char* end = cl->nextLine;
    while (end > cl->Line && end[-1] == ' ')
        --end;
    cutTextAt(cl, end);
}

// The physical line appended at offset start ends in a backslash: cut it and continue.
bool continuesAfterBackslash(CommandLine* cl, std::ptrdiff_t start) {
    char* end = cl->nextLine;
    char* appended = cl->Line + start;
    while (end > appended && end[-1] == ' ')
        --end;
    if (end == appended || end[-1] != '\\')
        return false;
    cutTextAt(cl, end - 1);
    return true;
}

// An open bracket continues the line; a closing one too many discards it. Returns -1 to
// continue, 0 for a discarded line, 1 for a complete one.
int checkBrackets(CommandLine* cl, bool math) {
    const char open = math ? '(' : '{';
    const char close = math ? ')' : '}';
    const int depth = bracketcnt(cl->beginBlock, open, close);
    if (depth > 0) {
        removeTrailingBlanksOf(cl);
        if (!math && cl->nextLine > cl->Line && cl->nextLine[-1] != '{' && cl->nextLine[-1] != ';')
            appendText(cl, ";");
        appendText(cl, " ");
        return -1;
    }
    if (depth < 0) {
        unbufferErrors();
        if (math)
            Alert("buildCommandLine", 1, 100301, "Too many closing brackets [\")\"]");
        else
            Alert("buildCommandLine", 0, 100301, "Too many closing brackets (\"}\")");
        resetLine(cl);
        return 0;
    }
    return 1;
}

// Runs one block that is ready (words cut); returns its code and counts it as an error when
// it is one.
int runBlock(CommandLine* cl) {
    bufferErrors();
    const int code = executeCommandBlock(cl, 1, 1);
    // The end of a command: what it printed is written out, so that it survives a crash later.
    flushOutput();
    if (code > EmptyBlock)
        printErrorBuffer();
    else if (code >= 1 && code != BlockSkippedByBreak)
        ++ErrorCount;
    unbufferErrors();
    return code;
}

void prepareBlock(CommandLine* cl) {
    getNextBlock(cl);
    if (*cl->beginBlock && substituteDefinitions(cl) > 0)
        resetNextBlock(cl);
    if (getDebugLevel() >= 1) {
        printFullCommandLine(cl);
        std::printf(".... Command Block: %s\n", cl->beginBlock);
        std::fflush(stdout);
    }
    unbracket(cl);
    chopLine(cl);
    restoreString(cl);
}

void reportIgnoredRemainder(CommandLine* cl) {
    const char* rest = findFirstAlpha(cl->nextBlock);
    if (!*rest)
        return;
    bufferErrors();
    Alert("analyseCommandLine", 1, 100301, "Remainder (%s) ignored", rest);
    unbufferErrors();
}

CommandLine* recordWithText(const char* text) {
    CommandLine* cl = allocLine(nullptr, static_cast<int>(std::strlen(text)) + 2);
    appendText(cl, text);
    return cl;
}

// Keeps the position of the command file being run across nested files.
struct FilePosition {
    int lineNumber = LineNumber;
    std::string file = CurrentInputFile;
    std::string line = CurrentInputLine;
    FilePosition() { ++fileDepth; }
    FilePosition(const FilePosition&) = delete;
    FilePosition& operator=(const FilePosition&) = delete;
    ~FilePosition() {
        --fileDepth;
        LineNumber = lineNumber;
        std::snprintf(CurrentInputFile, sizeof CurrentInputFile, "%s", file.c_str());
        CurrentInputLine = line;
    }
};

void runFileLine(const std::string& line, CommandLine* cl) {
    CurrentInputLine = line;
    // As at the terminal, what an earlier line held back is not shown with this one.
    flushErrors();
    if (!line.empty() && line[0] != '#')
        buildCommandLine(line.c_str(), cl);
    ++LineNumber;
}

} // namespace

namespace interp {

// Runs between command lines, when every record but the terminal's is back in the store.
void resetCommandLines() {
    if (terminalLine)
        destroyRecord(terminalLine);
    terminalLine = nullptr;
    for (int i = 0; i < regist_linecnt; ++i)
        destroyRecord(regist[i]);
    if (regist)
        freespace(regist, sizeof(CommandLine*) * regist_size, &InterpreterAlloc,
                  "Command line store");
    regist = nullptr;
    regist_linecnt = 0;
    regist_size = 0;
    clCount = 0;
    fileDepth = 0;
    LineNumber = 0;
    CurrentInputFile[0] = '\0';
    CurrentInputLine.clear();
}

} // namespace interp

// ---- Records ----

CommandLine* allocLine(CommandLine* cl, int addlen) {
    if (!cl)
        cl = newCommandLine();
    const int used = usedLength(cl);
    if (cl->LineSize >= used + addlen + 10)
        return cl;
    const int size = used + addlen + 100;
    auto* line = static_cast<char*>(
        allocate(static_cast<std::size_t>(size), &InterpreterAlloc, "Command line"));
    char* old = cl->Line;
    if (old)
        std::memcpy(line, old, static_cast<std::size_t>(used) + 1);
    else
        line[0] = '\0';
    auto moved = [&](char* p) { return old ? line + (p - old) : line; };
    for (int i = 0; i < cl->CommandSize && cl->Commands[i]; ++i) {
        auto* w = static_cast<char*>(cl->Commands[i]);
        if (old && w >= old && w <= old + used)
            cl->Commands[i] = moved(w);
    }
    cl->beginBlock = moved(cl->beginBlock);
    cl->nextBlock = moved(cl->nextBlock);
    cl->nextLine = moved(cl->nextLine);
    if (old)
        freespace(old, static_cast<std::size_t>(cl->LineSize), &InterpreterAlloc, "Command line");
    cl->Line = line;
    cl->LineSize = size;
    return cl;
}

CommandLine* findAvailableCommandLine() {
    if (regist_linecnt == 0)
        return nullptr;
    return regist[--regist_linecnt];
}

CommandLine* newCommandLine() {
    CommandLine* cl = findAvailableCommandLine();
    if (!cl)
        cl = createRecord();
    resetLine(cl);
    return cl;
}

void freeCommandLine(CommandLine* cl) {
    if (!cl)
        return;
    if (regist_linecnt + 11 > regist_size) {
        const int size = regist_size + StoreIncrement;
        regist =
            static_cast<CommandLine**>(regist ? reallocate(regist, sizeof(CommandLine*) * size,
                                                           sizeof(CommandLine*) * regist_size,
                                                           &InterpreterAlloc, "Command line store")
                                              : allocate(sizeof(CommandLine*) * size,
                                                         &InterpreterAlloc, "Command line store"));
        regist_size = size;
    }
    regist[regist_linecnt++] = cl;
}

void resetLine(CommandLine* cl) {
    if (!cl)
        return;
    if (cl->Line)
        cl->Line[0] = '\0';
    cl->beginBlock = cl->nextBlock = cl->nextLine = cl->Line;
    cl->Commands[0] = nullptr;
}

void reallocCommands(CommandLine* cl) {
    const int old = cl->CommandSize;
    void** commands = cl->Commands;
    int* values = cl->Conversions;
    allocateValues(cl, 2 * old);
    std::memcpy(cl->Commands, commands, sizeof(void*) * old);
    std::memcpy(cl->Conversions, values, sizeof(int) * old);
    std::memcpy(cl->Maxima, values + old, sizeof(int) * old);
    std::memcpy(cl->Loop, values + 2 * old, sizeof(int) * old);
    freespace(commands, sizeof(void*) * old, &InterpreterAlloc, "Command line pointer");
    freespace(values, sizeof(int) * 3 * old, &InterpreterAlloc, "Conversion space");
}

// ---- Blocks and words ----

void getNextBlock(CommandLine* cl) {
    int depth = 0;
    char* p = cl->beginBlock;
    for (; *p; ++p) {
        if (*p == '{')
            ++depth;
        else if (*p == '}')
            --depth;
        else if (*p == ';') {
            if (depth <= 0)
                break;
            *p = SemicolonMarker;
        }
    }
    if (*p == ';') {
        *p = '\0';
        cl->nextBlock = p + 1;
    } else {
        cl->nextBlock = p;
    }
    if (cl->nextBlock > cl->nextLine)
        Alert("getNextBlock", 0, 212404, "Inconsistency in command block termination");
}

// A macro may have brought a ";": the block is cut again from its start.
void resetNextBlock(CommandLine* cl) {
    char* end = cl->beginBlock + std::strlen(cl->beginBlock);
    if (end < cl->nextLine)
        *end = ';';
    getNextBlock(cl);
    if (cl->nextBlock > cl->nextLine)
        Alert("resetNextBlock", 0, 212404, "Inconsistency in command block termination");
}

void unbracket(CommandLine* cl) {
    int depth = 0;
    for (char* p = cl->beginBlock; *p; ++p) {
        if (*p == '{') {
            if (depth == 0)
                *p = ' ';
            ++depth;
        } else if (*p == '}') {
            --depth;
            if (depth == 0) {
                *p = ' ';
            } else if (depth < 0) {
                Alert("unbracket", 0, 100302, "Bracket mismatch");
                depth = 0;
            }
        } else if (*p == ' ' && depth >= 1) {
            *p = BlankMarker;
        }
    }
    if (depth > 0)
        Alert("unbracket", 1, 100302, "Bracket mismatch");
}

void chopLine(CommandLine* cl) {
    int n = 0;
    char* p = cl->beginBlock;
    for (;;) {
        while (*p == ' ')
            *p++ = '\0';
        if (!*p)
            break;
        if (n + 2 > cl->CommandSize)
            reallocCommands(cl);
        cl->Commands[n++] = p;
        while (*p && *p != ' ')
            ++p;
    }
    cl->Commands[n] = nullptr;
}

void restoreString(CommandLine* cl) {
    for (char* p = cl->beginBlock; p < cl->nextLine; ++p) {
        if (*p == BlankMarker)
            *p = ' ';
        else if (*p == SemicolonMarker)
            *p = ';';
    }
}

void stripComment(char* comment, CommandLine* cl) {
    if (comment && comment >= cl->Line && comment < cl->nextLine)
        cutTextAt(cl, comment);
}

// ---- Lines ----

int analyseCommandLine(CommandLine* cl) {
    if (ErrorCount > 0)
        return ErrorCount;
    // Procedures, loops and command files recurse through here. Counted as an error of the
    // line, so that every enclosing line stops as well; the rest of the stack is left to the
    // handlers and expressions of the deepest line.
    if (stackNearlyExhausted(70)) {
        Alert("analyseCommandLine", 2, 100302, "Command lines nested too deeply");
        return ++ErrorCount;
    }
    if (std::strchr(cl->beginBlock, '\n')) {
        Alert("analyseCommandLine", 0, 100301, "Line feed not allowed in command line");
        ++ErrorCount;
        return LineFeedInLine;
    }
    cl->beginBlock = cl->Line;
    for (;;) {
        prepareBlock(cl);
        const int code = runBlock(cl);
        if (ErrorCount != 0) {
            reportIgnoredRemainder(cl);
            return code;
        }
        flushErrors();
        char* next = findFirstAlpha(cl->nextBlock);
        if (!*next)
            return code;
        cl->beginBlock = next;
    }
}

int buildCommandLine(const char* line, CommandLine* base) {
    const std::ptrdiff_t start = appendText(base, findFirstAlpha(line));
    stripComment(std::strchr(base->Line + start, '%'), base);
    if (continuesAfterBackslash(base, start))
        return -1;
    const bool math = switchOn("math");
    const int brackets = checkBrackets(base, math);
    if (brackets < 1)
        return brackets;
    removeTrailingBlanksOf(base);
    if (switchOn("echo"))
        Print("%s\n", base->Line);
    writeLog("%s\n", base->Line);
    ErrorCount = 0;
    BreakParameter = 0;
    ExFunc = 0;
    const int code = math ? analyseEvaluationLine(base) : analyseCommandLine(base);
    resetLine(base);
    return code;
}

int composeCommandLine(const char* line) {
    if (!terminalLine)
        terminalLine = newCommandLine();
    if (!line) {
        resetLine(terminalLine);
        return 0;
    }
    flushErrors();
    allocLine(terminalLine, static_cast<int>(std::strlen(line)) + 2);
    return buildCommandLine(line, terminalLine);
}

int executeCommandLine(const char* line) {
    CommandLine* cl = recordWithText(findFirstAlpha(line));
    ExFunc = 0;
    const int code = analyseCommandLine(cl);
    freeCommandLine(cl);
    return code;
}

int analyseEvaluationLine(CommandLine* base) {
    const std::string text = std::string("evaluate {") + base->Line + "};";
    CommandLine* cl = recordWithText(text.c_str());
    const int code = analyseCommandLine(cl);
    freeCommandLine(cl);
    return code;
}

// ---- Files ----

int executeCommandFile(const char* filename, int inter) {
    const char* read = fileToString(filename, "CommandFileBuffer");
    if (!read)
        return 1;
    // A file loaded from this one reuses the buffer, so the text is kept apart.
    std::string text(read);
    replaceChar(text.data(), '\r', '\n');
    if (inter == 0)
        setIntPar("interactive", 0);
    const FilePosition outer;
    LineNumber = 0;
    std::snprintf(CurrentInputFile, sizeof CurrentInputFile, "%s", filename);
    CommandLine* cl = newCommandLine();
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        runFileLine(text.substr(begin, end - begin), cl);
        begin = end + 1;
    }
    freeCommandLine(cl);
    setIntPar("interactive", 1);
    return 0;
}

int readCommandFile(FILE* ifp, int inter) {
    if (!ifp)
        return 1;
    if (inter == 0)
        setIntPar("interactive", 0);
    const FilePosition outer;
    LineNumber = 0;
    CommandLine* cl = newCommandLine();
    for (;;) {
        const char* read = readLineToBuffer("CommandLineBuffer", ifp);
        if (!read)
            break;
        const bool atEnd = read[std::strlen(read) + 1] == '\n';
        const std::string line(read);
        if (!(atEnd && line.empty()))
            runFileLine(line, cl);
        if (atEnd)
            break;
    }
    freeCommandLine(cl);
    setIntPar("interactive", 1);
    return 0;
}

// Outside a command file there is no position to tell.
void printErrorInfo() {
    if (fileDepth == 0)
        return;
    flushOutput();
    std::fprintf(ERROR_FILE, "Error occurred on line %d, file %s\n", LineNumber, CurrentInputFile);
    std::fprintf(ERROR_FILE, "Line: %s\n", CurrentInputLine.c_str());
    std::fflush(ERROR_FILE);
}

// ---- Diagnostics ----

void printFullCommandLine(CommandLine* cl) {
    std::printf(".... Command Line : ");
    for (const char* p = cl->Line; p < cl->nextLine; ++p)
        std::putchar(*p ? *p : '|');
    std::printf("\n");
}

void printAllInterpretedCommands(void** commands) {
    for (int i = 0; commands[i]; ++i)
        std::printf("........ Commands[%d]: |%s|\n", i, static_cast<const char*>(commands[i]));
}

void checkCommandLine(const char* st, CommandLine* cl) {
    if (!cl->Line)
        return;
    if (*cl->nextLine != '\0')
        Print("Unterminated line (call from %s)\n", st);
    if (!(cl->Line <= cl->beginBlock && cl->beginBlock <= cl->nextBlock &&
          cl->nextBlock <= cl->nextLine))
        Print("Ordering problem: %d %d %d (call from %s)\n",
              static_cast<int>(cl->beginBlock - cl->Line),
              static_cast<int>(cl->nextBlock - cl->Line), static_cast<int>(cl->nextLine - cl->Line),
              st);
    for (int i = 0; i < cl->CommandSize && cl->Commands[i]; ++i) {
        auto* w = static_cast<char*>(cl->Commands[i]);
        if (w < cl->Line)
            Print("Command %d out of range (call from %s)\n", i, st);
        else if (w != cl->beginBlock && w > cl->Line && w[-1] != '\0')
            Print("Command termination problem for nr. %d (call from %s)\n", i, st);
    }
}

long showCommandLinesUsed(int level) {
    long bytes = 0;
    for (int i = 0; i < regist_linecnt; ++i)
        bytes += regist[i]->LineSize;
    bytes += static_cast<long>(clCount) *
             static_cast<long>(sizeof(CommandLine) + (sizeof(void*) + 3 * sizeof(int)) * 8);
    if (level > 0)
        Alert("showCommandLinesUsed", 0, 100208,
              "Number of Command lines allocated: %d; %d bytes\n", clCount,
              static_cast<int>(bytes));
    return bytes;
}
