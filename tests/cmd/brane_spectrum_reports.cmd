# Spectrum reports of given Chan-Paton multiplicities in ten dimensions, from D8 at level 1
# (fields: 0 vacuum o, 1 spinor s, 2 vector v of weight 1/2, 3 spinor c; boundary a is the Cardy
# boundary of field a).
# Type I: 32 branes on the one boundary of E8 carry SO(32), 32*31/2 = 496 gauge bosons in one
# ten-dimensional vector multiplet; E8 has a single class, so there is no open matter, and the
# closed string is N=1 supergravity.
tensor
g d 8 1
current 1
set Super on
compute spectrum
set Tadpole show_spectrum on
set Tadpole detailed_spectrum on
set Tadpole show_solution on
check CP 0:32
# Type 0B with the trivial Klein bottle current: 16 branes on each of O, S, V, C solve the
# tadpoles, but the vector joins (O,V) and (S,C) and is a tachyon, so the solution is refused
# until tachyons are allowed. Then SO(16)^4 has 4*120 = 480 gauge bosons; the spinor s gives the
# fermions of one chirality in (O,S)+(V,C), the spinor c those of the other in (O,C)+(S,V), and
# the tachyons sit in (O,V)+(S,C): 2*16*16 states per bifundamental, 512 per class.
reset tensor
g d 8 1
compute spectrum
check CP 0:16 1:16 2:16 3:16
set Tadpole allow_tachyons on
check CP 0:16 1:16 2:16 3:16
# The bosonic reading has no open-spectrum analysis yet (su(3) level 1: Sp(4096) on boundary 0).
set Super off
single
algebra a 2 1
check CP 0:4096
