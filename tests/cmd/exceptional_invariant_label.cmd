# A1 at level 12 has no built-in exceptional invariant.
algebra a 1 12
select exceptional_invariant
