// Few-brane solutions of the tadpole conditions: the zero configuration and every choice of one
// to four loop variables, each choice solved exactly, and the enumeration of all subsets of one
// size with its line in the ".fbd" statistics file.
#include "string/TadpoleSolver.h"

namespace {

const char* noModelName() {
    return "UNDEFINED";
}

const char* (*modelName)() = noModelName;

} // namespace

void setModelNameHook(const char* (*hook)()) {
    modelName = hook ? hook : noModelName;
}
