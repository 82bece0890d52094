# The E6 invariant of su(2) at level 10 (field 2j is Dynkin j, 2j+1 is Dynkin 10-j) with the
# standard Klein bottle. The diagonal annuli A^i_aa of its six boundaries are those of the E6
# diagram: (1,1,0,0,0,0,0,0,1,1,0) for the two ends of the long arms and (1,1,0,0,2,2,0,0,3,3,0)
# for their neighbours give one candidate each, a conjugate pair from the vectors with A^0 = 0;
# the short-arm end and the trivalent node admit no Moebius strip with this crosscap. The one
# complete set has the E6 diagram as fundamental annulus, conjugation 0<->1, 2<->3 (the diagram
# symmetry), and passes the open and closed checks. Loading the set makes the collected
# candidates stale, so the next try starts afresh; the same vector tried again adds nothing.
algebra a 1 10
select exceptional_invariant
try boundary 1,1,0,0,0,0,0,0,1,1,0
try boundary 1,1,0,0,2,2,0,0,3,3,0
try boundary 0,1,0,0,0,0,0,0,1,0,0
try boundary 0,1,0,0,1,1,0,0,2,1,0
try boundary 1,0,0,0,0,0,0,0,0,1,0
try boundary 1,0,0,0,1,1,0,0,1,2,0
assemble
get NIMrep 2
annulus 0
browse conjugation boundary *
annulus 2
moebius 0
klein
check full_open
try boundary 0,1,0,0,1,1,0,0,2,1,0
try boundary 0,1,0,0,1,1,0,0,2,1,0
