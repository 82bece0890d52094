// The complete solution set of the tadpole equations: a basic solution plus non-negative
// combinations of kernel vectors, printed as gauge-group factors whose ranks depend on the kernel
// parameters N_k.
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "numeric/Equations.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::array<char, 40> boundaryColumn{};

// Kernel vector k, sign-corrected: tagged vectors carry -1 at their tags.
int kernelEntry(KernelData* KD, int Size, int k, int i) {
    const int e = KD->Kernel.X[static_cast<long long>(k) * Size + i];
    return k < KD->SingleTag + KD->DoubleTag ? -e : e;
}

const char* groupName(int type) {
    return type == 1 ? "SO" : type == -1 ? "Sp" : "U";
}

// An entry of a symplectic variable, or of a unitary one that must confine, counts double.
int entryFactor(int type, int b) {
    return type == -1 || (type == 0 && getRequireConfinement(b)) ? 2 : 1;
}

void printFixedStacks(bool* marked) {
    const int* fixed = getFixedVariableList();
    const int* types = getTadpoleGroupTypes();
    for (int f = 0; f < getFixedVariables(); f++) {
        const int b = fixed[f];
        const char mark = SymBsymB(b);
        *marked = *marked || mark == '*';
        Print("%2c%c%s%s(%d) [fixed]\n", 'a' + f, mark, getBoundaryInfoString(b),
              groupName(types[b]), FixedVariables(b));
    }
}

// One loop variable's line; true when it was printed.
bool printVariableLine(KernelData* KD, int Size, const int* Solution, int i, bool* marked) {
    const int b = convertLoopLabelToCPLabel(i);
    const int type = getSolutionGroupTypes()[i];
    const char mark = SymBsymB(b);
    const char* name = groupName(type);
    int w = 0;
    if (Solution[i] != 0) {
        const int N = Solution[i] * entryFactor(type, b);
        Print("%2d%c%s%s(%d", i, mark, getBoundaryInfoString(b), name, N);
        w = 6;
    }
    for (int k = 0; k < KD->KernelSize; k++) {
        if (!isRelevant(KD, k))
            continue;
        int e = kernelEntry(KD, Size, k, i);
        if (e == 0)
            continue;
        e *= entryFactor(type, b);
        if (w > 60) {
            Print("\n           ");
            w = 7;
        }
        if (w == 0) {
            Print("%2d%c%s%s", i, mark, getBoundaryInfoString(b), name);
            if (e == 1)
                Print("(N_%d", k);
            else if (e == -1)
                Print("(-N_%d", k);
            else
                Print("(%dN_%d", e, k);
            w = 8;
            continue;
        }
        w += 6;
        if (e == 1)
            Print("+N_%d", k);
        else if (e == -1)
            Print("-N_%d", k);
        else if (e > 1)
            Print("+%dN_%d", e, k);
        else
            Print("%dN_%d", e, k);
    }
    if (w == 0)
        return false;
    Print(")\n");
    *marked = *marked || mark == '*';
    KD->Active[i] = 1;
    return true;
}

void printRankTerm(int c, int k) {
    if (c == 1)
        Print("+(1/2)N_%d", k);
    else if (c == -1)
        Print("-(1/2)N_%d", k);
    else if (c == 2)
        Print("+N_%d", k);
    else if (c == -2)
        Print("-N_%d", k);
    else if (c > 2 && c % 2 == 0)
        Print("+%dN_%d", c / 2, k);
    else if (c > 2)
        Print("+(%d/2)N_%d", c, k);
    else if (c % 2 == 0)
        Print("-%dN_%d", -c / 2, k);
    else
        Print("-(%d/2)N_%d", -c, k);
}

} // namespace

char* getBoundaryInfoString(int bnd) {
    const int c = getAnnulusConjugates()[bnd];
    char labels[24];
    if (c != bnd)
        std::snprintf(labels, sizeof labels, "(%d,%d)", bnd, c);
    else
        std::snprintf(labels, sizeof labels, "(%d)", bnd);
    const int L = static_cast<int>(std::strlen(labels)) - 2; // digits and comma
    const int P = 15 - L;
    std::snprintf(boundaryColumn.data(), boundaryColumn.size(), " --> %*s%s%*s --> ", P / 2, "",
                  labels, P - P / 2, "");
    return boundaryColumn.data();
}

void PrintRank(KernelData* KD, int Size, int* Solution) {
    const int* types = getSolutionGroupTypes();
    int rank = 0;
    for (int i = 0; i < Size - 1; i++) {
        const int n = Solution[i];
        if (n == 0)
            continue;
        const int b = convertLoopLabelToCPLabel(i);
        const bool confined = types[i] == 0 && getRequireConfinement(b);
        rank += types[i] == 1 ? n / 2 : confined ? 2 * n : n;
    }
    Print("Rank (for even parameter values):\n%d", rank);
    if (KD->KernelSize == 0) {
        Print("\n");
        return;
    }
    int terms = 1;
    for (int k = 0; k < KD->KernelSize; k++) {
        if (!isRelevant(KD, k))
            continue;
        int c = 0;
        for (int i = 0; i < Size - 1; i++) {
            // Twice the rank each unit of the entry adds.
            const bool confined =
                types[i] == 0 && getRequireConfinement(convertLoopLabelToCPLabel(i));
            c += kernelEntry(KD, Size, k, i) * (types[i] == 1 ? 1 : confined ? 4 : 2);
        }
        if (c == 0)
            continue;
        printRankTerm(c, k);
        if (++terms % 8 == 0)
            Print("|%d|\n", terms++);
    }
    Print("\n");
}

void printParametrizedSolution(KernelData* KD, int Size, int* Solution) {
    if (SimplestOnly == 1) {
        std::printf("Invalid call to printParametrizedSolution; please fix\n");
        return;
    }
    bool any = false;
    for (int i = 0; i < Size - 1; i++)
        any = any || Solution[i] != 0;
    if (!any)
        return;
    Print("\nSolution (Notation: Variable nr. --> Boundary (pair) --> CP group factor)\n");
    bool marked = false;
    printFixedStacks(&marked);
    int lines = 0, parameters = 0;
    for (int i = 0; i < Size - 1; i++)
        lines += printVariableLine(KD, Size, Solution, i, &marked) ? 1 : 0;
    for (int k = 0; k < KD->KernelSize; k++)
        parameters += isRelevant(KD, k);
    if (marked)
        Print("* indicates bulk symmetry breaking boundaries\n");
    Print("\nNumber of factors:    %d (out of %d) \n", lines, Size - 1);
    Print("Number of parameters: %d (out of %d) \n", parameters, KD->MaxKernelSize);
    PrintRank(KD, Size, Solution);
    if (!superstringReading())
        return;
    if (SixDimSusy() == 1)
        SixDimensionalClosedAnalysis();
    ChanPatonData* CPD = computeChanPatonData(Solution);
    CPD->mode = 1;
    Print("\n\nSpectrum of basic solution\n\n");
    GeneralOpenSectorAnalysis(CPD);
    Print("\n\n^^^^^^^^^^^^^^^^^^ END OF SOLUTION SUMMARY ^^^^^^^^^^^^^^^^\n\n");
}
