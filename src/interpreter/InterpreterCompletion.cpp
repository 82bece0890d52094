// Completion of command words and keywords at the terminal prompt, from the command tree.
#include "interpreter/Interpreter.h"

#include "base/StringUtility.h"
#include "interpreter/InterpreterInternal.h"

#include <readline/readline.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

using namespace interp;

namespace {

constexpr int MaxLineWords = 7;

// The level that the complete words of the line select, or null when they select none.
CommandType* selectedLevel(const char* text) {
    std::string line = rl_line_buffer ? rl_line_buffer : "";
    char* words[MaxLineWords + 1];
    const int n = chop(line.data(), words);
    const int complete = *text ? n - 1 : n;
    CommandType* level = rootCommand;
    for (int i = 0; i < complete; ++i) {
        if (!*words[i])
            return nullptr;
        CommandType* node = exactLookup(words[i], level, i == 0);
        if (!node)
            return nullptr;
        level = node->keywords;
    }
    return level;
}

void freeList(char** list, int count) {
    for (int i = 0; i <= count; ++i)
        std::free(list[i]);
    std::free(list);
}

// True when every candidate has the same character as the first one at position at.
bool candidatesAgreeAt(char** list, int count, std::size_t at) {
    const char next = list[1][at];
    if (!next)
        return false;
    for (int k = 2; k <= count; ++k)
        if (list[k][at] != next)
            return false;
    return true;
}

// Extends the first entry as far as every candidate goes on with the same characters.
void extendByCommonContinuation(char** list, int count) {
    std::string first = list[0];
    while (candidatesAgreeAt(list, count, first.size()))
        first += list[1][first.size()];
    if (char* extended = strdup(first.c_str())) {
        std::free(list[0]);
        list[0] = extended;
    }
}

} // namespace

void collectCompletions(CommandType* start, char*** matches, int* count) {
    const char* first = (*matches)[0];
    const std::size_t length = std::strlen(first);
    forEachWord(start, [&](CommandType* ct) {
        if (strncasecmp(ct->command, first, length) != 0)
            return;
        char* copy = strdup(ct->command);
        auto* grown = static_cast<char**>(
            copy ? std::realloc(*matches, sizeof(char*) * static_cast<std::size_t>(*count + 3))
                 : nullptr);
        if (!grown) {
            std::free(copy);
            return;
        }
        *matches = grown;
        grown[++*count] = copy;
        grown[*count + 1] = nullptr;
    });
}

void findAllMatches(CommandType* start, CommandType** lastMatch, const char* com, int* count) {
    *count = 0;
    *lastMatch = nullptr;
    forEachWord(start, [&](CommandType* ct) {
        if (cmpcom(ct->command, com) == 0) {
            ++*count;
            *lastMatch = ct;
        }
    });
}

char** commandCompletion(const char* text, int, int) {
    rl_attempted_completion_over = 1;
    CommandType* level = selectedLevel(text);
    if (!level)
        return nullptr;
    auto* list = static_cast<char**>(std::malloc(2 * sizeof(char*)));
    if (!list)
        return nullptr;
    list[0] = strdup(text);
    list[1] = nullptr;
    if (!list[0]) {
        std::free(list);
        return nullptr;
    }
    int count = 0;
    collectCompletions(level, &list, &count);
    if (count == 0) {
        freeList(list, 0);
        return nullptr;
    }
    if (count == 1) {
        std::free(list[0]);
        list[0] = list[1];
        list[1] = nullptr;
        return list;
    }
    extendByCommonContinuation(list, count);
    return list;
}
