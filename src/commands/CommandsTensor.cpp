// Entering a tensor product: "tensor", the factors ("g" numerator, "h" denominator), the
// simple-current combinations ("current") and the resets.
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <deque>
#include <string>
#include <vector>

using namespace commands;

namespace {

int intArgument(void** commands, int i) {
    return *static_cast<int*>(commands[i]);
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

int COM_reset_currents(void**, int) {
    resetCurrents(getCurrentTensor());
    return COM_tensor(nullptr, 0);
}

void installTensorCommands() {
    if (factorCommands.empty())
        makeFactorCommands();
    addCommandFamily(CommandFamily::Theory, modeCommands);
    addCommandFamily(CommandFamily::Theory, factorCommands);
}
