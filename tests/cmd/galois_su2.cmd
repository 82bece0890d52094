# Galois symmetry of A1 at level 4 (modulus 12; field 2j is l = j, field 2j+1 is l = 4-j). A unit
# s sends l to b with b+1 = +-s(l+1) mod 12 folded into 0..4: 5 and 7 swap l 0 <-> 4 and reverse
# the signs of l 1 and 3; 1 and 11 act trivially. The non-units 2 to 10 leave the fields whose
# scaled weight lies on a wall without image (scale 2: l = 2; scale 6: every field). The search
# over the combinations of these maps finds exactly the diagonal and D invariants; a U(1) block
# has no Galois invariants.
algebra a 1 4
compute galois_orbits
compute scale_orbits
set autostore on
search galois_invariants
browse invariants
algebra u 4
search galois_invariants
