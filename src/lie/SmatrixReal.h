// The alternating Weyl-group sum of an S-matrix element as an analytic function of the two
// weights: Dynkin labels are real numbers and every exponent is multiplied by a real factor.
// With factor 1 and integral labels this is the S-matrix element. Types A, B, C, D, G2 and F4.
#pragma once

// irep1 and irep2: rank real Dynkin labels each. An unsupported type is reported and leaves the
// outputs as they were.
void DoubleSDirect(int type, int rank, int level, const double* irep1, const double* irep2,
                   double* sumr, double* sumi, double factor);

void DoubleTarvikA(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor);
void DoubleTarvikB(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor);
void DoubleTarvikC(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor);
void DoubleTarvikD(const double* rep1, const double* rep2, double* somr, double* somi, int rank,
                   int level, double factor);
// G2 prints both weights ("IN1 ", "IN2 ") to standard output before it computes.
void DoubleTarvikG(const double* rep1, const double* rep2, double* somr, double* somi, int level,
                   double factor);
void DoubleTarvikF(const double* rep1, const double* rep2, double* somr, double* somi, int level,
                   double factor);

// Determinants of the rank x rank tables with the angle 2 pi sr1[i] sr2[j] factor / modulo:
// entries -sin, cos, and exp(-i angle).
double DoubleTarvikDetSin(const double* sr1, const double* sr2, int rank, int modulo,
                          double factor);
double DoubleTarvikDetCos(const double* sr1, const double* sr2, int rank, int modulo,
                          double factor);
void DoubleComplexTarvikDet(const double* sr1, const double* sr2, int rank, int modulo,
                            double* detR, double* detI, double factor);

// Orthogonal coordinates of lambda + rho from real labels, as the integer maps do.
void DoubleorthA(double* isr, const double* rep, int rank); // rank + 1 entries
void DoubleorthB(double* isr, const double* rep, int rank);
void DoubleorthC(double* isr, const double* rep, int rank);
void DoubleorthD(double* isr, const double* rep, int rank);
void DoubleorthF(double* sr, const double* rep); // 4 entries
