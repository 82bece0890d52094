# Hodge numbers of Gepner models with the diagonal invariant, as "account heterotic" records them
# (first two columns): (1, 149) for k = (6,6,6,6), (2, 128) for (4,4,10,10), (0, 90) for
# (2,2,2,2,2,2) and (0, 84) for nine factors at k = 1; then the E6 singlets, the extra currents
# of the two sides, 4 supercharges on each side, and the symmetric flag.
set OutputDir ~/out
build cy 6666
account heterotic 0
build cy 441010
account heterotic 0
build cy 222222
account heterotic 0
build cy 111111111
account heterotic 0
system cat ~/out/6666.hodge ~/out/441010.hodge ~/out/222222.hodge ~/out/111111111.hodge
