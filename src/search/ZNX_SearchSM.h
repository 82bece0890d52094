// The quartet standard-model search: its entry, the list of quartet types it runs and the
// per-type analysis. A type t names the gauge groups of the weak stack b and of the stack c by
// its base t mod 10; types 10 to 19 are the Pati-Salam versions, whose lepton stack is a itself.
#pragma once

#include <cstdio>

struct SearchData;

// Binds the search's parameters; run once at start-up, after they are registered.
void initializeZNX_SearchSM();

// Runs the search over the types of SelType (ended by -1; null for the standard list). 0 when it
// ran or stopped with a message; 1 without a search context or for a pre-selection outside the
// context (the pre-selections are then cleared); 2 while "Super" is off, before any file is
// touched. The pre-selections must be set before the call; a completed search keeps them.
int SearchSM(int* SelType);
// Fills the type list from SelType (null: the standard list), cut after eight types while
// "SM_search pati-salam" is off, and prints it; 0.
int determineTypeList(int* SelType);
// The construction, stages and statistics line of one type.
void analyseStandardModelType(int type);

// The type list in force, ended by -1.
const int* getTypeList();
// The standard list, ended by -1.
const int* getStdTypeList();
// 1 when no type of the list has a base of 2 to 5 (stack c is then always a U(1) stack).
int getBasicTypesOnly();
int getPreferredType();

// Adds one to counter n_level of type n_type of list orientifold n_ori; nr is not read.
void IncStat(int n_ori, int n_type, int n_level, int nr);
// Counter k of list orientifold o and type t; 0 outside the table.
int getStat(int o, int t, int k);

// The search-wide counters the solution writer and the stages advance and the statistics file
// reports.
void countSolution();
void countAbortedQuartet();
// A solution the global-anomaly check rejects.
void countGlobalAnomaly();
int getSolutionCountPerMIPF();
int getSolutionCountPerType();
int getAbortCount();
int getGlobalAnomalyCount();
void resetGlobalAnomalyCount();

// The criteria lines that also head the statistics file.
void printSearchCriteria(FILE* ofp);
// "Orientifolds considered: " and the tension line of the pre-selected orientifold, or of each
// orientifold searched.
void printOrientifoldsConsidered(const SearchData* SD);
