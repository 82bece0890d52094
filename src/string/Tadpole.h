// Tadpole conditions of the current orientifold: the parameters that steer them, the solver flags
// they set, the criteria report, and the checks that make an orientifold usable for them.
#pragma once

#include <cstdio>
#include <span>
#include <vector>

// ---- Parameters, criteria and flags ----

void initializeTadpole();
// Sets the solver flags from "Tadpole completeness", then prints the criteria: through Print on
// standard output, written directly into any other file.
void printTadpoleCriteria(FILE* ofp);
// The criteria are printed (and the flags set) once after every change of a steering parameter.
void printTadpoleCriteriaOnce();
int criteriaPrinted();
void tadpoleSearchParametersChanged();
void BoundarySelectionCriteriaChanged();
void BoundarySelectionChanged();
int getBoundarySelectionCounter();

extern int SingleSolution;
extern int SimplestOnly;
extern int FullSol;

// ---- The orientifold ----

// 1 when the current orientifold can carry tadpole equations, 0 (with a report) when not.
int initTadpole();
// Sign of the real part of the identity crosscap coefficient: 1, -1 (reported) or 0.
int getTadpoleFlip();
// 1 when a massless field has a non-zero annulus coefficient between a and a, or (beyond the
// identity) between a and its conjugate.
int SelfIntersection(int a);
// The orientifold's boundary conjugates and group types, valid after initTadpole returned 1.
const int* getAnnulusConjugates();
const int* getTadpoleGroupTypes();

// ---- Boundary selection ----
// Without a selection every boundary counts as active and none as fixed. A selection made under
// another bulk invariant is replaced by one with every boundary active.

// a = -3 every boundary active, -2 none, -1 no selection. Returns 0.
int initActiveBoundaries(int a);
int ActiveBoundaries(int a);
// The fixed multiplicity of a, or -1.
int FixedVariables(int a);
// a and its conjugate; only on an orientifold that can carry tadpole equations.
void setActBound(int a, int value);
// Fixes a and its conjugate (the first value stays); 0 when refused.
int setFixVar(int a, int value);
void setRequireConfinement(int i);
int getRequireConfinement(int a);
int getFixedVariables();
const int* getFixedVariableList();
int activeBoundarySelection();
// The width of the label column of the group-type listing for Nbnd boundaries.
int cpLabelWidth(int Nbnd);
void browseCP();

// ---- The equations ----
// Two rows per massless Ishibashi label (real and imaginary part): the loop variables weighted by
// their reflection coefficients plus the constant column cancel. Cached per bulk invariant,
// orientifold, boundary selection and string reading.

struct EquationData;
struct OrientifoldInfo;

// Sizes the loop-variable maps for the bulk invariant and refreshes the search context's counts.
void allocTadpoleInfo();
int findTadpoleEquations();
int getLoopVariables();
void restrictLoopVariables();
// Renumbers the loop variables by a random permutation, then checks that CPToLoop and LoopToCP
// are still inverse ("ERROR!!!!" for each variable where not).
void randomizeVariables(std::span<int> CPToLoop, int* LoopToCP, int* SolutionGroupTyps, int Nvar);
// With 1 the loop variables are numbered at random and the rows left unnormalised; returns the
// previous value, so that a caller can restore it.
int setUseRandom(int value);
int getTadpoleEquation(double* eqns, int bulklbl, int* Data);
int computeTadpoleEquations();
int getTadpoleEquations();
int RemoveIdenticalBoundaries(int diffgrp);
int CheckTadpoleEquations(int* LoopOut);
int checkTadpoleSolution(int* LoopOut);
int getTadcols();
void printTadpoleEquations(int lbl);
EquationData* getTadpoleEquationPointer();
int getNumberOfLoopVariables();
const int* getActiveEquations();
const int* getCPToLoop();
const int* getLoopToCP();
const int* getSolutionGroupTypes();
int convertLoopLabelToCPLabel(int i);
int getTadpoleEquationCounter();

// ---- Chan-Paton data ----

// One brane configuration: stacks on boundaries of one orientifold with their multiplicities.
struct ChanPatonData {
    OrientifoldInfo* OI = nullptr;
    std::vector<int> CPmults; // multiplicity per boundary label
    int Nbnd = 0;
    int Nfix = 0;    // fixed stacks, first in Active
    int Nactive = 0; // stacks
    // Per stack; a record computed from a solution keeps one spare slot for a further stack.
    std::vector<int> Active, Types, dims, equivalences;
    // Per boundary label its gauge-group factor, -1 without branes; a unitary pair shares one.
    std::vector<int> CPlabelsToGroupFactors;
    int mode = 0;
};

ChanPatonData* generateChanPatonData(int Nlabel, OrientifoldInfo* OI, const int* vars,
                                     const int* mults);
ChanPatonData* computeChanPatonData(const int* sol);
void LoopsToCPLabels(const int* soln, int* CPmults);
// The loop-variable vector (last entry 1) of multiplicities per label; null when they are not
// valid for the current selection. The vector is reused by the next call.
int* CPlabelsToLoops(const int* ChanPaton, const int* CPmap, int Nvarp);

// ---- Progress buffer ----
// The searches collect a report of each tadpole attempt; a line with "....." is a time marker,
// later lines carry the CPU time since it.

void initTadpoleProgressInfo();
void bufferTadpoleProgressInfo(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void resetTadpoleProgressInfo();
int checkTadpoleProgressInfo(const char* s);
const char* getTadpoleProgressInfo();
// Back to the state the process starts with: no buffer, buffering off; the buffer otherwise
// keeps the room it has grown to for the rest of the run.
void resetTadpoleProgressState();
