// The application's command set: its modes and their switches, the registration of the commands
// of every family in one fixed order, the application's argument types and their converters, and
// the help extenders.
#pragma once

#include "interpreter/Interpreter.h"

#include <span>
#include <string>

// ---- Modes and the state they guard ----

// Made at registration; null before.
extern ModeType* SingleAlgebraMode;
extern ModeType* TensorMode;
extern ModeType* ModularMode;
extern ModeType* BoundaryMode;

// 0 no spectrum of the current theory, 1 the full spectrum with modular data, 2 the massless
// spectrum only, 3 the simple-current spectrum only.
extern int Spectrum_Computed;
// 1 only while "display massless" prints; the spectrum cells then drop fields that are not
// massless.
extern int massless_only;
// The name of the current model, "UNDEFINED" until one is built.
extern std::string CurrentCY;

void enableModular();
void disableModular();
void disableModularVerbose();
void enableCoset();
void disableCoset();
// The Boundary mode's function: reports why the mode is off and leaves it off.
void InitializeOpenStrings();

// -2 on the first call, -1 afterwards.
int PreviousType();
ConversionResult* ConversionReturn(int rc);
void setLimits(int value, int* min, int* max);

// ---- Start-up ----

// The built-in commands, then the application's argument types, modes and commands; once.
void initializeCommands();
// Everything of initializeCommands after the built-in commands; also once. The interpreter's
// default mode must exist.
void registerApplicationCommands();
// The output tables "Spectrum", "TensorSpectrum", "Algebras", "Decomposition" and "Lorentz".
void initializeTables();
// The pointer to "Maxrank"; run after the defaults file has been read.
void initializeCommandPointers();
// The other parameter pointers; run after every module has registered its parameters.
void initializeCommandParameters();

// ---- Command families ----
// Every command has one row in the registration table, which fixes its mode, its place in the
// order and the open-string hook it runs under. A family hands its definitions over before
// registration, possibly in several parts; rows without a definition are skipped, so the order
// is the table's whichever parts exist.

enum class CommandFamily {
    Theory,      // construction of theories
    Spectrum,    // spectrum computation and display
    Lie,         // Lie algebra and Weyl group
    ModularData, // S, T, P and fusion
    Checks,      // consistency checks, Galois and simple currents
    Invariants,  // modular invariants
    Browse,      // browsing the current theory
    Boundary,    // boundaries and crosscaps
    Orientifold, // orientifolds and Klein bottles
    Tadpole,     // tadpoles and brane configurations
    String,      // string spectra
    Scan,        // scan summaries
    Search,      // standard-model searches
    Fusing,      // fusing matrices
};

struct CommandDefinition {
    const char* words; // as in the registration table
    const char* parms;
    COM exec;
    const char* help;
};

// Adds one part of a family; the definitions must outlive registration.
void addCommandFamily(CommandFamily family, std::span<const CommandDefinition> commands);
// The words of the registered commands and keyword nodes, in registration order.
std::span<const char* const> registeredApplicationCommands();

// The count of primaries while a tensor product is entered and not yet computed.
int* unlimitedPrimaries();

// ---- Argument converters ----
// All return one shared record, valid until the next conversion: rc 0 a value, -1 a range from
// value to max, a positive rc a refusal.

ConversionResult* convertToRange(void* key, int Max, int count, const char* txt, int strictMaximum,
                                 int checkRange);
ConversionResult* CONV_getCurrent(void* key, int count);
ConversionResult* CONV_getfcur(void* key, int count);
ConversionResult* CONV_getffield(void* key, int count);
ConversionResult* CONV_getLabel(void* key, int count);
ConversionResult* CONV_getRoot(void* key, int count);
ConversionResult* CONV_getN_susy(void* key, int count);
ConversionResult* CONV_getlevel(void* key, int count);
ConversionResult* CONV_getradius(void* key, int count);
ConversionResult* CONV_getrank(void* key, int count);
ConversionResult* CONV_getdim(void* key, int count);
ConversionResult* CONV_getBound(void* key, int count);
ConversionResult* CONV_getIshibashi(void* key, int count);

// The type code of a type word ("b" is B, "bt" Bt), or -1.
int convertTYPE(const char* TYPE);
// The algebra named by a command's last word as typed (commands[-1]) and its arguments: -1 for
// U(1) (one argument used), -2 for the others (two used); 1 an unknown type word, 4 a rank
// outside the type's limits, 5 a level below 1.
int convertAlgebra(void** commands, int* type, int* rank, int* level);

// ---- Building blocks and their spectra ----

// Hands over the single-algebra construction commands and the spectrum commands that need only
// the store, and binds the current building block for them and the modular data.
void installSingleAlgebraCommands();
// "compute spectrum"; the arguments are not read. 0, or minus parnum after an aborted
// computation.
int COM_compute(void** commands, int parnum);
// The "cft" branch of the "algebra" commands as a handler of its own.
int COM_cft(void** commands, int parnum);

// ---- Tensor products ----

// Hands over "tensor", the "g" and "h" commands, "current" and the resets of the product.
void installTensorCommands();

// ---- Fusing matrices ----

// "fusing matrix", "fusing entry" and "fusing epsilon" under the keyword "fusing" of the Default
// mode, after the command table; only in builds with the fusing commands switched on.
void registerFusingCommands();
int COM_fusing_matrix(void** commands, int parnum);
int COM_fusing_matrix_entry(void** commands, int parnum);
int COM_braidingsign(void** commands, int parnum);
int COM_search_pentagon(void** commands, int parnum);
int COM_display_pentagon(void** commands, int parnum);
int COM_pentagon(void** commands, int parnum);
int COM_display_hexagon(void** commands, int parnum);
int COM_hexagon(void** commands, int parnum);
int COM_polynomial(void** commands, int parnum);
int COM_find_fusing(void** commands, int parnum);

// "Initialize" (every build) and the commands of hand-fixed signs and sign-flip files under the
// keyword "fusing" (builds with the fusing commands).
void installFusingSignCommands();
void registerFusingSignCommands();
int COM_init(void** commands, int parnum);
int COM_fix(void** commands, int parnum);
int COM_check_fusing_signs(void** commands, int parnum);

// ---- Help extenders ----

void HLP_bulk();
void HLP_susy();
void HLP_space_dim();
void HLP_decomp();
void HLP_maxrank();
void HLP_use_orbits();
void HLP_super();
void HLP_graded();
void HLP_restricted_spectrum();
void HLP_restore();
void HLP_newcol();
void HLP_create();
void HLP_current();
void HLP_pfusion();
void HLP_fusion();
void HLP_pmatrix();
void HLP_s();
void HLP_types();
void HLP_algebra();
void HLP_twists();
void HLP_check_twists();
void HLP_minimal();
void HLP_compute();
