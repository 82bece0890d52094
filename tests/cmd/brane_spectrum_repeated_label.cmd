# A label may be given once: a repeat would put a second stack on the same boundary, and the two
# largest ints would be summed past the int range. Type I from D8 at level 1 extended by its
# spinor (E8, one boundary).
tensor
g d 8 1
current 1
set Super on
compute spectrum
browse brane-spectrum 0:2147483647 0:2147483647
