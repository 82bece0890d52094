# The quintic Gepner model (3,3,3,3,3) with its diagonal invariant: the vacuum is paired with
# itself alone, and its orbit under the chiral algebra holds the space-time supercharges (weight
# 1, spinor of D5), so field 0 is the one bulk supercurrent. Its charge is 0 on every boundary:
# every brane is local with respect to the bulk supersymmetry.
build cy 33333
check susy_locality 0
check susy_locality 3999
# The open spectrum of the identity brane: all 4000 boundaries (one per field of the diagonal
# invariant) are usable, and the brane meets only the vacuum, A(i, 0, 0) = N(0, i, 0): no matter.
browse brane-spectrum 0:2
# In the bosonic reading there is no supercurrent to ask about.
set Super off
check susy_locality 0
