#include "string/Tadpole.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "string/StringTheory.h"
#include "string/TadpoleInternal.h"

#include <array>
#include <cmath>

namespace {

constexpr double tiny = 1e-7;

// The orientifold was judged for this bulk invariant, orientifold choice and string reading.
std::array<int, 4> TadpoleInitiated{-10, -10, -10, -10};

const int* AnnulusConjugates = nullptr;
const int* GroupTypes = nullptr;

double identityCrosscap() {
    double re = 0, im = 0;
    getCurrentCrosscapCoefficient(0, 0, &re, &im);
    return re;
}

} // namespace

std::array<int, 4> tadpole::readingKey() {
    return {QueryBulkInvariant(), QueryOrientifold(), tadpole::parameter("Super"),
            tadpole::parameter("Dimension")};
}

int getTadpoleFlip() {
    const double g = identityCrosscap();
    if (std::fabs(g) < tiny) {
        if (tadpole::parameter("Tadpole info_level") > 1)
            Alert("getTadpoleFlip", 0, 100201, "Vanishing total O-plane tension");
        return 0;
    }
    if (g < 0) {
        Alert("getTadpoleFlip", 1, 212404, "Positive O-plane tension %15.7f\n", g);
        return -1;
    }
    return 1;
}

int initTadpole() {
    tadpole::debugLine("initTadpole request\n");
    const auto key = tadpole::readingKey();
    if (key == TadpoleInitiated)
        return 1;
    tadpole::debugLine("initTadpole started\n");
    allocTadpoleInfo();
    if (!isCrosscapAvailable()) {
        Alert("initTadpole", 0, 100302, "Crosscaps not available");
        return 0;
    }
    if (!isRefCoefAvailable()) {
        Alert("initTadpole", 1, 100302, "Reflection coefficients not available");
        return 0;
    }
    if (CheckSpaceTime() == -1 &&
        Alert("initTadpole", 2, 652209, "Space-time inconsistent; continue anyway?") == 1)
        return 0;
    OrientifoldInfo* OI = getCurrentOrientifold();
    if (OI->ConjugatesAvailable != OI->OrientifoldNr)
        loadOrientifoldConjugates(OI, 0);
    // Without a partner for every boundary the group types mean nothing.
    if (OI->ConjugatesAvailable != OI->OrientifoldNr) {
        Alert("initTadpole", 3, 100302, "Boundary conjugates not available");
        return 0;
    }
    if (std::fabs(OI->Tension) < tiny) {
        Print("Zero tension O-plane; No solution to tadpole equations\n");
        return 0;
    }
    AnnulusConjugates = &OI->Conjugates[0];
    GroupTypes = OI->GroupTypes;
    if (getTadpoleFlip() != 1)
        return 0;
    TadpoleInitiated = key;
    return 1;
}

const int* getAnnulusConjugates() {
    return AnnulusConjugates;
}

const int* getTadpoleGroupTypes() {
    return GroupTypes;
}

int SelfIntersection(int a) {
    const int ac = getCurrentOrientifold()->Conjugates[a];
    for (int m = 0; m < getTotalPrimaries(); m++) {
        if (!masslessCharacter(m, 0))
            continue;
        if (getAnnulus(m, a, a) != 0 || (m > 0 && getAnnulus(m, a, ac) != 0))
            return 1;
    }
    return 0;
}
