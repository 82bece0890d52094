# su(2) level 1 x su(2) level 1: exchanging the factors maps the field {i,j} to {j,i}, and the
# boundaries, one per field of the diagonal invariant, the same way: an involution exchanging
# the boundaries {0,1} and {1,0}.
tensor
g a 1 1
g a 1 1
compute spectrum
display
compute permutations 0 1
compute boundary permutations
