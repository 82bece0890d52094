# Macros, procedures, variables and command functions through a command file
define sq {evaluate 7*7}
sq
% a macro name inside a longer word is replaced too, but not inside braces
define XY 12
evaluate XY+1
evaluate aXYb
print {XY stays}
% the newer macro brings the older one: both are replaced in one block
define SHOW {sq}
SHOW
free macros
% a procedure with one mandatory and one optional parameter
procedure scale(v|f) {print v; print f}
scale 3 4
scale 5
procedure mul(a,b) {return a*b}
evaluate mul(6,7)
evaluate mul(2,3)+mul(4,5)
% an assignment inside a procedure is local to it and gone after the return
procedure setter {t=99; print t}
setter
evaluate t
% an assignment here is a local variable of level 0
t=5
evaluate t*t
global g=2+3
evaluate g*t
procedure twolines {return first; return second}
evaluate twolines()|end
evaluate {extract(2,"-1.5 and 7")}
extract 2 {-1.5 and 7}
extract 3 {-1.5 and 7}
status definitions
free variable g
free procedures mul
free local
status definitions
