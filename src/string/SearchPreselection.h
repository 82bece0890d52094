// What a quartet search is restricted to: one orientifold and boundaries fixed for the positions
// a to d (-1 leaves a choice free), and the report of why no search can run.
#pragma once

void setOrientifoldPreselection(int select);
void setBoundary_a_Preselection(int select);
void setBoundary_b_Preselection(int select);
void setBoundary_c_Preselection(int select);
void setBoundary_d_Preselection(int select);
int getOrientifoldPreselection();
int getBoundary_a_Preselection();
int getBoundary_b_Preselection();
int getBoundary_c_Preselection();
int getBoundary_d_Preselection();
// "Boundary selection: " and the four positions, "*" for a free one.
void PrintBoundarySelection();
// Frees every pre-selection and reports: 0 "Representation content not available" (result 1),
// 1 "Not a fermionic string" (2), 2 "Not a four-dimensional CY compactified string" (3),
// 3 "Aborted" (4), any other code "Unknown error" (0).
int Type_IIB_Error(int code);
// The same report, the pre-selections kept.
int reportTypeIIBError(int code);
// 1 when boundary class cls is compatible with the pre-selection: a position is free, or the
// class holds a pre-selected boundary or its image under the pre-selected orientifold.
int BoundaryClassPreselectionCheck(int cls);
