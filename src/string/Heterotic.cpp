// The heterotic set-up: the parameters, the massless candidates and pattern roots of
// "compute heterotic", and the user's entries (filter generators, selected representations,
// representation names, algebra patterns).
#include "string/Heterotic.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "numeric/Loops.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "string/HeteroticInternal.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace heterotic_internal {

VectorSpace HeteroticFilterGenerators = declareVectorSpace("HeteroticFilterGenerators", 10);
VectorSpace HeteroticFilter = declareVectorSpace("HeteroticFilter", 1000);
VectorSpace SelectedReps = declareVectorSpace("SelectedReps", 10);
VectorSpace RepNames = declareVectorSpace("RepNames", 10);
VectorSpace PatternRoots = declareVectorSpace("PatternRoots", 20);
VectorSpace PatternAlgebra = declareVectorSpace("PatternAlgebra", 20);
VectorSpace Spectra = declareVectorSpace("Spectra", 1000);
std::vector<std::string> Names(MaxNames);
SetupStamp setup;
int namesGeneration = 0;

namespace {

int* pHeteroticFactors = nullptr;
int* pParticleFactors = nullptr;
int* pOldAlgorithm = nullptr;
int* pGraded = nullptr;

int* bind(const char* name) {
    return findInternalParameter(name) ? static_cast<int*>(getIntParPointer(name)) : nullptr;
}

} // namespace

int heteroticFactors() {
    return pHeteroticFactors ? *pHeteroticFactors : 1;
}
int particleFactors() {
    return pParticleFactors ? *pParticleFactors : 1;
}
int oldAlgorithm() {
    return pOldAlgorithm ? *pOldAlgorithm : 0;
}
int gradedOn() {
    return pGraded ? *pGraded : 0;
}

void bindParameters() {
    pHeteroticFactors = bind("Heterotic factors");
    pParticleFactors = bind("Particle factors");
    pOldAlgorithm = bind("old_algorithm");
    pGraded = bind("Graded");
}

std::string setupChange(TensorProduct* TP) {
    if (!setup.done)
        return "no heterotic set-up";
    const bool sameFactors =
        static_cast<int>(setup.factors.size()) == TP->NTensor &&
        std::equal(setup.factors.begin(), setup.factors.end(), TP->TensorFactors.X);
    if (!sameFactors)
        return "the tensor product changed";
    if (setup.NF != heteroticFactors())
        return "\"Heterotic factors\" changed";
    if (setup.SM != particleFactors())
        return "\"Particle factors\" changed";
    if (setup.namesGeneration != namesGeneration)
        return "the representation names changed";
    return {};
}

// ---- Rows ----

bool enterOnce(VectorSpace* s, const int* v) {
    const int before = s->Nfill;
    copyVec(s->rowsize - 2, rowOf(s, s->Nfill), v);
    addToCollection(s);
    return s->Nfill > before;
}

int enterCounted(VectorSpace* s, const int* v, int count, bool* isNew) {
    const int before = s->Nfill;
    copyVec(s->rowsize - 3, rowOf(s, s->Nfill), v);
    const int r = addToCountedCollection(s, count);
    if (isNew)
        *isNew = s->Nfill > before;
    return r;
}

int findRow(VectorSpace* s, const int* v) {
    if (rowCount(s) == 0)
        return -1;
    return findVectorInCollection(s, const_cast<int*>(v));
}

int appendRow(VectorSpace* s, const int* v) {
    const int r = s->Nfill;
    copyVec(s->rowsize - 2, rowOf(s, r), v);
    addVectorToSpace(s);
    return r;
}

// ---- Labels and products ----

void combine(TensorProduct* TP, const int* J, const int* a, int* out) {
    for (int k = 0; k < TP->NTensor; k++)
        out[k] = getResultFromFusionTable(TP->TensorFactors[k], J[k], a[k]);
}

bool passesWeightBound(TensorProduct* TP, const int* v) {
    double sum = 0.0;
    for (int k = 0; k < TP->NTensor; k++) {
        const SpectrumData* sd = TP->TensorFactors[k];
        const int num = sd->Weight_num[v[k]];
        if (num > sd->Weight_denom)
            return false;
        sum += static_cast<double>(num) / sd->Weight_denom;
        if (sum > 1.001)
            return false;
    }
    return true;
}

void conjugateLabels(TensorProduct* TP, int n, const int* in, int* out) {
    for (int k = 0; k < n; k++)
        out[k] = SM_getConjugate(TP->TensorFactors[k], in[k]);
}

int namedRepresentation(const int* labels) {
    return findRow(&RepNames, labels);
}

int combinationOrder(TensorProduct* TP, const int* v) {
    int N = 1;
    for (int k = 0; k < TP->NTensor; k++)
        N = SCM(N, SM_getCurrentOrder(TP->TensorFactors[k], v[k]));
    return N;
}

} // namespace heterotic_internal

using namespace heterotic_internal;

namespace {

// ---- The loop over light labels ----

// The light labels of every factor sorted by weight, with their weights as numerators over the
// common denominator of all factors, so that the sums are exact integers.
struct LightLabels {
    TensorProduct* TP = nullptr;
    int N = 0;
    long long den = 1;
    std::vector<std::vector<int>> labels;
    std::vector<std::vector<long long>> weights;
    std::vector<int> combination;
    std::vector<int> extension; // the extension currents, NT labels each
    int extensionCount = 0;
    // Within one pass no combination comes twice: the first pass appends without looking up, and
    // the rows are linked for look-up only when a second pass follows (the candidates are
    // otherwise read in row order).
    bool lookUp = false;
};

long long commonDenominator(TensorProduct* TP, int n) {
    long long D = 1;
    for (int k = 0; k < n; k++) {
        D = std::lcm(D, static_cast<long long>(TP->TensorFactors[k]->Weight_denom));
        if (D > (1LL << 40)) {
            Alert("CollectMassless", 0, 212404, "Common weight denominator too large");
            return 0;
        }
    }
    return D;
}

// Labels of weight at most 1; pass 0 takes all, 'N' or 'R' only those of that grade.
std::vector<int> lightLabels(SpectrumData* sd, char pass) {
    std::vector<int> list;
    if (pass != 0 && sd->graded != 0 && sd->graded != 1)
        return list;
    const bool byGrade = pass != 0 && sd->graded == 1;
    for (int l = 0; l < sd->Nprimaries; l++) {
        if (sd->Weight_num[l] > sd->Weight_denom)
            continue;
        if (byGrade && sd->grade[l] != pass)
            continue;
        list.push_back(l);
    }
    OrderWeights(static_cast<int>(list.size()), list.data(), sd);
    return list;
}

bool prepareLight(LightLabels& L, TensorProduct* TP, int n, char pass) {
    L.TP = TP;
    L.N = n;
    L.den = commonDenominator(TP, n);
    if (L.den == 0)
        return false;
    L.labels.assign(static_cast<std::size_t>(n), {});
    L.weights.assign(static_cast<std::size_t>(n), {});
    L.combination.assign(static_cast<std::size_t>(n) + 1, 0);
    for (int k = 0; k < n; k++) {
        SpectrumData* sd = TP->TensorFactors[k];
        auto& list = L.labels[static_cast<std::size_t>(k)];
        list = lightLabels(sd, pass);
        for (int l : list)
            L.weights[static_cast<std::size_t>(k)].push_back(
                static_cast<long long>(sd->Weight_num[l]) * (L.den / sd->Weight_denom));
    }
    return true;
}

long long totalWeight(const LightLabels& L, int upto, const int* Loop) {
    long long w = 0;
    for (int k = 0; k < upto; k++)
        w += L.weights[static_cast<std::size_t>(k)][static_cast<std::size_t>(Loop[k])];
    return w;
}

void MasslessPrimaryBound(int, int level, int* Loop, int*, int* Max, int* lo, int* hi, void* Data) {
    const auto& L = *static_cast<const LightLabels*>(Data);
    const auto& w = L.weights[static_cast<std::size_t>(level)];
    *lo = 0;
    *hi = Max[level];
    if (w.empty())
        return;
    const long long room = L.den - totalWeight(L, level, Loop);
    const auto first = std::upper_bound(w.begin(), w.end(), room);
    if (first != w.end())
        *hi = std::max(0, static_cast<int>(first - w.begin()) - 1);
}

int MasslessCheck(int Size, int* Loop, void* Data) {
    auto& L = *static_cast<LightLabels*>(Data);
    const long long w = totalWeight(L, Size, Loop);
    if (w != 0 && w != L.den)
        return 0;
    int* v = L.combination.data();
    for (int k = 0; k < Size; k++)
        v[k] = L.labels[static_cast<std::size_t>(k)][static_cast<std::size_t>(Loop[k])];
    for (int c = 0; c < L.extensionCount; c++) {
        rat Q;
        TensorRatCharge(L.TP, L.extension.data() + static_cast<std::size_t>(c) * Size, v, &Q);
        if (!isInteger(Q))
            return 0;
    }
    if (L.lookUp)
        enterOnce(L.TP->MasslessFields, v);
    else
        appendRow(L.TP->MasslessFields, v);
    return 1;
}

int LightCheck(int Size, int* Loop, void* Data) {
    auto& L = *static_cast<LightLabels*>(Data);
    const long long w = totalWeight(L, Size, Loop);
    if (w > L.den)
        return 0;
    int* v = L.combination.data();
    for (int k = 0; k < Size; k++)
        v[k] = L.labels[static_cast<std::size_t>(k)][static_cast<std::size_t>(Loop[k])];
    v[Size] = w > 0 && w < L.den ? 1 : 0;
    enterOnce(&PatternRoots, v);
    return 1;
}

// Runs the loop over the n leading factors; a factor without labels gives nothing.
int runLightLoop(LightLabels& L, DOUBLEBOUND squeeze, EVAL evaluate) {
    const int n = L.N;
    for (const auto& list : L.labels)
        if (list.empty())
            return 0;
    std::vector<int> Min(static_cast<std::size_t>(n), 0), Max(static_cast<std::size_t>(n));
    std::vector<int> Loop(static_cast<std::size_t>(n), 0);
    for (int k = 0; k < n; k++)
        Max[static_cast<std::size_t>(k)] =
            static_cast<int>(L.labels[static_cast<std::size_t>(k)].size()) - 1;
    return NestedLoops(n, Min.data(), Max.data(), Loop.data(), &L, squeeze, evaluate);
}

void collectExtensionCurrents(LightLabels& L, TensorProduct* TP) {
    L.extension.clear();
    L.extensionCount = 0;
    if (!TP->Currents || !checkForExtension(TP))
        return;
    for (int c = 0; c < rowCount(TP->Currents); c++) {
        const int* row = rowOf(TP->Currents, c);
        L.extension.insert(L.extension.end(), row, row + TP->NTensor);
        L.extensionCount++;
    }
}

void collectPatternRoots(TensorProduct* TP) {
    LightLabels L;
    const int n = heteroticFactors();
    if (!prepareLight(L, TP, n, 0))
        return;
    runLightLoop(L, nullptr, LightCheck);
}

// Selections and names survive the set-up, but rows made for another "Heterotic factors" or
// "Particle factors" would be compared beyond their length.
void dropEntriesOfOtherLength() {
    if (rowCount(&SelectedReps) > 0 && SelectedReps.id_size != heteroticFactors()) {
        Alert("ComputeHeterotic", 4, 100218,
              "Selected representations of %d components dropped (\"Heterotic factors\" is %d)",
              SelectedReps.id_size, heteroticFactors());
        resetSelectedReps();
    }
    if (rowCount(&RepNames) > 0 && RepNames.id_size != particleFactors()) {
        Alert("ComputeHeterotic", 5, 100218,
              "Representation names of %d components dropped (\"Particle factors\" is %d)",
              RepNames.id_size, particleFactors());
        resetRepNames();
    }
}

} // namespace

// ============================================================ Start-up

void initializeHeterotic() {
    bindParameters();
}

// ============================================================ Candidates

void OrderWeights(int size, int* labels, SpectrumData* sd) {
    std::stable_sort(labels, labels + size, [sd](int a, int b) {
        const long long wa = static_cast<long long>(sd->Weight_num[a]);
        const long long wb = static_cast<long long>(sd->Weight_num[b]);
        return wa != wb ? wa < wb : a > b;
    });
}

int CT_effectiveCenterCheck(TensorProduct* TP, int* current) {
    rat h;
    TensorRatWeight(TP, current, &h);
    rat Nh;
    rat N;
    torat(combinationOrder(TP, current), &N);
    multiplyRat(&N, &h, &Nh);
    return isInteger(Nh) ? 1 : 0;
}

int CollectMassless(TensorProduct* TP) {
    const int NT = TP->NTensor;
    initVectorCollection(TP->MasslessFields, NT, 100000);
    LightLabels L;
    collectExtensionCurrents(L, TP);
    const bool graded = gradedOn() != 0;
    int total = 0;
    for (char pass : graded ? std::vector<char>{'N', 'R'} : std::vector<char>{0}) {
        if (!prepareLight(L, TP, NT, pass))
            return total;
        L.lookUp = pass == 'R';
        const int count = runLightLoop(L, MasslessPrimaryBound, MasslessCheck);
        if (pass == 'N')
            balanceVectorCollection(TP->MasslessFields);
        std::printf("Pass %c; total number %d\n", pass ? pass : 'N', count);
        total += count;
    }
    return total;
}

void computePatternRoots(TensorProduct* TP) {
    const int n = heteroticFactors();
    std::vector<int> v(static_cast<std::size_t>(n) + 1, 0);
    for (int r = 0; r < rowCount(TP->MasslessFields); r++) {
        std::copy_n(rowOf(TP->MasslessFields, r), n, v.begin());
        enterOnce(&PatternRoots, v.data());
    }
    std::printf("Pattern roots: %d\n", rowCount(&PatternRoots));
}

int refuseHeteroticSetup(TensorProduct* TP, const char* routine, int needNF) {
    const int NT = TP->NTensor;
    if (NT == 0) {
        Alert(routine, 0, 100302, "No tensor product");
        return 1;
    }
    if (needNF && heteroticFactors() > NT) {
        Alert(routine, 1, 100302, "\"Heterotic factors\" (%d) exceeds the number of factors (%d)",
              heteroticFactors(), NT);
        return 1;
    }
    if (particleFactors() > NT) {
        Alert(routine, 2, 100302, "\"Particle factors\" (%d) exceeds the number of factors (%d)",
              particleFactors(), NT);
        return 1;
    }
    for (int k = 0; k < NT; k++)
        if (!SM_initDimensions(TP->TensorFactors[k])) {
            Alert(routine, 3, 100302, "Factor %d has no ground-state dimensions", k);
            return 1;
        }
    return 0;
}

int ComputeHeterotic(TensorProduct* TP) {
    if (refuseHeteroticSetup(TP, "ComputeHeterotic", 1))
        return 1;
    const int NT = TP->NTensor;
    const int NF = heteroticFactors();
    dropEntriesOfOtherLength();
    initVectorCollection(&PatternRoots, NF + 1, 20);
    setIdentificationSize(&PatternRoots, NF);
    initCountedVectorCollection(&PatternAlgebra, 10, 20);
    CollectMassless(TP);
    collectPatternRoots(TP);
    initCountedVectorCollection(&PatternAlgebra, std::max(rowCount(&PatternRoots), 1), 20);
    // The spectrum computation made the chiral algebra of these factors and currents already;
    // computing it again would release the stabilizers that the spectrum table reads.
    if (TP->InputDataChanged || rowCount(TP->ChiralAlgebra) == 0)
        computeChiralAlgebra(TP);
    initVectorCollection(&HeteroticFilterGenerators, NT, 10);
    initVectorCollection(&HeteroticFilter, NT, 1000);
    for (int k = 0; k < NT; k++)
        makeFusionTable(TP->TensorFactors[k]);
    const int R = rowCount(&RepNames);
    initCountedVectorCollection(&Spectra, R + 7, 1000);
    setIdentificationSize(&Spectra, R + 5);
    setup.done = true;
    setup.NF = NF;
    setup.SM = particleFactors();
    setup.R = R;
    setup.namesGeneration = namesGeneration;
    setup.factors.assign(TP->TensorFactors.X, TP->TensorFactors.X + NT);

    readResultFiles();
    return 0;
}

// ============================================================ The user's entries

void addNewFilterCurrent(TensorProduct* TP, int* candidate) {
    const int NT = TP->NTensor;
    if (!HeteroticFilterGenerators.Space || HeteroticFilterGenerators.id_size != NT) {
        initVectorCollection(&HeteroticFilterGenerators, NT, 10);
        initVectorCollection(&HeteroticFilter, NT, 1000);
    }
    enterOnce(&HeteroticFilterGenerators, candidate);
}

void resetFilterCurrents(TensorProduct* TP) {
    initVectorCollection(&HeteroticFilterGenerators, std::max(TP->NTensor, 1), 10);
    initVectorCollection(&HeteroticFilter, std::max(TP->NTensor, 1), 1000);
}

int getNumberOfFilterCurrents() {
    return rowCount(&HeteroticFilterGenerators);
}

void addNewSelectedRep(int* candidate) {
    const int NF = heteroticFactors();
    if (!SelectedReps.Space || SelectedReps.id_size != NF)
        initVectorCollection(&SelectedReps, NF, 10);
    enterOnce(&SelectedReps, candidate);
}

void resetSelectedReps() {
    initVectorCollection(&SelectedReps, std::max(heteroticFactors(), 1), 10);
}

int addNewRepresentationName(TensorProduct* TP, const char* name, int* candidate) {
    const int SM = particleFactors();
    if (!RepNames.Space || RepNames.id_size != SM) {
        initVectorCollection(&RepNames, SM, 10);
        std::fill(Names.begin(), Names.end(), std::string());
    }
    int at = findRow(&RepNames, candidate);
    if (at < 0 && rowCount(&RepNames) >= MaxNames) {
        Alert("addNewRepresentationName", 0, 520218, "Too many representation names");
        return 1;
    }
    if (at < 0) {
        at = rowCount(&RepNames);
        enterOnce(&RepNames, candidate);
        namesGeneration++;
    }
    if (std::strlen(name) > MaxNameLength) {
        Alert("addNewRepresentationName", 1, 520218, "Name too long");
        return 1;
    }
    Names[static_cast<std::size_t>(at)] = name;
    namesGeneration++;
    std::vector<int> conj(static_cast<std::size_t>(SM));
    conjugateLabels(TP, SM, candidate, conj.data());
    if (findRow(&RepNames, conj.data()) >= 0)
        return 0;
    // The conjugate cannot take a name beyond the limit; its own entry is refused like any other.
    if (rowCount(&RepNames) >= MaxNames) {
        Alert("addNewRepresentationName", 0, 520218, "Too many representation names");
        return 1;
    }
    const int c = rowCount(&RepNames);
    enterOnce(&RepNames, conj.data());
    Names[static_cast<std::size_t>(c)] = std::string(name) + "*";
    return 0;
}

void resetRepNames() {
    initVectorCollection(&RepNames, std::max(particleFactors(), 1), 10);
    std::fill(Names.begin(), Names.end(), std::string());
    namesGeneration++;
}

void addPatternAlgebra(int* candidate) {
    const int n = rowCount(&PatternRoots);
    if (!PatternAlgebra.Space || PatternAlgebra.id_size != n)
        initCountedVectorCollection(&PatternAlgebra, n, 20);
    enterCounted(&PatternAlgebra, candidate, 1);
}

void resetPatterns() {
    initVectorCollection(&PatternRoots, heteroticFactors() + 1, 20);
    setIdentificationSize(&PatternRoots, heteroticFactors());
    initCountedVectorCollection(&PatternAlgebra, 1, 20);
}

int getNumberOfPatternRoots() {
    return rowCount(&PatternRoots);
}
