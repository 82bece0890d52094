# Eight A1 at level 1: the current has weight 1/4 and charge 1/2 on the doublet, so four
# currents make weight 1. (1,1,0,0,1,1,0,0) shares two factors with the first current (mutual
# charge 1) and is accepted; entered twice it is stored once. (1,0,0,0,1,1,1,0) shares one
# factor (charge 1/2) and is refused.
tensor
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
current 1 1 1 1 0 0 0 0
current 1 1 0 0 1 1 0 0
current 1 1 0 0 1 1 0 0
status
current 1 0 0 0 1 1 1 0
