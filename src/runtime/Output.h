// Output routing: where results, notices and the error output go.
#pragma once

#include <cstdio>

// The error output: standard error, or standard output in background mode.
extern FILE* ERROR_FILE;

void setBackground(int value);
int getBackground();
