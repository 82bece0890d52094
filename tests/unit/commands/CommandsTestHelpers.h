// A small current theory for the command set: a block made current in the facade with counts of
// the test's choice, a current tensor product of two factors and an empty invariant store without
// criteria.
#pragma once

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace cmdtest {

// The counts the facade reports for the theory below.
inline int primaries = 10;
inline int currents = 3;

// A made-up building block: the code under test reads only its type and rank.
inline SpectrumData fakeBlock{};
inline int& blockType = fakeBlock.type;
inline int& blockRank = fakeBlock.rank;

// Two factors: A1 at level 4 (2 currents, 5 fields) and A2 at level 2 (3 currents, 6 fields).
inline void makeTwoFactors() {
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    addTensorFactor(TP, SM_getData(1, 1, 4), 0);
    addTensorFactor(TP, SM_getData(1, 2, 2), 0);
}

// The store holds nothing, no criterion is set and the current invariant is the diagonal one of
// the current theory.
inline void emptyInvariantStore() {
    resetSelectionCriteria();
    resetAlgebraRequirements();
    resetInvariantStore();
    resetCurrentBulkToDiagonal();
}

// A block of type 1 and rank 3 is current, with ten fields and three simple currents, beside a
// tensor product of two factors.
inline void installTheory() {
    primaries = 10;
    currents = 3;
    fakeBlock = SpectrumData{};
    blockType = 1;
    blockRank = 3;
    setCosetMode(0);
    setCurrentSD(&fakeBlock);
    setCurrentTotals(&primaries, &currents);
    makeTwoFactors();
    emptyInvariantStore();
}

// A real block of the store becomes the current theory with its own counts.
// As "algebra" and "compute spectrum" do: the caches of the theory before are stale.
inline SpectrumData* useBlock(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    return sd;
}

inline void withdrawTheory() {
    setCosetMode(0);
    initializeAlgebra();
    setCurrentTotals(nullptr, nullptr);
    resetCoset(getCurrentTensor());
    emptyInvariantStore();
}

// A handler call as the interpreter makes it: the typed word sits just before the arguments.
inline int call(COM handler, const char* typed, std::vector<int> args) {
    std::string word = typed;
    std::vector<void*> slots{word.data()};
    for (int& a : args)
        slots.push_back(&a);
    return handler(slots.data() + 1, static_cast<int>(args.size()));
}

// The same with text arguments.
inline int callWithTexts(COM handler, const char* typed, std::vector<std::string> texts) {
    std::string word = typed;
    std::vector<void*> slots{word.data()};
    for (std::string& t : texts)
        slots.push_back(t.data());
    return handler(slots.data() + 1, static_cast<int>(texts.size()));
}

inline bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Error output and printed output of a stretch of a test.
using Captured = testsupport::Captured;

// Single-algebra mode as after start-up, with the Modular and Boundary modes made (and off) and
// no messages held back.
inline void startSingleAlgebraMode() {
    flushErrors();
    unbufferErrors();
    if (!findInternalParameter("Maxrank"))
        addInternalParameter("Maxrank", "20", 'i', 0);
    setIntPar("Maxrank", 20);
    if (!ModularMode)
        ModularMode = makeMode("No modular data; type \"compute spectrum\" first.");
    if (!BoundaryMode)
        BoundaryMode = makeMode("No open string and bulk invariant data available");
    setCosetMode(0);
    Captured quiet;
    disableCoset();
}

// Every mode made, single-algebra mode with the block (1, 0, 0) current, and the current tensor
// product emptied; quietly.
inline TensorProduct* startWithEmptyProduct() {
    for (ModeType** mode : {&SingleAlgebraMode, &TensorMode, &ModularMode, &BoundaryMode})
        if (!*mode)
            *mode = makeMode("test mode");
    TensorProduct* TP = getCurrentTensor();
    Captured quiet;
    resetCoset(TP);
    setCosetMode(0);
    disableCoset();
    commands::makeBlockCurrent(SM_getData(1, 0, 0));
    return TP;
}

} // namespace cmdtest
