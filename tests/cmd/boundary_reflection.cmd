# Reflection coefficients and the oriented annulus. su(2) at level 4 has the fields 0 to 4 for
# the Dynkin labels 0, 4, 1, 3, 2. With the diagonal invariant R is S and the oriented annulus
# of field i is fusion with i: spin 1/2 x 1/2 = 0 + 1, i.e. (2) x [2] = [0] + [4]. The current
# maps boundary a onto 4 - a (Dynkin labels): the fixed point 4 has the orbit 4,4.
algebra a 1 4
get reflection 0
get NIMrep 2
get bfusion 2 2
get bfusion 0 4
browse orbit boundary 4
browse orbit boundary 2
browse orbit Ishibashi 2
check reflection
check oriented_annulus
check NIMrep * * * *
# The D-type invariant |x0 + x4|^2 + 2 |x2|^2: boundaries 0, the orbit {1,3}, and [4,0], [4,1].
# The annulus of Dynkin label 1 is the D4 diagram, that of the current the identity; R of the
# vacuum is the Perron-Frobenius vector (sqrt2 S_00, sqrt2 S_01, S_02/sqrt2, S_02/sqrt2), and
# the Ishibashi state (4,1) sees only the fixed boundaries, with opposite coefficients of
# modulus 1/sqrt2. Dynkin 1 x [1,3] = [0] + [4,0] + [4,1].
set autoselect 1
select simple_current_invariant 1
get NIMrep 2
get NIMrep 1
get NIMrep 2 1
get NIMrep 2 1 3
get bfusion 2 1
get bfusion 2 3
get reflection 0
get reflection 3
set High_precision on
get reflection 3 2
set High_precision off
browse orbit boundary 3
browse orbit Ishibashi 0
check reflection
check oriented_annulus
check NIMrep * * * *
# Every simple-current invariant of so(8) at level 1 (the permutations of its three currents of
# weight 1/2) and of su(4) at level 2, whose J^2 has weight 1 and fixes (1,0,1) and (0,1,0): the
# annulus matrices form NIM-representations and the stored coefficients agree with the formula,
# also on the Ishibashi label (0,1,0) of J^2, which J reaches from (1,0,1) with a twist -1.
algebra d 4 1
set Reject permutations off
set loop_command {total boundaries; check reflection; check oriented_annulus; check NIMrep * * * *}
Scan Simple_current_invariants
algebra a 3 2
display
set loop_command {browse boundary; browse orbit boundary *; check reflection; check oriented_annulus; check NIMrep * * * *}
Scan Simple_current_invariants
# su(2) level 4 x su(2) level 1: with the D-type invariant on the first factor (the extension by
# the current {1,0}) the fixed point 2 of the first factor is resolved twice for each field of
# the second, [8,0], [8,2] and [9,0], [9,2]; the current {0,1} of the second factor maps the
# labels of 8 onto those of 9 and keeps their stabiliser character. The annulus of {2,0} (Dynkin
# 1 of the first factor) is the D4 diagram twice, once for each field of the second factor.
tensor
g a 1 4
g a 1 1
compute spectrum
display
set loop_command {browse boundary; browse orbit boundary *; check reflection; check oriented_annulus; check NIMrep * * * *; get NIMrep 4}
Scan Simple_current_invariants
# su(3) at level 1: the annulus of field 1 is fusion with its conjugate, field 2.
single
algebra a 2 1
get NIMrep 1
get bfusion 1 1
check NIMrep * * * *
# The line of "get bfusion" wraps once it is full: spin 3/2 x 3/2 = 0 + 1 + 2 + 3 at su(2) level
# 6; and shows multiplicities: the adjoint (1,1) of su(3) at level 3 squares to the vacuum, the
# two currents and twice itself.
algebra a 1 6
display
get bfusion 6 6
algebra a 2 3
get bfusion 9 9
algebra a 2 1
# The conjugation invariant of su(3) at level 1 is no simple-current invariant, and its
# boundaries were not searched: nothing to show.
select conjugation_invariant
get reflection
