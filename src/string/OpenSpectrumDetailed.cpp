// The detailed open-string listing of a brane configuration: its gauge group and, per massless
// (and tachyonic) primary, the tensors, adjoints and bifundamentals each sector carries.
#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/OpenSpectrumAnalysisInternal.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "tensor/Branching.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The two spellings of the listing: the string form marks the conjugate for sign >= 1, the
// printed form for sign < 0, and only the string form knows the adjoint flag.
enum class Style { Text, Printed };

void appendf(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& out, const char* fmt, ...) {
    char buffer[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    out += buffer;
}

void linePrefix(std::string& out, int character, int Nf) {
    appendf(out, "From character lbl %4d: ", character);
    if (Nf == 1)
        out += "       (";
    else
        appendf(out, "%2d x   (", Nf);
}

bool conjugated(Style style, int sign) {
    return style == Style::Text ? sign >= 1 : sign < 0;
}

// One tensor or adjoint line, A and M already folded to A = 1.
void tensorLine(std::string& out, Style style, int factor, int Nfact, int M, int A, int Nf,
                int character, int sign, int adjoint) {
    const char* token = nullptr;
    if (M == 1 && !adjoint)
        token = conjugated(style, sign) ? "S*" : "S ";
    else if (M == -1 && !adjoint)
        token = conjugated(style, sign) ? "A*" : "A ";
    else if (A == 1 && M == 0 && (adjoint || style == Style::Printed))
        token = "Ad";
    else if (style == Style::Text)
        Alert("PrintRep1string", 0, 212404,
              "Unknown representation: Annulus=%d,Moebius=%d,adjoint=%d", A, M, adjoint);
    else
        Alert("PrintRep1", 0, 212404, "Unknown representation: Annulus=%d,Moebius=%d", A, M);
    linePrefix(out, character, Nf);
    for (int f = 0; f < Nfact; f++) {
        if (f > 0)
            out += ",";
        out += f == factor ? (token ? token : "") : "0 ";
    }
    out += ")\n";
}

// A states of Moebius coefficient M: (A + M)/2 symmetric and (A - M)/2 antisymmetric tensors.
// Every halving lowers A, so an odd A - M (reported by the callers) still ends.
void tensorLines(std::string& out, Style style, int factor, int Nfact, int A, int M, int Nf,
                 int character, int sign, int adjoint) {
    if (A == 0 && M == 0)
        return;
    while (A >= 2 && std::abs(M) < A && !adjoint) {
        const int h = (A - M) / 2;
        const int s = (A + M) / 2;
        tensorLines(out, style, factor, Nfact, s, s, Nf, character, sign, adjoint);
        A = h;
        M = -h;
        if (h == 0)
            return;
    }
    if (A >= 2 && (adjoint || std::abs(M) == A)) {
        M /= adjoint ? 1 : A;
        Nf *= A;
        A = 1;
    }
    tensorLine(out, style, factor, Nfact, M, A, Nf, character, sign, adjoint);
}

void bifundamentalLine(std::string& out, Style style, int Nfact, int lbl1, int lbl2, int A, int Nf,
                       int character, int sign1, int sign2) {
    if (A == 0)
        return;
    linePrefix(out, character, Nf * A);
    for (int f = 0; f < Nfact; f++) {
        if (f > 0)
            out += ",";
        if (f == lbl1)
            out += conjugated(style, sign1) ? "V*" : "V ";
        else if (f == lbl2)
            out += conjugated(style, sign2) ? "V*" : "V ";
        else
            out += "0 ";
    }
    out += ")\n";
}

int conjugateOf(const ChanPatonData* CPD, int a) {
    return CPD->OI->Conjugates.X[a];
}

} // namespace

void PrintRep1string(std::string& txt, int factor, int Nfact, int A, int M, int Nf, int character,
                     int sign, int adjoint) {
    tensorLines(txt, Style::Text, factor, Nfact, A, M, Nf, character, sign, adjoint);
}

void PrintRep2string(std::string& txt, int Nfact, int lbl1, int lbl2, int A, int Nf, int character,
                     int sign1, int sign2) {
    bifundamentalLine(txt, Style::Text, Nfact, lbl1, lbl2, A, Nf, character, sign1, sign2);
}

void PrintRep1(int factor, int Nfact, int A, int M, int Nf, int character, int sign) {
    std::string out;
    // Without an adjoint flag, A = 1 with M = 0 reads as the adjoint.
    tensorLines(out, Style::Printed, factor, Nfact, A, M, Nf, character, sign, 0);
    Print("%s", out.c_str());
}

void PrintRep2(int Nfact, int lbl1, int lbl2, int A, int Nf, int character, int sign1, int sign2) {
    std::string out;
    bifundamentalLine(out, Style::Printed, Nfact, lbl1, lbl2, A, Nf, character, sign1, sign2);
    Print("%s", out.c_str());
}

int gaugeBosonCount(ChanPatonData* CPD, int position, std::vector<char>* types) {
    // Per label in label order; a unitary pair counts once, at its first label.
    int twice = 0;
    for (int a = 0; a < CPD->Nbnd; a++) {
        const int N = CPD->CPmults[static_cast<std::size_t>(a)];
        if (N == 0)
            continue;
        const int ac = conjugateOf(CPD, a);
        const int M0 = getMoebius(0, a);
        const int Nc = CPD->CPmults[static_cast<std::size_t>(ac)];
        char type = 0;
        if (M0 == 1 && a == ac) {
            Print("Factor %d contributes gauge group SO(%d)\n", a, N);
            type = 'O';
        } else if (M0 == -1 && a == ac) {
            Print("Factor %d contributes gauge group Sp(%d)\n", a, N);
            type = 'S';
        } else if (M0 == 0 && ac > a) {
            Print("Factor %d contributes to gauge group U(%d) (first label)\n", a, N);
            type = 'U';
        } else if (M0 == 0 && ac < a) {
            Print("Factor %d contributes to gauge group U(%d) (second label)\n", a, N);
        } else {
            Alert("DetailedGaugeSectorAnalysis", position, 212404,
                  "Unexpected CP gauge group at boundary lbl %d (conjugate %d);\nMoebius "
                  "contribution %d",
                  a, ac, M0);
        }
        if (types && type)
            types->push_back(type);
        twice += N * Nc - M0 * N;
    }
    return twice / 2;
}

int DetailedGaugeSectorAnalysis(ChanPatonData* CPD, SusyType* ST) {
    Print("Gauge sector analysis:\n");
    std::vector<char> types;
    const int bosons = gaugeBosonCount(CPD, 0, &types);
    // The open string's right side is the Chan-Paton side: no space-time content of its own.
    ST->Right->Type = 0;
    ST->Right->Chir = 0;
    Print("\nMultiplicity: %d\n", bosons);
    Print("%s\n", susyRepresentationText(-1, 0, 0, ST).c_str());
    return static_cast<int>(types.size());
}

void amplitudeChecks(const char* routine, int i, int a, int A, int M, bool where) {
    if ((A - M) % 2 != 0 && where)
        Alert(routine, 0, 212404, "Annulus/Moebius parity violation (i=%d,a=%d)", i, a);
    else if ((A - M) % 2 != 0)
        Alert(routine, 0, 212404, "Annulus/Moebius parity violation");
    if (A < std::abs(M))
        Alert(routine, 1, 212404, "Annulus/Moebius size violation");
}

namespace {

// One pass of the listing: per class k its count and its lines.
struct ListingPass {
    std::array<int, 4> count{};
    std::array<std::string, 4> lines;
    int total() const { return count[1] + count[2] + count[3]; }
};

void collectPrimary(const ChanPatonData* CPD, int nc, int i, ListingPass* P) {
    const int* r = getRepInfo(i);
    // Without classes there are no lines, but the amplitudes are still checked.
    if (!r)
        nc = 0;
    const auto N = [CPD](int a) { return CPD->CPmults[static_cast<std::size_t>(a)]; };
    const auto factor = [CPD](int a) {
        return CPD->CPlabelsToGroupFactors[static_cast<std::size_t>(a)];
    };
    for (int a = 0; a < CPD->Nbnd; a++) {
        if (N(a) == 0)
            continue;
        const int ac = conjugateOf(CPD, a);
        const int M = getMoebius(i, a), A = getAnnulus(i, a, a);
        for (int k = 1; k < nc && A != 0; k++) {
            if (r[k] == 0)
                continue;
            P->count[k] += N(a) * r[k] * (N(a) * A + M);
            PrintRep1string(P->lines[k], factor(a), CPD->Nactive, A, M, r[k], i, a - ac, 0);
        }
        amplitudeChecks("DetailedOpenSectorAnalysis", i, a, A, M, true);
        const int Aac = ac > a ? getAnnulus(i, a, ac) : 0;
        for (int k = 1; k < nc && Aac != 0; k++) {
            if (r[k] == 0)
                continue;
            P->count[k] += r[k] * 2 * N(a) * N(ac) * Aac;
            PrintRep1string(P->lines[k], factor(a), CPD->Nactive, Aac, 0, r[k], i, 0, 1);
        }
        for (int b = a + 1; b < CPD->Nbnd; b++) {
            if (N(b) == 0 || b == ac)
                continue;
            const int A3 = getAnnulus(i, a, b);
            const int n = 2 * N(a) * N(b) * A3;
            for (int k = 1; k < nc && n != 0; k++) {
                if (r[k] == 0)
                    continue;
                P->count[k] += n * r[k];
                PrintRep2string(P->lines[k], CPD->Nactive, factor(a), factor(b), A3, r[k], i,
                                a - ac, b - conjugateOf(CPD, b));
            }
        }
    }
}

} // namespace

int DetailedOpenSectorAnalysis(ChanPatonData* CPD, SusyType* ST) {
    const int nc = RepCnt(ST->Left->Type, ST->Left->Rank);
    const int primaries = getTotalPrimaries();
    const int passes = isSupersymmetric(ST) ? 1 : 2;
    bool headed = false;
    int S = 0;
    for (int t = 0; t < passes; t++) {
        ListingPass P;
        bool progress = primaries > 5000;
        if (progress)
            startProgressInfo("Computing open string spectrum", primaries, 0);
        for (int i = 1; i < primaries; i++) {
            // A stop ends the display; the listing needs every field.
            if (progress && incrementProgressInfo())
                progress = false;
            if (masslessCharacter(i, t))
                collectPrimary(CPD, std::min(nc, 4), i, &P);
        }
        if (progress)
            stopProgressInfo("Computing open string spectrum");
        PrintGroups(CPD);
        S = P.total();
        if (S == 0) {
            Print(t == 0 ? "No massless matter\n" : "No tachyons in open sector\n");
            continue;
        }
        if (!headed) {
            Print("--------------- Representation content -----------------------\n");
            PrintGroups(CPD);
            Print("\n");
            headed = true;
        }
        if (t == 1) {
            Print("!!!!! Tachyons !!!!!\n");
            PrintGroups(CPD);
            for (int a = 0; a < CPD->Nbnd; a++)
                if (CPD->CPmults[static_cast<std::size_t>(a)] != 0)
                    Print("a=%d CP=%d\n", a, CPD->CPmults[static_cast<std::size_t>(a)]);
        }
        for (int k = 1; k < 4; k++) {
            if (P.count[static_cast<std::size_t>(k)] == 0)
                continue;
            Print("Total gauge dimension %d:\n%s", P.count[static_cast<std::size_t>(k)] / 2,
                  susyRepresentationText(k, 0, 0, ST).c_str());
            Print("%s\n", P.lines[static_cast<std::size_t>(k)].c_str());
        }
    }
    return S;
}
