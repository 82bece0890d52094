// Placeholder until the error module is complete: prints every message on the error output.
#include "runtime/Error.h"

#include "runtime/Output.h"

#include <cstdarg>
#include <cstdio>

int Alert(const char* routine, int position, int errorCode, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(ERROR_FILE, fmt, ap);
    va_end(ap);
    std::fprintf(ERROR_FILE, " \n(routine %s, position %d, code %d)\n", routine, position,
                 errorCode);
    return 1;
}

void printErrorMessage(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(ERROR_FILE, fmt, ap);
    va_end(ap);
}

void printAllocMessage(const char* fmt, ...) {
    if (getBackground())
        return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(ERROR_FILE, fmt, ap);
    va_end(ap);
}
