# The built-in invariants are not defined on a product extended by a simple current.
tensor
g a 1 10
g a 1 10
current 1 1
compute spectrum
select exceptional_invariant 1 1
