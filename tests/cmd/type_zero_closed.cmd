# The closed string of type 0B: D8 at level 1 alone in ten dimensions. The vector v (weight 1/2)
# is a scalar tachyon paired with itself. With the trivial Klein bottle current its Klein bottle
# coefficient is 1 and the symmetric (scalar) part survives; with the spinor current the
# coefficient is -1 and only the antisymmetric part, which holds no scalar state, is left.
tensor
g d 8 1
set Super on
compute spectrum
browse type-I
set kleinbottle 1
browse type-I
set kleinbottle 0
browse type-I
# The orientifold walk records the tachyon-free orientifold (spinor Klein bottle current) with its
# closed sector.
set OutputDir ~/out
check tachyon
system cat ~/out/N_Tensor/*.notach
