# The sign solver. Ising: 43 unknowns (non-zero entries and braiding signs of three fields), the
# 10 couplings with N_ab^c = 1 as gauge couplings; gauge fixing and the equations determine every
# sign, none of them flipped: F_00[a a a a] = 1, 1, 1/sqrt 2 and every eps_aa^c = 1.
# U(1) of 4 fields: 74 unknowns, 16 couplings a + b = c mod 4. One sign stays free, eps_33^2;
# flipping it flips eps_11^2 too, which turns h_1 = 1/8 into 5/8 in the braiding: a second
# consistent braiding, no gauge transformation, hence two classes. An affine block has no fusing
# matrices: the refusal goes last.
algebra minimal 0 1
fusing solve 0
algebra u 4
fusing solve 3
algebra a 1 2
fusing solve 0
