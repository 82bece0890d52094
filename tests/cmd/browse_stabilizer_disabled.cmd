# "browse stabilizer" is known to the command language but disabled: on su(4)_1 made from
# A1_2 x A1_2 by (J,J) it is refused as a disabled keyword, not as an unknown one.
tensor
g a 1 2
g a 1 2
current 1 1
compute spectrum
browse stabilizer 2
