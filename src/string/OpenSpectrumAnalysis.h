// Spectrum reports of brane configurations: the closed string projected by the Klein bottle, the
// open-string gauge sector and matter listing, the six-dimensional multiplet count with its
// anomaly tests, and the parametrised solution set of the tadpole equations.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct ChanPatonData;
struct ChiralSusyType;
struct SusyType;
struct KernelData;

// Start-up calls it once. Nothing to bind: the module reads "Super", its info level and the
// current bulk invariant where it uses them.
void initializeOpenSpectrum();

// ---- Closed sector ----

// The class range [min, max) of field l on one side and its class multiplicities: the class k
// multiplicity sits at mults[k + 1]; the vacuum has the single class -1.
void repLimits(int l, ChiralSusyType* CST, int* min, int* max, int* mults);
// Makes orientifold ori current (with ofp: after its header and orientation data) and returns
// the closed-sector counts, null outside four dimensions or without string data.
int* printClosedSectorInfo(FILE* ofp, int ori);
// The massless (and without supersymmetry the tachyonic) closed multiplets of the current bulk
// invariant and orientifold, to ofp or through Print; a repeat for the same pair prints "Closed
// sector as above". Six counts in four dimensions, else null.
int* ClosedSectorAnalysis(SusyType* ST, int st_dim, FILE* ofp);
// Six counts from fill vectors of st_dim + 10 ints followed by their fill counts; null
// (reported) outside D = 4.
int* OrderRepCount(int* repcnt, int* SusyReps, int st_dim, int fill);
// The representations of one closed-sector pass, counted; a zero multiplicity or an all-zero
// vector adds nothing. Grows without limit.
class ClosedSectorStore {
public:
    explicit ClosedSectorStore(int size = 0) : width(size) {}
    void clear(int size);
    void add(const int* rep, int mult);
    int size() const { return static_cast<int>(counts.size()); }
    const int* vector(int k) const { return &vectors[static_cast<std::size_t>(k * width)]; }
    int count(int k) const { return counts[static_cast<std::size_t>(k)]; }
    // The vectors one after another, then their counts: the layout OrderRepCount reads.
    std::vector<int> packed() const;

private:
    int width;
    std::vector<int> vectors;
    std::vector<int> counts;
};

// ---- Reports ----

// mode 0 closed and open sector, 1 open, 2 closed (CPD may be null only here), 3 detailed gauge
// and open sector.
int GenericSpectrumAnalysis(ChanPatonData* CPD, int mode);
int GenericBosonicSpectrumAnalysis(ChanPatonData* CPD, int mode);
// The closed string's six-dimensional multiplets: 1, or -1 after a report when they come out
// fractional.
int SixDimensionalClosedAnalysis();
// The six-dimensional report of a configuration: closed and open multiplets, totals and the
// gauge and gravitational anomaly tests; 1, or -1 on fractional closed multiplets.
int SixDimensionalAnalysis(ChanPatonData* CPD);
// The gauge factors of a configuration printed per label (position: of the alert on an
// unexpected group), their types ('O', 'S', 'U') appended to types when given; the number of
// gauge bosons, sum over labels of (N_a N_a^c - M0 N_a)/2.
int gaugeBosonCount(ChanPatonData* CPD, int position, std::vector<char>* types);
// "Gauge sector analysis:" with the gauge bosons' multiplet; the right side of ST becomes the
// bosonic Chan-Paton side. The number of gauge factors.
int DetailedGaugeSectorAnalysis(ChanPatonData* CPD, SusyType* ST);
// Every massless (and without supersymmetry tachyonic) open state of the configuration, per
// primary and sector; the total count of the last pass.
int DetailedOpenSectorAnalysis(ChanPatonData* CPD, SusyType* ST);
// Lines of the detailed listing: the tensors of a diagonal sector ((A + M)/2 symmetric, (A - M)/2
// antisymmetric, or an adjoint) and a bifundamental, appended to txt; the plain forms print
// them, with the conjugate marked by a negative sign instead.
void PrintRep1string(std::string& txt, int factor, int Nfact, int A, int M, int Nf, int character,
                     int sign, int adjoint);
void PrintRep2string(std::string& txt, int Nfact, int lbl1, int lbl2, int A, int Nf, int character,
                     int sign1, int sign2);
void PrintRep1(int factor, int Nfact, int A, int M, int Nf, int character, int sign);
void PrintRep2(int Nfact, int lbl1, int lbl2, int A, int Nf, int character, int sign1, int sign2);
// Fermion rows (class 1, less the gauginos) against boson rows (class 2): the non-susy
// statistics. The bosons' collection receives the fermion rows.
struct VectorSpace;
void analyseNonSusySpectrum(VectorSpace* Fermions, VectorSpace* Bosons, ChanPatonData* CPD);
// The dimension of a row of codes over factors of multiplicities dims.
int OpenStringDim(int len, const int* rep, const int* type, const int* dims);
// The printer of a space-time symmetry's multiplets, installed by the command set.
using SUSY_MULTIPLET_PRINTER = void (*)(SusyType* ST);
void setSusyMultipletPrinter(SUSY_MULTIPLET_PRINTER printer);

// ---- Parametrised solutions ----

// The boundary column of a solution line: " --> ", (bnd) or (bnd,conjugate) centred in 15
// characters, " --> ". Valid until the next call.
char* getBoundaryInfoString(int bnd);
// The table of the solution set (Size = columns, Solution = the basic solution with its constant
// last), marking each printed variable in KD->Active, then the rank lines.
void printParametrizedSolution(KernelData* KD, int Size, int* Solution);
void PrintRank(KernelData* KD, int Size, int* Solution);
