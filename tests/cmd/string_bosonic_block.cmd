# A single E8 block carries no string data: the superstring reading is switched off as soon as a
# computation asks for it, and the chirality test answers 0.
algebra e 8 1
set Super on
chiral
