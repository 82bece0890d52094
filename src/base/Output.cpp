#include "base/Output.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Parameters.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

FILE* ERROR_FILE = stderr;

namespace {

int returnToBuffer = 0;
GuardedArray<char> returnbuffer("returnbuffer");
int returnLength = 0; // the captured text ends at returnbuffer.X + returnLength

FILE* outputFile = nullptr;
int AtLineBegin = 0;
int background = 0;
char ProgName[30] = "X";
int debugLevel = 0;

int* echoSwitch = nullptr;
int* mathSwitch = nullptr;
int* logSwitch = nullptr;
int* interactiveSwitch = nullptr;

GuardedArray<char> oldmsg("oldmsg");
int repetitions = -1;

int alreadyPrinted = 0;

std::string lastPath; // the path getFile hands back through fn

int capture(std::string_view text) {
    int need = returnLength + static_cast<int>(text.size()) + 1;
    // The end guard stands at X_oldsize: the text must stay below it, not below X_size.
    if (!returnbuffer.reserved() || need > returnbuffer.X_oldsize)
        returnbuffer.reserve(2 * need);
    else
        returnbuffer.check();
    std::memcpy(returnbuffer.X + returnLength, text.data(), text.size());
    returnbuffer.X[returnLength + static_cast<int>(text.size())] = '\0';
    returnLength += static_cast<int>(text.size());
    return static_cast<int>(text.size());
}

// Print clears a running progress line, else ends a standing status line.
void endPendingLine() {
    if (isRunningModal)
        whipe();
    else if (AtLineBegin)
        endStatusLine();
}

int write(std::string_view text, FILE* fp) {
    return static_cast<int>(std::fwrite(text.data(), 1, text.size(), fp));
}

// Results are not flushed one by one: a listing of many lines would cost a write call per line.
// Standard output is written out at the end of each command, before questions, prompts and error
// messages, at exit, and at least once a second while results keep coming, so that the output of
// a long computation running in the background still shows while it runs.
using Clock = std::chrono::steady_clock;
Clock::time_point lastFlush = Clock::now();
constexpr auto FlushInterval = std::chrono::seconds(1);

void flushWhenDue() {
    if (Clock::now() - lastFlush >= FlushInterval)
        flushOutput();
}

// Whether text would go anywhere: with the terminal off (as under "verify"), no output file and
// nothing captured, Print need not even format it.
bool goesNowhere() {
    return returnToBuffer <= 0 && !outputFile && !OutputStatus();
}

int emit(std::string_view text, bool toOutputFile, bool modalFirst, bool flushNow) {
    if (returnToBuffer > 0) {
        int n = capture(text);
        if (debugLevel >= 4) {
            endPendingLine();
            std::printf(".......... Return buffer: %.*s\n", static_cast<int>(text.size()),
                        text.data());
        }
        return n;
    }
    int n = 0;
    if (OutputStatus()) {
        if (modalFirst) {
            endPendingLine();
        } else {
            if (AtLineBegin)
                endStatusLine();
            if (isRunningModal)
                whipe();
        }
        n = write(text, stdout);
    }
    if (toOutputFile && outputFile) {
        n = write(text, outputFile);
        std::fflush(outputFile);
    }
    if (flushNow)
        flushOutput();
    else
        flushWhenDue();
    return n;
}

void printDoubleRows(int Size, const double* Vector, const char* Text) {
    Print("%s (", Text);
    int indent = static_cast<int>(std::strlen(Text)) + 2;
    for (int i = 0; i < Size; ++i) {
        if (i == Size - 1) {
            Print("%12.9f)", Vector[i]);
            break;
        }
        Print("%12.9f,", Vector[i]);
        if ((i + 1) % 4 == 0)
            Print("\n%*s", indent, "");
    }
    Print("\n");
}

char* readAnswer(const char* name) {
    static char answer[1024];
    std::printf("Enter %s :", name);
    std::fflush(stdout);
    if (!getstring(answer, sizeof answer))
        return nullptr;
    if (std::strcmp(answer, "quit") == 0)
        return nullptr;
    return answer;
}

// Opens path, quietly in background mode: there the file service's own message would end the
// run before the fallback in /tmp is reached, and the failure is reported by getFile anyway. A
// path that opens is opened again through the file service, which counts the open files.
FILE* openQuietly(const char* path, const char* mode) {
    if (background) {
        FILE* probe = std::fopen(convertFileName(path), mode);
        if (!probe)
            return nullptr;
        std::fclose(probe);
    }
    return Fopen(path, mode);
}

// A background run ends on a message of this severity, which would defeat the fallback file
// that exists for just that case; there nobody is asked, so the text goes to the error output.
void reportFile(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void reportFile(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string text = formatText(fmt, ap);
    va_end(ap);
    if (background)
        printErrorMessage("%s\n", text.c_str());
    else
        Alert("getFile", 0, 100301, "%s", text.c_str());
}

std::string cleanPath(const char* given) {
    std::string path = given;
    std::vector<char> text(path.begin(), path.end());
    text.push_back('\0');
    unblankString(text.data());
    path = text.data();
    if (!path.empty() && path.front() == '\'')
        path.erase(0, 1);
    if (!path.empty() && path.back() == '\'')
        path.pop_back();
    return path;
}

// The fallback: a file of our own in /tmp, created exclusively so that an existing name or a
// link planted there is never written through.
FILE* fallbackFile(const char* mode, char** fn) {
    std::string name;
    for (int i = 0; i <= 10000; ++i) {
        name = "/tmp/OUT#" + std::to_string(i);
        int flags = O_WRONLY | O_CREAT | O_EXCL | (mode[0] == 'a' ? O_APPEND : O_TRUNC);
        int fd = open(name.c_str(), flags, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            reportFile("Unable to write to /tmp");
            return nullptr;
        }
        FILE* fp = fdopen(fd, mode[0] == 'a' ? "a" : "w");
        if (!fp) {
            close(fd);
            reportFile("Unable to write to /tmp");
            return nullptr;
        }
        reportFile("Writing to %s", name.c_str());
        lastPath = name;
        if (fn)
            *fn = lastPath.data();
        return fp;
    }
    reportFile("Giving up on %s; too many attempts", name.c_str());
    return nullptr;
}

// ---- abnormal ends ----

// What standard output still holds is written before a fatal signal takes its default course.
// The process is ending, so the buffer is written even where that is not strictly safe inside a
// handler; the worst case is a garbled last line instead of a lost one.
void flushAndEnd(int sig) {
    std::fflush(stdout);
    std::raise(sig); // delivered, with the default action, when the handler returns
}

[[noreturn]] void flushAndTerminate() {
    std::fflush(stdout);
    std::abort();
}

#if defined(__SANITIZE_ADDRESS__)
void flushAtSanitizerDeath() {
    std::fflush(stdout);
}
#endif

void catchSignal(int sig, bool onOwnStack) {
    catchSignalUnlessIgnored(sig, flushAndEnd, SA_RESETHAND | (onOwnStack ? SA_ONSTACK : 0));
}

} // namespace

std::string formatText(const char* fmt, va_list ap) {
    // Most texts are short: one pass into a buffer of their own, a second only for a long one.
    char shortText[512];
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(shortText, sizeof shortText, fmt, copy);
    va_end(copy);
    if (n <= 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof shortText)
        return std::string(shortText, static_cast<std::size_t>(n));
    std::string text(static_cast<std::size_t>(n), '\0');
    std::vsnprintf(text.data(), text.size() + 1, fmt, ap);
    return text;
}

// A signal that the process was started to ignore (a job started with nohup or in the
// background of a script) stays ignored.
void catchSignalUnlessIgnored(int sig, void (*handler)(int), int flags) {
    struct sigaction current {};
    if (sigaction(sig, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    sigaction(sig, &action, nullptr);
}

void enlargeOutputBuffer() {
    // A listing to a file or a pipe is written in large blocks rather than a system call per 4 KB;
    // a terminal keeps its line buffering.
    if (!isatty(fileno(stdout)))
        std::setvbuf(stdout, nullptr, _IOFBF, std::size_t{1} << 20);
}

void flushOutput() {
    std::fflush(stdout);
    lastFlush = Clock::now();
}

void flushOutputOnAbnormalEnd() {
    std::set_terminate(flushAndTerminate);
    for (int sig : {SIGABRT, SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        catchSignal(sig, false);
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer reports faults itself and ends the process without flushing; it keeps its
    // own handlers and signal stack, and tells us before it ends.
    __sanitizer_set_death_callback(flushAtSanitizerDeath);
#else
    // Faults run the handler on a stack of its own, so that a stack overflow is caught too.
    static std::vector<char> signalStack(1 << 16);
    stack_t stack{};
    stack.ss_sp = signalStack.data();
    stack.ss_size = signalStack.size();
    sigaltstack(&stack, nullptr);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        catchSignal(sig, true);
#endif
}

int Print(const char* fmt, ...) {
    if (goesNowhere()) {
        flushWhenDue();
        return 0;
    }
    va_list ap;
    va_start(ap, fmt);
    // Text formatted already is passed through as it is.
    if (std::strcmp(fmt, "%s") == 0) {
        const char* text = va_arg(ap, const char*);
        va_end(ap);
        return emit(text ? std::string_view(text) : std::string_view("(null)"), true, true, false);
    }
    std::string text = formatText(fmt, ap);
    va_end(ap);
    return emit(text, true, true, false);
}

int Inform(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string text = formatText(fmt, ap);
    va_end(ap);
    // Terminal information (progress lines ending in a carriage return) must show at once.
    return emit(text, false, false, true);
}

void PrintNoRepeat(const char* id_msg, const char* msg) {
    CPUTime();
    if (background && !ProgressInfoRequired())
        return;
    setLineLen(static_cast<int>(std::strlen(id_msg) + std::strlen(msg)) + 10);
    bool same = repetitions >= 0 && std::strcmp(oldmsg.X, id_msg) == 0;
    if (!same) {
        int len = static_cast<int>(std::strlen(id_msg));
        oldmsg.reserve(len < 1000 ? 1000 : len + 1);
        std::memcpy(oldmsg.X, id_msg, static_cast<std::size_t>(len) + 1);
        repetitions = 0;
        std::printf("\n%s%s\r", id_msg, msg);
    } else {
        ++repetitions;
        std::printf("%s%s [%d]\r", id_msg, msg, repetitions);
    }
    std::fflush(stdout);
    AtLineBegin = 1;
}

void PrintVec(int Size, const int* Vector, const char* Text) {
    if (Size <= 0)
        return;
    Print("%s  (", Text);
    for (int i = 0; i < Size - 1; ++i)
        Print("%d,", Vector[i]);
    Print("%d)\n", Vector[Size - 1]);
}

void PrintSignedVec(int Size, const int* Vector, const char* Text) {
    if (Size <= 0)
        return;
    Print("%s  (", Text);
    for (int i = 0; i < Size - 1; ++i)
        Print("%2d,", Vector[i]);
    Print("%2d)\n", Vector[Size - 1]);
}

void PrintDoubleVec(int Size, const double* Vector, const char* Text) {
    if (Size <= 0)
        return;
    printDoubleRows(Size, Vector, Text);
}

double unsignedZero(double x, int decimals) {
    // Asks the formatting itself, so that values at the rounding edge follow printf.
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    return std::strspn(text, "-0.") == std::strlen(text) ? 0.0 : x;
}

void returnBufferOn() {
    ++returnToBuffer;
    if (!returnbuffer.reserved())
        returnbuffer.reserve(256);
    if (returnToBuffer == 1) {
        returnLength = 0;
        returnbuffer.X[0] = '\0';
    }
}

void returnBufferOff() {
    if (returnToBuffer > 0)
        --returnToBuffer;
}

int getReturnToBuffer() {
    return returnToBuffer;
}

char* getReturnBuffer() {
    return returnbuffer.X;
}

char* getReturnPointer() {
    return returnbuffer.X ? returnbuffer.X + returnLength : nullptr;
}

void setOutputFile(FILE* out) {
    // The file that stays the output file, and the standard streams, are not closed.
    if (outputFile && outputFile != out && outputFile != stdout && outputFile != stderr)
        Fclose(outputFile);
    outputFile = out;
}

FILE* swapOutputFile(FILE* out) {
    FILE* previous = outputFile;
    outputFile = out;
    return previous;
}

FILE* getOutputFile() {
    return outputFile;
}

FILE* getFile(const char* name, const char* mode, char** fn) {
    const char* given = (fn && *fn) ? *fn : readAnswer(name);
    if (!given)
        return nullptr;
    std::string path = given;
    for (;;) {
        path = cleanPath(path.c_str());
        if (FILE* fp = openQuietly(path.c_str(), mode)) {
            lastPath = path;
            if (fn)
                *fn = lastPath.data();
            return fp;
        }
        reportFile("Cannot open %s", path.c_str());
        if (!(interactiveSwitch && *interactiveSwitch == 1 && OutputStatus()))
            break;
        std::printf("Try again (or type `quit' to stop trying) \n");
        const char* again = readAnswer(name);
        if (!again)
            return nullptr;
        path = again;
    }
    if (std::strcmp(mode, "w") != 0 && std::strcmp(mode, "a") != 0)
        return nullptr;
    return fallbackFile(mode, fn);
}

void endStatusLine() {
    std::fputs("\n", stdout);
    whipe();
    AtLineBegin = 0;
}

void setAtLineBegin() {
    AtLineBegin = 1;
}

int getAtLineBegin() {
    return AtLineBegin;
}

void setBackground(int value) {
    background = value;
    if (value == 1) {
        if (findInternalParameter("interactive"))
            setIntPar("interactive", 0);
        ERROR_FILE = stdout;
    }
}

int getBackground() {
    return background;
}

void setProgName(const char* name) {
    if (std::strlen(name) < 25) {
        std::strcpy(ProgName, name);
        return;
    }
    flushOutput();
    std::fprintf(stderr, "Name %s too long; truncated to 24 characters\n", name);
    std::memcpy(ProgName, name, 24);
    ProgName[24] = '\0';
}

const char* getProgName() {
    return ProgName;
}

int ProgressInfoRequired() {
    std::string control = std::string("/tmp/") + ProgName + "_notrace";
    return checkDir(control.c_str()) == 1 ? 0 : 1;
}

void setDebugLevel(int level) {
    debugLevel = level;
}

int getDebugLevel() {
    return debugLevel;
}

void initializeInterpreter() {
    echoSwitch = static_cast<int*>(getIntParPointer("echo"));
    mathSwitch = static_cast<int*>(getIntParPointer("math"));
    logSwitch = static_cast<int*>(getIntParPointer("log"));
    interactiveSwitch = static_cast<int*>(getIntParPointer("interactive"));
    std::strcpy(ProgName, "X");
    ERROR_FILE = stderr;
}

void resetOutputState() {
    ERROR_FILE = stderr;
    returnToBuffer = 0;
    returnbuffer.release();
    returnLength = 0;
    setOutputFile(nullptr);
    AtLineBegin = 0;
    background = 0;
    std::strcpy(ProgName, "X");
    debugLevel = 0;
    echoSwitch = nullptr;
    mathSwitch = nullptr;
    logSwitch = nullptr;
    interactiveSwitch = nullptr;
    oldmsg.release();
    repetitions = -1;
    alreadyPrinted = 0;
    lastPath.clear();
}

void displayMod() {
    char* text = findExistingMemory("ModText").cSpace;
    if (text)
        Print("%s\n", text + alreadyPrinted);
    alreadyPrinted = 0;
}

void displayModIntermediate() {
    char* text = findExistingMemory("ModText").cSpace;
    if (!text)
        return;
    Print("%s\n", text + alreadyPrinted);
    alreadyPrinted += static_cast<int>(std::strlen(text + alreadyPrinted));
}

char* reserveModText(char** ModText, char* Mpt, int ReqBytes) {
    int offset = (Mpt && *ModText) ? static_cast<int>(Mpt - *ModText) : 0;
    *ModText = allocMemory("ModText", offset + ReqBytes).cSpace;
    return *ModText ? *ModText + offset : nullptr;
}
