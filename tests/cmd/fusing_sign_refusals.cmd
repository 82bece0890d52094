# Refusals before any work. "Initialize" takes no parameters and works at any time. A sign-flip
# file holding a token that is not an integer is refused by the solver, and nothing is written
# (the second start lists the home directory); a convention outside 0 to 4 is refused.
Initialize
algebra minimal 0 1
Initialize
system printf '28 0 0 0 0 0 0 0 0 0 0 three\n' > ~/bad
fusing solve 0 ~/bad
