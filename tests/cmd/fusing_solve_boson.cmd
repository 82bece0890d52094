# The sign solver on U(1) of 6 fields, whose self-conjugate field 3 has the Frobenius-Schur
# indicator (-1)^3 = -1: 6^3 entries and 21 braiding signs eps_ab^(a+b) with a >= b are the 237
# unknowns, the 36 pairs (a, b) the gauge couplings. F_0_0[3,3,3,3] = -1 (the indicator over the
# quantum dimension 1) and Epsilon_3_3^0 = -1 (R^{33}_0 = eps exp(-2 pi i h_3) is the indicator
# over the twist of 3). The other invariants are the boson's braiding R^{aa}_2a = exp(i pi a^2/6)
# = eps_aa^2a exp(i pi (h_2a - 2 h_a)) with h_a = min(a, 6-a)^2/12: eps = 1, -1, -1, 1 for
# a = 1, 2, 4, 5. Two signs stay free; each choice is a gauge transformation: one class.
algebra u 6
fusing solve 0
