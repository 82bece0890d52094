# "search MIPF" runs the built-in invariants of the c=1 orbifold too: at N = 9 the extension by
# 3^2, stored after the simple-current and permutation invariants.
algebra orbifold 9
set autostore on
search MIPF
browse invariants
