// The Modular-mode commands on the Galois symmetry of the current building block: the maps of
// the units and of the other scales, and the search for invariants they combine to.
#include "commands/CommandsGalois.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "commands/CommandsInternal.h"
#include "lie/Galois.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace commands;

namespace {

constexpr int NotForCosets = 112311;
constexpr std::int64_t MaxText = 5000000;

// The block, or null after the refusal while a tensor product is current.
SpectrumData* blockOrRefusal(const char* routine, const char* refusal) {
    SpectrumData* sd = currentBlock();
    if (getCosetMode() != 1 && sd)
        return sd;
    Alert(routine, 1, NotForCosets, "%s", refusal);
    return nullptr;
}

// The room of the text: per map of the block (perField per field and fixed), M maps at most.
int textRoom(SpectrumData* sd, int perField, int fixed) {
    const std::int64_t M = std::max(GaloisModulus(sd->type, sd->rank, sd->level), 1);
    const std::int64_t room = M * (static_cast<std::int64_t>(sd->Nprimaries) * perField + fixed);
    return static_cast<int>(std::min(room, MaxText));
}

using Printer = char* (*)(char* txt, SpectrumData* sd, std::size_t room);

void printMaps(SpectrumData* sd, int perField, int fixed, Printer printer) {
    const int room = textRoom(sd, perField, fixed);
    static const char aborted[] = "aborted\n";
    char* text = modText(room + static_cast<int>(sizeof aborted));
    if (!text)
        return;
    stopSignal = 0;
    char* end = printer(text, sd, static_cast<std::size_t>(room));
    if (stopSignal)
        std::strcpy(end, aborted);
    displayMod();
}

char* allUnits(char* txt, SpectrumData* sd, std::size_t room) {
    return SM_printFullGalois(txt, sd, 0, 0, 0, room);
}

} // namespace

int COM_compute_galois(void**, int parnum) {
    if (SpectrumData* sd =
            blockOrRefusal("COM_compute_galois", "Galois orbits for Cosets not built in"))
        printMaps(sd, 40, 200, allUnits);
    return -parnum;
}

int COM_compute_scale(void**, int parnum) {
    if (SpectrumData* sd =
            blockOrRefusal("COM_compute_scale", "Scale orbits not well-defined for Cosets"))
        printMaps(sd, 120, 600, SM_printAllScaleOrbits);
    return -parnum;
}

int COM_compute_galoisinvariants(void**, int parnum) {
    SpectrumData* sd =
        blockOrRefusal("COM_compute_galoisinvariants", "Galois invariants not built in for Cosets");
    if (!sd)
        return -parnum;
    stopSignal = 0;
    SM_galoisInvariants(sd);
    if (stopSignal)
        Print("aborted\n");
    return -parnum;
}

namespace {

const CommandDefinition galoisCommands[] = {
    {"compute galois_orbits", "", COM_compute_galois, "Compute all galois orbits."},
    {"compute scale_orbits", "", COM_compute_scale, "Compute scale orbits."},
    {"search galois_invariants", "", COM_compute_galoisinvariants, "Search for galois invariants."},
};

} // namespace

void installGaloisCommands() {
    addCommandFamily(CommandFamily::Checks, galoisCommands);
}
