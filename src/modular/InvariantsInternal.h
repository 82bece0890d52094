// What the files of the invariant store share among themselves: the parameters, the state of the
// selection criteria that the store and the printer read, and the laying out of partner lists.
#pragma once

#include "modular/Invariants.h"

#include <memory>

namespace invariants_internal {

// The parameters of the store; each reads its built-in default until initializeInvariants has
// bound it, and a value set before then stays with the module.
enum class Par {
    SelectionAutomorphism,
    SelectionSymmetric,
    SelectionExtension,
    RejectPermutations,
    MIPFRandom,
    InfoLevel,
    MaxDisplay,
    Statistics,
    Autostore,
    RejectInfo,
    LoopStart,
    LoopEnd,
    ZNX,
};
int param(Par p);
void setParam(Par p, int value);
void bindParameters();

// The number of fields of the current theory; 0 when there is none.
int theoryPrimaries();

// The part of the selection criteria that the simple-current search reads and advances; the
// criteria file owns it. Lists are the caller's, kept by pointer.
struct SearchCriteria {
    IntegerList* PrimarySelection = nullptr; // the fields invariants are built for; null: all
    int* AutomorphismSelection = nullptr;    // pairs i, j ended by -1
    // Identifiers to visit in increasing order, ended by -1; (-2) all, (-1) none.
    GuardedArray<int> MIPFSelection{"MIPFSelection", &Invariants_alloc};
    int NextSelectedMIPF = 0;
    int AutoSelectionNumber = 0; // the n-th candidate of a subgroup; 0 asks the user
    char* LoopCommand = nullptr;
    int SubgroupStart = -1;
    int ScanMIPFCountStart = -1;
    int PerformSubgroupSelection = 0;
    int SubgroupSelectionCount = 0;
    int SubgroupLabel = -1; // of the subgroup being scanned; -1 outside scans
};
SearchCriteria& searchCriteria();

int currentSubgroupLabel();
// 1 when any list of required or forbidden currents is set.
int algebraRestrictionsSet();
void clearPrimarySelection();
// Gives the MIPF selection list its first room, once.
void prepareMIPFSelection();
// The MIPF selection becomes (-1): nothing to visit.
void clearMIPFSelection();

// Candidates of the search that passed the criteria since the store was last reset.
int& totalMIPFCount();

// The store in its order, and the automatic numbers it hands out.
BulkInvariant* getFirstBulkInvariant();
int takeAutomaticNumber();

// The store's part of storing: record goes into the store when it is new (the pointer is then
// empty); otherwise it stays with the caller. The result is storeBulkInvariant's.
BulkInvariant* storeOwnedBulkInvariant(const char* name, std::unique_ptr<BulkInvariant>& record,
                                       int notify);
// The one alert of a partner area that is too small.
void reportStorageOverflow(const char* routine, int position);

// Lays partner lists one after another into the partner area of a record whose rows have been
// allocated; a list that does not fit is reported once and not written.
class RowWriter {
public:
    RowWriter(BulkInvariant* bi, const char* routine, int position = 0)
        : bi_(bi), routine_(routine), position_(position) {}
    // Places count labels as the list of row i; orbitlength and multiplicity are the caller's.
    // A row without labels gets no list.
    bool put(int i, const int* labels, int count);
    bool overflowed() const { return overflow_; }
    int used() const { return used_; }

private:
    BulkInvariant* bi_;
    const char* routine_;
    int position_;
    int used_ = 0;
    bool overflow_ = false;
};

// What allocNewBulkInvariant and copyBulkInvariant make together, without laying out the
// diagonal invariant first.
std::unique_ptr<BulkInvariant> newCopyOfBulkInvariant(const char* name, const BulkInvariant* bi);

// Room for Np rows and orbitspace partners, as allocBulkInvariantData gives it, not cleared.
void sizeBulkInvariantData(BulkInvariant* bi, int Np, int orbitspace);

// The trivial group with its kernels, each holding the vacuum alone.
void makeTrivialGroup(SCData* md);

// The analysis callback of the search in progress, run on one candidate.
int runAnalysis(SCData* MD);
// The subgroup being searched is sampled at random.
void setRandomization();

// Sorts the first size labels of a list in place.
void sortLabels(int* list, int size);

} // namespace invariants_internal
