// Algebra types: validation of algebra triples, their names and the constants of each algebra.
#include "lie/Tarvik.h"

#include "base/Error.h"
#include "base/Parameters.h"
#include "lie/TarvikInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tarvik_internal {

int InLevel = 0;
int InRank = 0;

namespace {
int* maxrank = nullptr;
// Used until the parameter "Maxrank" is registered, with its default.
int maxrankFallback = 20;

int* maxRankPointer() {
    return maxrank ? maxrank : &maxrankFallback;
}
} // namespace

int maxRankValue() {
    return *maxRankPointer();
}

void raiseMaxRank(int value) {
    if (maxrank)
        setIntPar("Maxrank", value);
    else
        maxrankFallback = value;
}

void bindMaxRank() {
    maxrank = static_cast<int*>(getIntParPointer("Maxrank"));
}

namespace {
// G2, F4, E6, E7 and E8. Columns: rank, centre, centre multiplicity, complexity, dual Coxeter
// number, dimension, root length ratio, weight lattice order, Weyl group order, degrees.
constexpr Exceptional exceptionalAlgebras[] = {
    {2, 1, 0, 0, 4, 14, 3, 3, 12, {2, 6}},
    {4, 1, 0, 0, 9, 52, 2, 4, 1152, {2, 6, 8, 12}},
    {6, 3, 1, 1, 12, 78, 1, 3, 51840, {2, 5, 6, 8, 9, 12}},
    {7, 2, 1, 0, 18, 133, 1, 2, 2903040, {2, 6, 8, 10, 12, 14, 18}},
    {8, 1, 0, 0, 30, 248, 1, 1, 696729600, {2, 8, 12, 14, 18, 20, 24, 30}},
};
} // namespace

const Exceptional* exceptional(int rank) {
    for (const Exceptional& e : exceptionalAlgebras)
        if (e.rank == rank)
            return &e;
    return nullptr;
}

} // namespace tarvik_internal

using tarvik_internal::exceptional;
using tarvik_internal::InLevel;
using tarvik_internal::InRank;

namespace {

constexpr int InputCode = 112312;

char nameBuffer[128] = "";
char typeStringBuffer[32] = "";
std::vector<int> indexOrdersBuffer;

bool isTwistedType(int type) {
    return type >= 11 && type <= 16;
}

// The rank-independent rules of an admissible triple, each reported on its own.
void checkGeneralRules(int type, int rank, int level, const char* routine) {
    if ((type < 0 || type > 16) && type != 27)
        InputError(type, rank, level, routine);
    if (type >= 6 && type <= 10)
        InputError(type, rank, level, routine);
    if (rank < 1)
        InputError(type, rank, level, routine);
    if (level < 1 && type >= 1)
        InputError(type, rank, level, routine);
}

// Exceptional algebras exist for the ranks 2, 4, 6, 7 and 8 only; rank 3 names none.
bool badExceptionalRank(int rank) {
    return rank < 2 || rank > 8 || rank == 5 || rank == 3;
}

void checkRankRules(int type, int rank, int level, const char* routine) {
    bool bad = (type == 2 && rank < 2) || (type == 3 && rank < 1) || (type == 4 && rank < 3);
    if (bad)
        InputError(type, rank, level, routine);
    if (type == 5 && badExceptionalRank(rank))
        InputError(type, rank, level, routine);
    if ((type == 11 && rank != 1) || (type == 12 && rank < 2))
        InputError(type, rank, level, routine);
}

void checkTwistedRankRules(int type, int rank, int level, const char* routine) {
    if ((type == 14 && rank < 3) || (type == 15 && rank != 4) || (type == 16 && rank != 2))
        InputError(type, rank, level, routine);
}

const char* exceptionalLetter(int rank) {
    if (rank == 2)
        return "G";
    if (rank == 4)
        return "F";
    return "E";
}

// The name of a type with a table entry; false for a type without one.
bool formatName(char* buf, std::size_t size, int type, int rank, int level) {
    static const char* const classical[] = {nullptr, "A", "B", "C", "D"};
    switch (type) {
    case 0:
        std::snprintf(buf, size, "U(1) radius %d", rank);
        return true;
    case 1:
    case 2:
    case 3:
    case 4:
        std::snprintf(buf, size, "%s%-d level %d", classical[type], rank, level);
        return true;
    case 5:
        std::snprintf(buf, size, "%s%-d level %d", exceptionalLetter(rank), rank, level);
        return true;
    case 7:
        std::snprintf(buf, size, "Orbifold c=1 N=%d", rank);
        return true;
    case 11:
        std::snprintf(buf, size, "A(2)");
        return true;
    case 27:
        std::snprintf(buf, size, "Min %d %d (aux)", rank, level);
        return true;
    default:
        break;
    }
    if (!isTwistedType(type))
        return false;
    static const char* const twisted[] = {"B%-d(2) level %d", "B%-d(2t) level %d",
                                          "C%-d(2) level %d", "F%-d(2) level %d",
                                          "G%-d(3) level %d"};
    std::snprintf(buf, size, twisted[type - 12], rank, level);
    return true;
}

const char* typeLetters(int type, int rank) {
    static const char* const letters[] = {"U", "A", "B", "C", "D"};
    static const char* const twisted[] = {"A(2)", "B(2)", "B(2t)", "C(2)", "F(2)", "G(3)"};
    if (type >= 0 && type <= 4)
        return letters[type];
    if (type == 5)
        return exceptionalLetter(rank);
    if (type == 7)
        return "O";
    if (type == 27)
        return "M";
    if (isTwistedType(type))
        return twisted[type - 11];
    return nullptr;
}

// Reports a type without an entry, quoting the last spectrum's rank and level.
void reportMissingEntry(int type, const char* routine) {
    typecheck(type, InRank, InLevel, 0, routine);
}

void fillClassicalDegrees(int type, int rank, int* out) {
    for (int i = 0; i < rank; i++) {
        if (type == 1)
            out[i] = i + 2;
        else
            out[i] = 2 * i + 2;
    }
    if (type == 4)
        out[rank - 1] = rank;
}

} // namespace

void InputError(int type, int rank, int level, const char* routine) {
    Alert("InputError", 0, InputCode, "Invalid input\nType=%d, Rank=%d, Level=%d\nRoutine: %s",
          type, rank, level, routine);
}

void SNotAvailable(int type, int rank, int level, const char* routine) {
    Alert("SNotAvailable", 0, InputCode,
          "S matrix not built in\nType=%d, Rank=%d, Level=%d\nRoutine: %s", type, rank, level,
          routine);
}

void typecheck(int type, int rank, int level, int req, const char* routine) {
    Alert("typecheck", 0, 100101, "Performing input check");
    if (level == 0 && rank == 0 && type == 1)
        return;
    checkGeneralRules(type, rank, level, routine);
    checkRankRules(type, rank, level, routine);
    if (type == 13) {
        if (rank < 1)
            InputError(type, rank, level, routine);
        return;
    }
    checkTwistedRankRules(type, rank, level, routine);
    if (req == 1 && isTwistedType(type))
        SNotAvailable(type, rank, level, routine);
}

char* algebraname(int type, int rank, int level) {
    int base = type < 0 ? type + 100 : type;
    if (!formatName(nameBuffer, sizeof nameBuffer, base, rank, level)) {
        typecheck(type, rank, level, 0, "algebraName");
        return nameBuffer;
    }
    if (type < 0) {
        std::size_t used = std::strlen(nameBuffer);
        std::snprintf(nameBuffer + used, sizeof nameBuffer - used, " (Compl.)");
    }
    return nameBuffer;
}

char* algebraTypeString(int type, int rank) {
    int base = type < 0 ? type + 100 : type;
    const char* letters = typeLetters(base, rank);
    if (!letters) {
        typecheck(type, rank, 1, 0, "algebraTypeString");
        return typeStringBuffer;
    }
    std::snprintf(typeStringBuffer, sizeof typeStringBuffer, "%s%s", letters,
                  type < 0 ? "(C)" : "");
    return typeStringBuffer;
}

void currentLabel(int type, int current, char* lbl) {
    static const char* const dNames[] = {"0", "s", "v", "c"};
    if (type == 4 && current >= 0 && current < 4)
        std::sprintf(lbl, "%s", dNames[current]);
    else
        std::sprintf(lbl, "%d", current);
}

int LieType(int type) {
    switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        return type;
    case 11:
        return 1;
    case 12:
    case 13:
        return 2;
    case 14:
        return 3;
    case 15:
    case 16:
        return 5;
    default:
        reportMissingEntry(type, "LieType");
        return -1;
    }
}

int Complexity(int type, int rank) {
    switch (type) {
    case 0:
        return 1;
    case 1:
        return rank > 1 ? 1 : 0;
    case 4:
        return rank % 2;
    case 5:
        return exceptional(rank) ? exceptional(rank)->complexity : 0;
    default:
        return 0;
    }
}

int Center(int type, int rank) {
    switch (type) {
    case 0:
        return rank;
    case 1:
        return rank + 1;
    case 2:
    case 3:
        return 2;
    case 4:
        return 4;
    case 5:
        return exceptional(rank) ? exceptional(rank)->center : 1;
    default:
        return 1;
    }
}

int CenterMultiplicity(int type, int rank) {
    switch (type) {
    case 0:
        return rank == 0 ? 0 : 1;
    case 1:
    case 2:
    case 3:
        return 1;
    case 4:
        return rank % 2 == 0 ? 2 : 1;
    case 5:
        return exceptional(rank) ? exceptional(rank)->multiplicity : 0;
    default:
        return 0;
    }
}

void getCenterOrders(int type, int rank, int total, int* orders) {
    if (type == 4 && rank % 2 == 0) {
        orders[0] = 2;
        orders[1] = 2;
    } else {
        orders[0] = total;
    }
}

int dualCoxeter(int type, int rank) {
    switch (type) {
    case 0:
        return 0;
    case 1:
        return rank + 1;
    case 2:
        return rank == 1 ? 2 : 2 * rank - 1;
    case 3:
        return rank + 1;
    case 4:
        return 2 * rank - 2;
    case 5:
        return exceptional(rank) ? exceptional(rank)->coxeter : -1;
    case 11:
        return 3;
    case 12:
    case 14:
        return 2 * rank;
    case 13:
        return 2 * rank + 1;
    case 15:
        return 12;
    case 16:
        return 6;
    default:
        reportMissingEntry(type, "dualCoxeter");
        return -1;
    }
}

int AdjointDimension(int type, int rank) {
    switch (type) {
    case 0:
        return rank == 2 ? 3 : 1;
    case 1:
        return rank * (rank + 2);
    case 2:
    case 3:
        return rank * (2 * rank + 1);
    case 4:
        return rank * (2 * rank - 1);
    case 5:
        return exceptional(rank) ? exceptional(rank)->dimension : 0;
    case 11:
        return 8;
    case 12:
        return (2 * rank + 1) * (rank + 1);
    case 13:
        return 4 * rank * (rank + 1);
    case 14:
        return (2 * rank - 1) * (2 * rank + 1);
    case 15:
        return 78;
    case 16:
        return 28;
    default:
        reportMissingEntry(type, "AdjointDimension");
        return 0;
    }
}

int* indexOrders(int type, int rank) {
    if (static_cast<int>(indexOrdersBuffer.size()) < rank)
        indexOrdersBuffer.resize(rank);
    if (type >= 1 && type <= 4 && rank >= 1) {
        fillClassicalDegrees(type, rank, indexOrdersBuffer.data());
    } else if (type == 5) {
        if (const tarvik_internal::Exceptional* e = exceptional(rank))
            std::copy_n(e->degrees.begin(), rank, indexOrdersBuffer.begin());
        else
            Alert("indexOrders", 1, InputCode, "Invalid rank for exceptional algebra:  %d", rank);
    } else {
        Alert("indexOrders", 0, InputCode, "Invalid algebra: type %d; rank %d", type, rank);
    }
    return indexOrdersBuffer.data();
}

int SmallRootDenominator(int type, int rank) {
    switch (type) {
    case 1:
    case 4:
        return 1;
    case 2:
    case 3:
        return 2;
    case 5:
        return exceptional(rank) ? exceptional(rank)->rootRatio : -1;
    default:
        return -1;
    }
}

int WeightLatticeOrder(int type, int rank) {
    switch (type) {
    case 1:
        return rank + 1;
    case 2:
    case 4:
        return 4;
    case 3:
        return 1 << rank;
    case 5:
        return exceptional(rank) ? exceptional(rank)->latticeOrder : 1;
    default:
        return 1;
    }
}

void initializeTarvik() {
    tarvik_internal::bindMaxRank();
}

// ============================================================ rank limits of the type codes

namespace {
// Looked up on first use: the limits are asked before start-up has bound the parameters too.
int* maxrankParameter = nullptr;
} // namespace

int maxRank(int type) {
    switch (type) {
    case 5:
        return 8;
    case 6:
    case 15:
        return 4;
    case 7:
    case 16:
    case 26:
        return 2;
    case 11:
        return 1;
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 12:
    case 13:
    case 14:
        if (!maxrankParameter)
            maxrankParameter = static_cast<int*>(getIntParPointer("Maxrank"));
        return maxrankParameter ? *maxrankParameter : 1;
    default:
        Alert("maxRank", 0, 112412, "Invalid type %d", type);
        return 1;
    }
}

int minRank(int type) {
    switch (type) {
    case 1:
    case 11:
    case 13:
        return 1;
    case 0:
    case 2:
    case 3:
    case 7:
    case 12:
    case 16:
    case 26:
        return 2;
    case 14:
        return 3;
    case 4:
    case 6:
    case 15:
        return 4;
    case 5:
        return 6;
    default:
        Alert("minRank", 0, 112412, "Invalid type %d", type);
        return 1;
    }
}

int algebraType(int type, int rank) {
    if (type == 5 && rank == 4)
        return 6;
    if (type == 5 && rank == 2)
        return 7;
    return type;
}

int standardType(int type) {
    return type == 6 || type == 7 ? 5 : type;
}

namespace {
int maximalLevel = 50;
}

void setMaximalLevel(int level) {
    maximalLevel = level;
}

int getMaximalLevel() {
    return maximalLevel;
}

int levelCheck(int type, int level) {
    const int t = type < 0 ? type + 100 : type;
    const bool affine = (t >= 1 && t <= 5) || isTwistedType(t);
    if (!affine || level <= maximalLevel)
        return 1;
    Alert("levelCheck", 0, 100313,
          "Level %d above the maximal level %d (preference \"MaximalLevel\")", level, maximalLevel);
    return 0;
}
