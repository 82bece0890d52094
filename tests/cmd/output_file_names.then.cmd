# The second start: with the empty prefix saved by the first, the theory part follows the output
# directory directly.
algebra a 1 10
finish
system cd ~/out && find AlgebraA1_level_10 -type f
