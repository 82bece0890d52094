// The commands that show the current building block: its spectrum table and columns, the blocks
// in store, summaries of the theory and its Lie algebra, the Weyl group and Gauss sums.
#pragma once

// Hands the commands over to the registration and lets the spectrum cells see the command set's
// switch "massless_only".
void installDisplayCommands();

int COM_display(void** commands, int parnum);
int COM_display_entry(void** commands, int parnum);
int COM_restore(void** commands, int parnum);
int COM_suppress(void** commands, int parnum);
int COM_newcol(void** commands, int parnum);
int COM_browse_alg(void** commands, int parnum);
int COM_cc(void** commands, int parnum);
int COM_browse_cft(void** commands, int parnum);
// "browse stabilizer": registered disabled; the stabilizer table of a product's field.
int COM_browse_stab(void** commands, int parnum);
int COM_browse_spin1(void** commands, int parnum);
int COM_Cartan(void** commands, int parnum);
int COM_expand(void** commands, int parnum);
int COM_weylOrder(void** commands, int parnum);
int COM_weylmult(void** commands, int parnum);
int COM_weylGroup(void** commands, int parnum);
int COM_weyl(void** commands, int parnum);
int COM_weylorbit(void** commands, int parnum);
int COM_dynkinweylsignorbit(void** commands, int parnum);
int COM_Gauss(void** commands, int parnum);
int COM_weylsignorbit(void** commands, int parnum);
