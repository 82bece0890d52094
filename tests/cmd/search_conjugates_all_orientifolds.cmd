# The search set-up loads the boundary conjugates of every orientifold of the list in turn. Each
# entry must be summed with its own Klein bottle current: sums kept for the previous entry made
# a self-conjugate boundary of entry 3 (Klein bottle current 1) look as if its annulus and
# Moebius amplitude vanished, which ended the run.
build cy 441010
set Super on
browse brane-spectrum 0:1
