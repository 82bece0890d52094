// The heterotic commands: they check what the user typed and hand it to the heterotic module.
#include "commands/CommandsHeterotic.h"

#include "base/Error.h"
#include "base/Terminal.h"
#include "commands/CommandsInternal.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "string/Heterotic.h"
#include "tensor/Coset.h"

#include <vector>

using commands::intArgument;
using commands::textArgument;

namespace {

const CommandDefinition heteroticCommands[] = {
    {"compute heterotic", "", COM_compute_heterotic,
     "Heterotic massless spectrum computation\nThis command can be used to compute genuine "
     "heterotic spectra\nwith distinct left and right extensions\nThis only works in the absence "
     "of extension currents"},
    {"add filter", "(fcur current_1)...(fcur current_n)", COM_filter,
     "Add simple current combination to heterotic filter."},
    {"filter random", "[int depth]", COM_filter_random,
     "Add \"depth\" random simple currents combination to heterotic filter."},
    {"reset filter", "", COM_reset_filter, "reset heterotic filter."},
    {"compute filter", "", COM_compute_filter, "Compute the heterotic filter"},
    {"pattern algebra", "(int mult_1)...(int mult_n)", COM_pattern_algebra,
     "Add algebra pattern. The integers \"mult_i\" are\nmultiplicities of roots, including "
     "dimensions."},
    {"pattern reset", "", COM_pattern_reset, "reset algebra pattern recognizer."},
    {"name rep", "(name)(int rep_1)...(int rep_n)", COM_set_repname,
     "Specify a name for the representation.Without parameters: reset all names."},
    {"select rep", "(int rep_1)...(int rep_n)", COM_sel_rep,
     "Specify selected representations for heterotic spectrum display.These are representations "
     "of the right algebra for which the spectrum is shownWithout parameters: reset\n"},
};

std::vector<int> intArguments(void** commands, int from, int n) {
    std::vector<int> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; i++)
        v[static_cast<std::size_t>(i)] = intArgument(commands, from + i);
    return v;
}

// The order of factor k's simple-current group.
int centerOrder(TensorProduct* TP, int k) {
    const Discrete_Group* dg = TP->TensorFactors[k]->SimpleCurrents;
    return dg ? dg->Order : 1;
}

} // namespace

int COM_compute_heterotic(void**, int parnum) {
    return ComputeHeterotic(getCurrentTensor()) ? 1 : -parnum;
}

int COM_filter(void** commands, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    const int n = TP->NTensor;
    if (parnum < n || n == 0) {
        Alert("COM_filter", 0, 100301, "Too few current components");
        return 1;
    }
    std::vector<int> J = intArguments(commands, 0, n);
    printVec(n, J.data(), "adding");
    addNewFilterCurrent(TP, J.data());
    return -parnum;
}

int COM_filter_random(void** commands, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    const int n = TP->NTensor;
    const int depth = parnum > 0 ? intArgument(commands, 0) : 0;
    std::vector<int> J(static_cast<std::size_t>(n));
    // Any depth is accepted: the rounds show their progress and end at the user's stop.
    const char* title = "Random filter currents";
    startProgressInfo(title, depth, 1);
    for (int d = 0; d < depth && n > 0; d++) {
        if (stopSignal == 1 || incrementProgressInfo())
            break;
        do {
            for (int k = 0; k < n; k++)
                J[static_cast<std::size_t>(k)] =
                    randomNumber(centerOrder(TP, k)) % centerOrder(TP, k);
        } while (!CT_effectiveCenterCheck(TP, J.data()));
        addNewFilterCurrent(TP, J.data());
    }
    stopProgressInfo(title);
    return -parnum;
}

int COM_reset_filter(void**, int parnum) {
    resetFilterCurrents(getCurrentTensor());
    return -parnum;
}

int COM_compute_filter(void**, int parnum) {
    return ComputeFilter(getCurrentTensor(), 0) ? 1 : -parnum;
}

int COM_pattern_algebra(void** commands, int parnum) {
    const int roots = getNumberOfPatternRoots();
    if (parnum != roots || roots == 0) {
        Alert("COM_pattern_root", 0, 100302, "Incorrect number of roots (should be %d)", roots);
        return 1;
    }
    std::vector<int> m = intArguments(commands, 0, parnum);
    addPatternAlgebra(m.data());
    return -parnum;
}

int COM_pattern_reset(void**, int parnum) {
    resetPatterns();
    return -parnum;
}

int COM_set_repname(void** commands, int parnum) {
    if (parnum == 0) {
        resetRepNames();
        return 0;
    }
    TensorProduct* TP = getCurrentTensor();
    if (refuseHeteroticSetup(TP, "COM_set_repname", 0))
        return 1;
    const int n = *commands::SM;
    if (parnum < n + 1) {
        Alert("COM_set_repname", 0, 100301, "Too few current components");
        return 1;
    }
    for (int k = 0; k < n; k++)
        SM_initConjugates(TP->TensorFactors[k]);
    std::vector<int> labels = intArguments(commands, 1, n);
    if (addNewRepresentationName(TP, textArgument(commands, 0), labels.data()))
        return 1;
    return -parnum;
}

int COM_sel_rep(void** commands, int parnum) {
    if (parnum == 0) {
        resetSelectedReps();
        return 0;
    }
    const int n = *commands::NF;
    if (parnum != n) {
        Alert("COM_sel_rep", 0, 100302,
              "incorrect number of representation components (required: %d)", n);
        return 1;
    }
    std::vector<int> labels = intArguments(commands, 0, n);
    addNewSelectedRep(labels.data());
    return -parnum;
}

void installHeteroticCommands() {
    addCommandFamily(CommandFamily::String, heteroticCommands);
}
