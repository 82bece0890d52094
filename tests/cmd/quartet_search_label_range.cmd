# E8 at level 1 has one boundary: label 1 for stack b is refused, before any file is written.
tensor
g d 8 1
current 1
set Super on
compute spectrum
set SM_search new_search on
search sm_solution 0 7 0 1
