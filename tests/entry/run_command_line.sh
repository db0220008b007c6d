#!/usr/bin/env bash
# The built program's answers to its command line, with no display needed:
# which stream each text goes to and the exit status.
# usage: run_command_line.sh <wolby> <version>
set -uo pipefail
program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# run <arguments...>: leaves the status in $status, the streams in out/err.
run() {
  status=0
  DISPLAY= WAYLAND_DISPLAY= timeout 10 "$program" "$@" >"$work/out" 2>"$work/err" || status=$?
}

run --version
[ "$status" = 0 ] || fail "--version: status $status"
[ "$(head -n 1 "$work/out")" = "wolby $version" ] || fail "--version printed: $(cat "$work/out")"
[ "$(wc -l <"$work/out")" = 2 ] || fail "--version: not two lines"
[ -s "$work/err" ] && fail "--version wrote to stderr: $(cat "$work/err")"

run --help
[ "$status" = 0 ] || fail "--help: status $status"
grep -q -- '--window' "$work/out" || fail "--help does not name --window"
[ -s "$work/err" ] && fail "--help wrote to stderr: $(cat "$work/err")"

run --no-such-option
[ "$status" = 2 ] || fail "unknown option: status $status"
[ -s "$work/out" ] && fail "unknown option wrote to stdout: $(cat "$work/out")"
grep -q '^usage: wolby' "$work/err" || fail "unknown option: no usage on stderr"

# A text that cannot be written is no success.
if [ -w /dev/full ]; then
  status=0
  timeout 10 "$program" --version >/dev/full 2>/dev/null || status=$?
  [ "$status" = 0 ] && fail "--version into a full disk reported success"
fi

[ "$failed" = 0 ] && echo "command line: all answers as expected"
exit "$failed"
