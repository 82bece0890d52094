# The greedy basis of a group of currents: each entry the smallest current that the earlier ones
# do not generate, 0 first. A1_4 x A1_8: the currents (J,0), (0,J), (J,J), labels 1, 2, 3, have
# weights 1, 2 and 3, and neither factor has a symmetry.
tensor
g a 1 4
g a 1 8
compute simple_current_spectrum
find basis 3
find basis 2 3
find basis
# so(8) at level 2: the currents v, s, c (labels 1, 2, 3) have weight 1 and the six permutations
# of triality map the group {0, 1} onto each of the three groups of order two twice.
single
algebra d 4 2
find basis 1
# A1 at level 1: the current has weight 1/4 and is refused.
algebra a 1 1
find basis 1
