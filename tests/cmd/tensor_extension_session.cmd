# A user's session: the extensions of (A1_4)^3 collected straight after the factors are entered
# (the symmetries act on the simple currents alone, so the eight classes of binary codes of
# length 3 come out without the full spectrum), the extension by (J,J,J) selected (33 fields, as
# in extensions_codes), its simple-current invariants searched, and a finished run marked. The
# currents of the extension are Z2^3 / (J,J,J) = Z2 x Z2, of integer spin and trivial monodromy:
# its six invariants (the diagonal, three Z2 extensions, the full extension, the one with
# discrete torsion) fall into 4 classes, since the permutations of the factors permute the three
# elements of order two.
tensor
g a 1 4
g a 1 4
g a 1 4
collect extensions
select extension 3
total primaries
search MIPF simple_current
finish
# One factor extended: su(3)_1 x (A1_4)^2, 3 x 5 x 5 = 75 fields. Its one symmetry exchanges the
# two A1_4, and up to it the simple-current invariants are the 5 of (A1_4)^2: of the six, the
# extensions by (J,0) and (0,J) are exchanged.
reset tensor
g a 1 4
g a 1 4
g a 1 4
current 1 0 0
compute spectrum
Browse permutations
search MIPF simple_current
