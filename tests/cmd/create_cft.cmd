# Two A1 at level 2 extended by (J, J) are su(4) at level 1: the vacuum, the 6 of weight 1/2 and
# the resolved spinor doublet, 4 and 4-bar of weight 3/8, conjugate to each other (4 x 4 = 6,
# 4 x 4-bar = 1). The product sees two of the four currents of su(4)_1.
tensor
g a 1 2
g a 1 2
current 1 1
create CFT su4
algebra cft su4
display
s
fusion 2 2
fusion 2 3
check unitarity
check conjugates
check orbits
Browse permutations
# The same product made a second time under another name holds the same data.
tensor
g a 1 2
g a 1 2
current 1 1
create CFT su4b
Check Compare_algebras su4 su4b
# A1 at level 4 extended by J is su(3) at level 1, S = omega^(ab)/sqrt(3); two copies of it have
# the product S (field 4 is 3 x 3).
tensor
g a 1 4
current 1
create CFT su3
tensor
g cft su3
g cft su3
compute spectrum
display
s 4
# A1_2 x A1_2 unextended: the current (J, 0) fixes the three fields with the spin-1/2 label
# first; its fixed-point theory has the S of the Ising model, the current (J, J) fixes (s, s)
# alone.
reset tensor
g a 1 2
g a 1 2
create CFT pair
algebra fcft pair 1
display
s
check unitarity
algebra fcft pair 3
s
algebra cft pair
check fp_conj
# Minimal models made as cosets: N=1 at level 2 has c = 1 and 13 fields, N=0 at level 1 is the
# Ising model (h = 0, 1/2, 1/16, sigma x sigma = 1 + epsilon), a block apart from the built-in
# one.
algebra minimal 1 2
display
check unitarity
check conjugates
check orbits
algebra minimal 0 1
display
fusion 2 2
# Two Ising models made as cosets, extended by (epsilon, epsilon): the Dirac fermion, U(1) with
# four fields of weights 0, 1/2, 1/8, 1/8; (sigma, sigma) is resolved through the fixed-point
# theories of the made blocks.
tensor
g minimal 0 1
g minimal 0 1
current 1 1
compute spectrum
display
check unitarity
list cy
Check Compare_algebras su4 nothing
