# A3 at level 2 (fields 0-3 the currents): the current 2 (h = 1) fixes fields 8 and 9, the
# weights Lambda_1 + Lambda_3 (h = 2/3) and Lambda_0 + Lambda_2 (h = 5/12), which fold to the
# spinor and the vacuum of A1 at level 1; the shift is k'((r+1)^2 - c^2)/c = (16 - 4)/2 = 6,
# so S^J = exp(-6 pi i/4) O^J = i O^J with O^J = (1, 1; 1, -1)/sqrt 2 on (vacuum, spinor).
# Currents 1 and 3 fix nothing; 0 is the identity, whose shift shows nothing. Current 1 swaps
# the fixed points, so its twist is 4 (h_J - 1/4) = 4 (3/4 - 1/4) = 2 ("-1"), eta = -6/4 = 1/2.
algebra a 3 2
get weight 8
get weight 9
get fcft_shift 2
get fcft_shift 1
get fcft_shift 0
get S_ola 2 8 8
get S_ola 2 9 9
get S_fix 2 8 9
browse eta
browse twists
get fcft 2
# The label 4, the order of the group, is the identity: A3 level 2 itself.
algebra fcft {A3 level 2} 4
algebra fcft {A3 level 2} 2
# D5 at level 2: the vector current 2 fixes four fields, resolved by C3 at level 1, shift 6.
algebra d 5 2
get fcft_shift 2
get fcft_shift 1
get fcft 2
# E8 at level 1 has no simple currents; at level 2 (the Ising model) the field of weight 3/2
# has S_01 = S_00 = 1/2 without being one of the built-in currents.
algebra e 8 1
browse simple_currents
algebra e 8 2
browse simple_currents
# A current beyond the order is refused, which stops the run.
algebra a 3 2
get fcft 5
