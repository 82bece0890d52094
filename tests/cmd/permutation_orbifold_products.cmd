# Theories made from tensor products all have rank and level 0; the permutation orbifold of each
# is its own. su(2)_4 extended by its current is su(3)_1 (3 fields, 15 in the orbifold);
# su(2)_1 x su(2)_1 has 4 fields (22 in the orbifold). Asked again, the first record is found.
tensor
g a 1 4
current 1
create CFT su3
create permutation
tensor
g a 1 1
g a 1 1
create CFT su2su2
create permutation
status
algebra cft su3
create permutation
status
