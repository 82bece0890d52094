// The commands on P, P-fusion, Frobenius-Schur indicators, fixed-point fusion and indices of the
// current theory, and the checks of its modular data.
#pragma once

// Hands the commands over to the registration.
void installCheckCommands();

int COM_pmatrix(void** commands, int parnum);
int COM_pfusion(void** commands, int parnum);
int COM_get_Schur(void** commands, int parnum);
int COM_get_GenSchur(void** commands, int parnum);
int COM_check_fusion(void** commands, int parnum);
int COM_check_mod(void** commands, int parnum);
int COM_check_hopf(void** commands, int parnum);
int COM_check_pmat(void** commands, int parnum);
int COM_checkEtaRelation(void** commands, int parnum);
int COM_brix(void** commands, int parnum);
int COM_indices(void** commands, int parnum);
int COM_fp_fusion(void** commands, int parnum);

// (-1) to the power (a, b + rho) + c |a|^2 / 2, the exponent made an integer first.
int getPmatrixSign(int type, int rank, const double* a, const double* b, int c);
