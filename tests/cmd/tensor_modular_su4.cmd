# su(4) at level 1 from two A1 at level 2 extended by (J, J): field 0 the vacuum, 1 the 6 (weight
# 1/2), 2 and 3 the 4 and the 4-bar (weight 3/8; the doublets (s,s), fixed by (J,J) and resolved).
# S = (1/2) [[1, 1, 1, 1], [1, 1, -1, -1], [1, -1, i, -i], [1, -1, -i, i]]; fusion is Z_4 with the
# 4 as generator: 4 x 4 = 6, 4 x 4-bar = 1, 6 x 4 = 4-bar; the 6 is self-conjugate. The current
# 6 of the product moves the 4 to the 4-bar, which share their labels: the twist of the current
# against the stabilizer of (s,s) tells them apart.
tensor
g a 1 2
g a 1 2
current 1 1
compute spectrum
s
fusion 2 2
get conjugate 2
check unitarity
expand 2
fusion
simple_fusion 1 2
simple_fusion 1
# -2 is the conjugate of 2
s -2 2
display entry Conj 2
# Q = h(6) + h(4) - h(4-bar) = 1/2
get charge 1 2
get order 1 2
orbit 1 2
browse fixed_points 1
check symmetry
check conjugates
check orbits
# Only the vacuum and the 6 are simple currents of the product; the 4 and the 4-bar have quantum
# dimension 1 as well (S_00 = S_02 = S_03) and are found from S.
browse simple_currents
