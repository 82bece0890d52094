// Output file names of the current theory: one rule names every result file of the searches,
// spectra and scans, sorted in the output directory by theory, by extension or supersymmetry
// class and by bulk invariant. Both functions create the directory the file goes into and fall
// back to "/tmp" when that fails. The boundary-range tag the names end with is kept here too, and
// the supersymmetric-search flag that chooses between the supersymmetric and the other names.
#pragma once

// The full file name for the current theory and bulk invariant: the output directory, the
// prefix "OutputFilePrefix", the theory part, the extension or supersymmetry part, the invariant
// number (three digits, four once more than 999 invariants are stored), the boundary-range tag
// and postfix. The text stays valid until the next call of the same function; it has no length
// limit.
char* getCurrentOutputFileName(const char* postfix);
// The same without the "_" and the invariant number: the name of files of the extension as a
// whole.
char* getCurrentOutputFileNameForExtension(const char* postfix);

// The boundary-range tag "[a:b]" of the output file names; a = -1 empties it.
void setBoundaryLimitString(int a, int b);
const char* getBoundaryLimitString();

// ---- Stand-in: the supersymmetric-search flag ----
// The flag belongs to the search set-up of the string layer, which lies above this one; until
// that is built it lives here, and the output file names read it afresh at each call. Once the
// string layer owns it, this becomes the hook through which the names ask for it.

// 1 (the initial value) while the searches look for supersymmetric models, else 0.
int getSusySearch();
void setSusySearch(int value);
