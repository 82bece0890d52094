// State shared by the files of the current-theory facade: the counters and stamps, the parameter
// values, the orbit table and the S columns of the fusion sums.
#pragma once

#include "base/Allocation.h"
#include "modular/Modular.h"

#include <map>
#include <string>
#include <vector>

struct SpectrumData;

namespace modular_internal {

extern int CFTCounter;
extern int OrbitDataAvailable;
extern int OrbitSAvailable;
extern int SMATRIXavailable;
extern int FirstRowAvailable;
extern int SMATRIXWasAborted;

int tensorMode();
int totalPrimaries();
// Another theory became current, or the product's factors or currents changed: every cache
// derived from the theory before is stale, although nothing is computed yet for the new one
// (the bulk invariant waits for that).
void theoryReplaced();

// Parameter values; the defaults apply until initializeModular has bound them.
int smatrixMaxsize();
int smatrixMaxdisk(); // in MB
int useOrbits();
int debugInit();
int highPrecision();
int fusionSumcheck();

// The monodromy charge Q_J(x), exact and not reduced modulo 1, from the block's charge table (or
// the factors' of a product). The weights cannot give it: a free boson of odd radius has weights
// fixed only modulo 1/2.
void monodromyCharge(int J, int x, rat* Q);

// Computed by the current block or tensor product, past every cache.
void directS(int i, int j, double* re, double* im);
void directT(int i, double* re, double* im);
void directRootT(int i, double* re, double* im);
int directAction(int J, int x);
// The simple-current group of the current theory and, in map (resized to its order), the field of
// each element. A product keeps its own numbering: element i is field i.
Discrete_Group* centerOfTheory(std::vector<int>& map);

bool orbitDataValid();
int groupOrder(); // G of the orbit table
// Entry [a * G + b]: the product of currents a and b.
const int* curMultTable();
const int* orbitMap(); // start of each orbit
extern const double* PhasesR;
extern const double* PhasesI;

// Reports a coefficient that is no integer (at position) and a negative one (at position + 1).
void reportCoefficient(const char* routine, int position, int i, int j, int k, double value, int n);

// "S(i,j) " (or another matrix letter) padded for labels of the current theory's size.
char* matrixLabel(char* txt, char matrix, int i, int j);

// p / v in the way of the Verlinde sums: a real v divides both parts of p as they are.
inline void quotientOf(double pr, double pi, double vr, double vi, double* re, double* im) {
    if (vi == 0.0) {
        *re = pr / vr;
        *im = pi / vr;
        return;
    }
    const double d = vr * vr + vi * vi;
    *re = (pr * vr + pi * vi) / d;
    *im = (pi * vr - pr * vi) / d;
}

// row[m] = a_m b_m / v_m for m below size, real parts into re and imaginary parts into im; each
// of a, b, v is called as (m, &real, &imaginary).
template <class A, class B, class V>
void productRow(int size, A a, B b, V v, double* re, double* im) {
    for (int m = 0; m < size; m++) {
        double ar, ai, br, bi, vr, vi;
        a(m, &ar, &ai);
        b(m, &br, &bi);
        v(m, &vr, &vi);
        quotientOf(ar * br - ai * bi, ar * bi + ai * br, vr, vi, &re[m], &im[m]);
    }
}

// L_i = h_i - c/24 of the current theory, so that T_ii = exp(2 pi i L_i).
double currentLogT(int i);

// Raises the largest deviation that the checks have met (getAccuracy) to d when d is larger.
void noteDeviation(double d);

// 1 once every field's indices are known; a new theory clears it.
extern int IndicesComputed;

// The P rows on orbits: made ready at the end of initOrbitData, released when the table is
// rebuilt.
void setUpOrbitP();
void releaseOrbitP();

// The directory of the current theory's rows ("S<theory>" and postfix in the output directory,
// or an alternative name when that one belongs to another theory), created when missing; empty
// when none can be had. what is "S" or "P" for the messages. rowBytes, what all rows would take
// on disk, is granted silently up to "S_matrix maxdisk"; beyond, the user is asked, and a refusal
// (the answer of a background run) gives no directory, or one whose rows are read but to which
// none is added.
std::string rowDirectory(const char* postfix, const char* what, double rowBytes);
// Bytes per number of the S rows of the current theory, from its first row (a guess before).
double rowBytesPerNumber();
// What tells the current theory apart from every other one that could share a row directory.
std::string theoryIdentity();

// The allocation counter of the fusion code.
AllocCount* fusionCounter();

// S of every field on the summation points of the fusion sums: the orbit starts while the orbit
// short cut applies, else all fields. The fields are stored grouped by their charges under the
// basis currents, so that the fields a fusion product may contain are one contiguous run.
class FusionColumns {
public:
    bool onOrbits() const { return onOrbits_; }
    int points() const { return points_; }
    // True when every imaginary part is 0: the sums then need the real parts alone.
    bool real() const { return real_; }
    // The doubles of a column that the sums read: the real parts, or both halves.
    int sumLength() const { return real_ ? points_ : 2 * points_; }
    // S(point m, k) for the points m: their real parts, then their imaginary parts.
    const double* column(int k) const { return columnAt(position_[k]); }
    const double* columnAt(int p) const {
        return data_.X + static_cast<std::size_t>(p) * 2 * points_;
    }
    int position(int k) const { return position_[k]; }
    int fieldAt(int p) const { return fieldAt_[p]; }
    // The fields from position p on; within a class they ascend.
    const int* fieldsFrom(int p) const { return fieldAt_.data() + p; }
    int classOf(int k) const { return classOf_[k]; }
    int classStart(int c) const { return classStart_[c]; }
    int classEnd(int c) const { return classStart_[c + 1]; }
    int largestClass() const { return largestClass_; }
    std::size_t classCount() const { return classStart_.empty() ? 0 : classStart_.size() - 1; }
    // The class of the fields that a x b may contain; -1 when no field has those charges.
    int productClass(int a, int b) const;
    // The conjugate of k read off from S; -1 when none was found.
    int conjugate(int k) const { return conjugate_[k]; }
    // Orbit length of point m; 1 without orbits.
    double length(int m) const { return length_[m]; }
    // length(m) / Re S(point m, 0): the weights of the sums with the vacuum 0.
    const double* weights() const { return weight_.data(); }

    // Rebuilds the table for the current theory; false when it would need more than the
    // allocator grants.
    bool build(bool onOrbits);
    bool validFor(bool onOrbits) const;

private:
    void sortIntoClasses(int N);
    void fillColumns(int N);
    void findConjugates(int N);

    int stamp_ = -1;
    bool onOrbits_ = false;
    bool real_ = false;
    int points_ = 0;
    GuardedArray<double> data_{"Fusion columns", fusionCounter()};
    std::vector<int> position_, fieldAt_, classOf_, classStart_, conjugate_;
    std::vector<double> length_, weight_;
    int largestClass_ = 0;
    // The charges of each class under the basis currents, and the class of given charges.
    std::vector<int> basis_;
    std::vector<std::vector<int>> classCharges_;
    std::map<std::vector<int>, int> classOfCharges_;
    mutable std::vector<int> sumScratch_;
};

// The number of fields from which STcheck sums each pair over charge classes of orbit starts
// instead of over every field (1000 unless set).
void setOrbitCheckFields(int fields);

// The columns for the current theory, made on first use when build is true; null when they
// would need more than the allocator grants, or when they are not there and build is false.
const FusionColumns* fusionColumns(bool onOrbits, bool build);

} // namespace modular_internal
