# N=2 minimal models: the level-2 model with its fields, modular checks, fusion and its
# fixed-point theory; the level-1 model (c = 1); N=2 models as tensor factors.
algebra minimal 2 2
display
dynkin 0 0 2
browse central_charge
check unitarity
check conjugates
check orbits
s 0 1
fusion 1 1
fusion 16 16
get fcft 12
display
check unitarity
algebra minimal 2 1
browse central_charge
display
algebra minimal 2 4
check unitarity
check conjugates
check orbits
tensor
g minimal 2 1
g minimal 2 1
compute spectrum
