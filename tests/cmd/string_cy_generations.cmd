# Generation counts of Gepner models with the diagonal invariant, over products of varied shape:
# four to six minimal models, with and without simple currents beyond the world-sheet supercurrent.
# "account heterotic" records h21 and h11 (the 27 and 27* generations) in its first two columns,
# then the E6 singlets. In every row h11 - h21 is half the Euler number of the Landau-Ginzburg
# orbifold, (1/H) sum over pairs (a, b) mod H of the product of (1 - 1/q_i) over the variables
# with a q_i and b q_i integral: -48, -216, -96, -108, -96, -144, -96, -120 in file order.
# (1,1,7,7,7) is the hypersurface of degree 9 in P(1,1,1,3,3), Hodge numbers (4, 112). The
# heterotic and type-II listings of (1,3,3,4,8) count the same 39 and 15 generations.
set OutputDir ~/out
build cy 13348
browse heterotic
browse type-II
account heterotic 0
build cy 11777
account heterotic 0
build cy 115519
account heterotic 0
build cy 44813
account heterotic 0
build cy 34743
account heterotic 0
build cy 133313
account heterotic 0
build cy 112244
account heterotic 0
build cy 1112410
account heterotic 0
system cat ~/out/13348.hodge ~/out/11777.hodge ~/out/115519.hodge ~/out/44813.hodge ~/out/34743.hodge ~/out/133313.hodge ~/out/112244.hodge ~/out/1112410.hodge
