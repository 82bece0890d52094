// The massless closed-string spectrum by classes of the covariant-lattice algebra, its reading in
// the algebras the chiral algebras of the two sides extend it to, and the space-time
// supersymmetry read from it.
#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "store/StringData.h"
#include "string/StringTheory.h"
#include "tensor/Branching.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

Heterotic VH{};
Extension Left{};
Extension Right{};
std::array<int, 8> summary{};

BulkInvariant* bulk() {
    return *getCurrentBulk();
}

bool weightOne(int i) {
    const rat w = *ratWeight(i);
    return w.num == w.den;
}

bool belowOne(int i) {
    const rat w = *ratWeight(i);
    return w.num < w.den;
}

int latticeClasses(const Heterotic* H) {
    return H->CovLatEmbedding ? std::min(H->CovLatEmbedding->N_G, 4) : 0;
}

const int* classRecord(int lbl) {
    static const int none[4] = {0, 0, 0, 0};
    const int* info = getRepInfo(lbl);
    return info ? info : none;
}

// Rows of the table re-expressed by the inverse branching of B (G classes from H classes).
void inverseRows(const Branching* B, int rows, int table[4][4]) {
    for (int a = 0; a < rows; a++) {
        int in[4], out[4];
        std::copy(table[a], table[a] + 4, in);
        InverseBranch(B, in, out);
        std::copy(out, out + 4, table[a]);
    }
}

void inverseColumns(const Branching* B, int rows, int columns, int table[4][4]) {
    for (int b = 0; b < columns; b++) {
        int in[4] = {0, 0, 0, 0}, out[4];
        for (int a = 0; a < rows; a++)
            in[a] = table[a][b];
        InverseBranch(B, in, out);
        for (int a = 0; a < 4; a++)
            table[a][b] = out[a];
    }
}

// Steps shared by the whole table and a single pair: the table in the classes of the extended
// algebras of the two sides.
void reexpress(const Heterotic* H, int table[4][4]) {
    const int NG = latticeClasses(H);
    const Branching* R = H->Right->Branch;
    const Branching* L = H->Left->Branch;
    if (!BranchingIsTrivial(R))
        inverseRows(R, NG, table);
    if (!BranchingIsTrivial(L) && R->N_G >= 1)
        inverseColumns(L, NG, R->N_G, table);
}

void zeroTable(int table[4][4]) {
    for (int a = 0; a < 4; a++)
        for (int b = 0; b < 4; b++)
            table[a][b] = 0;
}

// The space-time symmetry of one reading; false when the user stops at the question.
bool symmetryOf(const Heterotic* H, SusyType* ST, char side, const char* routine, int position) {
    if (getSpaceTimeSymmetry(H, ST, side) >= 0)
        return true;
    return Alert(routine, position, 652209,
                 "This string theory is inconsistent. Continue anyway?") != 1;
}

void analysePairs(Heterotic* H, SusyType* ST, bool tachyonic, int* printed) {
    BulkInvariant* BI = bulk();
    const int NG = latticeClasses(H);
    auto condition = [&](int f) { return tachyonic ? belowOne(f) : weightOne(f); };
    auto inLeftAlgebra = [&](int i) {
        for (int k = 0; k < BI->left_extension_size; k++)
            if (BI->left_extension[k] == i)
                return true;
        return false;
    };
    auto vacuumPartner = [&](int j) {
        for (int k = 0; k < BI->orbitlength[0]; k++)
            if (BI->orbits[0][k] == j)
                return true;
        return false;
    };
    for (int i = 1; i < BI->Nprimaries; i++) {
        if (!condition(i) || inLeftAlgebra(i))
            continue;
        for (int k = 0; k < BI->orbitlength[i]; k++) {
            const int j = BI->orbits[i][k];
            if (!condition(j) || vacuumPartner(j))
                continue;
            char prefix[24];
            PrintEntry(prefix, i, j);
            int t[4][4];
            zeroTable(t);
            const int* Li = classRecord(i);
            const int* Rj = classRecord(j);
            for (int a = 0; a < NG; a++)
                for (int b = 0; b < NG; b++)
                    t[a][b] = BI->multiplicity[i] * Li[a] * Rj[b];
            InverseBranchMasslessSpectrum2(H, t);
            std::string entry = prefix;
            if (printHeteroticMultiplet(entry, ST, t) == 0)
                continue;
            if (tachyonic) {
                const rat w = *ratWeight(i);
                Print("Tachyon with mass %d/%d\n  ", w.num - w.den, w.den);
                *printed = 1;
            }
            std::vector<char> text(entry.begin(), entry.end());
            text.push_back('\0');
            PrintShifted(text.data());
        }
    }
}

Heterotic* computedCopy(int info) {
    return getStringSpectrum(info);
}

} // namespace

void getChiralExtension(const int* orbit, Extension* EXT, int length, int type, int rank) {
    int counts[4] = {0, 0, 0, 0};
    const int n = RepCnt(type, rank);
    for (int k = 0; k < length; k++) {
        if (!weightOne(orbit[k]))
            continue;
        const int* dims = getTotalRepDim(type, rank, classRecord(orbit[k]));
        for (int c = 0; c < n; c++)
            counts[c] += dims[c];
    }
    for (int c = 0; c < n; c++)
        EXT->addim += counts[c];
    int Gt = type, Gr = rank, chir = 1;
    if (Determine_Extension(type, rank, counts, &Gt, &Gr, &chir) != 0) {
        Gt = type;
        Gr = rank;
        chir = 1;
    }
    EXT->Branch = makeBranchingTable(Gt, Gr, type, rank, chir);
    EXT->currents = const_cast<int*>(orbit);
    EXT->size = length;
    EXT->addim += repDim(type, rank, -1) - repDim(Gt, Gr, -1);
}

void computeMasslessSpectrum(BulkInvariant* BI, Heterotic* H) {
    const int NG = latticeClasses(H);
    zeroTable(H->massless);
    for (int i = 1; i < BI->Nprimaries; i++) {
        if (!weightOne(i))
            continue;
        const int* Li = classRecord(i);
        const int Mi = BI->multiplicity[i];
        for (int k = 0; k < BI->orbitlength[i]; k++) {
            const int j = BI->orbits[i][k];
            if (j == 0) {
                for (int a = 0; a < NG; a++)
                    H->massless[a][0] += H->addim * Li[a] * Mi;
            } else if (weightOne(j)) {
                const int* Rj = classRecord(j);
                for (int a = 0; a < NG; a++)
                    for (int b = 0; b < NG; b++)
                        H->massless[a][b] += Mi * Li[a] * Rj[b];
            }
        }
    }
    const int M0 = BI->multiplicity[0];
    for (int k = 0; k < BI->orbitlength[0]; k++) {
        const int j = BI->orbits[0][k];
        if (j == 0) {
            H->massless[0][0] += H->addim * H->addim * M0;
        } else if (weightOne(j)) {
            const int* Rj = classRecord(j);
            for (int b = 0; b < NG; b++)
                H->massless[0][b] += Rj[b] * H->addim * M0;
        }
    }
}

void InverseBranchMasslessSpectrum(Heterotic* H) {
    const int NG = latticeClasses(H);
    const int* AL = H->Left->Branch->Adjoint;
    const int* AR = H->Right->Branch->Adjoint;
    for (int a = 0; a < NG; a++)
        for (int b = 0; b < NG; b++)
            H->massless[a][b] -= AL[a] * AR[b];
    for (int a = 0; a < NG; a++)
        H->massless[a][0] -= AL[a] * H->Right->addim;
    for (int b = 0; b < NG; b++)
        H->massless[0][b] -= AR[b] * H->Left->addim;
    reexpress(H, H->massless);
    const int nL = H->Left->Branch->N_G, nR = H->Right->Branch->N_G;
    for (int a = 0; a < 4; a++)
        for (int b = 0; b < 4; b++)
            if (a >= nL || b >= nR)
                H->massless[a][b] = 0;
}

void InverseBranchMasslessSpectrum2(Heterotic* H, int massless[4][4]) {
    reexpress(H, massless);
}

void computeHeteroticSpectrum(Heterotic* H, int info) {
    BulkInvariant* BI = bulk();
    H->Left = &Left;
    H->Right = &Right;
    H->Symmetric = BI->symmetric;
    const int type = H->CovLatEmbedding->type_G, rank = H->CovLatEmbedding->rank_G;
    if (BI->trivial == 1) {
        if (info == 1)
            Print("\nModular invariant: diagonal\n");
        trivialExtension(&Left, type, rank, H->addim);
        trivialExtension(&Right, type, rank, H->addim);
    } else {
        if (info == 1) {
            if (BI->simpleCurrentInvariant == 1)
                Print("\nModular invariant: Simple current generated\n");
            else if (BI->conjugation == 1)
                Print("\nModular invariant: Charge conjugation\n");
            else
                Print("\nModular invariant: Exceptional\n");
        }
        Left.addim = Right.addim = H->addim;
        getChiralExtension(BI->orbits[0], &Right, BI->orbitlength[0], type, rank);
        getChiralExtension(BI->left_extension, &Left, BI->left_extension_size, type, rank);
    }
    computeMasslessSpectrum(BI, H);
    InverseBranchMasslessSpectrum(H);
}

Heterotic* getStringSpectrum(int info) {
    const Heterotic* H = getStringData();
    if (!H || !H->CovLatEmbedding)
        return nullptr;
    copyHeterotic(&VH, H);
    computeHeteroticSpectrum(&VH, info);
    return &VH;
}

int printHeteroticMultiplet(std::string& out, SusyType* ST, int massless[4][4]) {
    int lines = 0;
    char left[16], right[16];
    if (!ST->HeteroticGaugeGroup) {
        const int nL = RepCnt(ST->Left->Type, ST->Left->Rank);
        const int nR = RepCnt(ST->Right->Type, ST->Right->Rank);
        if (nL < 2)
            return 0;
        for (int a = 1; a < nL; a++)
            for (int b = 1; b < nR; b++) {
                if (massless[a][b] == 0)
                    continue;
                out += std::to_string(massless[a][b]) + " x (" +
                       susyrepname(ST->Left, ST->dim, a, left) + "," +
                       susyrepname(ST->Right, ST->dim, b, right) + ")\n";
                lines++;
            }
        return lines;
    }
    const Branching* gauge = ST->HeteroticGaugeGroup->Branch;
    const int nS = RepCnt(ST->HeteroticSpaceTime->Type, ST->HeteroticSpaceTime->Rank);
    const int nG = gauge ? std::min(gauge->N_G, 4) : 0;
    const bool gaugeLeft = ST->Left->Type == 0;
    for (int s = 1; s < nS; s++) {
        int v[4] = {0, 0, 0, 0};
        bool any = false;
        for (int g = 0; g < nG; g++) {
            v[g] = gaugeLeft ? massless[g][s] : massless[s][g];
            any = any || v[g] != 0;
        }
        if (!any)
            continue;
        char content[1000] = "";
        printHeteroticRepresentation(content, gauge, v);
        out += std::string("Multiplet (0,") +
               susyrepname(ST->HeteroticSpaceTime, ST->dim, s, left) + "):  " + content + "\n";
        lines++;
    }
    return lines;
}

void analyseMasslessSpectrum(Heterotic* H, SusyType* ST) {
    int printed = 0;
    analysePairs(H, ST, false, &printed);
}

int analyseTachyonSpectrum(Heterotic* H, SusyType* ST) {
    int printed = 0;
    analysePairs(H, ST, true, &printed);
    return printed;
}

int* getHeteroticSpectrumInfo() {
    Heterotic* H = computedCopy(0);
    if (!H)
        return nullptr;
    SusySides s;
    if (!symmetryOf(H, &s.ST, 'R', "getHeteroticSpectrumInfo", 1))
        return nullptr;
    const int nR = SusyCount(s.ST.Right);
    if (!symmetryOf(H, &s.ST, 'L', "getHeteroticSpectrumInfo", 1))
        return nullptr;
    const int nL = SusyCount(s.ST.Left);
    for (int k = 0; k < 4; k++)
        summary[static_cast<std::size_t>(k)] = H->massless[k][1];
    if (H->SpaceTimeDim == 4) {
        if (nR > 4)
            summary[2] = H->massless[1][1];
        const int extra = nL == 16 && nR == 16                             ? 9
                          : nL == 8 && nR == 8                             ? 1
                          : (nL == 16 && nR == 8) || (nL == 8 && nR == 16) ? 3
                                                                           : 0;
        summary[1] += extra;
        summary[2] += extra;
    }
    summary[4] = H->Left->addim;
    summary[5] = H->Right->addim;
    summary[6] = nL;
    summary[7] = nR;
    return summary.data();
}

void findBulkSupersymmetry(BulkInvariant* BI) {
    if (!superstringReading() || !getStringData()) {
        Alert("findBulkSupersymmetry", 0, 652209,
              "This string theory is inconsistent. Continue anyway?");
        return; // no table to read the supersymmetry from: the counts stay as they are
    }
    Heterotic* H = computedCopy(0);
    if (!H)
        return;
    SusySides s;
    if (!symmetryOf(H, &s.ST, 'R', "findBulkSupersymmetry", 1))
        return;
    BI->susy_R = SusyCount(s.ST.Right);
    if (!symmetryOf(H, &s.ST, 'L', "findBulkSupersymmetry", 2))
        return;
    BI->susy_L = SusyCount(s.ST.Left);
}

namespace {

// The symmetry of both sides in the given reading for a superstring of dimension dim; false
// when there is none.
bool exceptionalSides(int dim, char mode, SusySides* s) {
    if (!superstringReading())
        return false;
    Heterotic* H = computedCopy(0);
    if (!H || H->SpaceTimeDim != dim)
        return false;
    getSpaceTimeSymmetry(H, &s->ST, mode);
    return s->left.Type == 5 && s->right.Type == 5;
}

} // namespace

int CY_Check(char mode) {
    SusySides s;
    if (!exceptionalSides(4, mode, &s))
        return 0;
    return SusyRepsAreChiral(&s.left, 4) && SusyRepsAreChiral(&s.right, 4) ? 1 : 0;
}

int SixDimSusy() {
    SusySides s;
    return exceptionalSides(6, 'I', &s) ? 1 : 0;
}

int CheckExtensionChirality() {
    if (!superstringReading())
        return 0;
    const Heterotic* H = computedCopy(0);
    return H && H->CovLatEmbedding && H->CovLatEmbedding->chirality != 0 ? 1 : 0;
}

void printRawSpectrum(Heterotic* H, const char* str) {
    std::printf("\nSpectrum at %s\n", str);
    for (int a = 0; a < 4; a++) {
        for (int b = 0; b < 4; b++)
            std::printf("%5d ", H->massless[a][b]);
        std::printf("\n");
    }
    std::printf("Addims: %d (%d,%d)\n\n", H->addim, H->Left ? H->Left->addim : 0,
                H->Right ? H->Right->addim : 0);
}
