# The table "Spectrum" of small building blocks. A1 level k: h = l(l+2)/4(k+2), dimension l+1,
# quantum dimension sin(pi(l+1)/(k+2))/sin(pi/(k+2)); the Z2 current is l = k.
algebra a 1 2
display
list Dim
list Conj
list Q_dims
display
display 2
# A2 level 1: the three Z3 currents (0,0), (0,1), (1,0) of weight 0, 1/3, 1/3; the two
# triplets are conjugate to each other.
algebra a 2 1
display
display entry Conj 1
display entry Conj 2
display entry Charges 2
display entry Cas 1
unlist Dim
unlist Conj
unlist Q_dims
unlist Nothing
list Mod
display 0 1
unlist Mod
browse CFT
browse Lie
browse central_charge
# A user column: the square of the label
new column sq #*#
display
# Weyl group of A2: order 6, its elements as reduced words, the images of the weight (1,0) of
# field 2, and its orbit of three weights
browse Cartan
Weyl Order
Weyl Group
Weyl reflection 2
Weyl reflection 2 1
Weyl orbit 2
# Gauss sums of A2 level 1 by class of weights modulo 2: -2 for (0,0), 2 for (0,1)
Weyl Parity Orbits
Compute Gauss_sum
Compute Gauss_sum 0
# A1 level 4: the field l = 4 has weight 1; "display massless" shows the rational weights even
# when that column is hidden, and hides them again afterwards
algebra a 1 4
unlist Rat
display massless
display
list Rat
algebra e 8 1
Weyl Order
