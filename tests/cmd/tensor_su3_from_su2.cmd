# A1 at level 4 extended by its current J (weight 1) is su(3) at level 1. The labels of A1_4 are
# 0 (0), 1 (4) = J, 2 (1), 3 (3), 4 (2). The doublet (1) has charge 1/2 and is projected out;
# {(0), (4)} is the vacuum; (2), of weight 2 x 4 / (4 x 6) = 1/3, is fixed by J and resolved
# into the 3 and the 3-bar. Spin-one currents: 3 of A1 and the 5 of J, the 8 of su(3).
tensor
g a 1 4
current 1
# Three fields: a limit of two stops the computation, three is enough.
set Max_primaries 2
compute spectrum
set Max_primaries 3
compute spectrum
display
identify 4
identify 2
identify 1
evaluate identify(4)+10
evaluate identify(2)
# The vacuum's orbit has the members (0) and J = (4), of dimensions 1 and 5; its ground state
# is (0) alone. The fixed point is its own orbit.
browse decomposition 0
browse groundstate 0
browse decomposition 1
browse decomposition 2 Ground
browse chiral_algebra
browse Lie
browse CFT
total primaries
total simple_currents
get weight 2
display entry Combination 2
display entry Decomposition 1
# Field labels are not limited while factors are entered; with a further factor the rows are
# no longer fields of the product, and reading them is refused.
g a 1 1
browse decomposition 0
