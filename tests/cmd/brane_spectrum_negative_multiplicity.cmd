# A multiplicity counts branes on a boundary and is never negative: -2 would give a stack of
# negative dimension. Type I from D8 at level 1 extended by its spinor (E8, one boundary).
tensor
g d 8 1
current 1
set Super on
compute spectrum
browse brane-spectrum 0:-2
