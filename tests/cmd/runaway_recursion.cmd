# A procedure that calls itself without end is stopped with a message, not by a crash
procedure f(n) {if {n>0} {f n-1}}
f 20
print {shallow recursion done}
procedure runaway {runaway}
runaway
print never
