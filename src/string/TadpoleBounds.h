// Bounds and kernel of the tadpole system: every loop variable gets a range, the ranges are
// tightened from the equations, and non-negative integer kernel vectors on few variables let the
// integer search skip their tag variables. Valid for one build of the equations; a reset forces
// both to be computed again at their next use.
#pragma once

struct KernelData;

// The milestones of the kernel searches go to the solver's trace callback.

// Limits that keep the kernel work practical.
inline constexpr int KernelColumnLimit = 400;       // no quadruplet or loop search above
inline constexpr double ShortLoopLength = 100000.0; // plain looping below

// The initial bounds of the current system: 0, or -1 when the first row admits no non-negative
// solution or the orientifold is unusable. Once per build.
int initTadpoleBounds();
// The empty kernel record of the current system and the bounds it gives; once per build.
void initTadpoleKernel();
int ImproveTadpoleBounds(int MaxCnt, int persistence);
int getSingleTagKernel(int maxloop);
int getSingleTagKernelUsingLoops(int maxloop);
int computeTadpoleKernel();
void getKernelDependentBounds();
int trivialBoundCheck();
void resetTadpoleKernel();
KernelData* getTadpoleKernel();
int getMaxPar();
void printTadpoleKernel();
void printTadpoleBounds();
void PrintLoopLength();
// 1 when the particular solution plus values[k] times kernel direction k solves the system.
int checkTadpoleParameters(const int* values);
