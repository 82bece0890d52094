# Under "Super" each extension is marked by its elements: an odd first-factor label on an element
# of weight 1 is supersymmetric, the first-factor label 2 on one of weight 1 non-chiral, an odd
# first-factor label on any other element spinorial. The simple current of A1 level k has label
# 1 and weight k/4; that of A3 level 1 squared has label 2 and weight 1/2.
set Super
tensor
# (A1_1)^4: (J,J,J,J) of weight 1 alone has integer spin.
g a 1 1
g a 1 1
g a 1 1
g a 1 1
collect extensions
select extension 1
supersymmetric
# A3_1 x A1_2: (J^2,J) of weight 1.
reset tensor
g a 3 1
g a 1 2
collect extensions
# A1_1 x A1_7: (J,J) of weight 1/4 + 7/4 = 2.
reset tensor
g a 1 1
g a 1 7
collect extensions
