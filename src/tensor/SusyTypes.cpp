// Space-time symmetry types: the algebra each world-sheet side extends its covariant lattice to,
// read from the string data of a theory or from the user's text, checked against the space-time
// dimension, named, and listed pair by pair for "browse susy".
#include "base/Error.h"
#include "base/StringUtility.h"
#include "tensor/Branching.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

char susyNameBuffer[80] = "";

DISPLAY_SUSY printer = nullptr;

constexpr int ParseCode = 100302;
// strnum's answer to a text that is not a number.
constexpr int NotANumber = 2147483647;

bool is(const ChiralSusyType* CST, int type, int rank) {
    return CST->Type == type && CST->Rank == rank;
}

bool isBosonic(const ChiralSusyType* CST) {
    return CST->Type == 0;
}

ChiralSusyType side(int type, int rank, int chir) {
    return {type, rank, chir, 1};
}

void emptySide(ChiralSusyType* CST) {
    *CST = side(0, 0, 0);
}

void sideFromExtension(const Heterotic* H, const Extension* E, ChiralSusyType* CST) {
    // Without the lattice embedding there is no chirality to compose with: read as bosonic.
    if (!E || !E->Branch || !H->CovLatEmbedding) {
        emptySide(CST);
        return;
    }
    const Branching* B = E->Branch;
    const Branching* L = H->CovLatEmbedding;
    CST->Type = B->type_G;
    CST->Rank = B->rank_G;
    CST->Chir = L->chirality * B->chirality;
    CST->Chir_res = ChiralityResolved(B->type_G, B->rank_G, L->type_H, L->rank_H);
}

void sideFromLattice(const Heterotic* H, ChiralSusyType* CST) {
    const Branching* L = H->CovLatEmbedding;
    if (!L) {
        emptySide(CST);
        return;
    }
    CST->Type = L->type_G;
    CST->Rank = L->rank_G;
    CST->Chir = L->chirality * L->chirality;
    CST->Chir_res = ChiralityResolved(L->type_G, L->rank_G, L->type_H, L->rank_H);
}

void setHeterotic(SusyType* ST, ChiralSusyType* spaceTime, Extension* gauge, int orientable) {
    ST->HeteroticSpaceTime = spaceTime;
    ST->HeteroticGaugeGroup = gauge;
    ST->orientable = orientable;
}

bool fillReading(const Heterotic* H, SusyType* ST, char reading) {
    switch (reading) {
    case 'L':
        sideFromExtension(H, H->Left, ST->Left);
        emptySide(ST->Right);
        setHeterotic(ST, ST->Left, H->Right, 1);
        return true;
    case 'R':
        emptySide(ST->Left);
        sideFromExtension(H, H->Right, ST->Right);
        setHeterotic(ST, ST->Right, H->Left, 1);
        return true;
    case 'B':
    case 'X':
        sideFromExtension(H, H->Left, ST->Left);
        sideFromExtension(H, H->Right, ST->Right);
        setHeterotic(ST, nullptr, nullptr, reading == 'B' ? 1 : 0);
        return true;
    case 'I':
        sideFromLattice(H, ST->Left);
        *ST->Right = *ST->Left;
        setHeterotic(ST, nullptr, nullptr, 1);
        return true;
    case 'O':
        sideFromLattice(H, ST->Left);
        emptySide(ST->Right);
        setHeterotic(ST, nullptr, nullptr, 1);
        return true;
    default:
        return false;
    }
}

// The chirality of the side means something at dim.
bool SusyIsChiral(const ChiralSusyType* CST, int dim) {
    if ((is(CST, 5, 8) && dim == 10) || (is(CST, 5, 7) && dim == 6))
        return true;
    if (CST->Type == 4 && dim == 2 * CST->Rank - 6)
        return true;
    return dim == 2 && ((CST->Type == 4 && CST->Rank > 4) || (CST->Type == 2 && CST->Rank > 3));
}

bool fitsDimension(const ChiralSusyType* CST, int dim) {
    const int n = CST->Rank;
    switch (CST->Type) {
    case 0:
        return true;
    case 4:
        return dim <= 2 * n - 6 && n <= 18 - dim;
    case 2:
        return dim <= 2 * n - 5 && n <= 17 - dim;
    case 5:
        return n == 8 ? dim <= 10 : n == 7 ? dim <= 6 : n == 6 ? dim <= 4 : n == 4 && dim <= 3;
    default:
        return false;
    }
}

void addUnspecifiedChirality(ChiralSusyType* CST, int dim) {
    if (CST->Chir == 0 && ((is(CST, 5, 8) && dim == 10) || (is(CST, 5, 7) && dim == 6)))
        CST->Chir = 1;
}

bool sameType(const ChiralSusyType* a, const ChiralSusyType* b) {
    return a->Type == b->Type && a->Rank == b->Rank && a->Chir == b->Chir;
}

// The classes listed for a side; E6 below dimension 4 cannot tell its two 27s apart.
int listedClassCount(const ChiralSusyType* CST, int dim) {
    if (CST->Type == 2)
        return 3;
    if (CST->Type == 4)
        return 4;
    if (CST->Type != 5)
        return 1;
    switch (CST->Rank) {
    case 7:
    case 4:
        return 2;
    case 6:
        return dim < 4 ? 2 : 3;
    default:
        return 1;
    }
}

void show(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int rep2, int depth) {
    if (printer)
        printer(dim, L, R, rep1, rep2, 0, depth);
}

} // namespace

int getSpaceTimeSymmetry(const Heterotic* H, SusyType* ST, char side) {
    ST->dim = H->SpaceTimeDim;
    if (!ST->Left || !ST->Right)
        return -1;
    fillReading(H, ST, side);
    return checkSusyType(ST);
}

int getChiralSusyType(const char* input_str, int dim, ChiralSusyType* CST) {
    CST->Chir = 0;
    CST->Chir_res = 1;
    if (std::strlen(input_str) >= 8) {
        Alert("getChiralSusyType", 0, ParseCode, "Invalid susy type: %s", input_str);
        return -1;
    }
    std::string text = input_str;
    if (!text.empty() && (text.back() == '+' || text.back() == '-')) {
        CST->Chir = text.back() == '+' ? 1 : -1;
        text.pop_back();
    }
    if (interpretSusyType(text.c_str(), CST) != 0)
        return -1;
    addUnspecifiedChirality(CST, dim);
    return checkChiralSusyType(CST, dim);
}

int interpretSusyType(const char* str, ChiralSusyType* CST) {
    if (std::strcmp(str, "0") == 0) {
        CST->Type = 0;
        CST->Rank = 0;
        return 0;
    }
    if (str[0] == 'F') {
        const int n = strnum(str + 1);
        if (n == NotANumber)
            return -1;
        // SO(n+6)
        CST->Type = n % 2 == 0 ? 4 : 2;
        CST->Rank = n % 2 == 0 ? (n + 6) / 2 : (n + 5) / 2;
        return 0;
    }
    int n = 0;
    const bool number = strnumChk(str, &n) == 0;
    const int rank = !number ? 0 : n == 16 ? 8 : n == 8 ? 7 : n == 4 ? 6 : n == 2 ? 4 : 0;
    if (rank == 0) {
        Alert("getChiralSusyType", 1, ParseCode, "Invalid susy type: %s", str);
        return -1;
    }
    CST->Type = 5;
    CST->Rank = rank;
    return 0;
}

int checkChiralSusyType(ChiralSusyType* CST, int dim) {
    if (CST->Chir != 0 && !SusyIsChiral(CST, dim)) {
        if (CST->Chir != 999)
            Alert("checkChiralSusyType", 0, ParseCode,
                  "Chirality is irrelevant and will be ignored");
        CST->Chir = 0;
    }
    if (fitsDimension(CST, dim))
        return 0;
    if (dim >= 2 * CST->Rank - 5)
        Alert("checkChiralSusyType", 1, ParseCode,
              "Dimension too large for covariant lattice rank (dim=%d,rank=%d)", dim, CST->Rank);
    if (CST->Rank > 17 - dim)
        Alert("checkChiralSusyType", 1, ParseCode,
              "Covariant lattice rank too large (type=%d,rank=%d,dim=%d)", CST->Type, CST->Rank,
              dim);
    return -1;
}

int checkSusyType(SusyType* ST) {
    if (checkChiralSusyType(ST->Left, ST->dim) != 0 || checkChiralSusyType(ST->Right, ST->dim) != 0)
        return -1;
    ST->symmetrizable = sameType(ST->Left, ST->Right) && ST->Left->Chir != 999 ? 1 : 0;
    ST->supersymmetric = isSupersymmetric(ST);
    return 0;
}

int getMultiplet(const char* str, const ChiralSusyType* CST) {
    const std::string t = str;
    if (t == "V")
        return -1;
    // The one representation of a bosonic side is numbered as in the listing, where it is
    // named "0".
    if (isBosonic(CST) && t == "0")
        return 2;
    if (CST->Type == 4) {
        if (t == "0")
            return 2;
        if (t == "S" || t == "S+")
            return 1;
        if (t == "S-")
            return 3;
    }
    if (CST->Type == 2) {
        if (t == "0")
            return 1;
        if (t == "S")
            return 2;
    }
    if ((is(CST, 5, 7) || is(CST, 5, 4)) && t == "M")
        return 1;
    if (is(CST, 5, 6)) {
        if (t == "M" || t == "M+")
            return 1;
        if (t == "M-")
            return 2;
    }
    Alert("getMultiplet", 0, ParseCode, "Invalid multiplet: %s (Type %d,%d)", str, CST->Type,
          CST->Rank);
    return 999;
}

char* susyname(const ChiralSusyType* CST) {
    const int n = CST->Rank;
    const int size = sizeof susyNameBuffer;
    char* p = susyNameBuffer;
    *p = '\0';
    if (CST->Type == 5 && SusyCount(CST) > 0)
        std::snprintf(p, size, "%d supersymmetries (%s)", SusyCount(CST),
                      n == 8   ? "E8"
                      : n == 7 ? "E7"
                      : n == 6 ? "E6"
                               : "F4");
    else if (CST->Type == 4 || CST->Type == 2)
        std::snprintf(p, size, "Fermionic Non-susy (embedding dimension %d)",
                      CST->Type == 4 ? 2 * n - 6 : 2 * n - 5);
    else if (CST->Type == 0)
        std::snprintf(p, size, "Bosonic");
    if (CST->Chir == 1 || CST->Chir == -1) {
        const std::size_t used = std::strlen(p);
        std::snprintf(p + used, size - used, "; chirality %c", CST->Chir == 1 ? '+' : '-');
    }
    return susyNameBuffer;
}

char* susyrepname(const ChiralSusyType* CST, int dim, int rep, char* name) {
    if (rep == -1)
        return std::strcpy(name, "V");
    if (CST->Type == 5) {
        if (rep == 0) {
            Alert("susyrepname", 0, 212404,
                  "Unexpected representation dim=%d, type=(%d,%d), rep=%d (chir=%d)", dim,
                  CST->Type, CST->Rank, rep, CST->Chir_res);
            return name;
        }
        std::strcpy(name, "M");
        if (CST->Rank == 6 && dim == 4)
            std::strcat(name, CST->Chir_res != 1 ? "?" : rep == 1 ? "+" : "-");
        return name;
    }
    if (CST->Type == 4) {
        if (rep == 2)
            return std::strcpy(name, "0");
        if (rep == 1 || rep == 3)
            return std::strcpy(name, CST->Chir_res != 1 ? "S?" : rep == 1 ? "S+" : "S-");
        return name;
    }
    if (CST->Type == 2 && (rep == 1 || rep == 2))
        return std::strcpy(name, rep == 1 ? "0" : "S");
    if (isBosonic(CST) && rep == 2)
        return std::strcpy(name, "0");
    return name;
}

int SusyCount(const ChiralSusyType* CST) {
    if (CST->Type != 5)
        return 0;
    switch (CST->Rank) {
    case 8:
        return 16;
    case 7:
        return 8;
    case 6:
        return 4;
    case 4:
        return 2;
    default:
        return 0;
    }
}

int isChirallySupersymmetric(const ChiralSusyType* CST) {
    return CST->Type == 5 ? 1 : 0;
}

int isSupersymmetric(const SusyType* ST) {
    return isChirallySupersymmetric(ST->Left) || isChirallySupersymmetric(ST->Right) ? 1 : 0;
}

int SusyRepsAreChiral(const ChiralSusyType* CST, int dim) {
    if (is(CST, 5, 6) && dim == 4)
        return 1;
    return CST->Type == 4 && CST->Rank == (dim + 6) / 2 ? 1 : 0;
}

// ---- The listing of "browse susy" ----

void setDisplaySusy(DISPLAY_SUSY p) {
    printer = p;
}

void displaySusy1() {
    for (int d = 10; d >= 2; d--)
        displaySusy2(d, 1);
}

void displaySusy2(int dim, int depth) {
    ChiralSusyType L{};
    if (dim <= 10) {
        L = side(5, 8, dim == 10 ? 1 : 0);
        displaySusy3(dim, &L, depth);
    }
    if (dim <= 6) {
        L = side(5, 7, dim == 6 ? 1 : 0);
        displaySusy3(dim, &L, depth);
    }
    if (dim <= 4) {
        L = side(5, 6, 0);
        displaySusy3(dim, &L, depth);
    }
    if (dim <= 3) {
        L = side(5, 4, 0);
        displaySusy3(dim, &L, depth);
    }
}

void displaySusy3(int dim, ChiralSusyType* CST, int depth) {
    ChiralSusyType R{};
    auto with = [&](int type, int rank, int chir) {
        R = side(type, rank, chir);
        displaySusy4(dim, CST, &R, depth);
    };
    // E8, then E7, when the left side allows them; at their largest dimension they come with
    // either chirality, and only the bosonic side follows.
    for (int rank : {8, 7}) {
        const int top = rank == 8 ? 10 : 6;
        const bool allowed = is(CST, 5, 8) || (rank == 7 && is(CST, 5, 7));
        if (dim > top || !allowed)
            continue;
        if (dim < top) {
            with(5, rank, 0);
            continue;
        }
        with(5, rank, 1);
        with(5, rank, -1);
        with(0, 0, 0);
        return;
    }
    if (dim <= 4 && CST->Type == 5 && CST->Rank >= 6)
        with(5, 6, 0);
    if (dim <= 3 && CST->Type == 5 && CST->Rank >= 4)
        with(5, 4, 0);
    if (dim == 2) {
        with(4, 5, 1);
        with(2, 4, 1);
    }
    with(0, 0, 0);
}

void displaySusy4(int dim, ChiralSusyType* L, ChiralSusyType* R, int depth) {
    displaySusy5(dim, L, R, -1, depth);
    if (isBosonic(L)) {
        displaySusy5(dim, L, R, 2, depth);
        return;
    }
    for (int rep1 = 1; rep1 < listedClassCount(L, dim); rep1++)
        displaySusy5(dim, L, R, rep1, depth);
}

void displaySusy5(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int depth) {
    if (rep1 == -1) {
        show(dim, L, R, -1, -1, depth);
        if (isBosonic(R))
            show(dim, L, R, -1, 2, depth);
        return;
    }
    if (isBosonic(L) && rep1 == 2)
        show(dim, L, R, 2, -1, depth);
    if (isBosonic(R)) {
        show(dim, L, R, rep1, 2, depth);
        return;
    }
    int last = listedClassCount(R, dim) - 1;
    if (sameType(L, R))
        last = std::min(last, rep1);
    for (int rep2 = 1; rep2 <= last; rep2++)
        show(dim, L, R, rep1, rep2, depth);
}
