# Permutation invariants found by the search and stored: on A1 at level 10 the D invariant
# (field 2j is l = j, 2j+1 is l = 10-j: l 1 <-> 9 and 3 <-> 7), on so(8) at level 1 the five
# non-trivial permutations of the three non-trivial fields, on A1 at level 16 none.
algebra a 1 10
set autostore on
search MIPF automorphism
browse invariants
algebra d 4 1
search MIPF automorphism
algebra a 1 16
search MIPF automorphism
browse invariants
