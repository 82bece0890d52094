# The statistics hold the types 0 to 19; type 20 is refused.
tensor
g d 8 1
current 1
set Super on
compute spectrum
search sm_solution 0 20
