# The product of D5_1 and five N=2 minimal models at k = 3, made a theory of its own: as the
# one factor of a new product it keeps its string data, so the contents are those of the
# product itself. The vacuum is the singlet of E6; field 1 (dimension 60) is 6 singlets, a 27
# and a 27*; fields 2 and 3 are singlets.
build cy 33333
create CFT quintic
tensor
g cft quintic
compute spectrum
list Dimensions
list Contents
display 0 3
