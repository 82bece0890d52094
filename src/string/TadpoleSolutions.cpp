// What happens to every solution of the tadpole conditions: the configuration is rebuilt, tested
// for tachyons, shown and handed to the installed analysis; and the check of multiplicities the
// user gives per boundary label.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "numeric/Equations.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/Tadpole.h"
#include "string/TadpoleBounds.h"
#include "string/TadpoleInternal.h"
#include "string/TadpoleSolver.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

int dummy_analysis_fcn(ChanPatonData*) {
    return 1;
}

void dummy_trace_fcn(const char*, ...) {}

TADSOL_ANALYSIS analysis_fcn = dummy_analysis_fcn;
BUFFERED_INFO trace_fcn = dummy_trace_fcn;
int MAXTIME = 60;
int CPthreshold = -1;
int AnalysedSolutions = 0;
std::vector<int> ProbeCP;

int info() {
    return tadpole::parameter("Tadpole info_level");
}

void separator() {
    if ((tadpole::parameter("Tadpole check_solution") ||
         tadpole::parameter("Tadpole show_solution")) &&
        info() > 0)
        Print("-------------------------------------------------------\n");
}

char groupLetter(int type) {
    return type == -1 ? 'S' : type == 0 ? 'U' : 'O';
}

void showSolution(int* soln, const ChanPatonData& CPD) {
    const int Ncol = getTadpoleEquationPointer()->Ncol;
    if (info() > 0)
        printKernelVector(Ncol, soln, " --- Solution (in variable basis):         ");
    Print(" --- Solution (CP multiplicities):          ");
    const int* conj = &CPD.OI->Conjugates[0];
    for (int b = 0; b < CPD.Nbnd; b++)
        if (CPD.CPmults[static_cast<std::size_t>(b)] != 0 && conj[b] >= b)
            Print(" %d: %c(%d)", b, groupLetter(CPD.OI->GroupTypes[b]),
                  CPD.CPmults[static_cast<std::size_t>(b)]);
    Print("\n");
}

// Tachyonic stack pairs matter only in a non-supersymmetric superstring.
bool rejectedForTachyons(ChanPatonData* CPD) {
    if (tadpole::parameter("Tadpole allow_tachyons") || SusySpectrum() != 0 ||
        !tadpole::parameter("Super"))
        return false;
    if (checkCPDforTachyons(CPD)) {
        PrintNoRepeat("Tadpole solution rejected because of tachyons", "");
        return true;
    }
    Print("Tachyon-free solution\n");
    BulkSusyLocalityCheck(CPD);
    return false;
}

int nonZeroVariables(const int* soln) {
    int n = 0;
    for (int i = 0; i < getNumberOfLoopVariables(); i++)
        n += soln[i] != 0;
    return n;
}

// Conjugate labels carry one multiplicity: a zero takes its partner's value.
bool matchConjugates(int* ChanPaton) {
    const int* conj = getAnnulusConjugates();
    for (int a = 0; a < TotalBoundaries(); a++) {
        const int c = conj[a];
        if (c <= a)
            continue;
        if (ChanPaton[a] != 0 && ChanPaton[c] != 0 && ChanPaton[a] != ChanPaton[c]) {
            Alert("CheckCPlabels", 0, 100302,
                  "Unequal CP multiplicities for conjugate labels %d and %d\n", a, c);
            return false;
        }
        if (ChanPaton[a] == 0)
            ChanPaton[a] = ChanPaton[c];
        else
            ChanPaton[c] = ChanPaton[a];
    }
    return true;
}

// The given multiplicities as a loop vector that solves the equations: 1, 0 when they do not
// solve them, -1 when they cannot be read.
int testGivenLabels(int* ChanPaton, int** loop) {
    const int code = getTadpoleEquations();
    if (code < 0)
        return code;
    if (!matchConjugates(ChanPaton))
        return 0;
    *loop = CPlabelsToLoops(ChanPaton, getCPToLoop(), getTadpoleEquationPointer()->Ncol);
    if (!*loop)
        return -1;
    return CheckTadpoleEquations(*loop);
}

} // namespace

void setAnalysisFunction(TADSOL_ANALYSIS fcn) {
    analysis_fcn = fcn;
}
void resetAnalysisFunction() {
    analysis_fcn = dummy_analysis_fcn;
}
void setTraceFunction(BUFFERED_INFO fcn) {
    trace_fcn = fcn;
}
void resetTraceFunction() {
    trace_fcn = dummy_trace_fcn;
}
void setTadpoleMaxtime(int t) {
    MAXTIME = t;
}
int getTadpoleMaxtime() {
    return MAXTIME;
}
void setCPthreshold(int t) {
    CPthreshold = t;
}
int getCPthreshold() {
    return CPthreshold;
}

void tadpoleTrace(const char* fmt, ...) {
    if (trace_fcn == dummy_trace_fcn)
        return;
    char text[1000];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    trace_fcn("%s", text);
}

int analyse_solution(int* soln) {
    if (!soln) {
        AnalysedSolutions = 0;
        return 0;
    }
    if (nonZeroVariables(soln) <= CPthreshold) {
        Print("rejected (already known)\n");
        return 0;
    }
    separator();
    if (tadpole::parameter("Tadpole check_solution") && !checkTadpoleSolution(soln)) {
        Print("rejected (not a solution)\n");
        return 0;
    }
    ChanPatonData* CPD = computeChanPatonData(soln);
    if (rejectedForTachyons(CPD))
        return 0;
    CPD->mode = 1;
    if (tadpole::parameter("Tadpole show_solution"))
        showSolution(soln, *CPD);
    separator();
    const int r = analysis_fcn(CPD);
    if (r == 0) {
        Print("rejected by analysis function\n");
        return 0;
    }
    AnalysedSolutions++;
    if (tadpole::parameter("Tadpole detailed_spectrum")) {
        GenericSpectrumAnalysis(CPD, 0);
        GenericSpectrumAnalysis(CPD, 3);
    } else if (tadpole::parameter("Tadpole show_spectrum"))
        GenericSpectrumAnalysis(CPD, 0);
    return r;
}

int getAnalysedSolutionCount() {
    return AnalysedSolutions;
}

// A threshold left raised by an earlier search would reject the given configuration as known.
int CheckCPlabels(int* ChanPaton) {
    CPthreshold = -1;
    int* loop = nullptr;
    const int r = testGivenLabels(ChanPaton, &loop);
    if (r != 1)
        return r;
    analyse_solution(loop);
    return 1;
}

int CheckCPlabelsWithProbe(int* ChanPaton, int probe) {
    CPthreshold = -1;
    int* loop = nullptr;
    const int r = testGivenLabels(ChanPaton, &loop);
    if (r != 1)
        return r;
    const int n = TotalBoundaries();
    ProbeCP.assign(ChanPaton, ChanPaton + n);
    ProbeCP[static_cast<std::size_t>(probe)] = 999;
    ProbeCP[static_cast<std::size_t>(getAnnulusConjugates()[probe])] = 999;
    printVec(n, ProbeCP.data(), "CP");
    const int Ncol = getTadpoleEquationPointer()->Ncol;
    loop = CPlabelsToLoops(ProbeCP.data(), getCPToLoop(), Ncol);
    if (!loop)
        return -1;
    printVec(Ncol, loop, "LoopOut");
    analyse_solution(loop);
    return 1;
}
