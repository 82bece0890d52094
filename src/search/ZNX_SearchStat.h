// The statistics file ".stat" of a quartet search and its three small companions ".err",
// ".glob" and ".trace", each named after the current output file name.
#pragma once

// The program's version and build stamp for the header; start-up installs them.
void setStatFileStamp(double version, const char* date, const char* time);

// Moves an earlier search's files to the first free "_0", "_1", ... and writes the header,
// ending in the unfinished "> " line of the bulk invariant.
void initStatFile();
// Completes the "> " line with the usable boundaries and the invariant's generation data.
void writeMIPFDataToStatFile();
// One line per quartet type with its entries per orientifold; the count check goes to ".err".
void writeStat(int type);
// The closing text: 1 non-chiral, 2 boundary error, 3 too few usable boundaries, 4 end of a new
// search, 5 end of a resumed search, 6 as 4 with the read counters, other values the time line.
void closeStatFile(int mode);

void writeTadpoleError(const char* txt);
void writeGlobalAnomalyInfo(const char* txt);
void writeTadpoleTrace(const char* txt);
