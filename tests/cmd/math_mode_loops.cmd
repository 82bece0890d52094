# Math mode, loops with break, and conditions
set math
2+3*4
10-2-3
(1+
2)*3
7/2
9999+1
0.1+0.2
3*-2
1<2==1
x=6
x*x
set(math,off)
evaluate x+1
% a break without count ends the loop and skips the rest of the line
i=0
while {i<5} {i=i+1; break}; print skipped
evaluate i
% "break 1" leaves only the inner loop; "break 2" leaves both
i=0
n=0
while {i<3} {i=i+1; j=0; while {1==1} {j=j+1; n=n+1; if {j==2} {break 1}}}
evaluate i|,|n
i=0
while {1==1} {i=i+1; while {1==1} {if {i>2} {break 2}; break 1}}
evaluate i
while {1==0} {print never}
repeat 2 {print r}
for {k=1} {k<4} {k=k+1} {evaluate k*k}
verify {evaluate 1/0}
print verified
if {5>3} {print yes} {print no}
if {5<3} {print yes} {print no}
if {1==1} {print only}
if {x} {print yes} {print no}
