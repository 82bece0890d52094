# Reads the solution lines of su(2) level 4 with the Klein bottle current and counts those that
# are not U(n) on boundary 0 (Dynkin 0/4), U(2048) on boundary 2 (Dynkin 1/3) and SO(2048 - n) on
# boundary 4 (Dynkin 2), or that repeat an n.
/CP multiplicities/ {
    n = 0; u = 0; o = 0
    for (i = 5; i <= NF; i += 2) {
        v = $(i + 1)
        gsub(/[^0-9]/, "", v)
        if ($i == "0:" && $(i + 1) ~ /^U/) n = v
        else if ($i == "2:" && $(i + 1) ~ /^U/) u = v
        else if ($i == "4:" && $(i + 1) ~ /^O/) o = v
        else bad++
    }
    if (u != 2048 || n + o != 2048 || seen[n]++) bad++
    count++
}
END { print count " solutions, " bad + 0 " not of the form U(n) U(2048) SO(2048-n)" }
