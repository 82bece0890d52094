// Placeholder until named parameters exist: no parameter is known.
#include "runtime/Parameters.h"

void* getIntParPointer(const char*) { return nullptr; }

void setIntPar(const char*, int) {}
