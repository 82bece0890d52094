# Every generator of invariants in turn, with "Autostore" on: on A1 at level 10 the diagonal
# invariant, D (l 1 <-> 9, 3 <-> 7, found again by the permutation search) and E6 from the
# extension by l 6; on level 16 the diagonal invariant and D only (E7 is neither a permutation
# nor an extension); on level 28 the diagonal invariant, D and E8. The products of the stored
# invariants add nothing new.
algebra a 1 10
set autostore on
search MIPF
browse invariants
algebra a 1 16
search MIPF
browse invariants
algebra a 1 28
search MIPF
browse invariants
