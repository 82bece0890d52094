# Switches and parameters with their set and show commands, help texts and command searches
set echo
show echo
set echo off
show echo
SHOW MAXRANK
set maxrank 0
show maxrank
set maxrank 2*3+1
sh maxr
help show maxrank
help set outputdir
help set echo
help free
help set debug level
help define
help print; print never
find alloc_tr
apropos echoing
set maxrank -1
print never
