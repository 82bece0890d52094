// Higher indices of the fields of an affine block that neither a formula nor the index file
// gives, found from the fusion rules: the indices of a tensor product follow from those of its
// factors by the Leibniz rule, so when every field of a fusion product but one is known, the
// last one follows. Each field found so is appended to the block's index file, and its character
// to the character file, as the product of two characters minus the rest of the decomposition.
#include "modular/Modular.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/Terminal.h"
#include "lie/Tarvik.h"
#include "modular/ModularInternal.h"
#include "numeric/LargeInteger.h"
#include "store/Storemanager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace modular_internal;

namespace {

// Pairs analysed completely, flag [N j + i]; emptied by the reset call.
std::vector<char> pairDone;
bool pairTableStale = true;
// The signed fusion coefficients of the pair analysed last.
std::vector<int> coefficients;

lint*& indexEntry(SpectrumData* sd, int lbl, int t) {
    return sd->Indices[static_cast<std::size_t>(lbl) * (sd->rank + 1) + t];
}

// Every higher index of the field is known.
bool indicesKnown(SpectrumData* sd, int lbl) {
    for (int t = 1; t <= sd->rank; t++)
        if (!indexEntry(sd, lbl, t))
            return false;
    return true;
}

bool firstIndexKnown(SpectrumData* sd, int lbl) {
    return sd->rank >= 1 && indexEntry(sd, lbl, 1) != nullptr;
}

void preparePairTable(int N) {
    if (!pairTableStale && pairDone.size() == static_cast<std::size_t>(N) * N)
        return;
    pairDone.assign(static_cast<std::size_t>(N) * N, 0);
    coefficients.assign(N, 0);
    pairTableStale = false;
}

// value * small, as a new big integer.
LintPtr times(const lint* value, int small) {
    LintPtr r(lint_alloc(value->size + 2));
    lint_copy(r.get(), value);
    lint_intprod(r.get(), small);
    return r;
}

bool isZero(lint* x) {
    regform(x);
    LintPtr zero(int_to_newlint(0));
    return lint_eq(x, zero.get()) != 0;
}

// x / n when n divides x exactly; null otherwise.
LintPtr dividedExactly(lint* x, int n) {
    regform(x);
    LintPtr magnitude(lint_alloc(x->size + 2));
    lint_copy(magnitude.get(), x);
    const bool negative = magnitude->sign < 0;
    if (negative)
        lint_flip(magnitude.get());
    LintPtr divisor(int_to_newlint(n));
    LintPtr quotient(int_to_newlint(0));
    if (exact_division(magnitude.get(), divisor.get(), quotient.get()) != 0 ||
        !isZero(magnitude.get()))
        return nullptr;
    if (negative)
        lint_flip(quotient.get());
    regform(quotient.get());
    return quotient;
}

// Fills coefficients with N_ij^k from S.
void fusionCoefficients(int i, int j) {
    const int N = totalPrimaries();
    std::vector<double> rowRe(N), rowIm(N);
    auto row = [](int x) { return [x](int m, double* re, double* im) { compS(x, m, re, im); }; };
    productRow(N, row(i), row(j), row(0), rowRe.data(), rowIm.data());
    for (int k = 0; k < N; k++) {
        double value = 0.0;
        for (int m = 0; m < N; m++) {
            double sr, si;
            compS(k, m, &sr, &si);
            value += rowRe[m] * sr + rowIm[m] * si;
        }
        const int n = DoubleToInt(value);
        reportCoefficient("indicesFromFusion", 1, i, j, k, value, n);
        coefficients[k] = n;
    }
}

std::string characterFileName(SpectrumData* sd) {
    const char* name = SM_setIndexFileName(sd);
    if (!name)
        return "";
    std::string text = name;
    const std::string ending = "_indices";
    if (text.size() >= ending.size() &&
        text.compare(text.size() - ending.size(), ending.size(), ending) == 0)
        text.resize(text.size() - ending.size());
    return text + "_characters";
}

// One record of the index file: the labels, the dimension and the indices.
int appendIndexRecord(SpectrumData* sd, int u) {
    const char* name = SM_setIndexFileName(sd);
    FILE* ofp = name ? std::fopen(name, "a") : nullptr;
    if (!ofp) {
        Alert("indicesFromFusion", 5, 120306, "Cannot open index file %s\n", name ? name : "");
        return 1;
    }
    const int* labels = SM_getRep(sd, u);
    std::string record;
    for (int c = 0; c < sd->rank; c++)
        record += std::to_string(labels[c]) + " ";
    record += "\n";
    record += std::string(lint_string(indexEntry(sd, u, 0))) + "\n";
    for (int t = 1; t <= sd->rank; t++)
        record += std::string(lint_string(indexEntry(sd, u, t))) + "\n";
    // One write per record: processes sharing the file append whole records.
    std::fputs(record.c_str(), ofp);
    std::fclose(ofp);
    return 1;
}

// Subtracts the known fields of the decomposition from D and I; the one field left unknown goes
// to *undetermined with its multiplicity. False when two fields are unknown.
bool subtractKnown(SpectrumData* sd, lint* D, std::vector<LintPtr>& I, int* undetermined,
                   int* multiplicity) {
    *undetermined = -1;
    for (int k = 0; k < static_cast<int>(coefficients.size()); k++) {
        const int n = std::abs(coefficients[k]);
        if (n == 0)
            continue;
        lint_subtract(D, times(indexEntry(sd, k, 0), n).get());
        // An unknown field counts with none of its entries: the rest of the sums is its own.
        if (!indicesKnown(sd, k)) {
            if (*undetermined >= 0)
                return false;
            *undetermined = k;
            *multiplicity = n;
            continue;
        }
        for (int t = 0; t < sd->rank; t++)
            lint_subtract(I[t].get(), times(indexEntry(sd, k, t + 1), n).get());
    }
    return true;
}

} // namespace

int indicesFromFusion(int i, int j) {
    if (i == -1 && j == -1) {
        pairTableStale = true;
        return 0;
    }
    SpectrumData* sd = currentBlock();
    if (tensorMode() || !sd) {
        Alert("indicesFromFusion", 0, 100301, "Index computation meaningless in coset mode");
        return 0;
    }
    const int N = totalPrimaries();
    preparePairTable(N);
    if (i < 0 || j < 0 || i >= N || j >= N || pairDone[static_cast<std::size_t>(N) * j + i])
        return 0;
    if (!sd->Indices || !indicesKnown(sd, i) || !indicesKnown(sd, j))
        return 0;
    LintPtr D = times(indexEntry(sd, i, 0), 1);
    lint_multiply(D.get(), indexEntry(sd, j, 0));
    std::vector<LintPtr> I;
    for (int t = 1; t <= sd->rank; t++) {
        I.push_back(times(indexEntry(sd, i, t), 1));
        lint_multiply(I.back().get(), indexEntry(sd, j, 0));
        LintPtr other = times(indexEntry(sd, j, t), 1);
        lint_multiply(other.get(), indexEntry(sd, i, 0));
        lint_add(I.back().get(), other.get());
    }
    initSMATRIX();
    if (stopSignal == 1)
        return 0;
    fusionCoefficients(i, j);
    int u = -1, nu = 0;
    if (!subtractKnown(sd, D.get(), I, &u, &nu))
        return 0;
    pairDone[static_cast<std::size_t>(N) * j + i] = 1;
    if (!isZero(D.get()))
        return 0;
    if (u < 0) {
        for (int t = 0; t < sd->rank; t++)
            if (!isZero(I[t].get()))
                Alert("indicesFromFusion", 3, 100301,
                      "Non-zero index sum rule; index %d, fusion (%d)x(%d)\n", t, i, j);
        return 0;
    }
    // What is left is the multiplicity times the indices of the field.
    std::vector<LintPtr> found;
    std::vector<lint*> values;
    for (int t = 0; t < sd->rank; t++) {
        found.push_back(dividedExactly(I[t].get(), nu));
        if (!found.back())
            return 0;
        values.push_back(found.back().get());
    }
    SM_addIndex(sd, u, values.data());
    writeTensorProduct(i, j, u, coefficients.data());
    return appendIndexRecord(sd, u);
}

void writeTensorProduct(int i, int j, int newField, const int* coefficients) {
    SpectrumData* sd = currentBlock();
    if (!sd)
        return;
    // A field that occurs n times in the product is the rest divided by n.
    const int n = std::abs(coefficients[newField]);
    std::string text = "G " + std::string(SM_getCharacterName(sd, newField)) + " = ";
    if (n > 1)
        text += "(";
    text += std::string(SM_getCharacterName(sd, i)) + " * ";
    text += SM_getCharacterName(sd, j);
    char term[64];
    for (int k = 0; k < totalPrimaries(); k++) {
        if (k == newField || coefficients[k] == 0)
            continue;
        std::snprintf(term, sizeof term, "\n -%d * %s ", coefficients[k],
                      SM_getCharacterName(sd, k));
        text += term;
    }
    if (n > 1)
        text += ")/" + std::to_string(n);
    text += ";\n#call fixfac{}\n.store";
    const std::string name = characterFileName(sd);
    if (!name.empty())
        addStringToFile(name.c_str(), text.c_str());
}

namespace {

bool allFirstIndicesKnown(SpectrumData* sd) {
    for (int f = 1; f < sd->Nprimaries; f++)
        if (!firstIndexKnown(sd, f))
            return false;
    return true;
}

// One pass over the pairs of known fields; the number of fields found, -1 when stopped.
int indexIteration(SpectrumData* sd, int round, int known) {
    const int N = sd->Nprimaries;
    char title[100];
    std::snprintf(title, sizeof title, "Computing indices (iteration %d, known %d)", round, known);
    startProgressInfo(title, N * (N + 1.0) / 2.0, 1);
    int found = 0;
    for (int i = 1; i < N; i++)
        for (int j = i; j < N; j++) {
            if (incrementProgressInfo()) {
                stopProgressInfo(title);
                return -1;
            }
            if (firstIndexKnown(sd, i) && firstIndexKnown(sd, j))
                found += indicesFromFusion(i, j);
        }
    stopProgressInfo(title);
    return found;
}

} // namespace

void computeIndices() {
    if (IndicesComputed == 1)
        return;
    SpectrumData* sd = currentBlock();
    if (tensorMode() || !sd) {
        Alert("indicesFromFusion", 0, 100301, "Index computation meaningless in coset mode");
        return;
    }
    int known = SM_loadIndices(sd);
    if (known < 0)
        return;
    const int N = sd->Nprimaries;
    if (known < N) {
        Print("Determining indices; Character expansion in file %s\n",
              characterFileName(sd).c_str());
        Print("Characters are expressed in terms of %d previously determined ones\n", known);
    }
    for (int round = 1;; round++) {
        if (N < 2 || allFirstIndicesKnown(sd)) {
            Print("All indices determined\n");
            IndicesComputed = 1;
            return;
        }
        initSMATRIX();
        if (stopSignal == 1)
            return;
        const int found = indexIteration(sd, round, known);
        if (found <= 0)
            return;
        known += found;
    }
}

char* computeIndicesSingle(int lbl, char* txt) {
    SpectrumData* sd = currentBlock();
    if (!sd || SM_loadIndices(sd) < 0)
        return txt;
    if (!firstIndexKnown(sd, lbl))
        computeIndices();
    if (!firstIndexKnown(sd, lbl)) {
        Alert("computeIndicesSingle", 0, 100302, "Cannot determine indices for repr. %d\n", lbl);
        return txt;
    }
    const int* orders = indexOrders(sd->type, sd->rank);
    std::string text = "Field " + std::to_string(lbl) +
                       "\nDimension = " + lint_string(indexEntry(sd, lbl, 0)) + "\n";
    for (int t = 1; t <= sd->rank; t++)
        text += "Index[" + std::to_string(orders[t - 1]) +
                "] = " + (indexEntry(sd, lbl, t) ? lint_string(indexEntry(sd, lbl, t)) : "?") +
                "\n";
    if (!txt) {
        Print("%s", text.c_str());
        return txt;
    }
    std::copy(text.begin(), text.end(), txt);
    txt += text.size();
    *txt = '\0';
    return txt;
}
