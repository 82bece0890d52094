// A small current theory for the command set: the start-up's globals, and the parts of the store,
// the tensor product, the modular data and the boundaries that the tests hand over.
#pragma once

#include "commands/Commands.h"
#include "runtime/Error.h"
#include "runtime/Output.h"
#include "runtime/Parameters.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace cmdtest {

inline int KMCosetSwitch = 0;
inline int primaries = 10;
inline int currents = 3;
inline int* TotalPrimaries = &primaries;
inline int* TotalCurrents = &currents;

// Ten fields, three of them simple currents (a Z3: 1 and 2 conjugate); 5 and 6 conjugate;
// the conjugate of 9 is not known.
inline const int conjugates[10] = {0, 2, 1, 3, 4, 6, 5, 7, 8, -1};
inline int conjugateOf(int label) {
    return label >= 0 && label < 10 ? conjugates[label] : -1;
}

inline int blockType = 1;
inline int blockRank = 3;
inline int currentType() {
    return blockType;
}
inline int currentRank() {
    return blockRank;
}

// Two factors: the first with 2 currents and 5 fields, the second with 3 and 4.
inline int factorCount() {
    return 2;
}
inline int currentCheck(int factor, int label) {
    return label >= 0 && label < (factor == 0 ? 2 : 3);
}
inline int fieldCheck(int factor, int label) {
    return label >= 0 && label < (factor == 0 ? 5 : 4);
}

inline int boundaries() {
    return 4;
}
inline int ishibashi() {
    return 6;
}

// What the lifecycle functions of the modular data saw.
inline std::vector<std::string> modularCalls;
inline int storedInvariants = 0;
inline BulkInvariant* currentBulk = reinterpret_cast<BulkInvariant*>(0x1000);
inline BulkInvariant* storedBulk = nullptr;

inline void resetRequirements() {
    modularCalls.push_back("requirements");
}
inline void resetStore() {
    modularCalls.push_back("store");
}
inline void resetCriteria() {
    modularCalls.push_back("criteria");
}
inline int totalInvariants() {
    return storedInvariants;
}
inline void cftChanged() {
    modularCalls.push_back("changed");
}
inline BulkInvariant* storeBulk(char* name, BulkInvariant* bi, int copy, int notify) {
    modularCalls.push_back(std::string("stored ") + (name ? name : "unnamed") + " copy " +
                           std::to_string(copy) + " notify " + std::to_string(notify));
    storedBulk = bi;
    return bi;
}
inline BulkInvariant** getCurrentBulk() {
    return &currentBulk;
}

inline const ModularServices testModular{resetRequirements, resetStore, resetCriteria,
                                         totalInvariants,   cftChanged, storeBulk,
                                         getCurrentBulk,    conjugateOf};

// The theory above, every part handed over.
inline void installTheory() {
    KMCosetSwitch = 0;
    primaries = 10;
    currents = 3;
    TotalPrimaries = &primaries;
    TotalCurrents = &currents;
    blockType = 1;
    blockRank = 3;
    modularCalls.clear();
    storedInvariants = 0;
    storedBulk = nullptr;
    bindCurrentTheory(&KMCosetSwitch, &TotalPrimaries, &TotalCurrents);
    installStoreServices({currentType, currentRank});
    installTensorServices({factorCount, currentCheck, fieldCheck});
    installModularServices(testModular);
    installBoundaryServices({boundaries, ishibashi, nullptr, nullptr});
}

inline void withdrawTheory() {
    bindCurrentTheory(nullptr, nullptr, nullptr);
    installStoreServices({});
    installTensorServices({});
    installModularServices({});
    installBoundaryServices({});
}

inline bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Error output and printed output of a stretch of a test.
class Captured {
public:
    Captured() : wasOn_(OutputStatus()) {
        TerminalOutputOn();
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
    }
    ~Captured() { finish(); }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;
    const std::string& err() {
        finish();
        return err_;
    }
    const std::string& out() {
        finish();
        return out_;
    }

private:
    void finish() {
        if (done_)
            return;
        done_ = true;
        if (!wasOn_)
            TerminalOutputOff();
        out_ = testing::internal::GetCapturedStdout();
        err_ = testing::internal::GetCapturedStderr();
    }
    int wasOn_;
    bool done_ = false;
    std::string err_;
    std::string out_;
};

} // namespace cmdtest
