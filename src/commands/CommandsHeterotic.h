// The commands of the heterotic computation: the set-up ("compute heterotic"), the filter
// ("add filter", "filter random", "reset filter", "compute filter"), algebra patterns, names of
// particle representations and the selection of representations.
#pragma once

// Hands the commands over to the registration.
void installHeteroticCommands();

int COM_compute_heterotic(void** commands, int parnum);
int COM_filter(void** commands, int parnum);
int COM_filter_random(void** commands, int parnum);
int COM_reset_filter(void** commands, int parnum);
int COM_compute_filter(void** commands, int parnum);
int COM_pattern_algebra(void** commands, int parnum);
int COM_pattern_reset(void** commands, int parnum);
int COM_set_repname(void** commands, int parnum);
int COM_sel_rep(void** commands, int parnum);
