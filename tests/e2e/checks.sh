# Checks of the end-to-end scripts: `fail MESSAGE` reports one that failed and the script goes on;
# `end_checks SUMMARY` ends the script, failing when any check did.
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

end_checks() {  # SUMMARY
  echo "$failures failures; $1"
  exit $((failures > 0))
}
