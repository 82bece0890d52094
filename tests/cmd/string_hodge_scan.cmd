# The Gepner model 115519 has four simple-current invariants: two with Hodge numbers (65, 17) and
# two with the mirror pair (17, 65). The scan writes one line per invariant, then the end line
# (thirteen zeros and "name"); the summary lists the two distinct rows, the larger first Hodge
# number first.
set OutputDir ~/out
build cy 115519
scan hodge_numbers
system cat ~/out/115519.hodge
system cat ~/out/115519.hodge_summary
# A complete file is not scanned again.
scan hodge_numbers
# A loop stopped after the invariant numbered 1 leaves the data without the end line.
set loop end 1
scan hodge_numbers stopped
system cat ~/out/stopped.hodge
# The resumed scan starts after the last invariant read and completes the file.
set loop end 1000
scan hodge_numbers stopped
system cat ~/out/stopped.hodge
# A file cut in the middle of its second line (a crash while writing): the broken line is
# skipped, and the scan resumes after the first invariant.
system head -c 120 ~/out/115519.hodge > ~/out/cut.hodge
scan hodge_numbers cut
system cat ~/out/cut.hodge
system cat ~/out/cut.hodge_summary
