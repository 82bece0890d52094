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
# su(2) level 2 squared extended by the product (J,J) of its currents: the fixed point {2,2}
# gives two boundaries [8,0] and [8,3] (4 and 5), which the fields' images do not tell apart.
# Without hints they stay unresolved; the hint 4:5 exchanges them; the hint 4:4 fixes 4, and
# the annulus then finds the image of 5 (itself). Two hints that give 4 two partners are refused,
# which ends a background run.
reset tensor
g a 1 2
g a 1 2
compute spectrum
set autoselect 1
select simple_current_invariant 3
browse boundary
compute permutations 0 1
compute boundary permutations
compute boundary permutations 4:5
compute boundary permutations 4:4
compute boundary permutations 4:5 4:4
