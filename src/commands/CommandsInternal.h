// What the files of the command set share among themselves.
#pragma once

#include "commands/Commands.h"
#include "lie/Tarvik.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <vector>

struct SpectrumData;
struct TensorProduct;

namespace commands {

// Arguments as the interpreter hands them over: an int or a text per slot.
inline int intArgument(void** params, int i) {
    return *static_cast<int*>(params[i]);
}
inline const char* textArgument(void** params, int i) {
    return static_cast<const char*>(params[i]);
}

// "i:j" with two integers.
bool readAssignment(const char* entry, int* i, int* j);

// Parameter pointers; null until the parameter is looked up. A later "set" takes effect at once.
extern int* maxrank;
extern int* DoublePrecision;
extern int* super;
extern int* AutoStore;
extern int* RemoveId;
extern int* TerminalInput;
extern int* ZNX;
extern int* MaxConf;
extern int* NF;
extern int* SM;
extern BulkInvariant** CurrentBulkPointer;

// The check commands look at the system as the user sees it: identical boundaries are kept
// while they run, whichever way they end.
class KeepIdenticalBoundaries {
public:
    KeepIdenticalBoundaries() : saved_(commands::RemoveId ? *commands::RemoveId : 0) {
        if (commands::RemoveId)
            *commands::RemoveId = 0;
    }
    ~KeepIdenticalBoundaries() {
        if (commands::RemoveId)
            *commands::RemoveId = saved_;
    }
    KeepIdenticalBoundaries(const KeepIdenticalBoundaries&) = delete;
    KeepIdenticalBoundaries& operator=(const KeepIdenticalBoundaries&) = delete;

private:
    int saved_;
};

// 1 when the current extension is supersymmetric.
extern int Susic;

// The current theory as far as it has been handed over.
int cosetSwitch();
int totalPrimaries();
int totalCurrents();

// Switches a mode that may not have been made yet.
void setMode(ModeType* mode, int on);

// Makes the building block the current one; while no tensor product is current the primary and
// simple-current counts follow it.
void makeBlockCurrent(SpectrumData* sd);
// The spectrum commands' part of the single-algebra commands.
void installSpectrumCommands();
// "CFT %s; %d primaries", with the simple currents when there are two or more.
void printCFTLine();
// The totals read the product's counts, whatever its last computation left.
void useProductCounts(TensorProduct* TP);
// Under "Super": Susic and the product's flag when its chiral algebra holds a supercurrent.
void findSupercurrent(TensorProduct* TP);
// While a tensor product is entered any label passes the field type: only the rows computed for
// its present factors may be read. True after the refusal.
bool refuseUncomputedField(const char* routine, int position, int field);

// ---- What the printers of matrices and the checks share ----

// The fields of a printed row or column: the argument at position, or all fields; ascending.
std::vector<int> fieldsOf(void** params, int parnum, int position);
// (j, i) is printed too, so (i, j) with j < i would repeat it. Rows and columns are ascending
// without repeats, as fieldsOf makes them.
bool mirrored(const std::vector<int>& rows, const std::vector<int>& columns, int i, int j);
// The named work area "ModText", made to hold size characters.
char* modText(int size);

} // namespace commands

// Handlers of the single-algebra commands.
int COM_algebra(void** commands, int parnum);
int COM_single(void** commands, int parnum);
int COM_status(void** commands, int parnum);
int COM_tot_prim(void** commands, int parnum);
int COM_tot_cur(void** commands, int parnum);
int COM_getrep(void** commands, int parnum);
int COM_getdim(void** commands, int parnum);
int COM_compute_massless(void** commands, int parnum);
int COM_compute_simple(void** commands, int parnum);
int COM_susic(void** commands, int parnum);
int COM_create(void** commands, int parnum);
int COM_list_cy(void** commands, int parnum);
int COM_build_perm(void** commands, int parnum);
int COM_build_cy(void** commands, int parnum);
// The product of a code of the CY table with its supercurrent, computed as "build cy" makes it;
// record keeps the code as the current model's name. 1 for a code not in the table.
int buildSupersymmetricCY(int code, bool record);
int COM_build_nonsusycy(void** commands, int parnum);
int COM_search_tachyons(void** commands, int parnum);
int COM_compare_alg(void** commands, int parnum);
// Sets type 6, N and the level from the arguments and makes the minimal model when the store
// lacks it; -2 (two arguments), or 8 when N exceeds 2.
int make_minimal(void** commands, int* type, int* N, int* level);

// Handlers of the tensor-product commands.
int COM_tensor(void** commands, int parnum);
int COM_g(void** commands, int parnum);
int COM_h(void** commands, int parnum);
int COM_current(void** commands, int parnum);
int COM_reset(void** commands, int parnum);
int COM_reset_currents(void** commands, int parnum);
int COM_browse_chiral(void** commands, int parnum);
int COM_browse_decomp(void** commands, int parnum);
int COM_identify(void** commands, int parnum);
