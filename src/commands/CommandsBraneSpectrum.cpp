// The open spectrum of a brane configuration given by the user, and the charges of the bulk
// supercurrents on a boundary.
#include "commands/CommandsBraneSpectrum.h"

#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "search/SearchSM.h"
#include "string/OpenSpectrum.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <algorithm>
#include <vector>

using commands::intArgument;
using commands::textArgument;

namespace {

int COM_browse_config(void** params, int parnum) {
    std::vector<int> labels, values;
    for (int k = 0; k < parnum; k++) {
        int label = 0, value = 0;
        if (!commands::readAssignment(textArgument(params, k), &label, &value)) {
            Alert("COM_browse_config", 0, 100302, "Invalid assignment: %s\n",
                  textArgument(params, k));
            return -1;
        }
        // A label beyond the boundaries would index past every per-label table.
        if (label < 0 || label >= TotalBoundaries()) {
            Alert("COM_browse_config", 1, 100302, "Label %d out of range", label);
            return -1;
        }
        // A repeated label would stack twice on one boundary, its multiplicities summed.
        if (std::find(labels.begin(), labels.end(), label) != labels.end()) {
            Alert("COM_browse_config", 2, 100302, "Label %d given twice", label);
            return -1;
        }
        // A multiplicity counts branes: a negative one would make a stack of negative dimension.
        if (value < 0) {
            Alert("COM_browse_config", 3, 100302, "Negative multiplicity %d for label %d", value,
                  label);
            return -1;
        }
        labels.push_back(label);
        values.push_back(value);
    }
    initializeOpenString();
    initSearchMemory();
    ChanPatonData* CPD = generateChanPatonData(
        static_cast<int>(labels.size()), getCurrentOrientifold(), labels.data(), values.data());
    CPD->mode = 1;
    GeneralOpenSectorAnalysis(CPD);
    return -parnum;
}

int COM_susy_local(void** params, int parnum) {
    if (!superstringReading()) {
        Alert("COM_susy_local", 0, 100302, "Not a superstring");
        return 1;
    }
    BulkSusyLocalityCheckForLabel(intArgument(params, 0));
    return -parnum;
}

const CommandDefinition braneSpectrumCommands[] = {
    {"browse brane-spectrum", "(entry_1)...(entry_n)", COM_browse_config,
     "Browse open spectrum for CP labels\nEntry_i is of the form label:value.\nHere \"label\" "
     "refers to the Chan-Paton label \"n_label\",\nand \"value\" is the integer value assigned "
     "to it.\nThe labelling starts with n_0, and unassigned labels are set to zero.\nFor example "
     "\"check tadpole 0:1 17:2\"\nsets n_0 to 1, n_17 to 2,\nand all others to zero."},
};

const CommandDefinition susyLocalityCommands[] = {
    {"check susy_locality", "[bound a]", COM_susy_local,
     "Checks if boundary \"a\" is local with respect to\nthe supersymmetries in the bulk sector "
     "of the MIPF."},
};

} // namespace

void installBraneSpectrumCommands() {
    addCommandFamily(CommandFamily::Tadpole, braneSpectrumCommands);
    addCommandFamily(CommandFamily::Orientifold, susyLocalityCommands);
}
