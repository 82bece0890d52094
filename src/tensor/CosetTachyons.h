// The search for a tachyon-free extension of a non-supersymmetric product of D5 at level 1
// (factor 0, graded by its vector) and N=2 minimal models: the tachyonic label combinations, the
// spinor and scalar simple currents that may extend the chiral algebra, and the extensions tried
// level by level (the spinor current at level 0, one scalar current at each level after it) until
// every tachyon is projected out.
#pragma once

struct TensorProduct;

// The deepest level of scalar currents the search may reach; one more is refused.
inline constexpr int TachyonSearchLevels = 10;

// Runs the search on TP, printing its progress to standard output. 0 when the search ran through
// every spinor candidate or ended on a success at a level of scalar currents; 1 after the alert
// "Level exceeded" when the search reached levelLimit (which must not exceed the default).
int computeTachyonSpectrum(TensorProduct* TP, int levelLimit = TachyonSearchLevels);

// Fills the charge rows of the tachyonic label combinations of TP (one row per distinct charge
// vector) after printing each factor's light fields with "-->"; returns the number of rows.
int findTachyons(TensorProduct* TP);
