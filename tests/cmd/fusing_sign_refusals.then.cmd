system ls ~
system printf '28 0 0 0 0 0 0 0 0 0 0 3\n' > ~/good
algebra minimal 0 1
fusing signs ~/good 5
