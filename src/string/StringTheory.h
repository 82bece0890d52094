// The string reading of the current theory: its string data and the space-time dimension that the
// covariant lattice and the central charge allow (bosonic reading: 26 - c).
#pragma once

#include "tensor/Branching.h"

#include <string>

struct Heterotic;

// Binds the tachyon callback to its neutral value and installs the dimension rule with the tensor
// products (which judge their string data by it) and the printer of tachyon-free models.
void initializeStringTheory();
// 0 when the central charge fits the covariant lattice of H, with or without an implicit E8 at
// level 1 (SpaceTimeDim and ImplicitE8 set); 1 when not. silent suppresses the messages.
int getSuperstringSpaceTimeDimension(Heterotic* H, int silent);
// 26 - c when it is an integer (of any sign), else -1 after the message unless silent.
int getConformalSpaceTimeDimension(int silent);
// The string data of the current theory, or null after switching "Super" off with the reason.
Heterotic* getStringData();
// The space-time dimension of the current reading; -1 when there is none.
int CheckSpaceTime();
// 2^(D/2), the multiplicity the tadpole equations put on the crosscap side.
double OrientifoldMultiplicity();
// The four class multiplicities of field lbl of the current theory; null without contents.
int* getRepInfo(int lbl);
// Forwards to the triviality test of the product or of the block.
int isTrivial(int lbl);
// 1 while the parameter "Super" is on.
int superstringReading();

struct BulkInvariant;
struct IntegerList;

// ---- Massless and tachyonic closed-string states ----

// The tachyon check's callback. Codes: 0 the closed string is tachyon-free (return 1 to skip the
// orientifold walk), -1 a walk starts, 1 the current orientifold is tachyon-free, 2 the walk
// ended.
using TACHYON_FCN = int (*)(int code);

// 1 when field i gives a massless (tachyon 0) or tachyonic (tachyon 1) space-time state.
int masslessCharacter(int i, int tachyon);
// The fields, ascending, with masslessCharacter(i, 0) respectively (i, 1); valid until the bulk
// invariant or the reading ("Super") changes. One reading is decided per list.
IntegerList* getMasslessLabels();
IntegerList* getTachyonLabels();
// The vacuum and every field of weight exactly 1, in any reading.
IntegerList* getBosonicMasslessLabels();
// Ishibashi labels (not fields) of massless fields with a class 1 or 2 component.
IntegerList* getTwoFormLabels();
void setTachyonFunction(TACHYON_FCN fcn);
// 1 when the closed string has tachyons, 0 when not; texts only with print_output 1. With all 1
// possibly cancellable tachyons start the walk over the orientifolds; the user's orientifold is
// current again afterwards.
int checkTachyon(int all, int print_output);
// 1 when the current orientifold leaves tachyons; null forgets the remembered pair (0).
int checkUnorientedTachyon(IntegerList* PossiblyCancellableTachyons);
int fastTachyonCheck(int left, int right, BulkInvariant* BI);
int TachyonCheckForLabels(int left, int right, BulkInvariant* BI);
// Class-2 multiplicity of the field; 1 after a report in the bosonic reading.
int getTachyonDimension(int lbl);
// 1 when the current bulk invariant's tachyon state is undecided (possibly cancellable).
int cancellableTachyon();
// The callback of "record tachyon-free" and its record: status (-1 nothing, 0 closed string
// tachyon-free, 1 some orientifold), orientifold sequence numbers, -1.
int recordTachyonFreeCase(int mode);
int* getTachyonRecord();
// Appends a tachyon-free model (ori 1: the current orientifold) to the ".notach" file; the
// user's output file and terminal output are as before afterwards.
void PrintTachyonFreeModelData(int ori, IntegerList* ORI);
// The type-II display the ".notach" block ends with, installed by the command set.
using TYPE_II_BROWSER = int (*)(int flip, int decomposition);
void setTypeIIBrowser(TYPE_II_BROWSER browser);
int UnphysicalTadpole(int lbl);

// ---- Massless spectrum and space-time supersymmetry ----

// A space-time symmetry record that owns its two side records.
struct SusySides {
    ChiralSusyType left{};
    ChiralSusyType right{};
    SusyType ST{};
    SusySides() {
        ST.Left = &left;
        ST.Right = &right;
    }
    SusySides(const SusySides&) = delete;
    SusySides& operator=(const SusySides&) = delete;
};

// Fills H->Left, H->Right, H->Symmetric and H->massless (left class, right class) for the current
// bulk invariant; info 1 prints the kind of invariant.
void computeHeteroticSpectrum(Heterotic* H, int info);
// A scratch copy of the string data with its table computed; null without consistent data. Valid
// until the next call of any function of this section.
Heterotic* getStringSpectrum(int info);
void computeMasslessSpectrum(BulkInvariant* BI, Heterotic* H);
void getChiralExtension(const int* orbit, Extension* EXT, int length, int type, int rank);
void InverseBranchMasslessSpectrum(Heterotic* H);
void InverseBranchMasslessSpectrum2(Heterotic* H, int massless[4][4]);
// Appends the multiplet lines of the table to out; their number.
int printHeteroticMultiplet(std::string& out, SusyType* ST, int massless[4][4]);
// The massless and tachyonic multiplets pair by pair; the second returns 1 when it printed one.
void analyseMasslessSpectrum(Heterotic* H, SusyType* ST);
int analyseTachyonSpectrum(Heterotic* H, SusyType* ST);
// Eight ints: massless[0..3][1] (Hodge numbers at 1 and 2 in four dimensions), the addim of both
// extensions and the supercharges of both sides; null without data or when the user stops.
int* getHeteroticSpectrumInfo();
// BI's susy_R and susy_L; left at -1 without string data.
void findBulkSupersymmetry(BulkInvariant* BI);
// 1 for a four-dimensional superstring with E6 on both sides.
int CY_Check(char mode);
// 1 for a six-dimensional superstring with exceptional algebras on both sides.
int SixDimSusy();
// 1 when "Super" is on, the data are consistent and the covariant lattice's branching is chiral.
int CheckExtensionChirality();
void printRawSpectrum(Heterotic* H, const char* str);
