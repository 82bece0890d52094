// State shared by the files of the current-theory facade: the counters and stamps, the parameter
// values and the orbit table with its dense S copies.
#pragma once

#include "modular/Modular.h"

#include <vector>

struct SpectrumData;

namespace modular_internal {

extern int CFTCounter;
extern int OrbitDataAvailable;
extern int OrbitSAvailable;
extern int SMATRIXavailable;
extern int FirstRowAvailable;
extern int SMATRIXWasAborted;

int tensorMode();
int totalPrimaries();

// Parameter values; the defaults apply until initializeModular has bound them.
int smatrixMaxsize();
int useOrbits();
int debugInit();
int highPrecision();
int fusionSumcheck();

// The monodromy charge Q_J(x), exact and not reduced modulo 1, from the block's charge table (or
// the factors' of a product). The weights cannot give it: a free boson of odd radius has weights
// fixed only modulo 1/2.
void monodromyCharge(int J, int x, rat* Q);

// Computed by the current block or tensor product, past every cache.
void directS(int i, int j, double* re, double* im);
void directT(int i, double* re, double* im);
int directAction(int J, int x);
// The simple-current group of the current theory and, in map (resized to its order), the field of
// each element. A product keeps its own numbering: element i is field i.
Discrete_Group* centerOfTheory(std::vector<int>& map);

bool orbitDataValid();
int groupOrder(); // G of the orbit table
// Entry [a * G + b]: the product of currents a and b.
const int* curMultTable();
const int* orbitMap(); // start of each orbit
extern const double* PhasesR;
extern const double* PhasesI;

// Dense S of the current theory (row-major, real and imaginary parts apart); null unless the full
// S is valid. The fusion loops read it instead of calling compS per element.
const double* denseSRe();
const double* denseSIm();

} // namespace modular_internal
