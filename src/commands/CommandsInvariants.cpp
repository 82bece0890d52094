// The commands of the bulk invariant store: storing, browsing, transposing, conjugating and
// multiplying invariants, and the criteria under which invariants are selected. The criteria
// setters keep the lists they are given, so each command owns its list and hands it over anew
// whenever it is used.
#include "commands/CommandsInvariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "commands/CommandsInternal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularExtensions.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

using namespace commands;

namespace {

// Each list is regrown to what it needs plus this many entries, and never shrunk.
constexpr int ListSlack = 10;
constexpr int BrowseAllTerms = 200000;

const char* textArgument(void** params, int parnum, int i) {
    return parnum > i ? static_cast<const char*>(params[i]) : nullptr;
}

BulkInvariant* currentInvariant() {
    if (!CurrentBulkPointer)
        CurrentBulkPointer = getCurrentBulk();
    return *CurrentBulkPointer;
}

int* listOfSize(GuardedArray<int>& list, int n) {
    if (!list.reserved() || list.X_oldsize < n + 1)
        list.reserve(n + 1 + ListSlack);
    return list.X;
}

} // namespace

// ---- Storing, browsing and combining ----

int COM_store_bulk(void** params, int parnum) {
    return storeBulkInvariant(textArgument(params, parnum, 0), currentInvariant(), 1, 1) ? -parnum
                                                                                         : 1;
}

int COM_list_inv(void**, int parnum) {
    listBulkInvariants();
    return -parnum;
}

int COM_browse_bulkinvariant(void** params, int parnum) {
    const int rc = browseBulk(textArgument(params, parnum, 0), BrowseAllTerms, 1);
    return rc > 0 ? rc : -parnum;
}

int COM_browse_MIPF(void**, int parnum) {
    browseBulk(nullptr, 0, 1);
    return -parnum;
}

int COM_set_conjug(void**, int parnum) {
    setConjugationInvariant();
    return -parnum;
}

int COM_mult_bulk(void** params, int parnum) {
    const int rc =
        multiplyBulkInvariants(textArgument(params, parnum, 0), textArgument(params, parnum, 1),
                               textArgument(params, parnum, 2), 1);
    return rc == 0 ? -parnum : 1;
}

namespace {

// Products found on the way are multiplied as well: the count is read again after each one.
void closeUnderMultiplication(int display) {
    for (int i = 0; i < TotalInvariants(); i++)
        for (int j = 0; j < TotalInvariants(); j++) {
            Print("Computing %d x %d \n", i, j);
            multiplyBulkInvariants(std::to_string(i).c_str(), std::to_string(j).c_str(), nullptr,
                                   display);
        }
}

} // namespace

int COM_close_mult(void**, int parnum) {
    closeUnderMultiplication(0);
    return -parnum;
}

int COM_close_mult_display(void**, int parnum) {
    closeUnderMultiplication(1);
    return -parnum;
}

int COM_transpose_bulk(void** params, int parnum) {
    transposeNamedBulkInvariant(textArgument(params, parnum, 0), textArgument(params, parnum, 1));
    return -parnum;
}

int COM_conj_bulk(void** params, int parnum) {
    conjugateNamedBulkInvariant(textArgument(params, parnum, 0), textArgument(params, parnum, 1));
    return -parnum;
}

int COM_reset_invariants(void**, int parnum) {
    resetInvariantStore();
    return -parnum;
}

int COM_reset_selection(void**, int parnum) {
    resetSelectionCriteria();
    return -parnum;
}

int COM_show_sel_crit(void**, int parnum) {
    displaySelectionCriteria(1);
    return -parnum;
}

// ---- Criteria on the chiral algebras ----

namespace {

// The currents, ended by -1, in the command's own list; no currents clear the criterion.
int setCurrentCriterion(GuardedArray<int>& list, void (*setter)(int*), void** params, int parnum) {
    if (parnum == 0) {
        setter(nullptr);
        return 0;
    }
    int* currents = listOfSize(list, parnum);
    for (int k = 0; k < parnum; k++)
        currents[k] = intArgument(params, k);
    currents[parnum] = -1;
    setter(currents);
    return -parnum;
}

GuardedArray<int> requireLeft{"currents"};
GuardedArray<int> requireRight{"currents"};
GuardedArray<int> presentLeft{"currents"};
GuardedArray<int> presentRight{"currents"};
GuardedArray<int> forbidLeft{"currents"};
GuardedArray<int> forbidRight{"currents"};
GuardedArray<int> requireExtension{"currents"};
GuardedArray<int> pairs{"pairs"};
IntegerList vacuumSelection;

} // namespace

int COM_sel_left(void** params, int parnum) {
    return setCurrentCriterion(requireLeft, setRequireLeft, params, parnum);
}

int COM_sel_right(void** params, int parnum) {
    return setCurrentCriterion(requireRight, setRequireRight, params, parnum);
}

int COM_sel_left_any(void** params, int parnum) {
    return setCurrentCriterion(presentLeft, setRequireLeftAny, params, parnum);
}

int COM_sel_right_any(void** params, int parnum) {
    return setCurrentCriterion(presentRight, setRequireRightAny, params, parnum);
}

int COM_sel_extension(void** params, int parnum) {
    return setCurrentCriterion(requireExtension, setRequireExtension, params, parnum);
}

int COM_forbid_left(void** params, int parnum) {
    return setCurrentCriterion(forbidLeft, setForbidLeft, params, parnum);
}

int COM_forbid_right(void** params, int parnum) {
    return setCurrentCriterion(forbidRight, setForbidRight, params, parnum);
}

namespace {

bool isPrefixOfOff(const char* word) {
    const std::size_t length = std::strlen(word);
    return length <= 3 && strncasecmp(word, "off", length) == 0;
}

// "i:j" with two integers.
bool readPair(const char* text, int* i, int* j) {
    const char* colon = std::strchr(text, ':');
    if (!colon)
        return false;
    const std::string left(text, static_cast<std::size_t>(colon - text));
    return strnumChk(left.c_str(), i) == 0 && strnumChk(colon + 1, j) == 0;
}

} // namespace

int COM_sel_auto(void** params, int parnum) {
    if (parnum == 1 && isPrefixOfOff(textArgument(params, parnum, 0))) {
        setRequireAuto(nullptr);
        return -1;
    }
    int* list = listOfSize(pairs, 2 * parnum);
    for (int k = 0; k < parnum; k++) {
        const char* pair = textArgument(params, parnum, k);
        if (!readPair(pair, &list[2 * k], &list[2 * k + 1])) {
            Alert("COM_sel_auto", 0, 100302, "Invalid argument: %s", pair);
            return 1;
        }
    }
    list[2 * parnum] = -1;
    setRequireAuto(list);
    return -parnum;
}

int COM_set_prim_vacuum(void**, int parnum) {
    initList(&vacuumSelection, 10);
    addToList(&vacuumSelection, 0);
    setPrimarySelection(&vacuumSelection);
    return -parnum;
}

// ---- Loops and the automatic choice ----

namespace {
GuardedArray<char> LoopCommand{"LoopCommand"};
} // namespace

int COM_set_loop_com(void** params, int parnum) {
    const char* command = textArgument(params, parnum, 0);
    if (strncasecmp(command, "off", 3) == 0) {
        setLoopCommand(nullptr);
        return -parnum;
    }
    const int length = static_cast<int>(std::strlen(command));
    if (!LoopCommand.reserved() || LoopCommand.X_oldsize < length + 1)
        LoopCommand.reserve(length + 11);
    std::memcpy(LoopCommand.X, command, static_cast<std::size_t>(length) + 1);
    setLoopCommand(LoopCommand.X);
    return -parnum;
}

int COM_set_autosel(void** params, int) {
    setSelection(intArgument(params, 0));
    return -1;
}

int COM_set_sel_int(void**, int) {
    setSelection(0);
    return 0;
}

int COM_subgroup_start(void** params, int parnum) {
    setSubgroupStart(intArgument(params, 0), intArgument(params, 1));
    return -parnum;
}

// ---- The simple-current search ----

namespace {

GuardedArray<int> generators{"currents"};
GuardedArray<int> chosen{"selection"};

// The closure of the currents fills the list with every element of their subgroup, which holds
// at most the whole center.
int* generatorList(void** params, int parnum) {
    int* list = listOfSize(generators, std::max(parnum, totalCurrents()) + 1);
    for (int k = 0; k < parnum; k++)
        list[k] = intArgument(params, k);
    return list;
}

} // namespace

// Candidates of one subgroup are all counted, not only those of a list of chosen numbers: no
// list can be in force here, as every scan empties it when it ends.
int COM_comp_inv(void** params, int parnum) {
    if (parnum == 0) {
        setMIPFSelection(nullptr);
        buildSelectedSimpleCurrentInvariants();
        return 0;
    }
    if (parnum > totalCurrents()) {
        Alert("COM_comp_inv", 0, 100302, "More generators than total order");
        return 1;
    }
    int* list = generatorList(params, parnum);
    setMIPFSelection(nullptr);
    const int total = ComputeAllSubgroupInvariants(list, parnum, nullptr);
    const int none[] = {-1};
    setMIPFSelection(none);
    Print("\nTotal number: %d\n", total);
    return -parnum;
}

int COM_set_bulk(void** params, int parnum) {
    if (parnum > totalCurrents()) {
        Alert("COM_set_bulk", 0, 100302, "More generators than total order");
        return 1;
    }
    int* list = generatorList(params, parnum);
    int count = 0;
    for (int k = 0; k < parnum; k++) {
        if (effectiveCenterCheck(list[k]))
            list[count++] = list[k];
        else
            Alert("COM_set_bulk", 1, 100302, "Current %d not in effective center; Removed",
                  list[k]);
    }
    if (count == 0) {
        Alert("COM_set_bulk", 2, 100201, "No currents specified; assuming trivial subgroup");
        list[0] = 0;
        count = 1;
    }
    const bool trivial = count == 1 && list[0] == 0;
    if (!selectBulkInvariantInSubgroup(list, count)) {
        if (trivial)
            Print("Diagonal invariant selected\n");
        else
            Print("No invariants satisfying all search criteria were found or selected;\n"
                  "Resetting to trivial\n");
        resetBulk();
    }
    return -parnum;
}

// ---- Invariants given as text and built-in ones ----

int COM_check_invariant(void** params, int parnum) {
    buildInvariant(textArgument(params, parnum, 0), 0);
    return -parnum;
}

int COM_select_invariant(void** params, int parnum) {
    if (buildInvariant(textArgument(params, parnum, 0), 1) == 1) {
        Print("No invariant that satisfies all criteria was found\nResetting to trivial one\n");
        resetBulk();
    }
    return -parnum;
}

namespace {

// The built-in exceptional invariant a non-zero request names on the block: it depends on the
// algebra alone.
int exceptionalLabel(const SpectrumData* sd, int request) {
    if (request == 0)
        return 0;
    static const int levels[3] = {10, 16, 28};
    for (int k = 0; k < 3; k++) {
        if (sd->type == 1 && sd->rank == 1 && sd->level == levels[k])
            return 1 + k;
        if (sd->type == 27 && sd->rank == 2 && sd->level == levels[k])
            return 4 + k;
    }
    Alert("getExceptionalInvariantLabel", 0, 100302, "Invalid exceptional invariant");
    return -1;
}

// The product of the factors' built-in invariants, one request per factor.
void setTensorExceptional(void** params, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    if (parnum != TP->NTensor) {
        Alert("COM_set_exceptional", 3, 100302, "Invalid number of labels; ignored");
        return;
    }
    if (checkForExtension(TP)) {
        Alert("COM_set_exceptional", 4, 100302,
              "Exceptional invariants not defined for extended algebras");
        return;
    }
    std::vector<int> modes(static_cast<std::size_t>(parnum));
    for (int k = 0; k < parnum; k++) {
        modes[static_cast<std::size_t>(k)] =
            exceptionalLabel(getTensorFactor(TP, k), intArgument(params, k));
        if (modes[static_cast<std::size_t>(k)] == -1)
            return;
    }
    buildExceptionalTensorInvariant(modes.data());
}

} // namespace

int COM_find_auto(void**, int parnum) {
    searchAutomorphisms();
    return -parnum;
}

int COM_find_inv(void**, int parnum) {
    searchInvariants();
    return -parnum;
}

int COM_set_exceptional(void** params, int parnum) {
    if (QueryTensor()) {
        setTensorExceptional(params, parnum);
        return -parnum;
    }
    const SpectrumData* sd = getCurrentSD();
    if (!sd)
        return -parnum;
    if (!((sd->type == 1 && sd->rank == 1) || (sd->type == 27 && sd->rank == 2))) {
        Alert("COM_set_exceptional", 0, 100302, "Invalid algebra (type %d, rank %d); ignored",
              sd->type, sd->rank);
        return -parnum;
    }
    if (parnum > 1) {
        Alert("COM_set_exceptional", 1, 100302, "Invalid number of parameters");
        return -parnum;
    }
    const int request = parnum == 1 ? intArgument(params, 0) : 1;
    buildExceptionalInvariant(exceptionalLabel(sd, request));
    return -parnum;
}

int COM_scan_MIPFloop(void** params, int parnum) {
    if (parnum == 0) {
        Alert("COM_scan_MIPFloop", 0, 100302, "No arguments given");
        return 1;
    }
    int* list = listOfSize(chosen, parnum);
    for (int k = 0; k < parnum; k++)
        list[k] = intArgument(params, k);
    list[parnum] = -1;
    orderVectorUp(parnum, list);
    buildMultipleSimpleCurrentInvariants(list, 2);
    return -parnum;
}

int COM_scan_sim(void**, int parnum) {
    buildMultipleSimpleCurrentInvariants(nullptr, 0);
    return -parnum;
}

int COM_load_sim(void**, int parnum) {
    buildMultipleSimpleCurrentInvariants(nullptr, 1);
    return -parnum;
}

namespace {

const CommandDefinition invariantCommands[] = {
    {"search MIPF simple_current", "", COM_comp_inv,
     "list all Modular Invariant Partition Functions\nof simple current type."},
    {"select simple_current_invariant", "(current J_1)(current J_2)...(current J_n)", COM_set_bulk,
     "Compute all invariants for the subgroup generated by all\n"
     "currents under fusion, and prompt for selection.\n"},
    {"generate simple_current_invariants", "(current J_1)(current J_2)...(current J_n)",
     COM_comp_inv,
     "Generate all invariants for the subgroup generated by\n"
     "all currents under fusion.\n"
     "Without parameters: consider all subgroups."},
    {"collect simple_current_invariants", "", COM_load_sim,
     "Load all simple current invariants that respect\n"
     "the selection criteria currently in effect.\n"},
    {"Scan Simple_current_invariants", "", COM_scan_sim,
     "Scan all simple current invariants that respect\n"
     "the selection criteria currently in effect,\n"
     "without storing or comparing them.\n"
     "This command is equivalent to \"Collect Simple_current_invariants\n"
     "but with \"Autostore\" off"},
    {"Scan Invariants", "(non_neg_int sel1)...(non_neg_int seln)", COM_scan_MIPFloop,
     "Scan through the chosen MIPFs.\n"
     "If \"Autostore\" is \"ON\" the numbers \"sel1\" ... \"seln\"\n"
     "correspond to storage positions, if it is \"OFF\" they are\n"
     "sequential labels\n"},
    {"check invariant", "[invariant]", COM_check_invariant,
     "Check the modular invariant \"invariant\"\n"
     "    Syntax of \"invariant\" (example):\n"
     "         $n*(a+b+c)*(d+m*e+f)+(g+h)^2+k*(i)^2$ \n"
     "    where $n,m,k$ are integers and $a-i$ valid labels."},
    {"select invariant", "[invariant]", COM_select_invariant,
     "Set bulk partition function to an explicitly given\n"
     "modular invariant. Format as for \"check invariant\".\n"
     "If \"invariant\" starts with a character it is interpreted\n"
     "as a name of a stored invariant."},
    {"search MIPF automorphism", "", COM_find_auto,
     "search for Modular Invariant Partition Functions\nof automorphism type."},
    {"search MIPF built_in", "", COM_find_inv,
     "list Modular Invariant Partition Functions\nthat are explicitly built in (currently only "
     "for c=1 orbifolds)."},
    {"select exceptional_invariant", "(int nr_1)...(int nr_n)", COM_set_exceptional,
     "In single algebra mode:\n"
     "Set bulk partition function to exceptional invariant \"nr_1\".\n"
     "The value \"nr_1=0\" indicates the diagonal invariant.\n"
     "This command works only for a few special algebras for which\n"
     "exceptional invariants are built in.\n"
     "Default: nr_1 defaults to 1.\n"
     "In tensor mode:\n"
     "Set bulk invariant to the product of invariants \"nr_1\" to \"nr_n\".\n"
     "Defaults: nr_i defaults to 0."},
    {"select conjugation_invariant", "", COM_set_conjug,
     "Set bulk partition function to the conjugation invariant."},
    {"store", "(name)", COM_store_bulk,
     "Store current bulk invariant as \"name\".\n"
     "If no argument is present a name is automatically assigned."},
    {"browse invariants", "", COM_list_inv, "List names of all stored invariants."},
    {"browse bulk_invariant", "(name)", COM_browse_bulkinvariant,
     "Show current bulk invariant, or bulk invariant \"name\"."},
    {"browse MIPF", "(name)", COM_browse_MIPF,
     "Show construction data for current bulk invariant."},
    {"multiply", "[name1][name2](name3)", COM_mult_bulk,
     "Multiply bulk invariants \"name1\" and \"name2\" to yield \"name3\".\n"
     "If not specified, \"name3\" is automatically assigned."},
    {"multiply close", "", COM_close_mult, "Close set of bulk invariants under multiplication."},
    {"multiply close display", "", COM_close_mult_display,
     "Close set of bulk invariants under multiplication and display new items."},
    {"transpose", "(name_1)(name_2)", COM_transpose_bulk,
     "Without parameters: transpose the current bulk invariant.\n"
     "With one parameter: transpose the named invariant and store\n"
     "the result under an automatically generated name.\n"
     "  With two parameters: transpose the invariant \"name_1\"\n"
     "and store the result as \"name_2\"."},
    {"conjugate", "(name_1)(name_2)", COM_conj_bulk,
     "Without parameters: conjugate the current bulk invariant.\n"
     "With one parameter: conjugate the named invariant and store\n"
     "the result under an automatically generated name.\n"
     "  With two parameters: conjugate the invariant \"name_1\"\n"
     "and store the result as \"name_2\"."},
    {"reset invariants", "", COM_reset_invariants, "Reset modular invariant storage."},
    {"reset selection", "", COM_reset_selection, "Reset criteria for modular invariant selection."},
    {"show selection criteria", "", COM_show_sel_crit,
     "Show current settings of criteria used for invariant selection."},
    {"set require left", "(current J_1)(current J_2)...(current J_n)", COM_sel_left,
     "Require presence of all indicated currents in the left chiral algebra"},
    {"set require right", "(current J_1)(current J_2)...(current J_n)", COM_sel_right,
     "Require presence of all indicated currents in the right chiral algebra"},
    {"set present left", "(current J_1)(current J_2)...(current J_n)", COM_sel_left_any,
     "Require presence of at least one of the indicated currentsin the left chiral algebra"},
    {"set present right", "(current J_1)(current J_2)...(current J_n)", COM_sel_right_any,
     "Require presence of at least one of the indicated currentsin the left chiral algebra"},
    {"set forbid left", "(current J_1)(current J_2)...(current J_n)", COM_forbid_left,
     "Forbid presence of indicated currents in the left chiral algebra"},
    {"set forbid right", "(current J_1)(current J_2)...(current J_n)", COM_forbid_right,
     "Forbid presence of indicated currents in the right chiral algebra"},
    {"set require extension", "(current J_1)(current J_2)...(current J_n)", COM_sel_extension,
     "Require presence of all indicated currents in the extension"},
    {"set selection automorphism", "(pair_1)(pair_2)...(pair_n)", COM_sel_auto,
     "Require simple current invariant to be of automorphism type.\n"
     "Parameters of the form i:j require pairing of field \"i\" with field \"j\"\n"
     "Turn off with \"set selection automorphism off.\""},
    {"set Primary_selection vacuum", "", COM_set_prim_vacuum,
     "Set the primary field selection for MIPFs to the vacuum state only."},
    {"set loop_command", "[commandline]", COM_set_loop_com,
     "Set \"commandline\" to be applied to each modular invariant.\n"
     "Choose \"commandline\" equal to \"off\" to turn off."},
    {"set autoselect", "[pos_int choice]", COM_set_autosel,
     "Set modular invariant selection to automatic mode,\n"
     "with automatic selection of invariant \"choice\".\n"
     "The first one encountered has number 1."},
    {"set autoselect off", "", COM_set_sel_int,
     "Set modular invariant selection to interactive mode."},
    {"start subgroup", "[int i][int j]", COM_subgroup_start,
     "Start with MIPF subgroup generator \"i\" and MIPF count at value \"j\""},
};

} // namespace

int COM_tot_inv(void**, int) {
    Print("%d\n", TotalInvariants());
    return 0;
}

void installInvariantCommands() {
    addCommandFamily(CommandFamily::Invariants, invariantCommands);
}
