#include "string/SearchPreselection.h"

#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "string/Intersections.h"
#include "string/SearchSetup.h"

#include <array>
#include <string>

namespace {

int OrientifoldPreselection = -1;
// Positions a, b, c, d.
std::array<int, 4> BoundaryPreselection{-1, -1, -1, -1};

} // namespace

void setOrientifoldPreselection(int select) {
    OrientifoldPreselection = select;
}
void setBoundary_a_Preselection(int select) {
    BoundaryPreselection[0] = select;
}
void setBoundary_b_Preselection(int select) {
    BoundaryPreselection[1] = select;
}
void setBoundary_c_Preselection(int select) {
    BoundaryPreselection[2] = select;
}
void setBoundary_d_Preselection(int select) {
    BoundaryPreselection[3] = select;
}
int getOrientifoldPreselection() {
    return OrientifoldPreselection;
}
int getBoundary_a_Preselection() {
    return BoundaryPreselection[0];
}
int getBoundary_b_Preselection() {
    return BoundaryPreselection[1];
}
int getBoundary_c_Preselection() {
    return BoundaryPreselection[2];
}
int getBoundary_d_Preselection() {
    return BoundaryPreselection[3];
}

void PrintBoundarySelection() {
    std::string line = "Boundary selection: (";
    for (std::size_t p = 0; p < BoundaryPreselection.size(); p++) {
        const int b = BoundaryPreselection[p];
        line += b == -1 ? "*" : std::to_string(b);
        line += p + 1 < BoundaryPreselection.size() ? "," : ")\n";
    }
    Print("%s", line.c_str());
}

int reportTypeIIBError(int code) {
    struct Report {
        const char* message;
        int result;
    };
    static const Report reports[] = {{"Representation content not available", 1},
                                     {"Not a fermionic string", 2},
                                     {"Not a four-dimensional CY compactified string", 3},
                                     {"Aborted", 4},
                                     {"Unknown error", 0}};
    const int position = code >= 0 && code < 4 ? code : 4;
    Alert("Type_IIB_Error", position, 100302, "%s", reports[position].message);
    return reports[position].result;
}

int Type_IIB_Error(int code) {
    OrientifoldPreselection = -1;
    BoundaryPreselection.fill(-1);
    return reportTypeIIBError(code);
}

int BoundaryClassPreselectionCheck(int cls) {
    // Without a pre-selected orientifold there is no image to compare (list entry -1 would be
    // read): the boundaries alone decide.
    const SearchData* SD = getSearchData();
    const int o = OrientifoldPreselection;
    const OrientifoldInfo* OI = o >= 0 && o < SD->Ori && SD->OI ? SD->OI[o] : nullptr;
    for (int x : BoundaryPreselection) {
        if (x == -1)
            return 1;
        if (x < 0 || x >= SD->Bnd)
            continue;
        if (getBoundaryClass(x) == cls)
            return 1;
        if (OI && OI->Conjugates.X && getBoundaryClass(OI->Conjugates[x]) == cls)
            return 1;
    }
    return 0;
}
