# Open strings in ten dimensions from D8 at level 1 (fields: 0 vacuum o, 1 spinor s of weight 1,
# 2 vector v of weight 1/2, 3 spinor c of weight 1); boundary a is the Cardy boundary of field a,
# so the annulus between a and b counts the fields i with a x i = b.
# Type I: extended by s the theory is E8 at level 1 with one field and one boundary; 32 branes
# carry SO(32), and E8 has a single class: no open-string matter.
tensor
g d 8 1
current 1
set Super on
compute spectrum
browse brane-spectrum 0:32
# Type 0B without Klein bottle current: four orthogonal boundaries O, S, V, C. The massless open
# states are the spinors: s joins (O,S) and (V,C), c joins (O,C) and (S,V), one bifundamental
# each, in the two classes [F+] and [F-]; the vector, which joins (O,V) and (S,C), is a tachyon
# and no matter. Stacks S and C, or O and V, alone meet no massless state.
reset tensor
g d 8 1
compute spectrum
browse brane-spectrum 0:16 1:16 2:16 3:16
browse brane-spectrum 1:4 3:4
browse brane-spectrum 0:16 2:16
# Four boundaries: label 4 does not exist.
browse brane-spectrum 0:16 4:16
