// The Gepner model 133313 set up as "build brane_configuration" does, for checks that run in a
// child process (so that the other tests of the program still start from a fresh program). The
// child collects what went wrong and reports it on standard error, which belongs to the death
// test.
#pragma once

#include "main/MainTestHelpers.h"

#include "base/Output.h"
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsInvariants.h"
#include "search/SearchSM.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace gepnertest {

inline std::string problems;
inline void expect(bool holds, const std::string& what) {
    if (!holds)
        problems += what + "\n";
}

[[noreturn]] inline void report() {
    std::fputs(problems.c_str(), stderr);
    std::exit(problems.empty() ? 0 : 1);
}

// Standard output and the error file while the scope lasts.
class CapturedOut {
public:
    CapturedOut() : errors(std::tmpfile()), saved(ERROR_FILE) {
        TerminalOutputOn();
        ERROR_FILE = errors;
        testing::internal::CaptureStdout();
    }
    ~CapturedOut() {
        finish();
        ERROR_FILE = saved;
        std::fclose(errors);
    }
    CapturedOut(const CapturedOut&) = delete;
    CapturedOut& operator=(const CapturedOut&) = delete;
    const std::string& out() {
        finish();
        return text;
    }
    std::string err() {
        finish();
        std::string s;
        std::rewind(errors);
        for (int ch = std::fgetc(errors); ch != EOF; ch = std::fgetc(errors))
            s += static_cast<char>(ch);
        return s;
    }

private:
    void finish() {
        if (done)
            return;
        done = true;
        flushOutput();
        std::fflush(stdout);
        std::fflush(errors);
        text = testing::internal::GetCapturedStdout();
    }
    FILE* errors;
    FILE* saved;
    bool done = false;
    std::string text;
};

// Orientifold 0 of the diagonal invariant, current; null when something failed.
inline OrientifoldInfo* buildGepner133313() {
    maintest::startUp();
    // Alerts take their default answer instead of asking.
    setIntPar("interactive", 0);
    testing::internal::CaptureStdout();
    bool built = buildSupersymmetricCY(133313, false) == 0;
    setIntPar("Selection symmetric", 1);
    setIntPar("Reject permutations", 1);
    COM_load_sim(nullptr, 0);
    built = built && buildInvariant("0", 1) == 0;
    initializeOpenString();
    built = built && initSearchMemory() == 0;
    testing::internal::GetCapturedStdout();
    return built ? setStoredOrientifold(0) : nullptr;
}

// Re R(0, a) of the current orientifold's boundary a.
inline double tension(int a) {
    double re = 0, im = 0;
    getCurrentReflectionCoefficient(0, a, &re, &im);
    return re;
}

// The first orthogonal boundary whose Re R(0, a) is the given fraction of the O-plane tension; -1
// when there is none. On 133313 x (fraction 1) and y (0.408977) are unique.
inline int orthogonalOfTension(OrientifoldInfo* OI, double fraction) {
    for (int a = 0; a < TotalBoundaries(); a++)
        if (OI->GroupTypes[a] == 1 && std::fabs(tension(a) - fraction * OI->Tension) < 1e-6)
            return a;
    return -1;
}

} // namespace gepnertest
