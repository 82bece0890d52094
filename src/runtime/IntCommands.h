// The commands every run has, whatever the application: parameters and their "set" and "show"
// commands, the standard argument types, and the registration of all built-in commands.
#pragma once

#include "runtime/Interpreter.h"
#include "runtime/Parameters.h"

// Registers the built-in commands, argument types, tables and interpreter switches; runs once.
void initializeGeneralCommands();
