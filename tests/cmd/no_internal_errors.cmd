# Command lines that once ended a background run with an internal error; each now goes on.
# su(3) level 1 with its conjugation invariant, which is not a simple-current invariant: K = 0 is
# the only Klein bottle current it admits and already in force, so "set kleinbottle 0" sets
# nothing.
algebra a 2 1
select conjugation_invariant
set kleinbottle 0
total ishibashi
# The third simple-current invariant of 12466, orientifold 8: zero tension, so a self-conjugate
# boundary (3) is orthogonal or symplectic without the tension saying which; its group prints
# as R beside the unitary stack on boundary 100.
build cy 12466
select simple_current_invariant 2
select orientifold 8
browse current Orientifold
browse brane-spectrum 3:1 100:1
total boundaries
