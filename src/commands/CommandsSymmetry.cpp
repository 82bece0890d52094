// "get permutation", "compute permutations", "Browse permutations" and "set custom_perm".
#include "commands/CommandsSymmetry.h"

#include "commands/Commands.h"
#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "numeric/Permutations.h"
#include "numeric/Sorting.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace commands;

bool commands::readAssignment(const char* entry, int* i, int* j) {
    const std::string text = entry;
    const std::size_t colon = text.find(':');
    // An empty half is no number, though the number reader would take it as 0.
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return false;
    return strnumChk(text.substr(0, colon).c_str(), i) == 0 &&
           strnumChk(text.substr(colon + 1).c_str(), j) == 0;
}

namespace {

// The exchange of factors needs the computed spectrum of a tensor product.
bool refusedOutsideProduct(const char* routine) {
    if (cosetSwitch() == 1)
        return false;
    Alert(routine, 1, 100302, "Command only works in tensor mode");
    return true;
}

void printRows(const VectorSpace* rows, int size) {
    for (int r = 0; r < rows->Nfill; r++) {
        char text[32];
        std::snprintf(text, sizeof text, "P(%3d): ", r);
        PrintVec(size, rowOf(rows, r), text);
    }
}

void browseProductSymmetries() {
    TensorProduct* TP = getCurrentTensor();
    const VectorSpace* rows = CT_getCurrentOuterAutomorphisms(TP);
    if (!rows || rows->Nfill == 0) {
        Print("No symmetrization available\n");
        return;
    }
    Print("The following tensor product outer automophisms are known\n");
    printRows(rows, TP->TensorSimpleCurrentOrder);
}

void browseBlockSymmetries() {
    SpectrumData* sd = getCurrentSD();
    if (!sd) {
        Print("No symmetrization available\n");
        return;
    }
    // A theory created from a product carries the product's symmetries, which the block's own
    // rules would replace by conjugation alone.
    if (sd->type != 9)
        SM_getCurrentOuterAutomorphisms(sd);
    const VectorSpace* rows = sd->CurrentOuterAutomorphisms;
    if (!rows || rows->Nfill == 0) {
        Print("No symmetrization available\n");
        return;
    }
    Print("The following algebra outer automophisms are known\n");
    printRows(rows, sd->SimpleCurrents ? sd->SimpleCurrents->Order : 1);
}

const CommandDefinition modularDataCommands[] = {
    {"get permutation", "[int a][int b][field i]", COM_permutate,
     "Work out the effect of permutating factors \"a\" and \"b\" on field \"i\"."},
    {"compute permutations", "[int a][int b](entry_1)...(entry_n)", COM_permutations,
     "Work out the effect of permutating factors \"a\" and \"b\" on all\nfields. Parameter "
     "\"entry_i\" is of the form i:j,\nand its function is to suggest that the permutation\nof "
     "\"i\" is \"j\" in cases of degeneracies."},
};

const CommandDefinition browseCommands[] = {
    {"Browse permutations", "", COM_symmetrize,
     "Display permutation/outer automorphism symmetries among simple currents."},
};

const CommandDefinition theoryCommands[] = {
    {"set custom_perm", "[filename]", COM_custom_perm,
     "set customized permutation file\nPermutations of more than 9 identical tensor factors are "
     "read\nfrom this file, one permutation of 0,...,N-1 per line. Only one\nsuch permutation "
     "is supported; its powers and products are added."},
};

} // namespace

int COM_permutate(void** params, int parnum) {
    if (refusedOutsideProduct("COM_permutate"))
        return 1;
    const int i = intArgument(params, 2);
    if (refuseUncomputedField("COM_permutate", 0, i))
        return 1;
    const int image =
        ComputePermutation(getCurrentTensor(), intArgument(params, 0), intArgument(params, 1), i);
    if (image == -1)
        return 1;
    if (image >= 0)
        Print("%d <==> %d\n", i, image);
    return -parnum;
}

int COM_permutations(void** params, int parnum) {
    if (refusedOutsideProduct("COM_permutations"))
        return 1;
    std::vector<int> first, second;
    for (int k = 2; k < parnum; k++) {
        int i = 0, j = 0;
        if (!commands::readAssignment(textArgument(params, k), &i, &j)) {
            Alert("COM_permutations", 0, 100302, "Invalid assignment: %s\n",
                  textArgument(params, k));
            return -1;
        }
        first.push_back(i);
        second.push_back(j);
    }
    const int* images =
        CloseTensorPermutations(getCurrentTensor(), intArgument(params, 0), intArgument(params, 1),
                                static_cast<int>(first.size()), first.data(), second.data());
    return images ? -parnum : 1;
}

int COM_symmetrize(void**, int parnum) {
    if (cosetSwitch() == 1)
        browseProductSymmetries();
    else
        browseBlockSymmetries();
    return -parnum;
}

int COM_custom_perm(void** params, int parnum) {
    setManualPermutations(textArgument(params, 0));
    return -parnum;
}

void installSymmetryCommands() {
    addCommandFamily(CommandFamily::ModularData, modularDataCommands);
    addCommandFamily(CommandFamily::Browse, browseCommands);
    addCommandFamily(CommandFamily::Theory, theoryCommands);
}
