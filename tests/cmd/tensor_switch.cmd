# A factor entered in single-algebra mode switches to tensor mode; the note on how to avoid the
# message is shown once per run. Denominator factors count negatively in the central charge:
# A1_1 x U(1) / A1_2 has c = 1 + 1 - 3/2. A twisted algebra is refused, also after the note.
g a 1 1
single
g u 4
h a 1 2
status
browse central_charge
g at 1 2
