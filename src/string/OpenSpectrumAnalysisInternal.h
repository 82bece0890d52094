// What the files of the spectrum reports share among themselves.
#pragma once

// Reports an odd A - M and an annulus smaller than |M| of field i on label a; `where` adds the
// field and label to the parity text.
void amplitudeChecks(const char* routine, int i, int a, int A, int M, bool where);
