# Ten-dimensional heterotic strings from D8 level 1 twice (labels 0 vacuum, 1 spinor s of weight
# 1, 2 vector v of weight 1/2, 3 the other spinor of weight 1), both factors carrying the gauge
# group. The results go to a fresh output directory.
set OutputDir ~/out
tensor
g d 8 1
g d 8 1
compute spectrum
set Heterotic factors 2
# Weight exactly 0 or 1: the vacuum, (v,v), and each spinor with the vacuum: 6 candidates.
compute heterotic
# The filter (s,0), (0,s) is Z2 x Z2 with 2 invariants: e8 + e8 (dimension 2 + 12 - 2 + 1 + 128
# + 128 = 269, the two spinors 128 each) and the one without extra currents (13).
add filter 1 0
add filter 0 1
compute filter
# With (v,v) the group is Z2^3 with 8 invariants; so(32) adds v x v, dimension 16 x 16 = 256,
# again 269. The two with a single spinor (141 each) are the other new algebras.
add filter 2 2
compute filter
system cat ~/out/*/*.heterotic
system cat ~/out/*/*.algebra
system cat ~/out/*/*.origin
# Weight at most 1 in both factors: the vacuum, (v,0), (0,v), (v,v) and the four spinors with
# the vacuum make 8 pattern roots.
pattern algebra 1
