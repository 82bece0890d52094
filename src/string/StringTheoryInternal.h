// What the files of the string reading share among themselves.
#pragma once

// Installs the tachyon callback's neutral value and the model printer.
void initializeTachyonCheck();
