# The tally the check scripts share: each check passes or fails and the run
# goes on; `need` ends the run when nothing after it could be checked. With it
# come the screen, X server and wait helpers of tests/e2e/lib.sh (its `fail`
# and `note` replaced by these). Source it after setting `checker` (the name
# each line starts with), `work` (the folder for the run's files) and, if
# wanted, `summary_extra` (appended to the last line).
. "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lib.sh"
started=$(date +%s)
passed=0
failed=0
note() { echo "$checker: $*"; }
pass() { passed=$((passed + 1)); note "ok    $1"; }
fail() { failed=$((failed + 1)); note "FAIL  $1"; }
summary() { note "$passed passed, $failed failed ($(($(date +%s) - started)) s${summary_extra:-})"; }
# check <what> <command...>: one verdict, the run goes on.
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
# need <what> <command...>: without it nothing after can be checked.
need() {
  local what=$1; shift
  if "$@"; then pass "$what"; return 0; fi
  fail "$what"; summary; exit 1
}
