# Four stacks of four branes on 133313, its diagonal invariant (number 0 among the four
# simple-current invariants) and its only orientifold. The diagonal lines repeat the rows of the
# brane scan (76: A=1, M=1; 126: A=1, M=1, one adjoint; 125 self-conjugate with A=M=1 and one
# adjoint; 101 as 76), and the pair line "x,y" holds the intersection of x with the conjugate of
# y: "a,b" is Intersect 76 129 = 1 with chirality 1, "a*,b*" is Intersect 79 126 = 0 with
# chirality -1.
build brane_configuration 133313 0 0 76:4 126:4 125:4 101:4
# Fewer than four stacks are refused before anything is built
build brane_configuration 133313 0 0 76:4
