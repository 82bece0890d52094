#include "commands/CommandsGenericSearch.h"

#include "base/Error.h"
#include "base/Output.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "modular/ModularFileNames.h"
#include "search/SearchSMGeneric.h"
#include "string/StringTheory.h"

namespace {

using commands::intArgument;

// The colour-stack range of both searches: none for all, or a_min and a_max; 0 set, otherwise
// the handler's result.
int setColourRange(const char* routine, void** commands, int parnum) {
    if (parnum == 1) {
        Alert(routine, 0, 100302, "Command requires 0 or 2 parameters");
        return -1;
    }
    if (parnum < 2) {
        setFirstBoundary(-1);
        setLastBoundary(-1);
        return 0;
    }
    // -1 is the search's own mark for the whole range; no negative label may reach it.
    for (int k = 0; k < 2; k++)
        if (intArgument(commands, k) < 0) {
            Alert(routine, 1, 100302, "Label %d out of range", intArgument(commands, k));
            return 1;
        }
    setFirstBoundary(intArgument(commands, 0));
    setLastBoundary(intArgument(commands, 1));
    return 0;
}

int COM_search_generic_sm(void** commands, int parnum) {
    setSusySearch(1);
    if (const int r = setColourRange("COM_search_generic_sm", commands, parnum))
        return r;
    FindSM(nullptr);
    return -parnum;
}

int COM_find_tachyonfree_sm(void** commands, int parnum) {
    if (const int r = setColourRange("COM_find_tachyonfree_sm", commands, parnum))
        return r;
    setSusySearch(0);
    if (CheckExtensionChirality()) {
        setTachyonFunction(findTachyonFreeSM);
        checkTachyon(1, 1);
    } else {
        Print("non-chiral\n");
        PrintNoRepeat("This extension is non-chiral; SM spectrum cannot occur", "");
    }
    return -parnum;
}

const CommandDefinition genericSearchCommands[] = {
    {"search generic_sm", "(int a_min)(int a_max)", COM_search_generic_sm,
     "Try to find the generic 4-stack standard model\nIf arguments a_min and a_max are given, only "
     "boundaries a\nwith a_min <= a < a_max are considered for the first (QCD) stack"},
    {"search non_susy_sm", "(int a_min)(int a_max)", COM_find_tachyonfree_sm,
     "Check if this string theory has a tachyonfree standard model.\nThis will check the string "
     "theory under consideration,\nas well as all its simple current orientifolds.\nIf arguments "
     "a_min and a_max are given, only boundaries a\nwith a_min <= a < a_max are considered for "
     "the first (QCD) stack"},
};

} // namespace

void printCurrentCY(FILE* stream) {
    std::fprintf(stream, "%s\n", CurrentCY.c_str());
}

void installGenericSearchCommands() {
    addCommandFamily(CommandFamily::Search, genericSearchCommands);
    setCurrentCYPrinter(printCurrentCY);
}
