// Chiral intersections of boundaries, the brane scan, and the brane configuration built in one
// step from a code of the CY table.
#include "commands/CommandsIntersections.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "boundary/CrossBound.h"
#include "commands/Commands.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsInvariants.h"
#include "numeric/VectorUtility.h"
#include "search/SearchSM.h"
#include "string/Intersections.h"
#include "string/OpenSpectrum.h"
#include "string/Tadpole.h"

#include <array>
#include <string>
#include <vector>

using commands::intArgument;
using commands::textArgument;

namespace {

int COM_intersect(void** params, int parnum) {
    return PrintIntersectionEntry(intArgument(params, 0), intArgument(params, 1)) ? 1 : -parnum;
}

int COM_branescan(void**, int parnum) {
    return BraneScan() ? 1 : -parnum;
}

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

struct Stacks {
    std::vector<int> labels, mults;
};

// The stacks a to d and further ones, read before anything is built; false after the report.
bool readStacks(void** params, int from, int parnum, Stacks* s) {
    for (int k = from; k < parnum; k++) {
        int label = 0, value = 0;
        if (!commands::readAssignment(textArgument(params, k), &label, &value)) {
            Alert("COM_check_tad", 0, 100302, "Invalid assignment: %s\n", textArgument(params, k));
            return false;
        }
        s->labels.push_back(label);
        s->mults.push_back(value);
    }
    // The report names the stacks a, b, c and d; without them it would read labels never given.
    if (s->labels.size() < 4) {
        Alert("COM_build_braneconfig", 3, 100302, "Four stacks a to d needed, %d given",
              static_cast<int>(s->labels.size()));
        return false;
    }
    return true;
}

void printDiagonals(int ori, const int* conj, const std::vector<int>& x) {
    static constexpr std::array<const char*, 4> formats = {
        "a: A=%d,Ac=%d,M=%d,Mc=%d,Adj=%d,Adjc=%d\n", "b: A=%d,Ac=%d,M=%d,Mc=%d,Adj=%d,Adjc=%d\n",
        "c: A=%d,Ac=%d,M=%d,Mc=%d,Adj=%d,Adjc=%d\n", "d: A=%d,Ac=%d,M=%d,Mc=%d,Adj=%d,Adjc=%d\n"};
    for (std::size_t s = 0; s < formats.size(); s++) {
        int A = 0, M = 0, Adj = 0, Ac = 0, Mc = 0, Adjc = 0;
        getDiagonalInfo(ori, x[s], &A, &M, &Adj);
        getDiagonalInfo(ori, conj[x[s]], &Ac, &Mc, &Adjc);
        Print(formats[s], A, Ac, M, Mc, Adj, Adjc);
    }
}

void printPairs(const int* conj, const std::vector<int>& x) {
    static constexpr const char* names = "abcd";
    // As ever printed: the line "x,y" holds the call with the conjugate of y, and so on.
    for (int p = 0; p < 4; p++)
        for (int q = p + 1; q < 4; q++) {
            const int X = x[at(p)], Y = x[at(q)];
            const std::array<std::array<int, 2>, 4> calls = {
                {{X, conj[Y]}, {X, Y}, {conj[X], conj[Y]}, {conj[X], Y}}};
            const std::array<std::string, 4> heads = {
                std::string{names[p], ',', names[q]}, std::string{names[p], ',', names[q], '*'},
                std::string{names[p], '*', ',', names[q]},
                std::string{names[p], '*', ',', names[q], '*'}};
            for (std::size_t k = 0; k < calls.size(); k++) {
                int chir = 0;
                const int I = FullIntersectionForClassMember(calls[k][0], calls[k][1], &chir);
                Print("%s: (%d,%d)\n", heads[k].c_str(), I, chir);
            }
        }
}

void printNeutralBoundaries(int ori, const int* conj, const int* types, const std::vector<int>& x) {
    const int B = TotalBoundaries();
    for (int z = 0; z < B; z++) {
        std::array<int, 8> I{}, chir{};
        for (std::size_t s = 0; s < 4; s++) {
            I[2 * s] = FullIntersectionForClassMember(z, conj[x[s]], &chir[2 * s]);
            I[2 * s + 1] = FullIntersectionForClassMember(z, x[s], &chir[2 * s + 1]);
        }
        if (chir[0] != 0 || chir[1] != 0 || chir[2] != 0 || chir[3] != 0)
            continue;
        int A = 0, M = 0, Adj = 0;
        getDiagonalInfo(ori, z, &A, &M, &Adj);
        // 64 bits: a sum that was not integral stands as 2147483647.
        Print("a=%d (*%5d) Type=%2d; %3lld %3lld %3d ", z, conj[z], types[z], (0LL + A + M) / 2,
              (0LL + A - M) / 2, Adj);
        for (std::size_t k = 0; k < I.size(); k++)
            Print("(%d,%d)", I[k], chir[k]);
        Print("\n");
    }
}

int COM_build_braneconfig(void** params, int parnum) {
    const int code = intArgument(params, 0), mipf = intArgument(params, 1),
              ori = intArgument(params, 2);
    // Entries are checked before the current theory is replaced.
    Stacks s;
    if (!readStacks(params, 3, parnum, &s))
        return -1;
    if (buildSupersymmetricCY(code, false))
        return 1;
    setIntPar("Selection symmetric", 1);
    setIntPar("Reject permutations", 1);
    COM_load_sim(nullptr, 0);
    // An invariant or orientifold that is not there must not leave the previous one in force.
    if (buildInvariant(std::to_string(mipf).c_str(), 1) != 0) {
        Alert("COM_build_braneconfig", 0, 100302, "MIPF %d not available", mipf);
        return 1;
    }
    initializeOpenString();
    initSearchMemory();
    if (!setStoredOrientifold(ori)) {
        Alert("COM_build_braneconfig", 1, 100302, "Orientifold %d not available", ori);
        return 1;
    }
    const int B = TotalBoundaries();
    for (int label : s.labels)
        if (label < 0 || label >= B) {
            Alert("COM_build_braneconfig", 2, 100302, "Label %d out of range", label);
            return -1;
        }
    ChanPatonData* CPD =
        generateChanPatonData(static_cast<int>(s.labels.size()), getCurrentOrientifold(),
                              s.labels.data(), s.mults.data());
    CPD->mode = 1;
    GeneralOpenSectorAnalysis(CPD);
    printVec(4, s.labels.data(), "vars");
    printVec(4, s.mults.data(), "mults");
    OrientifoldInfo* R = setStoredOrientifold(ori);
    InitMoebiusSum();
    int unused = 0;
    CheckChirality(0, 0, 0, &unused, &unused, &unused);
    const int* conj = R->Conjugates.X;
    printDiagonals(ori, conj, s.labels);
    printPairs(conj, s.labels);
    printNeutralBoundaries(ori, conj, R->GroupTypes, s.labels);
    return -parnum;
}

const CommandDefinition intersectionCommands[] = {
    {"Intersect", "[bound a][bound b]", COM_intersect,
     "Compute the oriented chiral intersection matrix of boundaries \"a\" and \"b\".\nThis is "
     "defined as $I_{ab}=@sum_(i,massless,lefthanded) A^i_{ab}$ Character(i)\nAlso shown is the "
     "chirality, $I_{ab} - I_{a^cb^c}$\n(Implemented only for 4-D CY compactifactions)"},
};

const CommandDefinition braneCommands[] = {
    {"branescan", "", COM_branescan, "Scan all boundaries and list their annuli and moebii"},
    {"build brane_configuration", "[int code][int MIPF][int ori](entry_a)...(entry_d)",
     COM_build_braneconfig,
     "Build minimal model tensor product identified by \"code\"\nwith a supersymmetry extension "
     "of the chiral algebra, MIPF nr, \"MIPF\"\norientifold nr. \"ori\", and boundary states "
     "\"a\" to \"d\".\nEntries have the form label:value, where \"value\" is\nthe CP "
     "multiplicity.\nThe number of boundary states is unlimited.\nBoundary conjugates are "
     "automatically taken into account.\nFor example 441010 yields the supersymmetrized tensor "
     "product\nof two k=4 and two k=10 minimal models."},
};

} // namespace

void installIntersectionCommands() {
    addCommandFamily(CommandFamily::Boundary, intersectionCommands);
    addCommandFamily(CommandFamily::Tadpole, braneCommands);
}
