# Products of built-in exceptional invariants of the factors (0: the factor's diagonal one).
# E6 x diagonal on A1_10 x A1_10: 121 fields, checked; 33 blocks, each pair {l, l'} of E6 (l 0 and
# 6, 4 and 10, 3 and 7) times one label of the second factor. A1_10 x A1_16 has 187 fields: the
# product is accepted unchecked. A request per factor is needed.
tensor
g a 1 10
g a 1 10
compute spectrum
select exceptional_invariant 1 0
reset tensor
g a 1 10
g a 1 16
compute spectrum
select exceptional_invariant 1 0
select exceptional_invariant 0 1 0
