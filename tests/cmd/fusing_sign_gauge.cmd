# Comparison of a sign-flip file with our gauge. At rank 2 the solver fixes every sign and keeps
# each (digit l = 1), and every sign of our gauge equals the naive one for all five conventions:
# no report. The convention given stays set: 0 keeps the pentagons of the orbifold at rank 4,
# 3 breaks them (it fails for ranks divisible by 4), which ends the run. The second start shows
# the same file at rank 6, which has signatures that rank 2 lacks: "Sign not in database" ends
# that run.
terminal off
algebra orbifold 2
fusing solve 0 ~/s
terminal on
system ls ~
fusing signs ~/s0 1
fusing signs ~/s0 2
fusing signs ~/s0 3
fusing signs ~/s0 4
fusing signs ~/s0 0
algebra orbifold 4
fusing polynomial 99
algebra orbifold 2
fusing signs ~/s0 3
algebra orbifold 4
fusing polynomial 99
