# (A1_4)^3: the current J of A1 at level 4 has weight 1, so every subgroup of the currents Z2^3
# has integer spin, and up to the six permutations of the factors the extensions are the eight
# binary linear codes of length 3: {0}; one word of weight 1, 2 or 3; the codes of dimension two
# spanned by (100,010), (100,011) and the even words; and the whole space. The currents are
# numbered with factor 0 fastest: 1 = (J,0,0), 3 = (J,J,0), 7 = (J,J,J).
tensor
g a 1 4
g a 1 4
g a 1 4
compute spectrum
collect extensions
total extensions
# (J,J,J) keeps the fields whose labels sum to an even number, 27 + 36 = 63, in pairs but for
# (2,2,2), which J fixes and which is resolved into two: 31 + 2 = 33 fields.
select extension 3
total primaries
