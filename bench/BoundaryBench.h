// Shared by the benchmarks of the boundary layer: the parameters it reads, a block made current
// with its S cache, and a simple-current invariant selected.
#pragma once

#include "Silenced.h"
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <memory>
#include <vector>

namespace boundarybench {

inline int* useOrbits = nullptr;

inline void startModule() {
    if (useOrbits)
        return;
    struct P {
        const char* name;
        const char* value;
        char type;
    };
    for (const P& p :
         {P{"Orientifold", "ON", 't'}, P{"Use_orbits", "2", 'i'}, P{"Init_debug", "OFF", 't'},
          P{"Boundary_search info_level", "0", 'i'}, P{"Boundary_search capacity", "1", 'i'},
          P{"Boundary_search use_all_sets", "OFF", 't'}, P{"Reject permutations", "ON", 't'},
          P{"Reject info", "OFF", 't'}, P{"NIMrep Max_row", "100000", 'i'},
          P{"Moebius security_level", "0", 'i'}, P{"Orientifold info_level", "0", 'i'},
          P{"ZNX_VERSION", "OFF", 't'}})
        addInternalParameter(p.name, p.value, p.type, 0);
    initializeInvariants();
    initializeCrossBound();
    useOrbits = static_cast<int*>(getIntParPointer("Use_orbits"));
}

inline void makeCurrent(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    setCosetMode(0);
    setCurrentSD(sd);
    CFTChanged();
    initSMATRIX();
}

// The invariant of the extension by current J; the diagonal one for J = 0.
inline void selectInvariant(int J) {
    if (J == 0) {
        resetCurrentBulkToDiagonal();
        return;
    }
    int generator[5] = {J, 0, 0, 0, 0};
    selectBulkInvariantInSubgroup(generator, 1);
}

// The exceptional invariant of the current block from the built-in table (3 at su(2) level 28
// is E8), made current. The caller keeps it alive while it is current.
inline std::unique_ptr<BulkInvariant> makeExceptionalCurrent(int table) {
    const int N = getTotalPrimaries();
    std::vector<int> Z(static_cast<std::size_t>(N) * N);
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            Z[static_cast<std::size_t>(j) * N + i] = ExceptionalModularMatrix(i, j, table);
    std::unique_ptr<BulkInvariant> invariant(allocNewBulkInvariant(nullptr));
    Silenced quiet;
    makeExceptionalBulkInvariant(Z.data(), invariant.get(), 0, 0);
    setCurrentBulkInvariant(invariant.get());
    return invariant;
}

} // namespace boundarybench
