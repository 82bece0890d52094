// What the source files of the tensor products share among themselves.
#pragma once

#include "tensor/Coset.h"

#include "base/Allocation.h"
#include "numeric/Sorting.h"
#include "store/Storemanager.h"

#include <complex>
#include <vector>

namespace coset_internal {

// The module's allocation counter; the product records and the work arrays are charged to it.
AllocCount* cosetAlloc();

// Live values of the parameters; their defaults until initializeCoset has bound them.
int graded();
int superMode();
int heteroticFactors();
int maxPrimaries();
int znxVersion();
int traceResolution();
int maxPerm();
int maxCurrent();
int invariantInfoLevel();
int createShowInfo();
int rejectPermutations();
// Sets the switch "Graded" without its change action; returns the value it had.
int swapGraded(int value);

inline SpectrumData* factor(TensorProduct* TP, int k) {
    return TP->TensorFactors[k];
}
inline int signOf(TensorProduct* TP, int k) {
    return 1 - 2 * TP->GH[k];
}
inline int currentsOf(const SpectrumData* sd) {
    return sd->SimpleCurrents ? sd->SimpleCurrents->Order : 1;
}

// The row of the collection equal to v in its identifying entries, or -1.
inline int findRow(VectorSpace* s, const int* v) {
    return findVectorInCollection(s, const_cast<int*>(v));
}

// J i in a factor: read from the block's table of the current action once the spectrum passes
// have made it, or from a minimal model's table of its gravitino current (too large a block for
// the whole table), computed otherwise (and for labels out of range, which the block reports).
inline int simpleAction(SpectrumData* sd, int J, int i) {
    const bool field = i >= 0 && i < sd->Nprimaries;
    if (sd->fusion_table && J >= 0 && J < currentsOf(sd) && field)
        return sd->fusion_table[static_cast<long long>(J) * sd->Nprimaries + i];
    if (J == 1 && sd->GravitinoAction && field && currentsOf(sd) > 1)
        return sd->GravitinoAction[i];
    return SM_SimpleAction(sd, J, i);
}

// ---- Pieces of the resolved S matrices ----

using Complex = std::complex<double>;

// exp(-i pi sigma / 4), exact on the eight points it can take.
Complex shiftPhase(int sigma);
// exp(2 pi i D) for a phase D; quarter turns exactly.
Complex characterPhase(const rat& D);

// The entries of a (na of them) that b (nb) holds too, in a's order: the common untwisted
// stabilizer of two fields.
void commonElements(const int* a, int na, const int* b, int nb, std::vector<int>& out);
// |G| / (|U_a| m_a |U_b| m_b), the normalisation of S and S^J of two fields of these types.
double resolutionNorm(TensorProduct* TP, const FPType* Ta, const FPType* Tb);

// Who reports a failing stabilizer term, and how a factor label outside the fixed-point theory of
// the element's component is reported (the factor counts 0 in any case).
struct TermAlerts {
    enum Outside { Silent, Plain, WithValues };
    const char* routine;
    Outside outside = Silent;
};

// X_J exp(-i pi sigma_J / 4) of spectrum labels a and b for the combination J, whose components
// must all have fixed-point theories; false after the report when one has none.
bool stabilizerTerm(TensorProduct* TP, const int* J, const int* a, const int* b, Complex* X,
                    const TermAlerts& alerts);

// The fix-center elements that fix `field` factor by factor, in fix-center order.
std::vector<int> fixingElements(TensorProduct* TP, const int* field);

// The products whose full fixed-point records are built now forget them: every fix center
// releases the records of all products.
void forgetResolutionData();

// Makes the current-action table of every factor that has none, except N=2 minimal blocks.
void prepareFactorActions(TensorProduct* TP);

// Every combination of 0 <= index[k] < bound[k] once, the last entry fastest; no entries give
// one empty combination, a zero bound none.
class Odometer {
public:
    explicit Odometer(std::vector<int> bounds);
    bool done() const { return done_; }
    const std::vector<int>& index() const { return index_; }
    void advance();
    // The number of combinations, as the progress display counts them.
    double total() const;

private:
    std::vector<int> bound_;
    std::vector<int> index_;
    bool done_ = false;
};

// Rows of a collection appended without search links and kept unique through a hash of their
// identifying entries: the unbalanced search tree would degrade to a list on rows that arrive
// in order. balanceVectorCollection links them once searches are needed.
class RowIndex {
public:
    RowIndex() = default;
    RowIndex(const RowIndex&) = delete;
    RowIndex& operator=(const RowIndex&) = delete;
    // The collection is taken as it is; its rows are entered.
    void reset(VectorSpace* s);
    // The row equal to the collection's scratch row (row Nfill), or -1.
    int findScratch();
    // Stores the scratch row as a new row; returns its number.
    int appendScratch();

private:
    std::size_t hashOf(int r) const;
    void insert(int r, std::size_t h);
    void grow();
    VectorSpace* s_ = nullptr;
    // Open addressing: row numbers (-1 free) with their hashes, a power of two of slots.
    std::vector<int> slots_;
    std::vector<std::size_t> hashes_;
    int used_ = 0;
};

// Whether member i of the last set of getFullSimpleCurrentOrbit is the first of its chiral-algebra
// orbit in the set; the others have the same orbit generator.
bool startsChiralOrbit(int member);
// True when those first members lie in distinct orbits for sure (not so in graded mode, where
// orbits are taken up to grade flips): their rows need no search for duplicates.
bool oneMemberPerOrbit();

// createCFT, telling the fixed-point resolution whether the block is an N=2 minimal model.
SpectrumData* createCFTFlagged(TensorProduct* TP, const char* CFTname, int minimalN2);

// ---- Rows of the spectrum while a pass makes them ----

enum class RowAdded { Added, Present, Refused };
// Empties the spectrum (room for 1000 rows) and makes room for the stabilizer types.
void startSpectrumRows(TensorProduct* TP);
// Appends row (NTensor labels and the fixed-point label) with its type unless it is stored (not
// looked for when known to be new); Refused, with nothing stored, when limited and the spectrum
// already holds "Max_primaries" rows.
RowAdded appendSpectrumRow(TensorProduct* TP, const int* row, FPType* fp, bool limited,
                           bool knownNew = false);
// Links the rows for searches; every pass ends with it, also when it stops early.
void finishSpectrumRows(TensorProduct* TP);
// Ends the display and prints the limit; the result of a pass that stopped there.
int tooManyPrimaries(const char* title);
// Stores the n rows the filter admitted for v, one per fixed-point label of fp; -1 after the
// report when the limit is reached, else 0.
int storeAdmittedRows(TensorProduct* TP, int* v, int n, FPType* fp, bool limited,
                      const char* title);
// The end of a simple-current pass: its rows are the simple currents, numbered as a group.
int finishSimpleCurrentPass(TensorProduct* TP, const char* title, bool older);

} // namespace coset_internal
