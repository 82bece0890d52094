#include "interpreter/TerminalLoop.h"

#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Terminal.h"
#include "interpreter/IntCommandsControl.h"
#include "interpreter/Interpreter.h"

#include <readline/history.h>
#include <readline/readline.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int MaxTerminalLines = 1000000;
constexpr int LineContinues = -1;

bool switchOn(const char* name) {
    const InternalParameter* ip = findInternalParameter(name);
    return ip && ip->value == 1;
}

[[noreturn]] void endWithMessage(const char* message) {
    std::printf("%s\n", message);
    std::fflush(stdout);
    std::exit(1);
}

// The end of the input stands for "quit", so that a run fed through a pipe ends cleanly. The
// line editor ends the prompt line itself only on a terminal.
[[noreturn]] void endOfInput() {
    if (!isatty(fileno(rl_instream ? rl_instream : stdin)))
        Inform("\n");
    COM_quit(nullptr, 0);
    std::exit(0);
}

// Set when Ctrl-C abandoned the line being typed.
bool lineAbandoned = false;

// At a terminal, Ctrl-C abandons the line being typed: the line editor tidies up after the
// signal and passes it on (which marks the interrupt), and then gets an empty line.
int readTerminalKey(FILE* stream) {
    const int fd = fileno(stream);
    for (;;) {
        if (interruptRequested()) {
            rl_replace_line("", 0);
            lineAbandoned = true;
            return '\n';
        }
        unsigned char c = 0;
        const ssize_t n = read(fd, &c, 1);
        if (n == 1)
            return c;
        if (n == 0)
            return EOF;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) < 0)
                return EOF;
            continue;
        }
        if (errno != EINTR)
            return EOF;
        rl_check_signals();
    }
}

// Keys come through the standard stream when the input is no terminal: an answer to a question
// read before may have taken the following lines into the stream's buffer, and reading the
// descriptor directly would lose them.
int readKey(FILE* stream) {
    if (isatty(fileno(stream)))
        return readTerminalKey(stream);
    for (;;) {
        const int c = std::fgetc(stream);
        if (c != EOF || !std::ferror(stream) || errno != EINTR)
            return c;
        std::clearerr(stream);
        rl_check_signals();
    }
}

// The prompt for the next line; a full prompt sets the prefix that continuation prompts keep.
std::string nextPrompt(int lineState, std::string& prefix) {
    std::string prompt;
    if (lineState == LineContinues)
        return prompt.append(prefix).append("... ");
    clearErrorScrollMode();
    prefix.assign(getAtLineBegin() == 1 ? 1 : 0, '\n');
    return prompt.append(prefix).append(switchOn("math") ? "==> " : "> ");
}

} // namespace

void readFromTerminal() {
    if (!switchOn("interactive"))
        endWithMessage("Interactive mode is OFF");
    rl_readline_name = "Tarvik";
    rl_attempted_completion_function = commandCompletion;
    rl_getc_function = readKey;
    // A line that was being continued when this loop took over is dropped.
    int lineState = composeCommandLine(nullptr);
    std::string prefix;
    for (int count = 0;;) {
        flushOutput();
        // A Ctrl-C that stopped the last line is used up; one from now on abandons the next.
        clearInterrupt();
        char* line = readline(nextPrompt(lineState, prefix).c_str());
        if (!line)
            endOfInput();
        if (lineAbandoned) {
            lineAbandoned = false;
            lineState = composeCommandLine(nullptr);
        }
        if (line[0] == '@') {
            std::free(line);
            endWithMessage("Maximal number of commands exceeded (readline); quitting");
        }
        if (line[0]) {
            stopSignal = 0;
            add_history(line);
            lineState = composeCommandLine(line);
        }
        std::free(line);
        if (++count >= MaxTerminalLines)
            endWithMessage("Maximal number of commands exceeded (readline); quitting");
    }
}
