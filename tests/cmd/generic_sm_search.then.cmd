# Second start, same home: the marker of the first run still stands
build cy 122224
set Selection symmetric on
set Reject permutations on
collect simple_current_invariants
select invariant 36
search generic_sm 0 100
# Without the superstring reading there is no search (the refusal ends the background run)
set Super OFF
search generic_sm
