#include "base/Terminal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/StringUtility.h"
#include "base/SystemUtility.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

volatile std::sig_atomic_t stopSignal = 0;
int isRunningModal = 0;

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void noteInterrupt(int) {
    stopSignal = 1;
    interrupted = 1;
}

ProgressInfo* ProgressStart = nullptr;
ProgressInfo* Progress = nullptr;
int allowModal = 1;
int LineLen = 0;
int ErrorScrollMode = 0;
int* TerminalInput = nullptr;
int* math_mode = nullptr;
NestedTerminalLoop nestedTerminalLoop = nullptr;

[[noreturn]] void runNestedTerminalLoop() {
    if (nestedTerminalLoop)
        nestedTerminalLoop();
    // The loop never returns; without one there is nothing left to go back to.
    std::exit(0);
}

constexpr int Billion = 1000000000;
constexpr int MaxAlternatives = 10;
constexpr int MaxFailedAnswers = 11;

// Results of the alternatives beyond the three buttons.
constexpr int ScrollAnswer = -4;
constexpr int StopAnswer = -5;
constexpr int AutoAnswer = -6;

// Progress lines are terminal information: they follow the terminal-output switch and a standing
// status line, never go into the output file, and are flushed at once so that carriage-return
// lines show. They never become part of a command's captured value either.
int writeOut(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
int writeOut(const char* fmt, ...) {
    va_list ap, count;
    va_start(ap, fmt);
    va_copy(count, ap);
    int length = std::vsnprintf(nullptr, 0, fmt, count);
    va_end(count);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, fmt, ap);
    va_end(ap);
    if (getReturnToBuffer() == 0)
        return Inform("%s", text.c_str());
    if (!OutputStatus())
        return 0;
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    return static_cast<int>(text.size());
}

bool isNamed(const char* button, const char* name) {
    return button && std::strcmp(button, name) == 0;
}

} // namespace

// ---------------------------------------------------------------- question panel

namespace {

struct Alternatives {
    std::array<const char*, MaxAlternatives> names{};
    std::array<int, MaxAlternatives> results{};
    int count = 0;

    void add(const char* name, int result) {
        if (count >= MaxAlternatives)
            return;
        names[count] = name;
        results[count++] = result;
    }
};

Alternatives buildAlternatives(const char* b1, const char* b2, const char* b3) {
    Alternatives alt;
    alt.add(b1, 1);
    if (b2) {
        alt.add(b2, 0);
        if (isNamed(b2, "Ignore"))
            alt.add("Scroll", ScrollAnswer);
        if (isNamed(b2, "Quit"))
            alt.add("Stop", StopAnswer);
    }
    if (b3) {
        alt.add(b3, -1);
        if (isNamed(b3, "Quit"))
            alt.add("Stop", StopAnswer);
    }
    alt.add("Auto", AutoAnswer);
    alt.add("Help", 0);
    return alt;
}

// The notice given instead of a question; 1, the default answer.
int answerWithoutAsking(const char* msg, const char* b1, const char* b2) {
    flushOutput();
    if (!getBackground())
        std::fprintf(ERROR_FILE, "%s\n", msg);
    if (!(isNamed(b1, "OK") && !b2))
        std::fprintf(ERROR_FILE, "Non-interactive mode; Assuming default answer: %s\n", b1);
    std::fflush(ERROR_FILE);
    return 1;
}

void askQuestion(const char* const* alternatives, const char* msg, int options) {
    flushOutput();
    std::fprintf(ERROR_FILE, "%s\a\n(", msg);
    for (int i = 0; i < options; ++i)
        std::fprintf(ERROR_FILE, "%s/", alternatives[i]);
    std::fprintf(ERROR_FILE, "Help):");
    std::fflush(ERROR_FILE);
}

// The index of the one alternative the answer abbreviates; -1 none, -2 more than one.
int selectAlternative(const char* const* alternatives, int count, const char* answer) {
    int selected = -1;
    for (int i = 0; i < count; ++i) {
        if (cmpcom(alternatives[i], answer) != 0)
            continue;
        if (selected >= 0)
            return -2;
        selected = i;
    }
    return selected;
}

void showHelp(const char* const* alternatives, int count) {
    flushOutput();
    std::fprintf(ERROR_FILE, "Enter one of the alternatives\n");
    for (int i = 0; i < count; ++i)
        std::fprintf(ERROR_FILE, "    %s\n", errorHelpText(alternatives[i]));
    std::fprintf(ERROR_FILE, "\n");
}

} // namespace

int NXRunAlertPanel(const char*, const char* msg, const char* defaultButton,
                    const char* alternateButton, const char* otherButton, ...) {
    const char* b1 = defaultButton ? defaultButton : "OK";
    bool onlyOK = isNamed(b1, "OK") && !alternateButton;
    if (!getValue(TerminalInput) || ErrorScrollMode || onlyOK)
        return answerWithoutAsking(msg, b1, alternateButton);

    Alternatives alt = buildAlternatives(b1, alternateButton, otherButton);
    int result = getErrorResponse(alt.names.data(), alt.results.data(), msg, alt.count - 1);
    switch (result) {
    case ScrollAnswer:
        ErrorScrollMode = 1;
        return ScrollAnswer;
    case AutoAnswer:
        if (TerminalInput)
            *TerminalInput = 0;
        return 1;
    case StopAnswer:
        stopProgressInfo("Unknown");
        runNestedTerminalLoop();
    default:
        return result;
    }
}

int getErrorResponse(const char* const* alternatives, const int* responses, const char* msg,
                     int options) {
    char answer[78];
    for (int failed = 0;;) {
        askQuestion(alternatives, msg, options);
        const char* line = getstring(answer, 78);
        int selected = line ? selectAlternative(alternatives, options + 1, line) : -1;
        if (selected == -2) {
            std::printf("Answer ambiguous; please try again\n");
        } else if (selected < 0) {
            flushOutput();
            std::fprintf(ERROR_FILE, "Invalid input\n");
            std::fprintf(ERROR_FILE, "Please enter one of the following alternatives\n");
        } else if (selected == options) {
            showHelp(alternatives, options + 1);
        } else {
            return responses[selected];
        }
        std::fflush(stdout);
        if (++failed >= MaxFailedAnswers) {
            std::printf("Too many invalid answers; execution terminated\n");
            std::fflush(stdout);
            std::exit(8);
        }
    }
}

const char* errorHelpText(const char* item) {
    static const struct {
        const char* name;
        const char* help;
    } helpLines[] = {
        {"OK", "OK:             Accept information"},
        {"Continue", "Continue:       Continue despite serious error"},
        {"Yes", "Yes:            Yes"},
        {"Save", "Save:           Save file"},
        {"Accept", "Accept:         Accept warning"},
        {"Auto", "Auto:           Auto-select first answer to all questions"},
        {"Ignore", "Ignore:         Switch off this error message.\n"
                   "                    (To switch it on again use \"reset errors\")"},
        {"Quit", "Quit:           Exit program"},
        {"No", "No:             No"},
        {"Explain", "Explain:        Give additional explanation (else if available)"},
        {"Set repetition rate", "Set rep. rate:  Set rate N at which message repeats\n"
                                "                    (To reset N to 1 use \"reset errors\")"},
        {"Not OK", "Not OK:         Decline option"},
        {"Interrupt", "Interrupt:      Interrupt computation in progress"},
        {"Scroll", "Scroll:         Stop prompting for response to errors"},
        {"Stop", "Stop:           Interrupt execution and return to command line"},
        {"Help", "Help:           Show this list"},
    };
    for (const auto& line : helpLines)
        if (std::strcmp(line.name, item) == 0)
            return line.help;
    static std::array<char, 200> unknown;
    std::snprintf(unknown.data(), unknown.size(),
                  "%s:              -- No further information available -- ", item);
    return unknown.data();
}

// ---------------------------------------------------------------- progress display

ProgressInfo* allocateProgressInfo(ProgressInfo* from) {
    void* block = allocate(sizeof(ProgressInfo), nullptr, "Progress Info Pointer");
    auto* P = new (block) ProgressInfo;
    P->previous = from;
    return P;
}

int getNextAction(ProgressInfo* P) {
    int percentage = P->MNextPercentage > P->MCount ? Billion : P->NextPercentage;
    return std::min(P->NextTimeCheck, percentage);
}

namespace {

// The record for a new display: the current one if idle, else the one above it.
ProgressInfo* recordForStart() {
    if (!Progress)
        Progress = ProgressStart = allocateProgressInfo(nullptr);
    if (Progress->active != 0) {
        if (!Progress->next)
            Progress->next = allocateProgressInfo(Progress);
        Progress = Progress->next;
    }
    return Progress;
}

// False when one percent of the loop does not fit the two-part counters.
bool setPercentageSteps(ProgressInfo* P, double total) {
    P->Count = P->MCount = 0;
    P->Total = total;
    double percent = total / 100.0;
    if (percent / Billion > 2000000000.0) {
        writeOut("Loop length overflow; disabling percentage counter\n");
        return false;
    }
    P->MPercentageStep = static_cast<int>(percent / Billion);
    P->PercentageStep = static_cast<int>(percent - P->MPercentageStep * double(Billion) + 1);
    P->NextPercentage = P->PercentageStep;
    P->MNextPercentage = P->MPercentageStep;
    P->NextTimeCheck = 10;
    P->NextAction = getNextAction(P);
    return true;
}

void setTitle(ProgressInfo* P, const char* title) {
    const char* text = title ? title : "";
    int length = static_cast<int>(std::strlen(text));
    P->Buffer.reserve(length + 1);
    std::memcpy(P->Buffer.X, text, static_cast<std::size_t>(length) + 1);
}

const char* titleOf(ProgressInfo* P) {
    return P->Buffer.reserved() ? P->Buffer.X : "";
}

void showPercentage(ProgressInfo* P) {
    double now = CPUTime();
    ++P->lastpct;
    if (P->lastpct <= 100 && !getBackground()) {
        int p = P->lastpct;
        double remaining = (now - P->InfoStart) * (100 - p) / p;
        LineLen = writeOut("\r%s; Progress: %d%%; Estimated remaining time: %7.2f sec\r",
                           titleOf(P), p, remaining);
    }
    P->LastPctTime = now;
    P->NextPercentage += P->PercentageStep;
    P->MNextPercentage += P->MPercentageStep;
    if (P->NextPercentage >= Billion) {
        P->NextPercentage -= Billion;
        ++P->MNextPercentage;
    }
}

// True when the user chose to stop.
bool checkTime(ProgressInfo* P) {
    double elapsed = CPUTime() - P->InfoStart - P->InitTime;
    if (elapsed < 1.0) {
        P->NextTimeCheck = static_cast<int>(std::min<long long>(P->NextTimeCheck * 10LL, INT_MAX));
        return false;
    }
    P->NextTimeCheck = INT_MAX;
    double done = P->MCount * double(Billion) + P->Count;
    double estimate = elapsed * P->Total / done;
    if (estimate <= 60.0 || P->lastpct > 0)
        return false;
    whipe();
    if (!P->Interruptable) {
        ProgressPrint("Process: %s; Expected total time %7.2f sec\n", titleOf(P), estimate);
        return false;
    }
    int answer =
        Alert("incrementProgressInfo", 0, 332209,
              "Process: %s; Expected total time %7.2f sec. Continue?", titleOf(P), estimate);
    if (answer != 0)
        return false;
    stopProgressInfo(titleOf(P));
    stopSignal = 1;
    return true;
}

} // namespace

void startProgressInfo(const char* title, double total, int interruptable) {
    if (!OutputStatus() || !allowModal)
        return;
    ProgressInfo* P = recordForStart();
    P->InfoStart = P->LastPctTime = CPUTime();
    P->InitTime = 0.0;
    isRunningModal = 1;
    P->active = 2;
    if (total <= 2000 || getBackground())
        return;
    whipe();
    LineLen = writeOut("%s started\r", title ? title : "");
    if (!setPercentageSteps(P, total))
        return;
    P->Interruptable = interruptable;
    P->lastpct = 0;
    P->active = 1;
    setTitle(P, title);
}

int incrementProgressInfo() {
    ProgressInfo* P = Progress;
    // A stop asked for elsewhere (Ctrl-C, or a "No" to an inner loop) ends this loop too, as the
    // answer "No" does: the display stops and the loop is told.
    if (stopSignal) {
        if (P && P->active != 0)
            stopProgressInfo(titleOf(P));
        return 1;
    }
    if (!P || P->active != 1)
        return 0;
    if (++P->Count != P->NextAction)
        return 0;
    if (P->Count == Billion) {
        P->Count = 0;
        ++P->MCount;
    }
    if (P->Count == P->NextPercentage && P->MCount == P->MNextPercentage)
        showPercentage(P);
    if (P->Count == P->NextTimeCheck && checkTime(P))
        return 1;
    P->NextAction = getNextAction(P);
    return 0;
}

void stopProgressInfo(const char* title) {
    ProgressInfo* P = Progress;
    if (!P || P->active == 0)
        return;
    double elapsed = CPUTime() - P->InfoStart;
    if (P->active == 1 && !getBackground()) {
        whipe();
        if (std::strcmp(title ? title : "", titleOf(P)) != 0)
            writeOut("Process mismatch: %s <---> %s\n", title ? title : "", titleOf(P));
        LineLen = writeOut("%s completed; Total time %7.2f sec.\n", titleOf(P), elapsed);
    }
    P->active = 0;
    if (P->previous) {
        P->previous->InitTime += elapsed;
        Progress = P->previous;
    } else {
        isRunningModal = 0;
    }
}

int getProgressInfo() {
    return Progress && Progress->active == 1 ? Progress->lastpct : 0;
}

int ProgressPrint(const char* fmt, ...) {
    if (!OutputStatus())
        return 0;
    if (isRunningModal && Progress && Progress->active == 1 && Progress->lastpct > 0)
        whipe();
    va_list ap;
    va_start(ap, fmt);
    int length = std::vprintf(fmt, ap);
    va_end(ap);
    std::fflush(stdout);
    return length;
}

void PrintProgress(const char* fmt, ...) {
    if (getBackground())
        return;
    va_list ap;
    va_start(ap, fmt);
    std::vprintf(fmt, ap);
    va_end(ap);
    std::fflush(stdout);
}

void whipe() {
    if (LineLen == 0)
        return;
    std::printf("%*s\r", LineLen + 1, "");
    std::fflush(stdout);
    LineLen = 0;
}

void setLineLen(int len) {
    LineLen = len;
}

void startModal() {
    isRunningModal = 1;
}

void stopModal() {
    isRunningModal = 0;
}

LoopProgress::LoopProgress(const char* title, double total, int interruptable)
    : title_(title), running_(!getBackground()) {
    if (running_)
        startProgressInfo(title, total, interruptable);
}

LoopProgress::~LoopProgress() {
    if (running_)
        stopProgressInfo(title_.c_str());
}

bool LoopProgress::step() {
    if (!running_)
        return stopSignal != 0;
    if (incrementProgressInfo() == 0)
        return false;
    running_ = false;
    return true;
}

void stopOnInterrupt() {
    // Reads and writes of the computation go on; the terminal loop's line editor installs its
    // own handler while it waits for a key and passes the signal on afterwards.
    catchSignalUnlessIgnored(SIGINT, noteInterrupt, SA_RESTART);
}

int interruptRequested() {
    return interrupted;
}

void clearInterrupt() {
    interrupted = 0;
}

void initializeTerminal() {
    TerminalInput = static_cast<int*>(getIntParPointer("interactive"));
    math_mode = static_cast<int*>(getIntParPointer("math"));
    if (!ProgressStart)
        ProgressStart = allocateProgressInfo(nullptr);
    Progress = ProgressStart;
}

void resetTerminalState() {
    for (ProgressInfo* P = ProgressStart; P;) {
        ProgressInfo* next = P->next;
        P->~ProgressInfo();
        freespace(P, sizeof(ProgressInfo), nullptr, "Progress Info Pointer");
        P = next;
    }
    ProgressStart = nullptr;
    Progress = nullptr;
    stopSignal = 0;
    interrupted = 0;
    isRunningModal = 0;
    allowModal = 1;
    LineLen = 0;
    ErrorScrollMode = 0;
    TerminalInput = nullptr;
    math_mode = nullptr;
    nestedTerminalLoop = nullptr;
}

void clearProgressLine() {
    if (isRunningModal)
        whipe();
}

void setNestedTerminalLoop(NestedTerminalLoop loop) {
    nestedTerminalLoop = loop;
}

void clearErrorScrollMode() {
    ErrorScrollMode = 0;
}
