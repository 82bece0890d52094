#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "boundary/CrossBound.h"

#include <array>
#include <cstring>
#include <set>
#include <vector>

namespace {

enum class Mode { D, SA, T, M, B };
// Plain: an ordinary command (in the Boundary mode: under the full open-string hook); Oriented:
// a Boundary command under the oriented hook; Keyword: a node without handler; Disabled: a
// command disabled as soon as it is registered.
enum class RowKind { Plain, Oriented, Keyword, Disabled };

struct CommandRow {
    Mode mode;
    CommandFamily family;
    const char* words;
    RowKind kind = RowKind::Plain;
    const char* keywordHelp = "";
};

using M = Mode;
using F = CommandFamily;
using R = RowKind;

// Every application command, mode by mode, in the order of registration. The order fixes the
// mode and hooks each command gets.
const CommandRow commandTable[] = {
    // Default
    {M::D, F::Spectrum, "status"},
    {M::D, F::Spectrum, "compute spectrum"},
    {M::D, F::Spectrum, "compute massless_spectrum"},
    {M::D, F::Spectrum, "compute simple_current_spectrum"},
    {M::D, F::Spectrum, "list"},
    {M::D, F::Spectrum, "unlist"},
    {M::D, F::Spectrum, "total extensions"},
    {M::D, F::Spectrum, "total primaries"},
    {M::D, F::Spectrum, "supersymmetric"},
    {M::D, F::Spectrum, "chiral"},
    {M::D, F::Orientifold, "cancellableTachyon"},
    {M::D, F::Spectrum, "total invariants"},
    {M::D, F::Orientifold, "Total Orientifolds"},
    {M::D, F::Orientifold, "Total All_orientifolds"},
    {M::D, F::Theory, "single"},
    {M::D, F::Theory, "tensor"},
    {M::D, F::Theory, "build non_susy_cy"},
    {M::D, F::Theory, "build cy"},
    {M::D, F::Theory, "list cy"},
    {M::D, F::Tadpole, "branescan"},
    {M::D, F::Tadpole, "build brane_configuration"},
    {M::D, F::Search, "scan instanton"},
    {M::D, F::Search, "set instanton intersection"},
    {M::D, F::Search, "scan tadpoles"},
    {M::D, F::String, "search tachyons"},
    {M::D, F::Scan, "finish"},
    {M::D, F::Spectrum, "browse central_charge"},
    {M::D, F::Spectrum, "display"},
    {M::D, F::Spectrum, "display massless"},
    {M::D, F::Spectrum, "display simple"},
    {M::D, F::Spectrum, "display entry"},
    {M::D, F::Invariants, "set autoselect"},
    {M::D, F::Invariants, "set autoselect off"},
    {M::D, F::Theory, "h", R::Keyword, "Add coset denominator factor."},
    {M::D, F::Spectrum, "find basis"},
    {M::D, F::Theory, "h cft"},
    {M::D, F::Theory, "h a"},
    {M::D, F::Theory, "h b"},
    {M::D, F::Theory, "h c"},
    {M::D, F::Theory, "h d"},
    {M::D, F::Theory, "h e"},
    {M::D, F::Theory, "h f"},
    {M::D, F::Theory, "h g"},
    {M::D, F::Theory, "h at"},
    {M::D, F::Theory, "h bt"},
    {M::D, F::Theory, "h bc"},
    {M::D, F::Theory, "h ct"},
    {M::D, F::Theory, "h ft"},
    {M::D, F::Theory, "h gt"},
    {M::D, F::Theory, "h u"},
    {M::D, F::Theory, "g", R::Keyword, "Add tensor factor or coset numerator factor."},
    {M::D, F::Theory, "g cft"},
    {M::D, F::Theory, "g minimal"},
    {M::D, F::Theory, "g orbifold"},
    {M::D, F::Theory, "g a"},
    {M::D, F::Theory, "g b"},
    {M::D, F::Theory, "g c"},
    {M::D, F::Theory, "g d"},
    {M::D, F::Theory, "g e"},
    {M::D, F::Theory, "g f"},
    {M::D, F::Theory, "g g"},
    {M::D, F::Theory, "g at"},
    {M::D, F::Theory, "g bt"},
    {M::D, F::Theory, "g bc"},
    {M::D, F::Theory, "g ct"},
    {M::D, F::Theory, "g ft"},
    {M::D, F::Theory, "g gt"},
    {M::D, F::Theory, "g u"},
    {M::D, F::Spectrum, "browse algebras"},
    {M::D, F::Spectrum, "new column"},
    {M::D, F::Browse, "check branching"},
    {M::D, F::Browse, "browse susy"},
    {M::D, F::Browse, "browse Lorentz"},
    {M::D, F::Browse, "Browse permutations"},
    {M::D, F::Search, "browse standard_model"},
    {M::D, F::Fusing, "Initialize"},
    {M::D, F::Tadpole, "initialize simple_solution_stat"},
    {M::D, F::Tadpole, "browse stat_simplesol"},
    {M::D, F::Invariants, "start subgroup"},
    {M::D, F::Theory, "set custom_perm"},
    {M::D, F::Invariants, "set require extension"},
    {M::D, F::String, "select rep"},
    // SingleAlgebra
    {M::SA, F::Theory, "algebra cft"},
    {M::SA, F::Theory, "algebra fcft"},
    {M::SA, F::Theory, "algebra orbifold"},
    {M::SA, F::Theory, "get fcft"},
    {M::SA, F::Theory, "algebra minimal"},
    {M::SA, F::Theory, "algebra", R::Keyword, "Load algebra of type indicated by keyword."},
    {M::SA, F::Theory, "algebra a"},
    {M::SA, F::Theory, "algebra b"},
    {M::SA, F::Theory, "algebra c"},
    {M::SA, F::Theory, "algebra d"},
    {M::SA, F::Theory, "algebra e"},
    {M::SA, F::Theory, "algebra f"},
    {M::SA, F::Theory, "algebra g"},
    {M::SA, F::Theory, "algebra at"},
    {M::SA, F::Theory, "algebra bt"},
    {M::SA, F::Theory, "algebra bc"},
    {M::SA, F::Theory, "algebra ct"},
    {M::SA, F::Theory, "algebra ft"},
    {M::SA, F::Theory, "algebra gt"},
    {M::SA, F::Theory, "algebra u"},
    {M::SA, F::Lie, "browse Cartan"},
    {M::SA, F::Spectrum, "dynkin"},
    {M::SA, F::Lie, "get fp_fusion"},
    {M::SA, F::Lie, "get fcft_shift"},
    {M::SA, F::Lie, "check classes"},
    {M::SA, F::Lie, "Weyl reflection"},
    {M::SA, F::Lie, "Weyl orbit"},
    {M::SA, F::Lie, "Weyl Parity Orbits"},
    {M::SA, F::Lie, "Weyl Group"},
    {M::SA, F::Lie, "Weyl Order"},
    {M::SA, F::Lie, "Weyl Multiply"},
    {M::SA, F::Lie, "Compute Gauss_sum"},
    {M::SA, F::Lie, "Compute Gauss_sum Orbits"},
    {M::SA, F::Theory, "create permutation"},
    {M::SA, F::Lie, "browse twists"},
    {M::SA, F::Lie, "browse etatwists"},
    // Tensor
    {M::T, F::Theory, "reset tensor"},
    {M::T, F::Theory, "reset currents"},
    {M::T, F::Theory, "current"},
    {M::T, F::Browse, "browse chiral_algebra"},
    {M::T, F::Browse, "browse decomposition"},
    {M::T, F::Browse, "browse groundstate"},
    {M::T, F::String, "identify"},
    {M::T, F::Spectrum, "collect extensions"},
    {M::T, F::Theory, "select extension"},
    {M::T, F::Theory, "create CFT"},
    {M::T, F::Theory, "assign extension_number"},
    {M::T, F::String, "compute heterotic"},
    {M::T, F::String, "add filter"},
    {M::T, F::String, "filter random"},
    {M::T, F::String, "reset filter"},
    {M::T, F::String, "compute filter"},
    {M::T, F::String, "name rep"},
    {M::T, F::String, "pattern reset"},
    {M::T, F::String, "pattern algebra"},
    // Modular
    {M::M, F::Search, "search non_susy_sm"},
    {M::M, F::String, "check tachyon"},
    {M::M, F::String, "check tachyon all"},
    {M::M, F::String, "check tachyon oriented"},
    {M::M, F::String, "check tachyon unoriented"},
    {M::M, F::Checks, "grade"},
    {M::M, F::Checks, "check pmat"},
    {M::M, F::ModularData, "s"},
    {M::M, F::ModularData, "pmatrix"},
    {M::M, F::ModularData, "fusion"},
    {M::M, F::ModularData, "simple_fusion"},
    {M::M, F::Checks, "orbit"},
    {M::M, F::Checks, "browse fixed_points"},
    {M::M, F::ModularData, "benchmark fusion"},
    {M::M, F::ModularData, "pfusion"},
    {M::M, F::ModularData, "check fusion"},
    {M::M, F::Checks, "check homomorphism"},
    {M::M, F::ModularData, "compute S_sum"},
    {M::M, F::ModularData, "get schur"},
    {M::M, F::ModularData, "get g_schur"},
    {M::M, F::Checks, "check twists"},
    {M::M, F::Checks, "check simple"},
    {M::M, F::Checks, "check twist_prod"},
    {M::M, F::Invariants, "check invariant"},
    {M::M, F::Checks, "check modular"},
    {M::M, F::Checks, "check unitarity"},
    {M::M, F::Checks, "check hopf"},
    {M::M, F::Checks, "check orbits"},
    {M::M, F::Checks, "check symmetry"},
    {M::M, F::ModularData, "get order"},
    {M::M, F::ModularData, "get weight"},
    {M::M, F::ModularData, "get charge"},
    {M::M, F::ModularData, "get twist"},
    {M::M, F::ModularData, "get conjugate"},
    {M::M, F::Checks, "check conjugates"},
    {M::M, F::Checks, "check fp_conj"},
    {M::M, F::Checks, "compute galois_orbits"},
    {M::M, F::Checks, "compute scale_orbits"},
    {M::M, F::Invariants, "browse integral_spin"},
    {M::M, F::Invariants, "check algebra"},
    {M::M, F::Checks, "search galois_invariants"},
    {M::M, F::Checks, "browse simple_currents"},
    {M::M, F::Browse, "browse stabilizer", R::Disabled},
    {M::M, F::Checks, "browse eta"},
    {M::M, F::Checks, "check eta"},
    {M::M, F::Browse, "browse Lie"},
    {M::M, F::Browse, "browse CFT"},
    {M::M, F::Spectrum, "dimension"},
    {M::M, F::Lie, "expand"},
    {M::M, F::Spectrum, "indices"},
    {M::M, F::String, "browse heterotic"},
    {M::M, F::String, "browse heterotic decomposition"},
    {M::M, F::String, "browse heterotic flipped"},
    {M::M, F::String, "browse heterotic flipped decomposition"},
    {M::M, F::String, "browse type-II"},
    {M::M, F::String, "browse type-II decomposition"},
    {M::M, F::String, "browse type-II flipped"},
    {M::M, F::String, "browse type-II flipped decomposition"},
    {M::M, F::Scan, "collect MIPF_data"},
    {M::M, F::Scan, "scan MIPF_data"},
    {M::M, F::Scan, "collect hodge_numbers"},
    {M::M, F::Scan, "scan hodge_numbers"},
    {M::M, F::Scan, "account heterotic"},
    {M::M, F::String, "record tachyon-free"},
    {M::M, F::Spectrum, "total simple_currents"},
    {M::M, F::ModularData, "Compute S_analytic"},
    {M::M, F::Checks, "Check P-Gauss"},
    {M::M, F::ModularData, "get S_fix"},
    {M::M, F::ModularData, "get S_ola"},
    {M::M, F::Invariants, "search MIPF extension"},
    {M::M, F::Invariants, "search MIPF automorphism"},
    {M::M, F::Invariants, "search MIPF built_in"},
    {M::M, F::Invariants, "search MIPF simple_current"},
    {M::M, F::Invariants, "search MIPF"},
    {M::M, F::Invariants, "select simple_current_invariant"},
    {M::M, F::Invariants, "select invariant"},
    {M::M, F::Invariants, "generate simple_current_invariants"},
    {M::M, F::Invariants, "collect simple_current_invariants"},
    {M::M, F::Invariants, "Scan Simple_current_invariants"},
    {M::M, F::Invariants, "Scan Invariants"},
    {M::M, F::Invariants, "select conjugation_invariant"},
    {M::M, F::Invariants, "select exceptional_invariant"},
    {M::M, F::Boundary, "select diagonal_invariant"},
    {M::M, F::Invariants, "conjugate"},
    {M::M, F::Invariants, "transpose"},
    {M::M, F::Invariants, "make bulk exceptional"},
    {M::M, F::Invariants, "browse bulk_invariant"},
    {M::M, F::Invariants, "browse MIPF"},
    {M::M, F::Invariants, "reset selection"},
    {M::M, F::Invariants, "reset invariants"},
    {M::M, F::Invariants, "set require left"},
    {M::M, F::Invariants, "set require right"},
    {M::M, F::Invariants, "set present left"},
    {M::M, F::Invariants, "set present right"},
    {M::M, F::Invariants, "set forbid left"},
    {M::M, F::Invariants, "set forbid right"},
    {M::M, F::Invariants, "set selection automorphism"},
    {M::M, F::Invariants, "show selection criteria"},
    {M::M, F::Invariants, "set loop_command"},
    {M::M, F::Invariants, "store"},
    {M::M, F::Invariants, "browse invariants"},
    {M::M, F::Invariants, "multiply"},
    {M::M, F::Invariants, "multiply close"},
    {M::M, F::Invariants, "multiply close display"},
    {M::M, F::Invariants, "Check Compare_algebras"},
    {M::M, F::ModularData, "get permutation"},
    {M::M, F::ModularData, "compute permutations"},
    {M::M, F::Invariants, "set Primary_selection tachyons"},
    {M::M, F::Invariants, "set Primary_selection vacuum"},
    {M::M, F::Invariants, "set Primary_selection massless"},
    // Boundary
    {M::B, F::Boundary, "get class_alg", R::Oriented},
    {M::B, F::Boundary, "get reflection", R::Oriented},
    {M::B, F::Boundary, "check oriented_annulus", R::Oriented},
    {M::B, F::Boundary, "browse boundary", R::Oriented},
    {M::B, F::Boundary, "browse reps boundary", R::Oriented},
    {M::B, F::Boundary, "browse orbit boundary", R::Oriented},
    {M::B, F::Boundary, "browse conjugation boundary", R::Oriented},
    {M::B, F::Boundary, "browse orbit Ishibashi", R::Oriented},
    {M::B, F::Boundary, "browse Ishibashi", R::Oriented},
    {M::B, F::Orientifold, "browse current Orientifold", R::Oriented},
    {M::B, F::Orientifold, "browse Orientifolds", R::Oriented},
    {M::B, F::Orientifold, "identify Orientifold", R::Oriented},
    {M::B, F::String, "browse type-I", R::Oriented},
    {M::B, F::Boundary, "check completeness", R::Oriented},
    {M::B, F::Boundary, "check reflection", R::Oriented},
    {M::B, F::Boundary, "browse signs", R::Oriented},
    {M::B, F::Boundary, "total boundaries", R::Oriented},
    {M::B, F::Boundary, "total ishibashi", R::Oriented},
    {M::B, F::Boundary, "get bfusion", R::Oriented},
    {M::B, F::Boundary, "get NIMrep", R::Oriented},
    {M::B, F::Boundary, "check NIMrep", R::Oriented},
    {M::B, F::Boundary, "Intersect", R::Oriented},
    {M::B, F::Boundary, "check UNIMrep moebius"},
    {M::B, F::Boundary, "check UNIMrep klein"},
    {M::B, F::Boundary, "check trace_formula"},
    {M::B, F::Boundary, "get crosscap"},
    {M::B, F::Boundary, "browse metric"},
    {M::B, F::Boundary, "check closed"},
    {M::B, F::Boundary, "check open"},
    {M::B, F::Boundary, "check klein"},
    {M::B, F::Boundary, "check full_open"},
    {M::B, F::Boundary, "check annulus"},
    {M::B, F::Tadpole, "reset tadpole"},
    {M::B, F::Tadpole, "browse tadpole equations"},
    {M::B, F::Tadpole, "browse tadpole kernel"},
    {M::B, F::Tadpole, "browse tadpole bounds"},
    {M::B, F::Tadpole, "check CP"},
    {M::B, F::Tadpole, "browse brane-spectrum"},
    {M::B, F::Tadpole, "check CP_instanton"},
    {M::B, F::Tadpole, "check tadpole solution"},
    {M::B, F::Tadpole, "check tadpole parameters"},
    {M::B, F::Boundary, "search boundaries"},
    {M::B, F::Boundary, "search NIMrep"},
    {M::B, F::Boundary, "Localize crosscap"},
    {M::B, F::Boundary, "Localize boundary"},
    {M::B, F::Orientifold, "search Moebius"},
    {M::B, F::Orientifold, "search crosscap"},
    {M::B, F::Boundary, "try boundary"},
    {M::B, F::Boundary, "assemble"},
    {M::B, F::Tadpole, "solve tadpole"},
    {M::B, F::Tadpole, "solve tadpole SCB"},
    {M::B, F::Tadpole, "solve tadpole simple"},
    {M::B, F::Orientifold, "set kleinbottle"},
    {M::B, F::Boundary, "reset boundary_search"},
    {M::B, F::Tadpole, "fix CPmult"},
    {M::B, F::Tadpole, "solve tadpole loops"},
    {M::B, F::Tadpole, "solve tadpole bounds"},
    {M::B, F::Tadpole, "solve tadpole kernel"},
    {M::B, F::Boundary, "klein"},
    {M::B, F::Boundary, "moebius"},
    {M::B, F::Boundary, "annulus"},
    {M::B, F::Orientifold, "select klein"},
    {M::B, F::Orientifold, "select klein nr"},
    {M::B, F::Orientifold, "select boundary_set"},
    {M::B, F::Orientifold, "search Klein_bottle"},
    {M::B, F::Orientifold, "search Klein_bottle kbc"},
    {M::B, F::Orientifold, "search Klein_bottle trace"},
    {M::B, F::Orientifold, "search Klein_bottle all"},
    {M::B, F::Orientifold, "reset Orientifold"},
    {M::B, F::Orientifold, "set crosscap_signs"},
    {M::B, F::Tadpole, "browse CP"},
    {M::B, F::Boundary, "reset bulk"},
    {M::B, F::Orientifold, "compute boundary permutations"},
    {M::B, F::Search, "search sm_solution"},
    {M::B, F::Search, "search generic_sm"},
    {M::B, F::Search, "search standard_model"},
    {M::B, F::Orientifold, "collect orientifolds"},
    {M::B, F::Orientifold, "select orientifold"},
    {M::B, F::Orientifold, "check susy_locality"},
};

struct ExtenderRow {
    Mode mode;
    CommandFamily family;
    const char* words;
    HLP hlp;
};

// Attached after the commands of their mode.
const ExtenderRow extenderTable[] = {
    {M::D, F::Spectrum, "list", HLP_restore},
    {M::D, F::Spectrum, "unlist", HLP_restore},
    {M::D, F::Spectrum, "compute massless_spectrum", HLP_restricted_spectrum},
    {M::D, F::Spectrum, "compute simple_current_spectrum", HLP_restricted_spectrum},
    {M::D, F::Spectrum, "new column", HLP_newcol},
    {M::D, F::Browse, "browse susy", HLP_susy},
    {M::D, F::Theory, "h", HLP_types},
    {M::D, F::Theory, "g", HLP_types},
    {M::D, F::Theory, "g minimal", HLP_minimal},
    {M::SA, F::Theory, "algebra", HLP_algebra},
    {M::SA, F::Theory, "algebra minimal", HLP_minimal},
    {M::SA, F::Lie, "browse etatwists", HLP_twists},
    {M::T, F::Browse, "browse decomposition", HLP_decomp},
    {M::T, F::Browse, "browse groundstate", HLP_decomp},
    {M::T, F::Theory, "create CFT", HLP_create},
    {M::T, F::Theory, "current", HLP_current},
    {M::M, F::Invariants, "select", HLP_bulk},
    {M::M, F::Invariants, "conjugate", HLP_bulk},
    {M::M, F::Invariants, "make bulk exceptional", HLP_bulk},
    {M::M, F::Invariants, "browse bulk_invariant", HLP_bulk},
    {M::M, F::ModularData, "pfusion", HLP_pfusion},
    {M::M, F::ModularData, "fusion", HLP_fusion},
    {M::M, F::ModularData, "pmatrix", HLP_pmatrix},
    {M::M, F::ModularData, "s", HLP_s},
    {M::M, F::Checks, "check unitarity", HLP_s},
    {M::M, F::Checks, "check twists", HLP_check_twists},
    {M::B, F::Boundary, "reset bulk", HLP_bulk},
};

struct ArgumentType {
    const char* name;
    CONV converter;
    const char* description;
};

const ArgumentType argumentTypes[] = {
    {"current", CONV_getCurrent, "Simple current"},
    {"fcur", CONV_getfcur, "Simple current in tensor factor"},
    {"fprim", CONV_getffield, "CFT primary in tensor factor"},
    {"field", CONV_getLabel, "Primary field label"},
    {"simple_root", CONV_getRoot, "Simple root"},
    {"N_susy", CONV_getN_susy, "Number of supersymmetries"},
    {"level", CONV_getlevel, "Level (central charge)"},
    {"radius", CONV_getradius, "Circle radius (defined as number of primaries)"},
    {"rank", CONV_getrank, "Rank of horizontal algebra"},
    {"dim", CONV_getdim, "Space-time dimension in superstring mode"},
    {"bound", CONV_getBound, "Boundary label"},
    {"Ishibashi", CONV_getIshibashi, "Ishibashi label"},
};

// A family may arrive in parts, each handed over on its own.
using FamilyParts = std::vector<std::span<const CommandDefinition>>;

constexpr std::size_t FamilyCount = static_cast<std::size_t>(CommandFamily::Fusing) + 1;
std::array<FamilyParts, FamilyCount> families{};
std::vector<const char*> registered;
std::set<const CommandDefinition*> used;

FamilyParts& familyOf(CommandFamily family) {
    return families[static_cast<std::size_t>(family)];
}

const CommandDefinition* definitionOf(const CommandRow& row) {
    for (std::span<const CommandDefinition> part : familyOf(row.family))
        for (const CommandDefinition& def : part)
            if (std::strcmp(def.words, row.words) == 0)
                return &def;
    return nullptr;
}

// A keyword node is made only once its family has a command beneath it.
bool hasCommandsBelow(const CommandRow& row) {
    const std::size_t length = std::strlen(row.words);
    for (std::span<const CommandDefinition> part : familyOf(row.family))
        for (const CommandDefinition& def : part)
            if (std::strncmp(def.words, row.words, length) == 0 && def.words[length] == ' ')
                return true;
    return false;
}

bool isRegistered(const char* words) {
    for (const char* w : registered)
        if (std::strcmp(w, words) == 0)
            return true;
    return false;
}

void registerArgumentTypes() {
    for (const ArgumentType& type : argumentTypes)
        if (!findConversion(type.name))
            getConversion(type.name, makeConversionMethod(type.converter, 'i', type.description));
}

ModeType* makeModeOf(Mode mode) {
    switch (mode) {
    case Mode::D:
        return getDefaultMode();
    case Mode::SA:
        return SingleAlgebraMode = makeMode("Command only works in single algebra mode");
    case Mode::T:
        return TensorMode = makeMode("Command only works in tensor mode");
    case Mode::M:
        return ModularMode = makeMode("No modular data; type \"compute spectrum\" first.");
    case Mode::B:
        BoundaryMode = makeMode("No open string and bulk invariant data available");
        addModeFunction(BoundaryMode, InitializeOpenStrings);
        return BoundaryMode;
    }
    return getDefaultMode();
}

PRECOM hookOf(const CommandRow& row) {
    if (row.mode != Mode::B)
        return nullptr;
    return row.kind == RowKind::Oriented ? initializeOrientedOpenString : initializeOpenString;
}

// A row whose command has not been handed over (yet) is skipped.
void registerRow(const CommandRow& row) {
    if (row.kind == RowKind::Keyword) {
        if (!hasCommandsBelow(row))
            return;
        initCommand(row.words, "", nullptr, row.keywordHelp);
        registered.push_back(row.words);
        return;
    }
    const CommandDefinition* def = definitionOf(row);
    if (!def)
        return;
    setCurrentPreCommand(hookOf(row));
    initCommand(def->words, def->parms, def->exec, def->help);
    if (row.kind == RowKind::Disabled)
        disableCommand(row.words);
    used.insert(def);
    registered.push_back(row.words);
}

void attachExtenders(Mode mode) {
    for (const ExtenderRow& ext : extenderTable)
        if (ext.mode == mode && isRegistered(ext.words))
            addHelp(ext.words, ext.hlp);
}

void registerMode(Mode mode) {
    setCurrentMode(makeModeOf(mode));
    for (const CommandRow& row : commandTable)
        if (row.mode == mode)
            registerRow(row);
    setCurrentPreCommand(nullptr);
    attachExtenders(mode);
}

// A definition without a row would never be registered; say so rather than lose it.
void reportUnplacedDefinitions() {
    for (const FamilyParts& family : families)
        for (std::span<const CommandDefinition> part : family)
            for (const CommandDefinition& def : part)
                if (!used.count(&def))
                    Alert("registerApplicationCommands", 1, 212404,
                          "Command \"%s\" has no place in the command table", def.words);
}

} // namespace

void addCommandFamily(CommandFamily family, std::span<const CommandDefinition> commands) {
    if (!commands.empty())
        familyOf(family).push_back(commands);
}

std::span<const char* const> registeredApplicationCommands() {
    return registered;
}

void registerApplicationCommands() {
    static bool done = false;
    if (done)
        return;
    done = true;
    registerArgumentTypes();
    for (Mode mode : {Mode::D, Mode::SA, Mode::T, Mode::M, Mode::B})
        registerMode(mode);
    registerFusingCommands();
    setCurrentMode(getDefaultMode());
    reportUnplacedDefinitions();
}
