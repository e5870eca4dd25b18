# Sourced by the scripts that read the built files: one line a check, "ok" or "FAIL", counted in
# $failures; checks_done prints the count and returns whether all passed.
set -uo pipefail
failures=0
# The status comes first: expanded before the description, whose command substitutions would
# otherwise reset $? to theirs and let every check pass.
check() {  # check CONDITION-RESULT DESCRIPTION
  if [[ $1 == 0 ]]; then
    echo "ok   $2"
  else
    echo "FAIL $2"
    failures=$((failures + 1))
  fi
}
checks_done() {
  echo "$failures failed"
  [[ $failures == 0 ]]
}
