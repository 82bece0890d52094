# A current has one component per factor; a component too many is refused, not dropped.
tensor
g a 1 2
g a 1 2
current 1 1 0
