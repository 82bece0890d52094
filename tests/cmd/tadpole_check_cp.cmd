# Given multiplicities on su(3) level 1, bosonic: D = 24, so the orientifold multiplicity is
# 2^12 = 4096 and the identity row reads N_0 + 2 N_pair = 4096 (Sp(N_0) on boundary 0, U(N) on the
# conjugate pair 1/2, every reflection coefficient of the identity equal). A value given for one
# member of the pair holds for its conjugate. The probe check adds the pair as probe with
# multiplicity 999 and shows that configuration. 4086 + 2*5 = 4096 balances the row, but the pair
# was given two values. The second start refuses a label beyond the three boundaries.
algebra a 2 1
set Tadpole show_solution on
check CP 0:4096
check CP 1:2048
check CP 2:2048
check CP 0:2048 1:1024
check CP_instanton 1 0:4096
check CP 0:4086 1:5 2:7
