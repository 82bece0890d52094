// Entering a tensor product: "tensor", the factors ("g" numerator, "h" denominator), the
// simple-current combinations ("current") and the resets; and what only a tensor product shows:
// its chiral algebra, the decomposition of a field into label combinations, and the field a
// combination belongs to.
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <string>
#include <vector>

using namespace commands;

namespace {

const char* typedWord(void** commands) {
    return static_cast<const char*>(commands[-1]);
}

// The label text of each factor: a column of "Spectrum" per factor, the last one repeated.
bool decompositionColumns(void** commands, int parnum, TensorProduct* TP,
                          std::vector<COL_CONT>& functions) {
    TableData* spectrum = findTable("Spectrum");
    for (int k = 0; k < TP->NTensor; k++) {
        const char* name =
            parnum > 1 ? textArgument(commands, std::min(k + 1, parnum - 1)) : "Label";
        ColumnData* col = spectrum ? findColumn(spectrum, name) : nullptr;
        if (!col)
            return false;
        if (col->init && col->init(getTensorFactor(TP, k)) == 0) {
            Alert("COM_browse_decomp", 0, 100301, "Data for factor %d not available", k);
            return false;
        }
        functions.push_back(col->content);
    }
    return true;
}

// While factors and currents are entered, field labels are not limited.
void enterUnlimited(TensorProduct* TP) {
    setCurrentTotals(unlimitedPrimaries(), NumberOfTensorSimpleCurrents(TP));
}

// Twisted algebras (B-tilde included) and the minimal fixed-point theories have no place in a
// product; N=2 minimal models and permutation orbifolds of untwisted blocks have.
bool acceptedAsFactor(const SpectrumData* sd) {
    const int kind = sd->type % 1000;
    return kind <= 10 || kind == 27;
}

int addCosetFactor(void** commands, int parnum, int isDenominator) {
    if (getCosetMode() != 1) {
        Alert("addCosetFactor", 0, 100201, "Switching to tensor mode");
        Alert("addCosetFactor", 1, 100218,
              "(To avoid this message use the \"tensor\" command to switch modes)");
        COM_tensor(nullptr, 0);
    }
    TensorProduct* TP = getCurrentTensor();
    enterUnlimited(TP);
    const int rc = COM_algebra(commands, parnum);
    if (rc > 0)
        return 1;
    SpectrumData* sd = getCurrentSD();
    if (!acceptedAsFactor(sd)) {
        // Not at the site of the note above, which is silenced after its first showing.
        Alert("addCosetFactor", 2, 100301, "Tensor products of twisted algebras are not accepted");
        return 1;
    }
    addTensorFactor(TP, sd, isDenominator);
    disableModular();
    return rc;
}

// The words below "g" and "h": the block kinds, with their parameters and help.
struct FactorWord {
    const char* word;
    const char* parms;
    const char* help;
    bool numeratorOnly;
};

const FactorWord factorWords[] = {
    {"cft", "[CFT_name]", "Load cft \"CFT_name\".", false},
    {"minimal", "[N_susy N][level k]", "Minimal model with \"N\" Supersymmetries and level k.",
     true},
    {"orbifold", "[pos_int N]", "$Z_2$ orbifold of $U_{2N}$.", true},
    {"a", "[rank r][level k]", "Type A.", false},
    {"b", "[rank r][level k]", "Type B.", false},
    {"c", "[rank r][level k]", "Type C.", false},
    {"d", "[rank r][level k]", "Type D.", false},
    {"e", "[rank r][level k]", "Type E.", false},
    {"f", "[rank r][level k]", "Type F.", false},
    {"g", "[rank r][level k]", "Type G.", false},
    {"at", "[rank r][level k]", "Type A (twisted).", false},
    {"bt", "[rank r][level k]", "Type B (twisted).", false},
    {"bc", "[rank r][level k]", "Type B (twisted, modified).", false},
    {"ct", "[rank r][level k]", "Type C (twisted).", false},
    {"ft", "[rank r][level k]", "Type F (twisted).", false},
    {"gt", "[rank r][level k]", "Type G (twisted).", false},
    // The radius is the number of primaries.
    {"u", "[radius R]", "Free boson on a circle, with R primaries.", false},
};

const CommandDefinition modeCommands[] = {
    {"tensor", "", COM_tensor, "Switch to tensor mode;\nDisplay factors and simple currents"},
    {"reset tensor", "", COM_reset, "Reset tensor mode."},
    {"reset currents", "", COM_reset_currents, "Reset currents."},
    {"current", "(fcur current_1)...(fcur current_n)", COM_current,
     "Add simple current combination."},
};

const CommandDefinition browseCommands[] = {
    {"browse chiral_algebra", "", COM_browse_chiral, "Display chiral algebra."},
    {"browse decomposition", "[field i](col_1)...(col_n)", COM_browse_decomp,
     "Display decomposition of representation \"i\"."},
    {"browse groundstate", "[field i](col_1)...(col_n)", COM_browse_decomp,
     "Display decomposition of ground state\nof representation \"i\"."},
};

const CommandDefinition identifyCommands[] = {
    {"identify", "(fprim lbl_1)...(fprim lbl_n)", COM_identify,
     "Find orbit in which primary combination occurs (if any)."},
};

// The "g" and "h" commands; their words must outlive registration.
std::deque<std::string> factorCommandWords;
std::vector<CommandDefinition> factorCommands;

void makeFactorCommands() {
    for (const char* prefix : {"g", "h"})
        for (const FactorWord& w : factorWords) {
            const bool numerator = prefix[0] == 'g';
            if (w.numeratorOnly && !numerator)
                continue;
            factorCommandWords.push_back(std::string(prefix) + " " + w.word);
            factorCommands.push_back(
                {factorCommandWords.back().c_str(), w.parms, numerator ? COM_g : COM_h, w.help});
        }
}

} // namespace

int COM_tensor(void**, int) {
    setCosetMode(1);
    disableCoset();
    enableCoset();
    TensorProduct* TP = getCurrentTensor();
    Print("Mode: ");
    printTensorData(TP);
    Spectrum_Computed = 0;
    if (TP->NTensor > 0)
        setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    else
        disableModular();
    return 0;
}

int COM_g(void** commands, int parnum) {
    TensorChanged();
    return addCosetFactor(commands, parnum, 0);
}

int COM_h(void** commands, int parnum) {
    TensorChanged();
    return addCosetFactor(commands, parnum, 1);
}

int COM_current(void** commands, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    const int n = TP->NTensor;
    if (parnum < n) {
        Alert("COM_current", 0, 100301, "Too few current components");
        return 1;
    }
    std::vector<int> J(static_cast<std::size_t>(n));
    for (int i = 0; i < n; i++)
        J[static_cast<std::size_t>(i)] = intArgument(commands, i);
    if (addNewCurrent(TP, J.data()) != 0)
        return 1;
    enterUnlimited(TP);
    disableModular();
    return -parnum;
}

int COM_reset(void**, int) {
    resetCoset(getCurrentTensor());
    setCosetMode(1);
    TensorChanged();
    enableCoset();
    return COM_tensor(nullptr, 0);
}

namespace commands {

bool refuseUncomputedField(const char* routine, int position, int field) {
    const int rows = CT_spectrumRows(getCurrentTensor());
    if (field < rows)
        return false;
    if (rows == 0)
        Alert(routine, position, 100301, "No spectrum computed; type \"compute spectrum\" first");
    else
        Alert(routine, position, 100301, "Field %d does not exist (%d fields)", field, rows);
    return true;
}

} // namespace commands

int COM_reset_currents(void**, int) {
    resetCurrents(getCurrentTensor());
    return COM_tensor(nullptr, 0);
}

int COM_browse_chiral(void**, int parnum) {
    browseChiral(getCurrentTensor());
    return -parnum;
}

int COM_browse_decomp(void** commands, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    const int field = intArgument(commands, 0);
    if (refuseUncomputedField("COM_browse_decomp", 1, field))
        return 1;
    std::vector<COL_CONT> functions;
    if (!decompositionColumns(commands, parnum, TP, functions))
        return 1;
    const int groundstate = std::tolower(static_cast<unsigned char>(typedWord(commands)[0])) == 'g';
    browseDecomp(TP, field, groundstate, functions.data());
    return -parnum;
}

int COM_identify(void** commands, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    const int n = TP->NTensor;
    if (parnum < n) {
        Alert("COM_identify", 0, 100301, "Too few current components");
        return 1;
    }
    // Without the spectrum of the present factors and currents no orbit can be found.
    if (TP->InputDataChanged) {
        Alert("COM_identify", 1, 100301, "No spectrum computed; type \"compute spectrum\" first");
        return 1;
    }
    std::vector<int> v(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 0; i < n; i++)
        v[static_cast<std::size_t>(i)] = intArgument(commands, i);
    const int f = IdentifyOrbit(TP, v.data());
    if (getReturnToBuffer() > 0) {
        Print("%d\n", f);
        return -parnum;
    }
    if (f < 0) {
        Print("This combination is projected out\n");
        return -parnum;
    }
    Print("This combination belongs to field %d\n", f);
    if (StabilizerOrder(TP, f) > 1)
        Print("(This field is resolved into %d irreducible components)\n", StabilizerOrder(TP, f));
    return -parnum;
}

void installTensorCommands() {
    if (factorCommands.empty())
        makeFactorCommands();
    addCommandFamily(CommandFamily::Theory, modeCommands);
    addCommandFamily(CommandFamily::Theory, factorCommands);
    addCommandFamily(CommandFamily::Browse, browseCommands);
    addCommandFamily(CommandFamily::String, identifyCommands);
}
