#!/usr/bin/env bash
# Runs one command file in background mode with a throw-away HOME, from a throw-away working
# directory holding a copy of the test folder (commands write files where they run), and compares
# what the program prints with the expected text. Lines that carry the version, host, dates or CPU
# time are masked.
# A file NAME.then.cmd beside NAME.cmd is run next, as a second start with the same HOME (what the
# first run saved there); the expected text holds the two runs one after the other.
set -u
tarvik=$1 cmdfile=$2 expected=$3
home=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$home" "$work"' EXIT
mask() {
    sed -E -e 's/^Tarvik( \(on .*\))?, version .*/<banner>/' \
           -e 's/^CPU: .*/<cpu>/' \
           -e 's/^(CPU time used) +[0-9.]+ seconds/\1 <time> seconds/' \
           -e 's/^(CPU time:) +[0-9.]+ sec\./\1 <time> sec./' \
           -e 's/created .*/created <date>/' \
           -e "s#$home#<home>#g" -e "s#$work#<work>#g"
}
cp -r "$(dirname "$cmdfile")"/. "$work"
cd "$work"
run() {
    HOME="$home" "$tarvik" -b "$1" 2>&1 < /dev/null
    echo "exit code $?"
}
actual=$(run "$(basename "$cmdfile")")
then_file=$(basename "$cmdfile" .cmd).then.cmd
if [ -f "$then_file" ]; then
    actual+=$'\n'$(run "$then_file")
fi
diff -u <(mask < "$expected") <(printf '%s\n' "$actual" | mask)
