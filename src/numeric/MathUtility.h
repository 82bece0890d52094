// Rationals, integer arithmetic and numeric tolerances.
#pragma once

#include <cmath>

// A small rational. Normal form: no common factor, positive denominator, zero as 0/1.
struct Rat {
    int num;
    int den;
};
using rat = Rat;

// The absolute tolerance of the shared zero and integer tests (inclusive).
inline constexpr double Tolerance = 1e-7;

// Rationals. The result may be the same object as an input.
void copyRat(rat* A, const rat* B);
void torat(int A, rat* C);
void setzero(rat* A);
void torat2(int A, int B, rat* C);
void simplifyRat(rat* X);
void addRat(const rat* A, const rat* B, rat* C);
void subtractRat(const rat* A, const rat* B, rat* C);
void multiplyRat(const rat* A, const rat* B, rat* C);
rat* RatToFrac(rat* a);
int intcheck(const rat* A);
int halfintcheck(const rat* A);
void optimalRoot(const rat* D, rat* E, int N);
// Both return a static result that their next call overwrites.
rat* doubleToRat(double x);
rat* DoubleToRat(double a, int guess);

// Integers.
int GCD(int N, int M);
int SCM(int N, int M);
int mod(int i, int j);
int intdivide(int i, int j);
int HalfEntier(int n);
int divTwo(int a, int var);
int MaxVal(int n1, int n2);
int MinVal(int n1, int n2);
int sign_(int a);
int SignPow(int n);
int intpow(int k, int n);
int twopow(int n);
int factorial(int n);
double binomialD(int n, int k);
int binomial(int n, int k);
int isqrt(int i);
int prime(int i);
int SinglePrimePower(int i);
int primetest(int number);

// Doubles to integers and the tolerance tests.
int ZeroCheck(double a);
int CZeroCheck(double R, double I);
int IntCheck(double a);
int ZeroModOneCheck(double a);
int DoubleToInteger(double a, int* result);
int ComplexToInteger(double R, double I, int* result);
int DoubleToInt(double a);
int ComplexToInt(double R, double I);
int IntegerPart(double a);
double DoubleToFrac(double a);
int CposCheck(double R, double I);
int doubleCompare(double A, double B, double allowed_diff);
int convertVectorToIntegers(int size, const double* DV, int* IV, int maxfac);
double absD(double X);
// isfinite(X) is the standard one: a global int isfinite(double) would clash with <math.h>.
using std::isfinite;

// Complex numbers as (real, imaginary) pairs of doubles.
void complexProduct(double R1, double I1, double R2, double I2, double* R3, double* I3);
void complexRatio(double R1, double I1, double R2, double I2, double* R3, double* I3);
double absC(double R, double I);
double compareC(double R1, double I1, double R2, double I2);
void complexExp(double R1, double I1, double* R3, double* I3);
void complexImExp(double R1, double I1, double* R3, double* I3);
double getPhase(double R, double I);
double getPhaseTEST(double R, double I);
void complexSquareRoot(double R, double I, double* Rout, double* Iout);

// Random numbers; the first call of either seeds the generator with the clock.
double dRandom();
int randomNumber(int Max);
