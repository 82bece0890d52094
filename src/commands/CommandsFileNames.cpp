// The commands around the output file names: the job marker and the extension number.
#include "commands/CommandsFileNames.h"

#include "base/SystemUtility.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "modular/ModularFileNames.h"
#include "tensor/Coset.h"

#include <cstdio>

using commands::intArgument;

// The marker holds the 8 characters "Finished" and no line end; an old one is overwritten. A file
// that cannot be opened is reported by Fopen.
int COM_finish(void**, int parnum) {
    if (FILE* marker = Fopen(getCurrentOutputFileName(".finish"), "w")) {
        std::fputs("Finished", marker);
        Fclose(marker);
    }
    return -parnum;
}

int COM_assign_extension(void** commands, int parnum) {
    assignExtensionNumber(getCurrentTensor(), intArgument(commands, 0));
    return -parnum;
}

namespace {

const CommandDefinition scanCommands[] = {
    {"finish", "", COM_finish, "Mark end of job."},
};

const CommandDefinition theoryCommands[] = {
    {"assign extension_number", "[non_neg_int nr]", COM_assign_extension,
     "Assign an identification number to an extension"},
};

} // namespace

void installFileNameCommands() {
    addCommandFamily(CommandFamily::Scan, scanCommands);
    addCommandFamily(CommandFamily::Theory, theoryCommands);
}
