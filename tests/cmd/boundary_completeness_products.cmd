# Boundary labels are complete for every simple-current invariant: as many boundaries as
# Ishibashi labels, and "check completeness" silent. A1_2 x A1_2 has the currents (J,0) and
# (0,J) of weight 1/2 and (J,J) of weight 1: 1 + 3 + 2 = 6 invariants. Four are the diagonal
# invariant (9 labels, one per field); two are the extension by (J,J), with s the field of weight
# 3/16: |(0,0) + (J,J)|^2 + |(0,J) + (J,0)|^2 + 2 |(s,s)|^2, with 1 + 1 + 1 + 1 + 2 = 6 labels.
set Reject permutations off
tensor
g a 1 2
g a 1 2
compute spectrum
set loop_command {total ishibashi; total boundaries; check completeness}
Scan Simple_current_invariants
