// Modular S-matrix elements of affine algebras at a level. The Weyl-group sum of an element is
// taken as one or two determinants over a table of cosines or sines of 2 pi j / m, so every
// angle is read from one cached table per modulus m instead of being computed per element.
#pragma once

// One cached table of a modulus: storage[j] = cos(2 pi j / m) and storage[m + j] =
// -sin(2 pi j / m). Tables live for the whole process, so callers may keep pointers into them.
struct Cosines {
    Cosines* next;
    int modulo;
    double* storage;
};

// ---- Kernel ----

double* getCos(int modulo);
// Determinant of the rank x rank table CosSin[(sr1[i] * sr2[j]) mod modulo].
double TarvikDet(const int* sr1, const int* sr2, int rank, int modulo, const double* CosSin);
// Determinant of the complex table Cos[p] + i Cos[modulo + p], p = (sr1[i] * sr2[j]) mod modulo.
void ComplexTarvikDet(const int* sr1, const int* sr2, int rank, int modulo, const double* Cos,
                      double* detR, double* detI);

// (R, I) multiplied by i^q, q in 0..3.
void timesIPower(int q, double R, double I, double* somr, double* somi);

// Integer orthogonal coordinates of lambda + rho from the Dynkin labels of lambda.
void orthA(int* isr, const int* rep, int rank); // rank + 1 entries
void orthB(int* isr, const int* rep, int rank);
void orthC(int* isr, const int* rep, int rank);
void orthD(int* isr, const int* rep, int rank);
void orthF(int* sr, const int* rep);  // 4 entries
void orthE6(int* sr, const int* rep); // 6 entries
void orthE7(int* sr, const int* rep); // 7 entries
void orthE8(int* sr, const int* rep); // 8 entries
// Coordinates of lambda itself (no rho) for B.
void OrthoB(int rank, const int* rep, int* isr);

// ---- Classical and twisted algebras ----
// rep1 and rep2 are label vectors; the level-1 routines and B(2t) also read the affine label at
// position rank. Every routine writes both outputs.

void TarvikA(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
void TarvikB(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
void TarvikC(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
void TarvikD(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
void TarvikBtilde(const int* rep1, const int* rep2, double* somr, double* somi, int rank,
                  int level);
void TarvikB1(const int* rep1, const int* rep2, double* somr, double* somi, int rank);
void TarvikC1(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
void TarvikD1(const int* rep1, const int* rep2, double* somr, double* somi, int rank);

// ---- Dispatcher ----
// One S element of the triple (type, rank, level). For the algebras rep1 and rep2 are extended
// label vectors; for the free boson (type 0, rank = radius) one charge each; for type 27 the
// triple (l, m, s), of which type 26 reads s. A triple without a formula is reported and gets 0.
void SDirect(int type, int rank, int level, const int* rep1, const int* rep2, double* sumr,
             double* sumi);
