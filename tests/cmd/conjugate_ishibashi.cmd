# The Ishibashi count of a conjugated invariant is the trace of its new matrix. su(3) level 1:
# the diagonal invariant has 3 labels; its conjugate Z C pairs 1 with 2, leaving the vacuum alone
# on the diagonal, so 1 label; conjugating back gives the diagonal invariant again, with 3.
algebra a 2 1
browse bulk_invariant
conjugate
browse bulk_invariant
total ishibashi
select conjugation_invariant
browse bulk_invariant
conjugate
browse bulk_invariant
total ishibashi
