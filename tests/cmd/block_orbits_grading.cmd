# Orbit, stabilizer and charge columns of blocks with simple currents, and the grading into NS
# and R sectors.
# U(1) radius 4: one orbit of four currents, J = 1 carries i to i + 1, charges -i/4 mod 1, the
# conjugate of i is -i mod 4, h = i^2/8 mod 1 and h - c/24 with c = 1; the ground state of the
# field at half the radius is the pair of momenta +2 and -2, so its dimension is 2.
algebra u 4
list Dim
list Conj
list Ch
list Orb
list Stab
list Mod
display
# D4 level 2, labels (a1,a2,a3,a4,a0): currents 1, 2, 3 are 2w4, 2w1, 2w3, acting as the diagram
# symmetries (0 4)(1 3), (0 1)(3 4), (0 3)(1 4). w4 + w0, w3 + w0 and w3 + w4 are fixed by one
# current each and pair with w1 + w3, w1 + w4 and w1 + w0; the adjoint w2 is fixed by all four.
# Charges Q_J(i) = h_J + h_i - h_(J i) in halves with respect to currents 1 and 2;
# dimensions 1, 35, 56, 8, 28; c = 2 * 28 / 8 = 7, so h - c/24 = h - 7/24.
algebra d 4 2
display
unlist Dim
unlist Conj
unlist Mod
# A3 level 1 graded by w2 (order 2, h = 1/2): w1 and w3 have charge 1/2 (R) and are exchanged,
# the vacuum and w2 are NS. A second grading leaves the block as it is.
algebra a 3 1
grade 2
list Gr
display
grade 1
display
# A3 level 2: current 1, 2w3, has order 4 and cannot grade.
algebra a 3 2
grade 1
