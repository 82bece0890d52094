# Without tadpole equations (su(2) level 1 without the Klein bottle current has a zero-tension
# O-plane) there are no kernel parameters to check.
algebra a 1 1
set kleinbottle 0
check tadpole parameters 0:1
