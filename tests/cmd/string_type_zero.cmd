# Type 0 from D8 at level 1 alone (fields: 0 vacuum, 1 spinor s and 3 spinor c of weight 1, 2
# vector v of weight 1/2): c = 8 gives ten dimensions with an implied E8. The vector is a tachyon
# of dimension 1 paired with itself, so a Klein bottle may cancel it.
set OutputDir ~/out
tensor
g d 8 1
set Super on
compute spectrum
browse type-II
# The oriented string alone: the tachyon is reported as possibly cancellable, nothing is
# recorded and the state stays undecided.
check tachyon oriented
cancellableTachyon
# The full walk: the vector's tachyon goes exactly for the orientifolds whose Klein bottle
# current is a spinor (Klein bottle -1 on the vector, zero tension).
check tachyon
browse Orientifolds
browse heterotic
record tachyon-free f
system cat ~/out/f
