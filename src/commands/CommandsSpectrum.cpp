// The spectrum of the current theory: its computation (in full, restricted to massless fields or
// to simple currents), the mode, counts, and the labels and dimensions of the fields of a block.
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "commands/CommandsInvariants.h"
#include "lie/Tarvik.h"
#include "modular/Modular.h"
#include "numeric/LargeInteger.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <cmath>
#include <vector>

using namespace commands;

namespace commands {

void printCFTLine() {
    const int currents = totalCurrents();
    if (currents > 1)
        Print("CFT %s; %d primaries (%d simple currents)\n", getCFTname(), totalPrimaries(),
              currents);
    else
        Print("CFT %s; %d primaries\n", getCFTname(), totalPrimaries());
}

// The totals read the product's counts, whatever its last computation left.
void useProductCounts(TensorProduct* TP) {
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
}

// Under "Super" the extension is supersymmetric when some chiral-algebra element of weight 1 has
// a first-factor label 1 modulo 4 (a supercurrent).
void findSupercurrent(TensorProduct* TP) {
    TP->Susy = 0;
    if (!super || *super != 1)
        return;
    for (int m = 0; m < TP->ChiralAlgebra->Nfill; m++) {
        const int* J = rowOf(TP->ChiralAlgebra, m);
        if (TP->NTensor > 0 && J[0] % 4 == 1 && std::fabs(tensorWeight(TP, J) - 1.0) <= 1e-7) {
            Susic = 1;
            TP->Susy = 1;
            return;
        }
    }
}

} // namespace commands

namespace {

// False after the notice when the computation stopped.
bool computeProduct(TensorProduct* TP) {
    const int rc = ZNX && *ZNX ? computeTensorSpectrum_ZNX_VERSION(TP) : computeTensorSpectrum(TP);
    useProductCounts(TP);
    if (rc == -1) {
        Print("Spectrum computation aborted; Modular properties not available\n");
        return false;
    }
    return true;
}

// In single-algebra mode a restricted computation is the full one.
int computeInsteadOfRestricted(const char* routine, const char* message) {
    Alert(routine, 0, 100201, "%s", message);
    return COM_compute(nullptr, 0);
}

// Untwisted affine algebras are named without their extended label, which comes last.
int labelsExpected(const SpectrumData* sd) {
    return sd->type >= 1 && sd->type <= 5 ? sd->RepSize - 1 : sd->RepSize;
}

const CommandDefinition spectrumCommands[] = {
    {"status", "", COM_status, "Show mode"},
    {"compute spectrum", "", COM_compute, "Compute complete spectrum"},
    {"compute massless_spectrum", "", COM_compute_massless,
     "Compute CFT spectrum keeping only and all states\nof conformal weight at most 1 (the "
     "physical "
     "state condition\nis not applied; \"display massless\" applies it)."},
    {"compute simple_current_spectrum", "", COM_compute_simple, "Compute simple current spectrum"},
    {"supersymmetric", "", COM_susic, "Return 1 of the current extension is supersymmetric"},
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

int COM_compute(void**, int parnum) {
    if (Spectrum_Computed == 1)
        return 0;
    if (getCosetMode() == 1) {
        if (!computeProduct(getCurrentTensor()))
            return -parnum;
    } else {
        // A block's spectrum was made when the store created it.
        makeBlockCurrent(getCurrentSD());
    }
    printCFTLine();
    Susic = 0;
    if (getCosetMode() == 1)
        findSupercurrent(getCurrentTensor());
    enableModular();
    return 0;
}

int COM_compute_massless(void**, int parnum) {
    if (getCosetMode() != 1)
        return computeInsteadOfRestricted(
            "COM_compute_massless",
            "In single algebra mode this command is\n equivalent to a full spectrum computation");
    TensorProduct* TP = getCurrentTensor();
    setGenuineCoset(TP);
    if (TP->genuineCoset) {
        Alert("COM_compute_massless", 0, 100201, "This command is not available for coset CFT's\n");
        return -parnum;
    }
    const int rc = computeMasslessTensorSpectrum(TP);
    useProductCounts(TP);
    if (rc == -1) {
        Print("Computation aborted\n");
        return -parnum;
    }
    printCFTLine();
    Spectrum_Computed = 2;
    return 0;
}

int COM_compute_simple(void**, int parnum) {
    if (getCosetMode() != 1)
        return computeInsteadOfRestricted(
            "COM_compute_simple",
            "In single algebra mode this command is equivalent to a full spectrum computation");
    TensorProduct* TP = getCurrentTensor();
    const int rc = computeSimpleCurrentTensorSpectrum(TP);
    useProductCounts(TP);
    if (rc == -1) {
        Print("Simple current spectrum computation aborted\n");
        return -parnum;
    }
    if (totalCurrents() < 2)
        Print("Number of primaries: %d\n", totalPrimaries());
    else
        Print("Number of primaries: %d (Simple currents: %d)\n", totalPrimaries(), totalCurrents());
    Spectrum_Computed = 3;
    return 0;
}

int COM_susic(void**, int) {
    Print("%d\n", Susic);
    return 0;
}

namespace commands {

void installSpectrumCommands() {
    addCommandFamily(CommandFamily::Spectrum, spectrumCommands);
}

} // namespace commands
