# Command lines that once ended a background run with an internal error; each now goes on.
# su(3) level 1 with its conjugation invariant, which is not a simple-current invariant: K = 0 is
# the only Klein bottle current it admits and already in force, so "set kleinbottle 0" sets
# nothing.
algebra a 2 1
select conjugation_invariant
set kleinbottle 0
total ishibashi
# su(6) level 2: J^3 fixes the 20 (field 19, Dynkin labels (0,0,1,0,0)) and the complex pair
# (1,0,0,1,0), (0,1,0,0,1). A complex field has Frobenius-Schur indicator 0, so the eta relation
# says nothing there ("Zero FS") and the check goes on; the pseudoreal 20 has sign -1 both ways.
algebra a 5 2
check eta
# The third simple-current invariant of 12466, orientifold 8: zero tension, so a self-conjugate
# boundary (3) is orthogonal or symplectic without the tension saying which; its group prints
# as R beside the unitary stack on boundary 100.
build cy 12466
select simple_current_invariant 2
select orientifold 8
browse current Orientifold
browse brane-spectrum 3:1 100:1
total boundaries
