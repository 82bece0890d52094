// The names of a tensor product: its code in file names, the identifier made of its levels, and
// the command lines that rebuild it.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "lie/Tarvik.h"
#include "store/Storemanager.h"
#include "tensor/CosetInternal.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

using namespace coset_internal;

namespace {

GuardedArray<char> code("code", cosetAlloc());
GuardedArray<char> fileName("name", cosetAlloc());

// Identifiers and factor lists stay within 18 decimal digits.
constexpr std::int64_t DigitLimit = 1000000000000000000LL;

char* keep(GuardedArray<char>& buffer, const std::string& text) {
    char* out = buffer.reserve(static_cast<int>(text.size()) + 1);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

// Blocks made by the system have no type letters of their own: minimal models are written as
// the N=2 models are, theories made from products by a word without rank and level.
std::string triple(const SpectrumData* sd) {
    if (sd->type == 9)
        return "CFT";
    if (sd->type == 10)
        return "FCFT";
    const std::string letters = sd->type == 6 ? "M" : algebraTypeString(sd->type, sd->rank);
    return letters + std::to_string(sd->rank) + "_" + std::to_string(sd->level);
}

// A factor in superstring mode, and whether a "*" may follow it.
std::string superFactor(const SpectrumData* sd, bool& separated) {
    separated = false;
    if ((sd->type == 6 || sd->type == 27) && sd->rank == 2)
        return std::to_string(sd->level);
    if (sd->type == 6 && sd->rank == 0 && sd->level == 1)
        return "I";
    if (sd->type == 0 && sd->rank == 4)
        return "D";
    separated = true;
    return triple(sd);
}

std::string currentLines(TensorProduct* TP) {
    std::string text;
    for (int i = 0; i < rowCount(TP->Currents); i++) {
        text += "current ";
        for (int k = 0; k < TP->NTensor; k++)
            text += std::to_string(getCurrentsEntry(TP, i, k)) + " ";
        text += "\n";
    }
    return text;
}

std::string commandLines(TensorProduct* TP) {
    std::string text = "tensor\n";
    for (int k = 0; k < TP->NTensor; k++)
        text += std::string(TP->GH[k] == 0 ? "G " : "H ") + SM_algCommand(factor(TP, k)) + "\n";
    return text + currentLines(TP);
}

// The decimal places that appending a level takes.
std::int64_t placesOf(int level) {
    if (level <= 9)
        return 10;
    if (level <= 99)
        return 100;
    if (level <= 999)
        return 1000;
    return 10000;
}

} // namespace

char* getTensorCode(TensorProduct* TP) {
    std::string text;
    if (!superMode()) {
        for (int k = 0; k < TP->NTensor; k++) {
            if (k > 0)
                text += "*";
            text += triple(factor(TP, k));
        }
        return keep(code, text);
    }
    for (int k = heteroticFactors(); k < TP->NTensor; k++) {
        bool separated = false;
        text += superFactor(factor(TP, k), separated);
        if (separated && k < TP->NTensor - 1)
            text += "*";
    }
    return keep(code, text);
}

char* getCurrentTensorFileName(const char* outdir, const char* prefix, const char* postfix) {
    return keep(fileName,
                std::string(outdir) + prefix + getTensorCode(getCurrentTensor()) + postfix);
}

std::int64_t fileIdentifier() {
    int n = 0;
    const int* level = getCurrentLevels(&n);
    if (n < 2)
        return 0;
    std::int64_t id = 0;
    for (int k = 1; k < n; k++) {
        const std::int64_t places = placesOf(level[k]);
        if (id > (DigitLimit - 1 - level[k]) / places) {
            Alert("fileIdentifier", 0, 100302,
                  "The levels of the tensor factors give an identifier of more than 18 digits");
            return -1;
        }
        id = id * places + level[k];
    }
    return id;
}

std::int64_t convertFactorList(int n, const int* list) {
    std::string digits;
    for (int i = 0; i < n; i++)
        digits += std::to_string(list[i]);
    if (digits.empty())
        return 0;
    std::int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [at, ec] = std::from_chars(digits.data(), end, value);
    if (ec != std::errc() || at != end || value >= DigitLimit || value < 0) {
        Alert("convertFactorList", 0, 100302, "Factor list %s is not a number of at most 18 digits",
              digits.c_str());
        return -1;
    }
    return value;
}

void printTensorData(TensorProduct* TP) {
    Print("%s", commandLines(TP).c_str());
}

void writeCosetCommands(TensorProduct* TP, FILE* file) {
    std::fputs(commandLines(TP).c_str(), file);
}

void writeCurrents(FILE* file) {
    std::fputs(currentLines(getCurrentTensor()).c_str(), file);
}

void printCosetHeader(TensorProduct* TP, FILE* ofp) {
    if (!TP)
        TP = getCurrentTensor();
    std::fprintf(ofp, "Spectrum of the tensor product of \n");
    for (int k = 0; k < TP->NTensor; k++)
        std::fprintf(ofp, "         %s   \n", SM_getAlgebraName(factor(TP, k)));
    if (rowCount(TP->Currents) == 0)
        return;
    std::fprintf(ofp, "\nWith simple currents \n");
    char label[32];
    for (int i = 0; i < rowCount(TP->Currents); i++) {
        std::fprintf(ofp, "      (");
        for (int k = 0; k < TP->NTensor; k++) {
            currentLabel(factor(TP, k)->type, getCurrentsEntry(TP, i, k), label);
            std::fprintf(ofp, k < TP->NTensor - 1 ? "%s," : "%s)", label);
        }
        std::fprintf(ofp, "\n");
    }
}

void writeCosetToLog(TensorProduct* TP) {
    writeLog("-----------Computing spectrum for coset:------------\n");
    writeLog("Number of coset factors %d; Currents: %d\n", TP->NTensor, rowCount(TP->Currents));
    writeLog("Type, rank, level, GH\n");
    for (int k = 0; k < TP->NTensor; k++) {
        const SpectrumData* sd = factor(TP, k);
        writeLog("  %d    %d    %d    %d\n", sd->type, sd->rank, sd->level, TP->GH[k]);
    }
    writeLog("Currents\n");
    for (int i = 0; i < rowCount(TP->Currents); i++) {
        for (int k = 0; k < TP->NTensor; k++)
            writeLog("%d ", getCurrentsEntry(TP, i, k));
        writeLog("\n");
    }
    writeLog("----------------------------------------------------\n");
}
