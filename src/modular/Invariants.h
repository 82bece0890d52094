// The store of bulk modular invariants.
#pragma once

void initializeInvariants();
char* getBulkInvariantString(char* txt, void* row, int lbl);
void permutationRejectionChanged();
