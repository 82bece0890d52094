system find ~ -name "N_*"
