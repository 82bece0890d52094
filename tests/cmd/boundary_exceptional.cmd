# su(3) at level 1 with its conjugation invariant, which pairs field 1 with its conjugate 2: only
# the vacuum is paired with itself, so there is one Ishibashi label and one boundary label. The
# invariant is not a simple-current one; its boundaries are known only once they have been
# found, so the boundary displays are refused, and the report ends a background run.
algebra a 2 1
select conjugation_invariant
total ishibashi
total boundaries
browse Ishibashi
browse boundary
total ishibashi
