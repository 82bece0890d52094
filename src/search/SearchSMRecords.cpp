// Candidate records of the generic search: one record per distinct spectrum type of a run, the
// candidate's line in ".pre_models", the printed description of a chain and the commands of
// ".mipf_data" that rebuild the model.
#include "base/Output.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "search/SearchSMGeneric.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int RecordSize = 86;
constexpr int ProfileSize = 56;

VectorSpace GenericSMProfiles_tmp_0 = declareVectorSpace("Generic SM profiles", 10000);
int SolutionCountPerGroup = 0;

void writeFramedNote(FILE* out, const char* text) {
    std::fprintf(out, "\n\n=============================================\n%s", text);
}

void reduceCharges() {
    int g = SM.Norm;
    for (int v : SM.coefs)
        g = GCD(g, v);
    for (int k = 0; k < 2; k++)
        g = GCD(GCD(g, SM.T2_eig[k]), SM.T3_eig[k]);
    if (g <= 1)
        return;
    SM.Norm /= g;
    for (int& v : SM.coefs)
        v /= g;
    for (int k = 0; k < 2; k++) {
        SM.T2_eig[k] /= g;
        SM.T3_eig[k] /= g;
    }
}

void fillRecord(int* w) {
    fillChainProfile(w);
    w[47] = SM.MasslessVectors + (SM.Ycharge_degeneracy ? 10 : 0);
    std::memcpy(w + 48, SM.Sol, 8 * sizeof(int));
    const GenericSearchRun& run = genericSearchRun();
    w[56] = 0;
    w[57] = run.last_gsm;
    w[58] = run.last_Y;
    w[59] = rowCount(&GenericSMProfiles_tmp_0) + 1;
    std::memcpy(w + 60, SM.boundaries, 8 * sizeof(int));
    w[68] = SM.ori;
    w[69] = SM.equiv0;
    w[70] = SM.equiv1;
    w[71] = SM.equiv2;
    w[72] = SM.equiv1Y;
    w[73] = SM.equiv2Y;
    w[74] = SM.quark_doublets[0];
    w[75] = SM.quark_doublets[1];
    w[76] = SM.lepton_doublets[0];
    w[77] = SM.lepton_doublets[1];
    std::memcpy(w + 78, SM.anti_quarks, 4 * sizeof(int));
    std::memcpy(w + 82, SM.singlets, 3 * sizeof(int));
    w[85] = run.lastY_nr;
}

// The first 48 profile ints against the image profile; differences written to the error output.
void symmetryProblem(const int* own, const int* image, const char* title) {
    bool differs = false;
    for (int i = 0; i < 48 && !differs; i++)
        differs = own[i] != image[i];
    if (!differs)
        return;
    writeFramedNote(ERROR_FILE, title);
    for (int i = 0; i < 48; i++)
        if (own[i] != image[i])
            std::fprintf(ERROR_FILE, "i=%d; w=%d, x=%d\n", i, own[i], image[i]);
    printCPD(ERROR_FILE, -1, 1);
}

void writePreModelLine(int r) {
    GenericSearchContext* ctx = getGenericSearchContext();
    GenericSearchRun& run = genericSearchRun();
    int vars[4] = {SM.boundaries[0], SM.boundaries[2], SM.boundaries[4], SM.boundaries[6]};
    int mults[4] = {SM.mults[0], SM.mults[1], SM.mults[2], SM.mults[3]};
    const double rhs = ctx->tadpoleRHS(SM.Nbnd, vars, mults);
    if (run.preModels)
        std::fprintf(run.preModels, "%d %d %d %d %d %d %d %d %d %d %d %d %d %d\n", r, ctx->fileId(),
                     ctx->mipfId(), SM.ori, vars[0], vars[1], vars[2], vars[3], mults[0], mults[1],
                     mults[2], mults[3], std::fabs(rhs) < 1e-7 ? 1 : 0, 0);
    run.PreModelCount++;
    char count[32];
    std::snprintf(count, sizeof count, "%d", run.PreModelCount);
    PrintNoRepeat("Number of pre-models found so far: ", count);
}

const char* identityText(int entry, int value) {
    static const char* const same[6] = {"a and b", "a and c", "a and d",
                                        "b and c", "b and d", "c and d"};
    static const char* const image[6] = {"a and bc", "a and cc", "a and dc",
                                         "b and cc", "b and dc", "c and dc"};
    return value == 1 ? same[entry] : image[entry];
}

} // namespace

VectorSpace* getGenericSMProfiles() {
    return &GenericSMProfiles_tmp_0;
}

void startGenericSearchRun(FILE* preModels) {
    GenericSearchRun& run = genericSearchRun();
    run = GenericSearchRun{};
    run.preModels = preModels;
    SolutionCountPerGroup = 0;
    initVectorCollection(&GenericSMProfiles_tmp_0, RecordSize, 10000);
    setIdentificationSize(&GenericSMProfiles_tmp_0, ProfileSize);
}

int storeSMdata() {
    GenericSearchContext* ctx = getGenericSearchContext();
    GenericSearchRun& run = genericSearchRun();
    const GenericSearchSettings& settings = genericSearchSettings();
    SolutionCountPerGroup++;
    SM.MasslessVectors = countMasslessAbelianVectors(SM.Sol);
    for (int k = 0; k < 6; k++)
        if (SM.brane_id[k] < 0) {
            writeFramedNote(ERROR_FILE, "Negative brane_id\n");
            printCPD(ERROR_FILE, -1, 1);
        }
    reduceCharges();
    int record[RecordSize];
    fillRecord(record);
    if (ctx->tachyonic() == 1) {
        if (settings.infoLevel > 1)
            Print("Tachyonic open string spectrum\n");
        return 0;
    }
    if (!ctx->supersymmetric() && settings.infoLevel > 0) {
        Print("TACHYON FREE!!!!!\n");
        printCPD(stdout, -1, 0);
    }
    run.SMCount++;
    VectorSpace* records = &GenericSMProfiles_tmp_0;
    int index = findVectorInCollection(records, record);
    const bool fresh = index < 0;
    if (fresh) {
        if (run.last_Y == 0)
            run.lastY_nr = record[59];
        record[85] = run.lastY_nr;
        addVectorToCollection(records, record);
        index = rowCount(records) - 1;
        if (SM.equiv1Y == 1)
            symmetryProblem(record, interChange_c(), "Symmetry problem (c)\n");
        if (SM.equiv2Y == 1 && SM.Nbnd == 4)
            symmetryProblem(record, interChange_d(), "Symmetry problem (d)\n");
        if (settings.infoLevel > 0) {
            Print("\n\n");
            Print("New model type found (total types so far %d; models so far %d)\n",
                  rowCount(records), run.SMCount);
            if (ctx->supersymmetric()) {
                std::printf("Printing");
                printCPD(stdout, -1, 0);
            }
        }
    }
    const int r = rowOf(records, index)[59];
    if (run.last_gsm == -1)
        run.last_gsm = r;
    if (run.last_Y == 0)
        run.lastY_nr = r;
    run.last_Y++;
    writePreModelLine(r);
    return fresh ? 1 : 0;
}

void printCPD(FILE* ofp, int nr, int reason) {
    GenericSearchContext* ctx = getGenericSearchContext();
    if (!ctx || !ofp)
        return;
    if (ofp == stdout && genericSearchSettings().tadpoleInfo == 0)
        return;
    int vars[4] = {SM.boundaries[0], SM.boundaries[2], SM.boundaries[4], SM.boundaries[6]};
    printVec(4, vars, "vars");
    std::fprintf(ofp, "\n--------------- Spectrum analysis ------------------------\n");
    if (nr != -1)
        std::fprintf(ofp, "Model nr %d\n", nr);
    std::fprintf(ofp, "CY %d; MIPF %d\n", ctx->fileId(), ctx->mipfId());
    printVecToFile(8, SM.boundaries, "boundaries", ofp);
    std::fprintf(ofp, "Orientifold nr: %d\n", SM.ori);
    ctx->printOrientation(ofp);
    for (int k = 0; k < SM.Nbnd; k++)
        Print("Brane tension for brane nr. %d (label %d): %15.7f\n", k, SM.boundaries[2 * k],
              ctx->tension(SM.boundaries[2 * k]));
    if (reason == 1)
        std::fprintf(ofp, "WARNING: possibly not all the following data apply to this case!\n");
    printVecToFile(SM.Nbnd, SM.types, "types", ofp);
    printVecToFile(SM.Nbnd, SM.mults, "multiplicities", ofp);
    if (SM.equiv0 == 1 && SM.brane_id[5] == 0)
        std::fprintf(ofp, "branes c and d are equivalent\n");
    if (SM.equiv1Y == 1)
        std::fprintf(ofp, "branes c and cc are equivalent\n");
    if (SM.equiv2Y == 1 && SM.Nbnd == 4)
        std::fprintf(ofp, "branes d and dc are equivalent\n");
    for (int k = 0; k < 6; k++)
        if (SM.brane_id[k] != 0)
            std::fprintf(ofp, "branes %s are identical\n", identityText(k, SM.brane_id[k]));
    printVecToFile(4, SM.A, "Chiral antisymmetric tensors", ofp);
    printVecToFile(4, SM.S, "Chiral symmetric tensors", ofp);
    printVecToFile(6, SM.Gamma, "Gamma", ofp);
    printVecToFile(6, SM.Delta, "Delta", ofp);
    char label[64];
    std::snprintf(label, sizeof label, "Y charge coefficients; Norm %d", SM.Norm);
    printVecToFile(4, SM.coefs, label, ofp);
    std::fprintf(ofp, "Generator c: (%d x %d, %d x %d)\n", SM.T2_mult[0], SM.T2_eig[0],
                 SM.T2_mult[1], SM.T2_eig[1]);
    std::fprintf(ofp, "Generator d: (%d x %d, %d x %d)\n", SM.T3_mult[0], SM.T3_eig[0],
                 SM.T3_mult[1], SM.T3_eig[1]);
    std::fprintf(ofp, "Number of massless U(1)'s : %d\n", SM.MasslessVectors);
    printVecToFile(2, SM.quark_doublets, "Quark doublets and mirrors", ofp);
    printVecToFile(2, SM.lepton_doublets, "Lepton doublets and mirrors", ofp);
    printVecToFile(4, SM.anti_quarks, "anti-quarks (u,d) and mirrors", ofp);
    printVecToFile(3, SM.singlets, "Singlets, charges 1,0,-1", ofp);
    if (SM.Ycharge_degeneracy == 1)
        std::fprintf(ofp, "Degenerate Y-charge\n");
    if (SM.MasslessVectors == 0) {
        std::fprintf(ofp, "No extra massless abelian vectors\n");
    } else {
        printVecToFile(4, SM.Sol, "Extra U(1)  ", ofp);
        if (SM.MasslessVectors >= 2)
            printVecToFile(4, SM.Sol + 4, "Extra U(1)'", ofp);
        if (SM.MasslessVectors > 2)
            std::fprintf(ofp, "One more U(1) not computed\n");
    }
    if (ofp == stderr || ofp == ERROR_FILE) {
        std::fprintf(ofp, "\n--------------- End of spectrum analysis (after error) ----\n\n");
        return;
    }
    ctx->printOpenSector(ofp);
    std::fprintf(ofp, "\n--------------- End of spectrum analysis -----------------\n\n");
}
