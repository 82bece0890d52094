# so(8) at level 1 twice: from su(3) at level 3 extended by its current (weight 3 x 2 / 6 = 1),
# whose fixed point (1,1), of weight 3 / 6 = 1/2, is resolved into three fields (its stabilizer
# Z3 is untwisted); and from four A1 at level 1 extended by (J,J,J,J), whose four simple
# currents of weights 0 and 1/2 are the fields of so(8)_1. Both have 8 + 2 x 10 = 12 + 16 = 28
# spin-one currents.
tensor
g a 2 3
current 1
compute spectrum
display
browse Lie
browse decomposition 1
reset tensor
g a 1 1
g a 1 1
g a 1 1
g a 1 1
current 1 1 1 1
compute simple_current_spectrum
display simple
compute spectrum
display
browse Lie
browse chiral_algebra
# The four labels (J,J,0,0) form a field: with weight 1/2 its orbit generator is (0,0,J,J).
identify 1 1 0 0
identify 1 0 0 0
