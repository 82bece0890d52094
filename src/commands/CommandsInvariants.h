// The commands of the bulk invariant store and of the selection criteria. Handlers take the
// converted arguments: texts for names, pairs and command lines, ints for currents and numbers.
#pragma once

// Hands the commands over.
void installInvariantCommands();

int COM_tot_inv(void** params, int parnum);
int COM_store_bulk(void** params, int parnum);
int COM_list_inv(void** params, int parnum);
int COM_browse_bulkinvariant(void** params, int parnum);
int COM_browse_MIPF(void** params, int parnum);
int COM_set_conjug(void** params, int parnum);
int COM_mult_bulk(void** params, int parnum);
int COM_close_mult(void** params, int parnum);
int COM_close_mult_display(void** params, int parnum);
int COM_transpose_bulk(void** params, int parnum);
int COM_conj_bulk(void** params, int parnum);
int COM_reset_invariants(void** params, int parnum);
int COM_reset_selection(void** params, int parnum);
int COM_show_sel_crit(void** params, int parnum);
int COM_sel_left(void** params, int parnum);
int COM_sel_right(void** params, int parnum);
int COM_sel_left_any(void** params, int parnum);
int COM_sel_right_any(void** params, int parnum);
int COM_sel_extension(void** params, int parnum);
int COM_forbid_left(void** params, int parnum);
int COM_forbid_right(void** params, int parnum);
int COM_sel_auto(void** params, int parnum);
int COM_set_prim_vacuum(void** params, int parnum);
int COM_set_loop_com(void** params, int parnum);
int COM_set_autosel(void** params, int parnum);
int COM_set_sel_int(void** params, int parnum);
int COM_subgroup_start(void** params, int parnum);
int COM_comp_inv(void** params, int parnum);
int COM_set_bulk(void** params, int parnum);
int COM_scan_MIPFloop(void** params, int parnum);
int COM_scan_sim(void** params, int parnum);
int COM_load_sim(void** params, int parnum);
int COM_check_invariant(void** params, int parnum);
int COM_select_invariant(void** params, int parnum);
int COM_set_exceptional(void** params, int parnum);
int COM_find_auto(void** params, int parnum);
int COM_find_inv(void** params, int parnum);
