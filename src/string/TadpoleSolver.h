// Integer solutions of the tadpole conditions: the drivers that choose between bound analysis,
// the few-brane search and nested loops, the analysis of every solution they find, the check of
// user-given multiplicities, and the statistics of few-brane solutions.
//
// Result codes of the drivers and loop entries: -1 no solution, -2 aborted, -3 loops short and
// not run, -4 exactly one solution (or the few-brane search found one), -(3+n) n solutions,
// 0 ended without a verdict.
#pragma once

struct ChanPatonData;
struct VectorSpace;

// Called with the configuration of every accepted solution: 0 rejects it, a positive value is
// counted, a negative one follows the loop protocol (-5 stops every loop).
using TADSOL_ANALYSIS = int (*)(ChanPatonData* CPD);
// Milestone messages of the solver.
using BUFFERED_INFO = void (*)(const char* fmt, ...);

// ---- Callbacks, budget and threshold ----

void setAnalysisFunction(TADSOL_ANALYSIS fcn);
void resetAnalysisFunction();
// 1 while no search has installed its own analysis.
int defaultAnalysisFunction();
void setTraceFunction(BUFFERED_INFO fcn);
void resetTraceFunction();
void setTadpoleMaxtime(int t);
int getTadpoleMaxtime();
// Solutions with at most this many non-zero loop variables are already known (-1: none).
void setCPthreshold(int t);
int getCPthreshold();
// Sends a milestone message to the installed trace callback.
void tadpoleTrace(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// ---- Drivers and loop entries ----

// -1 in an argument means the parameter's value ("Tadpole completeness", "Tadpole max_iter").
int SolveTadpoleConditions(int parm, int single, int persistence);
int SolveTadpoleConditionsUsingLoops(int wait);
int SolveTadpoleConditionsUsingKernel(int maxloop);
// Bound analysis only: -3 when the loops are short.
int SolveTadpoleConditionsUsingBounds();
int SolveSimpleCurrentTadpoleConditions();
int SolveTadpoleConditionsWithFewBranes(int maxbrane);
int SolveTadpoleConditionsSingle(int rc);
int TadpoleLoops(int interrupt, int* min_in, int* max_in, int parm, int single);
int TadpoleLoopsSingle(int interrupt, int* min_in, int* max_in);

// ---- Solutions ----

// Per-solution analysis of a loop vector (last entry the constant); null resets the counter.
// 1 accepted, 0 rejected, or the analysis callback's own result.
int analyse_solution(int* soln);
// Solutions the analysis accepted since the last reset.
int getAnalysedSolutionCount();
// Multiplicities per boundary label against the equations: 1 solution, 0 not, -1 invalid or no
// equations.
int CheckCPlabels(int* ChanPaton);
int CheckCPlabelsWithProbe(int* ChanPaton, int probe);

// ---- Few-brane solutions ----

// The zero configuration and every choice of one to four variables, solved exactly. Returns the
// accepted solutions; *pre_sol counts the vectors that satisfied the equations.
int findSimpleSolutions(int* pre_sol);
int SolveTadpoleConditionsForSubset(int Nset, int* set);
int checkSimpleSolution(int Nset, int* set, int* loop);
int analyseSimpleSolution(int* candidate);
// Every subset of Nset variables, with one statistics line appended to the ".fbd" file.
int findTadpoleSolutionsWithNbranes(int Nset);
// The model name written into the ".fbd" lines; the command layer installs it.
void setModelNameHook(const char* (*hook)());

// ---- Few-brane statistics ----

// The analysis callback that records the solution's stack signature; always 1.
int simpleSolutionStatistics(ChanPatonData* CPD);
// 0 when maxbrane lies outside 4..1000 (the printer reads four entries, a signature has room
// for 1000 stacks), else 1.
int initSimpleSolutionStatistics(int maxbrane);
int initSimpleSolutionStatisticsPerCase(int maxbrane);
void printSimpleSolutionStatistics();
void printSimpleSolutionStatisticsPerCase();
void printGenericSimpleSolutionStatistics(VectorSpace* Statistics);
void getDimensionAndRank(int grp, int* dim, int* rank);
int getNumberOfBranes(const int* v, int maxbrane);
void printStatisticsRow(int value, int size, const int* row);
// Chiral solutions counted since the last subset enumeration started.
int getChiralCount();
void resetChiralCount();

// ---- Hidden sectors ----
// The observable stacks vars/mults (Nfix of them) are fixed on list entry ori, which stays
// current; the boundaries admitted to a hidden sector are switched on and the equations built.

// The tadpole budget the stacks leave: non-positive when they fit (reported when not).
double computeTadpoleRHS(int ori, int Nfix, int* vars, int* mults);
// The code of the equation build when below 1, else 0.
int selectHiddenSectorForSM(double RHS, int Nfix, int ori, int* boundaries, int* mults);
// The same, keeping the hidden sector free of matter with the instanton boundary.
int selectHiddenSectorForInstanton(double RHS, int Nfix, int instanton, int ori, int* boundaries,
                                   int* mults);
// A hidden sector for the stacks, each solution handed to the analysis callback: -1 none, -2
// found, 1 the loops were aborted, 0 an unexpected loop code (reported).
int findTadpoleSolutionForSM(int Nfix, int ori, int* vars, int* mults);
int findTadpoleSolutionForInstanton(int instanton, int Nfix, int ori, int* vars, int* mults);
