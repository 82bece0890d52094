# Type I: D8 level 1 extended by the spinor s, read as a superstring, has one primary and one
# boundary; ten dimensions give the multiplicity 2^5 = 32 and the orthogonal stack takes it all:
# SO(32). The second start is type 0 (D8 level 1 alone) with the Klein bottle current 0: four
# self-conjugate orthogonal boundaries (vacuum, spinor s, vector v, spinor c) with the rows
# N_0 + N_s = 32, N_0 = N_v, N_s = N_c, so SO(n) x SO(n) on vacuum and vector and
# SO(32 - n) x SO(32 - n) on the spinors, n = 0..32: 33 solutions. Its open strings may hold
# tachyons, which are allowed here.
set Tadpole show_solution on
tensor
g d 8 1
current 1
set Super on
compute spectrum
solve tadpole
