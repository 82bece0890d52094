# Two A1 at level 2 extended by (J, J), of weight 1/2 + 1/2 = 1, give su(4) at level 1, of
# central charge 3/2 + 3/2 = 3. The labels of A1_2 are 0 (0), 1 (2) = J, 2 (1) = s. The fields:
# the vacuum; the orbit {(0,J), (J,0)} of weight 1/2, the 6; the doublets (s,s) of weight
# 3/16 + 3/16 = 3/8, fixed by (J,J) and resolved into the 4 and the 4-bar. (s,0) has charge 1/2.
# Spin-one currents: 3 + 3 of the factors and the 3 x 3 of (J,J), the 15 of su(4).
tensor
g a 1 2
g a 1 2
current 1 1
compute spectrum
display
identify 2 2
identify 1 0
identify 2 0
browse decomposition 1
browse decomposition 2
browse Lie
browse central_charge
display simple
# No field but the vacuum has weight exactly 1.
display massless
# Under "Super" the first factor is left out of the name, and (J,J), of weight 1 with an odd
# first label, is a supercurrent.
set Super
reset currents
current 1 1
compute spectrum
supersymmetric
# The vacuum row of S: 1/2 throughout (the quantum dimensions of su(4)_1 are all 1).
s 0 1
