// The commands of the unoriented string: orientifold choice and displays, crosscaps and the
// Ishibashi metric, the annulus, Moebius strip and Klein bottle tables, and the checks of the
// amplitudes. They run under the Boundary mode's open-string hooks.
#pragma once

// Hands the commands over.
void installUnorientedCommands();
// The orientifold list and its counts (CommandsOrientifoldList.cpp).
void installOrientifoldListCommands();
// For the commands under the oriented hook, which does not refuse a non-symmetric invariant
// itself: it has no orientifold. Alerts with the unoriented hook's text.
bool refuseNonSymmetricInvariant();

int COM_annulus(void** commands, int parnum);
int COM_moebius(void** commands, int parnum);
int COM_klein(void** commands, int parnum);
int COM_crosscoeff(void** commands, int parnum);
int COM_ishi_metric(void** commands, int parnum);
int COM_browse_signs(void** commands, int parnum);
int COM_browse_orientifold(void** commands, int parnum);
int COM_browse_boundary_conjugation(void** commands, int parnum);
int COM_classalg(void** commands, int parnum);
int COM_set_crosscap(void** commands, int parnum);
int COM_crosssign(void** commands, int parnum);
int COM_check_closed(void** commands, int parnum);
int COM_check_open(void** commands, int parnum);
int COM_check_projection(void** commands, int parnum);
int COM_check_full_open(void** commands, int parnum);
int COM_check_annulus(void** commands, int parnum);
int COM_check_nim_moebius(void** commands, int parnum);
int COM_check_nim_klein(void** commands, int parnum);
int COM_check_trace_formula(void** commands, int parnum);
int COM_localize_boundary(void** commands, int parnum);
int COM_localize_crosscap(void** commands, int parnum);
int COM_boundary_permutations(void** commands, int parnum);
