# The product of D5_1 and five N=2 minimal models at k = 3 (c = 5 + 5 x 9/5 = 14 = 18 - 4, so
# space-time has 4 dimensions and an E8 is implied). The spectral-flow current and its inverse
# carry the 16 and the 16* of D5 at weight 1, and extend D5 to E6, whose classes are 1, 27 and
# 27*. The vacuum is the singlet; field 1 (dimension 60) is 6 singlets, a 27 and a 27*.
build cy 33333
list Dimensions
list Contents
display 0 3
