// The terminal loop: command lines read with the line editor and handed to the interpreter.
#pragma once

// Never returns: the process ends through one of its exits.
[[noreturn]] void readFromTerminal();
