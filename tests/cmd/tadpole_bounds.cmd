# Bounds of the tadpole variables, worked out by hand (bosonic reading, multiplicity 4096).
# su(3) level 1: the variables N_0/2 and the unitary pair share the row N_0/2 + N = 2048, so
# both lie in [0, 2048] (2049^2 points), and the row leaves one line of 2049 points: short
# enough for plain loops. No search has run, so there is neither a kernel vector nor a
# particular solution, and the parameters give the point 0.
algebra a 2 1
browse tadpole bounds
browse tadpole kernel
solve tadpole bounds
check tadpole parameters 0:0
# The check keeps identical boundaries while it runs and restores the removal afterwards: the
# criteria, printed again after a change, still skip them.
set Tadpole completeness 2
browse tadpole equations 0
# The bound analysis reports what it did.
set Tadpole info_level 2
solve tadpole bounds
set Tadpole info_level 0
# su(2) level 4 with the Klein bottle current: the first row x0 + sqrt(3) x1 + x2 = 5595.24
# bounds x0 and x2 by 5595 and x1 by 5595.24/sqrt(3) = 3230.4; the independent rows
# x0 + x2 = 2048 and x1 = 2048 then fix x1 and cut the others to [0, 2048]. A reset brings the
# initial bounds back.
algebra a 1 4
set kleinbottle 1
browse tadpole bounds
solve tadpole bounds 10
browse tadpole bounds
reset tadpole
browse tadpole bounds
# The pair of Dynkin labels 1/3 (boundaries 2, 3) fixed at 2048 and the orthogonal stack at
# 2000 leave x0 = 48: a single point that solves the system. At 3000 it would be -952.
fix CPmult 2:2048 4:2000
solve tadpole bounds
fix CPmult 2:2048 4:3000
solve tadpole bounds
fix CPmult
check tadpole parameters 1:1
