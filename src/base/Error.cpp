#include "base/Error.h"

#include "base/Allocation.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdio_ext.h>
#include <string>

namespace {

AllocCount Error_alloc = ALLOC_COUNTER("Errors");

ErrorType* firstError = nullptr;

constexpr char DefaultSeverityMask[7] = "110000";
char severityMask[7] = "110000";
int errorSuppress = 0;
int bufferError = 0;
int overrideBuffering = 0;
ErrorPositionReport errorPositionReport = nullptr;
GuardedArray<char> errorBuffer("errorBuffer", &Error_alloc);
GuardedArray<char> txtbuf("txtbuf", &Error_alloc);
int seriousErrorCount = 0;

int* showErrorOrigin = nullptr;
int* writeLogFile = nullptr;
int* writeErrorFile = nullptr;
int* TerminalInput = nullptr;

constexpr std::size_t PathLength = 1024;
char LOGFILE[PathLength] = "";
char ERRORFILE[PathLength] = "";
bool logHeaderWritten = false;
bool errorFileHeaderWritten = false;

int outputToTerminal = 0;

constexpr const char* Titles[] = {"Information",
                                  "Warning",
                                  "Error",
                                  "Unsaved data",
                                  "Internal inconsistency",
                                  "Allocation Error",
                                  "File opening error",
                                  "InternalError",
                                  "User requested info",
                                  "Question",
                                  "Allocation info",
                                  "Feature not yet built in",
                                  "Invalid subroutine input",
                                  "Limit exceeded",
                                  "Interpretation error",
                                  "Input data error",
                                  "Message",
                                  "Interruption",
                                  "Warning"};
constexpr const char* DefaultAnswers[] = {nullptr, "OK", "Continue", "Yes", "Save", "Accept", "No"};
constexpr const char* SecondAnswers[] = {nullptr, "Ignore", "Quit", "No", "Explain", "Yes"};
constexpr const char* ThirdAnswers[] = {nullptr, "Cancel", "Quit", "Set repetition rate",
                                        "Interrupt"};
constexpr int ShownOnceTitle = 18;

struct CodeParts {
    int defaultAnswer;
    int secondAnswer;
    int thirdAnswer;
    int severity;
    int title;
};

CodeParts splitCode(int errorCode) {
    return {errorCode / 100000 % 10, errorCode / 10000 % 10, errorCode / 1000 % 10,
            errorCode / 100 % 10, errorCode % 100};
}

template <std::size_t N> const char* nameAt(const char* const (&names)[N], int index) {
    return index >= 0 && index < static_cast<int>(N) ? names[index] : nullptr;
}

bool isOn(const int* sw) {
    return sw && *sw;
}

bool maskHides(int severity) {
    return severity >= 0 && severity < 6 && severityMask[severity] == '1';
}

bool holdingBack() {
    return bufferError && !overrideBuffering && errorBuffer.reserved();
}

std::size_t bufferedLength() {
    return errorBuffer.reserved() ? std::strlen(errorBuffer.X) : 0;
}

// Reserving moves the end guard, so never reserve below the text already held.
void reserveErrorBuffer(std::size_t chars) {
    errorBuffer.reserve(static_cast<int>(std::max(chars, bufferedLength()) + 1));
}

void appendToErrorBuffer(const std::string& text) {
    const std::size_t used = bufferedLength();
    const bool separate = used > 0;
    reserveErrorBuffer(used + separate + text.size());
    char* end = errorBuffer.X + used;
    if (separate)
        *end++ = '\n';
    std::memcpy(end, text.c_str(), text.size() + 1);
}

// --- the size estimate of a message ------------------------------------------------------------

// Skips one conversion after its '%' and takes its argument from ap; returns the
// room the estimate gives it.
std::size_t estimateConversion(const char*& p, va_list& ap) {
    while (*p && std::strchr("-+ #0'I", *p))
        ++p;
    auto skipNumber = [&]() {
        if (*p == '*') {
            (void)va_arg(ap, int);
            ++p;
        }
        while (*p >= '0' && *p <= '9')
            ++p;
    };
    skipNumber();
    if (*p == '.') {
        ++p;
        skipNumber();
    }
    int longs = 0;
    char size = 0;
    for (; *p && std::strchr("hlLqjzt", *p); ++p) {
        longs += *p == 'l';
        size = *p;
    }
    const char conversion = *p;
    if (*p)
        ++p;
    switch (conversion) {
    case '%':
    case 'm':
        return 0;
    case 's':
        if (longs) {
            (void)va_arg(ap, void*);
            return 30;
        } else {
            const char* s = va_arg(ap, const char*);
            return s ? std::strlen(s) : 6;
        }
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (size == 'L')
            (void)va_arg(ap, long double);
        else
            (void)va_arg(ap, double);
        return 500;
    case 'c':
        (void)va_arg(ap, int);
        return 30;
    case 'p':
    case 'n':
        (void)va_arg(ap, void*);
        return 30;
    default:
        if (longs >= 2 || size == 'q' || size == 'L')
            (void)va_arg(ap, long long);
        else if (longs == 1)
            (void)va_arg(ap, long);
        else if (size == 'j')
            (void)va_arg(ap, std::intmax_t);
        else if (size == 'z')
            (void)va_arg(ap, std::size_t);
        else if (size == 't')
            (void)va_arg(ap, std::ptrdiff_t);
        else
            (void)va_arg(ap, int);
        return 30;
    }
}

std::size_t estimateMessage(const char* routine, const char* fmt, va_list& ap) {
    std::size_t estimate = std::strlen(routine) + std::strlen(fmt) + 10000;
    for (const char* p = fmt; *p;) {
        if (*p++ == '%')
            estimate += estimateConversion(p, ap);
    }
    return estimate;
}

struct Message {
    std::string text;
    std::size_t originStart; // where the origin line begins; text.size() when there is none
};

// Formats the message with its origin line in txtbuf.
Message formatMessage(const char* routine, int position, int errorCode, const char* fmt,
                      va_list ap) {
    va_list forEstimate;
    va_list forLength;
    va_copy(forEstimate, ap);
    va_copy(forLength, ap);
    const std::size_t estimate = estimateMessage(routine, fmt, forEstimate);
    const int length = std::max(0, std::vsnprintf(nullptr, 0, fmt, forLength));
    va_end(forEstimate);
    va_end(forLength);

    std::string origin;
    if (errorCode != 0) {
        const int n =
            std::snprintf(nullptr, 0, " \n(routine %s, position %d)\n", routine, position);
        origin.resize(static_cast<std::size_t>(n));
        std::snprintf(origin.data(), origin.size() + 1, " \n(routine %s, position %d)\n", routine,
                      position);
    }
    const std::size_t total = static_cast<std::size_t>(length) + origin.size();
    txtbuf.reserve(static_cast<int>(std::min<std::size_t>(std::max(estimate, total + 1), INT_MAX)));
    std::vsnprintf(txtbuf.X, static_cast<std::size_t>(length) + 1, fmt, ap);
    std::memcpy(txtbuf.X + length, origin.c_str(), origin.size() + 1);
    if (total >= estimate)
        printErrorMessage("!!!!!! ERROR TEXT BUFFER OVERFLOW !!!!!\n");
    return {std::string(txtbuf.X, total), static_cast<std::size_t>(length)};
}

// Keeps the message and the blank that followed it.
void cutOriginLine(Message& m) {
    if (m.originStart < m.text.size())
        m.text.resize(m.originStart + 1);
}

// --- the steps of Alert ------------------------------------------------------------------------

void announceSeriousError(const char* routine, int position, int severity) {
    if (severity != 4 && severity != 5)
        return;
    // A background job has nobody to answer, so it must never wait for a question.
    if (TerminalInput && !getBackground())
        *TerminalInput = 1;
    if (severity == 5) {
        printErrorMessage("Fatal error in routine %s (position %d)\n", routine, position);
        return;
    }
    if (seriousErrorCount == 0)
        printErrorMessage("Serious error in routine %s (position %d)\n", routine, position);
    if (++seriousErrorCount % 25 == 0)
        printErrorMessage("%d serious errors so far\n", seriousErrorCount);
}

[[noreturn]] void endBackgroundRun(const std::string& text, int severity) {
    printErrorMessage("%s\n", text.c_str());
    printErrorMessage("%s", severity == 3 ? "Syntax error; terminating execution\n"
                                          : "Fatal error; terminating execution\n");
    if (errorPositionReport)
        errorPositionReport();
    flushOutput();
    if (errorBuffer.reserved())
        std::fprintf(stderr, "%s\n", errorBuffer.X);
    std::exit(1);
}

int showOnce(ErrorType* site, Message& m) {
    cutOriginLine(m);
    m.text += "\n(This message will not be repeated.)";
    site->RepRate = -1;
    printErrorMessage("%s\n", m.text.c_str());
    return 1;
}

void takeSecondAnswer(ErrorType* site, const char* answer) {
    if (!answer)
        return;
    if (std::strcmp(answer, "Ignore") == 0)
        site->RepRate = 0;
    else if (std::strcmp(answer, "Quit") == 0)
        std::exit(0);
    else if (std::strcmp(answer, "Explain") == 0)
        explainErrors();
}

void takeThirdAnswer(ErrorType* site, const char* answer) {
    if (!answer)
        return;
    if (std::strcmp(answer, "Quit") == 0)
        std::exit(0);
    else if (std::strcmp(answer, "Set repetition rate") == 0)
        setRepRate(site);
}

int askUser(ErrorType* site, const CodeParts& code, const std::string& text) {
    const char* second = nameAt(SecondAnswers, code.secondAnswer);
    const char* third = nameAt(ThirdAnswers, code.thirdAnswer);
    const char* title = nameAt(Titles, code.title);
    const int r = NXRunAlertPanel(title ? title : "", text.c_str(),
                                  nameAt(DefaultAnswers, code.defaultAnswer), second, third);
    if (r == 0)
        takeSecondAnswer(site, second);
    else if (r == -1)
        takeThirdAnswer(site, third);
    return r;
}

// --- the log files ------------------------------------------------------------------------------

void setLogPath(char* path, const std::string& value) {
    if (value.size() >= PathLength) {
        printErrorMessage("file name too large in initLog");
        path[0] = '\0';
        return;
    }
    std::memcpy(path, value.c_str(), value.size() + 1);
}

std::string logDirectory() {
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/Logs/";
}

const char* now() {
    const std::time_t t = std::time(nullptr);
    return std::ctime(&t);
}

constexpr const char* Rule = "------------------------------------------------------------";

void appendToFile(const char* path, const char* failure, const char* fmt, va_list ap) {
    FILE* f = std::fopen(path, "a");
    if (!f) {
        printErrorMessage("%s", failure);
        return;
    }
    std::vfprintf(f, fmt, ap);
    std::fclose(f);
}

} // namespace

// --- the error output ---------------------------------------------------------------------------

void printErrorMessage(const char* fmt, ...) {
    flushOutput();
    clearProgressLine();
    // What was printed before the message comes before it also where both streams are captured
    // together.
    std::fflush(stdout);
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(ERROR_FILE, fmt, ap);
    va_end(ap);
    std::fflush(ERROR_FILE);
}

void printAllocMessage(const char* fmt, ...) {
    if (getBackground())
        return;
    flushOutput();
    clearProgressLine();
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(ERROR_FILE, fmt, ap);
    va_end(ap);
    std::fflush(ERROR_FILE);
}

// --- Alert --------------------------------------------------------------------------------------

ErrorType* getError(const char* routine, int position) {
    for (ErrorType* e = firstError; e; e = e->next)
        if (e->position == position && std::strcmp(e->routine, routine) == 0)
            return e;
    auto* e = static_cast<ErrorType*>(allocate(sizeof(ErrorType), &Error_alloc, "ErrorType"));
    const std::size_t len = std::strlen(routine) + 1;
    e->routine = static_cast<char*>(allocate(len, &Error_alloc, "ErrorType->routine"));
    std::memcpy(e->routine, routine, len);
    e->position = position;
    e->count = 0;
    e->RepRate = 1;
    e->next = firstError;
    firstError = e;
    return e;
}

int Alert(const char* routine, int position, int errorCode, const char* fmt, ...) {
    ErrorType* site = getError(routine, position);
    ++site->count;
    const CodeParts code = splitCode(errorCode);
    const int S = code.severity;
    const bool background = getBackground() != 0;
    announceSeriousError(routine, position, S);

    if (S <= 2 && !background) {
        if (errorSuppress || holdingBack())
            return 1;
        // A masked message is still formatted while the diagnostics file is being written,
        // since that file keeps every message.
        if (!isOn(writeErrorFile) && maskHides(S))
            return -3;
    }

    va_list ap;
    va_start(ap, fmt);
    Message m = formatMessage(routine, position, errorCode, fmt, ap);
    va_end(ap);

    if (site->RepRate == -1)
        return -3;
    if (isOn(writeErrorFile))
        writeError("%s", m.text.c_str());
    if (S <= 3 && !isOn(showErrorOrigin) && !background)
        cutOriginLine(m);
    if (background && S >= 3 && !errorSuppress && !holdingBack())
        endBackgroundRun(m.text, S);
    if (background && S == 2 && code.title != ShownOnceTitle) {
        cutOriginLine(m);
        printErrorMessage("%s\n", m.text.c_str());
        return 1;
    }
    if (holdingBack()) {
        appendToErrorBuffer(m.text);
        return 1;
    }
    if (code.title == ShownOnceTitle)
        return showOnce(site, m);
    if (maskHides(S) || site->RepRate == 0 || site->count % site->RepRate != 0)
        return -3;
    if (errorCode == 0)
        return 1;
    return askUser(site, code, m.text);
}

// --- suppression and buffering -----------------------------------------------------------------

void suppressError() {
    errorSuppress = 1;
}
void unsuppressError() {
    errorSuppress = 0;
}
int getErrorSuppression() {
    return errorSuppress;
}

void bufferErrors() {
    bufferError = 1;
    const bool fresh = !errorBuffer.reserved();
    reserveErrorBuffer(256);
    if (fresh)
        errorBuffer.X[0] = '\0';
}

void unbufferErrors() {
    bufferError = 0;
}

void flushErrors() {
    if (errorBuffer.reserved())
        errorBuffer.X[0] = '\0';
}

void printErrorBuffer() {
    if (!errorBuffer.reserved())
        return;
    bufferError = 0;
    const std::size_t len = bufferedLength();
    if (len == 0)
        return;
    const auto breaks = std::count(errorBuffer.X, errorBuffer.X + len - 1, '\n');
    if (breaks == 0)
        explainErrors();
    else
        Alert("printErrorBuffer", 0, 140314, "Interpretation error");
}

void noBuf() {
    overrideBuffering = 1;
}
void noBufOff() {
    overrideBuffering = 0;
}

void dumpErrorBuffer() {
    flushOutput();
    if (errorBuffer.reserved())
        std::fprintf(stderr, "%s\n", errorBuffer.X);
}

void explainErrors() {
    if (bufferedLength() == 0)
        return;
    const std::string text(errorBuffer.X);
    Alert("explainErrors", 0, 100301, "%s", text.c_str());
    flushErrors();
}

void Msg(const char* text) {
    Alert("Msg", 0, 100216, "%s", text);
}

// --- sites and rates ---------------------------------------------------------------------------

void resetError() {
    for (ErrorType* e = firstError; e; e = e->next)
        e->RepRate = 1;
}

void showPreviousErrors() {
    for (ErrorType* e = firstError; e; e = e->next) {
        if (e->RepRate == 0)
            Alert("showPreviousErrors", 0, 100208,
                  "Error in routine: %s, position: %d; occurred %d times; *** disabled ***",
                  e->routine, e->position, e->count);
        else
            Alert("showPreviousErrors", 1, 100208,
                  "Error in routine: %s, position: %d; occurred %d times;", e->routine, e->position,
                  e->count);
    }
}

void enableError(const char* routine, int position) {
    getError(routine, position)->RepRate = 1;
}
void disableError(const char* routine, int position) {
    getError(routine, position)->RepRate = 0;
}

void setRepRate(ErrorType* sd) {
    char line[80];
    int rate = 0;
    do {
        printErrorMessage("Enter repetition rate: ");
        // Without more input nobody can answer: keep the rate rather than ask forever.
        if (!getstring(line, 78))
            return;
    } while (strnumChk(line, &rate) != 0);
    __fpurge(stdin);
    sd->RepRate = rate;
}

void unpackErrorCode(int errorCode, int* codes) {
    const CodeParts c = splitCode(errorCode);
    codes[0] = c.defaultAnswer - 1;
    codes[1] = c.secondAnswer;
    codes[2] = c.thirdAnswer;
    codes[3] = c.severity;
    codes[4] = c.title;
}

char* getSeverity_Error() {
    return severityMask;
}

void setSeverity_Error(const char* Mask) {
    if (!Mask)
        return;
    std::strncpy(severityMask, Mask, 6);
    severityMask[6] = '\0';
}

// --- terminal output ---------------------------------------------------------------------------

void TerminalOutputOn() {
    outputToTerminal = 1;
}
void TerminalOutputOff() {
    outputToTerminal = 0;
}
int OutputStatus() {
    return outputToTerminal;
}

// --- command log and diagnostics file ----------------------------------------------------------

// A new path is a new file, whose header is still to be written.
void ErrorFileName(const char* filename) {
    const std::string dir = logDirectory();
    createDir(dir.c_str());
    setLogPath(ERRORFILE, dir + filename + ".diagnostics");
    errorFileHeaderWritten = false;
}

void LogFileName(const char* filename) {
    setLogPath(LOGFILE, logDirectory() + filename + ".log");
    logHeaderWritten = false;
}

void initErrorFile() {
    if (errorFileHeaderWritten)
        return;
    FILE* f = std::fopen(ERRORFILE, "w");
    if (!f) {
        printErrorMessage("Error file problem in initErrorFile");
        return;
    }
    std::fprintf(f, "Tarvik diagnostics \ncreated %s\n", now());
    std::fprintf(f, "%s\n", Rule);
    std::fclose(f);
    errorFileHeaderWritten = true;
}

void initLog() {
    if (logHeaderWritten)
        return;
    FILE* f = std::fopen(LOGFILE, "w");
    if (!f) {
        printErrorMessage("Log file problem in initLog");
        return;
    }
    std::fprintf(f, "%%Tarvik command file \n%%created %s", now());
    std::fprintf(f, "%%%s\n", Rule);
    std::fclose(f);
    logHeaderWritten = true;
}

void writeError(const char* fmt, ...) {
    if (!isOn(writeErrorFile) || ERRORFILE[0] == '\0')
        return;
    initErrorFile();
    if (!errorFileHeaderWritten)
        return;
    va_list ap;
    va_start(ap, fmt);
    appendToFile(ERRORFILE, "Error file problem in writeError\n", fmt, ap);
    va_end(ap);
}

void writeLog(const char* fmt, ...) {
    if (!isOn(writeLogFile) || LOGFILE[0] == '\0')
        return;
    initLog();
    if (!logHeaderWritten)
        return;
    va_list ap;
    va_start(ap, fmt);
    appendToFile(LOGFILE, "Log file problem in writeLog\n", fmt, ap);
    va_end(ap);
}

// --- start-up -----------------------------------------------------------------------------------

void bindErrorSwitches(int* errorTrace, int* log, int* errorLog, int* interactive) {
    showErrorOrigin = errorTrace;
    writeLogFile = log;
    writeErrorFile = errorLog;
    TerminalInput = interactive;
}

void setErrorPositionReport(ErrorPositionReport report) {
    errorPositionReport = report;
}

void resetErrorState() {
    while (ErrorType* e = firstError) {
        firstError = e->next;
        freespace(e->routine, std::strlen(e->routine) + 1, &Error_alloc, "ErrorType->routine");
        freespace(e, sizeof(ErrorType), &Error_alloc, "ErrorType");
    }
    setSeverity_Error(DefaultSeverityMask);
    errorSuppress = 0;
    bufferError = 0;
    overrideBuffering = 0;
    errorPositionReport = nullptr;
    errorBuffer.release();
    txtbuf.release();
    seriousErrorCount = 0;
    bindErrorSwitches(nullptr, nullptr, nullptr, nullptr);
    LOGFILE[0] = '\0';
    ERRORFILE[0] = '\0';
    logHeaderWritten = false;
    errorFileHeaderWritten = false;
    outputToTerminal = 0;
}

void initializeError() {
    bindErrorSwitches(static_cast<int*>(getIntParPointer("error_trace")),
                      static_cast<int*>(getIntParPointer("log")),
                      static_cast<int*>(getIntParPointer("error_log")),
                      static_cast<int*>(getIntParPointer("interactive")));
    initializeTerminal();
}
