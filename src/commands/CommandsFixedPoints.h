// The commands on fixed points of the current building block: its fixed-point theories, the
// shifts, the resolution matrices S^J and the orbit Lie algebra matrices, the twists F and the
// eta phases with their consistency checks, and the simple-current summary.
#pragma once

#include "numeric/MathUtility.h"

// Hands the commands over to the registration.
void installFixedPointCommands();

// "algebra fcft" after the "algebra" command has discarded the modular data.
int COM_fcft(void** commands, int parnum);
int COM_fcft2(void** commands, int parnum);
int COM_get_fcftshift(void** commands, int parnum);
int COM_etatwist(void** commands, int parnum);
int COM_browse_twist(void** commands, int parnum);
int COM_check_class(void** commands, int parnum);
int COM_get_twist(void** commands, int parnum);
int COM_S_fix(void** commands, int parnum);
int COM_S_ola(void** commands, int parnum);
// "check fp_conj": (S^J)^2 against conjugation, for created and fixed-point theories only.
int COM_check_fpconj(void** commands, int parnum);
int COM_browse_eta(void** commands, int parnum);
int COM_check_twists(void** commands, int parnum);
int COM_check_twist_prod(void** commands, int parnum);
int COM_browse_simple(void** commands, int parnum);

// Writes the phase exp(2 pi i eta) as " 1", "-1", " i", "-i" or "d^n", padded with blanks to the
// width w; "***" when it does not fit. Returns the end of the text.
char* etaStr(char* txt, const rat* eta, int w);
