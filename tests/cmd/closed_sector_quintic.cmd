# The closed string of the quintic Gepner model (3,3,3,3,3) in four dimensions under its standard
# orientifold: N=1 supergravity with the dilaton and its axion, the 101 complex-structure moduli
# (h21) as chiral multiplets, and the one Kaehler modulus (h11) as the two halves of one more.
set Super on
build cy 33333
browse type-I
