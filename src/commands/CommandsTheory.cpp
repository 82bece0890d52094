// Making a single building block the current theory: the "algebra" commands and "single".
#include "commands/CommandsInternal.h"

#include "commands/CommandsFixedPoints.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"
#include "tensor/CosetTachyons.h"

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

using namespace commands;

namespace {

// The N=0 and N=1 minimal models are made from a coset the first time they are asked for.
SpectrumData* minimalBlock(int N, int k) {
    if (N == 2)
        return SM_getData(27, 2, k);
    SpectrumData* sd = SM_getData(6, N, k);
    if (sd)
        return sd;
    if (N == 0)
        createMinimal0(k);
    else
        createMinimal1(k);
    return SM_getData(6, N, k);
}

// The last command word as the user typed it, possibly abbreviated.
const char* typedWord(void** commands) {
    return static_cast<const char*>(commands[-1]);
}

bool isPrefixOf(const char* word, const char* full) {
    const std::size_t length = std::strlen(word);
    return length <= std::strlen(full) && strncasecmp(word, full, length) == 0;
}

enum class Branch { Cft, Fcft, Minimal, Orbifold, TypeWord };

// "c" alone is type C and "f" alone type F; longer prefixes of "cft" and "fcft" name theories.
Branch branchOf(const char* word) {
    if (isPrefixOf(word, "cft") && !isPrefixOf(word, "c"))
        return Branch::Cft;
    if (isPrefixOf(word, "fcft") && !isPrefixOf(word, "f"))
        return Branch::Fcft;
    if (isPrefixOf(word, "minimal"))
        return Branch::Minimal;
    if (isPrefixOf(word, "orbifold"))
        return Branch::Orbifold;
    return Branch::TypeWord;
}

// The building block asked for, with the number of arguments its words take.
struct Request {
    SpectrumData* block = nullptr;
    int used = 0;
    int rc = 0; // positive: refused
};

Request refused() {
    return Request{nullptr, 0, 1};
}

Request minimalModel(void** commands) {
    const int N = intArgument(commands, 0);
    const int k = intArgument(commands, 1);
    if (N > 2) {
        Alert("COM_algebra", 7, 100301, "Invalid number of susy's");
        return refused();
    }
    // The store and the coset construction report themselves why a model cannot be made.
    SpectrumData* sd = minimalBlock(N, k);
    return sd ? Request{sd, 2, 0} : refused();
}

Request orbifold(void** commands) {
    SpectrumData* sd = SM_getData(7, intArgument(commands, 0), 0);
    return sd ? Request{sd, 1, 0} : refused();
}

Request algebraOfTypeWord(void** commands, const char* word) {
    const int code = convertTYPE(word);
    if (code < 0) {
        Alert("COM_algebra", 0, 100301, "Invalid type");
        return refused();
    }
    const int rank = intArgument(commands, 0);
    if (rank < minRank(code) || rank > maxRank(code)) {
        Alert("COM_algebra", 3, 100301, "Rank out of range");
        return refused();
    }
    int level = 0;
    if (code != 0) {
        level = intArgument(commands, 1);
        if (level < 1) {
            Alert("COM_algebra", 4, 100301, "Level out of range");
            return refused();
        }
        // Blocks the store makes for its own use (coset factors, orbit Lie algebras) may go
        // higher: the limit is one of the user's input.
        if (!levelCheck(standardType(code), level))
            return refused();
    }
    SpectrumData* sd = SM_getData(standardType(code), rank, level);
    return sd ? Request{sd, code == 0 ? 1 : 2, 0} : refused();
}

// Makes the block current; in single-algebra mode its spectrum is computed at once.
int loadBlock(const Request& request) {
    SpectrumData* sd = request.block;
    makeBlockCurrent(sd);
    setAlgebraView(sd->type, sd->rank, sd->level);
    if (getCosetMode() == 1)
        return -request.used;
    return COM_compute(nullptr, 0) > 0 ? 1 : -request.used;
}

const CommandDefinition theoryCommands[] = {
    {"single", "", COM_single,
     "Switch to single algebra mode;\nDisplay presently available algebra"},
    {"algebra cft", "[CFT_name]", COM_algebra, "Load cft \"CFT_name\"."},
    {"algebra orbifold", "[pos_int N]", COM_algebra,
     "$Z_2$ orbifold of $U_{2N}$ (CFT with 2\"N\" primaries)."},
    {"algebra minimal", "[N_susy N][level k]", COM_algebra,
     "minimal model with \"N\" supersymmetries and level \"k\"."},
    {"algebra a", "[rank r][level k]", COM_algebra, "Type A."},
    {"algebra b", "[rank r][level k]", COM_algebra, "Type B."},
    {"algebra c", "[rank r][level k]", COM_algebra, "Type C."},
    {"algebra d", "[rank r][level k]", COM_algebra, "Type D."},
    {"algebra e", "[rank r][level k]", COM_algebra, "Type E."},
    {"algebra f", "[rank r][level k]", COM_algebra, "Type F."},
    {"algebra g", "[rank r][level k]", COM_algebra, "Type G."},
    {"algebra at", "[rank r][level k]", COM_algebra, "Type A (twisted)."},
    {"algebra bt", "[rank r][level k]", COM_algebra, "Type B (twisted)."},
    {"algebra bc", "[rank r][level k]", COM_algebra, "Type B (twisted,modified)."},
    {"algebra ct", "[rank r][level k]", COM_algebra, "Type C (twisted)."},
    {"algebra ft", "[rank r][level k]", COM_algebra, "Type F (twisted)."},
    {"algebra gt", "[rank r][level k]", COM_algebra, "Type G (twisted)."},
    // The radius is the number of primaries.
    {"algebra u", "[radius R]", COM_algebra, "Free boson on a circle, with R primaries."},
};

const CommandDefinition productTheoryCommands[] = {
    {"create CFT", "[CFT_name]", COM_create, "Create a new CFT."},
    {"list cy", "", COM_list_cy, "list minimal model tensor products."},
    {"build non_susy_cy", "[int code]", COM_build_nonsusycy,
     "Build minimal model tensor product identified by \"code\"\nwithout a supersymmetry "
     "extension of the chiral algebra\nFor example 441010 yields the supersymmetrized tensor "
     "product\nof two k=4 and two k=10 minimal models."},
    {"build cy", "[int code]", COM_build_cy,
     "Build minimal model tensor product identified by \"code\"\nwith a supersymmetry "
     "extension of the chiral algebra\nFor example 441010 yields the supersymmetrized tensor "
     "product\ntwo two k=4 and two k=10 minimal models."},
};

const CommandDefinition tachyonSearchCommands[] = {
    {"search tachyons", "[int code]", COM_search_tachyons,
     "Search for tachyons in the non-supersymmetric minimal model\ntensor product identified by "
     "\"code\"."},
};

const CommandDefinition permutationCommands[] = {
    {"create permutation", "(name)", COM_build_perm,
     "Build Z2 permutation of two copies of the current algebra\nIf \"name\" is provided, it "
     "will be stored with that name.\n"},
};

const CommandDefinition comparisonCommands[] = {
    {"Check Compare_algebras", "[name1][name2]", COM_compare_alg,
     "Compare algebras \"name1\" and \"name2\"."},
};

} // namespace

int COM_algebra(void** commands, int parnum) {
    disableModular();
    const char* word = typedWord(commands);
    Request request;
    switch (branchOf(word)) {
    case Branch::Cft:
        return COM_cft(commands, parnum);
    case Branch::Fcft:
        return COM_fcft(commands, parnum);
    case Branch::Minimal:
        request = minimalModel(commands);
        break;
    case Branch::Orbifold:
        request = orbifold(commands);
        break;
    case Branch::TypeWord:
        request = algebraOfTypeWord(commands, word);
        break;
    }
    return request.rc > 0 ? request.rc : loadBlock(request);
}

int COM_single(void**, int) {
    setCosetMode(0);
    disableCoset();
    Print("Mode: Single algebra\n");
    if (getCurrentSD())
        Print("Algebra \"%s\"\n", SM_getAlgebraName(getCurrentSD()));
    COM_compute(nullptr, 0);
    return 0;
}

namespace commands {

void makeBlockCurrent(SpectrumData* sd) {
    setCurrentSD(sd);
}

} // namespace commands

int COM_cft(void** commands, int parnum) {
    SpectrumData* sd = SM_findCFT(static_cast<const char*>(commands[0]));
    if (!sd) {
        Alert("COM_cft", 0, 100302, "No such algebra");
        return 1;
    }
    makeBlockCurrent(sd);
    if (getCosetMode() != 1) {
        COM_compute(nullptr, 0);
        setAlgebraView(sd->type, sd->rank, sd->level);
    }
    return -parnum;
}

int make_minimal(void** commands, int* type, int* N, int* level) {
    *type = 6;
    *N = intArgument(commands, 0);
    *level = intArgument(commands, 1);
    if (*N > 2)
        return 8;
    if (!SM_getData(6, *N, *level)) {
        if (*N == 0)
            createMinimal0(*level);
        else if (*N == 1)
            createMinimal1(*level);
        else
            createMinimal2(*level);
    }
    return -2;
}

int COM_create(void** commands, int parnum) {
    TensorProduct* TP = getCurrentTensor();
    const char* name = textArgument(commands, 0);
    if (!createCFT(TP, name))
        return 1;
    resetCoset(TP);
    setCosetMode(0);
    disableCoset();
    disableModular();
    if (COM_cft(commands, 1) > 0)
        return 1;
    Alert("COM_create", 0, 100201, "Warning: Labels may have changed after CFT creation");
    COM_status(nullptr, 0);
    return -parnum;
}

int COM_build_perm(void** commands, int parnum) {
    disableModular();
    SpectrumData* sd = getCurrentSD();
    if (!sd || (sd->type > 9 && sd->type != 27)) {
        Alert("COM_build_perm", 0, 112311, "Permutations for this algebra are not available");
        return -parnum;
    }
    SpectrumData* perm =
        SM_getPermutationOrbifold(sd, 2, parnum > 0 ? textArgument(commands, 0) : nullptr);
    if (!perm)
        return -parnum;
    makeBlockCurrent(perm);
    enableModular();
    return -parnum;
}

int COM_list_cy(void**, int parnum) {
    int levels[9];
    interpretMinimalTensor(-1, levels);
    return -parnum;
}

namespace {

// The product D5 level 1 (graded by its vector) times the N=2 models of the code's levels, as
// numerator factors of the emptied tensor product, which becomes current; the number of N=2
// factors, or -1 for a code that is not in the table.
int buildCYProduct(int code, bool record = true) {
    int levels[9];
    const int n = interpretMinimalTensor(code, levels);
    if (n < 0)
        return -1;
    if (record)
        CurrentCY = std::to_string(code);
    // No supercurrent is known before the product's spectrum is computed.
    Susic = 0;
    SpectrumData* d5 = SM_getData(4, 5, 1);
    SM_grade(d5, 2);
    setIntPar("Graded", 1);
    setCosetMode(1);
    disableCoset();
    enableCoset();
    disableModular();
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    addTensorFactor(TP, d5, 0);
    for (int i = 0; i < n; i++)
        addTensorFactor(TP, SM_getData(27, 2, levels[i]), 0);
    setCurrentTotals(unlimitedPrimaries(), NumberOfTensorSimpleCurrents(TP));
    return n;
}

} // namespace

int buildSupersymmetricCY(int code, bool record) {
    const int n = buildCYProduct(code, record);
    if (n < 0)
        return 1;
    // The world-sheet supercurrent: the spinor of D5 with the gravitino of every N=2 factor.
    const std::vector<int> ones(static_cast<std::size_t>(n) + 1, 1);
    addNewCurrent(getCurrentTensor(), ones.data());
    setIntPar("Super", 1);
    COM_compute(nullptr, 0);
    return 0;
}

int COM_build_cy(void** commands, int parnum) {
    return buildSupersymmetricCY(intArgument(commands, 0), true) ? 1 : -parnum;
}

int COM_build_nonsusycy(void** commands, int parnum) {
    if (buildCYProduct(intArgument(commands, 0)) < 0)
        return 1;
    TensorChanged();
    setIntPar("Super", 1);
    setSusySearch(0);
    return -parnum;
}

// The search ends on a success or at its level limit and hands the prompt back either way; only
// the limit fails the command.
int COM_search_tachyons(void** commands, int parnum) {
    if (buildCYProduct(intArgument(commands, 0)) < 0)
        return 1;
    TensorChanged();
    setIntPar("Super", 1);
    return computeTachyonSpectrum(getCurrentTensor()) ? 1 : -parnum;
}

int COM_compare_alg(void** commands, int parnum) {
    SpectrumData* a = SM_findCFT(textArgument(commands, 0));
    SpectrumData* b = SM_findCFT(textArgument(commands, 1));
    if (!a || !b) {
        Alert("COM_compare_alg", 0, 100302, "No such algebra");
        return 1;
    }
    SM_compareAlgebras(a, b);
    return -parnum;
}

int convertAlgebra(void** commands, int* type, int* rank, int* level) {
    const int code = convertTYPE(typedWord(commands));
    if (code < 0)
        return 1;
    *type = standardType(code);
    *level = 0;
    *rank = intArgument(commands, 0);
    if (*rank < minRank(code) || *rank > maxRank(code))
        return 4;
    if (code == 0)
        return -1;
    *level = intArgument(commands, 1);
    return *level < 1 ? 5 : -2;
}

void installSingleAlgebraCommands() {
    addCommandFamily(CommandFamily::Theory, theoryCommands);
    addCommandFamily(CommandFamily::Theory, productTheoryCommands);
    addCommandFamily(CommandFamily::Theory, permutationCommands);
    addCommandFamily(CommandFamily::Invariants, comparisonCommands);
    addCommandFamily(CommandFamily::String, tachyonSearchCommands);
    installSpectrumCommands();
}
