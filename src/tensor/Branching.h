// The space-time reading of superstring theories: branching tables of the covariant-lattice
// algebra into its subalgebras, the algebra that extra massless currents extend it to, the
// space-time symmetry type of each world-sheet side, and the Lorentz content of products of
// left and right representations.
//
// Covariant-lattice algebras are named by (type, rank): type 2 B_n, type 4 D_n, type 5 with rank
// 6, 7, 8 E6, E7, E8 and type 5 with rank 4 F4, always at level 1. Their classes are numbered:
// D_n 0 singlet, 1 spinor, 2 vector, 3 conjugate spinor; B_n 0 singlet, 1 vector, 2 spinor; E6 0,
// 27, conjugate 27; E7 0, 56; F4 0, 26; E8 0 only. Results returned in module arrays stay valid
// until the next call of the same function; callers copy what they keep.
#pragma once

#include "store/StringData.h"

#include <string>

struct SpectrumData;
struct TensorProduct;

// ---- Classes of the covariant-lattice algebras ----

// 0 for an algebra that is not a covariant lattice.
int RepCnt(int type, int rank);
// The dimension of the basic representation of class cls (-1: the adjoint); class 0 is 1 for
// every algebra. 0 after a report for a class it does not know.
int repDim(int type, int rank, int cls);
// Per class info[k] times repDim; a module array of four ints.
int* getTotalRepDim(int type, int rank, const int* info);
// B_n 2n-5, D_n 2n-6, F4 3, E6 4, E7 6, E8 10; 0 after a report otherwise.
int getCovLatDim(int type, int rank);
// 1 for D_n and E6, whose representations are complex.
int isChiral(int type, int rank);
// 1 when the two chiralities of G can be told apart in H.
int ChiralityResolved(int G_type, int G_rank, int H_type, int H_rank);

// ---- Branching tables ----
// One list keeps every table built, newest first; tables are never freed, so a table's address
// stays valid for the life of the process.

// The table G > H for chirality chir, found in the list or built from the built-in tables along
// the E and F chains; null (after a report) when it cannot be built. A repeated request returns
// the same record.
Branching* makeBranchingTable(int G_Type, int G_Rank, int H_Type, int H_Rank, int chir);
// One built-in table; null after "Branching not built in" for any other pair.
Branching* FundamentalTable(int G_Type, int G_Rank, int H_Type, int H_Rank, int chir);
// G > H from Tab1: G > K and Tab2: K > H; null when the two do not chain.
Branching* MultiplyTables(Branching* Tab1, Branching* Tab2);
// A new table in the list, all entries 0 but table[0][0] = 1.
Branching* allocBranchingTable(int G_Type, int G_Rank, int H_Type, int H_Rank, int chir);
// The head of the list of all tables built.
TableNode* getFirstBranchingTable();
// Fills G_Rep with the G content whose branching is the H content H_Rep (which is consumed);
// 1 when it is unique, else 0.
int InverseBranch(const Branching* Table, int* H_Rep, int* G_Rep);
// The algebra that count[k] extra massless currents in class k extend (type, rank) to, with the
// chirality of its embedding; 0 on success, 1 after a report.
int Determine_Extension(int type, int rank, const int* count, int* G_type, int* G_rank,
                        int* chirality);
void trivialExtension(Extension* EXT, int type, int rank, int addim);
// 1 when G and H are the same algebra.
int BranchingIsTrivial(const Branching* B);
// H1 becomes a copy of H2; the pointers are shared.
void copyHeterotic(Heterotic* H1, const Heterotic* H2);
// "check branching": prints the table with chirality 1 and checks its dimensions.
void checkBranchingTable(int G_Type, int G_Rank, int H_Type, int H_Rank);

// ---- String data of a tensor product ----

// Fixes the algebra that the massless currents count[k] extend the covariant lattice to: the
// product's BranchingTable, the new CovLatEmbedding and addim; error 1 when that fails.
void Analyse_Extension(TensorProduct* TP, SpectrumData* sd, int* count);
// The G content of a field from its state counts rep[j] per H class of the product's
// BranchingTable (rep is consumed); adds to the massless counts when massindex is 0. The result
// is that of InverseBranch.
int Analyse_Representation(TensorProduct* TP, int* rep, int* G_Rep, int corr, int massindex);
// For a block that carries string data: adds the states of its field lbl, of total dimension
// totdim, to the class counts of its covariant-lattice algebra.
void updateRepCount(SpectrumData* sd, int* count, int lbl, int totdim);

// ---- Space-time symmetry types ----

// One world-sheet side: the algebra its covariant lattice is extended to (type 0, rank 0: a
// bosonic side).
struct ChiralSusyType {
    int Type;
    int Rank;
    int Chir;     // +1, -1; 0 unspecified or meaningless; 999 unspecified and never reported
    int Chir_res; // 1 when the chirality can be told apart in the covariant-lattice subalgebra
};

// The caller owns the record and the side records it points to.
struct SusyType {
    ChiralSusyType* Left;
    ChiralSusyType* Right;
    ChiralSusyType* HeteroticSpaceTime; // the side carrying space-time in a heterotic reading
    Extension* HeteroticGaugeGroup;     // the other side's extension in a heterotic reading
    int dim;
    int symmetrizable; // both sides equal, with a chirality other than 999
    int supersymmetric;
    int orientable; // 0 only for the reading 'X'
};

// Fills ST from the string data H for the reading side ('L', 'R', 'B', 'X', 'I' or 'O'); 0, or
// -1 when a side fails its dimension check.
int getSpaceTimeSymmetry(const Heterotic* H, SusyType* ST, char side);
// Parses a side type ("16", "8-", "F4", "0", ...) for dimension dim; 0 valid, -1 invalid.
int getChiralSusyType(const char* input_str, int dim, ChiralSusyType* CST);
// The type part of the text, without chirality sign; 0 or -1.
int interpretSusyType(const char* str, ChiralSusyType* CST);
// 0 valid, -1 invalid; drops a chirality that means nothing at dim.
int checkChiralSusyType(ChiralSusyType* CST, int dim);
// Checks both sides and sets symmetrizable and supersymmetric; 0 or -1.
int checkSusyType(SusyType* ST);
// The multiplet index of a name for a side: the class of its algebra, -1 the vector multiplet;
// 999 after a report when invalid.
int getMultiplet(const char* str, const ChiralSusyType* CST);
// In a module buffer, overwritten by the next call.
char* susyname(const ChiralSusyType* CST);
// Writes the short name of representation rep into name and returns name.
char* susyrepname(const ChiralSusyType* CST, int dim, int rep, char* name);
int SusyCount(const ChiralSusyType* CST);
int isChirallySupersymmetric(const ChiralSusyType* CST);
int isSupersymmetric(const SusyType* ST);
int SusyRepsAreChiral(const ChiralSusyType* CST, int dim);

// The listing of "browse susy": each level ends in calls of the command set's printer of one
// representation pair, installed at start-up (nothing is printed while none is installed).
using DISPLAY_SUSY = void (*)(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int rep2,
                              int sym, int depth);
void setDisplaySusy(DISPLAY_SUSY printer);
void displaySusy1();
void displaySusy2(int dim, int depth);
void displaySusy3(int dim, ChiralSusyType* CST, int depth);
void displaySusy4(int dim, ChiralSusyType* L, ChiralSusyType* R, int depth);
void displaySusy5(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int depth);

// ---- Lorentz representations and supersymmetry multiplets ----
// Count vectors have D + 10 entries, one per Lorentz representation index: 0 scalar, 1 spinor,
// 2 vector, 3 conjugate spinor, 4 graviton, 5 B-tensor, 6 dilaton, 7 and 8 the gravitini, 9 and
// 10 the self-dual and anti-self-dual tensor, 11 + k the k-form.

// The largest space-time dimension the tables serve.
inline constexpr int MaxSpaceTimeDim = 26;

// Prints the table "Lorentz" for dim.
void displayLorentzReps(int dim);
// Cells of the table "Lorentz": the text of index lbl at the dimension row points to.
char* BR_getNotationString(char* txt, void* row, int lbl);
char* BR_getInterpretationString(char* txt, void* row, int lbl);
char* BR_getDOFString(char* txt, void* row, int lbl);
// Light-cone degrees of freedom, counted twice.
int lightconeDim(int dim, int rep);
// The four slot counts of one side's representation rep (-1: the vector multiplet); null when
// the side has no table.
int* SusySpinDecomposition(const ChiralSusyType* CST, int dim, int rep);
// The count vector of the product of slots i and j (sym +1 symmetric, -1 antisymmetric, 0 both).
int* CovLatTensor(int dim, int i, int j, int sym);
// The count vector of the product of two slot-count vectors.
int* multiplySpaceTimeReps(int dim, int sym, const int* cnt1, const int* cnt2);
// Left representation i times right representation j of ST; null when a side fails its check.
int* getSusyRepresentation(int i, int j, int sym, SusyType* ST);
// The same as text; empty when a side fails its check.
std::string susyRepresentationText(int i, int j, int sym, SusyType* ST);
// The same text written at txt, which must hold it; returns the end of the text.
char* getSusyRepresentationString(char* txt, int i, int j, int sym, SusyType* ST);
// Writes a count vector with its bosonic and fermionic degrees of freedom and, when it is one,
// the name of its multiplet; returns the end of the text.
char* printSpaceTimeRep(char* txt, int size, int dim, const int* count, int isSusy);
