# su(2) level 4: fields 0-4 are the Dynkin labels 0, 4, 1, 3, 2. P(a,b) = 2/sqrt 6
# sin(pi (a+1)(b+1)/12) when a + b is even, else 0; the indicator of label l is (-1)^l.
algebra a 1 4
pmatrix
pmatrix 2
get schur
get schur 2
# Y_l0^0 and Z(l,0) are the indicator too
pfusion 4 0 0
pfusion 2 0 0
get g_schur 2 0
pfusion 2 2
check pmat
# fixed-point fusion: the identity current gives N(1,1,2) = 1; J's theory has one field
get fp_fusion 0 2 2 4
get fp_fusion 1 0 4 4
get fp_fusion 1 2 4 4
# the fixed point (label 2): (-1)^(k/2) = 1
check eta
Check P-Gauss * *
# su(2) level 2: (1) x (1) has no terms
algebra a 1 2
pfusion 2
check eta
# the diagonal invariant resolves nothing: the check ends the run
check fusion 0 0 0
