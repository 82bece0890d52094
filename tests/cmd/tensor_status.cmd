# Two A1 at level 2 extended by (J,J), of weight 1/2 + 1/2 = 1. "status" shows the product as
# the lines that rebuild it; read back after "reset tensor" they give the same product.
tensor
g a 1 2
g a 1 2
current 1 1
status
reset tensor
tensor
G A 1 2
G A 1 2
current 1 1 
status
# (J, vacuum) has weight 1/2: refused, which ends a background run.
current 1 0
