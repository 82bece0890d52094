# Under "Super" the first factor is the covariant lattice and each field's ground states are
# sorted by the classes of the algebra the lattice is extended to.
# D5_1 x D5_1 x D4_1 (c = 14 = 18 - 4, an implicit E8) with (v,v): the weight-one currents
# (v,v) fill the 10 x 10 of D10 over D5 x D5, so the lattice is extended to D10. The orbit
# {(v,0),(0,v)} is the 20 of D10, the D4 factor adds 8 singlets per vector, and the two spinor
# orbits are the 512 of D10, whose chirality D5 cannot tell.
set Super
tensor
g d 5 1
g d 5 1
g d 4 1
current 2 2 0
compute spectrum
list Dimensions
list Contents
display
# D5_1 x A3_1 x E6_1 with (s,J): D5 x A3 lies in D8, and the currents of weight 5/8 + 3/8 add
# the 128 to make E8, which has one class: all contents are singlets (the 27 of E6 counts 27).
reset tensor
g d 5 1
g a 3 1
g e 6 1
current 1 1 0
compute spectrum
display
# A non-integer space-time dimension (c = 15.5) leaves the contents unavailable.
g a 1 2
compute spectrum
list Contents
display 0 1
