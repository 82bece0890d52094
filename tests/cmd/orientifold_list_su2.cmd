# The orientifolds of su(2) at level k with the diagonal invariant (fields (0,k), (k,0), then the
# rest, as "display" shows): K = 0 with tension (2/sqrt(k+2)) sin(pi/(2(k+2))), which vanishes
# at odd k, and K = J with (2/sqrt(k+2)) cos(pi/(2(k+2))); no map identifies them. At k = 4:
# 0.7886751 and 0.2113249; at k = 3: 0.8506508 and 0. The counts run in the Default mode before
# any Boundary command. Building the list leaves the user's choice (K = 0) current. K = 0 keeps
# every boundary self-conjugate, K = J pairs Dynkin label l with k - l; the classifying algebra
# of K = 0 is the fusion algebra. "collect orientifolds" makes the user's record current again,
# and with "Orientifold info_level" 1 prints the entries as they are found, the table and that
# record (k = 2: tensions cos(pi/8) and sin(pi/8)).
algebra a 1 4
display
Total All_orientifolds
Total Orientifolds
browse Orientifolds
browse current Orientifold
set kleinbottle 1
identify orientifold
set kleinbottle 0
identify orientifold
get class_alg 2 2 0
get class_alg 2 2 4
get class_alg 2 2 1
get class_alg 4 4 4
set kleinbottle 1
select orientifold 0
browse current Orientifold
browse conjugation boundary *
select orientifold 1
browse current Orientifold
browse conjugation boundary *
collect orientifolds
browse current Orientifold
algebra a 1 1
Total All_orientifolds
Total Orientifolds
set Orientifold info_level 1
algebra a 1 2
set kleinbottle 1
collect orientifolds
set Orientifold info_level 0
Total All_orientifolds
Total Orientifolds
algebra a 1 3
Total All_orientifolds
Total Orientifolds
browse Orientifolds
select orientifold 2
