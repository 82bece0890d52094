# su(2) level 1 x su(2) level 3 extended by the product {1,1} of the currents (weight 1/4 + 3/4
# = 1): the Klein bottle current {1,0} has charge 1/2 under the order-2 bulk current, so it is
# inconsistent with the invariant; the warning ends a background run.
tensor
g a 1 1
g a 1 3
compute spectrum
set autoselect 1
select simple_current_invariant 3
browse current Orientifold
klein
check full_open
set kleinbottle 2
klein
