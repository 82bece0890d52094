algebra orbifold 6
fusing signs ~/s0 0
