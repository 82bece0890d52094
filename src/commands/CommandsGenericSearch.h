// The commands of the generic standard-model search: "search generic_sm" and
// "search non_susy_sm".
#pragma once

#include <cstdio>

void installGenericSearchCommands();
// Writes the current model's name and a newline.
void printCurrentCY(FILE* stream);
