#include "runtime/Output.h"

namespace {
int background = 0;
} // namespace

FILE* ERROR_FILE = stderr;

void setBackground(int value) {
    background = value;
    if (value == 1)
        ERROR_FILE = stdout;
}

int getBackground() { return background; }
