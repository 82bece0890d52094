# su(3) at level 1: fields 0, 1, 2 of weights 0, 1/3, 1/3, with 1 and 2 conjugate. The
# conjugation invariant C pairs 1 with 2; only the vacuum is self-conjugate (one Ishibashi label).
# C is symmetric and C C = 1, 1 C = C, C^T = C: every product, transpose and conjugate below is
# already stored.
algebra a 2 1
total invariants
select conjugation_invariant
browse bulk_invariant
store
total invariants
browse invariants
multiply 1 1
multiply 0 1
transpose 1
conjugate 0
total invariants
multiply close
total invariants
browse bulk_invariant 1
list Bulk
display
reset invariants
total invariants
# su(2) at level 4 is self-conjugate: conjugating the diagonal invariant finds it again
algebra a 1 4
conjugate
total invariants
browse invariants
browse MIPF
