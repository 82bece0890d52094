# Invariants given as text and the built-in exceptional ones of A1 (field 2j is l = j, field
# 2j+1 is l = k-j). On level 4 the D invariant |l0+l4|^2 + 2|l2|^2 commutes with S and
# |l0+l1|^2 does not; (0+0)^2 is 4|l0|^2 and the trailing "+" is ignored. On level 10 the
# permutation l 1 <-> 9, 3 <-> 7 is invariant; the built-in invariants are E6, E7 and E8 (12, 17
# and 32 entries) and 0 gives the diagonal one. With "Autostore" on a checked E6 is stored once
# and can be selected by number. A cycle of one label is refused.
algebra a 1 4
set autostore off
check invariant (0+1)^2+2*(4)^2
check invariant (0+2)^2
check invariant (0+0)^2+
algebra a 1 10
check invariant <2,3><6,7>
select exceptional_invariant
select exceptional_invariant 0
algebra a 1 16
select exceptional_invariant 1
algebra a 1 28
select exceptional_invariant 1
algebra a 1 10
set autostore on
select exceptional_invariant
select exceptional_invariant
browse invariants
select invariant <2,3><6,7>
browse bulk_invariant
select invariant 1
browse bulk_invariant
check invariant <3>
