# The Ising model as the coset A1_1 x A1_1 / A1_2 extended by (J, J, J), of weight
# 1/4 + 1/4 - 1/2 = 0; central charge 1 + 1 - 3/2 = 1/2. Weights are known modulo 1 only: the
# vacuum, (0,0,J) of weight -1/2 = 1/2 (the energy) and (0,J,s) of weight 1/4 - 3/16 = 1/16
# (the spin); the orbit generators are the smallest labels. A1_2 labels: 0 (0), 1 (2), 2 (1).
tensor
g a 1 1
g a 1 1
h a 1 2
current 1 1 1
compute massless_spectrum
compute spectrum
display
browse central_charge
browse Lie
browse CFT
identify 1 0 2
identify 1 1 2
browse decomposition 2
# (1,0,s) and (0,1,s) are the members of the spin field's orbit, their weights 1/16 modulo 1.
browse groundstate 2
