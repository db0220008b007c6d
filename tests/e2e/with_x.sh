#!/usr/bin/env bash
# Runs a command on a private X server of the given size, which ends with it.
# Unlike xvfb-run -a, two of these started at once never pick the same display.
# usage: with_x.sh <WIDTHxHEIGHT> <command...>
set -euo pipefail
size=$1
shift
work=$(mktemp -d)
. "$(dirname "$0")/lib.sh"
start_x "$size"
status=0
"$@" || status=$?
rm -rf "$work"
exit "$status"
