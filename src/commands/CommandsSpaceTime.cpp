// "check branching", "browse Lorentz" and "browse susy", and the printer of one supersymmetry
// multiplet that the listing levels of the space-time types end in.
#include "commands/CommandsSpaceTime.h"

#include "base/Output.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"

#include <array>

using commands::intArgument;
using commands::textArgument;

namespace {

// The pair of side types printed last; the heading is repeated only when it changes.
struct LastPair {
    bool valid = false;
    std::array<int, 6> types{};
};

LastPair lastPair;

std::array<int, 6> typesOf(const ChiralSusyType* L, const ChiralSusyType* R) {
    return {L->Type, L->Rank, L->Chir, R->Type, R->Rank, R->Chir};
}

void printHeading(int dim, const ChiralSusyType* L, const ChiralSusyType* R) {
    Print("\n------------------------------------------\n");
    Print("Susy type: Left : %s\n", susyname(L));
    Print("           Right: %s\n", susyname(R));
    Print("           Space-Time dimension: %d\n", dim);
    Print("\nThe following representations may occur\n");
}

const CommandDefinition spaceTimeCommands[] = {
    {"check branching", "[pos_int G_type][pos_int G_rank][pos_int H_type][pos_int H_rank]",
     COM_check_branch, "Check the internal branching tables."},
    {"browse susy", "(dim D)(L_susy)(R_susy)(m1)(m2)(int sym)", COM_check_susy,
     "Show spin content of susy representation."},
    {"browse Lorentz", "[dim D]", COM_browse_Lorentz,
     "Explain notation for Lorentz representations\nappearing in D-dimensional super "
     "multiplets."},
};

} // namespace

void displaySusy(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int rep2, int sym,
                 int depth) {
    if (depth < 0) {
        lastPair.valid = false;
        return;
    }
    const std::array<int, 6> types = typesOf(L, R);
    if (depth <= 3 && (!lastPair.valid || lastPair.types != types))
        printHeading(dim, L, R);
    if (depth < 6) {
        char left[8] = "", right[8] = "";
        Print("\nRepresentation: (%s,%s)\n", susyrepname(L, dim, rep1, left),
              susyrepname(R, dim, rep2, right));
    }
    // The flags follow from the two sides; there is no heterotic reading here.
    SusyType ST{L, R, nullptr, nullptr, dim, 0, 0, 1};
    Print("%s", susyRepresentationText(rep1, rep2, sym, &ST).c_str());
    lastPair = {true, types};
}

void printSusyMultiplets(SusyType* ST) {
    lastPair.valid = false;
    displaySusy4(ST->dim, ST->Left, ST->Right, 3);
}

int COM_check_branch(void** commands, int parnum) {
    checkBranchingTable(intArgument(commands, 0), intArgument(commands, 1),
                        intArgument(commands, 2), intArgument(commands, 3));
    return -parnum;
}

int COM_browse_Lorentz(void** commands, int parnum) {
    displayLorentzReps(intArgument(commands, 0));
    return -parnum;
}

int COM_check_susy(void** commands, int parnum) {
    lastPair.valid = false;
    if (parnum == 0) {
        displaySusy1();
        return 0;
    }
    const int D = intArgument(commands, 0);
    if (parnum == 1) {
        displaySusy2(D, 2);
        return -1;
    }
    ChiralSusyType L{}, R{};
    if (getChiralSusyType(textArgument(commands, 1), D, &L) < 0)
        return 1;
    if (parnum == 2) {
        displaySusy3(D, &L, 3);
        return -2;
    }
    if (getChiralSusyType(textArgument(commands, 2), D, &R) < 0)
        return 1;
    if (parnum == 3) {
        displaySusy4(D, &L, &R, 4);
        return -3;
    }
    const int m1 = getMultiplet(textArgument(commands, 3), &L);
    if (m1 == 999)
        return 1;
    if (parnum == 4) {
        displaySusy5(D, &L, &R, m1, 5);
        return -4;
    }
    const int m2 = getMultiplet(textArgument(commands, 4), &R);
    if (m2 == 999)
        return 1;
    const int sym = parnum >= 6 ? intArgument(commands, 5) : 0;
    displaySusy(D, &L, &R, m1, m2, sym, 6);
    return -parnum;
}

void installSpaceTimeCommands() {
    addCommandFamily(CommandFamily::Browse, spaceTimeCommands);
    setDisplaySusy(displaySusy);
}
