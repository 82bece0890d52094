# A factor entered in single-algebra mode switches to tensor mode; the note on how to avoid the
# message is shown once per run. A twisted algebra is refused, also after that note.
g a 1 1
single
g u 4
status
g at 1 2
