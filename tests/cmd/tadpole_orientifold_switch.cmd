# The columns follow the orientifold, in whatever order the orientifolds are solved. su(2) level 4
# with its D-type invariant has four boundaries: the orbits [0] and [1] with tensions 1 and sqrt 3
# and the two resolved boundaries of the fixed point, of tension 1 each. Orientifold 1 makes [0]
# symplectic, [1] orthogonal and the resolved two a unitary pair: three variables, the rows
# x0 +- (sqrt 3/2) x1 + x2 = 2048 (bosonic multiplicity 4096), so x1 = 0 and N_Sp + 2 N_U = 4096:
# 2049 solutions. Orientifold 0 makes [0] and the resolved two orthogonal with identical columns,
# which leaves two variables and one solution; that removal must not reach orientifold 1 again.
algebra a 1 4
collect simple_current_invariants
select simple_current_invariant 1
set Tadpole completeness 1
select orientifold 1
browse CP
browse tadpole equations 0
solve tadpole
select orientifold 0
browse CP
browse tadpole equations 0
solve tadpole
select orientifold 1
browse tadpole equations 0
solve tadpole
# Group-type criteria are judged by each orientifold's own types: symplectic groups only leaves
# [1] under orientifold 0 and [0] under orientifold 1.
set Tadpole symplectic_groups_only on
select orientifold 0
browse tadpole equations 0
select orientifold 1
browse tadpole equations 0
set Tadpole symplectic_groups_only off
# The user's own choice: K = 0 with crosscap sign +1 is orientifold 0, with -1 orientifold 1.
algebra a 1 4
select simple_current_invariant 1
browse tadpole equations 0
set crosscap_signs -1
browse tadpole equations 0
solve tadpole
# su(2)_4 x su(2)_4: orientifold 1 has nine variables on its own and after orientifold 0.
tensor
g a 1 4
g a 1 4
compute spectrum
select orientifold 1
browse tadpole equations 0
select orientifold 0
browse tadpole equations 0
select orientifold 1
browse tadpole equations 0
