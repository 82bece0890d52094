# The output file beside the terminal: "file" opens it anew, "file append" adds to it, "file off"
# closes it; text captured as a function value goes to neither. Then the "table" commands.
file ~/out.txt
print first
evaluate show(maxrank)
file off
print {terminal only}
file append ~/out.txt
print appended
file off
system cat ~/out.txt
file ~/out.txt
print fresh
file off
system cat ~/out.txt
table info lor
table suppress lorentz interp
table info lor
table restore lorentz interp
table right_adjust lorentz d.o.f.
table set_space lorentz notation 3
table info lor
table list
