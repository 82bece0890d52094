s/compiled on .*/compiled on <date>/
s/^Started on .*/Started on <host> at <date>/
s/^(CPU Time used for initialization:) .*/\1 <time>/
s/(Total time) +[0-9.]+/\1 <time>/
s/^(Time:) .*/\1 <time>/
s/^(Number of solutions added: .*) on .*/\1 on <date>/
