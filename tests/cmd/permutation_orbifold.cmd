# Z2 permutation orbifolds of two copies of a block: the Ising model gives 15 fields with the
# currents (0,0,0), (0,1,0), (1,0,0), (1,1,0), and weights 2h, h+h', h/2 + c/16 (+1/2); su(2)
# at level 2 gives c = 3 and the fixed-point theory of the exchange current on the three
# off-diagonal fields. A second request finds the first record; a twisted algebra is refused.
algebra minimal 0 1
create permutation
display
check unitarity
algebra a 1 2
create permutation
check unitarity
fusion 1 1
fusion 4 4
browse central_charge
get fcft 1
display
check unitarity
algebra a 1 2
create permutation
status
algebra at 1 1
create permutation
