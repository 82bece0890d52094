# Control flow and arithmetic through a command file
x=1
i=0
while {i<10} {x=x*2; i=i+1}
evaluate x
y=x*x*x*x*x*x*x*x*x*x
evaluate y
evaluate 1/3+1/6
evaluate 2+3*4-5
for {j=1} {j<4} {j=j+1} {evaluate j*j}
if {x>1000} {print "big"} {print "small"}
procedure square(n) {evaluate n*n}
square 12
i=0
while {1==1} {i=i+1; while {1==1} {if {i>2} {break 2}; break 1}}
evaluate i
repeat 3 {print "r"}
verify {evaluate 7}
print "verified"
print {"two words"}
float 1/3
status definitions
