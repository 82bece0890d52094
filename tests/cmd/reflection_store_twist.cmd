# Reflection coefficients agree between the orbit store and the closed formula. su(4) level 2
# extended by J^2 (weight 1): |0 + 2|^2 + |1 + 3|^2 + 2|8|^2 + 2|9|^2 with the fixed points
# 8 = (1,0,1) and 9 = (0,1,0) of J^2, exchanged by J with the twist F_8(J, J^2) = -1. The
# Ishibashi labels 5 = (8, J^2) and 7 = (9, J^2) lie in one orbit. The resolution matrix obeys
# S^J(J a, b) = F_a(J, J^2) exp(2 pi i Q_J(b)) S^J(a, b) with Q_J(8) = 0 and Q_J(9) = 1/2, so row 7
# is (-1, +1) times row 5 on the boundaries of 8 and 9: R(7, a) = i/2, -i/2, i/2, -i/2 for
# a = [8,+], [8,-], [9,+], [9,-] (labels 4 to 7), which makes S^J symmetric. Without the twist
# the store flipped all of row 7. The Moebius, Klein and tadpole rows of both orientifolds of
# non-zero tension are the same under "Use_orbits" 0, 1 and 2.
algebra a 3 2
get twist 8 1 2
set Use_orbits 0
algebra a 3 2
collect simple_current_invariants
select simple_current_invariant 2
get reflection 5
get reflection 7
select orientifold 0
moebius
klein
browse tadpole equations
select orientifold 1
moebius
klein
browse tadpole equations
set Use_orbits 1
algebra a 3 2
collect simple_current_invariants
select simple_current_invariant 2
get reflection 5
get reflection 7
select orientifold 0
moebius
klein
browse tadpole equations
select orientifold 1
moebius
klein
browse tadpole equations
set Use_orbits 2
algebra a 3 2
collect simple_current_invariants
select simple_current_invariant 2
get reflection 5
get reflection 7
select orientifold 0
moebius
klein
browse tadpole equations
select orientifold 1
moebius
klein
browse tadpole equations
check reflection
# The same in a product, su(2) level 4 x su(4) level 2: every simple-current invariant, stored
# and direct coefficients equal (each line is the number of Ishibashi labels of one invariant).
set Reject permutations off
tensor
g a 1 4
g a 3 2
compute spectrum
set loop_command {total ishibashi; check reflection}
Scan Simple_current_invariants
