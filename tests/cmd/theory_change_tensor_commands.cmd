# Every way into another theory leaves nothing of the theory before answering for it: "h",
# "tensor" back to an earlier product and "reset tensor" each follow an S matrix of su(2) level 2
# and collect the extensions of U(1) at radius 4 (integer spin: the identity alone).
algebra a 1 2
s
h u 4
collect extensions
single
algebra a 1 2
s
tensor
collect extensions
single
algebra a 1 2
s
tensor
reset tensor
g u 4
collect extensions
