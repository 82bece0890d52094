// The commands of exceptional invariants: "make bulk exceptional", the Klein bottle choice
// ("select klein", "select klein nr") and search ("search Klein_bottle" and its forms), and
// "select boundary_set", and the boundary search: "search boundaries", "try boundary" and
// "assemble".
#include "commands/CommandsExceptional.h"

#include "commands/Commands.h"
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "boundary/CrossBoundSearch.h"

#include <cstdlib>
#include <string>
#include <vector>

using commands::intArgument;
using commands::textArgument;

namespace {

// The entries of "select klein", regrown to the number of fields plus 10.
std::vector<int> Klein;

bool refusedForSimpleCurrents() {
    if (!(*getCurrentBulk())->simpleCurrentInvariant)
        return false;
    Alert("setKleinBottle", 0, 100301,
          "Klein bottle choices are only allowed for exceptional MIPF's");
    return true;
}

// A value against the standard one d: warnings only, the value is taken.
void warnAboutValue(int label, int value, int d) {
    const int size = std::abs(value);
    if (size > d)
        Alert("COM_select_klein", 1, 100201, "Klein bottle %d out of range (%d > %d)", label, size,
              d);
    if ((size - d) % 2 != 0)
        Alert("COM_select_klein", 2, 100201, "Klein bottle %d has different parity than diagonal",
              label);
}

} // namespace

int COM_make_except(void**, int parnum) {
    makeBulkExceptional();
    return -parnum;
}

int COM_select_klein(void** commands, int parnum) {
    if (refusedForSimpleCurrents())
        return 1;
    const int N = getTotalPrimaries();
    if (Klein.size() < static_cast<std::size_t>(N) + 10)
        Klein.resize(static_cast<std::size_t>(N) + 10);
    resetExceptionalKleinBottle(Klein.data());
    for (int k = 0; k < parnum; k++) {
        const char* entry = textArgument(commands, k);
        int label = 0, value = 0;
        // A label outside the fields would be written past the vector.
        if (!commands::readAssignment(entry, &label, &value) || label < 0 || label >= N) {
            Alert("COM_select_klein", 0, 100302, "Invalid assignment: %s", entry);
            return -1;
        }
        int& slot = Klein[static_cast<std::size_t>(label)];
        warnAboutValue(label, value, slot);
        slot = value;
    }
    setKleinBottle(Klein.data());
    return -parnum;
}

int COM_select_klein_nr(void** commands, int parnum) {
    if (refusedForSimpleCurrents())
        return 1;
    storedKleinBottle(intArgument(commands, 0));
    return -parnum;
}

int COM_select_bound(void** commands, int parnum) {
    if (selectBoundary(intArgument(commands, 0), 0) == 0)
        Alert("COM_select_bound", 0, 100302, "Number out of range");
    return -parnum;
}

int COM_search_Klein(void**, int parnum) {
    searchKlein(0, 0);
    return -parnum;
}

int COM_search_Klein_kbc(void**, int parnum) {
    searchKlein(1, 0);
    return -parnum;
}

int COM_search_Klein_trace(void**, int parnum) {
    searchKlein(0, 1);
    return -parnum;
}

int COM_search_Klein_all(void**, int parnum) {
    searchKlein(1, 1);
    return -parnum;
}

int COM_try_bound(void** commands, int parnum) {
    std::string limits = textArgument(commands, 0);
    const int added = tryBoundary(limits.data());
    if (added == 0)
        Print("No (new) boundaries added\n");
    else if (added == 1)
        Print("New boundary added\n");
    else if (added > 1)
        Print("%d new boundaries added\n", added);
    return -parnum;
}

int COM_attempt_bound(void** commands, int parnum) {
    attemptBoundaries(parnum > 0 ? intArgument(commands, 0) : 2);
    return -parnum;
}

int COM_assemble(void**, int parnum) {
    assembleBoundarySet(0);
    return -parnum;
}

namespace {

const CommandDefinition invariantCommands[] = {
    {"make bulk exceptional", "", COM_make_except,
     "Regard the current bulk invariant as an exceptional invariant."},
};

const CommandDefinition kleinCommands[] = {
    {"select klein", "(entry_1)...(entry_n)", COM_select_klein,
     "Set exceptional Klein bottles.\nEntries are of the form \"lbl:value\". Missing entries "
     "are\nset equal $Z_{ii}$."},
    {"select klein nr", "[non_neg_int nr]", COM_select_klein_nr,
     "Select exceptional Klein bottle \"nr\" from the list.\nobtained with \"search "
     "klein_bottle\".\n"},
    {"select boundary_set", "[non_neg_int nr]", COM_select_bound,
     "Select boundary set \"nr\" from the list.\nobtained with \"search boundaries\".\n"},
    {"search Klein_bottle", "", COM_search_Klein,
     "Search for Klein bottle signs consistent with Ishibashi states."},
    {"search Klein_bottle kbc", "", COM_search_Klein_kbc,
     "Search for Klein bottle signs consistent with Ishibashi states\nand the Klein bottle "
     "constraint."},
    {"search Klein_bottle trace", "", COM_search_Klein_trace,
     "Search for Klein bottle signs consistent with Ishibashi states\nand satisfying the trace "
     "formula."},
    {"search Klein_bottle all", "", COM_search_Klein_all,
     "Search for Klein bottle signs consistent with Ishibashi states\nand satisfying the trace "
     "formula and the Klein bottle constraint."},
};

const CommandDefinition searchCommands[] = {
    {"search boundaries", "(pos_int Maxloop)", COM_attempt_bound,
     "Attempt to determine boundary coefficients given a bulk invariant.\n\"Maxloop\" is the "
     "maximal loop size.\n\"Methods\" chooses between full loop search (value 0)\nand the "
     "shortcut (value 1)."},
    {"try boundary", "[limits]", COM_try_bound,
     "Try a boundary \"a\", specified by a set of annuli $A^i_{aa}$\nInput of the form 1,2,0:2,3 "
     "means $A^0=1$, $A^1=2$,\n$A^2$ ranges from 0 to 2 (inclusive), $A^3=3$."},
    {"assemble", "", COM_assemble,
     "Try to assemble a complete set of boundaries using previous\nresults of \"try boundary\"."},
};

} // namespace

void installExceptionalCommands() {
    addCommandFamily(CommandFamily::Invariants, invariantCommands);
    addCommandFamily(CommandFamily::Orientifold, kleinCommands);
    addCommandFamily(CommandFamily::Boundary, searchCommands);
}
