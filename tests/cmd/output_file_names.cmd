# Output file names of the current theory, shown by the job marker that "finish" writes: below the
# output directory come the prefix, "Algebra" or "Tensor" with the theory name, the extension
# number or the supersymmetry part, "_" and the number of the current invariant.
set OutputDir ~/out
algebra a 1 10
# The marker holds the 8 characters "Finished" and no line end; a second "finish" overwrites it.
finish
finish
system wc -c < ~/out/N_AlgebraA1_level_10/Susy_MIPF__000.finish
system awk 1 ~/out/N_AlgebraA1_level_10/Susy_MIPF__000.finish
# A one-character prefix is followed by "_", a longer one by "/"; a prefix holding "/" replaces
# the theory part.
set OutputFilePrefix X
finish
set OutputFilePrefix runs
finish
set OutputFilePrefix runs/x
finish
set OutputFilePrefix N
# Each invariant of a scan names its own marker: invariants 0 and 1.
search MIPF simple_current
set loop_command {finish}
Scan Simple_current_invariants
# A product without an extension number gets the supersymmetry part, with one "/Ext" and it.
tensor
g a 1 2
g a 1 2
compute spectrum
finish
assign extension_number 3
finish
system cd ~/out && find . -type f | LC_ALL=C sort
# An empty prefix cannot be typed: it is written into the saved preferences, which the second
# start reads (output_file_names.then.cmd).
save preferences
system sed -i 's/^"OutputFilePrefix" .*/"OutputFilePrefix" ""/' ~/.Defaults/Tarvik6
