# The reading decides the multiplicity: D8 level 1 extended by its spinor (chiral algebra E8 at
# level 1, one field) has c = 8, so the bosonic reading gives D = 18 and 2^9 = 512, the superstring
# reading D = 10 and 2^5 = 32. The system cached under the first reading must not serve the
# second.
tensor
g d 8 1
current 1
compute spectrum
browse CP
browse tadpole equations
set Super on
browse tadpole equations
set Super off
browse tadpole equations
# Without equations (a zero-tension O-plane) a vector cannot be checked.
single
algebra a 1 1
set kleinbottle 0
check tadpole solution 0:1
