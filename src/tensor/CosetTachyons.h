// The search for a tachyon-free extension of a non-supersymmetric product of D5 at level 1
// (factor 0, graded by its vector) and N=2 minimal models: the tachyonic label combinations, the
// spinor and scalar simple currents that may extend the chiral algebra, and the extensions tried
// level by level (the spinor current at level 0, one scalar current at each level after it) until
// every tachyon is projected out.
#pragma once

#include "numeric/MathUtility.h"

struct TensorProduct;

// The deepest level of scalar currents the search may reach; one more is refused.
inline constexpr int TachyonSearchLevels = 10;

// What the search counts as tachyonic and how deep it may go. The search command keeps these;
// narrower bounds let a small product reach the rarer endings.
struct TachyonSearchBounds {
    int levels = TachyonSearchLevels; // the first level refused, at most the default
    rat weight{1, 1};                 // combinations of total weight below it are tachyonic
};

// Runs the search on TP, printing its progress to standard output. 0 when the search ran through
// every spinor candidate or ended on a success at a level of scalar currents; 1 after the alert
// "Level exceeded".
int computeTachyonSpectrum(TensorProduct* TP, const TachyonSearchBounds& bounds = {});

// Fills the charge rows of the tachyonic label combinations of TP (one row per distinct charge
// vector) after printing each factor's light fields with "-->"; returns the number of rows.
int findTachyons(TensorProduct* TP, const rat& bound = {1, 1});
