// The spectrum of the current building block: its computation, the mode, counts, and the labels
// and dimensions of its fields.
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "commands/CommandsInvariants.h"
#include "lie/Tarvik.h"
#include "modular/Modular.h"
#include "numeric/LargeInteger.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <vector>

using namespace commands;

namespace {

int intArgument(void** commands, int i) {
    return *static_cast<int*>(commands[i]);
}

void printCFTLine() {
    const int currents = totalCurrents();
    if (currents > 1)
        Print("CFT %s; %d primaries (%d simple currents)\n", getCFTname(), totalPrimaries(),
              currents);
    else
        Print("CFT %s; %d primaries\n", getCFTname(), totalPrimaries());
}

// Untwisted affine algebras are named without their extended label, which comes last.
int labelsExpected(const SpectrumData* sd) {
    return sd->type >= 1 && sd->type <= 5 ? sd->RepSize - 1 : sd->RepSize;
}

const CommandDefinition spectrumCommands[] = {
    {"status", "", COM_status, "Show mode"},
    {"compute spectrum", "", COM_compute, "Compute complete spectrum"},
    {"total primaries", "", COM_tot_prim, "Return total number of primaries"},
    {"dynkin", "(int i1)...(int in)", COM_getrep,
     "Get the label for representation (i1,...,in).\n"
     "For untwisted affine algebras these are the Dynkin labels without\n"
     "the extended one; otherwise the labels shown by \"display\"."},
    {"dimension", "[field lbl]", COM_getdim, "Get dimension of ground state \"lbl\"."},
    {"total simple_currents", "", COM_tot_cur, "Return total number of simple currents"},
    {"total invariants", "", COM_tot_inv,
     "Return total number of modular invariants stored as\n\"Invariant_n\""},
};

} // namespace

int COM_status(void**, int) {
    if (getCosetMode() == 1) {
        Print("Mode: ");
        printTensorData(getCurrentTensor());
        return 0;
    }
    Print("Mode: Single algebra\n");
    if (getCurrentSD())
        Print("Algebra \"%s\"\n", SM_getAlgebraName(getCurrentSD()));
    return 0;
}

int COM_tot_prim(void**, int) {
    Print("%d\n", totalPrimaries());
    return 0;
}

int COM_tot_cur(void**, int) {
    Print("%d\n", totalCurrents());
    return 0;
}

int COM_getrep(void** commands, int parnum) {
    SpectrumData* sd = getCurrentSD();
    const int expected = labelsExpected(sd);
    if (parnum < expected) {
        Alert("COM_getrep", 0, 100302, "Not enough Dynkin labels");
        return 1;
    }
    if (parnum > expected) {
        Alert("COM_getrep", 1, 100302, "Too many Dynkin labels");
        return -parnum;
    }
    std::vector<int> labels(static_cast<std::size_t>(parnum) + 1, 0);
    for (int i = 0; i < parnum; ++i) {
        labels[static_cast<std::size_t>(i)] = intArgument(commands, i);
        if (labels[static_cast<std::size_t>(i)] < 0 && sd->type < 6) {
            Alert("COM_getrep", 2, 100302, "Negative Dynkin label");
            return 1;
        }
    }
    const int lbl = SM_getLieLabel(sd, labels.data());
    if (lbl < 0) {
        Alert("COM_getrep", 3, 100302, "Representation not found");
        return 1;
    }
    Print("%d\n", lbl);
    return -parnum;
}

int COM_getdim(void** commands, int parnum) {
    if (getCosetMode() != 0 || !getCurrentSD()) {
        Alert("COM_getdim", 0, 100302, "Command only available in single algebra mode");
        return 1;
    }
    SpectrumData* sd = getCurrentSD();
    const fint* dimension = IntegerDim(SM_getRep(sd, intArgument(commands, 0)), sd->type, sd->rank);
    if (!dimension) {
        Alert("COM_getdim", 1, 100302, "No dimension defined for this algebra");
        return 1;
    }
    Print("%s\n", fint_string(dimension));
    return -parnum;
}

int COM_compute(void**, int) {
    if (Spectrum_Computed == 1)
        return 0;
    if (getCosetMode() == 1) {
        Alert("COM_compute", 1, 112311, "Tensor products are not available yet");
        return 0;
    }
    // A block's spectrum was made when the store created it.
    makeBlockCurrent(getCurrentSD());
    printCFTLine();
    Susic = 0;
    enableModular();
    return 0;
}

namespace commands {

void installSpectrumCommands() {
    addCommandFamily(CommandFamily::Spectrum, spectrumCommands);
}

} // namespace commands
