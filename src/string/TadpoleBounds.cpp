#include "string/TadpoleBounds.h"

#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "numeric/Equations.h"
#include "string/Tadpole.h"
#include "string/TadpoleInternal.h"
#include "string/TadpoleSolver.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace {

KernelData TadpoleKernel;
// Stamps: the value of the equation counter their data were computed for.
int TadpoleBoundsInitiated = -10;
int KernelInitiated = -10;
int SingleTagKernelComputed = -10;
int CompleteKernelComputed = -10;
int lastMaxloop = -10;

int info() {
    return tadpole::parameter("Tadpole info_level");
}

EquationData& system() {
    return *getTadpoleEquationPointer();
}

// Room for the eight bound vectors of Ncol entries each.
void sizeBounds(EquationData& ED) {
    const int Ncol = ED.Ncol;
    if (!ED.Bounds.reserved() || ED.Bounds.X_oldsize < 8 * Ncol)
        ED.Bounds.reserve(std::max(8 * Ncol + 600, 6000));
    int* b = ED.Bounds.X;
    int** vectors[] = {&ED.min,      &ED.max,      &ED.ker_min,       &ED.ker_max,
                       &ED.loop_min, &ED.loop_max, &ED.forbidden_min, &ED.forbidden_max};
    for (int k = 0; k < 8; k++)
        *vectors[k] = b + k * Ncol;
}

// A stack on an orthogonal boundary that must confine never has multiplicity 1 or 2.
void forbidConfiningRanges(EquationData& ED) {
    ED.forbidden_range = 0;
    bool anyConfinement = false;
    for (int a = 0; a < TotalBoundaries() && !anyConfinement; a++)
        anyConfinement = getRequireConfinement(a) != 0;
    if (!anyConfinement)
        return;
    const int* types = getSolutionGroupTypes();
    for (int j = 0; j < ED.Ncol; j++) {
        ED.forbidden_min[j] = INT_MAX;
        ED.forbidden_max[j] = -1;
        if (j == ED.Ncol - 1 || types[j] != 1 ||
            !getRequireConfinement(convertLoopLabelToCPLabel(j)))
            continue;
        ED.forbidden_min[j] = 1;
        ED.forbidden_max[j] = 2;
        ED.forbidden_range = 1;
    }
}

// The current system with its bounds and kernel record: 0, or the negative code of the build.
int prepare() {
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    if (initTadpoleBounds() == -1)
        return -1;
    initTadpoleKernel();
    return 0;
}

double loopLength(int* Min, int* Max) {
    EquationData& ED = system();
    return OptimizedLoopLength(ED.Ncol - 1, Min, Max, &ED);
}

// With every range a single point the system is either solved by it or has no solution: -1,
// or `solved`.
int singlePoint(const char* skipped, int solved) {
    EquationData& ED = system();
    if (info() > 0)
        Print("%s", skipped);
    if (!CheckEquations(ED.Equations.X + static_cast<long long>(ED.OrigEq) * ED.Ncol, ED.min,
                        ED.IndEq, ED.Ncol, 0))
        return -1;
    if (info() > 0)
        Print("Equations satisfied; going to loops\n");
    return solved;
}

using KernelSearch = int (*)(KernelData*, EquationData*, int*, int*, int);

// One pattern search over the plain bounds; the number of single-tag vectors it added.
int kernelStep(KernelSearch search, const char* header) {
    EquationData& ED = system();
    const int before = TadpoleKernel.SingleTag;
    printProgressHeader(info(), header);
    search(&TadpoleKernel, &ED, ED.min, ED.max, info());
    return TadpoleKernel.SingleTag - before;
}

void report(const char* text, int found) {
    if (info() > 0)
        Print("Found: %d\n", found);
    tadpoleTrace(text, found);
}

// The loop search for single-tag vectors; its result.
int singleTagLoops(int maxloop, int* added) {
    EquationData& ED = system();
    const int before = TadpoleKernel.SingleTag;
    printProgressHeader(info(), "Starting single tag loop search");
    const int r = SolveHomogeneous(&TadpoleKernel, &ED, ED.min, ED.max, info(), maxloop);
    *added = TadpoleKernel.SingleTag - before;
    return r;
}

} // namespace

int initTadpoleBounds() {
    if (!initTadpole())
        return -1;
    const int counter = getTadpoleEquationCounter();
    if (TadpoleBoundsInitiated == counter)
        return 0;
    EquationData& ED = system();
    sizeBounds(ED);
    const int Nvar = ED.Ncol - 1;
    std::fill(ED.min, ED.min + Nvar, 0);
    std::fill(ED.max, ED.max + Nvar, 1000000);
    ED.min[Nvar] = ED.max[Nvar] = 1;
    if (ED.OrigEq > 0 && getVariableBounds(ED.Equations.X, ED.Ncol, ED.min, ED.max) == -1)
        return -1;
    forbidConfiningRanges(ED);
    std::copy(ED.min, ED.min + ED.Ncol, ED.ker_min);
    std::copy(ED.max, ED.max + ED.Ncol, ED.ker_max);
    TadpoleBoundsInitiated = counter;
    return 0;
}

void initTadpoleKernel() {
    const int counter = getTadpoleEquationCounter();
    if (KernelInitiated == counter)
        return;
    initKernelData(&TadpoleKernel, &system());
    KernelInitiated = counter;
    getKernelDependentBounds();
}

void getKernelDependentBounds() {
    EquationData& ED = system();
    std::copy(ED.min, ED.min + ED.Ncol, ED.ker_min);
    std::copy(ED.max, ED.max + ED.Ncol, ED.ker_max);
    FixBoundsUsingKernel(&TadpoleKernel, ED.ker_min, ED.ker_max);
}

int trivialBoundCheck() {
    const EquationData& ED = system();
    for (int j = 0; j < ED.Ncol - 1; j++)
        if (ED.min[j] != ED.max[j])
            return 0;
    return 1;
}

int ImproveTadpoleBounds(int MaxCnt, int persistence) {
    const int code = prepare();
    if (code < 0)
        return -1;
    if (info() > 1)
        Print("\nBOUND ANALYSIS\n");
    if (trivialBoundCheck())
        return singlePoint("Upper bounds equal lower bounds; bound analysis skipped\n", -4);
    EquationData& ED = system();
    const int r = ImproveBounds(&ED, ED.min, ED.max, MaxCnt, persistence, info());
    if (info() > 0) {
        PrintBounds(ED.Ncol - 1, ED.min, ED.max, info());
        Print("\n");
    }
    getKernelDependentBounds();
    return r;
}

int getSingleTagKernel(int maxloop) {
    const int code = prepare();
    if (code < 0)
        return -1;
    const int counter = getTadpoleEquationCounter();
    if (CompleteKernelComputed == counter && lastMaxloop == maxloop)
        return 0;
    if (info() > 0) {
        Print("\nSINGLE TAG KERNEL ANALYSIS\n");
        Print("Maximal number of kernel vectors: %d\n", TadpoleKernel.MaxKernelSize);
    }
    if (trivialBoundCheck())
        return singlePoint("Upper bounds equal lower bounds; kernel determination skipped\n", -3);
    EquationData& ED = system();
    kernelStep(KernelDoublets, "Starting kernel doublet search");
    report("Kernel doublet analysis finished; %d vectors", TadpoleKernel.SingleTag);
    report("Kernel triplet analysis finished; %d vectors",
           kernelStep(KernelTriplets, "Starting kernel triplet search"));
    int result = 0;
    if (ED.Ncol > KernelColumnLimit) {
        tadpoleTrace("Kernel quadruplet search and loop search skipped; too many variables");
    } else {
        report("Kernel quadruplet analysis finished; %d vectors",
               kernelStep(KernelQuadruplets, "Starting kernel quadruplet search"));
        int added = 0;
        result = singleTagLoops(maxloop, &added);
        report("Kernel loop analysis finished; %d vectors", added);
    }
    if (info() > 0) {
        if (TadpoleKernel.SingleTag > 0)
            Print("Single tag kernel vectors\n");
        printKernel(&TadpoleKernel, ED.Ncol, 0, TadpoleKernel.SingleTag);
        Print("\n");
    }
    CompleteKernelComputed = counter;
    lastMaxloop = maxloop;
    getKernelDependentBounds();
    return result;
}

int getSingleTagKernelUsingLoops(int maxloop) {
    if (prepare() < 0)
        return -1;
    int added = 0;
    const int r = singleTagLoops(maxloop, &added);
    tadpoleTrace("Kernel loop analysis finished; %d vectors", added);
    getKernelDependentBounds();
    return r;
}

int computeTadpoleKernel() {
    if (prepare() < 0)
        return -1;
    const int counter = getTadpoleEquationCounter();
    if (SingleTagKernelComputed == counter)
        return 0;
    EquationData& ED = system();
    kernelStep(KernelTriplets, "Starting kernel triplet search");
    getKernelDependentBounds();
    tadpoleTrace("Kernel triplet analysis finished; %d vectors", TadpoleKernel.SingleTag);
    int result = 0;
    if (loopLength(ED.ker_min, ED.ker_max) < ShortLoopLength) {
        tadpoleTrace("Kernel analysis finished, short loops");
        result = -3;
    } else if (ED.Ncol > KernelColumnLimit) {
        tadpoleTrace("Kernel quadruplet search skipped; too many variables");
    } else {
        const int added = kernelStep(KernelQuadruplets, "Starting kernel quadruplet search");
        getKernelDependentBounds();
        tadpoleTrace("Kernel quadruplet analysis finished; %d vectors", added);
        if (loopLength(ED.ker_min, ED.ker_max) < ShortLoopLength) {
            tadpoleTrace("Kernel analysis finished, short loops");
            result = -3;
        }
    }
    SingleTagKernelComputed = counter;
    tadpoleTrace("Number of Kernel vectors: %d", TadpoleKernel.SingleTag);
    return result;
}

void resetTadpoleKernel() {
    KernelData& KD = TadpoleKernel;
    KD.KernelSize = KD.SingleTag = KD.DoubleTag = KD.tagCount = KD.secCount = 0;
    tadpole::advanceEquationCounter();
}

KernelData* getTadpoleKernel() {
    return &TadpoleKernel;
}

int getMaxPar() {
    return prepare() < 0 ? 0 : TadpoleKernel.MaxKernelSize;
}

void printTadpoleKernel() {
    if (prepare() < 0)
        return;
    printKernel(&TadpoleKernel, system().Ncol, 0, TadpoleKernel.KernelSize);
}

void printTadpoleBounds() {
    if (prepare() < 0)
        return;
    EquationData& ED = system();
    const int Nvar = ED.Ncol - 1;
    Print("True bounds: \n");
    PrintBounds(Nvar, ED.min, ED.max, 2);
    Print("Loop length (using equations): %6.0f\n", loopLength(ED.min, ED.max));
    Print("Bounds (Using kernel): \n");
    PrintBounds(Nvar, ED.ker_min, ED.ker_max, 2);
    Print("Loop length (using equations and kernel): %6.0f\n", loopLength(ED.ker_min, ED.ker_max));
}

void PrintLoopLength() {
    if (prepare() < 0)
        return;
    EquationData& ED = system();
    Print("Loop length (using equations): %6.0f\n", loopLength(ED.min, ED.max));
}

int checkTadpoleParameters(const int* values) {
    if (prepare() < 0)
        return 0;
    const KernelData& KD = TadpoleKernel;
    const int Ncol = system().Ncol;
    std::vector<int> point(KD.Inhomogeneous, KD.Inhomogeneous + Ncol);
    const int tagged = KD.SingleTag + KD.DoubleTag;
    for (int k = 0; k < std::min(KD.MaxKernelSize, KD.RowCapacity); k++) {
        if (values[k] == 0)
            continue;
        const int* v = KD.Kernel.X + static_cast<long long>(k) * Ncol;
        const int sign = k < tagged ? -1 : 1;
        for (int j = 0; j < Ncol; j++)
            point[static_cast<std::size_t>(j)] += sign * values[k] * v[j];
    }
    return checkTadpoleSolution(point.data());
}
