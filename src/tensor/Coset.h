// Tensor products and cosets of building blocks extended by simple currents.
#pragma once

#include <cstdio>

struct TensorProduct;

void initializeCoset();
// With TP null it describes the current tensor product.
void printCosetHeader(TensorProduct* TP, FILE* ofp);

// Cells and availability tests of "TensorSpectrum" and "Decomposition".
char* CT_getLabelString(char* txt, void* row, int lbl);
char* CT_getCombinationString(char* txt, void* row, int lbl);
char* CT_getWeightString(char* txt, void* row, int lbl);
char* CT_getRatWeightString(char* txt, void* row, int lbl);
char* CT_getDimString(char* txt, void* row, int lbl);
char* CT_getInfoString(char* txt, void* row, int lbl);
char* CT_getFPLabelString(char* txt, void* row, int lbl);
char* CT_getFPMultString(char* txt, void* row, int lbl);
char* CT_getConjString(char* txt, void* row, int lbl);
char* CT_getDecompositionString(char* txt, void* row, int lbl);
int CT_initDimensions(void* row);
int CT_initContents(void* row);
int CT_ConjugatesAvailable(void* row);
char* CT_getDecompVectorString(char* txt, void* row, int lbl);
char* CT_getDecompWeightString(char* txt, void* row, int lbl);
char* CT_getDecompDimString(char* txt, void* row, int lbl);
int CT_initDecompDimensions(void* row);
