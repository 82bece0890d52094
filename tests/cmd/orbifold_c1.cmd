# The c=1 orbifold of parameter N: N+7 fields (kind, x), weights 0, 1 and N/4 twice for the
# currents, x^2/4N for (1,x), 1/16 and 9/16 twice for the twist fields. At N = 5 (odd) the
# currents form Z4 and 1, 3 are conjugate, as are the twist fields N+3, N+4 and N+5, N+6; at
# N = 7 the pairs are N+3, N+6 and N+4, N+5. At c = 1 the N=1 minimal model of level 2 is the
# orbifold at N = 6: both have the weights 0, 1, 3/2, 3/2, 1/24, 25/24, 1/6, 2/3, 3/8, 1/16 and
# 9/16 twice.
algebra orbifold 5
display
check unitarity
check modular
algebra orbifold 7
list Conj
display
algebra minimal 1 2
display
algebra orbifold 6
display
# N = 6 = 2 x 3: besides the twist automorphism, the automorphism of the coprime splitting
# exchanges the fields of charge k and k' with k + k' = 0 mod 4 and k - k' = 0 mod 6, or
# k + k' = 0 mod 6 and k - k' = 0 mod 4: charges 1 <-> 5, while 2, 3, 4 (divisible by 2 or 3)
# stay. Without "Autostore" nothing is stored.
search MIPF built_in
# The built-in invariants at N = 8: the twist automorphism (1 <-> 3, N+3 <-> N+5, N+4 <-> N+6)
# and the extension by 2^2, the orbifold at N = 2 with the fields of charge 2 and 6 paired and
# those of charge 4 and the twist fields N+3, N+4 twice.
algebra orbifold 8
set autostore on
search MIPF built_in
browse invariants
# In tensor mode the block last loaded is a factor, not the theory: nothing is offered.
tensor
g orbifold 4
g orbifold 4
compute spectrum
search MIPF built_in
browse invariants
