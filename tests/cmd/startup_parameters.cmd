# A background start: the application parameters are there with their defaults, and "set"
# reaches them.

show maxrank
show orientifold
show outputdir
show outputfileprefix
show tadpole allow_oh_matter
show loop end
show sm_search info_level
set maxrank 12
show maxrank
set orientifold off
show orientifold
