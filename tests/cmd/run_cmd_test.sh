#!/usr/bin/env bash
# Runs one command file in background mode with a throw-away HOME and compares what the program
# prints with the expected text. Lines that carry the version, host, dates or CPU time are masked.
set -u
tarvik=$1 cmdfile=$2 expected=$3
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mask() {
    sed -E -e 's/^Tarvik( \(on .*\))?, version .*/<banner>/' \
           -e 's/^CPU: .*/<cpu>/' \
           -e 's/^(CPU time used) +[0-9.]+ seconds/\1 <time> seconds/' \
           -e 's/created .*/created <date>/' \
           -e "s#$home#<home>#g"
}
cd "$(dirname "$cmdfile")"
actual=$(HOME="$home" "$tarvik" -b "$(basename "$cmdfile")" 2>&1 < /dev/null; echo "exit code $?")
diff -u <(mask < "$expected") <(printf '%s\n' "$actual" | mask)
