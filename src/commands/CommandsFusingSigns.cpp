// Signs of the fusing solver fixed by hand, and the comparison of a sign-flip file with a gauge.
// "Initialize" exists in every build; the others only with the fusing commands.
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "fusing/Fusing.h"
#include "interpreter/Interpreter.h"

#include <array>

using namespace commands;

int COM_init(void** /*commands*/, int parnum) {
    initializeFixVars();
    return -parnum;
}

int COM_fix(void** commands, int parnum) {
    int labels[6];
    for (int i = 0; i < 6; i++)
        labels[i] = intArgument(commands, i);
    addFixedVariables(labels);
    return -parnum;
}

int COM_check_fusing_signs(void** commands, int parnum) {
    const char* file = textArgument(commands, 0);
    const int gauge = intArgument(commands, 1);
    if (gauge < 0 || gauge > 4) {
        Alert("COM_check_fusing_signs", 0, 112311, "Gauge convention %d is not one of 0 to 4",
              gauge);
        return 1;
    }
    return CheckFusingSignChoice(file, gauge) ? -parnum : 1;
}

namespace {

const std::array<CommandDefinition, 1> fixedSignCommands = {{
    {"Initialize", "", COM_init, "TEMPORARY"},
}};

} // namespace

void installFusingSignCommands() {
    addCommandFamily(CommandFamily::Fusing, fixedSignCommands);
}

void registerFusingSignCommands() {
    initCommand("fusing fix", "[int p][int q][int a][int b][int c][int d]", COM_fix,
                "Fix the sign of F_pq[a b c d] (p = q = d = -1: the braiding sign\n"
                "epsilon_ab^c) to its computed value in every later solver run;\n"
                "\"Initialize\" forgets these.");
    initCommand("fusing signs", "[file][non_neg_int gauge]", COM_check_fusing_signs,
                "Compare the signs of a sign-flip file with those of our gauge in\n"
                "convention 0 to 4, which stays set.");
}
