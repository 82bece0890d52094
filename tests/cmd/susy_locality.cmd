# The quintic Gepner model (3,3,3,3,3) with its diagonal invariant: the vacuum is paired with
# itself alone. Its orbit under the chiral algebra holds the space-time supercharges, but the
# identity is local on every brane, so there is no supercurrent to report.
build cy 33333
check susy_locality 0
check susy_locality 3999
# The open spectrum of the identity brane: all 4000 boundaries (one per field of the diagonal
# invariant) are usable, and the brane meets only the vacuum, A(i, 0, 0) = N(0, i, 0): no matter.
browse brane-spectrum 0:2
# D8 at level 1 with the invariant |o + s|^2 + |v + c|^2 of the spinor s (weight 1): s is paired
# with the vacuum and is the bulk supercurrent. Its monodromy charge is 0 on the boundary of the
# orbit (o, s) and 1/2 on that of (v, c), where the vector and the spinor braid with a sign.
reset tensor
g d 8 1
set Super on
compute spectrum
select simple_current_invariant 1
check susy_locality 0
check susy_locality 1
# In the bosonic reading there is no supercurrent to ask about.
set Super off
check susy_locality 0
