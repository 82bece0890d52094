# E8 at level 1 has one orientifold: number 1 is refused once the context is built, before any
# file is written (the second start finds none).
tensor
g d 8 1
current 1
set Super on
compute spectrum
set SM_search new_search on
search sm_solution 1 7
