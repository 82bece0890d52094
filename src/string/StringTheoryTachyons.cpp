// Massless and tachyonic closed-string states, the tachyon check of a closed string and of its
// orientifolds, and the record of tachyon-free cases.
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "boundary/TachyonFreeCases.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "numeric/VectorUtility.h"
#include "store/StringData.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/StringTheory.h"
#include "string/StringTheoryInternal.h"
#include "tensor/Coset.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

int null_function(int) {
    return 0;
}

TACHYON_FCN tachyon_function = null_function;
TYPE_II_BROWSER typeIIBrowser = nullptr;

IntegerList PossiblyCancellableTachyons;
int lastleft = -1;
int lastright = -1;
std::vector<int> TachyonRecord{-1, -1};
int recordPosition = 1;

BulkInvariant* bulk() {
    return *getCurrentBulk();
}

// The reading a list or a single question is answered in, decided once: asking for the string
// data may switch "Super" off, after which the bosonic reading holds.
struct Reading {
    int super = 0;
    const Heterotic* H = nullptr;
};

Reading currentReading() {
    if (!superstringReading())
        return {};
    const Heterotic* H = getStringData();
    return H ? Reading{1, H} : Reading{};
}

// Bit k set: a state of class k of the covariant-lattice algebra counts.
int countedClasses(int type, int rank) {
    if (type == 4)
        return rank > 4 ? 0b1110 : rank == 4 ? 0b0110 : 0;
    if (type == 2)
        return 0b0110;
    if (type == 5)
        return rank == 7 || rank == 4 ? 0b0010 : rank == 6 ? 0b0110 : 0;
    return 0;
}

int characterIn(const Reading& r, int i, int tachyon) {
    const rat w = *ratWeight(i);
    if (tachyon) {
        if (i == 0)
            return r.super ? 0 : 1;
        if (w.num >= w.den)
            return 0;
    } else {
        if (i == 0)
            return 1;
        if (w.num != w.den)
            return 0;
    }
    if (!r.super)
        return 1;
    const int* info = getRepInfo(i);
    const Branching* B = r.H->CovLatEmbedding;
    if (!info || !B)
        return 0;
    const int mask = countedClasses(B->type_G, B->rank_G);
    for (int k = 1; k < 4; k++)
        if ((mask >> k & 1) && info[k] != 0)
            return 1;
    return 0;
}

// A list with the bulk generation and the reading it was built for.
struct LabelList {
    IntegerList list;
    int stamp = -2;
    int reading = -1;
};

LabelList massless, bosonicMassless, tachyonic, twoForms;

template <class Predicate>
IntegerList* rebuilt(LabelList& L, int reading, Predicate keep, int count) {
    if (L.stamp == QueryBulkInvariant() && L.reading == reading)
        return &L.list;
    initList(&L.list, 100);
    for (int i = 0; i < count; i++)
        if (keep(i))
            addToList(&L.list, i);
    L.stamp = QueryBulkInvariant();
    L.reading = reading;
    return &L.list;
}

IntegerList* characterList(LabelList& L, int tachyon) {
    const Reading r = currentReading();
    return rebuilt(
        L, r.super, [&](int i) { return characterIn(r, i, tachyon) == 1; }, getTotalPrimaries());
}

int tachyonDimension(const Reading& r, int lbl) {
    if (!r.super) {
        Alert("getTachyonDimension", 0, 112311,
              "Tachyon dimension for bosonic string not yet built in");
        return 1;
    }
    const int* info = getRepInfo(lbl);
    return info ? info[2] : 1;
}

bool isPartner(const BulkInvariant* BI, int i, int j) {
    for (int k = 0; k < BI->orbitlength[i]; k++)
        if (BI->orbits[i][k] == j)
            return true;
    return false;
}

bool isTachyonicLabel(int lbl) {
    return lbl >= 0 && findInList(getTachyonLabels(), lbl) >= 0;
}

// The Klein bottle cannot remove the tachyon of the pair (i, conj i).
int leavesTachyon(const Reading& r, const BulkInvariant* BI, int i) {
    if (tachyonDimension(r, i) > 1)
        return 1;
    return BI->multiplicity[i] + getKleinBottle(i) > 0 ? 1 : 0;
}

// The ordered orientifolds of the bulk invariant and how many lead with non-zero tension.
struct OrientifoldWalk {
    int N = 0;
    int Neff = 0;
};

OrientifoldWalk orientifoldList() {
    OrientifoldWalk w;
    getPositiveTensionOrientifolds(&w.N, &w.Neff);
    return w;
}

// Every walk ends with the user's orientifold current again.
class UserOrientifold {
public:
    UserOrientifold() : saved(getCurrentOrientifold()) {}
    ~UserOrientifold() {
        if (saved && getCurrentOrientifold() != saved)
            setSelectedOrientifold(saved);
    }
    UserOrientifold(const UserOrientifold&) = delete;
    UserOrientifold& operator=(const UserOrientifold&) = delete;

private:
    OrientifoldInfo* saved;
};

OrientifoldWalk startWalk() {
    RecomputeBulkInvariant(bulk());
    initializeOpenString();
    const OrientifoldWalk w = orientifoldList();
    tachyon_function(-1);
    return w;
}

int walkPossiblyCancellable(int print) {
    UserOrientifold user;
    const OrientifoldWalk w = startWalk();
    checkUnorientedTachyon(nullptr);
    for (int k = 0; k < w.N; k++) {
        setStoredOrientifold(k);
        if (print)
            Print("Checking orientifold %d: ", k);
        const int rc = checkUnorientedTachyon(&PossiblyCancellableTachyons);
        if (print)
            Print(rc == 1 ? "Tachyons!\n" : "No tachyons\n");
    }
    tachyon_function(2);
    return 1;
}

int walkTachyonFree() {
    UserOrientifold user;
    const OrientifoldWalk w = startWalk();
    for (int k = 0; k < w.N; k++) {
        setStoredOrientifold(k);
        tachyon_function(1);
    }
    tachyon_function(2);
    return 0;
}

void printModelToFile(int mode) {
    PrintTachyonFreeModelData(mode, nullptr);
}

const char* const Separator = "::::::::::::::::::::::::::::::::::::::::::::\n";

} // namespace

void initializeTachyonCheck() {
    tachyon_function = null_function;
    setTachyonFreeModelPrinter(printModelToFile);
}

int masslessCharacter(int i, int tachyon) {
    return characterIn(currentReading(), i, tachyon);
}

IntegerList* getMasslessLabels() {
    return characterList(massless, 0);
}

IntegerList* getTachyonLabels() {
    return characterList(tachyonic, 1);
}

IntegerList* getBosonicMasslessLabels() {
    return rebuilt(
        bosonicMassless, 0,
        [](int i) {
            const rat w = *ratWeight(i);
            return i == 0 || w.num == w.den;
        },
        getTotalPrimaries());
}

IntegerList* getTwoFormLabels() {
    const Reading r = currentReading();
    return rebuilt(
        twoForms, r.super,
        [&](int m) {
            const int f = getIshibashiField(m);
            const int* info = getRepInfo(f);
            return characterIn(r, f, 0) == 1 && info && (info[1] > 0 || info[2] > 0);
        },
        TotalIshibashi());
}

void setTachyonFunction(TACHYON_FCN fcn) {
    tachyon_function = fcn ? fcn : null_function;
}

int getTachyonDimension(int lbl) {
    return tachyonDimension(currentReading(), lbl);
}

int checkTachyon(int all, int print_output) {
    BulkInvariant* BI = bulk();
    const Reading r = currentReading();
    IntegerList* T = getTachyonLabels();
    initList(&PossiblyCancellableTachyons, 1000);
    bool found = false;
    for (int t = 0; t < T->cnt; t++) {
        const int i = T->list[t];
        for (int k = 0; k < BI->orbitlength[i]; k++) {
            const int j = BI->orbits[i][k];
            if (findInList(T, j) < 0)
                continue;
            if (getConjugate(j) != i || tachyonDimension(r, i) > 1) {
                BI->hasTachyons = 1;
                if (print_output)
                    Print("Fatal tachyon (for all orientifolds)\n");
                return 1;
            }
            addToList(&PossiblyCancellableTachyons, i);
            found = true;
        }
    }
    if (found) {
        // The diagonal invariant is symmetric whatever its simple-current record says.
        if (all && BI->trivial != 1 && !BI->MD->Symmetric) {
            if (print_output)
                Print("Non-symmetric invariant; skipping orientifold search\n");
            return 1;
        }
        if (print_output)
            Print("Tachyons in oriented string; possibly cancellable by Klein bottle\n");
        return all ? walkPossiblyCancellable(print_output) : 1;
    }
    BI->hasTachyons = 0;
    if (print_output)
        Print("No closed string tachyons\n");
    if (tachyon_function(0) == 1)
        return 0;
    return walkTachyonFree();
}

int fastTachyonCheck(int left, int right, BulkInvariant* BI) {
    if (!isTachyonicLabel(left) || !isTachyonicLabel(right))
        return 0;
    if (!isPartner(BI, left, getConjugate(right)))
        return 0;
    if (left != getConjugate(right))
        return 1;
    return leavesTachyon(currentReading(), BI, left);
}

int TachyonCheckForLabels(int left, int right, BulkInvariant* BI) {
    const int field = getConjugate(right);
    if (field != left)
        return 1;
    return leavesTachyon(currentReading(), BI, field);
}

int checkUnorientedTachyon(IntegerList* list) {
    if (!list) {
        lastleft = lastright = -1;
        return 0;
    }
    BulkInvariant* BI = bulk();
    if (BI->hasTachyons == 1)
        return 1;
    if (BI->hasTachyons == 0)
        return 0;
    if (fastTachyonCheck(lastleft, lastright, BI) == 1)
        return 1;
    const Reading r = currentReading();
    IntegerList* T = getTachyonLabels();
    for (int t = 0; t < list->cnt; t++) {
        const int i = list->list[t];
        for (int k = 0; k < BI->orbitlength[i]; k++) {
            const int j = BI->orbits[i][k];
            if (findInList(T, j) < 0)
                continue;
            if (getConjugate(j) != i || leavesTachyon(r, BI, i)) {
                lastleft = i;
                lastright = j;
                return 1;
            }
        }
    }
    tachyon_function(1);
    return 0;
}

int cancellableTachyon() {
    return bulk()->hasTachyons == -1 ? 1 : 0;
}

int recordTachyonFreeCase(int mode) {
    if (mode == 2)
        return 0;
    if (mode == -1 || mode == 0) {
        initializeOpenString();
        const OrientifoldWalk w = orientifoldList();
        TachyonRecord.assign(static_cast<std::size_t>(w.N) + 10, -1);
        if (mode == -1) {
            recordPosition = 1;
            return 0;
        }
        TachyonRecord[0] = 0;
        for (int k = 0; k < w.Neff; k++)
            TachyonRecord[static_cast<std::size_t>(k) + 1] = k;
        TachyonRecord[static_cast<std::size_t>(w.Neff) + 1] = -1;
        return 1;
    }
    TachyonRecord[0] = 1;
    const OrientifoldInfo* O = getCurrentOrientifold();
    if (!O || std::fabs(O->Tension) <= 1e-7)
        return 1;
    if (static_cast<std::size_t>(recordPosition) + 1 >= TachyonRecord.size())
        TachyonRecord.resize(static_cast<std::size_t>(recordPosition) + 10, -1);
    TachyonRecord[static_cast<std::size_t>(recordPosition++)] = O->SequenceNumber;
    TachyonRecord[static_cast<std::size_t>(recordPosition)] = -1;
    return 1;
}

int* getTachyonRecord() {
    return TachyonRecord.data();
}

void setTypeIIBrowser(TYPE_II_BROWSER browser) {
    typeIIBrowser = browser;
}

void PrintTachyonFreeModelData(int ori, IntegerList* ORI) {
    const std::string name = getCurrentOutputFileName(".notach");
    FILE* file = Fopen(name.c_str(), "a");
    if (!file)
        return; // Fopen has reported it
    // The user's output file stays open: it is only put aside while the model is written.
    FILE* userFile = swapOutputFile(file);
    const int terminal = OutputStatus();
    TerminalOutputOff();
    if (getCosetMode())
        printTensorData(getCurrentTensor());
    browseBulk(nullptr, 10, 1);
    if (ori == 1) {
        Print("\n%s", Separator);
        Print("\nUnoriented Tachyon-free theory\n");
        const OrientifoldInfo* O = getCurrentOrientifold();
        Print("Orientifold nr. %d\n", O ? O->SequenceNumber : -1);
        showOrientationInfo(getCurrentOrientifold());
        GenericSpectrumAnalysis(nullptr, 2);
    } else {
        Print("%s", Separator);
        Print("\nOriented Tachyon-free theory\n");
        if (typeIIBrowser)
            typeIIBrowser(1, 0);
        if (ORI) {
            Print("Tachyon free for orientifolds");
            for (int k = 0; k < ORI->cnt; k++)
                Print(" %d", ORI->list[k]);
            Print("\n");
        }
    }
    Print("%s", Separator);
    swapOutputFile(userFile);
    Fclose(file);
    if (terminal)
        TerminalOutputOn();
    else
        TerminalOutputOff();
}

int UnphysicalTadpole(int lbl) {
    const int KF = getKleinBottle(lbl) * getSchurIndex(lbl);
    if (!superstringReading())
        return KF < 0 ? 1 : 0;
    const Heterotic* H = getStringData();
    if (!H)
        return 0;
    if (lbl == 0)
        return H->CovLatEmbedding && H->CovLatEmbedding->type_G == 5 ? 1 : 0;
    return KF != 0 ? 1 : 0;
}
