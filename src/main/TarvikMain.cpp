// The program: its banner, the one-time set-up, the leading options, the command files given on
// the command line and then the terminal. It ends only through exit.
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "interpreter/TerminalLoop.h"
#include "main/ControlUtility.h"
#include "main/TarvikStartup.h"

int main(int argc, char** argv) {
    enlargeOutputBuffer();
    flushOutputOnAbnormalEnd();
    printBanner(getCurrentHostName(), __DATE__, __TIME__);
    printProcessorNote();
    CPUTime();
    initializeAll();
    if (auto* interactive = static_cast<int*>(getIntParPointer("interactive")))
        *interactive = 1;
    const int first = readLeadingOptions(argc, argv);
    // A background run still ends at Ctrl-C; at the terminal it stops the computation.
    if (!getBackground())
        stopOnInterrupt();
    startSingleAlgebraInput();
    if (first >= argc)
        readFromTerminal();
    runCommandFiles(argc - first, argv + first);
    finishCommandFiles();
}
