# The diagonal invariant has no crosscap signs to choose: the refusal ends a background run.
algebra a 1 2
browse current Orientifold
set crosscap_signs 1
browse current Orientifold
