#include "commands/CommandsStringSpectra.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "boundary/TachyonFreeCases.h"
#include "commands/CommandsInternal.h"
#include "commands/CommandsScans.h"
#include "commands/CommandsSpaceTime.h"
#include "commands/CommandsUnoriented.h"
#include "lie/Tarvik.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/StringTheory.h"
#include "tensor/Branching.h"
#include "tensor/Coset.h"

#include <cctype>
#include <string>

using commands::textArgument;

namespace {

const char* typedWord(void** commands) {
    return static_cast<const char*>(commands[-1]);
}

int decompositionOf(void** commands) {
    return std::tolower(static_cast<unsigned char>(typedWord(commands)[0])) == 'd' ? 1 : 0;
}

bool superOff(const char* routine) {
    if (superstringReading())
        return false;
    Alert(routine, 0, 100302, "Superstring mode is off");
    return true;
}

bool readingRefused(const Heterotic* H, SusyType* ST, char side, const char* routine) {
    if (getSpaceTimeSymmetry(H, ST, side) >= 0)
        return false;
    return Alert(routine, 0, 652209, "This string theory is inconsistent. Continue anyway?") == 1;
}

// The matter lines of a display, with the pair decomposition when asked.
void printMatter(Heterotic* H, SusyType* ST, int decomposition) {
    std::string text;
    if (printHeteroticMultiplet(text, ST, H->massless) > 0) {
        Print("%s\n", text.c_str());
        if (decomposition) {
            Print("Decomposition: \n");
            analyseMasslessSpectrum(H, ST);
        }
    } else {
        Print("No massless matter\n");
    }
}

const char* gaugeName(int type, int rank, char* buffer, std::size_t size) {
    if (type == 5) {
        const char* names[] = {"F4", "", "E6", "E7", "E8"};
        return rank >= 4 && rank <= 8 ? names[rank - 4] : "";
    }
    if (type == 4 || type == 2) {
        std::snprintf(buffer, size, "%c%d", type == 4 ? 'D' : 'B', rank);
        return buffer;
    }
    return "";
}

int COM_check_tachyon(void**, int parnum) {
    setTachyonFunction(registerTachyonFreeCase);
    checkTachyon(1, 1);
    return -parnum;
}

int COM_check_tachyon_oriented(void**, int parnum) {
    setTachyonFunction(registerTachyonFreeCase);
    checkTachyon(0, 1);
    return -parnum;
}

int COM_check_tachyon_unoriented(void**, int parnum) {
    setTachyonFunction(registerTachyonFreeCase);
    checkUnorientedTachyon(nullptr);
    return -parnum;
}

void appendRecordLine(const std::string& path, const std::string& line) {
    if (FILE* f = Fopen(path.c_str(), "a")) {
        std::fputs(line.c_str(), f);
        Fclose(f);
    }
}

int COM_account_tachyon_free(void** commands, int parnum) {
    if (!MOD_initContents()) {
        Alert("COM_ ", 0, 100302, "Initialization problem for heterotic data");
        return 1;
    }
    const int* s = getHeteroticSpectrumInfo();
    if (!s)
        return 1;
    if (s[6] != s[7]) {
        Alert("COM_account_tachyon_free", 0, 112311, "Non-symmetric MIPF");
        return 1;
    }
    const std::string path = outputDirFile(textArgument(commands, 0));
    BulkInvariant* BI = *getCurrentBulk();
    char head[120];
    std::snprintf(head, sizeof head, "%7lld %5d %5d %5d %3d",
                  static_cast<long long>(fileIdentifier()), getExtensionNumber(getCurrentTensor()),
                  MIPFIdentifier(BI), BI->IshibashiLabelCount, s[6]);
    if (s[6] != 0) {
        appendRecordLine(path, std::string(head) + "  0\n");
        return -parnum;
    }
    setTachyonFunction(recordTachyonFreeCase);
    recordTachyonFreeCase(-1);
    checkTachyon(1, 1);
    const int* record = getTachyonRecord();
    if (record[0] != -1) {
        int n = 0;
        while (record[n + 1] != -1)
            n++;
        char number[16];
        std::string line = head;
        std::snprintf(number, sizeof number, "%3d ", record[0] == 1 ? 1 : 0);
        line += number;
        std::snprintf(number, sizeof number, "%3d ", n);
        line += number;
        for (int k = 1; k <= n; k++) {
            std::snprintf(number, sizeof number, " %3d", record[k]);
            line += number;
        }
        appendRecordLine(path, line + "\n");
        recordTachyonFreeCase(-1);
    }
    return -parnum;
}

int COM_browse_typeII(void** commands, int parnum) {
    return BrowseTypeII(1, decompositionOf(commands)) ? 1 : -parnum;
}

int COM_browse_typeII_flipped(void** commands, int parnum) {
    return BrowseTypeII(-1, decompositionOf(commands)) ? 1 : -parnum;
}

int COM_browse_heterotic(void** commands, int parnum) {
    return BrowseHeterotic(0, decompositionOf(commands)) ? 1 : -parnum;
}

int COM_browse_heterotic_flipped(void** commands, int parnum) {
    return BrowseHeterotic(1, decompositionOf(commands)) ? 1 : -parnum;
}

// The closed string of the current orientifold; the Klein bottle needs a symmetric invariant.
int COM_browse_typeI(void**, int parnum) {
    if (refuseNonSymmetricInvariant() || superOff("COM_browse_typeI") || initializeOpenString())
        return 1;
    showOrientationInfo(getCurrentOrientifold());
    return GenericSpectrumAnalysis(nullptr, 2) ? 1 : -parnum;
}

int COM_chiral(void**, int parnum) {
    Print(CheckExtensionChirality() ? "1\n" : "0\n");
    return -parnum;
}

int COM_can_tach(void**, int) {
    Print(cancellableTachyon() ? "1\n" : "0\n");
    return 0;
}

int COM_set_prim_massless(void**, int parnum) {
    setPrimarySelection(getMasslessLabels());
    return -parnum;
}

int COM_set_prim_tach(void**, int parnum) {
    setPrimarySelection(getTachyonLabels());
    return -parnum;
}

const char* const BrowseHelp = "Works only in \"super\" mode and if the conditions\nfor a "
                               "superstring interpretation are satisfied\n(see \"help set super\" "
                               "for more details).";

const std::string TypeIIHelp =
    std::string("Display type-II string spectrum\n(using the bosonic string map).\n") + BrowseHelp;
const std::string HeteroticHelp =
    std::string("Display heterotic string spectrum\n(using the bosonic string map).\n") +
    BrowseHelp;

const std::string TypeIHelp =
    std::string("Display type-I closed string spectrum\n(using the bosonic string map).\n") +
    BrowseHelp;

const CommandDefinition stringCommands[] = {
    {"check tachyon", "", COM_check_tachyon,
     "Check if this string theory has tachyons.\nThis will check the string theory under "
     "consideration,\nas well as all its simple current orientifolds."},
    {"check tachyon all", "", COM_check_tachyon,
     "Check if this string theory has tachyons.\nThis will check the string theory under "
     "consideration,\nas well as all its simple current orientifolds."},
    {"check tachyon oriented", "", COM_check_tachyon_oriented,
     "Check if an oriented string theory has tachyons."},
    {"check tachyon unoriented", "", COM_check_tachyon_unoriented,
     "Check if an unoriented string theory has tachyons"},
    {"record tachyon-free", "[filename]", COM_account_tachyon_free,
     "Adds a line to the file \"filename\" located in \"outputdir\"\nthat contains the following "
     "information:\nThe CFT code, the extension number, the MIPF number,\nthe number of boundary "
     "states, the number of bulk supersymmetries,\nthe presence or absence of tachyons "
     "(1=present, 0=absent),\nthe number of tachyon-free non-zero tension orientifolds\nand a "
     "list of those orientifolds."},
    {"browse type-II", "", COM_browse_typeII, TypeIIHelp.c_str()},
    {"browse type-II decomposition", "", COM_browse_typeII,
     "Same as \"browse type-II\" but in addition to the\ntotals, the decomposition of the "
     "spectrum in terms of\nterms in the partition function is shown."},
    {"browse type-II flipped", "", COM_browse_typeII_flipped,
     "Same as \"browse type-II\" but with relative chirality reversed."},
    {"browse type-II flipped decomposition", "", COM_browse_typeII_flipped,
     "Combines keywords \"flipped\" and \"decomposition\"."},
    {"browse heterotic", "", COM_browse_heterotic, HeteroticHelp.c_str()},
    {"browse type-I", "", COM_browse_typeI, TypeIHelp.c_str()},
    {"browse heterotic decomposition", "", COM_browse_heterotic,
     "Same as \"browse heterotic\" but in addition to the\ntotals, the decomposition of the "
     "spectrum in terms of\nterms in the partition function is shown."},
    {"browse heterotic flipped", "", COM_browse_heterotic_flipped,
     "Same as \"browse heterotic\" but with left and right sector reversed."},
    {"browse heterotic flipped decomposition", "", COM_browse_heterotic_flipped,
     "Combines keywords \"flipped\" and \"decomposition\"."},
};

const CommandDefinition spectrumCommands[] = {
    {"chiral", "", COM_chiral, "Return 1 of the current extension is chiral"},
};

const CommandDefinition orientifoldCommands[] = {
    {"cancellableTachyon", "", COM_can_tach,
     "Return 1 if there are Klein-bottle cancellable tachyons"},
};

const CommandDefinition selectionCommands[] = {
    {"set Primary_selection tachyons", "", COM_set_prim_tach,
     "Set the primary field selection for MIPFs to tachyons only."},
    {"set Primary_selection massless", "", COM_set_prim_massless,
     "Set the primary field selection for MIPFs to massless fields only."},
};

} // namespace

void installStringSpectrumCommands() {
    addCommandFamily(CommandFamily::String, stringCommands);
    addCommandFamily(CommandFamily::Spectrum, spectrumCommands);
    addCommandFamily(CommandFamily::Orientifold, orientifoldCommands);
    addCommandFamily(CommandFamily::Invariants, selectionCommands);
    setTypeIIBrowser(BrowseTypeII);
    setSusyMultipletPrinter(printSusyMultiplets);
}

int BrowseTypeII(int flip, int decomposition) {
    if (superOff("BrowseTypeII"))
        return 1;
    Heterotic* H = getStringSpectrum(1);
    if (!H)
        return 1;
    SusySides s;
    if (readingRefused(H, &s.ST, 'B', "BrowseTypeII"))
        return 1;
    const int c = s.right.Chir * s.left.Chir;
    if (c == 0)
        Print(flip == -1 ? "Chirality flip has no effect or chirality is not resolved\n"
                         : "Chirality is not resolved or trivial\n");
    s.right.Chir *= flip;
    Print(flip * c == 1    ? "\nType-IIB spectrum\n"
          : flip * c == -1 ? "\nType-IIA spectrum\n"
                           : "\nType-II spectrum\n");
    printSusyMultiplets(&s.ST);
    Print("\nMatter multiplets:\n");
    printMatter(H, &s.ST, decomposition);
    if (!isSupersymmetric(&s.ST) && !analyseTachyonSpectrum(H, &s.ST))
        Print("Non-supersymmetric but tachyon-free type-II spectrum\n");
    s.right.Chir *= flip;
    return 0;
}

int BrowseHeterotic(int flip, int decomposition) {
    if (superOff("BrowseHeterotic"))
        return 1;
    Heterotic* H = getStringSpectrum(1);
    if (!H)
        return 1;
    if (flip == 1 && H->Symmetric == 1)
        Print("Symmetric invariant; left-right flip has no effect\n");
    Print(flip == 1 ? "\nHeterotic string with gauge group from right sector.\n"
                    : "\nHeterotic string with gauge group from left sector.\n");
    SusySides s;
    if (readingRefused(H, &s.ST, flip == 1 ? 'L' : 'R', "BrowseHeterotic"))
        return 1;
    printSusyMultiplets(&s.ST);
    Extension* gauge = s.ST.HeteroticGaugeGroup;
    if (gauge && gauge->Branch) {
        PrintGaugeGroup(H, gauge);
        printHeteroticRepresentation(nullptr, gauge->Branch, nullptr);
    }
    Print("\nMatter multiplets (representations of first factor)\n");
    printMatter(H, &s.ST, decomposition);
    if (!isSupersymmetric(&s.ST) && !analyseTachyonSpectrum(H, &s.ST))
        Print("Non-supersymmetric but tachyon-free heterotic spectrum\n");
    return 0;
}

void PrintGaugeGroup(Heterotic* H, Extension* ext) {
    const Branching* B = ext->Branch;
    const int type = B->type_G, rank = B->rank_G;
    const Branching* L = H->CovLatEmbedding;
    const int chir = isChiral(type, rank) ? ChiralityResolved(type, rank, L->type_G, L->rank_G) : 1;
    char buffer[16];
    Print("\nGauge group: %s", gaugeName(type, rank, buffer, sizeof buffer));
    int dim = ext->addim;
    if (H->ImplicitE8)
        Print(" x E8");
    PrintFreeFactors(&dim, ext);
    if (dim >= 1) {
        Print(" x [Unidentified (dim=%d)]\n", dim);
    } else if (dim < 0) {
        Print("\n");
        Alert("PrintGaugeGroup", 0, 100302, "Negative number of spin 1 currents: %d", dim);
    } else {
        Print("\n");
    }
    if (!chir)
        Print("(Gauge group chirality not resolved)\n");
    printCovLatRep(nullptr, type, rank, chir, nullptr);
}

void PrintFreeFactors(int* dim, Extension* ext) {
    TensorProduct* TP = getCurrentTensor();
    if (!getCosetMode() || !TP || TP->NTensor < 2)
        return;
    const int* flags = findFreeFactors(TP, ext);
    for (int k = 1; k < TP->NTensor; k++) {
        if (flags[k] != 0)
            continue;
        const SpectrumData* sd = getTensorFactor(TP, k);
        const int type = sd->type, rank = sd->rank;
        if (type < 0 || type > 5)
            continue; // no Lie algebra of its own: nothing to name or to subtract
        *dim -= type == 0 ? 1 : AdjointDimension(type, rank);
        if (type == 5 && rank > 4)
            Print(" x E%d", rank);
        else if (type == 5 && rank == 4)
            Print(" x F4");
        else if (type == 5 && rank == 2)
            Print(" x G2");
        else if (type >= 1 && type <= 4)
            Print(" x %c%d", "?ABCD"[type], rank);
        else if (type == 0)
            Print(" x U(1)_%d", rank);
    }
}
