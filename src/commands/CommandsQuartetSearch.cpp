#include "commands/CommandsQuartetSearch.h"

#include "base/Error.h"
#include "base/Output.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "search/ZNX_SearchSM.h"
#include "string/SearchPreselection.h"

#include <vector>

using commands::intArgument;

namespace {

// The most types "search standard_model" passes; more run the standard list.
constexpr int MaxChosenTypes = 8;
// Basic types only: the Pati-Salam ones come through the standard list.
constexpr int MaxChosenType = 7;
// The statistics table holds 20 type slots.
constexpr int MaxSolutionType = 19;
// Orientifold, type and the four stacks a to d.
constexpr int MaxSolutionParameters = 6;

int commandResult(int result, int parnum) {
    return result > 0 ? result : -parnum;
}

using Preselect = void (*)(int);
constexpr Preselect BoundaryPreselections[] = {
    setBoundary_a_Preselection, setBoundary_b_Preselection, setBoundary_c_Preselection,
    setBoundary_d_Preselection};

const CommandDefinition quartetSearchCommands[] = {
    {"search sm_solution", "[int ori][int type](int bnd_a)...(int bnd_d)", COM_search_sm_ori,
     "Try to find the standard model of types \"type_1\"for orientifold nr \"ori\" (in the old "
     "numbering system)Optional arguments: only consider listed boundaries"},
    {"search standard_model", "(int type_1)...(int type_n)", COM_search_sm,
     "Try to find the standard model of types \"type_1\" to \"type_n\"(Without argument: search "
     "for all types)."},
};

} // namespace

int COM_search_sm(void** commands, int parnum) {
    if (parnum == 0 || parnum > MaxChosenTypes)
        return commandResult(SearchSM(nullptr), parnum);
    // Kept between calls, as the search reads the list while it runs.
    static std::vector<int> types;
    types.clear();
    for (int k = 0; k < parnum; k++) {
        const int type = intArgument(commands, k);
        // A negative type would end the list early or index the statistics before its start.
        if (type < 0 || type > MaxChosenType) {
            Alert("COM_search_sm", 0, 100302, "Invalid type: %d", type);
            return 1;
        }
        types.push_back(type);
    }
    types.push_back(-1);
    setOrientifoldPreselection(-1);
    return commandResult(SearchSM(types.data()), parnum);
}

int COM_search_sm_ori(void** commands, int parnum) {
    // Refused before anything is set, so a refused command changes nothing.
    if (parnum > MaxSolutionParameters) {
        Print("Too many parameters\n");
        return 1;
    }
    const int type = intArgument(commands, 1);
    if (type < 0 || type > MaxSolutionType) {
        Alert("COM_search_sm_ori", 0, 100302, "Invalid type: %d", type);
        return 1;
    }
    static int typeList[2];
    typeList[0] = type;
    typeList[1] = -1;
    setOrientifoldPreselection(intArgument(commands, 0));
    for (int k = 2; k < parnum; k++)
        BoundaryPreselections[k - 2](intArgument(commands, k));
    return commandResult(SearchSM(typeList), parnum);
}

void installQuartetSearchCommands() {
    addCommandFamily(CommandFamily::Search, quartetSearchCommands);
}
