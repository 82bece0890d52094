// Scans over the simple-current invariants of the current superstring theory: one line of
// Hodge numbers, heterotic singlets and supersymmetries per invariant in a data file of the
// output directory, counted summaries of the distinct lines, and restart after an interruption.
#pragma once

#include <string>
#include <vector>

// Hands the commands over to the registration.
void installScanCommands();

// The path of name in the output directory, which is made when it does not exist yet.
std::string outputDirFile(const std::string& name);

// Mode 0 Hodge numbers (".hodge"), 1 invariant data (".mipf_data"); store 1 keeps the invariants.
void HodgeScan(std::string file, int mode, int store);
// Rebuilds the scan collection from a data file; 1 when it ends with the end line.
int readHodgeData(const std::string& file, int* next, int* lastSubgroup, int* lastLabel);
// 1 when row a comes before row b in a summary, -1 when after, 0 when equal.
int compareHodgeVec(int size, const int* a, const int* b);
// Empties the scan collection; rows of mode + 10 entries told apart by their first mode + 8.
void resetScanCollection(int mode);
