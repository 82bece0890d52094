#include "interpreter/IntCommandsControl.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "interpreter/Interpreter.h"
#include "interpreter/TerminalLoop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

AllocCount ControlAlloc = ALLOC_COUNTER("Control commands");

GuardedArray<char> sysBuffer("sys_buffer", &ControlAlloc);
GuardedArray<char> helpOut("HelpOut", &ControlAlloc);

const char* word(void** params, int i) {
    return static_cast<const char*>(params[i]);
}

bool interactiveOn() {
    const InternalParameter* ip = findInternalParameter("interactive");
    return ip && ip->value == 1;
}

// Only TRUE counts: a value that is no boolean (reported) behaves as FALSE.
bool conditionIsTrue(const char* condition) {
    return checkConditionalExpression(condition) == 0;
}

// The end of a loop run by a code other than 0: a pending break is used up at this level.
int endLoop(int rc, int parnum) {
    return lowerBreakParameter(rc, parnum);
}

int openOutputFile(void** params, int parnum, const char* mode) {
    setOutputFile(nullptr);
    if (parnum >= 1) {
        char* fn = static_cast<char*>(params[0]);
        setOutputFile(getFile("file name", mode, &fn));
        return -1;
    }
    if (interactiveOn()) {
        setOutputFile(getFile("file name", mode, nullptr));
        return 0;
    }
    Alert("COM_file", 0, 100302, "No file specified");
    return 1;
}

void printCPUTime() {
    Print("CPU time used %10.2f seconds\n", CPUTime());
}

void printGeneralHelp() {
    Print("\n");
    Print("General command structure:\n");
    Print("Command (Keywords) (Parameters)\n");
    Print("Commands and Keywords are case insensitive and may be abbreviated\n\n");
    Print("For a list of commands type 'Commands'\n");
    Print("For help for a command type 'Help Command'\n\n");
    Print("Help syntax:\n");
    Print("Optional keywords or parameters are in round brackets\n");
    Print("Mandatory keywords or parameters are in square brackets\n\n");
}

void printCommandState(const CommandType* ct) {
    const ModeType* mode = ct->mode;
    if (!mode->enabled && !mode->function)
        Print("    [Currently not enabled]\n");
    if (!ct->exec)
        Print("    [Not executable without further keywords]\n");
    if (mode->enabled && ct->exec && ct->allowSubstitution && ct->parMax >= 1)
        Print("    [Automatic parameter substitution enabled]\n");
}

// Asks for one of the keywords and shows its help: the typed keyword is appended to the words
// that led here.
void askForKeyword(void** params, int keycnt) {
    std::printf("Enter Keyword > ");
    std::fflush(stdout);
    std::string line = "Help ";
    for (int i = 0; i < keycnt; ++i)
        line += std::string(word(params, i)) + " ";
    copyStringToBuffer("HelpLineBuffer", line.c_str());
    const char* full = readLineToEndBuffer("HelpLineBuffer", stdin);
    if (!full || std::strlen(full) <= line.size())
        return;
    // The buffer is filled again by a nested question, so the line is run from a copy.
    const std::string typed(full);
    executeCommandLine(typed.c_str());
}

void printCommandHelp(void** params, int parnum) {
    std::vector<void*> words(params, params + parnum);
    words.push_back(nullptr);
    const std::size_t maxWord = static_cast<std::size_t>(getMaxCommandSize()) + 1;
    std::vector<char> syntax(sizeof "Command syntax: " +
                             static_cast<std::size_t>(parnum) * maxWord);
    int keycnt = 0;
    CommandType* ct = findComKey(words.data(), syntax.data(), &keycnt);
    if (!ct || ct == getAmbiguous() || ct->internal == 2)
        return;
    Print("%s%s\n", syntax.data(), ct->parms);
    printCommandState(ct);
    if (*ct->help)
        printHelp(ct->help);
    if (ct->helpexec) {
        Print("\n");
        ct->helpexec();
        Print("\n");
    }
    if (!ct->keywords)
        return;
    Print("Keywords:\n");
    printComCol(ct->keywords);
    // Piped input holds the next command lines, not an answer.
    if (interactiveOn() && isatty(fileno(stdin)))
        askForKeyword(params, keycnt);
}

} // namespace

void printHelp(const char* string) {
    helpOut.reserve(static_cast<int>(std::strlen(string)) + 1);
    char* out = helpOut.X;
    for (const char* p = string; *p; ++p)
        if (*p != '$' && *p != '@')
            *out++ = *p;
    *out = '\0';
    helpOut.check();
    Print("%s\n", helpOut.X);
}

// ---- Conditions and loops ----

int COM_if(void** params, int parnum) {
    const char* line = nullptr;
    if (conditionIsTrue(word(params, 0)))
        line = word(params, 1);
    else if (parnum >= 3)
        line = word(params, 2);
    if (!line)
        return -parnum;
    const int rc = executeCommandLine(line);
    return rc != 0 ? rc : -parnum;
}

int COM_while(void** params, int parnum) {
    while (conditionIsTrue(word(params, 0))) {
        const int rc = executeCommandLine(word(params, 1));
        if (rc != 0)
            return endLoop(rc, parnum);
    }
    return -parnum;
}

int COM_repeat(void** params, int parnum) {
    const int count = *static_cast<int*>(params[0]);
    for (int i = 0; i < count; ++i) {
        const int rc = executeCommandLine(word(params, 1));
        if (rc != 0)
            return endLoop(rc, parnum);
    }
    return -parnum;
}

int COM_for(void** params, int parnum) {
    int rc = executeCommandLine(word(params, 0));
    if (rc > 0)
        return endLoop(rc, parnum);
    for (;;) {
        if (!conditionIsTrue(word(params, 1)))
            return -parnum;
        rc = executeCommandLine(word(params, 3));
        if (rc > 0)
            break;
        rc = executeCommandLine(word(params, 2));
        if (rc > 0)
            break;
    }
    return endLoop(rc, parnum);
}

int COM_continue(void**, int) {
    return 0;
}

int COM_verify(void** params, int) {
    const int wasOn = OutputStatus();
    TerminalOutputOff();
    executeCommandLine(word(params, 0));
    if (wasOn)
        TerminalOutputOn();
    return -1;
}

// ---- Command files and output ----

int COM_load(void** params, int parnum) {
    const InternalParameter* ip = findInternalParameter("interactive");
    const int before = ip ? ip->value : 0;
    executeCommandFile(word(params, 0), 1);
    if (ip)
        setIntPar("interactive", before);
    return -parnum;
}

int COM_file(void** params, int parnum) {
    return openOutputFile(params, parnum, "w");
}

int COM_file_append(void** params, int parnum) {
    return openOutputFile(params, parnum, "a");
}

int COM_file_off(void**, int) {
    setOutputFile(nullptr);
    return 0;
}

int COM_terminal_on(void**, int) {
    TerminalOutputOn();
    return 0;
}

int COM_terminal_off(void**, int) {
    TerminalOutputOff();
    return 0;
}

// ---- The run ----

int COM_prompt(void**, int) {
    if (getBackground()) {
        std::fputs("Prompt not acceptable in background job\n", stdout);
        std::fflush(stdout);
        std::exit(0);
    }
    TerminalOutputOn();
    setIntPar("interactive", 1);
    readFromTerminal();
}

int COM_quit(void**, int) {
    printCPUTime();
    std::exit(0);
}

int COM_CPU(void**, int) {
    printCPUTime();
    return 0;
}

int COM_system(void** params, int parnum) {
    std::size_t size = 10;
    for (int i = 0; i < parnum; ++i)
        size += std::strlen(word(params, i)) + 1;
    sysBuffer.reserve(static_cast<int>(size));
    char* end = sysBuffer.X;
    for (int i = 0; i < parnum; ++i) {
        const std::size_t len = std::strlen(word(params, i));
        std::memcpy(end, word(params, i), len);
        end += len;
        *end++ = ' ';
    }
    *end = '\0';
    sysBuffer.check();
    std::fflush(stdout);
    const int status = std::system(sysBuffer.X);
    (void)status;
    return -parnum;
}

int COM_help(void** params, int parnum) {
    if (parnum == 0)
        printGeneralHelp();
    else
        printCommandHelp(params, parnum);
    return 1;
}

int COM_reseterrors(void**, int parnum) {
    resetError();
    return -parnum;
}

int COM_show_Errors(void**, int parnum) {
    showPreviousErrors();
    return -parnum;
}
