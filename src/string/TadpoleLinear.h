// A collector of linear equations in a handful of unknowns, kept fully reduced as rows arrive. It
// tells an inconsistent system apart, solves a determined one in integers, enumerates the integer
// solutions of an underdetermined one inside a box, and turns its rows into integer rows. There
// is one collector per process: a caller finishes one system before it starts the next.
#pragma once

// Called for every enumerated solution of a subset of variables; its result is added to Nsol.
using SIMPLE_ANALYSIS = int (*)(int Nset, int* set, int* loop);

// The callback record of an enumeration.
struct SimpleSolData {
    int Nset = 0;
    int* set = nullptr;
    int Nsol = 0;
    SIMPLE_ANALYSIS fcn = nullptr;
};

// A row of Nvariable + 1 doubles states sum(Eqn[j] * x_j) + Eqn[Nvariable] = 0. Modes:
//  0 start a collection for Nvariable unknowns; 0.
//  1 add Eqn; 1 added, 2 redundant, -1 inconsistent; once the system is determined, 0 with *sol
//    the integer solution or -2 when it is not integral.
//  5 add Eqn without solving; 1, 2 or -1.
//  2 enumerate the box [min, max) (upper bounds exclusive; pivot unknowns are computed and must
//    exceed their lower bound): 0 with *sol the first solution without SSD, with SSD 0 when its
//    callbacks accepted at least one; -3 when nothing was found.
//  3 print the stored rows; 0.
//  4 fewer rows than unknowns: integer rows, *sol = them, Neq + 10; a determined system: its real
//    solution written into Eqn, 0; -2 when the integer conversion fails.
//  6 the number of stored rows.
//  7 integer rows, *sol = them; Neq, or -2 when the conversion fails.
//  8 the integer vector in min against every stored row: 0 all hold, -3 one is violated.
int CollectDoubleEquations(int Nvariable, double* Eqn, int** sol, int mode, int* min, int* max,
                           SimpleSolData* SSD);

// Each of the Neq rows (Nvariable + 1 entries, divided in place by its smallest entry) scaled to
// integers; 1 on success, 0 when an entry needs a denominator above 1024.
int convertEqnsToIntegers(double* Eqns, int* IntEqns, int Nvariable, int Neq);

// Adds the row v[4] + sum over the flagged k of v[k] * (next unknown), the coefficients of the
// unflagged k entering the constant as coefs[k] * v[k] / Norm; 1 added or redundant, 0 not.
int solveForUnknownCoefs(int* unknown, double* v, int* coefs, int Norm, int count);
