# S of a single block fills the simple-current orbit table of that block; a tensor product entered
# with "g" afterwards must not be answered from it. U(1) at radius 4 has the four simple currents
# q = 0..3 of weight q^2/8 (0, 1/8, 1/2, 9/8): only the trivial extension has integer spin.
algebra a 1 2
s
g u 4
collect extensions
