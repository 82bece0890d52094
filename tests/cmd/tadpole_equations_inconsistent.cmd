# Type 0B from D8 at level 1 (trivial Klein bottle current; boundaries O, S, V, C): 16 branes on
# each solve the tadpoles, so the crosscap does not source the vector's tadpole (the S column of
# v is (1, -1, 1, -1)/2). With S, V and C fixed at zero, the vacuum tadpole needs branes on O
# while the vector's, to which O alone contributes, forbids them: no multiplicities solve the
# system, and the display says so.
tensor
g d 8 1
compute spectrum
set Super on
fix CPmult 1:0 2:0 3:0
browse tadpole equations
